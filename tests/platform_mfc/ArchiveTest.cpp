#include "ArchiveTestClasses.h"

#include "mfc/Archive.h"
#include "mfc/Collections.h"
#include "mfc/File.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<BYTE>;

// Runs a storing function over a memory file and returns the bytes written.
Bytes Store(const std::function<void(CArchive&)>& fn)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fn(ar);
        ar.Close();
    }
    Bytes out(size_t(file.GetLength()));
    file.SeekToBegin();
    if (!out.empty())
        file.Read(out.data(), UINT(out.size()));
    return out;
}

// Runs a loading function over the bytes; returns the cause of the CArchiveException it threw,
// -1 when it threw none, or -2 for any other exception.
int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& fn)
{
    Bytes copy = bytes;
    CMemFile file(copy.empty() ? nullptr : copy.data(), UINT(copy.size()));
    CArchive ar(&file, CArchive::load);
    try
    {
        fn(ar);
    }
    catch (CArchiveException* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    catch (CException* e)
    {
        e->Delete();
        return -2;
    }
    return -1;
}

void Load(const Bytes& bytes, const std::function<void(CArchive&)>& fn)
{
    const int cause = LoadCause(bytes, fn);
    ASSERT_EQ(cause, -1) << "load threw";
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Ascii(const char* s)
{
    return Bytes(s, s + std::strlen(s));
}

class ArchiveTest : public ::testing::Test
{
protected:
    void TearDown() override { CTracked::DeleteAll(); }
};
} // namespace

TEST_F(ArchiveTest, RuntimeClassesKnowTheirNamesBasesAndCreation)
{
    CTestGroup group;
    EXPECT_STREQ(RUNTIME_CLASS(CTestGroup)->m_lpszClassName, "CTestGroup");
    EXPECT_EQ(group.GetRuntimeClass(), RUNTIME_CLASS(CTestGroup));
    EXPECT_TRUE(group.IsKindOf(RUNTIME_CLASS(CTestItem)));
    EXPECT_TRUE(group.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(group.IsKindOf(RUNTIME_CLASS(CTestLink)));
    EXPECT_TRUE(group.IsSerializable());
    EXPECT_FALSE(CTestDynOnly().IsSerializable());
    EXPECT_EQ(RUNTIME_CLASS(CTestGroup)->m_wSchema, VERSIONABLE_SCHEMA | 2);

    EXPECT_EQ(CRuntimeClass::FromName("CTestLink"), RUNTIME_CLASS(CTestLink));
    EXPECT_EQ(CRuntimeClass::FromName(L"CTestLink"), RUNTIME_CLASS(CTestLink));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("CFileException"), RUNTIME_CLASS(CFileException));
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<const char*>(nullptr)), nullptr);

    CObject* made = CRuntimeClass::CreateObject(L"CTestDynOnly");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(CTestDynOnly));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestItem, made), nullptr);
    delete made;
    EXPECT_EQ(RUNTIME_CLASS(CFile)->CreateObject(), nullptr);

    CObject* asObject = &group;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestItem, asObject), static_cast<CTestItem*>(&group));
    EXPECT_EQ(STATIC_DOWNCAST(CTestGroup, asObject), &group);
}

