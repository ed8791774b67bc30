#include "figkit/FOBaseProperties.h"

#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFOBaseProperties, CObject, 0)

CFOBaseProperties::CFOBaseProperties(int nPropId) : m_nPropId(nPropId) {}

CFOBaseProperties::CFOBaseProperties(const CFOBaseProperties& src) : CObject(), m_nPropId(src.m_nPropId) {}

CFOBaseProperties::~CFOBaseProperties() = default;

CFOBaseProperties& CFOBaseProperties::operator=(const CFOBaseProperties& src)
{
    m_nPropId = src.m_nPropId;
    return *this;
}

BOOL CFOBaseProperties::PutValue(const int&, const FO_VALUE&)
{
    return FALSE;
}

BOOL CFOBaseProperties::GetValue(FO_VALUE&, const int&) const
{
    return FALSE;
}

CFOBaseProperties* CFOBaseProperties::Copy() const
{
    return new CFOBaseProperties(*this);
}

BOOL CFOBaseProperties::IsEqual(const CFOBaseProperties* pOther) const
{
    return pOther && pOther->m_nPropId == m_nPropId;
}

void CFOBaseProperties::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nPropId;
    else
        ar >> m_nPropId;
}
