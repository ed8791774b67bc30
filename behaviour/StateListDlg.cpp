#include "behaviour/StateListDlg.h"

#include "figkit/FOGlobalData.h"
#include "mfc/Dc.h"
#include "mfc/ModalHook.h"
#include "mfc/Notify.h"
#include "mfc/WinApp.h"
#include "model/StateString.h"

#include <algorithm>
#include <utility>

namespace StateListText
{
std::vector<CStateListRow> Read(const CString& strText, StateListLevel level)
{
    std::vector<CStateListRow> rows;
    if (level == StateListLevel::Records)
    {
        for (const StateString::Record& r : StateString::SplitRecords(strText))
            rows.push_back({r.strKey, r.strBody, FALSE});
        // The split does not say which records lacked the "$": look at each piece again.
        int start = 0;
        for (CStateListRow& row : rows)
        {
            int end = strText.Find(L'@', start);
            if (end < 0)
                end = strText.GetLength();
            row.bAsRead = strText.Mid(start, end - start).Find(L'$') < 0;
            start = end + 1;
        }
        return rows;
    }
    for (const StateString::Item& item : StateString::SplitItems(strText))
        rows.push_back({item.strCode, item.strValue, FALSE});
    int start = 0;
    size_t next = 0;
    while (next < rows.size() && start <= strText.GetLength())
    {
        int end = strText.Find(L'#', start);
        if (end < 0)
            end = strText.GetLength();
        if (end > start)
            rows[next++].bAsRead = strText.Mid(start, end - start).Find(L',') < 0;
        start = end + 1;
    }
    return rows;
}

CString Write(const std::vector<CStateListRow>& rows, StateListLevel level)
{
    const wchar_t* join = level == StateListLevel::Records ? L"@" : L"#";
    const wchar_t* cut = level == StateListLevel::Records ? L"$" : L",";
    CString text;
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (i)
            text += join;
        if (!rows[i].bAsRead)
            text += rows[i].strKey + cut + rows[i].strBody;
        else if (level == StateListLevel::Records)
            text += rows[i].strBody;
        else
            text += rows[i].strKey;
    }
    return text;
}

int MoveSelected(std::vector<bool>& selected, BOOL bUp, const std::function<void(int, int)>& swap)
{
    const int n = int(selected.size());
    if (bUp)
    {
        for (int i = 1; i < n; ++i)
        {
            // The row above was either moved away or stayed blocked; only then is it selected.
            if (selected[size_t(i)] && !selected[size_t(i - 1)])
            {
                swap(i - 1, i);
                selected[size_t(i - 1)] = true;
                selected[size_t(i)] = false;
            }
        }
        for (int i = 0; i < n; ++i)
            if (selected[size_t(i)])
                return i;
        return -1;
    }
    for (int i = n - 2; i >= 0; --i)
    {
        if (selected[size_t(i)] && !selected[size_t(i + 1)])
        {
            swap(i, i + 1);
            selected[size_t(i + 1)] = true;
            selected[size_t(i)] = false;
        }
    }
    for (int i = n - 1; i >= 0; --i)
        if (selected[size_t(i)])
            return i;
    return -1;
}
} // namespace StateListText

BOOL ContainsKey(const std::vector<CString>& keys, const CString& strKey)
{
    return std::find(keys.begin(), keys.end(), strKey) != keys.end();
}

void RefuseWith(CDialog* pDlg, UINT nPrompt, int nIDFocus)
{
    AfxMessageBox(nPrompt, MB_ICONINFORMATION);
    if (CWnd* focus = pDlg->GetDlgItem(nIDFocus))
        pDlg->GotoDlgCtrl(focus);
}

BOOL RefuseSeparators(CDialog* pDlg, const CString& strName, const wchar_t* pszSeparators, UINT nPrompt,
                      int nIDFocus)
{
    for (const wchar_t* p = pszSeparators; *p; ++p)
    {
        if (strName.Find(*p) >= 0)
        {
            RefuseWith(pDlg, nPrompt, nIDFocus);
            return TRUE;
        }
    }
    return FALSE;
}

