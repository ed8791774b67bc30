// CDC saved levels, mapping modes and transforms, and clipping.
#include "mfc/Dc.h"
#include "mfc/DcImpl.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>

int CDC::SaveDC()
{
    // Levels are kept for reuse: shapes save and restore around every figure.
    if (size_t(m_nSaved) == m_saved.size())
        m_saved.push_back(std::make_unique<Saved>());
    Saved& saved = *m_saved[size_t(m_nSaved)];
    Impl& impl = *m_impl;
    saved.state = m_state;
    saved.pen = m_curPen;
    saved.brush = m_curBrush;
    saved.font = m_curFont;
    saved.qPen = impl.pen;
    saved.pPen = m_pCurPen;
    saved.pBrush = m_pCurBrush;
    saved.pFont = m_pCurFont;
    if (m_pPainter && impl.clipCacheSerial != impl.clipSerial)
    {
        impl.clipCacheHas = m_pPainter->hasClipping();
        impl.clipCache =
            impl.clipCacheHas ? m_pPainter->clipPath() * m_pPainter->worldTransform() : QPainterPath();
        impl.clipCacheSerial = impl.clipSerial;
    }
    saved.clipSerial = impl.clipSerial;
    saved.hasClip = m_pPainter && impl.clipCacheHas;
    saved.clip = saved.hasClip ? impl.clipCache : QPainterPath();
    return ++m_nSaved;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    int level = nSavedDC < 0 ? m_nSaved + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > m_nSaved)
        return FALSE;
    m_nSaved = level - 1;
    Saved& saved = *m_saved[size_t(level - 1)];
    Impl& impl = *m_impl;
    const State& s = saved.state;
    const bool sameTransform =
        s.nMapMode == m_state.nMapMode && s.ptWindowOrg == m_state.ptWindowOrg &&
        s.ptViewportOrg == m_state.ptViewportOrg && s.szWindowExt == m_state.szWindowExt &&
        s.szViewportExt == m_state.szViewportExt && s.nGraphicsMode == m_state.nGraphicsMode &&
        std::memcmp(&s.xform, &m_state.xform, sizeof(XFORM)) == 0;
    m_state = s;
    m_curPen = saved.pen;
    impl.pen = saved.qPen;
    m_curBrush = saved.brush;
    m_curFont = saved.font;
    m_pCurPen = saved.pPen;
    m_pCurBrush = saved.pBrush;
    m_pCurFont = saved.pFont;
    if (!m_pPainter)
        return TRUE;
    // Only what changed since the save goes back to the painter.
    if (!sameTransform || m_pPainter->worldTransform() != impl.transform)
        ApplyTransform();
    ApplyPen();
    ApplyBrush();
    ApplyFont();
    if (saved.clipSerial != impl.clipSerial || m_pPainter->hasClipping() != saved.hasClip)
    {
        if (saved.hasClip)
            m_pPainter->setClipPath(saved.clip * m_pPainter->worldTransform().inverted());
        else
            m_pPainter->setClipping(false);
        impl.clipSerial = saved.clipSerial;
        impl.clipCacheSerial = saved.clipSerial;
        impl.clipCacheHas = saved.hasClip;
        impl.clipCache = saved.clip;
    }
    return TRUE;
}

int CDC::SetMapMode(int nMapMode)
{
    const int old = m_state.nMapMode;
    if (nMapMode == MM_TEXT || nMapMode == MM_ISOTROPIC || nMapMode == MM_ANISOTROPIC)
    {
        m_state.nMapMode = nMapMode;
        if (nMapMode == MM_TEXT)
        {
            m_state.szWindowExt = CSize(1, 1);
            m_state.szViewportExt = CSize(1, 1);
        }
        ApplyTransform();
    }
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    const CPoint old = m_state.ptWindowOrg;
    m_state.ptWindowOrg = CPoint(x, y);
    ApplyTransform();
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_state.ptViewportOrg;
    m_state.ptViewportOrg = CPoint(x, y);
    ApplyTransform();
    return old;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    const CPoint old = m_state.ptViewportOrg;
    return SetViewportOrg(old.x + nWidth, old.y + nHeight);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    const CSize old = m_state.szWindowExt;
    if (m_state.nMapMode != MM_TEXT && cx != 0 && cy != 0)
    {
        m_state.szWindowExt = CSize(cx, cy);
        ApplyTransform();
    }
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    const CSize old = m_state.szViewportExt;
    if (m_state.nMapMode != MM_TEXT && cx != 0 && cy != 0)
    {
        m_state.szViewportExt = CSize(cx, cy);
        ApplyTransform();
    }
    return old;
}

int CDC::SetGraphicsMode(int iMode)
{
    const int old = m_state.nGraphicsMode;
    if (iMode == GM_COMPATIBLE || iMode == GM_ADVANCED)
    {
        m_state.nGraphicsMode = iMode;
        ApplyTransform();
    }
    return old;
}

