// UI language selection: catalogue reading, language names, the language library of the build and
// the refusals that leave English, the dialog's choice and the next start.
#include "foundation/LanguageCatalogue.h"
#include "foundation/LanguageSelect.h"
#include "foundation/MoveConstraint.h"
#include "foundation/OptionsMgr.h"
#include "foundation/VersionInfo.h"
#include "mfc/Controls.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "mfc/Notify.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "support/FreshRegistry.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"
#include "win32/System.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace
{
const std::string kTemplate = "#: Rivez.rc:1\nmsgid \"&File\"\n\n#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\n\n";
const std::string kHeader =
    "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
    "msgid \"LANG_ENGLISH, SUBLANG_ENGLISH_US\"\nmsgstr \"LANG_GERMAN, SUBLANG_DEFAULT\"\n\n";
const std::string kFile = "#: Rivez.rc:1\nmsgid \"&File\"\nmsgstr \"&Datei\"\n\n";
const std::string kBreak = "#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\nmsgstr \"Zeile\\nUmbruch\"\n\n";
std::string Codepage(const std::string& cp)
{
    return "#. Codepage\nmsgid \"1252\"\nmsgstr \"" + cp + "\"\n\n";
}

const std::filesystem::path kBin = QYR_BIN_DIR;
const std::wstring kLibrary = (kBin / "QYRViewLang.so").wstring();
} // namespace

TEST(LanguageCatalogue, DecodesEscapesOfTranslations)
{
    struct
    {
        const char* in;
        unsigned cp;
        std::string out;
    } cases[] = {
        {"\\101", 65001, "A"},
        {"\\x41", 65001, "A"},
        {"\\x4a\\x4B!", 65001, "JK!"},
        {"\\q", 65001, "q"},
        {"\\\\", 65001, "\\"},
        {"\\\"quoted\\\"", 65001, "\"quoted\""},
        {"a\\tb\\nc\\r", 65001, "a\tb\nc\r"},
        {"\\a\\b\\f\\v", 65001, "\a\b\f\v"},
        {"\\1017", 65001, "\x0F"}, // octal digits run on; the value is kept as one byte
        {"end\\", 65001, "end"},
        {"cut\\0here", 65001, "cut"},
        {"\x82\\n", 932, "\x82\\n"},  // a trail byte that is a backslash is no escape
        {"\x82\\n", 65001, "\x82\n"}, // in UTF-8 there are no lead bytes
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLanguageCatalogue::Decode(c.in, c.cp), c.out) << c.in;
}

