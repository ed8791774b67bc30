// The state string: records, items and fields read and joined, colours, range keys, menu bodies,
// new state names, and the runtime's True/False choice.
#include "figkit/FODrawShape.h"
#include "model/StateString.h"

#include <gtest/gtest.h>

using namespace StateString;

TEST(StateString, RecordsCutAtTheFirstDollarAndJoinBack)
{
    struct Case
    {
        const wchar_t* text;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> records;
    };
    const Case cases[] = {
        {L"", {}},
        {L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00",
         {{L"STATE_0", L"C_C,A,FF0000#H_H,B"}, {L"STATE_1", L"C_C,A,00FF00"}}},
        // A value-range key holds a comma and stays whole.
        {L"25,75$L_S,True", {{L"25,75", L"L_S,True"}}},
        // A names-only record has an empty key and the whole record as body.
        {L"Open@Close", {{L"", L"Open"}, {L"", L"Close"}}},
        // Only the first "$" cuts.
        {L"A$B$C", {{L"A", L"B$C"}}},
    };
    for (const Case& c : cases)
    {
        const std::vector<Record> records = SplitRecords(c.text);
        ASSERT_EQ(records.size(), c.records.size()) << CString(c.text).ToUtf8();
        for (size_t i = 0; i < records.size(); ++i)
        {
            EXPECT_EQ(records[i].strKey, CString(c.records[i].first));
            EXPECT_EQ(records[i].strBody, CString(c.records[i].second));
        }
        // Records that had a key join back to the same text.
        if (!records.empty() && !records[0].strKey.IsEmpty())
            EXPECT_EQ(JoinRecords(records), CString(c.text));
    }
    EXPECT_EQ(JoinRecords({{L"S", L"C_C,A,FF0000"}}), CString(L"S$C_C,A,FF0000"));
    EXPECT_EQ(JoinRecords({}), CString());
}

TEST(StateString, ItemsSkipEmptyPiecesAndValuesKeepTheirCommas)
{
    const std::vector<Item> items = SplitItems(L"#C_C,A,FF8000##H_H,A,B,C#L_S#");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].strCode, CString(L"C_C"));
    EXPECT_EQ(items[0].strValue, CString(L"A,FF8000"));
    EXPECT_EQ(items[1].strCode, CString(L"H_H"));
    EXPECT_EQ(items[1].strValue, CString(L"A,B,C"));
    EXPECT_EQ(SplitFields(items[1].strValue), (std::vector<CString>{L"A", L"B", L"C"}));
    EXPECT_EQ(items[2].strCode, CString(L"L_S"));
    EXPECT_TRUE(items[2].strValue.IsEmpty());

    EXPECT_EQ(JoinItems({{L"H_H", JoinFields({L"A", L"B", L"C"})}}), CString(L"H_H,A,B,C"));
    EXPECT_EQ(JoinItems({{L"C_C", L"A,FF0000"}, {L"L_W", L"A,3"}}), CString(L"C_C,A,FF0000#L_W,A,3"));
    EXPECT_EQ(JoinItems({}), CString());
}

TEST(StateString, ColoursRangeKeysAndMenuBodies)
{
    struct ColourCase
    {
        COLORREF cr;
        const wchar_t* text;
    };
    const ColourCase colours[] = {
        {RGB(255, 128, 0), L"FF8000"}, {RGB(255, 255, 255), L"FFFFFF"}, {0, L"000000"}};
    for (const ColourCase& c : colours)
    {
        EXPECT_EQ(FormatColor(c.cr), CString(c.text));
        COLORREF back = 1;
        ASSERT_TRUE(ParseColor(c.text, back));
        EXPECT_EQ(back, c.cr);
    }
    for (const wchar_t* bad : {L"", L"FF80", L"GG0000", L"FF00001"})
    {
        COLORREF untouched = 7;
        EXPECT_FALSE(ParseColor(bad, untouched)) << CString(bad).ToUtf8();
        EXPECT_EQ(untouched, 7u);
    }

    EXPECT_EQ(FormatRangeKey(25.0, 75.0), CString(L"25,75"));
    double lo = 0, hi = 0;
    ASSERT_TRUE(ParseRangeKey(L"25,75", lo, hi));
    EXPECT_EQ(lo, 25.0);
    EXPECT_EQ(hi, 75.0);
    EXPECT_FALSE(ParseRangeKey(L"25", lo, hi));
    EXPECT_FALSE(ParseRangeKey(L"a,b", lo, hi));

    EXPECT_EQ(FormatMenuBody(5, L"  Main.xdg "), CString(L"5#Main.xdg"));
    EXPECT_EQ(FormatMenuBody(0, L"   "), CString(L"0#None"));
    UINT type = 99;
    CString event;
    ParseMenuBody(L"18#Start", type, event);
    EXPECT_EQ(type, 18u);
    EXPECT_EQ(event, CString(L"Start"));
}

TEST(StateString, NextFreeStateNameTakesTheFirstGap)
{
    EXPECT_EQ(NextFreeStateName({}), CString(L"STATE_0"));
    EXPECT_EQ(NextFreeStateName({L"STATE_0", L"STATE_2"}), CString(L"STATE_1"));
    EXPECT_EQ(NextFreeStateName({L"STATE_1"}), CString(L"STATE_0"));
    EXPECT_EQ(NextFreeStateName({L"STATE_0", L"STATE_1", L"STATE_2"}), CString(L"STATE_3"));
}

TEST(StateString, RuntimePicksTrueOrFalseOnlyWithTwoOrMoreStates)
{
    struct Case
    {
        const wchar_t* states;
        BOOL on;
        BOOL handled;
        const wchar_t* type;
    };
    const Case cases[] = {
        {L"True$C_C,A,00FF00@False$C_C,A,FF0000", TRUE, TRUE, L"True"},
        {L"True$C_C,A,00FF00@False$C_C,A,FF0000", FALSE, TRUE, L"False"},
        {L"Only$C_C,A,00FF00", TRUE, FALSE, L"before"},
        {L"", TRUE, FALSE, L"before"},
    };
    for (const Case& c : cases)
    {
        CFODrawShape shape;
        shape.SetStateString(c.states);
        shape.SetStateType(L"before");
        EXPECT_EQ(SelectTrueFalseState(&shape, c.on), c.handled) << CString(c.states).ToUtf8();
        EXPECT_EQ(shape.GetStateType(), CString(c.type));
    }
    EXPECT_FALSE(SelectTrueFalseState(nullptr, TRUE));
}
