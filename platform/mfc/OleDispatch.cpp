#include "mfc/OleDispatch.h"

namespace
{
std::atomic<LONG> g_nOleLocks{0};
} // namespace

void AfxOleLockApp()
{
    ++g_nOleLocks;
}

void AfxOleUnlockApp()
{
    // Never below zero, whatever the callers do.
    LONG n = g_nOleLocks.load();
    while (n > 0 && !g_nOleLocks.compare_exchange_weak(n, n - 1))
    {
    }
}

LONG AfxOleGetLockCount()
{
    return g_nOleLocks.load();
}

BOOL AfxOleCanExitApp()
{
    return g_nOleLocks.load() == 0;
}

CCmdTargetDispatch::CCmdTargetDispatch() : m_xDispatch(this) {}

CCmdTargetDispatch::~CCmdTargetDispatch() = default;

void CCmdTargetDispatch::EnableAutomation()
{
    m_bAutomation = TRUE;
}

LPDISPATCH CCmdTargetDispatch::GetIDispatch(BOOL bAddRef)
{
    if (!m_bAutomation)
        return nullptr;
    if (bAddRef)
        ExternalAddRef();
    return &m_xDispatch;
}

LPUNKNOWN CCmdTargetDispatch::GetControllingUnknown()
{
    return &m_xDispatch;
}

ULONG CCmdTargetDispatch::ExternalAddRef()
{
    return ++m_dwRef;
}

ULONG CCmdTargetDispatch::ExternalRelease()
{
    const ULONG n = --m_dwRef;
    if (n == 0)
        OnFinalRelease();
    return n;
}

void CCmdTargetDispatch::OnFinalRelease()
{
    delete this;
}

BOOL CCmdTargetDispatch::IsDispatchIID(REFIID) const
{
    return FALSE;
}

HRESULT CCmdTargetDispatch::ExternalQueryInterface(REFIID riid, void** ppvObj)
{
    if (!ppvObj)
        return E_POINTER;
    *ppvObj = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) ||
        (m_bAutomation &&
         (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IDispatchEx) || IsDispatchIID(riid))))
    {
        ExternalAddRef();
        *ppvObj = static_cast<IDispatchEx*>(&m_xDispatch);
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CCmdTargetDispatch::InvokeByName(LPCOLESTR lpszName, WORD wFlags, DISPPARAMS* pDispParams,
                                         VARIANT* pVarResult)
{
    const DISPID id = MemberIDFromName(lpszName);
    if (id == DISPID_UNKNOWN)
        return DISP_E_UNKNOWNNAME;
    EXCEPINFO info = {};
    const HRESULT hr = InvokeMember(id, wFlags, pDispParams, pVarResult, &info, nullptr);
    QyrClearExcepInfo(&info);
    return hr;
}

// The interface part: every call goes to the owner.

HRESULT CCmdTargetDispatch::XDispatch::QueryInterface(REFIID riid, void** ppvObject)
{
    return m_pOwner->ExternalQueryInterface(riid, ppvObject);
}

ULONG CCmdTargetDispatch::XDispatch::AddRef()
{
    return m_pOwner->ExternalAddRef();
}

ULONG CCmdTargetDispatch::XDispatch::Release()
{
    return m_pOwner->ExternalRelease();
}

HRESULT CCmdTargetDispatch::XDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT CCmdTargetDispatch::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT CCmdTargetDispatch::XDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                                                     DISPID* rgDispId)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!rgszNames || !rgDispId || cNames == 0)
        return E_INVALIDARG;
    rgDispId[0] = m_pOwner->MemberIDFromName(rgszNames[0]);
    // Parameter names are not known.
    for (UINT i = 1; i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    return rgDispId[0] == DISPID_UNKNOWN || cNames > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT CCmdTargetDispatch::XDispatch::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                                              DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                              EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    // The object stays alive for the call even when the member lets go of it.
    m_pOwner->ExternalAddRef();
    const HRESULT hr =
        m_pOwner->InvokeMember(dispIdMember, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
    m_pOwner->ExternalRelease();
    return hr;
}

HRESULT CCmdTargetDispatch::XDispatch::GetDispID(BSTR bstrName, DWORD, DISPID* pid)
{
    if (!pid)
        return E_POINTER;
    *pid = m_pOwner->MemberIDFromName(bstrName);
    return *pid == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT CCmdTargetDispatch::XDispatch::InvokeEx(DISPID id, LCID lcid, WORD wFlags, DISPPARAMS* pdp,
                                                VARIANT* pvarRes, EXCEPINFO* pei, IServiceProvider*)
{
    return Invoke(id, IID_NULL, lcid, wFlags, pdp, pvarRes, pei, nullptr);
}

HRESULT CCmdTargetDispatch::XDispatch::DeleteMemberByName(BSTR, DWORD)
{
    return S_FALSE;
}

HRESULT CCmdTargetDispatch::XDispatch::DeleteMemberByDispID(DISPID)
{
    return S_FALSE;
}

HRESULT CCmdTargetDispatch::XDispatch::GetMemberProperties(DISPID, DWORD, DWORD* pgrfdex)
{
    if (pgrfdex)
        *pgrfdex = 0;
    return E_NOTIMPL;
}

HRESULT CCmdTargetDispatch::XDispatch::GetMemberName(DISPID id, BSTR* pbstrName)
{
    if (!pbstrName)
        return E_POINTER;
    const LPCWSTR name = m_pOwner->MemberNameFromID(id);
    *pbstrName = name ? SysAllocString(name) : nullptr;
    return name ? S_OK : DISP_E_MEMBERNOTFOUND;
}

HRESULT CCmdTargetDispatch::XDispatch::GetNextDispID(DWORD, DISPID id, DISPID* pid)
{
    if (!pid)
        return E_POINTER;
    *pid = m_pOwner->NextMemberID(id);
    return *pid == DISPID_UNKNOWN ? S_FALSE : S_OK;
}

HRESULT CCmdTargetDispatch::XDispatch::GetNameSpaceParent(IUnknown** ppunk)
{
    if (ppunk)
        *ppunk = nullptr;
    return E_NOTIMPL;
}
