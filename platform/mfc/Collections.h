// Collection classes: CArray, CList and CMap templates, the pointer, string and number collections
// built on them, and the typed pointer wrappers.
//
// A bad index or an empty list given to GetAt, GetHead and the like throws CInvalidArgException*.
// CMap iterates in insertion order (a key set again keeps its place). A POSITION stays valid until
// its own element is removed. Serialize writes a count (CArchive::WriteCount) and the elements;
// loading checks the count against the bytes left before it makes room for the elements.
#pragma once

#include "mfc/Archive.h"
#include "mfc/CString.h"
#include "mfc/Exceptions.h"
#include "mfc/Object.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <list>
#include <type_traits>
#include <unordered_map>
#include <vector>

typedef struct __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// Element serialisation

template <class TYPE>
concept AfxArchivable = requires(CArchive& ar, TYPE& t, const TYPE& c)
{
    ar << c;
    ar >> t;
};

// The fewest bytes one stored element takes, for checking counts read from a file.
template <class TYPE> constexpr UINT AfxMinStoredSize()
{
    if constexpr (std::is_same_v<TYPE, CString>)
        return 1;
    else if constexpr (std::is_pointer_v<TYPE>)
        return 2;
    else if constexpr (std::is_trivially_copyable_v<TYPE>)
        return UINT(sizeof(TYPE));
    else
        return 1;
}

// Numbers and strings go through the archive's own operators; pointers to CObject-derived classes
// as objects; other plain structures as their bytes. Anything else throws CNotSupportedException*
// unless the element type has its own specialisation of this template.
template <class TYPE> void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    if constexpr (std::is_pointer_v<TYPE>)
    {
        using T = std::remove_cv_t<std::remove_pointer_t<TYPE>>;
        if constexpr (!std::is_base_of_v<CObject, T>)
            AfxThrowNotSupportedException();
        else
            for (INT_PTR i = 0; i < nCount; ++i)
            {
                if (ar.IsStoring())
                    ar.WriteObject(pElements[i]);
                else
                {
                    // The class is checked before anything is made; the cast covers a class that
                    // has no run-time class of its own.
                    CObject* pOb = ar.ReadObject(T::GetThisClass());
                    T* p = dynamic_cast<T*>(pOb);
                    if (pOb && !p)
                        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
                    pElements[i] = p;
                }
            }
    }
    else if constexpr (AfxArchivable<TYPE>)
    {
        for (INT_PTR i = 0; i < nCount; ++i)
        {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    }
    else if constexpr (std::is_trivially_copyable_v<TYPE>)
    {
        const size_t bytes = size_t(nCount) * sizeof(TYPE);
        if (ar.IsStoring())
            ar.Write(pElements, UINT(bytes));
        else if (ar.Read(pElements, UINT(bytes)) != bytes)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    }
    else
        AfxThrowNotSupportedException();
}

// CArray

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
    static_assert(!std::is_same_v<TYPE, bool>, "use BOOL elements");

public:
    using BASE_TYPE = TYPE;

    CArray() = default;

    INT_PTR GetSize() const { return INT_PTR(m_data.size()); }
    INT_PTR GetCount() const { return INT_PTR(m_data.size()); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return INT_PTR(m_data.size()) - 1; }
    // nGrowBy is a hint of the old allocator and has no effect here.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        ENSURE(nNewSize >= 0);
        m_data.resize(size_t(nNewSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Check(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[Check(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Check(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Check(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[Check(nIndex)]; }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        ENSURE(nIndex >= 0);
        if (size_t(nIndex) >= m_data.size())
        {
            TYPE copy(newElement); // the argument may live in this array
            m_data.resize(size_t(nIndex) + 1);
            m_data[size_t(nIndex)] = std::move(copy);
        }
        else
            m_data[size_t(nIndex)] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(TYPE(newElement));
        return INT_PTR(m_data.size()) - 1;
    }
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR old = GetSize();
        if (&src == this)
        {
            std::vector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        }
        else
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }
    // Inserting past the end grows the array first, as SetAtGrow does.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        ENSURE(nIndex >= 0 && nCount >= 0);
        TYPE copy(newElement);
        if (size_t(nIndex) > m_data.size())
            m_data.resize(size_t(nIndex));
        m_data.insert(m_data.begin() + nIndex, size_t(nCount), copy);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        ENSURE(pNewArray && nStartIndex >= 0);
        const std::vector<TYPE> copy(pNewArray->m_data);
        if (size_t(nStartIndex) > m_data.size())
            m_data.resize(size_t(nStartIndex));
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        ENSURE(nIndex >= 0 && nCount >= 0 && size_t(nIndex) + size_t(nCount) <= m_data.size());
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_data.size()));
            SerializeElements<TYPE>(ar, GetData(), GetSize());
            return;
        }
        const DWORD_PTR n = ar.ReadCount(AfxMinStoredSize<TYPE>());
        m_data.clear();
        // Grow as the elements arrive, so a count that lies costs no more than the data behind it.
        constexpr DWORD_PTR kSlice = 4096;
        while (m_data.size() < n)
        {
            const size_t start = m_data.size();
            const size_t m = size_t(std::min<DWORD_PTR>(kSlice, n - start));
            m_data.resize(start + m);
            SerializeElements<TYPE>(ar, m_data.data() + start, INT_PTR(m));
        }
    }

