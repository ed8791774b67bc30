#include "mfc/ResourceModule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

// Two modules are built into this test: ResTestMain (ResTestMain.rc) stands for the program and
// ResTestExt (ResTestExt.rc) for an extension library.
namespace
{
class ResourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hMain = AfxGetModuleByName("ResTestMain");
        m_hExt = AfxGetModuleByName("ResTestExt");
        ASSERT_NE(m_hMain, nullptr);
        ASSERT_NE(m_hExt, nullptr);
        AfxSetInstanceHandle(m_hMain);
        AfxSetResourceHandle(nullptr);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        AfxSetInstanceHandle(nullptr);
    }

    static CString Load(UINT id)
    {
        CString s(L"<missing>");
        s.LoadString(id);
        return s;
    }

    HINSTANCE m_hMain = nullptr;
    HINSTANCE m_hExt = nullptr;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST_F(ResourceTest, ModulesHaveDistinctHandlesAndTheirNames)
{
    EXPECT_NE(m_hMain, m_hExt);
    EXPECT_EQ(AfxGetModuleName(m_hMain), "ResTestMain");
    EXPECT_EQ(AfxGetModuleName(m_hExt), "ResTestExt");
    EXPECT_EQ(AfxGetModuleByName("NoSuchModule"), nullptr);
    EXPECT_EQ(AfxGetInstanceHandle(), m_hMain);
    // The resource handle follows the instance until it is set.
    EXPECT_EQ(AfxGetResourceHandle(), m_hMain);
    AfxSetResourceHandle(m_hExt);
    EXPECT_EQ(AfxGetResourceHandle(), m_hExt);
    EXPECT_TRUE(AfxGetResourceScript(m_hMain)->GetErrors().empty());
    EXPECT_TRUE(AfxGetResourceScript(m_hExt)->GetErrors().empty());
}

TEST_F(ResourceTest, StringChainCurrentModuleWinsAndExtensionJoinsAndLeaves)
{
    // Only the program module is in the chain at first.
    EXPECT_EQ(Load(300), L"Shared from main");
    EXPECT_EQ(Load(400), L"<missing>");
    EXPECT_FALSE(CString().LoadString(400));

    AFX_EXTENSION_MODULE ext = {};
    EXPECT_FALSE(AfxInitExtensionModule(ext, nullptr));
    EXPECT_FALSE(AfxInitExtensionModule(ext, reinterpret_cast<HMODULE>(&ext)));
    ASSERT_TRUE(AfxInitExtensionModule(ext, m_hExt));
    EXPECT_TRUE(ext.bInitialized);
    EXPECT_EQ(ext.hModule, m_hExt);
    EXPECT_EQ(ext.hResource, m_hExt);
    new CDynLinkLibrary(ext);

    EXPECT_EQ(Load(400), L"Ext only: %1");
    EXPECT_EQ(Load(300), L"Shared from main"); // the current module comes first
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(400 / 16 + 1), RT_STRING), m_hExt);
    EXPECT_EQ(AfxFindStringResourceHandle(300), m_hMain);

    AfxSetResourceHandle(m_hExt);
    EXPECT_EQ(Load(300), L"Shared from ext");
    EXPECT_EQ(Load(200), L"Main only"); // the program module still closes the chain
    EXPECT_EQ(AfxFindStringResourceHandle(300), m_hExt);
    AfxSetResourceHandle(m_hMain);
    EXPECT_EQ(Load(300), L"Shared from main");

    AfxTermExtensionModule(ext);
    EXPECT_FALSE(ext.bInitialized);
    EXPECT_EQ(Load(400), L"<missing>");
    EXPECT_EQ(AfxFindMenuTemplate(500), nullptr);
    // Not found anywhere: the current resource handle, as MFC answers.
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(500), RT_MENU), m_hMain);
}

