// The "Windows" dialog over four MDI windows: its buttons by the selection, arranging only the
// selected windows, closing that stops at a window that refuses, activating a minimised window.
#include "MainFrameTestSupport.h"

#include "mfc/ButtonCtl.h"
#include "mfc/Gdi.h"
#include "mfc/SysColor.h"

#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <functional>
#include <set>

using namespace frametest;

namespace
{
// A window whose closing can be refused, as a document's Cancel in its save prompt refuses.
class CRefusingChild : public CMDIChildWnd
{
public:
    BOOL m_bRefuse = FALSE;
    void OnClose() override
    {
        if (!m_bRefuse)
            CMDIChildWnd::OnClose();
    }
};

class CWindowListTest : public CMainFrameTest
{
protected:
    void SetUp() override
    {
        CMainFrameTest::SetUp();
        ASSERT_NE(MakeFrame(1100, 800), nullptr);
        for (const wchar_t* title : {L"Alpha", L"Beta", L"Gamma", L"Delta"})
        {
            auto* child = new CRefusingChild;
            ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                      CFrameWnd::rectDefault, m_pFrame));
            child->SetWindowText(title);
            m_children.push_back(child);
        }
        AfxPumpMessages();
    }

    // Runs the dialog; work() gets it with its list filled.
    void RunDialog(const std::function<void(CWindowDlg&)>& work)
    {
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                if (auto* dlg = dynamic_cast<CWindowDlg*>(r.pDialog))
                    work(*dlg);
                return IDCANCEL;
            });
        m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_LIST, 0);
    }

    static int IndexOf(CWindowDlg& dlg, LPCWSTR title)
    {
        for (int i = 0; i < dlg.m_wndList.GetCount(); ++i)
        {
            CString text;
            dlg.m_wndList.GetText(i, text);
            if (text == title)
                return i;
        }
        return -1;
    }

    static void Select(CWindowDlg& dlg, std::initializer_list<LPCWSTR> titles)
    {
        for (int i = 0; i < dlg.m_wndList.GetCount(); ++i)
            dlg.m_wndList.SetSel(i, FALSE);
        for (LPCWSTR title : titles)
            dlg.m_wndList.SetSel(IndexOf(dlg, title), TRUE);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WINDOW_LIST, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(dlg.m_wndList.m_hWnd));
    }

    static BOOL Enabled(CWindowDlg& dlg, int id) { return dlg.GetDlgItem(id)->IsWindowEnabled(); }
    static void Click(CWindowDlg& dlg, int id)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dlg.GetDlgItem(id)->m_hWnd));
    }

    std::vector<CRefusingChild*> m_children;
};
} // namespace

