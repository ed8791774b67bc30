// What the list editors of a shape's behaviour share: a two-column report list filled from a text
// (records "key$body" joined by "@", or action items "code,value" joined by "#"), rebuilt into it
// after every change, rows moved up and down as blocks, one row removed or all of them, and the
// Up/Down/Remove/All image buttons.
//
// A record read without its "$" (the names-only state strings the library's own shapes set) and an
// item read without its "," are written back exactly as read until a dialog rewrites the row, so a
// text passed through untouched comes back unchanged.
#pragma once

#include "figkit/FOShapeSet.h"
#include "mfc/ButtonCtl.h"
#include "figkit/FOImageButton.h"
#include "mfc/Collections.h"
#include "mfc/Dialog.h"
#include "mfc/ImageList.h"
#include "mfc/ListCtrl.h"

#include <functional>
#include <vector>

enum class StateListLevel
{
    // "@"-separated records, each cut at its first "$".
    Records,
    // "#"-separated action items, each cut at its first ","; empty items are skipped.
    Items,
};

struct CStateListRow
{
    // The record key or the item code (column 0).
    CString strKey;
    // The record body or the item value (column 1).
    CString strBody;
    // Read without its separator: written back as it was read.
    BOOL bAsRead = FALSE;
};

namespace StateListText
{
std::vector<CStateListRow> Read(const CString& strText, StateListLevel level);
CString Write(const std::vector<CStateListRow>& rows, StateListLevel level);

// Moves every selected row one place up (or down) unless it and all rows before it in that
// direction are selected; swap(a, b) exchanges two neighbouring rows, their selection included, and
// `selected` follows. Returns the row to scroll into view (the first selected after Up, the last
// after Down), -1 when nothing is selected.
int MoveSelected(std::vector<bool>& selected, BOOL bUp, const std::function<void(int, int)>& swap);
} // namespace StateListText

class CStateListDlg : public CDialog
{
public:
    CStateListDlg(UINT nIDTemplate, StateListLevel level, CWnd* pParent);

    // Empties the list and fills it from the text.
    void FillList();
    // Writes the rows back into the text (and edit 1062 where the dialog has one).
    void RebuildText();

    const std::vector<CStateListRow>& GetRows() const { return m_rows; }
    const CString& Key(int nRow) const { return m_rows[size_t(nRow)].strKey; }
    const CString& Body(int nRow) const { return m_rows[size_t(nRow)].strBody; }
    std::vector<int> GetSelectedRows() const;
    // Column 0 of every row: the keys in use.
    std::vector<CString> GetKeys() const;
    int AppendRow(const CString& strKey, const CString& strBody);
    // Rewrites a row as a dialog gave it: from now on it is written with its separator.
    void SetRow(int nRow, const CString& strKey, const CString& strBody);
    void SelectRow(int nRow, BOOL bSelect = TRUE);

    // The buttons' work, callable as the buttons call it.
    void MoveUp();
    void MoveDown();
    void EditSelected();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The text goes back to what it was when the dialog opened.
    void OnCancel() override;
    afx_msg void OnUp();
    afx_msg void OnDown();
    afx_msg void OnRemove();
    afx_msg void OnAll();
    afx_msg void OnGenerate();
    afx_msg void OnAdd();
    afx_msg void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);

    CListCtrl m_List;
    CFOImageButton m_btnUp;
    CFOImageButton m_btnDown;
    CFOImageButton m_btnRemove;
    CFOImageButton m_btnAll;
    // The list editors' Add (1041); the record dialogs' 1041 is a plain button.
    CFOImageButton m_btnAdd;
    CImageList m_ImageList;

protected:
    // The text the list is filled from and rebuilt into.
    virtual CString& ListText() = 0;
    // The Add button (1041).
    virtual void AddRow() {}
    // Opens the row's dialog; the row is rewritten there on OK.
    virtual void EditRow(int nRow) { (void)nRow; }

    void Move(BOOL bUp);
    void DeleteRow(int nRow);
    void ShowRow(int nRow);

    StateListLevel m_level;
    CString m_strOpeningText;
    // The rows as the list shows them, texts whole (the list control is only their picture).
    std::vector<CStateListRow> m_rows;
    const wchar_t* m_pszColumn0 = L"Quick Option Item";
    const wchar_t* m_pszColumn1 = L"Option Script Text";
    // The Add button's image; 0: the dialog's 1041 is not an image button.
    UINT m_nAddImage = 0;
    // The questions of Remove and All.
    UINT m_nRemovePrompt = 0;
    UINT m_nAllPrompt = 0;

    DECLARE_MESSAGE_MAP()
};

// The records of a text, as the list editors show them, with edit 1062 showing the text; the
// shapes the record dialogs offer; and, for the value and chart editors, the value limits in the
// edits 1072 and 1119.
class CRecordListDlg : public CStateListDlg
{
public:
    CRecordListDlg(UINT nIDTemplate, CWnd* pParent);
    ~CRecordListDlg() override;

    // The keys 1 of the shape's children (or its own), and the shapes (not owned).
    CStringArray m_arChildNames;
    CFOTypedShapeObList m_listChildShapes;
    double m_dMin = 0.0;
    double m_dMax = 100.0;

    void DoDataExchange(CDataExchange* pDX) override;
    // The list is the text; what was typed into edit 1062 is not read back.
    void OnOK() override;
    // A limit edit that loses the focus hands its value to the next record dialog.
    afx_msg void OnLimitKillFocus();
    afx_msg void OnDestroy() override;

protected:
    BOOL m_bLimits = FALSE;

    DECLARE_MESSAGE_MAP()
};

// Whether a name holds one of the given separators; when it does, shows the message and focuses
// the control. Names are not escaped, so such a name would not read back whole.
BOOL RefuseSeparators(CDialog* pDlg, const CString& strName, const wchar_t* pszSeparators, UINT nPrompt,
                      int nIDFocus);
// Shows the message with the information icon and focuses the control.
void RefuseWith(CDialog* pDlg, UINT nPrompt, int nIDFocus);
BOOL ContainsKey(const std::vector<CString>& keys, const CString& strKey);
