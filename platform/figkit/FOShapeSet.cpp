#include "figkit/FOShapeSet.h"

#include "figkit/FODrawShape.h"

#include <algorithm>

CFODrawShape* FOPContainer::GetObject(int index) const
{
    if (index < 0 || size_t(index) >= m_list.size())
        return nullptr;
    return m_list[size_t(index)];
}

void FOPContainer::InsertAt(int index, CFODrawShape* shape)
{
    if (index < 0)
        index = 0;
    if (size_t(index) >= m_list.size())
        m_list.push_back(shape);
    else
        m_list.insert(m_list.begin() + index, shape);
}

BOOL FOPContainer::SetAt(int index, CFODrawShape* shape)
{
    if (index < 0 || size_t(index) >= m_list.size())
        return FALSE;
    m_list[size_t(index)] = shape;
    return TRUE;
}

void FOPContainer::RemoveAt(int index)
{
    if (index >= 0 && size_t(index) < m_list.size())
        m_list.erase(m_list.begin() + index);
}

BOOL FOPContainer::Remove(const CFODrawShape* shape)
{
    auto it = std::find(m_list.begin(), m_list.end(), shape);
    if (it == m_list.end())
        return FALSE;
    m_list.erase(it);
    return TRUE;
}

int FOPContainer::Find(const CFODrawShape* shape) const
{
    auto it = std::find(m_list.begin(), m_list.end(), shape);
    return it == m_list.end() ? -1 : int(it - m_list.begin());
}

void FOPContainer::ReleaseAll()
{
    std::vector<CFODrawShape*> list;
    list.swap(m_list);
    for (CFODrawShape* shape : list)
        if (shape)
            shape->Release();
}
