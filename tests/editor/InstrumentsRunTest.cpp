// An instrument set up in the editor shows in the player with what was set on its pages. The
// editor's half runs in the editor application's test program (the editor and the player cannot
// share one program), which saves its screen where this test says; the player then opens it in the
// demo project.
#include "RunningDemo.h"

#include "activex/InstrumentControl.h"
#include "activex/OleControlWnd.h"
#include "instruments/FOiControlShape.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

#include <gtest/gtest.h>

using namespace player_test;

TEST(InstrumentsRun, AnInstrumentSetInTheEditorShowsInThePlayerAsSet)
{
    QTemporaryDir made;
    const QString screen = made.path() + "/Instrument.xdg";
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QYR_INSTRUMENT_SCREEN", screen);
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.start(
        QStringLiteral(QYR_EDAPP_TESTS),
        {QStringLiteral(
            "--gtest_filter=EditorInstruments.AnInstrumentFromItsPageIsSetOnItsPagesAndSavedWithTheScreen")});
    ASSERT_TRUE(editor.waitForFinished(300000));
    ASSERT_EQ(0, editor.exitCode());
    ASSERT_TRUE(QFile::exists(screen));

    RunningDemo demo([&](const InstallRoot& root)
                     { QFile::copy(screen, root.root + "/Demo/demo/XdgFiles/Instrument.xdg"); });
    ASSERT_NE(demo.view, nullptr);
    ASSERT_TRUE(demo.view->SwitchScreen(L"Instrument.xdg"));
    CFOiControlShape* gauge = nullptr;
    for (CFODrawShape* shape : *demo.Model()->GetShapes())
        if (auto* instrument = dynamic_cast<CFOiControlShape*>(shape))
            gauge = instrument;
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetType(), 642u);
    ASSERT_TRUE(PumpUntil([&] { return gauge->HasControl(); }));
    // At run time the control takes input, and it has what its pages were given.
    EXPECT_TRUE(gauge->GetCtrl()->IsWindowEnabled());
    IDispatch* disp = nullptr;
    ASSERT_TRUE(SUCCEEDED(
        gauge->GetOleIDispatch(TRUE)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))));
    disp->Release();
    const CInstrumentSettings& settings = static_cast<CInstrumentControl*>(disp)->Settings();
    EXPECT_EQ(settings.strCaption, CString(L"Reactor"));
    EXPECT_EQ(settings.dMax, 450);

    PumpUntil([] { return false; }, 300);
    CRunCanvas* canvas = demo.view->GetCanvas();
    const QImage shot = canvas->GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_INSTRUMENT_RUN_PNG)));
    // The gauge paints its face on its rectangle.
    CRect placed;
    gauge->GetCtrl()->GetWindowRect(&placed);
    canvas->ScreenToClient(&placed);
    EXPECT_GT(placed.Width(), 100);
    EXPECT_NE(shot.pixelColor(placed.CenterPoint().x - 30, placed.CenterPoint().y + 20), QColor(Qt::white));
}
