// DA 1.0 stream blocks: what the writer makes the checked reader gives back, and bad blocks are
// refused or marked bad without reading past their end.
#include "OpcTestSinks.h"

#include <gtest/gtest.h>

#include "com/SafeArray.h"

#include <algorithm>
#include <cstring>

namespace
{
struct Block
{
    std::vector<BYTE> bytes;
};

// A block with an R8, a BSTR and an I4 array, written by the server's writer.
Block MakeDataBlock(BOOL withTime)
{
    VARIANT values[3];
    for (VARIANT& v : values)
        VariantInit(&v);
    values[0].vt = VT_R8;
    values[0].dblVal = 12.5;
    values[1].vt = VT_BSTR;
    values[1].bstrVal = SysAllocString(L"Pump running");
    values[2].vt = VARTYPE(VT_ARRAY | VT_I4);
    values[2].parray = SafeArrayCreateVector(VT_I4, 1, 3);
    LONG* data = nullptr;
    SafeArrayAccessData(values[2].parray, reinterpret_cast<void**>(&data));
    data[0] = 7;
    data[1] = -8;
    data[2] = 9;
    SafeArrayUnaccessData(values[2].parray);
    OPCHANDLE clients[3] = {11, 12, 13};
    WORD qualities[3] = {OPC_QUALITY_GOOD, OPC_QUALITY_GOOD, OPC_QUALITY_UNCERTAIN};
    FILETIME times[3] = {{1, 2}, {3, 4}, {5, 6}};
    HGLOBAL h = OpcStreamWriteData(withTime, 77, 5, S_OK, 3, clients, values, qualities, times);
    Block b;
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    b.bytes.assign(p, p + GlobalSize(h));
    GlobalUnlock(h);
    GlobalFree(h);
    for (VARIANT& v : values)
        VariantClear(&v);
    return b;
}

TEST(OpcStreamTest, DataBlocksRoundTripWithAndWithoutTimes)
{
    for (BOOL withTime : {FALSE, TRUE})
    {
        Block b = MakeDataBlock(withTime);
        OPCGROUPHEADER header{};
        std::vector<OPCSTMITEM> items;
        ASSERT_TRUE(OpcStreamReadData(b.bytes.data(), b.bytes.size(), withTime, &header, &items));
        EXPECT_EQ(b.bytes.size(), header.dwSize);
        EXPECT_EQ(77u, header.hClientGroup);
        EXPECT_EQ(5u, header.dwTransactionID);
        ASSERT_EQ(3u, items.size());
        EXPECT_EQ(11u, items[0].hClient);
        EXPECT_EQ(VT_R8, items[0].vValue.vt);
        EXPECT_EQ(12.5, items[0].vValue.dblVal);
        ASSERT_EQ(VT_BSTR, items[1].vValue.vt);
        EXPECT_STREQ(L"Pump running", items[1].vValue.bstrVal);
        ASSERT_EQ(VT_ARRAY | VT_I4, items[2].vValue.vt);
        LONG lo = 0, hi = 0;
        SafeArrayGetLBound(items[2].vValue.parray, 1, &lo);
        SafeArrayGetUBound(items[2].vValue.parray, 1, &hi);
        EXPECT_EQ(1, lo);
        EXPECT_EQ(3, hi);
        LONG index = 2, value = 0;
        SafeArrayGetElement(items[2].vValue.parray, &index, &value);
        EXPECT_EQ(-8, value);
        EXPECT_EQ(OPC_QUALITY_UNCERTAIN, items[2].wQuality);
        EXPECT_EQ(withTime ? 3u : 0u, items[1].ftTimeStamp.dwLowDateTime);
        // The BSTR's characters follow its count, 20 bytes past its value.
        OPCITEMHEADER2 second;
        std::memcpy(&second, b.bytes.data() + sizeof(OPCGROUPHEADER) + (withTime ? 20 : 12), sizeof(second));
        EXPECT_EQ(0, std::memcmp(b.bytes.data() + second.dwValueOffset + 20, L"Pump", 4 * sizeof(wchar_t)));
        OpcStreamClear(&items);
    }
}

// An empty array whose lower bound is LONG's least has an upper bound that wraps round; the writer
// must size it from its count, not from its bounds.
TEST(OpcStreamTest, AnEmptyArrayAtTheLeastLowerBoundRoundTrips)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VARTYPE(VT_ARRAY | VT_I4);
    value.parray = SafeArrayCreateVector(VT_I4, LONG(0x80000000u), 0);
    OPCHANDLE client = 5;
    WORD quality = OPC_QUALITY_GOOD;
    HGLOBAL h = OpcStreamWriteData(FALSE, 1, 2, S_OK, 1, &client, &value, &quality, nullptr);
    ASSERT_NE(h, nullptr);
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    std::vector<BYTE> bytes(p, p + GlobalSize(h));
    GlobalUnlock(h);
    GlobalFree(h);
    VariantClear(&value);
    OPCGROUPHEADER header{};
    std::vector<OPCSTMITEM> items;
    ASSERT_TRUE(OpcStreamReadData(bytes.data(), bytes.size(), FALSE, &header, &items));
    EXPECT_EQ(bytes.size(), header.dwSize);
    ASSERT_EQ(1u, items.size());
    ASSERT_EQ(VT_ARRAY | VT_I4, items[0].vValue.vt);
    EXPECT_EQ(0u, items[0].vValue.parray->rgsabound[0].cElements);
    EXPECT_EQ(LONG(0x80000000u), items[0].vValue.parray->rgsabound[0].lLbound);
    OpcStreamClear(&items);
}

