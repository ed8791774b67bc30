#include "WndTestSupport.h"

#include "mfc/Controls.h"
#include "mfc/Dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <utility>
#include <vector>

using namespace wndtest;

namespace
{
// A dialog that records the notifications its controls send.
class CNoteDialog : public CDialog
{
public:
    explicit CNoteDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}
    std::vector<std::pair<int, int>> notes; // control id, notification code

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam)
            notes.emplace_back(int(LOWORD(wParam)), int(HIWORD(wParam)));
        return CDialog::OnCommand(wParam, lParam);
    }
};

template <class T> T* WidgetOf(CDialog* d, int nID)
{
    CWnd* p = d->GetDlgItem(nID);
    return p ? qobject_cast<T*>(p->GetWidget()) : nullptr;
}

// Runs work on the dialog while it is shown modally, then cancels it.
void RunModal(CDialog& dlg, const std::function<void(CDialog*)>& work)
{
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            if (r.kind == AfxModalKind::Dialog)
                work(r.pDialog);
            return IDCANCEL;
        });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

class CControlsTest : public CWndTestBase
{
};
} // namespace

TEST_F(CControlsTest, StandardFamiliesFromATemplateKeepTheirBehaviour)
{
    CNoteDialog dlg(705u);
    RunModal(dlg,
             [&](CDialog* d)
             {
                 // Static: the label shows the text without its mnemonic marks; the window text keeps them.
                 QLabel* label = WidgetOf<QLabel>(d, 2001);
                 ASSERT_NE(label, nullptr);
                 EXPECT_EQ(label->text(), QStringLiteral("Save & close"));
                 CString text;
                 d->GetDlgItemText(2001, text);
                 EXPECT_EQ(text, L"&Save && close");
                 d->SetDlgItemText(2001, L"&Open");
                 EXPECT_EQ(label->text(), QStringLiteral("Open"));

                 // Group box: its title is the window text.
                 QGroupBox* group = WidgetOf<QGroupBox>(d, 2002);
                 ASSERT_NE(group, nullptr);
                 d->SetDlgItemText(2002, L"Kind");
                 EXPECT_EQ(group->title(), QStringLiteral("Kind"));

                 // Radio buttons: WS_GROUP starts a new group, so a click only clears its own group.
                 for (int id : {2003, 2004, 2005, 2006})
                     ASSERT_NE(WidgetOf<QRadioButton>(d, id), nullptr) << id;
                 d->CheckDlgButton(2003, BST_CHECKED);
                 d->CheckDlgButton(2005, BST_CHECKED);
                 dlg.notes.clear();
                 d->SendDlgItemMessage(2004, BM_CLICK);
                 EXPECT_EQ(d->IsDlgButtonChecked(2003), UINT(BST_UNCHECKED));
                 EXPECT_EQ(d->IsDlgButtonChecked(2004), UINT(BST_CHECKED));
                 EXPECT_EQ(d->IsDlgButtonChecked(2005), UINT(BST_CHECKED));
                 EXPECT_EQ(dlg.notes, (std::vector<std::pair<int, int>>{{2004, BN_CLICKED}}));

                 // Three states.
                 ASSERT_NE(WidgetOf<QCheckBox>(d, 2007), nullptr);
                 d->CheckDlgButton(2007, BST_INDETERMINATE);
                 EXPECT_EQ(d->IsDlgButtonChecked(2007), UINT(BST_INDETERMINATE));

                 // Edits: a password line and a multi-line box; changes notify EN_CHANGE.
                 QLineEdit* line = WidgetOf<QLineEdit>(d, 2008);
                 ASSERT_NE(line, nullptr);
                 EXPECT_EQ(line->echoMode(), QLineEdit::Password);
                 dlg.notes.clear();
                 d->SetDlgItemText(2008, L"hello");
                 EXPECT_EQ(dlg.notes, (std::vector<std::pair<int, int>>{{2008, EN_CHANGE}}));
                 auto* edit = static_cast<CEdit*>(d->GetDlgItem(2008));
                 edit->SetSel(1, 3);
                 int s = 0, e = 0;
                 edit->GetSel(s, e);
                 EXPECT_EQ(std::make_pair(s, e), std::make_pair(1, 3));
                 edit->ReplaceSel(L"XY");
                 d->GetDlgItemText(2008, text);
                 EXPECT_EQ(text, L"hXYlo");
                 ASSERT_NE(WidgetOf<QPlainTextEdit>(d, 2009), nullptr);
                 d->SetDlgItemText(2009, L"one\ntwo");
                 d->GetDlgItemText(2009, text);
                 EXPECT_EQ(text, L"one\ntwo");
                 // Windows line breaks come back as given.
                 d->SetDlgItemText(2009, L"one\r\ntwo");
                 d->GetDlgItemText(2009, text);
                 EXPECT_EQ(text, L"one\r\ntwo");

                 // A drop-down list sorts, keeps item data and shows the chosen item only.
                 QComboBox* list = WidgetOf<QComboBox>(d, 2010);
                 ASSERT_NE(list, nullptr);
                 EXPECT_FALSE(list->isEditable());
                 // A keyword's own type gives way to the one the template names.
                 EXPECT_TRUE(WidgetOf<QComboBox>(d, 2014)->isEditable());
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_ADDSTRING, 0, LPARAM(L"pear")), 0);
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_ADDSTRING, 0, LPARAM(L"apple")), 0);
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_SETITEMDATA, 1, 99), CB_OKAY);
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"PEAR")), 1);
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_GETITEMDATA, 1), 99);
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_SETCURSEL, 1), 1);
                 d->SetDlgItemText(2010, L"typed");
                 d->GetDlgItemText(2010, text);
                 EXPECT_EQ(text, L"pear");
                 EXPECT_EQ(d->SendDlgItemMessage(2010, CB_SETCURSEL, 5), CB_ERR);

                 // A drop-down takes typed text.
                 QComboBox* typed = WidgetOf<QComboBox>(d, 2011);
                 ASSERT_NE(typed, nullptr);
                 EXPECT_TRUE(typed->isEditable());
                 d->SetDlgItemText(2011, L"free");
                 d->GetDlgItemText(2011, text);
                 EXPECT_EQ(text, L"free");

                 // CONTROL names classes in any case, with or without quotes.
                 ASSERT_NE(WidgetOf<QPushButton>(d, 2012), nullptr);
                 dlg.notes.clear();
                 d->SendDlgItemMessage(2012, BM_CLICK);
                 EXPECT_EQ(dlg.notes, (std::vector<std::pair<int, int>>{{2012, BN_CLICKED}}));
                 QListWidget* multi = WidgetOf<QListWidget>(d, 2013);
                 ASSERT_NE(multi, nullptr);
                 EXPECT_EQ(multi->selectionMode(), QAbstractItemView::MultiSelection);

                 // The framework's objects are of the families' classes.
                 EXPECT_TRUE(d->GetDlgItem(2001)->IsKindOf(RUNTIME_CLASS(CStatic)));
                 EXPECT_TRUE(d->GetDlgItem(2003)->IsKindOf(RUNTIME_CLASS(CButton)));
                 EXPECT_TRUE(d->GetDlgItem(2008)->IsKindOf(RUNTIME_CLASS(CEdit)));
                 EXPECT_TRUE(d->GetDlgItem(2013)->IsKindOf(RUNTIME_CLASS(CListBox)));
                 EXPECT_FALSE(d->GetDlgItem(2010)->IsKindOf(RUNTIME_CLASS(CListBox)));
             });
}

