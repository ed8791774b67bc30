#include "ArchiveTestClasses.h"

#include "mfc/Collections.h"
#include "mfc/Geometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
template <class T> std::vector<T> Items(const CArray<T, T>& a)
{
    return std::vector<T>(a.GetData(), a.GetData() + a.GetSize());
}

std::vector<CString> Items(const CStringList& l)
{
    std::vector<CString> out;
    for (POSITION pos = l.GetHeadPosition(); pos;)
        out.push_back(l.GetNext(pos));
    return out;
}

int InvalidArg(const std::function<void()>& fn)
{
    try
    {
        fn();
    }
    catch (CInvalidArgException* e)
    {
        e->Delete();
        return 1;
    }
    return 0;
}

std::vector<BYTE> StoreObject(CObject& ob)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ob.Serialize(ar);
    }
    std::vector<BYTE> out(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), UINT(out.size()));
    return out;
}

void LoadObject(std::vector<BYTE> bytes, CObject& ob)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    ob.Serialize(ar);
    EXPECT_EQ(ar.GetRemainingLength(), 0u);
}
} // namespace

TEST(Collections, ArrayEditing)
{
    CArray<int, int> a;
    a.SetSize(3);
    EXPECT_EQ(Items(a), (std::vector<int>{0, 0, 0}));
    a[1] = 5;
    EXPECT_EQ(a.Add(7), 3);
    a.InsertAt(0, 9, 2);
    EXPECT_EQ(Items(a), (std::vector<int>{9, 9, 0, 5, 0, 7}));
    a.RemoveAt(1, 3);
    EXPECT_EQ(Items(a), (std::vector<int>{9, 0, 7}));
    a.SetAtGrow(5, 1);
    EXPECT_EQ(Items(a), (std::vector<int>{9, 0, 7, 0, 0, 1}));
    a.InsertAt(8, 2);
    EXPECT_EQ(a.GetSize(), 9);
    EXPECT_EQ(a.GetUpperBound(), 8);
    EXPECT_EQ(a.Append(a), 9);
    EXPECT_EQ(a.GetCount(), 18);
    EXPECT_EQ(a[17], 2);
    CArray<int, int> b;
    b.Copy(a);
    EXPECT_EQ(Items(b), Items(a));

    // Adding an element of the array to itself survives the growth.
    CStringArray s;
    s.Add(L"first");
    for (int i = 0; i < 100; ++i)
        s.Add(s[0]);
    s.SetAtGrow(200, s[1]);
    EXPECT_EQ(s[100], L"first");
    EXPECT_EQ(s[200], L"first");
    EXPECT_TRUE(s[150].IsEmpty());

    EXPECT_EQ(InvalidArg([&] { a.GetAt(18); }), 1);
    EXPECT_EQ(InvalidArg([&] { a.ElementAt(-1); }), 1);
    EXPECT_EQ(InvalidArg([&] { a.RemoveAt(17, 2); }), 1);
    EXPECT_EQ(InvalidArg([&] { a.SetSize(-1); }), 1);
    EXPECT_EQ(InvalidArg([&] { s.SetAt(500, L"x"); }), 1);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(Collections, ListPositions)
{
    CStringList l;
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    const POSITION b = l.AddTail(L"b");
    l.AddHead(L"a");
    const POSITION d = l.AddTail(L"d");
    l.InsertAfter(b, L"c");
    l.InsertBefore(nullptr, L"start");
    l.InsertAfter(nullptr, L"end");
    EXPECT_EQ(Items(l), (std::vector<CString>{L"start", L"a", L"b", L"c", L"d", L"end"}));
    EXPECT_EQ(l.GetCount(), 6);
    EXPECT_EQ(l.GetHead(), L"start");
    EXPECT_EQ(l.GetTail(), L"end");
    EXPECT_EQ(l.Find(L"c"), l.FindIndex(3));
    EXPECT_EQ(l.Find(L"a", l.Find(L"a")), nullptr);
    EXPECT_EQ(l.FindIndex(6), nullptr);

    // Backwards, and removal of the element just passed.
    std::vector<CString> back;
    for (POSITION pos = l.GetTailPosition(); pos;)
    {
        const POSITION here = pos;
        back.push_back(l.GetPrev(pos));
        if (back.back() == L"c" || back.back() == L"start")
            l.RemoveAt(here);
    }
    EXPECT_EQ(back, (std::vector<CString>{L"end", L"d", L"c", L"b", L"a", L"start"}));
    EXPECT_EQ(Items(l), (std::vector<CString>{L"a", L"b", L"d", L"end"}));
    l.SetAt(d, L"D");
    EXPECT_EQ(l.GetAt(d), L"D");
    EXPECT_EQ(l.RemoveHead(), L"a");
    EXPECT_EQ(l.RemoveTail(), L"end");
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(InvalidArg([&] { l.RemoveHead(); }), 1);
    EXPECT_EQ(InvalidArg([&] { l.GetTail(); }), 1);
    EXPECT_EQ(InvalidArg([&] { l.GetAt(nullptr); }), 1);
}

TEST(Collections, MapsIterateInInsertionOrder)
{
    CMapStringToString m(10);
    m.SetAt(L"zeta", L"1");
    m[L"alpha"] = L"2";
    m.SetAt(L"mid", L"3");
    m.SetAt(L"zeta", L"4"); // keeps its place
    CString v;
    EXPECT_TRUE(m.Lookup(L"zeta", v));
    EXPECT_EQ(v, L"4");
    EXPECT_FALSE(m.Lookup(L"ZETA", v));
    EXPECT_EQ(m.GetCount(), 3);

    std::vector<CString> keys;
    CString key;
    for (POSITION pos = m.GetStartPosition(); pos;)
    {
        m.GetNextAssoc(pos, key, v);
        keys.push_back(key + L"=" + v);
        // Removing the entry just returned leaves the iteration intact.
        if (key == L"alpha")
            m.RemoveKey(key);
    }
    EXPECT_EQ(keys, (std::vector<CString>{L"zeta=4", L"alpha=2", L"mid=3"}));
    EXPECT_EQ(m.GetCount(), 2);
    EXPECT_FALSE(m.RemoveKey(L"alpha"));
    EXPECT_TRUE(m[L"new"].IsEmpty());
    EXPECT_EQ(m.GetCount(), 3);
    m.InitHashTable(101);
    EXPECT_GE(m.GetHashTableSize(), 101u);
    m.RemoveAll();
    EXPECT_EQ(m.GetStartPosition(), nullptr);

    CMap<int, int, CPoint, CPoint> points;
    points[3] = CPoint(1, 2);
    CPoint p;
    EXPECT_TRUE(points.Lookup(3, p));
    EXPECT_EQ(p, CPoint(1, 2));
}

TEST(Collections, TypedPointerCollections)
{
    CTestItem a, b;
    a.m_n = 1;
    b.m_n = 2;
    CTypedPtrArray<CObArray, CTestItem*> arr;
    arr.Add(&a);
    arr.Add(&b);
    arr[0] = &b;
    EXPECT_EQ(arr.GetAt(0)->m_n, 2);
    EXPECT_EQ(arr[1], &b);

    int x = 1, y = 2;
    CTypedPtrList<CPtrList, int*> list;
    list.AddTail(&x);
    list.AddHead(&y);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(list.GetNext(pos), &y);
    EXPECT_EQ(list.GetNext(pos), &x);
    EXPECT_EQ(pos, nullptr);
    EXPECT_NE(list.Find(&x), nullptr);

    CTypedPtrMap<CMapStringToOb, CString, CTestItem*> byName;
    byName.SetAt(L"a", &a);
    byName[L"b"] = &b;
    CTestItem* found = nullptr;
    EXPECT_TRUE(byName.Lookup(L"b", found));
    EXPECT_EQ(found, &b);
    CString name;
    pos = byName.GetStartPosition();
    byName.GetNextAssoc(pos, name, found);
    EXPECT_EQ(name, L"a");
    EXPECT_EQ(found, &a);

    CTypedPtrMap<CMapWordToPtr, WORD, int*> byId;
    byId[7] = &x;
    int* px = nullptr;
    EXPECT_TRUE(byId.Lookup(7, px));
    EXPECT_EQ(px, &x);
    EXPECT_TRUE(byId.RemoveKey(7));

    CTypedPtrMap<CMapPtrToPtr, CTestItem*, int*> byItem;
    byItem.SetAt(&a, &y);
    EXPECT_TRUE(byItem.Lookup(&a, px));
    EXPECT_EQ(px, &y);
}

TEST(Collections, SerializeRoundTripsAndLayout)
{
    CStringArray strings;
    strings.Add(L"a");
    EXPECT_EQ(StoreObject(strings), (std::vector<BYTE>{0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 0x61, 0x00}));
    CDWordArray dwords;
    dwords.Add(0x01020304);
    EXPECT_EQ(StoreObject(dwords), (std::vector<BYTE>{0x01, 0x00, 0x04, 0x03, 0x02, 0x01}));

    strings.Add(L"Grüße");
    strings.Add(L"");
    CStringArray s2;
    LoadObject(StoreObject(strings), s2);
    ASSERT_EQ(s2.GetSize(), 3);
    EXPECT_EQ(s2[1], L"Grüße");

    CByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes.Add(BYTE(i));
    CByteArray bytes2;
    LoadObject(StoreObject(bytes), bytes2);
    ASSERT_EQ(bytes2.GetSize(), 70000);
    EXPECT_EQ(bytes2[69999], BYTE(69999));

    CWordArray words;
    words.Add(0xBEEF);
    CWordArray words2;
    LoadObject(StoreObject(words), words2);
    EXPECT_EQ(words2[0], 0xBEEF);

    CStringList sl;
    sl.AddTail(L"x");
    sl.AddTail(L"\U0001F600");
    CStringList sl2;
    LoadObject(StoreObject(sl), sl2);
    EXPECT_EQ(Items(sl2), Items(sl));

    CMapStringToString ms;
    ms[L"k1"] = L"v1";
    ms[L"k2"] = L"v2";
    CMapStringToString ms2;
    LoadObject(StoreObject(ms), ms2);
    CString v;
    EXPECT_TRUE(ms2.Lookup(L"k2", v));
    EXPECT_EQ(v, L"v2");

    // Arrays of plain structures and of points.
    CArray<RECT, const RECT&> rects;
    rects.Add(RECT{1, 2, 3, 4});
    const std::vector<BYTE> rectBytes = StoreObject(rects);
    EXPECT_EQ(rectBytes.size(), 2u + 16u);
    CArray<RECT, const RECT&> rects2;
    LoadObject(rectBytes, rects2);
    EXPECT_EQ(rects2[0].bottom, 4);
    CArray<CPoint, CPoint> pts;
    pts.Add(CPoint(-1, 5));
    CArray<CPoint, CPoint> pts2;
    LoadObject(StoreObject(pts), pts2);
    EXPECT_EQ(pts2[0], CPoint(-1, 5));

    // Object collections keep the objects' identity.
    CObList objs;
    auto* item = new CTestItem;
    item->m_name = L"it";
    objs.AddTail(item);
    objs.AddTail(item);
    objs.AddTail(static_cast<CObject*>(nullptr));
    const std::vector<BYTE> objBytes = StoreObject(objs);
    CTracked::DeleteAll();
    CObList objs2;
    LoadObject(objBytes, objs2);
    ASSERT_EQ(objs2.GetCount(), 3);
    POSITION pos = objs2.GetHeadPosition();
    CObject* first = objs2.GetNext(pos);
    EXPECT_EQ(objs2.GetNext(pos), first);
    EXPECT_EQ(objs2.GetNext(pos), nullptr);
    EXPECT_EQ(static_cast<CTestItem*>(first)->m_name, L"it");

    CMapStringToOb mo;
    mo[L"one"] = first;
    CMapStringToOb mo2;
    LoadObject(StoreObject(mo), mo2);
    CObject* got = nullptr;
    EXPECT_TRUE(mo2.Lookup(L"one", got));
    EXPECT_TRUE(got->IsKindOf(RUNTIME_CLASS(CTestItem)));
    CTracked::DeleteAll();

    // A typed array refuses an object of another class before making it.
    CArray<CTestLink*, CTestLink*> links;
    links.Add(new CTestLink);
    const std::vector<BYTE> linkBytes = StoreObject(links);
    CTracked::DeleteAll();
    CArray<CTestItem*, CTestItem*> items;
    std::vector<BYTE> copy = linkBytes;
    CMemFile in(copy.data(), UINT(copy.size()));
    CArchive load(&in, CArchive::load);
    try
    {
        items.Serialize(load);
        ADD_FAILURE() << "a link was read as an item";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::badClass);
        e->Delete();
    }
    EXPECT_TRUE(CTracked::Live().empty());

    // Pointer collections without classes cannot be stored.
    CPtrArray ptrs;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_THROW(
        try { ptrs.Serialize(ar); } catch (CNotSupportedException* e) {
            e->Delete();
            throw 1;
        },
        int);
}
