// "Visibility Expert": the condition under which a shape hides when its value changes, kept as the
// text "<operator index>,<value>" (no decimals), with an on/off switch.
#pragma once

#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"

#define IDD_VISIBLE_EXPERT 120
#define IDC_VISIBLE_ENABLE 1228
#define IDC_VISIBLE_OPERATOR 1122
#define IDC_VISIBLE_VALUE 1229

class CVisibleExpertDlg : public CDialog
{
public:
    explicit CVisibleExpertDlg(CWnd* pParent = nullptr);

    BOOL m_bEnable = FALSE;
    int m_nOperator = 0;
    double m_dValue = 0.0;
    CString m_strCondition = L"0,0";

    // The condition text of an operator index and a value.
    static CString FormatCondition(int nOperator, double dValue);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CComboBox m_operators;
};
