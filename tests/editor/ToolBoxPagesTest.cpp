// The editor's toolbox pages as the engineer works them: New, Save as, Close and Open with the page
// files and "index.dat" of the toolbox folder, the "Open page" dialog, dragging an item onto a
// screen, the pages an installation starts with, and the pan window over a screen.
#include "EditorTestSupport.h"

#include "editor/MyToolBoxWnd.h"
#include "editor/NewOpenPageDlg.h"
#include "editor/ToolBoxDefaults.h"
#include "editor/ToolBoxIndex.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPNewPanBar.h"
#include "figkit/FORenameDlg.h"
#include "foundation/StdioFileEx.h"
#include "mfc/Menu.h"
#include "mfc/OleDragDrop.h"
#include "support/Printers.h"
#include "support/TestDir.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>

using namespace editortest;

namespace
{
using Answer = std::function<int(const AfxModalRequest&)>;

// Answers the modal requests in turn and keeps the texts of message boxes; a request beyond the
// list is cancelled.
class CAnswers
{
public:
    explicit CAnswers(std::vector<Answer> answers)
        : m_answers(answers.begin(), answers.end()), m_scope(
                                                         [this](const AfxModalRequest& r)
                                                         {
                                                             if (r.kind == AfxModalKind::MessageBox)
                                                                 messages.push_back(r.strText);
                                                             ++asked;
                                                             if (m_answers.empty())
                                                                 return int(IDCANCEL);
                                                             Answer next = std::move(m_answers.front());
                                                             m_answers.pop_front();
                                                             return next(r);
                                                         })
    {
    }
    std::vector<CString> messages;
    int asked = 0;
    bool AllUsed() const { return m_answers.empty(); }

private:
    std::deque<Answer> m_answers;
    CModalHookScope m_scope;
};

// Types a name into the name dialog and presses OK.
Answer Name(LPCWSTR name)
{
    return [name](const AfxModalRequest& r)
    {
        EXPECT_NE(nullptr, dynamic_cast<CFORenameDlg*>(r.pDialog));
        if (r.pDialog)
            r.pDialog->SetDlgItemText(CFORenameDlg::nNameEditId, name);
        return int(IDOK);
    };
}

// Runs the message loop for a while.
void Pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
    {
        AfxPumpMessages();
        QThread::msleep(5);
    }
}

Answer Reply(int answer)
{
    return [answer](const AfxModalRequest&) { return answer; };
}

std::string Bytes(const std::filesystem::path& p)
{
    return CTestDir::ReadAll(p);
}

// The index as its lines, read the way the program reads it.
std::vector<CString> IndexLines(const CString& folder)
{
    return CToolBoxIndex::ReadLines(folder);
}

class ToolBoxPages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(AfxEnsureApplication(), nullptr);
        ASSERT_TRUE(AfxWinInit(0, nullptr));
        m_folder = CString(m_dir.WPath()) + L"/";
        m_box.SetToolBoxFolder(m_folder);
        ASSERT_TRUE(m_box.Create(nullptr, CRect(0, 0, 240, 400), 0));
    }
    void TearDown() override
    {
        m_box.DestroyWindow();
        AfxWinTerm();
    }

    void Command(UINT id) { m_box.SendMessage(WM_COMMAND, id, 0); }
    std::filesystem::path File(const char* name) const { return m_dir / name; }
    // A page with the given items saved under a name through the Save command.
    void SavePage(LPCWSTR name, int items)
    {
        Command(ID_TOOLBOX_NEW_PAGE);
        for (int i = 0; i < items; ++i)
            m_box.GetCurrentPage()->AddItem(CFOToolBoxItem(601 + i, L"item"));
        CAnswers answers({Name(name)});
        Command(ID_TOOLBOX_SAVE_PAGE);
    }

    CWinApp m_app;
    CTestDir m_dir;
    CString m_folder;
    CMyToolBoxWnd m_box;
};
} // namespace

