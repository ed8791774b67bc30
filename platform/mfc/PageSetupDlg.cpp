#include "mfc/PageSetupDlg.h"

#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>

#include <cstring>

CPageSetupDialog::CPageSetupDialog(DWORD dwFlags, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    std::memset(&m_psd, 0, sizeof(m_psd));
    m_psd.lStructSize = sizeof(m_psd);
    m_psd.Flags = dwFlags;
    m_psd.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    // A4 by default.
    const bool mm = (dwFlags & PSD_INHUNDREDTHSOFMILLIMETERS) != 0;
    m_psd.ptPaperSize = mm ? POINT{21000, 29700} : POINT{8268, 11693};
}

INT_PTR CPageSetupDialog::DoModal()
{
    AfxModalRequest request;
    request.kind = AfxModalKind::PageSetupDialog;
    request.pParent = m_pParentWnd;
    request.strCaption = L"Page Setup";
    request.pPageSetup = &m_psd;
    int nResult = IDCANCEL;
    if (AfxCallModalHook(request, nResult))
        return nResult;

    // Qt's dialog works in millimetres.
    const bool mm = (m_psd.Flags & PSD_INHUNDREDTHSOFMILLIMETERS) != 0;
    const double toMm = mm ? 0.01 : 0.0254;
    QPrinter printer;
    const RECT& r = m_psd.rtMargin;
    if (m_psd.Flags & PSD_MARGINS)
        printer.setPageMargins(QMarginsF(r.left * toMm, r.top * toMm, r.right * toMm, r.bottom * toMm),
                               QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, m_pParentWnd ? m_pParentWnd->GetWidget() : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
    m_psd.rtMargin = RECT{LONG(m.left() / toMm + 0.5), LONG(m.top() / toMm + 0.5),
                          LONG(m.right() / toMm + 0.5), LONG(m.bottom() / toMm + 0.5)};
    const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    m_psd.ptPaperSize = POINT{LONG(paper.width() / toMm + 0.5), LONG(paper.height() / toMm + 0.5)};
    return IDOK;
}

void CPageSetupDialog::GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const
{
    if (lpRectMargins)
        *lpRectMargins = m_psd.rtMargin;
    if (lpRectMinMargins)
        *lpRectMinMargins = m_psd.rtMinMargin;
}
