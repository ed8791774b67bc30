// The alarms-and-events client and the alarm document against the stand-in event server: events
// from the server's thread reach a window in order and are freed once, the display line, bad
// records, the connection sequence and its failures, and keeping the connection across a restart.
#include "OpcClientTestSupport.h"

#include "opc/AlarmDoc.h"
#include "opc/EventData.h"
#include "opc/EventServer.h"
#include "opc/Subscription.h"

#include "com/Bstr.h"
#include "mfc/Wnd.h"
#include "opcsdk/servers/OpcStandIn.h"
#include "support/PumpUntil.h"
#include "win32/System.h"

#include <QApplication>
#include <QThread>

#include <atomic>
#include <thread>

namespace
{
using opctest::LogContains;

// A window that shows each event as the viewer does and deletes it.
class CEventWnd : public CWnd
{
public:
    std::vector<std::wstring> m_lines;
    std::vector<BOOL> m_refresh;

    LRESULT OnAlarmEvent(WPARAM wParam, LPARAM)
    {
        auto* pData = reinterpret_cast<CEventData*>(wParam);
        m_lines.push_back(pData->GetFormatMessage().str());
        m_refresh.push_back(pData->m_bRefresh);
        delete pData;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEventWnd, CWnd)
ON_MESSAGE(WM_ALARM_EVENT, &CEventWnd::OnAlarmEvent)
END_MESSAGE_MAP()

void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

FILETIME MakeFileTime(int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME st = {};
    st.wYear = WORD(year);
    st.wMonth = WORD(month);
    st.wDay = WORD(day);
    st.wHour = WORD(hour);
    st.wMinute = WORD(minute);
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

// The local "%c" text of a UTC file time, computed independently of the code under test.
std::wstring LocalText(const FILETIME& ft)
{
    const ULONGLONG v = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const time_t t = time_t(v / 10000000ULL - 11644473600ULL);
    struct tm local = {};
    localtime_r(&t, &local);
    char text[128];
    const size_t n = strftime(text, sizeof text, "%c", &local);
    return CString(text, int(n)).str();
}

// The event source in the line: the 32 characters after the date and three blanks.
std::wstring SourceField(const std::wstring& line)
{
    const size_t at = line.find(L"   ");
    return at == std::wstring::npos ? std::wstring() : line.substr(at + 3, 32);
}

class AlarmTest : public opctest::OpcClientTest
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        OpcClientTest::SetUp();
        CEventServer::SetStatusWaitStep(1);
        OpcStandIn::SetEventInterval(0);
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, L"events", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr));
    }
    void TearDown() override
    {
        m_doc.reset();
        m_wnd.DestroyWindow();
        AfxPumpMessages();
        CEventServer::SetStatusWaitStep(1000);
        OpcClientTest::TearDown();
    }

    // A document connected to the stand-in, posting to m_wnd.
    CAlarmDoc& OpenDocument()
    {
        m_doc = std::make_unique<CAlarmDoc>();
        EXPECT_TRUE(m_doc->OnNewDocument());
        m_doc->SetViewHwnd(m_wnd.m_hWnd);
        return *m_doc;
    }

    CEventWnd m_wnd;
    std::unique_ptr<CAlarmDoc> m_doc;
};

TEST_F(AlarmTest, EventDataFormatsTheDisplayLine)
{
    const FILETIME active = MakeFileTime(2026, 3, 14, 9, 26);
    const FILETIME time = MakeFileTime(2026, 3, 14, 9, 30);
    const std::wstring longSource(40, L'S');
    const std::wstring longMessage(100, L'm');
    struct Case
    {
        LPCWSTR source;
        LPCWSTR message;
        FILETIME activeTime;
        std::wstring expectSource;
        std::wstring expectMessage;
        std::wstring expectDate;
    } cases[] = {
        {longSource.c_str(), L"High", active, std::wstring(32, L'S'), L"High" + std::wstring(76, L' '),
         LocalText(active)},
        {L"Tank1", longMessage.c_str(), active, L"Tank1" + std::wstring(27, L' '), std::wstring(80, L'm'),
         LocalText(active)},
        // Null texts read as empty; a simple event without an active time shows its own time.
        {nullptr, nullptr, FILETIME{}, std::wstring(32, L' '), std::wstring(80, L' '), LocalText(time)},
    };
    for (const Case& c : cases)
    {
        ONEVENTSTRUCT e = {};
        e.szSource = const_cast<LPWSTR>(c.source);
        e.szMessage = const_cast<LPWSTR>(c.message);
        e.ftTime = time;
        e.ftActiveTime = c.activeTime;
        CEventData data(e);
        const std::wstring line = data.GetFormatMessage().str();
        EXPECT_EQ(line, c.expectDate + L"   " + c.expectSource + L"   " + c.expectMessage);
        EXPECT_EQ(data.m_event.szSource, data.m_strSource.GetString());
    }
}

