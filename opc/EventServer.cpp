#include "opc/EventServer.h"

#include "opc/ShutdownRequest.h"
#include "opc/Subscription.h"

#include "com/ClassRegistry.h"
#include "mfc/ModalHook.h"
#include "win32/Sync.h"
#include "win32/System.h"

#include <atomic>

namespace
{
const CLSID CLSID_DefaultEventServer = {
    0xB8C9B4AE, 0x1C6A, 0x454F, {0x82, 0x32, 0xC6, 0x29, 0xFC, 0xDB, 0xE2, 0x99}};
// In-process server and handler, local and remote server.
const DWORD kServerContext = 23;
std::atomic<DWORD> g_statusWaitStep{1000};
} // namespace

// The shutdown sink of the event server: a request is only noted; the next connection check lets
// the server go.
class CEventShutdownSink : public CShutdownRequest
{
public:
    HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR) override
    {
        m_requested = true;
        return S_OK;
    }
    bool IsRequested() const { return m_requested.load(); }

    BOOL Unadvise(IUnknown* server)
    {
        CComPtr<IConnectionPointContainer> container;
        CComPtr<IConnectionPoint> point;
        if (!server || !m_dwCookie ||
            FAILED(server->QueryInterface(IID_IConnectionPointContainer,
                                          reinterpret_cast<void**>(&container))) ||
            FAILED(container->FindConnectionPoint(IID_IOPCShutdown, &point)) || !point)
            return FALSE;
        const BOOL done = SUCCEEDED(point->Unadvise(m_dwCookie));
        m_dwCookie = 0;
        return done;
    }

private:
    std::atomic<bool> m_requested{false};
};

CEventServer::CEventServer() = default;

CEventServer::~CEventServer()
{
    if (m_bConnected)
        Disconnect();
    ReleaseShutdownSink();
    if (m_pSubscription)
    {
        m_pSubscription->Shutdown();
        m_pSubscription->Release();
        m_pSubscription = nullptr;
    }
    if (m_pServer)
    {
        m_pServer->Release();
        m_pServer = nullptr;
    }
}

void CEventServer::SetStatusWaitStep(DWORD milliseconds)
{
    g_statusWaitStep = milliseconds;
}

BOOL CEventServer::SetDefaultServer()
{
    if (m_bConnected)
        Disconnect();
    m_strProgID = L"Quendrel.OpcEventServer.1";
    m_strComputer.Empty();
    m_clsid = CLSID_DefaultEventServer;
    return TRUE;
}

BOOL CEventServer::Connect(BOOL bAsk)
{
    IUnknown* created = nullptr;
    if (m_strComputer.IsEmpty())
    {
        if (FAILED(CoCreateInstance(m_clsid, nullptr, kServerContext, IID_IOPCEventServer,
                                    reinterpret_cast<void**>(&created))) ||
            !created)
            return FALSE;
    }
    else
    {
        COSERVERINFO info = {};
        info.pwszName = const_cast<LPWSTR>(m_strComputer.GetString());
        MULTI_QI qi = {&IID_IOPCEventServer, nullptr, S_OK};
        if (FAILED(CoCreateInstanceEx(m_clsid, nullptr, kServerContext, &info, 1, &qi)))
            return FALSE;
        if (FAILED(qi.hr) || !qi.pItf)
        {
            if (qi.pItf)
                qi.pItf->Release();
            return FALSE;
        }
        created = qi.pItf;
    }
    if (m_pServer)
        m_pServer->Release();
    m_pServer = nullptr;
    const HRESULT hr = created->QueryInterface(IID_IOPCEventServer, reinterpret_cast<void**>(&m_pServer));
    created->Release();
    if (FAILED(hr) || !m_pServer)
    {
        m_pServer = nullptr;
        return FALSE;
    }

    if (bAsk)
        WaitForServerState(OPCAE_STATUS_RUNNING, 5, TRUE);

    m_pSubscription = QyrNewObject<CSubscription>().Detach();
    if (!m_pSubscription->Initialize(m_pServer, 1000, 0))
    {
        m_pSubscription->Shutdown();
        m_pSubscription->Release();
        m_pSubscription = nullptr;
        return FALSE;
    }

    m_pShutdown = QyrNewObject<CEventShutdownSink>().Detach();
    if (!m_pShutdown->Advise(m_pServer))
    {
        m_pShutdown->Release();
        m_pShutdown = nullptr;
        m_pSubscription->Shutdown();
        m_pSubscription->Release();
        m_pSubscription = nullptr;
        return FALSE;
    }

    m_bConnected = TRUE;
    Register();
    m_pSubscription->Refresh();
    return TRUE;
}

void CEventServer::ReleaseShutdownSink()
{
    if (!m_pShutdown)
        return;
    m_pShutdown->Unadvise(m_pServer);
    m_pShutdown->Release();
    m_pShutdown = nullptr;
}

BOOL CEventServer::Disconnect()
{
    if (m_pSubscription)
    {
        m_pSubscription->Shutdown();
        m_pSubscription->Release();
        m_pSubscription = nullptr;
    }
    ReleaseShutdownSink();
    if (m_pServer)
    {
        m_pServer->Release();
        m_pServer = nullptr;
    }
    m_bConnected = FALSE;
    return TRUE;
}

BOOL CEventServer::WaitForServerState(OPCEVENTSERVERSTATE state, int nSeconds, BOOL bAsk)
{
    if (!m_pServer)
        return FALSE;
    int count = 0;
    for (;;)
    {
        OPCEVENTSERVERSTATUS* status = nullptr;
        if (FAILED(m_pServer->GetStatus(&status)) || !status)
        {
            if (status)
                CoTaskMemFree(status->szVendorInfo);
            CoTaskMemFree(status);
            return FALSE;
        }
        const OPCEVENTSERVERSTATE current = status->dwServerState;
        CoTaskMemFree(status->szVendorInfo);
        CoTaskMemFree(status);
        if (current == state || current == OPCAE_STATUS_NOCONFIG)
            return TRUE;
        Sleep(g_statusWaitStep.load());
        if (++count > nSeconds)
        {
            if (!bAsk)
                return FALSE;
            CString text;
            text.Format(L"Server not responding within %d secs!\nWait more?", count);
            if (AfxMessageBox(text, MB_YESNO) == IDNO)
                return FALSE;
            count = 0;
        }
    }
}

BOOL CEventServer::Register()
{
    if (!m_pServer || !m_bConnected)
        return FALSE;
    CComPtr<IOPCCommon> common;
    if (FAILED(m_pServer->QueryInterface(IID_IOPCCommon, reinterpret_cast<void**>(&common))) || !common)
        return FALSE;
    WCHAR computer[16] = {};
    DWORD size = 16;
    GetComputerNameW(computer, &size);
    const CString name = CString(L"\\\\") + computer + L"\\KovraAlarm";
    return SUCCEEDED(common->SetClientName(name));
}

BOOL CEventServer::IsServerAlive()
{
    if (!m_pServer || !m_bConnected)
        return FALSE;
    if (m_pShutdown && m_pShutdown->IsRequested())
        return FALSE;
    OPCEVENTSERVERSTATUS* status = nullptr;
    const HRESULT hr = m_pServer->GetStatus(&status);
    if (status)
        CoTaskMemFree(status->szVendorInfo);
    CoTaskMemFree(status);
    return SUCCEEDED(hr);
}
