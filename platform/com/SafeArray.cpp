#include "com/SafeArray.h"

#include "com/VariantPriv.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace
{

// Kept before the descriptor: the element type, which Win32 also stores there.
struct alignas(16) SaHeader
{
    uint32_t magic;
    VARTYPE vt;
};
constexpr uint32_t kSaMagic = 0x53414652; // "SAFR"
constexpr UINT kMaxDims = 64;
constexpr size_t kMaxDataBytes = size_t(1) << 30;

SaHeader* HeaderOf(SAFEARRAY* psa)
{
    return reinterpret_cast<SaHeader*>(reinterpret_cast<char*>(psa) - sizeof(SaHeader));
}

bool IsOurs(SAFEARRAY* psa)
{
    return psa && HeaderOf(psa)->magic == kSaMagic;
}

// The bounds as stored: the last dimension first.
SAFEARRAYBOUND* Bounds(SAFEARRAY* psa)
{
    return reinterpret_cast<SAFEARRAYBOUND*>(reinterpret_cast<char*>(psa) + offsetof(SAFEARRAY, rgsabound));
}

ULONG ElementSize(VARTYPE vt)
{
    switch (vt)
    {
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(void*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return ULONG(ComPriv::ScalarSize(vt));
    }
}

USHORT FeaturesFor(VARTYPE vt)
{
    USHORT f = FADF_HAVEVARTYPE;
    if (vt == VT_BSTR)
        f |= FADF_BSTR;
    else if (vt == VT_UNKNOWN)
        f |= FADF_UNKNOWN;
    else if (vt == VT_DISPATCH)
        f |= FADF_DISPATCH;
    else if (vt == VT_VARIANT)
        f |= FADF_VARIANT;
    return f;
}

size_t ElementCount(SAFEARRAY* psa)
{
    size_t n = 1;
    for (USHORT i = 0; i < psa->cDims; ++i)
        n *= Bounds(psa)[i].cElements;
    return n;
}

void FreeElements(VARTYPE vt, void* data, size_t count)
{
    if (!data)
        return;
    for (size_t i = 0; i < count; ++i)
    {
        if (vt == VT_BSTR)
            SysFreeString(static_cast<BSTR*>(data)[i]);
        else if (vt == VT_UNKNOWN)
        {
            if (IUnknown* p = static_cast<IUnknown**>(data)[i])
                p->Release();
        }
        else if (vt == VT_DISPATCH)
        {
            if (IDispatch* p = static_cast<IDispatch**>(data)[i])
                DispatchAsUnknown(p)->Release();
        }
        else if (vt == VT_VARIANT)
            VariantClear(&static_cast<VARIANT*>(data)[i]);
        else
            return;
    }
}

// Copies count elements into zeroed storage.
HRESULT CopyElements(VARTYPE vt, const void* from, void* to, size_t count, ULONG cbElements)
{
    if (vt == VT_BSTR)
    {
        for (size_t i = 0; i < count; ++i)
            if (BSTR s = static_cast<const BSTR*>(from)[i])
            {
                static_cast<BSTR*>(to)[i] = SysAllocStringLen(s, SysStringLen(s));
                if (!static_cast<BSTR*>(to)[i])
                    return E_OUTOFMEMORY;
            }
        return S_OK;
    }
    if (vt == VT_VARIANT)
    {
        for (size_t i = 0; i < count; ++i)
        {
            const HRESULT hr =
                VariantCopy(&static_cast<VARIANT*>(to)[i], &static_cast<const VARIANT*>(from)[i]);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    }
    std::memcpy(to, from, count * cbElements);
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
        for (size_t i = 0; i < count; ++i)
            if (void* p = static_cast<void* const*>(from)[i])
                static_cast<IUnknown*>(p)->AddRef();
    return S_OK;
}

// Builds a descriptor with its data from bounds in stored order.
SAFEARRAY* Create(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* stored)
{
    const ULONG size = ElementSize(vt);
    if (size == 0 || cDims == 0 || cDims > kMaxDims || !stored)
        return nullptr;
    size_t count = 1;
    for (UINT i = 0; i < cDims; ++i)
    {
        if (stored[i].cElements && count > kMaxDataBytes / stored[i].cElements)
            return nullptr;
        count *= stored[i].cElements;
    }
    if (count > kMaxDataBytes / size)
        return nullptr;
    const size_t descBytes = sizeof(SaHeader) + sizeof(SAFEARRAY) + (cDims - 1) * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<char*>(std::calloc(1, descBytes));
    if (!block)
        return nullptr;
    auto* header = reinterpret_cast<SaHeader*>(block);
    header->magic = kSaMagic;
    header->vt = vt;
    auto* psa = reinterpret_cast<SAFEARRAY*>(block + sizeof(SaHeader));
    psa->cDims = USHORT(cDims);
    psa->fFeatures = FeaturesFor(vt);
    psa->cbElements = size;
    psa->cLocks = 0;
    std::memcpy(Bounds(psa), stored, cDims * sizeof(SAFEARRAYBOUND));
    psa->pvData = std::calloc(count ? count : 1, size);
    if (!psa->pvData)
    {
        std::free(block);
        return nullptr;
    }
    return psa;
}

HRESULT ElementPtr(SAFEARRAY* psa, const LONG* rgIndices, void** out)
{
    size_t offset = 0, stride = 1;
    for (USHORT k = 0; k < psa->cDims; ++k)
    {
        const SAFEARRAYBOUND& b = Bounds(psa)[psa->cDims - 1 - k];
        const int64_t rel = int64_t(rgIndices[k]) - b.lLbound;
        if (rel < 0 || rel >= int64_t(b.cElements))
            return DISP_E_BADINDEX;
        offset += size_t(rel) * stride;
        stride *= b.cElements;
    }
    *out = static_cast<char*>(psa->pvData) + offset * psa->cbElements;
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound)
{
    if (!rgsabound || cDims == 0 || cDims > kMaxDims)
        return nullptr;
    SAFEARRAYBOUND stored[kMaxDims];
    for (UINT i = 0; i < cDims; ++i)
        stored[i] = rgsabound[cDims - 1 - i];
    return Create(vt, cDims, stored);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    SAFEARRAYBOUND bound = {cElements, lLbound};
    return Create(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa)
{
    if (!psa)
        return S_OK;
    if (!IsOurs(psa))
        return E_INVALIDARG;
    if (__atomic_load_n(&psa->cLocks, __ATOMIC_SEQ_CST) > 0)
        return DISP_E_ARRAYISLOCKED;
    SaHeader* header = HeaderOf(psa);
    FreeElements(header->vt, psa->pvData, ElementCount(psa));
    std::free(psa->pvData);
    header->magic = 0;
    std::free(header);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa)
{
    return psa ? psa->cDims : 0;
}
UINT SafeArrayGetElemsize(SAFEARRAY* psa)
{
    return psa ? psa->cbElements : 0;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound)
{
    if (!psa || !plLbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    *plLbound = Bounds(psa)[psa->cDims - nDim].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound)
{
    if (!psa || !plUbound)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = Bounds(psa)[psa->cDims - nDim];
    *plUbound = LONG(int64_t(b.lLbound) + int64_t(b.cElements) - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt)
{
    if (!psa || !pvt)
        return E_INVALIDARG;
    if (IsOurs(psa) && (psa->fFeatures & FADF_HAVEVARTYPE))
        *pvt = HeaderOf(psa)->vt;
    else if (psa->fFeatures & FADF_BSTR)
        *pvt = VT_BSTR;
    else if (psa->fFeatures & FADF_UNKNOWN)
        *pvt = VT_UNKNOWN;
    else if (psa->fFeatures & FADF_DISPATCH)
        *pvt = VT_DISPATCH;
    else if (psa->fFeatures & FADF_VARIANT)
        *pvt = VT_VARIANT;
    else
        return E_INVALIDARG;
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa)
{
    if (!psa)
        return E_INVALIDARG;
    if (__atomic_add_fetch(&psa->cLocks, 1, __ATOMIC_SEQ_CST) > 65535)
    {
        __atomic_sub_fetch(&psa->cLocks, 1, __ATOMIC_SEQ_CST);
        return E_UNEXPECTED;
    }
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa)
{
    if (!psa)
        return E_INVALIDARG;
    ULONG locks = __atomic_load_n(&psa->cLocks, __ATOMIC_SEQ_CST);
    do
    {
        if (locks == 0)
            return E_UNEXPECTED;
    } while (!__atomic_compare_exchange_n(&psa->cLocks, &locks, locks - 1, false, __ATOMIC_SEQ_CST,
                                          __ATOMIC_SEQ_CST));
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData)
{
    if (!psa || !ppvData)
        return E_INVALIDARG;
    const HRESULT hr = SafeArrayLock(psa);
    if (FAILED(hr))
        return hr;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa)
{
    return SafeArrayUnlock(psa);
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData)
{
    if (!psa || !rgIndices || !ppvData)
        return E_INVALIDARG;
    return ElementPtr(psa, rgIndices, ppvData);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv)
{
    if (!psa || !rgIndices)
        return E_INVALIDARG;
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(psa, &vt);
    if (!pv && vt != VT_BSTR && vt != VT_UNKNOWN && vt != VT_DISPATCH)
        return E_INVALIDARG;
    void* elem = nullptr;
    HRESULT hr = ElementPtr(psa, rgIndices, &elem);
    if (FAILED(hr))
        return hr;
    SafeArrayLock(psa);
    if (vt == VT_BSTR)
    {
        BSTR copy = nullptr;
        if (pv)
        {
            copy = SysAllocStringLen(static_cast<BSTR>(pv), SysStringLen(static_cast<BSTR>(pv)));
            if (!copy)
                hr = E_OUTOFMEMORY;
        }
        if (SUCCEEDED(hr))
        {
            SysFreeString(*static_cast<BSTR*>(elem));
            *static_cast<BSTR*>(elem) = copy;
        }
    }
    else if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        auto* fresh = static_cast<IUnknown*>(pv);
        if (fresh)
            fresh->AddRef();
        if (auto* old = *static_cast<IUnknown**>(elem))
            old->Release();
        *static_cast<void**>(elem) = pv;
    }
    else if (vt == VT_VARIANT)
        hr = VariantCopy(static_cast<VARIANT*>(elem), static_cast<const VARIANT*>(pv));
    else
        std::memcpy(elem, pv, psa->cbElements);
    SafeArrayUnlock(psa);
    return hr;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv)
{
    if (!psa || !rgIndices || !pv)
        return E_INVALIDARG;
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(psa, &vt);
    void* elem = nullptr;
    HRESULT hr = ElementPtr(psa, rgIndices, &elem);
    if (FAILED(hr))
        return hr;
    SafeArrayLock(psa);
    if (vt == VT_BSTR)
    {
        BSTR s = *static_cast<BSTR*>(elem);
        BSTR copy = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
        if (s && !copy)
            hr = E_OUTOFMEMORY;
        else
            *static_cast<BSTR*>(pv) = copy;
    }
    else if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        void* p = *static_cast<void**>(elem);
        if (p)
            static_cast<IUnknown*>(p)->AddRef();
        *static_cast<void**>(pv) = p;
    }
    else if (vt == VT_VARIANT)
        hr = VariantCopy(static_cast<VARIANT*>(pv), static_cast<const VARIANT*>(elem));
    else
        std::memcpy(pv, elem, psa->cbElements);
    SafeArrayUnlock(psa);
    return hr;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut)
{
    if (!ppsaOut)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa)
        return S_OK;
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(psa, &vt)))
        return E_INVALIDARG;
    SAFEARRAY* copy = Create(vt, psa->cDims, Bounds(psa));
    if (!copy)
        return E_OUTOFMEMORY;
    const HRESULT hr = CopyElements(vt, psa->pvData, copy->pvData, ElementCount(psa), psa->cbElements);
    if (FAILED(hr))
    {
        SafeArrayDestroy(copy);
        return hr;
    }
    *ppsaOut = copy;
    return S_OK;
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew)
{
    if (!psa || !psaboundNew || !IsOurs(psa))
        return E_INVALIDARG;
    if (__atomic_load_n(&psa->cLocks, __ATOMIC_SEQ_CST) > 0)
        return DISP_E_ARRAYISLOCKED;
    const VARTYPE vt = HeaderOf(psa)->vt;
    // Elements per step of the last dimension.
    size_t inner = 1;
    for (USHORT i = 1; i < psa->cDims; ++i)
        inner *= Bounds(psa)[i].cElements;
    SAFEARRAYBOUND& last = Bounds(psa)[0];
    const size_t oldCount = inner * last.cElements;
    if (inner && psaboundNew->cElements > kMaxDataBytes / psa->cbElements / inner)
        return E_OUTOFMEMORY;
    const size_t newCount = inner * psaboundNew->cElements;
    if (newCount < oldCount)
        FreeElements(vt, static_cast<char*>(psa->pvData) + newCount * psa->cbElements, oldCount - newCount);
    void* data = std::realloc(psa->pvData, newCount ? newCount * psa->cbElements : 1);
    if (!data)
        return E_OUTOFMEMORY;
    if (newCount > oldCount)
        std::memset(static_cast<char*>(data) + oldCount * psa->cbElements, 0,
                    (newCount - oldCount) * psa->cbElements);
    psa->pvData = data;
    last = *psaboundNew;
    return S_OK;
}
