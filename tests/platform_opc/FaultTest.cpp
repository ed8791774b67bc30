// Failure injection: each fault gives the client the result a failing real server would.
#include "OpcTestSinks.h"

#include <gtest/gtest.h>

namespace
{
class FaultTest : public ::testing::Test
{
protected:
    void SetUp() override { OpcStandIn::Reset(); }
    void TearDown() override { OpcStandIn::Reset(); }

    static HRESULT Create(CComPtr<IOPCServer>& server)
    {
        server.Release();
        return CoCreateInstance(CLSID_QuendrelOpcDaServer, nullptr, CLSCTX_ALL, IID_IOPCServer,
                                reinterpret_cast<void**>(&server));
    }
    // A new server object with one active group at rate ms.
    static HRESULT CreateWithGroup(CComPtr<IOPCServer>& server, CComPtr<IOPCItemMgt>& items, DWORD rate)
    {
        HRESULT hr = Create(server);
        if (FAILED(hr))
            return hr;
        OPCHANDLE h;
        DWORD revised;
        items.Release();
        return server->AddGroup(L"", TRUE, rate, 1, nullptr, nullptr, 0, &h, &revised, IID_IOPCItemMgt,
                                reinterpret_cast<LPUNKNOWN*>(&items));
    }
    static OPCSERVERSTATE State(IOPCServer* server)
    {
        OPCSERVERSTATUS* status = nullptr;
        if (FAILED(server->GetStatus(&status)))
            return OPCSERVERSTATE(0);
        OPCSERVERSTATE state = status->dwServerState;
        CoTaskMemFree(status->szVendorInfo);
        CoTaskMemFree(status);
        return state;
    }
};

TEST_F(FaultTest, CreationFailsWithTheInjectedCode)
{
    OpcStandIn::FailCreation(CLSID_QuendrelOpcDaServer, CO_E_SERVER_EXEC_FAILURE);
    CComPtr<IOPCServer> server;
    EXPECT_EQ(CO_E_SERVER_EXEC_FAILURE, Create(server));
    EXPECT_FALSE(server);
    OpcStandIn::ClearFault(CLSID_QuendrelOpcDaServer, OpcStandIn::FAULT_CREATE);
    EXPECT_EQ(S_OK, Create(server));
}

TEST_F(FaultTest, SlowStartAndNeverRunningShowInTheStatus)
{
    OpcStandIn::FAULT slow;
    slow.kind = OpcStandIn::FAULT_SLOW_START;
    slow.ms = 150;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, slow);
    CComPtr<IOPCServer> server;
    ASSERT_EQ(S_OK, Create(server));
    EXPECT_EQ(OPC_STATUS_SUSPENDED, State(server));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(OPC_STATUS_RUNNING, State(server));

    OpcStandIn::FAULT never;
    never.kind = OpcStandIn::FAULT_NEVER_RUNNING;
    never.state = OPC_STATUS_FAILED;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, never);
    EXPECT_EQ(OPC_STATUS_FAILED, State(server));
}