TEST_F(ResourceTest, ChainWalksLibrariesInCreationOrderWithSystemOnesLast)
{
    const char* text = "STRINGTABLE\nBEGIN\n    400 \"from third\"\nEND\n";
    HINSTANCE hThird = AfxRegisterResourceModule("ResTestThird", text, nullptr, 0);
    ASSERT_NE(hThird, nullptr);
    AFX_EXTENSION_MODULE third = {};
    AFX_EXTENSION_MODULE ext = {};
    ASSERT_TRUE(AfxInitExtensionModule(third, hThird));
    ASSERT_TRUE(AfxInitExtensionModule(ext, m_hExt));

    new CDynLinkLibrary(third);
    new CDynLinkLibrary(ext);
    EXPECT_EQ(Load(400), L"from third");
    AfxTermExtensionModule(third);
    EXPECT_EQ(Load(400), L"Ext only: %1"); // only the third module's library went

    new CDynLinkLibrary(third, TRUE);
    EXPECT_EQ(Load(400), L"Ext only: %1");
    AfxTermExtensionModule(ext);
    EXPECT_EQ(Load(400), L"from third");

    AfxTermExtensionModule(ext, TRUE);
    EXPECT_EQ(Load(400), L"<missing>");

    // A library that goes away takes its strings along even while still in the chain.
    ASSERT_TRUE(AfxInitExtensionModule(third, hThird));
    CDynLinkLibrary* lib = new CDynLinkLibrary(third);
    AfxUnregisterResourceModule(hThird);
    EXPECT_EQ(AfxGetModuleByName("ResTestThird"), nullptr);
    EXPECT_EQ(Load(400), L"<missing>");
    EXPECT_EQ(AfxGetResourceScript(hThird), nullptr);
    delete lib;
}

TEST_F(ResourceTest, LookupsFromOtherThreadsWhileTheChainChanges)
{
    AFX_EXTENSION_MODULE ext = {};
    ASSERT_TRUE(AfxInitExtensionModule(ext, m_hExt));
    std::vector<std::thread> readers;
    std::vector<int> bad(4, 0);
    for (int t = 0; t < 4; ++t)
        readers.emplace_back(
            [&bad, t]
            {
                for (int i = 0; i < 2000; ++i)
                {
                    const CString s = Load(300);
                    const CString e = Load(400);
                    if (s != L"Shared from main" && s != L"Shared from ext")
                        ++bad[size_t(t)];
                    if (e != L"Ext only: %1" && e != L"<missing>")
                        ++bad[size_t(t)];
                }
            });
    for (int i = 0; i < 500; ++i)
    {
        CDynLinkLibrary* lib = new CDynLinkLibrary(ext);
        AfxSetResourceHandle(i % 2 ? m_hExt : m_hMain);
        delete lib;
    }
    for (std::thread& t : readers)
        t.join();
    AfxTermExtensionModule(ext);
    for (int n : bad)
        EXPECT_EQ(n, 0);
}

TEST_F(ResourceTest, LoadStringWKeepsWin32Semantics)
{
    wchar_t buf[32];
    EXPECT_EQ(LoadStringW(m_hMain, 200, buf, 32), 9);
    EXPECT_STREQ(buf, L"Main only");
    EXPECT_EQ(LoadStringW(m_hMain, 200, buf, 6), 5);
    EXPECT_STREQ(buf, L"Main ");
    EXPECT_EQ(LoadStringW(m_hMain, 200, buf, 1), 0);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(LoadStringW(nullptr, 300, buf, 32), 16); // null: the program's module
    EXPECT_STREQ(buf, L"Shared from main");
    EXPECT_EQ(LoadStringW(m_hExt, 200, buf, 32), 0); // one module only, no chain
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(buf), 200, buf, 32), 0);

    LPCWSTR direct = nullptr;
    EXPECT_EQ(LoadStringW(m_hExt, 300, reinterpret_cast<LPWSTR>(&direct), 0), 15);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::wstring(direct, 15), L"Shared from ext");

    EXPECT_EQ(AfxLoadString(200, buf, 5), 4);
    EXPECT_STREQ(buf, L"Main");
    CString s;
    EXPECT_TRUE(AfxLoadString(310, s));
    EXPECT_EQ(s, L"Grüße, ☃");
    EXPECT_EQ(Load(103), L"Line\nbreak \"quoted\" and \"doubled\" \\ tab\there");
}

