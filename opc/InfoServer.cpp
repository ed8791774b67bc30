#include "opc/InfoServer.h"

#include "opc/AdviseSink.h"
#include "opc/IOPCServerWrapper.h"
#include "opc/IPersistFileWrapper.h"
#include "opc/Item.h"
#include "opc/OPCConnectionPoint.h"
#include "opc/OPCDialogs.h"
#include "opc/OPCShutDownRequest.h"
#include "model/OwnServer.h"

#include "logvane/Logvane.h"
#include "mfc/Archive.h"
#include "mfc/Exceptions.h"
#include "mfc/ModalHook.h"
#include "opcsdk/servers/OpcStandIn.h"
#include "win32/Sync.h"
#include "win32/System.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

IMPLEMENT_DYNCREATE(CInfoServer, CObject)

namespace
{
std::atomic<DWORD> g_statusWaitStep{1000};

BOOL IsLocalComputer(const CString& computer)
{
    return computer.IsEmpty() || computer.CompareNoCase(L"Local") == 0;
}

void FreeStatus(OPCSERVERSTATUS* status)
{
    if (status)
        CoTaskMemFree(status->szVendorInfo);
    CoTaskMemFree(status);
}
} // namespace

CInfoServer::CInfoServer() : CInfoServer(0, 0, 0) {}

CInfoServer::CInfoServer(int useDataCallback, int useAdviseSink, int useShutdownSink)
    : m_bUseDataCallback(useDataCallback != 0), m_bUseAdviseSink(useAdviseSink != 0),
      m_bUseShutdownSink(useShutdownSink != 0)
{
    Init();
}

CInfoServer::~CInfoServer()
{
    Term();
    // Owners disconnect first; client groups still left are deleted rather than lost.
    while (m_groups.GetSize() > 0)
        DeleteClientGroup(m_groups[0]);
    m_pServer.Release();
}

void CInfoServer::SetStatusWaitStep(DWORD milliseconds)
{
    g_statusWaitStep = milliseconds;
}

DWORD CInfoServer::GetStatusWaitStep()
{
    return g_statusWaitStep;
}

int CInfoServer::Init()
{
    m_fOPCVersion = 2.0f;
    m_dwDataChangeType = 1;
    if (m_bUseAdviseSink && !m_pAdviseSink)
    {
        m_pAdviseSink = new CIAdviseSink;
        m_pAdviseSink->AddRef();
    }
    if (m_bUseDataCallback && !m_pDataCallback)
        m_pDataCallback = QyrNewObject<COPCConnectionPoint>();
    if (m_bUseShutdownSink && !m_pShutdown)
        m_pShutdown = QyrNewObject<COPCShutDownRequest>();
    m_dwReloadEnumNextElements = 1;
    m_dwReloadEnumMethod = 0;
    m_dwBrowserEnumNextElements = 100;
    m_dwReloadEnumAttributesNextElements = 1;
    m_bUseValidateItems = FALSE;
    m_hrLastError = S_OK;
    m_bConnected = FALSE;
    m_clsid = GUID_NULL;
    return TRUE;
}

void CInfoServer::Term()
{
    if (m_pAdviseSink)
    {
        m_pAdviseSink->Release();
        m_pAdviseSink = nullptr;
    }
    m_pDataCallback.Release();
    if (m_pShutdown)
    {
        m_pShutdown->Unadvise(this);
        m_pShutdown.Release();
    }
    m_hrLastError = S_OK;
    m_bConnected = FALSE;
    m_clsid = GUID_NULL;
}

void CInfoServer::ResetOPCServerCLSID()
{
    Term();
}

CString CInfoServer::GetOPCServerName() const
{
    return m_strComputer + L"\\" + m_strServer;
}

CComPtr<IUnknown> CInfoServer::GetInterface() const
{
    return CComPtr<IUnknown>(static_cast<IUnknown*>(m_pServer.p));
}

unsigned CInfoServer::GetGroups(CGroupArray** out)
{
    if (out)
        *out = &m_groups;
    return unsigned(m_groups.GetSize());
}

COPCConnectionPoint* CInfoServer::GetDataAccessConnectionPoint() const
{
    return m_pDataCallback.p;
}

HRESULT CInfoServer::SafeCoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                          void** out)
{
    try
    {
        return CoCreateInstance(clsid, outer, context, iid, out);
    }
    catch (CException* e)
    {
        e->Delete();
        return E_FAIL;
    }
}

