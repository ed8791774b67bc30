// Smart pointers over counted interfaces, and the id of an interface type.
#pragma once

#include "com/Guid.h"
#include "com/Unknown.h"

#include <memory>
#include <type_traits>
#include <utility>

// The id of an interface type: interfaces of this layer carry a static Iid(); IUnknown is known here.
template <class T> inline const IID& QyrIidOf()
{
    return T::Iid();
}
template <> inline const IID& QyrIidOf<IUnknown>()
{
    return IID_IUnknown;
}

// One counted reference, released on destruction.
template <class T> class CComPtr
{
public:
    CComPtr() = default;
    CComPtr(std::nullptr_t) {}
    CComPtr(T* p) : p(p)
    {
        if (p)
            p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* other)
    {
        if (other)
            other->AddRef();
        T* old = p;
        p = other;
        if (old)
            old->Release();
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != std::addressof(other))
        {
            T* old = p;
            p = other.p;
            other.p = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }

    operator T*() const { return p; }
    T* operator->() const { return p; }
    T& operator*() const { return *p; }
    // For out-parameters: a reference still held is released first, so none is lost.
    T** operator&()
    {
        Release();
        return &p;
    }
    bool operator!() const { return p == nullptr; }

    void Release()
    {
        T* old = p;
        p = nullptr;
        if (old)
            old->Release();
    }
    // Takes over a reference without counting it again.
    void Attach(T* other)
    {
        if (p)
            p->Release();
        p = other;
    }
    T* Detach()
    {
        T* old = p;
        p = nullptr;
        return old;
    }
    HRESULT CopyTo(T** out) const
    {
        if (!out)
            return E_POINTER;
        *out = p;
        if (p)
            p->AddRef();
        return S_OK;
    }
    template <class Q> HRESULT QueryInterface(Q** out) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!p)
            return E_POINTER;
        return p->QueryInterface(QyrIidOf<Q>(), reinterpret_cast<void**>(out));
    }
    bool IsEqualObject(IUnknown* other) const;

    T* p = nullptr;
};

// A counted reference obtained by QueryInterface from any other interface.
template <class T> class CComQIPtr : public CComPtr<T>
{
public:
    CComQIPtr() = default;
    CComQIPtr(T* other) : CComPtr<T>(other) {}
    CComQIPtr(const CComQIPtr& other) : CComPtr<T>(other.p) {}
    CComQIPtr(IUnknown* other) requires(!std::is_same_v<T, IUnknown>) { Query(other); }
    template <class U> CComQIPtr(const CComPtr<U>& other) { Query(other.p); }
    CComQIPtr& operator=(IUnknown* other) requires(!std::is_same_v<T, IUnknown>)
    {
        CComPtr<T>::Release();
        Query(other);
        return *this;
    }
    template <class U> CComQIPtr& operator=(const CComPtr<U>& other)
    {
        CComPtr<T>::Release();
        Query(other.p);
        return *this;
    }
    CComQIPtr& operator=(const CComQIPtr& other)
    {
        CComPtr<T>::operator=(other.p);
        return *this;
    }

private:
    void Query(IUnknown* other)
    {
        if (other)
            other->QueryInterface(QyrIidOf<T>(), reinterpret_cast<void**>(&this->p));
    }
};

template <class T> bool CComPtr<T>::IsEqualObject(IUnknown* other) const
{
    if (!p && !other)
        return true;
    if (!p || !other)
        return false;
    IUnknown* a = nullptr;
    IUnknown* b = nullptr;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
    other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
    bool same = a && a == b;
    if (a)
        a->Release();
    if (b)
        b->Release();
    return same;
}
