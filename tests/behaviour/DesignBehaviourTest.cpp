// The design view's behaviour commands, driven through the real view with the modal hook: connect a
// parameter over the stand-in OPC servers, the SVG import's placement and the selection of sets.
#include "../editor/EditorTestSupport.h"
#include "DialogScript.h"
#include "behaviour/StateListDlg.h"
#include "editor/KeyValueDlg.h"
#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "mfc/CmdUI.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"
#include "figkit/FOGroupShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "figkit/FORectShape.h"
#include "opc/AddItemDlg.h"
#include "opc/ConnectDlg.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/OPCDialogs.h"
#include "opc/TagBrowseDlg.h"
#include "opcsdk/Opc.h"
#include "opcsdk/servers/OpcStandIn.h"

#include <fstream>

using namespace editortest;
using behaviourtest::CDialogScript;
using behaviourtest::ItemText;

namespace
{
class CDesignBehaviourTest : public CDesignTest
{
protected:
    void SetUp() override
    {
        CDesignTest::SetUp();
        OpcStandInServers_Register();
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(5);
    }
    void TearDown() override
    {
        CDesignTest::TearDown();
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(1000);
    }
    // A rectangle added to the model with key 1.
    static CFODrawShape* AddRect(CFODataModel* model, const CRect& rc, LPCWSTR key)
    {
        auto* shape = new CFORectShape;
        CRect pos = rc;
        shape->Create(pos);
        shape->SetKeyId1(key);
        model->InsertShape(shape);
        return shape;
    }
};
} // namespace

TEST_F(CDesignBehaviourTest, ConnectParameterBrowsesKey3OnTheServerAndSetsItOnEverySelectedShapeAtOnce)
{
    struct Case
    {
        const wchar_t* progId;
        bool failOrganisation;
        // The dialog "..." opens: 1 tag browser, 2 item picker, 0 none (a message instead).
        int opens;
        const wchar_t* item;
    };
    const Case cases[] = {
        {QUENDREL_OPCDASERVER_PROGID, false, 1, L"Simulation.Ramp1"},
        {QUENDREL_OPCTESTDA10_PROGID, false, 2, L"Ramp"},
        {QUENDREL_OPCDASERVER_PROGID, true, 0, nullptr},
    };
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    CFODrawShape* a = AddRect(model, CRect(20, 20, 80, 60), L"");
    CFODrawShape* b = AddRect(model, CRect(120, 20, 180, 60), L"");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.progId).ToUtf8());
        OpcStandIn::Reset();
        // The flat DA 1.0 server is found by its name only when listed as a DA 2.0 server.
        OpcStandIn::ListDa10AsDa20(TRUE);
        if (c.failOrganisation)
            OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer,
                                 "IOPCBrowseServerAddressSpace::QueryOrganization");
        a->PutPropStringValue(1004, L"old");
        b->PutPropStringValue(1004, L"old");
        CFOTypedShapeObList both;
        both.AddTail(a);
        both.AddTail(b);
        view->SelectShapes(both);
        const int undoBefore = model->GetUndoHistory()->GetUndoCount();
        int opened = 0;
        CDialogScript script;
        script
            .Then(
                [&](CDialog& d)
                {
                    EXPECT_EQ(CString(L"old"), ItemText(d, IDC_PARAM_KEY3));
                    d.SetDlgItemText(IDC_PARAM_KEY2, c.progId);
                    behaviourtest::Click(d, IDC_PARAM_BROWSE);
                    return IDOK;
                })
            .Then(
                [&](CDialog& d)
                {
                    if (auto* browser = dynamic_cast<CTagBrowseDlg*>(&d))
                    {
                        opened = 1;
                        browser->m_strItemName = c.item;
                    }
                    else if (auto* picker = dynamic_cast<CAddItemDlg*>(&d))
                    {
                        opened = 2;
                        picker->m_strTag = c.item;
                    }
                    d.EndDialog(IDOK);
                    return IDOK;
                });
        view->SendMessage(WM_COMMAND, 32810, 0);
        EXPECT_EQ(CString(L"Connect a parameter"), script.titles.at(0));
        EXPECT_EQ(c.opens, opened);
        CString key3a, key3b;
        a->GetPropStringValue(key3a, 1004);
        b->GetPropStringValue(key3b, 1004);
        if (c.item)
        {
            EXPECT_TRUE(script.messages.empty());
            EXPECT_EQ(CString(c.item), key3a);
            EXPECT_EQ(CString(c.item), key3b);
            EXPECT_EQ(CString(c.progId), b->GetKeyId2());
            EXPECT_EQ(undoBefore + 1, model->GetUndoHistory()->GetUndoCount()) << "one step for all";
        }
        else
        {
            ASSERT_EQ(1u, script.messages.size());
            EXPECT_EQ(CString(L"Cannot access server!\n") + c.progId, script.messages[0]);
            // Only key 2 changed.
            EXPECT_EQ(CString(L"old"), key3a);
            EXPECT_EQ(CString(c.progId), a->GetKeyId2());
        }
    }
}

