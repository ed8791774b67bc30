#include "foundation/Reg.h"

#include "support/FreshRegistry.h"

#include <gtest/gtest.h>

#include <map>

namespace
{

const wchar_t kKey[] = L"Software\\Quendrel\\QYRDraw";

class RegTest : public ::testing::Test
{
protected:
    CTestDir m_dir;
    CFreshRegistry m_registry{m_dir};
};

CStringArray Strings(std::initializer_list<LPCWSTR> items)
{
    CStringArray a;
    for (LPCWSTR s : items)
        a.Add(s);
    return a;
}

} // namespace

TEST_F(RegTest, EveryTypeSurvivesSaveReloadAndLoad)
{
    const BYTE blob[] = {0, 1, 2, 0xFE, 0xFF};
    {
        CReg reg;
        ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, kKey, KEY_WRITE));
        EXPECT_TRUE(reg.SaveNumber(L"Number", 0xDEADBEEF));
        EXPECT_TRUE(reg.SaveBinary(L"Blob", blob, sizeof(blob)));
        EXPECT_TRUE(reg.SaveString(L"Text", L"Wärme 🔥"));
        EXPECT_TRUE(reg.SaveString(L"Empty", L""));
        EXPECT_TRUE(reg.SaveStringArr(L"Multi", Strings({L"one", L"", L"three"})));
        EXPECT_TRUE(reg.SaveStringArr(L"NoStrings", CStringArray()));
        const LPCWSTR list[] = {L"a", L"bb"};
        EXPECT_TRUE(reg.SaveStringArr(L"Settings", L"List", list, 2));
        RegVal expand;
        expand.SetString(L"%HOME%/x", REG_EXPAND_SZ);
        EXPECT_TRUE(reg.SaveVal(L"Expand", expand));
        EXPECT_TRUE(reg.SaveNumber(L"Settings", L"Inner", 7));
    }
    RegStoreReload();

    CReg reg;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKey, KEY_READ));
    DWORD n = 0;
    EXPECT_TRUE(reg.LoadNumber(L"Number", &n));
    EXPECT_EQ(n, 0xDEADBEEFu);
    EXPECT_TRUE(reg.LoadNumber(L"Settings", L"Inner", &n));
    EXPECT_EQ(n, 7u);
    EXPECT_FALSE(reg.LoadNumber(L"Text", &n)); // wrong type

    BYTE small[4] = {9, 9, 9, 9};
    DWORD size = 0;
    EXPECT_FALSE(reg.LoadBinary(L"Blob", small, sizeof(small), &size));
    EXPECT_EQ(size, sizeof(blob));
    EXPECT_EQ(small[0], 9); // nothing written into storage that is too small
    BYTE big[8] = {};
    EXPECT_TRUE(reg.LoadBinary(L"Blob", big, sizeof(big)));
    EXPECT_EQ(std::vector<BYTE>(big, big + 5), std::vector<BYTE>(blob, blob + 5));
    std::vector<BYTE> fresh;
    EXPECT_TRUE(reg.LoadNewBinary(L"Blob", fresh));
    EXPECT_EQ(fresh, std::vector<BYTE>(blob, blob + 5));
    EXPECT_FALSE(reg.LoadNewBinary(L"Number", fresh));

    CString text;
    EXPECT_TRUE(reg.LoadString(L"Text", text));
    EXPECT_EQ(text, L"Wärme 🔥");
    EXPECT_TRUE(reg.LoadString(L"Empty", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(reg.LoadString(L"Expand", text));
    EXPECT_EQ(text, L"%HOME%/x");
    EXPECT_TRUE(reg.LoadString(L"Multi", text)); // the first string
    EXPECT_EQ(text, L"one");
    EXPECT_FALSE(reg.LoadString(L"Blob", text));
    wchar_t buf[8];
    EXPECT_TRUE(reg.LoadString(L"Text", buf, 8));
    EXPECT_STREQ(buf, L"Wärme 🔥");
    EXPECT_FALSE(reg.LoadString(L"Text", buf, 7));
    LPWSTR copy = nullptr;
    DWORD chars = 0;
    EXPECT_TRUE(reg.LoadNewString(L"Text", &copy, &chars));
    EXPECT_STREQ(copy, L"Wärme 🔥");
    EXPECT_EQ(chars, 7u);
    delete[] copy;

    // Up to the first empty string of the list.
    CStringArray multi;
    EXPECT_TRUE(reg.LoadStringArr(L"Multi", multi));
    ASSERT_EQ(multi.GetSize(), 1);
    EXPECT_EQ(multi[0], L"one");
    EXPECT_TRUE(reg.LoadStringArr(L"NoStrings", multi));
    EXPECT_EQ(multi.GetSize(), 0);
    std::vector<CString> list;
    EXPECT_TRUE(reg.LoadNewStringArr(L"Settings", L"List", list));
    EXPECT_EQ(list, (std::vector<CString>{L"a", L"bb"}));
    LPWSTR slots[2] = {};
    DWORD count = 0;
    EXPECT_TRUE(reg.LoadStringArr(L"Settings", L"List", slots, 2, &count));
    EXPECT_EQ(count, 2u);
    EXPECT_STREQ(slots[1], L"bb");
    for (LPWSTR s : slots)
        delete[] s;
    LPWSTR one[1] = {};
    EXPECT_FALSE(reg.LoadStringArr(L"Settings", L"List", one, 1, &count));
    EXPECT_EQ(one[0], nullptr);

    RegVal value;
    EXPECT_TRUE(reg.LoadVal(L"Blob", &value));
    EXPECT_EQ(value.GetType(), DWORD(REG_BINARY));
    EXPECT_EQ(value.GetSize(), sizeof(blob));
    EXPECT_TRUE(reg.LoadVal(L"Multi", &value));
    CStringArray fromVal;
    EXPECT_TRUE(value.GetStringArr(fromVal));
    EXPECT_EQ(fromVal.GetSize(), 1);
    value.Free();
    EXPECT_EQ(value.GetType(), DWORD(REG_NONE));
    EXPECT_FALSE(reg.LoadVal(L"Missing", &value));
    EXPECT_FALSE(reg.LoadString(L"NoSuchKey", L"x", text));
}

TEST_F(RegTest, StoredSizesFollowTheWideCharacter)
{
    CReg reg;
    ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, kKey));
    ASSERT_TRUE(reg.SaveString(L"S", L"ab"));
    ASSERT_TRUE(reg.SaveStringArr(L"M", Strings({L"a", L"b"})));
    ASSERT_TRUE(reg.SaveStringArr(L"E", CStringArray()));
    RegVal v;
    ASSERT_TRUE(reg.LoadVal(L"S", &v));
    EXPECT_EQ(v.GetSize(), 3 * sizeof(wchar_t));
    ASSERT_TRUE(reg.LoadVal(L"M", &v));
    EXPECT_EQ(v.GetSize(), 5 * sizeof(wchar_t));
    ASSERT_TRUE(reg.LoadVal(L"E", &v));
    EXPECT_EQ(v.GetSize(), 2 * sizeof(wchar_t));
}

