#include "svgimport/SvgTransform.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOImageShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOStaticShape.h"
#include "svgimport/SvgStyle.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace
{
constexpr double kDegree = 0.017453292519943295;
// Items of one transform list beyond this are passed over.
constexpr int kMaxItems = 1000;
// Nested groups deeper than this are not transformed further.
constexpr int kMaxDepth = 256;

void ApplyGroupTransformDepth(CFOCompositeShape* pGroup, const CString& text, int depth);
} // namespace

void SvgMatrix::Set(double a_, double b_, double c_, double d_, double e_, double f_)
{
    a = a_;
    b = b_;
    c = c_;
    d = d_;
    e = e_;
    f = f_;
}

void SvgMatrix::Map(double& x, double& y) const
{
    const double nx = a * x + c * y + e;
    const double ny = b * x + d * y + f;
    x = nx;
    y = ny;
}

CPoint SvgMatrix::Map(const POINT& pt) const
{
    double x = pt.x, y = pt.y;
    Map(x, y);
    return CPoint(SvgCoord(x), SvgCoord(y));
}

void SvgMatrix::Translate(double tx, double ty)
{
    e += a * tx + c * ty;
    f += b * tx + d * ty;
}

void SvgMatrix::Scale(double sx, double sy)
{
    a *= sx;
    b *= sx;
    c *= sy;
    d *= sy;
}

void SvgMatrix::Skew(double kx, double ky)
{
    const double na = a + c * ky, nb = b + d * ky, nc = c + a * kx, nd = d + b * kx;
    a = na;
    b = nb;
    c = nc;
    d = nd;
}

void SvgMatrix::Rotate(double angle)
{
    double s, k;
    if (angle == 90 || angle == -270)
        s = 1, k = 0;
    else if (angle == 270 || angle == -90)
        s = -1, k = 0;
    else if (angle == 180 || angle == -180)
        s = 0, k = -1;
    else
    {
        s = std::sin(angle * kDegree);
        k = std::cos(angle * kDegree);
    }
    const double na = a * k + c * s, nb = b * k + d * s, nc = c * k - a * s, nd = d * k - b * s;
    a = na;
    b = nb;
    c = nc;
    d = nd;
}

void SvgMatrix::Multiply(const SvgMatrix& n)
{
    SvgMatrix r;
    r.a = a * n.a + b * n.c;
    r.b = a * n.b + b * n.d;
    r.c = c * n.a + d * n.c;
    r.d = c * n.b + d * n.d;
    r.e = e * n.a + f * n.c + n.e;
    r.f = e * n.b + f * n.d + n.f;
    *this = r;
}

SvgMatrix ParseTransformList(SvgTransform& t, const CString& text)
{
    SvgMatrix result;
    const int len = text.GetLength();
    int pos = 0;
    int items = 0;
    while (pos < len && items++ < kMaxItems)
    {
        const int close = text.Find(L')', pos);
        CString item = close < 0 ? text.Mid(pos) : text.Mid(pos, close - pos);
        // Always past the ")" (an empty "()" included), so the reading moves on.
        pos = close < 0 ? len : close + 1;
        item.Trim(L" \t\r\n,");
        if (item.IsEmpty())
            continue;
        const int open = item.Find(L'(');
        if (open < 0)
            continue;
        CString name = item.Left(open);
        name.Trim();
        name.MakeLower();
        const std::vector<double> raw = SvgReadNumberList(item.Mid(open + 1), 16);
        std::vector<float> args;
        for (double v : raw)
            args.push_back(float(std::clamp(v, -1.0e7, 1.0e7)));
        auto arg = [&args](size_t i) { return i < args.size() ? double(args[i]) : 0.0; };
        SvgMatrix n;
        if (name == L"translate")
        {
            t.tx = float(arg(0));
            t.ty = float(arg(1));
            n.Translate(t.tx, t.ty);
        }
        else if (name == L"scale")
        {
            t.sx = args.empty() ? 1.0f : float(arg(0));
            t.sy = args.size() >= 2 ? float(arg(1)) : t.sx;
            n.Scale(t.sx, t.sy);
        }
        else if (name == L"rotate")
        {
            t.angle = float(arg(0));
            if (args.size() >= 3)
            {
                t.cx = float(arg(1));
                t.cy = float(arg(2));
                n.Translate(t.cx, t.cy);
                n.Rotate(t.angle);
                n.Translate(-t.cx, -t.cy);
            }
            else
                n.Rotate(t.angle);
        }
        else if (name == L"skewx")
        {
            t.skewX = float(arg(0));
            n.Skew(std::tan(t.skewX * kDegree), 0);
        }
        else if (name == L"skewy")
        {
            t.skewY = float(arg(0));
            n.Skew(0, std::tan(t.skewY * kDegree));
        }
        else if (name == L"matrix")
        {
            for (size_t i = 0; i < 6 && i < args.size(); ++i)
                t.m[i] = args[i];
            if (args.size() >= 6)
                n.Set(t.m[0], t.m[1], t.m[2], t.m[3], t.m[4], t.m[5]);
            else
                continue; // an incomplete matrix changes nothing
        }
        else
            continue;
        if (!std::isfinite(n.a) || !std::isfinite(n.b) || !std::isfinite(n.c) || !std::isfinite(n.d))
            continue;
        n.Multiply(result);
        result = n;
    }
    t.matrix = result;
    return result;
}