TEST_F(ToolBoxPages, NewSaveCloseAndOpenKeepFilesAndIndex)
{
    // New: a page captioned "New", opened.
    Command(ID_TOOLBOX_NEW_PAGE);
    ASSERT_EQ(1, m_box.GetPageCount());
    EXPECT_EQ(CString(L"New"), m_box.GetCurrentPage()->GetObjectCaption());

    // Save as "Pumps": the file, the caption and an index line.
    m_box.GetCurrentPage()->AddItem(CFOToolBoxItem(608, L"Motor", L"turns", CSize(80, 80)));
    m_box.GetCurrentPage()->AddItem(CFOToolBoxItem(610, L"Tank"));
    const std::vector<CFOToolBoxItem> items = m_box.GetCurrentPage()->GetItems();
    {
        CAnswers answers({Name(L"Pumps")});
        Command(ID_TOOLBOX_SAVE_PAGE);
        EXPECT_TRUE(answers.AllUsed());
    }
    EXPECT_TRUE(std::filesystem::exists(File("Pumps.trs")));
    EXPECT_EQ(CString(L"Pumps"), m_box.GetCurrentPage()->GetObjectCaption());
    EXPECT_EQ(std::vector<CString>{L"0#Pumps.trs"}, IndexLines(m_folder));

    // "index.dat" is UTF-16 little-endian with its mark.
    const std::string raw = Bytes(File("index.dat"));
    const std::string expected("\xFF\xFE"
                               "0\0#\0P\0u\0m\0p\0s\0.\0t\0r\0s\0\n\0",
                               2 + 12 * 2);
    EXPECT_EQ(expected, raw);

    // A second page saved under "Valves" takes the next number.
    SavePage(L"Valves", 1);
    EXPECT_EQ((std::vector<CString>{L"0#Pumps.trs", L"1#Valves.trs"}), IndexLines(m_folder));

    // Close on the Pumps page drops its line and keeps its file.
    m_box.SetActivePage(0);
    Command(ID_TOOLBOX_CLOSE_PAGE);
    EXPECT_EQ(1, m_box.GetPageCount());
    EXPECT_TRUE(std::filesystem::exists(File("Pumps.trs")));
    EXPECT_EQ(std::vector<CString>{L"1#Valves.trs"}, IndexLines(m_folder));

    // Close on the only page does nothing.
    Command(ID_TOOLBOX_CLOSE_PAGE);
    EXPECT_EQ(1, m_box.GetPageCount());
    EXPECT_EQ(std::vector<CString>{L"1#Valves.trs"}, IndexLines(m_folder));

    // Open lists only the pages not open, appends the next number, and the page loads back item
    // for item.
    {
        std::vector<CString> listed;
        CAnswers answers({[&](const AfxModalRequest& r)
                          {
                              auto* dlg = dynamic_cast<CNewOpenPageDlg*>(r.pDialog);
                              EXPECT_NE(nullptr, dlg);
                              if (!dlg)
                                  return int(IDCANCEL);
                              CListBox* list = dlg->GetList();
                              for (int i = 0; list && i < list->GetCount(); ++i)
                              {
                                  CString text;
                                  list->GetText(i, text);
                                  listed.push_back(text);
                              }
                              return int(IDOK);
                          }});
        Command(ID_TOOLBOX_OPEN_PAGE);
        EXPECT_EQ(std::vector<CString>{L"Pumps"}, listed);
    }
    ASSERT_EQ(2, m_box.GetPageCount());
    EXPECT_EQ(CString(L"Pumps"), m_box.GetCurrentPage()->GetObjectCaption());
    EXPECT_EQ(items, m_box.GetCurrentPage()->GetItems());
    EXPECT_EQ((std::vector<CString>{L"1#Valves.trs", L"1#Pumps.trs"}), IndexLines(m_folder));
    EXPECT_EQ("\xFF\xFE", Bytes(File("index.dat")).substr(0, 2));

    // Saving a page that has a file writes it there again, without asking.
    m_box.GetCurrentPage()->AddItem(CFOToolBoxItem(614, L"Tank 2"));
    {
        CAnswers answers({});
        Command(ID_TOOLBOX_SAVE_PAGE);
        EXPECT_EQ(0, answers.asked);
    }
    CFOToolBoxPage reread;
    ASSERT_TRUE(reread.OpenDocument(CString(m_dir.W("Pumps.trs"))));
    EXPECT_EQ(3, reread.GetItemCount());

    // The page window's own Save as does what the Save command does.
    Command(ID_TOOLBOX_NEW_PAGE);
    {
        CAnswers answers({Name(L"Fans")});
        EXPECT_TRUE(m_box.GetToolBoxWnd()->SavePageAs());
    }
    EXPECT_TRUE(std::filesystem::exists(File("Fans.trs")));
    EXPECT_EQ(CString(L"2#Fans.trs"), IndexLines(m_folder).back());
}

