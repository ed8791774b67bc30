// Dispatch maps: the automation members of a class, listed where the class is written.
//
//   class CHost : public CBase            // CBase derives from CDispatchMapTarget
//   {
//       double GetValue(LPCWSTR name);
//       void SetValue(LPCWSTR name, double value);
//       DECLARE_DISPATCH_MAP()
//   };
//   BEGIN_DISPATCH_MAP(CHost, CBase)
//       DISP_FUNCTION(CHost, "GetValue", GetValue, VT_R8, VTS_BSTR)
//       DISP_FUNCTION(CHost, "SetValue", SetValue, VT_EMPTY, VTS_BSTR VTS_R8)
//   END_DISPATCH_MAP()
//
// A map chains to its base class's map. Names resolve without regard to case, the most derived
// map first. An entry without an explicit id gets MAKELONG(position from 1, depth): the depth
// counts the maps walked from the object's own map (0), so the entries of a base class carry it in
// the high word when a derived class has a map of its own.
//
// The return type and the VTS_ list of each entry are checked against the member's signature when
// the map compiles. Arguments are converted to the listed types (VariantChangeType) before the
// call; members receive:
//   VTS_I2 short, VTS_I4 LONG/int, VTS_R4 float, VTS_R8 and VTS_DATE double, VTS_BOOL BOOL or bool,
//   VTS_BSTR LPCWSTR (or BSTR, owned by the caller), VTS_VARIANT const VARIANT& or const VARIANT*,
//   VTS_DISPATCH LPDISPATCH, VTS_UI1 BYTE, VTS_UI2 USHORT, VTS_UI4 ULONG.
// Results: VT_EMPTY void, VT_BSTR a BSTR the member allocated (the caller receives it), VT_VARIANT
// a VARIANT handed over, VT_DISPATCH an AddRef'd LPDISPATCH, the numbers and BOOL as above.
// A member that throws _com_error or std::exception makes Invoke answer DISP_E_EXCEPTION with
// the text in the EXCEPINFO; any other exception is offered to DescribeException first.
#pragma once

#include "com/Dispatch.h"

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

class CDispatchMapTarget;
struct AFX_DISPMAP_ENTRY;

typedef HRESULT (*AFX_PDISPTHUNK)(CDispatchMapTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry,
                                  DISPPARAMS* pDispParams, VARIANT* pVarResult, UINT* puArgErr);

enum AFX_DISPMAP_FLAGS : WORD
{
    afxDispMethod = 0,
    afxDispProperty = 1,
};

struct AFX_DISPMAP_ENTRY
{
    LPCWSTR lpszName;       // null ends the map
    LONG lDispID;           // DISPID_UNKNOWN: numbered by position
    const char* lpszParams; // VTS_ list of a method
    VARTYPE vt;             // result of a method, type of a property
    AFX_PDISPTHUNK pfn;     // the method, or the property's getter (null: write-only)
    AFX_PDISPTHUNK pfnSet;  // the property's setter (null: read-only)
    AFX_DISPMAP_FLAGS flags;
};

