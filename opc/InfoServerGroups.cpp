// CInfoServer: creating, cloning, editing, removing and re-creating the server's groups.
#include "opc/InfoServer.h"

#include "opc/IOPCGroupStateMgtWrapper.h"
#include "opc/IOPCServerWrapper.h"
#include "opc/InfoServerExplorerDoc.h"
#include "opc/Item.h"
#include "opc/OPCDialogs.h"

#include "logvane/Logvane.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
// The group's interface as the newer or the older group interface.
void SetGroupInterface(CGroup* group, IUnknown* object, BOOL newer)
{
    group->ReleaseInterfaces();
    if (newer)
    {
        CComQIPtr<IOPCGroupStateMgt2> second(object);
        group->SetInterface2(second);
    }
    else
    {
        CComQIPtr<IOPCGroupStateMgt> first(object);
        group->SetInterface1(first);
    }
}

void DeleteItemsOf(CGroup* group)
{
    CItemArray* items = nullptr;
    group->GetItems(&items);
    while (items->GetSize() > 0)
    {
        CItem* item = items->GetAt(0);
        items->RemoveAt(0);
        delete item;
    }
}
} // namespace

CGroup* CInfoServer::SafeAddGroup(LPCWSTR name, DWORD lcid, DWORD updateRate, BOOL active,
                                  BOOL dataChangeEnabled, LONG& timeBias, FLOAT& deadBand)
{
    return AddGroup(name, lcid, updateRate, active, dataChangeEnabled, timeBias, deadBand);
}

CGroup* CInfoServer::AddGroup(LPCWSTR name, DWORD lcid, DWORD updateRate, BOOL active, BOOL dataChangeEnabled,
                              LONG& timeBias, FLOAT& deadBand)
{
    if (!m_pServer)
        return nullptr;
    auto owned = std::make_unique<CGroup>();
    CGroup* group = owned.get();
    OPCHANDLE serverHandle = 0;
    DWORD revisedRate = 0;
    CComPtr<IUnknown> object;
    HRESULT hr;
    {
        CIOPCServer server(m_pServer);
        hr = server.AddGroup(name, active, updateRate, group->GetClientHandle(), &timeBias, &deadBand, lcid,
                             &serverHandle, &revisedRate, IID_IOPCGroupStateMgt, &object);
    }
    if (FAILED(hr) || !object)
    {
        DisplayError(FAILED(hr) ? hr : E_NOINTERFACE);
        if (SUCCEEDED(hr))
            RemoveGroupOnServerQuietly(serverHandle);
        return nullptr;
    }
    CComQIPtr<IOPCGroupStateMgt2> second(object.p);
    SetGroupInterface(group, object, second ? TRUE : FALSE);
    second.Release();
    object.Release();
    group->SetInfoServer(this);
    m_groups.Add(group);
    owned.release();

    DWORD rate = 0;
    BOOL reportedActive = FALSE;
    LPWSTR reportedName = nullptr;
    LONG bias = 0;
    FLOAT band = 0.0f;
    DWORD locale = 0;
    OPCHANDLE clientHandle = 0;
    OPCHANDLE reportedServerHandle = 0;
    {
        CIOPCGroupStateMgt stateMgt(group->GetSafeInterface());
        hr = stateMgt.GetState(&rate, &reportedActive, &reportedName, &bias, &band, &locale, &clientHandle,
                               &reportedServerHandle);
    }
    if (FAILED(hr))
    {
        DisplayError(hr);
        CoTaskMemFree(reportedName);
        // Neither side keeps the group.
        m_groups.RemoveAt(m_groups.GetSize() - 1);
        group->ReleaseInterfaces();
        RemoveGroupOnServerQuietly(serverHandle);
        delete group;
        return nullptr;
    }
    group->SetHandle(reportedServerHandle);
    group->SetActive(reportedActive);
    group->SetUpdateRate(rate);
    group->SetTimeBias(bias);
    group->SetDeadBand(band);
    group->SetLCID(locale);
    group->SetName(reportedName ? reportedName : name);
    CoTaskMemFree(reportedName);
    group->SetDataChangeEnabled(dataChangeEnabled, FALSE);
    group->Advise();
    return group;
}

