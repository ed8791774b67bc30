#include "opcsdk/OpcStream.h"

#include "com/SafeArray.h"

#include <cstring>

namespace
{
// Bytes of one element of a numeric array type, 0 for types a stream does not carry in arrays.
DWORD ElementSize(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_R4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
        return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    default:
        return 0;
    }
}

bool IsScalar(VARTYPE vt)
{
    return vt == VT_EMPTY || vt == VT_NULL || ElementSize(vt) != 0;
}

size_t Align8(size_t n)
{
    return (n + 7) & ~size_t(7);
}

// Bytes that a value takes in the value area (0 when it is written as VT_EMPTY).
size_t ValueSize(const VARIANT& v)
{
    if (IsScalar(v.vt))
        return sizeof(OPCSTMVARIANT);
    if (v.vt == VT_BSTR)
        return sizeof(OPCSTMVARIANT) + sizeof(DWORD) + (SysStringLen(v.bstrVal) + 1) * sizeof(wchar_t);
    if ((v.vt & VT_ARRAY) && !(v.vt & VT_BYREF) && v.parray)
    {
        VARTYPE elem = VARTYPE(v.vt & VT_TYPEMASK);
        if (ElementSize(elem) == 0 || SafeArrayGetDim(v.parray) != 1 ||
            SafeArrayGetElemsize(v.parray) != ElementSize(elem))
            return sizeof(OPCSTMVARIANT);
        // The count comes from the descriptor: an empty array whose lower bound is LONG's least
        // has an upper bound that wraps round, so its bounds cannot give it.
        const size_t n = v.parray->rgsabound[0].cElements;
        return sizeof(OPCSTMVARIANT) + sizeof(OPCSTMSAFEARRAY) + n * ElementSize(elem);
    }
    return sizeof(OPCSTMVARIANT);
}

void WriteValue(BYTE* at, const VARIANT& v)
{
    OPCSTMVARIANT sv{};
    if (IsScalar(v.vt))
    {
        sv.vt = v.vt;
        std::memcpy(sv.data, &v.llVal, sizeof(sv.data));
        std::memcpy(at, &sv, sizeof(sv));
        return;
    }
    if (v.vt == VT_BSTR)
    {
        sv.vt = VT_BSTR;
        std::memcpy(at, &sv, sizeof(sv));
        DWORD chars = SysStringLen(v.bstrVal);
        DWORD bytes = chars * sizeof(wchar_t);
        std::memcpy(at + sizeof(sv), &bytes, sizeof(bytes));
        if (chars)
            std::memcpy(at + sizeof(sv) + sizeof(bytes), v.bstrVal, bytes);
        wchar_t zero = 0;
        std::memcpy(at + sizeof(sv) + sizeof(bytes) + bytes, &zero, sizeof(zero));
        return;
    }
    if (ValueSize(v) > sizeof(OPCSTMVARIANT))
    {
        VARTYPE elem = VARTYPE(v.vt & VT_TYPEMASK);
        sv.vt = v.vt;
        std::memcpy(at, &sv, sizeof(sv));
        OPCSTMSAFEARRAY sa{};
        sa.cDims = 1;
        sa.cbElements = ElementSize(elem);
        sa.cElements = v.parray->rgsabound[0].cElements;
        sa.lLbound = v.parray->rgsabound[0].lLbound;
        std::memcpy(at + sizeof(sv), &sa, sizeof(sa));
        void* data = nullptr;
        if (sa.cElements && SUCCEEDED(SafeArrayAccessData(v.parray, &data)))
        {
            std::memcpy(at + sizeof(sv) + sizeof(sa), data, size_t(sa.cElements) * sa.cbElements);
            SafeArrayUnaccessData(v.parray);
        }
        return;
    }
    sv.vt = VT_EMPTY;
    std::memcpy(at, &sv, sizeof(sv));
}

template <class T> bool ReadAt(const BYTE* block, size_t size, size_t offset, T* out)
{
    if (offset > size || size - offset < sizeof(T))
        return false;
    std::memcpy(out, block + offset, sizeof(T));
    return true;
}

