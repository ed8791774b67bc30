// The new-project wizard driven offscreen, the project dialogs, the parameter manager and the
// bitmap list box.
#include "ProjectTestSupport.h"

#include "editor/ExtBmpListBox.h"
#include "editor/NewProjectWizard.h"
#include "editor/ParamManager.h"
#include "editor/ProjectDialogs.h"
#include "mfc/ButtonCtl.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"
#include "support/ColourPicker.h"

#include <QImage>
#include <QWidget>

#include <map>

using namespace projtest;

namespace
{
CNewProjectPage0* Page0(CDialog& dlg)
{
    auto* main = dynamic_cast<CNewProjectMain*>(&dlg);
    return main ? dynamic_cast<CNewProjectPage0*>(main->GetPage(0)) : nullptr;
}

BOOL Enabled(CDialog& dlg, int nID)
{
    return dlg.GetDlgItem(nID)->IsWindowEnabled();
}

void SaveShot(CWnd* pWnd, const char* path)
{
    const QImage shot = pWnd->GetWidget()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QString::fromUtf8(path)));
}

// Writes a template folder holding the given project files.
void WriteTemplate(const fs::path& root, const std::string& folder, std::initializer_list<std::string> files)
{
    fs::create_directories(root / "Template" / folder);
    for (const std::string& f : files)
    {
        CWorkSpaceObj ws;
        ws.AddParam(new CParamObj(L"#Kept", FO_VALUE::MakeInt(7), PARAM_KIND_GLOBAL));
        ASSERT_TRUE(ws.SaveDocument(CString::FromUtf8((root / "Template" / folder / f).string())));
    }
}
} // namespace

TEST_F(CProjectTest, WizardButtonsFollowThePagesAndFinishMakesAnEmptyProject)
{
    CNewProjectWizard wizard(Root("Template"), Root("User"));
    struct Step
    {
        int button;
        int page;
        BOOL back, next, finish;
    };
    // Button states after each press, from the first page on.
    const Step steps[] = {{0, 0, FALSE, TRUE, FALSE},          {ID_WIZNEXT, 1, TRUE, TRUE, FALSE},
                          {ID_WIZNEXT, 2, TRUE, FALSE, TRUE},  {ID_WIZBACK, 1, TRUE, TRUE, TRUE},
                          {ID_WIZBACK, 0, FALSE, TRUE, FALSE}, {ID_WIZNEXT, 1, TRUE, TRUE, FALSE},
                          {ID_WIZNEXT, 2, TRUE, FALSE, TRUE}};
    CDialogDriver driver(
        [&](CDialog& dlg) -> int
        {
            auto& main = static_cast<CNewProjectMain&>(dlg);
            // Pages are made on first showing only.
            EXPECT_TRUE(main.GetPage(0)->IsCreated());
            EXPECT_FALSE(main.GetPage(1)->IsCreated());
            main.GetPage(0)->SetDlgItemText(1234, L"Plant1");
            for (const Step& s : steps)
            {
                if (s.button)
                    Click(main, s.button);
                EXPECT_EQ(main.GetActiveIndex(), s.page) << s.button;
                EXPECT_EQ(Enabled(main, ID_WIZBACK), s.back) << s.page;
                EXPECT_EQ(Enabled(main, ID_WIZNEXT), s.next) << s.page;
                EXPECT_EQ(Enabled(main, ID_WIZFINISH), s.finish) << s.page;
            }
            EXPECT_EQ(main.GetWizardDefID(), UINT(ID_WIZ_DEFAULT_FINISH));
            return ID_WIZFINISH;
        });
    ASSERT_TRUE(wizard.Run());
    EXPECT_TRUE(driver.messages.empty());
    const CNewProjectValues v = wizard.Values();
    EXPECT_EQ(v.strName, CString(L"Plant1"));
    EXPECT_EQ(v.nTemplateKind, NEW_PROJECT_EMPTY);
    EXPECT_EQ(v.strAuthor, CString(L"Author Name"));
    EXPECT_EQ(CProjectFiles::AsFolder(v.strLocation), Root("User/"));

    CWorkSpaceObj ws;
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateEmpty(ws, v, error)) << error.ToUtf8();
    EXPECT_TRUE(fs::exists(m_root / "User/plant1/plant1.dcp"));
    EXPECT_TRUE(fs::exists(m_root / "User/plant1/XdgFiles/Main.xdg"));
    EXPECT_TRUE(fs::exists(m_root / "User/plant1/ScriptFiles/system.uscp"));
}

