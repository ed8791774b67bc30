// An MDI frame with the screen template, and mouse and command helpers for the design view.
#pragma once

#include "editor/DesignFrame.h"
#include "editor/MyExtDataModel.h"
#include "editor/PlexdraftDoc.h"
#include "editor/PlexdraftView.h"
#include "foundation/MyDrawWnd.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"
#include "mfc/DocTemplate.h"
#include "mfc/FrameWnd.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "support/AppWindowTest.h"
#include "support/ModalHook.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#define IDR_SCREENDOC 801
#define IDR_TESTMAIN 802
// The resource module of the test program that holds the two.
#ifndef QYR_TEST_RES_MODULE
#define QYR_TEST_RES_MODULE "EditorTestRes"
#endif

namespace editortest
{
// A main frame that offers the members the design view reads.
class CTestDesignFrame : public CMDIFrameWnd, public IDesignFrame
{
public:
    CStringArray undoTexts;
    CStringArray redoTexts;
    CStringArray* GetUndoTexts() override { return &undoTexts; }
    CStringArray* GetRedoTexts() override { return &redoTexts; }
};

// The application, with a project open or not as the test says.
class CTestEditorApp : public CWinApp, public IDesignProjectApp
{
public:
    BOOL projectLoaded = FALSE;
    CString projectFolder;
    BOOL IsProjectLoaded() const override { return projectLoaded; }
    CString GetProjectFolder() const override { return projectFolder; }
};

class CDesignTest : public CAppWindowTest
{
protected:
    CDesignTest() : CAppWindowTest(QYR_TEST_RES_MODULE, "qyreditor") {}
    CWinApp& App() override { return m_app; }
    void SetUp() override
    {
        CAppWindowTest::SetUp();
        m_pMain = new CTestDesignFrame;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_TESTMAIN));
        m_app.m_pMainWnd = m_pMain;
        m_pMain->MoveWindow(0, 0, 1000, 760);
        m_pMain->ShowWindow(SW_SHOW);
        m_pTemplate = new CMultiDocTemplate(IDR_SCREENDOC, RUNTIME_CLASS(CQYRDrawDoc),
                                            RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CQYRDrawView));
        m_app.AddDocTemplate(m_pTemplate);
    }

    CString Path(const std::string& name) const { return CString::FromUtf8(m_dir + "/" + name); }

    // A document opened (or made, with no path) through the template, and its view, made large.
    CQYRDrawView* Open(const CString* pPath = nullptr)
    {
        CDocument* doc = pPath ? m_app.OpenDocumentFile(*pPath) : m_pTemplate->OpenDocumentFile(nullptr);
        if (!doc)
            return nullptr;
        POSITION pos = doc->GetFirstViewPosition();
        auto* view = dynamic_cast<CQYRDrawView*>(doc->GetNextView(pos));
        if (view)
        {
            if (CFrameWnd* child = view->GetParentFrame())
                child->MoveWindow(0, 0, 900, 640);
            AfxPumpMessages();
        }
        return view;
    }

    static void Mouse(CView* view, QEvent::Type type, CPoint pt, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = view->GetClientWidget();
        const QPointF local(pt.x, pt.y);
        const Qt::MouseButton button = type == QEvent::MouseMove
                                           ? Qt::NoButton
                                           : ((buttons & Qt::RightButton) ? Qt::RightButton : Qt::LeftButton);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, mods);
        QApplication::sendEvent(w, &e);
    }
    // A press, moves in steps and a release of the left button, in client pixels.
    static void Drag(CView* view, CPoint from, CPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, mods);
        for (int i = 1; i <= 4; ++i)
        {
            const CPoint p(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4);
            Mouse(view, QEvent::MouseMove, p, Qt::LeftButton, mods);
        }
        Mouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton, mods);
    }
    static void Click(CView* view, CPoint pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(view, QEvent::MouseButtonPress, pt, Qt::LeftButton, mods);
        Mouse(view, QEvent::MouseButtonRelease, pt, Qt::NoButton, mods);
    }
    static void Command(CWnd* view, UINT nID) { view->SendMessage(WM_COMMAND, nID, 0); }

    CTestEditorApp m_app;
    CTestDesignFrame* m_pMain = nullptr;
    CMultiDocTemplate* m_pTemplate = nullptr;
};
} // namespace editortest
