#include "editor/ParamManager.h"

#include "mfc/ModalHook.h"
#include "mfc/Notify.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"
#include "win32/System.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <cwctype>
#include <string>

// --- Texts ---------------------------------------------------------------------------------------------

namespace
{
// The shortest text that reads back as the same number.
template <class T> CString Shortest(T value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof(buf), value);
    return CString::FromUtf8(std::string_view(buf, size_t(r.ptr - buf)));
}

std::string Narrow(const CString& text)
{
    CString t = text;
    t.Trim();
    return t.ToUtf8();
}

BOOL ReadDouble(const CString& text, double& out)
{
    const std::string s = Narrow(text);
    if (s.empty())
        return FALSE;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

BOOL ReadInteger(const CString& text, long long& out)
{
    const std::string s = Narrow(text);
    if (s.empty())
        return FALSE;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// The calendar parts of an OLE date.
void CivilOf(double dt, int& y, unsigned& m, unsigned& d, int& hh, int& mm, int& ss, int& weekday)
{
    const double days = std::floor(dt);
    const long long unixDays = (long long)(days)-25569;
    int64_t yy = 0;
    CivilFromDays(unixDays, yy, m, d);
    y = int(yy);
    int secs = int(std::lround((dt - days) * 86400.0));
    if (secs >= 86400)
        secs = 86399;
    hh = secs / 3600;
    mm = secs / 60 % 60;
    ss = secs % 60;
    weekday = DayOfWeekFromDays(unixDays);
}
} // namespace

double CParamText::OleDate(int y, int m, int d, int hh, int mm, int ss)
{
    return double(DaysFromCivil(y, unsigned(m), unsigned(d)) + 25569) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

CString CParamText::KindName(int nKind)
{
    switch (nKind)
    {
    case PARAM_KIND_RUNTIME:
        return L"R-Param";
    case PARAM_KIND_GLOBAL:
        return L"G-Param";
    case PARAM_KIND_SYSTEM:
        return L"S-Param";
    default:
        return L"U-Param";
    }
}

CString CParamText::TypeName(int nType)
{
    static const wchar_t* const kNames[] = {L"BOOL",   L"String", L"int",      L"float",
                                            L"double", L"DWORD",  L"DateTime", L"Color"};
    return nType >= 0 && nType < 8 ? CString(kNames[nType]) : CString();
}

CString CParamText::ListValue(const FO_VALUE& v)
{
    CString s;
    switch (v.m_nValueType)
    {
    case FO_VALUE_BOOL:
        return v.m_bValue ? L"TRUE" : L"FALSE";
    case FO_VALUE_STRING:
        return v.m_strValue;
    case FO_VALUE_INT:
        s.Format(L"%d", v.m_nValue);
        return s;
    case FO_VALUE_FLOAT:
        s.Format(L"%.f", double(v.m_fValue));
        return s;
    case FO_VALUE_DOUBLE:
        s.Format(L"%.f", v.m_dValue);
        return s;
    case FO_VALUE_DWORD:
        s.Format(L"%u", unsigned(v.m_dwValue));
        return s;
    case FO_VALUE_DATETIME:
    {
        if (v.m_dtValue.m_status == FO_DATETIME::null)
            return CString();
        if (v.m_dtValue.m_status != FO_DATETIME::valid)
            return L"Invalid DateTime";
        int y = 0, hh = 0, mm = 0, ss = 0, wd = 0;
        unsigned m = 1, d = 1;
        CivilOf(v.m_dtValue.m_dt, y, m, d, hh, mm, ss, wd);
        std::tm tm = {};
        tm.tm_year = y - 1900;
        tm.tm_mon = int(m) - 1;
        tm.tm_mday = int(d);
        tm.tm_wday = wd;
        wchar_t buf[128] = {};
        std::wcsftime(buf, 127, L"%A, %B %d, %Y", &tm);
        return buf;
    }
    case FO_VALUE_COLOR:
        s.Format(L"RGB(%u,%u,%u)", unsigned(GetRValue(v.m_crValue)), unsigned(GetGValue(v.m_crValue)),
                 unsigned(GetBValue(v.m_crValue)));
        return s;
    default:
        return CString();
    }
}

CString CParamText::EditValue(const FO_VALUE& v)
{
    switch (v.m_nValueType)
    {
    case FO_VALUE_FLOAT:
        return Shortest(v.m_fValue);
    case FO_VALUE_DOUBLE:
        return Shortest(v.m_dValue);
    case FO_VALUE_DATETIME:
    {
        if (v.m_dtValue.m_status != FO_DATETIME::valid)
            return ListValue(v);
        int y = 0, hh = 0, mm = 0, ss = 0, wd = 0;
        unsigned m = 1, d = 1;
        CivilOf(v.m_dtValue.m_dt, y, m, d, hh, mm, ss, wd);
        CString s;
        s.Format(L"%04d-%02u-%02u %02d:%02d:%02d", y, m, d, hh, mm, ss);
        return s;
    }
    default:
        return ListValue(v);
    }
}

BOOL CParamText::Parse(int nType, const CString& text, FO_VALUE& value)
{
    long long n = 0;
    double d = 0.0;
    CString t = text;
    t.Trim();
    switch (nType)
    {
    case FO_VALUE_BOOL:
        if (t.CompareNoCase(L"TRUE") == 0 || t.CompareNoCase(L"FALSE") == 0)
            value = FO_VALUE::MakeBool(t.CompareNoCase(L"TRUE") == 0);
        else if (ReadInteger(t, n))
            value = FO_VALUE::MakeBool(n != 0);
        else
            return FALSE;
        return TRUE;
    case FO_VALUE_STRING:
        value = FO_VALUE::MakeString(text);
        return TRUE;
    case FO_VALUE_INT:
        if (!ReadInteger(t, n) || n < INT32_MIN || n > INT32_MAX)
            return FALSE;
        value = FO_VALUE::MakeInt(int(n));
        return TRUE;
    case FO_VALUE_FLOAT:
        if (!ReadDouble(t, d) || std::fabs(d) > 3.4e38)
            return FALSE;
        value = FO_VALUE::MakeFloat(float(d));
        return TRUE;
    case FO_VALUE_DOUBLE:
        if (!ReadDouble(t, d))
            return FALSE;
        value = FO_VALUE::MakeDouble(d);
        return TRUE;
    case FO_VALUE_DWORD:
        if (!ReadInteger(t, n) || n < 0 || n > 0xFFFFFFFFLL)
            return FALSE;
        value = FO_VALUE::MakeDWord(DWORD(n));
        return TRUE;
    case FO_VALUE_DATETIME:
    {
        if (t.IsEmpty())
        {
            // No text: now, as a new date variable starts.
            SYSTEMTIME st = {};
            GetLocalTime(&st);
            value = FO_VALUE::MakeDateTime(
                OleDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond));
            return TRUE;
        }
        int y = 0, m = 0, dd = 0, hh = 0, mi = 0, ss = 0;
        wchar_t extra = 0;
        const int got = std::swscanf(t, L"%d-%d-%d %d:%d:%d %lc", &y, &m, &dd, &hh, &mi, &ss, &extra);
        if ((got != 3 && got != 6) || y < 100 || y > 9999 || m < 1 || m > 12 || dd < 1 ||
            dd > int(DaysInMonth(y, unsigned(m))) || hh < 0 || hh > 23 || mi < 0 || mi > 59 || ss < 0 ||
            ss > 59)
            return FALSE;
        value = FO_VALUE::MakeDateTime(OleDate(y, m, dd, hh, mi, ss));
        return TRUE;
    }
    case FO_VALUE_COLOR:
    {
        unsigned r = 0, g = 0, b = 0;
        wchar_t close = 0, extra = 0;
        if (std::swscanf(t, L"RGB(%u,%u,%u%lc %lc", &r, &g, &b, &close, &extra) == 4 && close == L')' &&
            r < 256 && g < 256 && b < 256)
            value = FO_VALUE::MakeColor(RGB(r, g, b));
        else if (ReadInteger(t, n) && n >= 0 && n <= 0xFFFFFF)
            value = FO_VALUE::MakeColor(COLORREF(n));
        else
            return FALSE;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// --- One variable --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CParamSetDlg, CDialog)
ON_CBN_SELCHANGE(28541, &CParamSetDlg::OnValueTypeChanged)
END_MESSAGE_MAP()

CParamSetDlg::CParamSetDlg(CWnd* pParent) : CDialog(IDD_PARAM_SET, pParent) {}

void CParamSetDlg::LoadFrom(CParamObj* pParam)
{
    m_pParam = pParam;
    m_bNew = FALSE;
    m_strName = pParam->m_strName;
    m_strOldName = m_strName;
    m_strDescription = pParam->m_strDescription;
    m_nParamType = pParam->m_nKind - PARAM_KIND_RUNTIME;
    m_strExtra = pParam->m_strExtra;
    m_dMin = pParam->m_dMinValue;
    m_dMax = pParam->m_dMaxValue;
    m_nValueType = pParam->m_value.m_nValueType;
    m_strValue = CParamText::EditValue(pParam->m_value);
}

void CParamSetDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 28541, m_cbValueType);
    DDX_Control(pDX, 1123, m_cbParamType);
    DDX_Text(pDX, 1219, m_strDescription);
    DDX_Text(pDX, 1022, m_strName);
    DDX_Text(pDX, 1220, m_strExtra);
    DDX_Text(pDX, 28543, m_strValue);
    DDX_CBIndex(pDX, 1123, m_nParamType);
    DDX_Text(pDX, 1225, m_dMax);
    DDX_Text(pDX, 1224, m_dMin);
}

BOOL CParamSetDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_cbParamType.ResetContent();
    m_cbParamType.AddString(L"Real Time Parameter");
    m_cbParamType.AddString(L"Globals Parameter");
    m_cbParamType.SetCurSel(m_nParamType == 1 ? 1 : 0);
    static const int kOrder[] = {FO_VALUE_STRING, FO_VALUE_BOOL,  FO_VALUE_INT,      FO_VALUE_FLOAT,
                                 FO_VALUE_DOUBLE, FO_VALUE_DWORD, FO_VALUE_DATETIME, FO_VALUE_COLOR};
    m_cbValueType.ResetContent();
    for (int type : kOrder)
    {
        const int i =
            m_cbValueType.AddString(type == FO_VALUE_STRING ? CString(L"Text") : CParamText::TypeName(type));
        m_cbValueType.SetItemData(i, DWORD_PTR(type));
        if (type == (m_bNew ? FO_VALUE_STRING : m_nValueType))
            m_cbValueType.SetCurSel(i);
    }
    if (m_bNew)
    {
        m_nValueType = FO_VALUE_STRING;
        SetDlgItemText(28543, m_strValue);
    }
    m_nFirstType = m_nValueType;
    m_strFirstValue = m_strValue;
    return TRUE;
}

void CParamSetDlg::OnValueTypeChanged()
{
    const int sel = m_cbValueType.GetCurSel();
    if (sel < 0)
        return;
    const int type = int(m_cbValueType.GetItemData(sel));
    SetDlgItemText(28543, type == FO_VALUE_STRING || type == FO_VALUE_DATETIME ? L"" : L"0");
}

void CParamSetDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const int sel = m_cbValueType.GetCurSel();
    const int type = sel < 0 ? m_nValueType : int(m_cbValueType.GetItemData(sel));
    m_strName.Trim();
    if (m_strName.IsEmpty())
    {
        AfxMessageBox(32868, MB_ICONINFORMATION);
        GetDlgItem(1022)->SetFocus();
        return;
    }
    if (m_pWorkSpace && m_pWorkSpace->FindParamByName(m_strName) &&
        (m_bNew || m_strName.CompareNoCase(m_strOldName) != 0))
    {
        AfxMessageBox(32869, MB_ICONINFORMATION);
        GetDlgItem(1022)->SetFocus();
        return;
    }
    // An untouched value stays exactly as stored; anything typed must read as its type.
    FO_VALUE value;
    const BOOL bUntouched = !m_bNew && m_pParam && type == m_nFirstType && m_strValue == m_strFirstValue;
    if (bUntouched)
        value = m_pParam->m_value;
    else if (!CParamText::Parse(type, m_strValue, value))
    {
        CString text;
        text.Format(
            L"The initial value \"%s\" is not a %s value.", static_cast<LPCWSTR>(m_strValue),
            static_cast<LPCWSTR>(type == FO_VALUE_STRING ? CString(L"Text") : CParamText::TypeName(type)));
        AfxMessageBox(text, MB_ICONINFORMATION);
        GetDlgItem(28543)->SetFocus();
        return;
    }
    m_nValueType = type;
    if (m_pParam)
    {
        m_pParam->m_strName = m_strName;
        m_pParam->m_strDescription = m_strDescription;
        m_pParam->m_strExtra = m_strExtra;
        m_pParam->m_dMinValue = m_dMin;
        m_pParam->m_dMaxValue = m_dMax;
        m_pParam->m_value = value;
    }
    EndDialog(IDOK);
}

