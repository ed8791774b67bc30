// Automation for command targets: a COM identity with IDispatch (and IDispatchEx) answered from the
// class's dispatch map.
//
//   class CHost : public CCmdTarget, public CCmdTargetDispatch { ... DECLARE_DISPATCH_MAP() };
//
// The object starts with one reference, its creator's. ExternalAddRef/ExternalRelease (and the
// interfaces' AddRef/Release) count; when the count reaches 0, OnFinalRelease deletes the object.
// An object made on the stack or owned otherwise must outlive every reference handed out.
//
// The application lock (AfxOleLockApp) counts the automation objects that keep the program alive.
#pragma once

#include "com/DispatchMap.h"

#include <atomic>

class CCmdTargetDispatch : public CDispatchMapTarget
{
public:
    CCmdTargetDispatch();
    ~CCmdTargetDispatch() override;
    CCmdTargetDispatch(const CCmdTargetDispatch&) = delete;
    CCmdTargetDispatch& operator=(const CCmdTargetDispatch&) = delete;

    // Makes the dispatch interface available; GetIDispatch answers null before.
    void EnableAutomation();
    BOOL IsAutomationEnabled() const { return m_bAutomation; }
    // The object's IDispatch (an IDispatchEx), AddRef'd when asked.
    LPDISPATCH GetIDispatch(BOOL bAddRef);
    LPUNKNOWN GetControllingUnknown();

    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    HRESULT ExternalQueryInterface(REFIID riid, void** ppvObj);
    ULONG GetRefCount() const { return m_dwRef.load(); }

    // Calls a member of the map by name (for C++ callers and tests).
    HRESULT InvokeByName(LPCOLESTR lpszName, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult);

protected:
    // Deletes the object; called once the last reference is gone.
    virtual void OnFinalRelease();
    // Extra interface ids that the object answers with its dispatch interface.
    virtual BOOL IsDispatchIID(REFIID riid) const;

private:
    class XDispatch : public IDispatchEx
    {
    public:
        explicit XDispatch(CCmdTargetDispatch* pOwner) : m_pOwner(pOwner) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        STDMETHOD(GetIDsOfNames)
        (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
        STDMETHOD(Invoke)
        (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
        STDMETHOD(GetDispID)(BSTR bstrName, DWORD grfdex, DISPID* pid) override;
        STDMETHOD(InvokeEx)
        (DISPID id, LCID lcid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarRes, EXCEPINFO* pei,
         IServiceProvider* pspCaller) override;
        STDMETHOD(DeleteMemberByName)(BSTR bstrName, DWORD grfdex) override;
        STDMETHOD(DeleteMemberByDispID)(DISPID id) override;
        STDMETHOD(GetMemberProperties)(DISPID id, DWORD grfdexFetch, DWORD* pgrfdex) override;
        STDMETHOD(GetMemberName)(DISPID id, BSTR* pbstrName) override;
        STDMETHOD(GetNextDispID)(DWORD grfdex, DISPID id, DISPID* pid) override;
        STDMETHOD(GetNameSpaceParent)(IUnknown** ppunk) override;

    private:
        CCmdTargetDispatch* m_pOwner;
    };

    std::atomic<ULONG> m_dwRef{1};
    BOOL m_bAutomation = FALSE;
    XDispatch m_xDispatch;
};

// The count of automation objects and servers that keep the application running.
void AfxOleLockApp();
void AfxOleUnlockApp();
LONG AfxOleGetLockCount();
BOOL AfxOleCanExitApp();
