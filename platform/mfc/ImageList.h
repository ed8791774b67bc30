// CImageList: a row of same-sized images, made from a bitmap strip (one image per cx pixels, the
// mask colour see-through) or added one by one. Tree controls show its images beside their items.
// An HIMAGELIST names a live list in a table of the UI thread; a stale one finds nothing.
#pragma once

#include "mfc/Gdi.h"

#include <vector>

class QPixmap;

typedef struct _IMAGELIST* HIMAGELIST;

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

class CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList();
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The strip of a bitmap resource, cut into images cx wide.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    // Adds the images of a bitmap strip; the index of the first, or -1.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int GetImageCount() const;
    BOOL GetImageSize(SIZE* pSize) const;
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // The image at an index; null when there is none (or the handle is stale).
    static const QPixmap* GetImage(HIMAGELIST hList, int nImage);

    HIMAGELIST m_hImageList = nullptr;

private:
    int AddStrip(const QImage& strip, COLORREF crMask);
    UINT m_nFlags = 0;
    int m_cx = 0;
    int m_cy = 0;
};
