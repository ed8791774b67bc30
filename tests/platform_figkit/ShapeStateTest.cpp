#include "FigkitTestSupport.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FORectShape.h"
#include "figkit/FOShapePtr.h"
#include "figkit/FOShapeState.h"
#include "figkit/FOStateText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace figkit_test;

namespace
{
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;   // "FF0000"
constexpr COLORREF kGreen = 0x00FF00; // "00FF00"
constexpr COLORREF kBlue = 0xFF0000;  // "0000FF"

CFODrawShape* MakeRect(const wchar_t* key1, int x)
{
    auto* rect = new CFORectShape;
    CRect rc(x, 0, x + 20, 20);
    rect->Create(rc);
    rect->SetKeyId1(key1);
    rect->SetBkColor(kWhite);
    rect->SetLineColor(kBlack);
    rect->SetFontColor(kBlack);
    rect->SetPatternColor(kBlack);
    rect->SetLineWidth(1);
    rect->SetBrushType(1);
    return rect;
}

// A composite "M" holding the children A, B and C, in a running screen.
struct Screen
{
    CFODataModel model;
    CFOCompositeShape* comp = new CFOCompositeShape;
    Screen()
    {
        comp->SetKeyId1(L"M");
        comp->AddShape(MakeRect(L"A", 0));
        comp->AddShape(MakeRect(L"B", 30));
        comp->AddShape(MakeRect(L"C", 60));
        comp->SetBkColor(kWhite);
        model.InsertShape(comp);
        model.SetDesignMode(FALSE);
    }
    CFODrawShape* Child(const wchar_t* key) const { return comp->FindShapeWithKey1(key); }
};

// Steps: "S:name" makes a state current, "V:number" hands a value to the composite.
void RunSteps(Screen& s, const std::wstring& steps)
{
    size_t at = 0;
    while (at < steps.size())
    {
        size_t end = steps.find(L';', at);
        if (end == std::wstring::npos)
            end = steps.size();
        const std::wstring step = steps.substr(at, end - at);
        if (step.rfind(L"S:", 0) == 0)
            s.comp->SetStateType(CString(step.substr(2).c_str()));
        else if (step.rfind(L"V:", 0) == 0)
        {
            const double v = std::stod(step.substr(2));
            s.comp->SetCurrentValue(v);
            FOApplyShapeValue(s.comp, v);
        }
        at = end + 1;
    }
}

struct Case
{
    const wchar_t* states;
    const wchar_t* ranges;
    const wchar_t* steps;
    const wchar_t* state; // expected current state
    COLORREF aFill;
    int aWidth;
    BOOL bVisible;
    COLORREF cLine;
    COLORREF selfFill;
};

const wchar_t* const kTwoStates = L"STATE_0$C_C,A,FF0000#H_H,B@STATE_1$C_C,A,00FF00#L_W,A,5";
const wchar_t* const kThreeRanges = L"0,10$C_C,A,0000FF@11,50$L_S,STATE_0@51,100$L_C,C,FF0000#C_C,,00FF00";

const Case kCases[] = {
    // A state's actions; the next state undoes what the first changed and applies its own.
    {kTwoStates, L"", L"S:STATE_0", L"STATE_0", kRed, 1, FALSE, kBlack, kWhite},
    {kTwoStates, L"", L"S:STATE_0;S:STATE_1", L"STATE_1", kGreen, 5, TRUE, kBlack, kWhite},
    // A state the text does not name: everything as designed.
    {kTwoStates, L"", L"S:STATE_1;S:NOPE", L"NOPE", kWhite, 1, TRUE, kBlack, kWhite},
    // Value ranges: bounds included; the first range in list order wins.
    {kTwoStates, kThreeRanges, L"V:0", L"", kBlue, 1, TRUE, kBlack, kWhite},
    {kTwoStates, kThreeRanges, L"V:10", L"", kBlue, 1, TRUE, kBlack, kWhite},
    {kTwoStates, kThreeRanges, L"V:11", L"STATE_0", kRed, 1, FALSE, kBlack, kWhite},
    // An empty name acts on the shape itself.
    {kTwoStates, kThreeRanges, L"V:100", L"", kWhite, 1, TRUE, kRed, kGreen},
    // A value outside every range brings the designed look and state back.
    {kTwoStates, kThreeRanges, L"V:20;V:500", L"", kWhite, 1, TRUE, kBlack, kWhite},
    {kTwoStates, kThreeRanges, L"V:5;V:-1", L"", kWhite, 1, TRUE, kBlack, kWhite},
    // A range over a state the engineer chose: both apply, the range last.
    {kTwoStates, kThreeRanges, L"S:STATE_1;V:5", L"STATE_1", kBlue, 5, TRUE, kBlack, kWhite},
    // Overlapping ranges: the first listed holds 5.
    {kTwoStates, L"0,10$C_C,A,0000FF@5,5$C_C,A,00FF00", L"V:5", L"", kBlue, 1, TRUE, kBlack, kWhite},
    // Fill type, pattern and font colours land on their own fields (checked below); width capped.
    {L"", L"0,100$L_W,A,250", L"V:1", L"", kWhite, 100, TRUE, kBlack, kWhite},
    // Damaged items are skipped, the rest applies.
    {L"S$C_C,A#C_C,A,GGGGGG#X_X,A,FF0000#C_C,Z,FF0000#L_W,A,x#L_W,A#H_H,B", L"", L"S:S", L"S", kWhite, 1,
     FALSE, kBlack, kWhite},
    {kTwoStates, L"10,0$C_C,A,0000FF@a,b$C_C,A,0000FF@1,9$L_S,NOSUCH#C_C,A,00FF00", L"V:5", L"", kGreen, 1,
     TRUE, kBlack, kWhite},
    // Names only, as the animated shapes use them: nothing to apply.
    {L"Open@Close", L"", L"S:Close", L"Close", kWhite, 1, TRUE, kBlack, kWhite},
};

TEST(FigkitShapeState, StatesRangesAndRestoreFollowTheTable)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(testing::Message() << CString(c.states).ToUtf8() << " | " << CString(c.ranges).ToUtf8()
                                        << " | " << CString(c.steps).ToUtf8());
        Screen s;
        s.comp->SetStateString(c.states);
        s.comp->SetValueChangeScript(c.ranges);
        RunSteps(s, c.steps);
        EXPECT_EQ(s.comp->GetStateType(), CString(c.state));
        EXPECT_EQ(s.Child(L"A")->GetBkColor(), c.aFill);
        EXPECT_EQ(s.Child(L"A")->GetLineWidth(), c.aWidth);
        EXPECT_EQ(s.Child(L"B")->IsVisible(), c.bVisible);
        EXPECT_EQ(s.Child(L"C")->GetLineColor(), c.cLine);
        EXPECT_EQ(s.comp->GetBkColor(), c.selfFill);
    }
}