protected:
    size_t Check(INT_PTR nIndex) const
    {
        if (nIndex < 0 || size_t(nIndex) >= m_data.size())
            AfxThrowInvalidArgException();
        return size_t(nIndex);
    }

    std::vector<TYPE> m_data;
};

// CList

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
    struct CNode;
    using Nodes = std::list<CNode>;
    struct CNode
    {
        TYPE data;
        typename Nodes::iterator self;
    };

public:
    using BASE_TYPE = TYPE;

    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return INT_PTR(m_nodes.size()); }
    INT_PTR GetSize() const { return INT_PTR(m_nodes.size()); }
    BOOL IsEmpty() const { return m_nodes.empty(); }

    TYPE& GetHead()
    {
        ENSURE(!m_nodes.empty());
        return m_nodes.front().data;
    }
    const TYPE& GetHead() const
    {
        ENSURE(!m_nodes.empty());
        return m_nodes.front().data;
    }
    TYPE& GetTail()
    {
        ENSURE(!m_nodes.empty());
        return m_nodes.back().data;
    }
    const TYPE& GetTail() const
    {
        ENSURE(!m_nodes.empty());
        return m_nodes.back().data;
    }
    TYPE RemoveHead()
    {
        ENSURE(!m_nodes.empty());
        TYPE v = std::move(m_nodes.front().data);
        m_nodes.pop_front();
        return v;
    }
    TYPE RemoveTail()
    {
        ENSURE(!m_nodes.empty());
        TYPE v = std::move(m_nodes.back().data);
        m_nodes.pop_back();
        return v;
    }
    POSITION AddHead(ARG_TYPE newElement) { return Insert(m_nodes.begin(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Insert(m_nodes.end(), newElement); }
    void AddHead(const CList* pNewList)
    {
        ENSURE(pNewList);
        std::vector<TYPE> copy;
        for (const CNode& n : pNewList->m_nodes)
            copy.push_back(n.data);
        for (auto it = copy.rbegin(); it != copy.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const CList* pNewList)
    {
        ENSURE(pNewList);
        std::vector<TYPE> copy;
        for (const CNode& n : pNewList->m_nodes)
            copy.push_back(n.data);
        for (const TYPE& v : copy)
            AddTail(v);
    }
    void RemoveAll() { m_nodes.clear(); }

    POSITION GetHeadPosition() const { return m_nodes.empty() ? nullptr : ToPos(m_nodes.front()); }
    POSITION GetTailPosition() const { return m_nodes.empty() ? nullptr : ToPos(m_nodes.back()); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode& n = Node(rPosition);
        auto it = std::next(n.self);
        rPosition = it == m_nodes.end() ? nullptr : ToPos(*it);
        return n.data;
    }
    const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode& n = Node(rPosition);
        rPosition = n.self == m_nodes.begin() ? nullptr : ToPos(*std::prev(n.self));
        return n.data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return Node(position).data; }
    const TYPE& GetAt(POSITION position) const { return Node(position).data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos).data = newElement; }
    void RemoveAt(POSITION position) { m_nodes.erase(Node(position).self); }
    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        return position ? Insert(Node(position).self, newElement) : AddHead(newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        return position ? Insert(std::next(Node(position).self), newElement) : AddTail(newElement);
    }
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        auto it = startAfter ? std::next(Node(startAfter).self) : m_nodes.begin();
        for (; it != m_nodes.end(); ++it)
            if (it->data == searchValue)
                return ToPos(*it);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetCount())
            return nullptr;
        auto it = m_nodes.begin();
        std::advance(it, nIndex);
        return ToPos(*it);
    }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_nodes.size()));
            for (CNode& n : m_nodes)
                SerializeElements<TYPE>(ar, &n.data, 1);
            return;
        }
        DWORD_PTR count = ar.ReadCount(AfxMinStoredSize<TYPE>());
        while (count--)
        {
            TYPE v{};
            SerializeElements<TYPE>(ar, &v, 1);
            AddTail(v);
        }
    }

