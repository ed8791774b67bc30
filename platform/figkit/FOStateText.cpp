#include "figkit/FOStateText.h"

#include "figkit/FODrawHelper.h"

#include <cstdio>
#include <cwchar>

namespace FOStateText
{
namespace
{
std::vector<CString> Split(const CString& strText, const wchar_t* sep)
{
    CStringArray parts;
    FOStringToStringArray(strText, sep, parts);
    std::vector<CString> out;
    out.reserve(size_t(parts.GetSize()));
    for (INT_PTR i = 0; i < parts.GetSize(); ++i)
        out.push_back(parts[i]);
    return out;
}

CString Join(const std::vector<CString>& parts, const wchar_t* sep)
{
    CString text;
    for (size_t i = 0; i < parts.size(); ++i)
    {
        if (i)
            text += sep;
        text += parts[i];
    }
    return text;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}
} // namespace

std::vector<Record> SplitRecords(const CString& strText)
{
    std::vector<Record> records;
    for (const CString& piece : Split(strText, L"@"))
    {
        const int at = piece.Find(L'$');
        if (at < 0)
            records.push_back({CString(), piece});
        else
            records.push_back({piece.Left(at), piece.Mid(at + 1)});
    }
    return records;
}

CString JoinRecords(const std::vector<Record>& records)
{
    std::vector<CString> parts;
    parts.reserve(records.size());
    for (const Record& r : records)
        parts.push_back(r.strKey + L"$" + r.strBody);
    return Join(parts, L"@");
}

std::vector<Item> SplitItems(const CString& strBody)
{
    std::vector<Item> items;
    for (const CString& piece : Split(strBody, L"#"))
    {
        if (piece.IsEmpty())
            continue;
        const int comma = piece.Find(L',');
        if (comma < 0)
            items.push_back({piece, CString()});
        else
            items.push_back({piece.Left(comma), piece.Mid(comma + 1)});
    }
    return items;
}

CString JoinItems(const std::vector<Item>& items)
{
    std::vector<CString> parts;
    parts.reserve(items.size());
    for (const Item& item : items)
        parts.push_back(item.strCode + L"," + item.strValue);
    return Join(parts, L"#");
}

std::vector<CString> SplitFields(const CString& strValue)
{
    return Split(strValue, L",");
}

CString JoinFields(const std::vector<CString>& fields)
{
    return Join(fields, L",");
}

CString FormatColor(COLORREF cr)
{
    CString text;
    text.Format(L"%02X%02X%02X", unsigned(cr & 0xFF), unsigned((cr >> 8) & 0xFF),
                unsigned((cr >> 16) & 0xFF));
    return text;
}

BOOL ParseColor(const CString& strText, COLORREF& cr)
{
    if (strText.GetLength() != 6)
        return FALSE;
    unsigned bytes[3] = {};
    for (int i = 0; i < 6; ++i)
    {
        const int d = HexDigit(strText[i]);
        if (d < 0)
            return FALSE;
        bytes[i / 2] = bytes[i / 2] * 16 + unsigned(d);
    }
    cr = COLORREF(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16));
    return TRUE;
}

CString FormatRangeKey(double dLower, double dUpper)
{
    CString text;
    text.Format(L"%.f,%.f", dLower, dUpper);
    return text;
}

BOOL ParseRangeKey(const CString& strKey, double& dLower, double& dUpper)
{
    const std::vector<CString> fields = SplitFields(strKey);
    if (fields.size() != 2)
        return FALSE;
    wchar_t* end = nullptr;
    const double lower = std::wcstod(fields[0].GetString(), &end);
    if (end == fields[0].GetString())
        return FALSE;
    const double upper = std::wcstod(fields[1].GetString(), &end);
    if (end == fields[1].GetString())
        return FALSE;
    dLower = lower;
    dUpper = upper;
    return TRUE;
}

CString FormatMenuBody(UINT nEventType, const CString& strEvent)
{
    CString event = strEvent;
    event.Trim();
    if (event.IsEmpty())
        event = L"None";
    CString text;
    text.Format(L"%u#", nEventType);
    return text + event;
}

void ParseMenuBody(const CString& strBody, UINT& nEventType, CString& strEvent)
{
    const std::vector<CString> parts = Split(strBody, L"#");
    nEventType = parts.empty() ? 0 : UINT(std::wcstoul(parts[0].GetString(), nullptr, 10));
    strEvent = parts.size() > 1 ? parts[1] : CString();
}

CString NextFreeStateName(const std::vector<CString>& used)
{
    auto taken = [&used](const CString& name)
    {
        for (const CString& u : used)
            if (u == name)
                return true;
        return false;
    };
    CString name = L"STATE_0";
    for (unsigned n = 1; taken(name); ++n)
        name.Format(L"STATE_%u", n);
    return name;
}
} // namespace FOStateText