HRESULT CInfoServer::SafeCoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context,
                                            COSERVERINFO* serverInfo, DWORD count, MULTI_QI* results)
{
    try
    {
        return CoCreateInstanceEx(clsid, outer, context, serverInfo, count, results);
    }
    catch (CException* e)
    {
        e->Delete();
        return E_FAIL;
    }
}

HRESULT CInfoServer::CreateServerList(LPCWSTR computer, IOPCServerList** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    CString computerName(computer);
    CComPtr<IOPCServerList> list;
    HRESULT hr;
    if (IsLocalComputer(computerName))
        hr = SafeCoCreateInstance(CLSID_OpcServerList, nullptr, OPC_CLSCTX_SERVER, IID_IOPCServerList,
                                  reinterpret_cast<void**>(&list));
    else
    {
        std::wstring name = computerName.str();
        COSERVERINFO info = {0, name.data(), nullptr, 0};
        MULTI_QI qi = {&IID_IOPCServerList, nullptr, S_OK};
        hr = SafeCoCreateInstanceEx(CLSID_OpcServerList, nullptr, OPC_CLSCTX_SERVER, &info, 1, &qi);
        if (FAILED(hr))
            return hr;
        if (FAILED(qi.hr))
            return qi.hr;
        list.Attach(static_cast<IOPCServerList*>(qi.pItf));
    }
    if (FAILED(hr))
        return hr;
    if (!list)
        return E_FAIL;
    *out = list.Detach();
    return S_OK;
}

HRESULT CInfoServer::FindOPCServerCLSID(LPCWSTR serverText, GUID* out, LPCWSTR computer, REFGUID category)
{
    CString text(serverText);
    text.Trim(L'\'');
    if (text.IsEmpty())
        return E_FAIL;
    int space = text.Find(L' ');
    if (space > 0)
        text = text.Left(space);

    CComPtr<IOPCServerList> list;
    HRESULT hr = CreateServerList(computer, &list);
    if (FAILED(hr))
        return hr;

    CATID catid = category;
    CComPtr<IEnumGUID> classes;
    hr = list->EnumClassesOfCategories(1, &catid, 1, &catid, &classes);
    if (FAILED(hr))
        return hr;
    if (!classes)
        return E_FAIL;

    const ULONG batch = 100;
    std::vector<GUID> ids(batch);
    BOOL found = FALSE;
    while (!found)
    {
        ULONG fetched = 0;
        hr = classes->Next(batch, ids.data(), &fetched);
        if (hr != S_OK && hr != S_FALSE)
            break;
        for (ULONG i = 0; i < fetched && i < batch && !found; ++i)
        {
            LPOLESTR progId = nullptr;
            LPOLESTR userType = nullptr;
            if (SUCCEEDED(list->GetClassDetails(ids[i], &progId, &userType)) && progId && text == progId)
            {
                *out = ids[i];
                found = TRUE;
            }
            CoTaskMemFree(progId);
            CoTaskMemFree(userType);
        }
        if (hr == S_FALSE || fetched == 0)
            break;
    }
    return found ? S_OK : E_FAIL;
}

int CInfoServer::SetServer(LPCWSTR computer, LPCWSTR server)
{
    CString newComputer(computer);
    CString newServer(server);
    if (newComputer == m_strComputer && newServer == m_strServer)
        return TRUE;
    m_strComputer = newComputer;
    m_strServer = newServer;
    if (IsOwnServerName(newServer))
    {
        m_clsid = CLSID_QuendrelOpcDaServer;
        return TRUE;
    }
    CLSID clsid = GUID_NULL;
    if (FAILED(FindOPCServerCLSID(newServer, &clsid, newComputer, CATID_OPCDAServer20)))
    {
        // Only the class id goes; the callback objects stay.
        m_clsid = GUID_NULL;
        return FALSE;
    }
    m_clsid = clsid;
    return TRUE;
}

int CInfoServer::ChooseServer()
{
    COPCConnectDlgData data;
    data.strServer = m_strServer;
    data.strComputer = m_strComputer;
    data.clsid = m_clsid;
    if (COPCDialogs::DoConnectDialog(data) != IDOK)
        return FALSE;
    if (m_bConnected)
        Disconnect();
    m_strServer = data.strServer;
    m_strComputer = data.strComputer;
    m_clsid = data.clsid;
    return TRUE;
}