// --- The dialog ----------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CStateListDlg, CDialog)
ON_BN_CLICKED(1028, &CStateListDlg::OnUp)
ON_BN_CLICKED(1036, &CStateListDlg::OnDown)
ON_BN_CLICKED(1042, &CStateListDlg::OnRemove)
ON_BN_CLICKED(1047, &CStateListDlg::OnAll)
ON_BN_CLICKED(1045, &CStateListDlg::OnGenerate)
ON_BN_CLICKED(1041, &CStateListDlg::OnAdd)
ON_NOTIFY(NM_DBLCLK, 1043, &CStateListDlg::OnListDblClk)
END_MESSAGE_MAP()

CStateListDlg::CStateListDlg(UINT nIDTemplate, StateListLevel level, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_level(level)
{
}

void CStateListDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1043, m_List);
    DDX_Control(pDX, 1028, m_btnUp);
    DDX_Control(pDX, 1036, m_btnDown);
    DDX_Control(pDX, 1042, m_btnRemove);
    DDX_Control(pDX, 1047, m_btnAll);
    if (m_nAddImage)
        DDX_Control(pDX, 1041, m_btnAdd);
}

BOOL CStateListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWinApp* app = AfxGetApp())
        SetIcon(app->LoadIcon(106), FALSE);
    const std::pair<CFOImageButton*, UINT> images[] = {
        {&m_btnUp, 151}, {&m_btnDown, 152}, {&m_btnRemove, 150}, {&m_btnAll, 150}, {&m_btnAdd, m_nAddImage}};
    for (const auto& [button, image] : images)
    {
        if (!image || !button->GetSafeHwnd())
            continue;
        button->SetImage(image);
        button->SetHandCursor(28354);
    }
    m_ImageList.Create(16, 16, 0, 0, 4);
    m_List.SetImageList(&m_ImageList, LVSIL_SMALL);
    // The first column shows its whole heading, drawn in the list's default text font.
    const CDC measure;
    m_List.InsertColumn(0, m_pszColumn0, LVCFMT_LEFT,
                        std::max(100, int(measure.GetTextExtent(m_pszColumn0).cx) + 16));
    m_List.InsertColumn(1, m_pszColumn1, LVCFMT_LEFT, 280);
    m_List.SetExtendedStyle(m_List.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_strOpeningText = ListText();
    FillList();
    m_List.SetFocus();
    RebuildText();
    // The list has the focus.
    return FALSE;
}

void CStateListDlg::OnCancel()
{
    ListText() = m_strOpeningText;
    CDialog::OnCancel();
}

void CStateListDlg::FillList()
{
    m_List.DeleteAllItems();
    m_rows = StateListText::Read(ListText(), m_level);
    for (int i = 0; i < int(m_rows.size()); ++i)
    {
        m_List.InsertItem(i, m_rows[size_t(i)].strKey);
        m_List.SetItemText(i, 1, m_rows[size_t(i)].strBody);
    }
}

void CStateListDlg::ShowRow(int nRow)
{
    m_List.SetItemText(nRow, 0, Key(nRow));
    m_List.SetItemText(nRow, 1, Body(nRow));
}

std::vector<CString> CStateListDlg::GetKeys() const
{
    std::vector<CString> keys;
    keys.reserve(m_rows.size());
    for (const CStateListRow& row : m_rows)
        keys.push_back(row.strKey);
    return keys;
}

std::vector<int> CStateListDlg::GetSelectedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (m_List.GetItemState(i, LVIS_SELECTED))
            rows.push_back(i);
    return rows;
}

void CStateListDlg::RebuildText()
{
    CString& text = ListText();
    text = StateListText::Write(m_rows, m_level);
    if (CWnd* edit = GetDlgItem(1062))
        edit->SetWindowText(text);
}

int CStateListDlg::AppendRow(const CString& strKey, const CString& strBody)
{
    m_rows.push_back({strKey, strBody, FALSE});
    const int n = int(m_rows.size()) - 1;
    m_List.InsertItem(n, strKey);
    m_List.SetItemText(n, 1, strBody);
    return n;
}

