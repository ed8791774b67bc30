#include "foundation/HyperLink.h"

#include "mfc/ModalHook.h"
#include "support/FreshRegistry.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"
#include "win32/Registry.h"
#include "win32/Shell.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Started
{
    std::wstring program;
    std::vector<std::wstring> args;
};

// Sees every program start; the desktop's opener answers `openerWorks`.
class CStartRecorder
{
public:
    explicit CStartRecorder(bool openerWorks)
    {
        Win32SetStartHook(
            [this, openerWorks](const std::wstring& program, const std::vector<std::wstring>& args)
            {
                starts.push_back({program, args});
                return QString::fromStdWString(program).endsWith(QLatin1String("xdg-open")) ? openerWorks
                                                                                            : true;
            });
    }
    ~CStartRecorder() { Win32SetStartHook(nullptr); }
    std::vector<Started> starts;
};

void SetDefault(LPCWSTR key, const std::wstring& value)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             DWORD((value.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(h);
}

const wchar_t kHostile[] = L"https://example.com/a b?q=\"x\";rm -rf ~ ; echo 'y'";

class HyperLink : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(AfxEnsureApplication(), nullptr); }
    CTestDir m_dir;
    CFreshRegistry m_registry{m_dir};
};
} // namespace

TEST_F(HyperLink, TheDesktopOpenerGetsTheAddressAsOneArgument)
{
    CStartRecorder rec(true);
    CFOHyperLink link;
    const HINSTANCE result = link.GotoURL(kHostile, SW_SHOW);
    EXPECT_GT(reinterpret_cast<intptr_t>(result), 32);
    ASSERT_EQ(1u, rec.starts.size());
    EXPECT_TRUE(QString::fromStdWString(rec.starts[0].program).endsWith(QLatin1String("xdg-open")));
    EXPECT_EQ(std::vector<std::wstring>{kHostile}, rec.starts[0].args);
}

TEST_F(HyperLink, TheRegisteredBrowserGetsTheAddressAsOneArgumentWhenTheOpenerFails)
{
    SetDefault(L".htm", L"htmlfile");
    struct Case
    {
        std::wstring command;
        std::wstring program;
        std::vector<std::wstring> args;
    } cases[] = {
        // Cut before the quoted %1 (quotes and all), or before a bare %1; none: appended at the end.
        {L"\"/opt/web browser/bin/browse\" -nohome \"%1\" -extra",
         L"/opt/web browser/bin/browse",
         {L"-nohome", kHostile}},
        {L"/usr/bin/browse %1", L"/usr/bin/browse", {kHostile}},
        {L"/usr/bin/browse --new-tab", L"/usr/bin/browse", {L"--new-tab", kHostile}},
    };
    for (const Case& c : cases)
    {
        SetDefault(L"htmlfile\\shell\\open\\command", c.command);
        CStartRecorder rec(false);
        CFOHyperLink link;
        EXPECT_GT(reinterpret_cast<intptr_t>(link.GotoURL(kHostile, SW_SHOW)), 32);
        ASSERT_EQ(2u, rec.starts.size());
        EXPECT_EQ(c.program, rec.starts[1].program);
        EXPECT_EQ(c.args, rec.starts[1].args);
    }
}

TEST_F(HyperLink, WithNoOpenerAndNoBrowserTheShellsErrorComesBack)
{
    CStartRecorder rec(false);
    CFOHyperLink link;
    EXPECT_EQ(SE_ERR_NOASSOC, reinterpret_cast<intptr_t>(link.GotoURL(L"https://example.com", SW_SHOW)));
    wchar_t value[MAX_PATH];
    EXPECT_NE(ERROR_SUCCESS, link.GetRegKey(HKEY_CLASSES_ROOT, L".htm", value));
}

TEST_F(HyperLink, ErrorTexts)
{
    struct Case
    {
        int code;
        LPCWSTR text;
    } cases[] = {
        {0, L"The operating system is out\nof memory or resources."},
        {26, L"A sharing violation occurred. "},
        {31, L"There is no application associated\nwith the given filename extension."},
        {4, L"Unknown Error (4) occurred."},
        {-7, L"Unknown Error (-7) occurred."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.text), CFOHyperLink::ErrorText(c.code)) << c.code;
    CModalRecorder boxes;
    CFOHyperLink link;
    link.ReportError(26);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(CString(L"Unable to open hyperlink:\n\nA sharing violation occurred. "), boxes.texts[0]);
}

namespace
{
void Click(QWidget* w)
{
    const QPointF p(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}
} // namespace

TEST_F(HyperLink, SubclassedStaticShowsOpensAndColoursItsLink)
{
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, L"Links", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr));
    CStatic* plainA = new CStatic;
    ASSERT_TRUE(plainA->Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), &parent, 1002));
    CStatic* plainB = new CStatic;
    ASSERT_TRUE(plainB->Create(L"https://text.example/", WS_CHILD | WS_VISIBLE | SS_RIGHT,
                               CRect(10, 40, 290, 60), &parent, 1003));

    // Empty text: shows its URL; no URL: opens its text.
    CFOHyperLink a, b;
    a.SetURL(L"https://url.example/");
    ASSERT_TRUE(a.SubclassWindow(plainA->m_hWnd));
    ASSERT_TRUE(b.SubclassWindow(plainB->m_hWnd));
    delete plainA;
    delete plainB;
    CString text;
    a.GetWindowText(text);
    EXPECT_EQ(CString(L"https://url.example/"), text);
    EXPECT_EQ(CString(L"https://text.example/"), b.GetURL());
    EXPECT_TRUE(a.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(CString(L"https://url.example/"), CString(a.GetWidget()->toolTip().toStdWString().c_str()));
    LOGFONT lf;
    ASSERT_TRUE(a.GetFont() && a.GetFont()->GetLogFont(&lf));
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), a.GetLinkCursor());
    // Auto-size: as high as its text; SS_RIGHT keeps the right edge.
    CRect rb;
    b.GetWindowRect(&rb);
    parent.ScreenToClient(&rb);
    EXPECT_EQ(290, rb.right);
    EXPECT_LT(rb.Width(), 280);

    EXPECT_EQ(RGB(0, 0, 238), a.GetTextColor());
    {
        CStartRecorder rec(true);
        Click(b.GetWidget());
        ASSERT_EQ(1u, rec.starts.size());
        EXPECT_EQ(std::vector<std::wstring>{L"https://text.example/"}, rec.starts[0].args);
    }
    EXPECT_TRUE(b.GetVisited());
    EXPECT_EQ(RGB(85, 26, 139), b.GetTextColor());
    EXPECT_EQ(AfxColorFromRef(RGB(85, 26, 139)), b.GetWidget()->palette().color(QPalette::WindowText));

    // Hover colour while the mouse is over it.
    a.SetColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    a.OnMouseMove(0, CPoint(1, 1));
    EXPECT_EQ(RGB(7, 8, 9), a.GetTextColor());
    a.OnMouseMove(0, CPoint(-1, -1));
    EXPECT_EQ(RGB(1, 2, 3), a.GetTextColor());

    // A failure: a beep and the error box; not visited.
    {
        CStartRecorder rec(false);
        CModalRecorder boxes;
        Click(a.GetWidget());
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_EQ(CString(L"Unable to open hyperlink:\n\n") + CFOHyperLink::ErrorText(SE_ERR_NOASSOC),
                  boxes.texts[0]);
    }
    EXPECT_FALSE(a.GetVisited());
    parent.DestroyWindow();
}
