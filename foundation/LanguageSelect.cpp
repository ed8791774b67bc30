#include "foundation/LanguageSelect.h"

#include "foundation/LanguageCatalogue.h"
#include "foundation/OptionsMgr.h"
#include "foundation/VersionInfo.h"
#include "mfc/Controls.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/Menu.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "win32/Files.h"
#include "win32/System.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QWidget>

#include <cwchar>

namespace
{
// Catalogues larger than this are not language catalogues of ours.
constexpr qint64 kMaxCatalogueSize = 16 * 1024 * 1024;
// Texts of menu items and dialog windows are read up to this many characters.
constexpr int kMaxItemText = 80;

LANGID LangFromLocale(LCID lcid)
{
    wchar_t buf[8] = {};
    unsigned value = 0;
    if (GetLocaleInfoW(lcid, LOCALE_ILANGUAGE, buf, 8) <= 0 || std::swscanf(buf, L"%4x", &value) != 1)
        return 0;
    return LANGID(value);
}

bool ReadWholeFile(const CString& path, std::string& out)
{
    QFile file(QString::fromStdString(Win32NativePath(path.str())));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCatalogueSize)
        return false;
    out = file.readAll().toStdString();
    return true;
}

CString LocaleText(LCID lcid, DWORD type)
{
    wchar_t buf[128] = {};
    return GetLocaleInfoW(lcid, type, buf, 128) > 0 ? CString(buf) : CString();
}
} // namespace

CLanguageSelect::CLanguageSelect(UINT id1, UINT id2, LPCWSTR languageLibrary, BOOL reloadMenu,
                                 BOOL updateTitle, CWnd* pParent)
    : CDialog(IDD, pParent), m_bReloadMenu(reloadMenu), m_bUpdateTitle(updateTitle), m_idMainMenu(id1),
      m_idDocMenu(id2), m_strLanguageLibrary(languageLibrary)
{
    SetThreadLocale(1033);
}

CLanguageSelect::~CLanguageSelect()
{
    if (m_hLanguageLibrary)
    {
        if (AfxGetResourceHandle() == m_hLanguageLibrary)
            AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hLanguageLibrary);
    }
}

void CLanguageSelect::ChooseStartLanguage()
{
    if (COptionsMgr* options = GetOptionsMgr())
    {
        const int stored = options->GetIntValue(L"Locale/LanguageId");
        if (stored > 0 && stored <= 0xFFFF && ApplyLanguage(LANGID(stored)))
            return;
    }
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
    if (m_hLanguageLibrary)
        FreeLibrary(m_hLanguageLibrary);
    m_hLanguageLibrary = nullptr;
    m_strarray.clear();
    m_codepage = 0;
    // A refused language leaves English, and says so: the caller must not record it as chosen.
    BOOL applied = TRUE;
    if (id != 1033)
    {
        if (LoadTranslations(id))
            AfxSetResourceHandle(m_hLanguageLibrary);
        else
        {
            id = 1033;
            applied = FALSE;
        }
    }
    m_wCurLanguage = id;
    SetThreadLocale(id);
    return applied;
}

void CLanguageSelect::Report(const CString& text) const
{
    if (GetSafeHwnd())
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

BOOL CLanguageSelect::LoadTranslations(LANGID id)
{
    const CString path = FindCatalogue(id);
    if (path.IsEmpty())
        return FALSE;
    HINSTANCE lib = LoadLibraryW(m_strLanguageLibrary);
    if (!lib)
    {
        Report(L"Failed to load VudazUviv.dll");
        return FALSE;
    }
    auto refuse = [&](const CString& text)
    {
        FreeLibrary(lib);
        m_strarray.clear();
        m_codepage = 0;
        Report(text);
        return FALSE;
    };
    DWORD ownMS = 0, ownLS = 0, libMS = 0, libLS = 0;
    const BOOL ownFound = CVersionInfo(TRUE).GetFixedFileVersion(ownMS, ownLS);
    const BOOL libFound = CVersionInfo(lib).GetFixedFileVersion(libMS, libLS);
    if (!ownFound || !libFound || ownMS != libMS || ownLS != libLS)
        return refuse(L"VudazUviv.dll version mismatch");

    const AFX_RESOURCE_DATA* tmpl = AfxFindResourceData(lib, L"VIVIDUDO", RT_RCDATA);
    CLanguageCatalogue catalogue;
    if (!tmpl ||
        !catalogue.ReadTemplate(std::string_view(reinterpret_cast<const char*>(tmpl->pData), tmpl->nSize)))
        return refuse(L"VudazUviv.dll is invalid");

    std::string text;
    if (!ReadWholeFile(path, text))
        return refuse(L"Failed to load " + path);
    if (!catalogue.ReadCatalogue(text))
        return refuse(
            L"Unresolved or mismatched references detected when attempting to read translations from\n" +
            path);
    m_hLanguageLibrary = lib;
    m_strarray = catalogue.GetTable();
    m_codepage = catalogue.GetCodePage();
    return TRUE;
}

CString CLanguageSelect::GetLanguagesFolder() const
{
    if (!m_strLanguagesFolder.IsEmpty())
        return m_strLanguagesFolder;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind(L'/') + 1) + L"Languages";
}

