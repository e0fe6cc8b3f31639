#include "FakeAutomation.h"

// COM under Wine reads class registrations from the machine's classes only.
static const char* const CLASS_KEYS[] = {
    "Software\\Classes\\CLSID\\{91493441-5A91-11CF-8700-00AA0060263B}",
    "Software\\Classes\\CLSID\\{FCE18141-B12B-11D0-B06A-00AA0060271A}"};

static void SetString(HKEY hKey, const char* pszName, const std::string& value)
{
    RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

CFakeAutomation::CFakeAutomation(const CTempDir& dir) : m_folder(dir.File("automation")) {}

CFakeAutomation::~CFakeAutomation()
{
    Unregister();
}

void CFakeAutomation::Register(int nSlides)
{
    CreateDirectoryA(m_folder.c_str(), NULL);
    std::string dll = m_folder + "\\FakePowerPoint.dll";
    CopyFileA((TestBinDir() + "\\FakePowerPoint.dll").c_str(), dll.c_str(), FALSE);
    WriteBinaryFile(m_folder + "\\FakePowerPoint.cfg", "slides=" + std::to_string(nSlides) + "\n");
    for (const char* pszKey : CLASS_KEYS)
    {
        HKEY hKey = NULL;
        std::string key = std::string(pszKey) + "\\InprocServer32";
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey,
                            NULL) != ERROR_SUCCESS)
            continue;
        SetString(hKey, NULL, dll);
        SetString(hKey, "ThreadingModel", "Apartment");
        RegCloseKey(hKey);
    }
}

void CFakeAutomation::Unregister()
{
    for (const char* pszKey : CLASS_KEYS)
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, pszKey);
}

std::string CFakeAutomation::Calls() const
{
    std::string calls;
    ReadBinaryFile(m_folder + "\\calls.log", calls);
    return calls;
}

void CFakeAutomation::ForgetCalls() const
{
    DeleteFileA((m_folder + "\\calls.log").c_str());
}
