// Base for objects that implement interfaces: an atomic reference count and a QueryInterface table
// made from the list of implemented interfaces.
//
//   class CThing : public CComObjectImpl<IOPCServer, IOPCCommon> { ... };
//   CComPtr<CThing> thing = QyrNewObject<CThing>(args...);
//
// An interface that extends another names it as `typedef IBase QyrBase;`, so asking for the base
// finds the extended one. Other ids are answered by overriding QueryOther.
#pragma once

#include "com/ComPtr.h"

#include <atomic>
#include <utility>

class CComRefCounted
{
public:
    CComRefCounted() = default;
    CComRefCounted(const CComRefCounted&) = delete;
    CComRefCounted& operator=(const CComRefCounted&) = delete;
    virtual ~CComRefCounted() = default;

    // Takes a reference only while the count is above 0. Tables that keep objects without counting
    // them use it, under the lock that the object's destructor takes to leave the table.
    bool TryAddRef()
    {
        ULONG n = m_cRef.load();
        while (n != 0)
        {
            if (m_cRef.compare_exchange_weak(n, n + 1))
                return true;
        }
        return false;
    }
    ULONG RefCount() const { return m_cRef.load(); }

protected:
    ULONG InternalAddRef() { return m_cRef.fetch_add(1) + 1; }
    ULONG InternalRelease()
    {
        ULONG n = m_cRef.fetch_sub(1) - 1;
        if (n == 0)
            delete this;
        return n;
    }

private:
    std::atomic<ULONG> m_cRef{0};
};

template <class I, class Self> void* QyrCastToInterface(Self* self, REFIID riid)
{
    if (IsEqualGUID(riid, QyrIidOf<I>()))
        return static_cast<I*>(self);
    if constexpr (requires { typename I::QyrBase; })
        return QyrCastToInterface<typename I::QyrBase>(static_cast<I*>(self), riid);
    else
        return nullptr;
}

template <class First, class... Rest>
class CComObjectImpl : public CComRefCounted, public First, public Rest...
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        void* found = nullptr;
        if (IsEqualGUID(riid, IID_IUnknown))
            found = static_cast<IUnknown*>(static_cast<First*>(this));
        else
        {
            found = QyrCastToInterface<First>(this, riid);
            ((found = found ? found : QyrCastToInterface<Rest>(this, riid)), ...);
            if (!found)
                found = QueryOther(riid);
        }
        *ppv = found;
        if (!found)
            return E_NOINTERFACE;
        InternalAddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return InternalRelease(); }

    // The object's identity.
    IUnknown* GetUnknown() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    virtual void* QueryOther(REFIID) { return nullptr; }
};

// A new object with its first reference held by the result.
template <class T, class... Args> CComPtr<T> QyrNewObject(Args&&... args)
{
    return CComPtr<T>(new T(std::forward<Args>(args)...));
}