TEST_F(ToolBoxPages, TypedNamesAreHeldToTheFolderAndTheExtensionRule)
{
    const struct
    {
        LPCWSTR typed;
        const char* file; // null: nothing saved
        LPCWSTR caption;
    } cases[] = {
        {L"Pumps", "Pumps.trs", L"Pumps"},
        {L"Valves.TRS", "Valves.TRS", L"Valves"},
        {L"Pumpstrs", "Pumpstrs.trs", L"Pumpstrs"},
        {L"  Mixers  ", "Mixers.trs", L"Mixers"},
        {L"../outside", nullptr, nullptr},
        {L"sub/page", nullptr, nullptr},
        {L"sub\\page", nullptr, nullptr},
        {L"..", nullptr, nullptr},
        {L".trs", nullptr, nullptr},
        {L"", nullptr, nullptr},
    };
    for (const auto& c : cases)
    {
        Command(ID_TOOLBOX_NEW_PAGE);
        const auto before = std::distance(std::filesystem::directory_iterator(m_dir.Path()), {});
        // A refused name is said so and asked again; here the second dialog is cancelled.
        CAnswers answers({Name(c.typed), Reply(IDOK), Reply(IDCANCEL)});
        Command(ID_TOOLBOX_SAVE_PAGE);
        const CString typed = CString(c.typed).ToUtf8().c_str();
        if (c.file)
        {
            EXPECT_TRUE(std::filesystem::exists(File(c.file))) << typed.ToUtf8();
            EXPECT_EQ(CString(c.caption), m_box.GetCurrentPage()->GetObjectCaption()) << typed.ToUtf8();
            EXPECT_EQ(CString(c.file), CToolBoxIndex::ReadEntries(m_folder).back().strFileName);
            EXPECT_TRUE(answers.messages.empty());
        }
        else
        {
            EXPECT_EQ(1u, answers.messages.size()) << typed.ToUtf8();
            EXPECT_EQ(before, std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}))
                << typed.ToUtf8();
            EXPECT_TRUE(m_box.GetCurrentPage()->GetFilePath().IsEmpty());
            EXPECT_FALSE(std::filesystem::exists(m_dir.Path().parent_path() / "outside.trs"));
        }
    }
    // A name whose file exists is asked again until a free one comes.
    Command(ID_TOOLBOX_NEW_PAGE);
    CAnswers answers({Name(L"Pumps"), Name(L"pumps.trs"), Name(L"Pumps 2")});
    Command(ID_TOOLBOX_SAVE_PAGE);
    EXPECT_EQ(3, answers.asked);
    EXPECT_EQ(CString(L"Pumps 2"), m_box.GetCurrentPage()->GetObjectCaption());
}

