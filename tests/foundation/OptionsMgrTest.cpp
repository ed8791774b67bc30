#include "foundation/OptionsMgr.h"
#include "foundation/Reg.h"

#include "support/FreshRegistry.h"

#include "win32/Profile.h"

#include <gtest/gtest.h>

namespace
{

const wchar_t kRoot[] = L"Software\\Brindlecote\\Corvane\\";

VariantValue Bool(bool b)
{
    VariantValue v;
    v.SetBool(b);
    return v;
}
VariantValue Int(int i)
{
    VariantValue v;
    v.SetInt(i);
    return v;
}
VariantValue Str(LPCWSTR s)
{
    VariantValue v;
    v.SetString(s);
    return v;
}
VariantValue Float(double d)
{
    VariantValue v;
    v.SetFloat(d);
    return v;
}

// Reads a value of the options tree straight from the registry.
bool ReadStored(LPCWSTR subKey, LPCWSTR valueName, RegVal& value)
{
    CReg reg;
    if (!reg.Open(HKEY_CURRENT_USER, (CString(kRoot) + subKey), KEY_READ))
        return false;
    return reg.LoadVal(valueName, &value) != FALSE;
}

class OptionsTest : public ::testing::Test
{
protected:
    CTestDir m_dir;
    CFreshRegistry m_registry{m_dir};
};

} // namespace

TEST_F(OptionsTest, FirstStartWritesEveryDefaultAndSecondStartReadsThemBack)
{
    {
        CRegOptionsMgr options;
        OptionsInit(&options);
        EXPECT_EQ(options.GetRootKey(), CString(kRoot));
        EXPECT_EQ(options.GetIntValue(L"Locale/LanguageId"), 1033);
        EXPECT_EQ(options.GetIntValue(L"Settings/Logging"), 0);
        EXPECT_EQ(options.GetIntValue(L"Settings/DirViewSortCol"), -1);
        EXPECT_EQ(options.GetIntValue(L"Settings/CodepageDefaultCustomValue"), 65001);
        EXPECT_EQ(options.GetStringValue(L"Font/FaceName"), L"Courier New");

        struct Stored
        {
            LPCWSTR key;
            LPCWSTR value;
            DWORD type;
            DWORD number;
            LPCWSTR text;
        };
        const Stored stored[] = {
            {L"Locale", L"LanguageId", REG_DWORD, 1033, nullptr},
            {L"Settings", L"Logging", REG_DWORD, 0, nullptr},
            {L"Settings", L"ShowUniqueLeft", REG_DWORD, 1, nullptr},
            {L"Settings", L"DirViewSortCol", REG_DWORD, 0xFFFFFFFFu, nullptr},
            {L"Settings", L"DifferenceColor", REG_DWORD, 0x0005CBEF, nullptr},
            {L"Settings/Filters", L"Shared", REG_DWORD, 0, nullptr},
            {L"Font", L"PitchAndFamily", REG_DWORD, 49, nullptr},
            {L"Settings", L"HiliteBreakSeparators", REG_SZ, 0, L".,:;"},
            {L"Backup", L"GlobalFolder", REG_SZ, 0, L""},
        };
        for (const Stored& s : stored)
        {
            SCOPED_TRACE(CString(s.key + CString(L"/") + s.value).ToUtf8());
            RegVal value;
            ASSERT_TRUE(ReadStored(s.key, s.value, value));
            ASSERT_EQ(value.GetType(), s.type);
            if (s.type == REG_DWORD)
                EXPECT_EQ(value.dwNumber, s.number);
            else
            {
                CString text;
                ASSERT_TRUE(value.GetString(text));
                EXPECT_EQ(text, s.text);
                // Stored with its terminator: an empty string is one character.
                EXPECT_EQ(value.GetSize(), (wcslen(s.text) + 1) * sizeof(wchar_t));
            }
        }
        EXPECT_EQ(options.StoreOption(L"Settings/TabSize", 8), OPT_OK);
        EXPECT_EQ(options.StoreOption(L"Settings/ProjectsPath", L"/home/ann/Plant1"), OPT_OK);
        EXPECT_EQ(options.StoreOption(L"Settings/WordWrap", true), OPT_OK);
        EXPECT_EQ(options.StoreOption(L"Settings/DifferenceColor", DWORD(0x00FF00FF)), OPT_OK);
    }
    RegStoreReload(); // a second start reads the store from disk
    CRegOptionsMgr options;
    OptionsInit(&options);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabSize"), 8);
    EXPECT_EQ(options.GetStringValue(L"Settings/ProjectsPath"), L"/home/ann/Plant1");
    EXPECT_TRUE(options.GetBoolValue(L"Settings/WordWrap"));
    EXPECT_EQ(options.GetIntValue(L"Settings/DifferenceColor"), 0x00FF00FF);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabType"), 0);
    EXPECT_EQ(options.GetDefault(L"Settings/TabSize").GetInt(), 4);
}