TEST_F(RegTest, DeleteValuesAndWholeTrees)
{
    CReg reg;
    ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, kKey));
    ASSERT_TRUE(reg.SaveNumber(L"Top", 1));
    ASSERT_TRUE(reg.SaveNumber(L"A", L"v", 1));
    ASSERT_TRUE(reg.SaveNumber(L"A", L"w", 2));
    ASSERT_TRUE(reg.SaveNumber(L"A\\B\\C", L"deep", 3));
    ASSERT_TRUE(reg.SaveNumber(L"A\\B2", L"x", 4));
    ASSERT_TRUE(reg.SaveNumber(L"Other", L"y", 5));

    DWORD keys = 9, values = 9;
    EXPECT_TRUE(reg.HasEntries(&keys, &values));
    EXPECT_EQ(keys, 2u);
    EXPECT_EQ(values, 1u);
    EXPECT_TRUE(reg.HasEntries(L"A", &keys, &values));
    EXPECT_EQ(keys, 2u);
    EXPECT_EQ(values, 2u);
    EXPECT_FALSE(reg.HasEntries(L"Missing", &keys, &values));
    EXPECT_EQ(keys, 0u);
    EXPECT_EQ(values, 0u);

    EXPECT_TRUE(reg.DeleteKey(L"Top"));
    EXPECT_FALSE(reg.DeleteKey(L"Top"));
    EXPECT_TRUE(reg.DeleteKey(L"A", L"w"));
    DWORD n = 0;
    EXPECT_FALSE(reg.LoadNumber(L"A", L"w", &n));
    EXPECT_TRUE(reg.LoadNumber(L"A", L"v", &n));

    EXPECT_TRUE(reg.DeleteKey(L"A", nullptr)); // the subkey and everything below it
    CReg probe;
    EXPECT_FALSE(probe.Open(HKEY_CURRENT_USER, CString(kKey) + L"\\A", KEY_READ));
    EXPECT_FALSE(probe.Open(HKEY_CURRENT_USER, CString(kKey) + L"\\A\\B\\C", KEY_READ));
    EXPECT_TRUE(reg.LoadNumber(L"Other", L"y", &n));
    EXPECT_FALSE(reg.DeleteKey(L"A", nullptr));

    ASSERT_TRUE(reg.SaveNumber(L"Z\\Z1", L"z", 1));
    EXPECT_TRUE(reg.DeleteSubKeys());
    EXPECT_TRUE(reg.HasEntries(&keys, &values));
    EXPECT_EQ(keys, 0u);
}