TEST(LanguageCatalogue, LooksUpLanguageNames)
{
    struct
    {
        const char* primary;
        const char* sub;
        LANGID id;
    } cases[] = {
        {"GERMAN", "DEFAULT", 0x0407},
        {"GERMAN", "", 0x0407},
        {"GERMAN", "SWISS", 0x0807},
        {"GERMAN", "AUSTRIAN", 0x0C07},
        {"PORTUGUESE", "BRAZILIAN", 0x0416},
        {"SERBIAN", "CYRILLIC", 0x0C1A},
        {"SERBIAN", "LATIN", 0x081A},
        {"SPANISH", "MODERN", 0x0C0A},
        {"ENGLISH", "US", 0x0409},
        {"ENGLISH", "UK", 0x0809},
        {"AFRIKAANS", "", 0x0436},
        {"AFRIKAANS", "DEFAULT", 0x0436},
        {"VIETNAMESE", "", 0x042A},
        {"ARABIC", "QATAR", 0x4001},
        {"KLINGON", "", 0},
        {"GERMAN", "BAVARIAN", 0},
        {"german", "DEFAULT", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLanguageSelect::LookupLanguageName(c.primary, c.sub), c.id) << c.primary << "/" << c.sub;
}

TEST(LanguageCatalogue, ReadsTheLanguageAfterTheEnglishMarker)
{
    const std::string marker = "msgid \"LANG_ENGLISH, SUBLANG_ENGLISH_US\"\n";
    struct
    {
        std::string text;
        LANGID id;
    } cases[] = {
        {marker + "msgstr \"LANG_GERMAN, SUBLANG_DEFAULT\"\n", 0x0407},
        {marker + "msgstr \"LANG_GERMAN, SUBLANG_GERMAN_SWISS\"\n", 0x0807},
        {marker + "msgstr \"LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN\"\r\n", 0x0416},
        {marker + "msgstr \"LANG_GERMAN, SUBLANG_GERMAN\"\n", 0x0407},
        {"#, fuzzy\nmsgid\t\"  LANG_ENGLISH ,SUBLANG_ENGLISH_US\" \r\nmsgstr \"LANG_FRENCH,SUBLANG_FRENCH\"",
         0x040C},
        {marker + "msgstr \"LANG_FRENCH, SUBLANG_GERMAN_SWISS\"\n", 0}, // the sub-language is not French
        {marker + "msgstr \"LANG_GERMAN\"\n", 0},                       // no sub-language
        {marker, 0},                                                    // nothing after the marker
        {"msgid \"LANG_ENGLISH, SUBLANG_ENGLISH_UK\"\nmsgstr \"LANG_GERMAN, SUBLANG_DEFAULT\"\n", 0},
        {"msgid \"x\" LANG_ENGLISH, SUBLANG_ENGLISH_US\"\nmsgstr \"LANG_GERMAN, SUBLANG_DEFAULT\"\n", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLanguageCatalogue::ReadCatalogueLanguage(c.text), c.id) << c.text;
}

// Good and bad catalogues over one template: the result, and what reference 1 reads afterwards.
TEST(LanguageCatalogue, CataloguesAreCheckedAgainstTheTemplate)
{
    const std::string longLine = "msgid \"&File" + std::string(1100, 'x') + "\"\n";
    struct
    {
        const char* name;
        std::string catalogue;
        BOOL ok;
        std::string first;
        std::string second;
    } cases[] = {
        {"complete", kHeader + Codepage("65001") + kFile + kBreak, TRUE, "&Datei", "Zeile\nUmbruch"},
        {"empty translation takes the English text, decoded",
         kHeader + kFile + "#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\nmsgstr \"\"\n\n", TRUE, "&Datei",
         "Line\nbreak"},
        {"escapes", kHeader + "#: Rivez.rc:1\nmsgid \"&File\"\nmsgstr \"\\101\\x42\\q\\\\\"\n\n" + kBreak,
         TRUE,
         "AB"
         "q\\",
         "Zeile\nUmbruch"},
        {"entry split over lines",
         kHeader + "#: Rivez.rc:1\nmsgid \"&Fi\"\n\"le\"\nmsgstr \"&Da\"\n\"tei\"\n\n" + kBreak, TRUE,
         "&Datei", "Zeile\nUmbruch"},
        {"CR LF line ends",
         "#: Rivez.rc:1\r\nmsgid \"&File\"\r\nmsgstr \"&Datei\"\r\n\r\n#: Rivez.rc:2\r\n"
         "msgid \"Line\\nbreak\"\r\nmsgstr \"Zeile\"\r\n\r\n",
         TRUE, "&Datei", "Zeile"},
        {"an entry without reference changes nothing",
         kHeader + "msgid \"&File\"\nmsgstr \"&Akte\"\n\n" + kFile + kBreak, TRUE, "&Datei",
         "Zeile\nUmbruch"},
        {"Latin-1 in its own code page",
         Codepage("1252") + "#: Rivez.rc:1\nmsgid \"&File\"\nmsgstr \"\xE4\"\n\n" + kBreak, TRUE, "\xE4",
         "Zeile\nUmbruch"},
        {"last entry without a blank line after it",
         kHeader + kFile + "#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\nmsgstr \"Zeile\"", TRUE, "&Datei",
         "Zeile"},
        {"last entry ends on its line feed",
         kHeader + kFile + "#: Rivez.rc:2\nmsgid \"Line\\nbreak\"\nmsgstr \"Zeile\"\n", TRUE, "&Datei",
         "Zeile"},
        {"truncated: a reference is missing", kHeader + kFile, FALSE, "", ""},
        {"header only", kHeader, FALSE, "", ""},
        {"empty file", "", FALSE, "", ""},
        {"a reference the template does not have",
         kHeader + kFile + kBreak + "#: Rivez.rc:3\nmsgid \"More\"\n\n", FALSE, "", ""},
        {"English text differs",
         kHeader + "#: Rivez.rc:1\nmsgid \"&Files\"\nmsgstr \"&Dateien\"\n\n" + kBreak, FALSE, "", ""},
        {"one number, two English texts",
         kHeader + kFile + kBreak + "#: Rivez.rc:1\nmsgid \"&Other\"\nmsgstr \"x\"\n\n", FALSE, "", ""},
        {"over-long line", kHeader + "#: Rivez.rc:1\n" + longLine + "msgstr \"&Datei\"\n\n" + kBreak, FALSE,
         "", ""},
        {"unknown code page", Codepage("99999") + kFile + kBreak, FALSE, "", ""},
        {"wrong code page: Latin-1 bytes in UTF-8",
         Codepage("65001") + "#: Rivez.rc:1\nmsgid \"&File\"\nmsgstr \"\xE4\"\n\n" + kBreak, FALSE, "", ""},
        {"reference out of range", kHeader + kFile + kBreak + "#: Rivez.rc:4294967295\n", FALSE, "", ""},
    };
    for (const auto& c : cases)
    {
        CLanguageCatalogue cat;
        ASSERT_TRUE(cat.ReadTemplate(kTemplate));
        EXPECT_EQ(cat.ReadCatalogue(c.catalogue), c.ok) << c.name;
        if (c.ok)
        {
            ASSERT_EQ(cat.GetTable().size(), 3u) << c.name;
            EXPECT_EQ(cat.GetTable()[1], c.first) << c.name;
            EXPECT_EQ(cat.GetTable()[2], c.second) << c.name;
        }
    }
}

TEST(LanguageCatalogue, TemplateLimits)
{
    CLanguageCatalogue cat;
    // Reading stops at a line of 1024 bytes and at the last line without a line feed.
    const std::string tmpl = kTemplate + "#: Rivez.rc:3\nmsgid \"" + std::string(1020, 'y') + "\"\n\n" +
                             "#: Rivez.rc:4\nmsgid \"After\"\n\n";
    EXPECT_TRUE(cat.ReadTemplate(tmpl));
    EXPECT_EQ(cat.GetTable().size(), 3u);
    EXPECT_EQ(cat.GetUnresolved(), 3);

    CLanguageCatalogue unterminated;
    EXPECT_TRUE(unterminated.ReadTemplate("#: Rivez.rc:1\nmsgid \"&File\""));
    EXPECT_TRUE(unterminated.GetTable().empty());

    CLanguageCatalogue huge;
    EXPECT_FALSE(huge.ReadTemplate("#: Rivez.rc:70000\nmsgid \"x\"\n\n"));
    EXPECT_TRUE(huge.GetTable().empty());

    // References read with trailing text still give their number.
    EXPECT_EQ(CLanguageCatalogue::ReadReference(L"Rivez.rc:12 (menu)"), 12u);
    EXPECT_EQ(CLanguageCatalogue::ReadReference(L"Rivez.rc: 7"), 7u);
    EXPECT_EQ(CLanguageCatalogue::ReadReference(L"rivez.rc:7"), 0u);
    EXPECT_EQ(CLanguageCatalogue::ReadReference(L"&File"), 0u);
}

namespace
{
// A selector over the build's language library and a Languages folder of the test's own.
class LanguageLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir / "Languages");
        std::filesystem::copy_file(kBin / "Languages" / "German.po", m_dir / "Languages" / "German.po");
        SetAppServices(&m_options, nullptr);
        OptionsInit(&m_options);
    }
    void TearDown() override { SetAppServices(nullptr, nullptr); }
    std::unique_ptr<CLanguageSelect> Selector(const std::wstring& library = kLibrary)
    {
        auto sel = std::make_unique<CLanguageSelect>(128, 128, library.c_str(), TRUE, TRUE, nullptr);
        sel->SetLanguagesFolder(m_dir.W("Languages").c_str());
        return sel;
    }
    std::string Catalogue() const { return CTestDir::ReadAll(m_dir / "Languages" / "German.po"); }
    void WriteCatalogue(const std::string& text) const
    {
        CTestDir::WriteAll(m_dir / "Languages" / "German.po", text);
    }

    CTestDir m_dir;
    CFreshRegistry m_registry{m_dir};
    CRegOptionsMgr m_options;
};

