// An IDispatch without type information and, unless a class overrides GetIDsOfNames and Invoke,
// without members. More lists the other interfaces the object implements.
#pragma once

#include "com/ComObject.h"
#include "com/Dispatch.h"

template <class... More> class CEmptyDispatchImpl : public CComObjectImpl<IDispatch, More...>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override
    {
        for (UINT i = 0; rgDispId && i < cNames; ++i)
            rgDispId[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

typedef CEmptyDispatchImpl<> CEmptyDispatch;