TEST_F(ArchiveTest, ValuesHaveTheDocumentedByteLayout)
{
    struct Case
    {
        const char* what;
        std::function<void(CArchive&)> write;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"BYTE", [](CArchive& ar) { ar << BYTE(0xAB); }, {0xAB}},
        {"bool", [](CArchive& ar) { ar << true << false; }, {0x01, 0x00}},
        {"WORD", [](CArchive& ar) { ar << WORD(0x1234); }, {0x34, 0x12}},
        {"short", [](CArchive& ar) { ar << short(-2); }, {0xFE, 0xFF}},
        {"wchar_t", [](CArchive& ar) { ar << L'\u00E4'; }, {0xE4, 0x00}},
        {"LONG", [](CArchive& ar) { ar << LONG(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"DWORD", [](CArchive& ar) { ar << DWORD(0x01020304); }, {0x04, 0x03, 0x02, 0x01}},
        {"float", [](CArchive& ar) { ar << 1.0f; }, {0x00, 0x00, 0x80, 0x3F}},
        {"double", [](CArchive& ar) { ar << 1.0; }, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"LONGLONG", [](CArchive& ar) { ar << LONGLONG(-1); }, Bytes(8, 0xFF)},
        {"ULONGLONG", [](CArchive& ar) { ar << ULONGLONG(0x0102030405060708ull); }, {8, 7, 6, 5, 4, 3, 2, 1}},
        {"CString ab",
         [](CArchive& ar) { ar << CString(L"ab"); },
         {0xFF, 0xFE, 0xFF, 0x02, 0x61, 0x00, 0x62, 0x00}},
        {"empty CString", [](CArchive& ar) { ar << CString(); }, {0xFF, 0xFE, 0xFF, 0x00}},
        {"literal", [](CArchive& ar) { ar << L"a"; }, {0xFF, 0xFE, 0xFF, 0x01, 0x61, 0x00}},
        {"non-BMP",
         [](CArchive& ar) { ar << CString(L"\U0001F600"); },
         {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}},
        {"count 5", [](CArchive& ar) { ar.WriteCount(5); }, {0x05, 0x00}},
        {"count FFFE", [](CArchive& ar) { ar.WriteCount(0xFFFE); }, {0xFE, 0xFF}},
        {"count FFFF", [](CArchive& ar) { ar.WriteCount(0xFFFF); }, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {"count 12345", [](CArchive& ar) { ar.WriteCount(0x12345); }, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
        {"null object", [](CArchive& ar) { ar << static_cast<CObject*>(nullptr); }, {0x00, 0x00}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Store(c.write), c.expected) << c.what;

    // Length prefixes: BYTE below 0xFF, then FF + WORD, then FF FFFF + DWORD.
    const Bytes s300 = Store([](CArchive& ar) { ar << CString(L'x', 300); });
    EXPECT_EQ(Bytes(s300.begin(), s300.begin() + 6), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    EXPECT_EQ(s300.size(), 6u + 600u);
    const Bytes s70k = Store([](CArchive& ar) { ar << CString(L'y', 70000); });
    EXPECT_EQ(Bytes(s70k.begin(), s70k.begin() + 10),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
}

TEST_F(ArchiveTest, ObjectTagsNameNewClassesThenReferToThem)
{
    CTestItem a;
    CTestItem b;
    a.m_n = 1;
    b.m_n = 2;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &a << &b << &a; });
    const Bytes item = {0xFF, 0xFE, 0xFF, 0x00};
    auto payload = [&](BYTE n) { return Concat({item, {n, 0, 0, 0}, Bytes(8, 0)}); };
    const Bytes expected = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00},
                                   Ascii("CTestItem"),
                                   payload(1),
                                   // class index 1 again, object index 2 again
                                   {0x01, 0x80},
                                   payload(2),
                                   {0x02, 0x00}});
    EXPECT_EQ(bytes, expected);
}

TEST_F(ArchiveTest, ValuesRoundTrip)
{
    const CString texts[] = {L"",
                             L"plain",
                             L"Wärme und Grüße",
                             L"\U0001F600 \u4E2D\u6587",
                             CString(L'z', 254),
                             CString(L'z', 255),
                             CString(L'q', 0xFFFD),
                             CString(L'q', 0xFFFE),
                             CString(L'w', 70000),
                             CString(L"a\0b", 3)};
    const Bytes bytes = Store(
        [&](CArchive& ar)
        {
            ar << BYTE(7) << 'c' << WORD(65535) << short(-300) << L'ß' << -123456 << 4000000000u << 1.5f
               << -2.25 << LONGLONG(-5000000000LL) << ULONGLONG(18000000000000000000ull) << true;
            for (const CString& t : texts)
                ar << t;
            for (DWORD_PTR n : {DWORD_PTR(0), DWORD_PTR(0xFFFE), DWORD_PTR(0xFFFF), DWORD_PTR(0xFFFFFFFEu),
                                DWORD_PTR(0xFFFFFFFFu), DWORD_PTR(0x123456789ull)})
                ar.WriteCount(n);
        });
    Load(bytes,
         [&](CArchive& ar)
         {
             BYTE by;
             char ch;
             WORD w;
             short sh;
             wchar_t wc;
             int i;
             unsigned u;
             float f;
             double d;
             LONGLONG ll;
             ULONGLONG ull;
             bool b;
             ar >> by >> ch >> w >> sh >> wc >> i >> u >> f >> d >> ll >> ull >> b;
             EXPECT_EQ(by, 7);
             EXPECT_EQ(ch, 'c');
             EXPECT_EQ(w, 65535);
             EXPECT_EQ(sh, -300);
             EXPECT_EQ(wc, L'ß');
             EXPECT_EQ(i, -123456);
             EXPECT_EQ(u, 4000000000u);
             EXPECT_EQ(f, 1.5f);
             EXPECT_EQ(d, -2.25);
             EXPECT_EQ(ll, -5000000000LL);
             EXPECT_EQ(ull, 18000000000000000000ull);
             EXPECT_TRUE(b);
             for (const CString& t : texts)
             {
                 CString s;
                 ar >> s;
                 EXPECT_EQ(s.GetLength(), t.GetLength());
                 EXPECT_TRUE(s == t);
             }
             for (DWORD_PTR n : {DWORD_PTR(0), DWORD_PTR(0xFFFE), DWORD_PTR(0xFFFF), DWORD_PTR(0xFFFFFFFEu),
                                 DWORD_PTR(0xFFFFFFFFu), DWORD_PTR(0x123456789ull)})
                 EXPECT_EQ(ar.ReadCount(), n);
             EXPECT_EQ(ar.GetRemainingLength(), 0u);
         });
}

// Short strings and numbers are taken straight from the archive's buffer when they lie whole in it;
// wherever the buffer ends (a small buffer ends often) they still read as they were written.
TEST_F(ArchiveTest, ShortValuesReadAlikeWhereverTheBufferEnds)
{
    const CString texts[] = {
        L"", L"a", L"plain text", L"Gr\u00FC\u00DFe \U0001F600", CString(L'x', 254), CString(L'y', 255)};
    const Bytes bytes = Store(
        [&](CArchive& ar)
        {
            for (int i = 0; i < 200; ++i)
            {
                ar << BYTE(i) << texts[i % std::size(texts)] << (i * 7919) << double(i) / 3;
                if (i % 3 == 0)
                    ar << WORD(i);
            }
        });
    for (int bufSize : {128, 4096})
    {
        Bytes copy = bytes;
        CMemFile file(copy.data(), UINT(copy.size()));
        CArchive ar(&file, CArchive::load, bufSize);
        {
            // Reused, as a loading shape reuses its members.
            CString s = L"left over from before";
            for (int i = 0; i < 200; ++i)
            {
                BYTE b = 0;
                int n = 0;
                double d = 0;
                ar >> b >> s >> n >> d;
                EXPECT_EQ(b, BYTE(i));
                EXPECT_TRUE(s == texts[i % std::size(texts)]) << "string " << i;
                EXPECT_EQ(n, i * 7919);
                EXPECT_EQ(d, double(i) / 3);
                if (i % 3 == 0)
                {
                    WORD w = 0;
                    ar >> w;
                    EXPECT_EQ(w, WORD(i));
                }
            }
            EXPECT_EQ(ar.GetRemainingLength(), 0u);
        }
    }
    // Marked UTF-16 with a pair and with lone halves of one: the pair makes one character, a lone
    // half the replacement character.
    const std::vector<std::pair<Bytes, CString>> cases = {
        {{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}, L"\U0001F600"},
        {{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x41, 0x00}, L"\uFFFDA"},
        {{0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xDE}, L"\uFFFD"},
    };
    for (const auto& c : cases)
        Load(c.first,
             [&](CArchive& ar)
             {
                 CString s;
                 ar >> s;
                 EXPECT_TRUE(s == c.second);
             });
}

TEST_F(ArchiveTest, PlainStringsAreReadAsUtf8)
{
    struct Case
    {
        Bytes bytes;
        CString expected;
    };
    const std::vector<Case> cases = {
        {{0x03, 'a', 'b', 'c'}, L"abc"},
        {{0x02, 0xC3, 0xA4}, L"ä"},
        {Concat({{0xFF, 0x2C, 0x01}, Bytes(300, 'k')}), CString(L'k', 300)},
        {Concat({{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}, Bytes(0x10000, 'm')}), CString(L'm', 0x10000)},
        // Unicode marker with a WORD length
        {Concat({{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01}, Bytes(512, 0)}), CString(L'\0', 256)},
    };
    for (const Case& c : cases)
        Load(c.bytes,
             [&](CArchive& ar)
             {
                 CString s;
                 ar >> s;
                 EXPECT_TRUE(s == c.expected);
             });
}

TEST_F(ArchiveTest, ObjectGraphsKeepSharingAndTypes)
{
    auto* root = new CTestGroup;
    root->m_name = L"root";
    root->m_label = L"Ünïcode";
    auto* shared = new CTestItem;
    shared->m_name = L"shared";
    shared->m_d = 3.5;
    auto* inner = new CTestGroup;
    inner->m_items.Add(shared);
    root->m_items.Add(shared);
    root->m_items.Add(inner);
    root->m_items.Add(shared);
    root->m_items.Add(nullptr);
    auto* link = new CTestLink;
    link->m_pFrom = inner;
    link->m_pTo = shared;
    const Bytes bytes = Store([&](CArchive& ar) { ar << root << link; });
    CTracked::DeleteAll();

    Load(bytes,
         [&](CArchive& ar)
         {
             CTestGroup* g = nullptr;
             CTestLink* l = nullptr;
             ar >> g >> l;
             ASSERT_NE(g, nullptr);
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(g->m_name, L"root");
             EXPECT_EQ(g->m_label, L"Ünïcode");
             ASSERT_EQ(g->m_items.GetSize(), 4);
             CTestItem* s = g->m_items[0];
             EXPECT_EQ(s->GetRuntimeClass(), RUNTIME_CLASS(CTestItem));
             EXPECT_EQ(s->m_name, L"shared");
             EXPECT_EQ(s->m_d, 3.5);
             EXPECT_EQ(g->m_items[2], s);
             EXPECT_EQ(g->m_items[3], nullptr);
             auto* in = DYNAMIC_DOWNCAST(CTestGroup, g->m_items[1]);
             ASSERT_NE(in, nullptr);
             ASSERT_EQ(in->m_items.GetSize(), 1);
             EXPECT_EQ(in->m_items[0], s);
             EXPECT_EQ(l->m_pFrom, in);
             EXPECT_EQ(l->m_pTo, s);
             EXPECT_EQ(CTracked::Live().size(), 4u);
         });
}

TEST_F(ArchiveTest, ManyObjectsUseBigTags)
{
    // More objects than a WORD tag can number: indexes from 0x7FFF on go out as 0x7FFF + DWORD.
    const int count = 0x8100;
    CTestGroup root;
    for (int i = 0; i < count; ++i)
    {
        auto* item = new CTestItem;
        item->m_n = i;
        root.m_items.Add(item);
    }
    root.m_items.Add(root.m_items[count - 1]);
    root.m_items.Add(root.m_items[5]);
    const Bytes bytes = Store([&](CArchive& ar) { ar << &root << root.m_items[count - 2]; });
    for (INT_PTR i = 0; i < count; ++i)
        delete root.m_items[i];
    root.m_items.RemoveAll();

    Load(bytes,
         [&](CArchive& ar)
         {
             CTestGroup* g = nullptr;
             CTestItem* again = nullptr;
             ar >> g >> again;
             ASSERT_NE(g, nullptr);
             ASSERT_EQ(g->m_items.GetSize(), count + 2);
             EXPECT_EQ(g->m_items[count - 1]->m_n, count - 1);
             EXPECT_EQ(g->m_items[count], g->m_items[count - 1]);
             EXPECT_EQ(g->m_items[count + 1], g->m_items[5]);
             EXPECT_EQ(again, g->m_items[count - 2]);
         });
}

TEST_F(ArchiveTest, SchemasAreCheckedUnlessVersionable)
{
    auto classRecord = [](WORD schema, const char* name)
    {
        return Concat(
            {{0xFF, 0xFF, BYTE(schema), BYTE(schema >> 8), BYTE(std::strlen(name)), 0x00}, Ascii(name)});
    };
    const Bytes emptyItem = Concat({{0xFF, 0xFE, 0xFF, 0x00}, Bytes(12, 0)});

    // A group stored with schema 1 has no label: the versionable class reads it with that schema.
    const Bytes oldGroup =
        Concat({classRecord(1, "CTestGroup"), {0xFF, 0xFE, 0xFF, 0x01, 'g', 0}, Bytes(12, 0), {0x00, 0x00}});
    Load(oldGroup,
         [](CArchive& ar)
         {
             CTestGroup* g = nullptr;
             ar >> g;
             ASSERT_NE(g, nullptr);
             EXPECT_EQ(g->m_name, L"g");
             EXPECT_TRUE(g->m_label.IsEmpty());
         });

    struct Case
    {
        const char* what;
        Bytes bytes;
        int cause;
    };
    const std::vector<Case> cases = {
        {"strict schema 2", Concat({classRecord(2, "CTestStrict"), {0, 0}}), CArchiveException::badSchema},
        {"strict schema 3", Concat({classRecord(3, "CTestStrict"), {0, 0}}), -1},
        {"unknown class", Concat({classRecord(1, "CNoSuchThing"), emptyItem}), CArchiveException::badClass},
        {"dynamic only", Concat({classRecord(0xFFFF, "CTestDynOnly")}), CArchiveException::badClass},
        {"name too long", Concat({classRecord(1, std::string(64, 'C').c_str())}),
         CArchiveException::badClass},
        {"object ahead", {0x05, 0x00}, CArchiveException::badIndex},
        {"class ahead", {0x03, 0x80}, CArchiveException::badIndex},
        {"class zero", {0x00, 0x80}, CArchiveException::badIndex},
        {"big object ahead", {0xFF, 0x7F, 0x00, 0x00, 0x01, 0x00}, CArchiveException::badIndex},
        // index 1 is a class, not an object
        {"class as object", Concat({classRecord(3, "CTestStrict"), {0, 0}, {0x01, 0x00}}),
         CArchiveException::badIndex},
        // index 2 is an object, not a class
        {"object as class", Concat({classRecord(3, "CTestStrict"), {0, 0}, {0x02, 0x80}}),
         CArchiveException::badIndex},
        {"empty", {}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(LoadCause(c.bytes,
                            [](CArchive& ar)
                            {
                                CObject* a = ar.ReadObject(nullptr);
                                (void)a;
                                if (ar.GetRemainingLength())
                                    ar.ReadObject(nullptr);
                            }),
                  c.cause)
            << c.what;
        CTracked::DeleteAll();
    }

    // The requested class must match, for a new object and for a reference.
    const Bytes item = Concat({classRecord(1, "CTestItem"), emptyItem, {0x02, 0x00}});
    EXPECT_EQ(LoadCause(item, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CTestLink)); }),
              CArchiveException::badClass);
    EXPECT_EQ(LoadCause(item,
                        [](CArchive& ar)
                        {
                            ar.ReadObject(RUNTIME_CLASS(CObject));
                            ar.ReadObject(RUNTIME_CLASS(CTestGroup));
                        }),
              CArchiveException::badClass);
    EXPECT_TRUE(CTracked::Live().size() <= 1u);
}

