// CDC figures kept apart from Dc.cpp: PolylineTo, the focus rectangle and turned text.
#include "mfc/Dc.h"

#include <QFontMetrics>
#include <QPainter>

#include <vector>

BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount <= 0)
        return FALSE;
    std::vector<POINT> line;
    line.reserve(size_t(nCount) + 1);
    line.push_back(m_ptCurrent);
    line.insert(line.end(), lpPoints, lpPoints + nCount);
    const BOOL ok = Polyline(line.data(), int(line.size()));
    m_ptCurrent = lpPoints[nCount - 1];
    return ok;
}

void CDC::DrawFocusRect(LPCRECT lpRect)
{
    if (!Ready() || !lpRect || lpRect->right - lpRect->left < 1 || lpRect->bottom - lpRect->top < 1)
        return;
    const int l = lpRect->left, t = lpRect->top;
    const int r = lpRect->right - 1, b = lpRect->bottom - 1;
    m_pPainter->save();
    // Every other pixel of the frame inverted: twice restores what was there.
    m_pPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_pPainter->setPen(QPen(Qt::white, 0, Qt::SolidLine));
    auto dot = [&](int x, int y)
    {
        if (((x + y) & 1) == 0)
            m_pPainter->drawPoint(x, y);
    };
    for (int x = l; x <= r; ++x)
    {
        dot(x, t);
        if (b != t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y)
    {
        dot(l, y);
        if (r != l)
            dot(r, y);
    }
    m_pPainter->restore();
}

void CDC::TextOutRotated(int x, int y, const CString& str, int nEscapement)
{
    const QString text = QString::fromStdWString(str.str());
    const QFontMetrics fm(m_pPainter->font());
    const int width = fm.horizontalAdvance(text);
    // Laid out as unturned text about (x, y), then turned about that point.
    int left = 0;
    if ((m_state.nTextAlign & TA_CENTER) == TA_CENTER)
        left = -width / 2;
    else if (m_state.nTextAlign & TA_RIGHT)
        left = -width;
    int baseline = fm.ascent();
    if ((m_state.nTextAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (m_state.nTextAlign & TA_BOTTOM)
        baseline = -fm.descent();
    m_pPainter->save();
    m_pPainter->translate(x, y);
    m_pPainter->rotate(-nEscapement / 10.0);
    if (m_state.nBkMode == OPAQUE)
        m_pPainter->fillRect(QRect(left, baseline - fm.ascent(), width, fm.height()),
                             AfxColorFromRef(m_state.crBk));
    m_pPainter->setPen(AfxColorFromRef(m_state.crText));
    m_pPainter->drawText(QPoint(left, baseline), text);
    m_pPainter->restore();
    ApplyPen();
}
