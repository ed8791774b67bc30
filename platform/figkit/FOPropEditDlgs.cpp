#include "figkit/FOPropEditDlgs.h"

#include "figkit/FOAction.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/ButtonCtl.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/ModalHook.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <memory>

namespace
{
// Bullet properties are unsigned like the alignments the format bar writes.
bool IsUnsignedProp(int nPropId)
{
    return nPropId == FO_PROP_TEXT_HALIGN || nPropId == FO_PROP_TEXT_VALIGN || nPropId == FO_PROP_BULLET_TYPE;
}

FO_VALUE MakeNumber(int nPropId, int n)
{
    return IsUnsignedProp(nPropId) ? FO_VALUE::MakeDWord(DWORD(n)) : FO_VALUE::MakeInt(n);
}

int IntOf(const FO_VALUE& v)
{
    switch (v.m_nValueType)
    {
    case FO_VALUE_INT:
        return v.m_nValue;
    case FO_VALUE_DWORD:
        return int(v.m_dwValue);
    case FO_VALUE_COLOR:
        return int(v.m_crValue);
    default:
        return int(std::lround(v.GetAsDouble()));
    }
}

COLORREF ColorOf(const FO_VALUE& v)
{
    if (v.m_nValueType == FO_VALUE_COLOR)
        return v.m_crValue;
    if (v.m_nValueType == FO_VALUE_DWORD)
        return v.m_dwValue;
    return COLORREF(IntOf(v));
}

// The name of a property in the messages.
CString LabelOf(int nPropId)
{
    switch (nPropId)
    {
    case FO_PROP_NAME:
        return L"Name";
    case FO_PROP_CAPTION:
        return L"Text";
    case FO_PROP_KEY1:
        return L"Key 1";
    case FO_PROP_KEY2:
        return L"Key 2";
    case FO_PROP_KEY3:
        return L"Key 3";
    case FO_PROP_FACE_NAME:
        return L"Font";
    case FO_PROP_POINT_SIZE:
        return L"Font size";
    case FO_PROP_FONT_COLOR:
        return L"Font colour";
    case FO_PROP_WEIGHT:
        return L"Font weight";
    case FO_PROP_LINE_WIDTH:
        return L"Line width";
    case FO_PROP_LINE_COLOR:
        return L"Line colour";
    case FO_PROP_FILL_COLOR:
        return L"Fill colour";
    case FO_PROP_BRUSH_TYPE:
        return L"Fill type";
    case FO_PROP_BULLET_COLOR:
        return L"Bullet colour";
    case FO_PROP_EVENT_TYPE:
        return L"Event type";
    case FO_PROP_CURSOR_TYPE:
        return L"Cursor";
    default:
    {
        CString s;
        s.Format(L"Property %d", nPropId);
        return s;
    }
    }
}

// Reads a whole number; FALSE for anything else.
BOOL ParseInt(const CString& strText, int& n)
{
    CString s = strText;
    s.Trim();
    if (s.IsEmpty())
        return FALSE;
    wchar_t* end = nullptr;
    errno = 0;
    const long v = std::wcstol(s.GetString(), &end, 10);
    if (!end || *end != L'\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return FALSE;
    n = int(v);
    return TRUE;
}

CString IntRangeMessage(const CString& strName, int nMin, int nMax)
{
    CString msg;
    msg.Format(L"%s: please enter a whole number between %d and %d.", strName.GetString(), nMin, nMax);
    return msg;
}

CString ColorMessage(const CString& strName)
{
    CString msg;
    msg.Format(L"%s: please enter a colour as #RRGGBB.", strName.GetString());
    return msg;
}

// Tells what is wrong and puts the focus on the control that holds it.
void Refuse(CWnd& dlg, int nId, const CString& strMessage)
{
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    if (CWnd* ctl = dlg.GetDlgItem(nId))
        ctl->SetFocus();
}

BOOL ReadIntField(CWnd& dlg, int nId, int nMin, int nMax, const CString& strName, int& n)
{
    CString text;
    dlg.GetDlgItemText(nId, text);
    if (ParseInt(text, n) && n >= nMin && n <= nMax)
        return TRUE;
    Refuse(dlg, nId, IntRangeMessage(strName, nMin, nMax));
    return FALSE;
}

BOOL ReadColorField(CWnd& dlg, int nId, const CString& strName, COLORREF& cr)
{
    CString text;
    dlg.GetDlgItemText(nId, text);
    if (CFOPropEditDlg::ParseColor(text, cr))
        return TRUE;
    Refuse(dlg, nId, ColorMessage(strName));
    return FALSE;
}

void SetIntField(CWnd& dlg, int nId, int n)
{
    CString s;
    s.Format(L"%d", n);
    dlg.SetDlgItemText(nId, s);
}
} // namespace

CFOPropEditDlg::CFOPropEditDlg(LPCWSTR lpszTemplate, std::vector<FOPropRow> rows, CWnd* pParent)
    : CDialog(lpszTemplate, pParent), m_rows(std::move(rows))
{
    for (const FOPropRow& row : m_rows)
    {
        switch (row.nKind)
        {
        case FO_ROW_TEXT:
        case FO_ROW_NAME:
            m_first.push_back(FO_VALUE::MakeString(CString()));
            break;
        case FO_ROW_BOOL:
            m_first.push_back(FO_VALUE::MakeBool(FALSE));
            break;
        case FO_ROW_COLOR:
            m_first.push_back(FO_VALUE::MakeColor(0));
            break;
        default:
            m_first.push_back(MakeNumber(row.nPropId, 0));
            break;
        }
    }
    m_values = m_first;
}

void CFOPropEditDlg::LoadFrom(const CFODrawShape* pShape)
{
    for (size_t i = 0; i < m_rows.size(); ++i)
    {
        const FOPropRow& row = m_rows[i];
        FO_VALUE v;
        if (!pShape || !pShape->GetPropValue(v, row.nPropId))
            continue;
        switch (row.nKind)
        {
        case FO_ROW_TEXT:
        case FO_ROW_NAME:
            m_first[i] = FO_VALUE::MakeString(v.GetAsString());
            break;
        case FO_ROW_BOOL:
            m_first[i] = FO_VALUE::MakeBool(v.m_nValueType == FO_VALUE_STRING ? !v.m_strValue.IsEmpty()
                                                                              : v.GetAsDouble() != 0.0);
            break;
        case FO_ROW_COLOR:
            m_first[i] = FO_VALUE::MakeColor(ColorOf(v));
            break;
        default:
            m_first[i] = MakeNumber(row.nPropId, IntOf(v));
            break;
        }
    }
    m_values = m_first;
}

const FO_VALUE* CFOPropEditDlg::GetValue(int nPropId) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].nPropId == nPropId)
            return &m_values[i];
    return nullptr;
}