int CInfoServer::Connect()
{
    CComPtr<IUnknown> created;
    HRESULT hr;
    if (IsLocalComputer(m_strComputer))
        hr = SafeCoCreateInstance(m_clsid, nullptr, OPC_CLSCTX_SERVER, IID_IOPCServer,
                                  reinterpret_cast<void**>(&created));
    else
    {
        std::wstring name = m_strComputer.str();
        COSERVERINFO info = {0, name.data(), nullptr, 0};
        MULTI_QI qi = {&IID_IOPCServer, nullptr, S_OK};
        hr = SafeCoCreateInstanceEx(m_clsid, nullptr, OPC_CLSCTX_SERVER, &info, 1, &qi);
        if (SUCCEEDED(hr))
        {
            hr = qi.hr;
            created.Attach(qi.pItf);
        }
    }
    if (FAILED(hr) || !created)
        return FALSE;

    m_pServer.Release();
    if (FAILED(created->QueryInterface(IID_IOPCServer, reinterpret_cast<void**>(&m_pServer))))
        return FALSE;
    created.Release();

    WaitUntilStatusChanged(OPC_STATUS_RUNNING, 5, TRUE);
    m_bConnected = TRUE;
    if (m_pShutdown)
        m_pShutdown->Advise(this);
    return TRUE;
}

int CInfoServer::Disconnect()
{
    if (!m_pServer)
    {
        m_bConnected = FALSE;
        return TRUE;
    }
    INT_PTR count = m_groups.GetSize();
    for (INT_PTR i = 0; i < count && m_groups.GetSize() > 0; ++i)
    {
        CGroup* group = m_groups[0];
        RemoveGroup(&group, FALSE);
    }
    if (m_pShutdown)
        m_pShutdown->Unadvise(this);
    // A server that goes on running with none of our groups left will not report a suspension:
    // waiting for one would only hold up the close.
    if (!IsRunningWithoutGroups())
        WaitUntilStatusChanged(OPC_STATUS_SUSPENDED, 3, FALSE);
    m_pServer.Release();
    m_bConnected = FALSE;
    return TRUE;
}

BOOL CInfoServer::IsRunningWithoutGroups()
{
    CIOPCServer server(m_pServer);
    OPCSERVERSTATUS* status = nullptr;
    const HRESULT hr = server.GetStatus(&status);
    const BOOL idle =
        SUCCEEDED(hr) && status && status->dwServerState == OPC_STATUS_RUNNING && status->dwGroupCount == 0;
    FreeStatus(status);
    return idle;
}

int CInfoServer::WaitUntilStatusChanged(OPCSERVERSTATE state, int seconds, int askToWait)
{
    CIOPCServer server(m_pServer);
    int waited = 0;
    for (;;)
    {
        OPCSERVERSTATUS* status = nullptr;
        HRESULT hr = server.GetStatus(&status);
        if (FAILED(hr) || !status)
        {
            FreeStatus(status);
            return FALSE;
        }
        OPCSERVERSTATE current = status->dwServerState;
        FreeStatus(status);
        if (current == state || current == OPC_STATUS_NOCONFIG)
            return TRUE;
        Sleep(g_statusWaitStep);
        ++waited;
        if (waited > seconds)
        {
            if (!askToWait)
                return FALSE;
            CString text;
            text.Format(L"Server not responding within %d secs!\nWait more?", waited);
            if (AfxMessageBox(text, MB_YESNO) != IDYES)
                return FALSE;
            waited = 0;
        }
    }
}

int CInfoServer::GetStatus(int showDialog)
{
    if (!m_pServer)
        return FALSE;
    CIOPCServer server(m_pServer);
    OPCSERVERSTATUS* status = nullptr;
    HRESULT hr = server.GetStatus(&status);
    if (FAILED(hr) || !status)
    {
        FreeStatus(status);
        return FALSE;
    }
    if (showDialog)
        COPCDialogs::DoStatusDialog(*status);
    FreeStatus(status);
    return TRUE;
}

int CInfoServer::GetErrorString(HRESULT code, CString& text)
{
    if (m_pServer && m_bConnected)
    {
        CIOPCServer server(m_pServer);
        LPWSTR message = nullptr;
        if (SUCCEEDED(server.GetErrorString(code, 0, &message)) && message)
        {
            text = message;
            CoTaskMemFree(message);
            return TRUE;
        }
        CoTaskMemFree(message);
    }
    return GetSystemErrorString(code, text);
}