// --- The manager ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CParamManager, CResizableDialog)
ON_BN_CLICKED(1041, &CParamManager::OnAdd)
ON_BN_CLICKED(1042, &CParamManager::OnRemove)
ON_CBN_SELCHANGE(1124, &CParamManager::OnFilterChanged)
ON_NOTIFY(NM_DBLCLK, 1043, &CParamManager::OnListDblClk)
END_MESSAGE_MAP()

CParamManager::CParamManager(CWorkSpaceObj* pWorkSpace, CWnd* pParent)
    : CResizableDialog(IDD_PARAM_MANAGER, pParent), m_pWorkSpace(pWorkSpace)
{
}

void CParamManager::DoDataExchange(CDataExchange* pDX)
{
    CResizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1124, m_cbFilter);
    DDX_Control(pDX, 1043, m_List);
    DDX_Control(pDX, 1041, m_btnAdd);
    DDX_Control(pDX, 1042, m_btnRemove);
}

int CParamManager::KindImage(int nKind)
{
    switch (nKind)
    {
    case PARAM_KIND_RUNTIME:
        return 9;
    case PARAM_KIND_GLOBAL:
        return 10;
    case PARAM_KIND_SYSTEM:
        return 11;
    default:
        return -1;
    }
}

BOOL CParamManager::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_btnRemove.SetImage(150);
    m_btnAdd.SetImage(147);
    m_btnRemove.SetHandCursor(28354);
    m_btnAdd.SetHandCursor(28354);
    for (UINT id : {UINT(IDOK), UINT(IDCANCEL)})
        AddAnchor(id, BOTTOM_RIGHT);
    for (UINT id : {1041u, 1042u})
        AddAnchor(id, TOP_RIGHT);
    AddAnchor(1043, TOP_LEFT, BOTTOM_RIGHT);
    SetMinTrackSize(CSize(400, 280));
    m_ImageList.Create(65, 20, 0, RGB(255, 255, 255));
    m_List.SetImageList(&m_ImageList, LVSIL_SMALL);
    LOGFONT lf = {};
    CGdiObject* gui = CDC::GetStockObject(DEFAULT_GUI_FONT);
    if (auto* font = dynamic_cast<CFont*>(gui))
        font->GetLogFont(&lf);
    lf.lfWeight = 450;
    if (m_font.CreateFontIndirect(&lf))
        m_List.SetFont(&m_font);
    for (const wchar_t* text :
         {L"All Parameters", L"Real Time Parameters", L"Globals Parameters", L"System Parameters"})
        m_cbFilter.AddString(text);
    m_cbFilter.SetCurSel(0);
    m_List.SetExtendedStyle(m_List.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    static const wchar_t* const kColumns[] = {L"Name",           L"Description",   L"Param Type",
                                              L"Value Type",     L"Initial Value", L"Other",
                                              L"Minimize Value", L"Maximize Value"};
    static const int kWidths[] = {100, 100, 100, 80, 100, 80, 80, 80};
    for (int i = 0; i < 8; ++i)
        m_List.InsertColumn(i, kColumns[i], LVCFMT_LEFT, kWidths[i]);
    FillList();
    m_List.SetFocus();
    return TRUE;
}

