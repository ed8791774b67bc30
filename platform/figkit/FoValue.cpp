#include "figkit/FoValue.h"

#include "mfc/Archive.h"
#include "mfc/Exceptions.h"

#include <cmath>
#include <cwchar>

FO_VALUE FO_VALUE::MakeBool(BOOL b)
{
    FO_VALUE v;
    v.SetBool(b);
    return v;
}
FO_VALUE FO_VALUE::MakeString(const CString& s)
{
    FO_VALUE v;
    v.SetString(s);
    return v;
}
FO_VALUE FO_VALUE::MakeInt(int n)
{
    FO_VALUE v;
    v.SetInt(n);
    return v;
}
FO_VALUE FO_VALUE::MakeFloat(float f)
{
    FO_VALUE v;
    v.SetFloat(f);
    return v;
}
FO_VALUE FO_VALUE::MakeDouble(double d)
{
    FO_VALUE v;
    v.SetDouble(d);
    return v;
}
FO_VALUE FO_VALUE::MakeDWord(DWORD dw)
{
    FO_VALUE v;
    v.SetDWord(dw);
    return v;
}
FO_VALUE FO_VALUE::MakeDateTime(double dt, int status)
{
    FO_VALUE v;
    v.SetDateTime(dt, status);
    return v;
}
FO_VALUE FO_VALUE::MakeColor(COLORREF cr)
{
    FO_VALUE v;
    v.SetColor(cr);
    return v;
}

void FO_VALUE::SetBool(BOOL b)
{
    m_nValueType = FO_VALUE_BOOL;
    m_bValue = b ? TRUE : FALSE;
}
void FO_VALUE::SetString(const CString& s)
{
    m_nValueType = FO_VALUE_STRING;
    m_strValue = s;
}
void FO_VALUE::SetInt(int n)
{
    m_nValueType = FO_VALUE_INT;
    m_nValue = n;
}
void FO_VALUE::SetFloat(float f)
{
    m_nValueType = FO_VALUE_FLOAT;
    m_fValue = f;
}
void FO_VALUE::SetDouble(double d)
{
    m_nValueType = FO_VALUE_DOUBLE;
    m_dValue = d;
}
void FO_VALUE::SetDWord(DWORD dw)
{
    m_nValueType = FO_VALUE_DWORD;
    m_dwValue = dw;
}
void FO_VALUE::SetDateTime(double dt, int status)
{
    m_nValueType = FO_VALUE_DATETIME;
    m_dtValue.m_dt = dt;
    m_dtValue.m_status = status;
}
void FO_VALUE::SetColor(COLORREF cr)
{
    m_nValueType = FO_VALUE_COLOR;
    m_crValue = cr;
}

BOOL FO_VALUE::IsNumeric() const
{
    switch (m_nValueType)
    {
    case FO_VALUE_BOOL:
    case FO_VALUE_INT:
    case FO_VALUE_FLOAT:
    case FO_VALUE_DOUBLE:
    case FO_VALUE_DWORD:
        return TRUE;
    default:
        return FALSE;
    }
}

double FO_VALUE::GetAsDouble() const
{
    switch (m_nValueType)
    {
    case FO_VALUE_BOOL:
        return m_bValue ? 1.0 : 0.0;
    case FO_VALUE_STRING:
    {
        const wchar_t* s = m_strValue.GetString();
        wchar_t* end = nullptr;
        double d = std::wcstod(s, &end);
        return end == s ? 0.0 : d;
    }
    case FO_VALUE_INT:
        return m_nValue;
    case FO_VALUE_FLOAT:
        return m_fValue;
    case FO_VALUE_DOUBLE:
        return m_dValue;
    case FO_VALUE_DWORD:
        return m_dwValue;
    case FO_VALUE_DATETIME:
        return m_dtValue.m_dt;
    case FO_VALUE_COLOR:
        return m_crValue;
    default:
        return 0.0;
    }
}

