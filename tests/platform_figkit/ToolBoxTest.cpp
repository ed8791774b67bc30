// The shape toolbox: the page file (round trip, its landed layout, bad files), the drag text of an
// item, the toolbox's pages and view styles, and dragging an item out of the page window.
#include "FigkitTestSupport.h"

#include "figkit/FOPCanvasCore.h"
#include "figkit/FOToolBoxWnd.h"
#include "mfc/FrameWnd.h"
#include "mfc/OleDragDrop.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include <fstream>
#include <memory>

using namespace figkit_test;

namespace
{
CFOToolBoxPage SamplePage()
{
    CFOToolBoxPage page(L"Pumps \u00e9");
    page.AddItem(CFOToolBoxItem(601, L"Rectangle", L"A filled rectangle"));
    page.AddItem(CFOToolBoxItem(608, L"Motor", CString(), CSize(80, 90)));
    page.AddItem(CFOToolBoxItem(0xFFFFFFFF, L"", L"odd type, no caption"));
    return page;
}

CString P(const CTestDir& dir, const char* name)
{
    return CString(dir.W(name));
}

std::vector<BYTE> PageBytes(CFOToolBoxPage& page)
{
    return StoreBytes([&](CArchive& ar) { page.Serialize(ar); });
}

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
} // namespace

TEST(FigkitToolBoxPage, APageFileLoadsBackItemForItem)
{
    CTestDir dir;
    CFOToolBoxPage page = SamplePage();
    const CString path = P(dir, "Pumps.trs");
    ASSERT_TRUE(page.SaveDocument(path));
    EXPECT_EQ(path, page.GetFilePath());
    EXPECT_FALSE(page.IsModified());

    CFOToolBoxPage loaded;
    ASSERT_TRUE(loaded.OpenDocument(path));
    EXPECT_EQ(page.GetObjectCaption(), loaded.GetObjectCaption());
    EXPECT_EQ(page.GetItems(), loaded.GetItems());
    EXPECT_EQ(path, loaded.GetFilePath());
    EXPECT_EQ(CSize(80, 90), loaded.GetItem(1)->GetDefaultSize());
}

// Version 1 as it landed: files written by it must keep loading.
TEST(FigkitToolBoxPage, TheLandedLayoutKeepsLoading)
{
    const std::vector<BYTE> v1 = {
        0x46, 0x4F, 0x54, 0x42, // "FOTB"
        0x01, 0x00,             // version 1
        0x01, 'P',              // caption "P"
        0x01, 0x00,             // one item
        0x59, 0x02, 0x00, 0x00, // type 601
        0x01, 'R',              // caption "R"
        0x00,                   // no description
        0x0A, 0x00, 0x00, 0x00, // width 10
        0x14, 0x00, 0x00, 0x00, // height 20
    };
    CFOToolBoxPage page;
    LoadBytes(v1, [&](CArchive& ar) { page.Serialize(ar); });
    EXPECT_EQ(CString(L"P"), page.GetObjectCaption());
    ASSERT_EQ(1, page.GetItemCount());
    EXPECT_EQ(CFOToolBoxItem(601, L"R", CString(), CSize(10, 20)), *page.GetItem(0));

    // And what is written today still reads as version 1 with the same fields.
    CFOToolBoxPage again(L"P");
    again.AddItem(CFOToolBoxItem(601, L"R", CString(), CSize(10, 20)));
    std::vector<BYTE> bytes = PageBytes(again);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(std::vector<BYTE>(v1.begin(), v1.begin() + 6),
              std::vector<BYTE>(bytes.begin(), bytes.begin() + 6));
}

