// Sinks and helpers shared by the stand-in server tests.
#pragma once

#include "opcsdk/Opc.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Frees what a server handed out.
struct TaskFree
{
    void operator()(void* p) const { CoTaskMemFree(p); }
};

// Waits for a condition on state guarded by m_mutex, up to ms.
class CWaitable
{
public:
    template <class Pred> bool WaitFor(Pred pred, int ms = 3000)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(ms), pred);
    }

protected:
    void Notify() { m_changed.notify_all(); }
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// Records every data callback with the thread it came on.
class CTestDataCallback : public CComObjectImpl<IOPCDataCallback>, public CWaitable
{
public:
    struct Value
    {
        double number = 0.0;
        std::wstring text;
        VARTYPE vt = VT_EMPTY;
        WORD quality = 0;
        HRESULT error = S_OK;
        FILETIME time{};
    };
    struct Call
    {
        std::string kind;
        DWORD transId;
        OPCHANDLE hGroup;
        std::thread::id thread;
        std::map<OPCHANDLE, Value> items;
    };

    HRESULT STDMETHODCALLTYPE OnDataChange(DWORD dwTransid, OPCHANDLE hGroup, HRESULT, HRESULT, DWORD dwCount,
                                           OPCHANDLE* phClientItems, VARIANT* pvValues, WORD* pwQualities,
                                           FILETIME* pftTimeStamps, HRESULT* pErrors) override
    {
        Record("data", dwTransid, hGroup, dwCount, phClientItems, pvValues, pwQualities, pftTimeStamps,
               pErrors);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnReadComplete(DWORD dwTransid, OPCHANDLE hGroup, HRESULT, HRESULT,
                                             DWORD dwCount, OPCHANDLE* phClientItems, VARIANT* pvValues,
                                             WORD* pwQualities, FILETIME* pftTimeStamps,
                                             HRESULT* pErrors) override
    {
        Record("read", dwTransid, hGroup, dwCount, phClientItems, pvValues, pwQualities, pftTimeStamps,
               pErrors);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnWriteComplete(DWORD dwTransid, OPCHANDLE hGroup, HRESULT, DWORD dwCount,
                                              OPCHANDLE* pClienthandles, HRESULT* pErrors) override
    {
        Call call{"write", dwTransid, hGroup, std::this_thread::get_id(), {}};
        for (DWORD i = 0; i < dwCount; ++i)
            call.items[pClienthandles[i]].error = pErrors[i];
        Add(std::move(call));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnCancelComplete(DWORD dwTransid, OPCHANDLE hGroup) override
    {
        Add(Call{"cancel", dwTransid, hGroup, std::this_thread::get_id(), {}});
        return S_OK;
    }

    std::vector<Call> Calls()
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    size_t CountOf(const std::string& kind)
    {
        std::lock_guard lock(m_mutex);
        size_t n = 0;
        for (const Call& c : m_calls)
            n += c.kind == kind;
        return n;
    }
    bool WaitKind(const std::string& kind, size_t count = 1, int ms = 3000)
    {
        return WaitFor(
            [&]
            {
                size_t n = 0;
                for (const Call& c : m_calls)
                    n += c.kind == kind;
                return n >= count;
            },
            ms);
    }
    // The latest value reported for a client handle.
    bool Latest(OPCHANDLE h, Value* out)
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_calls.rbegin(); it != m_calls.rend(); ++it)
        {
            auto f = it->items.find(h);
            if (f != it->items.end() && (it->kind == "data" || it->kind == "read"))
            {
                *out = f->second;
                return true;
            }
        }
        return false;
    }
    void Clear()
    {
        std::lock_guard lock(m_mutex);
        m_calls.clear();
    }

private:
    void Record(const char* kind, DWORD transId, OPCHANDLE hGroup, DWORD count, OPCHANDLE* handles,
                VARIANT* values, WORD* qualities, FILETIME* times, HRESULT* errors)
    {
        Call call{kind, transId, hGroup, std::this_thread::get_id(), {}};
        for (DWORD i = 0; i < count; ++i)
        {
            Value v;
            v.vt = values[i].vt;
            v.quality = qualities[i];
            v.error = errors[i];
            v.time = times[i];
            if (values[i].vt == VT_BSTR)
                v.text = values[i].bstrVal ? values[i].bstrVal : L"";
            else
            {
                VARIANT r8;
                VariantInit(&r8);
                if (SUCCEEDED(VariantChangeType(&r8, &values[i], 0, VT_R8)))
                    v.number = r8.dblVal;
            }
            call.items[handles[i]] = v;
        }
        Add(std::move(call));
    }
    void Add(Call call)
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        Notify();
    }
    std::vector<Call> m_calls;
};

