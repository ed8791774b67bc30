#include "mfc/Gdi.h"

#include "mfc/ResourceModule.h"

#include <QImage>

#include <climits>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace
{
struct CBitmapTable
{
    std::mutex mutex;
    std::unordered_map<HGDIOBJ, std::unique_ptr<QImage>> images;
    uintptr_t nNext = 0x2000;
};

CBitmapTable& Bitmaps()
{
    static CBitmapTable* table = new CBitmapTable;
    return *table;
}

void FillBitmapInfo(const QImage& image, BITMAP* pBitMap)
{
    pBitMap->bmType = 0;
    pBitMap->bmWidth = image.width();
    pBitMap->bmHeight = image.height();
    pBitMap->bmWidthBytes = LONG(image.bytesPerLine());
    pBitMap->bmPlanes = 1;
    pBitMap->bmBitsPixel = WORD(image.depth());
    pBitMap->bmBits = nullptr;
}
} // namespace

HBITMAP AfxCreateBitmapHandle(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    CBitmapTable& t = Bitmaps();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto h = reinterpret_cast<HGDIOBJ>(t.nNext++);
    t.images.emplace(h, std::make_unique<QImage>(image));
    return static_cast<HBITMAP>(h);
}

QImage* AfxGetBitmapImage(HGDIOBJ hBitmap)
{
    if (!hBitmap)
        return nullptr;
    CBitmapTable& t = Bitmaps();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.images.find(hBitmap);
    return it == t.images.end() ? nullptr : it->second.get();
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    std::unique_ptr<QImage> dead;
    CBitmapTable& t = Bitmaps();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.images.find(hObject);
    if (it == t.images.end())
        return FALSE;
    dead = std::move(it->second);
    t.images.erase(it);
    return TRUE;
}

HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    const AFX_RESOURCE_DATA* data =
        hInstance ? AfxFindIconData(hInstance, lpIconName) : AfxFindIconData(lpIconName);
    if (!data || !data->pData || data->nSize == 0 || data->nSize > size_t(INT_MAX))
        return nullptr;
    QImage image;
    if (!image.loadFromData(data->pData, int(data->nSize)))
        return nullptr;
    return reinterpret_cast<HICON>(AfxCreateBitmapHandle(image));
}

BOOL DestroyIcon(HICON hIcon)
{
    return DeleteObject(hIcon);
}

int GetObjectW(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject)
{
    const QImage* image = AfxGetBitmapImage(hObject);
    if (!image)
        return 0;
    if (!lpvObject)
        return int(sizeof(BITMAP));
    if (cbBuffer < int(sizeof(BITMAP)))
        return 0;
    FillBitmapInfo(*image, static_cast<BITMAP*>(lpvObject));
    return int(sizeof(BITMAP));
}

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    const AFX_RESOURCE_DATA* data =
        hInstance ? AfxFindBitmapData(hInstance, lpBitmapName) : AfxFindBitmapData(lpBitmapName);
    if (!data || !data->pData || data->nSize == 0 || data->nSize > size_t(INT_MAX))
        return nullptr;
    QImage image;
    if (!image.loadFromData(data->pData, int(data->nSize)))
        return nullptr;
    return AfxCreateBitmapHandle(image);
}

// --- CGdiObject ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGdiObject, CObject)

CGdiObject::~CGdiObject()
{
    if (m_hObject)
        ::DeleteObject(m_hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

// --- CBitmap ---------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap::CBitmap(const CBitmap& other) : CGdiObject(other)
{
    if (const QImage* image = other.GetImage())
        m_hObject = AfxCreateBitmapHandle(*image);
}

CBitmap& CBitmap::operator=(const CBitmap& other)
{
    if (this != &other)
    {
        DeleteObject();
        if (const QImage* image = other.GetImage())
            m_hObject = AfxCreateBitmapHandle(*image);
    }
    return *this;
}

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName)
{
    if (m_hObject)
        return FALSE;
    HBITMAP h = ::LoadBitmapW(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName);
    return Attach(h);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT, UINT nBitcount, const void* lpBits)
{
    if (m_hObject || nWidth <= 0 || nHeight <= 0 || nWidth > 32767 || nHeight > 32767)
        return FALSE;
    QImage image(nWidth, nHeight, QImage::Format_ARGB32);
    image.fill(0);
    if (lpBits && nBitcount == 32)
    {
        const auto* src = static_cast<const uint32_t*>(lpBits);
        for (int y = 0; y < nHeight; ++y)
        {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < nWidth; ++x)
                row[x] = src[size_t(y) * size_t(nWidth) + size_t(x)];
        }
    }
    return Attach(AfxCreateBitmapHandle(image));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight)
{
    if (m_hObject || nWidth <= 0 || nHeight <= 0 || nWidth > 32767 || nHeight > 32767)
        return FALSE;
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(0);
    return Attach(AfxCreateBitmapHandle(image));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    const QImage* image = GetImage();
    if (!image || !pBitMap)
        return 0;
    FillBitmapInfo(*image, pBitMap);
    return int(sizeof(BITMAP));
}

QImage* CBitmap::GetImage() const
{
    return AfxGetBitmapImage(m_hObject);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    // One object per handle, kept until the handle is deleted; it never deletes the handle.
    static std::mutex mutex;
    static auto* wrappers = new std::unordered_map<HGDIOBJ, std::unique_ptr<CBitmap>>;
    if (!AfxGetBitmapImage(hBitmap))
        return nullptr;
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = wrappers->begin(); it != wrappers->end();)
    {
        if (!AfxGetBitmapImage(it->first))
        {
            it->second->m_hObject = nullptr;
            it = wrappers->erase(it);
        }
        else
            ++it;
    }
    auto& slot = (*wrappers)[hBitmap];
    if (!slot)
    {
        slot = std::make_unique<CBitmap>();
        slot->m_hObject = hBitmap;
    }
    return slot.get();
}