struct AFX_DISPMAP
{
    const AFX_DISPMAP* (*pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UI1 "\x11"
#define VTS_UI2 "\x12"
#define VTS_UI4 "\x13"

// The root of every class with a dispatch map. It has an empty map and no COM identity of its own
// (CCmdTargetDispatch in platform/mfc adds that).
class CDispatchMapTarget
{
public:
    CDispatchMapTarget() = default;
    CDispatchMapTarget(const CDispatchMapTarget&) = default;
    CDispatchMapTarget& operator=(const CDispatchMapTarget&) = default;
    virtual ~CDispatchMapTarget() = default;

    // DISPID_UNKNOWN when no member has that name (compared without regard to case).
    DISPID MemberIDFromName(LPCOLESTR lpszName) const;
    // The member's name, or null.
    LPCWSTR MemberNameFromID(DISPID dispid) const;
    // The member after dispid in map order (DISPID_STARTENUM for the first); DISPID_UNKNOWN after
    // the last.
    DISPID NextMemberID(DISPID dispid) const;
    const AFX_DISPMAP_ENTRY* GetDispEntry(DISPID dispid) const;
    // IDispatch::Invoke on the map. pVarResult may be null; pExcepInfo is filled for
    // DISP_E_EXCEPTION.
    HRESULT InvokeMember(DISPID dispid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                         EXCEPINFO* pExcepInfo, UINT* puArgErr);

protected:
    static const AFX_DISPMAP* GetThisDispatchMap();
    virtual const AFX_DISPMAP* GetDispatchMap() const;
    // Called while a member's exception of another kind is handled: a class that knows the kind
    // rethrows it (`throw;`), fills the EXCEPINFO, frees what it must and returns TRUE. Must not throw.
    virtual BOOL DescribeException(EXCEPINFO* pExcepInfo);
};

#define DECLARE_DISPATCH_MAP()                                                                               \
protected:                                                                                                   \
    static const AFX_DISPMAP* GetThisDispatchMap();                                                          \
    const AFX_DISPMAP* GetDispatchMap() const override;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                                              \
    const AFX_DISPMAP* theClass::GetDispatchMap() const                                                      \
    {                                                                                                        \
        return GetThisDispatchMap();                                                                         \
    }                                                                                                        \
    const AFX_DISPMAP* theClass::GetThisDispatchMap()                                                        \
    {                                                                                                        \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_DISPMAP_ENTRY _dispatchEntries[] = {

#define END_DISPATCH_MAP()                                                                                   \
    {                                                                                                        \
        nullptr, DISPID_UNKNOWN, nullptr, VT_EMPTY, nullptr, nullptr, afxDispMethod                          \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &_dispatchEntries[0]};        \
    return &dispatchMap;                                                                                     \
    }

#define DISP_FUNCTION_ID(theClass, szExternalName, dispid, pfnMember, vtRetVal, vtsParams)                   \
    {L"" szExternalName,                                                                                     \
     LONG(dispid),                                                                                           \
     vtsParams,                                                                                              \
     QyrDisp::CheckMethod<decltype(&theClass::pfnMember)>(VARTYPE(vtRetVal), vtsParams),                     \
     &QyrDisp::MethodThunk<theClass, &theClass::pfnMember>,                                                  \
     nullptr,                                                                                                \
     afxDispMethod},

#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)                              \
    DISP_FUNCTION_ID(theClass, szExternalName, DISPID_UNKNOWN, pfnMember, vtRetVal, vtsParams)

#define DISP_PROPERTY_EX_ID(theClass, szExternalName, dispid, pfnGet, pfnSet, vtPropType)                    \
    {L"" szExternalName,                                                                                     \
     LONG(dispid),                                                                                           \
     nullptr,                                                                                                \
     QyrDisp::CheckProperty<decltype(&theClass::pfnGet), decltype(&theClass::pfnSet)>(VARTYPE(vtPropType)),  \
     &QyrDisp::MethodThunk<theClass, &theClass::pfnGet>,                                                     \
     &QyrDisp::SetterThunk<theClass, &theClass::pfnSet>,                                                     \
     afxDispProperty},

#define DISP_PROPERTY_EX(theClass, szExternalName, pfnGet, pfnSet, vtPropType)                               \
    DISP_PROPERTY_EX_ID(theClass, szExternalName, DISPID_UNKNOWN, pfnGet, pfnSet, vtPropType)

// The machinery behind the entries.
namespace QyrDisp
{
template <class F> struct FnTraits;
template <class C, class R, class... A> struct FnTraits<R (C::*)(A...)>
{
    using Ret = R;
    using Args = std::tuple<A...>;
};
template <class C, class R, class... A> struct FnTraits<R (C::*)(A...) const>
{
    using Ret = R;
    using Args = std::tuple<A...>;
};

template <class A> consteval bool ArgFits(unsigned char vt)
{
    using D = std::remove_cv_t<std::remove_reference_t<A>>;
    switch (vt)
    {
    case VT_I2:
        return std::is_same_v<D, short> || std::is_same_v<D, int> || std::is_same_v<D, long>;
    case VT_I4:
        return std::is_same_v<D, int> || std::is_same_v<D, long>;
    case VT_R4:
        return std::is_same_v<D, float> || std::is_same_v<D, double>;
    case VT_R8:
    case VT_DATE:
        return std::is_same_v<D, double>;
    case VT_BOOL:
        return std::is_same_v<D, int> || std::is_same_v<D, bool>;
    case VT_BSTR:
        return std::is_same_v<D, const wchar_t*> || std::is_same_v<D, wchar_t*>;
    case VT_VARIANT:
        return std::is_same_v<A, const VARIANT&> || std::is_same_v<D, const VARIANT*> ||
               std::is_same_v<D, VARIANT*>;
    case VT_DISPATCH:
        return std::is_same_v<D, IDispatch*>;
    case VT_UI1:
        return std::is_same_v<D, unsigned char>;
    case VT_UI2:
        return std::is_same_v<D, unsigned short>;
    case VT_UI4:
        return std::is_same_v<D, unsigned int> || std::is_same_v<D, unsigned long>;
    default:
        return false;
    }
}

template <class R> consteval bool RetFits(VARTYPE vt)
{
    if (vt == VT_EMPTY)
        return std::is_void_v<R>;
    if constexpr (std::is_void_v<R>)
        return false;
    else if (vt == VT_BSTR)
        return std::is_same_v<R, BSTR>;
    else if (vt == VT_VARIANT)
        return std::is_same_v<R, VARIANT>;
    else
        return ArgFits<R>((unsigned char)(vt));
}

consteval size_t VtsLength(const char* vts)
{
    size_t n = 0;
    while (vts[n])
        ++n;
    return n;
}

template <class Tuple, size_t... I> consteval bool ArgsFit(const char* vts, std::index_sequence<I...>)
{
    return (ArgFits<std::tuple_element_t<I, Tuple>>((unsigned char)(vts[I])) && ...);
}

// Fails to compile (a throw in an immediate function) when the entry does not match the member.
template <class F> consteval VARTYPE CheckMethod(VARTYPE vtRet, const char* vts)
{
    using Args = typename FnTraits<F>::Args;
    constexpr size_t n = std::tuple_size_v<Args>;
    if (VtsLength(vts) != n)
        throw "the VTS_ list does not match the member's parameter count";
    if (!ArgsFit<Args>(vts, std::make_index_sequence<n>{}))
        throw "a VTS_ type does not match the member's parameter";
    if (!RetFits<typename FnTraits<F>::Ret>(vtRet))
        throw "the result type does not match the member's return type";
    return vtRet;
}

template <class G, class S> consteval VARTYPE CheckProperty(VARTYPE vt)
{
    const char vts[2] = {char(vt), 0};
    CheckMethod<G>(vt, "");
    CheckMethod<S>(VT_EMPTY, vts);
    return vt;
}

// The arguments of one call, converted to the listed types; cleared when the call ends.
struct CoercedArgs
{
    explicit CoercedArgs(UINT n);
    ~CoercedArgs();
    CoercedArgs(const CoercedArgs&) = delete;
    CoercedArgs& operator=(const CoercedArgs&) = delete;
    // Argument i (from the left) to vts[i]; on failure puArgErr receives the index in rgvarg.
    HRESULT Coerce(const VARTYPE* vts, DISPPARAMS* pDispParams, UINT* puArgErr);

    VARIANT* v;
    UINT n;
    VARIANT inline_[4];
};

template <class A> A ArgAs(VARIANT& v)
{
    using D = std::remove_cv_t<std::remove_reference_t<A>>;
    if constexpr (std::is_same_v<A, const VARIANT&>)
        return v;
    else if constexpr (std::is_same_v<D, const VARIANT*> || std::is_same_v<D, VARIANT*>)
        return &v;
    else if constexpr (std::is_same_v<D, const wchar_t*> || std::is_same_v<D, wchar_t*>)
        return v.bstrVal;
    else if constexpr (std::is_same_v<D, IDispatch*>)
        return v.pdispVal;
    else if constexpr (std::is_same_v<D, bool>)
        return v.vt == VT_BOOL ? v.boolVal != VARIANT_FALSE : false;
    else
    {
        switch (v.vt)
        {
        case VT_I2:
            return D(v.iVal);
        case VT_I4:
            return D(v.lVal);
        case VT_R4:
            return D(v.fltVal);
        case VT_R8:
            return D(v.dblVal);
        case VT_DATE:
            return D(v.date);
        case VT_BOOL:
            return D(v.boolVal != VARIANT_FALSE ? 1 : 0);
        case VT_UI1:
            return D(v.bVal);
        case VT_UI2:
            return D(v.uiVal);
        case VT_UI4:
            return D(v.ulVal);
        default:
            return D();
        }
    }
}

// Stores a member's result in the VARIANT as the entry's type.
void StoreResult(VARIANT* pResult, VARTYPE vt, double d);
void StoreResult(VARIANT* pResult, VARTYPE vt, float f);
void StoreResult(VARIANT* pResult, VARTYPE vt, long long n);
void StoreResult(VARIANT* pResult, VARTYPE vt, BSTR s);
void StoreResult(VARIANT* pResult, VARTYPE vt, VARIANT v);
void StoreResult(VARIANT* pResult, VARTYPE vt, IDispatch* p);
void StoreVoid(VARIANT* pResult);

void VtsToArray(const char* vts, VARTYPE* out, UINT n);

template <class T, auto pfn, size_t... I>
HRESULT CallMember(T* self, const AFX_DISPMAP_ENTRY* pEntry, CoercedArgs& args, VARIANT* pResult,
                   std::index_sequence<I...>)
{
    using Traits = FnTraits<decltype(pfn)>;
    using R = typename Traits::Ret;
    if constexpr (std::is_void_v<R>)
    {
        (self->*pfn)(ArgAs<std::tuple_element_t<I, typename Traits::Args>>(args.v[I])...);
        StoreVoid(pResult);
    }
    else
    {
        R r = (self->*pfn)(ArgAs<std::tuple_element_t<I, typename Traits::Args>>(args.v[I])...);
        if constexpr (std::is_integral_v<R>)
            StoreResult(pResult, pEntry->vt, static_cast<long long>(r));
        else
            StoreResult(pResult, pEntry->vt, r);
    }
    return S_OK;
}

template <class T, auto pfn>
HRESULT MethodThunk(CDispatchMapTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry, DISPPARAMS* pDispParams,
                    VARIANT* pResult, UINT* puArgErr)
{
    using Args = typename FnTraits<decltype(pfn)>::Args;
    constexpr size_t n = std::tuple_size_v<Args>;
    if (pDispParams->cArgs != n)
        return DISP_E_BADPARAMCOUNT;
    CoercedArgs args{UINT(n)};
    if constexpr (n > 0)
    {
        VARTYPE vts[n];
        VtsToArray(pEntry->lpszParams, vts, UINT(n));
        const HRESULT hr = args.Coerce(vts, pDispParams, puArgErr);
        if (FAILED(hr))
            return hr;
    }
    return CallMember<T, pfn>(static_cast<T*>(pTarget), pEntry, args, pResult, std::make_index_sequence<n>{});
}

template <class T, auto pfn>
HRESULT SetterThunk(CDispatchMapTarget* pTarget, const AFX_DISPMAP_ENTRY* pEntry, DISPPARAMS* pDispParams,
                    VARIANT* pResult, UINT* puArgErr)
{
    using Args = typename FnTraits<decltype(pfn)>::Args;
    if (pDispParams->cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    CoercedArgs args(1);
    const VARTYPE vt = pEntry->vt;
    const HRESULT hr = args.Coerce(&vt, pDispParams, puArgErr);
    if (FAILED(hr))
        return hr;
    (static_cast<T*>(pTarget)->*pfn)(ArgAs<std::tuple_element_t<0, Args>>(args.v[0]));
    StoreVoid(pResult);
    return S_OK;
}
} // namespace QyrDisp
