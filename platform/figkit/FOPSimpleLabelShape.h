// A text label: its caption drawn in its font, over an optional fill and border.
#pragma once

#include "figkit/FODrawPortsShape.h"

class CFOPSimpleLabelShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOPSimpleLabelShape)
public:
    CFOPSimpleLabelShape();
    CFOPSimpleLabelShape(const CFOPSimpleLabelShape& src);
    ~CFOPSimpleLabelShape() override;
    CFOPSimpleLabelShape& operator=(const CFOPSimpleLabelShape& src);
    CFODrawShape* Copy() const override;

    // The label text is the shape's caption.
    CString GetLabelText() const { return GetObjectCaption(); }
    void SetLabelText(const CString& text) { SetObjectCaption(text); }

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
