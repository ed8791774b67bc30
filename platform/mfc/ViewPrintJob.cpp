#include "mfc/ViewPrintJob.h"

#include "mfc/ModalHook.h"
#include "mfc/View.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace
{
// Pages beyond this end a job whose view never says it is done.
constexpr UINT kPageLimit = 100000;
} // namespace

BOOL AfxPrintView(CView* pView, CViewPrintClient* pClient, QPrinter& printer)
{
    CPrintInfo info;
    if (!pClient->OnPreparePrinting(&info))
        return FALSE;
    QPainter painter;
    if (!painter.begin(&printer))
        return FALSE;
    const CSize page(printer.width(), printer.height());
    CPrinterDC dc(&painter, printer.logicalDpiX(), printer.logicalDpiY(), page);
    pClient->OnBeginPrinting(&dc, &info);
    const UINT last = std::min(info.GetMaxPage(), kPageLimit);
    for (info.m_nCurPage = info.GetMinPage(); info.m_nCurPage <= last; ++info.m_nCurPage)
    {
        info.m_bContinuePrinting = TRUE;
        pView->OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (info.m_nCurPage > info.GetMinPage())
            printer.newPage();
        info.m_rectDraw = CRect(0, 0, page.cx, page.cy);
        pClient->OnPrint(&dc, &info);
    }
    pClient->OnEndPrinting(&dc, &info);
    painter.end();
    return TRUE;
}

BOOL AfxRunPrintCommand(CView* pView, CViewPrintClient* pClient, BOOL bDirect, BOOL bPreview)
{
    QPrinter printer(QPrinter::HighResolution);
    AfxModalRequest request;
    request.kind = AfxModalKind::PrintDialog;
    request.pParent = pView;
    request.strCaption = bPreview ? L"Print Preview" : L"Print";
    int nResult = IDCANCEL;
    if (AfxCallModalHook(request, nResult))
    {
        if (nResult != IDOK || request.paths.empty())
            return FALSE;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdWString(request.paths.front().str()));
        return AfxPrintView(pView, pClient, printer);
    }
    if (!bDirect)
    {
        QPrintDialog dialog(&printer, pView->GetWidget());
        if (dialog.exec() != QDialog::Accepted)
            return FALSE;
    }
    return AfxPrintView(pView, pClient, printer);
}