// Keys that name no server: "..." opens the server chooser, and the server chosen there gives keys 1
// and 2 and is the one browsed.
TEST_F(CDesignBehaviourTest, ConnectParameterWithNoServerInTheKeysBrowsesTheServerChosenInTheChooser)
{
    COPCDialogs::RegisterDialogs();
    OpcStandIn::ListDa10AsDa20(TRUE);
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODrawShape* a = AddRect(view->GetEditModel(), CRect(20, 20, 80, 60), L"");
    CFOTypedShapeObList one;
    one.AddTail(a);
    view->SelectShapes(one);
    CString chosen;
    bool picker = false;
    CDialogScript script;
    script
        .Then(
            [&](CDialog& d)
            {
                EXPECT_EQ(CString(), ItemText(d, IDC_PARAM_KEY2));
                behaviourtest::Click(d, IDC_PARAM_BROWSE);
                EXPECT_EQ(chosen, ItemText(d, IDC_PARAM_KEY2));
                EXPECT_EQ(CString(L"Ramp"), ItemText(d, IDC_PARAM_KEY3));
                return IDOK;
            })
        .Then(
            [&](CDialog& d)
            {
                auto* chooser = dynamic_cast<CConnectDlg*>(&d);
                if (!chooser)
                    return IDCANCEL;
                for (int i = 0; i < chooser->m_listServers.GetCount(); ++i)
                {
                    CString row;
                    chooser->m_listServers.GetText(i, row);
                    if (row.Find(QUENDREL_OPCTESTDA10_PROGID) == 0)
                    {
                        chosen = row;
                        chooser->m_listServers.SetCurSel(i);
                        chooser->OnSelchangeServerList();
                    }
                }
                return IDOK;
            })
        .Then(
            [&](CDialog& d)
            {
                auto* items = dynamic_cast<CAddItemDlg*>(&d);
                picker = items != nullptr;
                if (items)
                    items->m_strTag = L"Ramp";
                d.EndDialog(IDOK);
                return IDOK;
            });
    view->SendMessage(WM_COMMAND, 32810, 0);
    COPCDialogs::SetConnectDialog({});
    EXPECT_EQ(3u, script.titles.size());
    EXPECT_FALSE(chosen.IsEmpty()) << "the chooser lists the flat server";
    EXPECT_TRUE(picker) << "the flat server's item picker";
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(chosen, a->GetKeyId2());
    EXPECT_EQ(CString(L"Ramp"), a->GetKeyId3());
}

TEST_F(CDesignBehaviourTest, ConnectParameterOkWithoutChangesIsNotModifiedAndCancelWritesNothing)
{
    for (int answer : {IDOK, IDCANCEL})
    {
        CKeyValueDlg dlg;
        dlg.m_strKey1 = dlg.m_strOldKey1 = L"PC1";
        dlg.m_strToolTip = dlg.m_strOldToolTip = L"line 1\r\nline 2";
        CDialogScript script;
        script.Then([&](CDialog&) { return answer; });
        EXPECT_EQ(answer, dlg.DoModal());
        EXPECT_FALSE(dlg.m_bModified);
        EXPECT_EQ(CString(L"line 1\r\nline 2"), dlg.m_strToolTip);
    }
    CKeyValueDlg dlg;
    CDialogScript script;
    script.Then(
        [&](CDialog& d)
        {
            d.SetDlgItemText(IDC_PARAM_NAME, L"Pump");
            return IDOK;
        });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.m_bModified);
    EXPECT_EQ(CString(L"Pump"), dlg.m_strName);
    // No explorer document: "..." does nothing.
    EXPECT_EQ(nullptr, GetExplorerActiveDocument(FALSE));
    CKeyValueDlg lone;
    CDialogScript none;
    none.Then(
        [&](CDialog& d)
        {
            behaviourtest::Click(d, IDC_PARAM_BROWSE);
            return IDCANCEL;
        });
    lone.DoModal();
    EXPECT_EQ(1u, none.titles.size());
    EXPECT_TRUE(none.messages.empty());
}

