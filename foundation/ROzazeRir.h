// The application base of all three programs: starts the common services in a fixed order and
// tears them down at exit.
#pragma once

#include "foundation/WorkSpacePtr.h"
#include "mfc/WinApp.h"

#include <memory>
#include <string>

class CLanguageSelect;
class COptionsMgr;
class CLogFile;
class CStatusBar;
class CCmdUI;

class ROzazeRir : public CWinAppEx
{
public:
    ROzazeRir(UINT id1, UINT id2, LPCWSTR languageLibrary);
    ~ROzazeRir() override;

    virtual void UpdateResources() {}
    virtual BOOL GetToolboxEnable() { return FALSE; }
    virtual BOOL GetExtToolsEnable() { return FALSE; }
    virtual BOOL GetPropertyEditorEnable() { return FALSE; }
    virtual BOOL GetParameterManagerEnable() { return FALSE; }
    virtual BOOL GetScriptEnable() { return FALSE; }
    virtual BOOL GetActiveXToolsEnable() { return FALSE; }
    virtual BOOL GetMultiLanguageEnable() { return FALSE; }

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    int DoMessageBox(LPCWSTR prompt, UINT type, UINT helpId) override;

    void SetNeedIdleTimer() { m_bNeedIdleTimer = TRUE; }

    void OnViewLanguage();
    void OnUpdateViewLanguage(CCmdUI* pCmdUI);

    LANGID GetLangId() const;
    void SetIndicators(CStatusBar& bar, const UINT* ids, int count) const;
    void TranslateMenu(HMENU menu) const;
    void TranslateDialog(HWND dlg) const;
    std::wstring LoadString(UINT id) const;
    std::wstring LoadDialogCaption(LPCWSTR dialogName) const;
    void ReloadMenu() {}

    COptionsMgr* GetMergeOptionsMgr() { return m_pOptions.get(); }
    CLogFile* GetMergeLog() { return m_pLog.get(); }
    void ResetOptions();
    void AddOperation();
    void RemoveOperation();
    LONG GetActiveOperations() const { return m_nActiveOperations; }
    void SetLastCompareResult(int result) { m_nLastCompareResult = result; }
    int GetLastCompareResult() const { return m_nLastCompareResult; }

    CLanguageSelect* GetLanguageSelect() { return m_pLangDlg.get(); }
    // The project workspace, which the application keeps from start-up until it is destroyed.
    CWorkSpaceObj* GetWorkSpace() { return m_pWorkSpace.get(); }
    // Takes `ws` in place of the one held, which is deleted.
    void SetWorkSpace(CWorkSpacePtr ws) { m_pWorkSpace = std::move(ws); }
    // Hands the workspace over (an empty pointer when there is none).
    CWorkSpacePtr TakeWorkSpace();
    // How start-up makes the workspace; the model registers it when the library loads.
    static void SetWorkSpaceFactory(WorkSpaceFactory factory);

    // Whether start-up found a path on the command line.
    BOOL HasCommandLinePaths() const { return m_bCommandLinePaths; }

    static CString GetXVKHelpFilePath();
    // The log configuration path that start-up derives from the help path.
    static CString MakeLogConfigPath(const CString& helpPath);

protected:
    BOOL m_bNeedIdleTimer = FALSE;
    std::unique_ptr<CLanguageSelect> m_pLangDlg;
    CWorkSpacePtr m_pWorkSpace{nullptr, nullptr};
    std::unique_ptr<COptionsMgr> m_pOptions;
    std::unique_ptr<CLogFile> m_pLog;
    int m_nLastCompareResult = 0;
    volatile LONG m_nActiveOperations = 0;
    CString m_strHelpFilePath;
    BOOL m_bCommandLinePaths = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The process-wide application object of the running program (null before one is made).
ROzazeRir* AfxGetXVKApp();