TEST_F(ResourceTest, FormatStringsReplaceNumberedInsertions)
{
    struct Case
    {
        UINT id;
        int count;
        LPCWSTR a;
        LPCWSTR b;
        LPCWSTR expected;
    };
    const Case cases[] = {
        {101, 1, L"World", nullptr, L"Hello, World!"},
        {101, 1, nullptr, nullptr, L"Hello, !"},
        {102, 2, L"A", L"B", L"B before A, then A again; 100%% and %3"},
        {102, 1, L"A", nullptr, L"%2 before A, then A again; 100%% and %3"},
        {102, 2, L"%2", L"x", L"x before %2, then %2 again; 100%% and %3"}, // insertions are not rescanned
        {9999, 1, L"A", nullptr, L""},
        {9999, 2, L"A", L"B", L""},
    };
    for (const Case& c : cases)
    {
        CString out(L"stale");
        if (c.count == 1)
            AfxFormatString1(out, c.id, c.a);
        else
            AfxFormatString2(out, c.id, c.a, c.b);
        EXPECT_EQ(out, c.expected) << "id " << c.id << " with " << c.count << " insertion(s)";
    }
}

TEST_F(ResourceTest, MenuTemplateKeepsNestingTextsIdsAndOptions)
{
    const AFX_MENU_TEMPLATE* menu = AfxFindMenuTemplate(128);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu, AfxFindMenuTemplate(m_hMain, 128));
    EXPECT_EQ(AfxFindMenuTemplate(m_hExt, 128), nullptr);
    ASSERT_EQ(menu->items.size(), 2u);

    const AFX_MENU_ITEM& file = menu->items[0];
    EXPECT_TRUE(file.bPopup);
    EXPECT_EQ(file.strText, L"&File");
    ASSERT_EQ(file.items.size(), 4u);
    EXPECT_EQ(file.items[0].strText, L"&Open...\tCtrl+O");
    EXPECT_EQ(file.items[0].nID, 0xE101u);
    EXPECT_FALSE(file.items[0].bPopup);
    const AFX_MENU_ITEM& recent = file.items[1];
    EXPECT_TRUE(recent.bPopup);
    ASSERT_EQ(recent.items.size(), 1u);
    EXPECT_EQ(recent.items[0].strText, L"None");
    EXPECT_EQ(recent.items[0].nID, 57616u);
    EXPECT_TRUE(recent.items[0].bGrayed);
    EXPECT_TRUE(file.items[2].bSeparator);
    EXPECT_EQ(file.items[3].nID, 57665u);
    EXPECT_FALSE(file.items[3].bGrayed);

    const AFX_MENU_ITEM& help = menu->items[1];
    EXPECT_TRUE(help.bHelp);
    ASSERT_EQ(help.items.size(), 1u);
    EXPECT_TRUE(help.items[0].bChecked);
    EXPECT_EQ(help.items[0].nID, 59392u);

    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(128), RT_MENU), m_hMain);
}

