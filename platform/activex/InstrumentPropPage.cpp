#include "activex/InstrumentPropPage.h"

#include "mfc/ModalHook.h"

#include <cmath>
#include <cwchar>

namespace
{
CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

BOOL ParseNumber(const CString& text, double& d)
{
    CString t = text;
    t.Trim();
    if (t.IsEmpty())
        return FALSE;
    wchar_t* end = nullptr;
    d = std::wcstod(t.GetString(), &end);
    return end && *end == 0 && std::isfinite(d);
}
} // namespace

CInstrumentPropPage::CInstrumentPropPage(const INSTRUMENT_CONTROL_INFO& info,
                                         const CInstrumentSettings& settings, CWnd* pParent)
    : CDialog(IDD_INSTRUMENT_PROPS, pParent), m_settings(settings), m_info(info)
{
}

CString CInstrumentPropPage::FormatColour(COLORREF cr)
{
    CString s;
    s.Format(L"#%02X%02X%02X", unsigned(GetRValue(cr)), unsigned(GetGValue(cr)), unsigned(GetBValue(cr)));
    return s;
}

BOOL CInstrumentPropPage::ParseColour(const CString& text, COLORREF& cr)
{
    CString t = text;
    t.Trim();
    if (t.GetLength() != 7 || t[0] != L'#')
        return FALSE;
    unsigned rgb = 0;
    for (int i = 1; i < 7; ++i)
    {
        const wchar_t c = t[i];
        const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                          : c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                   : -1;
        if (digit < 0)
            return FALSE;
        rgb = rgb * 16 + unsigned(digit);
    }
    cr = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return TRUE;
}

BOOL CInstrumentPropPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString caption;
    caption.Format(LoadText(IDS_INSTR_CAPTION), m_info.lpszName);
    SetWindowText(caption);
    SetDlgItemText(IDC_INSTR_CAPTION, m_settings.strCaption);
    CString number;
    number.Format(L"%g", m_settings.dMin);
    SetDlgItemText(IDC_INSTR_MIN, number);
    number.Format(L"%g", m_settings.dMax);
    SetDlgItemText(IDC_INSTR_MAX, number);
    SetDlgItemText(IDC_INSTR_COUNT_LABEL, InstrumentCountRange(m_info.renderer).lpszLabel);
    SetDlgItemInt(IDC_INSTR_COUNT, UINT(m_settings.nCount));
    SetDlgItemText(IDC_INSTR_FORE, FormatColour(m_settings.crFore));
    SetDlgItemText(IDC_INSTR_BACK, FormatColour(m_settings.crBack));
    SetDlgItemText(IDC_INSTR_ACTIVE, FormatColour(m_settings.crActive));
    return TRUE;
}

BOOL CInstrumentPropPage::Refuse(int nIDC, const CString& strText)
{
    AfxMessageBox(strText, MB_OK | MB_ICONINFORMATION);
    if (CWnd* field = GetDlgItem(nIDC))
        GotoDlgCtrl(field);
    return FALSE;
}

void CInstrumentPropPage::OnOK()
{
    CInstrumentSettings s = m_settings;
    CString text;
    GetDlgItemText(IDC_INSTR_CAPTION, s.strCaption);
    s.strCaption = s.strCaption.Left(255);
    GetDlgItemText(IDC_INSTR_MIN, text);
    const BOOL minOk = ParseNumber(text, s.dMin);
    GetDlgItemText(IDC_INSTR_MAX, text);
    if (!minOk)
    {
        Refuse(IDC_INSTR_MIN, LoadText(IDS_INSTR_BAD_RANGE));
        return;
    }
    if (!ParseNumber(text, s.dMax) || !(s.dMax > s.dMin))
    {
        Refuse(IDC_INSTR_MAX, LoadText(IDS_INSTR_BAD_RANGE));
        return;
    }
    const INSTRUMENT_COUNT_RANGE& range = InstrumentCountRange(m_info.renderer);
    GetDlgItemText(IDC_INSTR_COUNT, text);
    double count = 0;
    if (!ParseNumber(text, count) || count != std::floor(count) || count < range.nMin || count > range.nMax)
    {
        CString msg;
        msg.Format(LoadText(IDS_INSTR_BAD_COUNT), range.nMin, range.nMax);
        Refuse(IDC_INSTR_COUNT, msg);
        return;
    }
    s.nCount = int(count);
    const struct
    {
        int nIDC;
        COLORREF* pcr;
    } colours[] = {{IDC_INSTR_FORE, &s.crFore}, {IDC_INSTR_BACK, &s.crBack}, {IDC_INSTR_ACTIVE, &s.crActive}};
    for (const auto& c : colours)
    {
        GetDlgItemText(c.nIDC, text);
        if (!ParseColour(text, *c.pcr))
        {
            Refuse(c.nIDC, LoadText(IDS_INSTR_BAD_COLOUR));
            return;
        }
    }
    m_settings = s;
    CDialog::OnOK();
}