double GetRotationAngle(const SvgMatrix& m, double def)
{
    const double s = std::sqrt(std::fabs(m.a * m.d - m.c * m.b));
    if (!(s > 0.0000001))
        return def;
    const double a = m.a / s, b = m.b / s, c = m.c / s, d = m.d / s;
    if (a < -1 || a > 1 || b < -1 || b > 1 || c < -1 || c > 1 || d < -1 || d > 1)
        return def;
    if (!(std::fabs(a * d - b * c - 1) < 0.00001) || std::fabs(-c - b) > 1e-9)
        return def;
    const double angle = std::acos(a);
    return c < 0 ? -angle : angle;
}

void ApplyShapeTransform(CFODrawShape* pShape, const SvgMatrix& m)
{
    if (!pShape)
        return;
    // Shapes drawn from their rectangle keep it, and turn or slant with a matrix of their own.
    const bool rectangular = dynamic_cast<CFORectShape*>(pShape) || dynamic_cast<CFOEllipseShape2*>(pShape) ||
                             dynamic_cast<CFOImageShape*>(pShape);
    if (rectangular && (m.b != 0 || m.c != 0))
    {
        const CFOMatrix svg(m.a, m.b, m.c, m.d, m.e, m.f);
        const CFOMatrix* current = pShape->GetMatrixData();
        const CFOMatrix combined = current ? current->Then(svg) : svg;
        pShape->SetMatrixData(&combined);
        pShape->UpdateComp();
        pShape->ResetTrackPoints();
        return;
    }
    const int n = pShape->GetPointCount();
    std::vector<CPoint> points(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        points[size_t(i)] = m.Map(pShape->GetPoint(i));
    pShape->SetPoints(points.data(), n);
    const double degrees = GetRotationAngle(m, 0) * -180.0 / std::numbers::pi;
    if (auto* text = dynamic_cast<CFOStaticShape*>(pShape))
        text->SetInitRotate(text->GetInitRotate() + SvgCoord(degrees * 10));
    pShape->UpdateComp();
    pShape->ResetTrackPoints();
}

namespace
{
void ApplyGroupTransformDepth(CFOCompositeShape* pGroup, const CString& text, int depth)
{
    if (!pGroup || depth > kMaxDepth)
        return;
    SvgTransform t;
    const SvgMatrix m = ParseTransformList(t, text);
    for (CFODrawShape* child : pGroup->GetCompList())
    {
        if (auto* group = dynamic_cast<CFOCompositeShape*>(child))
            ApplyGroupTransformDepth(group, text, depth + 1);
        else
            ApplyShapeTransform(child, m);
    }
    pGroup->UpdateComp();
    pGroup->ResetTrackPoints();
}
} // namespace

void ApplyGroupTransform(CFOCompositeShape* pGroup, const CString& text)
{
    ApplyGroupTransformDepth(pGroup, text, 0);
}