TEST_F(CProjectTest, PageZeroRefusesBadNamesAndAnExistingProjectFolder)
{
    fs::create_directories(m_root / "User/taken");
    struct Case
    {
        const wchar_t* name;
        const wchar_t* message; // empty: accepted
    };
    const Case cases[] = {
        {L"   ", L"The project name cann't be empty!"},
        {L"a b", L"No correct project name is used!"},
        {L"a.b", L"No correct project name is used!"},
        {L"a-b", L"No correct project name is used!"},
        {L"..", L"No correct project name is used!"},
        {L"a/b", L"No correct project name is used!"},
        {L"Taken",
         L"There is an exist project with the same name that you entered, please correct it before click "
         L"next button."},
        {L"  Line_2 ", L""},
    };
    for (const Case& c : cases)
    {
        CNewProjectWizard wizard(Root("Template"), Root("User"));
        CDialogDriver driver(
            [&](CDialog& dlg) -> int
            {
                Page0(dlg)->SetDlgItemText(1234, c.name);
                Click(dlg, ID_WIZNEXT);
                EXPECT_EQ(static_cast<CNewWizDialog&>(dlg).GetActiveIndex(), *c.message ? 0 : 1);
                return IDCANCEL;
            });
        EXPECT_FALSE(wizard.Run());
        if (*c.message)
        {
            ASSERT_EQ(driver.messages.size(), 1u) << CString(c.name).ToUtf8();
            EXPECT_EQ(driver.messages[0], CString(c.message));
        }
        else
            EXPECT_TRUE(driver.messages.empty());
    }
}

