#include "mfc/Print.h"

#include "mfc/Dc.h"
#include "mfc/Document.h"
#include "mfc/ModalHook.h"
#include "mfc/View.h"

#include <QGuiApplication>
#include <QPainter>
#include <QImage>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <vector>

CPrintInfo::CPrintInfo() = default;
CPrintInfo::~CPrintInfo() = default;

BOOL AfxPrintsToFile()
{
    const QString platform = QGuiApplication::platformName();
    return AfxHasModalHook() || platform == QLatin1String("offscreen") ||
           platform == QLatin1String("minimal");
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (!pInfo)
        return FALSE;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (pInfo->m_bPreview)
    {
        pInfo->m_pPrinter = std::move(printer);
        return TRUE;
    }
    if (pInfo->m_strOutputFile.IsEmpty() && AfxPrintsToFile())
    {
        const CString title =
            m_pDocument && !m_pDocument->GetTitle().IsEmpty() ? m_pDocument->GetTitle() : CString(L"print");
        AfxModalRequest request;
        request.kind = AfxModalKind::FileDialog;
        request.pParent = this;
        request.bOpenFileDialog = FALSE;
        request.strText = title + L".pdf";
        request.strDefExt = L"pdf";
        request.strFilter = L"PDF Files (*.pdf)|*.pdf||";
        int answer = IDCANCEL;
        if (AfxCallModalHook(request, answer))
        {
            if (answer != IDOK || request.paths.empty())
                return FALSE;
            pInfo->m_strOutputFile = request.paths.front();
        }
        else
        {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            pInfo->m_strOutputFile = CString::FromUtf8(folder.toStdString()) + L"/" + title + L".pdf";
        }
    }
    if (!pInfo->m_strOutputFile.IsEmpty())
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pInfo->m_strOutputFile.ToUtf8()));
    }
    else if (!pInfo->m_bDirect)
    {
        QPrintDialog dialog(printer.get(), GetWidget());
        if (dialog.exec() != QDialog::Accepted)
            return FALSE;
    }
    pInfo->m_pPrinter = std::move(printer);
    return TRUE;
}

namespace
{
// Pages beyond this end a job whose view never says it is done.
constexpr UINT kPageLimit = 100000;
// The page of a preview without a desktop: A4 at the screen's resolution.
const CSize kPreviewPage(794, 1123);
} // namespace

void CView::PrintPagesOn(CPrinterDC& dc, CPrintInfo& info, const std::function<void()>& newPage)
{
    OnBeginPrinting(&dc, &info);
    for (info.m_nCurPage = info.GetMinPage(); info.m_nCurPage <= std::min(info.GetMaxPage(), kPageLimit);
         ++info.m_nCurPage)
    {
        info.m_bContinuePrinting = TRUE;
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (info.m_nCurPage > info.GetMinPage())
            newPage();
        info.m_rectDraw = CRect(CPoint(0, 0), dc.GetPageSize());
        const int saved = dc.SaveDC();
        OnPrint(&dc, &info);
        dc.RestoreDC(saved);
    }
    OnEndPrinting(&dc, &info);
}

BOOL CView::PrintJob(CPrintInfo& info)
{
    QPrinter* printer = info.m_pPrinter.get();
    if (!printer)
        return FALSE;
    QPainter painter;
    if (!painter.begin(printer))
        return FALSE;
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    CPrinterDC dc(&painter, printer->logicalDpiX(), printer->logicalDpiY(),
                  CSize(page.width(), page.height()));
    PrintPagesOn(dc, info, [printer] { printer->newPage(); });
    dc.Detach();
    return painter.end();
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    PrintJob(info);
}

void CView::OnFilePrintDirect()
{
    CPrintInfo info;
    info.m_bDirect = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    PrintJob(info);
}

BOOL CView::PrintToPdf(const CString& strPath)
{
    CPrintInfo info;
    info.m_strOutputFile = strPath;
    if (!OnPreparePrinting(&info))
        return FALSE;
    return PrintJob(info);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    if (!AfxPrintsToFile())
    {
        QPrintPreviewDialog dialog(info.m_pPrinter.get(), GetWidget());
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                         [this, &info](QPrinter*) { PrintJob(info); });
        dialog.exec();
        return;
    }
    // Without a desktop the pages are drawn into images, as the preview window would show them; the
    // DC moves on to a fresh image for each page and keeps what the view selected into it.
    m_previewPages.clear();
    auto page = std::make_unique<QPainter>();
    auto startPage = [this, &page]
    {
        if (page->isActive())
            page->end();
        m_previewPages.push_back(
            std::make_unique<QImage>(kPreviewPage.cx, kPreviewPage.cy, QImage::Format_RGB32));
        m_previewPages.back()->fill(Qt::white);
        page = std::make_unique<QPainter>(m_previewPages.back().get());
    };
    startPage();
    CPrinterDC dc(page.get(), AFX_DC_LOGPIXELS, AFX_DC_LOGPIXELS, kPreviewPage);
    PrintPagesOn(dc, info,
                 [&]
                 {
                     startPage();
                     dc.Attach(page.get());
                 });
    dc.Detach();
    page->end();
    // A job that stopped before its first page leaves no page.
    if (info.m_nCurPage == info.GetMinPage())
        m_previewPages.clear();
}

const QImage* CView::GetPreviewPage(int nPage) const
{
    return nPage >= 0 && nPage < int(m_previewPages.size()) ? m_previewPages[size_t(nPage)].get() : nullptr;
}
