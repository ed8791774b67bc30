#include "svgimport/SvgPathData.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr double kDegree = 0.017453292519943295;
constexpr double kLimit = 1.0e7;

int Cut(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::trunc(std::clamp(v, -kLimit, kLimit)));
}

POINT Pt(double x, double y)
{
    return POINT{Cut(x), Cut(y)};
}

bool StartsNumber(wchar_t c)
{
    return c == L'+' || c == L'-' || c == L'.' || (c >= L'0' && c <= L'9');
}

bool IsCommand(wchar_t c)
{
    switch (c)
    {
    case L'M':
    case L'm':
    case L'L':
    case L'l':
    case L'H':
    case L'h':
    case L'V':
    case L'v':
    case L'C':
    case L'c':
    case L'S':
    case L's':
    case L'Q':
    case L'q':
    case L'T':
    case L't':
    case L'A':
    case L'a':
    case L'Z':
    case L'z':
        return true;
    default:
        return false;
    }
}
} // namespace

double ReadPathNumber(const std::wstring& s, size_t& pos)
{
    const size_t start = pos;
    double sign = 1;
    if (pos < s.size() && (s[pos] == L'+' || s[pos] == L'-'))
    {
        sign = s[pos] == L'-' ? -1 : 1;
        ++pos;
    }
    double whole = 0;
    bool digits = false;
    while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9')
    {
        whole = whole * 10 + (s[pos] - L'0');
        digits = true;
        ++pos;
    }
    if (pos < s.size() && s[pos] == L'.')
    {
        ++pos;
        double scale = 0.1;
        while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9')
        {
            whole += (s[pos] - L'0') * scale;
            scale *= 0.1;
            digits = true;
            ++pos;
        }
    }
    if (!digits)
    {
        pos = start;
        return 0;
    }
    if (pos < s.size() && (s[pos] == L'e' || s[pos] == L'E'))
    {
        size_t p = pos + 1;
        int esign = 1;
        if (p < s.size() && (s[p] == L'+' || s[p] == L'-'))
        {
            esign = s[p] == L'-' ? -1 : 1;
            ++p;
        }
        if (p < s.size() && s[p] >= L'0' && s[p] <= L'9')
        {
            int exp = 0;
            while (p < s.size() && s[p] >= L'0' && s[p] <= L'9')
            {
                exp = std::min(exp * 10 + (s[p] - L'0'), 1000);
                ++p;
            }
            whole *= std::pow(10.0, esign * exp);
            pos = p;
        }
    }
    if (pos < s.size() && s[pos] == L' ')
        ++pos;
    const double v = sign * whole;
    return std::isfinite(v) ? v : 0;
}