BOOL CDC::SetWorldTransform(const XFORM* pXform)
{
    if (!pXform || m_state.nGraphicsMode != GM_ADVANCED)
        return FALSE;
    m_state.xform = *pXform;
    ApplyTransform();
    return TRUE;
}

BOOL CDC::ModifyWorldTransform(const XFORM* pXform, DWORD iMode)
{
    if (m_state.nGraphicsMode != GM_ADVANCED)
        return FALSE;
    const XFORM& c = m_state.xform;
    QTransform cur(c.eM11, c.eM12, c.eM21, c.eM22, c.eDx, c.eDy);
    QTransform result;
    if (iMode == MWT_IDENTITY)
        result = QTransform();
    else if (!pXform)
        return FALSE;
    else
    {
        QTransform x(pXform->eM11, pXform->eM12, pXform->eM21, pXform->eM22, pXform->eDx, pXform->eDy);
        if (iMode == MWT_LEFTMULTIPLY)
            result = x * cur;
        else if (iMode == MWT_RIGHTMULTIPLY)
            result = cur * x;
        else
            return FALSE;
    }
    m_state.xform = {FLOAT(result.m11()), FLOAT(result.m12()), FLOAT(result.m21()),
                     FLOAT(result.m22()), FLOAT(result.dx()),  FLOAT(result.dy())};
    ApplyTransform();
    return TRUE;
}

BOOL CDC::GetWorldTransform(XFORM* pXform) const
{
    if (!pXform)
        return FALSE;
    *pXform = m_state.xform;
    return TRUE;
}

namespace
{
QTransform MappingOf(int mapMode, CPoint winOrg, CPoint vpOrg, CSize winExt, CSize vpExt)
{
    double sx = 1.0;
    double sy = 1.0;
    if (mapMode != MM_TEXT && winExt.cx != 0 && winExt.cy != 0)
    {
        sx = double(vpExt.cx) / winExt.cx;
        sy = double(vpExt.cy) / winExt.cy;
        if (mapMode == MM_ISOTROPIC)
        {
            const double s = std::min(std::fabs(sx), std::fabs(sy));
            sx = sx < 0 ? -s : s;
            sy = sy < 0 ? -s : s;
        }
    }
    return QTransform(sx, 0, 0, sy, vpOrg.x - winOrg.x * sx, vpOrg.y - winOrg.y * sy);
}
} // namespace

void CDC::ApplyTransform()
{
    if (!m_pPainter)
        return;
    QTransform world;
    if (m_state.nGraphicsMode == GM_ADVANCED)
    {
        const XFORM& x = m_state.xform;
        world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
    }
    const QTransform map = MappingOf(m_state.nMapMode, m_state.ptWindowOrg, m_state.ptViewportOrg,
                                     m_state.szWindowExt, m_state.szViewportExt);
    Impl& impl = *m_impl;
    impl.transform = world * map;
    if (m_pPainter->worldTransform() != impl.transform)
        m_pPainter->setWorldTransform(impl.transform);
    const auto whole = [](const QTransform& t)
    {
        return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) &&
               t.dy() == std::floor(t.dy());
    };
    impl.wholePixels = whole(impl.transform) && whole(m_pPainter->deviceTransform());
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    if (!lpPoints)
        return;
    QTransform world;
    if (m_state.nGraphicsMode == GM_ADVANCED)
    {
        const XFORM& x = m_state.xform;
        world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
    }
    const QTransform t = world * MappingOf(m_state.nMapMode, m_state.ptWindowOrg, m_state.ptViewportOrg,
                                           m_state.szWindowExt, m_state.szViewportExt);
    for (int i = 0; i < nCount; ++i)
    {
        const QPointF p = t.map(QPointF(lpPoints[i].x, lpPoints[i].y));
        lpPoints[i].x = LONG(std::lround(p.x()));
        lpPoints[i].y = LONG(std::lround(p.y()));
    }
}

void CDC::LPtoDP(LPRECT lpRect) const
{
    if (lpRect)
        LPtoDP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    if (!lpPoints)
        return;
    QTransform world;
    if (m_state.nGraphicsMode == GM_ADVANCED)
    {
        const XFORM& x = m_state.xform;
        world = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
    }
    bool invertible = false;
    const QTransform t = (world * MappingOf(m_state.nMapMode, m_state.ptWindowOrg, m_state.ptViewportOrg,
                                            m_state.szWindowExt, m_state.szViewportExt))
                             .inverted(&invertible);
    if (!invertible)
        return;
    for (int i = 0; i < nCount; ++i)
    {
        const QPointF p = t.map(QPointF(lpPoints[i].x, lpPoints[i].y));
        lpPoints[i].x = LONG(std::lround(p.x()));
        lpPoints[i].y = LONG(std::lround(p.y()));
    }
}

