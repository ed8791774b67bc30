#include "WndTestSupport.h"

#include "mfc/Controls.h"
#include "mfc/Dialog.h"
#include "mfc/Gdi.h"
#include "mfc/WinApp.h"

#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace wndtest;

namespace
{
UINT g_nProbeMessage = RegisterWindowMessageW(L"QyrWndTest.Probe");

class CBaseProbe : public CWnd
{
public:
    std::vector<std::string> calls;

    void OnBaseOnly() { calls.push_back("base-only"); }
    void OnShared() { calls.push_back("base-shared"); }
    LRESULT OnUser(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("user");
        return LRESULT(wParam + lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
ON_COMMAND(100, &CBaseProbe::OnBaseOnly)
ON_COMMAND(101, &CBaseProbe::OnShared)
ON_MESSAGE(WM_USER + 5, &CBaseProbe::OnUser)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe
{
public:
    BOOL m_bEnable102 = TRUE;
    std::vector<UINT> ranges;
    std::vector<UINT_PTR> timers;
    std::vector<std::string> input;
    int m_nCreates = 0;
    int m_nDestroys = 0;
    int m_nCloses = 0;
    BOOL m_bRefuseClose = FALSE;
    BOOL m_bEatEscape = TRUE;

    void OnShared2() { calls.push_back("derived-shared"); }
    void On102() { calls.push_back("102"); }
    void OnUpdate102(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnable102); }
    void OnRange(UINT nID) { ranges.push_back(nID); }
    LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        calls.push_back("registered");
        return LRESULT(wParam * 2);
    }

    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        ++m_nCreates;
        return CWnd::OnCreate(lpcs);
    }
    void OnDestroy() override
    {
        ++m_nDestroys;
        CWnd::OnDestroy();
    }
    void OnClose() override
    {
        ++m_nCloses;
        if (!m_bRefuseClose)
            CWnd::OnClose();
    }
    void OnTimer(UINT_PTR nIDEvent) override { timers.push_back(nIDEvent); }
    void OnLButtonDown(UINT nFlags, CPoint point) override
    {
        input.push_back("ldown " + std::to_string(nFlags) + " " + std::to_string(point.x) + "," +
                        std::to_string(point.y));
    }
    void OnKeyDown(UINT nChar, UINT, UINT) override { input.push_back("key " + std::to_string(nChar)); }
    void OnChar(UINT nChar, UINT, UINT) override { input.push_back("char " + std::to_string(nChar)); }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            input.push_back("pre " + std::to_string(pMsg->wParam));
        return m_bEatEscape && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
ON_COMMAND(101, &CDerivedProbe::OnShared2)
ON_COMMAND(102, &CDerivedProbe::On102)
ON_UPDATE_COMMAND_UI(102, &CDerivedProbe::OnUpdate102)
ON_COMMAND_RANGE(200, 210, &CDerivedProbe::OnRange)
ON_REGISTERED_MESSAGE(g_nProbeMessage, &CDerivedProbe::OnRegistered)
END_MESSAGE_MAP()

// A window that counts one message, to see who a broadcast reaches.
class CCountingWnd : public CWnd
{
public:
    explicit CCountingWnd(std::vector<std::string>& log, std::string name)
        : m_log(log), m_name(std::move(name))
    {
    }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        m_log.push_back(m_name);
        return 0;
    }
    int m_nDestroys = 0;
    void OnDestroy() override
    {
        ++m_nDestroys;
        CWnd::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
ON_MESSAGE(WM_USER + 7, &CCountingWnd::OnPing)
END_MESSAGE_MAP()

class CWndTest : public CWndTestBase
{
protected:
    void CreateTopLevel(CWnd& wnd, LPCWSTR title = L"probe")
    {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, title, WS_POPUP, 0, 0, 200, 150, nullptr, nullptr));
        ASSERT_TRUE(::IsWindow(wnd.m_hWnd));
    }
};
} // namespace

