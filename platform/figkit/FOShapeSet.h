// Ordered lists of shapes. Two kinds, told apart by their types:
// - CFODrawShapeSet owns its shapes: every entry holds one reference, taken when the shape goes in
//   and given back when it leaves (or the set goes). The model's shapes and a composite's children.
// - CFOTypedShapeObList only lists shapes that someone else keeps alive (changed shapes, shapes to
//   redraw); it takes no references.
// FOPContainer is what both offer for reading.
#pragma once

#include "figkit/FOShapePtr.h"
#include "win32/WinTypes.h"

#include <vector>

class CFODrawShape;

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
    // Index of the first entry of that shape, or -1.
    int Find(const CFODrawShape* shape) const;

    std::vector<CFODrawShape*>::const_iterator begin() const { return m_list.begin(); }
    std::vector<CFODrawShape*>::const_iterator end() const { return m_list.end(); }

protected:
    FOPContainer() = default;
    ~FOPContainer() = default;
    FOPContainer(const FOPContainer&) = default;
    FOPContainer& operator=(const FOPContainer&) = default;

    void InsertPlain(int index, CFODrawShape* shape);

    std::vector<CFODrawShape*> m_list;
};

// The model's or a composite's shapes: one reference per entry.
class CFODrawShapeSet : public FOPContainer
{
public:
    CFODrawShapeSet() = default;
    // A copy holds references of its own.
    CFODrawShapeSet(const CFODrawShapeSet& src);
    CFODrawShapeSet& operator=(const CFODrawShapeSet& src);
    CFODrawShapeSet(CFODrawShapeSet&& src) noexcept;
    CFODrawShapeSet& operator=(CFODrawShapeSet&& src) noexcept;
    ~CFODrawShapeSet();

    // Each takes a reference of its own on the shape (null is ignored).
    void AddTail(CFODrawShape* shape);
    void Add(CFODrawShape* shape) { AddTail(shape); }
    void AddHead(CFODrawShape* shape) { InsertAt(0, shape); }
    // An index beyond the end appends.
    void InsertAt(int index, CFODrawShape* shape);
    // Replaces the entry (the old shape's reference goes); FALSE for an index out of range.
    BOOL SetAt(int index, CFODrawShape* shape);
    // These give the entry's reference back.
    void RemoveAt(int index);
    // Removes the first entry of that shape; FALSE when there is none.
    BOOL Remove(const CFODrawShape* shape);
    void RemoveAll();
    // Takes the entry out and hands its reference to the caller.
    CFOShapePtr<CFODrawShape> TakeAt(int index);
    void Reserve(int n) { m_list.reserve(size_t(n > 0 ? n : 0)); }
};

// Shapes listed for a caller; the list keeps none of them alive.
class CFOTypedShapeObList : public FOPContainer
{
public:
    void AddTail(CFODrawShape* shape) { m_list.push_back(shape); }
    void Add(CFODrawShape* shape) { m_list.push_back(shape); }
    void AddHead(CFODrawShape* shape) { InsertPlain(0, shape); }
    void InsertAt(int index, CFODrawShape* shape) { InsertPlain(index, shape); }
    void RemoveAt(int index);
    BOOL Remove(const CFODrawShape* shape);
    void RemoveAll() { m_list.clear(); }
};