TEST_F(FaultTest, ANamedCallFailsAsOftenAsAskedAndIsCounted)
{
    CComPtr<IOPCServer> server;
    ASSERT_EQ(S_OK, Create(server));
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCServer::AddGroup", E_OUTOFMEMORY, 1);
    OPCHANDLE h;
    DWORD revised;
    CComPtr<IUnknown> group;
    EXPECT_EQ(E_OUTOFMEMORY, server->AddGroup(L"", TRUE, 50, 1, nullptr, nullptr, 0, &h, &revised,
                                              IID_IOPCGroupStateMgt, &group));
    EXPECT_EQ(S_OK, server->AddGroup(L"", TRUE, 50, 1, nullptr, nullptr, 0, &h, &revised,
                                     IID_IOPCGroupStateMgt, &group));
    EXPECT_EQ(2, OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCServer::AddGroup"));
    // Through the newer interface the older method keeps its name.
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCSyncIO::Read");
    CComQIPtr<IOPCSyncIO2> io(group.p);
    OPCITEMSTATE* states = nullptr;
    HRESULT* errors = nullptr;
    OPCHANDLE any = 1;
    EXPECT_EQ(E_FAIL, io->Read(OPC_DS_CACHE, 1, &any, &states, &errors));
    EXPECT_EQ(nullptr, states);
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IConnectionPoint::Advise", CONNECT_E_CANNOTCONNECT);
    CComPtr<CTestDataCallback> sink = QyrNewObject<CTestDataCallback>();
    EXPECT_EQ(0u, AdviseOn(group, IID_IOPCDataCallback, sink->GetUnknown()));
}

TEST_F(FaultTest, AnItemFailsAloneWhereverItIsUsed)
{
    OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Memory.R8", OPC_E_UNKNOWNITEMID);
    CComPtr<IOPCServer> server;
    CComPtr<IOPCItemMgt> items;
    ASSERT_EQ(S_OK, CreateWithGroup(server, items, 50));
    OPCITEMDEF defs[2] = {{nullptr, const_cast<LPWSTR>(L"Memory.I4"), TRUE, 1, 0, nullptr, VT_EMPTY, 0},
                          {nullptr, const_cast<LPWSTR>(L"Memory.R8"), TRUE, 2, 0, nullptr, VT_EMPTY, 0}};
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    ASSERT_EQ(S_FALSE, items->ValidateItems(2, defs, FALSE, &results, &errors));
    EXPECT_EQ(S_OK, errors[0]);
    EXPECT_EQ(OPC_E_UNKNOWNITEMID, errors[1]);
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    // Added before the fault: its reads then fail alone.
    OpcStandIn::ClearFault(CLSID_QuendrelOpcDaServer, OpcStandIn::FAULT_ITEM);
    ASSERT_EQ(S_OK, items->AddItems(2, defs, &results, &errors));
    OPCHANDLE handles[2] = {results[0].hServer, results[1].hServer};
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    OpcStandIn::FailItem(CLSID_QuendrelOpcDaServer, L"Memory.R8", E_FAIL);
    CComQIPtr<IOPCSyncIO> io(items.p);
    OPCITEMSTATE* states = nullptr;
    ASSERT_EQ(S_FALSE, io->Read(OPC_DS_CACHE, 2, handles, &states, &errors));
    EXPECT_EQ(S_OK, errors[0]);
    EXPECT_EQ(E_FAIL, errors[1]);
    EXPECT_EQ(OPC_QUALITY_BAD, states[1].wQuality);
    EXPECT_EQ(2u, states[1].hClient);
    for (int i = 0; i < 2; ++i)
        VariantClear(&states[i].vDataValue);
    CoTaskMemFree(states);
    CoTaskMemFree(errors);
}

TEST_F(FaultTest, AnItemLimitRefusesLargerAddItemsCallsWhole)
{
    OpcStandIn::LimitItemsPerCall(CLSID_QuendrelOpcDaServer, 2);
    CComPtr<IOPCServer> server;
    CComPtr<IOPCItemMgt> items;
    ASSERT_EQ(S_OK, CreateWithGroup(server, items, 50));
    OPCITEMDEF defs[3] = {{nullptr, const_cast<LPWSTR>(L"Memory.I4"), TRUE, 1, 0, nullptr, VT_EMPTY, 0},
                          {nullptr, const_cast<LPWSTR>(L"Memory.R8"), TRUE, 2, 0, nullptr, VT_EMPTY, 0},
                          {nullptr, const_cast<LPWSTR>(L"Memory.I2"), TRUE, 3, 0, nullptr, VT_EMPTY, 0}};
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    EXPECT_EQ(E_OUTOFMEMORY, items->AddItems(3, defs, &results, &errors));
    EXPECT_EQ(nullptr, results);
    EXPECT_EQ(nullptr, errors);
    // Validation is not limited.
    ASSERT_EQ(S_OK, items->ValidateItems(3, defs, FALSE, &results, &errors));
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    ASSERT_EQ(S_OK, items->AddItems(2, defs, &results, &errors));
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    OpcStandIn::ClearFault(CLSID_QuendrelOpcDaServer, OpcStandIn::FAULT_ITEM_LIMIT);
    ASSERT_EQ(S_OK, items->AddItems(3, defs, &results, &errors));
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
}

TEST_F(FaultTest, DisconnectFailsEveryCallStopsCallbacksAndComesBack)
{
    CComPtr<IOPCServer> server;
    CComPtr<IOPCItemMgt> items;
    ASSERT_EQ(S_OK, CreateWithGroup(server, items, 20));
    CComPtr<CTestDataCallback> sink = QyrNewObject<CTestDataCallback>();
    ASSERT_NE(0u, AdviseOn(items, IID_IOPCDataCallback, sink->GetUnknown()));
    OPCITEMDEF def{nullptr, const_cast<LPWSTR>(L"Simulation.RampFast"), TRUE, 1, 0, nullptr, VT_EMPTY, 0};
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    ASSERT_EQ(S_OK, items->AddItems(1, &def, &results, &errors));
    OPCHANDLE handle = results[0].hServer;
    CoTaskMemFree(results);
    CoTaskMemFree(errors);
    ASSERT_TRUE(sink->WaitKind("data"));

    OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
    std::this_thread::sleep_for(std::chrono::milliseconds(60)); // a scan in progress ends
    sink->Clear();
    CComQIPtr<IOPCSyncIO> io(items.p);
    OPCITEMSTATE* states = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, io->Read(OPC_DS_CACHE, 1, &handle, &states, &errors));
    OPCSERVERSTATUS* status = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, server->GetStatus(&status));
    CComPtr<IOPCServer> another;
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, Create(another));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(0u, sink->CountOf("data"));

    OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
    ASSERT_EQ(S_OK, io->Read(OPC_DS_CACHE, 1, &handle, &states, &errors));
    VariantClear(&states[0].vDataValue);
    CoTaskMemFree(states);
    CoTaskMemFree(errors);
    EXPECT_TRUE(sink->WaitKind("data"));
    EXPECT_EQ(S_OK, Create(another));
}

