// A label's text made in the editor is what the player shows. The editor's half runs in the
// editor application's test program, which saves its screen where this test says; the player
// then opens it in the demo project.
#include "RunningDemo.h"

#include "figkit/FOPSimpleLabelShape.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>

using namespace player_test;

TEST(LabelTextRun, ALabelTypedInTheEditorShowsItsTextInThePlayer)
{
    QTemporaryDir made;
    const QString screen = made.path() + "/Labels.xdg";
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QYR_LABEL_SCREEN", screen);
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.start(
        QStringLiteral(QYR_EDAPP_TESTS),
        {QStringLiteral(
            "--gtest_filter=EditorLabelText.ADroppedLabelIsTypedInPlaceAndInTheTextDialogSavedAndReadBack")});
    ASSERT_TRUE(editor.waitForFinished(300000));
    ASSERT_EQ(0, editor.exitCode());
    ASSERT_TRUE(QFile::exists(screen));

    RunningDemo demo([&](const InstallRoot& root)
                     { QFile::copy(screen, root.root + "/Demo/demo/XdgFiles/Labels.xdg"); });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Labels.xdg"));
    auto* label = dynamic_cast<CFOPSimpleLabelShape*>(demo.Model()->FindCompWithName(L"LevelLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(CString(L"Tank A level"), label->GetDisplayText());
    demo.Ticks(2);

    // Dark text pixels about the label's box on the player's screen (a dropped label is small; its
    // text runs past the box).
    CRunCanvas* canvas = demo.view->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    const QImage image = canvas->GetClientWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QStringLiteral(QYR_LABEL_RUN_PNG)));
    const CPoint centre = canvas->CanvasToClient(label->GetSnapRect(), FALSE).CenterPoint();
    const CRect rc(centre.x - 80, centre.y - 40, centre.x + 80, centre.y + 40);
    int dark = 0;
    for (int y = std::max(0, int(rc.top)); y < std::min(image.height(), int(rc.bottom)); ++y)
        for (int x = std::max(0, int(rc.left)); x < std::min(image.width(), int(rc.right)); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
    EXPECT_GT(dark, 20) << "the label's text is drawn";
}