// Changes that break a block, and what the reader must make of them.
struct Corruption
{
    const char* name;
    std::function<void(std::vector<BYTE>&)> apply;
    bool blockRefused; // the whole block is refused
    int badItem;       // else this item comes back empty and bad (-1: none)
};

template <class T> void Put(std::vector<BYTE>& b, size_t at, T v)
{
    std::memcpy(b.data() + at, &v, sizeof(v));
}

template <class T> T Get(const std::vector<BYTE>& b, size_t at)
{
    T v;
    std::memcpy(&v, b.data() + at, sizeof(v));
    return v;
}

TEST(OpcStreamTest, BadBlocksAreRefusedOrTheirBadItemsMarked)
{
    const size_t item0 = sizeof(OPCGROUPHEADER);
    const size_t item1 = item0 + sizeof(OPCITEMHEADER2);
    const Corruption cases[] = {
        {"truncated header", [](std::vector<BYTE>& b) { b.resize(10); }, true, -1},
        {"size beyond block", [](std::vector<BYTE>& b) { Put<DWORD>(b, 0, DWORD(b.size() + 1)); }, true, -1},
        {"huge count", [](std::vector<BYTE>& b) { Put<DWORD>(b, 4, 0x40000000u); }, true, -1},
        {"count past headers", [](std::vector<BYTE>& b) { Put<DWORD>(b, 4, DWORD(b.size() / 12)); }, true,
         -1},
        {"value offset past end",
         [&](std::vector<BYTE>& b) { Put<DWORD>(b, item0 + 4, DWORD(b.size() - 4)); }, false, 0},
        {"value offset in headers", [&](std::vector<BYTE>& b) { Put<DWORD>(b, item0 + 4, 4); }, false, 0},
        {"string longer than block",
         [&](std::vector<BYTE>& b) { Put<DWORD>(b, Get<DWORD>(b, item1 + 4) + 16, 0x7FFFFFF0u); }, false, 1},
        {"odd string length", [&](std::vector<BYTE>& b) { Put<DWORD>(b, Get<DWORD>(b, item1 + 4) + 16, 3); },
         false, 1},
        {"unknown type", [&](std::vector<BYTE>& b) { Put<WORD>(b, Get<DWORD>(b, item0 + 4), VT_DISPATCH); },
         false, 0},
        {"array too long",
         [&](std::vector<BYTE>& b)
         {
             size_t at = Get<DWORD>(b, item1 + sizeof(OPCITEMHEADER2) + 4) + 16;
             Put<DWORD>(b, at + 16, 0x10000000u);
         },
         false, 2},
        {"array whose last index is past a LONG",
         [&](std::vector<BYTE>& b)
         {
             size_t at = Get<DWORD>(b, item1 + sizeof(OPCITEMHEADER2) + 4) + 16;
             Put<LONG>(b, at + 20, 0x7FFFFFFE);
         },
         false, 2},
        {"array of two dimensions",
         [&](std::vector<BYTE>& b)
         {
             size_t at = Get<DWORD>(b, item1 + sizeof(OPCITEMHEADER2) + 4) + 16;
             Put<WORD>(b, at, 2);
         },
         false, 2},
    };
    for (const Corruption& c : cases)
    {
        Block b = MakeDataBlock(FALSE);
        c.apply(b.bytes);
        std::vector<OPCSTMITEM> items;
        BOOL ok = OpcStreamReadData(b.bytes.data(), b.bytes.size(), FALSE, nullptr, &items);
        EXPECT_EQ(!c.blockRefused, bool(ok)) << c.name;
        if (ok)
        {
            ASSERT_EQ(3u, items.size()) << c.name;
            for (int i = 0; i < 3; ++i)
            {
                bool bad = i == c.badItem;
                EXPECT_EQ(bad, items[i].vValue.vt == VT_EMPTY) << c.name << " item " << i;
                if (bad)
                {
                    EXPECT_EQ(OPC_QUALITY_BAD, items[i].wQuality) << c.name;
                }
            }
        }
        else
        {
            EXPECT_TRUE(items.empty()) << c.name;
        }
        OpcStreamClear(&items);
    }
}

