// Documents, views and templates in real windows: files opened through an SDI and an MDI template,
// views made by their frames and told of changes, the modified flag asking Yes / No / Cancel
// through the modal hook, saving and opening again, and a scroll view mapping the window onto its
// page.
#include "WndTestSupport.h"

#include "mfc/Archive.h"
#include "mfc/DocFile.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"

#include <QImage>
#include <QScrollBar>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace wndtest;

namespace
{
const UINT IDR_NOTEDOC = 710;
const UINT IDR_SHEETDOC = 711;
const UINT IDR_SHEETMAIN = 712;

int g_nDocsAlive = 0;

// Lines of text, stored as a count and the strings.
class CNoteDoc : public CDocument
{
    DECLARE_DYNCREATE(CNoteDoc)
public:
    CNoteDoc() { ++g_nDocsAlive; }
    ~CNoteDoc() override { --g_nDocsAlive; }

    void DeleteContents() override { m_lines.clear(); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar.WriteCount(m_lines.size());
            for (const CString& line : m_lines)
                ar << line;
            return;
        }
        for (DWORD_PTR n = ar.ReadCount(1); n > 0; --n)
        {
            CString line;
            ar >> line;
            m_lines.push_back(line);
        }
    }
    void Add(LPCWSTR line)
    {
        m_lines.push_back(line);
        SetModifiedFlag();
        UpdateAllViews(nullptr, 1);
    }

    std::vector<CString> m_lines;
};
IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)

class CNoteView : public CView
{
    DECLARE_DYNCREATE(CNoteView)
public:
    CNoteDoc* GetDocument() const { return static_cast<CNoteDoc*>(m_pDocument); }
    void OnInitialUpdate() override
    {
        ++m_nInitial;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        ++m_nUpdates;
        m_lastHint = lHint;
        CView::OnUpdate(pSender, lHint, pHint);
    }
    void OnActivateView(BOOL bActivate, CView* pActivate, CView* pDeactive) override
    {
        m_nActivations += bActivate ? 1 : 0;
        CView::OnActivateView(bActivate, pActivate, pDeactive);
    }
    void OnDraw(CDC* pDC) override
    {
        ++m_nDraws;
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    }

    int m_nInitial = 0;
    int m_nUpdates = 0;
    int m_nDraws = 0;
    int m_nActivations = 0;
    LPARAM m_lastHint = 0;
};
IMPLEMENT_DYNCREATE(CNoteView, CView)

// A 2000 x 1500 page with a red square at (300, 300)-(320, 320).
class CSheetView : public CScrollView
{
    DECLARE_DYNCREATE(CSheetView)
public:
    void OnInitialUpdate() override
    {
        CScrollView::OnInitialUpdate();
        SetScrollSizes(MM_TEXT, CSize(2000, 1500));
    }
    void OnDraw(CDC* pDC) override
    {
        CPoint origin(0, 0);
        pDC->DPtoLP(&origin);
        m_ptDrawnOrigin = origin;
        pDC->FillSolidRect(0, 0, 2000, 1500, RGB(255, 255, 255));
        pDC->FillSolidRect(300, 300, 20, 20, RGB(255, 0, 0));
    }

    CPoint m_ptDrawnOrigin{-1, -1};
};
IMPLEMENT_DYNCREATE(CSheetView, CScrollView)

// The answers the message boxes get, in order, and what they said.
struct CBoxes
{
    std::vector<int> answers;
    std::vector<CString> texts;
    std::vector<CString> savePaths; // answers of file dialogs
    int Answer(const AfxModalRequest& r)
    {
        if (r.kind == AfxModalKind::FileDialog)
        {
            if (savePaths.empty())
                return IDCANCEL;
            r.paths.push_back(savePaths.front());
            savePaths.erase(savePaths.begin());
            return IDOK;
        }
        texts.push_back(r.strText);
        if (answers.empty())
            return IDOK;
        const int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
};

class CDocViewTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        char tmpl[] = "/tmp/qyrdocviewXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        g_nDocsAlive = 0;
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(TRUE);
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        AfxPumpMessages();
        EXPECT_EQ(0, g_nDocsAlive) << "every document goes with its last view";
        std::filesystem::remove_all(m_dir);
        AfxWinTerm();
        CWndTestBase::TearDown();
    }

    CString Path(const std::string& name) const { return CString::FromUtf8(m_dir + "/" + name); }
    void WriteNote(const std::string& name, std::vector<CString> lines)
    {
        ASSERT_TRUE(AfxSaveArchiveFile(Path(name),
                                       [&](CArchive& ar)
                                       {
                                           ar.WriteCount(lines.size());
                                           for (const CString& l : lines)
                                               ar << l;
                                       }));
    }
    std::vector<CString> ReadNote(const std::string& name)
    {
        std::vector<CString> lines;
        EXPECT_TRUE(AfxLoadArchiveFile(Path(name),
                                       [&](CArchive& ar)
                                       {
                                           for (DWORD_PTR n = ar.ReadCount(1); n > 0; --n)
                                           {
                                               CString l;
                                               ar >> l;
                                               lines.push_back(l);
                                           }
                                       }));
        return lines;
    }
    static CString TextOf(CWnd* pWnd)
    {
        CString text;
        pWnd->GetWindowText(text);
        return text;
    }
    static CView* FirstView(CDocument* pDoc)
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        return pDoc->GetNextView(pos);
    }

    CWinApp m_app;
    std::string m_dir;
    CBoxes m_boxes;
    CHookScope m_hook{[this](const AfxModalRequest& r) { return m_boxes.Answer(r); }};
};
} // namespace

