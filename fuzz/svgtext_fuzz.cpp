// The SVG import's text readers: path data, transform lists, colours and style text. Each ends,
// gives finite bounded numbers and never crashes.
#include "svgimport/SvgFill.h"
#include "svgimport/SvgPathData.h"
#include "svgimport/SvgStyle.h"
#include "svgimport/SvgTransform.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const CString text =
        CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    switch (data[0] % 4)
    {
    case 0:
    {
        FOPSimpleCompositePolygon polygon(16, 16);
        bool closed = false;
        ParsePathData(text, polygon, closed);
        if (polygon.GetPointCount() > kSvgMaxPathPoints + 64)
            __builtin_trap();
        break;
    }
    case 1:
    {
        SvgTransform t;
        const SvgMatrix m = ParseTransformList(t, text);
        m.Map(CPoint(10, 10));
        GetRotationAngle(m, 0);
        break;
    }
    case 2:
    {
        COLORREF c = 0;
        ParseColour(text, c);
        if (c > 0xFFFFFF)
            __builtin_trap();
        break;
    }
    default:
    {
        SvgStyle style;
        SvgImportSettings settings;
        CFOPSVGFillManager fills;
        auto fill = std::make_unique<CFOPSVGFillLinear>();
        fill->m_strId = L"g";
        fills.Add(std::move(fill));
        ParseStyleText(style, text, &fills, settings);
        if (style.nLineWidth < 0 || style.crFill > 0xFFFFFF || style.crLine > 0xFFFFFF)
            __builtin_trap();
        break;
    }
    }
    return 0;
}
