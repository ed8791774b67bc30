#include "win32/Shell.h"

#include "win32/Files.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace
{
std::mutex g_hookLock;
Win32StartHookFn g_startHook;

BOOL Start(const QString& program, const QStringList& args, DWORD* pPid)
{
    Win32StartHookFn hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_startHook;
    }
    if (hook)
    {
        std::vector<std::wstring> list;
        for (const QString& a : args)
            list.push_back(a.toStdWString());
        const BOOL ok = hook(program.toStdWString(), list);
        if (!ok)
            SetLastError(ERROR_FILE_NOT_FOUND);
        return ok;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, QString(), &pid))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (pPid)
        *pPid = DWORD(pid);
    return TRUE;
}
} // namespace

Win32StartHookFn Win32SetStartHook(Win32StartHookFn hook)
{
    std::lock_guard<std::mutex> guard(g_hookLock);
    Win32StartHookFn old = std::move(g_startHook);
    g_startHook = std::move(hook);
    return old;
}

BOOL Win32StartProcess(const std::wstring& program, const std::vector<std::wstring>& args, DWORD* pPid)
{
    QString path = QString::fromStdWString(program);
    if (path.isEmpty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (path.contains(QLatin1Char('/')) || path.contains(QLatin1Char('\\')))
        path = QString::fromStdWString(Win32ResolvePath(program));
    QStringList list;
    for (const std::wstring& a : args)
        list << QString::fromStdWString(a);
    return Start(path, list, pPid);
}

std::vector<std::wstring> Win32SplitCommandLine(const std::wstring& line)
{
    std::vector<std::wstring> words;
    std::wstring word;
    bool inQuotes = false;
    bool hasWord = false;
    for (wchar_t c : line)
    {
        if (c == L'"')
        {
            inQuotes = !inQuotes;
            hasWord = true;
        }
        else if ((c == L' ' || c == L'\t') && !inQuotes)
        {
            if (hasWord)
                words.push_back(word);
            word.clear();
            hasWord = false;
        }
        else
        {
            word += c;
            hasWord = true;
        }
    }
    if (hasWord)
        words.push_back(word);
    return words;
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR, int)
{
    auto result = [](intptr_t code) { return reinterpret_cast<HINSTANCE>(code); };
    if (!lpFile || !*lpFile)
        return result(SE_ERR_FNF);
    const std::wstring verb = lpOperation ? lpOperation : L"open";
    if (!verb.empty() && verb != L"open")
        return result(SE_ERR_NOASSOC);
    const std::wstring file(lpFile);
    const QFileInfo info(QString::fromStdWString(Win32ResolvePath(file)));
    if (!file.empty() && file[0] == L'/' && info.isFile() && info.isExecutable())
    {
        if (!Win32StartProgram(file, lpParameters ? lpParameters : L""))
            return result(GetLastError() == ERROR_FILE_NOT_FOUND ? SE_ERR_FNF : SE_ERR_ACCESSDENIED);
        return result(33);
    }
    // Addresses and documents: the desktop's opener gets the text as one argument, no shell between.
    QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        if (g_startHook && opener.isEmpty())
            opener = QStringLiteral("xdg-open");
    }
    if (opener.isEmpty())
        return result(SE_ERR_NOASSOC);
    if (!Start(opener, {QString::fromStdWString(file)}, nullptr))
        return result(SE_ERR_NOASSOC);
    return result(33);
}

BOOL Win32StartProgram(const std::wstring& program, const std::wstring& argument, DWORD* pPid)
{
    const QString path = QString::fromStdWString(Win32ResolvePath(program));
    const QFileInfo info(path);
    if (program.empty() || !info.exists())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!info.isFile() || !info.isExecutable())
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    QStringList args;
    if (!argument.empty())
        args << QString::fromStdWString(argument);
    return Start(path, args, pPid);
}

BOOL Win32ListFolder(const std::wstring& folder, std::vector<Win32FolderEntry>& entries)
{
    namespace fs = std::filesystem;
    entries.clear();
    std::error_code ec;
    fs::directory_iterator it(fs::path(Win32NativePath(folder)), ec);
    if (ec)
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::vector<std::pair<std::string, Win32FolderEntry>> found;
    for (; it != fs::directory_iterator(); it.increment(ec))
    {
        if (ec)
            break;
        Win32FolderEntry e;
        const std::string name = it->path().filename().string();
        e.name = Utf8ToWide(name);
        std::error_code ec2;
        e.bDirectory = it->is_directory(ec2);
        if (!e.bDirectory)
            e.nSize = ULONGLONG(it->file_size(ec2));
        found.emplace_back(name, std::move(e));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.reserve(found.size());
    for (auto& f : found)
        entries.push_back(std::move(f.second));
    return TRUE;
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    if (!pExecInfo || !pExecInfo->lpFile)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD pid = 0;
    const BOOL ok =
        Win32StartProgram(pExecInfo->lpFile, pExecInfo->lpParameters ? pExecInfo->lpParameters : L"", &pid);
    pExecInfo->dwProcessId = pid;
    const DWORD err = ok ? 0 : GetLastError();
    pExecInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(
        ok ? 33 : (err == ERROR_FILE_NOT_FOUND ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED)));
    return ok;
}
