// Writes the symbols' composite resources and pictures into a folder (symbols/res):
//   SymbolResGen <folder>
#include "symbols/SymbolPartsBuilder.h"

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace
{
bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    {
        std::fprintf(stderr, "SymbolResGen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// A 16 x 16 picture: a rounded tile in the colour with a mark drawn by paint.
template <class F> bool WritePicture(const QString& path, QColor colour, F&& paint)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colour.darker(160));
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
        p.setPen(QPen(Qt::white, 2));
        paint(p);
    }
    return image.save(path, "PNG");
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: SymbolResGen <folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    bool ok = true;
    for (const auto& res : SymbolPartsBuilder::Resources())
    {
        const std::vector<BYTE> bytes = SymbolPartsBuilder::Store(res.nId);
        ok &= WriteFile(dir + QLatin1String(res.pszFile),
                        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    // Key setting: a key; event setting: a lightning bolt.
    ok &= WritePicture(dir + "keysetting.png", QColor(40, 110, 220),
                       [](QPainter& p)
                       {
                           p.drawEllipse(QPointF(5, 8), 2.5, 2.5);
                           p.drawLine(QPointF(7.5, 8), QPointF(13, 8));
                           p.drawLine(QPointF(11, 8), QPointF(11, 11));
                       });
    ok &= WritePicture(
        dir + "eventsetting.png", QColor(230, 150, 20),
        [](QPainter& p) {
            p.drawPolyline(QPolygonF({QPointF(9, 2), QPointF(5, 9), QPointF(10, 8), QPointF(6, 14)}));
        });
    const QColor named[4] = {QColor(200, 40, 40), QColor(40, 160, 60), QColor(40, 90, 200),
                             QColor(150, 60, 180)};
    for (int i = 0; i < 4; ++i)
        ok &= WritePicture(dir + QStringLiteral("named%1.png").arg(i + 1), named[i],
                           [i](QPainter& p)
                           {
                               for (int k = 0; k <= i; ++k)
                                   p.drawPoint(QPointF(4 + 2.5 * k, 8));
                           });
    return ok ? 0 : 1;
}
