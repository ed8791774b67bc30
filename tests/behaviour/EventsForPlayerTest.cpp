// Events given in the editor's event dialog and saved with a screen: a procedure of a project
// script, hiding a shape and opening an address. The player's test (test_behaviour_run) runs this
// test with QYR_EVENTS_SCREEN naming where the screen goes, and clicks the shapes.
#include "EventsTestSupport.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "editor/MethodChooseDlg.h"

#include <cstdlib>

using namespace eventstest;

TEST_F(CEventsTest, ProcedureHideAndUrlEventsSavedWithTheScreen)
{
    // The procedure the player's project has in its script.
    WriteBytes("ScriptFiles/system.uscp",
               "function OnStart(text, n)\r\n{\r\n}\r\nfunction OnReset(text, n)\r\n{\r\n"
               "    app.SetGVarValue(\"#Counter\", 0);\r\n}\r\n");
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODrawShape* reset = AddShape(view, L"Reset", L"Reset", 601, CRect(20, 20, 100, 60));
    CFODrawShape* hider = AddShape(view, L"Hider", L"Hider", 601, CRect(140, 20, 220, 60));
    CFODrawShape* link = AddShape(view, L"Link", L"Link", 601, CRect(260, 20, 340, 60));
    AddShape(view, L"Target", L"Target", 601, CRect(20, 120, 100, 160));

    const auto events = [&](CFODrawShape* shape, std::vector<Answer> answers)
    {
        view->ClearSelection();
        view->SelectShape(shape);
        CModalScript modal;
        for (Answer& a : answers)
            modal.Then(std::move(a));
        view->DoWhenClickAddi(ID_ADDI_EVENTS);
        EXPECT_TRUE(modal.messages.empty());
    };
    events(reset, {[](CDialog& d)
                   {
                       Choose(d, IDC_EVENT_ACTIONS, L"Run procedure...");
                       Press(d, IDC_EVENT_BROWSE);
                       return IDOK;
                   },
                   [](CDialog& d)
                   {
                       Choose(d, IDC_CHOOSER_LIST, L"system.uscp");
                       return IDOK;
                   },
                   [](CDialog& d)
                   {
                       QComboBox* combo = Widget<QComboBox>(d, IDC_METHOD_COMBO);
                       combo->setCurrentIndex(combo->findText(QStringLiteral("OnReset")));
                       return IDOK;
                   }});
    events(hider, {[](CDialog& d)
                   {
                       Choose(d, IDC_EVENT_ACTIONS, L"Hide object...");
                       Press(d, IDC_EVENT_BROWSE);
                       return IDOK;
                   },
                   [](CDialog& d)
                   {
                       Choose(d, IDC_CHOOSER_LIST, L"Target");
                       return IDOK;
                   }});
    events(link, {[](CDialog& d)
                  {
                      Choose(d, IDC_EVENT_ACTIONS, L"Open URL...");
                      Type(d, IDC_EVENT_PARAM, L"https://plant.example/help");
                      return IDOK;
                  }});

    const char* wanted = std::getenv("QYR_EVENTS_SCREEN");
    const CString path =
        wanted ? CString::FromUtf8(wanted) : CString::FromUtf8(m_project + "XdgFiles/Events.xdg");
    ASSERT_TRUE(view->GetDocument()->DoSave(path));
    view->GetDocument()->OnCloseDocument();
    AfxPumpMessages();

    // Reopened, the shapes carry what the player reads.
    CQYRDrawView* again = Open(&path);
    ASSERT_NE(again, nullptr);
    CFODataModel* model = again->GetEditModel();
    struct Case
    {
        const wchar_t* name;
        int type;
        const wchar_t* text;
        const wchar_t* method;
    };
    const Case cases[] = {
        {L"Reset", 18, L"system.uscp", L"OnReset"},
        {L"Hider", 12, L"Target", L""},
        {L"Link", 2, L"https://plant.example/help", L""},
    };
    for (const Case& c : cases)
    {
        CFODrawShape* shape = model->FindCompWithName(c.name);
        ASSERT_NE(shape, nullptr) << c.name;
        CString method;
        shape->GetPropStringValue(method, 15008);
        EXPECT_EQ(c.type, shape->GetEventType()) << c.name;
        EXPECT_EQ(CString(c.text), shape->GetEventString()) << c.name;
        EXPECT_EQ(CString(c.method), method) << c.name;
    }
}
