// Data transfer objects: IDataObject with its advise sink IAdviseSink, the FORMATETC and STGMEDIUM
// records, global memory blocks (GlobalAlloc family) and registered clipboard format names.
#pragma once

#include "com/ComObject.h"
#include "com/Enumerators.h"

#ifndef DV_E_FORMATETC
#define DV_E_FORMATETC ((HRESULT)0x80040064L)
#endif
#ifndef DV_E_TYMED
#define DV_E_TYMED ((HRESULT)0x80040069L)
#endif
#ifndef DV_E_DVASPECT
#define DV_E_DVASPECT ((HRESULT)0x8004006BL)
#endif
#ifndef DV_E_LINDEX
#define DV_E_LINDEX ((HRESULT)0x80040068L)
#endif
#ifndef OLE_E_ADVISENOTSUPPORTED
#define OLE_E_ADVISENOTSUPPORTED ((HRESULT)0x80040003L)
#endif
#ifndef OLE_E_NOCONNECTION
#define OLE_E_NOCONNECTION ((HRESULT)0x80040004L)
#endif

typedef WORD CLIPFORMAT;

// Global memory. A handle is the address of a block made by GlobalAlloc; GlobalLock gives its
// data and GlobalSize its size. Handles not made here are refused (null, 0).
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
size_t GlobalSize(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem); // null on success

// Process-wide names to format numbers from 0xC000; the same name (case ignored) gives the same
// number. 0 for an empty name.
UINT RegisterClipboardFormatW(LPCWSTR lpszFormat);
#define RegisterClipboardFormat RegisterClipboardFormatW
// The name of a registered format; the characters copied (0 when unknown).
int GetClipboardFormatNameW(UINT format, LPWSTR lpszFormatName, int cchMaxCount);

#define DVASPECT_CONTENT 1
#define DVASPECT_THUMBNAIL 2
#define DVASPECT_ICON 4
#define DVASPECT_DOCPRINT 8

#define TYMED_NULL 0
#define TYMED_HGLOBAL 1
#define TYMED_FILE 2
#define TYMED_ISTREAM 4
#define TYMED_ISTORAGE 8
#define TYMED_GDI 16
#define TYMED_MFPICT 32
#define TYMED_ENHMF 64

#define ADVF_NODATA 1
#define ADVF_PRIMEFIRST 2
#define ADVF_ONLYONCE 4
#define ADVF_DATAONSTOP 64

struct DVTARGETDEVICE; // target devices are not used
struct FORMATETC
{
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
typedef FORMATETC* LPFORMATETC;

struct STGMEDIUM
{
    DWORD tymed;
    union
    {
        HGLOBAL hGlobal;
        LPOLESTR lpszFileName;
        void* pstm; // streams and storages are not used
    };
    IUnknown* pUnkForRelease;
};
typedef STGMEDIUM* LPSTGMEDIUM;
// Frees the medium's global block (or releases pUnkForRelease instead when set).
void ReleaseStgMedium(LPSTGMEDIUM pmedium);

inline const IID IID_IDataObject = {
    0x0000010E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IAdviseSink = {
    0x0000010F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IMoniker;       // not offered
class IEnumFORMATETC; // not offered: EnumFormatEtc returns E_NOTIMPL
class IEnumSTATDATA;  // not offered: EnumDAdvise returns OLE_E_ADVISENOTSUPPORTED

class IAdviseSink : public IUnknown
{
public:
    static const IID& Iid() { return IID_IAdviseSink; }
    // The medium stays owned by the caller.
    virtual void STDMETHODCALLTYPE OnDataChange(FORMATETC* pFormatetc, STGMEDIUM* pStgmed) = 0;
    virtual void STDMETHODCALLTYPE OnViewChange(DWORD dwAspect, LONG lindex) = 0;
    virtual void STDMETHODCALLTYPE OnRename(IMoniker* pmk) = 0;
    virtual void STDMETHODCALLTYPE OnSave() = 0;
    virtual void STDMETHODCALLTYPE OnClose() = 0;
};
typedef IAdviseSink* LPADVISESINK;

class IDataObject : public IUnknown
{
public:
    static const IID& Iid() { return IID_IDataObject; }
    virtual HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pformatetc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* pformatectIn,
                                                            FORMATETC* pformatetcOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) = 0;
    virtual HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                                              DWORD* pdwConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE DUnadvise(DWORD dwConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** ppenumAdvise) = 0;
};
typedef IDataObject* LPDATAOBJECT;
