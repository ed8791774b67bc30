// IDispatch and IDispatchEx: late-bound calls by dispatch id with VARIANT arguments.
//
// Arguments in DISPPARAMS come in reverse order, as COM passes them: rgvarg[0] is the last one.
// A property put passes its value as the one named argument DISPID_PROPERTYPUT.
#pragma once

#include "com/ComPtr.h"
#include "com/Variant.h"

struct ITypeInfo;
struct IServiceProvider;

DEFINE_GUID(IID_IDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IDispatchEx, 0xA6EF9860, 0xC720, 0x11D0, 0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9);

// Invoke kinds.
#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPATCH_CONSTRUCT 0x4000

// Reserved dispatch ids.
#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
#define DISPID_NEWENUM (-4)
#define DISPID_EVALUATE (-5)
#define DISPID_CONSTRUCTOR (-6)
#define DISPID_DESTRUCTOR (-7)
#define DISPID_COLLECT (-8)
#define DISPID_STARTENUM DISPID_UNKNOWN

// IDispatchEx name flags (only those the callers use).
#define fdexNameCaseSensitive 0x00000001L
#define fdexNameEnsure 0x00000002L
#define fdexNameImplicit 0x00000004L
#define fdexNameCaseInsensitive 0x00000008L
#define fdexEnumDefault 0x00000001L
#define fdexEnumAll 0x00000002L

#ifndef LOCALE_USER_DEFAULT
#define LOCALE_USER_DEFAULT 0x0400
#endif
#ifndef LOCALE_SYSTEM_DEFAULT
#define LOCALE_SYSTEM_DEFAULT 0x0800
#endif

struct DISPPARAMS
{
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO
{
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};
typedef EXCEPINFO* LPEXCEPINFO;

struct IDispatch : public IUnknown
{
    static const IID& Iid() { return IID_IDispatch; }

    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) PURE;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) PURE;
    // Names are the member first, then its named parameters; each gets its id or DISPID_UNKNOWN.
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) PURE;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
     EXCEPINFO* pExcepInfo, UINT* puArgErr) PURE;
};

// The enumerable form: members can be listed and their names read back.
struct IDispatchEx : public IDispatch
{
    static const IID& Iid() { return IID_IDispatchEx; }
    typedef IDispatch QyrBase;

    STDMETHOD(GetDispID)(BSTR bstrName, DWORD grfdex, DISPID* pid) PURE;
    STDMETHOD(InvokeEx)
    (DISPID id, LCID lcid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarRes, EXCEPINFO* pei,
     IServiceProvider* pspCaller) PURE;
    STDMETHOD(DeleteMemberByName)(BSTR bstrName, DWORD grfdex) PURE;
    STDMETHOD(DeleteMemberByDispID)(DISPID id) PURE;
    STDMETHOD(GetMemberProperties)(DISPID id, DWORD grfdexFetch, DWORD* pgrfdex) PURE;
    STDMETHOD(GetMemberName)(DISPID id, BSTR* pbstrName) PURE;
    // DISPID_STARTENUM starts; S_FALSE (and DISPID_UNKNOWN) after the last member.
    STDMETHOD(GetNextDispID)(DWORD grfdex, DISPID id, DISPID* pid) PURE;
    STDMETHOD(GetNameSpaceParent)(IUnknown** ppunk) PURE;
};

// Frees the strings of an EXCEPINFO and zeroes it.
void QyrClearExcepInfo(EXCEPINFO* pExcepInfo);
// Fills an EXCEPINFO (when given) for DISP_E_EXCEPTION.
void QyrFillExcepInfo(EXCEPINFO* pExcepInfo, SCODE scode, LPCOLESTR lpszDescription, LPCOLESTR lpszSource);