std::wstring MenuText(HMENU menu, int pos)
{
    wchar_t text[81] = {};
    GetMenuStringW(menu, UINT(pos), text, 81, MF_BYPOSITION);
    return text;
}
} // namespace

TEST_F(LanguageLibrary, GermanTranslatesStringsMenusAndDialogsAndEnglishComesBack)
{
    auto sel = Selector();
    EXPECT_TRUE(sel->HasCatalogues());
    EXPECT_EQ(sel->FindCatalogue(0x0407), CString(m_dir.W("Languages/German.po").c_str()));
    EXPECT_TRUE(sel->FindCatalogue(0x040C).IsEmpty());

    ASSERT_TRUE(sel->ApplyLanguage(0x0407));
    EXPECT_EQ(sel->GetLangId(), 0x0407);
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 0x0407);
    EXPECT_EQ(sel->LoadString(59137), L"UF");
    EXPECT_EQ(sel->LoadString(59138), L"NUM"); // no translation: the English text
    EXPECT_EQ(sel->LoadDialogCaption(MAKEINTRESOURCE(15138)), L"Sprache");

    // The library's menu holds references; translated, it keeps its ids and structure.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(128));
    EXPECT_EQ(MenuText(menu, 0).rfind(L"Rivez.rc:", 0), 0u);
    // An owner-drawn item's text record is translated in place, keeping the item.
    const std::wstring ref = MenuText(menu, 0);
    MENUITEMTEXTDATA record{new wchar_t[ref.size() + 1]};
    std::copy(ref.c_str(), ref.c_str() + ref.size() + 1, record.pszText);
    ASSERT_TRUE(AppendMenuW(menu, MF_OWNERDRAW, 4242, reinterpret_cast<LPCWSTR>(&record)));
    sel->TranslateMenu(menu);
    EXPECT_EQ(MenuText(menu, 0), L"&Datei");
    EXPECT_STREQ(record.pszText, L"&Datei");
    EXPECT_EQ(GetMenuItemID(menu, 3), 4242u);
    delete[] record.pszText;
    EXPECT_EQ(MenuText(menu, 2), L"&Hilfe");
    HMENU help = GetSubMenu(menu, 2);
    EXPECT_EQ(MenuText(help, 2), L"Inf&o über Quendrel Plexdraft...");
    EXPECT_EQ(GetMenuItemID(help, 2), 57664u);
    EXPECT_EQ(MenuText(GetSubMenu(menu, 0), 0), L"&Beenden");

    ASSERT_TRUE(sel->ApplyLanguage(1033));
    EXPECT_EQ(sel->LoadString(59137), L"CAP");
    EXPECT_EQ(sel->LoadDialogCaption(MAKEINTRESOURCE(15138)), L"Language");
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
}