TEST_F(ArchiveTest, EveryTruncationThrowsAndLeaksNothing)
{
    auto* root = new CTestGroup;
    root->m_name = L"Grüße \U0001F600";
    root->m_label = CString(L'L', 300);
    for (int i = 0; i < 3; ++i)
    {
        auto* item = new CTestItem;
        item->m_name.Format(L"item %d", i);
        item->m_n = i;
        root->m_items.Add(item);
    }
    root->m_items.Add(root->m_items[1]);
    auto* link = new CTestLink;
    link->m_pFrom = root->m_items[0];
    link->m_pTo = root;
    CStringArray strings;
    strings.Add(L"one");
    strings.Add(L"zwei");
    const Bytes bytes = Store(
        [&](CArchive& ar)
        {
            ar << root << link;
            strings.Serialize(ar);
            ar << 42;
        });
    CTracked::DeleteAll();

    auto readAll = [](CArchive& ar)
    {
        CObject* a = nullptr;
        CObject* b = nullptr;
        ar >> a >> b;
        CStringArray s;
        s.Serialize(ar);
        int n;
        ar >> n;
    };
    Load(bytes, readAll);
    CTracked::DeleteAll();
    for (size_t len = 0; len < bytes.size(); ++len)
    {
        const Bytes cut(bytes.begin(), bytes.begin() + long(len));
        EXPECT_EQ(LoadCause(cut, readAll), CArchiveException::endOfFile) << "cut at " << len;
        CTracked::DeleteAll();
    }
}

