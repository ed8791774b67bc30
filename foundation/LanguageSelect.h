// UI language selection. English (1033) is built in. Another language needs the program's language
// library (a resource library of ours whose menus, dialogs and strings hold references
// "Rivez.rc:<n>", with the template that maps each reference to its English text) and a ".po"
// catalogue for the language in the Languages folder beside the program.
// Invariant: the current language, the library, the table and the code page change together, only
// in ApplyLanguage; with 1033 there is no library and the table is empty, otherwise the library's
// version matches the program's and every reference of its template has a checked translation.
#pragma once

#include "foundation/MoveConstraint.h"
#include "mfc/CString.h"
#include "mfc/Dialog.h"

#include <string>
#include <vector>

class CLogFile;
class CStatusBar;

// The data of an owner-drawn menu item: its text comes first, owned by the record (new[]), so that
// translating the menu can replace it.
struct MENUITEMTEXTDATA
{
    wchar_t* pszText;
};

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
    ~CLanguageSelect() override;

    void SetLogFile(CLogFile* pLog) { m_pLog = pLog; }
    LANGID GetLangId() const { return m_wCurLanguage; }

    // The stored choice ("Locale/LanguageId") first, then the thread's, the user's and the system's
    // languages; English when none of them can be applied.
    void ChooseStartLanguage();
    // FALSE when the language could not be applied (English is current then).
    BOOL ApplyLanguage(LANGID id);
    BOOL LoadTranslations(LANGID id);
    CString FindCatalogue(LANGID id) const;
    static LANGID ReadCatalogueLanguage(LPCWSTR path);
    static LANGID LookupLanguageName(LPCSTR primary, LPCSTR sub);
    BOOL HasCatalogues() const;
    bool TranslateById(unsigned n, std::wstring& out) const;

    std::wstring LoadString(UINT id) const;
    std::wstring LoadDialogCaption(LPCWSTR dialogName) const;
    void TranslateMenu(HMENU menu) const;
    void TranslateDialog(HWND dlg) const;
    void SetIndicators(CStatusBar& bar, const UINT* ids, int count) const;

    // The folder of language catalogues: "Languages" beside the running program unless set.
    CString GetLanguagesFolder() const;
    void SetLanguagesFolder(LPCWSTR folder) { m_strLanguagesFolder = folder; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Messages of loading show only while the dialog is open; at start-up they are silent.
    void Report(const CString& text) const;
    void ReloadMenu() {}

    kesdlg::CMoveConstraint m_constraint;
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
    CString m_strLanguagesFolder;
};