TEST_F(CProjectTest, PageZeroListsTemplatesInFolderOrderAndKeepsTheLeadingCInThePath)
{
    WriteTemplate(m_root, "Alpha", {"Alpha.dcp"});
    WriteTemplate(m_root, "Beta", {"B1.dcp", "B2.dcp"});
    fs::create_directories(m_root / "Template/Empty");
    CNewProjectWizard wizard(Root("Template"), Root("User"));
    std::vector<CString> names;
    CString label;
    CDialogDriver driver(
        [&](CDialog& dlg) -> int
        {
            CNewProjectPage0* page = Page0(dlg);
            for (int i = 0; i < page->m_List.GetItemCount(); ++i)
                names.push_back(page->m_List.GetItemText(i, 0));
            page->SetDlgItemText(1234, L"Compressor");
            page->GetDlgItemText(1236, label);
            dlg.MoveWindow(0, 0, 660, 480);
            SaveShot(&dlg, QYR_WIZARD_PNG);
            return IDCANCEL;
        });
    wizard.Run();
    // Each template at its folder's position, before the entries put there earlier.
    const std::vector<CString> expected = {L"Alpha", L"B2", L"B1", L"Empty Project"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(label, L"Path:" + Root("User/") + L"Compressor");
}

TEST_F(CProjectTest, WizardMakesAProjectFromATemplateThatKeepsItsVariables)
{
    WriteTemplate(m_root, "Tank", {"Tank.dcp"});
    CNewProjectWizard wizard(Root("Template"), Root("User"));
    CDialogDriver driver(
        [&](CDialog& dlg) -> int
        {
            CNewProjectPage0* page = Page0(dlg);
            page->m_List.SetItemState(1, 0, LVIS_SELECTED);
            page->m_List.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
            page->SetDlgItemText(1234, L"FromTank");
            Click(dlg, ID_WIZNEXT);
            Click(dlg, ID_WIZNEXT);
            return ID_WIZFINISH;
        });
    ASSERT_TRUE(wizard.Run());
    const CNewProjectValues v = wizard.Values();
    EXPECT_EQ(v.nTemplateKind, NEW_PROJECT_TEMPLATE);
    EXPECT_EQ(v.strTemplate, CString(L"Tank"));
    CWorkSpaceObj ws;
    CString error;
    ASSERT_TRUE(CProjectCreator::CreateFromTemplate(ws, v, Root("Template"), error)) << error.ToUtf8();
    CWorkSpaceObj back;
    ASSERT_TRUE(back.OpenDocument(Root("User/fromtank/fromtank.dcp")));
    ASSERT_NE(back.FindParamByName(L"#kept"), nullptr);
    EXPECT_EQ(back.FindParamByName(L"#kept")->m_value.m_nValue, 7);
}

TEST_F(CProjectTest, PageOneChecksTheScreenSizeRange)
{
    struct Case
    {
        const wchar_t* width;
        const wchar_t* height;
        bool advances;
    };
    const Case cases[] = {{L"50", L"1000", false},   {L"100", L"100", true}, {L"10000", L"10000", true},
                          {L"10001", L"500", false}, {L"500", L"99", false}, {L"abc", L"500", false}};
    for (const Case& c : cases)
    {
        CNewProjectWizard wizard(Root("Template"), Root("User"));
        CDialogDriver driver(
            [&](CDialog& dlg) -> int
            {
                auto& main = static_cast<CNewWizDialog&>(dlg);
                Page0(dlg)->SetDlgItemText(1234, L"Sizes");
                Click(dlg, ID_WIZNEXT);
                main.GetPage(1)->SetDlgItemText(1108, c.width);
                main.GetPage(1)->SetDlgItemText(1104, c.height);
                Click(dlg, ID_WIZNEXT);
                EXPECT_EQ(main.GetActiveIndex(), c.advances ? 2 : 1) << CString(c.width).ToUtf8();
                return IDCANCEL;
            });
        wizard.Run();
        EXPECT_EQ(driver.messages.empty(), c.advances) << CString(c.width).ToUtf8();
    }
}

TEST_F(CProjectTest, BuildDialogNamesWhatIsMissing)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* location;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"", L"", L"Please enter a name for output exe file at first, and then try again."},
        {L"", L"/tmp", L"Please enter a name for output exe file at first, and then try again."},
        {L"run", L"", L"Please choose an output path for placing your application at first, and try again."},
        {L"run", L"/tmp", nullptr},
    };
    for (const Case& c : cases)
    {
        CMBBuildDlg dlg;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                d.SetDlgItemText(1078, c.name);
                d.SetDlgItemText(1079, c.location);
                return IDOK;
            });
        const INT_PTR result = dlg.DoModal();
        if (c.message)
        {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(driver.messages.size(), 1u);
            EXPECT_EQ(driver.messages[0], CString(c.message));
        }
        else
        {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(driver.messages.empty());
        }
    }
    // Browsing puts the chosen folder with a trailing separator into the location.
    CMBBuildDlg dlg;
    CDialogDriver driver(
        [&](CDialog& d) -> int
        {
            Click(d, 1118);
            return IDOK;
        });
    driver.folder = Root();
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strLocation, Root() + L"/");
}

