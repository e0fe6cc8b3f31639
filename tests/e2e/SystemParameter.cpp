// Reads one system setting with SystemParametersInfoA and returns it as the exit
// code (-1 when it cannot be read). The tests run it as a process of its own:
// Wine keeps these settings cached in each process that has read them, so only
// a fresh process sees what another process wrote.
#include <windows.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return -1;
    int nValue = -1;
    if (!SystemParametersInfoA(static_cast<UINT>(atoi(argv[1])), 0, &nValue, 0))
        return -1;
    return nValue;
}
