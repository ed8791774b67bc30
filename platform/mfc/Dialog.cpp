#include "mfc/Dialog.h"

#include "mfc/Dc.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "mfc/WndPrivate.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdio>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace
{
// Thrown by CDataExchange::Fail, caught by UpdateData.
struct CDataExchangeFailure
{
};

#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L

// The style words of resource scripts that the controls here care about.
DWORD StyleWordBits(const CString& word)
{
    static const std::unordered_map<std::wstring, DWORD> table = {
        {L"WS_POPUP", WS_POPUP},
        {L"WS_CHILD", WS_CHILD},
        {L"WS_VISIBLE", WS_VISIBLE},
        {L"WS_DISABLED", WS_DISABLED},
        {L"WS_CAPTION", WS_CAPTION},
        {L"WS_BORDER", WS_BORDER},
        {L"WS_DLGFRAME", WS_DLGFRAME},
        {L"WS_VSCROLL", WS_VSCROLL},
        {L"WS_HSCROLL", WS_HSCROLL},
        {L"WS_SYSMENU", WS_SYSMENU},
        {L"WS_THICKFRAME", WS_THICKFRAME},
        {L"WS_GROUP", WS_GROUP},
        {L"WS_TABSTOP", WS_TABSTOP},
        {L"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
        {L"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
        {L"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
        {L"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
        {L"WS_OVERLAPPEDWINDOW", WS_OVERLAPPEDWINDOW},
        {L"WS_POPUPWINDOW", WS_POPUPWINDOW},
        {L"DS_MODALFRAME", DS_MODALFRAME},
        {L"DS_SETFONT", DS_SETFONT},
        {L"DS_FIXEDSYS", DS_FIXEDSYS},
        {L"DS_3DLOOK", DS_3DLOOK},
        {L"DS_CONTROL", DS_CONTROL},
        {L"DS_CENTER", DS_CENTER},
    };
    auto it = table.find(word.str());
    if (it != table.end())
        return it->second;
    DWORD bits = 0;
    return AfxControlStyleWord(word, &bits) ? bits : 0;
}

DWORD StyleBits(const AFX_STYLE_WORDS& style, DWORD dwDefault)
{
    DWORD bits = dwDefault | style.dwBits;
    for (const CString& w : style.words)
        bits |= StyleWordBits(w);
    for (const CString& w : style.notWords)
        bits &= ~StyleWordBits(w);
    return bits;
}

// The style a control keyword stands for, from the family of the class it makes. A template that
// names a type of its own (CBS_DROPDOWN after COMBOBOX) replaces the keyword's type bits rather than
// adding to them, or a drop-down would read as a drop-down list.
DWORD KeywordStyle(const AFX_DLG_CONTROL& c)
{
    if (const AFX_CONTROL_CLASS* cls = AfxFindControlClass(c.strClass))
    {
        for (const auto& [keyword, bits] : cls->keywordStyles)
        {
            if (keyword == c.strKeyword)
                return (StyleBits(c.style, 0) & cls->dwTypeMask) ? (bits & ~cls->dwTypeMask) : bits;
        }
    }
    return 0;
}

// Dialog units to pixels, rounded half away from zero as the templates' own arithmetic does.
int DluToPixels(int dlu, int base, int units)
{
    return int(std::lround(double(dlu) * base / units));
}

// The faces dialog templates name for the interface font of their desktop; here they stand for
// this desktop's interface font.
bool IsInterfaceFace(const CString& face)
{
    static const wchar_t* const faces[] = {L"MS Shell Dlg", L"MS Shell Dlg 2",       L"MS Sans Serif",
                                           L"Tahoma",       L"Microsoft Sans Serif", L"Segoe UI",
                                           L"System"};
    return face.IsEmpty() || std::any_of(std::begin(faces), std::end(faces),
                                         [&](LPCWSTR f) { return face.CompareNoCase(f) == 0; });
}

// The dialog's window: Escape and the close button cancel through IDCANCEL.
class CDialogHost : public CWndHost<QDialog>
{
public:
    explicit CDialogHost(QWidget* parent) : CWndHost<QDialog>(parent) {}

    void reject() override
    {
        if (const HWND h = AfxHandleFromWidget(this))
        {
            AfxQtEntry entry;
            AfxSendFromQt(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    void accept() override
    {
        if (const HWND h = AfxHandleFromWidget(this))
        {
            AfxQtEntry entry;
            AfxSendFromQt(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
};

void FailWith(CDataExchange* pDX, LPCWSTR text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString ControlText(CDataExchange* pDX, int nIDC)
{
    CString text;
    if (CWnd* p = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC)))
        p->GetWindowText(text);
    return text;
}

void SetControlText(CDataExchange* pDX, int nIDC, LPCWSTR text)
{
    if (CWnd* p = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC)))
        p->SetWindowText(text);
}
} // namespace

// --- Data exchange ---------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* p = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!p)
    {
        std::fprintf(stderr, "platform/mfc: no control %d for data exchange\n", nIDC);
        Fail();
    }
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return p->m_hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_pDlgWnd && m_idLastControl)
    {
        if (CWnd* p = m_pDlgWnd->GetDlgItem(m_idLastControl))
        {
            p->SetFocus();
            if (m_bEditLastControl)
                p->SendMessage(EM_SETSEL, 0, -1);
        }
    }
    throw CDataExchangeFailure();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->m_bSaveAndValidate)
        value = ControlText(pDX, nIDC);
    else
        SetControlText(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    if (!pDX->m_bSaveAndValidate)
    {
        CString s;
        s.Format(L"%d", value);
        SetControlText(pDX, nIDC, s);
        return;
    }
    CString s = ControlText(pDX, nIDC);
    s.Trim();
    wchar_t* end = nullptr;
    errno = 0;
    const long long v = std::wcstoll(s, &end, 10);
    if (s.IsEmpty() || !end || *end != L'\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        FailWith(pDX, L"Please enter an integer.");
    value = int(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    if (!pDX->m_bSaveAndValidate)
    {
        CString s;
        s.Format(L"%u", value);
        SetControlText(pDX, nIDC, s);
        return;
    }
    CString s = ControlText(pDX, nIDC);
    s.Trim();
    wchar_t* end = nullptr;
    errno = 0;
    const long long v = std::wcstoll(s, &end, 10);
    if (s.IsEmpty() || !end || *end != L'\0' || errno == ERANGE || v < 0 || v > UINT_MAX)
        FailWith(pDX, L"Please enter a positive integer.");
    value = UINT(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    if (!pDX->m_bSaveAndValidate)
    {
        CString s;
        s.Format(L"%.*g", DBL_DIG, value);
        SetControlText(pDX, nIDC, s);
        return;
    }
    CString s = ControlText(pDX, nIDC);
    s.Trim();
    wchar_t* end = nullptr;
    errno = 0;
    const double v = std::wcstod(s, &end);
    if (s.IsEmpty() || !end || *end != L'\0' || errno == ERANGE)
        FailWith(pDX, L"Please enter a number.");
    value = v;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* p = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        value = int(p->SendMessage(BM_GETCHECK));
    else
        p->SendMessage(BM_SETCHECK, WPARAM(value));
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    CWnd* p = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        index = int(p->SendMessage(LB_GETCURSEL));
    else
        p->SendMessage(LB_SETCURSEL, WPARAM(index));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    CWnd* p = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        index = int(p->SendMessage(CB_GETCURSEL));
    else
        p->SendMessage(CB_SETCURSEL, WPARAM(index));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    const HWND h = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(h))
        pDX->Fail();
}

// --- Dialog font and units -------------------------------------------------------------------------

namespace
{
// The template's font as a GDI font, one per face, size, weight and slant for the life of the
// process: controls keep its address as their font (GetFont), as the dialog manager gives it them.
CFont* DialogFont(const AFX_DLG_TEMPLATE& tmpl)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    // A template without a font has the interface font at the size templates are drawn for.
    lf.lfHeight = (tmpl.nFontSize > 0 ? std::min(tmpl.nFontSize, 200) : 8) * 10;
    lf.lfWeight = tmpl.nFontWeight > 0 ? std::clamp(tmpl.nFontWeight, 100, 900) : FW_NORMAL;
    lf.lfItalic = tmpl.bFontItalic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = IsInterfaceFace(tmpl.strFontName) ? QApplication::font().family().toStdWString()
                                                                : tmpl.strFontName.str();
    std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    static std::map<std::tuple<std::wstring, LONG, LONG, BYTE>, std::unique_ptr<CFont>> fonts;
    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);
    std::unique_ptr<CFont>& font = fonts[{face, lf.lfHeight, lf.lfWeight, lf.lfItalic}];
    if (!font)
    {
        font = std::make_unique<CFont>();
        font->CreatePointFontIndirect(&lf);
    }
    return font.get();
}
} // namespace
QFont AfxGetDialogFont(const AFX_DLG_TEMPLATE& tmpl)
{
    return DialogFont(tmpl)->ToQFont();
}

CSize AfxGetDialogBaseUnits(const QFont& font)
{
    const QFontMetrics fm(font);
    const int width =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return CSize(std::max(1, (width + 26) / 52), std::max(1, fm.height()));
}

// --- CDialog ---------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName))
    {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    }
    else
    {
        m_lpszTemplateName = lpszTemplateName;
        m_nIDHelp = UINT(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    }
}

CDialog::~CDialog() = default;

const AFX_DLG_TEMPLATE* CDialog::FindTemplate() const
{
    if (!m_lpszTemplateName)
        return nullptr;
    return AfxFindDialogTemplate(m_lpszTemplateName);
}

QWidget* CDialog::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if (cs.style & WS_CHILD)
        return new CWndHost<QWidget>(pParentWidget);
    return new CDialogHost(pParentWidget);
}

BOOL CDialog::CreateFromTemplate(const AFX_DLG_TEMPLATE& tmpl, CWnd* pParentWnd)
{
    DWORD style = StyleBits(tmpl.style, 0);
    if (!(style & (WS_POPUP | WS_CHILD)))
        style |= WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!tmpl.strCaption.IsEmpty())
        style |= WS_CAPTION;
    const bool bChild = style & WS_CHILD;
    if (bChild && !pParentWnd)
        return FALSE;
    const DWORD dwCreate = style & ~DWORD(WS_VISIBLE);
    // The template is laid out in units of its own font, so the dialog and its controls show that
    // font.
    // Measuring the font needs the application, which window creation would make only later.
    if (!AfxEnsureApplication())
        return FALSE;
    CFont* pFont = DialogFont(tmpl);
    m_sizeBaseUnits = AfxGetDialogBaseUnits(pFont->ToQFont());
    if (!CreateEx(StyleBits(tmpl.exStyle, 0), L"#32770", tmpl.strCaption, dwCreate, DluX(tmpl.x),
                  DluY(tmpl.y), std::max(1, DluX(tmpl.cx)), std::max(1, DluY(tmpl.cy)),
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr))
        return FALSE;
    const HWND h = m_hWnd;
    SetFont(pFont, FALSE);
    if (!bChild)
        CenterWindow(pParentWnd);

    QObject* pRun = nullptr;
    for (const AFX_DLG_CONTROL& c : tmpl.controls)
    {
        if (m_hWnd != h)
            return FALSE;
        const DWORD cstyle = StyleBits(c.style, WS_CHILD | WS_VISIBLE | KeywordStyle(c));
        const RECT rc = {DluX(c.x), DluY(c.y), DluX(c.x) + DluX(c.cx), DluY(c.y) + DluY(c.cy)};
        const HWND hCtl = AfxCreateControl(c.strClass, c.strText, cstyle, rc, this, UINT(c.nID));
        if (CWnd* pCtl = hCtl ? CWnd::FromHandlePermanent(hCtl) : nullptr)
            pCtl->SetFont(pFont, FALSE);
        const AFX_CONTROL_CLASS* cls = hCtl ? AfxFindControlClass(c.strClass) : nullptr;
        if (cls && cls->pfnFollowInTemplate)
            cls->pfnFollowInTemplate(hCtl, cstyle, pRun);
        else
            pRun = nullptr;
    }
    SendMessage(WM_INITDIALOG, 0, 0);
    return m_hWnd == h;
}

INT_PTR CDialog::DoModal()
{
    const AFX_DLG_TEMPLATE* tmpl = FindTemplate();
    if (!tmpl || m_hWnd)
        return -1;
    CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (pParent && !::IsWindow(pParent->m_hWnd))
        pParent = nullptr;
    m_nModalResult = -1;
    m_bEnded = FALSE;
    if (!CreateFromTemplate(*tmpl, pParent))
        return m_bEnded ? m_nModalResult : -1;
    const HWND h = m_hWnd;
    if (!m_bEnded)
    {
        AfxModalRequest request;
        request.kind = AfxModalKind::Dialog;
        request.pParent = pParent;
        request.pDialog = this;
        GetWindowText(request.strCaption);
        ShowWindow(SW_SHOW);
        int answer = 0;
        if (AfxCallModalHook(request, answer))
        {
            // The answer is a button being pressed; one that does not end the dialog leaves it to
            // be cancelled, as a person would have to.
            if (!m_bEnded && ::IsWindow(h))
                SendMessage(WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            if (!m_bEnded && ::IsWindow(h) && answer != IDCANCEL)
                SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            if (!m_bEnded)
            {
                m_nModalResult = IDCANCEL;
                m_bEnded = TRUE;
            }
        }
        else if (auto* dlg = qobject_cast<QDialog*>(GetWidget()))
        {
            dlg->setModal(true);
            dlg->exec();
            if (!m_bEnded)
            {
                m_nModalResult = IDCANCEL;
                m_bEnded = TRUE;
            }
        }
    }
    const int result = m_nModalResult;
    if (::IsWindow(h) && m_hWnd == h)
        DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName))
    {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    }
    else
    {
        m_lpszTemplateName = lpszTemplateName;
        if (!m_nIDHelp)
            m_nIDHelp = UINT(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    }
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const AFX_DLG_TEMPLATE* tmpl = FindTemplate();
    if (!tmpl || m_hWnd)
        return FALSE;
    m_bEnded = FALSE;
    if (!CreateFromTemplate(*tmpl, m_pParentWnd))
        return FALSE;
    if (StyleBits(tmpl->style, 0) & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = TRUE;
    if (auto* dlg = qobject_cast<QDialog*>(GetWidget()))
    {
        if (dlg->isModal() || dlg->isVisible())
            dlg->QDialog::done(nResult);
    }
    else if (QWidget* w = GetWidget())
        w->hide();
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CDataExchangeFailure&)
    {
        return FALSE;
    }
    return TRUE;
}

// Before the dialog is made its units are those of a template's default font.
int CDialog::DluX(int x) const
{
    const int base = m_sizeBaseUnits.cx ? m_sizeBaseUnits.cx : AfxGetDialogBaseUnits(AfxGetDialogFont({})).cx;
    return DluToPixels(x, base, 4);
}

int CDialog::DluY(int y) const
{
    const int base = m_sizeBaseUnits.cy ? m_sizeBaseUnits.cy : AfxGetDialogBaseUnits(AfxGetDialogFont({})).cy;
    return DluToPixels(y, base, 8);
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    lpRect->left = DluX(lpRect->left);
    lpRect->right = DluX(lpRect->right);
    lpRect->top = DluY(lpRect->top);
    lpRect->bottom = DluY(lpRect->bottom);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl)
        return;
    pWndCtrl->SetFocus();
    if (qobject_cast<QLineEdit*>(pWndCtrl->GetWidget()))
        pWndCtrl->SendMessage(EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* w = GetWidget();
    if (w && focus && w->isAncestorOf(focus))
        focus->nextInFocusChain()->setFocus(Qt::TabFocusReason);
}

void CDialog::PrevDlgCtrl() const
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* w = GetWidget();
    if (w && focus && w->isAncestorOf(focus))
        focus->previousInFocusChain()->setFocus(Qt::BacktabFocusReason);
}

void CDialog::SetDefID(UINT nID)
{
    std::vector<CWnd*> children;
    GetChildWindows(children);
    for (CWnd* c : children)
    {
        if (auto* push = qobject_cast<QPushButton*>(c->GetWidget()))
            push->setDefault(UINT(c->GetDlgCtrlID()) == nID);
    }
}

DWORD CDialog::GetDefID() const
{
    std::vector<CWnd*> children;
    GetChildWindows(children);
    for (CWnd* c : children)
    {
        if (auto* push = qobject_cast<QPushButton*>(c->GetWidget()); push && push->isDefault())
            return DWORD(MAKELONG(c->GetDlgCtrlID(), 0x534B));
    }
    return 0;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        // Closing a dialog cancels it.
        AfxMarkDefault(m_hWnd, message);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Commands (not control ids) go on to the application.
    if ((nCode != CN_COMMAND && nCode != int(CN_UPDATE_COMMAND_UI)) || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
