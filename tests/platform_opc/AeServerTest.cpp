// "Quendrel.OpcEventServer.1": subscriptions, events with attributes, refresh.
#include "OpcTestSinks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{
class CTestEventSink : public CComObjectImpl<IOPCEventSink>, public CWaitable
{
public:
    struct Event
    {
        std::wstring source, message, condition;
        DWORD category;
        DWORD severity;
        std::vector<VARTYPE> attributeTypes;
        std::wstring area;
        BOOL refresh;
        BOOL last;
        std::thread::id thread;
    };
    HRESULT STDMETHODCALLTYPE OnEvent(OPCHANDLE, BOOL bRefresh, BOOL bLastRefresh, DWORD dwCount,
                                      ONEVENTSTRUCT* pEvents) override
    {
        std::lock_guard lock(m_mutex);
        ++calls;
        if (bLastRefresh)
            ++lastRefreshCalls;
        for (DWORD i = 0; i < dwCount; ++i)
        {
            const ONEVENTSTRUCT& e = pEvents[i];
            Event r{e.szSource, e.szMessage, e.szConditionName, e.dwEventCategory,         e.dwSeverity, {},
                    L"",        bRefresh,    bLastRefresh,      std::this_thread::get_id()};
            for (DWORD a = 0; a < e.dwNumEventAttrs; ++a)
            {
                r.attributeTypes.push_back(e.pEventAttributes[a].vt);
                if (e.pEventAttributes[a].vt == VT_BSTR)
                    r.area = e.pEventAttributes[a].bstrVal;
            }
            events.push_back(r);
        }
        Notify();
        return S_OK;
    }
    std::vector<Event> Events()
    {
        std::lock_guard lock(m_mutex);
        return events;
    }
    int LastRefreshCalls()
    {
        std::lock_guard lock(m_mutex);
        return lastRefreshCalls;
    }
    bool WaitEvents(size_t count, int ms = 3000)
    {
        return WaitFor([&] { return events.size() >= count; }, ms);
    }
    bool WaitLastRefresh(int count)
    {
        return WaitFor([&] { return lastRefreshCalls >= count; });
    }

private:
    std::vector<Event> events;
    int calls = 0;
    int lastRefreshCalls = 0;
};

class AeServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpcStandIn::Reset();
        OpcStandIn::SetEventInterval(0);
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QuendrelOpcEventServer, nullptr, CLSCTX_ALL,
                                         IID_IOPCEventServer, reinterpret_cast<void**>(&server)));
        DWORD revisedTime = 0, revisedSize = 0;
        ASSERT_EQ(S_OK, server->CreateEventSubscription(TRUE, 1000, 0, 0, IID_IOPCEventSubscriptionMgt,
                                                        reinterpret_cast<LPUNKNOWN*>(&subscription),
                                                        &revisedTime, &revisedSize));
        EXPECT_EQ(1000u, revisedTime);
        sink = QyrNewObject<CTestEventSink>();
        cookie = AdviseOn(subscription, IID_IOPCEventSink, sink->GetUnknown());
        ASSERT_NE(0u, cookie);
        DWORD ids[4] = {0, 1, 2, 3};
        for (DWORD category : {3u, 4u})
            ASSERT_EQ(S_OK, subscription->SelectReturnedAttributes(category, 4, ids));
    }
    void TearDown() override
    {
        UnadviseOn(subscription, IID_IOPCEventSink, cookie);
        subscription.Release();
        server.Release();
        OpcStandIn::Reset();
    }

    CComPtr<IOPCEventServer> server;
    CComPtr<IOPCEventSubscriptionMgt> subscription;
    CComPtr<CTestEventSink> sink;
    DWORD cookie = 0;
};