BOOL CFOPropEditDlg::IsModified() const
{
    return m_values != m_first;
}

CFOPropAction* CFOPropEditDlg::MakeAction(CFODataModel* pModel, const FOPContainer& shapes) const
{
    if (!pModel || shapes.Count() == 0)
        return nullptr;
    std::unique_ptr<CFOPropAction> action(pModel->GetShapesPropAction());
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_values[i] != m_first[i])
            action->AddEntry(m_rows[i].nPropId, m_values[i], shapes);
    if (action->GetEntryCount() == 0)
        return nullptr;
    return action.release();
}

CString CFOPropEditDlg::FormatColor(COLORREF cr)
{
    CString s;
    s.Format(L"#%02X%02X%02X", unsigned(cr & 0xFF), unsigned((cr >> 8) & 0xFF), unsigned((cr >> 16) & 0xFF));
    return s;
}

BOOL CFOPropEditDlg::ParseColor(const CString& strText, COLORREF& cr)
{
    CString s = strText;
    s.Trim();
    if (!s.IsEmpty() && s[0] == L'#')
        s = s.Mid(1);
    if (s.GetLength() != 6)
        return FALSE;
    for (int i = 0; i < 6; ++i)
        if (!std::iswxdigit(wint_t(s[i])))
            return FALSE;
    const unsigned long rgb = std::wcstoul(s.GetString(), nullptr, 16);
    cr = COLORREF(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    return TRUE;
}

std::vector<CString> CFOPropEditDlg::ChoicesOf(int nPropId)
{
    switch (nPropId)
    {
    case FO_PROP_TEXT_HALIGN:
        return {L"Left", L"Centre", L"Right"};
    case FO_PROP_TEXT_VALIGN:
        return {L"Top", L"Middle", L"Bottom"};
    case FO_PROP_PEN_STYLE:
        return {L"None", L"Solid", L"Dash", L"Dot", L"Dash Dot", L"Dash Dot Dot"};
    case FO_PROP_BULLET_TYPE:
        return {L"None", L"Bullet", L"Square", L"Arrow", L"Number"};
    default:
        return {};
    }
}

BOOL CFOPropEditDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (size_t i = 0; i < m_rows.size(); ++i)
    {
        const FOPropRow& row = m_rows[i];
        const FO_VALUE& v = m_first[i];
        switch (row.nKind)
        {
        case FO_ROW_TEXT:
        case FO_ROW_NAME:
            SetDlgItemText(row.nPropId, v.m_strValue);
            break;
        case FO_ROW_BOOL:
            CheckDlgButton(row.nPropId, v.m_bValue ? BST_CHECKED : BST_UNCHECKED);
            break;
        case FO_ROW_COLOR:
            SetDlgItemText(row.nPropId, FormatColor(v.m_crValue));
            break;
        case FO_ROW_INT:
            SetIntField(*this, row.nPropId, IntOf(v));
            break;
        case FO_ROW_CHOICE:
            if (auto* combo = static_cast<CComboBox*>(GetDlgItem(row.nPropId)))
            {
                combo->ResetContent();
                for (const CString& s : ChoicesOf(row.nPropId))
                    combo->AddString(s);
                const int n = IntOf(v);
                combo->SetCurSel(n >= 0 && n < combo->GetCount() ? n : 0);
            }
            break;
        }
    }
    return TRUE;
}

