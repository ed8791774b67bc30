// UI language selection. English is built in; the start-up choice and the translation services
// that the application base forwards live here.
#pragma once

#include "mfc/CString.h"
#include "mfc/Dialog.h"

#include <string>
#include <vector>

class CLogFile;
class CStatusBar;

class CLanguageSelect : public CDialog
{
public:
    enum
    {
        IDD = 15138,
        IDC_LANGUAGE_LIST = 15000
    };

    CLanguageSelect(UINT id1, UINT id2, LPCWSTR languageLibrary, BOOL reloadMenu, BOOL updateTitle,
                    CWnd* pParent);

    void SetLogFile(CLogFile* pLog) { m_pLog = pLog; }
    LANGID GetLangId() const { return m_wCurLanguage; }

    void ChooseStartLanguage();
    BOOL ApplyLanguage(LANGID id);
    BOOL LoadTranslations(LANGID id);
    CString FindCatalogue(LANGID id) const;
    BOOL HasCatalogues() const;
    bool TranslateById(unsigned n, std::wstring& out) const;

    std::wstring LoadString(UINT id) const;
    std::wstring LoadDialogCaption(LPCWSTR dialogName) const;
    void TranslateMenu(HMENU menu) const;
    void TranslateDialog(HWND dlg) const;
    void SetIndicators(CStatusBar& bar, const UINT* ids, int count) const;

    // The folder of language catalogues beside the running program.
    static CString GetLanguagesFolder();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    BOOL m_bReloadMenu;
    BOOL m_bUpdateTitle;
    UINT m_idMainMenu;
    UINT m_idDocMenu;
    HINSTANCE m_hLanguageLibrary = nullptr;
    LANGID m_wCurLanguage = 1033;
    std::vector<std::string> m_strarray;
    unsigned m_codepage = 0;
    CString m_strLanguageLibrary;
    CListBox m_ctlLangList;
    CLogFile* m_pLog = nullptr;
};
