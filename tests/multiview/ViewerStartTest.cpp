// The viewer's start-up: its command-line switches (plain, project argument, Embedding, Register,
// Unregister with and without "silent"), its automation identity in the registry store, the frame
// record it hands to the shared library, and the look kept in "ApplicationLook".
#include "ViewerTestSupport.h"

#include "com/AutomationRegistry.h"
#include "mfc/CmdUI.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "support/FreshRegistry.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

using namespace viewer_test;

namespace
{
const wchar_t* const kClassKey = L"CLSID\\{9D4F32F7-55DC-4D35-97D7-9BF4105B8AA6}";
const wchar_t* const kLibKey = L"TypeLib\\{5632F61E-6FBB-4273-8A88-80DF51076F6D}\\1.0";

bool Registered()
{
    return QyrReadClassesValue((std::wstring(kClassKey) + L"\\ProgID").c_str()) == L"XVKMView.Document" &&
           QyrReadClassesValue(L"XVKMView.Document\\CLSID") == L"{9D4F32F7-55DC-4D35-97D7-9BF4105B8AA6}" &&
           QyrReadClassesValue(kLibKey) == L"QYRMView" &&
           QyrReadClassesValue(L"Interface\\{BE6A8C58-D1D6-452A-96B9-A8997BFC4640}") == L"IQYRMView";
}

struct StartCase
{
    const char* name;
    std::vector<std::string> args;
    bool preRegistered;
    BOOL result;
    bool frameShown;
    bool templateCalled;
    bool registeredAfter;
    std::vector<std::wstring> messages; // each expected message contains this text
};
} // namespace

