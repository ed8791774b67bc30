#include "figkit/FOValueProperties.h"

#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFOValueProperties, CFOBaseProperties, 0)

namespace
{
const int kValuePropVersion = 1;
}

CFOValueProperties::CFOValueProperties() = default;

CFOValueProperties::CFOValueProperties(int nPropId, const FO_VALUE& value, const CString& strName)
    : CFOBaseProperties(nPropId), m_value(value), m_strName(strName)
{
}

CFOValueProperties::CFOValueProperties(const CFOValueProperties& src)
    : CFOBaseProperties(src), m_value(src.m_value), m_strName(src.m_strName)
{
}

CFOValueProperties::~CFOValueProperties() = default;

CFOValueProperties& CFOValueProperties::operator=(const CFOValueProperties& src)
{
    CFOBaseProperties::operator=(src);
    m_value = src.m_value;
    m_strName = src.m_strName;
    return *this;
}

BOOL CFOValueProperties::PutValue(const int& nPropId, const FO_VALUE& value)
{
    if (nPropId != m_nPropId)
        return FALSE;
    m_value = value;
    return TRUE;
}

BOOL CFOValueProperties::GetValue(FO_VALUE& value, const int& nPropId) const
{
    if (nPropId != m_nPropId)
        return FALSE;
    value = m_value;
    return TRUE;
}

CFOBaseProperties* CFOValueProperties::Copy() const
{
    return new CFOValueProperties(*this);
}

BOOL CFOValueProperties::IsEqual(const CFOBaseProperties* pOther) const
{
    const auto* other = dynamic_cast<const CFOValueProperties*>(pOther);
    return other && other->m_nPropId == m_nPropId && other->m_value == m_value &&
           other->m_strName == m_strName;
}

void CFOValueProperties::Serialize(CArchive& ar)
{
    CFOBaseProperties::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << kValuePropVersion << m_strName;
        m_value.Serialize(ar);
        return;
    }
    int version = 0;
    ar >> version;
    if (version < 1 || version > kValuePropVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ar >> m_strName;
    m_value.Serialize(ar);
}