TEST(FigkitToolBoxPage, BadStreamsAreRefusedAndChangeNothing)
{
    CFOToolBoxPage sample = SamplePage();
    const std::vector<BYTE> good = PageBytes(sample);
    std::vector<std::pair<const char*, std::vector<BYTE>>> cases;
    for (size_t n = 0; n < good.size(); ++n)
        cases.emplace_back("truncated", std::vector<BYTE>(good.begin(), good.begin() + long(n)));
    std::vector<BYTE> magic = good;
    magic[0] ^= 0xFF;
    cases.emplace_back("magic", magic);
    std::vector<BYTE> newer = good;
    newer[4] = 2;
    cases.emplace_back("newer version", newer);
    std::vector<BYTE> zero = good;
    zero[4] = 0;
    cases.emplace_back("version 0", zero);
    // A count far beyond what the bytes hold.
    CFOToolBoxPage empty(L"x");
    std::vector<BYTE> huge = PageBytes(empty);
    huge[huge.size() - 2] = 0xFE;
    huge[huge.size() - 1] = 0xFF;
    cases.emplace_back("count", huge);

    for (const auto& c : cases)
    {
        const char* what = c.first;
        const std::vector<BYTE>& bytes = c.second;
        CFOToolBoxPage page(L"Kept");
        page.AddItem(CFOToolBoxItem(1, L"kept"));
        const int cause = ArchiveCause([&] { LoadBytes(bytes, [&](CArchive& ar) { page.Serialize(ar); }); });
        EXPECT_GE(cause, 0) << what << " " << bytes.size();
        EXPECT_EQ(CString(L"Kept"), page.GetObjectCaption()) << what;
        EXPECT_EQ(1, page.GetItemCount()) << what;
    }
}

TEST(FigkitToolBoxPage, FilesThatAreNoPagesLeaveThePageAsItWas)
{
    CTestDir dir;
    WriteFile(P(dir, "junk.trs").ToUtf8(), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'a', 'g', 'e'});
    WriteFile(P(dir, "empty.trs").ToUtf8(), {});
    for (const CString& path : {P(dir, "junk.trs"), P(dir, "empty.trs"), P(dir, "missing.trs"), CString()})
    {
        CFOToolBoxPage page(L"Kept");
        EXPECT_FALSE(page.OpenDocument(path)) << path.ToUtf8();
        EXPECT_EQ(CString(L"Kept"), page.GetObjectCaption());
        EXPECT_TRUE(page.GetFilePath().IsEmpty());
    }
    CFOToolBoxPage page = SamplePage();
    EXPECT_FALSE(page.SaveDocument(P(dir, "no/such/folder/x.trs")));
    EXPECT_TRUE(page.GetFilePath().IsEmpty());
}

TEST(FigkitToolBoxPage, DragTextCarriesTheItemAndRefusesOtherText)
{
    const CFOToolBoxItem item(633, L"Dial | gauge", L"dropped", CSize(120, 80));
    CFOToolBoxItem back;
    ASSERT_TRUE(CFOToolBoxItem::FromDragText(item.ToDragText(), back));
    EXPECT_EQ(item.GetType(), back.GetType());
    EXPECT_EQ(item.GetCaption(), back.GetCaption());
    EXPECT_EQ(item.GetDefaultSize(), back.GetDefaultSize());

    const struct
    {
        LPCWSTR text;
        BOOL ok;
        CSize size;
    } cases[] = {
        {L"601|0|0|", TRUE, CSize(0, 0)},
        {L"601|99999|5|x", TRUE, CSize(0, 0)}, // a side out of range: the factory's size
        {L"", FALSE, {}},
        {L"601|10|", FALSE, {}},
        {L"-1|10|10|x", FALSE, {}},
        {L"abc|1|1|x", FALSE, {}},
        {L"99999999999|1|1|x", FALSE, {}},
    };
    for (const auto& c : cases)
    {
        CFOToolBoxItem parsed;
        EXPECT_EQ(c.ok, CFOToolBoxItem::FromDragText(c.text, parsed)) << CString(c.text).ToUtf8();
        if (c.ok)
        {
            EXPECT_EQ(c.size, parsed.GetDefaultSize());
        }
    }
}

class FigkitToolBoxWnd : public ::testing::Test
{
protected:
    void SetUp() override { EnsureApp(); }

