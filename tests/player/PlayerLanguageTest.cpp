// The player in the language stored by the language dialog: its menus, the language dialog and a
// status bar on its frame show the German texts of the installed language library and catalogue.
#include "PlayerTestSupport.h"

#include "mfc/Controls.h"
#include "mfc/Dialog.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "player/MainFrm.h"
#include "support/FreshRegistry.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"
#include "win32/Registry.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QWidget>

using namespace player_test;

namespace
{
void StoreLanguage(DWORD id)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brindlecote\\Corvane\\Locale", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"LanguageId", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&id), sizeof(id));
    RegCloseKey(key);
}

QStringList MenuBarTexts(CWnd* frame)
{
    QStringList texts;
    if (auto* bar = frame->GetWidget()->findChild<QMenuBar*>())
        for (QAction* a : bar->actions())
            texts << a->text();
    return texts;
}
} // namespace

TEST(PlayerLanguage, StoredGermanTranslatesMenusDialogAndStatusBar)
{
    CTestDir dir;
    CFreshRegistry registry(dir);
    StoreLanguage(0x0407);
    InstallRoot root;
    MessageLog messages;
    PlayerApp player(root, {});
    ASSERT_TRUE(player.Start());
    ASSERT_EQ(player.app.GetLangId(), 0x0407);
    auto* frame = dynamic_cast<CMainFrame*>(player.app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    PumpUntil([&] { return frame->IsWindowVisible(); });

    // The menu bar as shown, and the menu behind it with its commands.
    EXPECT_EQ(MenuBarTexts(frame), (QStringList{"&Datei", "&Ansicht", "&Hilfe"}));
    CMenu* view = frame->GetMenu()->GetSubMenu(1);
    CString text;
    view->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, L"&Vollbild");
    EXPECT_EQ(view->GetMenuItemID(0), UINT(CMainFrame::ID_VIEW_FULL_SCREEN));

    // The language dialog.
    std::vector<CString> labels;
    {
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind != AfxModalKind::Dialog)
                    return IDOK;
                for (CWnd* w : {static_cast<CWnd*>(r.pDialog), r.pDialog->GetWindow(GW_CHILD),
                                r.pDialog->GetDlgItem(IDCANCEL)})
                {
                    w->GetWindowText(text);
                    labels.push_back(text);
                }
                return IDCANCEL;
            });
        player.app.OnViewLanguage();
    }
    EXPECT_EQ(labels, (std::vector<CString>{L"Sprache", L"Verfügbare Sprachen", L"Abbrechen"}));

    // A status bar on the frame: its indicator panes carry the translated texts.
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    player.app.SetIndicators(bar, indicators, 4);
    EXPECT_EQ(bar.GetPaneText(1), L"UF");
    EXPECT_EQ(bar.GetPaneText(2), L"NUM");
    EXPECT_EQ(bar.GetPaneText(3), L"RF");
    EXPECT_TRUE(bar.GetPaneStyle(1) & SBPS_DISABLED); // until the key is on
    bar.SetPaneStyle(1, 0);
    QStringList shown;
    for (QLabel* label : bar.GetWidget()->findChildren<QLabel*>())
        shown << label->text();
    EXPECT_TRUE(shown.contains("UF")) << shown.join(",").toStdString();
    EXPECT_TRUE(messages.texts.empty());
    bar.DestroyWindow();
}

TEST(PlayerLanguage, WithoutAStoredChoiceThePlayerIsEnglish)
{
    CTestDir dir;
    CFreshRegistry registry(dir);
    InstallRoot root;
    MessageLog messages;
    PlayerApp player(root, {});
    ASSERT_TRUE(player.Start());
    EXPECT_EQ(player.app.GetLangId(), 1033);
    auto* frame = dynamic_cast<CMainFrame*>(player.app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(MenuBarTexts(frame), (QStringList{"&File", "&View", "&Help"}));
}
