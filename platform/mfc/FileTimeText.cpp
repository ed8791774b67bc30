#include "mfc/FileTimeText.h"

#include <ctime>
#include <cwchar>

BOOL AfxFormatFileTime(const FILETIME& ft, LPCWSTR lpszFormat, CString& rText)
{
    rText.Empty();
    // 100 ns intervals between 1601-01-01 and 1970-01-01.
    constexpr unsigned long long kUnixEpoch = 116444736000000000ULL;
    const unsigned long long ticks =
        (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (!lpszFormat || ticks < kUnixEpoch)
        return FALSE;
    const unsigned long long seconds = (ticks - kUnixEpoch) / 10000000ULL;
    // Year 3000 and beyond is out of the clock's range, as it is for CTime.
    if (seconds > 32535215999ULL)
        return FALSE;
    const std::time_t t = std::time_t(seconds);
    std::tm local = {};
    if (!localtime_r(&t, &local))
        return FALSE;
    wchar_t buf[256];
    const size_t n = std::wcsftime(buf, sizeof(buf) / sizeof(buf[0]), lpszFormat, &local);
    if (n == 0 && *lpszFormat)
        return FALSE;
    rText = CString(std::wstring(buf, n));
    return TRUE;
}
