// The 63 instrument shapes one by one: identity, where value, text and visibility go on the control
// (a table over every row), the conversions, copies, the record and what a shape without a control
// does.
#include "InstrumentTestSupport.h"

#include "com/ComUtil.h"

#include <cmath>
#include <limits>

using namespace figkit_test;
using namespace instr_test;

namespace
{
struct ExpectedRow
{
    UINT type;
    const char* cls;
    LPCWSTR name;
    LPCWSTR clsid;
    // R8, I4, BOOL, hexadecimal text, edit text, percent bar method, none
    char value;
    DISPID dispValue;
    DISPID dispText;    // 0: none
    DISPID dispVisible; // 0: none
};

const ExpectedRow kExpected[] = {
    {633, "CFOi7SegmentAnalogShape", L"iSevenSegmentAnalog", L"{C5412E33-2E2F-11D3-85BF-00105AC8B715}", 'R',
     2, 0, 16},
    {634, "CFOi7SegmentBinaryShape", L"iSevenSegmentBinary", L"{0A36235C-2E5E-11D3-85BF-00105AC8B715}", 'I',
     32, 0, 14},
    {635, "CFOi7SegmentCharacterShape", L"iSevenSegmentCharacter", L"{0A362366-2E5E-11D3-85BF-00105AC8B715}",
     'I', 13, 0, 15},
    {636, "CFOi7SegmentClockShape", L"iSevenSegmentClock", L"{0A362370-2E5E-11D3-85BF-00105AC8B715}", '-', 0,
     0, 15},
    {637, "CFOi7SegmentClockSMPTEShape", L"iSevenSegmentClockSMPTE",
     L"{52BDFCA4-8D27-11D3-85C2-00105AC8B715}", '-', 0, 0, 37},
    {638, "CFOi7SegmentHexadecimalShape", L"iSevenSegmentHexadecimal",
     L"{0A36237A-2E5E-11D3-85BF-00105AC8B715}", 'X', 0, 1, 14},
    {639, "CFOi7SegmentIntegerShape", L"iSevenSegmentInteger", L"{0A362383-2E5E-11D3-85BF-00105AC8B715}", 'I',
     1, 0, 15},
    {640, "CFOiAnalogDisplayShape", L"iAnalogDisplay", L"{C5412DAA-2E2F-11D3-85BF-00105AC8B715}", 'R', 4204,
     0, 8},
    {641, "CFOiAnalogOutputShape", L"iAnalogOutput", L"{C5412DB8-2E2F-11D3-85BF-00105AC8B715}", 'R', 2, 0, 0},
    {642, "CFOiAngularGaugeShape", L"iAngularGauge", L"{C5412DD5-2E2F-11D3-85BF-00105AC8B715}", 'R', 65, 0,
     68},
    {643, "CFOiAngularLogGaugeShape", L"iAngularLogGauge", L"{E5F63BAD-D2A6-11D3-85C2-00A0CC3A58C9}", 'R', 61,
     0, 122},
    {644, "CFOiCompassShape", L"iCompass", L"{60B74EE4-0DFD-11D4-85C4-00A0CC3A58C9}", '-', 0, 0, 33},
    {645, "CFOiDualCompassShape", L"iDualCompass", L"{FB95638C-1BEF-4166-B2F4-144A3981CD6D}", '-', 0, 0, 36},
    {646, "CFOiEditShape", L"iEdit", L"{27E1C61A-7770-4D80-932A-93B7FC45008C}", 'E', 0, 0, 29},
    {647, "CFOiGradientShape", L"iGradient", L"{6F367B64-2E71-11D3-85BF-00105AC8B715}", 'I', 2, 0, 6},
    {648, "CFOiImageDisplayShape", L"iImageDisplay", L"{E120518C-9ECE-46CF-921B-BB5F074D141A}", 'I', 6, 0,
     57},
    {649, "CFOiIntegerOutputShape", L"iIntegerOutput", L"{9B189146-8349-48D5-8DB3-6373DF522EFF}", 'I', 2, 0,
     73},
    {650, "CFOiKeyboardShape", L"iKeyboard", L"{7C0DF918-FC9E-4122-BB1A-D8C5B1112D35}", '-', 0, 0, 18},
    {651, "CFOiKnobShape", L"iKnob", L"{C5412DC7-2E2F-11D3-85BF-00105AC8B715}", 'R', 39, 0, 43},
    {652, "CFOiLabelShape", L"iLabel", L"{EBF31E97-980B-4C2B-9645-8FEBD518356B}", '-', 0, -518, 19},
    {653, "CFOiLcdMatrixShape", L"iLCDMatrix", L"{C2142540-820F-4A78-AE3D-28AE3E8C6E3C}", '-', 0, -517, 69},
    {654, "CFOiLedArrowShape", L"iLedArrow", L"{C2557646-8194-11D3-85C2-00105AC8B715}", 'B', 5, 0, 25},
    {655, "CFOiLedBarShape", L"iLedBar", L"{C5412E14-2E2F-11D3-85BF-00105AC8B715}", 'R', 19, 0, 22},
    {656, "CFOiLedDiamondShape", L"iLedDiamond", L"{7314B3A4-D28B-11D3-85C2-00A0CC3A58C9}", 'B', 1, 0, 21},
    {657, "CFOiLedMatrixShape", L"iLedMatrix", L"{A8B345A5-74B5-11D3-85C2-00105AC8B715}", '-', 0, 0, 39},
    {658, "CFOiLedRectangleShape", L"iLedRectangle", L"{0A362345-2E5E-11D3-85BF-00105AC8B715}", 'B', 1, 0, 5},
    {659, "CFOiLedRoundShape", L"iLedRound", L"{0A362353-2E5E-11D3-85BF-00105AC8B715}", 'B', 2, 0, 6},
    {660, "CFOiLedSpiralShape", L"iLedSpiral", L"{C5412E1F-2E2F-11D3-85BF-00105AC8B715}", 'R', 18, 0, 21},
    {661, "CFOiLinearGaugeShape", L"iLinearGauge", L"{C5412DE7-2E2F-11D3-85BF-00105AC8B715}", 'R', 47, 0, 50},
    {662, "CFOiLogGaugeShape", L"iLogGauge", L"{E5F63BA0-D2A6-11D3-85C2-00A0CC3A58C9}", 'R', 43, 0, 102},
    {663, "CFOiModeComboboxShape", L"iModeCombobox", L"{248AC558-E0C8-4B17-B5B8-2A328957D5D7}", 'I', 31, 0,
     32},
    {664, "CFOiMotorShape", L"iMotor", L"{08B5711A-1646-4D25-9457-1DCF5993A6B6}", 'B', 12, 0, 58},
    {665, "CFOiObjectCanvasShape", L"iObjectCanvas", L"{546FE964-B229-11D3-85C2-00105AC8B715}", '-', 0, 0,
     86},
    {666, "CFOiOdometerShape", L"iOdometer", L"{C5412E28-2E2F-11D3-85BF-00105AC8B715}", 'R', 9, 0, 12},
    {667, "CFOiPanelShape", L"iPanel", L"{7F158684-C5A1-11D3-85C2-00A0CC3A58C9}", '-', 0, 0, 24},
    {668, "CFOiPercentBarShape", L"iPercentBar", L"{DB219F84-D34E-11D3-85C2-00A0CC3A58C9}", 'P', 0, 0, 30},
    {669, "CFOiPhonePadShape", L"iPhonePad", L"{A8BB3D6D-ACF3-4516-9090-FF76D4EEC5FA}", '-', 0, 0, 13},
    {670, "CFOiPieChartShape", L"iPieChart", L"{B7261F64-D336-11D3-85C2-00A0CC3A58C9}", '-', 0, 0, 30},
    {671, "CFOiPipeShape", L"iPipe", L"{F2B8A8BB-B434-4903-B6FB-7E84E0C54C4F}", 'B', 2, 0, 54},
    {672, "CFOiPipeJointShape", L"iPipeJoint", L"{912586AF-A826-4D01-B450-F46682EF57C7}", '-', 0, 0, 45},
    {673, "CFOiPlotShape", L"iPlot", L"{1791C036-8981-492A-BD28-F2331BC9B7C7}", '-', 0, 0, 132},
    {674, "CFOiRotationDisplayShape", L"iRotationDisplay", L"{0E39CE84-DCE4-11D3-85C3-00A0CC3A58C9}", 'R', 1,
     0, 16},
    {675, "CFOiScopeShape", L"iScope", L"{62C2213E-51EC-4631-8081-F5820B2398F4}", '-', 0, 0, 0},
    {676, "CFOiSliderShape", L"iSlider", L"{C5412E06-2E2F-11D3-85BF-00105AC8B715}", 'R', 35, 0, 39},
    {677, "CFOiSlidingCompassShape", L"iSlidingCompass", L"{625E79CE-BD64-4A35-A7B5-F70F97D4F227}", '-', 0, 0,
     59},
    {678, "CFOiSlidingScaleShape", L"iSlidingScale", L"{E29C6B91-3542-4F37-82CE-2BFB7B8933D3}", 'R', 27, 0,
     53},
    {679, "CFOiSpectrumDisplayShape", L"iSpectrumDisplay", L"{62B89339-CB7D-4F5E-B22E-6D2CE7DE2791}", 'I', 13,
     0, 24},
    {680, "CFOiStripChartShape", L"iStripChart", L"{D1120C80-28C7-11D3-85BF-00105AC8B715}", '-', 0, 0, 78},
    {681, "CFOiSwitchLedShape", L"iSwitchLed", L"{0A36238C-2E5E-11D3-85BF-00105AC8B715}", 'B', 1, 0, 12},
    {682, "CFOiSwitchLeverShape", L"iSwitchLever", L"{E5F63B84-D2A6-11D3-85C2-00A0CC3A58C9}", 'B', 1, 0, 19},
    {683, "CFOiSwitchPanelShape", L"iSwitchPanel", L"{8FB1DF7E-747F-44CA-A5AE-6B0082F299B2}", 'I', 11, 0, 53},
    {684, "CFOiSwitchQuadShape", L"iSwitchQuad", L"{C2626F24-D294-11D3-85C2-00A0CC3A58C9}", 'R', 5, 0, 25},
    {685, "CFOiSwitchRockerShape", L"iSwitchRocker", L"{E5F63B8D-D2A6-11D3-85C2-00A0CC3A58C9}", 'B', 1, 0,
     22},
    {686, "CFOiSwitchRocker3wayShape", L"iSwitchRocker3way", L"{E5F63B96-D2A6-11D3-85C2-00A0CC3A58C9}", 'R',
     6, 0, 24},
    {687, "CFOiSwitchRotaryShape", L"iSwitchRotary", L"{46B4AAA4-2E6B-11D3-85BF-00105AC8B715}", 'I', 10, 0,
     25},
    {688, "CFOiSwitchSliderShape", L"iSwitchSlider", L"{46B4AAB4-2E6B-11D3-85BF-00105AC8B715}", 'I', 13, 0,
     28},
    {689, "CFOiSwitchToggleShape", L"iSwitchToggle", L"{0A362397-2E5E-11D3-85BF-00105AC8B715}", 'B', 1, 0, 9},
    {690, "CFOiTankShape", L"iTank", L"{8D071C66-0DE6-444D-A55C-123DECE6BC69}", 'R', 4, 0, 37},
    {691, "CFOiThermometerShape", L"iThermometer", L"{C5412DF6-2E2F-11D3-85BF-00105AC8B715}", 'R', 39, 0, 42},
    {692, "CFOiThreadTimerShape", L"iThreadTimer", L"{90095BFC-993C-4AC9-B001-98480CF4BDE2}", '-', 0, 0, 0},
    {693, "CFOiTimerShape", L"iTimer", L"{E5F63BB8-D2A6-11D3-85C2-00A0CC3A58C9}", '-', 0, 0, 0},
    {694, "CFOiValveShape", L"iValve", L"{EC3CF412-CA51-4125-8B9B-CDD694330F18}", 'B', 1, 0, 38},
    {695, "CFOiXYPlotShape", L"iXYPlot", L"{D1CAE8F4-6DFF-4187-B1B8-DDCF91F98A8A}", '-', 0, 0, 132},
};

CString ClsidText(const CLSID& clsid)
{
    wchar_t buf[40] = {};
    StringFromGUID2(clsid, buf, 40);
    return buf;
}
} // namespace

