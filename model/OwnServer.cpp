#include "model/OwnServer.h"

BOOL IsOwnServerName(const CString& strServer)
{
    static const wchar_t kPrefix[] = L"Quendrel.OpcDaServer.";
    if (strServer == L"this")
        return TRUE;
    return strServer.str().starts_with(kPrefix);
}