int CInfoServer::AddGroup(CGroup** out)
{
    COPCGroupDlgData data;
    if (COPCDialogs::DoGroupDialog(data) != IDOK)
        return FALSE;
    LONG bias = data.lTimeBias;
    FLOAT band = data.fDeadBand;
    CGroup* group = AddGroup(data.strName, data.dwLCID, data.dwUpdateRate, data.bActive,
                             data.bDataChangeEnabled, bias, band);
    if (!group)
        return FALSE;
    if (out)
        *out = group;
    return TRUE;
}

void CInfoServer::RemoveGroupOnServerQuietly(OPCHANDLE serverHandle)
{
    if (!m_pServer)
        return;
    CIOPCServer server(m_pServer);
    server.RemoveGroup(serverHandle, FALSE);
}

int CInfoServer::CloneGroup(CGroup* source, CGroup** out)
{
    return CloneGroupWith(source, out, FALSE, nullptr);
}

int CInfoServer::CloneGroup2(CGroup* source, CGroup** out)
{
    return CloneGroupWith(source, out, TRUE, nullptr);
}

int CInfoServer::SafeCloneGroup(CGroup* source, CGroup** out)
{
    BOOL cancelled = FALSE;
    if (CloneGroupWith(source, out, TRUE, &cancelled))
        return TRUE;
    // A cancelled dialog is the user's answer, not a reason to ask again.
    if (cancelled)
        return FALSE;
    return CloneGroupWith(source, out, FALSE, nullptr);
}

int CInfoServer::CloneGroupWith(CGroup* source, CGroup** out, BOOL newer, BOOL* cancelled)
{
    if (cancelled)
        *cancelled = FALSE;
    if (!source)
        return FALSE;
    std::unique_ptr<CIOPCGroupStateMgt> sourceMgt;
    if (newer)
        sourceMgt = std::make_unique<CIOPCGroupStateMgt>(source->GetInterface2().p);
    else
        sourceMgt = std::make_unique<CIOPCGroupStateMgt>(source->GetInterface1().p);

    DWORD rate = 0;
    BOOL active = FALSE;
    LPWSTR name = nullptr;
    LONG bias = 0;
    FLOAT band = 0.0f;
    DWORD locale = 0;
    OPCHANDLE clientHandle = 0, serverHandle = 0;
    HRESULT hr =
        sourceMgt->GetState(&rate, &active, &name, &bias, &band, &locale, &clientHandle, &serverHandle);
    CoTaskMemFree(name);
    if (FAILED(hr))
        return FALSE;

    COPCGroupDlgData data;
    data.strName = source->GetName();
    if (COPCDialogs::DoGroupDialog(data) != IDOK)
    {
        if (cancelled)
            *cancelled = TRUE;
        return FALSE;
    }

    CComPtr<IUnknown> clone;
    hr = sourceMgt->CloneGroup(data.strName, newer ? IID_IOPCGroupStateMgt2 : IID_IOPCGroupStateMgt, &clone);
    if (FAILED(hr) || !clone)
        return FALSE;

    DWORD cloneRate = 0;
    BOOL cloneActive = FALSE;
    LPWSTR cloneName = nullptr;
    LONG cloneBias = 0;
    FLOAT cloneBand = 0.0f;
    DWORD cloneLocale = 0;
    OPCHANDLE cloneClient = 0, cloneServer = 0;
    auto cloneMgt = std::make_unique<CIOPCGroupStateMgt>(clone.p);
    hr = cloneMgt->GetState(&cloneRate, &cloneActive, &cloneName, &cloneBias, &cloneBand, &cloneLocale,
                            &cloneClient, &cloneServer);
    if (FAILED(hr))
    {
        // Without its state the clone's handle is unknown, so it cannot be removed here.
        CoTaskMemFree(cloneName);
        return FALSE;
    }

    auto group = std::make_unique<CGroup>();
    DWORD revisedRate = 0;
    OPCHANDLE newClient = group->GetClientHandle();
    hr = cloneMgt->SetState(&rate, &revisedRate, &active, &bias, &band, &locale, &newClient);
    if (FAILED(hr))
    {
        CoTaskMemFree(cloneName);
        cloneMgt.reset();
        clone.Release();
        RemoveGroupOnServerQuietly(cloneServer);
        return FALSE;
    }
    SetGroupInterface(group.get(), clone, newer);
    group->SetInfoServer(this);
    group->SetName(cloneName ? cloneName : data.strName.GetString());
    CoTaskMemFree(cloneName);
    group->SetHandle(cloneServer);
    group->SetActive(active);
    group->SetUpdateRate(revisedRate);
    group->SetTimeBias(bias);
    group->SetDeadBand(band);
    group->SetLCID(locale);
    group->SetDataChangeEnabled(data.bDataChangeEnabled, FALSE);
    m_groups.Add(group.get());
    CGroup* added = group.release();
    if (out)
        *out = added;
    added->Advise();
    return TRUE;
}