TEST_F(CWndTest, MessageMapsChainToTheBaseAndDerivedEntriesWin)
{
    CDerivedProbe probe;
    CreateTopLevel(probe);
    EXPECT_EQ(probe.m_nCreates, 1);

    probe.SendMessage(WM_COMMAND, 100);
    probe.SendMessage(WM_COMMAND, 101);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"base-only", "derived-shared"}));

    // A command range hands the id over; ids outside it are not handled.
    EXPECT_TRUE(probe.OnCmdMsg(205, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(probe.OnCmdMsg(211, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(probe.ranges, (std::vector<UINT>{205}));

    // Asking for the handler does not call it.
    probe.calls.clear();
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(probe.OnCmdMsg(100, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &probe);
    EXPECT_TRUE(probe.calls.empty());

    // A command its update handler disables does nothing when it comes as WM_COMMAND.
    probe.m_bEnable102 = FALSE;
    probe.SendMessage(WM_COMMAND, 102);
    EXPECT_TRUE(probe.calls.empty());
    probe.m_bEnable102 = TRUE;
    probe.SendMessage(WM_COMMAND, 102);
    EXPECT_EQ(probe.calls, (std::vector<std::string>{"102"}));

    // Window messages of the base map and registered messages.
    EXPECT_EQ(probe.SendMessage(WM_USER + 5, 3, 4), 7);
    EXPECT_EQ(probe.SendMessage(g_nProbeMessage, 21), 42);
    EXPECT_EQ(probe.SendMessage(WM_USER + 6), 0); // nobody handles it
    probe.DestroyWindow();
    EXPECT_EQ(probe.m_nDestroys, 1);
    EXPECT_EQ(probe.m_hWnd, nullptr);
}

TEST_F(CWndTest, RegisteredMessagesShareIdsByNameWithoutRegardToCase)
{
    const UINT a = RegisterWindowMessageW(L"QyrWndTest.Probe");
    EXPECT_EQ(a, g_nProbeMessage);
    EXPECT_EQ(RegisterWindowMessageW(L"qyrwndtest.PROBE"), a);
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(RegisterWindowMessageW(L"QyrWndTest.Other"), a);
    EXPECT_EQ(RegisterWindowMessageW(L""), 0u);
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
}

TEST_F(CWndTest, PostedMessagesArriveLaterOnTheUiThreadAndStaleOnesAreDropped)
{
    CDerivedProbe probe;
    CreateTopLevel(probe);
    EXPECT_TRUE(probe.PostMessage(WM_USER + 5, 1, 1));
    EXPECT_TRUE(probe.calls.empty());
    EXPECT_TRUE(PumpUntil([&] { return probe.calls.size() == 1; }));

    // From other threads: every message arrives, in order, on the UI thread.
    std::vector<UINT> seen;
    std::atomic<bool> offThread{false};
    class CReceiver : public CWnd
    {
    public:
        std::vector<UINT>* pSeen = nullptr;
        std::atomic<bool>* pOffThread = nullptr;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP)
            {
                pSeen->push_back(UINT(wParam));
                if (QThread::currentThread() != QCoreApplication::instance()->thread())
                    *pOffThread = true;
                return LRESULT(wParam) + 1;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } receiver;
    receiver.pSeen = &seen;
    receiver.pOffThread = &offThread;
    CreateTopLevel(receiver);
    const HWND h = receiver.m_hWnd;
    std::thread worker(
        [h]
        {
            for (UINT i = 0; i < 101; ++i)
                ::PostMessage(h, WM_APP, i, 0);
        });
    worker.join();
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 101; }));
    ASSERT_EQ(seen.size(), 101u);
    for (UINT i = 0; i < 101; ++i)
        EXPECT_EQ(seen[i], i);
    EXPECT_FALSE(offThread.load());

    // Posted to a window that is gone by delivery: dropped. Posted to no window at all: refused.
    receiver.PostMessage(WM_APP, 5000, 0);
    receiver.DestroyWindow();
    PumpFor(20);
    EXPECT_EQ(seen.size(), 101u);
    EXPECT_FALSE(::PostMessage(h, WM_APP, 1, 0));
    probe.DestroyWindow();
}

TEST_F(CWndTest, SendMessageFromAnotherThreadIsRefused)
{
    class CReceiver : public CWnd
    {
    public:
        std::atomic<int> nCalls{0};
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message != WM_APP)
                return CWnd::WindowProc(message, wParam, lParam);
            ++nCalls;
            return LRESULT(wParam) + 1;
        }
    } receiver;
    CreateTopLevel(receiver);
    const HWND h = receiver.m_hWnd;
