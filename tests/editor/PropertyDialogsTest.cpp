// The property dialogs of the design view: text typed on the canvas, the property manager on a
// selection as one undo step, the Properties submenu, layer, page and components, text bullets,
// and values that do not fit their type.
#include "EditorTestSupport.h"
#include "../behaviour/DialogScript.h"

#include "figkit/FOAction.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPropEditDlgs.h"
#include "figkit/FORectShape.h"
#include "figkit/FOStaticShape.h"
#include "mfc/ButtonCtl.h"
#include "mfc/CmdUI.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/Menu.h"

#include <QImage>
#include <QKeyEvent>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

using namespace editortest;
using behaviourtest::CDialogScript;

namespace
{
// Where the screenshots of the dialogs go (beside the build's other pictures).
QString ShotPath(const char* name)
{
    return QStringLiteral(QYR_PROPERTY_SHOTS) + "/" + name;
}

BOOL CommandEnabled(CWnd* view, UINT nID)
{
    struct CProbeUI : CCmdUI
    {
        BOOL enabled = TRUE;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = nID;
    probe.DoUpdate(view, TRUE);
    return probe.enabled;
}

CString Text(CDialog& d, int nID)
{
    CString s;
    d.GetDlgItemText(nID, s);
    return s;
}

void TypeKeys(QWidget* w, const QString& text)
{
    for (const QChar c : text)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

void PressKey(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

CFODrawShape* AddRect(CFODataModel* model, const CRect& rc, const CString& name)
{
    auto* shape = new CFORectShape;
    CRect pos = rc;
    shape->Create(pos, L"");
    shape->SetObjectName(name);
    model->InsertShape(shape);
    return shape;
}
CFOTypedShapeObList List(std::initializer_list<CFODrawShape*> shapes)
{
    CFOTypedShapeObList list;
    for (CFODrawShape* shape : shapes)
        list.AddTail(shape);
    return list;
}
} // namespace

class CPropertyDialogsTest : public CDesignTest
{
protected:
    void SetUp() override
    {
        CDesignTest::SetUp();
        std::filesystem::create_directories(QYR_PROPERTY_SHOTS);
    }
    // A label dropped on the view at a canvas point, selected.
    static CFOPSimpleLabelShape* DropLabel(CQYRDrawView* view, CPoint ptCanvas)
    {
        const int before = view->GetCurrentModel()->GetShapeCount();
        view->OnDrop(FO_COMP_SIMPLELABEL, view->CanvasToClient(ptCanvas));
        CFODataModel* model = view->GetCurrentModel();
        if (model->GetShapeCount() != before + 1)
            return nullptr;
        return dynamic_cast<CFOPSimpleLabelShape*>(model->GetShapes()->GetObject(before));
    }
};

TEST_F(CPropertyDialogsTest, ALabelsTextIsTypedOnTheCanvasAndInTheTextDialogEachOneUndoStep)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    CFOPSimpleLabelShape* label = DropLabel(view, CPoint(100, 100));
    ASSERT_NE(label, nullptr);
    const CString dropped = label->GetLabelText();
    const int undoBefore = model->GetUndoHistory()->GetUndoCount();

    // A double click opens the box with the text; Enter keeps what was typed.
    const CPoint inside = view->CanvasToClient(label->GetSnapRect().CenterPoint());
    Mouse(view, QEvent::MouseButtonDblClick, inside, Qt::LeftButton);
    ASSERT_TRUE(view->IsTextEditing());
    QWidget* box = view->GetTextEditWnd()->GetWidget();
    PressKey(box, Qt::Key_End);
    TypeKeys(box, QStringLiteral("Pump 1"));
    const QImage typing = view->GetClientWidget()->grab().toImage();
    EXPECT_TRUE(typing.save(ShotPath("typing-in-place.png")));
    PressKey(box, Qt::Key_Return);
    AfxPumpMessages();
    EXPECT_FALSE(view->IsTextEditing());
    const CString typed = label->GetLabelText();
    EXPECT_EQ(dropped + L"Pump 1", typed);
    EXPECT_EQ(undoBefore + 1, model->GetUndoHistory()->GetUndoCount());

    // Escape drops what was typed.
    Mouse(view, QEvent::MouseButtonDblClick, inside, Qt::LeftButton);
    ASSERT_TRUE(view->IsTextEditing());
    TypeKeys(view->GetTextEditWnd()->GetWidget(), QStringLiteral("xyz"));
    PressKey(view->GetTextEditWnd()->GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(typed, label->GetLabelText());

    // The Text dialog of the Properties submenu shows and sets the same text.
    view->ClearSelection();
    view->AddToSelection(label);
    CDialogScript steps;
    steps.Then(
        [&](CDialog& d)
        {
            EXPECT_EQ(typed, Text(d, FO_PROP_CAPTION));
            d.SetDlgItemText(FO_PROP_CAPTION, L"Feed pump");
            d.SetDlgItemText(FO_PROP_POINT_SIZE, L"14");
            EXPECT_TRUE(d.GetWidget()->grab().toImage().save(ShotPath("text-dialog.png")));
            return IDOK;
        });
    Command(view, 32873);
    ASSERT_EQ(1u, steps.titles.size());
    EXPECT_EQ(CString(L"Text"), steps.titles[0]);
    EXPECT_EQ(CString(L"Feed pump"), label->GetLabelText());
    EXPECT_EQ(14, label->GetPointSize());
    EXPECT_EQ(undoBefore + 2, model->GetUndoHistory()->GetUndoCount());
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(typed, label->GetLabelText());
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(dropped, label->GetLabelText());
    Command(view, ID_EDIT_REDO);
    Command(view, ID_EDIT_REDO);
    EXPECT_EQ(CString(L"Feed pump"), label->GetLabelText());
    EXPECT_TRUE(steps.messages.empty());
}

TEST_F(CPropertyDialogsTest, AStaticTextsBoxFollowsItsTypedTextAndItsFont)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    auto* text = new CFOStaticShape;
    CRect pos(50, 50, 80, 70);
    text->Create(pos, L"");
    text->SetObjectCaption(L"A");
    model->InsertShape(text);
    ASSERT_TRUE(view->StartTextEdit(text));
    view->GetTextEditWnd()->SetWindowText(L"A much longer static text");
    view->FinishAllBox();
    EXPECT_EQ(CString(L"A much longer static text"), text->GetObjectCaption());
    const int typedWidth = text->GetSnapRect().Width();
    EXPECT_GT(typedWidth, 30) << "the box widened to the text";

    // Larger font (the format bar) widens it again.
    view->ClearSelection();
    view->AddToSelection(text);
    Command(view, 32786);
    EXPECT_GT(text->GetPointSize(), 10);
    EXPECT_GT(text->GetSnapRect().Width(), typedWidth);
}

TEST_F(CPropertyDialogsTest, ThePropertyManagerChangesThreeShapesInOneStepThatSurvivesSaving)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    CFOTypedShapeObList three;
    for (int i = 0; i < 3; ++i)
        three.AddTail(
            AddRect(model, CRect(40 + 80 * i, 40, 100 + 80 * i, 90), L"R" + CString(wchar_t(L'1' + i))));
    three.GetHead()->SetKeyId1(L"first");
    view->SelectShapes(three);
    ASSERT_TRUE(CommandEnabled(view, 32837));
    const int undoBefore = model->GetUndoHistory()->GetUndoCount();

    CDialogScript steps;
    steps.Then(
        [&](CDialog& d)
        {
            // The first shape's values; changed ones go to all three.
            EXPECT_EQ(CString(L"R1"), Text(d, FO_PROP_NAME));
            EXPECT_EQ(CString(L"first"), Text(d, FO_PROP_KEY1));
            d.SetDlgItemText(FO_PROP_KEY2, L"Quendrel.OpcDaServer.1");
            d.SetDlgItemText(FO_PROP_FILL_COLOR, L"#00FF00");
            d.SetDlgItemText(FO_PROP_TOOLTIP, L"Tank level");
            d.CheckDlgButton(FO_PROP_ITALIC, BST_CHECKED);
            static_cast<CComboBox*>(d.GetDlgItem(FO_PROP_TEXT_HALIGN))->SetCurSel(2);
            EXPECT_TRUE(d.GetWidget()->grab().toImage().save(ShotPath("property-manager.png")));
            return IDOK;
        });
    Command(view, 32837);
    ASSERT_EQ(1u, steps.titles.size());
    EXPECT_EQ(CString(L"Property Editor"), steps.titles[0]);
    EXPECT_EQ(undoBefore + 1, model->GetUndoHistory()->GetUndoCount());
    const auto check = [&](bool changed)
    {
        for (CFODrawShape* shape : three)
        {
            CString tip;
            shape->GetPropStringValue(tip, FO_PROP_TOOLTIP);
            DWORD align = 0;
            shape->GetPropDWordValue(align, FO_PROP_TEXT_HALIGN);
            EXPECT_EQ(changed ? CString(L"Quendrel.OpcDaServer.1") : CString(), shape->GetKeyId2());
            EXPECT_EQ(changed ? COLORREF(0x00FF00) : COLORREF(0xFFFFFF), shape->GetBkColor() & 0xFFFFFF)
                << shape->GetObjectName().ToUtf8();
            EXPECT_EQ(changed ? CString(L"Tank level") : CString(), tip);
            EXPECT_EQ(changed, bool(shape->GetItalic()));
            EXPECT_EQ(changed ? 2u : 0u, align);
        }
        // The names were not changed, so each keeps its own.
        EXPECT_EQ(CString(L"R2"), three.GetObject(1)->GetObjectName());
    };
    check(true);
    Command(view, ID_EDIT_UNDO);
    check(false);
    Command(view, ID_EDIT_REDO);
    check(true);

    // Saved and reopened, the three keep the change.
    auto* doc = view->GetDocument();
    const CString path = Path("props.xdg");
    ASSERT_TRUE(doc->DoSave(path));
    doc->OnCloseDocument();
    AfxPumpMessages();
    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    CFODataModel* reopened = again->GetCurrentModel();
    for (const wchar_t* name : {L"R1", L"R2", L"R3"})
    {
        CFODrawShape* shape = reopened->FindCompWithName(name);
        ASSERT_NE(shape, nullptr) << CString(name).ToUtf8();
        CString tip;
        shape->GetPropStringValue(tip, FO_PROP_TOOLTIP);
        EXPECT_EQ(CString(L"Tank level"), tip);
        EXPECT_EQ(CString(L"Quendrel.OpcDaServer.1"), shape->GetKeyId2());
        EXPECT_EQ(COLORREF(0x00FF00), shape->GetBkColor() & 0xFFFFFF);
        EXPECT_TRUE(shape->GetItalic());
    }
    EXPECT_TRUE(steps.messages.empty());
}

TEST_F(CPropertyDialogsTest, AValueThatDoesNotFitItsTypeIsRefusedAndTheShapeStaysAsItWas)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    CFODrawShape* shape = AddRect(model, CRect(100, 100, 200, 160), L"Tank");
    view->SelectShapes(List({shape}));
    const CRect rcBefore = shape->GetSnapRect();
    const int undoBefore = model->GetUndoHistory()->GetUndoCount();
    const struct
    {
        UINT command;
        int control;
        const wchar_t* text;
        const wchar_t* message; // the start of the message
    } cases[] = {
        {32837, FO_PROP_FILL_COLOR, L"#12345G", L"Fill colour: please enter a colour"},
        {32837, FO_PROP_POINT_SIZE, L"abc", L"Font size: please enter a whole number"},
        {32837, FO_PROP_LINE_WIDTH, L"-3", L"Line width: please enter a whole number"},
        {32837, FO_PROP_NAME, L"", L"Name may not be empty"},
        {32873, FO_PROP_POINT_SIZE, L"0", L"Font size: please enter a whole number"},
        {32875, FO_PROP_LINE_COLOR, L"red", L"Line colour: please enter a colour"},
        {32876, FO_PROP_BRUSH_TYPE, L"999", L"Fill type: please enter a whole number"},
        {32877, CFOPositionDlg::IDC_WIDTH, L"-20", L"Width: please enter a whole number"},
        {32877, CFOPositionDlg::IDC_LEFT, L"5000", L"Left: please enter a whole number"},
        {32880, CFOPageSetupDlg::IDC_PAGE_WIDTH, L"0", L"Width: please enter a whole number"},
        {32880, CFOPageSetupDlg::IDC_BACK_COLOR, L"#FFF", L"Background colour: please enter a colour"},
    };
    for (const auto& c : cases)
    {
        CDialogScript steps;
        steps.Then(
            [&](CDialog& d)
            {
                // A good change beside the bad one is not taken either.
                if (d.GetDlgItem(FO_PROP_TOOLTIP))
                    d.SetDlgItemText(FO_PROP_TOOLTIP, L"changed");
                d.SetDlgItemText(c.control, c.text);
                return IDOK;
            });
        Command(view, c.command);
        ASSERT_EQ(1u, steps.messages.size()) << CString(c.text).ToUtf8();
        EXPECT_EQ(0, steps.messages[0].Find(c.message)) << steps.messages[0].ToUtf8();
    }
    EXPECT_EQ(undoBefore, model->GetUndoHistory()->GetUndoCount());
    EXPECT_EQ(CString(L"Tank"), shape->GetObjectName());
    EXPECT_EQ(rcBefore, shape->GetSnapRect());
    CString tip;
    EXPECT_FALSE(shape->GetPropStringValue(tip, FO_PROP_TOOLTIP) && !tip.IsEmpty());
    EXPECT_EQ(CSize(1000, 1000), model->GetCanvasSize());
}

