// The lines of a real-time chart: the builder lists them with the chart's value range
// (CRealTimeSetDlg), and one line is edited in CRealTimeSubDlg. A line is the record
// "id$colour,minimum,maximum,id,parameter" of the chart's line text.
#pragma once

#include "behaviour/StateColorDlg.h"
#include "behaviour/StateListDlg.h"
#include "mfc/Collections.h"

class CWorkSpaceObj;

#define IDD_REALTIME_SET 218
#define IDD_REALTIME_SUB 219

#define IDS_LINE_REMOVE_ITEM 32870
#define IDS_LINE_REMOVE_ALL 32871
#define IDS_LINE_ID_SEPARATOR 32961
#define IDS_LINE_ID_USED 32962
#define IDS_LINE_PARAM_SEPARATOR 47000

class CRealTimeSubDlg : public CDialog
{
public:
    explicit CRealTimeSubDlg(CWnd* pParent = nullptr);

    CString m_strId = L"Chart";
    double m_dMax = 100.0;
    double m_dMin = 0.0;
    CString m_strParam;
    COLORREF m_crColor = RGB(255, 0, 0);
    // In when editing, out on OK: colour, minimum, maximum, id and parameter joined by ",".
    CString m_strBody = L"LINE_0";
    BOOL m_bEdit = FALSE;
    // The ids of the chart's other lines; a line id answers to one line only.
    CStringArray m_arUsedIds;
    // The project's variables, for "..."; the editor's own when not set.
    CWorkSpaceObj* m_pWorkSpace = nullptr;
    FOPDropDownColorPickerButton m_btnColor;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowseParam();

protected:
    CString m_strOpeningId;

    DECLARE_MESSAGE_MAP()
};

class CRealTimeSetDlg : public CRecordListDlg
{
public:
    explicit CRealTimeSetDlg(CWnd* pParent = nullptr);

    // In and out: the line text (and the chart's value range in the limits).
    CString m_strLines;
    CWorkSpaceObj* m_pWorkSpace = nullptr;

protected:
    CString& ListText() override { return m_strLines; }
    void AddRow() override;
    void EditRow(int nRow) override;
    // The ids of every row but one (-1: all).
    void UsedIds(int nExcept, CStringArray& ids) const;
};