class InstrumentShapes : public HostTest
{
};

TEST_F(InstrumentShapes, ValueTextAndVisibilityReachTheDispatchIdsOfEveryRow)
{
    int count = 0;
    InstrumentShapeRows(&count);
    ASSERT_EQ(count, 63);
    for (const ExpectedRow& e : kExpected)
    {
        SCOPED_TRACE(e.cls);
        OwnedShape<CFOiControlShape> shape(CreateInstrumentShape(e.type));
        ASSERT_NE(shape, nullptr);
        EXPECT_STREQ(shape->GetRuntimeClass()->m_lpszClassName, e.cls);
        EXPECT_EQ(shape->GetType(), e.type);
        EXPECT_EQ(shape->GetCtrlName(), CString(e.name));
        EXPECT_EQ(ClsidText(shape->GetClsid()), CString(e.clsid));
        EXPECT_FALSE(shape->GetCreateString().IsEmpty());
        EXPECT_EQ(shape->GetFrameInset(), 10);
        CRect rc(10, 10, 170, 130);
        shape->Create(rc);
        ASSERT_TRUE(shape->CreateControlWnd(&host, FALSE));
        CInstrumentControl* control = ControlOf(*shape);
        ASSERT_NE(control, nullptr);

        int puts = control->GetPutCount();
        shape->SetCurrentValue(3.75);
        VARIANT v;
        switch (e.value)
        {
        case 'R':
            v = Read(*shape, e.dispValue);
            EXPECT_EQ(v.vt, VT_R8);
            EXPECT_EQ(v.dblVal, 3.75);
            EXPECT_EQ(shape->GetCurrentValue(), 3.75);
            break;
        case 'I':
            v = Read(*shape, e.dispValue);
            EXPECT_EQ(v.vt, VT_I4);
            EXPECT_EQ(v.lVal, 3);
            EXPECT_EQ(shape->GetCurrentValue(), 3.0);
            break;
        case 'B':
            v = Read(*shape, e.dispValue);
            EXPECT_EQ(v.vt, VT_BOOL);
            EXPECT_EQ(v.boolVal, VARIANT_TRUE);
            EXPECT_EQ(shape->GetCurrentValue(), 1.0);
            break;
        case 'P':
            v = Read(*shape, INSTRUMENT_DISPID_GETBAR, true);
            EXPECT_EQ(v.dblVal, 3.75);
            EXPECT_EQ(shape->GetCurrentValue(), 3.75);
            break;
        case 'X':
            EXPECT_EQ(ReadText(*shape, e.dispText), CString(L"3"));
            EXPECT_EQ(shape->GetCurrentTextValue(), CString(L"3"));
            EXPECT_EQ(shape->GetCurrentValue(), 3.75);
            break;
        case 'E':
            EXPECT_EQ(control->GetPutCount(), puts);
            EXPECT_EQ(shape->GetCurrentTextValue(), CString(L"3.75"));
            EXPECT_EQ(shape->GetCurrentValue(), 3.75);
            break;
        default:
            EXPECT_EQ(control->GetPutCount(), puts);
            EXPECT_EQ(shape->GetCurrentValue(), 3.75);
            break;
        }
        if (e.value != '-' && e.value != 'E')
        {
            EXPECT_EQ(control->GetPutCount(), puts + 1);
        }

        puts = control->GetPutCount();
        shape->SetCurrentTextValue(L"Level 2");
        EXPECT_EQ(shape->GetCurrentTextValue(), CString(L"Level 2"));
        if (e.dispText)
        {
            EXPECT_EQ(ReadText(*shape, e.dispText), CString(L"Level 2"));
        }
        EXPECT_EQ(control->GetPutCount(), puts + (e.dispText ? 1 : 0));

        puts = control->GetPutCount();
        shape->SetVisible(FALSE);
        EXPECT_FALSE(shape->CFODrawShape::IsVisible());
        if (e.dispVisible)
        {
            v = Read(*shape, e.dispVisible);
            EXPECT_EQ(v.boolVal, VARIANT_FALSE);
        }
        EXPECT_EQ(control->GetPutCount(), puts + (e.dispVisible ? 1 : 0));
        EXPECT_FALSE(shape->IsVisible());
    }
}