TEST_F(CPropertyDialogsTest, PositionLayerPageAndComponentsChangeTheScreen)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    CFODrawShape* a = AddRect(model, CRect(10, 10, 50, 50), L"A");
    CFODrawShape* b = AddRect(model, CRect(60, 10, 100, 50), L"B");
    view->SelectShapes(List({a}));

    CDialogScript steps;
    steps
        .Then(
            [](CDialog& d)
            {
                EXPECT_EQ(CString(L"10"), Text(d, CFOPositionDlg::IDC_LEFT));
                EXPECT_EQ(CString(L"40"), Text(d, CFOPositionDlg::IDC_WIDTH));
                d.SetDlgItemText(CFOPositionDlg::IDC_LEFT, L"200");
                d.SetDlgItemText(CFOPositionDlg::IDC_HEIGHT, L"80");
                return IDOK;
            })
        .Then(
            [](CDialog& d)
            {
                d.CheckDlgButton(CFOLayerDlg::IDC_TO_FRONT, BST_UNCHECKED);
                d.CheckDlgButton(CFOLayerDlg::IDC_TO_FRONT + 0, BST_CHECKED);
                return IDOK;
            })
        .Then(
            [](CDialog& d)
            {
                d.SetDlgItemText(CFOPageSetupDlg::IDC_PAGE_WIDTH, L"1280");
                d.SetDlgItemText(CFOPageSetupDlg::IDC_PAGE_HEIGHT, L"800");
                d.SetDlgItemText(CFOPageSetupDlg::IDC_BACK_COLOR, L"#102030");
                return IDOK;
            })
        .Then(
            [](CDialog& d)
            {
                auto* list = static_cast<CListBox*>(d.GetDlgItem(CFOComponentsDlg::IDC_SHAPE_LIST));
                EXPECT_EQ(1, list->GetSelCount()) << "the selection is chosen";
                list->SetSel(-1, FALSE);
                for (int i = 0; i < list->GetCount(); ++i)
                {
                    CString line;
                    list->GetText(i, line);
                    if (line.Find(L"B (") == 0)
                        list->SetSel(i, TRUE);
                }
                return IDOK;
            });
    Command(view, 32877);
    EXPECT_EQ(CRect(200, 10, 240, 90), a->GetSnapRect());
    Command(view, 32879);
    EXPECT_EQ(a, model->GetShapes()->GetObject(model->GetShapeCount() - 1)) << "brought to front";
    Command(view, 32880);
    EXPECT_EQ(CSize(1280, 800), model->GetCanvasSize());
    EXPECT_EQ(COLORREF(0x302010), model->GetBkColor());
    Command(view, 32881);
    ASSERT_EQ(1, view->GetSelectCount());
    EXPECT_EQ(b, view->GetFirstSelectShape());
    EXPECT_EQ((std::vector<CString>{L"Position and Size", L"Layer", L"Page Setting", L"Components"}),
              steps.titles);
    // The move is one undo step.
    Command(view, ID_EDIT_UNDO);
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(CRect(10, 10, 50, 50), a->GetSnapRect());
    EXPECT_TRUE(steps.messages.empty());
}