TEST_F(ResourceTest, DialogTemplateKeepsControls)
{
    const AFX_DLG_TEMPLATE* dlg = AfxFindDialogTemplate(15138);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->strCaption, L"Language");
    EXPECT_EQ(dlg->strFontName, L"MS Shell Dlg");
    EXPECT_EQ(dlg->nFontSize, 8);
    EXPECT_EQ(dlg->cx, 212);
    EXPECT_EQ(dlg->cy, 198);
    EXPECT_TRUE(dlg->style.Has(L"WS_POPUP"));
    EXPECT_FALSE(dlg->style.Has(L"WS_CHILD"));

    struct Expected
    {
        LPCWSTR keyword;
        LPCWSTR cls;
        LPCWSTR text;
        int id, x, y, cx, cy;
    };
    const Expected expected[] = {
        {L"LTEXT", L"Static", L"Available Languages", -1, 7, 7, 66, 8},
        {L"LISTBOX", L"ListBox", L"", 15000, 7, 20, 198, 149},
        {L"DEFPUSHBUTTON", L"Button", L"OK", 1, 39, 177, 50, 14},
        {L"PUSHBUTTON", L"Button", L"Cancel", 2, 107, 177, 50, 14},
        {L"CONTROL", L"SysListView32", L"", 15001, 7, 150, 100, 20},
        {L"CONTROL", L"Button", L"Check", 15002, 110, 150, 50, 10},
        {L"ICON", L"Static", L"#128", -1, 7, 180, 0, 0},
    };
    ASSERT_EQ(dlg->controls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i)
    {
        const AFX_DLG_CONTROL& c = dlg->controls[i];
        const Expected& e = expected[i];
        EXPECT_EQ(c.strKeyword, e.keyword) << i;
        EXPECT_EQ(c.strClass, e.cls) << i;
        EXPECT_EQ(c.strText, e.text) << i;
        EXPECT_EQ(c.nID, e.id) << i;
        EXPECT_EQ(c.x, e.x) << i;
        EXPECT_EQ(c.y, e.y) << i;
        EXPECT_EQ(c.cx, e.cx) << i;
        EXPECT_EQ(c.cy, e.cy) << i;
    }
    const AFX_DLG_CONTROL& list = dlg->controls[1];
    EXPECT_TRUE(list.style.Has(L"LBS_SORT"));
    EXPECT_TRUE(list.style.Has(L"WS_VSCROLL"));
    EXPECT_FALSE(list.style.Has(L"WS_BORDER"));
    ASSERT_EQ(list.style.notWords.size(), 1u);
    EXPECT_EQ(list.style.notWords[0], L"WS_BORDER");
    EXPECT_TRUE(dlg->controls[4].exStyle.Has(L"WS_EX_CLIENTEDGE"));
    EXPECT_EQ(dlg->controls[5].style.dwBits, 0x10000u);
    ASSERT_NE(dlg->FindControl(1), nullptr);
    EXPECT_EQ(dlg->FindControl(1)->strText, L"OK");
    EXPECT_EQ(dlg->FindControl(4242), nullptr);
}

TEST_F(ResourceTest, AcceleratorTableParsesKeysAndFlags)
{
    const AFX_ACCEL_TABLE* table = AfxFindAcceleratorTable(128);
    ASSERT_NE(table, nullptr);
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'O', 0xE101},
        {FVIRTKEY, 0x70, 57670},
        {FVIRTKEY | FSHIFT | FNOINVERT, 0x2E, 57632},
        {0, 26, 57643},
        {FALT, 'a', 57644},
        {FVIRTKEY | FALT | FSHIFT, 'Z', 57645},
    };
    ASSERT_EQ(table->entries.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i)
    {
        EXPECT_EQ(table->entries[i].fVirt, expected[i].fVirt) << i;
        EXPECT_EQ(table->entries[i].key, expected[i].key) << i;
        EXPECT_EQ(table->entries[i].cmd, expected[i].cmd) << i;
    }
}

TEST_F(ResourceTest, EmbeddedFilesByNumberAndByName)
{
    const std::string file = ReadFile(QYR_FIXTURES "/../platform_mfc/res/logo.png");
    ASSERT_FALSE(file.empty());

    const AFX_RESOURCE_DATA* bitmap = AfxFindBitmapData(300);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->strFile, L"res/logo.png");
    ASSERT_EQ(bitmap->nSize, file.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bitmap->pData), bitmap->nSize), file);

    // Names compare without regard to case, as Windows does.
    const AFX_RESOURCE_DATA* icon = AfxFindIconData(L"appicon");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->nSize, file.size());
    EXPECT_EQ(AfxFindResourceHandle(L"AppIcon", RT_GROUP_ICON), m_hMain);
    EXPECT_EQ(AfxFindIconData(m_hMain, L"#300"), nullptr);
    EXPECT_NE(AfxFindBitmapData(m_hMain, L"#300"), nullptr);
    EXPECT_EQ(AfxFindBitmapData(m_hExt, 300), nullptr);
}

