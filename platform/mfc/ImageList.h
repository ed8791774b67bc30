// CImageList: a row of same-sized images, made from a bitmap strip (one image per cx pixels, the
// mask colour see-through) or added one by one. Tree controls show its images beside their items.
// An HIMAGELIST names a live list in a table of the UI thread; a stale one finds nothing.
#pragma once

#include "mfc/Gdi.h"
#include "mfc/Geometry.h"

class CWnd;

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

    // The one drag image of the thread: an image of this list shown over a window while the
    // mouse drags (points are client coordinates of the window given to DragEnter).
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    static BOOL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL DragMove(CPoint pt);
    static BOOL DragShowNolock(BOOL bShow);
    static BOOL DragLeave(CWnd* pWndLock);
    static void EndDrag();
    // Whether a drag image is shown now, and where (screen coordinates of its top left).
    static BOOL IsDragImageVisible(CPoint* pTopLeft = nullptr);

private:
    int AddStrip(const QImage& strip, COLORREF crMask);
    UINT m_nFlags = 0;
    int m_cx = 0;
    int m_cy = 0;
};
