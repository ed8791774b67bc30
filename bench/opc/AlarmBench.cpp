// Alarms and events: 1,000 events handed over in one sink call on a server thread, each posted to
// a window that shows its display line and deletes it (goal: under 500 ms for the lot). The window
// stands in for the viewer's caption bar: a plain window whose static text takes each line.
#include "opc/AlarmDoc.h"
#include "opc/EventData.h"
#include "opc/Subscription.h"

#include "com/Bstr.h"
#include "mfc/StaticCtl.h"
#include "mfc/Wnd.h"
#include "win32/System.h"

#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

namespace
{
class CCaptionStandIn : public CWnd
{
public:
    CStatic m_text;
    size_t m_shown = 0;

    LRESULT OnAlarmEvent(WPARAM wParam, LPARAM)
    {
        auto* pData = reinterpret_cast<CEventData*>(wParam);
        m_text.SetWindowText(pData->GetFormatMessage());
        ++m_shown;
        delete pData;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCaptionStandIn, CWnd)
ON_MESSAGE(WM_ALARM_EVENT, &CCaptionStandIn::OnAlarmEvent)
END_MESSAGE_MAP()

void BM_ThousandEventsInOneSinkCall(benchmark::State& state)
{
    AfxEnsureApplication();
    CCaptionStandIn wnd;
    wnd.CreateEx(0, nullptr, L"alarms", WS_POPUP, 0, 0, 900, 30, nullptr, nullptr);
    wnd.m_text.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 900, 30), &wnd, 221);
    CAlarmDoc doc;
    doc.SetViewHwnd(wnd.m_hWnd);
    CComPtr<CSubscription> sink = QyrNewObject<CSubscription>();

    // Condition events as the server sends them: texts and four attributes each.
    const size_t count = 1000;
    std::vector<std::wstring> sources(count), messages(count);
    std::vector<std::vector<VARIANT>> attributes(count);
    std::vector<ONEVENTSTRUCT> events(count);
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    for (size_t i = 0; i < count; ++i)
    {
        sources[i] = L"Plant.Area1.Tank" + std::to_wstring(i);
        messages[i] = sources[i] + L" level high";
        attributes[i].resize(4);
        for (int a = 0; a < 3; ++a)
        {
            VariantInit(&attributes[i][a]);
            attributes[i][a].vt = VT_R8;
            attributes[i][a].dblVal = 90.0 + a;
        }
        VariantInit(&attributes[i][3]);
        attributes[i][3].vt = VT_BSTR;
        attributes[i][3].bstrVal = SysAllocString(L"Plant.Area1");
        ONEVENTSTRUCT& e = events[i];
        e = {};
        e.szSource = sources[i].data();
        e.szMessage = messages[i].data();
        e.szConditionName = const_cast<LPWSTR>(L"LevelAlarm");
        e.szSubconditionName = const_cast<LPWSTR>(L"HI");
        e.szActorID = const_cast<LPWSTR>(L"");
        e.ftTime = now;
        e.ftActiveTime = now;
        e.dwEventType = OPC_CONDITION_EVENT;
        e.dwEventCategory = 3;
        e.dwSeverity = 700;
        e.dwNumEventAttrs = 4;
        e.pEventAttributes = attributes[i].data();
    }

    // Fonts and layout are made on first use; that is start-up, not the events' cost.
    wnd.m_text.SetWindowText(L"warm-up");
    AfxPumpMessages();

    for (auto _ : state)
    {
        wnd.m_shown = 0;
        std::thread server([&] { sink->OnEvent(0, FALSE, FALSE, DWORD(count), events.data()); });
        server.join();
        while (wnd.m_shown < count)
            AfxPumpMessages();
    }
    state.counters["events"] = double(count);
    for (auto& list : attributes)
    {
        for (VARIANT& v : list)
            VariantClear(&v);
    }
    doc.SetViewHwnd(nullptr);
    wnd.DestroyWindow();
}
BENCHMARK(BM_ThousandEventsInOneSinkCall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
} // namespace
