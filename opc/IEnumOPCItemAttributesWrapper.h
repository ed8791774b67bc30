// CIEnumOPCItemAttributes: the wrapper of a group's item enumerator (it logs nothing).
#pragma once

#include "com/ComPtr.h"
#include "opcsdk/OpcDa.h"

class CIEnumOPCItemAttributes
{
public:
    explicit CIEnumOPCItemAttributes(IEnumOPCItemAttributes* itf);
    CIEnumOPCItemAttributes(const CIEnumOPCItemAttributes&) = delete;
    CIEnumOPCItemAttributes& operator=(const CIEnumOPCItemAttributes&) = delete;
    virtual ~CIEnumOPCItemAttributes();

    HRESULT Next(ULONG celt, OPCITEMATTRIBUTES** ppItemArray, ULONG* pceltFetched);
    HRESULT Skip(ULONG celt);
    HRESULT Reset();
    HRESULT Clone(IEnumOPCItemAttributes** ppEnumItemAttributes);

protected:
    CComPtr<IEnumOPCItemAttributes> m_pEnum;
};