TEST_F(CProjectTest, ProjectSettingsQuickSizesAndWindowRanges)
{
    struct Quick
    {
        int item;
        int width, height;
    };
    const Quick quick[] = {{0, 200, 200}, {2, 380, 200}, {5, 640, 480}, {6, 756, 570}, {7, 800, 600}};
    for (const Quick& q : quick)
    {
        CProjectSetDlg dlg;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                auto& set = static_cast<CProjectSetDlg&>(d);
                SaveShot(&d, QYR_PROJECT_SETTING_PNG);
                set.m_cbQuick.SetCurSel(q.item);
                d.SendMessage(WM_COMMAND, MAKEWPARAM(1086, CBN_SELCHANGE), LPARAM(set.m_cbQuick.m_hWnd));
                return IDOK;
            });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_nWindowWidth, q.width);
        EXPECT_EQ(dlg.m_nWindowHeight, q.height);
    }
    // The current size picks its entry; one not in the list picks none.
    for (auto [width, height, entry] : {std::tuple{640, 480, 5}, std::tuple{1024, 768, -1}})
    {
        const int w = width, h = height, sel = entry;
        CProjectSetDlg dlg;
        dlg.m_nWindowWidth = w;
        dlg.m_nWindowHeight = h;
        int seen = -2;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                seen = static_cast<CProjectSetDlg&>(d).m_cbQuick.GetCurSel();
                return IDCANCEL;
            });
        dlg.DoModal();
        EXPECT_EQ(seen, sel);
    }
    // The window size goes to 5000, also by the spins; 5001 is refused.
    for (auto [typed, accepted] :
         {std::pair{L"5000", true}, std::pair{L"5001", false}, std::pair{L"0", false}})
    {
        const wchar_t* text = typed;
        const bool ok = accepted;
        CProjectSetDlg dlg;
        int spinMax = 0;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                int lo = 0;
                static_cast<CProjectSetDlg&>(d).m_spinWidth.GetRange32(lo, spinMax);
                d.SetDlgItemText(1005, text);
                return IDOK;
            });
        EXPECT_EQ(dlg.DoModal(), ok ? IDOK : IDCANCEL) << CString(text).ToUtf8();
        EXPECT_EQ(spinMax, 5000);
        EXPECT_EQ(driver.messages.empty(), ok);
    }
}

TEST_F(CProjectTest, ProjectSettingsAndTheWizardTakeTheirColoursFromTheColourDialog)
{
    // Project Setting: "Back" and "Page Back" open on their colours; Cancel keeps a colour.
    for (COLORREF chosen : {RGB(10, 20, 30), CDialogDriver::kNoColour})
    {
        CProjectSetDlg dlg;
        dlg.m_crBack = RGB(1, 1, 1);
        dlg.m_crPageBack = RGB(2, 2, 2);
        CDialogDriver* pDriver = nullptr;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                auto& set = static_cast<CProjectSetDlg&>(d);
                EXPECT_TRUE(ChooseMoreColors(set.m_btnBack));
                pDriver->colour = chosen == CDialogDriver::kNoColour ? chosen : RGB(40, 50, 60);
                EXPECT_TRUE(ChooseMoreColors(set.m_btnPageBack));
                return IDOK;
            });
        pDriver = &driver;
        driver.colour = chosen;
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(driver.colours, (std::vector<COLORREF>{RGB(1, 1, 1), RGB(2, 2, 2)}));
        const bool cancelled = chosen == CDialogDriver::kNoColour;
        EXPECT_EQ(dlg.m_crBack, cancelled ? RGB(1, 1, 1) : chosen);
        EXPECT_EQ(dlg.m_crPageBack, cancelled ? RGB(2, 2, 2) : RGB(40, 50, 60));
    }
    // The wizard's "Default Back Color" becomes the new project's screen colour.
    CNewProjectWizard wizard(Root("Template"), Root("User"));
    CDialogDriver driver(
        [&](CDialog& dlg) -> int
        {
            Page0(dlg)->SetDlgItemText(1234, L"Tinted");
            Click(dlg, ID_WIZNEXT);
            auto* page1 = dynamic_cast<CNewProjectPage1*>(static_cast<CNewProjectMain&>(dlg).GetPage(1));
            EXPECT_NE(page1, nullptr);
            if (page1)
                EXPECT_TRUE(ChooseMoreColors(page1->m_btnColor));
            Click(dlg, ID_WIZNEXT);
            return ID_WIZFINISH;
        });
    driver.colour = RGB(200, 10, 90);
    ASSERT_TRUE(wizard.Run());
    EXPECT_EQ(driver.colours, std::vector<COLORREF>{RGB(255, 255, 255)});
    EXPECT_EQ(wizard.Values().crBack, RGB(200, 10, 90));
}