int CParamManager::GetFilter() const
{
    const int sel = m_cbFilter.GetCurSel();
    return sel < 0 ? 0 : sel;
}

void CParamManager::SetFilter(int nFilter)
{
    m_cbFilter.SetCurSel(nFilter);
}

BOOL CParamManager::Shows(int nKind) const
{
    const int filter = GetFilter();
    if (filter == 0)
        return nKind >= PARAM_KIND_RUNTIME && nKind <= PARAM_KIND_SYSTEM;
    return nKind == KindOfFilter(filter);
}

void CParamManager::SetRow(int nRow, CParamObj* p)
{
    CString s;
    m_List.SetItemText(nRow, 0, p->m_strName);
    m_List.SetItemText(nRow, 1, p->m_strDescription);
    m_List.SetItemText(nRow, 2, CParamText::KindName(p->m_nKind));
    m_List.SetItemText(nRow, 3, CParamText::TypeName(p->m_value.m_nValueType));
    m_List.SetItemText(nRow, 4, CParamText::ListValue(p->m_value));
    m_List.SetItemText(nRow, 5, p->m_strExtra);
    s.Format(L"%.2f", p->m_dMinValue);
    m_List.SetItemText(nRow, 6, s);
    s.Format(L"%.2f", p->m_dMaxValue);
    m_List.SetItemText(nRow, 7, s);
    m_List.SetItemData(nRow, DWORD_PTR(p));
}

