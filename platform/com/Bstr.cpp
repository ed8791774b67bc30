#include "com/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace
{

// The block: [magic][byte length][text][zero wchar_t]; the BSTR points at the text.
struct BstrHeader
{
    uint32_t magic;
    uint32_t bytes;
};
constexpr uint32_t kBstrMagic = 0x42535452; // "BSTR"
constexpr size_t kMaxBstrBytes = size_t(1) << 30;

BstrHeader* HeaderOf(BSTR s)
{
    return reinterpret_cast<BstrHeader*>(reinterpret_cast<char*>(s) - sizeof(BstrHeader));
}

BSTR AllocBytes(const void* data, size_t bytes)
{
    if (bytes > kMaxBstrBytes)
        return nullptr;
    const size_t chars = (bytes + sizeof(OLECHAR) - 1) / sizeof(OLECHAR);
    auto* block = static_cast<char*>(std::calloc(1, sizeof(BstrHeader) + (chars + 1) * sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    auto* header = reinterpret_cast<BstrHeader*>(block);
    header->magic = kBstrMagic;
    header->bytes = uint32_t(bytes);
    BSTR s = reinterpret_cast<BSTR>(block + sizeof(BstrHeader));
    if (data && bytes)
        std::memcpy(s, data, bytes);
    return s;
}

} // namespace

BSTR SysAllocString(const OLECHAR* psz)
{
    if (!psz)
        return nullptr;
    return AllocBytes(psz, std::wcslen(psz) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT ui)
{
    if (size_t(ui) > kMaxBstrBytes / sizeof(OLECHAR))
        return nullptr;
    return AllocBytes(pch, size_t(ui) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len)
{
    return AllocBytes(psz, len);
}

void SysFreeString(BSTR bstrString)
{
    if (!bstrString)
        return;
    BstrHeader* header = HeaderOf(bstrString);
    header->magic = 0; // a second free is then easier to spot
    std::free(header);
}

UINT SysStringLen(BSTR pbstr)
{
    return pbstr ? HeaderOf(pbstr)->bytes / sizeof(OLECHAR) : 0;
}
UINT SysStringByteLen(BSTR bstr)
{
    return bstr ? HeaderOf(bstr)->bytes : 0;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz)
{
    if (!pbstr)
        return FALSE;
    return SysReAllocStringLen(pbstr, psz, psz ? UINT(std::wcslen(psz)) : 0);
}

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len)
{
    if (!pbstr)
        return FALSE;
    // Copy first: psz may point into the old string.
    BSTR fresh = SysAllocStringLen(psz, len);
    if (!fresh)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}
