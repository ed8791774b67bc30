#include "com/Enumerators.h"

#include "com/ComBase.h"

#include <cstring>
#include <new>

BOOL CEnumStringPolicy::Copy(const std::wstring& from, LPOLESTR* to)
{
    size_t bytes = (from.size() + 1) * sizeof(OLECHAR);
    auto* p = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!p)
        return FALSE;
    std::memcpy(p, from.c_str(), bytes);
    *to = p;
    return TRUE;
}

void CEnumStringPolicy::Free(LPOLESTR* p)
{
    CoTaskMemFree(*p);
    *p = nullptr;
}

BOOL CEnumUnknownPolicy::Copy(const CComPtr<IUnknown>& from, IUnknown** to)
{
    *to = from.p;
    if (*to)
        (*to)->AddRef();
    return TRUE;
}

void CEnumUnknownPolicy::Free(IUnknown** p)
{
    if (*p)
        (*p)->Release();
    *p = nullptr;
}

namespace
{
template <class Impl, class Itf, class Elem> HRESULT CreateListEnum(std::vector<Elem> items, Itf** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    try
    {
        auto list = std::make_shared<const std::vector<Elem>>(std::move(items));
        *out = QyrNewObject<Impl>(std::move(list)).Detach();
        return S_OK;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}
} // namespace

HRESULT QyrCreateEnumString(std::vector<std::wstring> items, IEnumString** out)
{
    return CreateListEnum<CEnumStringImpl>(std::move(items), out);
}

HRESULT QyrCreateEnumUnknown(std::vector<CComPtr<IUnknown>> items, IEnumUnknown** out)
{
    return CreateListEnum<CEnumUnknownImpl>(std::move(items), out);
}

HRESULT QyrCreateEnumGUID(std::vector<GUID> items, IEnumGUID** out)
{
    return CreateListEnum<CEnumGUIDImpl>(std::move(items), out);
}