void CParamManager::AddRow(CParamObj* p)
{
    SetRow(m_List.InsertItem(m_List.GetItemCount(), p->m_strName, KindImage(p->m_nKind)), p);
}

void CParamManager::FillList()
{
    m_List.DeleteAllItems();
    if (!m_pWorkSpace)
        return;
    CParamObjList& list = m_pWorkSpace->GetParamObjects();
    for (POSITION pos = list.GetHeadPosition(); pos;)
    {
        CParamObj* p = list.GetNext(pos);
        if (Shows(p->m_nKind) && std::find(m_removed.begin(), m_removed.end(), p) == m_removed.end())
            AddRow(p);
    }
}

void CParamManager::OnFilterChanged()
{
    FillList();
}

void CParamManager::OnAdd()
{
    if (!m_pWorkSpace)
        return;
    auto* param = new CParamObj;
    CParamSetDlg dlg(this);
    dlg.m_pParam = param;
    dlg.m_pWorkSpace = m_pWorkSpace;
    if (dlg.DoModal() != IDOK)
    {
        delete param;
        return;
    }
    param->m_nKind = PARAM_KIND_RUNTIME + dlg.m_nParamType;
    m_pWorkSpace->AddParam(param);
    const int filter = GetFilter();
    if (filter != 0 && KindOfFilter(filter) != param->m_nKind)
    {
        SetFilter(param->m_nKind - 99);
        FillList();
    }
    else
        AddRow(param);
}

