// CInfoServer against the stand-in servers: naming, connecting, status waits, error texts, the
// shut-down sink and the stored server record.
#include "ArchiveHelpers.h"
#include "OpcClientTestSupport.h"

#include "opc/ShutdownRequest.h"

#include "win32/System.h"

#include <gtest/gtest.h>

using namespace opctest;

namespace
{
class ConnectionTest : public OpcClientTest
{
};
} // namespace

TEST_F(ConnectionTest, SetServerResolvesClassIds)
{
    CInfoServer server(1, 1, 0);
    EXPECT_TRUE(server.SetServer(L"", L"this"));
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, server.GetOPCServerCLSID());
    EXPECT_TRUE(server.SetServer(L"", L"Quendrel.OpcDaServer.9"));
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, server.GetOPCServerCLSID());

    // The own names need no server list; the unchanged pair needs no lookup at all.
    OpcStandInServers_Unregister();
    EXPECT_TRUE(server.SetServer(L"", L"Quendrel.OpcDaServer.9"));
    EXPECT_TRUE(server.SetServer(L"", L"this"));
    OpcStandInServers_Register();

    // A chooser line is looked up in the server list: the ProgID before the blanks, apostrophes
    // trimmed. Only DA 2.0 servers are listed.
    EXPECT_TRUE(server.SetServer(L"", L"'Quendrel.OpcDaServer.1  (Quendrel DA server)'"));
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, server.GetOPCServerCLSID());
    EXPECT_FALSE(server.SetServer(L"Local", QUENDREL_OPCTESTDA10_PROGID));
    EXPECT_EQ(CString(L"Local\\Quendrel.OpcTestDa10.1"), server.GetOPCServerName());

    // An unknown name resets the class id only: the callback objects stay.
    EXPECT_FALSE(server.SetServer(L"", L"No.Such.Server"));
    EXPECT_EQ(GUID_NULL, server.GetOPCServerCLSID());
    EXPECT_NE(nullptr, server.GetDataAccessConnectionPoint());
    EXPECT_NE(nullptr, server.GetAdviseSink());

    GUID clsid = GUID_NULL;
    EXPECT_EQ(E_FAIL, CInfoServer::FindOPCServerCLSID(L"''", &clsid, L"", CATID_OPCDAServer20));
    EXPECT_EQ(S_OK,
              CInfoServer::FindOPCServerCLSID(L"Quendrel.OpcDaServer.1", &clsid, L"", CATID_OPCDAServer20));
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, clsid);
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE,
              CInfoServer::FindOPCServerCLSID(L"Quendrel.OpcDaServer.1", &clsid, L"nohost.invalid",
                                              CATID_OPCDAServer20));
}

TEST_F(ConnectionTest, ConnectByProgIdAndByThis)
{
    for (LPCWSTR name : {QUENDREL_OPCDASERVER_PROGID, L"this", L"'Quendrel.OpcDaServer.1'", L""})
    {
        CInfoServer server(1, 1, 0);
        // The flat DA 1.0 server is not listed as a DA 2.0 server: it is named by its class id.
        if (*name)
        {
            ASSERT_TRUE(server.SetServer(L"", name));
        }
        else
            server.SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
        ASSERT_TRUE(server.Connect()) << name;
        EXPECT_TRUE(server.IsConnected());
        EXPECT_TRUE(server.GetInterface());
        EXPECT_TRUE(server.GetStatus(FALSE));
        EXPECT_TRUE(server.Disconnect());
        EXPECT_FALSE(server.IsConnected());
        EXPECT_FALSE(server.GetInterface());
        EXPECT_FALSE(server.GetStatus(FALSE));
    }
    EXPECT_EQ(0, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer));
    EXPECT_EQ(0, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcTestDa10));
}

