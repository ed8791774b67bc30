// Groups and items against the stand-in servers: adding, reading, writing, data changes from the
// server's thread, the DA 1.0 streams, removal, cloning, editing, re-creating and failures.
#include "ArchiveHelpers.h"
#include "OpcClientTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <thread>

using namespace opctest;

namespace
{
class GroupTest : public OpcClientTest
{
protected:
    static double Value(CItem* item)
    {
        VARTYPE type;
        return item->GetDoubleValue(type);
    }

    // Whether the server still holds a group of that name.
    static bool ServerHasGroup(CInfoServer& server, LPCWSTR name)
    {
        CComQIPtr<IOPCServer> opc(server.GetInterface().p);
        CComPtr<IUnknown> group;
        return opc && SUCCEEDED(opc->GetGroupByName(name, IID_IOPCGroupStateMgt, &group));
    }
};
} // namespace

TEST_F(GroupTest, ThousandItemsReadFromCacheAndDevice)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server, L"G1", 50);
    ASSERT_NE(nullptr, group);
    EXPECT_FALSE(group->ReadItemsSync(OPC_DS_CACHE)) << "no items";

    std::vector<CItem*> items = AddItems(group, BulkTags(1000));
    ASSERT_EQ(1000, group->GetItemCount());
    for (CItem* item : items)
        ASSERT_NE(nullptr, item);
    for (CItem* item : items)
        item->SetChanged(FALSE);

    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
    for (CItem* item : items)
    {
        ASSERT_TRUE(item->IsChanged());
        ASSERT_TRUE(item->IsQualityGood());
        VARTYPE type;
        ASSERT_NE(DBL_MIN, item->GetDoubleValue(type));
        ASSERT_EQ(VT_R8, type);
    }
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_DEVICE));
    EXPECT_TRUE(items[5]->ReadSync(OPC_DS_DEVICE));
    EXPECT_TRUE(items[5]->IsQualityGood());
    EXPECT_EQ(S_OK, server->GetLastError());

    server->Disconnect();
    CGroupArray* groups = nullptr;
    EXPECT_EQ(0u, server->GetGroups(&groups));
}

TEST_F(GroupTest, SyncAndAsyncWrites)
{
    auto server = MakeConnected(L"this");
    // Without subscription reports, so that what a read stored stays until it is checked.
    CGroup* group = AddGroup(*server, L"G1", 20, FALSE);
    std::vector<CItem*> items = AddItems(group, {L"Memory.R8", L"Memory.I4", L"Memory.BSTR", L"Memory.BOOL"});
    for (CItem* item : items)
        ASSERT_NE(nullptr, item);
    EXPECT_EQ(VT_I4, items[1]->GetDataType());

    EXPECT_TRUE(items[0]->CommandSync(L"12.5"));
    EXPECT_TRUE(items[0]->ReadSync(OPC_DS_DEVICE));
    EXPECT_EQ(12.5, Value(items[0]));
    EXPECT_TRUE(items[2]->CommandSync(L"Open"));
    EXPECT_TRUE(items[2]->ReadSync(OPC_DS_DEVICE));
    VARTYPE type;
    EXPECT_EQ(CString(L"Open"), items[2]->GetBSTRValue(type));

    // Text that does not convert is logged and refused, not thrown.
    EXPECT_FALSE(items[1]->CommandSync(L"abc"));
    EXPECT_FALSE(items[1]->CommandAsync(L"abc"));
    EXPECT_EQ(2, CountLogLines(L"'abc' does not convert"));

    EXPECT_TRUE(items[1]->CommandAsync(L"7"));
    EXPECT_TRUE(WaitFor([&] { return group->GetCurrentTransactionID() == 0; }));
    EXPECT_TRUE(group->CheckForOpenTransactions());
    EXPECT_TRUE(items[1]->ReadSync(OPC_DS_DEVICE));
    EXPECT_EQ(7.0, Value(items[1]));

    OPCHANDLE handles[2] = {items[0]->GetHandle(), items[3]->GetHandle()};
    _variant_t values[2] = {_variant_t(-4.0), _variant_t(true)};
    EXPECT_TRUE(group->CommandItemsSync(2, handles, values));
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_DEVICE));
    EXPECT_EQ(-4.0, Value(items[0]));
    EXPECT_EQ(1.0, Value(items[3]));

    // An asynchronous write stays open until its completion or a cancel.
    OpcStandIn::SetAsyncDelay(CLSID_QuendrelOpcDaServer, 300);
    values[0] = 8.0;
    EXPECT_TRUE(group->CommandItemsAsync(2, handles, values));
    EXPECT_EQ(DWORD(OPC_TRANSACTION_WRITE), group->GetCurrentTransactionID());
    EXPECT_NE(0u, group->GetCurrentCancelID());
    EXPECT_FALSE(group->CheckForOpenTransactions());
    EXPECT_TRUE(group->Cancel());
    EXPECT_EQ(0u, group->GetCurrentTransactionID());
    EXPECT_EQ(0u, group->GetCurrentCancelID());
    EXPECT_FALSE(group->Cancel()) << "nothing open";
    EXPECT_FALSE(items[0]->Cancel());
    server->Disconnect();
}

