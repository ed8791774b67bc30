#include "win32/Shell.h"

#include "win32/Files.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <filesystem>

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
    qint64 pid = 0;
    if (!QProcess::startDetached(path, args, QString(), &pid))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (pPid)
        *pPid = DWORD(pid);
    return TRUE;
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