TEST_F(InstrumentShapes, IntegerAndBooleanPropertiesTruncateAndSaturate)
{
    OwnedShape<CFOiControlShape> integer(CreateInstrumentShape(639)); // I4 on 1
    OwnedShape<CFOiControlShape> led(CreateInstrumentShape(659));     // BOOL on 2
    CRect rc(0, 0, 100, 60);
    integer->Create(rc);
    led->Create(rc);
    ASSERT_TRUE(integer->CreateControlWnd(&host, TRUE));
    ASSERT_TRUE(led->CreateControlWnd(&host, TRUE));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        double v;
        LONG asLong;
        bool asBool;
    } cases[] = {
        {0.9, 0, false},
        {-1.5, -1, true},
        {2.99, 2, true},
        {nan, 0, false},
        {1e12, INT32_MAX, true},
        {-1e12, INT32_MIN, true},
        {INFINITY, INT32_MAX, true},
    };
    for (const auto& c : cases)
    {
        integer->SetCurrentValue(c.v);
        led->SetCurrentValue(c.v);
        EXPECT_EQ(Read(*integer, 1).lVal, c.asLong) << c.v;
        EXPECT_EQ(Read(*led, 2).boolVal != VARIANT_FALSE, c.asBool) << c.v;
        EXPECT_EQ(CFOiControlShape::SaturateToLong(c.v), c.asLong) << c.v;
    }
}