int CInfoServer::EditGroup(CGroup** ppGroup)
{
    if (!ppGroup || !*ppGroup)
        return FALSE;
    CGroup* group = *ppGroup;
    COPCGroupDlgData data;
    BOOL enabled = FALSE;
    if (!group->GetDataChangeEnabled(&enabled, FALSE))
        return FALSE;
    data.bDataChangeEnabled = enabled;
    BOOL serverEnabled = FALSE;
    group->GetDataChangeEnabled(&serverEnabled, TRUE);

    CIOPCGroupStateMgt stateMgt(group->GetSafeInterface());
    LPWSTR name = nullptr;
    OPCHANDLE clientHandle = 0, serverHandle = 0;
    HRESULT hr = stateMgt.GetState(&data.dwUpdateRate, &data.bActive, &name, &data.lTimeBias, &data.fDeadBand,
                                   &data.dwLCID, &clientHandle, &serverHandle);
    if (FAILED(hr))
    {
        CoTaskMemFree(name);
        DisplayError(hr);
        return FALSE;
    }
    data.strName = name ? name : L"";
    CoTaskMemFree(name);
    if (COPCDialogs::DoGroupDialog(data) != IDOK)
        return FALSE;

    DWORD revisedRate = 0;
    hr = stateMgt.SetState(&data.dwUpdateRate, &revisedRate, &data.bActive, &data.lTimeBias, &data.fDeadBand,
                           &data.dwLCID, nullptr);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    group->SetActive(data.bActive);
    group->SetUpdateRate(revisedRate);
    group->SetTimeBias(data.lTimeBias);
    group->SetDeadBand(data.fDeadBand);
    group->SetLCID(data.dwLCID);
    hr = stateMgt.SetName(data.strName);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    group->SetName(data.strName);
    return group->SetDataChangeEnabled(data.bDataChangeEnabled, TRUE);
}

int CInfoServer::RemoveGroup(CGroup** ppGroup, int force)
{
    if (!ppGroup || !*ppGroup || !m_pServer)
        return FALSE;
    CGroup* group = *ppGroup;
    int result = FALSE;
    if (m_bConnected)
    {
        group->UnAdvise();
        OPCHANDLE serverHandle = group->GetHandle();
        group->ReleaseInterfaces();
        CIOPCServer server(m_pServer);
        HRESULT hr = server.RemoveGroup(serverHandle, force);
        if (SUCCEEDED(hr))
        {
            if (hr == OPC_S_INUSE)
                XVKLOG_ERROR(L"Reference count should be 0, UnAdvise needed??");
            else
                result = TRUE;
            ClearLastError();
        }
        else
            DisplayError(hr);
    }
    for (INT_PTR i = 0; i < m_groups.GetSize(); ++i)
    {
        if (m_groups[i] == group)
        {
            DeleteItemsOf(group);
            m_groups.RemoveAt(i);
            delete group;
            *ppGroup = nullptr;
            break;
        }
    }
    return result;
}