TEST_F(AeServerTest, EventsArriveFromTheServerThreadWithTheSelectedAttributes)
{
    OPCEVENTSERVERSTATUS* status = nullptr;
    ASSERT_EQ(S_OK, server->GetStatus(&status));
    EXPECT_EQ(OPCAE_STATUS_RUNNING, status->dwServerState);
    CoTaskMemFree(status->szVendorInfo);
    CoTaskMemFree(status);
    CComQIPtr<IOPCCommon> common(server.p);
    ASSERT_TRUE(common);
    EXPECT_EQ(S_OK, common->SetClientName(L"\\\\host\\KovraAlarm"));
    DWORD n = 0, *attributes = nullptr;
    ASSERT_EQ(S_OK, subscription->GetReturnedAttributes(3, &n, &attributes));
    EXPECT_EQ(4u, n);
    CoTaskMemFree(attributes);
    DWORD bad = 9;
    EXPECT_EQ(E_INVALIDARG, subscription->SelectReturnedAttributes(3, 1, &bad));

    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"Tank1 level high", 3, 700);
    OpcStandIn::FireEvent(L"System", L"Started", 1, 100);
    auto events = sink->Events(); // FireEvent returns once the sinks were called
    ASSERT_EQ(2u, events.size());
    EXPECT_EQ(L"Plant.Area1.Tank1", events[0].source);
    EXPECT_EQ(L"Tank1 level high", events[0].message);
    EXPECT_EQ(L"LevelAlarm", events[0].condition);
    EXPECT_EQ(700u, events[0].severity);
    EXPECT_EQ((std::vector<VARTYPE>{VT_R8, VT_R8, VT_R8, VT_BSTR}), events[0].attributeTypes);
    EXPECT_EQ(L"Plant.Area1", events[0].area);
    EXPECT_FALSE(events[0].refresh);
    EXPECT_NE(std::this_thread::get_id(), events[0].thread);
    // No attributes were selected for category 1.
    EXPECT_TRUE(events[1].attributeTypes.empty());
}

TEST_F(AeServerTest, RefreshSendsTheActiveConditionsWithTheLastFlag)
{
    EXPECT_EQ(E_INVALIDARG, subscription->Refresh(0));
    // No conditions yet: one empty call that is the last.
    ASSERT_EQ(S_OK, subscription->Refresh(cookie));
    ASSERT_TRUE(sink->WaitLastRefresh(1));
    EXPECT_TRUE(sink->Events().empty());
    OpcStandIn::FireEvent(L"Plant.Area1.Tank2", L"Tank2 level high", 3, 600);
    OpcStandIn::FireEvent(L"Plant.Area2.Pump1", L"Pump1 deviation", 4, 500);
    OpcStandIn::FireEvent(L"System", L"Simple events are not conditions", 1, 100);
    ASSERT_EQ(S_OK, subscription->Refresh(cookie));
    ASSERT_TRUE(sink->WaitLastRefresh(2));
    std::vector<std::wstring> refreshed;
    for (const auto& e : sink->Events())
    {
        if (e.refresh)
        {
            EXPECT_TRUE(e.last);
            refreshed.push_back(e.source);
        }
    }
    EXPECT_THAT(refreshed, ::testing::UnorderedElementsAre(L"Plant.Area1.Tank2", L"Plant.Area2.Pump1"));
}

TEST_F(AeServerTest, FiltersAndAutomaticEvents)
{
    DWORD categories[1] = {4};
    ASSERT_EQ(S_OK, subscription->SetFilter(OPC_ALL_EVENTS, 1, categories, 1, 1000, 0, nullptr, 0, nullptr));
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"filtered out", 3, 700);
    EXPECT_TRUE(sink->Events().empty());
    ASSERT_EQ(S_OK, subscription->SetFilter(OPC_ALL_EVENTS, 0, nullptr, 1, 1000, 0, nullptr, 0, nullptr));
    OpcStandIn::SetEventInterval(20);
    EXPECT_TRUE(sink->WaitEvents(4));
    OpcStandIn::SetEventInterval(0);
    BOOL active = FALSE;
    ASSERT_EQ(S_OK, subscription->SetState(&active, nullptr, nullptr, 0, nullptr, nullptr));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    size_t before = sink->Events().size();
    OpcStandIn::FireEvent(L"Plant.Area1.Tank1", L"inactive", 3, 700);
    EXPECT_EQ(before, sink->Events().size());
}
} // namespace
