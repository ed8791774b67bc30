// The OLE interfaces that control containment uses: a byte stream, stream persistence, the object's
// verbs and client site, and the view interface through which a hosted control paints into its
// site's window.
#pragma once

#include "com/Dispatch.h"
#include "com/PersistFile.h"
#include "mfc/Messages.h"

class CDC;

inline const IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IPersistStreamInit = {
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};
inline const IID IID_IOleObject = {
    0x00000112, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IOleClientSite = {
    0x00000118, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IQyrControlView = {
    0x5B0E7A41, 0x3C2D, 0x4E8F, {0x9A, 0x61, 0x2F, 0x4D, 0x80, 0x1C, 0x77, 0xA3}};

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2

#define OLEIVERB_PRIMARY 0L
#define OLEIVERB_SHOW (-1L)
#define OLEIVERB_PROPERTIES (-7L)

#ifndef STG_E_INVALIDFUNCTION
#define STG_E_INVALIDFUNCTION ((HRESULT)0x80030001L)
#endif
#ifndef STG_E_READFAULT
#define STG_E_READFAULT ((HRESULT)0x8003001EL)
#endif
#ifndef OLEOBJ_E_NOVERBS
#define OLEOBJ_E_NOVERBS ((HRESULT)0x80040180L)
#endif

// A seekable byte stream.
class IStream : public IUnknown
{
public:
    static const IID& Iid() { return IID_IStream; }
    // Reads up to cb bytes; *pcbRead gets how many came (fewer at the end: S_FALSE).
    virtual HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
    virtual HRESULT STDMETHODCALLTYPE Seek(LONGLONG dlibMove, DWORD dwOrigin, ULONGLONG* plibNewPosition) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSize(ULONGLONG libNewSize) = 0;
    // The stream's length in bytes.
    virtual HRESULT STDMETHODCALLTYPE GetSize(ULONGLONG* pcbSize) = 0;
};
typedef IStream* LPSTREAM;

// An object that saves its state into a stream and loads it back.
class IPersistStreamInit : public IPersist
{
public:
    typedef IPersist QyrBase;
    static const IID& Iid() { return IID_IPersistStreamInit; }
    virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;
    virtual HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULONGLONG* pcbSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;
};

// The container's side of an embedded object.
class IOleClientSite : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOleClientSite; }
    virtual HRESULT STDMETHODCALLTYPE SaveObject() = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowObject() = 0;
    // The window that hosts the object (null before it is made).
    virtual HWND STDMETHODCALLTYPE GetSiteWindow() = 0;
};

// The object's side: its client site and its verbs.
class IOleObject : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOleObject; }
    virtual HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) = 0;
    // S_OK with a new reference, or E_FAIL when the object has no site.
    virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, MSG* lpmsg, IOleClientSite* pActiveSite, LONG lindex,
                                             HWND hwndParent, LPCRECT lprcPosRect) = 0;
};

// Painting of a control that draws into its site's window.
class IQyrControlView : public IUnknown
{
public:
    static const IID& Iid() { return IID_IQyrControlView; }
    virtual HRESULT STDMETHODCALLTYPE Draw(CDC* pDC, LPCRECT lprcBounds) = 0;
};