TEST_F(CDesignBehaviourTest, ImportSvgUngroupsASmallGroupAndPlacesItsCornerAt100)
{
    struct Case
    {
        int members;
        bool ungrouped;
    };
    for (const Case c : {Case{39, true}, Case{40, false}})
    {
        SCOPED_TRACE(c.members);
        const std::string file = m_dir + "/g" + std::to_string(c.members) + ".svg";
        {
            std::ofstream out(file);
            out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900\" height=\"900\"><g>";
            for (int i = 0; i < c.members; ++i)
                out << "<rect x=\"" << 50 + (i % 8) * 30 << "\" y=\"" << 70 + (i / 8) * 30
                    << "\" width=\"20\" height=\"20\" fill=\"red\"/>";
            out << "</g></svg>";
        }
        CQYRDrawView* view = Open();
        ASSERT_NE(view, nullptr);
        CFODataModel* model = view->GetEditModel();
        ASSERT_EQ(0, model->GetShapeCount());
        CDialogScript script;
        script.filePath = CString::FromUtf8(file);
        view->SendMessage(WM_COMMAND, 32811, 0);
        ASSERT_EQ(1u, script.fileFilters.size());
        EXPECT_EQ(CString(L"Import SVG Files (*.svg)|*.svg||"), script.fileFilters[0]);
        EXPECT_TRUE(script.messages.empty());
        CRect total;
        total.SetRectEmpty();
        for (CFODrawShape* s : *model->GetShapes())
            total |= s->GetSnapRect();
        if (c.ungrouped)
        {
            EXPECT_EQ(c.members, model->GetShapeCount());
            EXPECT_EQ(CPoint(100, 100), total.TopLeft());
        }
        else
        {
            ASSERT_EQ(1, model->GetShapeCount());
            EXPECT_NE(nullptr, dynamic_cast<CFOGroupShape*>(model->GetShapes()->GetHead()));
            // Where the import put it, moved by 100, 100.
            EXPECT_EQ(CPoint(120, 120), total.TopLeft());
        }
        EXPECT_TRUE(view->GetDocument()->IsModified());
        view->GetDocument()->OnCloseDocument();
        AfxPumpMessages();
    }
}

TEST_F(CDesignBehaviourTest, SelectingASetSkipsHiddenShapesAndFiltersByKind)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    CFODrawShape* shown = AddRect(model, CRect(20, 20, 60, 60), L"A");
    CFODrawShape* hidden = AddRect(model, CRect(80, 20, 120, 60), L"B");
    hidden->SetVisible(FALSE);
    auto* label = new CFOPSimpleLabelShape;
    CRect rc(20, 100, 80, 120);
    label->Create(rc);
    model->InsertShape(label);
    auto* link = new CFOLinkShape;
    CRect lr(100, 100, 200, 150);
    link->Create(lr);
    model->InsertShape(link);
    const struct
    {
        void (CPlexdraftView::*select)(const FOPContainer&);
        std::vector<CFODrawShape*> expected;
    } cases[] = {
        {&CPlexdraftView::SelectAllShapes, {shown}},
        {&CPlexdraftView::SelectAllLinks, {link}},
        {&CPlexdraftView::SelectAllShapesAndLinks, {shown, link}},
        {&CPlexdraftView::SelectAllLabels, {label}},
    };
    for (const auto& c : cases)
    {
        (view->*c.select)(*model->GetShapes());
        const std::vector<CFODrawShape*> got(view->GetSelectShapes().begin(), view->GetSelectShapes().end());
        EXPECT_EQ(c.expected, got);
    }
}

