// The tag picker against the stand-in servers: the whole address space listed, filtered, and the
// chosen items added to a group in one call.
#include "OpcDialogTestSupport.h"

#include "opc/AddItemDlg.h"
#include "opc/Group.h"

#include <chrono>
#include <thread>

using namespace opcdlgtest;

namespace
{
const int IDC_TAG = 12500;
const int IDC_FILTER = 12503;
const int IDC_FIND_NOW = 12539;
const int IDC_TAGS = 12502;
const int IDC_STATUS = 12544;
const int IDC_ADD = 12538;
// Leaves of the hierarchical stand-in: 9 simulated, 18 memory, 6 plant and 10,000 bulk tags.
const int kAllLeaves = 10033;

bool WaitFor(const std::function<bool()>& pred, int ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return pred();
}

class AddItemDlgTest : public OpcDialogTest
{
protected:
    CGroup* ConnectedGroup()
    {
        CInfoServer* server = ExplorerServer();
        if (!server || !server->Connect())
            return nullptr;
        LONG bias = 0;
        FLOAT band = 0.0f;
        return server->SafeAddGroup(L"G1", 0, 50, TRUE, TRUE, bias, band);
    }

    // Filters on "Tag00*", selects every line and presses "Add"; the cancel button's text after.
    static CString AddBulkTags(CDialog* dlg)
    {
        Type(dlg, IDC_FILTER, "Tag00*");
        Click(dlg, IDC_FIND_NOW);
        Widget<QListWidget>(dlg, IDC_TAGS)->selectAll();
        Click(dlg, IDC_ADD);
        return Text(dlg, IDCANCEL);
    }
};
} // namespace

TEST_F(AddItemDlgTest, ListsEveryLeafAsItsFullPathSortedAndFilters)
{
    ASSERT_NE(ExplorerServer(), nullptr);
    std::vector<std::wstring> all;
    std::vector<std::wstring> filtered;
    CString status;
    CString tag;
    m_work = [&](CDialog* dlg)
    {
        all = Lines(dlg, IDC_TAGS);
        status = Text(dlg, IDC_STATUS);
        Shoot(dlg, "picker");
        Type(dlg, IDC_FILTER, "Tag00*");
        Click(dlg, IDC_FIND_NOW);
        filtered = Lines(dlg, IDC_TAGS);
        Widget<QListWidget>(dlg, IDC_TAGS)->setCurrentRow(5);
        tag = Text(dlg, IDC_TAG);
        return IDOK;
    };
    COPCPickTagDlgData data;
    data.strServer = QUENDREL_OPCDASERVER_PROGID;
    EXPECT_EQ(COPCDialogs::DoPickTagDialog(data), IDOK);
    ASSERT_EQ(all.size(), size_t(kAllLeaves));
    EXPECT_EQ(status, CString(L"10033 Tag(s) Retrieved."));
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](const std::wstring& a, const std::wstring& b) {
                                   return QString::fromStdWString(a).compare(QString::fromStdWString(b),
                                                                             Qt::CaseInsensitive) < 0;
                               }));
    EXPECT_NE(std::find(all.begin(), all.end(), L"Plant.Area1.Tank1.Level"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), L"Memory.ArrayI4"), all.end());
    for (const std::wstring& line : all)
        ASSERT_NE(line.find(L'.'), std::wstring::npos) << line;
    ASSERT_EQ(filtered.size(), 1000u);
    for (const std::wstring& line : filtered)
        ASSERT_EQ(line.rfind(L"Bulk.Tag00", 0), 0u) << line;
    EXPECT_EQ(tag, CString(L"Bulk.Tag00005"));
    EXPECT_EQ(data.strTag, CString(L"Bulk.Tag00005"));
}