namespace
{
// The "*.po" files of a folder, in directory order.
QStringList Catalogues(const CString& folder)
{
    const QDir dir(QString::fromStdString(Win32NativePath(folder.str())));
    QStringList paths;
    for (const QString& name : dir.entryList({QStringLiteral("*.po")}, QDir::Files, QDir::Unsorted))
        paths << dir.filePath(name);
    return paths;
}
} // namespace

CString CLanguageSelect::FindCatalogue(LANGID id) const
{
    for (const QString& path : Catalogues(GetLanguagesFolder()))
    {
        const CString p(path.toStdWString().c_str());
        if (ReadCatalogueLanguage(p) == id)
            return p;
    }
    return CString();
}

LANGID CLanguageSelect::ReadCatalogueLanguage(LPCWSTR path)
{
    std::string text;
    return ReadWholeFile(CString(path), text) ? CLanguageCatalogue::ReadCatalogueLanguage(text) : LANGID(0);
}

LANGID CLanguageSelect::LookupLanguageName(LPCSTR primary, LPCSTR sub)
{
    return CLanguageCatalogue::LookupLanguageName(primary ? primary : "", sub ? sub : "");
}

BOOL CLanguageSelect::HasCatalogues() const
{
    return !Catalogues(GetLanguagesFolder()).isEmpty();
}

bool CLanguageSelect::TranslateById(unsigned n, std::wstring& out) const
{
    if (n == 0 || n >= m_strarray.size() || m_strarray[n].empty())
        return false;
    const std::string& s = m_strarray[n];
    const int len = MultiByteToWideChar(m_codepage, 0, s.data(), int(s.size()), nullptr, 0);
    if (len <= 0)
        return false;
    std::wstring w(size_t(len), L'\0');
    MultiByteToWideChar(m_codepage, 0, s.data(), int(s.size()), w.data(), len);
    out = std::move(w);
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
    std::wstring translated;
    if (TranslateById(CLanguageCatalogue::ReadReference(text), translated))
        return translated;
    return text.str();
}

std::wstring CLanguageSelect::LoadDialogCaption(LPCWSTR dialogName) const
{
    const AFX_DLG_TEMPLATE* tmpl = AfxFindDialogTemplate(dialogName);
    if (!tmpl)
        return std::wstring();
    std::wstring translated;
    if (TranslateById(CLanguageCatalogue::ReadReference(tmpl->strCaption), translated))
        return translated;
    return tmpl->strCaption.str();
}

void CLanguageSelect::TranslateMenu(HMENU menu) const
{
    const int count = GetMenuItemCount(menu);
    for (int pos = count - 1; pos >= 0; --pos)
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        if (!GetMenuItemInfoW(menu, UINT(pos), TRUE, &info))
            continue;
        const UINT state = GetMenuState(menu, UINT(pos), MF_BYPOSITION);
        const UINT id = info.wID;
        const HMENU sub = info.hSubMenu;
        if (sub)
            TranslateMenu(sub);
        // Only an owner-drawn item's data is a text record.
        auto* data = (state & MF_OWNERDRAW) ? reinterpret_cast<MENUITEMTEXTDATA*>(info.dwItemData) : nullptr;
        std::wstring dataText;
        if (data && data->pszText &&
            TranslateById(CLanguageCatalogue::ReadReference(data->pszText), dataText))
        {
            auto* copy = new wchar_t[dataText.size() + 1];
            std::copy(dataText.c_str(), dataText.c_str() + dataText.size() + 1, copy);
            delete[] data->pszText;
            data->pszText = copy;
        }
        wchar_t text[kMaxItemText + 1] = {};
        GetMenuStringW(menu, UINT(pos), text, kMaxItemText + 1, MF_BYPOSITION);
        std::wstring translated;
        if (!TranslateById(CLanguageCatalogue::ReadReference(text), translated))
            continue;
        const UINT keep =
            state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP);
        ModifyMenuW(menu, UINT(pos), MF_BYPOSITION | MF_STRING | keep | (sub ? MF_POPUP : 0),
                    sub ? reinterpret_cast<UINT_PTR>(sub) : id, translated.c_str());
    }
}

