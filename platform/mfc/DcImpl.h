// Inside platform/mfc only: the private state of a CDC, shared by the files that make up the DC.
#pragma once

#include "mfc/Dc.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRect>
#include <QTransform>

#include <cstring>
#include <vector>

// A saved level. The clip is kept in device coordinates, so later transforms do not move it.
struct CDC::Saved
{
    State state;
    CPen pen;
    CBrush brush;
    CFont font;
    QPen qPen;
    CPen* pPen = nullptr;
    CBrush* pBrush = nullptr;
    CFont* pFont = nullptr;
    quint64 clipSerial = 0;
    bool hasClip = false;
    QPainterPath clip;
};

struct CDC::Impl
{
    // The Qt form of m_curPen, made when the pen changes rather than for every figure.
    QPen pen;
    // The transform last given to the painter, and whether it maps whole pixels to whole pixels
    // unscaled (then boxes and ellipses may take their cheaper forms).
    QTransform transform;
    bool wholePixels = true;
    // The painter puts pixels down (not a printer or a recording), and it does so into a 32-bit
    // image (where a finished picture of an ellipse lands exactly as the ellipse itself would).
    bool raster = false;
    bool rasterImage = false;
    // The font last given to the painter, as the painter keeps it, and the one it was made from.
    QFont appliedFont;
    LOGFONT appliedLf;
    bool appliedCreated = false;
    bool fontApplied = false;
    // Recent fonts: making a QFont from a LOGFONT costs more than finding it here.
    struct FontEntry
    {
        LOGFONT lf;
        bool created;
        QFont font;
    };
    std::vector<FontEntry> fonts;
    size_t nNextFont = 0;
    // Every clip change gets a new serial; a saved level whose serial is current needs no clip
    // restored. The clip of the current serial is read from the painter once and shared by every
    // level saved under it.
    quint64 clipSerial = 1;
    quint64 nextClipSerial = 1;
    quint64 clipCacheSerial = 0;
    bool clipCacheHas = false;
    QPainterPath clipCache;

    void ClipChanged() { clipSerial = ++nextClipSerial; }

    // RectVisible's picture of a clip of many pieces: a coarse grid over the clip's bounds whose
    // cells say whether a piece touches them, made once per clip and transform.
    struct ClipGrid
    {
        quint64 serial = 0;
        QTransform transform;
        QRect bounds;
        int cellW = 1;
        int cellH = 1;
        int cols = 0;
        int rows = 0;
        bool pieces = false;
        std::vector<unsigned char> cells;
    };
    mutable ClipGrid grid;

    const QFont& FontFor(const CFont& font)
    {
        for (const FontEntry& e : fonts)
            if (e.created == font.IsCreated() && std::memcmp(&e.lf, &font.m_logFont, sizeof(LOGFONT)) == 0)
                return e.font;
        FontEntry entry{font.m_logFont, font.IsCreated() != FALSE, font.ToQFont()};
        const size_t kMaxFonts = 8;
        if (fonts.size() < kMaxFonts)
        {
            fonts.push_back(std::move(entry));
            return fonts.back().font;
        }
        FontEntry& slot = fonts[nNextFont];
        nNextFont = (nNextFont + 1) % kMaxFonts;
        slot = std::move(entry);
        return slot.font;
    }
};

// A painter that puts colours down as they are: opaque, over what is there.
inline bool AfxPainterOpaque(const QPainter& painter)
{
    return painter.opacity() == 1.0 && painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

inline bool AfxOnePixelSolid(const QPen& pen)
{
    return pen.style() == Qt::SolidLine && pen.isCosmetic() && pen.width() == 0;
}
