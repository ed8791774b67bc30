// A typed value as the diagram library passes it between shapes, properties, variables and scripts.
#pragma once

#include "mfc/CString.h"

class CArchive;

// Value type codes; stored in files, never renumber.
enum FO_VALUE_TYPE
{
    FO_VALUE_BOOL = 0,
    FO_VALUE_STRING = 1,
    FO_VALUE_INT = 2,
    FO_VALUE_FLOAT = 3,
    FO_VALUE_DOUBLE = 4,
    FO_VALUE_DWORD = 5,
    FO_VALUE_DATETIME = 6,
    FO_VALUE_COLOR = 7,
};

// A date and time as an OLE date (days since 1899-12-30) with a validity status.
struct FO_DATETIME
{
    enum
    {
        valid = 0,
        invalid = 1,
        null = 2,
    };
    double m_dt = 0.0;
    int m_status = valid;

    friend bool operator==(const FO_DATETIME& a, const FO_DATETIME& b)
    {
        return a.m_status == b.m_status && a.m_dt == b.m_dt;
    }
};

// One member per type; m_nValueType says which one holds the value. Boolean true is 1.
struct FO_VALUE
{
    int m_nValueType = FO_VALUE_BOOL;
    BOOL m_bValue = FALSE;
    CString m_strValue;
    int m_nValue = 0;
    float m_fValue = 0.0f;
    double m_dValue = 0.0;
    DWORD m_dwValue = 0;
    FO_DATETIME m_dtValue;
    COLORREF m_crValue = 0;

    FO_VALUE() = default;

    static FO_VALUE MakeBool(BOOL b);
    static FO_VALUE MakeString(const CString& s);
    static FO_VALUE MakeInt(int n);
    static FO_VALUE MakeFloat(float f);
    static FO_VALUE MakeDouble(double d);
    static FO_VALUE MakeDWord(DWORD dw);
    static FO_VALUE MakeDateTime(double dt, int status = FO_DATETIME::valid);
    static FO_VALUE MakeColor(COLORREF cr);

    void SetBool(BOOL b);
    void SetString(const CString& s);
    void SetInt(int n);
    void SetFloat(float f);
    void SetDouble(double d);
    void SetDWord(DWORD dw);
    void SetDateTime(double dt, int status = FO_DATETIME::valid);
    void SetColor(COLORREF cr);

    BOOL IsNumeric() const;
    // The value as a number (text parsed, 0 when it is no number; a date gives its OLE date).
    double GetAsDouble() const;
    // The value as text (numbers in the C locale, booleans "1"/"0", colours "RRGGBB" hex).
    CString GetAsString() const;

    // Type and the member of that type are compared; the other members do not matter.
    friend bool operator==(const FO_VALUE& a, const FO_VALUE& b);
    friend bool operator!=(const FO_VALUE& a, const FO_VALUE& b) { return !(a == b); }

    // Archive form: the type code (32-bit), then the value of that type: BOOL, int and DWORD as
    // 32 bits, float and double in IEEE form, text as an archive string, the date as double plus
    // 32-bit status, the colour as its 32-bit COLORREF. An unknown type code on loading throws
    // CArchiveException (badSchema).
    void Serialize(CArchive& ar);
};
