// CItem and CItemSet on their own: qualities, value conversions, the handle table, the stored record.
#include "ArchiveHelpers.h"

#include "opc/Item.h"
#include "opc/ItemSet.h"

#include "com/SafeArray.h"
#include "model/ParamObj.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace opctest;

TEST(ItemTest, NewItemIsUncertainWithoutValue)
{
    CItem item;
    EXPECT_EQ(0x40, item.GetQuality());
    EXPECT_TRUE(item.IsQualityUncertain());
    EXPECT_FALSE(item.IsQualityGood());
    EXPECT_FALSE(item.IsQualityBad());
    EXPECT_FALSE(item.IsChanged());
    EXPECT_EQ(99, item.GetParamType());
    VARTYPE type = VT_NULL;
    EXPECT_EQ(DBL_MIN, item.GetDoubleValue(type));
    EXPECT_EQ(VT_EMPTY, type);
}

TEST(ItemTest, QualityTestsLookAtTheTopBits)
{
    struct Case
    {
        WORD quality;
        BOOL good, bad, uncertain, uninitialised;
    } cases[] = {
        {0xC0, TRUE, FALSE, FALSE, FALSE}, {0xD8, TRUE, FALSE, FALSE, FALSE},
        {0x1C, FALSE, TRUE, FALSE, FALSE}, {0x20, FALSE, TRUE, FALSE, TRUE},
        {0x44, FALSE, FALSE, TRUE, FALSE}, {0x00, FALSE, TRUE, FALSE, FALSE},
    };
    CItem item;
    for (const Case& c : cases)
    {
        item.SetQuality(c.quality);
        EXPECT_EQ(c.good, item.IsQualityGood()) << c.quality;
        EXPECT_EQ(c.bad, item.IsQualityBad()) << c.quality;
        EXPECT_EQ(c.uncertain, item.IsQualityUncertain()) << c.quality;
        EXPECT_EQ(c.uninitialised, item.IsQualityUnInitialized()) << c.quality;
    }
}

TEST(ItemTest, EveryNumericTypeGivesItsValue)
{
    struct Case
    {
        _variant_t value;
        double expected;
    };
    _variant_t i1;
    i1.vt = VT_I1;
    i1.cVal = -7;
    _variant_t ui2;
    ui2.vt = VT_UI2;
    ui2.uiVal = 65000;
    _variant_t ui8;
    ui8.vt = VT_UI8;
    ui8.ullVal = 1ull << 40;
    _variant_t cy;
    cy.vt = VT_CY;
    cy.cyVal.int64 = 12345;
    _variant_t date(45000.5, VT_DATE);
    _variant_t uint;
    uint.vt = VT_UINT;
    uint.uintVal = 7;
    const Case cases[] = {
        {_variant_t(short(-5)), -5.0},
        {_variant_t(BYTE(200)), 200.0},
        {i1, -7.0},
        {ui2, 65000.0},
        {_variant_t(int(-100000)), -100000.0},
        {_variant_t(4000000000u), 4000000000.0},
        {_variant_t(-3ll), -3.0},
        {ui8, double(1ull << 40)},
        {_variant_t(1.5f), 1.5},
        {_variant_t(2.25), 2.25},
        {cy, 1.2345},
        {date, 45000.5},
        {uint, 7.0},
        {_variant_t(true), 1.0},
        {_variant_t(false), 0.0},
    };
    CItem item;
    for (const Case& c : cases)
    {
        item.SetValue(c.value);
        VARTYPE type = VT_EMPTY;
        EXPECT_DOUBLE_EQ(c.expected, item.GetDoubleValue(type)) << c.value.vt;
        EXPECT_EQ(c.value.vt, type);
    }
}

TEST(ItemTest, TextIsNoNumberAndNumbersAreNoText)
{
    CItem item;
    item.SetValue(_variant_t(L"abc"));
    VARTYPE type = VT_EMPTY;
    EXPECT_EQ(DBL_MIN, item.GetDoubleValue(type));
    EXPECT_EQ(VT_BSTR, type);
    EXPECT_EQ(CString(L"abc"), item.GetBSTRValue(type));

    item.SetValue(_variant_t(3.0));
    EXPECT_TRUE(item.GetBSTRValue(type).IsEmpty());
    EXPECT_EQ(VT_R8, type);

    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 3);
    _variant_t arrayValue;
    arrayValue.vt = VT_ARRAY | VT_R8;
    arrayValue.parray = array;
    item.SetValue(arrayValue);
    EXPECT_EQ(DBL_MIN, item.GetDoubleValue(type));
    EXPECT_EQ(VT_ARRAY | VT_R8, type);
}

TEST(ItemTest, StoredReportSetsEverythingAndCopiesTheValue)
{
    CItem item;
    FILETIME time = {123, 456};
    {
        _variant_t text(L"hello");
        item.StoreReport(text, 0xC0, &time);
    }
    EXPECT_TRUE(item.IsChanged());
    EXPECT_EQ(0xC0, item.GetQuality());
    EXPECT_EQ(123u, item.GetTimeStamp().dwLowDateTime);
    EXPECT_EQ(456u, item.GetTimeStamp().dwHighDateTime);
    _variant_t value = item.GetValue();
    EXPECT_EQ(VT_BSTR, value.vt);
    EXPECT_STREQ(L"hello", value.bstrVal);
}

