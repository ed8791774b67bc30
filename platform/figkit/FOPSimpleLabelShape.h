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
    // What the label shows: its text; without one, its current text value, else its current value
    // in six significant digits (nothing before it has a value).
    CString GetDisplayText() const;

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }
};