TEST_F(OptionsTest, MistypedStoredValueKeepsTheDefaultAndReportsWrongType)
{
    CReg reg;
    ASSERT_TRUE(reg.Create(HKEY_CURRENT_USER, CString(kRoot) + L"Settings", KEY_ALL_ACCESS));
    ASSERT_TRUE(reg.SaveString(L"TabSize", L"12"));
    ASSERT_TRUE(reg.SaveNumber(L"ProjectsPath", 5));
    ASSERT_TRUE(reg.SaveString(L"WordWrap", L"1"));
    const std::wstring longText(300, L'x'); // beyond the first 260-byte probe
    ASSERT_TRUE(reg.SaveString(L"VssPath", longText.c_str()));
    reg.Close();

    CRegOptionsMgr options;
    ASSERT_EQ(options.SetRootKey(L"Brindlecote\\Corvane\\"), OPT_OK);
    EXPECT_EQ(options.RegisterOption(L"Settings/TabSize", 4), OPT_WRONG_TYPE);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabSize"), 4);
    EXPECT_EQ(options.RegisterOption(L"Settings/ProjectsPath", L"dflt"), OPT_WRONG_TYPE);
    EXPECT_EQ(options.GetStringValue(L"Settings/ProjectsPath"), L"dflt");
    EXPECT_EQ(options.RegisterOption(L"Settings/WordWrap", false), OPT_WRONG_TYPE);
    EXPECT_FALSE(options.GetBoolValue(L"Settings/WordWrap"));
    EXPECT_EQ(options.RegisterOption(L"Settings/VssPath", L""), OPT_OK);
    EXPECT_EQ(options.GetStringValue(L"Settings/VssPath"), CString(longText));
    // The stored value is left alone.
    RegVal stored;
    ASSERT_TRUE(ReadStored(L"Settings", L"TabSize", stored));
    EXPECT_EQ(stored.GetType(), DWORD(REG_SZ));
}

TEST_F(OptionsTest, RegistrationNamesAndResultCodes)
{
    CRegOptionsMgr options;
    EXPECT_EQ(options.SetRootKey(L"Software\\Test\\Opts"), OPT_OK);
    EXPECT_EQ(options.GetRootKey(), L"Software\\Test\\Opts");
    EXPECT_EQ(options.RegisterOption(L"", 1), OPT_ERR);
    EXPECT_EQ(options.RegisterOption(L"TopLevel", 7), OPT_OK);           // a value of the root itself
    EXPECT_EQ(options.RegisterOption(L"/Slashed", 9), OPT_OK);           // '/' at 0: also the root
    EXPECT_EQ(options.RegisterOption(L"Memory/Only", 3, false), OPT_OK); // not serializable
    EXPECT_EQ(options.RegisterOption(L"A/B/C", L"deep"), OPT_OK);

    CReg reg;
    DWORD n = 0;
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, L"Software\\Test\\Opts", KEY_READ));
    EXPECT_TRUE(reg.LoadNumber(L"TopLevel", &n));
    EXPECT_EQ(n, 7u);
    EXPECT_TRUE(reg.LoadNumber(L"Slashed", &n));
    EXPECT_EQ(n, 9u);
    EXPECT_FALSE(reg.LoadNumber(L"Memory", L"Only", &n));
    CString text;
    EXPECT_TRUE(reg.LoadString(L"A/B", L"C", text));
    EXPECT_EQ(text, L"deep");

    EXPECT_EQ(options.StoreOption(L"Nope", 1), OPT_NOTFOUND);
    EXPECT_EQ(options.StoreOption(L"Nope"), OPT_NOTFOUND);
    EXPECT_EQ(options.SetValue(L"Nope", Int(1)), OPT_NOTFOUND);
    EXPECT_EQ(options.GetValue(L"Nope").GetType(), VariantValue::typeNone);
    EXPECT_EQ(options.GetIntValue(L"Nope"), 0);
    EXPECT_EQ(options.StoreOption(L"TopLevel", L"abc"), OPT_WRONG_TYPE);
    EXPECT_EQ(options.GetIntValue(L"TopLevel"), 7);
    EXPECT_EQ(options.StoreOption(L"TopLevel", L"42"), OPT_OK); // digits convert
    EXPECT_TRUE(reg.LoadNumber(L"TopLevel", &n));
    EXPECT_EQ(n, 42u);

    EXPECT_EQ(options.DeleteOption(L"TopLevel"), OPT_OK);
    EXPECT_FALSE(options.IsRegistered(L"TopLevel"));
    EXPECT_FALSE(reg.LoadNumber(L"TopLevel", &n));
    EXPECT_EQ(options.DeleteOption(L"TopLevel"), OPT_ERR); // the value is gone already
    options.SetSerializing(false);
    EXPECT_EQ(options.DeleteOption(L"TopLevel"), OPT_NOTFOUND);
    EXPECT_EQ(options.DeleteOption(L"Memory/Only"), OPT_OK);
}

