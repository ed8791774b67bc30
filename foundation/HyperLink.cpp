#include "foundation/HyperLink.h"

#include "mfc/ModalHook.h"
#include "mfc/SysColor.h"
#include "win32/Registry.h"
#include "win32/Shell.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

namespace
{
// The link's widget events: clicks, hover and the keyboard's activation.
class CHyperLinkEvents : public QObject
{
public:
    explicit CHyperLinkEvents(HWND hWnd) : m_hWnd(hWnd) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        auto* link = dynamic_cast<CFOHyperLink*>(CWnd::FromHandlePermanent(m_hWnd));
        auto* w = qobject_cast<QWidget*>(watched);
        if (!link || !w)
            return false;
        switch (e->type())
        {
        case QEvent::MouseButtonRelease:
        {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint()))
                link->OnClicked();
            break;
        }
        case QEvent::MouseMove:
        {
            const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
            link->OnMouseMove(0, CPoint(p.x(), p.y()));
            break;
        }
        case QEvent::Enter:
            link->OnMouseMove(0, CPoint(0, 0));
            break;
        case QEvent::Leave:
            link->OnMouseMove(0, CPoint(-1, -1));
            break;
        case QEvent::KeyPress:
        {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
            {
                link->OnClicked();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    HWND m_hWnd;
};

QString ToQt(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}
} // namespace

IMPLEMENT_DYNAMIC(CFOHyperLink, CStatic)

CFOHyperLink::CFOHyperLink()
    : m_crLinkColour(RGB(0, 0, 238)), m_crVisitedColour(RGB(85, 26, 139)),
      m_crHoverColour(GetSysColor(COLOR_HIGHLIGHT))
{
}

CFOHyperLink::~CFOHyperLink()
{
    if (QWidget* w = m_hWnd ? GetWidget() : nullptr; w && m_pEvents)
        w->removeEventFilter(m_pEvents.get());
}

void CFOHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_strURL.IsEmpty())
        m_strURL = text;
    if (text.IsEmpty())
        SetWindowText(m_strURL);
    MakeFont();
    PositionWindow();
    SetDefaultCursor();
    m_strToolTip = m_strURL;
    if (QWidget* w = GetWidget())
    {
        w->setToolTip(ToQt(m_strToolTip));
        w->setMouseTracking(true);
        if (w->focusPolicy() == Qt::NoFocus && (GetStyle() & WS_TABSTOP))
            w->setFocusPolicy(Qt::TabFocus);
        m_pEvents = std::make_unique<CHyperLinkEvents>(m_hWnd);
        w->installEventFilter(m_pEvents.get());
    }
    ApplyLook();
}

BOOL CFOHyperLink::PreTranslateMessage(MSG* pMsg)
{
    // The tooltip is the widget's own and follows the mouse without being told.
    return CStatic::PreTranslateMessage(pMsg);
}

void CFOHyperLink::MakeFont()
{
    LOGFONT lf{};
    CFont* pFont = GetFont();
    if (!pFont || !pFont->GetLogFont(&lf))
    {
        const QFont f = GetWidget() ? GetWidget()->font() : QApplication::font();
        CFont base;
        base.CreatePointFont(int(f.pointSizeF() * 10), QString(f.family()).toStdWString().c_str());
        base.GetLogFont(&lf);
    }
    lf.lfUnderline = BYTE(m_bUnderline ? 1 : 0);
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(&lf);
    SetFont(&m_Font);
}

COLORREF CFOHyperLink::GetTextColor() const
{
    if (m_bOverControl)
        return m_crHoverColour;
    return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

void CFOHyperLink::ApplyLook()
{
    QWidget* w = m_hWnd ? GetWidget() : nullptr;
    if (!w)
        return;
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, AfxColorFromRef(GetTextColor()));
    w->setPalette(palette);
    w->setAutoFillBackground(false);
    w->update();
}