#ifdef NDEBUG
    // The UI thread waits in join: a send that waited for it would never return.
    std::atomic<LRESULT> result{-1};
    std::thread([h, &result] { result = ::SendMessage(h, WM_APP, 1, 0); }).join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(receiver.nCalls.load(), 0);
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([h] { ::SendMessage(h, WM_APP, 1, 0); }).join(), "post instead");
#endif
    // On the window's own thread the same call goes through.
    EXPECT_EQ(::SendMessage(h, WM_APP, 1, 0), 2);
    EXPECT_EQ(receiver.nCalls.load(), 1);
    receiver.DestroyWindow();
}

TEST_F(CWndTest, TimersDeliverTheirIdsUntilKilled)
{
    CDerivedProbe probe;
    CreateTopLevel(probe);
    EXPECT_EQ(probe.SetTimer(7, 10), 7u);
    EXPECT_EQ(probe.SetTimer(9, 10), 9u);
    auto count = [&](UINT_PTR id) { return std::count(probe.timers.begin(), probe.timers.end(), id); };
    ASSERT_TRUE(PumpUntil([&] { return count(7) >= 3 && count(9) >= 1; }));

    EXPECT_TRUE(probe.KillTimer(7));
    EXPECT_FALSE(probe.KillTimer(7));
    EXPECT_FALSE(probe.KillTimer(8));
    const auto sevens = count(7);
    const auto nines = count(9);
    PumpFor(80);
    EXPECT_EQ(count(7), sevens);
    EXPECT_GT(count(9), nines);

    // A callback takes WM_TIMER's place.
    static std::vector<UINT_PTR> callbacks;
    callbacks.clear();
    probe.SetTimer(11, 10,
                   [](HWND, UINT message, UINT_PTR id, DWORD)
                   {
                       if (message == WM_TIMER)
                           callbacks.push_back(id);
                   });
    ASSERT_TRUE(PumpUntil([&] { return !callbacks.empty(); }));
    EXPECT_EQ(callbacks.front(), 11u);
    EXPECT_EQ(count(11), 0);

    // Destroying the window ends its timers; a window without handle has none.
    const HWND h = probe.m_hWnd;
    probe.DestroyWindow();
    const auto total = probe.timers.size();
    PumpFor(40);
    EXPECT_EQ(probe.timers.size(), total);
    EXPECT_EQ(probe.SetTimer(7, 10), 0u);
    EXPECT_EQ(::SetTimer(h, 7, 10, nullptr), 0u);
}

TEST_F(CWndTest, RelationsAndBroadcastToDescendantsDeepAndShallow)
{
    std::vector<std::string> log;
    CCountingWnd parent(log, "parent");
    CCountingWnd c1(log, "c1");
    CCountingWnd c2(log, "c2");
    CCountingWnd g(log, "g");
    CreateTopLevel(parent);
    ASSERT_TRUE(c1.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 11));
    ASSERT_TRUE(c2.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(50, 0, 100, 50), &parent, 12));
    ASSERT_TRUE(g.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &c1, 13));

    EXPECT_EQ(parent.GetWindow(GW_CHILD), &c1);
    EXPECT_EQ(c1.GetWindow(GW_HWNDNEXT), &c2);
    EXPECT_EQ(c2.GetWindow(GW_HWNDNEXT), nullptr);
    EXPECT_EQ(c2.GetWindow(GW_HWNDPREV), &c1);
    EXPECT_EQ(::GetWindow(c1.m_hWnd, GW_CHILD), g.m_hWnd);
    EXPECT_EQ(g.GetParent(), &c1);
    EXPECT_EQ(c1.GetParent(), &parent);
    EXPECT_EQ(parent.GetParent(), nullptr);
    EXPECT_EQ(g.GetTopLevelParent(), &parent);
    EXPECT_TRUE(parent.IsChild(&g));
    EXPECT_FALSE(c2.IsChild(&g));
    EXPECT_EQ(parent.GetDlgItem(12), &c2);
    EXPECT_EQ(parent.GetDlgItem(13), nullptr); // only direct children
    EXPECT_EQ(g.GetDlgCtrlID(), 13);
    EXPECT_EQ(CWnd::FromHandle(c2.m_hWnd), &c2);

    parent.SendMessageToDescendants(WM_USER + 7, 0, 0, FALSE, FALSE);
    EXPECT_EQ(log, (std::vector<std::string>{"c1", "c2"}));
    log.clear();
    parent.SendMessageToDescendants(WM_USER + 7, 0, 0, TRUE, FALSE);
    EXPECT_EQ(log, (std::vector<std::string>{"c1", "g", "c2"}));

    // Geometry is in the parent's client coordinates.
    CRect rc;
    c2.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 50, 50));
    c2.MoveWindow(60, 5, 30, 20);
    c2.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 30, 20));

    // The parent takes its children along, each told with WM_DESTROY.
    const HWND hg = g.m_hWnd;
    parent.DestroyWindow();
    EXPECT_EQ(c1.m_nDestroys, 1);
    EXPECT_EQ(g.m_nDestroys, 1);
    EXPECT_EQ(c2.m_nDestroys, 1);
    EXPECT_EQ(g.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hg));
    EXPECT_EQ(CWnd::FromHandle(hg), nullptr);
    EXPECT_EQ(::SendMessage(hg, WM_USER + 7, 0, 0), 0);
}