TEST_F(GroupTest, DataChangesArriveFromTheServerThread)
{
    auto server = MakeConnected(QUENDREL_OPCDASERVER_PROGID);
    CGroup* group = AddGroup(*server, L"Fast", 20);
    ASSERT_NE(nullptr, group);
    EXPECT_NE(0u, group->GetOPCDataAccessConnectionPoint());
    std::vector<CItem*> items =
        AddItems(group, {L"Simulation.Counter", L"Simulation.Text", L"Simulation.RampFast"});
    ASSERT_NE(nullptr, items[0]);
    ASSERT_TRUE(WaitFor([&] { return items[0]->IsQualityGood() && items[1]->IsChanged(); }));
    double first = Value(items[0]);
    ASSERT_TRUE(WaitFor([&] { return Value(items[0]) > first; }));
    VARTYPE type;
    EXPECT_FALSE(items[1]->GetBSTRValue(type).IsEmpty());

    // Refresh and asynchronous reads complete through the same sink.
    EXPECT_TRUE(group->Refresh(OPC_DS_DEVICE));
    EXPECT_TRUE(WaitFor([&] { return group->GetCurrentTransactionID() == 0; }));
    OPCHANDLE handle = items[2]->GetHandle();
    EXPECT_TRUE(group->ReadItemsAsync(OPC_DS_DEVICE, 1, &handle));
    EXPECT_TRUE(WaitFor([&] { return group->CheckForOpenTransactions(); }));
    EXPECT_TRUE(items[2]->ReadAsync(OPC_DS_CACHE));
    EXPECT_TRUE(WaitFor([&] { return group->CheckForOpenTransactions(); }));
    server->Disconnect();
}

TEST_F(GroupTest, DataChangeSwitchedOffOnTheServer)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server, L"Quiet", 20, FALSE);
    ASSERT_NE(nullptr, group);
    BOOL enabled = TRUE;
    EXPECT_TRUE(group->GetDataChangeEnabled(&enabled, TRUE));
    EXPECT_FALSE(enabled);
    std::vector<CItem*> items = AddItems(group, {L"Simulation.Counter"});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(items[0]->IsChanged());
    EXPECT_TRUE(group->SetDataChangeEnabled(TRUE, TRUE));
    EXPECT_TRUE(WaitFor([&] { return items[0]->IsChanged(); }));
    server->Disconnect();
}

