// A drawing of the constructs the import knows, imported into a model and drawn through the
// diagram library's canvas drawing, beside Qt's own SVG rendering of the same file.
#include "SvgTestSupport.h"

#include "figkit/FODataModel.h"
#include "mfc/Dc.h"
#include "svgimport/SvgConvert.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#ifdef QYR_HAVE_QTSVG
#include <QSvgRenderer>
#endif

#include <cstdio>
#include <cstdlib>

namespace
{
// The top-left corner is (20, 20) already, so the import places it unchanged.
const char* kDrawing = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="480" height="360">
  <defs>
    <linearGradient id="sky"><stop offset="0" stop-color="#3060ff"/><stop offset="1" stop-color="#ffffff"/></linearGradient>
    <radialGradient id="ball"><stop offset="0" stop-color="rgb(255,255,0)"/><stop offset="1" stop-color="orange"/></radialGradient>
  </defs>
  <rect x="20" y="20" width="440" height="320" fill="#f4f4f4" stroke="#808080" stroke-width="5"/>
  <g style="fill:#90d090;stroke:#206020;stroke-width:10">
    <rect x="40" y="40" width="80" height="50"/>
    <g transform="translate(100,0)">
      <rect x="40" y="40" width="80" height="50" style="fill:#d09090;stroke:#802020;stroke-width:10"/>
      <circle cx="180" cy="65" r="25"/>
    </g>
  </g>
  <rect x="40" y="110" width="60" height="40" fill="url(#sky)" stroke="black"/>
  <ellipse cx="150" cy="130" rx="35" ry="20" fill="url(#ball)" stroke="black"/>
  <rect x="200" y="110" width="40" height="40" fill="#4040c0" transform="rotate(30 220 130)"/>
  <rect x="260" y="110" width="40" height="40" fill="#c040c0" transform="skewX(20)"/>
  <rect x="300" y="110" width="40" height="40" fill="#40c0c0" transform="matrix(1,0,0 1, 40 0)"/>
  <path d="M 40 230 A 40 40 0 0 1 120 230" fill="none" stroke="#c00000" stroke-width="10"/>
  <path d="M 140 230 A 40 40 0 1 1 180 270" fill="none" stroke="#0000c0" stroke-width="10"/>
  <path d="M 240 200 C 260 170 280 170 300 200 S 340 230 360 200 T 420 200" fill="none" stroke="black" stroke-width="5"/>
  <path d="M 250 260 L 300 240 L 350 260 Z" fill="#e0c040" stroke="black"/>
  <line x1="370" y1="240" x2="440" y2="240" stroke="black" stroke-dasharray="6 3" stroke-width="5"/>
  <polyline points="370 260 390 280 410 260 430 280" fill="none" stroke="#008000" stroke-width="5" marker-end="url(#arrow)"/>
  <text x="40" y="320" font-size="18" font-family="Sans" stroke="black">Pump 1<tspan x="160" y="320">flow</tspan><tspan x="260" y="320" font-weight="bold">&amp; level</tspan></text>
</svg>
)svg";

QString ShotDir()
{
    QDir().mkpath(QStringLiteral(QYR_SHOT_DIR));
    return QStringLiteral(QYR_SHOT_DIR);
}
} // namespace

TEST(SvgRender, ImportedDrawingBesideQtsOwnRendering)
{
    AfxEnsureApplication();
    CTestDir dir;
    CTestDir::WriteAll(dir / "constructs.svg", kDrawing);
    CFODataModel model;
    {
        CModalRecorder boxes;
        CFOPSvgConvert convert(&model, CString(dir.W("constructs.svg")));
        convert.ImportToModel();
        EXPECT_TRUE(boxes.texts.empty());
        ASSERT_GE(convert.GetAddedShapes().size(), 15u);
        // Already at (20, 20): nothing moved.
        EXPECT_EQ(model.GetShapes()->GetObject(0)->GetSnapRect().TopLeft(), CPoint(20, 20));
    }
    const int w = 480, h = 360;
    QImage ours(w, h, QImage::Format_RGB32);
    ours.fill(Qt::white);
    {
        CImageDC dc(ours);
        model.OnDraw(&dc, CRect(0, 0, w, h));
    }
    const QString shots = ShotDir();
    ASSERT_TRUE(ours.save(shots + QStringLiteral("/svg_import_canvas.png")));
#ifdef QYR_HAVE_QTSVG
    QImage theirs(w, h, QImage::Format_RGB32);
    theirs.fill(Qt::white);
    {
        QSvgRenderer renderer(QString::fromStdWString(dir.W("constructs.svg")));
        ASSERT_TRUE(renderer.isValid());
        QPainter p(&theirs);
        renderer.render(&p, QRectF(0, 0, w, h));
    }
    ASSERT_TRUE(theirs.save(shots + QStringLiteral("/svg_import_qsvg.png")));
    QImage both(2 * w + 10, h, QImage::Format_RGB32);
    both.fill(Qt::gray);
    {
        QPainter p(&both);
        p.drawImage(0, 0, ours);
        p.drawImage(w + 10, 0, theirs);
    }
    ASSERT_TRUE(both.save(shots + QStringLiteral("/svg_import_side_by_side.png")));
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const QColor a = ours.pixelColor(x, y), b = theirs.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue()) >
                96)
                ++differ;
        }
    const double percent = 100.0 * differ / (w * h);
    std::printf("pixels differing from Qt's rendering: %d of %d (%.1f %%)\n", differ, w * h, percent);
    // Stroke widths (scaled by 0.2), gradient geometry and text metrics differ; shapes and places agree.
    EXPECT_LT(percent, 15.0);
#endif
}