TEST_F(ToolBoxPages, IndexLinesAreSplitAtTheLastHashAndBadLinesGoWhenOpenOrCloseRewrite)
{
    {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(m_folder + L"index.dat",
                              CFile::modeCreate | CFile::modeWrite | CStdioFileEx::modeWriteUnicode));
        for (LPCWSTR line : {L"3#pumps.trs\n", L"  \n", L"#nonumber.trs\n", L"7#\n", L"  5#a#b.trs  \n",
                             L"no hash\n", L"9#pumps.trs"})
            file.WriteString(line);
        file.Close();
    }
    const std::vector<CToolBoxIndex::Entry> entries = CToolBoxIndex::ReadEntries(m_folder);
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(CString(L"3"), entries[0].strNumber);
    EXPECT_EQ(CString(L"pumps.trs"), entries[0].strFileName);
    EXPECT_EQ(100u, entries[0].nId);
    EXPECT_EQ(CString(L"5#a"), entries[1].strNumber);
    EXPECT_EQ(CString(L"b.trs"), entries[1].strFileName);
    EXPECT_EQ(101u, entries[1].nId);

    // Save keeps every non-empty line; Open and Close keep only the entries.
    ASSERT_TRUE(CToolBoxIndex::AppendEntry(m_folder, L"x.trs", FALSE));
    EXPECT_EQ(7u, IndexLines(m_folder).size());
    EXPECT_EQ(CString(L"6#x.trs"), IndexLines(m_folder).back());
    ASSERT_TRUE(CToolBoxIndex::RemoveEntry(m_folder, L"pumps.trs"));
    EXPECT_EQ((std::vector<CString>{L"5#a#b.trs", L"6#x.trs"}), IndexLines(m_folder));
    ASSERT_TRUE(CToolBoxIndex::AppendEntry(m_folder, L"y.trs", TRUE));
    EXPECT_EQ(CString(L"2#y.trs"), IndexLines(m_folder).back());
}

TEST_F(ToolBoxPages, ABadIndexOrPageNeverCrashesAndNamesOutsideTheFolderStayClosed)
{
    // Pages of the index open at start; bad files and names that leave the folder stay out.
    CFOToolBoxPage good(L"Good");
    good.AddItem(CFOToolBoxItem(601, L"Rectangle"));
    ASSERT_TRUE(good.SaveDocument(CString(m_dir.W("Good.trs"))));
    std::ofstream(File("Bad.trs"), std::ios::binary) << "garbage";
    std::filesystem::create_directory(m_dir / "sub");
    ASSERT_TRUE(good.SaveDocument(CString(m_dir.W("sub/Hidden.trs"))));
    ASSERT_TRUE(CToolBoxIndex::WriteLines(
        m_folder, {L"0#Good.trs", L"1#Bad.trs", L"2#Missing.trs", L"3#sub/Hidden.trs", L"4#../Good.trs"}));
    EXPECT_EQ(1, m_box.OpenIndexedPages());
    ASSERT_EQ(1, m_box.GetPageCount());
    EXPECT_EQ(CString(L"Good"), m_box.GetCurrentPage()->GetObjectCaption());
    EXPECT_EQ(1, m_box.GetCurrentPage()->GetItemCount());

    // An index of garbage bytes (odd length, no mark, NULs, lone surrogates) opens one new page.
    m_box.RemoveAllPages();
    std::ofstream(File("index.dat"), std::ios::binary)
        << std::string("\xFF\xFE\x00\xD8#\x00\x00\x00\n\x00\x41", 11);
    EXPECT_EQ(0, m_box.OpenIndexedPages());
    EXPECT_EQ(1, m_box.GetPageCount());
    EXPECT_EQ(CString(L"New"), m_box.GetCurrentPage()->GetObjectCaption());

    // A folder that is not there: nothing to read, a save says so and writes no index.
    CMyToolBoxWnd lost;
    lost.SetToolBoxFolder(CString(m_dir.W("no/such")));
    ASSERT_TRUE(lost.Create(nullptr, CRect(0, 0, 100, 100), 0));
    EXPECT_EQ(0, lost.OpenIndexedPages());
    CAnswers answers({Name(L"Pumps")});
    lost.SendMessage(WM_COMMAND, ID_TOOLBOX_SAVE_PAGE, 0);
    EXPECT_EQ(1u, answers.messages.size());
    EXPECT_TRUE(lost.GetCurrentPage()->GetFilePath().IsEmpty());
    lost.DestroyWindow();
}