TEST_F(InstrumentShapes, HexadecimalAndEditShapesWorkThroughText)
{
    OwnedShape<CFOiControlShape> hex(CreateInstrumentShape(638));
    CRect rc(0, 0, 120, 50);
    hex->Create(rc);
    ASSERT_TRUE(hex->CreateControlWnd(&host, FALSE));
    const struct
    {
        double v;
        LPCWSTR text;
    } hexCases[] = {{255.7, L"FF"}, {-1, L"FFFFFFFF"}, {0.5, L"0"}, {1e12, L"7FFFFFFF"}};
    for (const auto& c : hexCases)
    {
        hex->SetCurrentValue(c.v);
        EXPECT_EQ(ReadText(*hex, 1), CString(c.text)) << c.v;
        EXPECT_EQ(hex->GetCurrentTextValue(), CString(c.text));
        EXPECT_EQ(hex->GetCurrentValue(), c.v);
    }

    OwnedShape<CFOiControlShape> edit(CreateInstrumentShape(646));
    edit->Create(rc);
    ASSERT_TRUE(edit->CreateControlWnd(&host, FALSE));
    edit->SetCurrentValue(0.1);
    EXPECT_EQ(edit->GetCurrentTextValue(), CString(L"0.1"));
    EXPECT_EQ(edit->GetCurrentValue(), 0.1);
    edit->SetCurrentTextValue(L"not a number");
    EXPECT_EQ(edit->GetCurrentValue(), 0.0);
    EXPECT_EQ(ControlOf(*edit)->GetPutCount(), 0);
    // The edit shape reads its visibility from the control.
    _variant_t off(false);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&off, &put, 1, 1};
    ASSERT_EQ(
        ControlOf(*edit)->Invoke(29, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
        S_OK);
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_TRUE(edit->CFODrawShape::IsVisible());
}