TEST_F(CProjectTest, SaveAsTemplateChecksTheNameAndCopiesTheProject)
{
    WriteFile(m_root / "User/line1/line1.dcp", "project");
    WriteFile(m_root / "User/line1/XdgFiles/Main.xdg", "screen");
    fs::create_directories(m_root / "Template/Old");
    struct Case
    {
        const wchar_t* name;
        const wchar_t* message;
    };
    const Case cases[] = {{L"../Escape", L"No correct project name is used!"},
                          {L"a b", L"No correct project name is used!"},
                          {L"Old", L"This template file is already exist?"},
                          {L"Mixer", nullptr}};
    for (const Case& c : cases)
    {
        CSVSaveAsTemplateDlg dlg;
        dlg.m_strTemplateFolder = Root("Template");
        dlg.m_strProjectFolder = Root("User/line1");
        dlg.m_strProjectFile = L"line1.dcp";
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                d.SetDlgItemText(32861, c.name);
                return IDOK;
            });
        const INT_PTR result = dlg.DoModal();
        EXPECT_EQ(result, c.message ? IDCANCEL : IDOK);
        if (c.message)
        {
            ASSERT_EQ(driver.messages.size(), 1u);
            EXPECT_EQ(driver.messages[0], CString(c.message));
        }
    }
    EXPECT_FALSE(fs::exists(m_root / "Escape"));
    EXPECT_EQ(ReadFile(m_root / "Template/Mixer/Mixer.dcp"), "project");
    EXPECT_EQ(ReadFile(m_root / "Template/Mixer/XdgFiles/Main.xdg"), "screen");
}

TEST_F(CProjectTest, ScriptChooserListsScreensOnlyOrMakesTheDefaultScript)
{
    WriteFile(m_root / "p/XdgFiles/Main.xdg", "a");
    WriteFile(m_root / "p/XdgFiles/Details.xdg", "b");
    WriteFile(m_root / "p/XdgFiles/notes.txt", "c");
    fs::create_directories(m_root / "p/ScriptFiles");
    for (BOOL scripts : {FALSE, TRUE})
    {
        MBScriptChooseDlg dlg;
        dlg.m_strProjectFolder = Root("p");
        dlg.m_bListScripts = scripts;
        dlg.m_strValue = L"Main.xdg";
        std::vector<CString> rows;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                auto& chooser = static_cast<MBScriptChooseDlg&>(d);
                for (int i = 0; i < chooser.m_List.GetCount(); ++i)
                {
                    CString s;
                    chooser.m_List.GetText(i, s);
                    rows.push_back(s);
                }
                chooser.m_List.SetCurSel(0);
                return IDOK;
            });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        std::vector<CString> expected = {L"Details.xdg", L"Main.xdg"};
        if (scripts)
            expected.push_back(L"system.uscp");
        EXPECT_EQ(rows, expected);
        EXPECT_EQ(dlg.m_strValue, CString(L"Details.xdg"));
        EXPECT_EQ(fs::exists(m_root / "p/ScriptFiles/system.uscp"), bool(scripts));
    }
}