// Hand-made blocks: a group header (size field, count) and as many bytes as the block has.
std::vector<BYTE> RawBlock(DWORD statedSize, DWORD count, size_t bytes)
{
    std::vector<BYTE> b(bytes, 0);
    if (bytes >= 8)
    {
        Put<DWORD>(b, 0, statedSize);
        Put<DWORD>(b, 4, count);
    }
    return b;
}

TEST(OpcStreamTest, ShortAndOddBlocksAreRefusedWithoutReadingPastThem)
{
    struct Case
    {
        const char* name;
        DWORD statedSize;
        DWORD count;
        size_t bytes;
        int itemsWithout; // items read without time stamps; -1: refused
        int itemsWith;    // with time stamps
    } cases[] = {
        {"nothing", 0, 0, 0, -1, -1},
        {"shorter than the header", 19, 0, 19, -1, -1},
        // 0 - 20 must not wrap into room for the item headers.
        {"size 0 with one item", 0, 1, 20, -1, -1},
        {"size 0 with one item in a larger block", 0, 1, 64, -1, -1},
        {"size below the header", 19, 0, 64, -1, -1},
        {"size below the header with items", 8, 3, 64, -1, -1},
        {"header alone", 20, 0, 20, 0, 0},
        {"header alone in a larger block", 20, 0, 64, 0, 0},
        {"item header beyond the stated size", 20, 1, 64, -1, -1},
        {"room for a short item header only", 32, 1, 64, 1, -1},
        {"size beyond the block", 64, 1, 63, -1, -1},
    };
    for (const Case& c : cases)
    {
        // Exactly as large as the block, so a read past it is caught.
        std::vector<BYTE> b = RawBlock(c.statedSize, c.count, c.bytes);
        for (BOOL withTime : {FALSE, TRUE})
        {
            int expected = withTime ? c.itemsWith : c.itemsWithout;
            std::vector<OPCSTMITEM> items;
            OPCGROUPHEADER header{};
            BOOL ok = OpcStreamReadData(b.data(), b.size(), withTime, &header, &items);
            EXPECT_EQ(expected >= 0, bool(ok)) << c.name << (withTime ? " with times" : "");
            EXPECT_EQ(size_t(std::max(expected, 0)), items.size()) << c.name;
            // An item whose value lies outside what the block states is empty and bad.
            for (const OPCSTMITEM& item : items)
            {
                EXPECT_EQ(VT_EMPTY, item.vValue.vt) << c.name;
                EXPECT_EQ(OPC_QUALITY_BAD, item.wQuality) << c.name;
            }
            OpcStreamClear(&items);
        }
    }
    std::vector<OPCSTMITEM> items;
    EXPECT_FALSE(OpcStreamReadData(nullptr, 64, FALSE, nullptr, &items));
}

TEST(OpcStreamTest, WriteCompleteBlocksRoundTripAndShortOnesAreRefused)
{
    OPCHANDLE clients[2] = {3, 4};
    HRESULT errors[2] = {S_OK, OPC_E_BADRIGHTS};
    HGLOBAL h = OpcStreamWriteComplete(9, 42, S_FALSE, 2, clients, errors);
    auto* p = static_cast<const BYTE*>(GlobalLock(h));
    size_t size = GlobalSize(h);
    ASSERT_EQ(16u + 2 * 8u, size);
    OPCGROUPHEADERWRITE header{};
    std::vector<OPCITEMHEADERWRITE> items;
    ASSERT_TRUE(OpcStreamReadWriteComplete(p, size, &header, &items));
    EXPECT_EQ(42u, header.dwTransactionID);
    EXPECT_EQ(S_FALSE, header.hrStatus);
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(OPC_E_BADRIGHTS, items[1].dwError);
    EXPECT_FALSE(OpcStreamReadWriteComplete(p, size - 1, &header, &items));
    EXPECT_FALSE(OpcStreamReadWriteComplete(p, 8, &header, &items));
    GlobalUnlock(h);
    GlobalFree(h);
    // Handles not made by GlobalAlloc are refused.
    int local = 0;
    EXPECT_EQ(nullptr, GlobalLock(&local));
    EXPECT_EQ(0u, GlobalSize(&local));
}
} // namespace