TEST_F(InstrumentShapes, WithoutAControlEverythingStaysInTheShape)
{
    // A new instrument has its wrapper object but no window; a loaded one not even the object.
    OwnedShape<CFOiControlShape> fresh(CreateInstrumentShape(642));
    CFOiKnobShape loaded;
    for (CFOiControlShape* shape : {fresh.get(), static_cast<CFOiControlShape*>(&loaded)})
    {
        EXPECT_FALSE(shape->HasControl());
        shape->SetCurrentValue(12.5);
        EXPECT_EQ(shape->GetCurrentValue(), 12.5);
        shape->SetCurrentTextValue(L"t");
        EXPECT_EQ(shape->GetCurrentTextValue(), CString(L"t"));
        shape->SetVisible(FALSE);
        EXPECT_FALSE(shape->IsVisible());
        EXPECT_EQ(shape->GetOleIDispatch(TRUE), nullptr);
        EXPECT_EQ(shape->GetOleIDispatch(FALSE), nullptr);

        // No state is fetched, and the old one is kept.
        const BYTE old[] = {9, 8, 7};
        CExtOcx blob;
        blob.SetData(old, 3);
        shape->SetOcxData(blob);
        EXPECT_FALSE(shape->FetchOcxData());
        EXPECT_TRUE(shape->GetOcxData() == blob);
        EXPECT_FALSE(shape->LoadOcxData());
        EXPECT_FALSE(shape->OnEditProperties(nullptr));
        EXPECT_TRUE(shape->GetOcxData() == blob);
    }
    // A loaded shape that has no class id yet cannot make its control.
    EXPECT_FALSE(loaded.CreateControlWnd(&host, FALSE));
    EXPECT_EQ(loaded.GetType(), 651u);
    EXPECT_EQ(loaded.GetFrameInset(), 0);
}

