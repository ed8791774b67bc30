// Dialog units follow the template's own font: the dialog and its controls are laid out in the
// base units of that font, and the controls show it.
#include "mfc/Dc.h"
#include "mfc/Dialog.h"
#include "mfc/ResourceScript.h"
#include "mfc/WinApp.h"
#include "support/TemplateDialog.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
int Scaled(int dlu, int base, int units)
{
    return int(std::lround(double(dlu) * base / units));
}

TEST(DialogUnitsTest, LayoutFollowsTheTemplatesFont)
{
    ASSERT_NE(AfxEnsureApplication(), nullptr);
    struct Case
    {
        const char* fontLine;
        const char* family; // null: the desktop's interface font
        int points;
    };
    const Case cases[] = {
        {"FONT 8, \"MS Shell Dlg\"", nullptr, 8},
        {"FONT 9, \"Tahoma\"", nullptr, 9},
        {"FONT 12, \"DejaVu Serif\"", "DejaVu Serif", 12},
        {"", nullptr, 8},
    };
    int lastHeight = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.fontLine);
        const std::string text = std::string("1 DIALOG 10, 20, 200, 100\nSTYLE WS_POPUP | WS_CAPTION\n"
                                             "CAPTION \"Units\"\n") +
                                 c.fontLine +
                                 "\nBEGIN\n    LTEXT \"Label\", 100, 7, 9, 60, 8\n"
                                 "    PUSHBUTTON \"OK\", 1, 143, 79, 50, 14\nEND\n";
        CResourceScript script;
        script.Parse("units", text, nullptr, 0);
        const AFX_DLG_TEMPLATE* tmpl = script.FindDialog(CResourceName(WORD(1)));
        ASSERT_NE(tmpl, nullptr);

        // Points at the fixed 96 pixels an inch of the device contexts.
        const int pixels = int(std::lround(c.points * 96 / 72.0));
        QFont expected = QApplication::font();
        if (c.family)
            expected.setFamily(QString::fromLatin1(c.family));
        expected.setPixelSize(pixels);
        const QFontMetrics fm(expected);
        const int bx =
            (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) +
             26) /
            52;
        const int by = fm.height();

        CTemplateDialog dlg(*tmpl);
        ASSERT_TRUE(dlg.Create(LPCWSTR(nullptr)));
        CRect client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(client.Width(), Scaled(200, bx, 4));
        EXPECT_EQ(client.Height(), Scaled(100, by, 8));
        CRect unit(0, 0, 4, 8);
        dlg.MapDialogRect(&unit);
        EXPECT_EQ(unit, CRect(0, 0, bx, by));

        CWnd* label = dlg.GetDlgItem(100);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetWidget()->geometry(),
                  QRect(Scaled(7, bx, 4), Scaled(9, by, 8), Scaled(60, bx, 4), Scaled(8, by, 8)));
        const QFont shown = label->GetWidget()->font();
        EXPECT_EQ(QFontInfo(shown).family(), QFontInfo(expected).family());
        EXPECT_EQ(shown.pixelSize(), pixels);
        // Owner-drawn controls draw their text in the dialog's font, as the layout assumes.
        LOGFONT lf = {};
        ASSERT_NE(label->GetFont(), nullptr);
        ASSERT_TRUE(label->GetFont()->GetLogFont(&lf));
        EXPECT_EQ(lf.lfHeight, -pixels);
        // A larger font makes a larger dialog of the same template.
        if (c.points > 8)
            EXPECT_GT(client.Height(), lastHeight);
        lastHeight = client.Height();
        dlg.DestroyWindow();
    }
}
} // namespace
