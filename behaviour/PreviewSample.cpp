#include "behaviour/PreviewSample.h"

#include "figkit/FODrawShape.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"

IMPLEMENT_DYNAMIC(CPreviewSample, CWnd)

CPreviewSample::~CPreviewSample() = default;

BOOL CPreviewSample::Create(const CRect& rect, CWnd* pParent, UINT nID)
{
    return CWnd::Create(nullptr, L"Line Sample Wnd", WS_CHILD | WS_VISIBLE, rect, pParent, nID);
}

void CPreviewSample::SetShape(const CFODrawShape* pShape)
{
    m_pShape = nullptr;
    if (pShape)
    {
        m_pShape = pShape->Copy();
        if (m_pShape && GetSafeHwnd())
        {
            CRect rc;
            GetClientRect(&rc);
            rc.DeflateRect(4, 4);
            if (rc.Width() > 0 && rc.Height() > 0)
                m_pShape->PositionShape(rc);
        }
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CPreviewSample::DrawSample(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(&rcClient, RGB(255, 255, 255));
    pDC->Draw3dRect(&rcClient, RGB(0, 0, 0), RGB(255, 255, 255));
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&rcClient);
    if (m_pShape)
        m_pShape->OnDraw(pDC);
    pDC->RestoreDC(saved);
}

void CPreviewSample::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC mem;
    CBitmap bitmap;
    if (rc.Width() > 0 && rc.Height() > 0 && mem.CreateCompatibleDC(&dc) &&
        bitmap.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height()))
    {
        CBitmap* old = mem.SelectObject(&bitmap);
        DrawSample(&mem, rc);
        dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
        mem.SelectObject(old);
    }
    else
        DrawSample(&dc, rc);
}
