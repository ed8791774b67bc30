// A server that drops and returns while 10,000 items update at 100 ms: once the client has
// reconnected, every value moves again within two scans of its group, in the cache the runtime
// polls and in the data callbacks alike, and nothing is left behind.
#include "OpcClientTestSupport.h"

#include "opc/InfoMultiServerExplorerDoc.h"

#include "win32/System.h"

#include <gtest/gtest.h>

using namespace opctest;

namespace
{
constexpr int kItems = 10000;
constexpr DWORD kRate = 100;
// Two scans take two periods; this much allows for a slow, loaded machine (sanitizers included)
// and still fails a group whose scans were put off by its re-creation.
constexpr int kScanWaitMs = 100 * int(kRate);

class ReconnectTest : public OpcClientTest
{
protected:
    static ULONGLONG Ticks(const FILETIME& t)
    {
        return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    }

    static ULONGLONG Now()
    {
        FILETIME t;
        GetSystemTimeAsFileTime(&t);
        return Ticks(t);
    }

    // Items without a good value stamped after since.
    static int NotNewer(const std::vector<CItem*>& items, ULONGLONG since)
    {
        int stale = 0;
        for (CItem* item : items)
        {
            if (!item->IsQualityGood() || Ticks(item->GetTimeStamp()) <= since)
                ++stale;
        }
        return stale;
    }

    static int Scans(LPCWSTR group) { return OpcStandIn::ScanCount(CLSID_QuendrelOpcDaServer, group); }
};
} // namespace

TEST_F(ReconnectTest, EveryValueMovesAgainWithinTwoScansOfTheReconnect)
{
    const size_t itemsBefore = CItem::GetHandleTable().GetCount();
    const size_t groupsBefore = CGroup::GetHandleTable().GetCount();
    {
        // As the runtime reads: from the cache, on each refresh tick.
        CInfoMultiServerExplorerDoc doc;
        CInfoServer* polled = doc.NewInfoServer(QUENDREL_OPCDASERVER_PROGID);
        polled->SetOPCVersion(3.0f);
        polled->SetOPCServerCLSID(CLSID_QuendrelOpcDaServer);
        ASSERT_TRUE(polled->Connect());
        CGroup* cacheGroup = AddGroup(*polled, L"Polled", kRate, FALSE);
        ASSERT_NE(nullptr, cacheGroup);
        std::vector<CItem*> cached = AddItems(cacheGroup, BulkTags(kItems));
        // Reported by the data callbacks alone, never read.
        std::unique_ptr<CInfoServer> reported = MakeConnected(L"this", 1, 0, 0);
        CGroup* callbackGroup = AddGroup(*reported, L"Reported", kRate, TRUE);
        ASSERT_NE(nullptr, callbackGroup);
        std::vector<CItem*> called = AddItems(callbackGroup, BulkTags(kItems));
        ASSERT_EQ(kItems, callbackGroup->GetItemCount());
        ASSERT_EQ(kItems, cacheGroup->GetItemCount());

        const ULONGLONG start = Now();
        ASSERT_TRUE(WaitFor([&] { return NotNewer(called, start) == 0; }, kScanWaitMs)) << "updates flow";
        EXPECT_TRUE(doc.UpdateAllInfoServers());
        EXPECT_EQ(0, NotNewer(cached, 0));

        // The server drops during the updates. The runtime's tick notices and marks the items bad;
        // the next one finds the server still gone. The other client is told the same way.
        OpcStandIn::Disconnect(CLSID_QuendrelOpcDaServer);
        EXPECT_TRUE(doc.UpdateAllInfoServers());
        EXPECT_FALSE(polled->IsConnected());
        EXPECT_EQ(kItems, NotNewer(cached, 0));
        EXPECT_TRUE(doc.UpdateAllInfoServers());
        EXPECT_FALSE(polled->IsConnected());
        reported->SetConnected(FALSE);
        // The old groups live on the server until the clients let go of them; new names let the
        // server's counts tell the re-created groups from them.
        cacheGroup->SetName(L"Polled again");
        callbackGroup->SetName(L"Reported again");

        // It returns: the next tick reconnects and re-creates the group, the other client likewise.
        OpcStandIn::Reconnect(CLSID_QuendrelOpcDaServer);
        EXPECT_TRUE(doc.UpdateAllInfoServers());
        ASSERT_TRUE(polled->IsConnected());
        ASSERT_TRUE(reported->Connect());
        ASSERT_TRUE(reported->RecreateOnServer());
        const ULONGLONG back = Now();
        const int cacheScans = Scans(L"Polled again");
        const int callbackScans = Scans(L"Reported again");

        // The second scan after the reconnect begins after it: it samples every item anew.
        ASSERT_TRUE(WaitFor(
            [&] {
                return Scans(L"Polled again") >= cacheScans + 2 &&
                       Scans(L"Reported again") >= callbackScans + 2;
            },
            kScanWaitMs))
            << "the re-created groups stopped scanning: " << Scans(L"Polled again") - cacheScans << " and "
            << Scans(L"Reported again") - callbackScans << " scans";
        EXPECT_EQ(0, NotNewer(called, back)) << "reported by the data callbacks";
        EXPECT_TRUE(doc.UpdateAllInfoServers());
        EXPECT_EQ(0, NotNewer(cached, back)) << "read from the cache";

        EXPECT_TRUE(reported->Disconnect());
    } // the document disconnects and deletes its server
    EXPECT_EQ(0, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer));
    EXPECT_EQ(itemsBefore, CItem::GetHandleTable().GetCount());
    EXPECT_EQ(groupsBefore, CGroup::GetHandleTable().GetCount());
}
