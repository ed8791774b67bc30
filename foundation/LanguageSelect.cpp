#include "foundation/LanguageSelect.h"

#include "foundation/OptionsMgr.h"
#include "mfc/Controls.h"
#include "mfc/WinApp.h"
#include "win32/Files.h"
#include "win32/System.h"

#include <QDir>
#include <cwchar>

namespace
{
LANGID LangFromLocale(LCID lcid)
{
    return LANGID(lcid & 0xFFFF);
}
} // namespace

CLanguageSelect::CLanguageSelect(UINT id1, UINT id2, LPCWSTR languageLibrary, BOOL reloadMenu,
                                 BOOL updateTitle, CWnd* pParent)
    : CDialog(IDD, pParent), m_bReloadMenu(reloadMenu), m_bUpdateTitle(updateTitle), m_idMainMenu(id1),
      m_idDocMenu(id2), m_strLanguageLibrary(languageLibrary)
{
    SetThreadLocale(1033);
}

void CLanguageSelect::ChooseStartLanguage()
{
    const LANGID thread = LangFromLocale(GetThreadLocale());
    if (ApplyLanguage(thread))
        return;
    const LANGID user = LangFromLocale(GetUserDefaultLCID());
    if (user != thread && ApplyLanguage(user))
        return;
    const LANGID system = LangFromLocale(GetSystemDefaultLCID());
    if (system != thread && system != user)
        ApplyLanguage(system);
}

BOOL CLanguageSelect::ApplyLanguage(LANGID id)
{
    if (id == 0)
        return FALSE;
    if (id == m_wCurLanguage)
        return TRUE;
    AfxSetResourceHandle(AfxGetInstanceHandle());
    m_hLanguageLibrary = nullptr;
    m_strarray.clear();
    m_codepage = 0;
    if (id != 1033 && !LoadTranslations(id))
        id = 1033;
    m_wCurLanguage = id;
    SetThreadLocale(id);
    return TRUE;
}

BOOL CLanguageSelect::LoadTranslations(LANGID)
{
    // No language library ships yet, so every other language falls back to English.
    return FALSE;
}

CString CLanguageSelect::GetLanguagesFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind(L'/') + 1) + L"Languages";
}

CString CLanguageSelect::FindCatalogue(LANGID) const
{
    return CString();
}

BOOL CLanguageSelect::HasCatalogues() const
{
    const QDir dir(QString::fromStdWString(GetLanguagesFolder().str()));
    return dir.exists() && !dir.entryList({QStringLiteral("*.po")}, QDir::Files).isEmpty();
}

bool CLanguageSelect::TranslateById(unsigned n, std::wstring& out) const
{
    if (n == 0 || n >= m_strarray.size() || m_strarray[n].empty())
        return false;
    out = CString::FromUtf8(m_strarray[n]).str();
    return true;
}

std::wstring CLanguageSelect::LoadString(UINT id) const
{
    if (id == 0)
        return std::wstring();
    CString text;
    text.LoadString(id);
    if (text.GetLength() > 1024)
        text = text.Left(1024);
    unsigned n = 0;
    std::wstring translated;
    if (std::swscanf(text, L"Rivez.rc:%u", &n) == 1 && TranslateById(n, translated))
        return translated;
    return text.str();
}

std::wstring CLanguageSelect::LoadDialogCaption(LPCWSTR dialogName) const
{
    const AFX_DLG_TEMPLATE* tmpl = AfxFindDialogTemplate(dialogName);
    if (!tmpl)
        return std::wstring();
    const CString caption(tmpl->strCaption);
    unsigned n = 0;
    std::wstring translated;
    if (std::swscanf(caption, L"Rivez.rc:%u", &n) == 1 && TranslateById(n, translated))
        return translated;
    return caption.str();
}

void CLanguageSelect::TranslateMenu(HMENU) const
{
    // Only references into a loaded translation table change; English menus stand as loaded.
}

void CLanguageSelect::TranslateDialog(HWND) const
{
    // As above: without a translation table nothing reads as a reference.
}

void CLanguageSelect::SetIndicators(CStatusBar& bar, const UINT* ids, int count) const
{
    if (ids)
        bar.SetIndicators(ids, count);
}

BOOL CLanguageSelect::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_ctlLangList.SubclassDlgItem(IDC_LANGUAGE_LIST, this);
    const int item = m_ctlLangList.AddString(L"English - English (United States) - English (United States)");
    m_ctlLangList.SetItemData(item, 1033);
    if (m_wCurLanguage == 1033)
        m_ctlLangList.SetCurSel(item);
    return TRUE;
}

void CLanguageSelect::OnOK()
{
    const int sel = m_ctlLangList.GetCurSel();
    if (sel < 0)
        return;
    const LANGID id = LANGID(m_ctlLangList.GetItemData(sel));
    if (id != m_wCurLanguage && ApplyLanguage(id))
    {
        if (COptionsMgr* options = GetOptionsMgr())
            options->StoreOption(L"Locale/LanguageId", int(id));
    }
    CDialog::OnOK();
}