void CFOHyperLink::SetURL(CString strURL)
{
    m_strURL = strURL;
    if (m_hWnd)
    {
        PositionWindow();
        m_strToolTip = m_strURL;
        if (QWidget* w = GetWidget())
            w->setToolTip(ToQt(m_strToolTip));
    }
}

CString CFOHyperLink::GetURL() const
{
    return m_strURL;
}

void CFOHyperLink::SetColors(COLORREF crLinkColour, COLORREF crVisitedColour, COLORREF crHoverColour)
{
    m_crLinkColour = crLinkColour;
    m_crVisitedColour = crVisitedColour;
    m_crHoverColour = crHoverColour == 0xFFFFFFFF ? GetSysColor(COLOR_HIGHLIGHT) : crHoverColour;
    ApplyLook();
}

COLORREF CFOHyperLink::GetLinkColor() const
{
    return m_crLinkColour;
}

COLORREF CFOHyperLink::GetVisitedColor() const
{
    return m_crVisitedColour;
}

COLORREF CFOHyperLink::GetHoverColor() const
{
    return m_crHoverColour;
}

void CFOHyperLink::SetVisited(BOOL bVisited)
{
    m_bVisited = bVisited;
    ApplyLook();
}

BOOL CFOHyperLink::GetVisited() const
{
    return m_bVisited;
}

void CFOHyperLink::SetLinkCursor(HCURSOR hCursor)
{
    m_hLinkCursor = hCursor;
    if (!m_hLinkCursor)
        SetDefaultCursor();
}

HCURSOR CFOHyperLink::GetLinkCursor() const
{
    return m_hLinkCursor;
}

void CFOHyperLink::SetUnderline(BOOL bUnderline)
{
    m_bUnderline = bUnderline;
    if (m_hWnd)
    {
        MakeFont();
        PositionWindow();
        ApplyLook();
    }
}

BOOL CFOHyperLink::GetUnderline() const
{
    return m_bUnderline;
}

void CFOHyperLink::SetAutoSize(BOOL bAutoSize)
{
    m_bAdjustToFit = bAutoSize;
    if (m_hWnd)
        PositionWindow();
}

BOOL CFOHyperLink::GetAutoSize() const
{
    return m_bAdjustToFit;
}

void CFOHyperLink::SetDefaultCursor()
{
    // The system's hand stands for the help program's link cursor.
    if (!m_hLinkCursor)
        m_hLinkCursor = LoadCursor(nullptr, IDC_HAND);
    if (QWidget* w = m_hWnd ? GetWidget() : nullptr)
    {
        if (m_hLinkCursor)
            w->setCursor(Qt::PointingHandCursor);
        else
            w->unsetCursor();
    }
}

void CFOHyperLink::PositionWindow()
{
    if (!m_hWnd || !m_bAdjustToFit)
        return;
    CString text;
    GetWindowText(text);
    const QFontMetrics metrics(m_Font.GetSafeHandle() ? m_Font.ToQFont() : QApplication::font());
    const int cx = metrics.horizontalAdvance(ToQt(text));
    const int cy = metrics.height();
    CRect rc;
    GetWindowRect(&rc);
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&rc);
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE)
    {
        const int mid = (rc.top + rc.bottom) / 2;
        rc.top = mid - cy / 2;
    }
    rc.bottom = rc.top + cy;
    if (style & SS_CENTER)
    {
        const int mid = (rc.left + rc.right) / 2;
        rc.left = mid - cx / 2;
        rc.right = rc.left + cx;
    }
    else if (style & SS_RIGHT)
        rc.left = rc.right - cx;
    else
        rc.right = rc.left + cx;
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER);
}

void CFOHyperLink::OnMouseMove(UINT, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    if (!m_bOverControl)
    {
        if (!rc.PtInRect(point))
            return;
        m_bOverControl = TRUE;
        ApplyLook();
        if (QWidget* w = GetWidget())
            w->repaint();
    }
    else if (!rc.PtInRect(point))
    {
        m_bOverControl = FALSE;
        ApplyLook();
        if (QWidget* w = GetWidget())
            w->repaint();
    }
}