TEST_F(ConnectionTest, FailedCreationsGiveFalseQuietly)
{
    CInfoServer server;
    EXPECT_TRUE(server.Disconnect()) << "never connected";

    server.SetServer(L"", QUENDREL_OPCDASERVER_PROGID);
    OpcStandIn::FailCreation(CLSID_QuendrelOpcDaServer, E_OUTOFMEMORY);
    EXPECT_FALSE(server.Connect());
    EXPECT_FALSE(server.IsConnected());
    OpcStandIn::Reset();

    CInfoServer remote;
    remote.SetOPCServerComputer(L"nohost.invalid");
    remote.SetOPCServerCLSID(CLSID_QuendrelOpcDaServer);
    EXPECT_FALSE(remote.Connect());
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ConnectionTest, ServerThatNeverRunsAsksToWaitLonger)
{
    OpcStandIn::FAULT fault;
    fault.kind = OpcStandIn::FAULT_NEVER_RUNNING;
    fault.state = OPC_STATUS_SUSPENDED;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, fault);
    CInfoServer server;
    server.SetServer(L"", L"this");

    int asked = 0;
    AfxSetModalHook(
        [&](const AfxModalRequest& request)
        {
            m_boxes.push_back(request.strText.str());
            return ++asked < 2 ? IDYES : IDNO;
        });
    EXPECT_TRUE(server.Connect()) << "the connection stands even when the server never runs";
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"Server not responding within 6 secs!\nWait more?", m_boxes[0]);
    EXPECT_EQ(m_boxes[0], m_boxes[1]);
    EXPECT_FALSE(server.WaitUntilStatusChanged(OPC_STATUS_RUNNING, 2, FALSE));
    EXPECT_EQ(2u, m_boxes.size());
    server.Disconnect();

    // A server without configuration satisfies every wait at once.
    fault.state = OPC_STATUS_NOCONFIG;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, fault);
    CInfoServer unconfigured;
    unconfigured.SetServer(L"", L"this");
    EXPECT_TRUE(unconfigured.Connect());
    EXPECT_TRUE(unconfigured.WaitUntilStatusChanged(OPC_STATUS_SUSPENDED, 0, FALSE));
    EXPECT_EQ(2u, m_boxes.size());
    unconfigured.Disconnect();
}

TEST_F(ConnectionTest, DisconnectWaitsOnlyForAStateTheServerReports)
{
    // A wait step long enough that any wait would show.
    CInfoServer::SetStatusWaitStep(30000);
    auto statusCalls = []
    { return OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCServer::GetStatus"); };
    auto state = [](CInfoServer& server)
    {
        OPCSERVERSTATUS* status = nullptr;
        CComQIPtr<IOPCServer> opc(server.GetInterface());
        if (!opc || FAILED(opc->GetStatus(&status)) || !status)
            return OPCSERVERSTATE(0);
        const OPCSERVERSTATE s = status->dwServerState;
        CoTaskMemFree(status->szVendorInfo);
        CoTaskMemFree(status);
        return s;
    };

    // The stand-in reports a suspension once its last group is gone, and runs again with a new one.
    CInfoServer server;
    server.SetServer(L"", L"this");
    ASSERT_TRUE(server.Connect());
    EXPECT_EQ(state(server), OPC_STATUS_RUNNING);
    LONG bias = 0;
    FLOAT deadBand = 0.0f;
    CGroup* group = server.SafeAddGroup(L"One", 2048, 200, TRUE, FALSE, bias, deadBand);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(state(server), OPC_STATUS_RUNNING);
    server.RemoveGroup(&group, FALSE);
    EXPECT_EQ(state(server), OPC_STATUS_SUSPENDED);
    ASSERT_NE(server.SafeAddGroup(L"Two", 2048, 200, TRUE, FALSE, bias, deadBand), nullptr);
    EXPECT_EQ(state(server), OPC_STATUS_RUNNING);

    // Disconnecting with a group: the suspension is seen at the first look.
    int before = statusCalls();
    EXPECT_TRUE(server.Disconnect());
    EXPECT_LE(statusCalls() - before, 2);

    // Disconnecting from a server that never had a group of ours and goes on running: no wait.
    ASSERT_TRUE(server.Connect());
    before = statusCalls();
    EXPECT_TRUE(server.Disconnect());
    EXPECT_EQ(statusCalls() - before, 1);
    EXPECT_TRUE(m_boxes.empty());
    CInfoServer::SetStatusWaitStep(1000);
}

TEST_F(ConnectionTest, SlowStartIsWaitedFor)
{
    OpcStandIn::FAULT fault;
    fault.kind = OpcStandIn::FAULT_SLOW_START;
    fault.ms = 10;
    CInfoServer::SetStatusWaitStep(25);
    fault.state = OPC_STATUS_FAILED;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, fault);
    CInfoServer server;
    server.SetServer(L"", L"this");
    EXPECT_TRUE(server.Connect());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(server.WaitUntilStatusChanged(OPC_STATUS_RUNNING, 0, FALSE));
    server.Disconnect();
}

TEST_F(ConnectionTest, ErrorTextsComeFromTheServerOrTheSystem)
{
    CInfoServer offline;
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(offline.DisplayError(E_FAIL));
    EXPECT_EQ(E_FAIL, offline.GetLastError());
    std::vector<std::wstring> lines = Logvane_GetCapturedLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(std::wstring::npos, lines.back().find(L"0x80004005")) << lines.back();
    EXPECT_FALSE(LogContains(L"(0x2)"));

    CString text;
    EXPECT_TRUE(offline.GetSystemErrorString(HRESULT(0x80070005), text));
    EXPECT_NE(-1, text.Find(L"(0x80070005).")) << text.GetString();
    // Facility 8: the low 16 bits are looked up.
    EXPECT_TRUE(offline.GetSystemErrorString(HRESULT(0x80080005), text));
    EXPECT_NE(-1, text.Find(L"(0x5).")) << text.GetString();

    auto server = MakeConnected(L"this");
    EXPECT_TRUE(server->GetErrorString(OPC_E_UNKNOWNITEMID, text));
    EXPECT_FALSE(text.IsEmpty());
    server->ClearLastError();
    EXPECT_EQ(S_OK, server->GetLastError());
    server->Disconnect();
}

