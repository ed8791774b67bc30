// Injected failures on every path the client takes: each gives its fixed log text and the result
// the operation promises, and keeps the failure code as the server's last error.
#include "OpcClientTestSupport.h"

#include <gtest/gtest.h>

using namespace opctest;

namespace
{
class FailureTest : public OpcClientTest
{
};

struct FailureCase
{
    const char* call;
    const wchar_t* logged;
    std::function<BOOL(CInfoServer&, CGroup*, CItem*)> operation;
    // Passed to the server's error display (a status poll only answers FALSE).
    bool reported = true;
};
} // namespace

TEST_F(FailureTest, EveryFailedCallIsLoggedAndReported)
{
    const HRESULT code = HRESULT(0x80040155);
    const FailureCase cases[] = {
        {"IOPCSyncIO::Read", L"IOPCSyncIO::Read() failed!",
         [](CInfoServer&, CGroup* g, CItem*) { return g->ReadItemsSync(OPC_DS_CACHE); }},
        {"IOPCSyncIO::Read", L"IOPCSyncIO::Read() failed!",
         [](CInfoServer&, CGroup*, CItem* i) { return i->ReadSync(OPC_DS_DEVICE); }},
        {"IOPCSyncIO::Write", L"IOPCSyncIO::Write() failed!",
         [](CInfoServer&, CGroup*, CItem* i) { return i->CommandSync(L"1"); }},
        {"IOPCAsyncIO2::Read", L"IOPCAsyncIO2::Read() failed!",
         [](CInfoServer&, CGroup*, CItem* i) { return i->ReadAsync(OPC_DS_CACHE); }},
        {"IOPCAsyncIO2::Write", L"IOPCAsyncIO2::Write() failed!",
         [](CInfoServer&, CGroup*, CItem* i) { return i->CommandAsync(L"1"); }},
        {"IOPCAsyncIO2::Refresh2", L"IOPCAsyncIO2::Refresh2() failed!",
         [](CInfoServer&, CGroup* g, CItem*) { return g->Refresh(OPC_DS_CACHE); }},
        {"IOPCAsyncIO2::SetEnable", L"IOPCAsyncIO2::SetEnable() failed!",
         [](CInfoServer&, CGroup* g, CItem*) { return g->SetDataChangeEnabled(FALSE, TRUE); }},
        {"IOPCAsyncIO2::GetEnable", L"IOPCAsyncIO2::GetEnable() failed!",
         [](CInfoServer&, CGroup* g, CItem*)
         {
             BOOL enabled = TRUE;
             BOOL result = g->GetDataChangeEnabled(&enabled, TRUE);
             return result || enabled;
         }},
        {"IOPCItemMgt::RemoveItems", L"IOPCItemMgt::RemoveItems() failed!",
         [](CInfoServer&, CGroup* g, CItem* i) { return g->RemoveItem(&i); }},
        {"IOPCItemMgt::AddItems", L"IOPCItemMgt::AddItems() failed!",
         [](CInfoServer&, CGroup* g, CItem* i) { return g->ReCreateItemOnServer(&i); }},
        {"IOPCItemMgt::CreateEnumerator", L"IOPCItemMgt::CreateGroupEnumerator() failed!",
         [](CInfoServer&, CGroup* g, CItem*) { return g->ReloadItems(); }},
        {"IOPCServer::RemoveGroup", L"IOPCServer::RemoveGroup() failed!",
         [](CInfoServer& s, CGroup* g, CItem*) { return s.RemoveGroup(&g, FALSE); }},
        {"IOPCServer::GetStatus", L"IOPCServer::GetStatus() failed!",
         [](CInfoServer& s, CGroup*, CItem*) { return s.GetStatus(FALSE); }, false},
        {"IOPCGroupStateMgt::SetName", L"IOPCGroupStateMgt::SetName() failed!",
         [](CInfoServer& s, CGroup* g, CItem*)
         {
             COPCDialogs::SetGroupDialog(
                 [](COPCGroupDlgData& d)
                 {
                     d.strName = L"New";
                     return IDOK;
                 });
             return s.EditGroup(&g);
         }},
    };
    for (const FailureCase& c : cases)
    {
        SCOPED_TRACE(c.call);
        OpcStandIn::Reset();
        Logvane_ClearCaptured();
        auto server = MakeConnected(L"this");
        CGroup* group = AddGroup(*server);
        ASSERT_NE(nullptr, group);
        std::vector<CItem*> items = AddItems(group, {L"Memory.R8"});
        ASSERT_NE(nullptr, items[0]);
        OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, c.call, code);
        EXPECT_FALSE(c.operation(*server, group, items[0]));
        EXPECT_TRUE(LogContains(c.logged));
        // DisplayError logged the code's text and kept the code.
        EXPECT_EQ(c.reported, LogContains(L"0x80040155"));
        EXPECT_EQ(c.reported ? code : S_OK, server->GetLastError());
        OpcStandIn::Reset();
        server->Disconnect();
        CGroupArray* groups = nullptr;
        EXPECT_EQ(0u, server->GetGroups(&groups));
    }
}

TEST_F(FailureTest, AdviseFailuresLeaveTheGroupUnsubscribed)
{
    auto server = MakeConnected(L"this");
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IConnectionPoint::Advise");
    CGroup* group = AddGroup(*server);
    ASSERT_NE(nullptr, group) << "the group stands without its subscription";
    EXPECT_EQ(0u, group->GetOPCDataAccessConnectionPoint());
    EXPECT_FALSE(group->Advise());
    server->Disconnect();

    CInfoServer old(1, 1, 0);
    old.SetOPCVersion(1.0f);
    old.SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
    ASSERT_TRUE(old.Connect());
    OpcStandIn::FailCall(CLSID_QuendrelOpcTestDa10, "IDataObject::DAdvise");
    CGroup* oldGroup = AddGroup(old);
    ASSERT_NE(nullptr, oldGroup);
    EXPECT_TRUE(LogContains(L"IDataObject::DAdvise() failed!"));
    EXPECT_EQ(0u, oldGroup->GetOPCSTMFormatWriteCompleteConnection());
    old.Disconnect();
}

TEST_F(FailureTest, DroppedServerFailsEveryCallWithoutHarm)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server);
    std::vector<CItem*> items = AddItems(group, {L"Memory.R8", L"Simulation.Ramp"});
    OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
    EXPECT_FALSE(group->ReadItemsSync(OPC_DS_CACHE));
    EXPECT_EQ(RPC_E_DISCONNECTED, server->GetLastError());
    EXPECT_FALSE(items[0]->CommandSync(L"3"));
    EXPECT_FALSE(items[0]->CommandAsync(L"3"));
    EXPECT_FALSE(group->Refresh(OPC_DS_DEVICE));
    EXPECT_TRUE(group->CheckForOpenTransactions());
    EXPECT_FALSE(server->GetStatus(FALSE));
    // Disconnecting a dropped server still deletes the client's groups and items.
    OPCHANDLE handle = items[0]->GetClientHandle();
    EXPECT_TRUE(server->Disconnect());
    EXPECT_EQ(nullptr, CItem::FromClientHandle(handle));
    CGroupArray* groups = nullptr;
    EXPECT_EQ(0u, server->GetGroups(&groups));
}
