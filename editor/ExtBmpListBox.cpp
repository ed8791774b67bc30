#include "editor/ExtBmpListBox.h"

#include "mfc/Dc.h"
#include "mfc/SysColor.h"

#include <QImage>
#include <QWidget>
#include <QPainter>

IMPLEMENT_DYNCREATE(GWExtBmpListBox, CListBox)
IMPLEMENT_DYNCREATE(CTRSFileListBox, GWExtBmpListBox)

GWExtBmpListBox::GWExtBmpListBox(UINT nIDPicture)
{
    if (m_bmpPicture.LoadBitmap(nIDPicture))
        CreateMaskBitmap(m_bmpPicture, m_bmpMask);
}

GWExtBmpListBox::~GWExtBmpListBox() = default;

CString GWExtBmpListBox::RowText(const CString& text)
{
    const int at = text.ReverseFind(L'@');
    CString name = at > 0 ? text.Left(at) : text;
    const CString detail = at > 0 ? text.Mid(at + 1) : CString();
    while (name.GetLength() < 24)
        name += L' ';
    return name + detail;
}

void GWExtBmpListBox::CreateMaskBitmap(CBitmap& picture, CBitmap& mask)
{
    const QImage* image = picture.GetImage();
    if (!image || image->isNull())
        return;
    const QImage src = image->convertToFormat(QImage::Format_RGB32);
    const QRgb key = src.pixel(0, 0);
    QImage bits(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            bits.setPixel(x, y, src.pixel(x, y) == key ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    mask.DeleteObject();
    mask.CreateBitmap(bits.width(), bits.height(), 1, 32, bits.constBits());
}

void GWExtBmpListBox::DrawTransparentBitmap(CDC* pDC, CBitmap& picture, CBitmap& mask, int x, int y,
                                            int nWidth, int nHeight)
{
    const QImage* image = picture.GetImage();
    const QImage* bits = mask.GetImage();
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    if (!image || !bits || !painter)
        return;
    // The picture with its mask as alpha: the pixels of the top-left colour leave the target as is.
    QImage shown = image->convertToFormat(QImage::Format_ARGB32);
    for (int py = 0; py < shown.height() && py < bits->height(); ++py)
        for (int px = 0; px < shown.width() && px < bits->width(); ++px)
            if (qRed(bits->pixel(px, py)) == 0)
                shown.setPixel(px, py, qRgba(0, 0, 0, 0));
    POINT pt = {x, y};
    pDC->LPtoDP(&pt);
    painter->save();
    painter->resetTransform();
    painter->drawImage(QRect(int(pt.x), int(pt.y), nWidth, nHeight), shown, QRect(0, 0, nWidth, nHeight));
    painter->restore();
}

namespace
{
// The height of the list box's font, and a quarter of its horizontal dialog base unit.
int FontHeight(const CWnd* pWnd)
{
    const QWidget* w = pWnd->GetWidget();
    return w ? w->fontMetrics().height() : 16;
}

int IndentUnit(const CWnd* pWnd)
{
    const QWidget* w = pWnd->GetWidget();
    return (w ? w->fontMetrics().averageCharWidth() : 8) / 4;
}
} // namespace

void GWExtBmpListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = UINT(FontHeight(this) + 6);
}

void GWExtBmpListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (int(lpDrawItemStruct->itemID) == -1)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF crBk = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF crText = ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const COLORREF oldBk = pDC->SetBkColor(crBk);
    const COLORREF oldText = pDC->SetTextColor(crText);

    const int unit = IndentUnit(this);
    const int x = rc.left + 2 * unit + 20;
    const int y = (rc.top + rc.bottom - FontHeight(this)) / 2;
    CString text;
    GetText(int(lpDrawItemStruct->itemID), text);
    // Opaque and clipped to the row: the background fills the row, the text stays inside it.
    pDC->FillSolidRect(&rc, crBk);
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&rc);
    pDC->SetBkMode(TRANSPARENT);
    if (QPainter* painter = pDC->GetPainter())
        if (const QWidget* w = GetWidget())
            painter->setFont(w->font());
    pDC->TextOut(x, y, RowText(text));
    pDC->RestoreDC(saved);

    pDC->SetBkColor(oldBk);
    pDC->SetTextColor(oldText);
    DrawTransparentBitmap(pDC, m_bmpPicture, m_bmpMask, unit, rc.top + (rc.Height() - 16) / 2, 20, 16);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rc);
}