TEST_F(AlarmTest, EventDataCopiesAttributesDeeply)
{
    VARIANT values[2];
    VariantInit(&values[0]);
    VariantInit(&values[1]);
    values[0].vt = VT_R8;
    values[0].dblVal = 12.5;
    values[1].vt = VT_BSTR;
    values[1].bstrVal = SysAllocString(L"Area1");
    ONEVENTSTRUCT e = {};
    e.dwNumEventAttrs = 2;
    e.pEventAttributes = values;
    auto data = std::make_unique<CEventData>(e);
    VariantClear(&values[1]);
    CEventData copy(*data);
    data.reset();
    ASSERT_EQ(copy.GetNumEventAttrs(), 2u);
    ASSERT_EQ(copy.m_attrTable.size(), 2u);
    EXPECT_EQ(copy.m_attrTable[0]->dblVal, 12.5);
    EXPECT_STREQ(copy.m_attrTable[1]->bstrVal, L"Area1");
    EXPECT_EQ(copy.m_event.pEventAttributes, copy.m_attrValues.data());

    // A count without an array copies nothing, and the copy's record says so.
    ONEVENTSTRUCT bad = {};
    bad.dwNumEventAttrs = 1000000;
    CEventData none(bad);
    EXPECT_EQ(none.GetNumEventAttrs(), 0u);
    EXPECT_TRUE(none.m_attrTable.empty());
}

TEST_F(AlarmTest, SinkDropsEventsWithoutDocumentOrWindowAndSkipsTheLockOnAnEmptyLastRefresh)
{
    CComPtr<CSubscription> sink = QyrNewObject<CSubscription>();
    ONEVENTSTRUCT e = {};
    EXPECT_EQ(sink->OnEvent(0, FALSE, FALSE, 1, &e), S_FALSE);

    CAlarmDoc doc;
    EXPECT_EQ(sink->OnEvent(0, FALSE, FALSE, 1, &e), S_FALSE); // no window yet

    // With the lock held elsewhere, an empty last refresh still answers at once.
    std::atomic<bool> held{false}, release{false};
    std::thread holder(
        [&]
        {
            CLockEventDocument lock(&CAlarmDoc::m_mutexDoc);
            lock.Lock(INFINITE);
            held = true;
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(sink->OnEvent(0, TRUE, TRUE, 0, nullptr), S_OK);
    CLockEventDocument probe(&CAlarmDoc::m_mutexDoc);
    EXPECT_FALSE(probe.Lock(0));
    release = true;
    holder.join();
    EXPECT_TRUE(probe.Lock(0));
    EXPECT_TRUE(probe.IsLocked());
}

TEST_F(AlarmTest, OnlyTheCurrentDocumentTakesAWindow)
{
    auto older = std::make_unique<CAlarmDoc>();
    {
        CAlarmDoc newer; // replaces the current document; going, it leaves none
    }
    older->SetViewHwnd(m_wnd.m_hWnd);
    CLockEventDocument lock(&CAlarmDoc::m_mutexDoc, TRUE);
    EXPECT_EQ(CAlarmDoc::GetCurrentLocked(), nullptr);
    EXPECT_EQ(older->GetViewHwndLocked(), nullptr);
}

TEST_F(AlarmTest, ServerThreadEventsReachTheWindowInOrder)
{
    CAlarmDoc& doc = OpenDocument();
    ASSERT_NE(doc.GetEventServer(), nullptr);
    EXPECT_EQ(doc.GetTitle(), CString(L"ZuDizoz-Unconnected"));
    // Three conditions raised on the server's thread, then sent again in one refresh call.
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"Tank1 level high", 3, 700);
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"Tank2 level high", 3, 600);
    OpcStandIn::FireEvent(L"Plant.Area2.Pump1", L"Pump1 deviation", 4, 500);
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() == 3; }));
    doc.GetEventServer()->GetSubscription()->Refresh();
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() == 6; }));
    const std::wstring sources[] = {L"Plant.Area1.Tank1", L"Plant.Area1.Tank2", L"Plant.Area2.Pump1"};
    for (size_t i = 0; i < 6; ++i)
    {
        const std::wstring& s = sources[i % 3];
        EXPECT_EQ(SourceField(m_wnd.m_lines[i]), s + std::wstring(32 - s.size(), L' ')) << i;
        EXPECT_EQ(m_wnd.m_refresh[i], i >= 3 ? TRUE : FALSE) << i;
    }
    // Then the automatic ones.
    OpcStandIn::SetEventInterval(20);
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() >= 10; }));
    for (const std::wstring& line : m_wnd.m_lines)
        EXPECT_EQ(line.size(), line.find(L"   ") + 3 + 32 + 3 + 80);
}