TEST_F(CDesignBehaviourTest, MoveTargetLinksMarkTheTargetAndRelinkingOrUnlinkingClearsTheOldOne)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    auto* driver = new CFOPMovePathShape;
    CRect rc(10, 10, 200, 20);
    driver->Create(rc);
    driver->SetKeyId1(L"D");
    model->InsertShape(driver);
    CFODrawShape* unkeyed = AddRect(model, CRect(20, 40, 60, 80), L"");
    CFODrawShape* t1 = AddRect(model, CRect(80, 40, 120, 80), L"T1");
    CFODrawShape* t2 = AddRect(model, CRect(140, 40, 180, 80), L"T2");
    const auto marks = [&]
    {
        CString m;
        for (CFODrawShape* s : {unkeyed, t1, t2})
        {
            CString by;
            m += s->GetPropStringValue(by, 1933) ? by : CString(L"-");
        }
        return m;
    };
    const struct
    {
        const wchar_t* key;
        const wchar_t* marks; // on the unkeyed shape, T1 and T2
    } steps[] = {
        {L"T1", L"-D-"}, {L"T2", L"--D"},      {L"T2", L"--D"},
        {L"", L"---"},   {L"Missing", L"---"}, {L"T1", L"-D-"},
    };
    for (const auto& step : steps)
    {
        view->LinkAnimatedShape(driver, step.key);
        EXPECT_EQ(CString(step.key), driver->GetLinkPathShape());
        EXPECT_EQ(CString(step.marks), marks()) << CString(step.key).ToUtf8();
    }
    // Another driver's mark is left alone when this one moves on.
    view->LinkAnimatedShape(driver, L"T2");
    t2->PutPropStringValue(1933, L"Other");
    view->LinkAnimatedShape(driver, L"");
    EXPECT_EQ(CString(L"--Other"), marks());
}

