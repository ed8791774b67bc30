#include "foundation/ProgressWnd.h"

#include "mfc/AnimateCtrl.h"
#include "mfc/ButtonCtl.h"
#include "mfc/Dc.h"
#include "mfc/SysColor.h"

#include <QImage>

#include <algorithm>
#include <climits>

namespace
{
CString& SharedCancelText()
{
    static CString text = L"Cancel";
    return text;
}
// Caption and sizing-frame metrics of the window frame.
constexpr int kCaptionHeight = 22;
constexpr int kFrameWidth = 4;
constexpr int kFrameHeight = 4;
} // namespace

BEGIN_MESSAGE_MAP(CProgressWnd, CFrameWnd)
ON_WM_PAINT()
ON_WM_CREATE()
ON_WM_DESTROY()
ON_BN_CLICKED(IDCANCEL, &CProgressWnd::OnCancel)
END_MESSAGE_MAP()

CProgressWnd::CProgressWnd()
{
    m_nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_nWidth = std::max(200, m_nScreenWidth / 4);
}

CProgressWnd::~CProgressWnd()
{
    Hide();
}

const CString& CProgressWnd::GetCancelText()
{
    return SharedCancelText();
}

void CProgressWnd::Show(CWnd* pParent)
{
    if (m_bExists)
        return;
    m_pParent = pParent;
    m_bCancelled = FALSE;
    if (!Create(nullptr, m_strTitle, WS_CAPTION, CRect(0, 0, 100, 100), nullptr))
        return;
    m_bExists = TRUE;
    SetWindowPos(reinterpret_cast<const CWnd*>(HWND_TOPMOST), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    LOGFONT lf;
    if (CGdiObject* stock = CDC::GetStockObject(ANSI_VAR_FONT))
        if (static_cast<CFont*>(stock)->GetLogFont(&lf))
            m_font.CreateFontIndirect(&lf);
    CalculateSizes();
    ResetProgress();
    ShowWindow(SW_SHOWNORMAL);
    RestartAnimation();
    if (m_bCanCancel && m_pCancel)
        m_pCancel->SetFocus();
}

void CProgressWnd::Hide()
{
    if (m_bExists)
        DestroyWindow();
    m_bExists = FALSE;
}

BOOL CProgressWnd::IsShowing() const
{
    return m_bExists && GetSafeHwnd() != nullptr;
}

void CProgressWnd::SetTitle(const CString& title)
{
    m_strTitle = title;
    if (IsShowing())
        SetWindowText(title);
}

void CProgressWnd::SetMessage(const CString& message, BOOL bRecalc)
{
    m_strMessage = message;
    if (!IsShowing())
        return;
    if (bRecalc)
        CalculateSizes();
    Invalidate(TRUE);
    RestartAnimation();
}

void CProgressWnd::SetFullScale(UINT nScale)
{
    m_nFullScale = nScale;
    if (IsShowing())
    {
        ClearBar();
        DrawBar(TRUE);
    }
}

void CProgressWnd::ResetProgress()
{
    m_nValue = 0;
    if (IsShowing())
        ClearBar();
}

void CProgressWnd::UpdateProgress(UINT nDelta)
{
    const unsigned long long v = static_cast<unsigned long long>(m_nValue) + nDelta;
    // A full scale of 0 fills the whole bar at the first step.
    m_nValue = UINT(std::min<unsigned long long>(v, m_nFullScale ? m_nFullScale : UINT_MAX));
    DrawBar(FALSE);
}

int CProgressWnd::GetCurrentPercentScale() const
{
    if (!IsShowing() || m_nFullScale == 0)
        return -1;
    return int(static_cast<unsigned long long>(m_nValue) * 100 / m_nFullScale);
}

void CProgressWnd::SetCanCancelFlag(BOOL bCanCancel)
{
    if (!IsShowing())
        m_bCanCancel = bCanCancel;
}

void CProgressWnd::SetBarStyle(int nStyle)
{
    if (!IsShowing() && nStyle >= 0 && nStyle <= 2)
        m_nBarStyle = nStyle;
}

void CProgressWnd::SetAnimationFile(const CString& name)
{
    if (!IsShowing())
        m_strAnimation = name;
}

BOOL CProgressWnd::WasCancelled()
{
    const BOOL was = m_bCancelled;
    if (!IsShowing())
        m_bCancelled = FALSE;
    return was;
}

void CProgressWnd::SetWidth(int nPixels)
{
    m_nWidth = nPixels == -1 ? std::max(200, m_nScreenWidth / 4) : nPixels;
    Relayout();
}

void CProgressWnd::Relayout()
{
    if (!IsShowing())
        return;
    CalculateSizes();
    ClearBar();
    DrawBar(TRUE);
    RestartAnimation();
}

void CProgressWnd::SetFillColour(COLORREF cr)
{
    m_crFill = cr;
    if (!IsShowing())
        return;
    ClearBar();
    DrawBar(TRUE);
}

void CProgressWnd::SetCancelText(const CString& text)
{
    SharedCancelText() = text;
    Relayout();
}

BOOL CProgressWnd::PreTranslateMessage(MSG* pMsg)
{
    // Enter and Escape reach the Cancel button as they would in a dialog.
    if (IsDialogMessage(pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CProgressWnd::CalculateSizes()
{
    // Text is measured on a scratch image in the window's font.
    QImage scratch(1, 1, QImage::Format_RGB32);
    CImageDC dc(scratch);
    CFont* old = m_font.GetSafeHandle() ? dc.SelectObject(&m_font) : nullptr;
    const CSize label = dc.GetTextExtent(SharedCancelText());
    const int right = m_nWidth - 8 - 2 * kFrameWidth;
    m_rcMessage = CRect(8, 8, right, 8);
    if (m_strAnimation.IsEmpty())
        m_pAnimation.reset();
    else
    {
        if (!m_pAnimation)
        {
            m_pAnimation = std::make_unique<CAnimateCtrl>();
            m_pAnimation->Create(WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT, CRect(8, 8, 24, 24), this, 9999);
        }
        else
            m_pAnimation->Close();
        m_pAnimation->Open(m_strAnimation);
        m_rcMessage.left += 16 + 8;
    }
    CRect calc = m_rcMessage;
    if (!m_strMessage.IsEmpty())
        dc.DrawText(m_strMessage, &calc, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    m_rcMessage.bottom = calc.bottom;
    if (m_pAnimation)
        m_rcMessage.bottom = std::max<LONG>(m_rcMessage.bottom, 24);
    m_rcBar.top = m_rcMessage.bottom - m_rcMessage.top + 16;
    m_rcBar.bottom = m_rcBar.top + label.cy;
    m_rcBar.left = 8;
    m_rcBar.right = right;
    int height = kCaptionHeight + 2 * kFrameHeight + m_rcBar.bottom + 8;
    if (m_bCanCancel)
        height += 16 + label.cy;
    const int inner = m_nWidth - 2 * kFrameWidth;
    const int x = (inner - label.cx - 16) / 2;
    const CRect button(x, m_rcBar.bottom + 8, inner - x, m_rcBar.bottom + 16 + label.cy);
    if (old)
        dc.SelectObject(old);
    CRect centre;
    if (m_pParent && m_pParent->GetSafeHwnd())
        m_pParent->GetWindowRect(&centre);
    else
        centre = CRect(0, 0, m_nScreenWidth, m_nScreenHeight);
    if (!IsWindowVisible())
        MoveWindow(centre.CenterPoint().x - m_nWidth / 2, centre.CenterPoint().y - height / 2, m_nWidth,
                   height);
    else
    {
        CRect now;
        GetWindowRect(&now);
        MoveWindow(now.CenterPoint().x - m_nWidth / 2, now.CenterPoint().y - height / 2, m_nWidth, height);
    }
    if (m_bCanCancel)
    {
        if (!m_pCancel)
        {
            m_pCancel = std::make_unique<CButton>();
            m_pCancel->Create(SharedCancelText(), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, button, this,
                              IDCANCEL);
        }
        else
        {
            m_pCancel->SetWindowText(SharedCancelText());
            m_pCancel->MoveWindow(&button);
        }
    }
    else
        m_pCancel.reset();
}

void CProgressWnd::RestartAnimation()
{
    if (m_pAnimation && m_pAnimation->GetSafeHwnd())
        m_pAnimation->Play(0, UINT(-1), UINT(-1));
}

void CProgressWnd::OnPaint()
{
    CPaintDC dc(this);
    CFont* old = m_font.GetSafeHandle() ? dc.SelectObject(&m_font) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    CRect msg = m_rcMessage;
    msg.bottom = std::max(msg.bottom, msg.top + 1);
    dc.DrawText(m_strMessage, &msg, DT_WORDBREAK | DT_NOPREFIX);
    if (old)
        dc.SelectObject(old);
    CRect rc = m_rcBar;
    rc.InflateRect(2, 2);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    if (m_nBarStyle == 0)
    {
        rc.DeflateRect(1, 1);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CPen* oldPen = dc.SelectObject(&pen);
        CBrush* oldBrush = static_cast<CBrush*>(dc.SelectStockObject(NULL_BRUSH));
        dc.Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
    }
    else
    {
        const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
        const COLORREF light = GetSysColor(COLOR_3DLIGHT);
        const COLORREF topLeft = m_nBarStyle == 1 ? dark : light;
        const COLORREF bottomRight = m_nBarStyle == 1 ? light : dark;
        dc.Draw3dRect(&rc, topLeft, bottomRight);
        rc.DeflateRect(1, 1);
        dc.Draw3dRect(&rc, topLeft, bottomRight);
        rc.DeflateRect(1, 1);
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
    }
    if (m_nValue > 0 && m_nLastBarWidth > 0)
    {
        const COLORREF colour = m_crFill == 0xFFFFFFFF ? GetSysColor(COLOR_HIGHLIGHT) : m_crFill;
        dc.FillSolidRect(m_rcBar.left, m_rcBar.top, m_nLastBarWidth, m_rcBar.Height(), colour);
    }
}

void CProgressWnd::DrawBar(BOOL bForce)
{
    if (!IsShowing())
        return;
    const int width = m_rcBar.Width();
    int fill = m_nFullScale == 0 ? width : int(static_cast<long long>(width) * m_nValue / m_nFullScale);
    // The window paints in its paint event: a change of the filled width asks for one.
    CRect bar = m_rcBar;
    bar.InflateRect(0, 0, 1, 1);
    if (m_nValue == 0)
    {
        m_nLastBarWidth = 0;
        InvalidateRect(&bar, FALSE);
        return;
    }
    if (fill == 0 || (fill == m_nLastBarWidth && !bForce))
        return;
    m_nLastBarWidth = fill;
    ++m_nBarDraws;
    InvalidateRect(&bar, FALSE);
}

void CProgressWnd::ClearBar()
{
    m_nLastBarWidth = 0;
    if (IsShowing())
        InvalidateRect(&m_rcBar, FALSE);
}

int CProgressWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    const int result = CFrameWnd::OnCreate(lpcs);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    return result;
}

void CProgressWnd::OnDestroy()
{
    m_font.DeleteObject();
    CFrameWnd::OnDestroy();
    m_pCancel.reset();
    if (m_pAnimation)
    {
        m_pAnimation->Close();
        m_pAnimation.reset();
    }
    m_bExists = FALSE;
}

void CProgressWnd::OnCancel()
{
    if (!m_bCanCancel)
        return;
    m_bCancelled = TRUE;
    if (m_pParent && m_pParent->GetSafeHwnd() && m_nCancelMessage > 0)
        m_pParent->PostMessage(m_nCancelMessage, 0, 0);
}
