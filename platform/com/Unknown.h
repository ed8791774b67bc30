// IUnknown and the interface declaration macros.
#pragma once

#include "com/Guid.h"

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

// Every interface derives from this one alone as its first base, so an interface pointer is also
// an IUnknown pointer at the same address (the VARIANT code relies on it for IDispatch).
struct IUnknown
{
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;

    // Objects are destroyed by their own Release; the virtual destructor keeps that safe.
    virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

// Defined with the automation interfaces; here only passed along.
struct IDispatch;
typedef IDispatch* LPDISPATCH;
struct IRecordInfo;
struct IErrorInfo;