BOOL CFOPropEditDlg::ReadRow(const FOPropRow& row, FO_VALUE& value, CString& strError) const
{
    CString text;
    switch (row.nKind)
    {
    case FO_ROW_TEXT:
        GetDlgItemText(row.nPropId, text);
        value = FO_VALUE::MakeString(text);
        return TRUE;
    case FO_ROW_NAME:
        GetDlgItemText(row.nPropId, text);
        if (text.IsEmpty())
        {
            strError.Format(L"%s may not be empty.", LabelOf(row.nPropId).GetString());
            return FALSE;
        }
        value = FO_VALUE::MakeString(text);
        return TRUE;
    case FO_ROW_BOOL:
        value = FO_VALUE::MakeBool(IsDlgButtonChecked(row.nPropId) == BST_CHECKED);
        return TRUE;
    case FO_ROW_COLOR:
    {
        COLORREF cr = 0;
        GetDlgItemText(row.nPropId, text);
        if (!ParseColor(text, cr))
        {
            strError = ColorMessage(LabelOf(row.nPropId));
            return FALSE;
        }
        value = FO_VALUE::MakeColor(cr);
        return TRUE;
    }
    case FO_ROW_INT:
    {
        int n = 0;
        GetDlgItemText(row.nPropId, text);
        if (!ParseInt(text, n) || n < row.nMin || n > row.nMax)
        {
            strError = IntRangeMessage(LabelOf(row.nPropId), row.nMin, row.nMax);
            return FALSE;
        }
        value = MakeNumber(row.nPropId, n);
        return TRUE;
    }
    case FO_ROW_CHOICE:
    {
        auto* combo = static_cast<CComboBox*>(GetDlgItem(row.nPropId));
        const int n = combo ? combo->GetCurSel() : -1;
        value = MakeNumber(row.nPropId, n < 0 ? 0 : n);
        return TRUE;
    }
    }
    return FALSE;
}

void CFOPropEditDlg::OnOK()
{
    // All rows are checked before any is taken, so a refused value leaves the values as loaded.
    std::vector<FO_VALUE> values(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i)
    {
        CString error;
        if (!ReadRow(m_rows[i], values[i], error))
        {
            Refuse(*this, m_rows[i].nPropId, error);
            return;
        }
    }
    m_values = std::move(values);
    EndDialog(IDOK);
}

// --- The dialogs over property ids --------------------------------------------------------------------