TEST_F(CWndTest, QtEventsBecomeMessagesThroughPreTranslateMessage)
{
    CDerivedProbe probe;
    CreateTopLevel(probe);
    QWidget* w = probe.GetWidget();
    ASSERT_NE(w, nullptr);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), w->mapToGlobal(QPointF(10, 20)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent keyA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(w, &keyA);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &escape);
    const std::vector<std::string> expected = {"ldown " + std::to_string(MK_LBUTTON | MK_SHIFT) + " 10,20",
                                               "pre 65", "key 65", "char 97", "pre 27"};
    EXPECT_EQ(probe.input, expected);

    // Closing from Qt asks the window; one that refuses stays.
    probe.m_bRefuseClose = TRUE;
    w->close();
    EXPECT_EQ(probe.m_nCloses, 1);
    EXPECT_TRUE(::IsWindow(probe.m_hWnd));
    probe.m_bRefuseClose = FALSE;
    w->close();
    EXPECT_EQ(probe.m_nCloses, 2);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(probe.m_nDestroys, 1);
    AfxPumpMessages();
}

TEST_F(CWndTest, WindowTextAndStateGoThroughMessages)
{
    CDerivedProbe probe;
    CreateTopLevel(probe, L"first");
    CString text;
    probe.GetWindowText(text);
    EXPECT_EQ(text, L"first");
    probe.SetWindowText(L"Grüße");
    EXPECT_EQ(probe.GetWindowTextLength(), 5);
    wchar_t buf[4];
    EXPECT_EQ(::GetWindowTextW(probe.m_hWnd, buf, 4), 3);
    EXPECT_STREQ(buf, L"Grü");
    EXPECT_FALSE(probe.IsWindowVisible());
    probe.ShowWindow(SW_SHOW);
    EXPECT_TRUE(probe.IsWindowVisible());
    EXPECT_TRUE(probe.GetStyle() & WS_VISIBLE);
    probe.EnableWindow(FALSE);
    EXPECT_FALSE(probe.IsWindowEnabled());
    EXPECT_TRUE(probe.GetStyle() & WS_DISABLED);
    probe.DestroyWindow();
    EXPECT_EQ(::GetWindowTextLengthW(nullptr), 0);
}

