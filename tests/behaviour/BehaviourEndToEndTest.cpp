// A screen given its behaviour through the real design view, every dialog (nested ones too) answered
// through the modal hook: a composite's two states, a value range dragged on the slider, a menu
// entry, a visibility condition, two chart lines and the screen settings. Saved and reopened, the
// texts are the same and the editors list the same rows.
#include "../editor/EditorTestSupport.h"
#include "DialogScript.h"
#include "KeyValueBinding.h"
#include "behaviour/HideStateDlg.h"
#include "behaviour/RealTimeDlgs.h"
#include "behaviour/StateColorDlg.h"
#include "behaviour/StateItemDlgs.h"
#include "behaviour/StateSetDlgs.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPDropDownColorPickerButton.h"
#include "figkit/FORectShape.h"
#include "foundation/RangeSlider.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/ListCtrl.h"
#include "model/FORealTimeWnd.h"
#include "model/MyRealTimeChartShape.h"

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>

using namespace editortest;
using behaviourtest::BindThroughKeyValues;
using behaviourtest::CDialogScript;
using behaviourtest::ItemText;

namespace
{
const wchar_t kStates[] = L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00";
const wchar_t kLines[] = L"Flow$FF0000,0,100,Flow,No@Level$0000FF,0,100,Level,No";

void Press(CWnd& dlg, int nID)
{
    behaviourtest::Click(dlg, nID);
}

// The rows of a report list, "key|body" joined by ";".
CString Rows(CDialog& d)
{
    auto* list = static_cast<CListCtrl*>(CWnd::FromHandle(d.GetDlgItem(1043)->m_hWnd));
    CString rows;
    for (int i = 0; i < list->GetItemCount(); ++i)
        rows += list->GetItemText(i, 0) + L"|" + list->GetItemText(i, 1) + L";";
    return rows;
}

// Chooses the shape and colour in the colour editor.
int AnswerColour(CDialog& d, const wchar_t* shape, COLORREF cr)
{
    auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_ITEM_SHAPE));
    combo->SetCurSel(combo->FindStringExact(-1, shape));
    static_cast<CStateColorDlg&>(d).m_btnColor.SetColor(cr);
    return IDOK;
}