TEST_F(CPropertyDialogsTest, TextBulletsChangeOneShapeOrTheWholeSelection)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    EXPECT_FALSE(CommandEnabled(view, 32785)) << "an empty screen";
    CFODrawShape* a = AddRect(model, CRect(10, 10, 50, 50), L"A");
    CFODrawShape* b = AddRect(model, CRect(60, 10, 100, 50), L"B");
    EXPECT_TRUE(CommandEnabled(view, 32785));
    const int undoBefore = model->GetUndoHistory()->GetUndoCount();
    CDialogScript steps;
    // Nothing selected: nothing opens.
    Command(view, 32785);
    EXPECT_TRUE(steps.titles.empty());
    const auto choose = [](int nType, const wchar_t* colour)
    {
        return [nType, colour](CDialog& d)
        {
            static_cast<CComboBox*>(d.GetDlgItem(FO_PROP_BULLET_TYPE))->SetCurSel(nType);
            d.SetDlgItemText(FO_PROP_BULLET_COLOR, colour);
            return IDOK;
        };
    };
    steps.Then(choose(1, L"#FF0000")).Then(choose(4, L"#0000FF"));
    view->SelectShapes(List({a}));
    Command(view, 32785);
    DWORD type = 0;
    EXPECT_TRUE(a->GetPropDWordValue(type, FO_PROP_BULLET_TYPE));
    EXPECT_EQ(1u, type);
    EXPECT_FALSE(b->GetPropDWordValue(type, FO_PROP_BULLET_TYPE));
    view->SelectShapes(List({a, b}));
    Command(view, 32785);
    for (CFODrawShape* shape : {a, b})
    {
        COLORREF cr = 0;
        EXPECT_TRUE(shape->GetPropDWordValue(type, FO_PROP_BULLET_TYPE));
        EXPECT_EQ(4u, type);
        EXPECT_TRUE(shape->GetPropColorValue(cr, FO_PROP_BULLET_COLOR));
        EXPECT_EQ(COLORREF(0xFF0000), cr);
    }
    EXPECT_EQ((std::vector<CString>{L"Text Bullet", L"Text Bullet"}), steps.titles);
    EXPECT_EQ(undoBefore + 2, model->GetUndoHistory()->GetUndoCount());
}

