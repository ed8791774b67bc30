// CDC ellipses drawn from finished pictures of them.
#include "mfc/Dc.h"
#include "mfc/DcImpl.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <unordered_map>

namespace
{
// Finished pictures of ellipses (fill and outline over a clear background, one pixel of margin
// around the figure), by size and colours. Drawing one is a plain copy of pixels, much cheaper than
// filling and stroking the curve again; since the curve lands on the same pixels wherever it is
// moved by whole pixels, the copy gives exactly the pixels of the figure. A picture is made the
// second time its ellipse is asked for, so a screen of all different ellipses pays nothing extra.
class CEllipsePictures
{
public:
    struct Key
    {
        int w;
        int h;
        QRgb pen;
        QRgb brush;
        bool hasPen;
        bool hasBrush;
        bool operator==(const Key&) const = default;
    };

    // The picture for the key, or null when it is not worth one (yet).
    const QImage* Find(const Key& key, const QPen& pen)
    {
        auto it = m_pictures.find(key);
        if (it == m_pictures.end())
        {
            if (m_pictures.size() >= kMaxEntries)
                Clear();
            m_pictures.emplace(key, QImage());
            return nullptr;
        }
        if (it->second.isNull())
        {
            const qint64 bytes = qint64(key.w + 3) * (key.h + 3) * 4;
            if (m_nBytes + bytes > kMaxBytes)
            {
                Clear();
                return nullptr;
            }
            it->second = Render(key, pen);
            m_nBytes += bytes;
        }
        return &it->second;
    }

    static const int kMaxSide = 256;

private:
    struct KeyHash
    {
        size_t operator()(const Key& k) const
        {
            size_t h = std::hash<quint64>()((quint64(quint32(k.w)) << 32) | quint32(k.h));
            h ^= std::hash<quint64>()((quint64(k.pen) << 32) | k.brush) + 0x9e3779b97f4a7c15ull + (h << 6) +
                 (h >> 2);
            return h ^ (size_t(k.hasPen) << 1) ^ size_t(k.hasBrush);
        }
    };

    static QImage Render(const Key& key, const QPen& pen)
    {
        QImage image(key.w + 3, key.h + 3, QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // The same calls as the figure drawn directly (CDC::StrokeAndFill), one pixel in.
        QPainterPath path;
        path.addEllipse(QRectF(1, 1, key.w, key.h));
        if (key.hasBrush)
            painter.fillPath(path, QColor::fromRgb(key.brush));
        if (key.hasPen)
            painter.strokePath(path, pen);
        return image;
    }

    void Clear()
    {
        m_pictures.clear();
        m_nBytes = 0;
    }

    static const size_t kMaxEntries = 512;
    static const qint64 kMaxBytes = 16 * 1024 * 1024;
    std::unordered_map<Key, QImage, KeyHash> m_pictures;
    qint64 m_nBytes = 0;
};

CEllipsePictures& EllipsePictures()
{
    // Per thread: images drawn on one thread are never painted with on another.
    thread_local CEllipsePictures pictures;
    return pictures;
}
} // namespace

// The ellipse in the box [l, l + w] x [t, t + h] with the current pen and brush, from a finished
// picture of it.
bool CDC::EllipseFast(int l, int t, int w, int h)
{
    const Impl& impl = *m_impl;
    const bool hasPen = impl.pen.style() != Qt::NoPen;
    const bool hasBrush = m_curBrush.IsCreated() && m_curBrush.m_nStyle != BS_NULL;
    if (!impl.rasterImage || w < 1 || h < 1 || w > CEllipsePictures::kMaxSide ||
        h > CEllipsePictures::kMaxSide || (hasPen && !AfxOnePixelSolid(impl.pen)) ||
        (hasBrush && m_curBrush.m_nStyle != BS_SOLID) || !impl.wholePixels ||
        m_pPainter->worldTransform() != impl.transform ||
        m_pPainter->testRenderHint(QPainter::Antialiasing) || !AfxPainterOpaque(*m_pPainter))
        return false;
    if (!hasPen && !hasBrush)
        return true;
    const CEllipsePictures::Key key{w,
                                    h,
                                    hasPen ? impl.pen.color().rgba() : 0,
                                    hasBrush ? AfxColorFromRef(m_curBrush.m_crColor).rgba() : 0,
                                    hasPen,
                                    hasBrush};
    const QImage* picture = EllipsePictures().Find(key, impl.pen);
    if (!picture)
        return false;
    m_pPainter->drawImage(QPoint(l - 1, t - 1), *picture);
    return true;
}