TEST_F(GroupTest, OlderServerGetsTheDa10Streams)
{
    for (DWORD changeType : {1u, 0u})
    {
        CInfoServer server(1, 1, 0);
        server.SetOPCVersion(1.0f);
        server.SetDataChangeType(changeType);
        server.SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
        ASSERT_TRUE(server.Connect());
        CGroup* group = AddGroup(server, L"Old", 20);
        ASSERT_NE(nullptr, group);
        EXPECT_NE(0u, group->GetOPCSTMFormatWriteCompleteConnection());
        EXPECT_EQ(changeType == 1, group->GetOPCSTMFormatDataTimeConnection() != 0);
        EXPECT_EQ(changeType == 0, group->GetOPCSTMFormatDataConnection() != 0);

        // DA 1.0 keeps data changes on.
        EXPECT_TRUE(group->SetDataChangeEnabled(FALSE, TRUE));
        BOOL enabled = FALSE;
        EXPECT_TRUE(group->GetDataChangeEnabled(&enabled, TRUE));
        EXPECT_TRUE(enabled);

        std::vector<CItem*> items = AddItems(group, {L"Counter", L"MemR8", L"Text"});
        ASSERT_NE(nullptr, items[0]);
        ASSERT_TRUE(WaitFor([&] { return items[0]->IsChanged() && items[0]->IsQualityGood(); }));
        if (changeType == 1)
        {
            EXPECT_NE(0u, items[0]->GetTimeStamp().dwHighDateTime);
        }

        EXPECT_TRUE(items[1]->CommandAsync(L"3.25"));
        EXPECT_TRUE(WaitFor([&] { return group->CheckForOpenTransactions(); }));
        EXPECT_TRUE(items[1]->ReadAsync(OPC_DS_DEVICE));
        EXPECT_TRUE(WaitFor([&] { return Value(items[1]) == 3.25; }));
        EXPECT_TRUE(WaitFor([&] { return group->CheckForOpenTransactions(); }));
        EXPECT_TRUE(group->Refresh(OPC_DS_CACHE));
        EXPECT_TRUE(WaitFor([&] { return group->CheckForOpenTransactions(); }));

        EXPECT_TRUE(group->UnAdvise());
        EXPECT_EQ(0u, group->GetOPCSTMFormatWriteCompleteConnection());
        EXPECT_EQ(0u, group->GetOPCSTMFormatDataTimeConnection());
        EXPECT_EQ(0u, group->GetOPCSTMFormatDataConnection());
        server.Disconnect();
    }
}

TEST_F(GroupTest, NewerCallsFallBackToTheOlderInterfaces)
{
    // DA 2.0 against the flat DA 1.0 server: no IOPCSyncIO2, no IOPCGroupStateMgt2, no callback.
    CInfoServer server(1, 1, 0);
    server.SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
    ASSERT_TRUE(server.Connect());
    CGroup* group = AddGroup(server, L"Mixed", 20);
    ASSERT_NE(nullptr, group);
    EXPECT_FALSE(group->GetInterface2());
    EXPECT_TRUE(group->GetInterface1());
    std::vector<CItem*> items = AddItems(group, {L"Ramp", L"MemI4"});
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
    EXPECT_TRUE(items[0]->IsQualityGood());
    EXPECT_TRUE(items[1]->CommandSync(L"5"));
    // The asynchronous DA 2.0 calls have nothing to go to.
    EXPECT_FALSE(items[1]->CommandAsync(L"6"));
    EXPECT_TRUE(LogContains(L"IOPCAsyncIO2::Write() failed!"));
    EXPECT_TRUE(group->CheckForOpenTransactions());
    server.Disconnect();
}

TEST_F(GroupTest, RemovingItems)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server);
    CItemArray* own = nullptr;
    group->GetItems(&own);
    EXPECT_FALSE(group->RemoveItems(own)) << "empty list";

    std::vector<CItem*> items = AddItems(group, {L"Memory.I1", L"Memory.I2", L"Memory.I4"});
    std::vector<OPCHANDLE> handles;
    for (CItem* item : items)
        handles.push_back(item->GetClientHandle());
    EXPECT_TRUE(group->RemoveItems(own));
    EXPECT_EQ(0, group->GetItemCount());
    for (OPCHANDLE handle : handles)
        EXPECT_EQ(nullptr, CItem::FromClientHandle(handle));

    // A separate list takes each listed item out, not only the first.
    items = AddItems(group, {L"Memory.I1", L"Memory.I2", L"Memory.I4"});
    CItemArray list;
    list.Add(items[0]);
    list.Add(items[2]);
    OPCHANDLE kept = items[1]->GetClientHandle();
    EXPECT_TRUE(group->RemoveItems(&list));
    ASSERT_EQ(1, group->GetItemCount());
    EXPECT_EQ(items[1], own->GetAt(0));
    EXPECT_EQ(0, list.GetSize());
    EXPECT_EQ(items[1], CItem::FromClientHandle(kept));
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));

    CItem* last = items[1];
    EXPECT_TRUE(group->RemoveItem(&last));
    EXPECT_EQ(nullptr, last);
    EXPECT_EQ(0, group->GetItemCount());
    server->Disconnect();
}

