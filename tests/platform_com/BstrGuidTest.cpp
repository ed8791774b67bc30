#include "com/Bstr.h"
#include "com/ComBase.h"
#include "com/Guid.h"
#include "com/Unknown.h"

#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

namespace
{
DEFINE_GUID(kSample, 0x12345678, 0x9ABC, 0xDEF0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF);
}

TEST(BstrTest, AllocationLengthsAndReallocation)
{
    BSTR s = SysAllocString(L"hello");
    EXPECT_EQ(5u, SysStringLen(s));
    EXPECT_EQ(5u * sizeof(wchar_t), SysStringByteLen(s));
    EXPECT_EQ(L'\0', s[5]);

    BSTR embedded = SysAllocStringLen(L"a\0b", 3);
    EXPECT_EQ(3u, SysStringLen(embedded));
    EXPECT_EQ(L'b', embedded[2]);
    BSTR zeros = SysAllocStringLen(nullptr, 4);
    EXPECT_EQ(4u, SysStringLen(zeros));
    EXPECT_EQ(L'\0', zeros[3]);

    // Reallocating from a part of itself.
    ASSERT_TRUE(SysReAllocString(&s, s + 2));
    EXPECT_STREQ(L"llo", s);
    ASSERT_TRUE(SysReAllocStringLen(&s, L"abcdef", 2));
    EXPECT_STREQ(L"ab", s);
    EXPECT_EQ(2u, SysStringLen(s));

    BSTR bytes = SysAllocStringByteLen("xyz", 3);
    EXPECT_EQ(3u, SysStringByteLen(bytes));

    EXPECT_EQ(nullptr, SysAllocString(nullptr));
    EXPECT_EQ(0u, SysStringLen(nullptr));
    EXPECT_EQ(nullptr, SysAllocStringLen(nullptr, 0x7FFFFFFFu));
    SysFreeString(nullptr);
    for (BSTR b : {s, embedded, zeros, bytes})
        SysFreeString(b);
}

TEST(GuidTest, TextFormBothWays)
{
    wchar_t text[40];
    EXPECT_EQ(39, StringFromGUID2(kSample, text, 40));
    EXPECT_STREQ(L"{12345678-9ABC-DEF0-0123-456789ABCDEF}", text);
    EXPECT_EQ(0, StringFromGUID2(kSample, text, 38));

    CLSID parsed;
    EXPECT_EQ(S_OK, CLSIDFromString(L"{12345678-9abc-def0-0123-456789abcdef}", &parsed));
    EXPECT_TRUE(IsEqualGUID(kSample, parsed));
    for (const wchar_t* bad :
         {L"", L"12345678-9ABC-DEF0-0123-456789ABCDEF", L"{12345678-9ABC-DEF0-0123-456789ABCDEG}",
          L"{12345678-9ABC-DEF0-01234-56789ABCDEF}", L"{12345678-9ABC-DEF0-0123-456789ABCDEF}x"})
        EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString(bad, &parsed)) << bad;
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString(nullptr, &parsed));

    LPOLESTR allocated = nullptr;
    ASSERT_EQ(S_OK, StringFromCLSID(IID_IUnknown, &allocated));
    EXPECT_STREQ(L"{00000000-0000-0000-C000-000000000046}", allocated);
    CoTaskMemFree(allocated);

    std::set<GUID> ordered;
    std::unordered_set<GUID> hashed;
    for (int i = 0; i < 100; ++i)
    {
        GUID g;
        ASSERT_EQ(S_OK, CoCreateGuid(&g));
        EXPECT_EQ(0x4000, g.Data3 & 0xF000);
        ordered.insert(g);
        hashed.insert(g);
    }
    EXPECT_EQ(100u, ordered.size());
    EXPECT_EQ(100u, hashed.size());
    EXPECT_TRUE(GUID_NULL != IID_IUnknown);
}

TEST(ComBaseTest, TaskMemoryAndStartUp)
{
    void* p = CoTaskMemAlloc(0);
    EXPECT_NE(nullptr, p);
    p = CoTaskMemRealloc(p, 64);
    ASSERT_NE(nullptr, p);
    CoTaskMemFree(p);
    CoTaskMemFree(nullptr);
    EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    EXPECT_EQ(S_OK, OleInitialize(nullptr));
    OleUninitialize();
    CoUninitialize();
}