void ArcToBeziers(FOPSimplePolygon& polygon, double& x0, double& y0, double rotation, double x, double y,
                  double rx, double ry, bool bLargeArc, bool bSweep)
{
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry) || (x0 == x && y0 == y))
    {
        polygon.LineTo(Pt(x, y));
        x0 = x;
        y0 = y;
        return;
    }
    const double phi = rotation * kDegree;
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double hx = (x0 - x) / 2, hy = (y0 - y) / 2;
    const double x1 = cp * hx + sp * hy, y1 = -sp * hx + cp * hy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1)
    {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    // Into the unit circle.
    auto toUnit = [&](double px, double py, double& ux, double& uy)
    {
        ux = (cp * px + sp * py) / rx;
        uy = (-sp * px + cp * py) / ry;
    };
    double ax, ay, bx, by;
    toUnit(x0, y0, ax, ay);
    toUnit(x, y, bx, by);
    const double dx = bx - ax, dy = by - ay;
    const double dsq = dx * dx + dy * dy;
    double f = dsq > 0 ? std::sqrt(std::max(0.0, 1 / dsq - 0.25)) : 0;
    if (bSweep == bLargeArc)
        f = -f;
    const double ccx = (ax + bx) / 2 - f * dy, ccy = (ay + by) / 2 + f * dx;
    const double t0 = std::atan2(ay - ccy, ax - ccx);
    const double t1 = std::atan2(by - ccy, bx - ccx);
    double delta = t1 - t0;
    if (bSweep && delta < 0)
        delta += 6.283185307179586;
    else if (!bSweep && delta > 0)
        delta -= 6.283185307179586;
    const int n = std::max(1, int(std::ceil(std::fabs(delta) / 1.5717963267948964)));
    auto back = [&](double ux, double uy)
    {
        const double px = ux * rx, py = uy * ry;
        return Pt(cp * px - sp * py, sp * px + cp * py);
    };
    for (int i = 0; i < n; ++i)
    {
        const double ta = t0 + i * delta / n, tb = t0 + (i + 1) * delta / n;
        const double half = (tb - ta) / 2;
        const double t = 8.0 / 3.0 * std::sin(half / 2) * std::sin(half / 2) / std::sin(half);
        const POINT c1 = back(std::cos(ta) - t * std::sin(ta) + ccx, std::sin(ta) + t * std::cos(ta) + ccy);
        const POINT c2 = back(std::cos(tb) + t * std::sin(tb) + ccx, std::sin(tb) - t * std::cos(tb) + ccy);
        // The last segment ends exactly at the end point.
        const POINT e = i + 1 == n ? Pt(x, y) : back(std::cos(tb) + ccx, std::sin(tb) + ccy);
        polygon.BezierTo(c1, c2, e);
    }
    x0 = x;
    y0 = y;
}

