#include "mfc/VisualManager.h"

#include <QApplication>
#include <QColor>
#include <QMdiArea>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <memory>

namespace
{
std::unique_ptr<CMFCVisualManager>& Instance()
{
    static auto* instance = new std::unique_ptr<CMFCVisualManager>;
    return *instance;
}

QColor ToColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QString Css(COLORREF c)
{
    return ToColor(c).name();
}
} // namespace

IMPLEMENT_DYNCREATE(CMFCVisualManager, CObject)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOfficeXP, CMFCVisualManager)
IMPLEMENT_DYNCREATE(CMFCVisualManagerWindows, CMFCVisualManager)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2003, CMFCVisualManagerOfficeXP)
IMPLEMENT_DYNCREATE(CMFCVisualManagerVS2005, CMFCVisualManagerOffice2003)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2007, CMFCVisualManagerOffice2003)

CMFCVisualManager::CMFCVisualManager() = default;

CMFCVisualManager::~CMFCVisualManager() = default;

void CMFCVisualManager::SetDefaultManager(CRuntimeClass* pRTI)
{
    CObject* object = pRTI ? pRTI->CreateObject() : nullptr;
    auto* manager = dynamic_cast<CMFCVisualManager*>(object);
    if (!manager)
    {
        delete object;
        manager = new CMFCVisualManager;
    }
    Instance().reset(manager);
    manager->ApplyLook();
}

CMFCVisualManager* CMFCVisualManager::GetInstance()
{
    if (!Instance())
        Instance() = std::make_unique<CMFCVisualManager>();
    return Instance().get();
}

// The plain look: grey bars, flat.
void CMFCVisualManager::GetLookColors(AFX_LOOK_COLORS& c) const
{
    c = {RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128),
         RGB(0, 0, 0),       RGB(10, 36, 106),   RGB(255, 255, 255), RGB(255, 255, 225),
         RGB(10, 36, 106),   RGB(255, 255, 255), RGB(128, 128, 128)};
}

// Light bars with a bluish edge and a pale selection.
void CMFCVisualManagerOfficeXP::GetLookColors(AFX_LOOK_COLORS& c) const
{
    c = {RGB(255, 255, 255), RGB(239, 237, 222), RGB(249, 248, 243), RGB(166, 166, 166),
         RGB(0, 0, 0),       RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 231),
         RGB(182, 189, 210), RGB(0, 0, 0),       RGB(171, 171, 171)};
}

// Beige bars with blue pane captions.
void CMFCVisualManagerWindows::GetLookColors(AFX_LOOK_COLORS& c) const
{
    c = {RGB(255, 255, 255), RGB(236, 233, 216), RGB(245, 244, 238), RGB(172, 168, 153),
         RGB(0, 0, 0),       RGB(0, 84, 227),    RGB(255, 255, 255), RGB(255, 252, 220),
         RGB(49, 106, 197),  RGB(255, 255, 255), RGB(128, 128, 128)};
}

// Blue gradients.
void CMFCVisualManagerOffice2003::GetLookColors(AFX_LOOK_COLORS& c) const
{
    c = {RGB(255, 255, 255), RGB(158, 190, 245), RGB(221, 236, 254), RGB(59, 97, 156),
         RGB(0, 0, 0),       RGB(89, 135, 214),  RGB(255, 255, 255), RGB(255, 255, 225),
         RGB(255, 238, 194), RGB(0, 0, 0),       RGB(144, 153, 174)};
}

// Warm grey bars with dark blue pane captions.
void CMFCVisualManagerVS2005::GetLookColors(AFX_LOOK_COLORS& c) const
{
    c = {RGB(255, 255, 255), RGB(229, 229, 215), RGB(250, 250, 247), RGB(160, 160, 147),
         RGB(0, 0, 0),       RGB(59, 85, 134),   RGB(255, 255, 255), RGB(255, 255, 225),
         RGB(193, 210, 238), RGB(0, 0, 0),       RGB(171, 171, 171)};
}