void SliderMouse(CWnd& wnd, QEvent::Type type, CPoint pt)
{
    QWidget* w = wnd.GetWidget();
    const QPointF local(pt.x, pt.y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Drags an arrow of the slider by the pixels that a change of the value by dDelta takes.
void DragArrow(CRangeSlider& slider, BOOL bLeft, double dDelta)
{
    slider.GetWidget()->grab();
    const CPoint from = (bLeft ? slider.GetLeftArrowRect() : slider.GetRightArrowRect()).CenterPoint();
    const int dx = int(std::lround(dDelta / (slider.GetMax() - slider.GetMin()) * slider.GetSlideLength()));
    const CPoint to(from.x + dx, from.y);
    SliderMouse(slider, QEvent::MouseButtonPress, from);
    SliderMouse(slider, QEvent::MouseMove, to);
    SliderMouse(slider, QEvent::MouseButtonRelease, to);
}

class CEndToEndTest : public CDesignTest
{
protected:
    static CFODrawShape* Add(CFODataModel* model, CFODrawShape* shape, const CRect& rc, LPCWSTR key)
    {
        CRect pos = rc;
        shape->Create(pos);
        shape->SetKeyId1(key);
        model->InsertShape(shape);
        return shape;
    }
    static void SelectOnly(CPlexdraftView* view, CFODrawShape* shape)
    {
        CFOTypedShapeObList one;
        one.AddTail(shape);
        view->SelectShapes(one);
    }
};
} // namespace

TEST_F(CEndToEndTest, BehaviourMadeInTheDesignViewIsSavedAndReadBackWithTheSameTextsAndRows)
{
    m_app.projectLoaded = TRUE;
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();

    // A composite of A and B.
    CFODrawShape* a = Add(model, new CFORectShape, CRect(20, 20, 80, 60), L"A");
    CFODrawShape* b = Add(model, new CFORectShape, CRect(100, 20, 160, 60), L"B");
    CFOTypedShapeObList both;
    both.AddTail(a);
    both.AddTail(b);
    view->SelectShapes(both);
    view->GroupSelection();
    auto* comp = dynamic_cast<CFOCompositeShape*>(view->GetFirstSelectShape());
    ASSERT_NE(comp, nullptr);
    comp->SetKeyId1(L"Comp");

    // Its two states: the state editor, two record dialogs, three item editors.
    {
        CDialogScript script;
        script
            .Then(
                [](CDialog& d)
                {
                    Press(d, 1041);
                    Press(d, 1041);
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    EXPECT_EQ(CString(L"STATE_0"), ItemText(d, 1035));
                    Press(d, 1056);
                    Press(d, 1041);
                    return IDOK;
                })
            .Then([](CDialog& d) { return AnswerColour(d, L"A", RGB(255, 0, 0)); })
            .Then(
                [](CDialog& d)
                {
                    auto* all = static_cast<CListBox*>(d.GetDlgItem(IDC_HIDE_ALL));
                    all->SetCurSel(all->FindStringExact(-1, L"B"));
                    Press(d, IDC_HIDE_MOVE);
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    EXPECT_EQ(CString(L"STATE_1"), ItemText(d, 1035));
                    Press(d, 1056);
                    return IDOK;
                })
            .Then([](CDialog& d) { return AnswerColour(d, L"A", RGB(0, 255, 0)); });
        view->SendMessage(WM_COMMAND, 32831, 0);
        EXPECT_TRUE(script.steps.empty());
        EXPECT_TRUE(script.messages.empty());
    }
    EXPECT_EQ(CString(kStates), comp->GetStateString());

    // Value ranges that choose the composite's state: 0 the first, 1 the second.
    SelectOnly(view, comp);
    {
        const auto range = [](double dValue)
        {
            return [dValue](CDialog& d)
            {
                static_cast<CValueSubStateDlg&>(d).SetBounds(dValue, dValue);
                Press(d, 1222);
                return IDOK;
            };
        };
        const auto state = [](const wchar_t* name)
        {
            return [name](CDialog& d)
            {
                auto* combo = static_cast<CComboBox*>(d.GetDlgItem(IDC_LINK_STATES));
                combo->SetCurSel(combo->FindStringExact(-1, name));
                return IDOK;
            };
        };
        CDialogScript script;
        script
            .Then(
                [](CDialog& d)
                {
                    Press(d, 1041);
                    Press(d, 1041);
                    return IDOK;
                })
            .Then(range(0))
            .Then(state(L"STATE_0"))
            .Then(range(1))
            .Then(state(L"STATE_1"));
        view->SendMessage(WM_COMMAND, 32856, 0);
        EXPECT_TRUE(script.steps.empty());
    }
    CString compRanges;
    comp->GetValueChangeScript(compRanges);
    EXPECT_EQ(CString(L"0,0$L_S,STATE_0@1,1$L_S,STATE_1"), compRanges);

    // A value range dragged to 10,90 on a plain shape.
    CFODrawShape* valued = Add(model, new CFORectShape, CRect(200, 20, 260, 60), L"V");
    SelectOnly(view, valued);
    {
        CDialogScript script;
        script
            .Then(
                [](CDialog& d)
                {
                    Press(d, 1041);
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    // Dragged on the slider where the dialog holds one, else set as the slider would.
                    if (auto* slider =
                            dynamic_cast<CRangeSlider*>(CWnd::FromHandle(d.GetDlgItem(1016)->m_hWnd)))
                    {
                        DragArrow(*slider, TRUE, 10 - 25);
                        DragArrow(*slider, FALSE, 90 - 75);
                    }
                    else
                        static_cast<CValueSubStateDlg&>(d).SetBounds(10, 90);
                    EXPECT_EQ(CString(L"10,90"), ItemText(d, 1035));
                    Press(d, 1056);
                    return IDOK;
                })
            .Then([](CDialog& d) { return AnswerColour(d, L"V", RGB(0, 0, 255)); });
        view->SendMessage(WM_COMMAND, 32856, 0);
        EXPECT_TRUE(script.steps.empty());
    }
    CString valueStates;
    valued->GetValueChangeScript(valueStates);
    EXPECT_EQ(CString(L"10,90$C_C,V,0000FF"), valueStates);

    // A menu entry with no event string, made through the view's state tool on a menu button:
    // stored with "None".
    auto* menu =
        static_cast<CFOMenuButtonShape*>(Add(model, new CFOMenuButtonShape, CRect(20, 100, 100, 124), L"M"));
    SelectOnly(view, menu);
    {
        BOOL menuEditor = FALSE;
        CDialogScript script;
        script
            .Then(
                [&](CDialog& d)
                {
                    menuEditor = dynamic_cast<CMenuEditorDlg*>(&d) != nullptr;
                    Press(d, 1041);
                    return IDOK;
                })
            .Then([](CDialog&) { return IDOK; });
        Command(view, 32831);
        EXPECT_TRUE(menuEditor);
        EXPECT_TRUE(script.messages.empty());
    }
    const CString menuText = menu->GetStateString();
    EXPECT_NE(-1, menuText.Find(L"#None")) << menuText.ToUtf8();
    EXPECT_EQ(1, menu->GetMenuEntryCount());

    // The condition "5,5".
    CFODrawShape* hidden = Add(model, new CFORectShape, CRect(120, 100, 180, 140), L"H");
    SelectOnly(view, hidden);
    {
        CModalHookScope hook(
            [](const AfxModalRequest& r)
            {
                if (r.kind == AfxModalKind::Dialog)
                {
                    qobject_cast<QComboBox*>(r.pDialog->GetDlgItem(1122)->GetWidget())->setCurrentIndex(5);
                    r.pDialog->GetDlgItem(1229)->SetWindowText(L"5");
                    r.pDialog->CheckDlgButton(1228, BST_CHECKED);
                }
                return IDOK;
            });
        view->SendMessage(WM_COMMAND, 30089, 0);
    }
    CString condition;
    hidden->GetPropStringValue(condition, FO_PROP_VISIBLE_COND);
    EXPECT_EQ(CString(L"5,5"), condition);
    BOOL conditionOn = FALSE;
    EXPECT_TRUE(hidden->GetPropBoolValue(conditionOn, FO_PROP_VISIBLE_COND_ON) && conditionOn);

    // Two chart lines through Custom Properties.
    auto* chart = Add(model, new CMyRealTimeChartShape, CRect(20, 180, 420, 380), L"Chart");
    SelectOnly(view, chart);
    {
        CDialogScript script;
        script
            .Then(
                [](CDialog& d)
                {
                    Press(d, 1041);
                    Press(d, 1041);
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    d.SetDlgItemText(1035, L"Flow");
                    return IDOK;
                })
            .Then(
                [](CDialog& d)
                {
                    d.SetDlgItemText(1035, L"Level");
                    auto* picker = dynamic_cast<FOPDropDownColorPickerButton*>(
                        CWnd::FromHandle(d.GetDlgItem(1056)->m_hWnd));
                    EXPECT_NE(picker, nullptr);
                    if (picker)
                        picker->SetColor(RGB(0, 0, 255));
                    return IDOK;
                });
        view->SendMessage(WM_COMMAND, 41031, 0);
        EXPECT_TRUE(script.steps.empty());
        EXPECT_TRUE(script.messages.empty());
    }
    CString lines;
    chart->GetPropStringValue(lines, 15009);
    EXPECT_EQ(CString(kLines), lines);

    // Bound through Key Values to variables of the demo project, coloured so that hiding shows, for
    // the player's test (test_behaviour_run), which runs this test with QYR_STATES_SCREEN naming
    // where the screen goes.
    EXPECT_TRUE(BindThroughKeyValues(view, comp, {CString(), CString(), L"#Checked"}));
    EXPECT_TRUE(BindThroughKeyValues(view, valued, {CString(), CString(), L"#Setpoint"}));
    EXPECT_TRUE(BindThroughKeyValues(view, hidden, {CString(), CString(), L"#Setpoint"}));
    hidden->SetBkColor(RGB(255, 255, 0));
    comp->FindShapeWithKey1(L"B")->SetBkColor(RGB(255, 255, 0));
    if (const char* forPlayer = std::getenv("QYR_STATES_SCREEN"))
        ASSERT_TRUE(view->GetDocument()->DoSave(CString::FromUtf8(forPlayer)));

    // The screen settings.
    {
        CModalHookScope hook(
            [](const AfxModalRequest& r)
            {
                if (r.kind == AfxModalKind::Dialog)
                {
                    r.pDialog->SetDlgItemText(1109, L"start.uscp");
                    r.pDialog->SetDlgItemText(1115, L"close.uscp");
                    r.pDialog->SetDlgItemText(1063, L"timer.uscp");
                    r.pDialog->SetDlgItemText(1069, L"500");
                }
                return IDOK;
            });
        view->SendMessage(WM_COMMAND, 30048, 0);
    }
    CString start;
    model->GetPropStringValue(start, 15001);
    EXPECT_EQ(CString(L"start.uscp"), start);
    int period = 0;
    model->GetPropIntValue(period, 15004);
    EXPECT_EQ(500, period);

    // Saved and reopened.
    const CString path = Path("behaviour.xdg");
    ASSERT_TRUE(view->GetDocument()->DoSave(path));
    view->GetDocument()->OnCloseDocument();
    AfxPumpMessages();
    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    CFODataModel* reopened = again->GetEditModel();
    CFODrawShape* comp2 = reopened->FindShapeWithKey1(L"Comp");
    CFODrawShape* valued2 = reopened->FindShapeWithKey1(L"V");
    auto* menu2 = dynamic_cast<CFOMenuButtonShape*>(reopened->FindShapeWithKey1(L"M"));
    CFODrawShape* hidden2 = reopened->FindShapeWithKey1(L"H");
    auto* chart2 = dynamic_cast<CMyRealTimeChartShape*>(reopened->FindShapeWithKey1(L"Chart"));
    ASSERT_TRUE(comp2 && valued2 && menu2 && hidden2 && chart2);
    EXPECT_EQ(CString(kStates), comp2->GetStateString());
    CString text;
    valued2->GetValueChangeScript(text);
    EXPECT_EQ(valueStates, text);
    EXPECT_EQ(menuText, menu2->GetStateString());
    hidden2->GetPropStringValue(text, FO_PROP_VISIBLE_COND);
    EXPECT_EQ(condition, text);
    chart2->GetPropStringValue(text, 15009);
    EXPECT_EQ(CString(kLines), text);
    const wchar_t* const scripts[] = {L"start.uscp", L"close.uscp", L"timer.uscp"};
    for (int id = 15001; id <= 15003; ++id)
    {
        reopened->GetPropStringValue(text, id);
        EXPECT_EQ(CString(scripts[id - 15001]), text);
    }
    period = 0;
    reopened->GetPropIntValue(period, 15004);
    EXPECT_EQ(500, period);

    // The editors list the same rows; Cancel leaves everything as it was.
    struct Reopen
    {
        CFODrawShape* shape;
        UINT command;
        const wchar_t* rows;
    };
    const Reopen editors[] = {
        {comp2, 32831, L"STATE_0|C_C,A,FF0000#H_H,B;STATE_1|C_C,A,00FF00;"},
        {valued2, 32856, L"10,90|C_C,V,0000FF;"},
        {chart2, 41031, L"Flow|FF0000,0,100,Flow,No;Level|0000FF,0,100,Level,No;"},
    };
    for (const Reopen& e : editors)
    {
        SelectOnly(again, e.shape);
        CDialogScript script;
        CString rows;
        script.Then(
            [&](CDialog& d)
            {
                rows = Rows(d);
                return IDCANCEL;
            });
        again->SendMessage(WM_COMMAND, e.command, 0);
        EXPECT_EQ(CString(e.rows), rows) << e.command;
    }
    EXPECT_FALSE(again->GetDocument()->IsModified());

    // The chart draws its two lines: values fed, the screen shown as the player would.
    CFORealTimeWnd* wnd = chart2->GetChartWnd();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(2, wnd->GetEngine().GetLineCount());
    for (int i = 0; i < 25; ++i)
    {
        const double values[] = {30 + 10 * std::sin(i / 3.0), 70.0 - i};
        wnd->UpdateMultiLine(2, values);
        wnd->Step();
    }
    AfxPumpMessages();
    const QImage shot = again->GetClientWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_BEHAVIOUR_SCREEN_PNG)));
}