TEST_F(GroupTest, AddGroupFailuresLeaveNoGroupOnEitherSide)
{
    CInfoServer unconnected(1, 1, 0);
    EXPECT_EQ(nullptr, AddGroup(unconnected));

    auto server = MakeConnected(L"this");
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCServer::AddGroup", E_OUTOFMEMORY, 1);
    EXPECT_EQ(nullptr, AddGroup(*server, L"A"));
    EXPECT_TRUE(LogContains(L"IOPCServer::AddGroup() failed!"));
    EXPECT_EQ(E_OUTOFMEMORY, server->GetLastError());

    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::GetState", E_FAIL, -1);
    EXPECT_EQ(nullptr, AddGroup(*server, L"B"));
    EXPECT_TRUE(LogContains(L"IOPCGroupStateMgt::GetState() failed!"));
    OpcStandIn::Reset();
    EXPECT_FALSE(ServerHasGroup(*server, L"B"));
    CGroupArray* groups = nullptr;
    EXPECT_EQ(0u, server->GetGroups(&groups));

    // A server that names the group itself.
    CGroup* named = AddGroup(*server, L"");
    ASSERT_NE(nullptr, named);
    EXPECT_FALSE(named->GetName().IsEmpty());
    EXPECT_TRUE(ServerHasGroup(*server, named->GetName()));
    server->Disconnect();
}

TEST_F(GroupTest, RemoveGroupStillInUse)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server, L"Held");
    AddItems(group, {L"Memory.R4"});
    CComPtr<IUnknown> held = group->GetSafeInterface();
    EXPECT_FALSE(server->RemoveGroup(&group, FALSE));
    EXPECT_EQ(nullptr, group);
    EXPECT_TRUE(LogContains(L"Reference count should be 0, UnAdvise needed??"));
    held.Release();

    // Without a connection the client group still goes.
    CGroup* other = AddGroup(*server, L"Other");
    server->SetConnected(FALSE);
    EXPECT_FALSE(server->RemoveGroup(&other, FALSE));
    EXPECT_EQ(nullptr, other);
    server->SetConnected(TRUE);
    server->Disconnect();
}

TEST_F(GroupTest, CloneAsksOnceAndCleansUp)
{
    auto server = MakeConnected(L"this");
    CGroup* source = AddGroup(*server, L"Source", 40);
    ASSERT_NE(nullptr, source);

    int asked = 0;
    COPCDialogs::SetGroupDialog(
        [&](COPCGroupDlgData& data)
        {
            ++asked;
            EXPECT_EQ(CString(L"Source"), data.strName);
            return IDCANCEL;
        });
    CGroup* clone = nullptr;
    EXPECT_FALSE(server->SafeCloneGroup(source, &clone));
    EXPECT_EQ(1, asked) << "a cancelled dialog is not shown again";

    COPCDialogs::SetGroupDialog(
        [&](COPCGroupDlgData& data)
        {
            data.strName = L"Copy";
            return IDOK;
        });
    ASSERT_TRUE(server->SafeCloneGroup(source, &clone));
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(CString(L"Copy"), clone->GetName());
    EXPECT_EQ(40u, clone->GetUpdateRate());
    EXPECT_TRUE(clone->GetInterface2());
    EXPECT_NE(0u, clone->GetOPCDataAccessConnectionPoint());
    CGroupArray* groups = nullptr;
    EXPECT_EQ(2u, server->GetGroups(&groups));

    // A clone whose state cannot be set does not stay on the server.
    COPCDialogs::SetGroupDialog(
        [&](COPCGroupDlgData& data)
        {
            data.strName = L"Broken";
            return IDOK;
        });
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::SetState", E_FAIL, -1);
    CGroup* broken = nullptr;
    EXPECT_FALSE(server->SafeCloneGroup(source, &broken));
    OpcStandIn::Reset();
    EXPECT_FALSE(ServerHasGroup(*server, L"Broken"));
    EXPECT_EQ(2u, server->GetGroups(&groups));
    server->Disconnect();
}