// Every refusal leaves English, reports failure, and says nothing while no dialog is open.
TEST_F(LanguageLibrary, RefusedLibrariesAndCataloguesLeaveEnglish)
{
    const std::string good = Catalogue();
    struct
    {
        const char* name;
        std::wstring library;
        std::function<std::string(const std::string&)> catalogue;
    } cases[] = {
        {"library of another version", QYR_OTHER_VERSION_LIBRARY, nullptr},
        {"library without a template", (kBin / "libPlexcore.so").wstring(), nullptr},
        {"missing library", m_dir.W("NoSuchLang.so"), nullptr},
        {"truncated catalogue", kLibrary, [](const std::string& s) { return s.substr(0, s.size() / 2); }},
        {"catalogue with an over-long line", kLibrary,
         [](const std::string& s)
         {
             std::string t = s;
             const size_t at = t.find("msgid \"&File\"");
             t.insert(at + 12, std::string(1100, 'z'));
             return t;
         }},
        {"catalogue in a wrong code page", kLibrary,
         [](const std::string& s)
         {
             std::string t = s;
             t.replace(t.find("über"), 5,
                       "\xFC"
                       "ber"); // Latin-1 bytes in a UTF-8 catalogue
             return t;
         }},
    };
    for (const auto& c : cases)
    {
        WriteCatalogue(c.catalogue ? c.catalogue(good) : good);
        CModalRecorder boxes;
        auto sel = Selector(c.library);
        EXPECT_FALSE(sel->ApplyLanguage(0x0407)) << c.name;
        EXPECT_EQ(sel->GetLangId(), 1033) << c.name;
        EXPECT_EQ(sel->LoadString(59137), L"CAP") << c.name;
        EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle()) << c.name;
        EXPECT_TRUE(boxes.texts.empty()) << c.name;
    }
}