void CParamManager::EditSelected()
{
    for (int row = 0; row < m_List.GetItemCount(); ++row)
    {
        if (!m_List.GetItemState(row, LVIS_SELECTED))
            continue;
        auto* param = reinterpret_cast<CParamObj*>(m_List.GetItemData(row));
        if (!param || (param->m_nKind != PARAM_KIND_RUNTIME && param->m_nKind != PARAM_KIND_GLOBAL))
            continue;
        CParamSetDlg dlg(this);
        dlg.LoadFrom(param);
        dlg.m_pWorkSpace = m_pWorkSpace;
        if (dlg.DoModal() != IDOK)
            continue;
        param->m_nKind = PARAM_KIND_RUNTIME + dlg.m_nParamType;
        m_pWorkSpace->SetModified();
        const int filter = GetFilter();
        if (filter != 0 && KindOfFilter(filter) != param->m_nKind)
        {
            SetFilter(param->m_nKind - 99);
            FillList();
            return;
        }
        SetRow(row, param);
    }
}

void CParamManager::OnListDblClk(NMHDR*, LRESULT* pResult)
{
    EditSelected();
    if (pResult)
        *pResult = 0;
}

void CParamManager::OnRemove()
{
    int row = -1;
    for (int i = 0; i < m_List.GetItemCount() && row < 0; ++i)
        if (m_List.GetItemState(i, LVIS_SELECTED))
            row = i;
    if (row < 0)
        return;
    if (AfxMessageBox(L"Do you want to remove the selected parameter?", MB_YESNO | MB_ICONINFORMATION) !=
        IDYES)
        return;
    auto* param = reinterpret_cast<CParamObj*>(m_List.GetItemData(row));
    m_List.DeleteItem(row);
    if (param && param->m_nKind != PARAM_KIND_SYSTEM && m_pWorkSpace)
        m_removed.push_back(param);
}

void CParamManager::OnOK()
{
    for (int i = 0; i < m_List.GetItemCount(); ++i)
        if (m_List.GetItemState(i, LVIS_SELECTED))
            m_strResult = m_List.GetItemText(i, 0);
    // Cancel keeps every parameter; OK makes the removals.
    if (m_pWorkSpace)
        for (CParamObj* param : m_removed)
            m_pWorkSpace->RemoveParam(param);
    m_removed.clear();
    EndDialog(IDOK);
}
