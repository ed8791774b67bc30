#include "figkit/FODrawHelper.h"

#include "mfc/Dc.h"
#include "mfc/SysColor.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

int CFODrawHelper::RoundValue(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = value < 0 ? std::ceil(value - 0.5) : std::floor(value + 0.5);
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}

int CFODrawHelper::FindType(const CString& strExt)
{
    static const struct
    {
        const wchar_t* ext;
        int type;
    } types[] = {{L"bmp", 1}, {L"jpg", 2}, {L"jpeg", 2}, {L"gif", 3}, {L"png", 4},
                 {L"ico", 5}, {L"tif", 6}, {L"tiff", 6}, {L"wmf", 7}, {L"emf", 7}};
    for (const auto& t : types)
        if (strExt == t.ext)
            return t.type;
    return 0;
}

int CFODrawHelper::PenStyleToGdi(int nPenStyle)
{
    switch (nPenStyle)
    {
    case FO_PEN_NONE:
        return PS_NULL;
    case FO_PEN_DASH:
        return PS_DASH;
    case FO_PEN_DOT:
        return PS_DOT;
    case FO_PEN_DASHDOT:
        return PS_DASHDOT;
    case FO_PEN_DASHDOTDOT:
        return PS_DASHDOTDOT;
    default:
        return PS_SOLID;
    }
}

namespace
{
// The brushes 34, 42 to 61 and 68: true when nBrushType is one of them.
bool FillSpecial(QPainter* painter, const QPainterPath& path, const QColor& bk, const QColor& pattern,
                 int nBrushType)
{
    const QRectF box = path.boundingRect();
    if (nBrushType == FO_BRUSH_PATTERN)
    {
        painter->fillPath(path, bk);
        painter->fillPath(path, QBrush(pattern, Qt::CrossPattern));
        return true;
    }
    if (nBrushType == FO_BRUSH_TEXTURE)
    {
        painter->fillPath(path, bk);
        painter->fillPath(path, QBrush(pattern, Qt::Dense4Pattern));
        return true;
    }
    if (nBrushType < FO_BRUSH_GRADIENT2_FIRST || nBrushType > FO_BRUSH_GRADIENT2_LAST)
        return false;
    const QPointF tl = box.topLeft(), tr = box.topRight(), bl = box.bottomLeft(), br = box.bottomRight();
    const QPointF c = box.center();
    auto linear = [&](QPointF from, QPointF to, bool mirrored)
    {
        QLinearGradient g(from, to);
        g.setColorAt(0, pattern);
        g.setColorAt(1, bk);
        if (mirrored)
            g.setSpread(QGradient::ReflectSpread);
        painter->fillPath(path, g);
    };
    auto radial = [&](QPointF centre, double radius)
    {
        QRadialGradient g(centre, std::max(1.0, radius));
        g.setColorAt(0, pattern);
        g.setColorAt(1, bk);
        painter->fillPath(path, g);
    };
    const double diag = std::hypot(box.width(), box.height());
    const double half = std::max(box.width(), box.height()) / 2;
    switch (nBrushType)
    {
    case 42: // bottom to top
        linear(bl, tl, false);
        break;
    case 43: // top to bottom
        linear(tl, bl, false);
        break;
    case 44: // left to right
        linear(tl, tr, false);
        break;
    case 45: // right to left
        linear(tr, tl, false);
        break;
    case 46: // from the middle, vertically
        linear(QPointF(c.x(), c.y()), QPointF(c.x(), box.bottom()), true);
        break;
    case 47: // corner to corner
        linear(tl, br, false);
        break;
    case 48:
        linear(tr, bl, false);
        break;
    case 49: // from the middle, horizontally
        linear(QPointF(c.x(), c.y()), QPointF(box.right(), c.y()), true);
        break;
    case 50:
    case 58: // from the top-left corner
        radial(tl, diag);
        break;
    case 51: // from the top-right corner
        radial(tr, diag);
        break;
    case 52: // from the bottom-right corner
        radial(br, diag);
        break;
    case 53: // from the bottom-left corner
        radial(bl, diag);
        break;
    case 59:
        radial(bl, diag);
        break;
    case 60:
        radial(br, diag);
        break;
    case 54:
    case 55:
        radial(c, half * 2);
        break;
    default: // 56, 57, 61: from the centre
        radial(c, half);
        break;
    }
    return true;
}
} // namespace

