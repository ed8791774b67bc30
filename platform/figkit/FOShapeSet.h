// Ordered lists of shapes: the model's shapes (in drawing order), a composite's children, and the
// lists of shapes handed between model and canvas.
#pragma once

#include "win32/WinTypes.h"

#include <vector>

class CFODrawShape;

// A plain list of shape pointers. It takes no references itself: whoever adds a shape that the
// list is to keep AddRefs it, and ReleaseAll gives one reference back per entry.
class FOPContainer
{
public:
    int Count() const { return int(m_list.size()); }
    int GetCount() const { return Count(); }
    BOOL IsEmpty() const { return m_list.empty(); }
    // Null for an index out of range.
    CFODrawShape* GetObject(int index) const;
    CFODrawShape* GetHead() const { return m_list.empty() ? nullptr : m_list.front(); }
    CFODrawShape* GetTail() const { return m_list.empty() ? nullptr : m_list.back(); }

    void AddTail(CFODrawShape* shape) { m_list.push_back(shape); }
    void Add(CFODrawShape* shape) { m_list.push_back(shape); }
    void AddHead(CFODrawShape* shape) { m_list.insert(m_list.begin(), shape); }
    // An index beyond the end appends.
    void InsertAt(int index, CFODrawShape* shape);
    // Replaces the entry; FALSE for an index out of range.
    BOOL SetAt(int index, CFODrawShape* shape);
    void RemoveAt(int index);
    // Removes the first entry of that shape; FALSE when there is none.
    BOOL Remove(const CFODrawShape* shape);
    // Index of the first entry of that shape, or -1.
    int Find(const CFODrawShape* shape) const;
    void RemoveAll() { m_list.clear(); }
    void Reserve(int n) { m_list.reserve(size_t(n > 0 ? n : 0)); }
    // Releases one reference per entry and empties the list.
    void ReleaseAll();

    std::vector<CFODrawShape*>::const_iterator begin() const { return m_list.begin(); }
    std::vector<CFODrawShape*>::const_iterator end() const { return m_list.end(); }

private:
    std::vector<CFODrawShape*> m_list;
};

// The model's or a composite's shapes.
class CFODrawShapeSet : public FOPContainer
{
};

// Shapes listed for a caller (changed shapes, shapes to redraw).
class CFOTypedShapeObList : public FOPContainer
{
};