TEST_F(ArchiveTest, HugeLengthsAndCountsThrowWithoutAllocating)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
        std::function<void(CArchive&)> read;
    };
    auto readString = [](CArchive& ar)
    {
        CString s;
        ar >> s;
    };
    const std::vector<Case> cases = {
        {"DWORD string length",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a', 0},
         readString},
        {"QWORD string length",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0xFF, 0x7F},
         readString},
        {"plain string length", {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 'a'}, readString},
        {"word string length", {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x10, 'a', 0}, readString},
        {"DWORD array",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4},
         [](CArchive& ar) { CDWordArray().Serialize(ar); }},
        {"string array",
         {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF},
         [](CArchive& ar) { CStringArray().Serialize(ar); }},
        {"object array",
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00},
         [](CArchive& ar) { CObArray().Serialize(ar); }},
        {"string list",
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10},
         [](CArchive& ar) { CStringList().Serialize(ar); }},
        {"string map",
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10},
         [](CArchive& ar) { CMapStringToString().Serialize(ar); }},
        {"64-bit count",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
         [](CArchive& ar) { CByteArray().Serialize(ar); }},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadCause(c.bytes, c.read), CArchiveException::endOfFile) << c.what;
}

TEST_F(ArchiveTest, DeepNestingIsRefused)
{
    // A chain of groups deeper than a loader follows.
    auto* top = new CTestGroup;
    CTestGroup* cur = top;
    for (int i = 0; i < CArchive::nMaxLoadDepth + 10; ++i)
    {
        auto* next = new CTestGroup;
        cur->m_items.Add(next);
        cur = next;
    }
    const Bytes bytes = Store([&](CArchive& ar) { ar << top; });
    CTracked::DeleteAll();
    EXPECT_EQ(LoadCause(bytes, [](CArchive& ar) { ar.ReadObject(nullptr); }),
              CArchiveException::genericException);
}