// Reads the value at offset into v; false when it does not fit or cannot be carried.
bool ReadValue(const BYTE* block, size_t size, size_t offset, VARIANT* v)
{
    OPCSTMVARIANT sv;
    if (!ReadAt(block, size, offset, &sv))
        return false;
    if (IsScalar(sv.vt))
    {
        v->vt = sv.vt;
        std::memcpy(&v->llVal, sv.data, sizeof(sv.data));
        return true;
    }
    size_t after = offset + sizeof(sv);
    if (sv.vt == VT_BSTR)
    {
        DWORD bytes;
        if (!ReadAt(block, size, after, &bytes) || bytes % sizeof(wchar_t) != 0)
            return false;
        size_t chars = bytes / sizeof(wchar_t);
        after += sizeof(bytes);
        if (after > size || size - after < bytes)
            return false;
        std::vector<wchar_t> text(chars + 1, 0);
        if (bytes)
            std::memcpy(text.data(), block + after, bytes);
        BSTR s = SysAllocStringLen(text.data(), UINT(chars));
        if (!s)
            return false;
        v->vt = VT_BSTR;
        v->bstrVal = s;
        return true;
    }
    VARTYPE elem = VARTYPE(sv.vt & VT_TYPEMASK);
    if ((sv.vt & ~VT_TYPEMASK) != VT_ARRAY || ElementSize(elem) == 0)
        return false;
    OPCSTMSAFEARRAY sa;
    if (!ReadAt(block, size, after, &sa) || sa.cDims != 1 || sa.cbElements != ElementSize(elem))
        return false;
    // Its last index must be a LONG, as every index of a SAFEARRAY is.
    if (sa.cElements != 0 && LONGLONG(sa.lLbound) + LONGLONG(sa.cElements) - 1 > LONGLONG(0x7FFFFFFF))
        return false;
    after += sizeof(sa);
    if (after > size || (size - after) / sa.cbElements < sa.cElements)
        return false;
    SAFEARRAY* array = SafeArrayCreateVector(elem, sa.lLbound, sa.cElements);
    if (!array)
        return false;
    void* data = nullptr;
    if (sa.cElements && SUCCEEDED(SafeArrayAccessData(array, &data)))
    {
        std::memcpy(data, block + after, size_t(sa.cElements) * sa.cbElements);
        SafeArrayUnaccessData(array);
    }
    v->vt = sv.vt;
    v->parray = array;
    return true;
}

// Reads the item header at offset into item (without its value); false when it does not fit.
bool ReadItemHeader(const BYTE* block, size_t size, size_t offset, BOOL withTime, OPCSTMITEM* item,
                    DWORD* valueOffset)
{
    if (withTime)
    {
        OPCITEMHEADER1 ih;
        if (!ReadAt(block, size, offset, &ih))
            return false;
        item->hClient = ih.hClient;
        item->wQuality = ih.wQuality;
        item->ftTimeStamp = ih.ftTimeStampItem;
        *valueOffset = ih.dwValueOffset;
        return true;
    }
    OPCITEMHEADER2 ih;
    if (!ReadAt(block, size, offset, &ih))
        return false;
    item->hClient = ih.hClient;
    item->wQuality = ih.wQuality;
    *valueOffset = ih.dwValueOffset;
    return true;
}
} // namespace

HGLOBAL OpcStreamWriteData(BOOL withTime, OPCHANDLE hClientGroup, DWORD dwTransactionID, HRESULT hrStatus,
                           DWORD dwCount, const OPCHANDLE* phClient, const VARIANT* pValues,
                           const WORD* pQualities, const FILETIME* pTimeStamps)
{
    size_t stride = withTime ? sizeof(OPCITEMHEADER1) : sizeof(OPCITEMHEADER2);
    size_t valuesAt = Align8(sizeof(OPCGROUPHEADER) + stride * dwCount);
    size_t total = valuesAt;
    for (DWORD i = 0; i < dwCount; ++i)
        total = Align8(total + ValueSize(pValues[i]));
    if (total > 0xFFFFFFFFu)
        return nullptr;
    HGLOBAL h = GlobalAlloc(GHND, total);
    auto* block = static_cast<BYTE*>(GlobalLock(h));
    if (!block)
    {
        GlobalFree(h);
        return nullptr;
    }
    OPCGROUPHEADER header{DWORD(total), dwCount, hClientGroup, dwTransactionID, hrStatus};
    std::memcpy(block, &header, sizeof(header));
    size_t at = valuesAt;
    for (DWORD i = 0; i < dwCount; ++i)
    {
        BYTE* itemAt = block + sizeof(OPCGROUPHEADER) + stride * i;
        if (withTime)
        {
            OPCITEMHEADER1 item{phClient[i], DWORD(at), pQualities[i], 0,
                                pTimeStamps ? pTimeStamps[i] : FILETIME{}};
            std::memcpy(itemAt, &item, sizeof(item));
        }
        else
        {
            OPCITEMHEADER2 item{phClient[i], DWORD(at), pQualities[i], 0};
            std::memcpy(itemAt, &item, sizeof(item));
        }
        WriteValue(block + at, pValues[i]);
        at = Align8(at + ValueSize(pValues[i]));
    }
    GlobalUnlock(h);
    return h;
}