void CFODrawHelper::FillPath(CDC* pDC, const QPainterPath& path, COLORREF crBk, COLORREF crPattern,
                             int nBrushType)
{
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    if (!painter || nBrushType <= FO_BRUSH_NONE)
        return;
    if (FillSpecial(painter, path, AfxColorFromRef(crBk), AfxColorFromRef(crPattern), nBrushType))
        return;
    if (nBrushType == FO_BRUSH_SOLID)
    {
        painter->fillPath(path, AfxColorFromRef(crBk));
        return;
    }
    if (nBrushType <= FO_BRUSH_HATCH_LAST)
    {
        static const Qt::BrushStyle hatch[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                               Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        painter->fillPath(path, AfxColorFromRef(crBk));
        painter->fillPath(path, QBrush(AfxColorFromRef(crPattern), hatch[nBrushType - FO_BRUSH_HATCH_FIRST]));
        return;
    }
    const QRectF box = path.boundingRect();
    const QColor from = AfxColorFromRef(crBk);
    const QColor to = AfxColorFromRef(crPattern);
    switch ((nBrushType - FO_BRUSH_GRADIENT_FIRST) % 4)
    {
    case 0:
    {
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        painter->fillPath(path, g);
        break;
    }
    case 1:
    {
        QLinearGradient g(box.topLeft(), box.topRight());
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        painter->fillPath(path, g);
        break;
    }
    case 2:
    {
        QLinearGradient g(box.topLeft(), box.bottomRight());
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        painter->fillPath(path, g);
        break;
    }
    default:
    {
        QRadialGradient g(box.center(), std::max(1.0, std::max(box.width(), box.height()) / 2));
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        painter->fillPath(path, g);
        break;
    }
    }
}

void CFODrawHelper::FillPoly(CDC* pDC, const POINT* points, int count, COLORREF crBk, COLORREF crPattern,
                             int nBrushType)
{
    if (!points || count < 3)
        return;
    QPolygon poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].x, points[i].y);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    FillPath(pDC, path, crBk, crPattern, nBrushType);
}

void CFODrawHelper::FillRectangle(CDC* pDC, const RECT& rc, COLORREF crBk, COLORREF crPattern, int nBrushType)
{
    if (nBrushType == FO_BRUSH_SOLID && pDC)
    {
        // The DC fills whole pixels directly where it can, with the pixels of the path below.
        CBrush brush(crBk);
        const RECT box = {std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                          std::max(rc.left, rc.right), std::max(rc.top, rc.bottom)};
        pDC->FillRect(&box, &brush);
        return;
    }
    QPainterPath path;
    path.addRect(QRectF(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                        std::abs(rc.right - rc.left), std::abs(rc.bottom - rc.top)));
    FillPath(pDC, path, crBk, crPattern, nBrushType);
}

void CFODrawHelper::FillEllipse(CDC* pDC, const RECT& rc, COLORREF crBk, COLORREF crPattern, int nBrushType)
{
    QPainterPath path;
    path.addEllipse(QRectF(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom),
                           std::max(0, std::abs(rc.right - rc.left) - 1),
                           std::max(0, std::abs(rc.bottom - rc.top) - 1)));
    FillPath(pDC, path, crBk, crPattern, nBrushType);
}

int FOStringToStringArray(const CString& text, const CString& separator, CStringArray& array)
{
    if (text.IsEmpty())
        return 0;
    int count = 0;
    if (separator.IsEmpty())
    {
        array.Add(text);
        return 1;
    }
    int start = 0;
    for (;;)
    {
        const int at = text.Find(separator.GetString(), start);
        if (at < 0)
        {
            array.Add(text.Mid(start));
            ++count;
            break;
        }
        array.Add(text.Mid(start, at - start));
        ++count;
        start = at + separator.GetLength();
    }
    return count;
}

CString& FOStringArrayToString(const CStringArray& array, const CString& separator, CString& text)
{
    text.Empty();
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
    {
        if (i)
            text += separator;
        text += array.GetAt(i);
    }
    return text;
}

int CFODrawHelper::NormAngle360(int nAngle)
{
    nAngle %= 36000;
    return nAngle < 0 ? nAngle + 36000 : nAngle;
}

CPoint CFODrawHelper::CalcTouchPoint(const CRect& rc, int nAngle)
{
    const double a = rc.Width() / 2.0, b = rc.Height() / 2.0;
    const double cx = (rc.left + rc.right) / 2.0, cy = (rc.top + rc.bottom) / 2.0;
    const double t = NormAngle360(nAngle) / 100.0 * std::numbers::pi / 180.0;
    const double dx = std::cos(t), dy = std::sin(t);
    const double den = std::sqrt(b * b * dx * dx + a * a * dy * dy);
    const double k = den > 0.0 ? a * b / den : 0.0;
    return CPoint(RoundValue(cx + k * dx), RoundValue(cy - k * dy));
}

int CFODrawHelper::GetAngle(CPoint ptOffset)
{
    if (ptOffset.x == 0 && ptOffset.y == 0)
        return 0;
    const double deg = std::atan2(-double(ptOffset.y), double(ptOffset.x)) * 180.0 / std::numbers::pi;
    return NormAngle360(RoundValue(deg * 100.0));
}

int CFODrawHelper::MulDivLargeValue(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long p = (long long)a * b;
    const long long q = (p >= 0) == (c > 0) ? (p + std::llabs(c) / 2) / c : (p - std::llabs(c) / 2) / c;
    return int(std::clamp<long long>(q, INT_MIN, INT_MAX));
}

void CFODrawHelper::DrawButtonFace(CDC* pDC, const RECT& rc, BOOL bPushed)
{
    pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    if (bPushed)
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
}