TEST_F(CDocViewTest, SdiTemplateOpensFilesIntoItsOneDocumentAndAsksBeforeDroppingChanges)
{
    auto* pTemplate = new CSingleDocTemplate(IDR_NOTEDOC, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(CFrameWnd),
                                             RUNTIME_CLASS(CNoteView));
    m_app.AddDocTemplate(pTemplate);
    WriteNote("a.note", {L"alpha", L"beta"});
    WriteNote("b.note", {L"gamma"});

    auto* pDoc = dynamic_cast<CNoteDoc*>(m_app.OpenDocumentFile(Path("a.note")));
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ((std::vector<CString>{L"alpha", L"beta"}), pDoc->m_lines);
    EXPECT_EQ(CString(L"a.note"), pDoc->GetTitle());
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pTemplate, pDoc->GetDocTemplate());

    // The frame is the main window; the view, made from the template's class, is its child.
    auto* pFrame = dynamic_cast<CFrameWnd*>(m_app.m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    auto* pView = dynamic_cast<CNoteView*>(pFrame->GetActiveView());
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_EQ(pFrame, pView->GetParentFrame());
    EXPECT_EQ(pFrame->GetClientWidget(), pView->GetWidget()->parentWidget());
    EXPECT_EQ(pDoc, pFrame->GetActiveDocument());
    EXPECT_EQ(1, pDoc->GetViewCount());
    EXPECT_EQ(1, pView->m_nInitial);
    EXPECT_EQ(1, pView->m_nActivations);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_EQ(CString(L"a.note - Notes"), TextOf(pFrame));
    EXPECT_TRUE(PumpUntil([&] { return pView->m_nDraws > 0; })) << "the view paints through OnDraw";

    // Changes reach every view but the sender.
    pDoc->Add(L"gamma");
    EXPECT_EQ(1, pView->m_lastHint);
    const int updates = pView->m_nUpdates;
    pDoc->UpdateAllViews(pView, 9);
    EXPECT_EQ(updates, pView->m_nUpdates);

    // Another file while this one is modified: Cancel keeps everything, No drops the changes.
    m_boxes.answers = {IDCANCEL};
    EXPECT_EQ(nullptr, m_app.OpenDocumentFile(Path("b.note")));
    ASSERT_EQ(1u, m_boxes.texts.size());
    EXPECT_EQ(CString(L"Save changes to a.note?"), m_boxes.texts[0]);
    EXPECT_EQ(3u, pDoc->m_lines.size());
    EXPECT_TRUE(pDoc->IsModified());
    m_boxes.answers = {IDNO};
    EXPECT_EQ(pDoc, m_app.OpenDocumentFile(Path("b.note"))) << "SDI: the same document, reused";
    EXPECT_EQ((std::vector<CString>{L"gamma"}), pDoc->m_lines);
    EXPECT_EQ((std::vector<CString>{L"alpha", L"beta"}), ReadNote("a.note")) << "No saved nothing";
    EXPECT_EQ(pFrame, m_app.m_pMainWnd);
    EXPECT_EQ(pView, pFrame->GetActiveView());
    EXPECT_EQ(2, pView->m_nInitial);
    EXPECT_EQ(CString(L"b.note - Notes"), TextOf(pFrame));

    // Yes saves before the next file comes; the saved file opens with what was added.
    pDoc->Add(L"delta");
    m_boxes.answers = {IDYES};
    EXPECT_EQ(pDoc, m_app.OpenDocumentFile(Path("a.note")));
    EXPECT_EQ((std::vector<CString>{L"gamma", L"delta"}), ReadNote("b.note"));
    EXPECT_EQ(pDoc, m_app.OpenDocumentFile(Path("a.note"))) << "already open: no prompt, no reload";
    EXPECT_EQ(3u, m_boxes.texts.size());

    // A new document takes the template's name.
    m_app.OnFileNew();
    EXPECT_EQ(CString(L"Note"), pDoc->GetTitle());
    EXPECT_TRUE(pDoc->GetPathName().IsEmpty());
    EXPECT_TRUE(pDoc->m_lines.empty());

    // Closing the main frame asks once more; Cancel keeps it, No lets everything go.
    pDoc->Add(L"unsaved");
    m_boxes.answers = {IDCANCEL};
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(pFrame, m_app.m_pMainWnd);
    EXPECT_EQ(1, g_nDocsAlive);
    m_boxes.answers = {IDNO};
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_EQ(0, g_nDocsAlive);
}