namespace
{
const FOPropRow kName{FO_PROP_NAME, FO_ROW_NAME};
const FOPropRow kCaption{FO_PROP_CAPTION, FO_ROW_TEXT};
const FOPropRow kHAlign{FO_PROP_TEXT_HALIGN, FO_ROW_CHOICE};
const FOPropRow kVAlign{FO_PROP_TEXT_VALIGN, FO_ROW_CHOICE};
// An empty face name is the default font.
const FOPropRow kFace{FO_PROP_FACE_NAME, FO_ROW_TEXT};
const FOPropRow kSize{FO_PROP_POINT_SIZE, FO_ROW_INT, 1, 1000};
const FOPropRow kFontColor{FO_PROP_FONT_COLOR, FO_ROW_COLOR};
const FOPropRow kWeight{FO_PROP_WEIGHT, FO_ROW_INT, 0, 1000};
const FOPropRow kItalic{FO_PROP_ITALIC, FO_ROW_BOOL};
const FOPropRow kUnderline{FO_PROP_UNDERLINE, FO_ROW_BOOL};
const FOPropRow kLineWidth{FO_PROP_LINE_WIDTH, FO_ROW_INT, 0, 100};
const FOPropRow kLineColor{FO_PROP_LINE_COLOR, FO_ROW_COLOR};
const FOPropRow kPenStyle{FO_PROP_PEN_STYLE, FO_ROW_CHOICE};
const FOPropRow kNullPen{FO_PROP_NULL_PEN, FO_ROW_BOOL};
const FOPropRow kFillColor{FO_PROP_FILL_COLOR, FO_ROW_COLOR};
const FOPropRow kBrushType{FO_PROP_BRUSH_TYPE, FO_ROW_INT, 0, 68};
} // namespace

CFOPropManagerDlg::CFOPropManagerDlg(CWnd* pParent)
    : CFOPropEditDlg(L"FOPROPMANAGERDLG",
                     {kName,
                      {FO_PROP_KEY1, FO_ROW_TEXT},
                      {FO_PROP_KEY2, FO_ROW_TEXT},
                      {FO_PROP_KEY3, FO_ROW_TEXT},
                      kCaption,
                      kHAlign,
                      kVAlign,
                      kFace,
                      kSize,
                      kFontColor,
                      kWeight,
                      kItalic,
                      kUnderline,
                      kLineWidth,
                      kLineColor,
                      kPenStyle,
                      kNullPen,
                      kFillColor,
                      kBrushType,
                      {FO_PROP_VISIBLE_COND_ON, FO_ROW_BOOL},
                      {FO_PROP_VISIBLE_COND, FO_ROW_TEXT},
                      {FO_PROP_EVENT_TYPE, FO_ROW_INT, 0, 24},
                      {FO_PROP_EVENT_STRING, FO_ROW_TEXT},
                      {FO_PROP_CURSOR_TYPE, FO_ROW_INT, 0, 100},
                      {FO_PROP_TOOLTIP, FO_ROW_TEXT}},
                     pParent)
{
}

CFOTextPropDlg::CFOTextPropDlg(CWnd* pParent)
    : CFOPropEditDlg(L"FOTEXTPROPDLG",
                     {kCaption, kFace, kSize, kFontColor, kWeight, kItalic, kUnderline, kHAlign, kVAlign},
                     pParent)
{
}

CFOLinePropDlg::CFOLinePropDlg(CWnd* pParent)
    : CFOPropEditDlg(L"FOLINEPROPDLG", {kLineWidth, kLineColor, kPenStyle, kNullPen}, pParent)
{
}

CFOFillPropDlg::CFOFillPropDlg(CWnd* pParent)
    : CFOPropEditDlg(L"FOFILLPROPDLG", {kFillColor, kBrushType}, pParent)
{
}

CFOTextBulletDlg::CFOTextBulletDlg(CWnd* pParent)
    : CFOPropEditDlg(L"FOTEXTBULLETDLG",
                     {{FO_PROP_BULLET_TYPE, FO_ROW_CHOICE}, {FO_PROP_BULLET_COLOR, FO_ROW_COLOR}}, pParent)
{
}

// --- Position and size ---------------------------------------------------------------------------------

CFOPositionDlg::CFOPositionDlg(CWnd* pParent) : CDialog(L"FOPOSITIONDLG", pParent) {}

