// The process-wide server documents: creation and sharing, the runtime's server map, and the
// periodic read that marks lost servers bad and reconnects them.
#include "OpcClientTestSupport.h"

#include "opc/InfoMultiServerExplorerDoc.h"
#include "opc/InfoServerExplorerDoc.h"

#include "mfc/Archive.h"
#include "mfc/File.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace opctest;

namespace
{
class ExplorerDocTest : public OpcClientTest
{
};
} // namespace

TEST_F(ExplorerDocTest, DocumentsAreSharedAndDeletedByTheLastHolder)
{
    EXPECT_EQ(nullptr, GetExplorerActiveDocument(0));
    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(1);
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ(1, doc->GetRefCount());
    EXPECT_EQ(doc, GetExplorerActiveDocument(1));
    ASSERT_NE(nullptr, doc->GetInfoServer());
    EXPECT_NE(nullptr, doc->GetInfoServer()->GetDataAccessConnectionPoint());
    EXPECT_NE(nullptr, doc->GetInfoServer()->GetAdviseSink());
    doc->AddRef();
    CInfoServerExplorerDoc other;
    RemoveExplorerActiveDocument(&other);
    RemoveExplorerActiveDocument(doc);
    EXPECT_EQ(doc, GetExplorerActiveDocument(0));
    RemoveExplorerActiveDocument(doc);
    EXPECT_EQ(nullptr, GetExplorerActiveDocument(0));

    EXPECT_EQ(nullptr, GetExplorerMultiActiveDocument(0));
    CInfoMultiServerExplorerDoc* multi = GetExplorerMultiActiveDocument(1);
    ASSERT_NE(nullptr, multi);
    multi->AddRef();
    RemoveExplorerMultiActiveDocument(multi);
    EXPECT_EQ(multi, GetExplorerMultiActiveDocument(0));
    RemoveExplorerMultiActiveDocument(multi);
    EXPECT_EQ(nullptr, GetExplorerMultiActiveDocument(0));
}

TEST_F(ExplorerDocTest, ServerMapByName)
{
    CInfoMultiServerExplorerDoc doc;
    EXPECT_FALSE(doc.UpdateAllInfoServers()) << "no servers";
    EXPECT_EQ(nullptr, doc.GetInfoServer(L"this"));
    EXPECT_FALSE(doc.DeleteInfoServer(L"this"));
    CInfoServer* server = doc.NewInfoServer(L"this");
    EXPECT_EQ(CString(L"this"), server->GetOPCServer());
    EXPECT_EQ(nullptr, server->GetDataAccessConnectionPoint());
    EXPECT_EQ(server, doc.GetInfoServer(L"this"));
    EXPECT_EQ(nullptr, doc.GetInfoServer(L"This"));
    EXPECT_TRUE(doc.DeleteInfoServer(L"this"));
    EXPECT_EQ(0, doc.GetInfoServerCount());
}

TEST_F(ExplorerDocTest, LostServerIsMarkedBadAndComesBack)
{
    CInfoMultiServerExplorerDoc doc;
    CInfoServer* server = doc.NewInfoServer(L"Quendrel.OpcDaServer.1");
    server->SetOPCVersion(3.0f);
    server->SetOPCServerCLSID(CLSID_QuendrelOpcDaServer);
    ASSERT_TRUE(server->Connect());
    CGroup* group = AddGroup(*server, L"QYRViewGroup00001", 200, FALSE);
    ASSERT_NE(nullptr, group);
    std::vector<CItem*> items = AddItems(group, {L"Memory.R8", L"Simulation.Counter"});
    ASSERT_TRUE(items[0]->CommandSync(L"42"));

    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_TRUE(items[0]->IsQualityGood());

    OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_FALSE(server->IsConnected());
    EXPECT_EQ(0x1C, items[0]->GetQuality());
    EXPECT_EQ(0x1C, items[1]->GetQuality());
    // Still gone: the next pass tries to connect, fails and marks the items again.
    items[0]->SetQuality(0xC0);
    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_FALSE(server->IsConnected());
    EXPECT_EQ(0x1C, items[0]->GetQuality());

    OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_TRUE(server->IsConnected());
    EXPECT_TRUE(items[0]->IsQualityGood());
    VARTYPE type;
    EXPECT_EQ(42.0, items[0]->GetDoubleValue(type));
    double counter = items[1]->GetDoubleValue(type);
    ASSERT_TRUE(WaitFor(
        [&]
        {
            doc.UpdateAllInfoServers();
            return items[1]->GetDoubleValue(type) > counter;
        }));
}

