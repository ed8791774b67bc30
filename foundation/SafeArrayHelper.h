// The owner of one SAFEARRAY. Every operation answers FALSE (or null, or an empty VARIANT) while
// no array is held.
#pragma once

#include "com/SafeArray.h"
#include "win32/WinTypes.h"

class CSafeArrayHelper
{
public:
    CSafeArrayHelper() = default;
    ~CSafeArrayHelper();
    CSafeArrayHelper(const CSafeArrayHelper&) = delete;
    CSafeArrayHelper& operator=(const CSafeArrayHelper&) = delete;

    // Destroys any earlier array. One dimension makes a vector; more give every dimension the same
    // lower bound and element count. Returns whether the array exists.
    BOOL Create(VARTYPE vt, UINT dimensions, LONG lowerBound, ULONG elements);
    BOOL Destroy();
    SAFEARRAY* GetArray() const { return m_pArray; }
    UINT GetDimension() const;
    // Takes ownership, destroying the earlier array.
    BOOL Attach(SAFEARRAY* array);
    // Gives the array up to the caller.
    SAFEARRAY* Detach();
    // Takes the array out of a VARIANT of type VT_ARRAY | x, which is left empty.
    BOOL AttachFromVariant(VARIANT* variant);
    BOOL AccessData(void** data);
    BOOL UnaccessData();
    BOOL Lock();
    BOOL Unlock();
    // One-dimensional arrays. The data is what SafeArrayPutElement/GetElement take: the BSTR or
    // interface itself for those types, else a pointer to the value (a VARIANT* for VT_VARIANT).
    BOOL PutElement(LONG index, void* data);
    BOOL GetElement(LONG index, void* data);
    // VT_ARRAY with the element type read from the array's features and element size. The VARIANT
    // refers to the array, which stays owned here: do not clear it.
    VARIANT GetAsVariant() const;

private:
    SAFEARRAY* m_pArray = nullptr;
};
