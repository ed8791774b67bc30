#include "mfc/ColorDialog.h"

#include "WndTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QTimer>

#include <vector>

using wndtest::CHookScope;

TEST(ColorDialogTest, TheHookSeesTheStartingColourAndItsChoiceIsTheResult)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    struct Case
    {
        COLORREF start;
        int answer;
        COLORREF chosen;
        INT_PTR result;
        COLORREF colour; // what GetColor gives afterwards
        bool message;
    } cases[] = {
        {RGB(255, 0, 0), IDOK, RGB(10, 20, 30), IDOK, RGB(10, 20, 30), false},
        {RGB(1, 2, 3), IDCANCEL, RGB(10, 20, 30), IDCANCEL, RGB(1, 2, 3), false},
        // Black is a colour like any other.
        {RGB(9, 9, 9), IDOK, RGB(0, 0, 0), IDOK, RGB(0, 0, 0), false},
        // A value with bits above the blue byte is no colour: refused, the colour stays.
        {RGB(1, 2, 3), IDOK, 0x01000000, IDCANCEL, RGB(1, 2, 3), true},
        {RGB(1, 2, 3), IDOK, 0xFFFFFFFF, IDCANCEL, RGB(1, 2, 3), true},
    };
    for (const Case& c : cases)
    {
        std::vector<AfxModalKind> kinds;
        std::vector<COLORREF> starts;
        std::vector<CString> texts;
        CHookScope hook(
            [&](const AfxModalRequest& r)
            {
                kinds.push_back(r.kind);
                if (r.kind == AfxModalKind::MessageBox)
                {
                    texts.push_back(r.strText);
                    return IDOK;
                }
                starts.push_back(r.crColor);
                r.crColor = c.chosen;
                return c.answer;
            });
        CColorDialog dlg(c.start, CC_FULLOPEN);
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.GetColor(), c.colour);
        ASSERT_FALSE(kinds.empty());
        EXPECT_EQ(kinds[0], AfxModalKind::ColorDialog);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0], c.start);
        ASSERT_EQ(texts.size(), c.message ? 1u : 0u);
        if (c.message)
        {
            EXPECT_NE(texts[0].Find(L"not a colour"), -1) << texts[0].ToUtf8();
        }
    }
}

TEST(ColorDialogTest, WithoutAHookQtsColourDialogOpensOnTheColourAndGivesTheChoice)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    CHookScope none(nullptr);
    QColor shown;
    bool seen = false;
    // The real dialog is modal: it is read, pictured and answered from the event loop.
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout,
                     [&]
                     {
                         QColorDialog* dialog = nullptr;
                         for (QWidget* w : QApplication::topLevelWidgets())
                             if (auto* d = qobject_cast<QColorDialog*>(w); d && d->isVisible())
                                 dialog = d;
                         if (!dialog)
                             return;
                         timer.stop();
                         seen = true;
                         shown = dialog->currentColor();
                         dialog->grab().toImage().save(QStringLiteral(QYR_SHOT_DIR "/colour-dialog.png"));
                         dialog->setCurrentColor(QColor(40, 80, 120));
                         dialog->accept();
                     });
    timer.start();
    CColorDialog dlg(RGB(200, 100, 50));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(shown, QColor(200, 100, 50));
    EXPECT_EQ(dlg.GetColor(), RGB(40, 80, 120));
}
