// GDI objects: the CGdiObject base and CBitmap. Bitmaps are QImages kept in a handle table; an
// HBITMAP names one and stays valid until DeleteObject. The drawing objects (CPen, CBrush, CFont)
// and CDC are in Dc.h.
#pragma once

#include "mfc/Object.h"

class QImage;
class CDC;

typedef void* HGDIOBJ;

struct BITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

class CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    // A copy does not share the handle: each object owns what it holds.
    CGdiObject(const CGdiObject&) : CObject() {}
    CGdiObject& operator=(const CGdiObject&) { return *this; }
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes a handle over; it is deleted with the object unless detached.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    virtual BOOL DeleteObject();
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    CBitmap(const CBitmap& other);
    CBitmap& operator=(const CBitmap& other);
    ~CBitmap() override = default;

    // From the embedded image bytes of the resource chain (BMP, PNG, ... as Qt reads them).
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCWSTR lpszResourceName);
    // A new bitmap; lpBits (32 bits per pixel, rows top down) may be null for a cleared one.
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const;
    // The image, or null when the object holds no bitmap.
    QImage* GetImage() const;

    static CBitmap* FromHandle(HBITMAP hBitmap);
};

// The handle table of bitmaps.
HBITMAP AfxCreateBitmapHandle(const QImage& image);
QImage* AfxGetBitmapImage(HGDIOBJ hBitmap);

// Win32 functions.
HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);
inline HBITMAP LoadBitmap(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    return LoadBitmapW(hInstance, lpBitmapName);
}
BOOL DeleteObject(HGDIOBJ hObject);
// Icons are images of the resource chain kept in the bitmap handle table; DestroyIcon frees one.
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
inline HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    return LoadIconW(hInstance, lpIconName);
}
BOOL DestroyIcon(HICON hIcon);
// For a bitmap: fills a BITMAP.
int GetObjectW(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject);