    static void Mouse(CWnd* wnd, QEvent::Type type, CPoint pt, Qt::MouseButtons buttons)
    {
        QWidget* w = wnd->GetClientWidget();
        const QPointF local(pt.x, pt.y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    static void Fill(CFOToolBoxPage* page, int n)
    {
        for (int i = 0; i < n; ++i)
        {
            CString caption;
            caption.Format(L"Item %d", i);
            page->AddItem(CFOToolBoxItem(601 + i, caption, L"details of the item"));
        }
    }
};

TEST_F(FigkitToolBoxWnd, PagesStackAroundTheOpenPageAndACaptionClickOpensOne)
{
    CFOMultiToolBoxWnd box;
    ASSERT_TRUE(box.Create(nullptr, CRect(0, 0, 200, 400), 0));
    EXPECT_EQ(-1, box.GetActiveIndex());
    EXPECT_EQ(nullptr, box.GetCurrentPage());
    CFOToolBoxPage* a = box.AddPage(L"A");
    CFOToolBoxPage* b = box.AddPage(L"B");
    box.AddPage(L"C", FALSE);
    EXPECT_EQ(1, box.GetActiveIndex());
    EXPECT_EQ(b, box.GetToolBoxWnd()->GetPage());

    const int h = CFOMultiToolBoxWnd::nCaptionHeight;
    CRect client;
    box.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, client.Width(), h), box.GetCaptionRect(0));
    EXPECT_EQ(CRect(0, h, client.Width(), 2 * h), box.GetCaptionRect(1));
    EXPECT_EQ(CRect(0, client.Height() - h, client.Width(), client.Height()), box.GetCaptionRect(2));

    Mouse(&box, QEvent::MouseButtonPress, box.GetCaptionRect(0).CenterPoint(), Qt::LeftButton);
    EXPECT_EQ(0, box.GetActiveIndex());
    EXPECT_EQ(a, box.GetToolBoxWnd()->GetPage());
    EXPECT_EQ(CRect(0, client.Height() - 2 * h, client.Width(), client.Height() - h), box.GetCaptionRect(1));
    EXPECT_EQ(0, box.RecalcLayout()); // nothing moved since

    // Removing the open page opens the one before it (or the first).
    EXPECT_TRUE(box.RemovePage(0));
    EXPECT_EQ(0, box.GetActiveIndex());
    EXPECT_EQ(CString(L"B"), box.GetCurrentPage()->GetObjectCaption());
    EXPECT_FALSE(box.RemovePage(5));
    box.RemoveAllPages();
    EXPECT_EQ(nullptr, box.GetToolBoxWnd()->GetPage());
    box.DestroyWindow();
}

TEST_F(FigkitToolBoxWnd, ViewStylesLayTheItemsOutAndHitTestFindsThem)
{
    CFOMultiToolBoxWnd box;
    ASSERT_TRUE(box.Create(nullptr, CRect(0, 0, 240, 300), 0));
    Fill(box.AddPage(L"Shapes"), 7);
    CFOToolBoxPageWnd* pageWnd = box.GetToolBoxWnd();
    const struct
    {
        int style;
        CRect second; // the rectangle of item 1
    } cases[] = {
        {FO_TOOLBOX_ICONS_NAMES, CRect(76, 0, 152, 66)},
        {FO_TOOLBOX_NAMES, CRect(0, 20, 240, 40)},
        {FO_TOOLBOX_ICONS_DETAILS, CRect(0, 40, 240, 80)},
    };
    for (const auto& c : cases)
    {
        box.SetViewStyle(c.style);
        EXPECT_EQ(c.style, pageWnd->GetViewStyle());
        CRect r = pageWnd->GetItemRect(1);
        r.right = std::min(r.right, LONG(c.second.right)); // the client may be narrower than the box
        EXPECT_EQ(c.second.TopLeft(), r.TopLeft()) << c.style;
        EXPECT_EQ(1, pageWnd->HitTest(pageWnd->GetItemRect(1).CenterPoint())) << c.style;
        EXPECT_EQ(-1, pageWnd->HitTest(CPoint(5, 2000))) << c.style;
    }
    box.SetViewStyle(4711);
    EXPECT_EQ(FO_TOOLBOX_ICONS_DETAILS, box.GetViewStyle());
    box.DestroyWindow();
}