TEST_F(ToolBoxPages, TheOpenPageDialogImportsDeletesAndInsistsOnAChoice)
{
    SavePage(L"Pumps", 2);
    CFOToolBoxPage outside(L"Elsewhere");
    outside.AddItem(CFOToolBoxItem(607, L"Meter"));
    CTestDir other;
    const CString outsidePath(other.W("Elsewhere.trs"));
    ASSERT_TRUE(outside.SaveDocument(outsidePath));
    std::ofstream(File("Old.trs"), std::ios::binary) << "old";

    CAnswers answers({[&](const AfxModalRequest& r)
                      {
                          auto* dlg = dynamic_cast<CNewOpenPageDlg*>(r.pDialog);
                          if (!dlg)
                              return int(IDCANCEL);
                          // The open page is not offered; the first file is selected.
                          EXPECT_EQ(1, dlg->GetList()->GetCount());
                          EXPECT_EQ(CString(L"Old"), dlg->GetSelectedName());
                          // Import under a new name (the file's own is offered first).
                          r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PAGE_IMPORT, BN_CLICKED), 0);
                          EXPECT_EQ(CString(L"Imported"), dlg->GetSelectedName());
                          EXPECT_EQ(1, dlg->GetPreview()->GetCurrentPage()->GetItemCount());
                          // Delete "Old" after the question.
                          dlg->GetList()->SelectString(-1, L"Old");
                          r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PAGE_DELETE, BN_CLICKED), 0);
                          EXPECT_EQ(1, dlg->GetList()->GetCount());
                          // Open with nothing selected is refused.
                          dlg->GetList()->SetCurSel(-1);
                          r.pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                          dlg->GetList()->SetCurSel(0);
                          return int(IDOK);
                      },
                      [&](const AfxModalRequest& r)
                      {
                          EXPECT_EQ(AfxModalKind::FileDialog, r.kind);
                          r.paths.push_back(outsidePath);
                          return int(IDOK);
                      },
                      [&](const AfxModalRequest& r)
                      {
                          auto* name = dynamic_cast<CFORenameDlg*>(r.pDialog);
                          EXPECT_NE(nullptr, name);
                          CString offered;
                          r.pDialog->GetDlgItemText(CFORenameDlg::nNameEditId, offered);
                          EXPECT_EQ(CString(L"Elsewhere"), offered);
                          r.pDialog->SetDlgItemText(CFORenameDlg::nNameEditId, L"Imported");
                          return int(IDOK);
                      },
                      Reply(IDYES), Reply(IDOK)});
    const std::vector<CString> before = IndexLines(m_folder);
    Command(ID_TOOLBOX_OPEN_PAGE);
    EXPECT_TRUE(answers.AllUsed());
    ASSERT_EQ(2u, answers.messages.size());
    EXPECT_EQ(CString(L"Please select a file for openning..."), answers.messages.back());
    EXPECT_FALSE(std::filesystem::exists(File("Old.trs")));
    EXPECT_TRUE(std::filesystem::exists(File("Imported.trs")));
    EXPECT_EQ(CString(L"Imported"), m_box.GetCurrentPage()->GetObjectCaption());
    EXPECT_EQ(CString(L"1#Imported.trs"), IndexLines(m_folder).back());
    EXPECT_EQ(before.size() + 1, IndexLines(m_folder).size());
}

