#include "figkit/FOShapeSet.h"

#include "figkit/FODrawShape.h"

#include <algorithm>

CFODrawShape* FOPContainer::GetObject(int index) const
{
    if (index < 0 || size_t(index) >= m_list.size())
        return nullptr;
    return m_list[size_t(index)];
}

int FOPContainer::Find(const CFODrawShape* shape) const
{
    auto it = std::find(m_list.begin(), m_list.end(), shape);
    return it == m_list.end() ? -1 : int(it - m_list.begin());
}

void FOPContainer::InsertPlain(int index, CFODrawShape* shape)
{
    if (index < 0)
        index = 0;
    if (size_t(index) >= m_list.size())
        m_list.push_back(shape);
    else
        m_list.insert(m_list.begin() + index, shape);
}

// CFODrawShapeSet

CFODrawShapeSet::CFODrawShapeSet(const CFODrawShapeSet& src) : FOPContainer(src)
{
    for (CFODrawShape* shape : m_list)
        shape->AddRef();
}

CFODrawShapeSet& CFODrawShapeSet::operator=(const CFODrawShapeSet& src)
{
    if (this != &src)
    {
        CFODrawShapeSet copy(src);
        *this = std::move(copy);
    }
    return *this;
}

CFODrawShapeSet::CFODrawShapeSet(CFODrawShapeSet&& src) noexcept
{
    m_list.swap(src.m_list);
}

CFODrawShapeSet& CFODrawShapeSet::operator=(CFODrawShapeSet&& src) noexcept
{
    if (this != &src)
    {
        RemoveAll();
        m_list.swap(src.m_list);
    }
    return *this;
}

CFODrawShapeSet::~CFODrawShapeSet()
{
    RemoveAll();
}

void CFODrawShapeSet::AddTail(CFODrawShape* shape)
{
    InsertAt(Count(), shape);
}

void CFODrawShapeSet::InsertAt(int index, CFODrawShape* shape)
{
    if (!shape)
        return;
    shape->AddRef();
    InsertPlain(index, shape);
}

BOOL CFODrawShapeSet::SetAt(int index, CFODrawShape* shape)
{
    if (!shape || index < 0 || size_t(index) >= m_list.size())
        return FALSE;
    shape->AddRef();
    CFODrawShape* old = std::exchange(m_list[size_t(index)], shape);
    old->Release();
    return TRUE;
}

void CFODrawShapeSet::RemoveAt(int index)
{
    TakeAt(index);
}

BOOL CFODrawShapeSet::Remove(const CFODrawShape* shape)
{
    const int index = Find(shape);
    if (index < 0)
        return FALSE;
    RemoveAt(index);
    return TRUE;
}

void CFODrawShapeSet::RemoveAll()
{
    // Released after the list is empty: a shape's destructor may look at the set.
    std::vector<CFODrawShape*> list;
    list.swap(m_list);
    for (CFODrawShape* shape : list)
        shape->Release();
}

CFOShapePtr<CFODrawShape> CFODrawShapeSet::TakeAt(int index)
{
    if (index < 0 || size_t(index) >= m_list.size())
        return nullptr;
    CFODrawShape* shape = m_list[size_t(index)];
    m_list.erase(m_list.begin() + index);
    return CFOShapePtr<CFODrawShape>::Adopt(shape);
}

// CFOTypedShapeObList

void CFOTypedShapeObList::RemoveAt(int index)
{
    if (index >= 0 && size_t(index) < m_list.size())
        m_list.erase(m_list.begin() + index);
}

BOOL CFOTypedShapeObList::Remove(const CFODrawShape* shape)
{
    const int index = Find(shape);
    if (index < 0)
        return FALSE;
    RemoveAt(index);
    return TRUE;
}
