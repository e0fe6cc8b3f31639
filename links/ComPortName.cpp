#include "ComPortName.h"
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// atoi without its undefined overflow: leading space, a sign, digits; saturates.
static long ReadNumberLikeAtoi(const char* pszText)
{
    errno = 0;
    long nValue = strtol(pszText, NULL, 10);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return nValue;
}

void NormaliseComPortName(char* pszName, size_t nSize)
{
    for (const char* p = pszName; *p; p++)
    {
        long nNumber = ReadNumberLikeAtoi(p);
        if (nNumber > 0)
        {
            snprintf(pszName, nSize, "COM%ld", nNumber);
            return;
        }
    }
}

const size_t MAX_COM_PORT_NAME = 251;

bool BuildComDevicePath(const char* pszName, char* pOut, size_t nOutSize)
{
    if (strlen(pszName) > MAX_COM_PORT_NAME)
        return false;
    int nWritten = snprintf(pOut, nOutSize, "\\\\.\\%s", pszName);
    return nWritten >= 0 && static_cast<size_t>(nWritten) < nOutSize;
}

void FormatSerialOpenFailure(char* pOut, size_t nOutSize, const char* pszName, unsigned long nError)
{
    if (nError == 2)
        snprintf(pOut, nOutSize,
                 "Couldn't find port \"%s\".\r\nDid you enter a valid COM port in the format "
                 "\"COMn\" (where n is a number)?\r\n",
                 pszName);
    else if (nError == 5)
        snprintf(pOut, nOutSize,
                 "Couldn't open port %s: it appears to be in use. Is PC Suite using this port?\r\n",
                 pszName);
    else
        snprintf(pOut, nOutSize,
                 "Couldn't open port %s (error %d).\r\nChoose a different port and press "
                 "\"Connect\".\r\n",
                 pszName, static_cast<int>(nError));
}

bool IsQuorvelServiceName(const char* pszName)
{
    return strstr(pszName, "uorvel") != NULL || strstr(pszName, "erial") != NULL;
}
