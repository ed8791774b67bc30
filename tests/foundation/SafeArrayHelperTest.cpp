#include "foundation/SafeArrayHelper.h"

#include <gtest/gtest.h>

TEST(SafeArrayHelperTest, EmptyHelperAnswersFalse)
{
    CSafeArrayHelper helper;
    void* data = nullptr;
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(helper.GetArray(), nullptr);
    EXPECT_EQ(helper.GetDimension(), 0u);
    EXPECT_FALSE(helper.Destroy());
    EXPECT_FALSE(helper.AccessData(&data));
    EXPECT_FALSE(helper.UnaccessData());
    EXPECT_FALSE(helper.Lock());
    EXPECT_FALSE(helper.Unlock());
    EXPECT_FALSE(helper.PutElement(0, &v));
    EXPECT_FALSE(helper.GetElement(0, &v));
    EXPECT_EQ(helper.Detach(), nullptr);
    EXPECT_EQ(helper.GetAsVariant().vt, VT_EMPTY);
    EXPECT_FALSE(helper.Attach(nullptr));
    EXPECT_FALSE(helper.AttachFromVariant(&v));
}

// Script arguments: two VARIANT elements, a text and an integer. Creating twice releases the
// first array (the leak checker would see it otherwise).
TEST(SafeArrayHelperTest, ScriptArgumentsPutAndGetVariants)
{
    CSafeArrayHelper args;
    ASSERT_TRUE(args.Create(VT_BSTR, 1, 0, 3));
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"Pump1");
    ASSERT_TRUE(args.PutElement(0, text.bstrVal));
    ASSERT_TRUE(args.Create(VT_VARIANT, 1, 0, 2));
    EXPECT_EQ(args.GetDimension(), 1u);

    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 42;
    EXPECT_TRUE(args.PutElement(0, &text));
    EXPECT_TRUE(args.PutElement(1, &number));
    EXPECT_FALSE(args.PutElement(2, &number));
    VariantClear(&text); // the array keeps its own copy

    VARIANT out;
    VariantInit(&out);
    ASSERT_TRUE(args.GetElement(0, &out));
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_STREQ(out.bstrVal, L"Pump1");
    ASSERT_TRUE(args.GetElement(1, &out));
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 42);
    VariantClear(&out);
    EXPECT_FALSE(args.GetElement(-1, &out));

    LONG lower = -1, upper = -1;
    EXPECT_EQ(SafeArrayGetLBound(args.GetArray(), 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(args.GetArray(), 1, &upper), S_OK);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 1);
}

TEST(SafeArrayHelperTest, AsVariantNamesTheElementType)
{
    struct Case
    {
        VARTYPE element;
        VARTYPE expected;
    };
    const Case cases[] = {
        {VT_BSTR, VT_BSTR}, {VT_VARIANT, VT_VARIANT}, {VT_UNKNOWN, VT_UNKNOWN}, {VT_DISPATCH, VT_DISPATCH},
        {VT_UI1, VT_UI1},   {VT_I1, VT_UI1},          {VT_I2, VT_UI2},          {VT_BOOL, VT_UI2},
        {VT_I4, VT_UI4},    {VT_R4, VT_UI4},          {VT_R8, VT_R8},           {VT_I8, VT_R8},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.element);
        CSafeArrayHelper helper;
        ASSERT_TRUE(helper.Create(c.element, 1, 1, 4));
        const VARIANT v = helper.GetAsVariant();
        EXPECT_EQ(v.vt, VARTYPE(VT_ARRAY | c.expected));
        EXPECT_EQ(v.parray, helper.GetArray());
    }
}

TEST(SafeArrayHelperTest, OwnershipMovesWithAttachDetachAndVariants)
{
    CSafeArrayHelper helper;
    ASSERT_TRUE(helper.Create(VT_I4, 1, 0, 4));
    void* data = nullptr;
    ASSERT_TRUE(helper.AccessData(&data));
    static_cast<LONG*>(data)[2] = 77;
    EXPECT_FALSE(helper.Destroy()); // locked while its data is accessed
    ASSERT_TRUE(helper.UnaccessData());
    EXPECT_TRUE(helper.Lock());
    EXPECT_TRUE(helper.Unlock());
    EXPECT_FALSE(helper.Unlock());

    SAFEARRAY* taken = helper.Detach();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(helper.GetArray(), nullptr);

    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VARTYPE(VT_ARRAY | VT_I4);
    holder.parray = taken;
    CSafeArrayHelper other;
    ASSERT_TRUE(other.Create(VT_BSTR, 1, 0, 1)); // replaced, and freed, by the attach
    ASSERT_TRUE(other.AttachFromVariant(&holder));
    EXPECT_EQ(holder.vt, VT_EMPTY);
    LONG value = 0;
    ASSERT_TRUE(other.GetElement(2, &value));
    EXPECT_EQ(value, 77);

    CSafeArrayHelper grid;
    ASSERT_TRUE(grid.Create(VT_R8, 2, 0, 3));
    EXPECT_EQ(grid.GetDimension(), 2u);
    double d = 1.5;
    EXPECT_FALSE(grid.PutElement(0, &d)); // element access is one-dimensional only
}