TEST_F(CPropertyDialogsTest, TheShapeCommandsOpenTheirDialogOrAreDisabledForPlainCompositeAndNoSelection)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    CFODrawShape* plain = AddRect(model, CRect(10, 10, 50, 50), L"Plain");
    view->SelectShapes(List(
        {AddRect(model, CRect(100, 10, 140, 50), L"C1"), AddRect(model, CRect(150, 10, 190, 50), L"C2")}));
    view->GroupSelection();
    CFODrawShape* composite = view->GetFirstSelectShape();
    ASSERT_NE(composite, plain);
    ASSERT_EQ(1, view->GetSelectCount());

    // What opens for a plain shape, a composite and no selection; "-" is a disabled command.
    const struct
    {
        UINT command;
        const wchar_t* name;
        const wchar_t* opens[3];
    } table[] = {
        {32873, L"Properties > Text...", {L"Text", L"Text", L"-"}},
        {32875, L"Properties > Line...", {L"Line", L"Line", L"-"}},
        {32876, L"Properties > Fill...", {L"Fill", L"Fill", L"-"}},
        {32877, L"Properties > Position and Size", {L"Position and Size", L"Position and Size", L"-"}},
        {32819, L"Properties > State...", {L"-", L"Assign New State", L"-"}},
        {41031, L"Properties > Custom...", {L"Property Editor", L"Property Editor", L"-"}},
        // Not built: offered nowhere as a working command.
        {32874, L"Properties > Protection...", {L"-", L"-", L"-"}},
        {32878, L"Properties > Shadow...", {L"-", L"-", L"-"}},
        {41137, L"Event Link...", {L"Event Setting", L"Event Setting", L"-"}},
        {32879, L"Layer...", {L"Layer", L"Layer", L"-"}},
        {32880, L"Page Setting...", {L"Page Setting", L"Page Setting", L"Page Setting"}},
        {32881, L"Components...", {L"Components", L"Components", L"Components"}},
        {32837, L"Property Editor...", {L"Property Editor", L"Property Editor", L"-"}},
        {32831, L"Multiple States Building Tool...", {L"-", L"Multiple State Building Tool", L"-"}},
    };
    CFODrawShape* const selections[3] = {plain, composite, nullptr};

    // The context menu of a right click on each: its items greyed as the table says (the property
    // editor is not on it).
    for (int i = 0; i < 3; ++i)
    {
        view->ClearSelection();
        if (selections[i])
            view->AddToSelection(selections[i]);
        const CPoint at = selections[i] ? view->CanvasToClient(selections[i]->GetSnapRect().CenterPoint())
                                        : view->CanvasToClient(CPoint(600, 500));
        std::map<UINT, bool> offered;
        std::function<void(HMENU)> read = [&](HMENU hMenu)
        {
            for (int pos = 0; pos < ::GetMenuItemCount(hMenu); ++pos)
                if (HMENU sub = ::GetSubMenu(hMenu, pos))
                    read(sub);
                else if (UINT id = ::GetMenuItemID(hMenu, pos); id != 0)
                    offered[id] = !(::GetMenuState(hMenu, UINT(pos), MF_BYPOSITION) & MF_GRAYED);
        };
        {
            CModalHookScope menu(
                [&](const AfxModalRequest& r)
                {
                    if (r.kind == AfxModalKind::PopupMenu)
                        read(r.hMenu);
                    return 0;
                });
            Mouse(view, QEvent::MouseButtonPress, at, Qt::RightButton);
        }
        ASSERT_FALSE(offered.empty()) << i;
        for (const auto& row : table)
            if (offered.count(row.command))
                EXPECT_EQ(CString(row.opens[i]) != L"-", offered[row.command])
                    << CString(row.name).ToUtf8() << " " << i;
        EXPECT_EQ(0u, offered.count(32837));
    }
    std::printf("%-36s | %-20s | %-28s | %s\n", "command", "plain shape", "composite", "no selection");
    for (const auto& row : table)
    {
        CString cells[3];
        for (int i = 0; i < 3; ++i)
        {
            view->ClearSelection();
            if (selections[i])
                view->AddToSelection(selections[i]);
            CString opened = L"-";
            if (CommandEnabled(view, row.command))
            {
                CDialogScript steps;
                Command(view, row.command);
                opened = steps.titles.empty() ? CString(L"(nothing)") : steps.titles[0];
            }
            cells[i] = opened;
            EXPECT_EQ(CString(row.opens[i]), opened) << CString(row.name).ToUtf8() << " " << i;
        }
        std::printf("%-36s | %-20s | %-28s | %s\n", CString(row.name).ToUtf8().c_str(),
                    cells[0].ToUtf8().c_str(), cells[1].ToUtf8().c_str(), cells[2].ToUtf8().c_str());
    }
}
