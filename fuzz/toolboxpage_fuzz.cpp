// Toolbox page files (".trs"): any bytes given to CFOToolBoxPage::OpenDocument give TRUE or FALSE,
// never a crash; a refused file leaves the page as it was, a loaded one saves and loads back the
// same. The same bytes as an item's drag text parse or are refused.
#include "figkit/FOToolBoxPage.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
std::string g_path;
std::string g_again;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_path = "/tmp/fuzz_trs_" + std::to_string(getpid()) + ".trs";
    g_again = "/tmp/fuzz_trs_" + std::to_string(getpid()) + "_again.trs";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(g_path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CFOToolBoxPage page(L"kept");
    if (!page.OpenDocument(CString::FromUtf8(g_path)))
    {
        if (page.GetObjectCaption() != L"kept" || page.GetItemCount() != 0 || !page.GetFilePath().IsEmpty())
            __builtin_trap();
    }
    else
    {
        if (page.GetItemCount() > int(CFOToolBoxPage::dwMaxItems))
            __builtin_trap();
        CFOToolBoxPage again;
        if (!page.SaveDocument(CString::FromUtf8(g_again)) ||
            !again.OpenDocument(CString::FromUtf8(g_again)) || again.GetItems() != page.GetItems() ||
            again.GetObjectCaption() != page.GetObjectCaption())
            __builtin_trap();
    }

    CFOToolBoxItem item;
    const CString text = CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    if (CFOToolBoxItem::FromDragText(text, item))
    {
        CFOToolBoxItem back;
        if (!CFOToolBoxItem::FromDragText(item.ToDragText(), back) || !(back == item))
            __builtin_trap();
    }
    return 0;
}
