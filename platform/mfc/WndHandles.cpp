#include "mfc/WndPrivate.h"

#include <QPointer>
#include <QVariant>

#include <algorithm>
#include <mutex>
#include <thread>
#include <unordered_map>

// The handle table: every window's handle, its object and its widget.

namespace
{
const char kHwndProperty[] = "qyr.hwnd";

struct CWndEntry
{
    CWnd* pWnd;
    QPointer<QWidget> widget;
    uintptr_t nSerial;
    std::thread::id thread; // the one that made the window and handles its messages
};

struct CWndTable
{
    std::mutex mutex;
    std::unordered_map<HWND, CWndEntry> entries;
    uintptr_t nNext = 0x1000;
};

CWndTable& Table()
{
    static CWndTable* table = new CWndTable; // lives as long as the process: windows may outlive statics
    return *table;
}
} // namespace

HWND AfxNewWindowHandle()
{
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return reinterpret_cast<HWND>(t.nNext++);
}

void AfxBindWindow(HWND hWnd, CWnd* pWnd, QWidget* pWidget)
{
    CWndTable& t = Table();
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        t.entries[hWnd] =
            CWndEntry{pWnd, pWidget, reinterpret_cast<uintptr_t>(hWnd), std::this_thread::get_id()};
    }
    if (pWidget)
        pWidget->setProperty(kHwndProperty,
                             QVariant::fromValue<qulonglong>(reinterpret_cast<uintptr_t>(hWnd)));
}

void AfxUnbindWindow(HWND hWnd)
{
    QPointer<QWidget> widget;
    CWndTable& t = Table();
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        auto it = t.entries.find(hWnd);
        if (it == t.entries.end())
            return;
        widget = it->second.widget;
        t.entries.erase(it);
    }
    if (widget && AfxHandleFromWidget(widget) == hWnd)
        widget->setProperty(kHwndProperty, QVariant());
}

CWnd* AfxRebindWindow(HWND hWnd, CWnd* pWnd)
{
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.entries.find(hWnd);
    if (it == t.entries.end())
        return nullptr;
    CWnd* old = it->second.pWnd;
    it->second.pWnd = pWnd;
    return old;
}

QWidget* AfxWidgetFromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.entries.find(hWnd);
    return it == t.entries.end() ? nullptr : it->second.widget.data();
}

HWND AfxHandleFromWidget(const QWidget* pWidget)
{
    if (!pWidget)
        return nullptr;
    const QVariant v = pWidget->property(kHwndProperty);
    return v.isValid() ? reinterpret_cast<HWND>(uintptr_t(v.toULongLong())) : nullptr;
}

HWND AfxWindowAtOrAbove(const QWidget* pWidget)
{
    for (const QWidget* w = pWidget; w; w = w->parentWidget())
    {
        if (HWND h = AfxHandleFromWidget(w))
            return h;
    }
    return nullptr;
}

std::vector<HWND> AfxAllWindows()
{
    CWndTable& t = Table();
    std::vector<HWND> all;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        all.reserve(t.entries.size());
        for (const auto& [h, e] : t.entries)
            all.push_back(h);
    }
    std::sort(all.begin(), all.end(),
              [](HWND a, HWND b) { return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b); });
    return all;
}

void AfxWidgetDying(QWidget* pWidget)
{
    const HWND hWnd = AfxHandleFromWidget(pWidget);
    if (!hWnd)
        return;
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
        CWndAccess::Destroy(pWnd, true, true);
    else
        AfxUnbindWindow(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return FromHandlePermanent(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.entries.find(hWnd);
    return it == t.entries.end() ? nullptr : it->second.pWnd;
}

bool AfxOnWindowThread(HWND hWnd)
{
    if (!hWnd)
        return true;
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.entries.find(hWnd);
    return it == t.entries.end() || it->second.thread == std::this_thread::get_id();
}

// Any thread may ask: the table has its own lock.
BOOL IsWindow(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    CWndTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.entries.count(hWnd) != 0;
}
