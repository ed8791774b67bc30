// One project variable. Its kind is told by the first character of its name: runtime (100, '@' or no
// prefix), global (101, '#') or system (102, '$').
#pragma once

#include "figkit/FoValue.h"
#include "mfc/Object.h"

enum
{
    PARAM_KIND_RUNTIME = 100,
    PARAM_KIND_GLOBAL = 101,
    PARAM_KIND_SYSTEM = 102,
};

class CParamObj : public CObject
{
    DECLARE_SERIAL(CParamObj)
public:
    CParamObj();
    CParamObj(const CString& name, const FO_VALUE& value, int kind);
    ~CParamObj() override;

    // The kind that a name's first character gives (100 for none of '@', '#', '$').
    static int KindFromName(const CString& name);

    const CString& GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }
    FO_VALUE& GetValue() { return m_value; }
    const FO_VALUE& GetValue() const { return m_value; }
    void SetValue(const FO_VALUE& value) { m_value = value; }
    int GetKind() const { return m_nKind; }
    void SetKind(int kind) { m_nKind = kind; }

    // Record: version (3), name, value, description, extra text, kind (from version 2), minimum and
    // maximum (from version 3). A version-1 record takes its kind from the name's prefix.
    void Serialize(CArchive& ar) override;

public:
    CString m_strName;
    FO_VALUE m_value;
    CString m_strDescription;
    CString m_strExtra;
    int m_nKind = PARAM_KIND_RUNTIME;
    double m_dMinValue = 0.0;
    double m_dMaxValue = 100.0;
};
