// The operator's entry dialogs, all captioned "Enter new value": a number with a keypad
// (CAnalogEntryDlg), OFF or ON (CDigitalEntryDlg) and a text (CStringEntryDlg).
#pragma once

#include "mfc/Dialog.h"

class CAnalogEntryDlg : public CDialog
{
public:
    enum
    {
        IDD = 132
    };
    explicit CAnalogEntryDlg(CWnd* pParent = nullptr);

    // The number entered (0.0 at first; the edit starts with "0").
    double m_dValue = 0.0;
    // The edit's text as it was when "Enter" closed the dialog.
    CString m_strText;

    // The keypad's rules on a text with a selection [nSelStart, nSelEnd) (equal: none).
    static CString InsertText(const CString& strText, int nSelStart, int nSelEnd, const CString& strInsert);
    static CString ToggleSign(const CString& strText);
    static CString BackSpace(const CString& strText);
    // Whether the text is a whole number in the C library's sense: optional blanks, a sign, digits,
    // a '.' and digits, an exponent, and nothing after.
    static BOOL ParseNumber(const CString& strText, double& dValue);

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void Insert(const CString& strInsert, BOOL bFromButton);
    void SetEditText(const CString& strText);
    CString GetEditText() const;
};

class CDigitalEntryDlg : public CDialog
{
public:
    enum
    {
        IDD = 133
    };
    explicit CDigitalEntryDlg(CWnd* pParent = nullptr);

    // 0 OFF, 1 ON.
    int m_nState = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
};

class CStringEntryDlg : public CDialog
{
public:
    enum
    {
        IDD = 134
    };
    explicit CStringEntryDlg(CWnd* pParent = nullptr);

    CString m_strValue;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
