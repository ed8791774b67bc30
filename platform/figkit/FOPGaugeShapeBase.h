// What the library's gauges share: a scale, an indicator and an optional number read-out, made by
// the factory hooks GenMeterScale, GenIndicator and GenNumber the first time they are needed, and
// the operator's dragging of the value at run time. The value is the shape's current value; the
// scale follows the shape's range.
#pragma once

#include "figkit/FODrawPortsShape.h"
#include "figkit/FOPIndicator.h"
#include "figkit/FOPMeterScale.h"

#include <memory>

class CFOPGaugeShapeBase : public CFODrawPortsShape, public IFOPMeterHost
{
    DECLARE_SERIAL(CFOPGaugeShapeBase)
public:
    CFOPGaugeShapeBase();
    CFOPGaugeShapeBase(const CFOPGaugeShapeBase& src);
    ~CFOPGaugeShapeBase() override;
    // Copies the shape and fresh copies of the source's scale, indicator and number.
    CFOPGaugeShapeBase& operator=(const CFOPGaugeShapeBase& src);
    CFODrawShape* Copy() const override { return new CFOPGaugeShapeBase(*this); }

    // Factory hooks; the base makes a plain linear scale, a bar and no number.
    virtual CFOPMeterScale* GenMeterScale();
    virtual CFOPIndicator* GenIndicator();
    virtual CFOPIndicator* GenNumber() { return nullptr; }

    CFOPMeterScale* GetMeterScale();
    CFOPIndicator* GetIndicator();
    // Null when the gauge has no read-out.
    CFOPIndicator* GetNumber();

    void SetCurrentValue(double dValue) override;
    void OnPropertyChange(int nPropId, CFOBaseProperties* pProps) override;

    CPoint GetMeterStartPoint() const override;
    CPoint GetMeterEndPoint() const override;
    CRect GetMeterRect() const override;

    // The base record, this part's version (2), then the scale, the indicator and, flagged, the
    // number. A record of version 1 (before the parts were stored) loads with new parts.
    void Serialize(CArchive& ar) override;

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

    // Dragging at run time sets the value from the pointer, rounded to the indicator's unit; the
    // release is left to the canvas, which raises the click.
    BOOL OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    BOOL GetDragValue(double& dValue) const override
    {
        dValue = GetCurrentValue();
        return TRUE;
    }
    void OnCancelMode() override;
    BOOL IsDragging() const { return m_bDragging; }

protected:
    void SyncRange();
    void SetValueFromPoint(CPoint point);
    // The body under the scale: the base fills the shape.
    virtual void DrawFace(CDC* pDC);

    std::unique_ptr<CFOPMeterScale> m_pScale;
    std::unique_ptr<CFOPIndicator> m_pIndicator;
    std::unique_ptr<CFOPIndicator> m_pNumber;
    BOOL m_bNumberMade = FALSE;
    BOOL m_bDragging = FALSE;
};
