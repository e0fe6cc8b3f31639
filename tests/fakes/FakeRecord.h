// What the fakes of the media applications share: their settings, read from a
// file of key=value lines beside the exe (the server starts them with no way to
// pass any), the record of what they received, one line each, appended to
// messages.log beside the exe, where the tests read it, and their message loop.
#pragma once
#include <windows.h>
#include <string>

// Reads <exe folder>\<pszConfigName>; call once, first.
void LoadFakeConfig(const char* pszConfigName);
std::string FakeSetting(const char* pszKey, const char* pszDefault);
long FakeNumber(const char* pszKey, long nDefault);
// The folder of the fake's exe.
const std::string& FakeFolder();

// Appends one line, unless the settings say record=0.
void RecordLine(const std::string& line);
// Records "start <command line>": what this instance was started with.
void RecordStart();
// Records "<window> <message> <wParam> <lParam>" for what a controller may send:
// key and mouse messages, WM_COMMAND, WM_GETTEXT, WM_APPCOMMAND and private WM_USER messages.
void RecordMessage(const char* pszWindow, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Runs the message loop until WM_QUIT; the exit code.
int RunMessageLoop();