namespace
{
struct BadCase
{
    const char* script;
    int line;            // of the first error
    const char* message; // part of the first error
    bool withTail;       // followed by a good string table, which must still load
};

const BadCase kBadCases[] = {
    {"X FOOBAR \"y\"", 1, "unknown resource type \"FOOBAR\"", true},
    {"STRINGTABLE\nBEGIN\n  5 \"a\"\n  6 missing\n  7 \"c\"\nEND", 4, "expected string text", true},
    {"STRINGTABLE\nBEGIN\n  70000 \"big\"\nEND", 3, "out of range", true},
    {"STRINGTABLE\nBEGIN\n  7 \"open\nEND", 3, "unterminated string", true},
    {"STRINGTABLE\nBEGIN\n  60000 \"first\"\nEND", 0, "duplicate string id 60000", true},
    {"#define A B\n#define B A\nSTRINGTABLE\nBEGIN\n  A \"x\"\nEND", 5, "refers to itself", true},
    {"#define A \"text\"\nSTRINGTABLE\nBEGIN\n  A \"x\"\nEND", 4, "is not a number", true},
    {"#include \"afxres.h\"", 1, "#include is not supported", true},
    {"#ifdef X", 1, "unknown directive #ifdef", true},
    {"M MENU\nBEGIN\n  MENUITEM \"x\", UNDEFINED_ID\n  MENUITEM \"y\", 2\nEND", 3,
     "undefined name \"UNDEFINED_ID\"", true},
    {"M MENU\nBEGIN\n  MENUITEM \"x\", 1, BOLD\nEND", 3, "unknown menu option", true},
    {"M MENU\nBEGIN\n  ITEM \"x\", 1\nEND", 3, "expected MENUITEM or POPUP", true},
    {"D DIALOG 0, 0, 10\nCAPTION \"x\"\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\nEND", 2, "expected ','", true},
    {"D DIALOG 0, 0, 9, 9\nBEGIN\n  FOO \"x\", 1, 0, 0, 1, 1\n  LTEXT \"ok\", 2, 0, 0, 1, 1\nEND", 3,
     "unknown control \"FOO\"", true},
    {"A ACCELERATORS\nBEGIN\n  \"ab\", 1\n  \"^Z\", 2, VIRTKEY\n  \"c\", 3\nEND", 3, "one character", true},
    {"B BITMAP \"missing.png\"", 1, "was not embedded", true},
    {"T RCDATA \"missing.txt\"", 1, "was not embedded", true},
    {"1 VERSIONINFO\nFILEVERSION 1,2\nBEGIN\n  VALUE \"x\", \"y\"\nEND", 4, "expected BLOCK", true},
    {"1 VERSIONINFO\nFILEVERSION 1\nBEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    VALUE \"x\", \"y\"\n  "
     "END\nEND",
     6, "expected BLOCK", true},
    {"END", 1, "unexpected \"END\"", true},
    {"STRINGTABLE\nBEGIN\n  8 \"x\" @\nEND", 3, "unexpected character '@'", true},
    {"STRINGTABLE\nBEGIN\n  0x \"x\"\nEND", 3, "bad number", true},
    {"/* never closed", 1, "unterminated comment", false},
    {"M MENU\nBEGIN\n  MENUITEM \"x\", 1\n", 0, "missing END", false},
};
const char kTail[] = "\nSTRINGTABLE\nBEGIN\n  60000 \"ok\"\nEND\n";
} // namespace

TEST(ResourceScriptTest, MalformedStatementsAreReportedWithLineAndSkipped)
{
    for (const BadCase& c : kBadCases)
    {
        const std::string text = std::string(c.script) + (c.withTail ? kTail : "");
        CResourceScript script;
        script.Parse("Bad", text, nullptr, 0);
        ASSERT_FALSE(script.GetErrors().empty()) << c.script;
        const std::string& first = script.GetErrors()[0];
        if (c.line > 0)
            EXPECT_EQ(first.rfind("Bad, line " + std::to_string(c.line) + ": ", 0), 0u) << first;
        else
            EXPECT_EQ(first.rfind("Bad, line ", 0), 0u) << first;
        EXPECT_NE(first.find(c.message), std::string::npos) << first;
        if (c.withTail)
        {
            EXPECT_NE(script.FindString(60000), nullptr) << c.script;
        }
    }
}

