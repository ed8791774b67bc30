// The memory DC: a DC that draws into the bitmap selected into it.
#include "mfc/Dc.h"

#include <QImage>
#include <QPainter>

struct AfxMemDCState
{
    // The bitmap a new memory DC holds, 1 x 1, as long as no other is selected.
    CBitmap defaultBitmap;
    CBitmap* pSelected = nullptr;
    std::unique_ptr<QPainter> painter;

    void End()
    {
        if (painter && painter->isActive())
            painter->end();
        painter.reset();
    }
    ~AfxMemDCState() { End(); }
};

QImage* CDC::GetImage() const
{
    if (m_pMem && m_pMem->pSelected)
        return m_pMem->pSelected->GetImage();
    return nullptr;
}

BOOL CDC::CreateCompatibleDC(CDC*)
{
    if (m_pPainter || m_pMem)
        return FALSE;
    auto mem = std::make_shared<AfxMemDCState>();
    if (!mem->defaultBitmap.CreateBitmap(1, 1, 1, 32, nullptr))
        return FALSE;
    m_pMem = mem;
    SelectObject(&mem->defaultBitmap);
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_pMem)
        return FALSE;
    Detach();
    m_pMem->End();
    m_pMem.reset();
    return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!m_pMem || !pBitmap)
        return nullptr;
    QImage* image = pBitmap->GetImage();
    if (!image || image->isNull())
        return nullptr;
    CBitmap* old = m_pMem->pSelected;
    Detach();
    m_pMem->End();
    m_pMem->painter = std::make_unique<QPainter>(image);
    m_pMem->pSelected = pBitmap;
    if (m_pMem->painter->isActive())
        Attach(m_pMem->painter.get());
    return old;
}
