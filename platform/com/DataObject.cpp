#include "com/DataObject.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
struct GlobalBlock
{
    size_t size;
    LONG locks;
    alignas(std::max_align_t) unsigned char data[1];
};

struct GlobalTable
{
    std::mutex mutex;
    std::unordered_map<HGLOBAL, GlobalBlock*> blocks;
};

// Kept for the process: server threads may still free blocks while statics are destroyed.
GlobalTable& Globals()
{
    static auto* table = new GlobalTable;
    return *table;
}

GlobalBlock* FindBlock(HGLOBAL h)
{
    auto it = Globals().blocks.find(h);
    return it == Globals().blocks.end() ? nullptr : it->second;
}
} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes)
{
    size_t total = offsetof(GlobalBlock, data) + (dwBytes ? dwBytes : 1);
    if (total < dwBytes)
        return nullptr;
    auto* block = static_cast<GlobalBlock*>(std::malloc(total));
    if (!block)
        return nullptr;
    block->size = dwBytes;
    block->locks = 0;
    if (uFlags & GMEM_ZEROINIT)
        std::memset(block->data, 0, dwBytes ? dwBytes : 1);
    HGLOBAL h = block;
    std::lock_guard lock(Globals().mutex);
    Globals().blocks[h] = block;
    return h;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    std::lock_guard lock(Globals().mutex);
    GlobalBlock* block = FindBlock(hMem);
    if (!block)
        return nullptr;
    ++block->locks;
    return block->data;
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    std::lock_guard lock(Globals().mutex);
    GlobalBlock* block = FindBlock(hMem);
    if (!block || block->locks == 0)
        return FALSE;
    return --block->locks != 0;
}

size_t GlobalSize(HGLOBAL hMem)
{
    std::lock_guard lock(Globals().mutex);
    GlobalBlock* block = FindBlock(hMem);
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    GlobalBlock* block;
    {
        std::lock_guard lock(Globals().mutex);
        block = FindBlock(hMem);
        if (!block)
            return hMem;
        Globals().blocks.erase(hMem);
    }
    std::free(block);
    return nullptr;
}

namespace
{
struct FormatTable
{
    std::mutex mutex;
    std::vector<std::wstring> names; // format 0xC000 + index
};

FormatTable& Formats()
{
    static auto* table = new FormatTable;
    return *table;
}

std::wstring Lower(LPCWSTR s)
{
    std::wstring r(s);
    for (wchar_t& c : r)
        c = wchar_t(std::towlower(c));
    return r;
}
} // namespace

UINT RegisterClipboardFormatW(LPCWSTR lpszFormat)
{
    if (!lpszFormat || !*lpszFormat)
        return 0;
    std::wstring key = Lower(lpszFormat);
    FormatTable& t = Formats();
    std::lock_guard lock(t.mutex);
    for (size_t i = 0; i < t.names.size(); ++i)
    {
        if (Lower(t.names[i].c_str()) == key)
            return UINT(0xC000 + i);
    }
    if (t.names.size() >= 0x3FFF)
        return 0;
    t.names.push_back(lpszFormat);
    return UINT(0xC000 + t.names.size() - 1);
}

int GetClipboardFormatNameW(UINT format, LPWSTR lpszFormatName, int cchMaxCount)
{
    if (!lpszFormatName || cchMaxCount <= 0 || format < 0xC000)
        return 0;
    FormatTable& t = Formats();
    std::lock_guard lock(t.mutex);
    size_t index = format - 0xC000;
    if (index >= t.names.size())
        return 0;
    const std::wstring& name = t.names[index];
    size_t n = std::min(name.size(), size_t(cchMaxCount - 1));
    std::wmemcpy(lpszFormatName, name.c_str(), n);
    lpszFormatName[n] = 0;
    return int(n);
}

void ReleaseStgMedium(LPSTGMEDIUM pmedium)
{
    if (!pmedium)
        return;
    if (pmedium->pUnkForRelease)
        pmedium->pUnkForRelease->Release();
    else if (pmedium->tymed == TYMED_HGLOBAL && pmedium->hGlobal)
        GlobalFree(pmedium->hGlobal);
    pmedium->tymed = TYMED_NULL;
    pmedium->hGlobal = nullptr;
    pmedium->pUnkForRelease = nullptr;
}
