// Project files (".dcp"): any bytes given to CWorkSpaceObj::OpenDocument give TRUE or FALSE, never a
// crash, and leave a usable workspace with its system variables.
#include "mfc/ModalHook.h"
#include "model/WorkSpaceObj.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
std::string g_path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_path = "/tmp/fuzz_dcp_" + std::to_string(getpid()) + ".dcp";
    AfxSetModalHook([](const AfxModalRequest&) { return IDOK; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(g_path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CWorkSpaceObj ws;
    const BOOL ok = ws.OpenDocument(CString::FromUtf8(g_path));
    if (!ok && ws.GetParamObjects().GetCount() != 6)
        __builtin_trap();
    if (!ws.FindParamByName(L"$Second"))
        __builtin_trap();
    // The lookups of every loaded variable answer without touching freed memory.
    POSITION pos = ws.GetParamObjects().GetHeadPosition();
    while (pos)
    {
        CParamObj* p = ws.GetParamObjects().GetNext(pos);
        ws.FindParamByName(p->m_strName);
    }
    return 0;
}
