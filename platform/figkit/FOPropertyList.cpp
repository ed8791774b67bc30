#include "figkit/FOPropertyList.h"

#include "figkit/FOArchiveHelper.h"
#include "mfc/Archive.h"

CFOPropertyList::CFOPropertyList(const CFOPropertyList& src)
{
    *this = src;
}

CFOPropertyList& CFOPropertyList::operator=(const CFOPropertyList& src)
{
    if (this == &src)
        return *this;
    std::vector<std::unique_ptr<CFOBaseProperties>> copy;
    copy.reserve(src.m_props.size());
    for (const auto& p : src.m_props)
        copy.emplace_back(p->Copy());
    m_props.swap(copy);
    return *this;
}

CFOPropertyList::~CFOPropertyList() = default;

void CFOPropertyList::Add(const CFOBaseProperties& prop)
{
    std::unique_ptr<CFOBaseProperties> copy(prop.Copy());
    for (auto& p : m_props)
    {
        if (p->GetPropId() == prop.GetPropId())
        {
            p = std::move(copy);
            return;
        }
    }
    m_props.push_back(std::move(copy));
}

CFOBaseProperties* CFOPropertyList::Find(int nPropId) const
{
    for (const auto& p : m_props)
        if (p->GetPropId() == nPropId)
            return p.get();
    return nullptr;
}

BOOL CFOPropertyList::Remove(int nPropId)
{
    for (auto it = m_props.begin(); it != m_props.end(); ++it)
    {
        if ((*it)->GetPropId() == nPropId)
        {
            m_props.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

void CFOPropertyList::RemoveAll()
{
    m_props.clear();
}

BOOL CFOPropertyList::GetValue(FO_VALUE& value, int nPropId) const
{
    for (const auto& p : m_props)
        if (p->GetValue(value, nPropId))
            return TRUE;
    return FALSE;
}

BOOL CFOPropertyList::PutValue(int nPropId, const FO_VALUE& value)
{
    for (auto& p : m_props)
        if (p->PutValue(nPropId, value))
            return TRUE;
    return FALSE;
}

void CFOPropertyList::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(m_props.size());
        for (const auto& p : m_props)
            FOWriteOwnedObject(ar, *p);
        return;
    }
    m_props.clear();
    // Each set takes at least a two-byte class tag and its 4-byte id.
    DWORD_PTR count = ar.ReadCount(6);
    m_props.reserve(size_t(count));
    while (count--)
        m_props.emplace_back(
            static_cast<CFOBaseProperties*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFOBaseProperties))));
}

bool operator==(const CFOPropertyList& a, const CFOPropertyList& b)
{
    if (a.m_props.size() != b.m_props.size())
        return false;
    for (size_t i = 0; i < a.m_props.size(); ++i)
        if (!a.m_props[i]->IsEqual(b.m_props[i].get()))
            return false;
    return true;
}
