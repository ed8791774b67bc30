// A time chart: one line per tag, each the samples it was given, newest at the right, over a grid,
// scaled between the shape's minimum and maximum. The program gives it one sample of every tag per
// tick; a value set on the shape is no sample. The history lives only while the shape runs; it is
// not saved.
#pragma once

#include "figkit/FORectShape.h"

#include <deque>
#include <vector>

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

    // A line for a tag, in a colour; an existing line of that name takes the colour.
    void AddLine(const CString& strName, COLORREF crColor);
    // One sample for each of nCount lines: the line named names[i] (made, in a colour of its own,
    // when there is none; without names, line i). Values that are no number are skipped.
    void UpdateMultiLineData(int nCount, const wchar_t* const* names, const double* values);
    int GetLineCount() const { return int(m_lines.size()); }
    CString GetLineName(int nLine) const;
    // The samples of a line (0 for a line that is not there).
    int GetSampleCount(int nLine = 0) const;
    double GetSample(int nLine, int nIndex) const;
    void ClearSamples() { m_lines.clear(); }

    void Serialize(CArchive& ar) override;
    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

private:
    struct Line
    {
        CString strName;
        COLORREF crColor = 0;
        std::deque<double> samples;
    };
    Line& LineAt(int nIndex, const wchar_t* pszName);
    std::vector<Line> m_lines;
};
