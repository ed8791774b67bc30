#include "win32/System.h"

#include "win32/Utf.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <iconv.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

thread_local DWORD t_lastError = ERROR_SUCCESS;

constexpr int64_t kUnixEpochIn1601Seconds = 11644473600LL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;

void FillSystemTime(const tm& t, long nanos, LPSYSTEMTIME st)
{
    st->wYear = WORD(t.tm_year + 1900);
    st->wMonth = WORD(t.tm_mon + 1);
    st->wDayOfWeek = WORD(t.tm_wday);
    st->wDay = WORD(t.tm_mday);
    st->wHour = WORD(t.tm_hour);
    st->wMinute = WORD(t.tm_min);
    st->wSecond = WORD(t.tm_sec);
    st->wMilliseconds = WORD(nanos / 1000000);
}

// ---- code pages ----

bool IsUtf8Page(UINT cp)
{
    return cp == CP_UTF8 || cp == CP_ACP || cp == CP_OEMCP || cp == CP_THREAD_ACP;
}

std::string IconvName(UINT cp)
{
    switch (cp)
    {
    case 20127:
        return "ANSI_X3.4-1968";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 20932:
    case 51932:
        return "EUC-JP";
    case 51949:
        return "EUC-KR";
    case 50220:
        return "ISO-2022-JP";
    case 54936:
        return "GB18030";
    case 936:
        return "GBK";
    case 950:
        return "BIG5";
    case 1200:
    case 1201:
    case CP_UTF7:
    case CP_MACCP:
        return {};
    default:
        break;
    }
    if (cp >= 28591 && cp <= 28605)
        return "ISO-8859-" + std::to_string(cp - 28590);
    if (cp >= 37 && cp < 65000)
        return "CP" + std::to_string(cp);
    return {};
}