TEST(ResourceScriptTest, VersionRecordAndRawData)
{
    static const unsigned char bytes[] = {'a', '\n', 'b'};
    const AFX_RESOURCE_FILE files[] = {{"t.txt", bytes, sizeof bytes}};
    CResourceScript script;
    script.Parse(
        "Ver",
        "1 VERSIONINFO\nFILEVERSION 2,5,7,9\nPRODUCTVERSION 3,1\nFILEFLAGSMASK 0x3fL\nFILEOS 0x40004L\n"
        "BEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"040904b0\"\n  BEGIN\n"
        "   VALUE \"CompanyName\", \" Quendrel \"\n  END\n END\n BLOCK \"VarFileInfo\"\n BEGIN\n"
        "  VALUE \"Translation\", 0x409, 1200, 0x407, 1252\n END\nEND\n"
        "Tmpl RCDATA \"t.txt\"\n",
        files, 1);
    EXPECT_TRUE(script.GetErrors().empty()) << script.GetErrors()[0];
    const AFX_VERSION_INFO* v = script.FindVersion();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->dwFileVersionMS, 0x00020005u);
    EXPECT_EQ(v->dwFileVersionLS, 0x00070009u);
    EXPECT_EQ(v->dwProductVersionMS, 0x00030001u);
    EXPECT_EQ(v->dwProductVersionLS, 0u);
    EXPECT_EQ(v->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(v->dwFileOS, 0x40004u);
    EXPECT_EQ(v->strings.at(L"040904B0").at(L"CompanyName"), L" Quendrel ");
    EXPECT_EQ(v->translations, (std::vector<std::pair<WORD, WORD>>{{0x409, 1200}, {0x407, 1252}}));
    const AFX_RESOURCE_DATA* data =
        script.FindData(CResourceName::FromPointer(RT_RCDATA), CResourceName::FromText(L"tmpl"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->pData), data->nSize), "a\nb");
}

TEST(ResourceScriptTest, GoodPartsAroundABadStatementStay)
{
    CResourceScript script;
    script.Parse(
        "Bad",
        "STRINGTABLE\nBEGIN\n  5 \"a\"\n  6 missing\n  7 \"c\"\nEND\n"
        "M MENU\nBEGIN\n  MENUITEM \"x\", UNDEFINED_ID\n  MENUITEM \"y\", 2\nEND\n"
        "D DIALOG 0, 0, 9, 9\nBEGIN\n  FOO \"x\", 1, 0, 0, 1, 1\n  LTEXT \"ok\", 2, 0, 0, 1, 1\nEND\n"
        "A ACCELERATORS\nBEGIN\n  \"ab\", 1\n  \"^Z\", 2, VIRTKEY\n  \"c\", 3\nEND\n",
        nullptr, 0);
    EXPECT_EQ(script.GetErrors().size(), 5u);
    ASSERT_NE(script.FindString(5), nullptr);
    ASSERT_NE(script.FindString(7), nullptr);
    EXPECT_EQ(*script.FindString(7), L"c");
    EXPECT_EQ(script.FindString(6), nullptr);
    const AFX_MENU_TEMPLATE* menu = script.FindMenu(CResourceName::FromPointer(L"m"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 1u);
    EXPECT_EQ(menu->items[0].strText, L"y");
    const AFX_DLG_TEMPLATE* dlg = script.FindDialog(CResourceName::FromPointer(L"D"));
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->controls.size(), 1u);
    EXPECT_EQ(dlg->controls[0].nID, 2);
    const AFX_ACCEL_TABLE* accel = script.FindAccelerators(CResourceName::FromPointer(L"A"));
    ASSERT_NE(accel, nullptr);
    ASSERT_EQ(accel->entries.size(), 1u);
    EXPECT_EQ(accel->entries[0].cmd, 3);
}

TEST(ResourceScriptTest, HostileNestingIsRefused)
{
    std::string menu = "M MENU\n";
    for (int i = 0; i < 200; ++i)
        menu += "BEGIN POPUP \"p\"\n";
    CResourceScript deepMenu;
    deepMenu.Parse("Deep", menu, nullptr, 0);
    ASSERT_FALSE(deepMenu.GetErrors().empty());
    EXPECT_EQ(deepMenu.FindMenu(CResourceName::FromPointer(L"M")), nullptr);

    const std::string expr = "STRINGTABLE\nBEGIN\n  " + std::string(5000, '(') + "1" +
                             std::string(5000, ')') + " \"x\"\n  2 \"y\"\nEND\n";
    CResourceScript deepExpr;
    deepExpr.Parse("Deep", expr, nullptr, 0);
    ASSERT_FALSE(deepExpr.GetErrors().empty());
    EXPECT_NE(deepExpr.GetErrors()[0].find("nested too deep"), std::string::npos);
    EXPECT_NE(deepExpr.FindString(2), nullptr);
}