TEST_F(GroupTest, EditGroupAndAddGroupThroughTheDialog)
{
    auto server = MakeConnected(L"this");
    EXPECT_FALSE(server->AddGroup(static_cast<CGroup**>(nullptr))) << "no dialog: cancelled";
    COPCDialogs::SetGroupDialog(
        [&](COPCGroupDlgData& data)
        {
            data.strName = L"Dialog";
            data.dwUpdateRate = 250;
            return IDOK;
        });
    CGroup* group = nullptr;
    ASSERT_TRUE(server->AddGroup(&group));
    EXPECT_EQ(CString(L"Dialog"), group->GetName());
    EXPECT_EQ(250u, group->GetUpdateRate());

    COPCDialogs::SetGroupDialog(
        [&](COPCGroupDlgData& data)
        {
            EXPECT_EQ(CString(L"Dialog"), data.strName);
            EXPECT_EQ(250u, data.dwUpdateRate);
            data.strName = L"Renamed";
            data.dwUpdateRate = 500;
            data.bActive = FALSE;
            return IDOK;
        });
    EXPECT_TRUE(server->EditGroup(&group));
    EXPECT_EQ(CString(L"Renamed"), group->GetName());
    EXPECT_EQ(500u, group->GetUpdateRate());
    EXPECT_FALSE(group->IsActive());
    EXPECT_TRUE(ServerHasGroup(*server, L"Renamed"));
    server->Disconnect();
}

TEST_F(GroupTest, EditItemThroughTheItemDialog)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server);
    CItem* item = AddItems(group, {L"Memory.I4"})[0];
    ASSERT_NE(nullptr, item);
    EXPECT_TRUE(item->EditItem()) << "no dialog: cancelled";
    EXPECT_TRUE(item->IsActive());

    COPCDialogs::SetItemDialog(
        [&](COPCItemDlgData& data)
        {
            EXPECT_EQ(CString(L"Memory.I4"), data.strItemID);
            EXPECT_EQ(item->GetClientHandle(), data.hClient);
            EXPECT_EQ(VT_I4, data.vtDataType);
            data.bActive = FALSE;
            data.vtDataType = VT_R8;
            return IDOK;
        });
    EXPECT_TRUE(item->EditItem());
    EXPECT_FALSE(item->IsActive());
    EXPECT_EQ(VT_R8, item->GetDataType());
    EXPECT_TRUE(m_boxes.empty()) << "the client handle was kept";

    // Another client handle is asked for; No keeps the old one.
    COPCDialogs::SetItemDialog(
        [&](COPCItemDlgData& data)
        {
            data.bActive = TRUE;
            data.hClient = 0x00ABCDEF;
            return IDOK;
        });
    EXPECT_TRUE(item->EditItem());
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Are you sure ?\n\nServer can't find client item afterwards.", m_boxes[0]);
    item->SetChanged(FALSE);
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
    EXPECT_TRUE(item->IsChanged());

    m_boxAnswer = IDYES;
    EXPECT_TRUE(item->EditItem());
    item->SetChanged(FALSE);
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
    EXPECT_FALSE(item->IsChanged()) << "the server reports it under a handle nobody knows";
    server->Disconnect();
}

TEST_F(GroupTest, PerItemErrorsMarkTheItemBad)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server, L"G1", 20, FALSE);
    std::vector<CItem*> items = AddItems(group, {L"Memory.R8", L"Simulation.Ramp"});
    OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Memory.R8", OPC_E_BADRIGHTS);
    EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
    EXPECT_TRUE(items[0]->IsQualityBad());
    EXPECT_TRUE(items[1]->IsQualityGood());
    EXPECT_FALSE(items[0]->CommandSync(L"1"));

    std::vector<CItem*> refused = AddItems(group, {L"Memory.R8", L"No.Such.Tag"});
    EXPECT_EQ(nullptr, refused[0]);
    EXPECT_EQ(nullptr, refused[1]);
    server->Disconnect();
}

