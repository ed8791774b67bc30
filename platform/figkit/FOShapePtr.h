// CFOShapePtr: one counted reference on a shape, over the shape's own AddRef and Release.
//
// Holding one keeps the shape alive; the reference goes with the pointer. Adopt takes over a
// reference the caller already holds (a factory's result) without counting it again.
#pragma once

#include <cstddef>
#include <utility>

template <class T> class CFOShapePtr
{
public:
    CFOShapePtr() = default;
    CFOShapePtr(std::nullptr_t) {}
    CFOShapePtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CFOShapePtr(const CFOShapePtr& other) : CFOShapePtr(other.m_p) {}
    CFOShapePtr(CFOShapePtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U> CFOShapePtr(const CFOShapePtr<U>& other) : CFOShapePtr(other.Get()) {}
    ~CFOShapePtr() { Reset(); }

    CFOShapePtr& operator=(T* p)
    {
        if (p)
            p->AddRef();
        T* old = std::exchange(m_p, p);
        if (old)
            old->Release();
        return *this;
    }
    CFOShapePtr& operator=(const CFOShapePtr& other) { return *this = other.m_p; }
    CFOShapePtr& operator=(CFOShapePtr&& other) noexcept
    {
        if (this != &other)
        {
            T* old = std::exchange(m_p, std::exchange(other.m_p, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }

    // Takes over one reference that the caller holds.
    static CFOShapePtr Adopt(T* p)
    {
        CFOShapePtr ptr;
        ptr.m_p = p;
        return ptr;
    }
    // Gives the reference to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }
    void Reset()
    {
        if (T* old = std::exchange(m_p, nullptr))
            old->Release();
    }

    T* Get() const { return m_p; }
    operator T*() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
