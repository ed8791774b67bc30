#include "behaviour/PreviewSample.h"

#include "figkit/FODrawShape.h"
#include "foundation/MemDC.h"
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
    // Off-screen when a bitmap can be made, else straight onto the window.
    CMemDC mem(&dc);
    DrawSample(&mem, rc);
}