void ParsePathData(const CString& text, FOPSimpleCompositePolygon& composite, bool& bClosed)
{
    std::wstring s = text.str();
    if (s.size() > size_t(kSvgMaxPathText))
        s.resize(size_t(kSvgMaxPathText));
    // Separators become single spaces.
    for (wchar_t& c : s)
        if (c == L',' || c == L'\n' || c == L'\r' || c == L'\t')
            c = L' ';
    std::wstring t;
    t.reserve(s.size());
    for (wchar_t c : s)
        if (!(c == L' ' && (t.empty() || t.back() == L' ')))
            t += c;
    while (!t.empty() && t.back() == L' ')
        t.pop_back();
    if (t.empty())
        return;
    double cx = 0, cy = 0, sx = 0, sy = 0, lx = 0, ly = 0;
    wchar_t prev = 0;
    wchar_t cmd = t[0];
    size_t pos = 1;
    int points = 0;
    FOPSimplePolygon poly(16, 16);
    auto flush = [&](bool always)
    {
        if (always ? poly.GetCount() > 0 : poly.GetCount() >= 2)
            composite.Insert(poly, 65535);
        poly = FOPSimplePolygon(16, 16);
    };
    while (pos <= t.size() && points < kSvgMaxPathPoints)
    {
        if (pos < t.size() && t[pos] == L' ')
        {
            ++pos;
            continue;
        }
        const bool rel = cmd >= L'a' && cmd <= L'z';
        const double ox = rel ? cx : 0, oy = rel ? cy : 0;
        auto num = [&]() { return ReadPathNumber(t, pos); };
        // A flag is one character of its own: "01" is two flags.
        auto flag = [&]()
        {
            if (pos < t.size() && (t[pos] == L'0' || t[pos] == L'1'))
            {
                const bool set = t[pos] == L'1';
                ++pos;
                if (pos < t.size() && t[pos] == L' ')
                    ++pos;
                return set;
            }
            return num() == 1.0;
        };
        const size_t before = pos;
        // A command letter with no number after it (a bare letter at the end, or before the next
        // letter) draws nothing, rather than a segment to (0, 0).
        if (IsCommand(cmd) && cmd != L'Z' && cmd != L'z' && (pos >= t.size() || !StartsNumber(t[pos])))
        {
            prev = cmd;
            if (pos >= t.size())
                break;
            cmd = t[pos];
            ++pos;
            continue;
        }
        switch (cmd)
        {
        case L'M':
        case L'm':
        {
            if (poly.GetCount() > 0)
                flush(true);
            const double x = num() + ox, y = num() + oy;
            cx = sx = x;
            cy = sy = y;
            poly.MoveFirstTo(Pt(x, y));
            ++points;
            break;
        }
        case L'L':
        case L'l':
        {
            const double x = num() + ox, y = num() + oy;
            cx = x;
            cy = y;
            poly.LineTo(Pt(x, y));
            ++points;
            break;
        }
        case L'H':
        case L'h':
            cx = num() + ox;
            poly.LineTo(Pt(cx, cy));
            ++points;
            break;
        case L'V':
        case L'v':
            cy = num() + oy;
            poly.LineTo(Pt(cx, cy));
            ++points;
            break;
        case L'C':
        case L'c':
        case L'S':
        case L's':
        {
            double x1, y1;
            if (cmd == L'C' || cmd == L'c')
            {
                x1 = num() + ox;
                y1 = num() + oy;
            }
            else if (prev == L'C' || prev == L'c' || prev == L'S' || prev == L's')
            {
                x1 = 2 * cx - lx;
                y1 = 2 * cy - ly;
            }
            else
            {
                x1 = cx;
                y1 = cy;
            }
            const double x2 = num() + ox, y2 = num() + oy, x = num() + ox, y = num() + oy;
            poly.BezierTo(Pt(x1, y1), Pt(x2, y2), Pt(x, y));
            lx = x2;
            ly = y2;
            cx = x;
            cy = y;
            points += 3;
            break;
        }
        case L'Q':
        case L'q':
        case L'T':
        case L't':
        {
            double qx, qy;
            if (cmd == L'Q' || cmd == L'q')
            {
                qx = num() + ox;
                qy = num() + oy;
            }
            else if (prev == L'Q' || prev == L'q' || prev == L'T' || prev == L't')
            {
                qx = 2 * cx - lx;
                qy = 2 * cy - ly;
            }
            else
            {
                qx = cx;
                qy = cy;
            }
            const double x = num() + ox, y = num() + oy;
            poly.BezierTo(Pt((cx + 2 * qx) / 3, (cy + 2 * qy) / 3), Pt((x + 2 * qx) / 3, (y + 2 * qy) / 3),
                          Pt(x, y));
            lx = qx;
            ly = qy;
            cx = x;
            cy = y;
            points += 3;
            break;
        }
        case L'A':
        case L'a':
        {
            const double rx = num(), ry = num(), rot = num();
            const bool large = flag();
            const bool sweep = flag();
            const double x = num() + ox, y = num() + oy;
            if (poly.GetCount() == 0)
                poly.MoveFirstTo(Pt(cx, cy));
            ArcToBeziers(poly, cx, cy, rot, x, y, rx, ry, large, sweep);
            points += 12;
            break;
        }
        case L'Z':
        case L'z':
            cx = sx;
            cy = sy;
            if (poly.GetCount() > 0)
            {
                poly.Close();
                flush(true);
            }
            bClosed = true;
            break;
        default:
            break;
        }
        prev = cmd;
        if (cmd != L'C' && cmd != L'c' && cmd != L'S' && cmd != L's' && cmd != L'Q' && cmd != L'q' &&
            cmd != L'T' && cmd != L't')
        {
            lx = cx;
            ly = cy;
        }
        if (pos >= t.size())
            break;
        const wchar_t next = t[pos];
        const bool takesNumbers = IsCommand(cmd) && cmd != L'Z' && cmd != L'z';
        if (StartsNumber(next) && takesNumbers && pos != before)
        {
            // The command repeats; a move repeats as a line.
            if (cmd == L'M')
                cmd = L'L';
            else if (cmd == L'm')
                cmd = L'l';
            continue;
        }
        if (StartsNumber(next))
        {
            // Numbers with no command to take them are passed over.
            const size_t at = pos;
            ReadPathNumber(t, pos);
            if (pos == at)
                ++pos;
            cmd = 0;
            continue;
        }
        cmd = next;
        ++pos;
    }
    if (poly.GetCount() >= 2)
        composite.Insert(poly, 65535);
}