TEST_F(ExplorerDocTest, UnreachableServerIsMarkedBad)
{
    CInfoMultiServerExplorerDoc doc;
    CInfoServer* server = doc.NewInfoServer(L"this");
    server->SetOPCServerCLSID(CLSID_QuendrelOpcDaServer);
    ASSERT_TRUE(server->Connect());
    CGroup* group = AddGroup(*server, L"G", 200, FALSE);
    std::vector<CItem*> items = AddItems(group, {L"Simulation.Ramp"});
    OpcStandIn::FAULT fault;
    fault.kind = OpcStandIn::FAULT_UNREACHABLE;
    fault.hr = RPC_S_SERVER_UNAVAILABLE;
    OpcStandIn::Inject(CLSID_QuendrelOpcDaServer, fault);
    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_FALSE(server->IsConnected());
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, server->GetLastError());
    EXPECT_EQ(0x1C, items[0]->GetQuality());
    OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
    EXPECT_TRUE(doc.UpdateAllInfoServers());
    EXPECT_TRUE(items[0]->IsQualityGood());
}

TEST_F(ExplorerDocTest, ReloadFromServerRebuildsTheGroups)
{
    for (DWORD method : {0u, 1u})
    {
        CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(1);
        CInfoServer* server = doc->GetInfoServer();
        server->SetReloadEnumMethod(method);
        ASSERT_TRUE(server->SetServer(L"", L"this"));
        ASSERT_TRUE(server->Connect());
        CGroup* a = AddGroup(*server, L"A", 20);
        AddItems(a, {L"Memory.I4", L"Simulation.Ramp"});
        AddGroup(*server, L"B", 30);

        // The client's groups are forgotten; the server's are read back with their items.
        ASSERT_TRUE(server->ReloadFromServer());
        CGroupArray* groups = nullptr;
        ASSERT_EQ(2u, server->GetGroups(&groups));
        CGroup* reloaded = groups->GetAt(0)->GetName() == L"A" ? groups->GetAt(0) : groups->GetAt(1);
        EXPECT_EQ(CString(L"A"), reloaded->GetName());
        EXPECT_EQ(20u, reloaded->GetUpdateRate());
        ASSERT_EQ(2, reloaded->GetItemCount());
        CItemArray* items = nullptr;
        reloaded->GetItems(&items);
        EXPECT_TRUE(WaitFor([&] { return items->GetAt(1)->IsChanged(); }));
        EXPECT_TRUE(doc->IsModified());
        RemoveExplorerActiveDocument(doc);
    }
    EXPECT_EQ(nullptr, GetExplorerActiveDocument(0));
    EXPECT_EQ(0, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer));
}

TEST_F(ExplorerDocTest, ReloadNeedsTheDocument)
{
    auto server = MakeConnected(L"this");
    EXPECT_FALSE(server->ReloadFromServer());
    server->Disconnect();
}

TEST_F(ExplorerDocTest, OpeningAStoredConfigurationConnectsAndRecreates)
{
    std::filesystem::path path = std::filesystem::temp_directory_path() / "opc_explorer_test.bin";
    {
        auto server = MakeConnected(L"this");
        CGroup* group = AddGroup(*server, L"Saved", 50);
        AddItems(group, {L"Memory.UI2", L"Simulation.Ramp"});
        CFile file;
        ASSERT_TRUE(
            file.Open(path.wstring().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        CArchive ar(&file, CArchive::store);
        server->Serialize(ar);
        ar.Close();
        file.Close();
        server->Disconnect();
    }

    CInfoServerExplorerDoc* doc = GetExplorerActiveDocument(1);
    ASSERT_TRUE(doc->OnOpenDocument(path.wstring().c_str()));
    CInfoServer* server = doc->GetInfoServer();
    EXPECT_TRUE(server->IsConnected());
    CGroupArray* groups = nullptr;
    ASSERT_EQ(1u, server->GetGroups(&groups));
    CGroup* group = groups->GetAt(0);
    EXPECT_EQ(CString(L"Saved"), group->GetName());
    CItemArray* items = nullptr;
    ASSERT_EQ(2u, group->GetItems(&items));
    EXPECT_EQ(CString(L"Simulation.Ramp"), items->GetAt(1)->GetName());
    EXPECT_TRUE(WaitFor([&] { return items->GetAt(1)->IsQualityGood(); }))
        << "reports reach the re-created items";

    // A file that is not a server record fails cleanly.
    std::filesystem::path junk = std::filesystem::temp_directory_path() / "opc_explorer_junk.bin";
    {
        CFile file;
        ASSERT_TRUE(
            file.Open(junk.wstring().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        const char bytes[] = "\xFF\xFE\xFF\x7Fnot a server";
        file.Write(bytes, sizeof(bytes));
        file.Close();
    }
    EXPECT_FALSE(doc->OnOpenDocument(junk.wstring().c_str()));
    EXPECT_FALSE(doc->GetInfoServer()->IsConnected());
    EXPECT_FALSE(doc->OnOpenDocument(L"/nonexistent/opc.bin"));
    RemoveExplorerActiveDocument(doc);
    std::filesystem::remove(path);
    std::filesystem::remove(junk);
}