TEST(ViewerStart, TheSwitchTable)
{
    const StartCase cases[] = {
        {"plain", {}, false, TRUE, true, true, true, {}},
        {"project argument", {"@project"}, false, TRUE, true, true, true, {}},
        {"missing project",
         {"/nowhere/none.dcp"},
         false,
         FALSE,
         false,
         false,
         false,
         {L"Project file missing"}},
        {"embedding", {"-Embedding"}, false, TRUE, false, false, false, {}},
        {"embedding, missing project",
         {"/nowhere/none.dcp", "-Embedding"},
         false,
         FALSE,
         false,
         false,
         false,
         {L"Project file missing"}},
        {"automation", {"/Automation"}, false, TRUE, false, false, false, {}},
        // Registration runs without project or instance check: a bad project does not matter.
        {"register",
         {"/Register", "/nowhere/none.dcp"},
         false,
         FALSE,
         false,
         false,
         true,
         {L"The program was registered."}},
        {"unregister",
         {"/Unregister"},
         true,
         FALSE,
         false,
         false,
         false,
         {L"The program's registration was removed."}},
        {"unregister silent", {"/Unregister", "-silent"}, true, FALSE, false, false, false, {}},
    };
    for (const StartCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CTestDir dir;
        CFreshRegistry registry(dir);
        InstallRoot root;
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            if (a == "@project")
                a = (root.root + "/Demo/demo/demo.dcp").toStdString();
        if (c.preRegistered)
        {
            ViewerApp first(root, {});
            ASSERT_TRUE(first.Start());
            ASSERT_TRUE(Registered());
        }
        MessageLog log;
        ViewerApp viewer(root, args);
        EXPECT_EQ(viewer.Start(), c.result);
        CMainFrame* frame = MainFrame(viewer);
        EXPECT_EQ(frame && frame->IsWindowVisible(), c.frameShown);
        EXPECT_EQ(viewer.app.m_nTemplateCalls > 0, c.templateCalled);
        EXPECT_EQ(Registered(), c.registeredAfter);
        ASSERT_EQ(log.texts.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_NE(log.texts[i].str().find(c.messages[i]), std::wstring::npos) << log.texts[i].ToUtf8();
        if (c.args == std::vector<std::string>{"@project"})
        {
            // The argument only named the project: it was never opened as a document.
            EXPECT_EQ(viewer.app.m_strProjectFile, CString(L"demo.dcp"));
            CDocTemplate* tmpl = viewer.app.GetDocTemplate();
            ASSERT_NE(tmpl, nullptr);
            for (POSITION pos = tmpl->GetFirstDocPosition(); pos;)
                EXPECT_TRUE(tmpl->GetNextDoc(pos)->GetPathName().IsEmpty());
        }
    }
}

TEST(ViewerStart, TheFrameRecordNamesTheBarsAndLeavesTheNeverCreatedPanesNull)
{
    InstallRoot root;
    ViewerApp viewer(root, {});
    ASSERT_TRUE(viewer.Start());
    CMainFrame* frame = MainFrame(viewer);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(viewer.app.m_nTemplateCalls, 1);
    EXPECT_EQ(viewer.app.m_pFrameGiven, frame);
    const tagFRAMEINFO& info = viewer.app.m_info;
    static_assert(sizeof(tagFRAMEINFO) == 10 * sizeof(HWND), "ten handle-sized members");
    EXPECT_EQ(info.hReserved, nullptr);
    EXPECT_EQ(info.hMenuBar, frame->GetMenuBar().GetSafeHwnd());
    EXPECT_EQ(info.hToolBar, frame->GetToolBar().GetSafeHwnd());
    EXPECT_EQ(info.hStatusBar, frame->GetStatusBar().GetSafeHwnd());
    EXPECT_EQ(info.hFileViewTree, frame->GetFileView().GetTree().GetSafeHwnd());
    EXPECT_EQ(info.hCaptionBar, frame->GetCaptionBar().GetSafeHwnd());
    for (HWND h : {info.hMenuBar, info.hToolBar, info.hStatusBar, info.hFileViewTree, info.hCaptionBar})
        EXPECT_NE(h, nullptr);
    for (HWND h : {info.hClassViewTree, info.hOutputBuild, info.hOutputDebug, info.hOutputFind})
        EXPECT_EQ(h, nullptr);

    // The bars as the frame made them.
    EXPECT_EQ(frame->GetStatusBar().GetCount(), 4);
    EXPECT_EQ(frame->GetStatusBar().GetItemID(1), UINT(ID_INDICATOR_CAPS));
    EXPECT_EQ(frame->GetToolBar().GetCustomizeCommand(), 126u);
    EXPECT_EQ(frame->GetToolBar().GetCustomizeText(), CString(L"사용자 지정..."));
    CString name;
    frame->GetToolBar().GetWindowText(name);
    EXPECT_EQ(name, CString(L"표준"));
    EXPECT_FALSE(frame->GetFileView().CanBeClosed());
    EXPECT_TRUE(frame->AreMDITabs());
    EXPECT_EQ(frame->GetWindowsDialogCommand(), 131u);
    EXPECT_EQ(frame->GetCaptionBar().GetText(),
              CString(L"사용자에게 메시지를 표시할 수 있는 캡션 표시줄입니다."));
    EXPECT_TRUE(frame->GetCaptionBar().IsMessageBarMode());
    EXPECT_NE(CMFCToolBar::GetCommandImage(57600), nullptr) << "menu pictures collected";
    EXPECT_EQ(CMFCToolBar::GetCommandImage(57665), nullptr);
    std::vector<CString> menus;
    viewer.app.GetContextMenuManager()->GetMenuNames(menus);
    EXPECT_EQ(menus, (std::vector<CString>{L"탐색기", L"편집"}));

    // A user toolbar made through the frame gets the customise button.
    CMFCToolBar* user = frame->CreateNewToolBar(L"Mine");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(UINT(user->GetDlgCtrlID()), 0xE828u);
    EXPECT_EQ(user->GetCustomizeCommand(), 126u);
}

TEST(ViewerStart, ApplicationLookIsKept)
{
    struct LookCase
    {
        int stored; // 0: none
        UINT inForce;
    };
    const LookCase cases[] = {{0, 214},   {216, 216}, {210, 210}, {218, 218},
                              {209, 214}, {219, 214}, {-5, 214}};
    for (const LookCase& c : cases)
    {
        SCOPED_TRACE(c.stored);
        CTestDir dir;
        CFreshRegistry registry(dir);
        InstallRoot root;
        ViewerApp viewer(root, {});
        if (c.stored)
        {
            viewer.app.SetRegistryKey(L"Quendrel");
            viewer.app.WriteProfileInt(L"Workspace", L"ApplicationLook", c.stored);
        }
        ASSERT_TRUE(viewer.Start());
        EXPECT_EQ(viewer.app.m_nAppLook, c.inForce);
    }

    // A look command is kept for the next start, with its radio mark.
    CTestDir dir;
    CFreshRegistry registry(dir);
    InstallRoot root;
    {
        ViewerApp viewer(root, {});
        ASSERT_TRUE(viewer.Start());
        CMainFrame* frame = MainFrame(viewer);
        frame->SendMessage(WM_COMMAND, 211, 0);
        EXPECT_EQ(viewer.app.m_nAppLook, 211u);
        struct CRadio : CCmdUI
        {
            BOOL on = FALSE;
            void SetRadio(BOOL b) override { on = b; }
        } radio211, radio214;
        radio211.m_nID = 211;
        radio214.m_nID = 214;
        radio211.DoUpdate(frame, FALSE);
        radio214.DoUpdate(frame, FALSE);
        EXPECT_TRUE(radio211.on);
        EXPECT_FALSE(radio214.on);
    }
    ViewerApp again(root, {});
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.app.m_nAppLook, 211u);
}
