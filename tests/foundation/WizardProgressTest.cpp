// The wizard base and the progress dialog and window.
#include "foundation/NewWizDialog.h"
#include "foundation/ProgressDlg.h"
#include "foundation/ProgressWnd.h"

#include "mfc/FrameWnd.h"
#include "support/ModalHook.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// A page that notes what the wizard asks of it and answers as told.
class CProbePage : public CNewWizPage
{
public:
    CProbePage(UINT nID, CNewWizDialog* pWizard, std::vector<std::string>& log, const char* name)
        : CNewWizPage(nID, pWizard), m_log(log), m_name(name)
    {
    }
    BOOL OnCreatePage() override { return Note("create"), TRUE; }
    void OnSetActive() override { Note("show"); }
    BOOL OnKillActive() override { return Note("hide"), kill; }
    void UpdateList() override { Note("update"); }
    LRESULT OnWizardNext() override { return next; }
    BOOL OnWizardFinish() override { return Note("finish"), finish; }
    BOOL OnQueryCancel() override { return cancel; }

    LRESULT next = 0;
    BOOL kill = TRUE;
    BOOL finish = TRUE;
    BOOL cancel = TRUE;

private:
    void Note(const char* what) { m_log.push_back(m_name + ":" + what); }
    std::vector<std::string>& m_log;
    std::string m_name;
};

class CProbeWizard : public CNewWizDialog
{
public:
    CProbeWizard() : CNewWizDialog(7001u) {}
    BOOL OnInitDialog() override
    {
        SetPlaceholderID(1073);
        return CNewWizDialog::OnInitDialog();
    }
};

struct CWizardRun
{
    std::vector<std::string> log;
    CProbeWizard wizard;
    CProbePage a{7002, &wizard, log, "a"};
    CProbePage b{7003, &wizard, log, "b"};
    CProbePage c{7004, &wizard, log, "c"};
    CWizardRun()
    {
        wizard.AddPage(&a, 7002);
        wizard.AddPage(&b, 7003);
        wizard.AddPage(&c, 7004);
    }
    INT_PTR Run(std::function<int(CNewWizDialog&)> drive)
    {
        CModalHookScope scope(
            [&](const AfxModalRequest& r) {
                return r.kind == AfxModalKind::Dialog ? drive(static_cast<CNewWizDialog&>(*r.pDialog)) : IDOK;
            });
        return wizard.DoModal();
    }
};

void Press(CNewWizDialog& w, int id)
{
    w.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

BOOL On(CNewWizDialog& w, int id)
{
    return w.GetDlgItem(id)->IsWindowEnabled();
}
} // namespace

class Wizard : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(Wizard, PagesAreMadeOnFirstShowingAndFinishAsksOnlyThem)
{
    CWizardRun run;
    const INT_PTR result = run.Run(
        [&](CNewWizDialog& w)
        {
            EXPECT_TRUE(run.a.IsCreated());
            EXPECT_FALSE(run.b.IsCreated());
            EXPECT_FALSE(run.c.IsCreated());
            // Placed at the placeholder's corner in its own size.
            CRect holder, page;
            w.GetDlgItem(1073)->GetWindowRect(&holder);
            run.a.GetWindowRect(&page);
            EXPECT_EQ(page.TopLeft(), holder.TopLeft());
            EXPECT_LT(page.Width(), holder.Width());
            Press(w, ID_WIZNEXT);
            run.log.clear();
            return ID_WIZFINISH;
        });
    EXPECT_EQ(result, ID_WIZ_FINISH_RESULT);
    // Then the dialog's end takes the made pages down (a and b hide once more).
    const std::vector<std::string> expected = {"b:hide", "a:finish", "b:finish", "a:hide", "b:hide"};
    EXPECT_EQ(run.log, expected);
}

TEST_F(Wizard, NextUpdatesTheChosenPageBeforeItIsMadeAndStaysOnMinusOne)
{
    CWizardRun run;
    run.Run(
        [&](CNewWizDialog& w)
        {
            run.log.clear();
            run.a.next = -1;
            Press(w, ID_WIZNEXT);
            EXPECT_TRUE(run.log.empty());
            EXPECT_EQ(w.GetActiveIndex(), 0);
            // A resource id jumps, here past b.
            run.a.next = 7004;
            Press(w, ID_WIZNEXT);
            const std::vector<std::string> expected = {"c:update", "c:create", "a:hide", "c:show"};
            EXPECT_EQ(run.log, expected);
            EXPECT_EQ(w.GetActiveIndex(), 2);
            // A page that refuses to hide keeps the wizard on it, buttons as they were.
            run.c.kill = FALSE;
            Press(w, ID_WIZBACK);
            EXPECT_EQ(w.GetActiveIndex(), 2);
            EXPECT_FALSE(On(w, ID_WIZNEXT));
            EXPECT_TRUE(On(w, ID_WIZFINISH));
            run.c.kill = TRUE;
            // Cancel refused by a made page leaves the dialog open.
            run.c.cancel = FALSE;
            Press(w, IDCANCEL);
            EXPECT_TRUE(::IsWindow(w.m_hWnd));
            run.c.cancel = TRUE;
            return IDCANCEL;
        });
}

