#include "FigkitTestSupport.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOMatrix.h"
#include "figkit/FoValue.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace figkit_test;

TEST(FoValue, EveryTypeRoundTripsThroughTheArchive)
{
    const FO_VALUE values[] = {FO_VALUE::MakeBool(TRUE),
                               FO_VALUE::MakeString(L"Grüße \U0001F600"),
                               FO_VALUE::MakeInt(-123456),
                               FO_VALUE::MakeFloat(1.5f),
                               FO_VALUE::MakeDouble(DBL_MIN),
                               FO_VALUE::MakeDWord(0xFFFFFFFFu),
                               FO_VALUE::MakeDateTime(45000.25, FO_DATETIME::invalid),
                               FO_VALUE::MakeColor(RGB(1, 2, 3))};
    for (int type = 0; type < 8; ++type)
    {
        const FO_VALUE& v = values[type];
        ASSERT_EQ(v.m_nValueType, type);
        const auto bytes = StoreBytes([&](CArchive& ar) { const_cast<FO_VALUE&>(v).Serialize(ar); });
        FO_VALUE back;
        LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_TRUE(back == v) << "type " << type;
    }
}

TEST(FoValue, UnknownTypeCodeAndTruncationAreArchiveErrors)
{
    auto bytes = StoreBytes([](CArchive& ar) { ar << int(8) << int(1); });
    EXPECT_EQ(ArchiveCause(
                  [&]
                  {
                      LoadBytes(bytes,
                                [](CArchive& ar)
                                {
                                    FO_VALUE v;
                                    v.Serialize(ar);
                                });
                  }),
              CArchiveException::badSchema);
    bytes = StoreBytes(
        [](CArchive& ar)
        {
            FO_VALUE v = FO_VALUE::MakeDouble(2.0);
            v.Serialize(ar);
        });
    bytes.resize(bytes.size() - 1);
    EXPECT_EQ(ArchiveCause(
                  [&]
                  {
                      LoadBytes(bytes,
                                [](CArchive& ar)
                                {
                                    FO_VALUE v;
                                    v.Serialize(ar);
                                });
                  }),
              CArchiveException::endOfFile);
}

TEST(FoValue, ComparesOnlyTheMemberOfItsType)
{
    FO_VALUE a = FO_VALUE::MakeInt(5);
    FO_VALUE b = FO_VALUE::MakeInt(5);
    b.m_dValue = 99.0;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == FO_VALUE::MakeDouble(5.0));
    EXPECT_DOUBLE_EQ(FO_VALUE::MakeString(L"2.5").GetAsDouble(), 2.5);
    EXPECT_EQ(FO_VALUE::MakeColor(RGB(255, 128, 0)).GetAsString(), CString(L"FF8000"));
}

TEST(FigkitHelpers, RoundValueTakesHalvesAwayFromZero)
{
    const struct
    {
        double in;
        int out;
    } cases[] = {{0.5, 1}, {-0.5, -1}, {1.49, 1}, {-1.51, -2}, {2.0, 2}, {1e300, INT_MAX}, {-1e300, INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(CFODrawHelper::RoundValue(c.in), c.out) << c.in;
}

TEST(FigkitHelpers, SplitAndJoinFollowTheStateStringRules)
{
    CStringArray parts;
    EXPECT_EQ(FOStringToStringArray(L"", L"@", parts), 0);
    EXPECT_EQ(FOStringToStringArray(L"H_H,A,B,C", L",", parts), 4);
    EXPECT_EQ(FOStringToStringArray(L"a@@b", L"@", parts), 3);
    ASSERT_EQ(parts.GetSize(), 7);
    EXPECT_EQ(parts[5], CString());
    CStringArray one;
    one.Add(L"row");
    CString out = L"old";
    EXPECT_EQ(FOStringArrayToString(one, L"@", out), CString(L"row"));
    CStringArray none;
    EXPECT_EQ(FOStringArrayToString(none, L"@", out), CString());
}

TEST(FigkitHelpers, MatrixMapsBackWhatItMaps)
{
    const CFOMatrix m = CFOMatrix::Rotation(90, 10, 10);
    // A quarter turn clockwise on the screen about (10, 10).
    EXPECT_EQ(CPoint(m.ChangeValue(CPoint(20, 10))), CPoint(10, 20));
    EXPECT_EQ(CPoint(m.ChangeValueBack(CPoint(10, 20))), CPoint(20, 10));
    const CFOMatrix both = m.Then(CFOMatrix(1, 0, 0, 1, 5, -5));
    EXPECT_EQ(CPoint(both.ChangeValue(CPoint(20, 10))), CPoint(15, 15));
    // A singular matrix leaves points alone instead of dividing by zero.
    const CFOMatrix flat(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(CPoint(flat.ChangeValueBack(CPoint(3, 4))), CPoint(3, 4));
}