TEST_F(CProjectTest, VariableValuesReadAndShowByType)
{
    struct Case
    {
        int type;
        const wchar_t* text;
        BOOL reads;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {FO_VALUE_BOOL, L"TRUE", TRUE, L"TRUE"},
        {FO_VALUE_BOOL, L"0", TRUE, L"FALSE"},
        {FO_VALUE_BOOL, L"yes", FALSE, nullptr},
        {FO_VALUE_STRING, L"a b", TRUE, L"a b"},
        {FO_VALUE_INT, L"-42", TRUE, L"-42"},
        {FO_VALUE_INT, L"4.5", FALSE, nullptr},
        {FO_VALUE_INT, L"99999999999", FALSE, nullptr},
        {FO_VALUE_FLOAT, L"3.7", TRUE, L"4"},
        {FO_VALUE_DOUBLE, L"2.25", TRUE, L"2"},
        {FO_VALUE_DOUBLE, L"x", FALSE, nullptr},
        {FO_VALUE_DWORD, L"4294967295", TRUE, L"4294967295"},
        {FO_VALUE_DWORD, L"-1", FALSE, nullptr},
        {FO_VALUE_DATETIME, L"2024-02-29 13:05:09", TRUE, L"Thursday, February 29, 2024"},
        {FO_VALUE_DATETIME, L"2023-02-29", FALSE, nullptr},
        {FO_VALUE_COLOR, L"RGB(255,128,0)", TRUE, L"RGB(255,128,0)"},
        {FO_VALUE_COLOR, L"RGB(256,0,0)", FALSE, nullptr},
    };
    for (const Case& c : cases)
    {
        FO_VALUE v;
        EXPECT_EQ(CParamText::Parse(c.type, c.text, v), c.reads) << CString(c.text).ToUtf8();
        if (!c.reads)
            continue;
        EXPECT_EQ(v.m_nValueType, c.type);
        EXPECT_EQ(CParamText::ListValue(v), CString(c.shown)) << CString(c.text).ToUtf8();
        // The edit form reads back as the same value.
        FO_VALUE again;
        ASSERT_TRUE(CParamText::Parse(c.type, CParamText::EditValue(v), again));
        EXPECT_TRUE(again == v) << CString(c.text).ToUtf8();
    }
    const int kinds[] = {100, 101, 102, 7};
    const wchar_t* const names[] = {L"R-Param", L"G-Param", L"S-Param", L"U-Param"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CParamText::KindName(kinds[i]), CString(names[i]));
}

TEST_F(CProjectTest, AnUntouchedOkKeepsEveryValueType)
{
    const FO_VALUE values[] = {FO_VALUE::MakeBool(TRUE),
                               FO_VALUE::MakeString(L"x"),
                               FO_VALUE::MakeInt(-3),
                               FO_VALUE::MakeFloat(3.7f),
                               FO_VALUE::MakeDouble(0.1),
                               FO_VALUE::MakeDWord(0xFFFFFFF0u),
                               FO_VALUE::MakeDateTime(45000.123456),
                               FO_VALUE::MakeColor(RGB(9, 8, 7))};
    for (const FO_VALUE& value : values)
    {
        CWorkSpaceObj ws;
        auto* param = new CParamObj(L"#V", value, PARAM_KIND_GLOBAL);
        ws.AddParam(param);
        CParamSetDlg dlg;
        dlg.LoadFrom(param);
        dlg.m_pWorkSpace = &ws;
        CDialogDriver driver([](CDialog&) { return IDOK; });
        ASSERT_EQ(dlg.DoModal(), IDOK) << value.m_nValueType;
        EXPECT_TRUE(param->m_value == value) << value.m_nValueType;
        EXPECT_TRUE(driver.messages.empty());
    }
}

TEST_F(CProjectTest, ParameterDialogRefusesUsedNamesAndBadValues)
{
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    ws.AddParam(new CParamObj(L"#level", FO_VALUE::MakeInt(1), PARAM_KIND_GLOBAL));
    struct Case
    {
        const wchar_t* name;
        int typeEntry; // combo entry: 0 Text, 1 BOOL, 2 int ... 7 Color
        const wchar_t* value;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"", 0, L"", L"You must enter at least one char for the name of this parameter."},
        {L"#Level", 0, L"",
         L"The name of this parameter had been used, please enter a new one and try again."},
        {L"Level", 2, L"12", nullptr},
        {L"#Count", 2, L"twelve", L"The initial value \"twelve\" is not a int value."},
    };
    for (const Case& c : cases)
    {
        CParamObj param;
        CParamSetDlg dlg;
        dlg.m_pParam = &param;
        dlg.m_pWorkSpace = &ws;
        CDialogDriver driver(
            [&](CDialog& d) -> int
            {
                auto& set = static_cast<CParamSetDlg&>(d);
                EXPECT_EQ(set.m_cbValueType.GetCount(), 8);
                d.SetDlgItemText(1022, c.name);
                set.m_cbValueType.SetCurSel(c.typeEntry);
                d.SetDlgItemText(28543, c.value);
                return IDOK;
            });
        const INT_PTR result = dlg.DoModal();
        if (c.message)
        {
            EXPECT_EQ(result, IDCANCEL);
            ASSERT_EQ(driver.messages.size(), 1u);
            EXPECT_EQ(driver.messages[0], CString(c.message));
        }
        else
        {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(param.m_value.m_nValueType, FO_VALUE_INT);
            EXPECT_EQ(param.m_value.m_nValue, 12);
        }
    }
}

