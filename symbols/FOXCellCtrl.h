// The in-place cell editors of the data grid: one interface (CFOXCellCtrl) over an edit box, a
// button used as a check box, and an owner-painted combo box. Every editor hands the grid's
// navigation keys back to the grid window as WM_KEYDOWN.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dc.h"
#include "mfc/EditCtl.h"

// The focus-frame entries of a grid's colour scheme: back colour, frame colour, solid flag.
struct FOXFocusFrame
{
    COLORREF crBack = 0;
    COLORREF crFrame = 0;
    int nSolid = 1;
};

// A cell value: a text and its item data (a check state, a combo entry's data, or -1).
struct FOXCellValue
{
    CString strText;
    DWORD_PTR dwData = DWORD_PTR(-1);
};

class CFOXCellCtrl
{
public:
    CFOXCellCtrl() = default;
    virtual ~CFOXCellCtrl() = default;
    CFOXCellCtrl(const CFOXCellCtrl&) = delete;
    CFOXCellCtrl& operator=(const CFOXCellCtrl&) = delete;

    virtual void OnClick(UINT nFlags, int x, int y) { (void)nFlags, (void)x, (void)y; }
    virtual void SetFont(CFont* pFont, BOOL bRedraw) { (void)pFont, (void)bRedraw; }
    virtual void SetModify(BOOL bModified) { (void)bModified; }
    virtual BOOL Enable(BOOL bEnable)
    {
        (void)bEnable;
        return TRUE;
    }
    virtual BOOL Create(DWORD dwStyle, CWnd* pParent, UINT nID)
    {
        (void)dwStyle, (void)pParent, (void)nID;
        return TRUE;
    }
    virtual BOOL Show(int x, int y, int cx, int cy)
    {
        (void)x, (void)y, (void)cx, (void)cy;
        return TRUE;
    }
    virtual BOOL Hide() { return TRUE; }
    virtual void SetValue(const CString& strText, DWORD_PTR dwData)
    {
        m_value.strText = strText;
        m_value.dwData = dwData;
    }
    virtual FOXCellValue GetValue() { return m_value; }
    virtual BOOL IsModified() { return FALSE; }
    virtual BOOL CanCommit() { return TRUE; }
    virtual BOOL Destroy() { return TRUE; }
    virtual BOOL IsEnabled() { return FALSE; }
    virtual BOOL CanCut() { return FALSE; }
    virtual BOOL CanCopy() { return FALSE; }
    virtual BOOL CanPaste() { return FALSE; }
    virtual BOOL CanUndo() { return FALSE; }
    virtual void Cut() {}
    virtual void Copy() {}
    virtual void Paste() {}
    virtual void Undo() {}

    // The editor's window, null for the plain interface.
    virtual CWnd* GetCtrlWnd() { return nullptr; }

    // The grid's focus-frame entries (not owned).
    const FOXFocusFrame* m_pFocusFrame = nullptr;

protected:
    FOXCellValue m_value;
};

// Bit of an edit box's style that keeps Home and End in the box (it is not an edit style).
#define FOX_ES_KEEPHOMEEND 0x8000

class CFOXEditCtrl : public CEdit, public CFOXCellCtrl
{
    DECLARE_DYNAMIC(CFOXEditCtrl)
public:
    CFOXEditCtrl() = default;
    void SetFont(CFont* pFont, BOOL bRedraw) override;
    void SetModify(BOOL bModified) override;
    BOOL Enable(BOOL bEnable) override;
    using CEdit::Create;
    BOOL Create(DWORD dwStyle, CWnd* pParent, UINT nID) override;
    BOOL Show(int x, int y, int cx, int cy) override;
    BOOL Hide() override;
    void SetValue(const CString& strText, DWORD_PTR dwData) override;
    FOXCellValue GetValue() override;
    BOOL IsModified() override;
    BOOL Destroy() override;
    BOOL IsEnabled() override;
    BOOL CanCut() override;
    BOOL CanCopy() override;
    BOOL CanPaste() override;
    BOOL CanUndo() override;
    void Cut() override { CEdit::Cut(); }
    void Copy() override { CEdit::Copy(); }
    void Paste() override { CEdit::Paste(); }
    void Undo() override { CEdit::Undo(); }
    CWnd* GetCtrlWnd() override { return this; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
};

class CFOXButtonCtrl : public CButton, public CFOXCellCtrl
{
    DECLARE_DYNAMIC(CFOXButtonCtrl)
public:
    CFOXButtonCtrl();
    void OnClick(UINT nFlags, int x, int y) override;
    void SetFont(CFont* pFont, BOOL bRedraw) override;
    void SetModify(BOOL bModified) override;
    BOOL Enable(BOOL bEnable) override;
    using CButton::Create;
    BOOL Create(DWORD dwStyle, CWnd* pParent, UINT nID) override;
    BOOL Show(int x, int y, int cx, int cy) override;
    BOOL Hide() override;
    void SetValue(const CString& strText, DWORD_PTR dwData) override;
    FOXCellValue GetValue() override;
    BOOL IsModified() override;
    BOOL CanCommit() override;
    BOOL Destroy() override;
    BOOL IsEnabled() override;
    CWnd* GetCtrlWnd() override { return this; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    CBrush m_brBack;
    BYTE m_nCheck = 0;
};

class CFOXComboBoxCtrl : public CComboBox, public CFOXCellCtrl
{
    DECLARE_DYNAMIC(CFOXComboBoxCtrl)
public:
    CFOXComboBoxCtrl() = default;
    void SetFont(CFont* pFont, BOOL bRedraw) override;
    void SetModify(BOOL bModified) override;
    BOOL Enable(BOOL bEnable) override;
    using CComboBox::Create;
    BOOL Create(DWORD dwStyle, CWnd* pParent, UINT nID) override;
    BOOL Show(int x, int y, int cx, int cy) override;
    BOOL Hide() override;
    void SetValue(const CString& strText, DWORD_PTR dwData) override;
    FOXCellValue GetValue() override;
    BOOL IsModified() override;
    BOOL Destroy() override;
    BOOL IsEnabled() override;
    BOOL CanCut() override;
    BOOL CanCopy() override;
    BOOL CanPaste() override;
    BOOL CanUndo() override;
    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Undo() override;
    CWnd* GetCtrlWnd() override { return this; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws the selection field as the grid shows it: focus frame, background, entry text and drop
    // button.
    void PaintField(CDC* pDC);
    int GetItemHeight() const { return m_nItemHeight; }

    // Puts a text on the clipboard as CF_UNICODETEXT; 0 when the clipboard cannot be taken.
    static BOOL CopyTextToClipboard(const CString& strText);

protected:
    CFont m_font;
    int m_nItemHeight = 0;
    CString m_strRemembered;
};