TEST_F(LanguageLibrary, DialogStoresTheChoiceAndTheNextStartUsesIt)
{
    std::vector<CString> items, labels;
    {
        auto sel = Selector();
        sel->ChooseStartLanguage();
        EXPECT_EQ(sel->GetLangId(), 1033);
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::Dialog)
                    return IDOK;
                auto* list =
                    static_cast<CListBox*>(r.pDialog->GetDlgItem(CLanguageSelect::IDC_LANGUAGE_LIST));
                for (int i = 0; i < list->GetCount(); ++i)
                {
                    CString text;
                    list->GetText(i, text);
                    items.push_back(text);
                    if (list->GetItemData(i) == 0x0407)
                        list->SetCurSel(i);
                }
                return IDOK;
            });
        EXPECT_EQ(sel->DoModal(), IDOK);
        EXPECT_EQ(sel->GetLangId(), 0x0407);
    }
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], L"English (United States) - English (United States) - English (United States)");
    EXPECT_EQ(items[1], L"German (Germany) - Deutsch (Germany) - German (Germany)");

    // Stored in the registry, so a fresh options store reads it back.
    CRegOptionsMgr next;
    OptionsInit(&next);
    EXPECT_EQ(next.GetIntValue(L"Locale/LanguageId"), 0x0407);
    SetAppServices(&next, nullptr);

    // The next start: German, and the dialog itself shows it.
    auto sel = Selector();
    sel->ChooseStartLanguage();
    EXPECT_EQ(sel->GetLangId(), 0x0407);
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::Dialog)
            {
                CString text;
                r.pDialog->GetWindowText(text);
                labels.push_back(text);
                for (int id : {-1, IDOK, IDCANCEL})
                    if (CWnd* w = id == -1 ? r.pDialog->GetWindow(GW_CHILD) : r.pDialog->GetDlgItem(id))
                    {
                        w->GetWindowText(text);
                        labels.push_back(text);
                    }
            }
            return IDCANCEL;
        });
    EXPECT_EQ(sel->DoModal(), IDCANCEL);
    EXPECT_EQ(labels, (std::vector<CString>{L"Sprache", L"Verfügbare Sprachen", L"OK", L"Abbrechen"}));
}

TEST_F(LanguageLibrary, RefusedChoiceIsNotStoredAndIsReported)
{
    WriteCatalogue(Catalogue().substr(0, Catalogue().size() / 2));
    auto sel = Selector();
    std::vector<CString> boxes;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::MessageBox)
            {
                boxes.push_back(r.strText);
                EXPECT_TRUE(r.nType & MB_ICONSTOP);
                return IDOK;
            }
            auto* list = static_cast<CListBox*>(r.pDialog->GetDlgItem(CLanguageSelect::IDC_LANGUAGE_LIST));
            for (int i = 0; i < list->GetCount(); ++i)
                if (list->GetItemData(i) == 0x0407)
                    list->SetCurSel(i);
            return IDOK;
        });
    EXPECT_EQ(sel->DoModal(), IDOK);
    EXPECT_EQ(sel->GetLangId(), 1033);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Left(36), L"Unresolved or mismatched references ");
    EXPECT_EQ(m_options.GetIntValue(L"Locale/LanguageId"), 1033);
    CRegOptionsMgr next;
    OptionsInit(&next);
    EXPECT_EQ(next.GetIntValue(L"Locale/LanguageId"), 1033);
}

