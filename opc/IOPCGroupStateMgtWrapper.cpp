#include "opc/IOPCGroupStateMgtWrapper.h"

#include "logvane/Logvane.h"

CIOPCGroupStateMgt::CIOPCGroupStateMgt(IOPCGroupStateMgt* itf) : m_pGroup(itf) {}

CIOPCGroupStateMgt::CIOPCGroupStateMgt(IOPCGroupStateMgt2* itf) : m_pGroup2(itf) {}

CIOPCGroupStateMgt::CIOPCGroupStateMgt(IUnknown* unknown)
{
    if (unknown)
    {
        unknown->QueryInterface(IID_IOPCGroupStateMgt2, reinterpret_cast<void**>(&m_pGroup2));
        unknown->QueryInterface(IID_IOPCGroupStateMgt, reinterpret_cast<void**>(&m_pGroup));
    }
    if (!m_pGroup && !m_pGroup2)
        XVKLOG_ERROR(L"CIOPCGroupStateMgt() failed!");
}

CIOPCGroupStateMgt::~CIOPCGroupStateMgt() = default;

HRESULT CIOPCGroupStateMgt::GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName, LONG* pTimeBias,
                                     FLOAT* pPercentDeadband, DWORD* pLCID, OPCHANDLE* phClientGroup,
                                     OPCHANDLE* phServerGroup)
{
    HRESULT hr = E_FAIL;
    if (m_pGroup2)
        hr = m_pGroup2->GetState(pUpdateRate, pActive, ppName, pTimeBias, pPercentDeadband, pLCID,
                                 phClientGroup, phServerGroup);
    if (FAILED(hr) && m_pGroup)
        hr = m_pGroup->GetState(pUpdateRate, pActive, ppName, pTimeBias, pPercentDeadband, pLCID,
                                phClientGroup, phServerGroup);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCGroupStateMgt::GetState() failed!");
    return hr;
}

HRESULT CIOPCGroupStateMgt::SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate, BOOL* pActive,
                                     LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD* pLCID,
                                     OPCHANDLE* phClientGroup)
{
    HRESULT hr = E_FAIL;
    if (m_pGroup2)
        hr = m_pGroup2->SetState(pRequestedUpdateRate, pRevisedUpdateRate, pActive, pTimeBias,
                                 pPercentDeadband, pLCID, phClientGroup);
    if (FAILED(hr) && m_pGroup)
        hr = m_pGroup->SetState(pRequestedUpdateRate, pRevisedUpdateRate, pActive, pTimeBias,
                                pPercentDeadband, pLCID, phClientGroup);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCGroupStateMgt::SetState() failed!");
    return hr;
}

HRESULT CIOPCGroupStateMgt::SetName(LPCWSTR szName)
{
    HRESULT hr = E_FAIL;
    if (m_pGroup2)
        hr = m_pGroup2->SetName(szName);
    if (FAILED(hr) && m_pGroup)
        hr = m_pGroup->SetName(szName);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCGroupStateMgt::SetName() failed!");
    return hr;
}

HRESULT CIOPCGroupStateMgt::CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk)
{
    HRESULT hr = E_FAIL;
    if (m_pGroup2)
        hr = m_pGroup2->CloneGroup(szName, riid, ppUnk);
    if (FAILED(hr) && m_pGroup)
        hr = m_pGroup->CloneGroup(szName, riid, ppUnk);
    if (FAILED(hr))
        XVKLOG_ERROR(L"IOPCGroupStateMgt::CloneGroup() failed!");
    return hr;
}
