// CIOPCGroupStateMgt: the logging wrapper of a group's IOPCGroupStateMgt and IOPCGroupStateMgt2.
// Each call goes to the newer interface first and, when that is missing or fails, to the older one.
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIOPCGroupStateMgt
{
public:
    explicit CIOPCGroupStateMgt(IOPCGroupStateMgt* itf);
    explicit CIOPCGroupStateMgt(IOPCGroupStateMgt2* itf);
    // Queries the object for both; logs when it has neither.
    explicit CIOPCGroupStateMgt(IUnknown* unknown);
    CIOPCGroupStateMgt(const CIOPCGroupStateMgt&) = delete;
    CIOPCGroupStateMgt& operator=(const CIOPCGroupStateMgt&) = delete;
    virtual ~CIOPCGroupStateMgt();

    HRESULT GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName, LONG* pTimeBias,
                     FLOAT* pPercentDeadband, DWORD* pLCID, OPCHANDLE* phClientGroup,
                     OPCHANDLE* phServerGroup);
    HRESULT SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate, BOOL* pActive, LONG* pTimeBias,
                     FLOAT* pPercentDeadband, DWORD* pLCID, OPCHANDLE* phClientGroup);
    HRESULT SetName(LPCWSTR szName);
    HRESULT CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk);

protected:
    CComPtr<IOPCGroupStateMgt> m_pGroup;
    CComPtr<IOPCGroupStateMgt2> m_pGroup2;
};
