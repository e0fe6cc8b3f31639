// Which application plays a file: by its extension against each kind's list.
// Plain C++, no platform calls.
#pragma once

// The text after the last "." is looked for as a plain, case-sensitive
// substring of each kind's list. The default kind wins if it matches, then the
// lowest matching kind; a name without "." or without a match gets the default.
int ChooseKindForFile(const char* pszName, const char (*pExtensions)[260], int nKinds,
                      int nDefaultKind);
