#include "mfc/ImageList.h"

#include "mfc/Wnd.h"

#include <QBitmap>
#include <QLabel>
#include <QPointer>
#include <QImage>
#include <QPixmap>

#include <map>

namespace
{
struct ListData
{
    std::vector<QPixmap> images;
};

// Lists by handle; used on the UI thread only.
std::map<HIMAGELIST, ListData>& Lists()
{
    static auto* lists = new std::map<HIMAGELIST, ListData>;
    return *lists;
}

HIMAGELIST NewHandle()
{
    static uintptr_t next = 0x10000;
    return reinterpret_cast<HIMAGELIST>(next += 0x10);
}
} // namespace

IMPLEMENT_DYNAMIC(CImageList, CObject)

CImageList::CImageList() = default;

CImageList::~CImageList()
{
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int, int)
{
    if (cx <= 0 || cy <= 0 || m_hImageList)
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_nFlags = nFlags;
    m_hImageList = NewHandle();
    Lists()[m_hImageList] = ListData();
    return TRUE;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    CBitmap bitmap;
    if (cx <= 0 || !bitmap.LoadBitmap(nBitmapID) || !bitmap.GetImage())
        return FALSE;
    if (!Create(cx, bitmap.GetImage()->height(), ILC_COLOR24 | ILC_MASK, 0, nGrow))
        return FALSE;
    AddStrip(*bitmap.GetImage(), crMask);
    return TRUE;
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    if (!m_hImageList || !pbmImage || !pbmImage->GetImage())
        return -1;
    return AddStrip(*pbmImage->GetImage(), crMask);
}

int CImageList::AddStrip(const QImage& strip, COLORREF crMask)
{
    auto it = Lists().find(m_hImageList);
    if (it == Lists().end() || strip.isNull())
        return -1;
    const int first = int(it->second.images.size());
    const QColor key(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask));
    for (int x = 0; x + m_cx <= strip.width(); x += m_cx)
    {
        QPixmap image = QPixmap::fromImage(strip.copy(x, 0, m_cx, std::min(m_cy, strip.height())));
        if (crMask != COLORREF(-1))
            image.setMask(image.createMaskFromColor(key, Qt::MaskInColor));
        it->second.images.push_back(image);
    }
    return int(it->second.images.size()) > first ? first : -1;
}

int CImageList::GetImageCount() const
{
    auto it = Lists().find(m_hImageList);
    return it == Lists().end() ? 0 : int(it->second.images.size());
}

BOOL CImageList::GetImageSize(SIZE* pSize) const
{
    if (!m_hImageList || !pSize)
        return FALSE;
    pSize->cx = m_cx;
    pSize->cy = m_cy;
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    Lists().erase(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

const QPixmap* CImageList::GetImage(HIMAGELIST hList, int nImage)
{
    auto it = Lists().find(hList);
    if (it == Lists().end() || nImage < 0 || nImage >= int(it->second.images.size()))
        return nullptr;
    return &it->second.images[size_t(nImage)];
}

// --- The drag image ----------------------------------------------------------------------------------

namespace
{
struct DragImage
{
    QPointer<QLabel> label;
    QPoint hotSpot;
    HWND hLock = nullptr;
    QPoint at;
    bool shown = false;
};
DragImage& Drag()
{
    thread_local DragImage drag;
    return drag;
}

void PlaceDrag()
{
    DragImage& d = Drag();
    if (!d.label)
        return;
    d.label->move(d.at - d.hotSpot);
    d.label->setVisible(d.shown);
}
} // namespace

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    const QPixmap* image = GetImage(m_hImageList, nImage);
    if (!image)
        return FALSE;
    EndDrag();
    DragImage& d = Drag();
    d.label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    d.label->setAttribute(Qt::WA_TransparentForMouseEvents);
    d.label->setWindowOpacity(0.7);
    d.label->setPixmap(*image);
    d.label->resize(image->size());
    d.hotSpot = QPoint(ptHotSpot.x, ptHotSpot.y);
    return TRUE;
}

BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    DragImage& d = Drag();
    if (!d.label)
        return FALSE;
    d.hLock = pWndLock ? pWndLock->GetSafeHwnd() : nullptr;
    d.shown = true;
    return DragMove(point);
}

BOOL CImageList::DragMove(CPoint pt)
{
    DragImage& d = Drag();
    if (!d.label)
        return FALSE;
    CPoint screen = pt;
    if (CWnd* lock = d.hLock && ::IsWindow(d.hLock) ? CWnd::FromHandle(d.hLock) : nullptr)
        lock->ClientToScreen(&screen);
    d.at = QPoint(screen.x, screen.y);
    PlaceDrag();
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL bShow)
{
    DragImage& d = Drag();
    if (!d.label)
        return FALSE;
    d.shown = bShow != FALSE;
    PlaceDrag();
    return TRUE;
}

BOOL CImageList::DragLeave(CWnd*)
{
    return DragShowNolock(FALSE);
}

void CImageList::EndDrag()
{
    DragImage& d = Drag();
    delete d.label.data();
    d = DragImage();
}

BOOL CImageList::IsDragImageVisible(CPoint* pTopLeft)
{
    const DragImage& d = Drag();
    if (!d.label || !d.shown)
        return FALSE;
    if (pTopLeft)
        *pTopLeft = CPoint(d.at.x() - d.hotSpot.x(), d.at.y() - d.hotSpot.y());
    return TRUE;
}
