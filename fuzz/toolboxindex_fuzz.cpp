// The toolbox index ("index.dat"): any bytes give entries whose number and file name are not
// empty, and the rewrites of Save, Open and Close keep what they must.
#include "editor/ToolBoxIndex.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
CString g_folder;
std::string g_index;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = "/tmp/fuzz_tbindex_" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(folder);
    g_folder = CString::FromUtf8(folder);
    g_index = folder + "index.dat";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(g_index.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const std::vector<CToolBoxIndex::Entry> entries = CToolBoxIndex::ReadEntries(g_folder);
    for (const CToolBoxIndex::Entry& e : entries)
        if (e.strNumber.IsEmpty() || e.strFileName.IsEmpty() || e.strFileName.Find(L'#') >= 0)
            __builtin_trap();
    const size_t lines = CToolBoxIndex::ReadLines(g_folder).size();
    // Save keeps every line and adds one.
    if (!CToolBoxIndex::AppendEntry(g_folder, L"added.trs", FALSE))
        __builtin_trap();
    if (CToolBoxIndex::ReadLines(g_folder).size() != lines + 1)
        __builtin_trap();
    // Close keeps the entries but the one named.
    if (!CToolBoxIndex::RemoveEntry(g_folder, L"added.trs"))
        __builtin_trap();
    if (CToolBoxIndex::ReadEntries(g_folder).size() > entries.size())
        __builtin_trap();
    return 0;
}