TEST_F(CDocViewTest, FailedOpensAndSavesAreReportedAndLoseNothing)
{
    m_app.AddDocTemplate(new CSingleDocTemplate(IDR_NOTEDOC, RUNTIME_CLASS(CNoteDoc),
                                                RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CNoteView)));
    WriteNote("a.note", {L"alpha"});
    auto* pDoc = dynamic_cast<CNoteDoc*>(m_app.OpenDocumentFile(Path("a.note")));
    ASSERT_NE(nullptr, pDoc);

    // A file that is not there: reported, the document as it was.
    pDoc->Add(L"kept");
    m_boxes.answers = {IDNO}; // do not save before opening the next
    EXPECT_EQ(nullptr, m_app.OpenDocumentFile(Path("missing.note")));
    ASSERT_EQ(2u, m_boxes.texts.size());
    EXPECT_NE(-1, m_boxes.texts[1].Find(L"missing.note")) << m_boxes.texts[1].ToUtf8();
    EXPECT_EQ(2u, pDoc->m_lines.size());
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(Path("a.note"), pDoc->GetPathName());

    // A damaged file: the invalid-format prompt, and a fresh untitled document.
    std::ofstream(m_dir + "/bad.note", std::ios::binary) << "\x05\x00xx";
    m_boxes.texts.clear();
    m_boxes.answers = {IDNO};
    EXPECT_EQ(nullptr, m_app.OpenDocumentFile(Path("bad.note")));
    ASSERT_EQ(2u, m_boxes.texts.size());
    EXPECT_EQ(CString(L"Unexpected file format."), m_boxes.texts[1]);
    EXPECT_TRUE(pDoc->m_lines.empty());
    EXPECT_EQ(CString(L"Note"), pDoc->GetTitle());

    // Saving where no file can be: reported, still modified; Save As through the file dialog.
    pDoc->Add(L"new");
    m_boxes.texts.clear();
    EXPECT_FALSE(pDoc->DoSave(Path("no/such/dir.note")));
    ASSERT_EQ(1u, m_boxes.texts.size());
    EXPECT_TRUE(pDoc->IsModified());
    m_boxes.savePaths = {Path("saved.note")};
    EXPECT_TRUE(pDoc->DoFileSave()) << "no path yet: asks for one";
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(Path("saved.note"), pDoc->GetPathName());
    EXPECT_EQ(CString(L"saved.note"), pDoc->GetTitle());
    EXPECT_EQ((std::vector<CString>{L"new"}), ReadNote("saved.note"));
    EXPECT_FALSE(pDoc->DoSave(nullptr)) << "the dialog cancelled";
}