TEST_F(ConnectionTest, ServerServicesGoThroughTheirInterfaces)
{
    auto server = MakeConnected(L"this");
    OPCSERVERSTATE shown = OPCSERVERSTATE(0);
    COPCDialogs::SetStatusDialog(
        [&](const OPCSERVERSTATUS& status)
        {
            shown = status.dwServerState;
            return IDOK;
        });
    EXPECT_TRUE(server->GetStatus(FALSE));
    EXPECT_EQ(OPCSERVERSTATE(0), shown);
    EXPECT_TRUE(server->GetStatus(TRUE));
    EXPECT_EQ(OPC_STATUS_RUNNING, shown);

    EXPECT_TRUE(server->ReloadServer());
    EXPECT_TRUE(server->PrintStatistic());
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IPersistFile::Load");
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IPersistFile::Save");
    EXPECT_FALSE(server->ReloadServer());
    EXPECT_FALSE(server->PrintStatistic());
    EXPECT_TRUE(LogContains(L"CIPersistFile::Load"));
    EXPECT_TRUE(LogContains(L"CIPersistFile::Save"));
    server->Disconnect();
}

TEST_F(ConnectionTest, ShutdownSinkIsAdvisedWhileConnected)
{
    auto server = MakeConnected(L"this", 0, 0, 1);
    EXPECT_EQ(1, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcDaServer, L"going down"));
    EXPECT_TRUE(server->IsConnected()) << "a request is only acknowledged";
    server->Disconnect();
    EXPECT_EQ(0, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcDaServer, L"going down"));

    // Below DA 2.0 the sink is never advised.
    CInfoServer old(0, 0, 1);
    old.SetServer(L"", L"this");
    old.SetOPCVersion(1.0f);
    ASSERT_TRUE(old.Connect());
    EXPECT_EQ(0, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcDaServer, L"going down"));
    old.Disconnect();
}

TEST_F(ConnectionTest, AlarmServerTakesTheShutdownSink)
{
    CComPtr<IUnknown> events;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QuendrelOpcEventServer, nullptr, CLSCTX_ALL, IID_IUnknown,
                                     reinterpret_cast<void**>(&events)));
    CComPtr<CShutdownRequest> sink = QyrNewObject<CShutdownRequest>();
    EXPECT_FALSE(sink->Advise(nullptr));
    ASSERT_TRUE(sink->Advise(events));
    EXPECT_NE(0u, sink->GetCookie());
    EXPECT_EQ(1, OpcStandIn::RequestShutdown(CLSID_QuendrelOpcEventServer, L"maintenance"));
    EXPECT_EQ(S_OK, sink->ShutdownRequest(nullptr));
}

TEST_F(ConnectionTest, ChooseServerTakesTheDialogsPick)
{
    CInfoServer server;
    EXPECT_FALSE(server.ChooseServer()) << "no dialog: cancelled";
    COPCDialogs::SetConnectDialog(
        [](COPCConnectDlgData& data)
        {
            data.strServer = L"Quendrel.OpcTestDa10.1  (Flat test server)";
            data.strComputer = L"";
            data.clsid = CLSID_QuendrelOpcTestDa10;
            return IDOK;
        });
    EXPECT_TRUE(server.ChooseServer());
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(CLSID_QuendrelOpcTestDa10, server.GetOPCServerCLSID());
    EXPECT_TRUE(server.Connect());
    server.Disconnect();
}

TEST_F(ConnectionTest, EmptyServerRecordHasAZeroCount)
{
    CInfoServer server;
    server.SetServer(L"", L"this");
    std::vector<BYTE> bytes = StoreRecord(server);
    // Two strings, the class id (16), seven 4-byte settings and the WORD count 0 at the end.
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0, bytes[bytes.size() - 1]);
    EXPECT_EQ(0, bytes[bytes.size() - 2]);

    CInfoServer loaded;
    LoadRecord(bytes, loaded);
    EXPECT_EQ(CString(L"this"), loaded.GetOPCServer());
    EXPECT_EQ(CLSID_QuendrelOpcDaServer, loaded.GetOPCServerCLSID());
    EXPECT_FLOAT_EQ(2.0f, loaded.GetOPCVersion());
    CGroupArray* groups = nullptr;
    EXPECT_EQ(0u, loaded.GetGroups(&groups));
}
