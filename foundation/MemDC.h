// CMemDC: a device context that draws into an off-screen bitmap covering the target's clip box and
// copies it to the target, at the same place, when it goes out of scope; drawing uses the target's
// coordinates. On a printer (or when no bitmap can be made) it draws straight into the target.
#pragma once

#include "mfc/Dc.h"
#include "mfc/Gdi.h"

class CMemDC : public CDC
{
public:
    explicit CMemDC(CDC* pDC);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CMemDC* operator->() { return this; }
    operator CMemDC*() { return this; }
    // Whether drawing goes off-screen.
    BOOL IsMemDC() const { return m_bMemDC; }
    const CRect& GetArea() const { return m_rect; }

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC = FALSE;
};
