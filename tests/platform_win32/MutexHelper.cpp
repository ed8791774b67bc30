// Usage: qyr_mutex_helper <name> <wait ms> <hold ms>
// Prints "exists=<0|1>", then "acquired" or "timeout" (and "released" after holding it).
#include "win32/Sync.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 64;
    const std::wstring name = Utf8ToWide(argv[1]);
    HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!h)
        return 65;
    std::printf("exists=%d\n", GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0);
    std::fflush(stdout);
    const DWORD rc = WaitForSingleObject(h, DWORD(std::atol(argv[2])));
    if (rc == WAIT_TIMEOUT)
    {
        std::printf("timeout\n");
        CloseHandle(h);
        return 0;
    }
    if (rc != WAIT_OBJECT_0)
        return 66;
    std::printf("acquired\n");
    std::fflush(stdout);
    Sleep(DWORD(std::atol(argv[3])));
    ReleaseMutex(h);
    std::printf("released\n");
    CloseHandle(h);
    return 0;
}