void CDC::DPtoLP(LPRECT lpRect) const
{
    if (lpRect)
        DPtoLP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

// Region results of the clip calls.
#ifndef NULLREGION
#define ERROR_REGION 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#endif

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    if (!m_pPainter)
        return ERROR_REGION;
    m_pPainter->setClipRect(QRect(x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1)), Qt::IntersectClip);
    m_impl->ClipChanged();
    return x2 > x1 && y2 > y1 ? SIMPLEREGION : NULLREGION;
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    if (!lpRect)
        return ERROR_REGION;
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    if (!m_pPainter)
        return ERROR_REGION;
    QPainterPath all;
    if (m_pPainter->hasClipping())
        all = m_pPainter->clipPath();
    else
        all.addRect(m_pPainter->worldTransform().inverted().mapRect(QRectF(-1e6, -1e6, 2e6, 2e6)));
    QPainterPath hole;
    hole.addRect(QRectF(x1, y1, x2 - x1, y2 - y1));
    m_pPainter->setClipPath(all.subtracted(hole));
    m_impl->ClipChanged();
    return COMPLEXREGION;
}

int CDC::SelectClipPolygon(const POINT* lpPoints, int nCount)
{
    if (!m_pPainter)
        return ERROR_REGION;
    m_impl->ClipChanged();
    if (!lpPoints || nCount <= 0)
    {
        m_pPainter->setClipping(false);
        return SIMPLEREGION;
    }
    QPolygon poly;
    for (int i = 0; i < nCount; ++i)
        poly << QPoint(lpPoints[i].x, lpPoints[i].y);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    m_pPainter->setClipPath(path);
    return COMPLEXREGION;
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    if (!lpRect)
        return ERROR_REGION;
    if (!m_pPainter)
    {
        *lpRect = {0, 0, 0, 0};
        return ERROR_REGION;
    }
    QRectF box;
    if (m_pPainter->hasClipping())
        box = m_pPainter->clipBoundingRect();
    else if (m_pPainter->device())
        box = m_pPainter->worldTransform().inverted().mapRect(
            QRectF(0, 0, m_pPainter->device()->width(), m_pPainter->device()->height()));
    *lpRect = {LONG(std::floor(box.left())), LONG(std::floor(box.top())), LONG(std::ceil(box.right())),
               LONG(std::ceil(box.bottom()))};
    return box.isEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL CDC::RectVisible(LPCRECT lpRect) const
{
    if (!lpRect)
        return FALSE;
    if (!m_pPainter || !m_pPainter->hasClipping())
        return TRUE;
    const QRect r =
        QRect(QPoint(lpRect->left, lpRect->top), QPoint(lpRect->right, lpRect->bottom)).normalized();
    Impl::ClipGrid& g = m_impl->grid;
    if (g.serial != m_impl->clipSerial || g.transform != m_pPainter->worldTransform())
    {
        constexpr int kCells = 64;
        const QRegion region = m_pPainter->clipRegion();
        g.serial = m_impl->clipSerial;
        g.transform = m_pPainter->worldTransform();
        g.bounds = region.boundingRect();
        g.pieces = region.rectCount() > 1;
        g.cells.clear();
        if (g.pieces)
        {
            g.cellW = std::max(1, (g.bounds.width() + kCells - 1) / kCells);
            g.cellH = std::max(1, (g.bounds.height() + kCells - 1) / kCells);
            g.cols = (g.bounds.width() + g.cellW - 1) / g.cellW;
            g.rows = (g.bounds.height() + g.cellH - 1) / g.cellH;
            g.cells.assign(size_t(g.cols) * size_t(g.rows), 0);
            for (const QRect& piece : region)
            {
                const QRect p = piece.translated(-g.bounds.topLeft());
                for (int y = p.top() / g.cellH; y <= p.bottom() / g.cellH && y < g.rows; ++y)
                    for (int x = p.left() / g.cellW; x <= p.right() / g.cellW && x < g.cols; ++x)
                        g.cells[size_t(y) * size_t(g.cols) + size_t(x)] = 1;
            }
        }
    }
    // A clip path the region cannot state (a rotated polygon) leaves an empty region: say TRUE.
    if (g.bounds.isEmpty())
        return TRUE;
    const QRect hit = r.intersected(g.bounds);
    if (hit.isEmpty())
        return FALSE;
    if (!g.pieces)
        return TRUE;
    const QRect p = hit.translated(-g.bounds.topLeft());
    for (int y = p.top() / g.cellH; y <= p.bottom() / g.cellH && y < g.rows; ++y)
        for (int x = p.left() / g.cellW; x <= p.right() / g.cellW && x < g.cols; ++x)
            if (g.cells[size_t(y) * size_t(g.cols) + size_t(x)])
                return TRUE;
    return FALSE;
}
