// Dialogs from the dialog templates of the resource chain. The dialog is a QDialog (a plain child
// widget for WS_CHILD templates) holding one control per template line, each a window with its id,
// so GetDlgItem works. The dialog shows the template's font, and its dialog units are a quarter of
// that font's average character width across and an eighth of its height down.
//
// DoModal creates the dialog, runs OnInitDialog and goes through the modal hook (ModalHook.h); the
// dialog is destroyed again before DoModal returns the result given to EndDialog.
#pragma once

#include "mfc/Controls.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"

// The exchange between a dialog's controls and its members (UpdateData, DoDataExchange).
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // The control's handle; a missing control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange: UpdateData returns FALSE and the focus goes to the last control.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Numbers: a text that is not one shows a message box and fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// The text of the list box's selected line; on the way in, selects the first line that begins with
// the text (an empty text: the first line).
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// Range checks after the exchange of a number: out of range shows the range message and fails.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
// Binds a member control object to the dialog's control (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class QFont;

// The font a template's controls show: the face it names (the faces of the interface font stand for
// this desktop's interface font, and so does a template without a font) at its point size.
QFont AfxGetDialogFont(const AFX_DLG_TEMPLATE& tmpl);
// A font's dialog base units in pixels: the average width of the letters A-Z and a-z, and the height.
CSize AfxGetDialogBaseUnits(const QFont& font);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the template is missing or the dialog
    // cannot be made.
    virtual INT_PTR DoModal();
    using CWnd::Create;
    // A modeless dialog.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    void MapDialogRect(LPRECT lpRect) const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

    LPCWSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    BOOL CreateFromTemplate(const AFX_DLG_TEMPLATE& tmpl, CWnd* pParentWnd);
    // The template DoModal and Create make the dialog from; dialogs of the framework may carry their own.
    virtual const AFX_DLG_TEMPLATE* FindTemplate() const;
    // Dialog units to pixels in the base units of the dialog's font.
    int DluX(int x) const;
    int DluY(int y) const;

    CString m_strTemplateName;
    CSize m_sizeBaseUnits; // of the dialog's font, once created
    int m_nModalResult = -1;
    BOOL m_bEnded = FALSE;

    DECLARE_MESSAGE_MAP()
};
