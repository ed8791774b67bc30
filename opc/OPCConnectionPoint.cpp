#include "opc/OPCConnectionPoint.h"

#include "opc/Group.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"

COPCConnectionPoint::COPCConnectionPoint() = default;

COPCConnectionPoint::~COPCConnectionPoint() = default;

BOOL COPCConnectionPoint::Advise(CGroup* group)
{
    if (!group)
        return FALSE;
    CComPtr<IOPCGroupStateMgt> stateMgt;
    CComPtr<IUnknown> safe = group->GetSafeInterface();
    HRESULT hr = safe ? safe->QueryInterface(IID_IOPCGroupStateMgt, reinterpret_cast<void**>(&stateMgt))
                      : E_NOINTERFACE;
    if (FAILED(hr))
    {
        group->DisplayError(hr);
        return FALSE;
    }
    CComPtr<IConnectionPointContainer> container;
    hr = stateMgt->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
    {
        group->DisplayError(hr);
        return FALSE;
    }
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(IID_IOPCDataCallback, &point)) || !point)
        return FALSE;
    DWORD cookie = 0;
    if (FAILED(point->Advise(GetUnknown(), &cookie)))
        return FALSE;
    group->SetOPCDataAccessConnectionPoint(cookie);
    return TRUE;
}

BOOL COPCConnectionPoint::Unadvise(CGroup* group)
{
    if (!group)
        return FALSE;
    CInfoServer* server = group->GetInfoServer();
    if (!server || !server->IsConnected())
    {
        group->SetOPCDataAccessConnectionPoint(0);
        return FALSE;
    }
    CComPtr<IOPCGroupStateMgt> stateMgt;
    CComPtr<IUnknown> safe = group->GetSafeInterface();
    HRESULT hr = safe ? safe->QueryInterface(IID_IOPCGroupStateMgt, reinterpret_cast<void**>(&stateMgt))
                      : E_NOINTERFACE;
    CComPtr<IConnectionPointContainer> container;
    if (SUCCEEDED(hr))
        hr = stateMgt->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
    {
        group->DisplayError(hr);
        return FALSE;
    }
    DWORD cookie = group->GetOPCDataAccessConnectionPoint();
    if (cookie == 0)
        return FALSE;
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(IID_IOPCDataCallback, &point)) || !point)
        return FALSE;
    if (FAILED(point->Unadvise(cookie)))
        return FALSE;
    group->SetOPCDataAccessConnectionPoint(0);
    return TRUE;
}

OPCHANDLE COPCConnectionPoint::StoreValues(DWORD dwCount, const OPCHANDLE* phClientItems,
                                           const VARIANT* pvValues, const WORD* pwQualities,
                                           const FILETIME* pftTimeStamps, const HRESULT* pErrors)
{
    if (dwCount == 0 || !phClientItems || !pvValues || !pwQualities || !pErrors)
        return 0;
    OPCHANDLE group = 0;
    BOOL found = FALSE;
    CItem::CHandleTable::CReadLock table(CItem::GetHandleTable());
    for (DWORD i = 0; i < dwCount; ++i)
    {
        if (FAILED(pErrors[i]) || phClientItems[i] == 0)
            continue;
        CItem* item = table.Find(phClientItems[i]);
        if (!item)
            continue;
        if (!found)
        {
            group = item->GetGroupClientHandle();
            found = TRUE;
        }
        item->StoreReport(pvValues[i], pwQualities[i], pftTimeStamps ? &pftTimeStamps[i] : nullptr);
    }
    return group;
}

HRESULT STDMETHODCALLTYPE COPCConnectionPoint::OnDataChange(DWORD dwTransid, OPCHANDLE, HRESULT, HRESULT,
                                                            DWORD dwCount, OPCHANDLE* phClientItems,
                                                            VARIANT* pvValues, WORD* pwQualities,
                                                            FILETIME* pftTimeStamps, HRESULT* pErrors)
{
    OPCHANDLE group = StoreValues(dwCount, phClientItems, pvValues, pwQualities, pftTimeStamps, pErrors);
    // A subscription report (transaction 0) leaves an open transaction alone.
    if (dwTransid != 0)
        CGroup::CloseTransactionOf(group, dwTransid);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COPCConnectionPoint::OnReadComplete(DWORD dwTransid, OPCHANDLE, HRESULT, HRESULT,
                                                              DWORD dwCount, OPCHANDLE* phClientItems,
                                                              VARIANT* pvValues, WORD* pwQualities,
                                                              FILETIME* pftTimeStamps, HRESULT* pErrors)
{
    OPCHANDLE group = StoreValues(dwCount, phClientItems, pvValues, pwQualities, pftTimeStamps, pErrors);
    // The group is the one its items belong to; a report that names no known item closes nothing.
    CGroup::CloseTransactionOf(group, dwTransid);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COPCConnectionPoint::OnWriteComplete(DWORD dwTransid, OPCHANDLE, HRESULT,
                                                               DWORD dwCount, OPCHANDLE* pClienthandles,
                                                               HRESULT*)
{
    // Every completion closes the transaction, whether the items succeeded or not.
    OPCHANDLE group = 0;
    if (pClienthandles)
    {
        CItem::CHandleTable::CReadLock table(CItem::GetHandleTable());
        for (DWORD i = 0; i < dwCount && group == 0; ++i)
        {
            if (CItem* item = table.Find(pClienthandles[i]))
                group = item->GetGroupClientHandle();
        }
    }
    CGroup::CloseTransactionOf(group, dwTransid);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COPCConnectionPoint::OnCancelComplete(DWORD, OPCHANDLE)
{
    return S_OK;
}