void CMFCVisualManagerOffice2007::GetLookColors(AFX_LOOK_COLORS& c) const
{
    switch (m_Style)
    {
    case Office2007_ObsidianBlack: // dark bars, light text
        c = {RGB(250, 250, 250), RGB(83, 83, 83), RGB(120, 120, 120), RGB(40, 40, 40),
             RGB(240, 240, 240), RGB(60, 60, 60), RGB(255, 255, 255), RGB(255, 245, 204),
             RGB(255, 213, 140), RGB(0, 0, 0),    RGB(47, 47, 47)};
        break;
    case Office2007_Aqua: // sea-green bars
        c = {RGB(255, 255, 255), RGB(196, 221, 223), RGB(232, 244, 245), RGB(112, 155, 160),
             RGB(0, 0, 0),       RGB(86, 146, 155),  RGB(255, 255, 255), RGB(239, 250, 248),
             RGB(255, 226, 150), RGB(0, 0, 0),       RGB(160, 190, 194)};
        break;
    case Office2007_Silver: // cool grey bars
        c = {RGB(255, 255, 255), RGB(208, 212, 221), RGB(240, 242, 245), RGB(140, 146, 160),
             RGB(0, 0, 0),       RGB(118, 124, 140), RGB(255, 255, 255), RGB(255, 255, 230),
             RGB(255, 226, 150), RGB(0, 0, 0),       RGB(170, 174, 184)};
        break;
    case Office2007_LunaBlue: // light blue bars
    default:
        c = {RGB(255, 255, 255), RGB(191, 219, 255), RGB(227, 239, 255), RGB(101, 147, 207),
             RGB(21, 66, 139),   RGB(141, 178, 227), RGB(21, 66, 139),   RGB(255, 255, 225),
             RGB(255, 226, 150), RGB(0, 0, 0),       RGB(171, 195, 227)};
        break;
    }
}

void CMFCVisualManager::ApplyLook() const
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    AFX_LOOK_COLORS c;
    GetLookColors(c);
    QPalette palette = app->palette();
    palette.setColor(QPalette::Window, ToColor(c.clrFace));
    palette.setColor(QPalette::Button, ToColor(c.clrFace));
    palette.setColor(QPalette::WindowText, ToColor(c.clrText));
    palette.setColor(QPalette::ButtonText, ToColor(c.clrText));
    palette.setColor(QPalette::Base, ToColor(c.clrWindow));
    palette.setColor(QPalette::Highlight, ToColor(c.clrHighlight));
    palette.setColor(QPalette::HighlightedText, ToColor(c.clrHighlightText));
    palette.setColor(QPalette::Mid, ToColor(c.clrEdge));
    palette.setColor(QPalette::Dark, ToColor(c.clrEdge));
    app->setPalette(palette);

    const QString bar = IsGradientLook()
                            ? QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
                                  .arg(Css(c.clrFaceLight), Css(c.clrFace))
                            : Css(c.clrFace);
    const QString caption =
        IsGradientLook() ? QStringLiteral("qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %1, stop:1 %2)")
                               .arg(Css(c.clrPaneCaption), Css(c.clrFace))
                         : Css(c.clrPaneCaption);
    QString sheet;
    sheet += QStringLiteral("QMenuBar, QToolBar, QStatusBar { background: %1; color: %2; }\n")
                 .arg(bar, Css(c.clrText));
    sheet += QStringLiteral("QToolBar { border-bottom: 1px solid %1; }\n").arg(Css(c.clrEdge));
    sheet += QStringLiteral("QToolBar#QyrCaptionBar { background: %1; }\n").arg(Css(c.clrMessageBar));
    sheet += QStringLiteral(
        "QToolBar#QyrCaptionBar QLabel, QToolBar#QyrCaptionBar QToolButton { color: #000000; }\n");
    sheet += QStringLiteral("QDockWidget#QyrDockablePane { color: %1; }\n").arg(Css(c.clrPaneCaptionText));
    sheet += QStringLiteral("QDockWidget#QyrDockablePane::title { background: %1; padding-left: 4px; }\n")
                 .arg(caption);
    app->setStyleSheet(sheet);
    for (QWidget* w : QApplication::topLevelWidgets())
    {
        for (QMdiArea* area : w->findChildren<QMdiArea*>())
            area->setBackground(ToColor(c.clrMDIClient));
        w->update();
    }
}