// The look of the toolbox in its three styles, saved for a person to look at.
TEST_F(FigkitToolBoxWnd, TheToolBoxInEachViewStyle)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, CRect(0, 0, 760, 420), nullptr, 0));
    std::vector<std::unique_ptr<CFOMultiToolBoxWnd>> boxes;
    const int styles[] = {FO_TOOLBOX_ICONS_NAMES, FO_TOOLBOX_NAMES, FO_TOOLBOX_ICONS_DETAILS};
    for (int i = 0; i < 3; ++i)
    {
        auto box = std::make_unique<CFOMultiToolBoxWnd>();
        ASSERT_TRUE(box->Create(&host, CRect(i * 250 + 5, 5, i * 250 + 245, 415), 100 + i));
        box->AddPage(L"Basic");
        Fill(box->AddPage(L"Gauges"), 9);
        box->AddPage(L"Symbols", FALSE);
        box->SetViewStyle(styles[i]);
        box->GetToolBoxWnd()->SetSelectedItem(2);
        boxes.push_back(std::move(box));
    }
    host.ShowWindow(SW_SHOW);
    PumpUntil([] { return false; }, 100);
    const QImage shot = host.GetWidget()->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_TOOLBOX_PNG)));
    // The selected item of the icon grid is tinted, the area below the items is the page's ground.
    const CRect sel = boxes[0]->GetToolBoxWnd()->GetItemRect(2);
    CRect pageRc;
    boxes[0]->GetToolBoxWnd()->GetWindowRect(&pageRc);
    host.ScreenToClient(&pageRc);
    const QRgb tint = shot.pixel(pageRc.left + sel.left + 4, pageRc.top + sel.top + 2);
    EXPECT_EQ(qRgb(204, 224, 250), tint);
    host.DestroyWindow();
}

TEST_F(FigkitToolBoxWnd, DraggingAnItemOffersItsDragText)
{
    CFOMultiToolBoxWnd box;
    ASSERT_TRUE(box.Create(nullptr, CRect(0, 0, 240, 300), 0));
    box.ShowWindow(SW_SHOW);
    Fill(box.AddPage(L"Shapes"), 3);
    CFOToolBoxPageWnd* pageWnd = box.GetToolBoxWnd();
    int drags = 0;
    CString offered;
    AfxDragDropHookFn old = AfxSetDragDropHook(
        [&](COleDataSource& source, DWORD allowed)
        {
            ++drags;
            EXPECT_EQ(DWORD(DROPEFFECT_COPY), allowed);
            COleDataObject data;
            std::unique_ptr<QMimeData> mime(source.MakeMimeData());
            data.Attach(mime.get());
            HGLOBAL block = data.GetGlobalData(CLIPFORMAT(FOGetToolBoxItemFormat()));
            if (block)
            {
                offered = static_cast<const wchar_t*>(GlobalLock(block));
                GlobalUnlock(block);
                GlobalFree(block);
            }
            return DWORD(DROPEFFECT_COPY);
        });
    const CPoint start = pageWnd->GetItemRect(1).CenterPoint();
    // A click without moving selects and drags nothing.
    Mouse(pageWnd, QEvent::MouseButtonPress, start, Qt::LeftButton);
    Mouse(pageWnd, QEvent::MouseButtonRelease, start, Qt::NoButton);
    EXPECT_EQ(0, drags);
    EXPECT_EQ(1, pageWnd->GetSelectedItem());
    Mouse(pageWnd, QEvent::MouseButtonPress, start, Qt::LeftButton);
    Mouse(pageWnd, QEvent::MouseMove, CPoint(start.x + 10, start.y + 10), Qt::LeftButton);
    AfxSetDragDropHook(old);
    EXPECT_EQ(1, drags);
    EXPECT_EQ(box.GetCurrentPage()->GetItem(1)->ToDragText(), offered);
    box.DestroyWindow();
}

namespace
{
// A frame that keeps the canvas notices it hears.
class CNoticeFrame : public CFrameWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> notices;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == FOP_WM_VIEW_UPDATE || message == FOP_WM_VIEW_VALID)
            notices.emplace_back(message, wParam);
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

// A canvas inside a child frame (as a screen in its MDI child) tells the top-level frame, which
// keeps the pan window.
TEST_F(FigkitToolBoxWnd, CanvasNoticesReachTheTopLevelFrame)
{
    auto* outer = new CNoticeFrame;
    ASSERT_TRUE(outer->Create(nullptr, L"outer", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)));
    auto* inner = new CFrameWnd;
    ASSERT_TRUE(inner->Create(nullptr, L"inner", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), outer));
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(inner, CRect(0, 0, 200, 100)));
    canvas.NotifyFrame(FOP_WM_VIEW_UPDATE, FOP_VIEW_UPDATE_SELECTION);
    ASSERT_EQ(1u, outer->notices.size());
    EXPECT_EQ(FOP_WM_VIEW_UPDATE, outer->notices[0].first);
    EXPECT_EQ(WPARAM(FOP_VIEW_UPDATE_SELECTION), outer->notices[0].second);
    canvas.DestroyWindow();
    outer->DestroyWindow();
}
