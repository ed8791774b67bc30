#include "player/EntryDlgs.h"

#include "mfc/ButtonCtl.h"
#include "mfc/EditCtl.h"
#include "mfc/Messages.h"

#include <cwchar>
#include <cwctype>

namespace
{
enum
{
    IDC_VALUE = 1001,
    IDC_KEY_7 = 1193,
    IDC_KEY_0 = 1202,
    IDC_KEY_POINT = 1203,
    IDC_KEY_SIGN = 1204,
    IDC_KEY_BACK = 1283,
    IDC_KEY_CLEAR = 1284,
    IDC_OFF = 1614,
    IDC_ON = 1615,
};

// The digits of the keypad buttons 1193 to 1202.
const wchar_t kKeyDigits[] = L"7894561230";
} // namespace

// Analog entry

CAnalogEntryDlg::CAnalogEntryDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CString CAnalogEntryDlg::InsertText(const CString& strText, int nSelStart, int nSelEnd,
                                    const CString& strInsert)
{
    if (strText == L"0" && strInsert != L".")
        return strInsert;
    if (nSelStart > nSelEnd)
        std::swap(nSelStart, nSelEnd);
    if (nSelStart < 0 || nSelEnd > strText.GetLength() || nSelStart == nSelEnd)
        return strText + strInsert;
    return strText.Left(nSelStart) + strInsert + strText.Mid(nSelEnd);
}

CString CAnalogEntryDlg::ToggleSign(const CString& strText)
{
    if (strText.IsEmpty())
        return L"-";
    if (strText[0] == L'-')
        return L"+" + strText.Mid(1);
    if (strText[0] == L'+')
        return L"-" + strText.Mid(1);
    return L"-" + strText;
}

CString CAnalogEntryDlg::BackSpace(const CString& strText)
{
    const CString text = strText.Left(strText.GetLength() > 0 ? strText.GetLength() - 1 : 0);
    return text.IsEmpty() ? CString(L"0") : text;
}

BOOL CAnalogEntryDlg::ParseNumber(const CString& strText, double& dValue)
{
    const wchar_t* start = strText.GetString();
    wchar_t* end = nullptr;
    const double value = std::wcstod(start, &end);
    if (end == start)
        return FALSE;
    while (*end && std::iswspace(*end))
        ++end;
    if (*end)
        return FALSE;
    dValue = value;
    return TRUE;
}

void CAnalogEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (pDX->m_bSaveAndValidate)
    {
        m_strText = GetEditText();
        // Leading sign and digits up to the first other character; no number gives 0.0.
        m_dValue = std::wcstod(m_strText.GetString(), nullptr);
    }
    else
    {
        CString text;
        text.Format(L"%g", m_dValue);
        SetEditText(text);
    }
}

BOOL CAnalogEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* edit = GetDlgItem(IDC_VALUE))
        edit->SetFocus();
    return FALSE;
}

void CAnalogEntryDlg::OnOK()
{
    CDialog::OnOK();
}

CString CAnalogEntryDlg::GetEditText() const
{
    CString text;
    if (CWnd* edit = GetDlgItem(IDC_VALUE))
        edit->GetWindowText(text);
    return text;
}

void CAnalogEntryDlg::SetEditText(const CString& strText)
{
    if (CWnd* edit = GetDlgItem(IDC_VALUE))
        edit->SetWindowText(strText);
}

void CAnalogEntryDlg::Insert(const CString& strInsert, BOOL bFromButton)
{
    const CString text = GetEditText();
    if (bFromButton && strInsert == L"." && text.Find(L'.') >= 0)
        return;
    int start = 0, end = 0;
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(IDC_VALUE)))
        edit->GetSel(start, end);
    SetEditText(InsertText(text, start, end, strInsert));
}

BOOL CAnalogEntryDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id >= IDC_KEY_7 && id <= IDC_KEY_0)
    {
        Insert(CString(kKeyDigits[id - IDC_KEY_7]), TRUE);
        return TRUE;
    }
    switch (id)
    {
    case IDC_KEY_POINT:
        Insert(L".", TRUE);
        return TRUE;
    case IDC_KEY_SIGN:
        SetEditText(ToggleSign(GetEditText()));
        return TRUE;
    case IDC_KEY_BACK:
        SetEditText(BackSpace(GetEditText()));
        return TRUE;
    case IDC_KEY_CLEAR:
        SetEditText(CString());
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

BOOL CAnalogEntryDlg::PreTranslateMessage(MSG* pMsg)
{
    CWnd* edit = GetDlgItem(IDC_VALUE);
    const BOOL inEdit = edit && pMsg->hwnd == edit->GetSafeHwnd();
    if (!inEdit && pMsg->message == WM_CHAR)
    {
        const wchar_t ch = wchar_t(pMsg->wParam);
        if (ch >= L'0' && ch <= L'9')
            Insert(CString(ch), FALSE);
        else if (ch == L'.')
            Insert(L".", FALSE);
        else if (ch == VK_BACK)
            SetEditText(BackSpace(GetEditText()));
    }
    else if (!inEdit && pMsg->message == WM_KEYDOWN &&
             (pMsg->wParam == VK_DELETE || pMsg->wParam == VK_CLEAR))
        SetEditText(CString());
    return CDialog::PreTranslateMessage(pMsg);
}

// Digital entry

CDigitalEntryDlg::CDigitalEntryDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CDigitalEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* off = dynamic_cast<CButton*>(GetDlgItem(IDC_OFF)))
        off->SetCheck(m_nState == 0);
    if (auto* on = dynamic_cast<CButton*>(GetDlgItem(IDC_ON)))
        on->SetCheck(m_nState != 0);
    return TRUE;
}

void CDigitalEntryDlg::OnOK()
{
    if (auto* on = dynamic_cast<CButton*>(GetDlgItem(IDC_ON)))
        m_nState = on->GetCheck() ? 1 : 0;
    CDialog::OnOK();
}

// String entry

CStringEntryDlg::CStringEntryDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CStringEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_VALUE, m_strValue);
}
