// Inside platform/mfc only: the widget of a window with its own scroll bars, a client area with the
// two bars beside it. Plain child windows (AfxCreateScrollBarHost) and scroll views both use it.
#pragma once

#include "mfc/Wnd.h"

#include <QWidget>

class QScrollBar;

class CWndScrollHost : public QWidget
{
public:
    explicit CWndScrollHost(QWidget* parent);
    ~CWndScrollHost() override;

    // Each bar keeps the window's SCROLLINFO; the bar only moves where the window puts it.
    struct Bar
    {
        QScrollBar* bar = nullptr;
        SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        int line = 1;
        bool shown = true;
        bool alwaysShown = false;
    };
    QWidget* m_pClient;
    Bar m_bars[2];

    // Puts the bar where its SCROLLINFO says, and shows or hides it.
    void Apply(int nBar);
    void Relayout();

protected:
    // Its own paint events are Qt's (only the corner between the bars shows); the client area
    // paints as the window.
    bool event(QEvent* e) override;

private:
    // The user's moves of a bar reach the window as WM_HSCROLL / WM_VSCROLL.
    void Connect(int nBar);
};

// The host of a window's widget; null when the window has none.
CWndScrollHost* AfxScrollHostOf(const CWnd* pWnd);
