// "Open page": chooses a page file of the toolbox folder that is not open yet, with a preview of
// the chosen page; it also imports a page file from elsewhere and deletes page files.
#pragma once

#include "mfc/Dialog.h"

#include <memory>
#include <vector>

class CMyToolBoxWnd;

#define IDD_OPEN_TOOLBOX_PAGE 108
#define IDC_PAGE_FILE_LIST 1065
#define IDC_PAGE_DELETE 1015
#define IDC_PAGE_IMPORT 1014
#define IDC_PAGE_INFO 1110
#define IDC_PAGE_PREVIEW 1000

class CNewOpenPageDlg : public CDialog
{
public:
    // pToolBox: the toolbox whose folder and name rules the dialog uses.
    explicit CNewOpenPageDlg(const CMyToolBoxWnd* pToolBox, CWnd* pParent = nullptr);
    ~CNewOpenPageDlg() override;

    // Filled by the caller: the captions of the open pages, lower-cased and trimmed.
    std::vector<CString> m_arOpenCaptions;
    // After OK: the chosen page's name, without ".trs".
    CString m_strChosen;

    // Fills the list with the page files of the folder that are not open, sorted by name.
    void FillList();
    // Shows the selected file's times and its preview.
    void ShowSelected();
    CMyToolBoxWnd* GetPreview() const { return m_pPreview.get(); }
    // The file list (null before the dialog is made) and its selected name (empty when none).
    CListBox* GetList();
    CString GetSelectedName();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnSelChange();
    afx_msg void OnDeleteFile();
    afx_msg void OnImportFile();
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;

    CListBox m_list;
    const CMyToolBoxWnd* m_pToolBox;
    std::unique_ptr<CMyToolBoxWnd> m_pPreview;
    BOOL m_bInitialized = FALSE;

    DECLARE_MESSAGE_MAP()
};