TEST_F(InstrumentShapes, CopiesCarryTheControlIdentityAndStateAndCanMakeTheControl)
{
    OwnedShape<CFOiControlShape> shape(CreateInstrumentShape(676));
    CRect rc(0, 0, 60, 200);
    shape->Create(rc);
    ASSERT_TRUE(shape->CreateControlWnd(&host, FALSE));
    CInstrumentSettings s = ControlOf(*shape)->Settings();
    s.strCaption = L"Flow";
    ControlOf(*shape)->SetSettings(s);
    ASSERT_TRUE(shape->FetchOcxData());

    OwnedShape<CFODrawShape> copied(shape->Copy());
    copied->AddRef();
    auto* copy = dynamic_cast<CFOiSliderShape*>(copied.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetCtrlName(), shape->GetCtrlName());
    EXPECT_EQ(copy->GetCreateString(), shape->GetCreateString());
    EXPECT_TRUE(IsEqualGUID(copy->GetClsid(), shape->GetClsid()));
    EXPECT_TRUE(copy->GetOcxData() == shape->GetOcxData());
    EXPECT_FALSE(copy->HasControl());
    ASSERT_TRUE(copy->CreateControlWnd(&host, FALSE));
    EXPECT_EQ(ControlOf(*copy)->Settings().strCaption, CString(L"Flow"));

    CFOiSliderShape assigned;
    assigned = *copy;
    EXPECT_TRUE(assigned.GetOcxData() == shape->GetOcxData());
    EXPECT_FALSE(assigned.HasControl());
}

