#include "figkit/FOShapeTimers.h"

#include "mfc/Wnd.h"

#include <map>

namespace
{
std::map<int, FOShapeTimer>& Timers()
{
    static std::map<int, FOShapeTimer> timers;
    return timers;
}

int g_nNextTimerId = 1;

void Kill(CWnd* pWnd, int nTimerId)
{
    if (pWnd->GetSafeHwnd())
        pWnd->KillTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + nTimerId));
}
} // namespace

int FORegisterShapeTimer(CWnd* pWnd, CFODrawShape* pShape, int nPeriod)
{
    if (!pWnd || !pShape || nPeriod <= 0)
        return -1;
    if (g_nNextTimerId >= FO_SHAPE_TIMER_BASE * 0x7F00)
        g_nNextTimerId = 1;
    const int id = g_nNextTimerId++;
    Timers()[id] = {pWnd, pShape, nPeriod};
    if (pWnd->GetSafeHwnd())
        pWnd->SetTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id), UINT(nPeriod));
    return id;
}

void FOUnregisterShapeTimer(int nTimerId)
{
    auto& timers = Timers();
    auto it = timers.find(nTimerId);
    if (it == timers.end())
        return;
    CWnd* wnd = it->second.pWnd;
    timers.erase(it);
    Kill(wnd, nTimerId);
}

void FODropShapeTimers(const CFODrawShape* pShape)
{
    auto& timers = Timers();
    for (auto it = timers.begin(); it != timers.end();)
    {
        if (it->second.pShape != pShape)
        {
            ++it;
            continue;
        }
        CWnd* wnd = it->second.pWnd;
        const int id = it->first;
        it = timers.erase(it);
        Kill(wnd, id);
    }
}

void FODropWindowTimers(const CWnd* pWnd)
{
    auto& timers = Timers();
    for (auto it = timers.begin(); it != timers.end();)
    {
        if (it->second.pWnd == pWnd)
            it = timers.erase(it);
        else
            ++it;
    }
}

void FOStartWindowTimers(CWnd* pWnd)
{
    for (const auto& [id, timer] : Timers())
        if (timer.pWnd == pWnd)
            pWnd->SetTimer(UINT_PTR(FO_SHAPE_TIMER_BASE + id), UINT(timer.nPeriod));
}

void FOStopWindowTimers(CWnd* pWnd)
{
    for (const auto& [id, timer] : Timers())
        if (timer.pWnd == pWnd)
            Kill(pWnd, id);
}

const FOShapeTimer* FOFindShapeTimer(int nTimerId)
{
    auto& timers = Timers();
    auto it = timers.find(nTimerId);
    return it == timers.end() ? nullptr : &it->second;
}

int FOCountWindowTimers(const CWnd* pWnd)
{
    int n = 0;
    for (const auto& [id, timer] : Timers())
        if (timer.pWnd == pWnd)
            ++n;
    return n;
}