int CInfoServer::GetSystemErrorString(HRESULT code, CString& text)
{
    try
    {
        DWORD used = DWORD(code);
        if (((used >> 16) & 0x1FFF) == 8)
            used &= 0xFFFF;
        LPWSTR buffer = nullptr;
        DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, used, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
        if (length == 0 || !buffer)
        {
            if (buffer)
                LocalFree(buffer);
            return FALSE;
        }
        CString message(buffer);
        LocalFree(buffer);
        message.TrimRight();
        text.Format(L"%s (%#x).", message.GetString(), unsigned(used));
        return TRUE;
    }
    catch (...)
    {
        text = L"Exception in CInfoServer::GetSystemErrorString()";
        XVKLOG_ERROR(L"%s", text.GetString());
        return FALSE;
    }
}

int CInfoServer::DisplayError(HRESULT code)
{
    CString text;
    if (!GetErrorString(code, text) || text.IsEmpty())
        text.Format(L"Unknown error %#x.", unsigned(code));
    XVKLOG_ERROR(L"%s", text.GetString());
    m_hrLastError = code;
    return TRUE;
}

int CInfoServer::ReloadServer()
{
    CIPersistFile file(m_pServer);
    return SUCCEEDED(file.Load(L"dummy", 0));
}

int CInfoServer::PrintStatistic()
{
    CIPersistFile file(m_pServer);
    return SUCCEEDED(file.Save(L"dummy", FALSE));
}

void CInfoServer::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strServer << m_strComputer;
        ar << DWORD(m_clsid.Data1) << WORD(m_clsid.Data2) << WORD(m_clsid.Data3);
        for (BYTE b : m_clsid.Data4)
            ar << b;
        ar << DWORD(m_dwReloadEnumMethod) << DWORD(m_dwReloadEnumNextElements)
           << DWORD(m_dwBrowserEnumNextElements) << DWORD(m_dwReloadEnumAttributesNextElements)
           << m_fOPCVersion << DWORD(m_dwDataChangeType) << DWORD(m_bUseValidateItems);
        ar.WriteCount(DWORD_PTR(m_groups.GetSize()));
        // The placeholders stay 4 bytes: the groups' client handles.
        for (INT_PTR i = 0; i < m_groups.GetSize(); ++i)
            ar << DWORD(m_groups[i]->GetClientHandle());
        for (INT_PTR i = 0; i < m_groups.GetSize(); ++i)
            m_groups[i]->Serialize(ar);
        return;
    }

    while (m_groups.GetSize() > 0)
        DeleteClientGroup(m_groups[0]);
    try
    {
        ar >> m_strServer >> m_strComputer;
        DWORD data1 = 0;
        WORD data2 = 0, data3 = 0;
        ar >> data1 >> data2 >> data3;
        m_clsid.Data1 = data1;
        m_clsid.Data2 = data2;
        m_clsid.Data3 = data3;
        for (BYTE& b : m_clsid.Data4)
            ar >> b;
        DWORD method = 0, reloadBatch = 0, browserBatch = 0, attributesBatch = 0, changeType = 0,
              validate = 0;
        ar >> method >> reloadBatch >> browserBatch >> attributesBatch >> m_fOPCVersion >> changeType >>
            validate;
        m_dwReloadEnumMethod = method;
        m_dwReloadEnumNextElements = reloadBatch;
        m_dwBrowserEnumNextElements = browserBatch;
        m_dwReloadEnumAttributesNextElements = attributesBatch;
        m_dwDataChangeType = changeType;
        m_bUseValidateItems = BOOL(validate);
        DWORD_PTR count = ar.ReadCount(sizeof(DWORD));
        for (DWORD_PTR i = 0; i < count; ++i)
        {
            DWORD placeholder = 0;
            ar >> placeholder;
        }
        for (DWORD_PTR i = 0; i < count; ++i)
        {
            XVKLOG_ERROR(L"we should use ptr array instead!");
            auto group = std::make_unique<CGroup>();
            m_groups.Add(group.get());
            group.release()->Serialize(ar);
        }
    }
    catch (...)
    {
        while (m_groups.GetSize() > 0)
            DeleteClientGroup(m_groups[0]);
        throw;
    }
}

void CInfoServer::DeleteClientGroup(CGroup* group)
{
    INT_PTR slot = -1;
    for (INT_PTR i = 0; i < m_groups.GetSize(); ++i)
    {
        if (m_groups[i] == group)
        {
            slot = i;
            break;
        }
    }
    if (slot < 0)
        return;
    CItemArray* items = nullptr;
    group->GetItems(&items);
    while (items->GetSize() > 0)
    {
        CItem* item = items->GetAt(0);
        items->RemoveAt(0);
        delete item;
    }
    m_groups.RemoveAt(slot);
    delete group;
}