BOOL CFOPositionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIntField(*this, IDC_LEFT, m_rcShape.left);
    SetIntField(*this, IDC_TOP, m_rcShape.top);
    SetIntField(*this, IDC_WIDTH, m_rcShape.Width());
    SetIntField(*this, IDC_HEIGHT, m_rcShape.Height());
    return TRUE;
}

void CFOPositionDlg::OnOK()
{
    const int cx = std::max(1, int(m_sizePage.cx));
    const int cy = std::max(1, int(m_sizePage.cy));
    int left = 0, top = 0, width = 0, height = 0;
    if (!ReadIntField(*this, IDC_LEFT, 0, cx - 1, L"Left", left) ||
        !ReadIntField(*this, IDC_TOP, 0, cy - 1, L"Top", top) ||
        !ReadIntField(*this, IDC_WIDTH, 1, cx, L"Width", width) ||
        !ReadIntField(*this, IDC_HEIGHT, 1, cy, L"Height", height))
        return;
    m_rcShape = CRect(left, top, left + width, top + height);
    EndDialog(IDOK);
}

// --- Page -------------------------------------------------------------------------------------------------

CFOPageSetupDlg::CFOPageSetupDlg(CWnd* pParent) : CDialog(L"FOPAGESETUPDLG", pParent) {}

BOOL CFOPageSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIntField(*this, IDC_PAGE_WIDTH, m_sizePage.cx);
    SetIntField(*this, IDC_PAGE_HEIGHT, m_sizePage.cy);
    SetDlgItemText(IDC_BACK_COLOR, CFOPropEditDlg::FormatColor(m_crBack));
    SetDlgItemText(IDC_PAGE_COLOR, CFOPropEditDlg::FormatColor(m_crPage));
    CheckDlgButton(IDC_BORDER, m_bBorder ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CFOPageSetupDlg::OnOK()
{
    int width = 0, height = 0;
    COLORREF back = 0, page = 0;
    if (!ReadIntField(*this, IDC_PAGE_WIDTH, 1, 100000, L"Width", width) ||
        !ReadIntField(*this, IDC_PAGE_HEIGHT, 1, 100000, L"Height", height) ||
        !ReadColorField(*this, IDC_BACK_COLOR, L"Background colour", back) ||
        !ReadColorField(*this, IDC_PAGE_COLOR, L"Page colour", page))
        return;
    m_sizePage = CSize(width, height);
    m_crBack = back;
    m_crPage = page;
    m_bBorder = IsDlgButtonChecked(IDC_BORDER) == BST_CHECKED;
    EndDialog(IDOK);
}

// --- Layer ------------------------------------------------------------------------------------------------

CFOLayerDlg::CFOLayerDlg(CWnd* pParent) : CDialog(L"FOLAYERDLG", pParent) {}

BOOL CFOLayerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_TO_FRONT + std::clamp(m_nOrder, 0, 3), BST_CHECKED);
    return TRUE;
}

void CFOLayerDlg::OnOK()
{
    for (int i = 0; i < 4; ++i)
        if (IsDlgButtonChecked(IDC_TO_FRONT + i) == BST_CHECKED)
            m_nOrder = i;
    EndDialog(IDOK);
}

// --- Components -------------------------------------------------------------------------------------------

CFOComponentsDlg::CFOComponentsDlg(CWnd* pParent) : CDialog(L"FOCOMPONENTSDLG", pParent) {}

BOOL CFOComponentsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_SHAPE_LIST));
    if (!list)
        return TRUE;
    for (const CFODrawShape* shape : m_shapes)
    {
        CString line;
        line.Format(L"%s (%u)", shape->GetObjectName().GetString(), shape->GetType());
        list->AddString(line);
    }
    for (int i : m_chosen)
        list->SetSel(i, TRUE);
    return TRUE;
}

void CFOComponentsDlg::OnOK()
{
    m_chosen.clear();
    if (auto* list = static_cast<CListBox*>(GetDlgItem(IDC_SHAPE_LIST)))
    {
        const int n = list->GetSelCount();
        if (n > 0)
        {
            m_chosen.resize(size_t(n));
            list->GetSelItems(n, m_chosen.data());
        }
    }
    EndDialog(IDOK);
}