TEST_F(GroupTest, ReloadItemsFindsWhatTheServerHolds)
{
    for (DWORD batch : {1u, 2u, 10u})
    {
        auto server = MakeConnected(L"this");
        server->SetReloadEnumAttributesNextElements(batch);
        CGroup* group = AddGroup(*server);
        std::vector<CItem*> items = AddItems(group, {L"Memory.I2", L"Memory.UI4", L"Simulation.Sine"});
        // Forget the client items; the server keeps them.
        CItemArray* own = nullptr;
        group->GetItems(&own);
        for (CItem* item : items)
            delete item;
        own->RemoveAll();

        EXPECT_TRUE(group->ReloadItems());
        ASSERT_EQ(3, group->GetItemCount()) << batch;
        EXPECT_EQ(CString(L"Memory.I2"), own->GetAt(0)->GetName());
        EXPECT_EQ(CString(L"Simulation.Sine"), own->GetAt(2)->GetName());
        EXPECT_TRUE(own->GetAt(2)->IsQualityGood());
        EXPECT_EQ(group, own->GetAt(1)->GetGroup());
        EXPECT_TRUE(own->GetAt(1)->CommandSync(L"17"));
        server->Disconnect();
    }
}

TEST_F(GroupTest, StoredConfigurationComesBackOnTheServer)
{
    std::vector<BYTE> bytes;
    {
        auto server = MakeConnected(L"this");
        server->SetUseValidateItems(TRUE);
        CGroup* group = AddGroup(*server, L"Stored", 75);
        group->SetDeadBand(1.5f);
        group->SetTimeBias(-60);
        std::vector<CItem*> items = AddItems(group, {L"Memory.R8", L"Plant.Area1.Tank1.Level"});
        items[1]->SetActive(FALSE);
        AddGroup(*server, L"Empty", 100);
        bytes = StoreRecord(*server);
        server->Disconnect();
    }

    CInfoServer loaded(1, 1, 0);
    LoadRecord(bytes, loaded);
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, loaded.GetOPCServerCLSID());
    EXPECT_TRUE(loaded.UseValidateItems());
    CGroupArray* groups = nullptr;
    ASSERT_EQ(2u, loaded.GetGroups(&groups));
    CGroup* group = groups->GetAt(0);
    EXPECT_EQ(CString(L"Stored"), group->GetName());
    EXPECT_EQ(75u, group->GetUpdateRate());
    EXPECT_FLOAT_EQ(1.5f, group->GetDeadBand());
    EXPECT_EQ(-60, group->GetTimeBias());
    CItemArray* items = nullptr;
    ASSERT_EQ(2u, group->GetItems(&items));
    EXPECT_EQ(CString(L"Plant.Area1.Tank1.Level"), items->GetAt(1)->GetName());
    EXPECT_FALSE(items->GetAt(1)->IsActive());
    EXPECT_EQ(VT_R8, items->GetAt(0)->GetDataType());
    EXPECT_EQ(4, CountLogLines(L"we should use ptr array instead!"));

    ASSERT_TRUE(loaded.Connect());
    ASSERT_TRUE(loaded.RecreateOnServer());
    EXPECT_TRUE(group->GetInterface2());
    EXPECT_EQ(&loaded, group->GetInfoServer());
    EXPECT_EQ(group, items->GetAt(0)->GetGroup());
    EXPECT_NE(0u, items->GetAt(1)->GetHandle());
    EXPECT_TRUE(items->GetAt(0)->CommandSync(L"2.5"));
    // A subscription report sent before the write may still arrive after the read.
    EXPECT_TRUE(
        WaitFor([&] { return group->ReadItemsSync(OPC_DS_DEVICE) && Value(items->GetAt(0)) == 2.5; }));
    EXPECT_TRUE(items->GetAt(1)->IsQualityGood());
    loaded.Disconnect();
}

TEST_F(GroupTest, RecreatedItemsTakeTheServersTypeWhenNeeded)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server);
    CItemArray* own = nullptr;
    group->GetItems(&own);
    struct Case
    {
        LPCWSTR id;
        VARTYPE requested;
        VARTYPE expected;
    } cases[] = {
        {L"Memory.I2", VT_EMPTY, VT_I2},
        {L"Memory.R4", VT_R8, VT_R8},
        // Refused with OPC_E_BADTYPE: the type the server reports replaces the request (this server
        // reports none for a refused item).
        {L"Memory.BSTR", VARTYPE(VT_ARRAY | VT_DISPATCH), VT_EMPTY},
    };
    for (const Case& c : cases)
    {
        CItem* item = new CItem;
        item->SetName(c.id);
        item->SetDataType(c.requested);
        own->Add(item);
        EXPECT_TRUE(group->ReCreateItemOnServer(&item)) << c.id;
        EXPECT_EQ(c.expected, item->GetDataType()) << c.id;
        EXPECT_EQ(group, item->GetGroup());
    }

    // With validation on, an item the server does not know is refused before it is added.
    server->SetUseValidateItems(TRUE);
    CItem* unknown = new CItem;
    unknown->SetName(L"No.Such.Tag");
    own->Add(unknown);
    EXPECT_FALSE(group->ReCreateItemOnServer(&unknown));
    server->Disconnect();
}