TEST_F(ToolBoxPages, TheInstalledPagesOpenFromTheirIndex)
{
    ASSERT_TRUE(WriteDefaultToolBoxPages(m_folder));
    EXPECT_EQ(GetDefaultToolBoxPageCount(), m_box.OpenIndexedPages());
    EXPECT_EQ(GetDefaultToolBoxPageCount(), m_box.GetPageCount());
    EXPECT_EQ(0, m_box.GetActiveIndex());
    for (int i = 0; i < m_box.GetPageCount(); ++i)
        EXPECT_GT(m_box.GetPage(i)->GetItemCount(), 0) << i;
    EXPECT_EQ(size_t(GetDefaultToolBoxPageCount()), CToolBoxIndex::ReadEntries(m_folder).size());
}

// Dragging a toolbox item onto a screen makes the item's shape where it was dropped.
TEST_F(CDesignTest, AToolBoxItemDraggedOntoTheScreenBecomesItsShape)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    model->SetCanvasSize(CSize(800, 600));
    CMyToolBoxWnd box;
    ASSERT_TRUE(box.Create(m_pMain, CRect(0, 0, 200, 300), 1212));
    CFOToolBoxPage* page = box.AddPage(L"Basic");
    page->AddItem(CFOToolBoxItem(601, L"Rectangle", CString(), CSize(100, 60)));
    page->AddItem(CFOToolBoxItem(608, L"Motor", CString(), CSize(80, 80)));
    box.ShowWindow(SW_SHOW);

    const CPoint dropAt(300 + FO_RULER_SIZE, 200 + FO_RULER_SIZE);
    DWORD effect = DROPEFFECT_NONE;
    AfxDragDropHookFn old = AfxSetDragDropHook(
        [&](COleDataSource& source, DWORD allowed)
        {
            effect = AfxDragOverWindow(view, dropAt, source, allowed, 0, TRUE);
            return effect;
        });
    CFOToolBoxPageWnd* pageWnd = box.GetToolBoxWnd();
    for (int item : {0, 1})
    {
        const CPoint at = pageWnd->GetItemRect(item).CenterPoint();
        QWidget* w = pageWnd->GetClientWidget();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at.x, at.y), w->mapToGlobal(QPointF(at.x, at.y)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        const QPointF moved(at.x + 12, at.y + 12);
        QMouseEvent move(QEvent::MouseMove, moved, w->mapToGlobal(moved), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    AfxSetDragDropHook(old);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), effect);
    ASSERT_EQ(2, model->GetShapeCount());
    CFODrawShape* rect = model->GetShapes()->GetHead();
    EXPECT_EQ(601u, rect->GetType());
    EXPECT_EQ(CRect(250, 170, 350, 230), rect->GetDrawRect());
    EXPECT_EQ(608u, model->GetShapes()->GetTail()->GetType());
    EXPECT_EQ(1, view->GetSelectCount());

    // Out of design mode the view takes no item.
    model->SetDesignMode(FALSE);
    COleDataSource source;
    const CString text = page->GetItem(0)->ToDragText();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size_t(text.GetLength() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.GetString(), size_t(text.GetLength() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    source.CacheGlobalData(CLIPFORMAT(FOGetToolBoxItemFormat()), block);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), AfxDragOverWindow(view, dropAt, source, DROPEFFECT_COPY, 0, TRUE));
    EXPECT_EQ(2, model->GetShapeCount());
    box.DestroyWindow();
}