TEST_F(LanguageLibrary, DialogListFollowsTheDialogSizeEachTimeItOpens)
{
    auto sel = Selector();
    std::vector<int> growth;
    CModalHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind != AfxModalKind::Dialog)
                return IDOK;
            CWnd* list = r.pDialog->GetDlgItem(CLanguageSelect::IDC_LANGUAGE_LIST);
            CRect before, after, window, client0, client1;
            list->GetWindowRect(&before);
            r.pDialog->GetWindowRect(&window);
            r.pDialog->GetClientRect(&client0);
            r.pDialog->SetWindowPos(nullptr, 0, 0, window.Width() + 80, window.Height() + 30,
                                    SWP_NOMOVE | SWP_NOZORDER);
            AfxPumpMessages();
            list->GetWindowRect(&after);
            r.pDialog->GetClientRect(&client1);
            EXPECT_GT(client1.Width(), client0.Width());
            // The list takes all of the growth.
            growth.push_back(after.Width() - before.Width() - (client1.Width() - client0.Width()));
            return IDCANCEL;
        });
    EXPECT_EQ(sel->DoModal(), IDCANCEL);
    EXPECT_EQ(sel->DoModal(), IDCANCEL);
    EXPECT_EQ(growth, (std::vector<int>{0, 0}));
}

TEST(VersionInfo, ReadsTheVersionRecordsOfTheBuild)
{
    CVersionInfo own(FALSE);
    EXPECT_TRUE(own.IsVersionFound());
    CVersionInfo library(kLibrary.c_str(), TRUE);
    ASSERT_TRUE(library.IsVersionFound());
    EXPECT_EQ(library.GetFixedFileVersion(), own.GetFixedFileVersion());
    EXPECT_EQ(library.GetInternalName(), L"QYRViewLang");
    EXPECT_EQ(library.GetLanguage(), L"0409");
    EXPECT_EQ(library.GetCodepage(), L"04B0");
    EXPECT_EQ(library.GetDllVersion().cbSize, 0u); // no DllGetVersion: the record from the fixed version

    CVersionInfo other(QYR_OTHER_VERSION_LIBRARY, FALSE);
    DWORD ms = 0, ls = 0, otherMS = 0, otherLS = 0;
    ASSERT_TRUE(own.GetFixedFileVersion(ms, ls));
    ASSERT_TRUE(other.GetFixedFileVersion(otherMS, otherLS));
    EXPECT_EQ(otherMS, ms); // only the second half differs
    EXPECT_NE(otherLS, ls);
    EXPECT_EQ(other.GetFixedFileVersion(), L"1.0.0.1");

    CVersionInfo missing(L"/no/such/library.so", FALSE);
    EXPECT_FALSE(missing.IsVersionFound());
    EXPECT_TRUE(missing.GetFixedFileVersion().IsEmpty());
    EXPECT_TRUE(missing.GetCompanyName().IsEmpty());

    CVersionInfo german(WORD(0x0407));
    EXPECT_EQ(german.GetLanguage(), L"0407");
    EXPECT_TRUE(german.GetCodepage().IsEmpty());
    EXPECT_TRUE(german.GetProductName().IsEmpty());
}