void CStateListDlg::SetRow(int nRow, const CString& strKey, const CString& strBody)
{
    m_rows[size_t(nRow)] = {strKey, strBody, FALSE};
    ShowRow(nRow);
}

void CStateListDlg::DeleteRow(int nRow)
{
    m_rows.erase(m_rows.begin() + nRow);
    m_List.DeleteItem(nRow);
}

void CStateListDlg::SelectRow(int nRow, BOOL bSelect)
{
    m_List.SetItemState(nRow, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void CStateListDlg::Move(BOOL bUp)
{
    const int n = m_List.GetItemCount();
    std::vector<bool> selected(size_t(n), false);
    for (int i : GetSelectedRows())
        selected[size_t(i)] = true;
    const int shown = StateListText::MoveSelected(
        selected, bUp,
        [this](int a, int b)
        {
            std::swap(m_rows[size_t(a)], m_rows[size_t(b)]);
            ShowRow(a);
            ShowRow(b);
            const UINT stateA = m_List.GetItemState(a, LVIS_SELECTED | LVIS_FOCUSED);
            m_List.SetItemState(a, m_List.GetItemState(b, LVIS_SELECTED | LVIS_FOCUSED),
                                LVIS_SELECTED | LVIS_FOCUSED);
            m_List.SetItemState(b, stateA, LVIS_SELECTED | LVIS_FOCUSED);
        });
    if (shown >= 0)
        m_List.EnsureVisible(shown, FALSE);
    m_List.SetFocus();
    RebuildText();
}

void CStateListDlg::MoveUp()
{
    Move(TRUE);
}

void CStateListDlg::MoveDown()
{
    Move(FALSE);
}

void CStateListDlg::OnUp()
{
    MoveUp();
}

void CStateListDlg::OnDown()
{
    MoveDown();
}

void CStateListDlg::OnRemove()
{
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty())
        return;
    if (AfxMessageBox(m_nRemovePrompt, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteRow(rows.front());
    RebuildText();
}

void CStateListDlg::OnAll()
{
    if (AfxMessageBox(m_nAllPrompt, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_List.DeleteAllItems();
    m_rows.clear();
    RebuildText();
}

void CStateListDlg::OnGenerate()
{
    RebuildText();
}

void CStateListDlg::OnAdd()
{
    AddRow();
}

void CStateListDlg::EditSelected()
{
    for (int row : GetSelectedRows())
        EditRow(row);
    RebuildText();
}

void CStateListDlg::OnListDblClk(NMHDR*, LRESULT* pResult)
{
    EditSelected();
    if (pResult)
        *pResult = 0;
}

// --- Record lists --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CRecordListDlg, CStateListDlg)
ON_CONTROL(EN_KILLFOCUS, 1072, &CRecordListDlg::OnLimitKillFocus)
ON_CONTROL(EN_KILLFOCUS, 1119, &CRecordListDlg::OnLimitKillFocus)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CRecordListDlg::CRecordListDlg(UINT nIDTemplate, CWnd* pParent)
    : CStateListDlg(nIDTemplate, StateListLevel::Records, pParent)
{
}

CRecordListDlg::~CRecordListDlg()
{
    m_listChildShapes.RemoveAll();
}

void CRecordListDlg::DoDataExchange(CDataExchange* pDX)
{
    CStateListDlg::DoDataExchange(pDX);
    if (m_bLimits)
    {
        DDX_Text(pDX, 1072, m_dMin);
        DDX_Text(pDX, 1119, m_dMax);
    }
}

void CRecordListDlg::OnLimitKillFocus()
{
    UpdateData(TRUE);
}

void CRecordListDlg::OnOK()
{
    RebuildText();
    // The framework's number check of the limits keeps the dialog open on a bad text.
    CStateListDlg::OnOK();
}

void CRecordListDlg::OnDestroy()
{
    m_listChildShapes.RemoveAll();
    FO_GLOBAL::FreeObjectCache();
    CStateListDlg::OnDestroy();
}
