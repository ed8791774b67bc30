#include "mfc/CommandIcons.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include <map>

namespace
{
// Commands the framework knows by id that it does not #define itself.
constexpr UINT kEditFind = 0xE124;
constexpr UINT kEditReplace = 0xE129;

// The themes the setup script may install, in the order they are preferred.
const char* const kInstalledThemes[] = {"Adwaita", "breeze"};

std::map<UINT, CString>& Names()
{
    static std::map<UINT, CString> names = {
        {ID_FILE_NEW, L"document-new"},
        {ID_FILE_OPEN, L"document-open"},
        {ID_FILE_SAVE, L"document-save"},
        {ID_FILE_SAVE_AS, L"document-save-as"},
        {ID_FILE_PRINT, L"document-print"},
        {ID_FILE_PRINT_DIRECT, L"document-print"},
        {ID_FILE_PRINT_PREVIEW, L"document-print-preview"},
        {ID_FILE_PRINT_SETUP, L"document-page-setup"},
        {ID_EDIT_CLEAR, L"edit-delete"},
        {ID_EDIT_COPY, L"edit-copy"},
        {ID_EDIT_CUT, L"edit-cut"},
        {ID_EDIT_PASTE, L"edit-paste"},
        {ID_EDIT_SELECT_ALL, L"edit-select-all"},
        {ID_EDIT_UNDO, L"edit-undo"},
        {ID_EDIT_REDO, L"edit-redo"},
        {kEditFind, L"edit-find"},
        {kEditReplace, L"edit-find-replace"},
        {ID_APP_ABOUT, L"help-about"},
        {ID_APP_EXIT, L"application-exit"},
        {ID_HELP_INDEX, L"help-contents"},
        {ID_HELP_FINDER, L"help-contents"},
        {ID_HELP, L"help-contents"},
        {ID_DEFAULT_HELP, L"help-contents"},
    };
    return names;
}

bool ThemeInstalled(const QString& theme)
{
    const QStringList paths = QIcon::themeSearchPaths();
    for (const QString& path : paths)
        if (QFileInfo::exists(QDir(path).filePath(theme + QStringLiteral("/index.theme"))))
            return true;
    return false;
}
} // namespace

CString AfxInstalledIconTheme()
{
    for (const char* theme : kInstalledThemes)
        if (ThemeInstalled(QString::fromLatin1(theme)))
            return ControlPriv::FromQt(QString::fromLatin1(theme));
    return CString();
}

void AfxInitIconTheme()
{
    // The system folder holds the installed themes even where the data folders are set otherwise.
    QStringList paths = QIcon::themeSearchPaths();
    const QString system = QStringLiteral("/usr/share/icons");
    if (!paths.contains(system) && QFileInfo(system).isDir())
    {
        paths.append(system);
        QIcon::setThemeSearchPaths(paths);
    }
    // The desktop's theme (QIcon::themeName(), as the platform gives it) is asked first; the
    // installed one backs it and stands in where the desktop names none.
    const CString installed = AfxInstalledIconTheme();
    if (installed.IsEmpty())
        return;
    QIcon::setFallbackThemeName(ControlPriv::ToQt(installed));
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(ControlPriv::ToQt(installed));
}

void AfxSetCommandIconNames(UINT nID, LPCWSTR lpszNames)
{
    if (!lpszNames || !*lpszNames)
        Names().erase(nID);
    else
        Names()[nID] = lpszNames;
}

CString AfxGetCommandIconNames(UINT nID)
{
    const auto it = Names().find(nID);
    return it == Names().end() ? CString() : it->second;
}

QIcon AfxThemeCommandIcon(UINT nID)
{
    const auto it = Names().find(nID);
    if (it == Names().end() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QIcon();
    const QStringList names = ControlPriv::ToQt(it->second).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& name : names)
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    return QIcon();
}

QIcon AfxCommandIcon(UINT nID, const QPixmap& drawn)
{
    QIcon themed = AfxThemeCommandIcon(nID);
    if (!themed.isNull())
        return themed;
    return drawn.isNull() ? QIcon() : QIcon(drawn);
}
