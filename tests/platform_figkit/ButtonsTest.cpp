#include "FigkitTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOImageButton.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPDropDownColorPickerButton.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/SysColor.h"
#include "support/ColourPicker.h"

#include <QApplication>
#include <QImage>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace figkit_test;

namespace
{
const UINT IDB_BUTTON_PICTURE = 901;

// A top-level window that notes the WM_COMMAND notifications of its children.
class CNoteParent : public CWnd
{
public:
    std::vector<std::pair<UINT, UINT>> notes; // (id, code)
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        notes.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

class FigkitButtons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureApp();
        AfxSetResourceHandle(AfxGetModuleByName("ButtonsTestRes"));
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"Buttons", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 120,
                                      nullptr, nullptr));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        AfxPumpMessages();
        AfxSetResourceHandle(nullptr);
    }

    // A plain template-like push button, then taken over by the object, as DDX_Control does.
    template <class T> void MakeAndSubclass(T& button, UINT nID, LPCWSTR caption, const CRect& rc)
    {
        CButton* plain = new CButton;
        ASSERT_TRUE(plain->Create(caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rc, &m_parent, nID));
        ASSERT_TRUE(button.SubclassWindow(plain->m_hWnd));
        EXPECT_EQ(nullptr, plain->m_hWnd);
        delete plain;
    }

    static QImage Grab(CWnd& wnd)
    {
        return wnd.GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static bool HasColour(const QImage& image, QRgb rgb)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
                    return true;
        return false;
    }

    CNoteParent m_parent;
};
} // namespace

TEST_F(FigkitButtons, ImageButtonDrawsItsPictureAndCaptionInItsOwnFontAndColour)
{
    CFOImageButton button;
    MakeAndSubclass(button, 1028, L"&Up", CRect(10, 10, 130, 50));
    EXPECT_EQ(&button, CWnd::FromHandle(button.m_hWnd));

    button.SetImage(9999);
    EXPECT_FALSE(button.HasImage());
    button.SetImage(IDB_BUTTON_PICTURE);
    EXPECT_TRUE(button.HasImage());
    // Cursor resources are not loaded here: the hand stands in for them.
    button.SetHandCursor(28354);
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), button.GetHandCursor());
    EXPECT_EQ(Qt::PointingHandCursor, button.GetWidget()->cursor().shape());
    button.SetCaptionFont(12, 700);
    LOGFONT lf;
    ASSERT_NE(button.GetCaptionFont(), nullptr);
    ASSERT_TRUE(button.GetCaptionFont()->GetLogFont(&lf));
    EXPECT_EQ(700, lf.lfWeight);
    button.SetCaptionColor(0xFF0000);
    EXPECT_EQ(COLORREF(0xFF0000), button.GetCaptionColor());

    const QImage shot = Grab(button);
    shot.save(QStringLiteral(QYR_SHOT_DIR "/image-button.png"));
    // The picture's first pixel sits 4 pixels in, centred down; the caption is blue (COLORREF
    // 0xFF0000 is blue).
    const QImage picture(QStringLiteral(QYR_TEST_RES_DIR "/logo.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, shot.pixel(4, (40 - 2) / 2) & 0xFFFFFF);
    EXPECT_TRUE(HasColour(shot, qRgb(0, 0, 255)));

    // A click still reaches the parent.
    button.Click();
    AfxPumpMessages();
    ASSERT_FALSE(m_parent.notes.empty());
    EXPECT_EQ((std::pair<UINT, UINT>(1028, BN_CLICKED)), m_parent.notes.back());
}

TEST_F(FigkitButtons, ColourPickerDropsAPaletteAndTellsTheParentWhatWasPicked)
{
    FOPDropDownColorPickerButton picker;
    MakeAndSubclass(picker, 1056, L"Color", CRect(10, 10, 90, 40));
    EXPECT_EQ(RGB(255, 255, 255), picker.GetColor());
    picker.SetColor(RGB(0, 128, 0));
    EXPECT_EQ(RGB(0, 128, 0), picker.GetColor());
    EXPECT_TRUE(HasColour(Grab(picker), qRgb(0, 128, 0)));

    picker.Click();
    AfxPumpMessages();
    QWidget* palette = picker.GetPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->isVisible());
    int count = 0;
    const COLORREF* colours = FOPDropDownColorPickerButton::GetPaletteColors(&count);
    ASSERT_GT(count, 9);
    auto* cell = palette->findChild<QToolButton*>(QStringLiteral("colour9"));
    ASSERT_NE(cell, nullptr);
    m_parent.notes.clear();
    cell->click();
    AfxPumpMessages();
    EXPECT_EQ(colours[9], picker.GetColor());
    EXPECT_EQ(RGB(255, 0, 0), picker.GetColor());
    EXPECT_TRUE(PumpUntil([&] { return picker.GetPalette() == nullptr; }));
    ASSERT_FALSE(m_parent.notes.empty());
    EXPECT_EQ((std::pair<UINT, UINT>(1056, CPN_SELENDOK)), m_parent.notes.back());
    const QImage shot = Grab(picker);
    shot.save(QStringLiteral(QYR_SHOT_DIR "/colour-picker.png"));
    EXPECT_TRUE(HasColour(shot, qRgb(255, 0, 0)));
}

