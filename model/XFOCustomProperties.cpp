#include "model/XFOCustomProperties.h"

#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CXFOCustomProperties, CFOBaseProperties, 1)

CXFOCustomProperties::CXFOCustomProperties(int nPropId) : CFOBaseProperties(nPropId) {}

CXFOCustomProperties::CXFOCustomProperties(const CXFOCustomProperties& src)
    : CFOBaseProperties(src.GetPropId()), m_strProductName(src.m_strProductName), m_strItem(src.m_strItem),
      m_strDescription(src.m_strDescription), m_fUnitPrice(src.m_fUnitPrice)
{
}

CXFOCustomProperties::~CXFOCustomProperties() = default;

CXFOCustomProperties& CXFOCustomProperties::operator=(const CXFOCustomProperties& src)
{
    m_strProductName = src.m_strProductName;
    m_strItem = src.m_strItem;
    m_strDescription = src.m_strDescription;
    m_fUnitPrice = src.m_fUnitPrice;
    return *this;
}

bool CXFOCustomProperties::operator==(const CXFOCustomProperties& other) const
{
    return m_strProductName == other.m_strProductName && m_strItem == other.m_strItem &&
           m_strDescription == other.m_strDescription && m_fUnitPrice == other.m_fUnitPrice;
}

void CXFOCustomProperties::Serialize(CArchive& ar)
{
    CFOBaseProperties::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strDescription << m_strProductName << m_strItem << m_fUnitPrice;
    else
        ar >> m_strDescription >> m_strProductName >> m_strItem >> m_fUnitPrice;
}

BOOL CXFOCustomProperties::PutValue(const int& nPropId, const FO_VALUE& value)
{
    switch (nPropId)
    {
    case PROP_PRODUCT_NAME:
        m_strProductName = value.m_strValue;
        return 1;
    case PROP_ITEM:
        m_strItem = value.m_strValue;
        return 1;
    case PROP_DESCRIPTION:
        m_strDescription = value.m_strValue;
        return 1;
    case PROP_UNIT_PRICE:
        m_fUnitPrice = value.m_fValue;
        return 1;
    default:
        return 0;
    }
}

BOOL CXFOCustomProperties::GetValue(FO_VALUE& value, const int& nPropId) const
{
    switch (nPropId)
    {
    case PROP_PRODUCT_NAME:
        value.SetString(m_strProductName);
        return 1;
    case PROP_ITEM:
        value.SetString(m_strItem);
        return 1;
    case PROP_DESCRIPTION:
        value.SetString(m_strDescription);
        return 1;
    case PROP_UNIT_PRICE:
        value.SetFloat(m_fUnitPrice);
        return 1;
    default:
        return 0;
    }
}

CFOBaseProperties* CXFOCustomProperties::Copy() const
{
    return new CXFOCustomProperties(*this);
}

BOOL CXFOCustomProperties::IsEqual(const CFOBaseProperties* pOther) const
{
    if (!pOther || pOther->GetPropId() != GetPropId())
        return FALSE;
    const auto* other = dynamic_cast<const CXFOCustomProperties*>(pOther);
    if (!other)
        return FALSE;
    const CXFOCustomProperties copy(*other);
    return *this == copy;
}
