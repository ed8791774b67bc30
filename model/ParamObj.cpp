#include "model/ParamObj.h"

#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CParamObj, CObject, 0)

namespace
{
const int kParamRecordVersion = 3;
}

CParamObj::CParamObj() = default;

CParamObj::CParamObj(const CString& name, const FO_VALUE& value, int kind)
    : m_strName(name), m_value(value), m_nKind(kind)
{
}

CParamObj::~CParamObj() = default;

int CParamObj::KindFromName(const CString& name)
{
    if (name.IsEmpty())
        return PARAM_KIND_RUNTIME;
    switch (name[0])
    {
    case L'#':
        return PARAM_KIND_GLOBAL;
    case L'$':
        return PARAM_KIND_SYSTEM;
    default:
        return PARAM_KIND_RUNTIME;
    }
}

void CParamObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << kParamRecordVersion;
        ar << m_strName;
        m_value.Serialize(ar);
        ar << m_strDescription << m_strExtra;
        ar << m_nKind;
        ar << m_dMinValue << m_dMaxValue;
        return;
    }

    int version = 0;
    ar >> version;
    if (version < 0 || version > kParamRecordVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ar >> m_strName;
    m_value.Serialize(ar);
    ar >> m_strDescription >> m_strExtra;
    if (version >= 2)
        ar >> m_nKind;
    else
        m_nKind = KindFromName(m_strName);
    if (version >= 3)
        ar >> m_dMinValue >> m_dMaxValue;
}
