#include "foundation/LogFile.h"

#include "win32/Files.h"
#include "win32/Sync.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <vector>

namespace
{

const wchar_t kMutexName[] = L"CORVANE_LOG_MUTEX";
const DWORD kSystemErrorChars = 5120;
const size_t kCopyChunk = 8196;
const char kTruncatedLine[] = "#### The log has been truncated due to size limits ####\r\n";

LPCWSTR LevelPrefix(UINT level)
{
    switch (level & 0x0FFF)
    {
    case LOGLEVEL::LERROR:
        return L"ERROR: ";
    case LOGLEVEL::LWARNING:
        return L"WARNING: ";
    case LOGLEVEL::LNOTICE:
        return L"NOTICE: ";
    case LOGLEVEL::LFLOW:
        return L"FLOW: ";
    case LOGLEVEL::LCOMPARE:
        return L"COMPARE: ";
    default:
        return L"";
    }
}

CString SystemErrorText(DWORD error)
{
    std::vector<wchar_t> buf(kSystemErrorChars, L'\0');
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   0, buf.data(), kSystemErrorChars, nullptr);
    return CString(buf.data(), int(n < kSystemErrorChars ? n : kSystemErrorChars - 1));
}

// The file's text: UTF-8 with every line feed written as CR LF.
std::string ToFileText(const CString& text)
{
    const std::string utf8 = text.ToUtf8();
    std::string out;
    out.reserve(utf8.size() + 16);
    for (char c : utf8)
    {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

CString LocalTimeText()
{
    wchar_t buf[128] = {};
    const time_t now = time(nullptr);
    tm local{};
    if (!localtime_r(&now, &local))
        return CString();
    if (wcsftime(buf, 128, L" %A, %B %d, %Y    %H:%M:%S", &local) == 0)
        return CString();
    return CString(buf);
}

} // namespace

CLogFile::CLogFile(LPCWSTR path, bool deleteExisting)
{
    SetPath(path, deleteExisting);
}

CLogFile::~CLogFile()
{
    SetLogging(false);
    CloseMutex();
}

void CLogFile::OpenMutex()
{
    if (!m_hMutex)
        m_hMutex = CreateMutexW(nullptr, FALSE, kMutexName);
}

void CLogFile::CloseMutex()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_hMutex)
    {
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
}

void CLogFile::SetPath(LPCWSTR path, bool deleteExisting)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_path = path ? path : L"";
    if (deleteExisting && !m_path.IsEmpty())
        DeleteFileW(m_path);
    OpenMutex();
}

CString CLogFile::GetPath() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_path;
}

bool CLogFile::GetLogging() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_enabled;
}

void CLogFile::SetLevelMask(UINT mask)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_levelMask = mask;
}

UINT CLogFile::GetLevelMask() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_levelMask;
}

void CLogFile::SetWaitTimeout(DWORD milliseconds)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_waitTimeout = milliseconds;
}

void CLogFile::SetLogging(bool enable)
{
    const CString now = LocalTimeText();
    if (enable)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_enabled = true;
        }
        Write(L"\n*******\nLog Started: %s", now.GetString());
        Write(L"Path: %s\n*******\n", GetPath().GetString());
    }
    else
    {
        Write(L"\n*******\nLog Stopped: %s\n", now.GetString());
        Write(L"*******\n");
        std::lock_guard<std::mutex> guard(m_lock);
        m_enabled = false;
    }
}

UINT CLogFile::Write(LPCWSTR format, ...)
{
    UINT level;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        level = m_defaultLevel;
    }
    va_list args;
    va_start(args, format);
    const UINT result = WriteV(level, format, args);
    va_end(args);
    return result;
}

UINT CLogFile::Write(UINT level, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    const UINT result = WriteV(level, format, args);
    va_end(args);
    return result;
}

UINT CLogFile::WriteV(UINT level, LPCWSTR format, va_list args)
{
    const DWORD lastError = GetLastError();
    bool enabled;
    UINT mask;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        enabled = m_enabled;
        mask = m_levelMask;
    }
    if (enabled && (level & 0x0FFF & mask) != 0)
    {
        CString text(LevelPrefix(level));
        text += CString(AfxFormatV(format, args));
        if (level & LOGLEVEL::LOSERROR)
            text += SystemErrorText(lastError);
        text.TrimRight(L"\r\n");
        text += L"\n";
        WriteRaw(level, text);
    }
    return mask & LOGLEVEL::LSILENTVERIFY;
}

void CLogFile::WriteRaw(UINT /*level*/, const CString& text)
{
    HANDLE hMutex;
    DWORD waitTimeout, maxSize;
    CString path;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        hMutex = m_hMutex;
        waitTimeout = m_waitTimeout;
        maxSize = m_maxSize;
        path = m_path;
    }
    if (!hMutex || path.IsEmpty())
        return;
    const DWORD wait = WaitForSingleObject(hMutex, waitTimeout);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return;
    const std::string nativePath = Win32NativePath(path.str());
    if (FILE* log = std::fopen(nativePath.c_str(), "a+b"))
    {
        const std::string bytes = ToFileText(text);
        std::fwrite(bytes.data(), 1, bytes.size(), log);
        std::fflush(log);
        const long position = std::ftell(log);
        if (position >= 0 && DWORD(position) >= maxSize)
            TruncateLog(log, nativePath);
        else
            std::fclose(log);
    }
    ReleaseMutex(hMutex);
}

// Keeps the newest three quarters. The copy is made beside the log and renamed over it, so the
// log is whole at every moment.
void CLogFile::TruncateLog(FILE* log, const std::string& logPath)
{
    const std::wstring wideLog = Utf8ToWide(logPath);
    const size_t slash = wideLog.rfind(L'/');
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring(L".") : wideLog.substr(0, slash + 1);
    wchar_t tempName[MAX_PATH + 1] = {};
    if (folder.size() >= 247 || GetTempFileNameW(folder.c_str(), L"Quendrel_LOG", 0, tempName) == 0)
    {
        std::fclose(log);
        return;
    }
    const std::string tempPath = Win32NativePath(tempName);
    FILE* temp = std::fopen(tempPath.c_str(), "wb");
    if (!temp)
    {
        std::remove(tempPath.c_str());
        std::fclose(log);
        return;
    }
    bool ok = std::fseek(log, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(log) : -1;
    ok = ok && size >= 0 && std::fseek(log, size / 4, SEEK_SET) == 0;
    ok = ok && std::fwrite(kTruncatedLine, 1, sizeof(kTruncatedLine) - 1, temp) == sizeof(kTruncatedLine) - 1;
    std::vector<char> chunk(kCopyChunk);
    while (ok)
    {
        const size_t n = std::fread(chunk.data(), 1, chunk.size(), log);
        if (n > 0 && std::fwrite(chunk.data(), 1, n, temp) != n)
            ok = false;
        if (n < chunk.size())
        {
            ok = ok && !std::ferror(log);
            break;
        }
    }
    ok = (std::fclose(temp) == 0) && ok;
    std::fclose(log);
    if (!ok || std::rename(tempPath.c_str(), logPath.c_str()) != 0)
        std::remove(tempPath.c_str());
}
