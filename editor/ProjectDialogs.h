// The project's settings, build, HTML output and save-as-template dialogs, the folder chooser and
// the chooser of a project's screen or script file.
#pragma once

#include "editor/ExtBmpListBox.h"
#include "figkit/FOPDropDownColorPickerButton.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"
#include "mfc/SpinButtonCtrl.h"

#define IDD_PROJECT_SET 117
#define IDD_MB_BUILD 180
#define IDD_OUTPUT 104
#define IDD_SAVE_AS_TEMPLATE 62
#define IDD_SCRIPT_CHOOSE 188

// The shell's folder browser, through the modal hook.
class CDirDialog
{
public:
    CDirDialog() = default;
    virtual ~CDirDialog() = default;

    // TRUE when a folder was chosen; its path is then in m_strPath (without a trailing '/').
    BOOL DoBrowse(CWnd* pParent = nullptr);
    // Told of every selection; the result enables OK. The base accepts every folder.
    virtual BOOL SelChanged(const CString& strPath, CString& strStatusText)
    {
        (void)strPath;
        strStatusText.Empty();
        return TRUE;
    }

    CString m_strWindowTitle;
    CString m_strPath;
    CString m_strInitRoot;
    CString m_strSelDir;
    CString m_strTitle;
    int m_iImageIndex = 0;
    BOOL m_bStatus = FALSE;
};

// "Path setting..." chooser starting at a folder (the current folder when empty); the chosen folder
// with a trailing '/', or empty when cancelled.
CString ChooseFolderWithSlash(CWnd* pParent, const CString& strTitle, const CString& strStart);

class CProjectSetDlg : public CDialog
{
public:
    explicit CProjectSetDlg(CWnd* pParent = nullptr);

    BOOL m_bShowRuler = TRUE;
    BOOL m_bShowPageShadow = FALSE;
    int m_nCanvasWidth = 1000;
    int m_nCanvasHeight = 1000;
    CString m_strMainScreen;
    BOOL m_bShowCloseBox = FALSE;
    BOOL m_bShowHelpBox = FALSE;
    BOOL m_bShowMaxBox = FALSE;
    BOOL m_bShowMinBox = FALSE;
    BOOL m_bShowTitleBar = FALSE;
    CString m_strCaption = L"New Project";
    BOOL m_bShow3DBorder = FALSE;
    int m_nWindowHeight = 600;
    int m_nWindowWidth = 800;
    BOOL m_bFullScreen = FALSE;
    BOOL m_bAlwaysOnTop = TRUE;
    COLORREF m_crBack = 0xFFFFFF;
    COLORREF m_crPageBack = 0xFFFFFF;
    // The project folder the main-screen chooser lists.
    CString m_strProjectFolder;

    // The quick sizes offered, in their order.
    static const SIZE kQuickSizes[8];

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnQuickSetting();
    afx_msg void OnChooseMainScreen();

    CComboBox m_cbQuick;
    CSpinButtonCtrl m_spinWidth;
    CSpinButtonCtrl m_spinHeight;
    FOPDropDownColorPickerButton m_btnBack;
    FOPDropDownColorPickerButton m_btnPageBack;

protected:
    DECLARE_MESSAGE_MAP()
};

class CMBBuildDlg : public CDialog
{
public:
    explicit CMBBuildDlg(CWnd* pParent = nullptr);

    CString m_strExeName = L"myplay.exe";
    CString m_strLocation = L"C:\\Temp";

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowse();

protected:
    DECLARE_MESSAGE_MAP()
};

class COutputDlg : public CDialog
{
public:
    explicit COutputDlg(CWnd* pParent = nullptr);

    CString m_strPath = L"c:\\temp\\";

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnBrowse();

protected:
    DECLARE_MESSAGE_MAP()
};

// Saves the open project as a new template folder (named after the template) in the template
// folder; the template name must be a valid project name, and a failed copy removes the folder.
class CSVSaveAsTemplateDlg : public CDialog
{
public:
    explicit CSVSaveAsTemplateDlg(CWnd* pParent = nullptr);

    CString m_strName = L"Name";
    // Set by the caller: the template folder, the open project's folder and its file name.
    CString m_strTemplateFolder;
    CString m_strProjectFolder;
    CString m_strProjectFile;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

// Chooses a screen (".xdg") or script (".uscp") file of the project.
class MBScriptChooseDlg : public CDialog
{
public:
    explicit MBScriptChooseDlg(CWnd* pParent = nullptr);

    CString m_strValue;
    BOOL m_bListScreens = TRUE;
    BOOL m_bListScripts = TRUE;
    // The open project's folder; empty when none is open.
    CString m_strProjectFolder;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    GWExtBmpListBox m_List;

private:
    void AddFiles(const CString& strFolder, LPCWSTR lpszExt);
};