TEST_F(InstrumentShapes, RecordHoldsStateClassIdNameAndCreationStringInThatOrder)
{
    for (DWORD length : {0u, 3u})
    {
        OwnedShape<CFOiControlShape> shape(CreateInstrumentShape(651));
        const BYTE state[] = {0xAA, 0xBB, 0xCC};
        CExtOcx blob;
        blob.SetData(state, length);
        shape->SetOcxData(blob);
        const std::vector<BYTE> base =
            StoreBytes([&](CArchive& ar) { shape->CFOWndControlShape::Serialize(ar); });
        const std::vector<BYTE> strings =
            StoreBytes([&](CArchive& ar) { ar << CString(L"iKnob") << shape->GetCreateString(); });
        std::vector<BYTE> expected = base;
        expected.insert(expected.end(), {BYTE(length), 0, 0, 0});
        expected.insert(expected.end(), state, state + length);
        // {C5412DC7-2E2F-11D3-85BF-00105AC8B715}: DWORD, WORD, WORD little-endian, then 8 bytes.
        expected.insert(expected.end(), {0xC7, 0x2D, 0x41, 0xC5, 0x2F, 0x2E, 0xD3, 0x11, 0x85, 0xBF, 0x00,
                                         0x10, 0x5A, 0xC8, 0xB7, 0x15});
        expected.insert(expected.end(), strings.begin(), strings.end());
        const std::vector<BYTE> record = StoreBytes([&](CArchive& ar) { shape->Serialize(ar); });
        EXPECT_EQ(record, expected) << length;

        CFOiKnobShape back;
        LoadBytes(record, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_TRUE(IsEqualGUID(back.GetClsid(), shape->GetClsid()));
        EXPECT_EQ(back.GetCtrlName(), CString(L"iKnob"));
        EXPECT_EQ(back.GetCreateString(), shape->GetCreateString());
        EXPECT_TRUE(back.GetOcxData() == blob);
    }
}

TEST_F(InstrumentShapes, TruncatedOrOverlongRecordsFailTheLoadAndChangeNothing)
{
    OwnedShape<CFOiControlShape> shape(CreateInstrumentShape(690));
    const BYTE state[] = {1, 2, 3, 4, 5};
    CExtOcx blob;
    blob.SetData(state, 5);
    shape->SetOcxData(blob);
    const std::vector<BYTE> record = StoreBytes([&](CArchive& ar) { shape->Serialize(ar); });
    const size_t base = StoreBytes([&](CArchive& ar) { shape->CFOWndControlShape::Serialize(ar); }).size();

    for (size_t cut = base; cut < record.size(); ++cut)
    {
        CFOiTankShape back;
        std::vector<BYTE> part(record.begin(), record.begin() + cut);
        EXPECT_EQ(ArchiveCause([&] { LoadBytes(part, [&](CArchive& ar) { back.Serialize(ar); }); }),
                  CArchiveException::endOfFile)
            << cut;
        EXPECT_EQ(back.GetOcxData().GetLength(), 0u) << cut;
        EXPECT_TRUE(back.GetCtrlName().IsEmpty()) << cut;
    }
    // A state length beyond the archive fails before anything is allocated.
    std::vector<BYTE> overlong = record;
    const DWORD huge = 0x7FFFFFF0;
    std::memcpy(overlong.data() + base, &huge, 4);
    CFOiTankShape back;
    EXPECT_EQ(ArchiveCause([&] { LoadBytes(overlong, [&](CArchive& ar) { back.Serialize(ar); }); }),
              CArchiveException::endOfFile);
}

TEST_F(InstrumentShapes, PositionIsCorrectFromTwentyTwoUnitsAndTheFrameInsetsTheControl)
{
    const struct
    {
        CRect rc;
        BOOL ok;
    } cases[] = {{CRect(0, 0, 21, 30), FALSE}, {CRect(0, 0, 22, 22), TRUE}, {CRect(0, 0, 30, 21), FALSE}};
    for (const auto& c : cases)
    {
        CFOiKnobShape shape;
        CRect rc = c.rc;
        shape.Create(rc);
        EXPECT_EQ(shape.PositionCorrect(), c.ok) << c.rc.Width() << "x" << c.rc.Height();
    }
}
