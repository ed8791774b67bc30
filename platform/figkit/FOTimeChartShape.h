// A time chart: the values the shape was given, newest at the right, over a grid, scaled between
// its minimum and maximum. The history lives only while the shape runs; it is not saved.
#pragma once

#include "figkit/FORectShape.h"

#include <deque>

class CFOTimeChartShape : public CFORectShape
{
    DECLARE_SERIAL(CFOTimeChartShape)
public:
    enum
    {
        // Samples kept.
        MAX_SAMPLES = 500,
    };

    CFOTimeChartShape();
    CFOTimeChartShape(const CFOTimeChartShape& src);
    ~CFOTimeChartShape() override;
    CFOTimeChartShape& operator=(const CFOTimeChartShape& src);
    CFODrawShape* Copy() const override;

    // Every value set is also appended to the history.
    void SetCurrentValue(double dValue) override;
    int GetSampleCount() const { return int(m_samples.size()); }
    void ClearSamples() { m_samples.clear(); }

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

private:
    std::deque<double> m_samples;
};
