#include "editor/FOFileTypeAccess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

IMPLEMENT_DYNAMIC(CFOFileTypeAccess, CObject)

namespace
{
QString Q(const CString& s)
{
    return QString::fromStdWString(s.GetString());
}

QString PackagePath(const CString& strDocClass)
{
    return Q(CFOFileTypeAccess::GetDataFolder()) + "/mime/packages/" + Q(strDocClass) + ".xml";
}

QString DesktopPath()
{
    return Q(CFOFileTypeAccess::GetDataFolder()) + "/applications/QYRDraw.desktop";
}

QString XmlEscaped(const QString& s)
{
    return s.toHtmlEscaped();
}

// The globs already in a package, in their order.
QStringList ReadGlobs(const QString& path)
{
    QStringList globs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return globs;
    static const QRegularExpression glob(QStringLiteral("<glob pattern=\"([^\"]*)\"/>"));
    const QString text = QString::fromUtf8(file.read(1 << 20));
    for (auto it = glob.globalMatch(text); it.hasNext();)
        globs << it.next().captured(1);
    return globs;
}

void WriteFile(const QString& path, const QString& text)
{
    QDir().mkpath(path.left(path.lastIndexOf('/')));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.toUtf8());
    file.commit();
}

void WritePackage(const CString& strDocClass, const CString& strComment, const QStringList& globs)
{
    QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    text += "  <mime-type type=\"" + XmlEscaped(Q(CFOFileTypeAccess::MimeTypeOf(strDocClass))) + "\">\n";
    text += "    <comment>" + XmlEscaped(Q(strComment.IsEmpty() ? strDocClass : strComment)) + "</comment>\n";
    for (const QString& g : globs)
        text += "    <glob pattern=\"" + XmlEscaped(g) + "\"/>\n";
    text += QStringLiteral("  </mime-type>\n</mime-info>\n");
    WriteFile(PackagePath(strDocClass), text);
}

void WriteDesktopEntry(const CString& strDocClass, const CString& strOpenCommand)
{
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=QYRDraw\n"
                                  "Comment=Screen editor\nTerminal=false\n");
    text += "Exec=" + Q(CFOFileTypeAccess::DesktopExecOf(strOpenCommand)) + "\n";
    text += "MimeType=" + Q(CFOFileTypeAccess::MimeTypeOf(strDocClass)) + ";\n";
    WriteFile(DesktopPath(), text);
}
} // namespace

void CFOFileTypeAccess::ClearAll()
{
    for (CString* s : {&m_strExtension, &m_strReserved1, &m_strOpenCommand, &m_strReserved2, &m_strReserved3,
                       &m_strDocClassName, &m_strDocClassDesc, &m_strReserved4, &m_strReserved5,
                       &m_strDefaultIcon, &m_strCommand2})
        s->Empty();
}

BOOL CFOFileTypeAccess::RegisterAll()
{
    RegisterExtension();
    RegisterDocumentClass();
    RegisterFurther1();
    RegisterFurther2();
    return TRUE;
}

BOOL CFOFileTypeAccess::RegisterExtension()
{
    if (m_strExtension.IsEmpty() || m_strDocClassName.IsEmpty())
        return TRUE;
    QStringList globs = ReadGlobs(PackagePath(m_strDocClassName));
    const QString glob = "*." + Q(m_strExtension);
    if (!globs.contains(glob))
        globs << glob;
    WritePackage(m_strDocClassName, m_strDocClassDesc, globs);
    return TRUE;
}

BOOL CFOFileTypeAccess::RegisterDocumentClass()
{
    if (m_strDocClassName.IsEmpty())
        return TRUE;
    if (!m_strOpenCommand.IsEmpty())
        WriteDesktopEntry(m_strDocClassName, m_strOpenCommand);
    return TRUE;
}

void CFOFileTypeAccess::AssociateExtensions(const CString& strDocClass,
                                            const std::vector<CString>& extensions,
                                            const CString& strOpenCommand)
{
    if (strDocClass.IsEmpty())
        return;
    QStringList globs = ReadGlobs(PackagePath(strDocClass));
    for (const CString& ext : extensions)
        if (const QString glob = "*." + Q(ext); !globs.contains(glob))
            globs << glob;
    WritePackage(strDocClass, CString(), globs);
    if (!strOpenCommand.IsEmpty())
        WriteDesktopEntry(strDocClass, strOpenCommand);
    RefreshCaches();
}

CString CFOFileTypeAccess::GetDataFolder()
{
    QString folder = qEnvironmentVariable("XDG_DATA_HOME");
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        folder = QDir::homePath() + "/.local/share";
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    return CString(folder.toStdWString().c_str());
}

CString CFOFileTypeAccess::MimeTypeOf(const CString& strDocClass)
{
    return L"application/x-" + strDocClass;
}

CString CFOFileTypeAccess::DesktopExecOf(const CString& strOpenCommand)
{
    // "prog" "%1" becomes "prog" %f: the desktop passes one file in place of the placeholder.
    CString exec = strOpenCommand;
    exec.Replace(L"\"%1\"", L"%f");
    exec.Replace(L"%1", L"%f");
    return exec;
}

void CFOFileTypeAccess::RefreshCaches()
{
    const QString data = Q(GetDataFolder());
    for (const auto& [tool, folder] :
         {std::pair{QStringLiteral("update-mime-database"), data + "/mime"},
          std::pair{QStringLiteral("update-desktop-database"), data + "/applications"}})
        if (!QStandardPaths::findExecutable(tool).isEmpty())
            QProcess::startDetached(tool, {folder});
}
