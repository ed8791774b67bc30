// The picture static (SS_BITMAP, SS_ICON, STM_SETIMAGE) and the animation control.
#include "WndTestSupport.h"

#include "mfc/AnimateCtrl.h"
#include "mfc/Controls.h"
#include "mfc/Dialog.h"
#include "mfc/Gdi.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QWidget>

#include <utility>
#include <vector>

using namespace wndtest;

namespace
{
const UINT kDialog = 800;
const UINT kLogo = 801;
const UINT kClip = 803;
const QRgb kFrameColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

// A modeless dialog that records the notifications its controls send.
class CPictureDialog : public CDialog
{
public:
    CPictureDialog() { EXPECT_TRUE(Create(kDialog, nullptr)); }
    ~CPictureDialog() override { DestroyWindow(); }
    std::vector<std::pair<int, int>> notes; // control id, notification code

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam)
            notes.emplace_back(int(LOWORD(wParam)), int(HIWORD(wParam)));
        return CDialog::OnCommand(wParam, lParam);
    }

    QImage Grab(int nID) { return GetDlgItem(nID)->GetWidget()->grab().toImage(); }
    CStatic* Picture(int nID) { return dynamic_cast<CStatic*>(GetDlgItem(nID)); }
    CAnimateCtrl* Animation(int nID) { return dynamic_cast<CAnimateCtrl*>(GetDlgItem(nID)); }
    int Count(int nID, int nCode) const
    {
        int n = 0;
        for (const auto& [id, code] : notes)
            n += id == nID && code == nCode;
        return n;
    }
};

// Whether the image shows picture at offset, pixel for pixel.
bool ShowsAt(const QImage& shown, const QImage& picture, QPoint offset)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (shown.pixel(offset + QPoint(x, y)) != picture.pixel(x, y))
                return false;
    return true;
}

class CPictureAnimateTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        HINSTANCE h = AfxGetModuleByName("PictureTestRes");
        ASSERT_NE(h, nullptr);
        AfxSetResourceHandle(h);
    }
};
} // namespace

TEST_F(CPictureAnimateTest, PictureStaticsShowTheirTemplateImageAndSwapImagesOnRequest)
{
    CPictureDialog dlg;
    HBITMAP hLogo = ::LoadBitmapW(nullptr, MAKEINTRESOURCE(kLogo));
    ASSERT_NE(hLogo, nullptr);
    const QImage logo = AfxGetBitmapImage(hLogo)->convertToFormat(QImage::Format_RGB32);

    struct Case
    {
        int nID;
        bool centred;
    } const cases[] = {{10, false}, {11, true}, {12, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nID);
        CStatic* picture = dlg.Picture(c.nID);
        ASSERT_NE(picture, nullptr);
        const HGDIOBJ image = c.nID == 12 ? HGDIOBJ(picture->GetIcon()) : HGDIOBJ(picture->GetBitmap());
        ASSERT_NE(image, nullptr);
        const QImage shown = dlg.Grab(c.nID).convertToFormat(QImage::Format_RGB32);
        const QPoint at =
            c.centred ? QPoint((shown.width() - logo.width()) / 2, (shown.height() - logo.height()) / 2)
                      : QPoint(0, 0);
        EXPECT_TRUE(ShowsAt(shown, logo, at));
    }
    // A picture the resources lack leaves the control empty.
    EXPECT_EQ(dlg.Picture(13)->GetBitmap(), nullptr);

    // A new image replaces the shown one; the one it replaces comes back to the caller.
    QImage checker(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 0) : qRgb(0, 0, 128));
    HBITMAP hChecker = AfxCreateBitmapHandle(checker);
    CStatic* first = dlg.Picture(10);
    const HBITMAP hOld = first->SetBitmap(hChecker);
    EXPECT_NE(hOld, nullptr);
    EXPECT_EQ(first->GetBitmap(), hChecker);
    EXPECT_TRUE(ShowsAt(dlg.Grab(10).convertToFormat(QImage::Format_RGB32), checker, QPoint(0, 0)));
    EXPECT_TRUE(::DeleteObject(hOld));
    // An image type the control does not know is refused.
    EXPECT_EQ(dlg.SendDlgItemMessage(10, STM_SETIMAGE, 7, reinterpret_cast<LPARAM>(hChecker)), 0);
    dlg.DestroyWindow();
    // The caller's image outlives the control.
    EXPECT_NE(AfxGetBitmapImage(hChecker), nullptr);
    ::DeleteObject(hChecker);
    ::DeleteObject(hLogo);
}