TEST_F(CWindowListTest, ButtonsFollowTheNumberOfSelectedWindows)
{
    RunDialog(
        [&](CWindowDlg& dlg)
        {
            ASSERT_EQ(4, dlg.m_wndList.GetCount());
            // The active window (the last made) is selected at the start.
            ASSERT_EQ(1, dlg.m_wndList.GetSelCount());
            EXPECT_EQ(dlg.GetSelectedWindows().front(), m_children.back()->m_hWnd);
            struct Row
            {
                std::initializer_list<LPCWSTR> selection;
                BOOL close, arrange, activate;
            };
            const Row rows[] = {{{}, FALSE, FALSE, FALSE},
                                {{L"Beta"}, TRUE, FALSE, TRUE},
                                {{L"Beta", L"Delta"}, TRUE, TRUE, FALSE},
                                {{L"Alpha", L"Beta", L"Gamma"}, TRUE, TRUE, FALSE}};
            for (const Row& row : rows)
            {
                Select(dlg, row.selection);
                EXPECT_EQ(row.close, Enabled(dlg, IDC_WL_CLOSE));
                EXPECT_EQ(row.close, Enabled(dlg, IDC_WL_SAVE));
                EXPECT_EQ(row.close, Enabled(dlg, IDC_WL_MINIMIZE));
                EXPECT_EQ(row.arrange, Enabled(dlg, IDC_WL_CASCADE));
                EXPECT_EQ(row.arrange, Enabled(dlg, IDC_WL_TILE_HORZ));
                EXPECT_EQ(row.arrange, Enabled(dlg, IDC_WL_TILE_VERT));
                EXPECT_EQ(row.activate, Enabled(dlg, IDC_WL_ACTIVATE));
            }
            // Anchors need a control and a top-left type from 1 to 9.
            EXPECT_FALSE(dlg.AddAnchor(4242, CResizableDialog::TOP_LEFT));
            EXPECT_FALSE(dlg.AddAnchor(IDOK, CResizableDialog::NOANCHOR));
            // The list grows with the dialog; the buttons keep to its right edge.
            CRect list, button, list2, button2;
            dlg.GetDlgItem(IDC_WINDOW_LIST)->GetWindowRect(&list);
            dlg.GetDlgItem(IDC_WL_CLOSE)->GetWindowRect(&button);
            CRect outer, client, client2;
            dlg.GetWindowRect(&outer);
            dlg.GetClientRect(&client);
            dlg.MoveWindow(outer.left, outer.top, outer.Width() + 100, outer.Height() + 60);
            AfxPumpMessages();
            dlg.GetClientRect(&client2);
            const int dx = client2.Width() - client.Width(), dy = client2.Height() - client.Height();
            EXPECT_GE(dx, 100);
            dlg.GetDlgItem(IDC_WINDOW_LIST)->GetWindowRect(&list2);
            dlg.GetDlgItem(IDC_WL_CLOSE)->GetWindowRect(&button2);
            EXPECT_EQ(list.Width() + dx, list2.Width());
            EXPECT_EQ(list.Height() + dy, list2.Height());
            EXPECT_EQ(button.left + dx, button2.left);
            EXPECT_EQ(button.Width(), button2.Width());
            EXPECT_EQ(button.top, button2.top);
        });
}

TEST_F(CWindowListTest, TilingTwoOfFourMinimisesTheOthersAndTilesTheTwo)
{
    for (int vertical = 0; vertical < 2; ++vertical)
    {
        RunDialog(
            [&](CWindowDlg& dlg)
            {
                Select(dlg, {L"Alpha", L"Gamma"});
                Click(dlg, vertical ? IDC_WL_TILE_VERT : IDC_WL_TILE_HORZ);
            });
        AfxPumpMessages();
        EXPECT_FALSE(m_children[0]->IsIconic());
        EXPECT_FALSE(m_children[2]->IsIconic());
        EXPECT_TRUE(m_children[1]->IsIconic());
        EXPECT_TRUE(m_children[3]->IsIconic());
        const QRect a = m_children[0]->GetWidget()->geometry();
        const QRect c = m_children[2]->GetWidget()->geometry();
        auto* area = qobject_cast<QMdiArea*>(m_children[0]->GetWidget()->parentWidget()->parentWidget());
        ASSERT_NE(area, nullptr);
        const QSize all = area->viewport()->size();
        EXPECT_FALSE(a.intersects(c)) << vertical;
        if (vertical)
        {
            EXPECT_EQ(all.width(), a.width() + c.width());
            EXPECT_EQ(all.height(), a.height());
        }
        else
        {
            EXPECT_EQ(all.height(), a.height() + c.height());
            EXPECT_EQ(all.width(), a.width());
        }
    }
}

