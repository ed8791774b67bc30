// A file time (UTC, 100 ns since 1601) as local-time text, as CTime(ft).Format(...) gives it.
#pragma once

#include "mfc/CString.h"

// strftime formats ("%c": the locale's date and time). FALSE, with the text empty, for a time the
// clock cannot show (before 1970 or beyond the calendar).
BOOL AfxFormatFileTime(const FILETIME& ft, LPCWSTR lpszFormat, CString& rText);
