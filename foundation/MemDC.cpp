#include "foundation/MemDC.h"

#include "mfc/Print.h"

CMemDC::CMemDC(CDC* pDC) : m_pDC(pDC)
{
    if (!pDC)
        return;
    pDC->GetClipBox(&m_rect);
    const bool printing = dynamic_cast<CPrinterDC*>(pDC) != nullptr;
    if (!printing && !m_rect.IsRectEmpty() && CreateCompatibleDC(pDC) &&
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height()))
    {
        m_oldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(m_rect.left, m_rect.top);
        m_bMemDC = TRUE;
        return;
    }
    if (IsMemoryDC())
        DeleteDC();
    // Straight into the target: its painter is borrowed and handed back on destruction.
    if (pDC->GetPainter())
        Attach(pDC->GetPainter());
}

CMemDC::~CMemDC()
{
    if (!m_pDC)
        return;
    if (m_bMemDC)
    {
        // The copy starts from the area's own origin, so the bitmap's pixel 0,0 lands at its top left.
        SetWindowOrg(0, 0);
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, 0, 0, SRCCOPY);
        if (m_oldBitmap)
            SelectObject(m_oldBitmap);
        DeleteDC();
    }
    else
        Detach();
}
