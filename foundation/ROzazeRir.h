// The application base of all three programs: starts the common services in a fixed order and
// tears them down at exit.
#pragma once

#include "mfc/WinApp.h"

#include <string>

class CLanguageSelect;
class CWorkSpaceObj;
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

    COptionsMgr* GetMergeOptionsMgr() { return m_pOptions; }
    CLogFile* GetMergeLog() { return m_pLog; }
    void ResetOptions();
    void AddOperation();
    void RemoveOperation();
    LONG GetActiveOperations() const { return m_nActiveOperations; }
    void SetLastCompareResult(int result) { m_nLastCompareResult = result; }
    int GetLastCompareResult() const { return m_nLastCompareResult; }

    CLanguageSelect* GetLanguageSelect() { return m_pLangDlg; }
    CWorkSpaceObj* GetWorkSpace() { return m_pWorkSpace; }
    void SetWorkSpace(CWorkSpaceObj* ws) { m_pWorkSpace = ws; }

    static CString GetXVKHelpFilePath();
    // The log configuration path that start-up derives from the help path.
    static CString MakeLogConfigPath(const CString& helpPath);

protected:
    BOOL m_bNeedIdleTimer = FALSE;
    CLanguageSelect* m_pLangDlg = nullptr;
    CWorkSpaceObj* m_pWorkSpace = nullptr;
    COptionsMgr* m_pOptions = nullptr;
    CLogFile* m_pLog = nullptr;
    int m_nLastCompareResult = 0;
    volatile LONG m_nActiveOperations = 0;
    CString m_strHelpFilePath;

    DECLARE_MESSAGE_MAP()
};

// The process-wide application object of the running program (null before one is made).
ROzazeRir* AfxGetXVKApp();
