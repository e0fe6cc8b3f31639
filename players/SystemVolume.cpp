#include "SystemVolume.h"
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include "../framework/ScopedCom.h"

// The device is looked up afresh each time: a headset plugged in since, or a
// new default device, is the one set and read at once. COM must be initialised.
static HRESULT OpenEndpointVolume(CComRef<IAudioEndpointVolume>* pVolume)
{
    CComRef<IMMDeviceEnumerator> enumerator;
    HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), NULL, CLSCTX_INPROC_SERVER,
                                  __uuidof(IMMDeviceEnumerator), enumerator.ReceiveVoid());
    CComRef<IMMDevice> device;
    if (SUCCEEDED(hr))
        hr = enumerator.Get()->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Receive());
    if (SUCCEEDED(hr))
        hr = device.Get()->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, NULL,
                                    pVolume->ReceiveVoid());
    return hr;
}

SystemVolumeResult SetSystemVolume(float fLevel, HRESULT* pError)
{
    CScopedComInit com;
    CComRef<IAudioEndpointVolume> volume;
    HRESULT hr = OpenEndpointVolume(&volume);
    *pError = hr;
    if (FAILED(hr))
        return SYSTEM_VOLUME_MISSING;
    hr = volume.Get()->SetMasterVolumeLevelScalar(fLevel, NULL);
    *pError = hr;
    return SUCCEEDED(hr) ? SYSTEM_VOLUME_SET : SYSTEM_VOLUME_FAILED;
}

bool GetSystemVolume(float* pfLevel)
{
    CScopedComInit com;
    CComRef<IAudioEndpointVolume> volume;
    return SUCCEEDED(OpenEndpointVolume(&volume)) &&
           SUCCEEDED(volume.Get()->GetMasterVolumeLevelScalar(pfLevel));
}
