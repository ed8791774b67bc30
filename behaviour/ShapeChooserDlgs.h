// Pickers that choose one name from a list: an entry of a caller's list of pairs
// (MBEventEditDlg2), a shape of the current screen by object name (CMBEventEditDlg7), the shape a
// move-path shape animates by key 1 (CMBCustomMoveDlg) and the shape a test value goes to (CMyTestDlg).
// Each preselects its value only when an entry equals it exactly.
#pragma once

#include "editor/ExtBmpListBox.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"

#include <utility>
#include <vector>

class CFODataModel;

#define IDD_STATE_CHOOSE 188
#define IDD_SHAPES_LIST 63
#define IDD_CUSTOM_MOVE 2
#define IDD_VALUE_TEST 215
#define IDC_CHOOSER_LIST 1090
#define IDC_SHAPE_COMBO 1121
#define IDC_TEST_VALUE 1129
#define IDC_TEST_TEXT 1120
#define IDS_TEST_NO_SHAPE 32866

// The list pickers' shape: a bitmap list on 1090 and the value, preselected and chosen.
class CListPickerDlg : public CDialog
{
public:
    CListPickerDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

    CString m_strValue;
    GWExtBmpListBox m_List;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Fills the list (after it was emptied).
    virtual void FillList() = 0;
};

// "Assign New State": the names of the caller's (name, value) pairs.
class MBEventEditDlg2 : public CListPickerDlg
{
public:
    explicit MBEventEditDlg2(CWnd* pParent = nullptr) : CListPickerDlg(IDD_STATE_CHOOSE, pParent) {}

    std::vector<std::pair<CString, CString>> m_pairs;

protected:
    void FillList() override;
};

// "Shapes List": the object names of the screen's shapes, the last shape first.
class CMBEventEditDlg7 : public CListPickerDlg
{
public:
    explicit CMBEventEditDlg7(CWnd* pParent = nullptr) : CListPickerDlg(IDD_SHAPES_LIST, pParent) {}

    // The screen listed; null: the active design view's.
    CFODataModel* m_pModel = nullptr;

protected:
    void FillList() override;
};

// The keys 1 of the screen's shapes in combo 1121, in model order, skipping the type given.
class CShapeKeyDlg : public CDialog
{
public:
    CShapeKeyDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

    CString m_strKey;
    CFODataModel* m_pModel = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The selected entry's text into the key (kept when nothing is selected).
    void TakeSelection();
    virtual int SkippedType() const { return -1; }

    CComboBox m_combo;
};

// "Custom Animations": the shape a move-path or scale-reference shape animates.
class CMBCustomMoveDlg : public CShapeKeyDlg
{
public:
    explicit CMBCustomMoveDlg(CWnd* pParent = nullptr) : CShapeKeyDlg(IDD_CUSTOM_MOVE, pParent) {}

protected:
    // Move-path shapes do not move one another.
    int SkippedType() const override { return 285; }
    void OnOK() override;
};

// "Test": a value tried on a shape chosen by key 1.
class CMyTestDlg : public CShapeKeyDlg
{
public:
    explicit CMyTestDlg(CWnd* pParent = nullptr) : CShapeKeyDlg(IDD_VALUE_TEST, pParent) {}

    double m_dValue = 0.0;
    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