TEST_F(CPictureAnimateTest, AnimationSeeksPlaysAndTellsItsParent)
{
    CPictureDialog dlg;
    CAnimateCtrl* anim = dlg.Animation(20);
    ASSERT_NE(anim, nullptr);
    // Nothing to play before a clip is open.
    EXPECT_FALSE(anim->Play(0, UINT(-1), 1));
    ASSERT_TRUE(anim->Open(kClip));
    EXPECT_FALSE(anim->IsPlaying());
    for (int frame : {2, 0, 1})
    {
        SCOPED_TRACE(frame);
        EXPECT_TRUE(anim->Seek(UINT(frame)));
        EXPECT_EQ(dlg.Grab(20).pixel(5, 5), kFrameColours[frame]);
    }
    EXPECT_FALSE(anim->Seek(3));
    EXPECT_TRUE(dlg.notes.empty());

    // Played twice through, it stops on its last frame and says so.
    ASSERT_TRUE(anim->Play(0, UINT(-1), 2));
    EXPECT_TRUE(anim->IsPlaying());
    EXPECT_EQ(dlg.Count(20, ACN_START), 1);
    ASSERT_TRUE(PumpUntil([&] { return !anim->IsPlaying(); }));
    EXPECT_EQ(dlg.Count(20, ACN_STOP), 1);
    EXPECT_EQ(dlg.Grab(20).pixel(5, 5), kFrameColours[2]);

    // Played for ever it runs until stopped.
    ASSERT_TRUE(anim->Play(1, 2, UINT(-1)));
    PumpFor(150);
    EXPECT_TRUE(anim->IsPlaying());
    EXPECT_TRUE(anim->Stop());
    EXPECT_FALSE(anim->IsPlaying());
    EXPECT_EQ(dlg.Count(20, ACN_STOP), 2);

    // Closed, it shows nothing of the clip (the transparent control lets the dialog show).
    EXPECT_TRUE(anim->Close());
    EXPECT_FALSE(anim->Seek(0));
    const QRgb after = dlg.Grab(20).pixel(5, 5);
    for (QRgb colour : kFrameColours)
        EXPECT_NE(after, colour);

    // The auto-playing one starts as soon as it opens, centred in its control.
    CAnimateCtrl* autoPlay = dlg.Animation(21);
    ASSERT_TRUE(autoPlay->Open(kClip));
    EXPECT_TRUE(autoPlay->IsPlaying());
    EXPECT_EQ(dlg.Count(21, ACN_START), 1);
    autoPlay->Stop();
    autoPlay->Seek(1);
    const QImage shown = dlg.Grab(21);
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), kFrameColours[1]);
    EXPECT_NE(shown.pixel(1, 1), kFrameColours[1]);
}

TEST_F(CPictureAnimateTest, ClipsThatDoNotReadAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case
    {
        const char* name;
        int width;
        const char* frames;
        const char* interval;
        bool opens;
    } const cases[] = {
        {"good.png", 30, "3", "15", true},          {"still.png", 30, nullptr, nullptr, true},
        {"uneven.png", 31, "3", nullptr, false},    {"zero.png", 30, "0", nullptr, false},
        {"words.png", 30, "three", nullptr, false}, {"toomany.png", 30, "60", nullptr, false},
        {"backwards.png", 30, "3", "-5", false},
    };
    CPictureDialog dlg;
    CAnimateCtrl* anim = dlg.Animation(20);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QLatin1String(c.name));
        QImage strip(c.width, 10, QImage::Format_RGB32);
        strip.fill(Qt::red);
        QImageWriter writer(path, "PNG");
        if (c.frames)
            writer.setText(QStringLiteral("Frames"), QLatin1String(c.frames));
        if (c.interval)
            writer.setText(QStringLiteral("Interval"), QLatin1String(c.interval));
        ASSERT_TRUE(writer.write(strip));
        EXPECT_EQ(anim->Open(path.toStdWString().c_str()), c.opens ? TRUE : FALSE);
        EXPECT_EQ(anim->Seek(0), c.opens ? TRUE : FALSE);
    }
    // Missing files and resources, and bytes that are no picture.
    EXPECT_FALSE(anim->Open(dir.filePath(QStringLiteral("missing.png")).toStdWString().c_str()));
    EXPECT_FALSE(anim->Open(UINT(999)));
    {
        QFile junk(dir.filePath(QStringLiteral("junk.png")));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("\x89PNG\r\n\x1a\n not really");
    }
    EXPECT_FALSE(anim->Open(dir.filePath(QStringLiteral("junk.png")).toStdWString().c_str()));
    EXPECT_FALSE(anim->IsPlaying());
    EXPECT_FALSE(anim->Play(0, UINT(-1), 1));
}
