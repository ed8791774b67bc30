// Conversions between the wide text of the system (wchar_t, UTF-32 here) and UTF-8 / UTF-16.
#pragma once

#include <string>
#include <string_view>

// Invalid input becomes U+FFFD; nothing throws.
std::wstring Utf8ToWide(std::string_view s);
std::string WideToUtf8(std::wstring_view s);
std::u16string WideToUtf16(std::wstring_view s);
std::wstring Utf16ToWide(std::u16string_view s);