TEST_F(AlarmTest, EventsForAWindowThatWentAreFreed)
{
    CAlarmDoc& doc = OpenDocument();
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"posted while closing", 3, 700);
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"posted while closing", 3, 700);
    // Posted, not yet received: the window goes first. ASan reports them if they leak.
    doc.SetViewHwnd(nullptr);
    m_wnd.DestroyWindow();
    PumpFor(50);
    EXPECT_TRUE(m_wnd.m_lines.empty());
    // With no window the sink drops them at once.
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"no window", 3, 700);
    PumpFor(20);
    EXPECT_TRUE(m_wnd.m_lines.empty());
}

TEST_F(AlarmTest, ConnectNamesTheClientAndDisconnectLetsGoOfBothSinks)
{
    CAlarmDoc& doc = OpenDocument();
    CEventServer* server = doc.GetEventServer();
    ASSERT_TRUE(server && server->IsConnected());
    EXPECT_EQ(server->GetProgID(), CString(L"Quendrel.OpcEventServer.1"));
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer, "IOPCCommon::SetClientName"), 1);
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer, "IOPCEventSubscriptionMgt::Refresh"), 1);
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer,
                                    "IOPCEventSubscriptionMgt::SelectReturnedAttributes"),
              2);
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer, "IConnectionPoint::Advise"), 2);
    doc.OnCloseDocument();
    EXPECT_EQ(doc.GetEventServer(), nullptr);
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer, "IConnectionPoint::Unadvise"), 2);
    EXPECT_EQ(OpcStandIn::LiveServerCount(CLSID_QuendrelOpcEventServer), 0);
    doc.DeleteContents(); // finds nothing more to do
    EXPECT_EQ(OpcStandIn::CallCount(CLSID_QuendrelOpcEventServer, "IConnectionPoint::Unadvise"), 2);
}

TEST_F(AlarmTest, FailedConnectionsLeaveNoServer)
{
    struct Case
    {
        const char* call; // null: creation fails
        int count;
        bool connects;
    } cases[] = {
        {nullptr, 0, false},
        {"IOPCEventServer::CreateEventSubscription", -1, false},
        {"IConnectionPoint::Advise", 1, false},                           // the event sink
        {"IOPCEventSubscriptionMgt::SelectReturnedAttributes", -1, true}, // stops, still joined
        {"IOPCEventSubscriptionMgt::GetReturnedAttributes", -1, false},
        {"IOPCCommon::SetClientName", -1, true},         // ignored
        {"IOPCEventSubscriptionMgt::Refresh", -1, true}, // ignored
    };
    for (const Case& c : cases)
    {
        OpcStandIn::Reset();
        OpcStandIn::SetEventInterval(0);
        if (c.call)
            OpcStandIn::FailCall(CLSID_QuendrelOpcEventServer, c.call, E_FAIL, c.count);
        else
            OpcStandIn::FailCreation(CLSID_QuendrelOpcEventServer);
        CAlarmDoc doc;
        EXPECT_TRUE(doc.OnNewDocument());
        EXPECT_EQ(doc.GetEventServer() != nullptr, c.connects) << (c.call ? c.call : "creation");
        EXPECT_EQ(doc.GetTitle(), CString(c.connects ? L"ZuDizoz-Unconnected" : L"ZuDizoz-Failed"));
        doc.OnCloseDocument();
        EXPECT_EQ(OpcStandIn::LiveServerCount(CLSID_QuendrelOpcEventServer), 0);
    }
}

