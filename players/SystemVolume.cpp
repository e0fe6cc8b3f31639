#include "SystemVolume.h"
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include "../framework/ScopedCom.h"

SystemVolumeResult SetSystemVolume(float fLevel, HRESULT* pError)
{
    // The device is looked up afresh each time: a headset plugged in since, or
    // a new default device, takes the volume at once.
    CScopedComInit com;
    CComRef<IMMDeviceEnumerator> enumerator;
    HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), NULL, CLSCTX_INPROC_SERVER,
                                  __uuidof(IMMDeviceEnumerator), enumerator.ReceiveVoid());
    CComRef<IMMDevice> device;
    if (SUCCEEDED(hr))
        hr = enumerator.Get()->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Receive());
    CComRef<IAudioEndpointVolume> volume;
    if (SUCCEEDED(hr))
        hr = device.Get()->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, NULL,
                                    volume.ReceiveVoid());
    *pError = hr;
    if (FAILED(hr))
        return SYSTEM_VOLUME_MISSING;
    hr = volume.Get()->SetMasterVolumeLevelScalar(fLevel, NULL);
    *pError = hr;
    return SUCCEEDED(hr) ? SYSTEM_VOLUME_SET : SYSTEM_VOLUME_FAILED;
}