TEST_F(CProjectTest, ParameterManagerFiltersAndSwitchesToANewVariablesKind)
{
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    ws.AddParam(new CParamObj(L"@speed", FO_VALUE::MakeInt(1), PARAM_KIND_RUNTIME));
    const int systemCount = ws.GetParamObjects().GetCount() - 1;
    CParamManager dlg(&ws);
    std::vector<int> counts;
    int filterAfterAdd = -1;
    CDialogDriver driver(
        [&](CDialog& d) -> int
        {
            auto& m = static_cast<CParamManager&>(d);
            for (int f = 0; f < 4; ++f)
            {
                m.SetFilter(f);
                m.FillList();
                counts.push_back(m.m_List.GetItemCount());
            }
            m.SetFilter(1);
            m.FillList();
            Click(d, 1041); // a global variable added while runtime ones are shown
            filterAfterAdd = m.GetFilter();
            // A system variable opens nothing; removing its row keeps it in the workspace.
            m.SetFilter(3);
            m.FillList();
            m.m_List.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
            const int before = driver.nested;
            m.EditSelected();
            EXPECT_EQ(driver.nested, before);
            Click(d, 1042);
            EXPECT_EQ(m.m_List.GetItemCount(), systemCount - 1);
            m.SetFilter(1);
            m.FillList();
            m.m_List.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
            return IDOK;
        });
    driver.answer = IDYES; // the removal question
    driver.nestedAnswer = [](CDialog& d) -> int
    {
        d.SetDlgItemText(1022, L"#Added");
        static_cast<CParamSetDlg&>(d).m_cbParamType.SetCurSel(1);
        return IDOK;
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::vector<int> expected = {systemCount + 1, 1, 0, systemCount};
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(filterAfterAdd, 2);
    ASSERT_NE(ws.FindParamByName(L"#added"), nullptr);
    EXPECT_EQ(ws.FindParamByName(L"#added")->m_nKind, PARAM_KIND_GLOBAL);
    EXPECT_EQ(ws.GetParamObjects().GetCount(), systemCount + 2);
    EXPECT_EQ(dlg.m_strResult, CString(L"@speed"));
}

TEST_F(CProjectTest, ParameterManagerResizesByItsAnchorsDownToItsMinimumAndShowsTheKindImages)
{
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    ws.AddParam(new CParamObj(L"@speed", FO_VALUE::MakeInt(1), PARAM_KIND_RUNTIME));
    ws.AddParam(new CParamObj(L"#level", FO_VALUE::MakeDouble(2.5), PARAM_KIND_GLOBAL));
    CParamManager dlg(&ws);
    CDialogDriver driver(
        [&](CDialog& d) -> int
        {
            auto& m = static_cast<CParamManager&>(d);
            // One image a kind, from the list's image list.
            CImageList* kinds = m.m_List.GetImageList(LVSIL_SMALL);
            EXPECT_TRUE(kinds && kinds->GetImageCount() >= 12);
            std::map<CString, int> images;
            for (int i = 0; i < m.m_List.GetItemCount(); ++i)
                images[m.m_List.GetItemText(i, 0)] = m.m_List.GetItemImage(i);
            EXPECT_EQ(images[L"@speed"], 9);
            EXPECT_EQ(images[L"#level"], 10);
            EXPECT_EQ(images[L"$Year"], 11);
            EXPECT_TRUE(m.m_btnAdd.HasImage());
            EXPECT_TRUE(m.m_btnRemove.HasImage());
            EXPECT_EQ(d.GetWidget()->minimumSize(), QSize(400, 280));

            // The list follows both corners, Add and Remove the right edge, OK and Cancel the
            // bottom-right corner.
            auto rectOf = [&](int id)
            {
                CRect rc;
                d.GetDlgItem(id)->GetWindowRect(&rc);
                return rc;
            };
            const CRect list = rectOf(1043), add = rectOf(1041), ok = rectOf(IDOK);
            CRect outer, client, client2;
            d.GetWindowRect(&outer);
            d.GetClientRect(&client);
            d.MoveWindow(outer.left, outer.top, outer.Width() + 120, outer.Height() + 70);
            AfxPumpMessages();
            d.GetClientRect(&client2);
            const int dx = client2.Width() - client.Width(), dy = client2.Height() - client.Height();
            EXPECT_GE(dx, 120);
            EXPECT_GE(dy, 70);
            EXPECT_EQ(rectOf(1043).Width(), list.Width() + dx);
            EXPECT_EQ(rectOf(1043).Height(), list.Height() + dy);
            EXPECT_EQ(rectOf(1041).TopLeft(), add.TopLeft() + CPoint(dx, 0));
            EXPECT_EQ(rectOf(IDOK).TopLeft(), ok.TopLeft() + CPoint(dx, dy));
            EXPECT_EQ(rectOf(IDOK).Size(), ok.Size());
            SaveShot(&d, QYR_PARAM_MANAGER_PNG);
            return IDCANCEL;
        });
    dlg.DoModal();
    EXPECT_EQ(driver.nested, 1);
}

TEST_F(CProjectTest, BitmapListBoxSplitsRowsAndDrawsItsPictureTransparently)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Motor@motor.xdg", L"Motor                   motor.xdg"},
        {L"a@b@c", L"a@b                     c"},
        {L"@lead", L"@lead                   "},
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ@x", L"ABCDEFGHIJKLMNOPQRSTUVWXYZx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GWExtBmpListBox::RowText(c.text), CString(c.shown));

    MBScriptChooseDlg dlg;
    WriteFile(m_root / "p/XdgFiles/Main.xdg", "a");
    WriteFile(m_root / "p/XdgFiles/Pumps.xdg", "a");
    dlg.m_strProjectFolder = Root("p");
    dlg.m_bListScripts = FALSE;
    dlg.m_strValue = L"Pumps.xdg";
    CDialogDriver driver(
        [&](CDialog& d) -> int
        {
            auto& chooser = static_cast<MBScriptChooseDlg&>(d);
            chooser.m_List.AddString(L"Motor@Motor shape");
            AfxPumpMessages();
            EXPECT_GE(chooser.m_List.GetItemHeight(0), 10);
            QImage shot = chooser.m_List.GetWidget()->grab().toImage();
            EXPECT_TRUE(shot.save(QStringLiteral(QYR_BMPLIST_PNG)));
            // Row 0: white background, picture drawn without its magenta key colour.
            bool sawMagenta = false, sawPicture = false;
            RECT rc = {};
            chooser.m_List.GetItemRect(0, &rc);
            // The frame of the list box shifts the viewport by a few pixels.
            for (int y = rc.top; y < rc.bottom + 4 && y < shot.height(); ++y)
                for (int x = 0; x < 30 && x < shot.width(); ++x)
                {
                    const QRgb p = shot.pixel(x, y);
                    sawMagenta |= p == qRgb(255, 0, 255);
                    sawPicture |= p == qRgb(30, 90, 200);
                }
            EXPECT_FALSE(sawMagenta);
            EXPECT_TRUE(sawPicture);
            return IDCANCEL;
        });
    dlg.DoModal();
}