void CLanguageSelect::TranslateDialog(HWND dlg) const
{
    auto translate = [this](HWND h)
    {
        wchar_t text[kMaxItemText + 1] = {};
        GetWindowTextW(h, text, kMaxItemText + 1);
        std::wstring translated;
        if (TranslateById(CLanguageCatalogue::ReadReference(text), translated))
            SetWindowTextW(h, translated.c_str());
    };
    if (!dlg)
        return;
    translate(dlg);
    for (HWND child = ::GetWindow(dlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        translate(child);
}

void CLanguageSelect::SetIndicators(CStatusBar& bar, const UINT* ids, int count) const
{
    if (ids)
        bar.SetIndicators(ids, count);
    QWidget* widget = bar.GetWidget();
    const QFontMetrics metrics(widget ? widget->font() : QFont());
    for (int i = 0; i < bar.GetCount(); ++i)
    {
        UINT id = 0, style = 0;
        int width = 0;
        bar.GetPaneInfo(i, id, style, width);
        style = i == 0 ? (SBPS_STRETCH | SBPS_NOBORDERS) : 0;
        if (id >= 0xE700)
        {
            const std::wstring text = LoadString(id);
            width = metrics.horizontalAdvance(QString::fromStdWString(text));
            bar.SetPaneInfo(i, id, style | SBPS_DISABLED, width);
            bar.SetPaneText(i, text.c_str());
        }
        else if (ids)
            bar.SetPaneInfo(i, 0, style, GetSystemMetrics(SM_CXSCREEN) / 4);
        else
            bar.SetPaneInfo(i, id, style, width);
    }
    if (bar.GetSafeHwnd())
    {
        CRect rc;
        bar.GetClientRect(&rc);
        bar.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }
}

LRESULT CLanguageSelect::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_hWnd && kesdlg::CallChain(m_hWnd, message, wParam, lParam, &result))
        return result;
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CLanguageSelect::OnInitDialog()
{
    TranslateDialog(m_hWnd);
    CDialog::OnInitDialog();
    m_constraint.Reset(); // a layout of an earlier showing is gone with its window
    m_constraint.InitializeCurrentSize(this);
    m_constraint.AddConstraint(IDC_LANGUAGE_LIST, 0, 1, 0, 1);
    m_constraint.AddConstraint(IDCANCEL, 0.6, 0, 1, 0);
    m_constraint.AddConstraint(IDOK, 0.3, 0, 1, 0);
    m_constraint.SubclassWnd();
    m_constraint.LoadPosition(L"ResizeableDialogs", L"LanguageSelectDlg", FALSE);

    m_ctlLangList.SubclassDlgItem(IDC_LANGUAGE_LIST, this);
    auto add = [this](LANGID id)
    {
        const LCID lcid = MAKELCID(id, SORT_DEFAULT);
        const CString text =
            LocaleText(lcid, LOCALE_SLANGUAGE) + L" - " + LocaleText(lcid, LOCALE_SNATIVELANGNAME) + L" (" +
            LocaleText(lcid, LOCALE_SNATIVECTRYNAME) + L")" + L" - " + LocaleText(lcid, LOCALE_SENGLANGUAGE) +
            L" (" + LocaleText(lcid, LOCALE_SENGCOUNTRY) + L")";
        const int item = m_ctlLangList.AddString(text);
        m_ctlLangList.SetItemData(item, id);
    };
    add(1033);
    for (const QString& path : Catalogues(GetLanguagesFolder()))
        add(ReadCatalogueLanguage(CString(path.toStdWString().c_str())));
    for (int i = 0; i < m_ctlLangList.GetCount(); ++i)
        if (LANGID(m_ctlLangList.GetItemData(i)) == m_wCurLanguage)
            m_ctlLangList.SetCurSel(i);
    return TRUE;
}

void CLanguageSelect::OnOK()
{
    UpdateData(TRUE);
    const int sel = m_ctlLangList.GetCurSel();
    if (sel < 0)
        return;
    const LANGID id = LANGID(m_ctlLangList.GetItemData(sel));
    if (id != m_wCurLanguage)
    {
        if (ApplyLanguage(id))
        {
            if (COptionsMgr* options = GetOptionsMgr())
                options->StoreOption(L"Locale/LanguageId", int(id));
        }
        if (m_bReloadMenu)
            ReloadMenu();
        if (m_bUpdateTitle)
        {
            CWinApp* app = AfxGetApp();
            for (POSITION pt = app ? app->GetFirstDocTemplatePosition() : nullptr; pt;)
            {
                CDocTemplate* tmpl = app->GetNextDocTemplate(pt);
                for (POSITION pd = tmpl->GetFirstDocPosition(); pd;)
                {
                    CDocument* doc = tmpl->GetNextDoc(pd);
                    doc->SetTitle(nullptr);
                    if (auto* frame = dynamic_cast<CFrameWnd*>(app->m_pMainWnd))
                        frame->OnUpdateFrameTitle(TRUE);
                }
            }
        }
    }
    CDialog::OnOK();
}
