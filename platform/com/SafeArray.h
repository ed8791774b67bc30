// SAFEARRAY: a self-describing array of automation values.
//
// Bounds passed to SafeArrayCreate and indices passed to Put/GetElement are given from dimension 1
// on; the descriptor keeps rgsabound in the reverse order (the last dimension first), and dimension
// 1 varies fastest in memory. Only the last dimension can be changed by SafeArrayRedim.
#pragma once

#include "com/Variant.h"

struct SAFEARRAYBOUND
{
    ULONG cElements;
    LONG lLbound;
};
typedef SAFEARRAYBOUND* LPSAFEARRAYBOUND;

struct SAFEARRAY
{
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    SAFEARRAYBOUND rgsabound[1]; // cDims entries
};
typedef SAFEARRAY* LPSAFEARRAY;

#define FADF_AUTO 0x0001
#define FADF_STATIC 0x0002
#define FADF_EMBEDDED 0x0004
#define FADF_FIXEDSIZE 0x0010
#define FADF_RECORD 0x0020
#define FADF_HAVEIID 0x0040
#define FADF_HAVEVARTYPE 0x0080
#define FADF_BSTR 0x0100
#define FADF_UNKNOWN 0x0200
#define FADF_DISPATCH 0x0400
#define FADF_VARIANT 0x0800
#define FADF_RESERVED 0xF008

// Element types: VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_INT, VT_UINT, VT_I8, VT_UI8, VT_R4,
// VT_R8, VT_CY, VT_DATE, VT_BOOL, VT_ERROR, VT_BSTR, VT_VARIANT, VT_UNKNOWN, VT_DISPATCH. The data is
// zero-filled. Null for another type, more than 64 dimensions or a size beyond reason.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
// Frees the elements (BSTRs, variants, interface references) and the array.
// DISP_E_ARRAYISLOCKED while it is locked; S_OK for null.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
// nDim from 1; DISP_E_BADINDEX for another.
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
HRESULT SafeArrayLock(SAFEARRAY* psa);
// E_UNEXPECTED when not locked.
HRESULT SafeArrayUnlock(SAFEARRAY* psa);
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);
// The element's address; DISP_E_BADINDEX when an index is out of its bounds.
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData);
// pv is the BSTR itself for VT_BSTR arrays, the interface pointer itself for VT_UNKNOWN and
// VT_DISPATCH, and a pointer to the value otherwise. The value is copied (BSTRs and variants
// duplicated, interfaces AddRef'd) and the element's old value freed.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
// pv points to storage for one element, which receives a copy the caller owns; a VARIANT there
// must be initialised, as it is cleared first.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
// A deep copy; a null psa gives null.
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);
// New bounds for the last dimension; elements that fall off are freed, new ones are zero.
HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew);