TEST(ResourceScriptTest, MangledScriptsNeverCrash)
{
    const std::string good = ReadFile(QYR_FIXTURES "/../platform_mfc/ResTestMain.rc");
    ASSERT_FALSE(good.empty());
    const char* inserts[] = {"BEGIN", "END", "\"", ",",  "(", "#define X X\n",
                             "POPUP", "NOT", "\n", "/*", "|"};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round)
    {
        std::string text = good;
        const int edits = 1 + int(rng() % 6);
        for (int e = 0; e < edits; ++e)
        {
            const size_t at = rng() % (text.size() + 1);
            switch (rng() % 3)
            {
            case 0:
                text.erase(at, rng() % 40);
                break;
            case 1:
                text.insert(at, inserts[rng() % std::size(inserts)]);
                break;
            default:
                text.resize(at);
                break;
            }
        }
        CResourceScript script;
        script.Parse("Mangled", text, nullptr, 0);
    }
}

TEST(ResourceRegistrationTest, ErrorsGoToStderrAndDuplicatesAreRefused)
{
    ::testing::internal::CaptureStderr();
    HINSTANCE h = AfxRegisterResourceModule(
        "ResTestBroken", "\n\nX FOOBAR \"y\"\nSTRINGTABLE\nBEGIN\n 1 \"ok\"\nEND\n", nullptr, 0);
    HINSTANCE again = AfxRegisterResourceModule("ResTestBroken", "", nullptr, 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(again, nullptr);
    EXPECT_NE(err.find("ResTestBroken, line 3: unknown resource type \"FOOBAR\""), std::string::npos) << err;
    EXPECT_NE(err.find("ResTestBroken is already registered"), std::string::npos) << err;
    wchar_t buf[8];
    EXPECT_EQ(LoadStringW(h, 1, buf, 8), 2);
    AfxUnregisterResourceModule(h);
    EXPECT_EQ(LoadStringW(h, 1, buf, 8), 0);
    // The name is free again once the module has gone.
    h = AfxRegisterResourceModule("ResTestBroken", "", nullptr, 0);
    EXPECT_NE(h, nullptr);
    AfxUnregisterResourceModule(h);
}

TEST(ResourceScriptTest, ToolBarKeepsButtonSizeAndOrderWithSeparators)
{
    CResourceScript script;
    script.Parse("Bar",
                 "#define ID_SAVE 57603\n"
                 "8046 TOOLBAR 16, 15\nBEGIN\n  BUTTON 57600\n  SEPARATOR\n  BUTTON ID_SAVE\nEND\n"
                 "7 TOOLBAR 0, 15\nBEGIN\n  BUTTON 1\nEND\n"
                 "8 TOOLBAR 16, 15\nBEGIN\n  BUTTON 0\n  MENUITEM \"x\", 2\nEND\n",
                 nullptr, 0);
    const AFX_TOOLBAR_TEMPLATE* bar = script.FindToolBar(CResourceName(WORD(8046)));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(16, bar->cx);
    EXPECT_EQ(15, bar->cy);
    EXPECT_EQ((std::vector<UINT>{57600, 0, 57603}), bar->items);
    // A button size of 0 loses the bar; a button without a command and a stray item are skipped.
    EXPECT_EQ(nullptr, script.FindToolBar(CResourceName(WORD(7))));
    const AFX_TOOLBAR_TEMPLATE* skipped = script.FindToolBar(CResourceName(WORD(8)));
    ASSERT_NE(skipped, nullptr);
    EXPECT_TRUE(skipped->items.empty());
    EXPECT_EQ(3u, script.GetErrors().size());
    EXPECT_TRUE(script.HasResource(CResourceName(WORD(241)), CResourceName(WORD(8046))));
}