TEST_F(ArchiveTest, ModesMappingAndFiles)
{
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        EXPECT_EQ(LoadCause({},
                            [&](CArchive&)
                            {
                                int n;
                                ar >> n;
                            }),
                  CArchiveException::writeOnly);
        // A mapped object is written as a reference from then on.
        CTestItem doc;
        ar.MapObject(&doc);
        ar << &doc;
        ar.Close();
    }
    EXPECT_EQ(mem.GetLength(), 2u);
    EXPECT_EQ(LoadCause({1, 2}, [](CArchive& ar) { ar << 1; }), CArchiveException::readOnly);

    // Loading: the mapped object comes back for the same reference.
    Load({0x01, 0x00},
         [](CArchive& ar)
         {
             CTestItem doc;
             ar.MapObject(&doc);
             EXPECT_EQ(ar.ReadObject(nullptr), &doc);
         });

    // Over a real file: a flushed loading archive leaves the file at its first unread byte.
    char dir[] = "/tmp/qyrarchXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const CString path = CString(dir) + L"/data.bin";
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        EXPECT_EQ(ar.m_strFileName, path);
        ar << CString(L"head") << DWORD(7) << DWORD(8);
    }
    {
        CFile f(path, CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        CString head;
        DWORD seven;
        ar >> head;
        EXPECT_EQ(ar.GetRemainingLength(), 8u);
        ar >> seven;
        ar.Flush();
        EXPECT_EQ(f.GetPosition(), f.GetLength() - 4);
        ar.Close();
        DWORD eight = 0;
        f.Read(&eight, 4);
        EXPECT_EQ(eight, 8u);
    }
    CFile::Remove(path);
    rmdir(dir);
}

TEST_F(ArchiveTest, TextLinesAndRawBytes)
{
    const Bytes bytes = Store(
        [](CArchive& ar)
        {
            ar.WriteString(L"first line\r\n");
            ar.WriteString(L"zweite\n");
            ar.WriteString(L"last");
        });
    EXPECT_EQ(bytes.size(), 2u * (12 + 7 + 4));
    Load(bytes,
         [](CArchive& ar)
         {
             CString line;
             EXPECT_TRUE(ar.ReadString(line));
             EXPECT_EQ(line, L"first line");
             wchar_t buf[4];
             EXPECT_NE(ar.ReadString(buf, 4), nullptr);
             EXPECT_STREQ(buf, L"zwe");
             EXPECT_TRUE(ar.ReadString(line));
             EXPECT_EQ(line, L"ite");
             EXPECT_TRUE(ar.ReadString(line));
             EXPECT_EQ(line, L"last");
             EXPECT_FALSE(ar.ReadString(line));
             EXPECT_EQ(ar.ReadString(buf, 4), nullptr);
         });
}