// --- A family added by registering it ---------------------------------------------------------------

namespace
{
#define GGS_VERTICAL 0x0001L
#define GGM_SETPOS (WM_USER + 1)
#define GGM_GETPOS (WM_USER + 2)
#define GGN_CHANGED 0x0700

class CGauge : public CWnd
{
    DECLARE_DYNAMIC(CGauge)
public:
    int SetPos(int nPos) { return int(SendMessage(GGM_SETPOS, WPARAM(nPos))); }
    int GetPos() const { return int(const_cast<CGauge*>(this)->SendMessage(GGM_GETPOS)); }
};
IMPLEMENT_DYNAMIC(CGauge, CWnd)

// Everything the framework needs to know about gauges, in one place.
BOOL RegisterGauge()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = L"QyrTestGauge";
    cls.styleWords = {{L"GGS_VERTICAL", GGS_VERTICAL}};
    cls.pfnCreate = [](const CString& strText, DWORD dwStyle, QWidget* pParent) -> QWidget*
    {
        auto* bar = new QProgressBar(pParent);
        bar->setValue(0);
        bar->setOrientation((dwStyle & GGS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
        bar->setFormat(QString::fromWCharArray(strText.GetString()));
        return bar;
    };
    cls.pfnConnect = [](HWND hWnd, QWidget* pWidget)
    {
        QObject::connect(static_cast<QProgressBar*>(pWidget), &QProgressBar::valueChanged, pWidget,
                         [hWnd] { AfxNotifyParent(hWnd, GGN_CHANGED); });
    };
    cls.pfnWindowProc = [](HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM, LRESULT* pResult)
    {
        auto* bar = static_cast<QProgressBar*>(pWidget);
        switch (message)
        {
        case GGM_SETPOS:
            *pResult = bar->value();
            bar->setValue(int(wParam));
            return TRUE;
        case GGM_GETPOS:
            *pResult = bar->value();
            return TRUE;
        default:
            return FALSE;
        }
    };
    cls.pfnSetText = [](QWidget* pWidget, const CString& strText)
    { static_cast<QProgressBar*>(pWidget)->setFormat(QString::fromWCharArray(strText.GetString())); };
    cls.pfnNewObject = &AfxNewControlObject<CGauge>;
    return AfxRegisterControlClass(std::move(cls));
}

// An object of the application that takes a gauge over.
class CLevelGauge : public CGauge
{
public:
    int m_nSets = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == GGM_SETPOS)
            ++m_nSets;
        return CGauge::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST_F(CControlsTest, ANewControlClassIsRegisteredOnceAndMadeFromTemplatesAndCreate)
{
    AFX_CONTROL_CLASS incomplete;
    incomplete.strClassName = L"QyrTestIncomplete";
    EXPECT_FALSE(AfxRegisterControlClass(incomplete));
    EXPECT_EQ(AfxFindControlClass(L"QyrTestIncomplete"), nullptr);
    ASSERT_TRUE(RegisterGauge());
    ASSERT_NE(AfxFindControlClass(L"QYRTESTGAUGE"), nullptr);

    CNoteDialog dlg(706u);
    CLevelGauge level;
    RunModal(dlg,
             [&](CDialog* d)
             {
                 // Made by the family from the template, with its style word and text; the class
                 // name is matched without regard to case.
                 QProgressBar* bar = WidgetOf<QProgressBar>(d, 2101);
                 ASSERT_NE(bar, nullptr);
                 EXPECT_EQ(bar->orientation(), Qt::Vertical);
                 EXPECT_EQ(bar->format(), QStringLiteral("Level"));
                 EXPECT_TRUE(d->GetDlgItem(2101)->GetStyle() & GGS_VERTICAL);
                 QProgressBar* flow = WidgetOf<QProgressBar>(d, 2102);
                 ASSERT_NE(flow, nullptr);
                 EXPECT_EQ(flow->orientation(), Qt::Horizontal);
                 // A class nobody registered stays a plain window.
                 ASSERT_NE(d->GetDlgItem(2103), nullptr);
                 EXPECT_EQ(WidgetOf<QProgressBar>(d, 2103), nullptr);

                 // The framework's object is of the family's class; its messages are handled by
                 // default and notify the parent.
                 CWnd* item = d->GetDlgItem(2101);
                 ASSERT_TRUE(item->IsKindOf(RUNTIME_CLASS(CGauge)));
                 dlg.notes.clear();
                 EXPECT_EQ(static_cast<CGauge*>(item)->SetPos(40), 0);
                 EXPECT_EQ(static_cast<CGauge*>(item)->GetPos(), 40);
                 EXPECT_EQ(bar->value(), 40);
                 EXPECT_EQ(dlg.notes, (std::vector<std::pair<int, int>>{{2101, GGN_CHANGED}}));
                 d->SetDlgItemText(2101, L"Tank");
                 EXPECT_EQ(bar->format(), QStringLiteral("Tank"));
                 CString text;
                 d->GetDlgItemText(2101, text);
                 EXPECT_EQ(text, L"Tank");

                 // An object of the application subclasses it; the framework's object goes.
                 ASSERT_TRUE(level.SubclassDlgItem(2102, d));
                 EXPECT_EQ(d->GetDlgItem(2102), &level);
                 level.SetPos(70);
                 EXPECT_EQ(level.m_nSets, 1);
                 EXPECT_EQ(flow->value(), 70);
             });
    EXPECT_EQ(level.m_hWnd, nullptr);

    // CWnd::Create with the class name makes one too.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    CGauge gauge;
    ASSERT_TRUE(
        gauge.Create(L"QyrTestGauge", L"Made", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 10), &parent, 9));
    auto* made = qobject_cast<QProgressBar*>(gauge.GetWidget());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->format(), QStringLiteral("Made"));
    gauge.SetPos(12);
    EXPECT_EQ(gauge.GetPos(), 12);
    parent.DestroyWindow();
    EXPECT_EQ(gauge.m_hWnd, nullptr);
}
