// The new-project wizard: a template choice with the project's name and folder, the default screen
// size, ruler and colour, and the author's texts. It only collects and checks; the caller makes
// the project from Values() after the wizard ends with Finish.
#pragma once

#include "editor/ProjectServices.h"
#include "figkit/FOPDropDownColorPickerButton.h"
#include "foundation/NewWizDialog.h"
#include "mfc/ListCtrl.h"
#include "mfc/SpinButtonCtrl.h"

#define IDD_NEW_PROJECT 3
#define IDD_NEW_PROJECT_PAGE0 212
#define IDD_NEW_PROJECT_PAGE1 213
#define IDD_NEW_PROJECT_PAGE3 154
#define NEW_PROJECT_EMPTY 100
#define NEW_PROJECT_TEMPLATE 200

class CNewProjectMain;

class CNewProjectPage0 : public CNewWizPage
{
public:
    explicit CNewProjectPage0(CNewWizDialog* pWizard);

    CString m_strLocation;
    CString m_strProjectName;
    int m_nTemplateKind = NEW_PROJECT_EMPTY;
    CString m_strTemplate;
    // The chosen template's ".dcp" (the entry's second column), set on Next.
    CString m_strTemplatePath;
    // Where the templates and the default location lie (the install root's folders).
    CString m_strTemplateFolder;
    CString m_strUserFolder;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnWizardNext() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The label under the name: "Path:" with the location and name, as it is shown.
    static CString PathLabel(const CString& strLocation, const CString& strName);

    afx_msg void OnNameChanged();
    afx_msg void OnTemplateClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTemplateDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBrowse();

    CListCtrl m_List;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void FillTemplates();
    // Focuses the control and shows the message; -1, the wizard stays.
    LRESULT Refuse(int nIDFocus, UINT nIDMessage);
};

class CNewProjectPage1 : public CNewWizPage
{
public:
    explicit CNewProjectPage1(CNewWizDialog* pWizard);

    int m_nWidth = 1000;
    int m_nHeight = 1000;
    BOOL m_bRuler = TRUE;
    COLORREF m_crBack = 0xFFFFFF;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnWizardNext() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CSpinButtonCtrl m_spinWidth;
    CSpinButtonCtrl m_spinHeight;
    // "Default Back Color": its palette and "More Colors..." choose the screens' colour.
    FOPDropDownColorPickerButton m_btnColor;
};

class CNewProjectPage3 : public CNewWizPage
{
public:
    explicit CNewProjectPage3(CNewWizDialog* pWizard);

    CString m_strDescription = L" ";
    CString m_strAuthor;
    CString m_strDepartment;
    CString m_strEMail = L"mailto:";
    CString m_strURL = L"http://";
    CString m_strCompany;
    CString m_strCopyright;
    int m_nWizardValue = 0;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSetActive() override;
    BOOL OnWizardFinish() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
};

class CNewProjectMain : public CNewWizDialog
{
public:
    explicit CNewProjectMain(CWnd* pParent = nullptr);

    int m_nWizardValue = 1000;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The wizard with its three pages, added in their order.
class CNewProjectWizard
{
public:
    CNewProjectWizard(const CString& strTemplateFolder, const CString& strUserFolder,
                      CWnd* pParent = nullptr);

    // TRUE when the wizard ended with Finish.
    BOOL Run();
    CNewProjectValues Values() const;

    CNewProjectMain m_main;
    CNewProjectPage0 m_page0;
    CNewProjectPage1 m_page1;
    CNewProjectPage3 m_page3;
};