// The pan window follows the active screen and scrolls it when its rectangle is dragged.
TEST_F(CDesignTest, ThePanWindowShowsTheScreenInSmallAndScrollsIt)
{
    CQYRDrawView* view = Open();
    ASSERT_NE(view, nullptr);
    CFODataModel* model = view->GetCurrentModel();
    model->SetCanvasSize(CSize(2400, 1800));
    view->UpdateScrollBarSize();
    for (int i = 0; i < 6; ++i)
        view->DoDropToolBoxItem(601, CPoint(200 + i * 350, 150 + i * 260));
    view->ClearSelection();

    CFOPNewPanBar pan;
    ASSERT_TRUE(pan.Create(m_pMain, L"Pan Window", WS_CHILD | WS_VISIBLE, 20002, CRect(0, 0, 244, 188)));
    EXPECT_EQ(nullptr, pan.GetActiveView());
    EXPECT_TRUE(pan.GetVisibleArea().IsRectEmpty());

    // The canvas notices as the frame passes them on: valid shows the view.
    LRESULT result = 0;
    const LPARAM canvasWnd = LPARAM(view->GetSafeHwnd());
    EXPECT_TRUE(pan.HandleCanvasNotice(FOP_WM_VIEW_VALID, 0, canvasWnd, &result));
    EXPECT_EQ(1, result);
    ASSERT_EQ(static_cast<CFOPCanvasCore*>(view), pan.GetActiveView());
    const CRect area = pan.GetPageArea();
    const CRect visible = pan.GetVisibleArea();
    ASSERT_FALSE(visible.IsRectEmpty());
    EXPECT_EQ(area.TopLeft(), visible.TopLeft());
    EXPECT_LT(visible.Width(), area.Width());
    EXPECT_LT(visible.Height(), area.Height());
    EXPECT_NEAR(double(area.Width()) / area.Height(), 2400.0 / 1800.0, 0.02);
    EXPECT_FALSE(pan.HandleCanvasNotice(WM_USER + 7, 0, 0));

    // Dragging the rectangle scrolls the view by the page's scale.
    const CPoint from = visible.CenterPoint();
    const CPoint to(from.x + 40, from.y + 30);
    auto mouse = [&](QEvent::Type type, CPoint pt, Qt::MouseButtons buttons)
    {
        QWidget* w = pan.GetClientWidget();
        QMouseEvent e(type, QPointF(pt.x, pt.y), w->mapToGlobal(QPointF(pt.x, pt.y)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    const double scale = 2400.0 / area.Width();
    const CPoint scroll = view->GetDeviceScrollPosition();
    EXPECT_NEAR(40 * scale, scroll.x, scale + 1);
    EXPECT_NEAR(30 * scale, scroll.y, scale + 1);
    EXPECT_NEAR(visible.left + 40, pan.GetVisibleArea().left, 1);
    EXPECT_NEAR(visible.top + 30, pan.GetVisibleArea().top, 1);

    // The view scrolled on its own: the rectangle follows (zoom notice 200).
    view->ScrollToDevicePosition(CPoint(0, 0));
    EXPECT_TRUE(pan.HandleCanvasNotice(FOP_WM_VIEW_UPDATE, FOP_VIEW_UPDATE_ZOOM, canvasWnd));
    EXPECT_EQ(area.TopLeft(), pan.GetVisibleArea().TopLeft());
    view->SetZoomScale(0.5);
    EXPECT_TRUE(pan.HandleCanvasNotice(FOP_WM_VIEW_UPDATE, FOP_VIEW_UPDATE_ZOOM, canvasWnd));
    EXPECT_GT(pan.GetVisibleArea().Width(), visible.Width());
    view->SetZoomScale(1.0);
    pan.UpdateWnd(TRUE);

    // The pan window over the screen, saved for a person to look at.
    m_pMain->ShowWindow(SW_SHOW);
    view->ScrollToDevicePosition(CPoint(300, 200));
    pan.UpdateWnd(TRUE);
    Pump(100);
    const QImage shot = m_pMain->GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_PANBAR_PNG)));
    const QImage panShot = pan.GetWidget()->grab().toImage();
    const CRect now = pan.GetVisibleArea();
    EXPECT_EQ(qRgb(220, 0, 0), panShot.pixel(now.left, now.CenterPoint().y)) << "the visible part's frame";

    // Invalid for another view changes nothing; for the shown one the pan window lets go.
    EXPECT_TRUE(pan.HandleCanvasNotice(FOP_WM_VIEW_INVALID, 0, LPARAM(m_pMain->GetSafeHwnd())));
    EXPECT_NE(nullptr, pan.GetActiveView());
    EXPECT_TRUE(pan.HandleCanvasNotice(FOP_WM_VIEW_INVALID, 0, canvasWnd));
    EXPECT_EQ(nullptr, pan.GetActiveView());

    // A view that goes away while shown is let go of too.
    pan.SetActiveView(view);
    m_app.CloseAllDocuments(TRUE);
    AfxPumpMessages();
    EXPECT_EQ(nullptr, pan.GetActiveView());
    pan.UpdateWnd(TRUE);
    pan.DestroyWindow();
}