TEST_F(FigkitButtons, MoreColorsOpensTheColourDialogOnThePickersColour)
{
    FOPDropDownColorPickerButton picker;
    MakeAndSubclass(picker, 1097, L"Back", CRect(10, 10, 90, 40));
    picker.SetColor(RGB(0, 128, 0));
    struct Case
    {
        int answer;
        COLORREF chosen;
        COLORREF after;
        bool notified;
    } cases[] = {
        {IDOK, RGB(12, 34, 56), RGB(12, 34, 56), true},
        {IDCANCEL, RGB(99, 99, 99), RGB(12, 34, 56), false},
        // A value that is no colour is refused by the dialog: the picker keeps its colour.
        {IDOK, 0x7F000000, RGB(12, 34, 56), false},
    };
    for (const Case& c : cases)
    {
        std::vector<COLORREF> starts;
        int messages = 0;
        const AfxModalHookFn old = AfxSetModalHook(
            [&](const AfxModalRequest& r)
            {
                if (r.kind == AfxModalKind::MessageBox)
                {
                    ++messages;
                    return IDOK;
                }
                EXPECT_EQ(r.kind, AfxModalKind::ColorDialog);
                starts.push_back(r.crColor);
                r.crColor = c.chosen;
                return c.answer;
            });
        const COLORREF before = picker.GetColor();
        m_parent.notes.clear();
        EXPECT_TRUE(ChooseMoreColors(picker));
        AfxSetModalHook(old);
        EXPECT_TRUE(PumpUntil([&] { return picker.GetPalette() == nullptr; }));
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0], before);
        EXPECT_EQ(picker.GetColor(), c.after);
        EXPECT_EQ(messages, c.chosen == 0x7F000000 ? 1 : 0);
        // The click itself tells BN_CLICKED; a picked colour tells CPN_SELENDOK after it.
        const auto picked = std::count(m_parent.notes.begin(), m_parent.notes.end(),
                                       std::pair<UINT, UINT>(1097, CPN_SELENDOK));
        EXPECT_EQ(picked, c.notified ? 1 : 0);
    }
}

TEST_F(FigkitButtons, SharedGuiFontIsOneLastingFont)
{
    CFont* font = FO_GLOBAL::GetGUIFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, FO_GLOBAL::GetGUIFont());
    LOGFONT lf;
    EXPECT_TRUE(font->GetLogFont(&lf));
    EXPECT_NE(0, lf.lfHeight);
}

TEST(FigkitMenuButton, EntriesComeFromTheStateStringAndTheFactoryMakesIt)
{
    EnsureApp();
    CFOMenuButtonShape* shape = new CFOMenuButtonShape;
    shape->AddRef();
    EXPECT_EQ(UINT(FO_COMP_MENUBUTTON), shape->GetType());
    shape->SetStateString(L"Start$3#  run.js@Stop$0#None@Bare");
    struct Case
    {
        int index;
        BOOL ok;
        LPCWSTR id;
        UINT type;
        LPCWSTR event;
    } cases[] = {
        {0, TRUE, L"Start", 3, L"  run.js"},
        {1, TRUE, L"Stop", 0, L"None"},
        {2, TRUE, L"Bare", 0, L""},
        {3, FALSE, L"", 0, L""},
        {-1, FALSE, L"", 0, L""},
    };
    EXPECT_EQ(3, shape->GetMenuEntryCount());
    for (const Case& c : cases)
    {
        CString id, event;
        UINT type = 99;
        EXPECT_EQ(c.ok, shape->GetMenuEntry(c.index, id, type, event)) << c.index;
        if (c.ok)
        {
            EXPECT_EQ(CString(c.id), id);
            EXPECT_EQ(c.type, type);
            EXPECT_EQ(CString(c.event), event);
        }
    }
    CFODrawShape* copy = shape->Copy();
    copy->AddRef();
    EXPECT_EQ(shape->GetStateString(), copy->GetStateString());
    EXPECT_NE(nullptr, dynamic_cast<CFOMenuButtonShape*>(copy));
    copy->Release();

    // Drawn as a button: the face colour, a caption and the drop mark.
    CRect place(10, 10, 130, 40);
    shape->Create(place, L"Menu");
    shape->SetObjectCaption(L"Menu");
    QImage image(140, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(image);
        shape->OnDraw3d(&dc);
    }
    image.save(QStringLiteral(QYR_SHOT_DIR "/menu-button-shape.png"));
    EXPECT_EQ(AfxColorFromRef(GetSysColor(COLOR_BTNFACE)).rgb() & 0xFFFFFF, image.pixel(30, 14) & 0xFFFFFF);
    shape->Release();

    CFODataModel model;
    CRect rc(0, 0, 80, 24);
    CFODrawShape* made = model.DoCreateShapeByType(FO_COMP_MENUBUTTON, rc, CString());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(nullptr, dynamic_cast<CFOMenuButtonShape*>(made));
    EXPECT_EQ(CString(L"MenuButton1"), made->GetObjectName());
    made->Release();
}
