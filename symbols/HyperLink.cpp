#include "symbols/HyperLink.h"

#include "mfc/ControlRegistry.h"
#include "symbols/LinkOpener.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace
{
class CHyperLinkLabel : public QLabel
{
public:
    CHyperLinkLabel(const CString& strText, QWidget* pParent) : QLabel(pParent)
    {
        setTextFormat(Qt::PlainText);
        SetText(strText);
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setForegroundRole(QPalette::Link);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }

    void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
    void SetText(const CString& strText) { setText(QString::fromWCharArray(strText.GetString())); }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            Activate();
        QLabel::mouseReleaseEvent(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            Activate();
        else
            QLabel::keyPressEvent(e);
    }

private:
    void Activate()
    {
        if (auto* link = dynamic_cast<CFOHyperLink*>(CWnd::FromHandlePermanent(m_hWnd)))
            if (link->GotoURL())
                setForegroundRole(QPalette::LinkVisited);
    }

    HWND m_hWnd = nullptr;
};

AFX_CONTROL_CLASS HyperLinkClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = FOHYPERLINK_CLASSW;
    cls.pfnCreate = [](const CString& strText, DWORD, QWidget* pParent) -> QWidget*
    { return new CHyperLinkLabel(strText, pParent); };
    cls.pfnConnect = [](HWND hWnd, QWidget* pWidget)
    {
        if (auto* label = dynamic_cast<CHyperLinkLabel*>(pWidget))
            label->SetHandle(hWnd);
    };
    cls.pfnSetText = [](QWidget* pWidget, const CString& strText)
    {
        if (auto* label = dynamic_cast<CHyperLinkLabel*>(pWidget))
            label->SetText(strText);
    };
    cls.pfnNewObject = &AfxNewControlObject<CFOHyperLink>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(HyperLinkClass());
} // namespace

IMPLEMENT_DYNAMIC(CFOHyperLink, CWnd)

BOOL CFOHyperLink::Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(FOHYPERLINK_CLASSW, lpszText, dwStyle, rect, pParentWnd, nID);
}

CString CFOHyperLink::GetURL() const
{
    if (!m_strURL.IsEmpty())
        return m_strURL;
    CString text;
    GetWindowText(text);
    return text;
}

BOOL CFOHyperLink::GotoURL()
{
    const CString url = GetURL();
    if (!OpenLinkInBrowser(url, SW_SHOW))
        return FALSE;
    m_bVisited = TRUE;
    return TRUE;
}
