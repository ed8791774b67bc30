#include "mfc/Print.h"

#include "mfc/Dc.h"
#include "mfc/Document.h"
#include "mfc/ModalHook.h"
#include "mfc/View.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

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

BOOL CView::PrintPages(CPrintInfo& info)
{
    QPrinter* printer = info.m_pPrinter.get();
    if (!printer)
        return FALSE;
    QPainter painter;
    if (!painter.begin(printer))
        return FALSE;
    CDC dc(&painter);
    OnBeginPrinting(&dc, &info);
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const UINT last = info.GetMaxPage() == 0xFFFF ? info.GetMinPage() : info.GetMaxPage();
    for (UINT n = info.GetMinPage(); n <= last && info.m_bContinuePrinting; ++n)
    {
        if (n > info.GetMinPage())
            printer->newPage();
        info.m_nCurPage = n;
        info.m_rectDraw = CRect(0, 0, page.width(), page.height());
        const int saved = dc.SaveDC();
        OnPrepareDC(&dc, &info);
        OnPrint(&dc, &info);
        dc.RestoreDC(saved);
    }
    OnEndPrinting(&dc, &info);
    dc.Detach();
    return painter.end();
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    PrintPages(info);
}

BOOL CView::PrintToPdf(const CString& strPath)
{
    CPrintInfo info;
    info.m_strOutputFile = strPath;
    if (!OnPreparePrinting(&info))
        return FALSE;
    return PrintPages(info);
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
                         [this, &info](QPrinter*) { PrintPages(info); });
        dialog.exec();
        return;
    }
    // Without a desktop the pages are drawn into pictures, as the preview window would show them.
    m_nPreviewPages = 0;
    const UINT last = info.GetMaxPage() == 0xFFFF ? info.GetMinPage() : info.GetMaxPage();
    for (UINT n = info.GetMinPage(); n <= last; ++n)
    {
        QPicture picture;
        QPainter painter(&picture);
        CDC dc(&painter);
        info.m_nCurPage = n;
        info.m_rectDraw = CRect(0, 0, 794, 1123);
        OnPrepareDC(&dc, &info);
        OnPrint(&dc, &info);
        dc.Detach();
        painter.end();
        ++m_nPreviewPages;
    }
}
