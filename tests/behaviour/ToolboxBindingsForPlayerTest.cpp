// Every item of the editor's toolbox pages, dropped on a screen and bound to a tag of the stand-in
// server through the Key Values dialog, and labels bound to the other kinds of source, saved with
// the screen. The player's test (test_behaviour_run) runs this test with QYR_TOOLBOX_SCREEN naming
// where the screen goes, and checks what each shows.
#include "EventsTestSupport.h"
#include "KeyValueBinding.h"

#include "editor/ToolBoxDefaults.h"
#include "figkit/FOToolBoxPage.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace eventstest;
using behaviourtest::BindThroughKeyValues;
using behaviourtest::KeyValues;

namespace
{
// The tag each kind of shape is bound to: the on/off shapes to the boolean, the label to the
// counter, every other one to the ramp.
const wchar_t* TagFor(UINT type)
{
    switch (type)
    {
    case 601:
    case 602:
    case 605:
    case 608:
    case 609:
    case 611:
    case 612:
    case 613:
    case 620:
    case 622:
    case 623:
    case 626:
        return L"Simulation.Bool";
    case FO_COMP_SIMPLELABEL:
        return L"Simulation.Counter";
    default:
        return L"Simulation.Ramp";
    }
}

// A grid of cells 180 by 170, six to a row.
CPoint Cell(int n)
{
    return CPoint(100 + 180 * (n % 6), 95 + 170 * (n / 6));
}
} // namespace

TEST_F(CEventsTest, ToolboxItemsBoundThroughKeyValuesSavedWithTheScreen)
{
    const CString pages = CString::FromUtf8(m_dir + "/Shapes/");
    ASSERT_TRUE(WriteDefaultToolBoxPages(pages));
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    int n = 0;
    std::vector<CFOToolBoxItem> labels;
    for (const auto& entry : std::filesystem::directory_iterator(pages.ToUtf8()))
    {
        if (entry.path().extension() != ".trs")
            continue;
        CFOToolBoxPage page(L"");
        ASSERT_TRUE(page.OpenDocument(CString::FromUtf8(entry.path().string())));
        for (CFOToolBoxItem item : page.GetItems())
        {
            // Instruments have their own test from the toolbox to the player.
            if (item.GetType() >= 633 && item.GetType() <= 695)
                continue;
            if (item.GetType() == FO_COMP_SIMPLELABEL)
                labels.push_back(item);
            CFODrawShape* shape = view->DoDropToolBoxItem(item.GetType(), Cell(n++), &item);
            ASSERT_NE(shape, nullptr) << item.GetType();
            CString name;
            name.Format(L"T%u", item.GetType());
            EXPECT_TRUE(BindThroughKeyValues(view, shape,
                                             {name, L"'Quendrel.OpcDaServer.1'", TagFor(item.GetType())}))
                << item.GetType();
        }
    }
    EXPECT_GT(n, 20);

    // More labels, bound to the flat DA 1.0 server's counter and to a global variable of the project.
    ASSERT_FALSE(labels.empty());
    const KeyValues more[] = {
        {L"TLabelDa10", L"Quendrel.OpcTestDa10.1", L"Counter"},
        {L"TLabelGlobal", CString(), L"#Setpoint"},
    };
    for (const KeyValues& keys : more)
    {
        CFODrawShape* shape = view->DoDropToolBoxItem(FO_COMP_SIMPLELABEL, Cell(n++), &labels.front());
        ASSERT_NE(shape, nullptr);
        EXPECT_TRUE(BindThroughKeyValues(view, shape, keys)) << keys.strName.ToUtf8();
    }

    const char* wanted = std::getenv("QYR_TOOLBOX_SCREEN");
    const CString path =
        wanted ? CString::FromUtf8(wanted) : CString::FromUtf8(m_project + "XdgFiles/Toolbox.xdg");
    ASSERT_TRUE(view->GetDocument()->DoSave(path));
    view->GetDocument()->OnCloseDocument();
    AfxPumpMessages();
}