void CFOHyperLink::OnClicked()
{
    const HINSTANCE result = GotoURL(m_strURL, SW_SHOW);
    const intptr_t code = reinterpret_cast<intptr_t>(result);
    if (code > 32)
        SetVisited();
    else
    {
        QApplication::beep();
        ReportError(int(code));
    }
}

HINSTANCE CFOHyperLink::GotoURL(LPCWSTR url, int showcmd)
{
    HINSTANCE result = ShellExecute(nullptr, L"open", url, nullptr, nullptr, showcmd);
    if (reinterpret_cast<intptr_t>(result) > 32)
        return result;
    // The browser the registry names for web pages; its command line is cut before "%1" and the
    // address is handed to it as one argument, never spliced into a command line.
    wchar_t key[MAX_PATH + MAX_PATH];
    if (GetRegKey(HKEY_CLASSES_ROOT, L".htm", key) != ERROR_SUCCESS)
        return result;
    std::wstring sub(key);
    sub += L"\\shell\\open\\command";
    if (GetRegKey(HKEY_CLASSES_ROOT, sub.c_str(), key) != ERROR_SUCCESS)
        return result;
    std::wstring command(key);
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos)
        cut = command.find(L"%1");
    if (cut != std::wstring::npos)
        command.resize(cut);
    std::vector<std::wstring> words = Win32SplitCommandLine(command);
    if (words.empty())
        return reinterpret_cast<HINSTANCE>(intptr_t(0));
    const std::wstring program = words.front();
    words.erase(words.begin());
    words.emplace_back(url ? url : L"");
    return reinterpret_cast<HINSTANCE>(intptr_t(Win32StartProcess(program, words) ? 33 : 0));
}

LONG CFOHyperLink::GetRegKey(HKEY key, LPCWSTR subkey, LPWSTR retdata)
{
    HKEY hkey = nullptr;
    LONG retval = RegOpenKeyExW(key, subkey, 0, KEY_QUERY_VALUE, &hkey);
    if (retval != ERROR_SUCCESS)
        return retval;
    wchar_t data[MAX_PATH] = {};
    DWORD size = DWORD((MAX_PATH - 1) * sizeof(wchar_t));
    DWORD type = 0;
    retval = RegQueryValueExW(hkey, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(data), &size);
    if (retval == ERROR_SUCCESS)
    {
        data[MAX_PATH - 1] = L'\0';
        wcsncpy(retdata, data, MAX_PATH);
        retdata[MAX_PATH - 1] = L'\0';
    }
    RegCloseKey(hkey);
    return retval;
}

CString CFOHyperLink::ErrorText(int nError)
{
    switch (nError)
    {
    case 0:
        return L"The operating system is out\nof memory or resources.";
    case 2:
        return L"The specified file was not found.";
    case 3:
        return L"The specified path was not found.";
    case 5:
        return L"The operating system denied\naccess to the specified file.";
    case 8:
        return L"There was not enough memory to complete the operation.";
    case 11:
        return L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return L"A sharing violation occurred. ";
    case 27:
        return L"The filename association is\nincomplete or invalid.";
    case 28:
        return L"The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return L"The DDE transaction failed.";
    case 30:
        return L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
               L"processed.";
    case 31:
        return L"There is no application associated\nwith the given filename extension.";
    case 32:
        return L"The specified dynamic-link library was not found.";
    default:
    {
        CString text;
        text.Format(L"Unknown Error (%d) occurred.", nError);
        return text;
    }
    }
}

void CFOHyperLink::ReportError(int nError)
{
    AfxMessageBox(L"Unable to open hyperlink:\n\n" + ErrorText(nError), MB_ICONEXCLAMATION);
}