TEST_F(FaultTest, UnreachableServerFailsCreationAfterAWait)
{
    OpcStandIn::FAULT f;
    f.kind = OpcStandIn::FAULT_UNREACHABLE;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, f);
    CComPtr<IOPCServer> server;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, Create(server));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    MULTI_QI qi{&IID_IOPCServer, nullptr, S_OK};
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE,
              CoCreateInstanceEx(CLSID_QuendrelOpcDaServer, nullptr, CLSCTX_ALL, nullptr, 1, &qi));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, qi.hr);
}

TEST_F(FaultTest, ShutdownRequestReachesTheAdvisedSinkFromTheServerThread)
{
    CComPtr<IOPCServer> server;
    ASSERT_EQ(S_OK, Create(server));
    CComPtr<CTestShutdownSink> sink = QyrNewObject<CTestShutdownSink>();
    DWORD cookie = AdviseOn(server, IID_IOPCShutdown, sink->GetUnknown());
    ASSERT_NE(0u, cookie);
    EXPECT_EQ(1, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcDaServer, L"Maintenance"));
    ASSERT_EQ(1u, sink->reasons.size());
    EXPECT_EQ(L"Maintenance", sink->reasons[0]);
    EXPECT_NE(std::this_thread::get_id(), sink->thread);
    EXPECT_EQ(S_OK, UnadviseOn(server, IID_IOPCShutdown, cookie));
    EXPECT_EQ(0, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcDaServer, L"again"));
}
} // namespace