TEST_F(CDocViewTest, MdiTemplateMakesAFrameAndViewPerDocument)
{
    auto* pMain = new CMDIFrameWnd;
    ASSERT_TRUE(pMain->LoadFrame(IDR_SHEETMAIN));
    m_app.m_pMainWnd = pMain;
    auto* pTemplate = new CMultiDocTemplate(IDR_SHEETDOC, RUNTIME_CLASS(CNoteDoc),
                                            RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CNoteView));
    m_app.AddDocTemplate(pTemplate);
    WriteNote("a.sht", {L"one"});
    WriteNote("b.sht", {L"two"});

    CString s;
    const struct
    {
        CDocTemplate::DocStringIndex index;
        const wchar_t* text;
    } strings[] = {{CDocTemplate::windowTitle, L""},
                   {CDocTemplate::docName, L"Sheet"},
                   {CDocTemplate::filterName, L"Sheet Files (*.sht)"},
                   {CDocTemplate::filterExt, L".sht"},
                   {CDocTemplate::regFileTypeName, L"Sheet Document"}};
    for (const auto& c : strings)
    {
        EXPECT_TRUE(pTemplate->GetDocString(s, c.index));
        EXPECT_EQ(CString(c.text), s);
    }

    auto* pA = dynamic_cast<CNoteDoc*>(m_app.OpenDocumentFile(Path("a.sht")));
    auto* pB = dynamic_cast<CNoteDoc*>(m_app.OpenDocumentFile(Path("b.sht")));
    ASSERT_NE(nullptr, pA);
    ASSERT_NE(nullptr, pB);
    ASSERT_NE(pA, pB);
    EXPECT_EQ(pMain, m_app.m_pMainWnd);
    CFrameWnd* pFrameA = FirstView(pA)->GetParentFrame();
    CFrameWnd* pFrameB = FirstView(pB)->GetParentFrame();
    ASSERT_NE(nullptr, dynamic_cast<CMDIChildWnd*>(pFrameA));
    ASSERT_NE(pFrameA, pFrameB);
    EXPECT_EQ(pFrameB, pMain->MDIGetActive());
    EXPECT_EQ(pB, pMain->GetActiveDocument());
    EXPECT_EQ(CString(L"a.sht"), TextOf(pFrameA));
    EXPECT_EQ(CString(L"b.sht - Sheets"), TextOf(pMain));
    pMain->MDIActivate(pFrameA);
    EXPECT_EQ(pA, pMain->GetActiveDocument());
    EXPECT_EQ(CString(L"a.sht - Sheets"), TextOf(pMain));

    // Matching: an open file, the native extension in any case, anything else.
    CDocument* pMatch = nullptr;
    EXPECT_EQ(CDocTemplate::yesAlreadyOpen, pTemplate->MatchDocType(Path("b.sht"), pMatch));
    EXPECT_EQ(pB, pMatch);
    EXPECT_EQ(CDocTemplate::yesAttemptNative, pTemplate->MatchDocType(Path("c.SHT"), pMatch));
    EXPECT_EQ(nullptr, pMatch);
    EXPECT_EQ(CDocTemplate::yesAttemptForeign, pTemplate->MatchDocType(Path("c.note"), pMatch));
    EXPECT_EQ(CDocTemplate::yesAttemptForeign, pTemplate->MatchDocType(Path("noext"), pMatch));

    CDocument* pNew1 = pTemplate->OpenDocumentFile(nullptr);
    CDocument* pNew2 = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pNew2);
    EXPECT_EQ(CString(L"Sheet1"), pNew1->GetTitle());
    EXPECT_EQ(CString(L"Sheet2"), pNew2->GetTitle());
    EXPECT_EQ(4, g_nDocsAlive);
    // A file that cannot be read takes its new frame with it.
    m_boxes.texts.clear();
    EXPECT_EQ(nullptr, m_app.OpenDocumentFile(Path("gone.sht")));
    EXPECT_EQ(1u, m_boxes.texts.size());
    EXPECT_EQ(4, g_nDocsAlive);
    std::vector<CWnd*> children;
    pMain->GetMDIChildren(children);
    EXPECT_EQ(4u, children.size());

    // Saving all: No for the first modified document, Cancel for the second stops.
    pA->Add(L"x");
    pB->Add(L"y");
    m_boxes.texts.clear();
    m_boxes.answers = {IDNO, IDCANCEL};
    EXPECT_FALSE(m_app.SaveAllModified());
    EXPECT_EQ(2u, m_boxes.texts.size());
    m_boxes.answers = {IDNO, IDNO};
    EXPECT_TRUE(m_app.SaveAllModified());

    // Closing one child frame asks for its document; Yes saves it, and the document goes.
    m_boxes.texts.clear();
    m_boxes.answers = {IDYES};
    pFrameB->SendMessage(WM_CLOSE);
    ASSERT_EQ(1u, m_boxes.texts.size());
    EXPECT_EQ(CString(L"Save changes to b.sht?"), m_boxes.texts[0]);
    EXPECT_EQ((std::vector<CString>{L"two", L"y"}), ReadNote("b.sht"));
    EXPECT_EQ(3, g_nDocsAlive);
    EXPECT_EQ(CDocTemplate::yesAttemptNative, pTemplate->MatchDocType(Path("b.sht"), pMatch));

    // Closing all documents takes every child frame; the main frame stays.
    m_app.CloseAllDocuments(FALSE);
    EXPECT_EQ(0, g_nDocsAlive);
    EXPECT_EQ(nullptr, pTemplate->GetFirstDocPosition());
    AfxPumpMessages();
    children.clear();
    pMain->GetMDIChildren(children);
    EXPECT_TRUE(children.empty());
    EXPECT_EQ(nullptr, pMain->GetActiveDocument());
    EXPECT_TRUE(::IsWindow(pMain->m_hWnd));
}

