// Script views in a real frame under the offscreen platform, driven by synthesized keys and mouse.
#pragma once

#include "BufferText.h"
#include "WndTestSupport.h"

#include "scripteditor/ScriptEditView.h"
#include "scripteditor/ScriptTextBuffer.h"

#include "mfc/FrameWnd.h"
#include "mfc/WinApp.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using wndtest::PumpUntil;

class CTestEditView : public CScriptEditView
{
public:
    CScriptTextBuffer* m_pBuf = nullptr;
    CScriptTextBuffer* LocateTextBuffer() override { return m_pBuf; }
    BOOL IsFocused() const { return m_bFocused; }
};

class ScriptViewTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Script"));
        m_pFrame->MoveWindow(0, 0, 900, 620);
        m_pFrame->ShowWindow(SW_SHOW);
        AfxPumpMessages();
    }
    void TearDown() override
    {
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        AfxPumpMessages();
    }

    CTestEditView* MakeView(CScriptTextBuffer& buf, const CRect& rc = CRect(0, 0, 880, 560))
    {
        auto* v = new CTestEditView;
        v->m_pBuf = &buf;
        EXPECT_TRUE(v->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rc, m_pFrame, 5000 + m_nViews++, nullptr));
        v->OnInitialUpdate();
        Focus(v);
        return v;
    }
    void Focus(CTestEditView* v)
    {
        QApplication::setActiveWindow(m_pFrame->GetWidget());
        v->SetFocus();
        AfxPumpMessages();
        if (!v->IsFocused())
            v->SendMessage(WM_SETFOCUS, 0, 0);
    }
    static void SetText(CScriptTextBuffer& buf, const std::wstring& text) { LoadText(buf, text); }
    static std::wstring Text(CScriptTextBuffer& b) { return BufferText(b); }
    static void Key(CWnd* v, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(v->GetWidget(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(v->GetWidget(), &release);
    }
    static void Type(CWnd* v, const QString& text)
    {
        for (QChar ch : text)
            Key(v, ch == u'\r' ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier, QString(ch));
    }
    static void Mouse(CWnd* v, QEvent::Type type, QPoint p, Qt::MouseButtons buttons = Qt::LeftButton,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* w = v->GetClientWidget();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, mods);
        QCoreApplication::sendEvent(w, &e);
    }
    // The client point of a text position's cell centre.
    static QPoint At(CScriptTextView* v, int ch, int line)
    {
        const CPoint p = v->TextToClient(CPoint(ch, line));
        return QPoint(p.x + 1, p.y + v->GetLineHeight() / 2);
    }

    // Buffers outlive the views, which go with the frame in TearDown.
    CScriptTextBuffer& NewBuffer()
    {
        m_buffers.push_back(std::make_unique<CScriptTextBuffer>());
        return *m_buffers.back();
    }

    std::vector<std::unique_ptr<CScriptTextBuffer>> m_buffers;
    CFrameWnd* m_pFrame = nullptr;
    int m_nViews = 0;
};