TEST_F(RegTest, ValueEnumerationVisitsEveryValueOnce)
{
    CReg reg;
    ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, kKey));
    CString name;
    RegVal value;
    EXPECT_FALSE(reg.FindFirstValue(name, &value)); // no values
    ASSERT_TRUE(reg.SaveNumber(L"n", 5));
    ASSERT_TRUE(reg.SaveString(L"a rather long value name", L"text"));
    ASSERT_TRUE(reg.SaveStringArr(L"m", Strings({L"x", L"y"})));
    ASSERT_TRUE(reg.SaveNumber(L"Sub", L"hidden", 1)); // values of subkeys are not listed

    std::map<std::wstring, DWORD> seen;
    for (BOOL more = reg.FindFirstValue(name, &value); more; more = reg.FindNextValue(name, &value))
        seen[name.str()] = value.GetType();
    reg.FindClose();
    EXPECT_EQ(seen, (std::map<std::wstring, DWORD>{
                        {L"n", REG_DWORD}, {L"a rather long value name", REG_SZ}, {L"m", REG_MULTI_SZ}}));
    EXPECT_FALSE(reg.FindNextValue(name, &value));

    CReg closed;
    EXPECT_FALSE(closed.FindFirstValue(name, &value));
    EXPECT_FALSE(closed.SaveNumber(L"x", 1));
    EXPECT_FALSE(closed.DeleteSubKeys());
}

TEST_F(RegTest, ConnectOpenAndCreateKeepTheKey)
{
    CReg reg;
    EXPECT_EQ(reg.Connect(HKEY_CURRENT_USER, L"no-such-machine-xyz"), nullptr);
    const HKEY local = reg.Connect(HKEY_CURRENT_USER, nullptr);
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(reg.SaveNumber(L"Software\\Quendrel", L"Connected", 1));
    reg.Close();
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, L"Software\\Missing", KEY_READ));
    EXPECT_EQ(reg.GetKey(), nullptr);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, L"Software\\Quendrel", KEY_READ));
    DWORD n = 0;
    EXPECT_TRUE(reg.LoadNumber(L"Connected", &n));
}
