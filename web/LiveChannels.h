// The live channels that are open, by browser, so that the dialog's Remove ends
// a browser's channels at once and a browser's new channel ends its older one.
// Safe from any thread.
#pragma once
#include <windows.h>
#include <mutex>
#include <string>
#include <vector>

// Why a channel is told to end.
enum ChannelEnd
{
    CHANNEL_GOES_ON,
    CHANNEL_REPLACED, // the same browser opened a newer channel
    CHANNEL_REMOVED,  // the browser was removed in the dialog
};

// One open channel: its browser, and the event its thread waits on.
class CLiveChannel
{
public:
    CLiveChannel(const std::string& browserId, HANDLE hWake)
        : m_browserId(browserId), m_hWake(hWake), m_nEnd(CHANNEL_GOES_ON)
    {
    }
    const std::string& BrowserId() const { return m_browserId; }

private:
    friend class CLiveChannels;
    std::string m_browserId;
    HANDLE m_hWake;
    ChannelEnd m_nEnd; // guarded by the registry's lock
};

class CLiveChannels
{
public:
    void Add(CLiveChannel* pChannel);
    void Remove(CLiveChannel* pChannel);
    // Tells the browser's other channels to end: pChannel's key proved itself.
    void ReplaceOlder(CLiveChannel* pChannel);
    // Tells every channel of the browser to end; the number told.
    int EndBrowser(const std::string& browserId);
    // What the channel has been told.
    ChannelEnd EndOf(CLiveChannel* pChannel);

private:
    void TellLocked(CLiveChannel* pChannel, ChannelEnd nEnd);
    std::mutex m_lock;
    std::vector<CLiveChannel*> m_channels;
};