namespace
{
class CListParent : public CWnd
{
public:
    std::vector<UINT> selChanges;
    void OnSelChange() { selChanges.push_back(42); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListParent, CWnd)
ON_LBN_SELCHANGE(42, &CListParent::OnSelChange)
END_MESSAGE_MAP()
} // namespace

TEST_F(CWndTest, ListBoxSortsFindsKeepsDataAndNotifiesUserChanges)
{
    CListParent parent;
    CreateTopLevel(parent);
    CListBox list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_NOTIFY, CRect(0, 0, 100, 80), &parent, 42));
    EXPECT_EQ(list.AddString(L"beta"), 0);
    EXPECT_EQ(list.AddString(L"Alpha"), 0);
    EXPECT_EQ(list.AddString(L"gamma"), 2);
    EXPECT_EQ(list.GetCount(), 3);
    CString text;
    list.GetText(1, text);
    EXPECT_EQ(text, L"beta");
    EXPECT_EQ(list.SetItemData(1, 1033), LB_OKAY);
    EXPECT_EQ(list.GetItemData(1), 1033u);
    EXPECT_EQ(list.SetItemData(7, 1), LB_ERR);
    EXPECT_EQ(list.FindString(-1, L"GA"), 2);
    EXPECT_EQ(list.FindString(2, L"b"), 1); // goes round
    EXPECT_EQ(list.FindStringExact(-1, L"alpha"), 0);
    EXPECT_EQ(list.FindStringExact(-1, L"alp"), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);

    // Selecting from code does not notify; the person's selection does.
    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_TRUE(parent.selChanges.empty());
    auto* widget = qobject_cast<QListWidget*>(list.GetWidget());
    ASSERT_NE(widget, nullptr);
    widget->setCurrentRow(0);
    EXPECT_EQ(parent.selChanges.size(), 1u);
    EXPECT_EQ(list.GetCurSel(), 0);

    // The same control through a plain window object of its handle.
    CWnd* item = parent.GetDlgItem(42);
    EXPECT_EQ(item, &list);
    EXPECT_EQ(item->SendMessage(LB_GETCOUNT), 3);
    EXPECT_EQ(list.DeleteString(0), 2);
    EXPECT_EQ(list.DeleteString(5), LB_ERR);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    parent.DestroyWindow();
    EXPECT_EQ(list.m_hWnd, nullptr);
}

TEST_F(CWndTest, ModalHookSeesMessageBoxesAndChoosesTheAnswer)
{
    CWinApp app(L"Probe App");
    std::vector<AfxModalRequest> seen;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            seen.push_back(r);
            return r.kind == AfxModalKind::MessageBox && (r.nType & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
        });
    EXPECT_EQ(AfxMessageBox(L"Save changes?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox(701u, MB_OK), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"Plain", nullptr, MB_OKCANCEL), IDOK);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].kind, AfxModalKind::MessageBox);
    EXPECT_EQ(seen[0].strText, L"Save changes?");
    EXPECT_EQ(seen[0].strCaption, L"Probe App");
    EXPECT_EQ(seen[0].nType, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(seen[1].strText, L"Delete the probe?");
    EXPECT_EQ(seen[1].nIDHelp, 701u);
    EXPECT_EQ(seen[2].strCaption, L"Error");
    EXPECT_EQ(seen[2].nType, UINT(MB_OKCANCEL));

    // A window's message box has the window as parent.
    CDerivedProbe probe;
    CreateTopLevel(probe);
    seen.clear();
    EXPECT_EQ(probe.MessageBox(L"From a window"), IDOK);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].pParent, &probe);
    EXPECT_EQ(seen[0].strCaption, L"Probe App");
    probe.DestroyWindow();
}

namespace
{
class CProbeDialog : public CDialog
{
public:
    CProbeDialog() : CDialog(702u) {}
    CString m_strName = L"initial";
    int m_nCount = 3;
    int m_nEnabled = 1;
    CListBox m_list;
    int m_nInits = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, 1004, m_list);
        DDX_Text(pDX, 1001, m_strName);
        DDX_Text(pDX, 1002, m_nCount);
        DDX_Check(pDX, 1003, m_nEnabled);
    }
    BOOL OnInitDialog() override
    {
        ++m_nInits;
        CDialog::OnInitDialog();
        m_list.AddString(L"second");
        m_list.AddString(L"first");
        return TRUE;
    }
};
} // namespace