namespace
{
void SelectOnly(CPlexdraftView* view, CFODrawShape* shape)
{
    CFOTypedShapeObList one;
    one.AddTail(shape);
    view->SelectShapes(one);
}

BOOL CommandEnabled(CWnd* view, UINT nID)
{
    struct CProbeUI : CCmdUI
    {
        BOOL enabled = TRUE;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = nID;
    probe.DoUpdate(view, FALSE);
    return probe.enabled;
}
} // namespace

TEST_F(CDesignBehaviourTest, StatePicksTheCompositesCurrentStateAndMoveTargetsLinkThroughTheView)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    CFODrawShape* a = AddRect(model, CRect(20, 20, 60, 60), L"A");
    CFODrawShape* b = AddRect(model, CRect(80, 20, 120, 60), L"B");
    CFOTypedShapeObList both;
    both.AddTail(a);
    both.AddTail(b);
    view->SelectShapes(both);
    EXPECT_FALSE(CommandEnabled(view, 32819)) << "two shapes";
    EXPECT_FALSE(CommandEnabled(view, 32856)) << "two shapes";
    view->GroupSelection();
    auto* comp = dynamic_cast<CFOCompositeShape*>(model->GetShapes()->GetHead());
    ASSERT_NE(comp, nullptr);
    comp->SetStateString(L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00");
    comp->SetStateType(L"STATE_1");
    SelectOnly(view, comp);
    EXPECT_TRUE(CommandEnabled(view, 32819));

    // The states listed, the current one preselected; another chosen becomes current.
    for (const wchar_t* choice : {L"STATE_0", L""})
    {
        CDialogScript script;
        script.Then(
            [&](CDialog& d)
            {
                auto* list = static_cast<CListBox*>(d.GetDlgItem(1090));
                EXPECT_EQ(2, list->GetCount());
                CString selected;
                list->GetText(list->GetCurSel(), selected);
                EXPECT_EQ(comp->GetStateType(), selected);
                if (!*choice)
                    return IDCANCEL;
                list->SetCurSel(list->FindStringExact(-1, choice));
                return IDOK;
            });
        view->SendMessage(WM_COMMAND, 32819, 0);
        EXPECT_EQ(CString(L"Assign New State"), script.titles.at(0));
        EXPECT_EQ(CString(L"STATE_0"), comp->GetStateType());
    }

    // A plain shape: State does nothing.
    CFODrawShape* target = AddRect(model, CRect(200, 20, 240, 60), L"T");
    SelectOnly(view, target);
    EXPECT_FALSE(CommandEnabled(view, 32819));
    {
        CDialogScript script;
        view->SendMessage(WM_COMMAND, 32819, 0);
        EXPECT_TRUE(script.titles.empty());
    }

    // Value Change Animate on a move path: the shapes by key 1, move paths left out; the chosen one
    // is linked and marked.
    auto* path = new CFOPMovePathShape;
    CRect rc(10, 100, 300, 110);
    path->Create(rc);
    path->SetKeyId1(L"P");
    model->InsertShape(path);
    SelectOnly(view, path);
    EXPECT_TRUE(CommandEnabled(view, 32856));
    CDialogScript script;
    script.Then(
        [&](CDialog& d)
        {
            auto* combo = static_cast<CComboBox*>(d.GetDlgItem(1121));
            CString keys;
            for (int i = 0; i < combo->GetCount(); ++i)
            {
                CString k;
                combo->GetLBText(i, k);
                keys += k + L";";
            }
            EXPECT_EQ(CString(L";T;"), keys) << "the composite has no key, the path is left out";
            combo->SetCurSel(combo->FindStringExact(-1, L"T"));
            return IDOK;
        });
    view->SendMessage(WM_COMMAND, 32856, 0);
    EXPECT_EQ(CString(L"Custom Animations"), script.titles.at(0));
    EXPECT_EQ(CString(L"T"), path->GetLinkPathShape());
    CString by;
    EXPECT_TRUE(target->GetPropStringValue(by, 1933));
    EXPECT_EQ(CString(L"P"), by);
}

TEST_F(CDesignBehaviourTest, ValueChangeAnimateAndCustomPropertiesOpenTheEditorOfTheShapesKind)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetEditModel();
    CFODrawShape* plain = AddRect(model, CRect(20, 20, 60, 60), L"K1");
    CFODrawShape* same = AddRect(model, CRect(80, 20, 120, 60), L"K1");
    CFODrawShape* timeChart = AddRect(model, CRect(140, 20, 180, 60), L"T");
    timeChart->SetType(256);
    CFODrawShape* pushChart = AddRect(model, CRect(200, 20, 240, 60), L"P");
    pushChart->SetType(615);
    const struct
    {
        CFODrawShape* shape;
        UINT command;
        const wchar_t* title; // null: nothing opens
    } cases[] = {
        {plain, 32856, L"Value Change Builder"},
        {timeChart, 41031, L"Real Time chart builder"},
        {pushChart, 41031, L"Real Time chart builder"},
        {plain, 41031, L"Property Editor"},
    };
    for (const auto& c : cases)
    {
        SelectOnly(view, c.shape);
        CDialogScript script;
        CStringArray names;
        script.Then(
            [&](CDialog& d)
            {
                if (auto* mgr = dynamic_cast<CRecordListDlg*>(&d))
                    names.Copy(mgr->m_arChildNames);
                return IDCANCEL;
            });
        view->SendMessage(WM_COMMAND, c.command, 0);
        if (c.title)
        {
            ASSERT_EQ(1u, script.titles.size()) << c.command;
            EXPECT_EQ(CString(c.title), script.titles[0]);
        }
        else
            EXPECT_TRUE(script.titles.empty());
        if (c.command == 32856)
        {
            // The shape's own key is offered as it is, though another shape shares it.
            ASSERT_EQ(1, names.GetSize());
            EXPECT_EQ(CString(L"K1"), names[0]);
        }
    }
    EXPECT_EQ(CString(L"K1"), plain->GetKeyId1());
    EXPECT_EQ(CString(L"K1"), same->GetKeyId1());

    // A shape without a key gets the first free one, so that its items can name it.
    CFODrawShape* unnamed = AddRect(model, CRect(20, 80, 60, 120), L"");
    SelectOnly(view, unnamed);
    CDialogScript script;
    CStringArray names;
    script.Then(
        [&](CDialog& d)
        {
            names.Copy(static_cast<CRecordListDlg&>(d).m_arChildNames);
            return IDCANCEL;
        });
    view->SendMessage(WM_COMMAND, 32856, 0);
    ASSERT_EQ(1, names.GetSize());
    EXPECT_EQ(CString(L"K2"), names[0]);
    EXPECT_EQ(CString(L"K2"), unnamed->GetKeyId1());
}