// Records DA 1.0 stream blocks as parsed by the checked reader.
class CTestAdviseSink : public CComObjectImpl<IAdviseSink>, public CWaitable
{
public:
    struct Block
    {
        UINT format;
        OPCGROUPHEADER header{};
        OPCGROUPHEADERWRITE writeHeader{};
        std::vector<OPCHANDLE> clients;
        std::vector<double> numbers;
        std::vector<std::wstring> texts;
        std::vector<FILETIME> times;
        std::vector<HRESULT> writeErrors;
        std::thread::id thread;
    };

    void STDMETHODCALLTYPE OnDataChange(FORMATETC* pFormatetc, STGMEDIUM* pStgmed) override
    {
        Block b;
        b.format = pFormatetc->cfFormat;
        b.thread = std::this_thread::get_id();
        auto* data = static_cast<const BYTE*>(GlobalLock(pStgmed->hGlobal));
        size_t size = GlobalSize(pStgmed->hGlobal);
        if (b.format == RegisterClipboardFormatW(OPCSTMFORMATWRITECOMPLETE_NAME))
        {
            std::vector<OPCITEMHEADERWRITE> items;
            OpcStreamReadWriteComplete(data, size, &b.writeHeader, &items);
            for (const auto& i : items)
            {
                b.clients.push_back(i.hClient);
                b.writeErrors.push_back(i.dwError);
            }
        }
        else
        {
            std::vector<OPCSTMITEM> items;
            BOOL withTime = b.format == RegisterClipboardFormatW(OPCSTMFORMATDATATIME_NAME);
            OpcStreamReadData(data, size, withTime, &b.header, &items);
            for (OPCSTMITEM& i : items)
            {
                b.clients.push_back(i.hClient);
                b.times.push_back(i.ftTimeStamp);
                b.texts.push_back(i.vValue.vt == VT_BSTR ? i.vValue.bstrVal : L"");
                VARIANT r8;
                VariantInit(&r8);
                b.numbers.push_back(SUCCEEDED(VariantChangeType(&r8, &i.vValue, 0, VT_R8)) ? r8.dblVal : 0.0);
            }
            OpcStreamClear(&items);
        }
        GlobalUnlock(pStgmed->hGlobal);
        std::lock_guard lock(m_mutex);
        m_blocks.push_back(std::move(b));
        Notify();
    }
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override {}
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override {}

    std::vector<Block> Blocks()
    {
        std::lock_guard lock(m_mutex);
        return m_blocks;
    }
    bool WaitBlock(std::function<bool(const Block&)> match, int ms = 3000)
    {
        return WaitFor(
            [&]
            {
                for (const Block& b : m_blocks)
                {
                    if (match(b))
                        return true;
                }
                return false;
            },
            ms);
    }

private:
    std::vector<Block> m_blocks;
};

class CTestShutdownSink : public CComObjectImpl<IOPCShutdown>, public CWaitable
{
public:
    HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR szReason) override
    {
        std::lock_guard lock(m_mutex);
        reasons.push_back(szReason ? szReason : L"");
        thread = std::this_thread::get_id();
        Notify();
        return S_OK;
    }
    std::vector<std::wstring> reasons;
    std::thread::id thread;
};

// Advises a sink on an object's connection point; the cookie or 0.
inline DWORD AdviseOn(IUnknown* object, REFIID iid, IUnknown* sink)
{
    CComQIPtr<IConnectionPointContainer> container(object);
    if (!container)
        return 0;
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(iid, &point)))
        return 0;
    DWORD cookie = 0;
    point->Advise(sink, &cookie);
    return cookie;
}

inline HRESULT UnadviseOn(IUnknown* object, REFIID iid, DWORD cookie)
{
    CComQIPtr<IConnectionPointContainer> container(object);
    CComPtr<IConnectionPoint> point;
    HRESULT hr = container ? container->FindConnectionPoint(iid, &point) : E_NOINTERFACE;
    return FAILED(hr) ? hr : point->Unadvise(cookie);
}