TEST_F(OptionsTest, WithoutSerializingNothingReachesTheRegistry)
{
    CRegOptionsMgr options;
    options.SetSerializing(false);
    OptionsInit(&options);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabSize"), 4);
    EXPECT_EQ(options.StoreOption(L"Settings/TabSize", 2), OPT_OK);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabSize"), 2);
    RegVal value;
    EXPECT_FALSE(ReadStored(L"Settings", L"TabSize", value));
}

TEST(COptionTest, SettingConvertsOnlyWhatTheRulesAllow)
{
    struct Case
    {
        const char* what;
        VariantValue initial;
        VariantValue incoming;
        int result;
        VariantValue expected;
    };
    const Case cases[] = {
        {"same type int", Int(1), Int(5), OPT_OK, Int(5)},
        {"same type string", Str(L"a"), Str(L""), OPT_OK, Str(L"")},
        {"none gives 3", VariantValue(), VariantValue(), OPT_UNKNOWN_TYPE, VariantValue()},
        {"\"1\" to bool", Bool(false), Str(L"1"), OPT_OK, Bool(true)},
        {"\"yes\" to bool", Bool(false), Str(L"yes"), OPT_OK, Bool(true)},
        {"\"true\" to bool", Bool(false), Str(L"true"), OPT_OK, Bool(true)},
        {"\"0\" to bool", Bool(true), Str(L"0"), OPT_OK, Bool(false)},
        {"\"no\" to bool", Bool(true), Str(L"no"), OPT_OK, Bool(false)},
        {"\"false\" to bool", Bool(true), Str(L"false"), OPT_OK, Bool(false)},
        {"\"maybe\" to bool", Bool(true), Str(L"maybe"), OPT_WRONG_TYPE, Bool(true)},
        {"\"2\" to bool", Bool(true), Str(L"2"), OPT_WRONG_TYPE, Bool(true)},
        {"digits to int", Int(4), Str(L"0123"), OPT_OK, Int(123)},
        {"sign to int", Int(4), Str(L"-5"), OPT_WRONG_TYPE, Int(4)},
        {"blank to int", Int(4), Str(L" 5"), OPT_WRONG_TYPE, Int(4)},
        {"empty to int", Int(4), Str(L""), OPT_WRONG_TYPE, Int(4)},
        {"huge digits saturate", Int(4), Str(L"99999999999"), OPT_OK, Int(2147483647)},
        {"int 1 to bool", Bool(false), Int(1), OPT_OK, Bool(true)},
        {"int 7 to bool", Bool(false), Int(7), OPT_OK, Bool(true)},
        {"int 0 to bool", Bool(true), Int(0), OPT_OK, Bool(false)},
        {"int -1 to bool", Bool(true), Int(-1), OPT_OK, Bool(false)},
        {"bool to int", Int(4), Bool(true), OPT_WRONG_TYPE, Int(4)},
        {"int to string", Str(L"x"), Int(3), OPT_WRONG_TYPE, Str(L"x")},
        {"float to int", Int(4), Float(1.0), OPT_WRONG_TYPE, Int(4)},
        {"none to int", Int(4), VariantValue(), OPT_WRONG_TYPE, Int(4)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        COption option;
        option.Init(L"Name", c.initial);
        EXPECT_EQ(option.Set(c.incoming), c.result);
        EXPECT_TRUE(option.Get() == c.expected);
        EXPECT_TRUE(option.GetDefault() == c.initial);
    }
    COption strict;
    strict.Init(L"Name", Bool(false));
    EXPECT_EQ(strict.Set(Str(L"1"), false), OPT_WRONG_TYPE);
}

TEST(VariantValueTest, SettingAnotherTypeClearsEveryMember)
{
    VariantValue v;
    v.SetString(L"text");
    v.SetInt(3);
    EXPECT_EQ(v.GetType(), VariantValue::typeInt);
    EXPECT_TRUE(v.GetString().IsEmpty());
    v.SetTime(123456789012345LL);
    EXPECT_EQ(v.GetInt(), 0);
    EXPECT_EQ(v.GetTime(), 123456789012345LL);
}

TEST_F(OptionsTest, IniRoundTripAndWordForBooleanReadsFalse)
{
    const std::wstring ini = m_dir.W("options.ini");
    CRegOptionsMgr options;
    options.SetSerializing(false);
    OptionsInit(&options);
    options.RegisterOption(L"Test/Float", Float(2.5));
    ASSERT_EQ(options.StoreOption(L"Settings/TabSize", 6), OPT_OK);
    ASSERT_EQ(options.StoreOption(L"Settings/WordWrap", true), OPT_OK);
    ASSERT_EQ(options.StoreOption(L"Settings/ProjectsPath", L"/home/ann/Wärme"), OPT_OK);
    ASSERT_EQ(options.ExportToIni(ini.c_str()), OPT_OK);

    wchar_t buf[256] = {};
    GetPrivateProfileStringW(L"Corvane", L"Settings/TabSize", L"", buf, 256, ini.c_str());
    EXPECT_STREQ(buf, L"6");
    GetPrivateProfileStringW(L"Corvane", L"Settings/WordWrap", L"", buf, 256, ini.c_str());
    EXPECT_STREQ(buf, L"1");
    GetPrivateProfileStringW(L"Corvane", L"Settings/DirViewSortCol", L"", buf, 256, ini.c_str());
    EXPECT_STREQ(buf, L"-1");
    GetPrivateProfileStringW(L"Corvane", L"Test/Float", L"missing", buf, 256, ini.c_str());
    EXPECT_STREQ(buf, L"");

    // A second store, serializing, imports into memory only.
    CRegOptionsMgr other;
    OptionsInit(&other);
    ASSERT_EQ(other.ImportFromIni(ini.c_str()), OPT_OK);
    EXPECT_EQ(other.GetIntValue(L"Settings/TabSize"), 6);
    EXPECT_TRUE(other.GetBoolValue(L"Settings/WordWrap"));
    EXPECT_EQ(other.GetStringValue(L"Settings/ProjectsPath"), L"/home/ann/Wärme");
    EXPECT_EQ(other.GetIntValue(L"Settings/DirViewSortCol"), -1);
    RegVal stored;
    ASSERT_TRUE(ReadStored(L"Settings", L"TabSize", stored));
    EXPECT_EQ(stored.dwNumber, 4u);

    // Only the integer 1 reads as true; unknown keys are skipped.
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"Settings/WordWrap", L"yes", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"Settings/ShowToolbar", L"2", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Corvane", L"No/SuchOption", L"1", ini.c_str()));
    ASSERT_EQ(other.ImportFromIni(ini.c_str()), OPT_OK);
    EXPECT_FALSE(other.GetBoolValue(L"Settings/WordWrap"));
    EXPECT_FALSE(other.GetBoolValue(L"Settings/ShowToolbar"));
    EXPECT_FALSE(other.IsRegistered(L"No/SuchOption"));
}

TEST_F(OptionsTest, MachineValuesAreCopiedOnlyWhereTheUserHasNone)
{
    CReg machine;
    ASSERT_TRUE(machine.Create(HKEY_LOCAL_MACHINE, kRoot, KEY_ALL_ACCESS));
    ASSERT_TRUE(machine.SaveNumber(L"ContextMenuEnabled", 1));
    ASSERT_TRUE(machine.SaveString(L"Executable", L"/opt/corvane/bin/corvane"));
    ASSERT_TRUE(machine.SaveNumber(L"Locale", L"LanguageId", 1031));
    machine.Close();
    CReg user;
    ASSERT_TRUE(user.Create(HKEY_CURRENT_USER, kRoot, KEY_ALL_ACCESS));
    ASSERT_TRUE(user.SaveString(L"Executable", L"mine"));
    user.Close();

    CRegOptionsMgr options;
    OptionsInit(&options);
    EXPECT_EQ(options.GetIntValue(L"Locale/LanguageId"), 1031);
    ASSERT_TRUE(user.Open(HKEY_CURRENT_USER, kRoot, KEY_READ));
    DWORD n = 0;
    EXPECT_TRUE(user.LoadNumber(L"ContextMenuEnabled", &n));
    EXPECT_EQ(n, 1u);
    CString text;
    EXPECT_TRUE(user.LoadString(L"Executable", text));
    EXPECT_EQ(text, L"mine");
}

TEST_F(OptionsTest, ResetRegistersAgainAndReadsStoredValues)
{
    CRegOptionsMgr options;
    OptionsInit(&options);
    const int count = options.GetCount();
    EXPECT_GT(count, 100);
    ASSERT_EQ(options.StoreOption(L"Settings/TabSize", 3), OPT_OK);
    ASSERT_EQ(options.SetValue(L"Settings/TabType", Int(1)), OPT_OK); // memory only
    OptionsInit(&options);
    EXPECT_EQ(options.GetCount(), count);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabSize"), 3);
    EXPECT_EQ(options.GetIntValue(L"Settings/TabType"), 0);
}
