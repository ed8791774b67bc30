// Inside platform/mfc only: POSITIONs over the vectors that hold views, documents and templates.
#pragma once

#include "mfc/Collections.h"

#include <cstdint>
#include <vector>

// A POSITION is the element's index plus one; null ends the walk.
template <class T> POSITION AfxVectorHeadPosition(const std::vector<T*>& v)
{
    return v.empty() ? nullptr : reinterpret_cast<POSITION>(uintptr_t(1));
}

template <class T> T* AfxVectorGetNext(const std::vector<T*>& v, POSITION& rPosition)
{
    const uintptr_t n = reinterpret_cast<uintptr_t>(rPosition);
    if (n == 0 || n > v.size())
    {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = n < v.size() ? reinterpret_cast<POSITION>(n + 1) : nullptr;
    return v[n - 1];
}
