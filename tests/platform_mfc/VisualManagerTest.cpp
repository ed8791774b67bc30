// The nine looks of the extended frames: each manager puts its colours in force for the frame, its
// bars and panes. A picture of a frame under each look is saved for a person to look at.
#include "WndTestSupport.h"

#include "mfc/CaptionBar.h"
#include "mfc/DockablePane.h"
#include "mfc/FrameWndEx.h"
#include "mfc/VisualManager.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

using namespace wndtest;

namespace
{
class VisualManagerTest : public CWndTestBase
{
protected:
    void TearDown() override
    {
        CMFCVisualManager::SetDefaultManager(nullptr);
        qApp->setStyleSheet(QString());
        qApp->setPalette(QPalette());
        CWndTestBase::TearDown();
    }
};

TEST_F(VisualManagerTest, EachLookPutsItsOwnColoursInForce)
{
    struct Look
    {
        CRuntimeClass* pClass;
        CMFCVisualManagerOffice2007::Style style;
        BOOL b3DTabs;
    } looks[] = {
        {RUNTIME_CLASS(CMFCVisualManager), CMFCVisualManagerOffice2007::Office2007_LunaBlue, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerOfficeXP), CMFCVisualManagerOffice2007::Office2007_LunaBlue, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerWindows), CMFCVisualManagerOffice2007::Office2007_LunaBlue, TRUE},
        {RUNTIME_CLASS(CMFCVisualManagerOffice2003), CMFCVisualManagerOffice2007::Office2007_LunaBlue, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerVS2005), CMFCVisualManagerOffice2007::Office2007_LunaBlue, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerOffice2007), CMFCVisualManagerOffice2007::Office2007_LunaBlue, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerOffice2007), CMFCVisualManagerOffice2007::Office2007_ObsidianBlack,
         FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerOffice2007), CMFCVisualManagerOffice2007::Office2007_Silver, FALSE},
        {RUNTIME_CLASS(CMFCVisualManagerOffice2007), CMFCVisualManagerOffice2007::Office2007_Aqua, FALSE},
    };
    auto* frame = new CMDIFrameWndEx;
    ASSERT_TRUE(frame->Create(nullptr, L"Looks"));
    frame->MoveWindow(0, 0, 360, 200);
    CMFCCaptionBar caption;
    ASSERT_TRUE(caption.Create(WS_CHILD | WS_VISIBLE, frame, 221, -1, TRUE));
    caption.SetText(L"An alarm line in the message bar");
    CDockablePane pane;
    ASSERT_TRUE(pane.Create(L"File View", frame, CRect(0, 0, 120, 200), TRUE, 133,
                            WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    frame->ShowWindow(SW_SHOW);

    QImage sheet(3 * 360, 3 * 200, QImage::Format_RGB32);
    QPainter painter(&sheet);
    std::vector<COLORREF> faces;
    for (size_t i = 0; i < std::size(looks); ++i)
    {
        const Look& look = looks[i];
        CMFCVisualManagerOffice2007::SetStyle(look.style);
        CMFCVisualManagerWindows::m_b3DTabsXPTheme = look.b3DTabs;
        CMFCVisualManager::SetDefaultManager(look.pClass);
        CMFCVisualManager* manager = CMFCVisualManager::GetInstance();
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager->GetRuntimeClass(), look.pClass) << i;
        AFX_LOOK_COLORS colors;
        manager->GetLookColors(colors);
        EXPECT_EQ(qApp->palette().color(QPalette::Window),
                  QColor(GetRValue(colors.clrFace), GetGValue(colors.clrFace), GetBValue(colors.clrFace)))
            << i;
        faces.push_back(colors.clrFace);
        AfxPumpMessages();
        painter.drawImage(int(i % 3) * 360, int(i / 3) * 200, frame->GetWidget()->grab().toImage());
    }
    painter.end();
    sheet.save(QStringLiteral(QYR_SHOT_DIR "/looks.png"));
    // Nine looks, nine faces: no two alike except where a look only changes its gradient.
    std::sort(faces.begin(), faces.end());
    EXPECT_GE(std::unique(faces.begin(), faces.end()) - faces.begin(), 8);

    // An unknown class falls back to the plain look.
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CObject));
    EXPECT_EQ(CMFCVisualManager::GetInstance()->GetRuntimeClass(), RUNTIME_CLASS(CMFCVisualManager));
    pane.DestroyWindow();
    caption.DestroyWindow();
    frame->DestroyWindow();
}
} // namespace