TEST_F(Wizard, OnePageWizardStartsWithFinishOnly)
{
    std::vector<std::string> log;
    CProbeWizard wizard;
    CProbePage only(7002, &wizard, log, "only");
    wizard.AddPage(&only, 7002);
    CModalHookScope scope(
        [&](const AfxModalRequest& r)
        {
            auto& w = static_cast<CNewWizDialog&>(*r.pDialog);
            EXPECT_TRUE(On(w, ID_WIZFINISH));
            EXPECT_FALSE(On(w, ID_WIZNEXT));
            EXPECT_FALSE(On(w, ID_WIZBACK));
            EXPECT_EQ(w.GetWizardDefID(), UINT(ID_WIZ_DEFAULT_FINISH));
            return IDCANCEL;
        });
    wizard.DoModal();
}

class Progress : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
};

TEST_F(Progress, PercentIsClampedToTheRange)
{
    struct Case
    {
        int pos, lower, upper, percent;
    };
    const Case cases[] = {{0, 0, 100, 0},  {50, 0, 100, 50}, {100, 0, 100, 100}, {150, 0, 100, 100},
                          {-5, 0, 100, 0}, {15, 10, 20, 50}, {7, 5, 5, -1},      {199, 0, 200, 99}};
    for (const Case& c : cases)
        EXPECT_EQ(CProgressDlg::PercentOf(c.pos, c.lower, c.upper), c.percent) << c.pos;
}

TEST_F(Progress, DialogDisablesItsOwnerWhileOpenAndShowsThePercent)
{
    // A frame deletes itself when its window goes.
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Owner"));
    CFrameWnd& owner = *frame;
    owner.ShowWindow(SW_SHOW);
    {
        CProgressDlg dlg;
        EXPECT_EQ(dlg.SetStep(5), -1); // no window yet
        ASSERT_TRUE(dlg.Create(&owner));
        EXPECT_FALSE(owner.IsWindowEnabled());
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, CString(L"Working..."));
        dlg.SetRange(0, 100);
        EXPECT_EQ(dlg.SetPos(150), 0);
        EXPECT_EQ(dlg.GetPercentText(), CString(L"100%"));
        dlg.SetPos(40);
        EXPECT_EQ(dlg.OffsetPos(10), 40);
        EXPECT_EQ(dlg.GetPercentText(), CString(L"50%"));
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_TRUE(dlg.CheckCancelButton());
        EXPECT_FALSE(dlg.CheckCancelButton());
        dlg.DestroyWindow();
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
    owner.DestroyWindow();
}

TEST_F(Progress, WindowWithAnAnimationIsDrawnAsItShouldLook)
{
    // A two-frame film strip, the form the animation control plays.
    QImage strip(32, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int x = 2; x < 14; ++x)
        for (int y = 2; y < 14; ++y)
        {
            strip.setPixel(x, y, qRgb(20, 120, 220));
            strip.setPixel(x + 16, y, qRgb(220, 120, 20));
        }
    strip.setText("Frames", "2");
    const std::string clip = ::testing::TempDir() + "progress-clip.png";
    ASSERT_TRUE(strip.save(QString::fromStdString(clip)));

    CProgressWnd w;
    w.SetTitle(L"Building project...");
    w.SetMessage(L"Copying the runtime files into the output folder.");
    w.SetCanCancelFlag(TRUE);
    w.SetAnimationFile(CString::FromUtf8(clip));
    w.Show(nullptr);
    ASSERT_TRUE(w.IsShowing());
    w.UpdateProgress(60);
    AfxPumpMessages();
    // The message moves right of the animation.
    EXPECT_GE(w.GetMessageRect().left, 8 + 16 + 8);
    const QImage shot = w.GetWidget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_PROGRESS_PNG)));
    w.Hide();
}