TEST(FigkitShapeState, EachActionReachesItsOwnField)
{
    Screen s;
    s.comp->SetStateString(L"X$C_P,A,00FF00#L_F,B,0000FF#F_T,C,7#L_C,A,FF0000");
    s.comp->SetStateType(L"X");
    EXPECT_EQ(s.Child(L"A")->GetPatternColor(), kGreen);
    EXPECT_EQ(s.Child(L"A")->GetLineColor(), kRed);
    EXPECT_EQ(s.Child(L"B")->GetFontColor(), kBlue);
    EXPECT_EQ(s.Child(L"C")->GetBrushType(), 7);
    EXPECT_EQ(s.Child(L"A")->GetBkColor(), kWhite);
}

TEST(FigkitShapeState, ASingleShapeActsOnItselfByItsKeyOrAnEmptyName)
{
    CFODataModel model;
    CFODrawShape* lamp = MakeRect(L"LAMP", 0);
    model.InsertShape(lamp);
    model.SetDesignMode(FALSE);
    lamp->SetValueChangeScript(L"0,0$C_C,LAMP,FF0000@1,1$C_C,,00FF00#L_W,OTHER,9");
    EXPECT_TRUE(FOApplyShapeValue(lamp, 0));
    EXPECT_EQ(lamp->GetBkColor(), kRed);
    EXPECT_TRUE(FOApplyShapeValue(lamp, 1));
    EXPECT_EQ(lamp->GetBkColor(), kGreen);
    EXPECT_EQ(lamp->GetLineWidth(), 1);
    EXPECT_FALSE(FOApplyShapeValue(lamp, 1)) << "the same value changes nothing";
    EXPECT_TRUE(FOApplyShapeValue(lamp, 2));
    EXPECT_EQ(lamp->GetBkColor(), kWhite);
}

TEST(FigkitShapeState, HideConditionHidesWhileTheComparisonHolds)
{
    struct Row
    {
        const wchar_t* condition;
        double value;
        BOOL visible;
    };
    const Row rows[] = {
        {L"0,10", 9, FALSE},  {L"0,10", 10, TRUE}, {L"1,10", 11, FALSE}, {L"2,10", 10, FALSE},
        {L"3,10", 10, FALSE}, {L"4,10", 9, TRUE},  {L"5,10", 10, TRUE},  {L"5,10", 3, FALSE},
        {L"6,10", 3, TRUE},   {L"x,10", 3, TRUE},  {L"0", 3, TRUE},      {L"", 3, TRUE},
    };
    for (const Row& r : rows)
    {
        SCOPED_TRACE(testing::Message() << CString(r.condition).ToUtf8() << " at " << r.value);
        CFODataModel model;
        CFODrawShape* lamp = MakeRect(L"LAMP", 0);
        model.InsertShape(lamp);
        model.SetDesignMode(FALSE);
        lamp->PutPropBoolValue(FO_PROP_VISIBLE_COND_ON, TRUE);
        lamp->PutPropStringValue(FO_PROP_VISIBLE_COND, r.condition);
        FOApplyShapeValue(lamp, r.value);
        EXPECT_EQ(lamp->IsVisible(), r.visible);
    }
    // Switched off, the condition hides nothing; a value that ends it shows the shape again.
    CFODataModel model;
    CFODrawShape* lamp = MakeRect(L"LAMP", 0);
    model.InsertShape(lamp);
    model.SetDesignMode(FALSE);
    lamp->PutPropStringValue(FO_PROP_VISIBLE_COND, L"0,10");
    FOApplyShapeValue(lamp, 1);
    EXPECT_TRUE(lamp->IsVisible());
    lamp->PutPropBoolValue(FO_PROP_VISIBLE_COND_ON, TRUE);
    FOApplyShapeValue(lamp, 1);
    EXPECT_FALSE(lamp->IsVisible());
    FOApplyShapeValue(lamp, 20);
    EXPECT_TRUE(lamp->IsVisible());
}