TEST_F(GroupTest, ReportsAndDeletionsRaceSafely)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server, L"Busy", 1);
    auto stop = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    int rounds = 0;
    while (std::chrono::steady_clock::now() < stop)
    {
        std::vector<CItem*> items = AddItems(group, BulkTags(50));
        for (CItem* item : items)
        {
            VARTYPE type;
            item->GetDoubleValue(type);
            item->IsQualityGood();
        }
        group->ReadItemsSync(OPC_DS_CACHE);
        // Items go away while the server's thread reports them.
        CItemArray* own = nullptr;
        group->GetItems(&own);
        for (INT_PTR i = own->GetSize() - 1; i >= 25; --i)
        {
            delete own->GetAt(i);
            own->RemoveAt(i);
        }
        group->RemoveItems(own);
        ++rounds;
    }
    EXPECT_GT(rounds, 1);
    EXPECT_EQ(0, group->GetItemCount());
    server->Disconnect();
}

TEST_F(GroupTest, RecreationAddsAGroupsItemsInAsFewCallsAsTheServerTakes)
{
    const char* kAdd = "IOPCItemMgt::AddItems";
    struct Case
    {
        const char* name;
        std::function<void(CInfoServer&)> prepare;
        int calls;    // AddItems calls of the re-creation
        BOOL result;  // of RecreateOnServer
        int onServer; // items with a server handle afterwards
    } cases[] = {
        {"one call", [](CInfoServer&) {}, 1, TRUE, 1000},
        {"validated first", [](CInfoServer& s) { s.SetUseValidateItems(TRUE); }, 1, TRUE, 1000},
        // 1000 and 500 are refused, then four calls of 250.
        {"limited to 300 a call",
         [](CInfoServer&) { OpcStandIn::LimitItemsPerCall(CLSID_QuendrelOpcDaServer, 300); }, 6, TRUE, 1000},
        // The batch, then the refused item alone.
        {"one item refused",
         [](CInfoServer&) { OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Bulk.Tag00007"); }, 2, TRUE,
         999},
        {"server gone",
         [&](CInfoServer&) { OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, kAdd, RPC_E_DISCONNECTED); }, 1,
         FALSE, 0},
        // Halved down to a single item, which fails as it always did.
        {"every call refused",
         [&](CInfoServer&) { OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, kAdd, E_OUTOFMEMORY); }, 10,
         FALSE, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OpcStandIn::Reset();
        auto server = MakeConnected(L"this");
        CGroup* group = AddGroup(*server, L"Bulk", 100);
        ASSERT_NE(nullptr, group);
        ASSERT_EQ(1000u, AddItems(group, BulkTags(1000)).size());
        // The server drops and returns; the client reconnects to a new server object.
        OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
        OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
        ASSERT_TRUE(server->Connect());
        c.prepare(*server);
        const int before = OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, kAdd);
        CItemArray* items = nullptr;
        group->GetItems(&items);
        for (INT_PTR i = 0; i < items->GetSize(); ++i)
            items->GetAt(i)->SetHandle(0);

        EXPECT_EQ(c.result, server->RecreateOnServer());
        EXPECT_EQ(c.calls, OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, kAdd) - before);
        int onServer = 0;
        for (INT_PTR i = 0; i < items->GetSize(); ++i)
        {
            CItem* item = items->GetAt(i);
            if (item->GetHandle() == 0)
                continue;
            ++onServer;
            EXPECT_EQ(group, item->GetGroup());
            EXPECT_EQ(VT_R8, item->GetDataType());
        }
        EXPECT_EQ(c.onServer, onServer);
        if (c.result)
        {
            EXPECT_TRUE(group->ReadItemsSync(OPC_DS_CACHE));
            EXPECT_TRUE(items->GetAt(999)->IsQualityGood());
        }
        OpcStandIn::Reset();
        server->Disconnect();
    }
}