TEST_F(CWndTest, DialogFromTemplateExchangesDataThroughTheModalHook)
{
    CProbeDialog dlg;
    std::vector<CString> messages;
    std::function<int(CDialog*)> work;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::MessageBox)
            {
                messages.push_back(r.strText);
                return IDOK;
            }
            EXPECT_EQ(r.kind, AfxModalKind::Dialog);
            EXPECT_EQ(r.pDialog, &dlg);
            EXPECT_EQ(r.strCaption, L"Probe Dialog");
            return work(r.pDialog);
        });

    // Controls exist with their ids and the members' values; OK runs the exchange back.
    work = [&](CDialog* d)
    {
        CString text;
        d->GetDlgItemText(1001, text);
        EXPECT_EQ(text, L"initial");
        d->GetDlgItemText(1002, text);
        EXPECT_EQ(text, L"3");
        EXPECT_EQ(d->IsDlgButtonChecked(1003), 1u);
        EXPECT_EQ(dlg.m_list.GetCount(), 2);
        CString first;
        dlg.m_list.GetText(0, first);
        EXPECT_EQ(first, L"first");              // the template's LBS_SORT
        EXPECT_NE(d->GetDlgItem(1005), nullptr); // a custom control is a plain window
        CString label;
        d->GetWindowText(label);
        EXPECT_EQ(label, L"Probe Dialog");
        d->SetDlgItemText(1001, L"changed");
        d->SetDlgItemInt(1002, 42);
        d->CheckDlgButton(1003, BST_UNCHECKED);
        return IDOK;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, L"changed");
    EXPECT_EQ(dlg.m_nCount, 42);
    EXPECT_EQ(dlg.m_nEnabled, 0);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_list.m_hWnd, nullptr);

    // A number that is not one: the exchange complains, OK does not end the dialog, so it is
    // cancelled and the members keep their values.
    work = [&](CDialog* d)
    {
        d->SetDlgItemText(1002, L"12x");
        return IDOK;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(messages, (std::vector<CString>{L"Please enter an integer."}));
    EXPECT_EQ(dlg.m_nCount, 42);
    EXPECT_EQ(dlg.m_nInits, 2);

    // The hook may end the dialog itself.
    work = [&](CDialog* d)
    {
        d->EndDialog(77);
        return IDOK;
    };
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_EQ(dlg.m_strName, L"changed");

    // Escape and the close button cancel.
    work = [&](CDialog* d)
    {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d->GetWidget(), &escape);
        return IDOK;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    work = [&](CDialog* d)
    {
        d->GetWidget()->close();
        return IDOK;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    CDialog missing(4242u);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(CWndTest, BitmapsLoadFromTheResourceChain)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(704));
    BITMAP info = {};
    EXPECT_EQ(bitmap.GetBitmap(&info), int(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    const QImage* image = bitmap.GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image->pixelColor(3, 2), QColor(0, 0, 255));

    // A copy owns its own bitmap; the handle dies with its object.
    CBitmap copy(bitmap);
    EXPECT_NE(copy.m_hObject, bitmap.m_hObject);
    const HGDIOBJ h = bitmap.m_hObject;
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(AfxGetBitmapImage(h), nullptr);
    EXPECT_NE(copy.GetImage(), nullptr);

    CBitmap none;
    EXPECT_FALSE(none.LoadBitmap(4242));
    EXPECT_EQ(none.GetBitmap(&info), 0);
    EXPECT_EQ(LoadBitmapW(m_hRes, MAKEINTRESOURCE(4242)), nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST_F(CWndTest, APopupCentresOnItsOwnerAlsoWhenTheOwnerIsAChildWindow)
{
    std::vector<std::string> log;
    CCountingWnd top(log, "top");
    CCountingWnd view(log, "view");
    CCountingWnd popup(log, "popup");
    ASSERT_TRUE(
        top.CreateEx(0, nullptr, L"top", WS_OVERLAPPED | WS_VISIBLE, 400, 300, 600, 400, nullptr, nullptr));
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(300, 200, 500, 300), &top, 11));
    ASSERT_TRUE(popup.CreateEx(0, nullptr, L"popup", WS_POPUP, 0, 0, 100, 60, top.m_hWnd, nullptr));
    AfxPumpMessages();
    const QWidget* v = view.GetWidget();
    const QPoint viewCentre = v->mapToGlobal(v->rect().center());
    popup.CenterWindow(&view);
    const QPoint popupCentre = popup.GetWidget()->frameGeometry().center();
    EXPECT_LE(std::abs(popupCentre.x() - viewCentre.x()), 2);
    EXPECT_LE(std::abs(popupCentre.y() - viewCentre.y()), 2);
    // On a top-level owner it centres on the owner's frame.
    popup.CenterWindow(&top);
    const QPoint topCentre = top.GetWidget()->frameGeometry().center();
    EXPECT_LE(std::abs(popup.GetWidget()->frameGeometry().center().x() - topCentre.x()), 2);
    EXPECT_LE(std::abs(popup.GetWidget()->frameGeometry().center().y() - topCentre.y()), 2);
    popup.DestroyWindow();
    top.DestroyWindow();
}
