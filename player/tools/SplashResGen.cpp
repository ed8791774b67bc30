// Writes the splash window's picture (bitmap 184) and its animation clip (AVI 311) into a folder
// (player/res); run by hand after changing the artwork:
//   SplashResGen <folder>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace
{
// Both fit the splash dialog (400 x 246 dialog units, 600 x 399 pixels).
const QSize kPicture(600, 325);
const QSize kFrame(160, 32);
const int kFrames = 12;
const int kIntervalMs = 90;

void DrawTank(QPainter& p, const QRectF& rc, double level)
{
    p.setPen(QPen(QColor(200, 220, 235), 3));
    p.setBrush(QColor(30, 60, 90));
    p.drawRoundedRect(rc, 14, 14);
    QRectF liquid = rc.adjusted(5, 5, -5, -5);
    liquid.setTop(liquid.bottom() - liquid.height() * level);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 170, 220));
    p.drawRoundedRect(liquid, 9, 9);
}

void DrawMotor(QPainter& p, const QPointF& centre, double radius)
{
    p.setPen(QPen(QColor(200, 220, 235), 3));
    p.setBrush(QColor(60, 150, 80));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, 3));
    for (int k = 0; k < 3; ++k)
    {
        const double a = k * 2.0 * M_PI / 3.0;
        p.drawLine(centre, centre + QPointF(std::cos(a), std::sin(a)) * (radius - 8));
    }
}

void DrawGauge(QPainter& p, const QPointF& centre, double radius)
{
    p.setPen(QPen(QColor(200, 220, 235), 3));
    p.setBrush(QColor(20, 40, 60));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(240, 170, 40), 5, Qt::SolidLine, Qt::FlatCap));
    const QRectF arc(centre.x() - radius + 8, centre.y() - radius + 8, 2 * radius - 16, 2 * radius - 16);
    p.drawArc(arc, 210 * 16, -240 * 16);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::cos(-0.8), std::sin(-0.8)) * (radius - 12));
}

QImage Picture()
{
    QImage image(kPicture, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPicture.height());
    sky.setColorAt(0, QColor(14, 36, 64));
    sky.setColorAt(1, QColor(22, 92, 118));
    p.fillRect(image.rect(), sky);

    // A small plant: two tanks piped through a motor, and a gauge.
    p.setPen(QPen(QColor(150, 180, 200), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath pipe;
    pipe.moveTo(120, 250);
    pipe.lineTo(120, 285);
    pipe.lineTo(480, 285);
    pipe.lineTo(480, 250);
    p.drawPath(pipe);
    p.drawLine(QPointF(300, 285), QPointF(300, 262));
    DrawTank(p, QRectF(70, 150, 100, 110), 0.65);
    DrawTank(p, QRectF(430, 170, 100, 90), 0.35);
    DrawMotor(p, QPointF(300, 240), 26);
    DrawGauge(p, QPointF(380, 215), 26);

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 30, kPicture.width(), 60), Qt::AlignCenter, QStringLiteral("Quendrel Plexrun"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(18);
    p.setFont(sub);
    p.setPen(QColor(170, 210, 230));
    p.drawText(QRectF(0, 90, kPicture.width(), 30), Qt::AlignCenter, QStringLiteral("HMI runtime"));
    return image;
}

// Frames side by side: a row of dots with a bright one running from left to right.
QImage Clip()
{
    const int dots = 8;
    QImage strip(kFrame.width() * kFrames, kFrame.height(), QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double step = double(kFrame.width()) / dots;
    for (int f = 0; f < kFrames; ++f)
    {
        const double lit = double(f) * dots / kFrames;
        for (int d = 0; d < dots; ++d)
        {
            const double distance = std::fabs(d - lit);
            const int glow = int(std::max(0.0, 1.0 - distance / 2.0) * 200);
            p.setBrush(QColor(40 + glow / 4, 120 + glow / 2, 160 + glow / 3));
            const double r = 5 + 4 * std::max(0.0, 1.0 - distance);
            p.drawEllipse(QPointF(f * kFrame.width() + step * (d + 0.5), kFrame.height() / 2.0), r, r);
        }
    }
    return strip;
}

bool Save(const QImage& image, const QString& path, bool bClip)
{
    QImageWriter writer(path, "PNG");
    if (bClip)
    {
        writer.setText(QStringLiteral("Frames"), QString::number(kFrames));
        writer.setText(QStringLiteral("Interval"), QString::number(kIntervalMs));
    }
    if (!writer.write(image))
    {
        std::fprintf(stderr, "SplashResGen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: SplashResGen <folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const bool ok = Save(Picture(), dir + QStringLiteral("splash.png"), false) &&
                    Save(Clip(), dir + QStringLiteral("closing.png"), true);
    return ok ? 0 : 1;
}