TEST_F(CDocViewTest, ScrollViewMovesItsPageUnderTheWindow)
{
    m_app.AddDocTemplate(new CSingleDocTemplate(IDR_NOTEDOC, RUNTIME_CLASS(CNoteDoc),
                                                RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CSheetView)));
    m_app.OnFileNew();
    ASSERT_NE(nullptr, m_app.m_pMainWnd);
    auto* pFrame = static_cast<CFrameWnd*>(m_app.m_pMainWnd);
    pFrame->MoveWindow(0, 0, 400, 300);
    AfxPumpMessages();
    auto* pView = dynamic_cast<CSheetView*>(pFrame->GetActiveView());
    ASSERT_NE(nullptr, pView);

    CRect rc;
    pView->GetClientRect(&rc);
    ASSERT_GT(rc.Width(), 100);
    const QList<QScrollBar*> bars = pView->GetWidget()->findChildren<QScrollBar*>();
    ASSERT_EQ(2, bars.size());
    for (QScrollBar* bar : bars)
        EXPECT_TRUE(bar->isVisible()) << "the page is larger than the window both ways";
    EXPECT_LT(rc.Width(), pView->GetWidget()->width()) << "the bars take their room from the client area";
    QScrollBar* vbar = bars[0]->orientation() == Qt::Vertical ? bars[0] : bars[1];
    int mode = 0;
    SIZE total, page, line;
    pView->GetDeviceScrollSizes(mode, total, page, line);
    EXPECT_EQ(MM_TEXT, mode);
    EXPECT_EQ(CSize(2000, 1500), CSize(total));
    EXPECT_EQ(CSize(200, 150), CSize(page));
    EXPECT_EQ(CSize(20, 15), CSize(line));

    // Positions stay within the page.
    pView->ScrollToPosition(CPoint(290, 290));
    EXPECT_EQ(CPoint(290, 290), pView->GetScrollPosition());
    EXPECT_EQ(290, vbar->value());
    pView->ScrollToPosition(CPoint(5000, -7));
    EXPECT_EQ(CPoint(2000 - rc.Width(), 0), pView->GetScrollPosition());

    // The bars' messages: lines, pages, ends and the thumb.
    pView->ScrollToPosition(CPoint(0, 100));
    const struct
    {
        UINT code;
        UINT pos;
        int y;
    } steps[] = {{SB_LINEDOWN, 0, 115},
                 {SB_PAGEDOWN, 0, 265},
                 {SB_LINEUP, 0, 250},
                 {SB_PAGEUP, 0, 100},
                 {SB_THUMBPOSITION, 321, 321},
                 {SB_TOP, 0, 0},
                 {SB_LINEUP, 0, 0},
                 {SB_BOTTOM, 0, 1500 - rc.Height()}};
    for (const auto& s : steps)
    {
        pView->SendMessage(WM_VSCROLL, MAKEWPARAM(s.code, s.pos), 0);
        EXPECT_EQ(s.y, pView->GetScrollPosition().y) << "code " << s.code;
    }
    // The wheel: three lines a notch.
    pView->ScrollToPosition(CPoint(0, 100));
    pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-WHEEL_DELTA))), 0);
    EXPECT_EQ(145, pView->GetScrollPosition().y);
    // The user's click on the bar arrives as a message the view acts on.
    vbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(160, pView->GetScrollPosition().y);
    EXPECT_EQ(160, vbar->value());

    // Painting: the DC's origin is the scroll position, so the page's square shows where it should.
    pView->ScrollToPosition(CPoint(290, 290));
    const QImage image = pView->GetClientWidget()->grab().toImage();
    EXPECT_EQ(CPoint(290, 290), pView->m_ptDrawnOrigin);
    EXPECT_EQ(QColor(255, 0, 0), image.pixelColor(15, 15));
    EXPECT_EQ(QColor(255, 255, 255), image.pixelColor(5, 5));
    EXPECT_EQ(QColor(255, 255, 255), image.pixelColor(35, 35));

    // A page that fits needs no bars and does not scroll.
    pView->SetScrollSizes(MM_TEXT, CSize(50, 40));
    for (QScrollBar* bar : bars)
        EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(CPoint(0, 0), pView->GetScrollPosition());
    EXPECT_FALSE(pView->OnScrollBy(CSize(10, 10)));
}