// A right click on the toolbox offers its page commands and the view styles; its Open on a damaged
// page file says so once and opens nothing, and the index stays as it was.
TEST_F(ToolBoxPages, TheRightClickMenuRunsThePageCommandsAndADamagedFileOpensNothing)
{
    {
        std::ofstream bad(File("Broken.trs"), std::ios::binary);
        bad << "not a toolbox page";
    }
    Command(ID_TOOLBOX_NEW_PAGE);
    const std::vector<CString> indexBefore = IndexLines(m_folder);
    const int pages = m_box.GetPageCount();
    std::vector<UINT> ids;
    std::vector<UINT> checked;
    auto menu = [&](UINT choose)
    {
        return [&, choose](const AfxModalRequest& r)
        {
            EXPECT_EQ(r.kind, AfxModalKind::PopupMenu);
            ids.clear();
            checked.clear();
            for (int i = 0; i < ::GetMenuItemCount(r.hMenu); ++i)
                if (UINT id = ::GetMenuItemID(r.hMenu, i); id && id != UINT(-1))
                {
                    ids.push_back(id);
                    if (::GetMenuState(r.hMenu, id, MF_BYCOMMAND) & MF_CHECKED)
                        checked.push_back(id);
                }
            return int(choose);
        };
    };
    auto rightClick = [&]
    { m_box.SendMessage(WM_CONTEXTMENU, WPARAM(m_box.GetSafeHwnd()), MAKELPARAM(-1, -1)); };

    // New from the menu adds a page.
    {
        CAnswers answers({menu(ID_TOOLBOX_NEW_PAGE)});
        rightClick();
        EXPECT_EQ((std::vector<UINT>{ID_TOOLBOX_NEW_PAGE, ID_TOOLBOX_OPEN_PAGE, ID_TOOLBOX_SAVE_PAGE,
                                     ID_TOOLBOX_CLOSE_PAGE, 32838, 32839, 32840}),
                  ids);
        EXPECT_EQ(std::vector<UINT>{32838}, checked) << "the view style in force";
        EXPECT_EQ(pages + 1, m_box.GetPageCount());
    }
    // Open on the damaged file: one message, no page, no index line.
    {
        CAnswers answers({menu(ID_TOOLBOX_OPEN_PAGE),
                          [&](const AfxModalRequest& r)
                          {
                              auto* dlg = dynamic_cast<CNewOpenPageDlg*>(r.pDialog);
                              CListBox* list = dlg ? dlg->GetList() : nullptr;
                              if (!list)
                                  return int(IDCANCEL);
                              list->SelectString(-1, L"Broken");
                              return int(IDOK);
                          },
                          Reply(IDOK)});
        rightClick();
        ASSERT_EQ(1u, answers.messages.size());
        EXPECT_NE(-1, answers.messages[0].Find(L"Broken.trs")) << answers.messages[0].ToUtf8();
        EXPECT_EQ(pages + 1, m_box.GetPageCount());
        EXPECT_EQ(indexBefore, IndexLines(m_folder));
    }
    // Close from the menu takes the new page away again.
    {
        CAnswers answers({menu(ID_TOOLBOX_CLOSE_PAGE)});
        rightClick();
        EXPECT_EQ(pages, m_box.GetPageCount());
    }
}
