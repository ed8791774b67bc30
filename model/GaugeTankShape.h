// CFOPGaugeTankShape (type 616): a tank with a vertical level scale and a bar that shows its value;
// custom properties 1908 to 1915 style the scale (a value outside a style's range is ignored), and
// at run time with property 1924 on the level fills step by step as a demonstration.
//
// Its value is the rectangle's value: SetCurrentValue lowers a value above the scale maximum to the
// maximum.
#pragma once

#include "figkit/FOPIndicator.h"
#include "figkit/FOPMeterScale.h"
#include "figkit/FORectShape.h"
#include "model/ShapeAnimation.h"

#include <memory>

class CFOPGaugeTankShape : public CFORectShape, public IFOPMeterHost
{
    DECLARE_SERIAL(CFOPGaugeTankShape)
public:
    enum
    {
        TIMER_PERIOD = 500,
        PROP_SCALE_COLOR1 = 1915,
        PROP_SCALE_COLOR2 = 1914,
        PROP_STYLE_1911 = 1911,
        PROP_STYLE_1912 = 1912,
        PROP_STYLE_1913 = 1913,
        PROP_STYLE_1909 = 1909,
        PROP_STYLE_1908 = 1908,
    };

    CFOPGaugeTankShape();
    CFOPGaugeTankShape(const CFOPGaugeTankShape& src);
    ~CFOPGaugeTankShape() override;
    CFOPGaugeTankShape& operator=(const CFOPGaugeTankShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    // The rectangle's record, the scale's, the indicator's, then the value as a double.
    void Serialize(CArchive& ar) override;

    virtual CFOPMeterScale* GenMeterScale();
    virtual CFOPIndicator* GenIndicator();
    CFOPMeterScale* GetMeterScale();
    CFOPIndicator* GetIndicator();

    void SetCurrentValue(double dValue) override;
    double GetCurrentValue() const override { return m_dCurrentValue; }
    void OnPropertyChange(int nPropId, CFOBaseProperties* pProps) override;

    CPoint GetMeterStartPoint() const override;
    CPoint GetMeterEndPoint() const override;
    CRect GetMeterRect() const override;
    void GeometryUpdated(CFOArea* pArea) override;
    int GetTimerId() const { return m_timer.GetId(); }

    void DoAddCustProp() override;
    void SetParentWnd(CWnd* pWnd) override;
    void OnTimer(int nTimerId) override;
    BOOL DoAnimate() override;
    void DoStartTimer() override;
    // The 3-D look is the rectangle's, over this.
    void OnDrawFlat(CDC* pDC) override;

private:
    // The style members in the order the scale keeps them, with their property ids.
    static const int kStyleProps[CFOPMeterScale::STYLE_COUNT];
    void ApplyStyleProps(CFOPMeterScale* pScale) const;

    CXVKShapeTimer m_timer;
    std::unique_ptr<CFOPMeterScale> m_pScale;
    std::unique_ptr<CFOPIndicator> m_pIndicator;
};
