// The caption bar in message-bar mode across the top of a frame: text, image with its tip, button,
// and the close box that hides it. A picture of the frame is saved for a person to look at.
#include "WndTestSupport.h"

#include "mfc/CaptionBar.h"
#include "mfc/FrameWnd.h"

#include <QLabel>
#include <QToolButton>

using namespace wndtest;

namespace
{
const UINT IDB_PROBE = 704;
const UINT ID_CAPTION = 221;
const UINT ID_CAPTION_BUTTON = 4321;

class CCaptionFrame : public CFrameWnd
{
public:
    CMFCCaptionBar m_wndCaptionBar;
    std::vector<UINT> commands;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == ID_CAPTION_BUTTON)
        {
            commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        return CFrameWnd::OnCommand(wParam, lParam);
    }
};

class CaptionBarTest : public CWndTestBase
{
};

TEST_F(CaptionBarTest, AMessageBarShowsTextImageAndButtonAndItsCloseBoxHidesIt)
{
    auto* frame = new CCaptionFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"Caption"));
    frame->MoveWindow(0, 0, 640, 200);
    CMFCCaptionBar& bar = frame->m_wndCaptionBar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, frame, ID_CAPTION, -1, TRUE));
    EXPECT_TRUE(bar.IsMessageBarMode());
    EXPECT_EQ(frame->GetDlgItem(ID_CAPTION), &bar);
    bar.SetText(L"A caption bar that can show the user a message.", CMFCCaptionBar::ALIGN_LEFT);
    EXPECT_TRUE(bar.SetBitmap(IDB_PROBE, RGB(255, 255, 255), FALSE, CMFCCaptionBar::ALIGN_LEFT));
    EXPECT_FALSE(bar.SetBitmap(UINT(9999), RGB(255, 255, 255))); // no such bitmap
    EXPECT_TRUE(bar.HasBitmap());
    bar.SetImageToolTip(L"Important", L"An information message for the user.");
    frame->ShowWindow(SW_SHOW);
    AfxPumpMessages();
    EXPECT_TRUE(bar.IsWindowVisible());

    QWidget* w = bar.GetWidget();
    ASSERT_NE(w, nullptr);
    auto labels = w->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[1]->text().toStdWString(), L"A caption bar that can show the user a message.");
    EXPECT_EQ(labels[0]->toolTip().toStdWString(), L"Important\nAn information message for the user.");
    EXPECT_TRUE(labels[1]->alignment() & Qt::AlignLeft);

    // The latest text replaces the one before.
    bar.SetText(L"Plant.Area1.Tank1   level high");
    EXPECT_EQ(bar.GetText(), CString(L"Plant.Area1.Tank1   level high"));
    EXPECT_EQ(labels[1]->text().toStdWString(), L"Plant.Area1.Tank1   level high");
    const QImage shot = frame->GetWidget()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    shot.save(QStringLiteral(QYR_SHOT_DIR "/caption-bar.png"));

    // A button sends its command to the frame.
    bar.SetButton(L"Details", ID_CAPTION_BUTTON);
    auto* button = w->findChild<QToolButton*>(QStringLiteral("button"));
    auto* close = w->findChild<QToolButton*>(QStringLiteral("close"));
    ASSERT_TRUE(button && close);
    EXPECT_EQ(button->text().toStdWString(), L"Details");
    button->click();
    ASSERT_TRUE(PumpUntil([&] { return !frame->commands.empty(); }));
    EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_CAPTION_BUTTON}));
    bar.RemoveButton();
    EXPECT_FALSE(bar.HasButton());

    // The close box hides the bar; it can be shown again.
    close->click();
    AfxPumpMessages();
    EXPECT_FALSE(bar.IsWindowVisible());
    bar.ShowWindow(SW_SHOW);
    EXPECT_TRUE(bar.IsWindowVisible());
    frame->DestroyWindow();
}
} // namespace
