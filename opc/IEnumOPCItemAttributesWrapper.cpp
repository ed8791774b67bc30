#include "opc/IEnumOPCItemAttributesWrapper.h"

CIEnumOPCItemAttributes::CIEnumOPCItemAttributes(IEnumOPCItemAttributes* itf) : m_pEnum(itf) {}

CIEnumOPCItemAttributes::~CIEnumOPCItemAttributes() = default;

HRESULT CIEnumOPCItemAttributes::Next(ULONG celt, OPCITEMATTRIBUTES** ppItemArray, ULONG* pceltFetched)
{
    return m_pEnum ? m_pEnum->Next(celt, ppItemArray, pceltFetched) : E_FAIL;
}

HRESULT CIEnumOPCItemAttributes::Skip(ULONG celt)
{
    return m_pEnum ? m_pEnum->Skip(celt) : E_FAIL;
}

HRESULT CIEnumOPCItemAttributes::Reset()
{
    return m_pEnum ? m_pEnum->Reset() : E_FAIL;
}

HRESULT CIEnumOPCItemAttributes::Clone(IEnumOPCItemAttributes** ppEnumItemAttributes)
{
    return m_pEnum ? m_pEnum->Clone(ppEnumItemAttributes) : E_FAIL;
}