// An iconv descriptor for one conversion, closed on scope exit.
class CIconv
{
public:
    CIconv(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~CIconv()
    {
        if (Ok())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

bool Utf8Valid(const unsigned char* s, size_t n)
{
    size_t i = 0;
    while (i < n)
    {
        const unsigned char c = s[i];
        size_t len = 0;
        uint32_t cp = 0;
        if (c < 0x80)
        {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0)
            len = 2, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0)
            len = 3, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0)
            len = 4, cp = c & 0x07;
        else
            return false;
        if (i + len > n)
            return false;
        for (size_t k = 1; k < len; ++k)
        {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

bool DecodeIconv(const std::string& name, const char* src, size_t n, std::wstring& out, bool& invalid)
{
    CIconv cd("WCHAR_T", name);
    if (!cd.Ok())
        return false;
    char* in = const_cast<char*>(src);
    size_t inLeft = n;
    std::vector<wchar_t> buf(n + 16);
    while (inLeft > 0)
    {
        char* outp = reinterpret_cast<char*>(buf.data());
        size_t outLeft = buf.size() * sizeof(wchar_t);
        const size_t rc = iconv(cd.Get(), &in, &inLeft, &outp, &outLeft);
        const size_t produced = (reinterpret_cast<wchar_t*>(outp) - buf.data());
        out.append(buf.data(), produced);
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        invalid = true;
        out += wchar_t(0xFFFD);
        if (errno == EILSEQ)
        {
            ++in;
            --inLeft;
            iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
        }
        else
            break; // an incomplete sequence at the end
    }
    return true;
}

bool EncodeIconv(const std::string& name, const wchar_t* src, size_t n, char defaultChar, std::string& out,
                 bool& usedDefault)
{
    CIconv cd(name, "WCHAR_T");
    if (!cd.Ok())
        return false;
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(src));
    size_t inLeft = n * sizeof(wchar_t);
    std::vector<char> buf(n * 4 + 16);
    while (inLeft > 0)
    {
        char* outp = buf.data();
        size_t outLeft = buf.size();
        const size_t rc = iconv(cd.Get(), &in, &inLeft, &outp, &outLeft);
        out.append(buf.data(), size_t(outp - buf.data()));
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // A character the code page cannot hold (or no character at all).
        usedDefault = true;
        out += defaultChar;
        const size_t skip = std::min(inLeft, sizeof(wchar_t));
        in += skip;
        inLeft -= skip;
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    // Shift sequences back to the initial state.
    char* outp = buf.data();
    size_t outLeft = buf.size();
    iconv(cd.Get(), nullptr, nullptr, &outp, &outLeft);
    out.append(buf.data(), size_t(outp - buf.data()));
    return true;
}

// ---- locales ----

struct LocaleRow
{
    LANGID id;
    const char* iso639;
    const char* iso3166;
    const wchar_t* language;
    const wchar_t* country;
    const wchar_t* native;
};

const LocaleRow kLocales[] = {
    {0x0409, "en", "US", L"English", L"United States", L"English"},
    {0x0809, "en", "GB", L"English", L"United Kingdom", L"English"},
    {0x0C09, "en", "AU", L"English", L"Australia", L"English"},
    {0x1009, "en", "CA", L"English", L"Canada", L"English"},
    {0x0407, "de", "DE", L"German", L"Germany", L"Deutsch"},
    {0x0C07, "de", "AT", L"German", L"Austria", L"Deutsch"},
    {0x0807, "de", "CH", L"German", L"Switzerland", L"Deutsch"},
    {0x040C, "fr", "FR", L"French", L"France", L"fran\u00e7ais"},
    {0x080C, "fr", "BE", L"French", L"Belgium", L"fran\u00e7ais"},
    {0x0C0C, "fr", "CA", L"French", L"Canada", L"fran\u00e7ais"},
    {0x100C, "fr", "CH", L"French", L"Switzerland", L"fran\u00e7ais"},
    {0x0C0A, "es", "ES", L"Spanish", L"Spain", L"espa\u00f1ol"},
    {0x080A, "es", "MX", L"Spanish", L"Mexico", L"espa\u00f1ol"},
    {0x0410, "it", "IT", L"Italian", L"Italy", L"italiano"},
    {0x0413, "nl", "NL", L"Dutch", L"Netherlands", L"Nederlands"},
    {0x0813, "nl", "BE", L"Dutch", L"Belgium", L"Nederlands"},
    {0x0816, "pt", "PT", L"Portuguese", L"Portugal", L"portugu\u00eas"},
    {0x0416, "pt", "BR", L"Portuguese", L"Brazil", L"portugu\u00eas"},
    {0x041D, "sv", "SE", L"Swedish", L"Sweden", L"svenska"},
    {0x0406, "da", "DK", L"Danish", L"Denmark", L"dansk"},
    {0x0414, "nb", "NO", L"Norwegian", L"Norway", L"norsk"},
    {0x040B, "fi", "FI", L"Finnish", L"Finland", L"suomi"},
    {0x0415, "pl", "PL", L"Polish", L"Poland", L"polski"},
    {0x0405, "cs", "CZ", L"Czech", L"Czech Republic", L"\u010de\u0161tina"},
    {0x041B, "sk", "SK", L"Slovak", L"Slovakia", L"sloven\u010dina"},
    {0x040E, "hu", "HU", L"Hungarian", L"Hungary", L"magyar"},
    {0x0418, "ro", "RO", L"Romanian", L"Romania", L"rom\u00e2n\u0103"},
    {0x0402, "bg", "BG", L"Bulgarian", L"Bulgaria",
     L"\u0431\u044a\u043b\u0433\u0430\u0440\u0441\u043a\u0438"},
    {0x041A, "hr", "HR", L"Croatian", L"Croatia", L"hrvatski"},
    {0x0424, "sl", "SI", L"Slovenian", L"Slovenia", L"sloven\u0161\u010dina"},
    {0x0419, "ru", "RU", L"Russian", L"Russia", L"\u0440\u0443\u0441\u0441\u043a\u0438\u0439"},
    {0x0422, "uk", "UA", L"Ukrainian", L"Ukraine",
     L"\u0443\u043a\u0440\u0430\u0457\u043d\u0441\u044c\u043a\u0430"},
    {0x041F, "tr", "TR", L"Turkish", L"Turkey", L"T\u00fcrk\u00e7e"},
    {0x0408, "el", "GR", L"Greek", L"Greece", L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
    {0x0411, "ja", "JP", L"Japanese", L"Japan", L"\u65e5\u672c\u8a9e"},
    {0x0412, "ko", "KR", L"Korean", L"Korea", L"\ud55c\uad6d\uc5b4"},
    {0x0804, "zh", "CN", L"Chinese", L"People's Republic of China", L"\u4e2d\u6587"},
    {0x0404, "zh", "TW", L"Chinese", L"Taiwan", L"\u4e2d\u6587"},
    {0x0401, "ar", "SA", L"Arabic", L"Saudi Arabia", L"\u0627\u0644\u0639\u0631\u0628\u064a\u0629"},
    {0x040D, "he", "IL", L"Hebrew", L"Israel", L"\u05e2\u05d1\u05e8\u05d9\u05ea"},
    {0x0403, "ca", "ES", L"Catalan", L"Spain", L"catal\u00e0"},
    {0x0425, "et", "EE", L"Estonian", L"Estonia", L"eesti"},
    {0x0426, "lv", "LV", L"Latvian", L"Latvia", L"latvie\u0161u"},
    {0x0427, "lt", "LT", L"Lithuanian", L"Lithuania", L"lietuvi\u0173"},
};

const LocaleRow* FindLocale(LANGID id)
{
    for (const auto& row : kLocales)
        if (row.id == id)
            return &row;
    return nullptr;
}

LANGID LangIdFromEnvironment()
{
    const char* value = nullptr;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* v = std::getenv(var);
        if (v && v[0])
        {
            value = v;
            break;
        }
    }
    if (!value)
        return 0x0409;
    std::string s(value);
    s = s.substr(0, s.find_first_of(".@"));
    const std::string lang = s.substr(0, s.find('_'));
    const std::string country = s.find('_') == std::string::npos ? std::string() : s.substr(s.find('_') + 1);
    const LocaleRow* first = nullptr;
    for (const auto& row : kLocales)
    {
        if (lang == row.iso639 || (lang == "no" && std::strcmp(row.iso639, "nb") == 0))
        {
            if (country == row.iso3166)
                return row.id;
            if (!first)
                first = &row;
        }
    }
    return first ? first->id : LANGID(0x0409);
}

thread_local LCID t_threadLocale = 0;

LANGID ResolveLocale(LCID lcid)
{
    const LANGID id = LANGIDFROMLCID(lcid);
    if (lcid == 0 || id == LOCALE_USER_DEFAULT || id == LOCALE_SYSTEM_DEFAULT || id == LANG_NEUTRAL)
        return GetUserDefaultLangID();
    return id;
}

int StoreText(const std::wstring& text, LPWSTR buf, int cch)
{
    const int needed = int(text.size()) + 1;
    if (cch == 0)
        return needed;
    if (!buf || cch < needed)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(buf, text.c_str(), size_t(needed));
    return needed;
}

// ---- messages ----

const wchar_t* FindText(DWORD code)
{
    for (const auto& e : Win32ErrorTexts)
        if (e.code == code)
            return e.text;
    return nullptr;
}

bool SystemText(DWORD id, std::wstring& text)
{
    if (const wchar_t* t = FindText(id))
    {
        text = t;
        return true;
    }
    if ((id & 0xFFFF0000u) == 0x80070000u)
        if (const wchar_t* t = FindText(id & 0xFFFF))
        {
            text = t;
            return true;
        }
    if (id > 0 && id < 134)
    {
        char buf[256];
        const char* s = strerror_r(int(id), buf, sizeof(buf));
        if (s && std::strncmp(s, "Unknown error", 13) != 0)
        {
            text = Utf8ToWide(s);
            text += L'.';
            return true;
        }
    }
    return false;
}

// Replaces %1..%99 (with an optional !printf-format!) and the escapes %0 %% %n %r %t %. %! %space.
bool ExpandInserts(const std::wstring& in, bool ignoreInserts, const DWORD_PTR* args, std::wstring& out,
                   bool& endNow)
{
    endNow = false;
    for (size_t i = 0; i < in.size(); ++i)
    {
        const wchar_t c = in[i];
        if (c != L'%' || i + 1 >= in.size())
        {
            out += c;
            continue;
        }
        const wchar_t n = in[++i];
        if (n >= L'1' && n <= L'9' && ignoreInserts)
        {
            out += c;
            out += n;
        }
        else if (n >= L'1' && n <= L'9')
        {
            unsigned index = unsigned(n - L'0');
            if (i + 1 < in.size() && in[i + 1] >= L'0' && in[i + 1] <= L'9')
                index = index * 10 + unsigned(in[++i] - L'0');
            std::wstring fmt = L"s";
            if (i + 1 < in.size() && in[i + 1] == L'!')
            {
                const size_t close = in.find(L'!', i + 2);
                if (close == std::wstring::npos)
                    return false;
                fmt = in.substr(i + 2, close - i - 2);
                i = close;
            }
            if (!args)
                return false;
            const DWORD_PTR arg = args[index - 1];
            if (!fmt.empty() && (fmt.back() == L's' || fmt.back() == L'S'))
                out += arg ? reinterpret_cast<const wchar_t*>(arg) : L"(null)";
            else
            {
                wchar_t buf[64];
                const std::wstring f = L"%" + fmt;
                swprintf(buf, 64, f.c_str(), static_cast<unsigned long long>(arg));
                out += buf;
            }
        }
        else if (n == L'0')
        {
            endNow = true;
            return true;
        }
        else if (n == L'n')
            out += L"\r\n";
        else if (n == L'r')
            out += L'\r';
        else if (n == L't')
            out += L'\t';
        else
            out += n; // %% %. %! %space
    }
    return true;
}

} // namespace

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

unsigned DaysInMonth(int64_t y, unsigned m)
{
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return days[m - 1];
}

WORD DayOfWeekFromDays(int64_t days)
{
    return WORD(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
}

DWORD GetTickCount()
{
    return DWORD(GetTickCount64());
}

ULONGLONG GetTickCount64()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ULONGLONG(ts.tv_sec) * 1000 + ULONGLONG(ts.tv_nsec / 1000000);
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    localtime_r(&ts.tv_sec, &t);
    FillSystemTime(t, ts.tv_nsec, lpSystemTime);
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    gmtime_r(&ts.tv_sec, &t);
    FillSystemTime(t, ts.tv_nsec, lpSystemTime);
}

void GetSystemTimeAsFileTime(LPFILETIME ft)
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    const uint64_t ticks =
        uint64_t(ts.tv_sec + kUnixEpochIn1601Seconds) * kTicksPerSecond + uint64_t(ts.tv_nsec / 100);
    ft->dwLowDateTime = DWORD(ticks);
    ft->dwHighDateTime = DWORD(ticks >> 32);
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME st)
{
    if (!lpFileTime || !st)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint64_t ticks = (uint64_t(lpFileTime->dwHighDateTime) << 32) | lpFileTime->dwLowDateTime;
    if (ticks >= 0x8000000000000000ULL)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int64_t seconds = int64_t(ticks / kTicksPerSecond) - kUnixEpochIn1601Seconds;
    int64_t days = seconds / 86400;
    int64_t rem = seconds % 86400;
    if (rem < 0)
    {
        rem += 86400;
        --days;
    }
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    st->wYear = WORD(y);
    st->wMonth = WORD(m);
    st->wDay = WORD(d);
    st->wDayOfWeek = DayOfWeekFromDays(days);
    st->wHour = WORD(rem / 3600);
    st->wMinute = WORD((rem / 60) % 60);
    st->wSecond = WORD(rem % 60);
    st->wMilliseconds = WORD((ticks % kTicksPerSecond) / 10000);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME ft)
{
    if (!st || !ft || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 ||
        st->wDay < 1 || st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
        st->wSecond > 59 || st->wMilliseconds > 999)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay);
    const int64_t seconds = days * 86400 + st->wHour * 3600 + st->wMinute * 60 + st->wSecond;
    const uint64_t ticks =
        uint64_t(seconds + kUnixEpochIn1601Seconds) * kTicksPerSecond + uint64_t(st->wMilliseconds) * 10000;
    ft->dwLowDateTime = DWORD(ticks);
    ft->dwHighDateTime = DWORD(ticks >> 32);
    return TRUE;
}

DWORD GetLastError()
{
    return t_lastError;
}
void SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

DWORD Win32ErrorFromErrno(int err)
{
    switch (err)
    {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
        return ERROR_BUSY;
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ELOOP:
        return ERROR_BAD_PATHNAME;
    case EAGAIN:
        return ERROR_LOCK_VIOLATION;
    case ETIMEDOUT:
        return ERROR_TIMEOUT;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case ENOSYS:
    case ENOTSUP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

HLOCAL LocalAlloc(UINT uFlags, size_t uBytes)
{
    void* p =
        (uFlags & LMEM_ZEROINIT) ? std::calloc(1, uBytes ? uBytes : 1) : std::malloc(uBytes ? uBytes : 1);
    if (!p)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

HLOCAL LocalFree(HLOCAL hMem)
{
    std::free(hMem);
    return nullptr;
}

DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD, LPWSTR lpBuffer, DWORD nSize,
                     va_list* Arguments)
{
    std::wstring source;
    if (dwFlags & FORMAT_MESSAGE_FROM_STRING)
    {
        if (!lpSource)
        {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        source = static_cast<const wchar_t*>(lpSource);
    }
    else if (dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)
    {
        if (!SystemText(dwMessageId, source))
        {
            SetLastError(ERROR_MR_MID_NOT_FOUND);
            return 0;
        }
    }
    else
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool ignore = (dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
    const DWORD_PTR* args =
        (dwFlags & FORMAT_MESSAGE_ARGUMENT_ARRAY) ? reinterpret_cast<const DWORD_PTR*>(Arguments) : nullptr;
    std::wstring text;
    bool endNow = false;
    if (!ExpandInserts(source, ignore, args, text, endNow))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) && !(dwFlags & FORMAT_MESSAGE_FROM_STRING) &&
        !(dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK) && !endNow)
        text += L"\r\n";
    if (!lpBuffer)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER)
    {
        const size_t chars = std::max<size_t>(text.size() + 1, nSize);
        auto* mem = static_cast<wchar_t*>(LocalAlloc(LPTR, chars * sizeof(wchar_t)));
        if (!mem)
            return 0;
        std::wmemcpy(mem, text.c_str(), text.size() + 1);
        *reinterpret_cast<LPWSTR*>(lpBuffer) = mem;
        return DWORD(text.size());
    }
    if (text.size() + 1 > nSize)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(lpBuffer, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}

UINT GetACP()
{
    return CP_UTF8;
}
UINT GetOEMCP()
{
    return CP_UTF8;
}

BOOL IsValidCodePage(UINT CodePage)
{
    if (CodePage == CP_UTF8)
        return TRUE;
    const std::string name = IconvName(CodePage);
    if (name.empty())
        return FALSE;
    CIconv cd("WCHAR_T", name);
    return cd.Ok();
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar)
{
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : size_t(cbMultiByte);
    std::wstring out;
    bool invalid = false;
    if (IsUtf8Page(CodePage))
    {
        invalid = !Utf8Valid(reinterpret_cast<const unsigned char*>(lpMultiByteStr), n);
        out = Utf8ToWide(std::string_view(lpMultiByteStr, n));
    }
    else
    {
        const std::string name = IconvName(CodePage);
        if (name.empty() || !DecodeIconv(name, lpMultiByteStr, n, out, invalid))
        {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    if (invalid && (dwFlags & MB_ERR_INVALID_CHARS))
    {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (cchWideChar == 0)
        return int(out.size());
    if (out.size() > size_t(cchWideChar))
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::wmemcpy(lpWideCharStr, out.data(), out.size());
    return int(out.size());
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t n = cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : size_t(cchWideChar);
    std::string out;
    bool usedDefault = false;
    if (IsUtf8Page(CodePage))
    {
        const std::wstring_view in(lpWideCharStr, n);
        if (dwFlags & WC_ERR_INVALID_CHARS)
            for (wchar_t c : in)
                if (uint32_t(c) > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                {
                    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
                    return 0;
                }
        out = WideToUtf8(in);
    }
    else
    {
        const std::string name = IconvName(CodePage);
        const char def = lpDefaultChar ? *lpDefaultChar : '?';
        if (name.empty() || !EncodeIconv(name, lpWideCharStr, n, def, out, usedDefault))
        {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    if (cbMultiByte == 0)
        return int(out.size());
    if (out.size() > size_t(cbMultiByte))
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpMultiByteStr, out.data(), out.size());
    return int(out.size());
}

int GetLocaleInfoW(LCID Locale, DWORD LCType, LPWSTR lpLCData, int cchData)
{
    if (cchData < 0 || (cchData > 0 && !lpLCData))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    constexpr DWORD kNoUserOverride = 0x80000000u;
    constexpr DWORD kReturnNumber = 0x20000000u;
    const bool number = (LCType & kReturnNumber) != 0;
    const DWORD type = LCType & ~(kNoUserOverride | kReturnNumber);
    const LANGID id = ResolveLocale(Locale);
    const LocaleRow* row = FindLocale(id);
    DWORD value = 0;
    std::wstring text;
    switch (type)
    {
    case LOCALE_ILANGUAGE:
    {
        wchar_t buf[8];
        swprintf(buf, 8, L"%04x", unsigned(id));
        text = buf;
        value = id;
        break;
    }
    case LOCALE_IDEFAULTANSICODEPAGE:
    case LOCALE_IDEFAULTCODEPAGE:
        text = L"65001";
        value = CP_UTF8;
        break;
    case LOCALE_SDECIMAL:
        text = L".";
        break;
    case LOCALE_STHOUSAND:
        text = L",";
        break;
    case LOCALE_SENGLANGUAGE:
    case LOCALE_SLANGUAGE:
    case LOCALE_SNATIVELANGNAME:
    case LOCALE_SISO639LANGNAME:
    case LOCALE_SISO3166CTRYNAME:
    case LOCALE_SENGCOUNTRY:
    case LOCALE_SNATIVECTRYNAME:
        if (!row)
        {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (type == LOCALE_SENGLANGUAGE)
            text = row->language;
        else if (type == LOCALE_SLANGUAGE)
            text = std::wstring(row->language) + L" (" + row->country + L")";
        else if (type == LOCALE_SNATIVELANGNAME)
            text = row->native;
        else if (type == LOCALE_SISO639LANGNAME)
            text = Utf8ToWide(row->iso639);
        else if (type == LOCALE_SENGCOUNTRY || type == LOCALE_SNATIVECTRYNAME)
            text = row->country; // no native country names are kept
        else
            text = Utf8ToWide(row->iso3166);
        break;
    default:
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (number)
    {
        if (type != LOCALE_ILANGUAGE && type != LOCALE_IDEFAULTANSICODEPAGE &&
            type != LOCALE_IDEFAULTCODEPAGE)
        {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        // The number fills one wchar_t (32 bits here).
        if (cchData == 0)
            return 1;
        lpLCData[0] = wchar_t(value);
        return 1;
    }
    return StoreText(text, lpLCData, cchData);
}

LCID GetThreadLocale()
{
    if (t_threadLocale == 0)
        t_threadLocale = GetUserDefaultLCID();
    return t_threadLocale;
}

BOOL SetThreadLocale(LCID Locale)
{
    if (PRIMARYLANGID(LANGIDFROMLCID(Locale)) == 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    t_threadLocale = Locale;
    return TRUE;
}

LANGID GetUserDefaultLangID()
{
    return LangIdFromEnvironment();
}
LANGID GetSystemDefaultLangID()
{
    return LangIdFromEnvironment();
}
LCID GetUserDefaultLCID()
{
    return MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT);
}
LCID GetSystemDefaultLCID()
{
    return MAKELCID(GetSystemDefaultLangID(), SORT_DEFAULT);
}
LANGID GetUserDefaultUILanguage()
{
    return GetUserDefaultLangID();
}

DWORD ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize)
{
    if (!lpSrc)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::wstring src = lpSrc;
    std::wstring out;
    size_t i = 0;
    while (i < src.size())
    {
        if (src[i] == L'%')
        {
            const size_t close = src.find(L'%', i + 1);
            if (close != std::wstring::npos && close > i + 1)
            {
                const std::string name = WideToUtf8(src.substr(i + 1, close - i - 1));
                if (const char* v = std::getenv(name.c_str()))
                {
                    out += Utf8ToWide(v);
                    i = close + 1;
                    continue;
                }
            }
        }
        out += src[i++];
    }
    const DWORD needed = DWORD(out.size() + 1);
    if (lpDst && nSize >= needed)
        std::wmemcpy(lpDst, out.c_str(), needed);
    return needed;
}

DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize)
{
    if (!lpName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* v = std::getenv(WideToUtf8(lpName).c_str());
    if (!v)
    {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::wstring value = Utf8ToWide(v);
    if (!lpBuffer || nSize <= value.size())
        return DWORD(value.size() + 1);
    std::wmemcpy(lpBuffer, value.c_str(), value.size() + 1);
    return DWORD(value.size());
}

BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue)
{
    if (!lpName || !lpName[0] || std::wcschr(lpName, L'='))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string name = WideToUtf8(lpName);
    const int rc = lpValue ? setenv(name.c_str(), WideToUtf8(lpValue).c_str(), 1) : unsetenv(name.c_str());
    if (rc != 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize)
{
    if (!nSize)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    std::wstring name = Utf8ToWide(host);
    name = name.substr(0, name.find(L'.')).substr(0, MAX_COMPUTERNAME_LENGTH);
    if (!lpBuffer || *nSize <= name.size())
    {
        *nSize = DWORD(name.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::wmemcpy(lpBuffer, name.c_str(), name.size() + 1);
    *nSize = DWORD(name.size());
    return TRUE;
}