int CInfoServer::Unadvise(CGroup** ppGroup)
{
    if (!m_pServer || !m_bConnected || !ppGroup || !*ppGroup)
        return FALSE;
    (*ppGroup)->UnAdvise();
    return TRUE;
}

int CInfoServer::ReCreateGroupOnServer(CGroup** group)
{
    return ReCreateGroupWith(group, FALSE);
}

int CInfoServer::ReCreateGroupOnServer2(CGroup** group)
{
    return ReCreateGroupWith(group, TRUE);
}

int CInfoServer::SafeReCreateGroupOnServer(CGroup** group)
{
    return ReCreateGroupOnServer2(group) || ReCreateGroupOnServer(group);
}

int CInfoServer::ReCreateGroupWith(CGroup** ppGroup, BOOL newer)
{
    if (!m_pServer || !ppGroup || !*ppGroup)
        return FALSE;
    CGroup* group = *ppGroup;
    LONG bias = group->GetTimeBias();
    FLOAT band = group->GetDeadBand();
    OPCHANDLE serverHandle = 0;
    DWORD revisedRate = 0;
    CComPtr<IUnknown> object;
    CIOPCServer server(m_pServer);
    HRESULT hr =
        server.AddGroup(group->GetName(), group->IsActive(), group->GetUpdateRate(), group->GetClientHandle(),
                        &bias, &band, group->GetLCID(), &serverHandle, &revisedRate,
                        newer ? IID_IOPCGroupStateMgt2 : IID_IOPCGroupStateMgt, &object);
    if (FAILED(hr) || !object)
    {
        DisplayError(FAILED(hr) ? hr : E_NOINTERFACE);
        return FALSE;
    }
    group->SetHandle(serverHandle);
    group->SetUpdateRate(revisedRate);
    SetGroupInterface(group, object, newer);
    group->SetInfoServer(this);
    group->Advise();
    return TRUE;
}

int CInfoServer::RecreateOnServer()
{
    for (INT_PTR i = 0; i < m_groups.GetSize(); ++i)
    {
        CGroup* group = m_groups[i];
        if (!ReCreateGroupOnServer2(&group) && !ReCreateGroupOnServer(&group))
            return FALSE;
        // The whole group in one call (or a few): a call per item is a round trip each, and each
        // call makes the server go through the group again.
        if (!group->ReCreateItemsOnServer())
            return FALSE;
    }
    return TRUE;
}

BOOL CInfoServer::ForgetClientGroups()
{
    INT_PTR count = m_groups.GetSize();
    for (INT_PTR i = 0; i < count && m_groups.GetSize() > 0; ++i)
    {
        CGroup* group = m_groups[0];
        if (!group->UnAdvise())
            return FALSE;
        DeleteItemsOf(group);
        m_groups.RemoveAt(0);
        delete group;
    }
    return TRUE;
}