HGLOBAL OpcStreamWriteComplete(OPCHANDLE hClientGroup, DWORD dwTransactionID, HRESULT hrStatus, DWORD dwCount,
                               const OPCHANDLE* phClient, const HRESULT* pErrors)
{
    size_t total = sizeof(OPCGROUPHEADERWRITE) + size_t(dwCount) * sizeof(OPCITEMHEADERWRITE);
    HGLOBAL h = GlobalAlloc(GHND, total);
    auto* block = static_cast<BYTE*>(GlobalLock(h));
    if (!block)
    {
        GlobalFree(h);
        return nullptr;
    }
    OPCGROUPHEADERWRITE header{dwCount, hClientGroup, dwTransactionID, hrStatus};
    std::memcpy(block, &header, sizeof(header));
    for (DWORD i = 0; i < dwCount; ++i)
    {
        OPCITEMHEADERWRITE item{phClient[i], pErrors[i]};
        std::memcpy(block + sizeof(header) + i * sizeof(item), &item, sizeof(item));
    }
    GlobalUnlock(h);
    return h;
}

BOOL OpcStreamReadData(const BYTE* block, size_t size, BOOL withTime, OPCGROUPHEADER* header,
                       std::vector<OPCSTMITEM>* items)
{
    if (!items)
        return FALSE;
    OpcStreamClear(items);
    OPCGROUPHEADER h;
    if (!block || !ReadAt(block, size, 0, &h))
        return FALSE;
    // The stated size holds at least the group header and lies within the block; the item headers
    // fit into what it leaves. Nothing here may be subtracted before it is compared.
    const size_t stride = withTime ? sizeof(OPCITEMHEADER1) : sizeof(OPCITEMHEADER2);
    if (h.dwSize < sizeof(h) || h.dwSize > size || (h.dwSize - sizeof(h)) / stride < h.dwItemCount)
        return FALSE;
    size = h.dwSize;
    const size_t headersEnd = sizeof(h) + stride * h.dwItemCount;
    std::vector<OPCSTMITEM> read;
    read.reserve(h.dwItemCount);
    for (DWORD i = 0; i < h.dwItemCount; ++i)
    {
        OPCSTMITEM item{};
        VariantInit(&item.vValue);
        const size_t itemAt = sizeof(h) + stride * i;
        DWORD valueOffset = 0;
        if (!ReadItemHeader(block, size, itemAt, withTime, &item, &valueOffset))
        {
            OpcStreamClear(&read);
            return FALSE;
        }
        // A value inside the headers is not a value.
        if (valueOffset < headersEnd || !ReadValue(block, size, valueOffset, &item.vValue))
        {
            VariantInit(&item.vValue);
            item.wQuality = OPC_QUALITY_BAD;
        }
        read.push_back(item);
    }
    items->swap(read);
    if (header)
        *header = h;
    return TRUE;
}

BOOL OpcStreamReadWriteComplete(const BYTE* block, size_t size, OPCGROUPHEADERWRITE* header,
                                std::vector<OPCITEMHEADERWRITE>* items)
{
    if (!items)
        return FALSE;
    items->clear();
    OPCGROUPHEADERWRITE h;
    if (!block || !ReadAt(block, size, 0, &h))
        return FALSE;
    if ((size - sizeof(h)) / sizeof(OPCITEMHEADERWRITE) < h.dwItemCount)
        return FALSE;
    items->resize(h.dwItemCount);
    if (h.dwItemCount)
        std::memcpy(items->data(), block + sizeof(h), h.dwItemCount * sizeof(OPCITEMHEADERWRITE));
    if (header)
        *header = h;
    return TRUE;
}

void OpcStreamClear(std::vector<OPCSTMITEM>* items)
{
    if (!items)
        return;
    for (OPCSTMITEM& item : *items)
        VariantClear(&item.vValue);
    items->clear();
}
