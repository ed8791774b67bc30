#include "ArchiveTestClasses.h"

IMPLEMENT_DYNAMIC(CTracked, CObject)
IMPLEMENT_SERIAL(CTestItem, CTracked, 1)
IMPLEMENT_SERIAL(CTestGroup, CTestItem, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL(CTestLink, CTracked, 1)
IMPLEMENT_SERIAL(CTestStrict, CTracked, 3)
IMPLEMENT_DYNCREATE(CTestDynOnly, CObject)

void CTestItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_name << m_n << m_d;
    else
        ar >> m_name >> m_n >> m_d;
}

void CTestGroup::Serialize(CArchive& ar)
{
    const UINT schema = ar.IsLoading() ? ar.GetObjectSchema() : 2;
    CTestItem::Serialize(ar);
    if (ar.IsStoring())
        ar << m_label;
    else if (schema >= 2)
        ar >> m_label;
    m_items.Serialize(ar);
}

void CTestLink::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_pFrom << m_pTo;
    else
        ar >> m_pFrom >> m_pTo;
}

void CTestStrict::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_w;
    else
        ar >> m_w;
}