CString FO_VALUE::GetAsString() const
{
    CString s;
    switch (m_nValueType)
    {
    case FO_VALUE_BOOL:
        return m_bValue ? L"1" : L"0";
    case FO_VALUE_STRING:
        return m_strValue;
    case FO_VALUE_INT:
        s.Format(L"%d", m_nValue);
        break;
    case FO_VALUE_FLOAT:
        s.Format(L"%g", double(m_fValue));
        break;
    case FO_VALUE_DOUBLE:
        s.Format(L"%g", m_dValue);
        break;
    case FO_VALUE_DWORD:
        s.Format(L"%u", m_dwValue);
        break;
    case FO_VALUE_DATETIME:
        s.Format(L"%g", m_dtValue.m_dt);
        break;
    case FO_VALUE_COLOR:
        s.Format(L"%02X%02X%02X", GetRValue(m_crValue), GetGValue(m_crValue), GetBValue(m_crValue));
        break;
    default:
        break;
    }
    return s;
}

bool operator==(const FO_VALUE& a, const FO_VALUE& b)
{
    if (a.m_nValueType != b.m_nValueType)
        return false;
    switch (a.m_nValueType)
    {
    case FO_VALUE_BOOL:
        return (a.m_bValue != 0) == (b.m_bValue != 0);
    case FO_VALUE_STRING:
        return a.m_strValue == b.m_strValue;
    case FO_VALUE_INT:
        return a.m_nValue == b.m_nValue;
    case FO_VALUE_FLOAT:
        return a.m_fValue == b.m_fValue;
    case FO_VALUE_DOUBLE:
        return a.m_dValue == b.m_dValue;
    case FO_VALUE_DWORD:
        return a.m_dwValue == b.m_dwValue;
    case FO_VALUE_DATETIME:
        return a.m_dtValue == b.m_dtValue;
    case FO_VALUE_COLOR:
        return a.m_crValue == b.m_crValue;
    default:
        return true;
    }
}

void FO_VALUE::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << int(m_nValueType);
        switch (m_nValueType)
        {
        case FO_VALUE_BOOL:
            ar << int(m_bValue ? 1 : 0);
            break;
        case FO_VALUE_STRING:
            ar << m_strValue;
            break;
        case FO_VALUE_INT:
            ar << m_nValue;
            break;
        case FO_VALUE_FLOAT:
            ar << m_fValue;
            break;
        case FO_VALUE_DOUBLE:
            ar << m_dValue;
            break;
        case FO_VALUE_DWORD:
            ar << m_dwValue;
            break;
        case FO_VALUE_DATETIME:
            ar << m_dtValue.m_dt << int(m_dtValue.m_status);
            break;
        case FO_VALUE_COLOR:
            ar << DWORD(m_crValue);
            break;
        default:
            AfxThrowArchiveException(CArchiveException::badSchema);
        }
        return;
    }

    int type = 0;
    ar >> type;
    switch (type)
    {
    case FO_VALUE_BOOL:
    {
        int b = 0;
        ar >> b;
        SetBool(b != 0);
        break;
    }
    case FO_VALUE_STRING:
    {
        CString s;
        ar >> s;
        SetString(s);
        break;
    }
    case FO_VALUE_INT:
    {
        int n = 0;
        ar >> n;
        SetInt(n);
        break;
    }
    case FO_VALUE_FLOAT:
    {
        float f = 0;
        ar >> f;
        SetFloat(f);
        break;
    }
    case FO_VALUE_DOUBLE:
    {
        double d = 0;
        ar >> d;
        SetDouble(d);
        break;
    }
    case FO_VALUE_DWORD:
    {
        DWORD dw = 0;
        ar >> dw;
        SetDWord(dw);
        break;
    }
    case FO_VALUE_DATETIME:
    {
        double dt = 0;
        int status = 0;
        ar >> dt >> status;
        SetDateTime(dt, status);
        break;
    }
    case FO_VALUE_COLOR:
    {
        DWORD cr = 0;
        ar >> cr;
        SetColor(cr);
        break;
    }
    default:
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
}
