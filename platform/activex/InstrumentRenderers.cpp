#include "activex/InstrumentRenderers.h"

#include "mfc/Dc.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace
{
QColor ToQ(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

QString ToQ(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}

double Fraction(const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    const double f = (c.GetValue() - s.dMin) / (s.dMax - s.dMin);
    return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
}

// A pixel size at which the text fits the box, at most nMax.
void FitFont(QPainter& p, const QString& text, const QRectF& box, int nMax)
{
    QFont f = p.font();
    const int px = std::max(6, std::min(nMax, int(box.height())));
    f.setPixelSize(px);
    const qreal width = QFontMetricsF(f).horizontalAdvance(text);
    if (width > box.width() && width > 0)
        f.setPixelSize(std::max(6, int(px * box.width() / width)));
    p.setFont(f);
}

// The caption along the bottom edge; returns the rectangle left above it.
QRectF DrawCaption(QPainter& p, QRectF r, const CInstrumentSettings& s)
{
    if (s.strCaption.IsEmpty() || r.height() < 24)
        return r;
    const qreal h = std::min<qreal>(16, r.height() / 4);
    QFont f = p.font();
    f.setPixelSize(std::max(8, int(h - 3)));
    p.setFont(f);
    p.setPen(ToQ(s.crFore));
    p.drawText(QRectF(r.left(), r.bottom() - h, r.width(), h), Qt::AlignCenter, ToQ(s.strCaption));
    return QRectF(r.left(), r.top(), r.width(), r.height() - h);
}

void DrawDial(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.setBrush(ToQ(s.crBack));
    p.setPen(QPen(ToQ(s.crFore), 1.5));
    const qreal d = std::min(r.width(), r.height()) - 4;
    const QRectF face(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    p.drawEllipse(face);
    r = DrawCaption(p, r, s);
    // A 270 degree scale opening downwards.
    const QPointF centre = face.center();
    const qreal radius = d / 2 - 3;
    p.setPen(QPen(ToQ(s.crFore), 1.2));
    for (int i = 0; i < s.nCount; ++i)
    {
        const double a = (225.0 - 270.0 * i / (s.nCount - 1)) * M_PI / 180.0;
        const QPointF dir(std::cos(a), -std::sin(a));
        p.drawLine(centre + dir * radius, centre + dir * (radius * 0.82));
    }
    const double a = (225.0 - 270.0 * Fraction(c)) * M_PI / 180.0;
    p.setPen(QPen(ToQ(s.crActive), std::max<qreal>(2, d / 40), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::cos(a), -std::sin(a)) * (radius * 0.78));
    p.setBrush(ToQ(s.crFore));
    p.drawEllipse(centre, d / 20, d / 20);
}

void DrawLinear(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.fillRect(r, ToQ(s.crBack));
    r = DrawCaption(p, r.adjusted(2, 2, -2, -2), s);
    const bool vertical = r.height() >= r.width();
    const double f = Fraction(c);
    QRectF track = vertical ? r.adjusted(r.width() * 0.3, 2, -r.width() * 0.3, -2)
                            : r.adjusted(2, r.height() * 0.3, -2, -r.height() * 0.3);
    p.setPen(QPen(ToQ(s.crFore), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(track);
    QRectF bar = track;
    if (vertical)
        bar.setTop(track.bottom() - track.height() * f);
    else
        bar.setWidth(track.width() * f);
    p.fillRect(bar, ToQ(s.crActive));
    for (int i = 0; i < s.nCount; ++i)
    {
        const qreal t = qreal(i) / (s.nCount - 1);
        if (vertical)
        {
            const qreal y = track.bottom() - track.height() * t;
            p.drawLine(QPointF(track.left() - 5, y), QPointF(track.left(), y));
        }
        else
        {
            const qreal x = track.left() + track.width() * t;
            p.drawLine(QPointF(x, track.bottom()), QPointF(x, track.bottom() + 5));
        }
    }
}

void DrawLamp(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    r = DrawCaption(p, r, s);
    const qreal d = std::min(r.width(), r.height()) - 4;
    const QRectF box(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    const bool on = c.GetValue() != 0.0;
    p.setPen(QPen(ToQ(s.crFore), 1.5));
    p.setBrush(on ? ToQ(s.crActive) : ToQ(s.crBack));
    QPainterPath path;
    switch (s.nCount)
    {
    case 2:
        path.addRect(box);
        break;
    case 3:
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.center().x(), box.bottom());
        path.lineTo(box.left(), box.center().y());
        path.closeSubpath();
        break;
    case 4:
        path.moveTo(box.left(), box.top() + d / 4);
        path.lineTo(box.center().x(), box.top() + d / 4);
        path.lineTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.center().x(), box.bottom());
        path.lineTo(box.center().x(), box.bottom() - d / 4);
        path.lineTo(box.left(), box.bottom() - d / 4);
        path.closeSubpath();
        break;
    default:
        path.addEllipse(box);
        break;
    }
    p.drawPath(path);
}

void DrawSwitch(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.fillRect(r, ToQ(s.crBack));
    r = DrawCaption(p, r.adjusted(2, 2, -2, -2), s);
    const int n = s.nCount;
    const int pos = std::clamp(int(std::lround(std::isfinite(c.GetValue()) ? c.GetValue() : 0.0)), 0, n - 1);
    const bool vertical = r.height() > r.width();
    const qreal dot = std::max<qreal>(3, std::min(r.width(), r.height()) / 8);
    const qreal margin = dot * 1.6 + 2;
    const qreal len = std::max<qreal>(0, (vertical ? r.height() : r.width()) - 2 * margin);
    p.setPen(QPen(ToQ(s.crFore), 2));
    const QPointF start =
        vertical ? QPointF(r.center().x(), r.bottom() - margin) : QPointF(r.left() + margin, r.center().y());
    const QPointF step = (vertical ? QPointF(0, -len) : QPointF(len, 0)) / std::max(1, n - 1);
    p.drawLine(start, start + step * (n - 1));
    for (int i = 0; i < n; ++i)
    {
        p.setBrush(i == pos ? ToQ(s.crActive) : ToQ(s.crBack));
        p.drawEllipse(start + step * i, i == pos ? dot * 1.6 : dot, i == pos ? dot * 1.6 : dot);
    }
}

// Segments a to g of the hex digits and the minus sign, one bit each (a is bit 0).
int SegmentsOf(wchar_t ch)
{
    static const int kHex[16] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                 0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71};
    if (ch >= L'0' && ch <= L'9')
        return kHex[ch - L'0'];
    if (ch >= L'A' && ch <= L'F')
        return kHex[ch - L'A' + 10];
    if (ch >= L'a' && ch <= L'f')
        return kHex[ch - L'a' + 10];
    return ch == L'-' ? 0x40 : -1;
}

void DrawDigit(QPainter& p, const QRectF& cell, int segments, const QColor& on, const QColor& off)
{
    const qreal w = cell.width() * 0.7, h = cell.height() * 0.8, t = std::max<qreal>(1.5, w / 6);
    const qreal x = cell.left() + (cell.width() - w) / 2, y = cell.top() + (cell.height() - h) / 2;
    const QRectF seg[7] = {
        {x + t, y, w - 2 * t, t},                           // a
        {x + w - t, y + t, t, h / 2 - 1.5 * t},             // b
        {x + w - t, y + h / 2 + t / 2, t, h / 2 - 1.5 * t}, // c
        {x + t, y + h - t, w - 2 * t, t},                   // d
        {x, y + h / 2 + t / 2, t, h / 2 - 1.5 * t},         // e
        {x, y + t, t, h / 2 - 1.5 * t},                     // f
        {x + t, y + h / 2 - t / 2, w - 2 * t, t},           // g
    };
    for (int i = 0; i < 7; ++i)
        p.fillRect(seg[i], (segments >> i) & 1 ? on : off);
}

void DrawDigits(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.fillRect(r, ToQ(s.crBack));
    r = DrawCaption(p, r.adjusted(2, 2, -2, -2), s);
    const QString text = ToQ(InstrumentReading(c));
    const int cells = std::max<int>(s.nCount, int(text.size()));
    const qreal cw = r.width() / cells;
    const QColor on = ToQ(s.crActive);
    const QColor off = on.darker(400);
    QFont f = p.font();
    f.setPixelSize(std::max(8, int(r.height() * 0.7)));
    p.setFont(f);
    p.setPen(on);
    for (int i = 0; i < cells; ++i)
    {
        const int k = i - (cells - int(text.size())); // right-aligned
        const wchar_t ch = k >= 0 ? wchar_t(text[k].unicode()) : L' ';
        const QRectF cell(r.left() + i * cw, r.top(), cw, r.height());
        const int segments = ch == L' ' ? 0 : SegmentsOf(ch);
        if (segments >= 0)
            DrawDigit(p, cell, segments, on, off);
        else
            p.drawText(cell, Qt::AlignCenter, QString(QChar(ch)));
    }
}

void DrawTextBox(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.setPen(QPen(ToQ(s.crFore), 1));
    p.setBrush(ToQ(s.crBack));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    r = DrawCaption(p, r.adjusted(3, 2, -3, -2), s);
    const QString reading = ToQ(InstrumentReading(c));
    FitFont(p, reading, r, std::clamp(int(r.height() * 0.6), 8, 28));
    p.setPen(ToQ(s.crFore));
    p.drawText(r, Qt::AlignVCenter | Qt::AlignRight, reading);
}

void DrawPlot(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.fillRect(r, ToQ(s.crBack));
    r = DrawCaption(p, r.adjusted(2, 2, -2, -2), s);
    const QRectF area = r.adjusted(8, 4, -4, -8);
    p.setPen(QPen(ToQ(s.crFore).darker(250), 1, Qt::DotLine));
    for (int i = 1; i < s.nCount; ++i)
    {
        const qreal t = qreal(i) / s.nCount;
        p.drawLine(QPointF(area.left() + area.width() * t, area.top()),
                   QPointF(area.left() + area.width() * t, area.bottom()));
        p.drawLine(QPointF(area.left(), area.top() + area.height() * t),
                   QPointF(area.right(), area.top() + area.height() * t));
    }
    p.setPen(QPen(ToQ(s.crFore), 1.5));
    p.drawLine(area.bottomLeft(), area.topLeft());
    p.drawLine(area.bottomLeft(), area.bottomRight());
}

void DrawPanel(QPainter& p, QRectF r, const CInstrumentControl& c)
{
    const CInstrumentSettings& s = c.Settings();
    p.fillRect(r, ToQ(s.crBack));
    const QColor light = ToQ(s.crBack).lighter(140), dark = ToQ(s.crBack).darker(180);
    for (int i = 0; i < s.nCount; ++i)
    {
        const QRectF b = r.adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5);
        p.setPen(light);
        p.drawLine(b.topLeft(), b.topRight());
        p.drawLine(b.topLeft(), b.bottomLeft());
        p.setPen(dark);
        p.drawLine(b.bottomLeft(), b.bottomRight());
        p.drawLine(b.topRight(), b.bottomRight());
    }
    const QString caption = ToQ(s.strCaption.IsEmpty() ? CString(c.Info().lpszName) : s.strCaption);
    FitFont(p, caption, r.adjusted(4, 0, -4, 0), std::clamp(int(r.height() / 4), 8, 16));
    p.setPen(ToQ(s.crFore));
    p.drawText(r, Qt::AlignCenter, caption);
}
} // namespace

CString InstrumentReading(const CInstrumentControl& control)
{
    const INSTRUMENT_CONTROL_INFO& info = control.Info();
    if (info.bText)
        return control.GetText();
    CString s;
    if (info.valueKind == EInstrumentValue::None)
    {
        if (CString(info.lpszName).Find(L"Clock") >= 0)
            s = CString(QTime::currentTime().toString(QStringLiteral("HHmmss")).toStdWString());
        return s;
    }
    const double v = control.GetValue();
    if (info.valueKind == EInstrumentValue::R8 || info.valueKind == EInstrumentValue::BarMethod)
    {
        const int decimals = info.renderer == EInstrumentRenderer::TextBox ? control.Settings().nCount : 1;
        s.Format(L"%.*f", decimals, v);
    }
    else
    {
        s.Format(L"%ld", long(v));
    }
    return s;
}

void InstrumentDraw(CDC* pDC, const RECT& rc, const CInstrumentControl& control)
{
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    if (!painter || rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    QPainter& p = *painter;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    switch (control.Info().renderer)
    {
    case EInstrumentRenderer::Dial:
        DrawDial(p, r, control);
        break;
    case EInstrumentRenderer::Linear:
        DrawLinear(p, r, control);
        break;
    case EInstrumentRenderer::Lamp:
        DrawLamp(p, r, control);
        break;
    case EInstrumentRenderer::Switch:
        DrawSwitch(p, r, control);
        break;
    case EInstrumentRenderer::Digits:
        DrawDigits(p, r, control);
        break;
    case EInstrumentRenderer::TextBox:
        DrawTextBox(p, r, control);
        break;
    case EInstrumentRenderer::Plot:
        DrawPlot(p, r, control);
        break;
    case EInstrumentRenderer::Panel:
        DrawPanel(p, r, control);
        break;
    }
    p.restore();
}