TEST(MoveConstraint, SubclassChainLinksAroundRemovedProcedures)
{
    static std::vector<int> calls;
    calls.clear();
    struct P
    {
        static BOOL A(void*, HWND h, UINT m, WPARAM w, LPARAM l, LRESULT* r)
        {
            calls.push_back(1);
            return kesdlg::CallNext(&A, h, m, w, l, r);
        }
        static BOOL B(void*, HWND h, UINT m, WPARAM w, LPARAM l, LRESULT* r)
        {
            calls.push_back(2);
            return kesdlg::CallNext(&B, h, m, w, l, r);
        }
        static BOOL C(void*, HWND h, UINT m, WPARAM w, LPARAM l, LRESULT* r)
        {
            calls.push_back(3);
            return kesdlg::CallNext(&C, h, m, w, l, r);
        }
    };
    const HWND h = reinterpret_cast<HWND>(0x1234);
    EXPECT_TRUE(kesdlg::Subclass(&P::A, h, nullptr));
    EXPECT_TRUE(kesdlg::Subclass(&P::B, h, nullptr));
    EXPECT_FALSE(kesdlg::Subclass(&P::A, h, nullptr)); // already in the chain
    EXPECT_TRUE(kesdlg::Subclass(&P::C, h, nullptr));
    LRESULT r = 0;
    EXPECT_FALSE(kesdlg::CallChain(h, 0, 0, 0, &r));
    EXPECT_EQ(calls, (std::vector<int>{3, 2, 1}));

    calls.clear();
    EXPECT_TRUE(kesdlg::Unsubclass(&P::B, h)); // from the middle: C now calls on to A
    kesdlg::CallChain(h, 0, 0, 0, &r);
    EXPECT_EQ(calls, (std::vector<int>{3, 1}));
    EXPECT_TRUE(kesdlg::Unsubclass(&P::C, h));
    EXPECT_TRUE(kesdlg::Unsubclass(&P::A, h));
    EXPECT_EQ(kesdlg::ChainLength(h), 0);
    EXPECT_FALSE(kesdlg::Unsubclass(&P::A, h));
}

TEST(MoveConstraint, ControlsFollowTheirFractionsOfTheGrowth)
{
    CDialog dlg(CLanguageSelect::IDD);
    ASSERT_TRUE(dlg.Create(CLanguageSelect::IDD));
    kesdlg::CMoveConstraint mc;
    mc.InitializeCurrentSize(&dlg);
    CRect list0, ok0, cancel0;
    auto rectOf = [&](int id)
    {
        CRect rc;
        dlg.GetDlgItem(id)->GetWindowRect(&rc);
        dlg.ScreenToClient(&rc);
        return rc;
    };
    list0 = rectOf(CLanguageSelect::IDC_LANGUAGE_LIST);
    ok0 = rectOf(IDOK);
    cancel0 = rectOf(IDCANCEL);
    mc.AddConstraint(CLanguageSelect::IDC_LANGUAGE_LIST, 0, 1, 0, 1);
    mc.AddConstraint(IDCANCEL, 0.6, 0, 1, 0);
    mc.AddConstraint(IDOK, 0.3, 0, 1, 0);
    EXPECT_TRUE(mc.AddConstraint(4711, 0, 0, 0, 0)); // no such control yet: deferred

    CRect client;
    dlg.GetClientRect(&client);
    MINMAXINFO mmi = {};
    mc.OnGetMinMaxInfo(&mmi);
    EXPECT_GT(mmi.ptMinTrackSize.x, 0);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 0); // not set: left alone

    CRect window;
    dlg.GetWindowRect(&window);
    dlg.SetWindowPos(nullptr, 0, 0, window.Width() + 101, window.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
    mc.Relayout();
    CRect grown;
    dlg.GetClientRect(&grown);
    const int dx = grown.Width() - client.Width(), dy = grown.Height() - client.Height();
    ASSERT_GT(dx, 0);
    const CRect list = rectOf(CLanguageSelect::IDC_LANGUAGE_LIST), ok = rectOf(IDOK),
                cancel = rectOf(IDCANCEL);
    EXPECT_EQ(list.left, list0.left);
    EXPECT_EQ(list.Width(), list0.Width() + dx);
    EXPECT_EQ(list.Height(), list0.Height() + dy);
    EXPECT_EQ(ok.left, ok0.left + int(dx * 0.3));
    EXPECT_EQ(ok.top, ok0.top + dy);
    EXPECT_EQ(ok.Width(), ok0.Width());
    EXPECT_EQ(cancel.left, cancel0.left + int(dx * 0.6));
    dlg.DestroyWindow();
}