TEST_F(AddItemDlgTest, AddPutsTheSelectedTagsIntoTheGroupInOneCallInReverseOrder)
{
    CGroup* group = ConnectedGroup();
    ASSERT_NE(group, nullptr);
    CString cancelText;
    m_work = [&](CDialog* dlg)
    {
        cancelText = AddBulkTags(dlg);
        EXPECT_TRUE(Widget<QListWidget>(dlg, IDC_TAGS)->selectedItems().isEmpty());
        Shoot(dlg, "picker-added");
        return IDCANCEL;
    };
    const int callsBefore = OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCItemMgt::AddItems");
    EXPECT_TRUE(group->AddItem());
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCItemMgt::AddItems") - callsBefore, 1);
    EXPECT_EQ(cancelText, CString(L"Close"));
    CItemArray* items = nullptr;
    ASSERT_EQ(group->GetItems(&items), 1000u);
    for (int i = 0; i < 1000; ++i)
    {
        CItem* item = items->GetAt(999 - i);
        wchar_t id[32];
        std::swprintf(id, 32, L"Bulk.Tag%05d", i);
        ASSERT_EQ(item->GetName(), CString(id));
        ASSERT_EQ(item->GetDataType(), VT_R8);
        ASSERT_EQ(item->GetGroup(), group);
        ASSERT_EQ(CItem::FromClientHandle(item->GetClientHandle()), item);
    }
    EXPECT_TRUE(WaitFor(
        [&]
        {
            for (int i = 0; i < 1000; ++i)
            {
                if (!items->GetAt(i)->IsQualityGood())
                    return false;
            }
            return true;
        }));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(AddItemDlgTest, ARefusedItemIsReportedAndDeletedAlone)
{
    CGroup* group = ConnectedGroup();
    ASSERT_NE(group, nullptr);
    OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Bulk.Tag00500");
    const size_t handlesBefore = CItem::GetHandleTable().GetCount();
    m_work = [&](CDialog* dlg)
    {
        AddBulkTags(dlg);
        return IDOK;
    };
    EXPECT_TRUE(group->AddItem());
    CItemArray* items = nullptr;
    ASSERT_EQ(group->GetItems(&items), 999u);
    for (int i = 0; i < items->GetSize(); ++i)
        ASSERT_NE(items->GetAt(i)->GetName(), CString(L"Bulk.Tag00500"));
    // The refused item left the client's table with its deletion.
    EXPECT_EQ(CItem::GetHandleTable().GetCount(), handlesBefore + 999);
    EXPECT_GE(Logvane_GetCapturedLines().size(), 1u);
}

TEST_F(AddItemDlgTest, TypedTagWithoutSelectionAndNothingAtAll)
{
    CGroup* group = ConnectedGroup();
    ASSERT_NE(group, nullptr);
    m_work = [&](CDialog* dlg)
    {
        Widget<QListWidget>(dlg, IDC_TAGS)->clearSelection();
        Type(dlg, IDC_TAG, "");
        Click(dlg, IDC_ADD);
        EXPECT_EQ(Text(dlg, IDCANCEL), CString(L"Cancel"));
        Type(dlg, IDC_TAG, "Memory.R8");
        Widget<QListWidget>(dlg, IDC_TAGS)->clearSelection();
        Click(dlg, IDC_ADD);
        EXPECT_TRUE(Text(dlg, IDC_TAG).IsEmpty());
        return IDCANCEL;
    };
    EXPECT_TRUE(group->AddItem());
    CItemArray* items = nullptr;
    ASSERT_EQ(group->GetItems(&items), 1u);
    EXPECT_EQ(items->GetAt(0)->GetName(), CString(L"Memory.R8"));
}

TEST_F(AddItemDlgTest, APickerThatCannotLoadEndsAtOnceWithAbort)
{
    // No explorer document: nothing to list.
    COPCPickTagDlgData data;
    data.strServer = QUENDREL_OPCDASERVER_PROGID;
    EXPECT_EQ(COPCDialogs::DoPickTagDialog(data), IDABORT);
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_TRUE(m_boxes.empty());
    // A server that cannot be created: the same.
    ASSERT_NE(ExplorerServer(), nullptr);
    OpcStandIn::FailCreation(CLSID_QuendrelOpcDaServer);
    EXPECT_EQ(COPCDialogs::DoPickTagDialog(data), IDABORT);
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(AddItemDlgTest, AFailedLeafEnumerationIsReportedAndTheDialogStaysUsable)
{
    // The flat server (listed as DA 2.0, so it is found by name): its first browse lists leaves.
    OpcStandIn::ListDa10AsDa20(TRUE);
    CInfoServer* server = ExplorerServer(QUENDREL_OPCTESTDA10_PROGID);
    ASSERT_NE(server, nullptr);
    OpcStandIn::FailCall(CLSID_QuendrelOpcTestDa10, "IOPCBrowseServerAddressSpace::BrowseOPCItemIDs",
                         E_OUTOFMEMORY, 1);
    std::vector<std::wstring> first;
    std::vector<std::wstring> again;
    HRESULT reported = S_OK;
    m_work = [&](CDialog* dlg)
    {
        first = Lines(dlg, IDC_TAGS);
        reported = server->GetLastError();
        Click(dlg, IDC_FIND_NOW);
        again = Lines(dlg, IDC_TAGS);
        return IDCANCEL;
    };
    COPCPickTagDlgData data;
    data.strServer = QUENDREL_OPCTESTDA10_PROGID;
    EXPECT_EQ(COPCDialogs::DoPickTagDialog(data), IDCANCEL);
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(reported, E_OUTOFMEMORY);
    EXPECT_NE(std::find(again.begin(), again.end(), L"Ramp"), again.end());
    EXPECT_NE(std::find(again.begin(), again.end(), L"MemBOOL"), again.end());
}

TEST_F(AddItemDlgTest, AccessAndTypeFiltersNarrowTheList)
{
    ASSERT_NE(ExplorerServer(), nullptr);
    struct Case
    {
        const char* name;
        int access;
        int type; // position in the filter-type list
        size_t count;
        std::function<bool(const std::wstring&)> each;
    };
    const Case cases[] = {
        {"Read", 1, 0, size_t(kAllLeaves), [](const std::wstring&) { return true; }},
        // "ReadWrite" asks for writable tags only: the memory tags and the tank's valve.
        {"ReadWrite", 2, 0, 19u,
         [](const std::wstring& s)
         { return s.rfind(L"Memory.", 0) == 0 || s == L"Plant.Area1.Tank1.Valve"; }},
        // A scalar type: every tag converts to it except the arrays.
        {"Boolean", 0, 16, size_t(kAllLeaves - 2),
         [](const std::wstring& s) { return s.find(L"Array") == std::wstring::npos; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<std::wstring> lines;
        m_work = [&](CDialog* dlg)
        {
            Widget<QComboBox>(dlg, 12533)->setCurrentIndex(c.access);
            if (c.type)
            {
                QComboBox* types = Widget<QComboBox>(dlg, 12529);
                types->setCurrentIndex(c.type);
                emit types->activated(c.type);
            }
            else
            {
                Click(dlg, IDC_FIND_NOW);
            }
            lines = Lines(dlg, IDC_TAGS);
            return IDCANCEL;
        };
        COPCPickTagDlgData data;
        data.strServer = QUENDREL_OPCDASERVER_PROGID;
        EXPECT_EQ(COPCDialogs::DoPickTagDialog(data), IDCANCEL);
        EXPECT_EQ(lines.size(), c.count);
        for (const std::wstring& line : lines)
            ASSERT_TRUE(c.each(line)) << line;
    }
}
