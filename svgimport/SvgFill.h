// Gradient fills of an imported drawing: read from "defs", kept by the converter's fill manager, and
// turned into the diagram library's two-colour brushes.
#pragma once

#include "foundation/XDXml.h"
#include "mfc/CString.h"
#include "svgimport/SvgStyle.h"

#include <memory>
#include <vector>

struct stcSVGStopElement
{
    float fOffset = 1.0f;
    COLORREF crColour = 0xFFFFFF;
    float fOpacity = 1.0f;
};

class CFOPSVGFillBase
{
public:
    virtual ~CFOPSVGFillBase() = default;
    CString m_strId;
    CString m_strUnits;
    CString m_strReserved1;
    CString m_strReserved2;
    int m_nKind = 0;
    std::vector<stcSVGStopElement> m_aStops;
    // Linear: x1, y1, x2, y2. Radial: cx, cy, r, fx, fy.
    float m_fGeometry[7] = {};
    int m_nAngle = 0;
};

class CFOPSVGFillLinear : public CFOPSVGFillBase
{
public:
    CFOPSVGFillLinear() { m_nKind = 1; }
};

class CFOPSVGFillRadial : public CFOPSVGFillBase
{
public:
    CFOPSVGFillRadial() { m_nKind = 2; }
};

class CFOPSVGFillManager
{
public:
    void Add(std::unique_ptr<CFOPSVGFillBase> fill);
    // The first fill with that id (compared without regard to case), or null.
    CFOPSVGFillBase* FindFill(const CString& id) const;
    int GetCount() const { return int(m_fills.size()); }
    CFOPSVGFillBase* GetAt(int i) const { return m_fills.at(size_t(i)).get(); }
    void RemoveAll() { m_fills.clear(); }

private:
    std::vector<std::unique_ptr<CFOPSVGFillBase>> m_fills;
};

// The brush type of a gradient by its kind, geometry and angle.
int SvgGradientBrushType(const CFOPSVGFillBase& fill);
// Reads one "linearGradient" or "radialGradient" element into the manager.
void ReadGradient(CXDXmlNode& element, const CString& name, CFOPSVGFillManager& fills);
// A fill "url(#id)": TRUE when the text was taken as one (a malformed url is taken and ignored).
BOOL ResolveFillUrl(const CString& text, SvgStyle& style, CFOPSVGFillManager* pFills,
                    const SvgImportSettings& settings);