TEST(ItemTest, HandlesComeFromTheTableAndDieWithTheItem)
{
    OPCHANDLE handle;
    {
        CItem a;
        CItem b;
        handle = a.GetClientHandle();
        EXPECT_NE(0u, handle);
        EXPECT_NE(a.GetClientHandle(), b.GetClientHandle());
        EXPECT_EQ(&a, CItem::FromClientHandle(handle));
        EXPECT_EQ(&b, CItem::FromClientHandle(b.GetClientHandle()));
    }
    EXPECT_EQ(nullptr, CItem::FromClientHandle(handle));
    // The slot is used again, under another generation.
    CItem c;
    EXPECT_NE(handle, c.GetClientHandle());
    EXPECT_EQ(nullptr, CItem::FromClientHandle(handle));
    EXPECT_EQ(nullptr, CItem::FromClientHandle(0));
    EXPECT_EQ(nullptr, CItem::FromClientHandle(0xFFFFFFFFu));
}

TEST(ItemTest, RecordKeepsTheItemId)
{
    CItem item;
    item.SetName(L"Plant.Area1.Tank1.Level");
    item.SetActive(FALSE);
    item.SetDataType(VT_R4);
    std::vector<BYTE> bytes = StoreRecord(item);

    CItem loaded;
    LoadRecord(bytes, loaded);
    EXPECT_EQ(CString(L"Plant.Area1.Tank1.Level"), loaded.GetName());
    EXPECT_FALSE(loaded.IsActive());
    EXPECT_EQ(VT_R4, loaded.GetDataType());
    EXPECT_TRUE(loaded.CBase<IOPCItemMgt>::GetName().IsEmpty());
}

TEST(ItemTest, FirstRecordFormStillLoads)
{
    // Base name (empty), active flag, data type: no item ID.
    std::vector<BYTE> bytes = Write([](CArchive& ar) { ar << CString() << DWORD(1) << WORD(VT_I4); });
    EXPECT_EQ(10u, bytes.size());
    CItem loaded;
    loaded.SetActive(FALSE);
    LoadRecord(bytes, loaded);
    EXPECT_TRUE(loaded.IsActive());
    EXPECT_EQ(VT_I4, loaded.GetDataType());
    EXPECT_TRUE(loaded.GetName().IsEmpty());
}

TEST(ItemTest, TruncatedRecordThrows)
{
    CItem item;
    item.SetName(L"Memory.R8");
    std::vector<BYTE> bytes = StoreRecord(item);
    for (size_t cut : {size_t(0), size_t(3), bytes.size() / 2, bytes.size() - 1})
    {
        CItem loaded;
        bool thrown = false;
        try
        {
            LoadRecord(std::vector<BYTE>(bytes.begin(), bytes.begin() + long(cut)), loaded);
        }
        catch (CArchiveException* e)
        {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << cut;
    }
}

TEST(ItemSetTest, IndexesOutsideTheListGiveNull)
{
    CItemSet set;
    CItem a, b;
    set.AddAssocItem(&a);
    set.AddAssocItem(&b);
    EXPECT_EQ(&a, set.GetItem(0));
    EXPECT_EQ(&b, set.GetItem(1));
    EXPECT_EQ(nullptr, set.GetItem(-1));
    EXPECT_EQ(nullptr, set.GetItem(2));
    EXPECT_EQ(nullptr, set.GetParam(0));
    EXPECT_TRUE(set.RemoveItem(&a));
    EXPECT_FALSE(set.RemoveItem(&a));
    EXPECT_EQ(&b, set.GetItem(0));
}

TEST(ItemSetTest, FetchValuesGivesItemsThenVariables)
{
    CItemSet set;
    double* values = nullptr;
    const wchar_t** names = nullptr;
    EXPECT_EQ(0, set.FetchValues(values, names));
    EXPECT_EQ(nullptr, values);
    EXPECT_EQ(nullptr, names);

    CItem a, b;
    a.SetName(L"Tag.A");
    a.SetValue(_variant_t(short(4)));
    b.SetName(L"Tag.B");
    b.SetValue(_variant_t(true));
    CParamObj text(L"Note", FO_VALUE::MakeString(L"x"), 100);
    CParamObj number(L"#Level", FO_VALUE::MakeFloat(2.5f), 101);
    CParamObj counter(L"$Hour", FO_VALUE::MakeDWord(7), 102);
    set.AddAssocItem(&a);
    set.AddAssocItem(&b);
    set.AddAssocParam(&text);
    set.AddAssocParam(&number);
    set.AddAssocParam(&counter);

    ASSERT_EQ(5, set.FetchValues(values, names));
    const double expected[] = {4.0, 1.0, DBL_MIN, 2.5, 7.0};
    const wchar_t* expectedNames[] = {L"Tag.A", L"Tag.B", L"Note", L"#Level", L"$Hour"};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_DOUBLE_EQ(expected[i], values[i]) << i;
        EXPECT_STREQ(expectedNames[i], names[i]) << i;
    }
    delete[] values;
    delete[] names;
}

TEST(ItemSetTest, SortPutsRuntimeThenGlobalThenSystemVariables)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* sorted;
    } cases[] = {
        {L"", L""},
        {L"a,1,2,3,$Hour@b,1,2,3,#G1@c,1,2,3,T1", L"c,1,2,3,T1@b,1,2,3,#G1@a,1,2,3,$Hour"},
        {L"a,1,2,3,R1@b,1,2,3,#G1@c,1,2,3,R2,extra", L"a,1,2,3,R1@c,1,2,3,R2,extra@b,1,2,3,#G1"},
        // Entries of fewer than five fields are left out instead of failing the whole list.
        {L"short,1@b,1,2,3,#G1@x@c,1,2,3,T1", L"c,1,2,3,T1@b,1,2,3,#G1"},
        {L"a,1,2,3,", L"a,1,2,3,"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.sorted), CItemSet::SortPropStringValue(c.text)) << c.text;
}