TEST_F(CWindowListTest, CloseStopsAtTheWindowThatRefusesAndActivateRestores)
{
    m_children[2]->m_bRefuse = TRUE; // Gamma
    const HWND alpha = m_children[0]->m_hWnd, gamma = m_children[2]->m_hWnd, delta = m_children[3]->m_hWnd;
    RunDialog(
        [&](CWindowDlg& dlg)
        {
            // Alpha, Gamma, Delta selected: closing goes from the last in the list upwards.
            Select(dlg, {L"Alpha", L"Gamma", L"Delta"});
            std::vector<HWND> selected = dlg.GetSelectedWindows();
            ASSERT_EQ(3u, selected.size());
            Click(dlg, IDC_WL_CLOSE);
            // The list shows what is still open.
            EXPECT_EQ(dlg.m_wndList.GetCount(), 3);
        });
    AfxPumpMessages();
    std::vector<CWnd*> open;
    m_pFrame->GetMDIChildren(open);
    std::set<HWND> left;
    for (CWnd* w : open)
        left.insert(w->m_hWnd);
    // The list runs from the active window (Delta) back to the first made (Alpha): Alpha, the last
    // selected, went first; Gamma refused, so Delta was not asked.
    EXPECT_EQ(0u, left.count(alpha));
    EXPECT_EQ(1u, left.count(gamma));
    EXPECT_EQ(1u, left.count(delta));

    // A minimised window is restored and activated.
    m_children[1]->ShowWindow(SW_MINIMIZE);
    AfxPumpMessages();
    ASSERT_TRUE(m_children[1]->IsIconic());
    int result = 0;
    {
        CModalHookScope hook(
            [&](const AfxModalRequest& r)
            {
                auto* dlg = dynamic_cast<CWindowDlg*>(r.pDialog);
                if (!dlg)
                    return IDCANCEL;
                Select(*dlg, {L"Beta"});
                Click(*dlg, IDC_WL_ACTIVATE);
                return IDCANCEL;
            });
        result = int(m_pFrame->GetMDIClientObject().ShowWindowList(m_pFrame));
    }
    EXPECT_EQ(IDOK, result);
    EXPECT_FALSE(m_children[1]->IsIconic());
    EXPECT_EQ(m_children[1], m_pFrame->MDIGetActive());
}

TEST_F(CWindowListTest, RowsShowTheIconAndCaptionAndTheSelectionInHighlight)
{
    // The children have no icon of their own: they show the frame's.
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(220, 0, 0));
    m_pFrame->SetIcon(reinterpret_cast<HICON>(AfxCreateBitmapHandle(red)), FALSE);
    QImage shot;
    std::vector<QRect> rows;
    std::vector<bool> selected;
    RunDialog(
        [&](CWindowDlg& dlg)
        {
            Select(dlg, {L"Beta", L"Delta"});
            auto* list = qobject_cast<QListWidget*>(dlg.m_wndList.GetWidget());
            ASSERT_NE(list, nullptr);
            list->resize(320, 160);
            for (int i = 0; i < list->count(); ++i)
            {
                rows.push_back(list->visualItemRect(list->item(i)));
                selected.push_back(dlg.m_wndList.GetSel(i) > 0);
            }
            shot = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        });
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(shot.save(QStringLiteral(QYR_WINDOWLIST_PNG)));
    const auto colour = [](int index)
    {
        const COLORREF c = ::GetSysColor(index);
        return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    };
    const auto ratio = shot.devicePixelRatio();
    const auto at = [&](int x, int y) { return shot.pixel(int(x * ratio), int(y * ratio)); };
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const QRect r = rows[i];
        const int mid = r.center().y();
        SCOPED_TRACE(i);
        const QRgb back = colour(selected[i] ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        EXPECT_EQ(at(r.right() - 3, mid), back);
        // The icon, square as high as the row, from 2 pixels in.
        EXPECT_EQ(at(2 + r.height() / 2, mid), qRgb(220, 0, 0));
        EXPECT_NE(at(1, mid), qRgb(220, 0, 0));
        // The caption after the icon, in the text colour of the row: its strokes come nearer to
        // that colour than the background is.
        const QRgb ink = colour(selected[i] ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const auto distance = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        };
        int inked = 0;
        for (int x = r.height() + 4; x < r.height() + 60; ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                inked += distance(at(x, y), ink) < distance(back, ink) / 2;
        EXPECT_GT(inked, 5);
        for (int y = r.top(); y <= r.bottom(); ++y)
            EXPECT_EQ(at(r.height() + 3, y), back) << "the caption starts after the icon's gap";
    }
}
