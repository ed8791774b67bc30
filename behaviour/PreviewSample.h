// CPreviewSample ("Line Sample Wnd"): a small framed window that draws one shape, fitted into it,
// for the hide-shapes editors. It shows its own copy, so the shape shown may go meanwhile.
#pragma once

#include "figkit/FOShapePtr.h"
#include "mfc/Wnd.h"

class CDC;
class CFODrawShape;

class CPreviewSample : public CWnd
{
    DECLARE_DYNAMIC(CPreviewSample)
public:
    CPreviewSample() = default;
    ~CPreviewSample() override;

    using CWnd::Create;
    BOOL Create(const CRect& rect, CWnd* pParent, UINT nID);
    // Shows a copy of the shape (null shows nothing).
    void SetShape(const CFODrawShape* pShape);
    CFODrawShape* GetShape() const { return m_pShape.Get(); }
    // The picture: white, a 3-D frame, the shape within.
    void DrawSample(CDC* pDC, const CRect& rcClient);

    afx_msg void OnPaint() override;

protected:
    CFOShapePtr<CFODrawShape> m_pShape;
};
