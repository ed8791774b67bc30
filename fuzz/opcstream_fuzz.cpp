// Takes an arbitrary buffer as a DA 1.0 stream block, as the client's advise sink gets it from a
// server: read as a data block without and with time stamps, and as a write-complete block. A
// crash or a sanitizer report (the block is copied to a buffer of its exact size, so a read past it
// is caught) is a finding; so is a block taken whole although its stated size or count does not fit
// it, and a data block whose items come back different when written and read again. Seeds in
// corpus/opcstream/ were laid out by hand after the published stream formats.
#include "opcsdk/OpcStream.h"

#include "com/SafeArray.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_opcstream: %s\n", what);
    std::abort();
}

// The same value, compared by what a stream carries of it.
bool SameValue(const VARIANT& a, const VARIANT& b)
{
    if (a.vt != b.vt)
        return false;
    if (a.vt == VT_BSTR)
        return SysStringLen(a.bstrVal) == SysStringLen(b.bstrVal) &&
               std::memcmp(a.bstrVal, b.bstrVal, SysStringLen(a.bstrVal) * sizeof(wchar_t)) == 0;
    if (a.vt & VT_ARRAY)
    {
        LONG loA = 0, loB = 0, hiA = 0, hiB = 0;
        SafeArrayGetLBound(a.parray, 1, &loA);
        SafeArrayGetLBound(b.parray, 1, &loB);
        SafeArrayGetUBound(a.parray, 1, &hiA);
        SafeArrayGetUBound(b.parray, 1, &hiB);
        if (loA != loB || hiA != hiB || SafeArrayGetElemsize(a.parray) != SafeArrayGetElemsize(b.parray))
            return false;
        if (a.parray->rgsabound[0].cElements != b.parray->rgsabound[0].cElements)
            return false;
        size_t bytes = size_t(a.parray->rgsabound[0].cElements) * SafeArrayGetElemsize(a.parray);
        void* dataA = nullptr;
        void* dataB = nullptr;
        if (bytes == 0)
            return true;
        if (FAILED(SafeArrayAccessData(a.parray, &dataA)))
            return false;
        bool same = SUCCEEDED(SafeArrayAccessData(b.parray, &dataB)) && std::memcmp(dataA, dataB, bytes) == 0;
        if (dataB)
            SafeArrayUnaccessData(b.parray);
        SafeArrayUnaccessData(a.parray);
        return same;
    }
    return std::memcmp(&a.llVal, &b.llVal, sizeof(a.llVal)) == 0;
}

// What was read must be written and read back unchanged.
void CheckRoundTrip(BOOL withTime, const OPCGROUPHEADER& header, const std::vector<OPCSTMITEM>& items)
{
    std::vector<OPCHANDLE> clients;
    std::vector<VARIANT> values;
    std::vector<WORD> qualities;
    std::vector<FILETIME> times;
    for (const OPCSTMITEM& item : items)
    {
        clients.push_back(item.hClient);
        values.push_back(item.vValue);
        qualities.push_back(item.wQuality);
        times.push_back(item.ftTimeStamp);
    }
    HGLOBAL h = OpcStreamWriteData(withTime, header.hClientGroup, header.dwTransactionID, header.hrStatus,
                                   DWORD(items.size()), clients.data(), values.data(), qualities.data(),
                                   times.data());
    if (!h)
        Fail("a block that was read cannot be written");
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(h));
    OPCGROUPHEADER again{};
    std::vector<OPCSTMITEM> read;
    if (!OpcStreamReadData(block, GlobalSize(h), withTime, &again, &read))
        Fail("a written block is refused");
    if (read.size() != items.size() || again.hClientGroup != header.hClientGroup ||
        again.dwTransactionID != header.dwTransactionID)
        Fail("a written block reads back with another header");
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (read[i].hClient != items[i].hClient || read[i].wQuality != items[i].wQuality ||
            !SameValue(read[i].vValue, items[i].vValue))
            Fail("an item reads back changed");
        if (withTime && std::memcmp(&read[i].ftTimeStamp, &items[i].ftTimeStamp, sizeof(FILETIME)) != 0)
            Fail("a time stamp reads back changed");
    }
    OpcStreamClear(&read);
    GlobalUnlock(h);
    GlobalFree(h);
}

void ReadData(const std::vector<BYTE>& block, BOOL withTime)
{
    OPCGROUPHEADER header{};
    std::vector<OPCSTMITEM> items;
    if (!OpcStreamReadData(block.data(), block.size(), withTime, &header, &items))
    {
        if (!items.empty())
            Fail("a refused block left items");
        return;
    }
    const size_t stride = withTime ? sizeof(OPCITEMHEADER1) : sizeof(OPCITEMHEADER2);
    if (header.dwSize < sizeof(OPCGROUPHEADER) || header.dwSize > block.size())
        Fail("a block was taken whose stated size does not fit it");
    if (items.size() != header.dwItemCount ||
        sizeof(OPCGROUPHEADER) + stride * size_t(header.dwItemCount) > header.dwSize)
        Fail("a block was taken whose item headers do not fit its stated size");
    CheckRoundTrip(withTime, header, items);
    OpcStreamClear(&items);
}

void ReadWriteComplete(const std::vector<BYTE>& block)
{
    OPCGROUPHEADERWRITE header{};
    std::vector<OPCITEMHEADERWRITE> items;
    if (!OpcStreamReadWriteComplete(block.data(), block.size(), &header, &items))
        return;
    if (items.size() != header.dwItemCount ||
        sizeof(OPCGROUPHEADERWRITE) + sizeof(OPCITEMHEADERWRITE) * items.size() > block.size())
        Fail("a write-complete block was taken whose items do not fit it");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<BYTE> block(data, data + size);
    ReadData(block, FALSE);
    ReadData(block, TRUE);
    ReadWriteComplete(block);
    return 0;
}
