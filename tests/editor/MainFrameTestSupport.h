// The editor's main frame under a test application that plays the editor application's part.
#pragma once

#include "editor/EditorApp.h"
#include "editor/MainFrame.h"
#include "editor/PlexdraftDoc.h"
#include "editor/PlexdraftView.h"
#include "mfc/DocTemplate.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "model/WorkSpaceObj.h"
#include "support/AppWindowTest.h"
#include "support/ModalHook.h"

#include <QApplication>
#include <QMainWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#ifndef IDR_SCREENDOC
#define IDR_SCREENDOC 801
#endif

namespace frametest
{
class CFrameTestApp : public CWinApp, public IEditorApp
{
public:
    BOOL IsProjectOpen() override { return m_bProjectOpen; }
    BOOL IsOtherProject(LPCWSTR lpszPath) override
    {
        CString a = lpszPath, b = m_strFolder + m_strFile;
        a.Trim();
        b.Trim();
        a.MakeLower();
        b.MakeLower();
        return !m_bProjectOpen || a != b;
    }
    BOOL OpenProject(LPCWSTR lpszPath, BOOL) override
    {
        m_opened.Add(lpszPath);
        return m_bOpenSucceeds;
    }
    void WriteMainDat() override { ++m_nMainDatWrites; }
    BOOL SaveModifiedDocuments() override
    {
        ++m_nSaveModifiedCalls;
        return TRUE;
    }
    CWorkSpaceObj* GetWorkSpace() override { return &m_workspace; }
    CString GetProjectFolder() override { return m_strFolder; }
    CString GetProjectFileName() override { return m_strFile; }
    CStringArray* GetRecentProjects() override { return &m_recent; }
    CDocTemplate* GetScreenTemplate() override { return m_pScreenTemplate; }
    CString GetToolBoxFolder() override { return m_strToolBox; }

    BOOL m_bProjectOpen = FALSE;
    BOOL m_bOpenSucceeds = TRUE;
    CString m_strFolder;
    CString m_strFile;
    CString m_strToolBox;
    CStringArray m_recent;
    CStringArray m_opened;
    CWorkSpaceObj m_workspace;
    CDocTemplate* m_pScreenTemplate = nullptr;
    int m_nMainDatWrites = 0;
    int m_nSaveModifiedCalls = 0;
};

class CMainFrameTest : public CAppWindowTest
{
protected:
    CMainFrameTest() : CAppWindowTest("EditorTestRes", "qyrframe", IDNO) {}
    CWinApp& App() override { return m_app; }
    void SetUp() override
    {
        CAppWindowTest::SetUp();
        m_app.m_strToolBox = CString::FromUtf8(m_dir + "/Shapes/");
        m_app.m_pScreenTemplate = m_pTemplate =
            new CMultiDocTemplate(IDR_SCREENDOC, RUNTIME_CLASS(CQYRDrawDoc), RUNTIME_CLASS(CMDIChildWnd),
                                  RUNTIME_CLASS(CQYRDrawView));
        m_app.AddDocTemplate(m_pTemplate);
    }

    // The frame made as the application makes it, shown at a size of our choosing.
    CMainFrame* MakeFrame(int cx = 1280, int cy = 860)
    {
        m_pFrame = new CMainFrame;
        if (!m_pFrame->LoadFrame(IDR_MAINFRAME))
            return nullptr;
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->ShowWindow(SW_SHOW);
        if (auto* main = qobject_cast<QMainWindow*>(m_pFrame->GetWidget()))
        {
            main->showNormal();
            main->resize(cx, cy);
        }
        AfxPumpMessages();
        return m_pFrame;
    }

    // A project folder with a screen folder and the files given.
    void MakeProject(std::initializer_list<const char*> screens)
    {
        namespace fs = std::filesystem;
        fs::create_directories(m_dir + "/proj/XdgFiles");
        for (const char* name : screens)
            std::ofstream(m_dir + "/proj/XdgFiles/" + name) << "x";
        m_app.m_bProjectOpen = TRUE;
        m_app.m_strFolder = CString::FromUtf8(m_dir + "/proj/");
        m_app.m_strFile = L"plant.dcp";
    }

    CFrameTestApp m_app;
    CMainFrame* m_pFrame = nullptr;
    CMultiDocTemplate* m_pTemplate = nullptr;
};
} // namespace frametest
