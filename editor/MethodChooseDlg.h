// CMethodChooseDlg ("Methods"): compiles a project script with "app" added and lists its
// procedures in combo 1088 to choose one. In test mode it only shows whether the script compiles.
#pragma once

#include "mfc/Collections.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/Dialog.h"

#include <memory>

class CScriptObject;
class CNewMethodHost;

#define IDD_METHOD_CHOOSE 1
#define IDC_METHOD_COMBO 1088
#define IDC_METHOD_PROMPT 1230
#define IDS_METHOD_NONE 32865

class CMethodChooseDlg : public CDialog
{
public:
    explicit CMethodChooseDlg(CWnd* pParent = nullptr);
    ~CMethodChooseDlg() override;

    // A file name inside the project's script folder.
    CString m_strScriptFile;
    // When set, the script is read from this full path instead (a checked copy).
    CString m_strScriptPath;
    CString m_strMethod;
    BOOL m_bTestMode = FALSE;

    // The procedures listed when the dialog opened (empty when the script did not compile).
    const CStringArray& GetListedMethods() const { return m_methods; }
    // A script file's text, UTF-16 or multibyte by its byte-order mark (the mark dropped), lines
    // joined with CR LF; empty when it cannot be read.
    static CString ReadScriptText(const CString& strPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

    std::unique_ptr<CScriptObject> m_pScript;
    CNewMethodHost* m_pHost = nullptr;
    CStringArray m_methods;
    CComboBox m_combo;
};
