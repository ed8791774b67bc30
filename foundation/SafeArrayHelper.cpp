#include "foundation/SafeArrayHelper.h"

#include <vector>

CSafeArrayHelper::~CSafeArrayHelper()
{
    Destroy();
}

BOOL CSafeArrayHelper::Create(VARTYPE vt, UINT dimensions, LONG lowerBound, ULONG elements)
{
    Destroy();
    if (dimensions == 1)
        m_pArray = SafeArrayCreateVector(vt, lowerBound, elements);
    else if (dimensions > 1)
    {
        std::vector<SAFEARRAYBOUND> bounds(dimensions, SAFEARRAYBOUND{elements, lowerBound});
        m_pArray = SafeArrayCreate(vt, dimensions, bounds.data());
    }
    return m_pArray != nullptr;
}

BOOL CSafeArrayHelper::Destroy()
{
    if (!m_pArray)
        return FALSE;
    // A locked array cannot be destroyed: keep it rather than lose track of it.
    if (FAILED(SafeArrayDestroy(m_pArray)))
        return FALSE;
    m_pArray = nullptr;
    return TRUE;
}

UINT CSafeArrayHelper::GetDimension() const
{
    return m_pArray ? SafeArrayGetDim(m_pArray) : 0;
}

BOOL CSafeArrayHelper::Attach(SAFEARRAY* array)
{
    if (!array)
        return FALSE;
    if (array != m_pArray)
    {
        Destroy();
        m_pArray = array;
    }
    return TRUE;
}

SAFEARRAY* CSafeArrayHelper::Detach()
{
    SAFEARRAY* array = m_pArray;
    m_pArray = nullptr;
    return array;
}

BOOL CSafeArrayHelper::AttachFromVariant(VARIANT* variant)
{
    if (!variant || (variant->vt & VT_ARRAY) == 0 || (variant->vt & VT_BYREF) != 0 || !variant->parray)
        return FALSE;
    SAFEARRAY* array = variant->parray;
    variant->parray = nullptr;
    variant->vt = VT_EMPTY;
    return Attach(array);
}

BOOL CSafeArrayHelper::AccessData(void** data)
{
    return m_pArray && data && SUCCEEDED(SafeArrayAccessData(m_pArray, data));
}

BOOL CSafeArrayHelper::UnaccessData()
{
    return m_pArray && SUCCEEDED(SafeArrayUnaccessData(m_pArray));
}

BOOL CSafeArrayHelper::Lock()
{
    return m_pArray && SUCCEEDED(SafeArrayLock(m_pArray));
}

BOOL CSafeArrayHelper::Unlock()
{
    return m_pArray && SUCCEEDED(SafeArrayUnlock(m_pArray));
}

BOOL CSafeArrayHelper::PutElement(LONG index, void* data)
{
    if (!m_pArray || GetDimension() != 1)
        return FALSE;
    return SUCCEEDED(SafeArrayPutElement(m_pArray, &index, data));
}

BOOL CSafeArrayHelper::GetElement(LONG index, void* data)
{
    if (!m_pArray || !data || GetDimension() != 1)
        return FALSE;
    return SUCCEEDED(SafeArrayGetElement(m_pArray, &index, data));
}

VARIANT CSafeArrayHelper::GetAsVariant() const
{
    VARIANT v;
    VariantInit(&v);
    if (!m_pArray)
        return v;
    const USHORT features = m_pArray->fFeatures;
    VARTYPE element = VT_EMPTY;
    if (features & FADF_BSTR)
        element = VT_BSTR;
    else if (features & FADF_DISPATCH)
        element = VT_DISPATCH;
    else if (features & FADF_UNKNOWN)
        element = VT_UNKNOWN;
    else if (features & FADF_VARIANT)
        element = VT_VARIANT;
    else if (features & FADF_RECORD)
        element = VT_RECORD;
    else
    {
        switch (m_pArray->cbElements)
        {
        case 1:
            element = VT_UI1;
            break;
        case 2:
            element = VT_UI2;
            break;
        case 4:
            element = VT_UI4;
            break;
        case 8:
            element = VT_R8;
            break;
        default:
            return v;
        }
    }
    v.vt = VARTYPE(VT_ARRAY | element);
    v.parray = m_pArray;
    return v;
}