void CInfoServer::BuildReloadedGroup(IUnknown* object, LPCWSTR enumeratedName)
{
    CComQIPtr<IOPCGroupStateMgt2> second(object);
    CIOPCGroupStateMgt stateMgt(object);
    DWORD rate = 0;
    BOOL active = FALSE;
    LPWSTR name = nullptr;
    LONG bias = 0;
    FLOAT band = 0.0f;
    DWORD locale = 0;
    OPCHANDLE clientHandle = 0, serverHandle = 0;
    HRESULT hr =
        stateMgt.GetState(&rate, &active, &name, &bias, &band, &locale, &clientHandle, &serverHandle);
    if (FAILED(hr))
    {
        CoTaskMemFree(name);
        DisplayError(hr);
        return;
    }
    auto group = std::make_unique<CGroup>();
    DWORD revisedRate = 0;
    OPCHANDLE newClient = group->GetClientHandle();
    hr = stateMgt.SetState(&rate, &revisedRate, &active, &bias, &band, &locale, &newClient);
    if (FAILED(hr))
    {
        CoTaskMemFree(name);
        DisplayError(hr);
        return;
    }
    SetGroupInterface(group.get(), object, second ? TRUE : FALSE);
    group->SetInfoServer(this);
    group->SetName(enumeratedName ? enumeratedName : (name ? name : L""));
    CoTaskMemFree(name);
    group->SetHandle(serverHandle);
    group->SetActive(active);
    group->SetUpdateRate(rate);
    group->SetTimeBias(bias);
    group->SetDeadBand(band);
    group->SetLCID(locale);
    m_groups.Add(group.get());
    CGroup* added = group.release();
    added->ReloadItems();
    added->Advise();
}

int CInfoServer::ReloadFromServer()
{
    CInfoServerExplorerDoc* document = GetExplorerActiveDocument(FALSE);
    if (!document)
        return FALSE;
    if (!ForgetClientGroups())
        return FALSE;
    if (m_dwReloadEnumMethod > 1)
        return FALSE;

    CIOPCServer server(m_pServer);
    ULONG batch = std::max<ULONG>(1, m_dwReloadEnumNextElements);
    if (m_dwReloadEnumMethod == 0)
    {
        CComPtr<IUnknown> unknown;
        HRESULT hr = server.CreateGroupEnumerator(OPC_ENUM_ALL, IID_IEnumString, &unknown);
        CComQIPtr<IEnumString> names(unknown.p);
        if (FAILED(hr) || !names)
        {
            DisplayError(FAILED(hr) ? hr : E_NOINTERFACE);
            return FALSE;
        }
        std::vector<LPOLESTR> buffer(batch, nullptr);
        names->Reset();
        for (;;)
        {
            ULONG fetched = 0;
            hr = names->Next(batch, buffer.data(), &fetched);
            if (hr != S_OK && hr != S_FALSE)
                break;
            fetched = std::min(fetched, batch);
            for (ULONG i = 0; i < fetched; ++i)
            {
                CComPtr<IUnknown> object;
                HRESULT found = server.GetGroupByName(buffer[i], IID_IOPCGroupStateMgt2, &object);
                if (FAILED(found))
                    found = server.GetGroupByName(buffer[i], IID_IOPCGroupStateMgt, &object);
                if (SUCCEEDED(found) && object)
                    BuildReloadedGroup(object, buffer[i]);
                CoTaskMemFree(buffer[i]);
                buffer[i] = nullptr;
            }
            if (hr == S_FALSE || fetched == 0)
                break;
        }
    }
    else
    {
        CComPtr<IUnknown> unknown;
        HRESULT hr = server.CreateGroupEnumerator(OPC_ENUM_ALL, IID_IEnumUnknown, &unknown);
        CComQIPtr<IEnumUnknown> objects(unknown.p);
        if (FAILED(hr) || !objects)
        {
            DisplayError(FAILED(hr) ? hr : E_NOINTERFACE);
            return FALSE;
        }
        std::vector<IUnknown*> buffer(batch, nullptr);
        objects->Reset();
        for (;;)
        {
            ULONG fetched = 0;
            hr = objects->Next(batch, buffer.data(), &fetched);
            if (hr != S_OK && hr != S_FALSE)
                break;
            fetched = std::min(fetched, batch);
            for (ULONG i = 0; i < fetched; ++i)
            {
                if (buffer[i])
                {
                    BuildReloadedGroup(buffer[i], nullptr);
                    buffer[i]->Release();
                }
                buffer[i] = nullptr;
            }
            if (hr == S_FALSE || fetched == 0)
                break;
        }
    }
    document->SetModifiedFlag(TRUE);
    return TRUE;
}