TEST(FigkitShapeState, TrueFalseChoiceOnlyForTheSwitchTypesAndBeforeTheRanges)
{
    for (UINT type : {34u, 89u, 30u})
    {
        SCOPED_TRACE(type);
        Screen s;
        s.comp->SetType(type);
        s.comp->SetStateString(L"True$C_C,A,00FF00@False$C_C,A,FF0000");
        s.comp->SetValueChangeScript(L"1,1$L_W,A,3");
        RunSteps(s, L"V:1");
        const bool chooses = type != 30;
        EXPECT_EQ(s.comp->GetStateType(), CString(chooses ? L"True" : L""));
        EXPECT_EQ(s.Child(L"A")->GetBkColor(), chooses ? kGreen : kWhite);
        EXPECT_EQ(s.Child(L"A")->GetLineWidth(), 3);
        RunSteps(s, L"V:0");
        EXPECT_EQ(s.comp->GetStateType(), CString(chooses ? L"False" : L""));
        EXPECT_EQ(s.Child(L"A")->GetBkColor(), chooses ? kRed : kWhite);
        EXPECT_EQ(s.Child(L"A")->GetLineWidth(), 1);
    }
}

TEST(FigkitShapeState, DesignModeShowsAndSavesTheDesignedLook)
{
    Screen s;
    s.comp->SetStateString(kTwoStates);
    s.comp->SetValueChangeScript(L"0,10$C_C,C,0000FF");
    RunSteps(s, L"S:STATE_0;V:3");
    ASSERT_EQ(s.Child(L"A")->GetBkColor(), kRed);
    ASSERT_EQ(s.Child(L"C")->GetBkColor(), kBlue);

    // Saved while running: the designed look and state.
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { s.model.Serialize(ar); });
    CFODataModel loaded;
    LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    auto* comp = dynamic_cast<CFOCompositeShape*>(loaded.GetShapes()->GetObject(0));
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->GetStateType(), CString());
    EXPECT_EQ(comp->FindShapeWithKey1(L"A")->GetBkColor(), kWhite);
    EXPECT_TRUE(comp->FindShapeWithKey1(L"B")->IsVisible());
    EXPECT_EQ(comp->FindShapeWithKey1(L"C")->GetBkColor(), kWhite);
    // The running screen still shows its run-time look.
    EXPECT_EQ(s.Child(L"A")->GetBkColor(), kRed);

    // Back in design mode the designed look returns.
    s.model.SetDesignMode(TRUE);
    EXPECT_EQ(s.comp->GetStateType(), CString());
    EXPECT_EQ(s.Child(L"A")->GetBkColor(), kWhite);
    EXPECT_TRUE(s.Child(L"B")->IsVisible());
    EXPECT_EQ(s.Child(L"C")->GetBkColor(), kWhite);
    // In design mode a chosen state is only recorded: the engineer keeps seeing what is designed.
    s.comp->SetStateType(L"STATE_1");
    EXPECT_EQ(s.Child(L"A")->GetBkColor(), kWhite);
    // Running again shows it.
    s.model.SetDesignMode(FALSE);
    EXPECT_EQ(s.Child(L"A")->GetBkColor(), kGreen);
}

TEST(FigkitShapeState, ARunningScreenLoadedShowsItsCurrentStates)
{
    Screen s;
    s.model.SetDesignMode(TRUE);
    s.comp->SetStateString(kTwoStates);
    s.comp->SetStateType(L"STATE_0");
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { s.model.Serialize(ar); });
    CFODataModel running;
    running.SetDesignMode(FALSE);
    LoadBytes(bytes, [&](CArchive& ar) { running.Serialize(ar); });
    auto* comp = dynamic_cast<CFOCompositeShape*>(running.GetShapes()->GetObject(0));
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->FindShapeWithKey1(L"A")->GetBkColor(), kRed);
    EXPECT_FALSE(comp->FindShapeWithKey1(L"B")->IsVisible());
}
} // namespace
