// libFuzzer target for the live channel's opened messages: the JSON reader and
// the page's actions read from what it gives. Built and run by tools/fuzz.sh; a
// broken invariant aborts.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "core/CommandSet.h"
#include "web/JsonReader.h"
#include "web/WebActions.h"
#include "web/WebSocketFrames.h"

// Every string the reader gives is UTF-8, whatever the escapes said.
static void CheckStrings(const CJsonValue& value)
{
    if (value.IsString() && !IsValidUtf8(value.Text()))
    {
        fprintf(stderr, "broken: a string that is not UTF-8\n");
        abort();
    }
    for (const CJsonValue& item : value.Items())
        CheckStrings(item);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CJsonValue value;
    if (!ParseJson(std::string(reinterpret_cast<const char*>(pData), nSize), &value))
        return 0;
    CheckStrings(value);
    int nCommand = CMD_UNKNOWN;
    long nValue = 0;
    if (ParseWebAction(value, &nCommand, &nValue))
    {
        const CommandRow& row = CommandRowOf(nCommand);
        if (row.nParam == PARAM_NUMBER && (nValue < row.nMin || nValue > row.nMax))
            abort();
    }
    return 0;
}
