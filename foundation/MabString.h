// CMabString: a wide string with field and fixed-width number services.
#pragma once

#include "mfc/CString.h"

class CMabString : public CString
{
public:
    CMabString() = default;
    CMabString(const CString& s) : CString(s) {}
    CMabString(LPCWSTR s) : CString(s) {}

    // The text between the n-th and (n+1)-th delimiter, counting from 0; the last runs to the end.
    CString GetField(wchar_t delim, int index) const;
    // The number of delimiters.
    int GetFieldCount(wchar_t delim) const;
    int Count(wchar_t ch) const;
    int Count(LPCWSTR sub) const;

    // A number right-aligned in `width` characters: "ERR" when it is not finite, "Error" when it
    // does not fit. Widths below 4 cannot hold the error marks: the message is shown and the text
    // is emptied.
    CMabString& SetDouble(double value, int width, wchar_t expChar = L'E');
    CMabString& SetLong(long value, int width);
    // The number the text holds (a leading "$" is skipped); 0 for no number.
    double GetDouble() const;
    long GetLong() const;
};