// The frame hit test keeps fixed sides fixed and makes the grip's triangle a bottom-right corner;
// tooltip requests are answered from the tip map by id or by the tool's window.
TEST(MoveConstraint, HitTestAndTooltipsThroughTheChain)
{
    CDialog dlg(CLanguageSelect::IDD);
    ASSERT_TRUE(dlg.Create(CLanguageSelect::IDD));
    kesdlg::CMoveConstraint mc;
    mc.InitializeCurrentSize(&dlg);
    ASSERT_TRUE(mc.SubclassWnd());
    const HWND hWnd = dlg.GetSafeHwnd();
    CRect client;
    dlg.GetClientRect(&client);
    auto hitAt = [&](CPoint ptClient)
    {
        dlg.ClientToScreen(&ptClient);
        LRESULT result = 0;
        EXPECT_TRUE(kesdlg::CallChain(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptClient.x, ptClient.y), &result));
        return UINT(result);
    };
    EXPECT_EQ(hitAt(CPoint(client.right - 2, client.bottom - 2)), UINT(kesdlg::HT_BOTTOMRIGHT)); // grip
    EXPECT_EQ(hitAt(CPoint(client.right - 2, 5)), UINT(kesdlg::HT_CLIENT));
    mc.SetGripMode(0);
    EXPECT_EQ(hitAt(CPoint(client.right - 2, client.bottom - 2)), UINT(kesdlg::HT_CLIENT));

    struct Row
    {
        int minX, maxX, minY, maxY;
        UINT def, expected;
    } rows[] = {
        {0, 0, 100, 100, kesdlg::HT_TOP, kesdlg::HT_BORDER},
        {0, 0, 100, 100, kesdlg::HT_TOPLEFT, kesdlg::HT_LEFT},
        {0, 0, 100, 100, kesdlg::HT_BOTTOMRIGHT, kesdlg::HT_RIGHT},
        {200, 200, 0, 0, kesdlg::HT_RIGHT, kesdlg::HT_BORDER},
        {200, 200, 0, 0, kesdlg::HT_TOPRIGHT, kesdlg::HT_TOP},
        {200, 200, 0, 0, kesdlg::HT_BOTTOMLEFT, kesdlg::HT_BOTTOM},
        {0, 0, 0, 0, kesdlg::HT_LEFT, kesdlg::HT_LEFT},
    };
    for (const Row& r : rows)
    {
        mc.SetMinTrackSize(r.minX, r.minY);
        mc.SetMaxTrackSize(r.maxX, r.maxY);
        EXPECT_EQ(mc.HitTest(CPoint(1, 1), r.def), r.expected) << r.def;
    }

    mc.AddTip(IDOK, L"Take the language");
    mc.AddTip(IDCANCEL, 4711U);
    TOOLTIPTEXTW ttt = {};
    ttt.hdr.idFrom = IDOK;
    ttt.hdr.code = TTN_NEEDTEXTW;
    LRESULT result = 1;
    ASSERT_TRUE(kesdlg::CallChain(hWnd, WM_NOTIFY, IDOK, reinterpret_cast<LPARAM>(&ttt), &result));
    EXPECT_STREQ(ttt.lpszText, L"Take the language");
    ttt = {};
    ttt.hdr.idFrom = reinterpret_cast<UINT_PTR>(dlg.GetDlgItem(IDCANCEL)->GetSafeHwnd());
    ttt.hdr.code = TTN_NEEDTEXTW;
    ttt.uFlags = TTF_IDISHWND;
    ASSERT_TRUE(kesdlg::CallChain(hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ttt), &result));
    EXPECT_EQ(ttt.lpszText, MAKEINTRESOURCE(4711));
    EXPECT_EQ(ttt.hinst, AfxGetResourceHandle());
    ttt.hdr.idFrom = 999; // no tip: left to others
    ttt.uFlags = 0;
    EXPECT_FALSE(kesdlg::CallChain(hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ttt), &result));
    mc.UnSubclassWnd();
    dlg.DestroyWindow();
}