TEST_F(AlarmTest, ASlowServerAsksWaitMoreAndIsUsedAfterNo)
{
    OpcStandIn::FAULT f;
    f.kind = OpcStandIn::FAULT_NEVER_RUNNING;
    OpcStandIn::Inject(CLSID_QuendrelOpcEventServer, f);
    int asked = 0;
    AfxSetModalHook(
        [&](const AfxModalRequest& r)
        {
            m_boxes.push_back(r.strText.str());
            return ++asked == 1 ? IDYES : IDNO;
        });
    CEventServer server;
    server.SetDefaultServer();
    EXPECT_TRUE(server.Connect());
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0], L"Server not responding within 6 secs!\nWait more?");
    EXPECT_TRUE(server.IsConnected());
    // Without asking it does not wait.
    EXPECT_FALSE(server.WaitForServerState(OPCAE_STATUS_RUNNING, 2, FALSE));
    EXPECT_EQ(m_boxes.size(), 2u);
}

TEST_F(AlarmTest, ARestartedServerIsReconnectedAndResendsItsConditions)
{
    CAlarmDoc& doc = OpenDocument();
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"before restart", 3, 700);
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() == 1; }));
    doc.CheckEventServer(); // alive: nothing changes
    EXPECT_TRUE(doc.GetEventServer() && doc.GetEventServer()->IsConnected());

    OpcStandIn::StopEventServer();
    doc.CheckEventServer(); // the status fails: let go
    EXPECT_EQ(doc.GetEventServer(), nullptr);
    EXPECT_TRUE(LogContains(L"lost"));
    doc.CheckEventServer(); // still down
    EXPECT_EQ(doc.GetEventServer(), nullptr);

    OpcStandIn::StartEventServer();
    m_boxes.clear();
    doc.CheckEventServer();
    ASSERT_TRUE(doc.GetEventServer() && doc.GetEventServer()->IsConnected());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(LogContains(L"reconnected"));
    // The refresh sends the condition raised before the restart again; then new alarms arrive.
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() == 2; }));
    EXPECT_EQ(m_wnd.m_refresh[1], TRUE);
    EXPECT_NE(m_wnd.m_lines[1].find(L"before restart"), std::wstring::npos);
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"after restart", 3, 700);
    ASSERT_TRUE(PumpUntil([&] { return m_wnd.m_lines.size() == 3; }));
    EXPECT_NE(m_wnd.m_lines[2].find(L"after restart"), std::wstring::npos);
}

TEST_F(AlarmTest, AShutdownRequestOrAServerAbsentAtStartIsHandledByTheTick)
{
    OpcStandIn::StopEventServer();
    CAlarmDoc& doc = OpenDocument();
    EXPECT_EQ(doc.GetEventServer(), nullptr);
    EXPECT_EQ(doc.GetTitle(), CString(L"ZuDizoz-Failed"));
    OpcStandIn::StartEventServer();
    doc.CheckEventServer();
    ASSERT_NE(doc.GetEventServer(), nullptr);
    EXPECT_EQ(doc.GetTitle(), CString(L"ZuDizoz-Unconnected"));

    EXPECT_EQ(OpcStandIn::RequestShutdown(CLSID_QuendrelOpcEventServer, L"going down"), 1);
    doc.CheckEventServer();
    EXPECT_EQ(doc.GetEventServer(), nullptr);
    doc.CheckEventServer();
    EXPECT_NE(doc.GetEventServer(), nullptr);
}
} // namespace
