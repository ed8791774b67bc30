// The hide-shapes editors of a state: which of a composite's child shapes the state hides.
// CAddNewStateDlg makes a new item, CEditStateDlg changes one; both move names between "All the
// shapes:" and "Hide shapes:" and preview the selected child shape. One child always stays shown.
#pragma once

#include "behaviour/PreviewSample.h"
#include "editor/ExtBmpListBox.h"
#include "mfc/Collections.h"
#include "mfc/Dialog.h"

class CFOTypedShapeObList;

#define IDD_HIDE_STATE 181
#define IDC_HIDE_CODE 1035
#define IDC_HIDE_ALL 1034
#define IDC_HIDE_HIDDEN 1038
#define IDC_HIDE_MOVE 1039
#define IDC_HIDE_BACK 1040
#define IDC_HIDE_PREVIEW 1061
#define IDS_HIDE_LAST_SHOWN 32888

class CAddNewStateDlg : public CDialog
{
public:
    explicit CAddNewStateDlg(CWnd* pParent = nullptr);
    ~CAddNewStateDlg() override;

    CString m_strCode;
    CString m_strValue;
    CStringArray m_arShapes;
    // Not owned.
    const CFOTypedShapeObList* m_pShapes = nullptr;

    CPreviewSample& GetPreview() { return m_wndPreview; }

    afx_msg void OnHide();
    afx_msg void OnShow();
    afx_msg void OnSelChangeAll();
    afx_msg void OnSelChangeHidden();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    // Fills the two lists.
    virtual void FillLists();
    // Moves the selected name of one list into the other and selects it there.
    void MoveSelected(GWExtBmpListBox& from, GWExtBmpListBox& to);
    // Shows the child shape whose key 1 is the list's selected name; none keeps the picture.
    void PreviewSelected(const GWExtBmpListBox& list);

    GWExtBmpListBox m_lbAll;
    GWExtBmpListBox m_lbHidden;
    CPreviewSample m_wndPreview;

    DECLARE_MESSAGE_MAP()
};

class CEditStateDlg : public CAddNewStateDlg
{
public:
    explicit CEditStateDlg(CWnd* pParent = nullptr) : CAddNewStateDlg(pParent) {}

protected:
    BOOL OnInitDialog() override;
    void FillLists() override;
};
