#include "model/ChartPointList.h"

#include "figkit/FODrawHelper.h"

#include <cstdlib>
#include <cwchar>
#include <cwctype>

void XVKGetChartPointList(CArray<XVK_CHART_ENTRY>& list, const CString& text)
{
    list.RemoveAll();
    if (text.IsEmpty())
        return;
    CStringArray entries;
    FOStringToStringArray(text, L"@", entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        const CString& entry = entries[i];
        XVK_CHART_ENTRY e;
        const int at = entry.Find(L'$');
        if (at < 0)
            e.strDef = entry;
        else
        {
            e.strName = entry.Left(at);
            e.strDef = entry.Mid(at + 1);
        }
        list.Add(e);
    }
}

namespace
{
// Two hex digits at most, as "%02X" reads them; -1 when the first is no hex digit.
int ReadHexByte(const wchar_t*& p)
{
    int value = -1;
    for (int n = 0; n < 2 && std::iswxdigit(wint_t(*p)); ++n, ++p)
    {
        const wchar_t c = *p;
        const int digit = (c >= L'0' && c <= L'9') ? c - L'0' : (c | 0x20) - L'a' + 10;
        value = (value < 0 ? 0 : value * 16) + digit;
    }
    return value;
}

double ToDouble(const CString& s)
{
    return std::atof(s.ToUtf8().c_str());
}
} // namespace

BOOL XVKParseChartLine(const CString& strDef, XVK_CHART_LINE& line)
{
    CStringArray fields;
    FOStringToStringArray(strDef, L",", fields);
    if (fields.GetSize() < 5)
        return FALSE;
    BYTE rgb[3] = {0, 0, 0};
    const wchar_t* p = fields[0].GetString();
    for (BYTE& b : rgb)
    {
        const int v = ReadHexByte(p);
        if (v < 0)
            break;
        b = BYTE(v);
    }
    line.crColor = RGB(rgb[0], rgb[1], rgb[2]);
    line.dMin = ToDouble(fields[1]);
    line.dMax = ToDouble(fields[2]);
    CString tag = fields[4];
    tag.Trim();
    line.strTag = tag;
    return TRUE;
}