private:
    POSITION Insert(typename Nodes::iterator where, ARG_TYPE value)
    {
        auto it = m_nodes.insert(where, CNode{TYPE(value), {}});
        it->self = it;
        return ToPos(*it);
    }
    static POSITION ToPos(const CNode& n) { return reinterpret_cast<POSITION>(const_cast<CNode*>(&n)); }
    static CNode& Node(POSITION pos)
    {
        if (!pos || pos == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        return *reinterpret_cast<CNode*>(pos);
    }

    Nodes m_nodes;
};

// CMap

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
    struct CNode;
    using Nodes = std::list<CNode>;
    struct CNode
    {
        KEY key;
        VALUE value;
        typename Nodes::iterator self;
    };

public:
    using BASE_KEY = KEY;
    using BASE_VALUE = VALUE;

    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    INT_PTR GetCount() const { return INT_PTR(m_nodes.size()); }
    INT_PTR GetSize() const { return INT_PTR(m_nodes.size()); }
    BOOL IsEmpty() const { return m_nodes.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end())
            return FALSE;
        rValue = it->second->value;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key)
    {
        KEY k(key);
        auto it = m_index.find(k);
        if (it != m_index.end())
            return it->second->value;
        auto node = m_nodes.insert(m_nodes.end(), CNode{k, VALUE{}, {}});
        node->self = node;
        m_index.emplace(std::move(k), node);
        return node->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key)
    {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end())
            return FALSE;
        m_nodes.erase(it->second);
        m_index.erase(it);
        return TRUE;
    }
    void RemoveAll()
    {
        m_index.clear();
        m_nodes.clear();
    }
    POSITION GetStartPosition() const
    {
        return m_nodes.empty() ? nullptr : reinterpret_cast<POSITION>(const_cast<CNode*>(&m_nodes.front()));
    }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        if (!rNextPosition || rNextPosition == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        const CNode& n = *reinterpret_cast<const CNode*>(rNextPosition);
        auto next = std::next(n.self);
        rNextPosition = next == m_nodes.end() ? nullptr : reinterpret_cast<POSITION>(&*next);
        rKey = n.key;
        rValue = n.value;
    }
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        (void)bAllocNow;
        m_index.reserve(nHashSize);
    }
    UINT GetHashTableSize() const { return UINT(m_index.bucket_count()); }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar.WriteCount(DWORD_PTR(m_nodes.size()));
            for (CNode& n : m_nodes)
            {
                SerializeElements<KEY>(ar, &n.key, 1);
                SerializeElements<VALUE>(ar, &n.value, 1);
            }
            return;
        }
        DWORD_PTR count = ar.ReadCount(AfxMinStoredSize<KEY>() + AfxMinStoredSize<VALUE>());
        while (count--)
        {
            KEY k{};
            VALUE v{};
            SerializeElements<KEY>(ar, &k, 1);
            SerializeElements<VALUE>(ar, &v, 1);
            (*this)[k] = v;
        }
    }

private:
    Nodes m_nodes;
    std::unordered_map<KEY, typename Nodes::iterator> m_index;
};

// Pointer, string and number collections

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
public:
    void Serialize(CArchive&) override { AfxThrowNotSupportedException(); }
};

class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_SERIAL(CObArray)
};

class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_SERIAL(CStringArray)
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_SERIAL(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
};

class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_SERIAL(CByteArray)
};

class CWordArray : public CArray<WORD, WORD>
{
    DECLARE_SERIAL(CWordArray)
};

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    void Serialize(CArchive&) override { AfxThrowNotSupportedException(); }
};

class CObList : public CList<CObject*, CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&>
{
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, const CString&, void*, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
    void Serialize(CArchive&) override { AfxThrowNotSupportedException(); }
};

class CMapStringToOb : public CMap<CString, const CString&, CObject*, CObject*>
{
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, const CString&, CString, const CString&>
{
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
    void Serialize(CArchive&) override { AfxThrowNotSupportedException(); }
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
    void Serialize(CArchive&) override { AfxThrowNotSupportedException(); }
};

// Typed pointer wrappers over the collections of CObject* or void*.

template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertAfter(position, newElement);
    }
    POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const
    {
        return BASE_CLASS::Find(searchValue, startAfter);
    }
};

template <class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS
{
    using BaseKey = typename BASE_CLASS::BASE_KEY;
    using BaseValue = typename BASE_CLASS::BASE_VALUE;

public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(const KEY& key, VALUE& rValue) const
    {
        BaseValue value{};
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](const KEY& key) { return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key)); }
    void SetAt(const KEY& key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(const KEY& key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        BaseKey key{};
        BaseValue value{};
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = static_cast<KEY>(key);
        rValue = static_cast<VALUE>(value);
    }
};
