// The interface holders of groups and items: active flag, server handle, name and the server's
// interface(s) for the object, each held with one counted reference.
#pragma once

#include "com/ComPtr.h"
#include "mfc/CString.h"
#include "mfc/Object.h"
#include "opcsdk/OpcDa.h"

// One interface (items: IOPCItemMgt, which items never fill).
template <class I> class CBase : public CObject
{
public:
    CBase() = default;
    CBase(const CBase&) = delete;
    CBase& operator=(const CBase&) = delete;
    ~CBase() override { ReleaseInterface(); }

    BOOL IsActive() const { return m_bActive; }
    void SetActive(BOOL active) { m_bActive = active; }
    OPCHANDLE GetHandle() const { return m_hServer; }
    void SetHandle(OPCHANDLE handle) { m_hServer = handle; }
    const CString& GetName() const { return m_strName; }
    void SetName(LPCWSTR name) { m_strName = name; }

    void SetInterface(I* itf) { m_pInterface = itf; }
    // A new counted reference, or null.
    CComPtr<I> GetInterface() const { return m_pInterface; }
    void ReleaseInterface() { m_pInterface.Release(); }

protected:
    BOOL m_bActive = TRUE;
    OPCHANDLE m_hServer = 0;
    CString m_strName;
    CComPtr<I> m_pInterface;
};

// Two interfaces: the older one (I1) and its newer variant (I2, which derives from I1).
template <class I1, class I2> class CBase2 : public CObject
{
public:
    CBase2() = default;
    CBase2(const CBase2&) = delete;
    CBase2& operator=(const CBase2&) = delete;
    ~CBase2() override { ReleaseInterfaces(); }

    BOOL IsActive() const { return m_bActive; }
    void SetActive(BOOL active) { m_bActive = active; }
    OPCHANDLE GetHandle() const { return m_hServer; }
    void SetHandle(OPCHANDLE handle) { m_hServer = handle; }
    const CString& GetName() const { return m_strName; }
    void SetName(LPCWSTR name) { m_strName = name; }

    void SetInterface1(I1* itf) { m_pInterface1 = itf; }
    CComPtr<I1> GetInterface1() const { return m_pInterface1; }
    void SetInterface2(I2* itf) { m_pInterface2 = itf; }
    CComPtr<I2> GetInterface2() const { return m_pInterface2; }

    // The newer interface when held, else the older one, as IUnknown; null when neither is held.
    CComPtr<IUnknown> GetSafeInterface() const
    {
        if (m_pInterface2)
            return CComPtr<IUnknown>(static_cast<IUnknown*>(m_pInterface2.p));
        if (m_pInterface1)
            return CComPtr<IUnknown>(static_cast<IUnknown*>(m_pInterface1.p));
        return CComPtr<IUnknown>();
    }
    void ReleaseInterfaces()
    {
        m_pInterface2.Release();
        m_pInterface1.Release();
    }

protected:
    BOOL m_bActive = TRUE;
    OPCHANDLE m_hServer = 0;
    CString m_strName;
    CComPtr<I1> m_pInterface1;
    CComPtr<I2> m_pInterface2;
};
