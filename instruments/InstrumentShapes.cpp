#include "instruments/InstrumentShapes.h"

#include "figkit/FOShapeTypes.h"

#define QYR_IMPLEMENT_INSTRUMENT(cls, wrapper, type)                                                         \
    IMPLEMENT_DYNCREATE(wrapper, COleControlWnd)                                                             \
    IMPLEMENT_SERIAL(cls, CFOiControlShape, 0)                                                               \
    cls::cls()                                                                                               \
    {                                                                                                        \
        SetType(type);                                                                                       \
    }                                                                                                        \
    cls::cls(UINT nID) : CFOiControlShape(type, nID)                                                         \
    {                                                                                                        \
        InitFromRow(L"Quendrel." #cls);                                                                      \
    }                                                                                                        \
    CFODrawShape* cls::Copy() const                                                                          \
    {                                                                                                        \
        return new cls(*this);                                                                               \
    }                                                                                                        \
    const INSTRUMENT_SHAPE_ROW* cls::GetRow() const                                                          \
    {                                                                                                        \
        return FindInstrumentShapeRow(type);                                                                 \
    }                                                                                                        \
    CFODrawShape* cls::CreateNew()                                                                           \
    {                                                                                                        \
        return new cls(1);                                                                                   \
    }

QYR_INSTRUMENT_CLASSES(QYR_IMPLEMENT_INSTRUMENT)

namespace
{
// type, class, control name, class id, wrapper, value, text, visibility
const INSTRUMENT_SHAPE_ROW kRows[] = {
    {633, RUNTIME_CLASS(CFOi7SegmentAnalogShape), L"iSevenSegmentAnalog",
     L"{C5412E33-2E2F-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentAnalogX), EShapeValue::R8, 2,
     FALSE, 0, TRUE, 16},
    {634, RUNTIME_CLASS(CFOi7SegmentBinaryShape), L"iSevenSegmentBinary",
     L"{0A36235C-2E5E-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentBinaryX), EShapeValue::I4, 32,
     FALSE, 0, TRUE, 14},
    {635, RUNTIME_CLASS(CFOi7SegmentCharacterShape), L"iSevenSegmentCharacter",
     L"{0A362366-2E5E-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentCharacterX), EShapeValue::I4, 13,
     FALSE, 0, TRUE, 15},
    {636, RUNTIME_CLASS(CFOi7SegmentClockShape), L"iSevenSegmentClock",
     L"{0A362370-2E5E-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentClockX), EShapeValue::None, 0,
     FALSE, 0, TRUE, 15},
    {637, RUNTIME_CLASS(CFOi7SegmentClockSMPTEShape), L"iSevenSegmentClockSMPTE",
     L"{52BDFCA4-8D27-11D3-85C2-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentClockSMPTEX), EShapeValue::None,
     0, FALSE, 0, TRUE, 37},
    {638, RUNTIME_CLASS(CFOi7SegmentHexadecimalShape), L"iSevenSegmentHexadecimal",
     L"{0A36237A-2E5E-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentHexadecimalX), EShapeValue::Hex,
     0, TRUE, 1, TRUE, 14},
    {639, RUNTIME_CLASS(CFOi7SegmentIntegerShape), L"iSevenSegmentInteger",
     L"{0A362383-2E5E-11D3-85BF-00105AC8B715}", RUNTIME_CLASS(CiSevenSegmentIntegerX), EShapeValue::I4, 1,
     FALSE, 0, TRUE, 15},
    {640, RUNTIME_CLASS(CFOiAnalogDisplayShape), L"iAnalogDisplay", L"{C5412DAA-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiAnalogDisplayX), EShapeValue::R8, 4204, FALSE, 0, TRUE, 8},
    {641, RUNTIME_CLASS(CFOiAnalogOutputShape), L"iAnalogOutput", L"{C5412DB8-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiAnalogOutputX), EShapeValue::R8, 2, FALSE, 0, FALSE, 0},
    {642, RUNTIME_CLASS(CFOiAngularGaugeShape), L"iAngularGauge", L"{C5412DD5-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiAngularGaugeX), EShapeValue::R8, 65, FALSE, 0, TRUE, 68},
    {643, RUNTIME_CLASS(CFOiAngularLogGaugeShape), L"iAngularLogGauge",
     L"{E5F63BAD-D2A6-11D3-85C2-00A0CC3A58C9}", RUNTIME_CLASS(CiAngularLogGaugeX), EShapeValue::R8, 61, FALSE,
     0, TRUE, 122},
    {644, RUNTIME_CLASS(CFOiCompassShape), L"iCompass", L"{60B74EE4-0DFD-11D4-85C4-00A0CC3A58C9}",
     RUNTIME_CLASS(CiCompassX), EShapeValue::None, 0, FALSE, 0, TRUE, 33},
    {645, RUNTIME_CLASS(CFOiDualCompassShape), L"iDualCompass", L"{FB95638C-1BEF-4166-B2F4-144A3981CD6D}",
     RUNTIME_CLASS(CiDualCompassX), EShapeValue::None, 0, FALSE, 0, TRUE, 36},
    {646, RUNTIME_CLASS(CFOiEditShape), L"iEdit", L"{27E1C61A-7770-4D80-932A-93B7FC45008C}",
     RUNTIME_CLASS(CiEditX), EShapeValue::Edit, 0, FALSE, 0, TRUE, 29},
    {647, RUNTIME_CLASS(CFOiGradientShape), L"iGradient", L"{6F367B64-2E71-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiGradientX), EShapeValue::I4, 2, FALSE, 0, TRUE, 6},
    {648, RUNTIME_CLASS(CFOiImageDisplayShape), L"iImageDisplay", L"{E120518C-9ECE-46CF-921B-BB5F074D141A}",
     RUNTIME_CLASS(CiImageDisplayX), EShapeValue::I4, 6, FALSE, 0, TRUE, 57},
    {649, RUNTIME_CLASS(CFOiIntegerOutputShape), L"iIntegerOutput", L"{9B189146-8349-48D5-8DB3-6373DF522EFF}",
     RUNTIME_CLASS(CiIntegerOutputX), EShapeValue::I4, 2, FALSE, 0, TRUE, 73},
    {650, RUNTIME_CLASS(CFOiKeyboardShape), L"iKeyboard", L"{7C0DF918-FC9E-4122-BB1A-D8C5B1112D35}",
     RUNTIME_CLASS(CiKeyBoardX), EShapeValue::None, 0, FALSE, 0, TRUE, 18},
    {651, RUNTIME_CLASS(CFOiKnobShape), L"iKnob", L"{C5412DC7-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiKnobX), EShapeValue::R8, 39, FALSE, 0, TRUE, 43},
    {652, RUNTIME_CLASS(CFOiLabelShape), L"iLabel", L"{EBF31E97-980B-4C2B-9645-8FEBD518356B}",
     RUNTIME_CLASS(CiLabelX), EShapeValue::None, 0, TRUE, -518, TRUE, 19},
    {653, RUNTIME_CLASS(CFOiLcdMatrixShape), L"iLCDMatrix", L"{C2142540-820F-4A78-AE3D-28AE3E8C6E3C}",
     RUNTIME_CLASS(CiLCDMatrixX), EShapeValue::None, 0, TRUE, -517, TRUE, 69},
    {654, RUNTIME_CLASS(CFOiLedArrowShape), L"iLedArrow", L"{C2557646-8194-11D3-85C2-00105AC8B715}",
     RUNTIME_CLASS(CiLedArrowX), EShapeValue::Bool, 5, FALSE, 0, TRUE, 25},
    {655, RUNTIME_CLASS(CFOiLedBarShape), L"iLedBar", L"{C5412E14-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiLedBarX), EShapeValue::R8, 19, FALSE, 0, TRUE, 22},
    {656, RUNTIME_CLASS(CFOiLedDiamondShape), L"iLedDiamond", L"{7314B3A4-D28B-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiLedDiamondX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 21},
    {657, RUNTIME_CLASS(CFOiLedMatrixShape), L"iLedMatrix", L"{A8B345A5-74B5-11D3-85C2-00105AC8B715}",
     RUNTIME_CLASS(CiLedMatrixX), EShapeValue::None, 0, FALSE, 0, TRUE, 39},
    {658, RUNTIME_CLASS(CFOiLedRectangleShape), L"iLedRectangle", L"{0A362345-2E5E-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiLedRectangleX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 5},
    {659, RUNTIME_CLASS(CFOiLedRoundShape), L"iLedRound", L"{0A362353-2E5E-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiLedRoundX), EShapeValue::Bool, 2, FALSE, 0, TRUE, 6},
    {660, RUNTIME_CLASS(CFOiLedSpiralShape), L"iLedSpiral", L"{C5412E1F-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiLedSpiralX), EShapeValue::R8, 18, FALSE, 0, TRUE, 21},
    {661, RUNTIME_CLASS(CFOiLinearGaugeShape), L"iLinearGauge", L"{C5412DE7-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiLinearGaugeX), EShapeValue::R8, 47, FALSE, 0, TRUE, 50},
    {662, RUNTIME_CLASS(CFOiLogGaugeShape), L"iLogGauge", L"{E5F63BA0-D2A6-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiLogGaugeX), EShapeValue::R8, 43, FALSE, 0, TRUE, 102},
    {663, RUNTIME_CLASS(CFOiModeComboboxShape), L"iModeCombobox", L"{248AC558-E0C8-4B17-B5B8-2A328957D5D7}",
     RUNTIME_CLASS(CiModeComboBoxX), EShapeValue::I4, 31, FALSE, 0, TRUE, 32},
    {664, RUNTIME_CLASS(CFOiMotorShape), L"iMotor", L"{08B5711A-1646-4D25-9457-1DCF5993A6B6}",
     RUNTIME_CLASS(CiMotorX), EShapeValue::Bool, 12, FALSE, 0, TRUE, 58},
    {665, RUNTIME_CLASS(CFOiObjectCanvasShape), L"iObjectCanvas", L"{546FE964-B229-11D3-85C2-00105AC8B715}",
     RUNTIME_CLASS(CiObjectCanvasX), EShapeValue::None, 0, FALSE, 0, TRUE, 86},
    {666, RUNTIME_CLASS(CFOiOdometerShape), L"iOdometer", L"{C5412E28-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiOdometerX), EShapeValue::R8, 9, FALSE, 0, TRUE, 12},
    {667, RUNTIME_CLASS(CFOiPanelShape), L"iPanel", L"{7F158684-C5A1-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiPanelX), EShapeValue::None, 0, FALSE, 0, TRUE, 24},
    {668, RUNTIME_CLASS(CFOiPercentBarShape), L"iPercentBar", L"{DB219F84-D34E-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiPercentBarX), EShapeValue::BarMethod, 0, FALSE, 0, TRUE, 30},
    {669, RUNTIME_CLASS(CFOiPhonePadShape), L"iPhonePad", L"{A8BB3D6D-ACF3-4516-9090-FF76D4EEC5FA}",
     RUNTIME_CLASS(CiPhonePadX), EShapeValue::None, 0, FALSE, 0, TRUE, 13},
    {670, RUNTIME_CLASS(CFOiPieChartShape), L"iPieChart", L"{B7261F64-D336-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiPieChartX), EShapeValue::None, 0, FALSE, 0, TRUE, 30},
    {671, RUNTIME_CLASS(CFOiPipeShape), L"iPipe", L"{F2B8A8BB-B434-4903-B6FB-7E84E0C54C4F}",
     RUNTIME_CLASS(CiPipeX), EShapeValue::Bool, 2, FALSE, 0, TRUE, 54},
    {672, RUNTIME_CLASS(CFOiPipeJointShape), L"iPipeJoint", L"{912586AF-A826-4D01-B450-F46682EF57C7}",
     RUNTIME_CLASS(CiPipeJointX), EShapeValue::None, 0, FALSE, 0, TRUE, 45},
    {673, RUNTIME_CLASS(CFOiPlotShape), L"iPlot", L"{1791C036-8981-492A-BD28-F2331BC9B7C7}",
     RUNTIME_CLASS(CiPlotX), EShapeValue::None, 0, FALSE, 0, TRUE, 132},
    {674, RUNTIME_CLASS(CFOiRotationDisplayShape), L"iRotationDisplay",
     L"{0E39CE84-DCE4-11D3-85C3-00A0CC3A58C9}", RUNTIME_CLASS(CiRotationDisplayX), EShapeValue::R8, 1, FALSE,
     0, TRUE, 16},
    {675, RUNTIME_CLASS(CFOiScopeShape), L"iScope", L"{62C2213E-51EC-4631-8081-F5820B2398F4}",
     RUNTIME_CLASS(CiScopeX), EShapeValue::None, 0, FALSE, 0, FALSE, 0},
    {676, RUNTIME_CLASS(CFOiSliderShape), L"iSlider", L"{C5412E06-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiSliderX), EShapeValue::R8, 35, FALSE, 0, TRUE, 39},
    {677, RUNTIME_CLASS(CFOiSlidingCompassShape), L"iSlidingCompass",
     L"{625E79CE-BD64-4A35-A7B5-F70F97D4F227}", RUNTIME_CLASS(CiSlidingCompassX), EShapeValue::None, 0, FALSE,
     0, TRUE, 59},
    {678, RUNTIME_CLASS(CFOiSlidingScaleShape), L"iSlidingScale", L"{E29C6B91-3542-4F37-82CE-2BFB7B8933D3}",
     RUNTIME_CLASS(CiSlidingScaleX), EShapeValue::R8, 27, FALSE, 0, TRUE, 53},
    {679, RUNTIME_CLASS(CFOiSpectrumDisplayShape), L"iSpectrumDisplay",
     L"{62B89339-CB7D-4F5E-B22E-6D2CE7DE2791}", RUNTIME_CLASS(CiSpectrumDisplayX), EShapeValue::I4, 13, FALSE,
     0, TRUE, 24},
    {680, RUNTIME_CLASS(CFOiStripChartShape), L"iStripChart", L"{D1120C80-28C7-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiStripChartX), EShapeValue::None, 0, FALSE, 0, TRUE, 78},
    {681, RUNTIME_CLASS(CFOiSwitchLedShape), L"iSwitchLed", L"{0A36238C-2E5E-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiSwitchLedX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 12},
    {682, RUNTIME_CLASS(CFOiSwitchLeverShape), L"iSwitchLever", L"{E5F63B84-D2A6-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiSwitchLeverX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 19},
    {683, RUNTIME_CLASS(CFOiSwitchPanelShape), L"iSwitchPanel", L"{8FB1DF7E-747F-44CA-A5AE-6B0082F299B2}",
     RUNTIME_CLASS(CiSwitchPanelX), EShapeValue::I4, 11, FALSE, 0, TRUE, 53},
    {684, RUNTIME_CLASS(CFOiSwitchQuadShape), L"iSwitchQuad", L"{C2626F24-D294-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiSwitchQuadX), EShapeValue::R8, 5, FALSE, 0, TRUE, 25},
    {685, RUNTIME_CLASS(CFOiSwitchRockerShape), L"iSwitchRocker", L"{E5F63B8D-D2A6-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiSwitchRockerX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 22},
    {686, RUNTIME_CLASS(CFOiSwitchRocker3wayShape), L"iSwitchRocker3way",
     L"{E5F63B96-D2A6-11D3-85C2-00A0CC3A58C9}", RUNTIME_CLASS(CiSwitchRocker3WayX), EShapeValue::R8, 6, FALSE,
     0, TRUE, 24},
    {687, RUNTIME_CLASS(CFOiSwitchRotaryShape), L"iSwitchRotary", L"{46B4AAA4-2E6B-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiSwitchRotaryX), EShapeValue::I4, 10, FALSE, 0, TRUE, 25},
    {688, RUNTIME_CLASS(CFOiSwitchSliderShape), L"iSwitchSlider", L"{46B4AAB4-2E6B-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiSwitchSliderX), EShapeValue::I4, 13, FALSE, 0, TRUE, 28},
    {689, RUNTIME_CLASS(CFOiSwitchToggleShape), L"iSwitchToggle", L"{0A362397-2E5E-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiSwitchToggleX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 9},
    {690, RUNTIME_CLASS(CFOiTankShape), L"iTank", L"{8D071C66-0DE6-444D-A55C-123DECE6BC69}",
     RUNTIME_CLASS(CiTankX), EShapeValue::R8, 4, FALSE, 0, TRUE, 37},
    {691, RUNTIME_CLASS(CFOiThermometerShape), L"iThermometer", L"{C5412DF6-2E2F-11D3-85BF-00105AC8B715}",
     RUNTIME_CLASS(CiThermometerX), EShapeValue::R8, 39, FALSE, 0, TRUE, 42},
    {692, RUNTIME_CLASS(CFOiThreadTimerShape), L"iThreadTimer", L"{90095BFC-993C-4AC9-B001-98480CF4BDE2}",
     RUNTIME_CLASS(CiThreadTimersX), EShapeValue::None, 0, FALSE, 0, FALSE, 0},
    {693, RUNTIME_CLASS(CFOiTimerShape), L"iTimer", L"{E5F63BB8-D2A6-11D3-85C2-00A0CC3A58C9}",
     RUNTIME_CLASS(CiTimersX), EShapeValue::None, 0, FALSE, 0, FALSE, 0},
    {694, RUNTIME_CLASS(CFOiValveShape), L"iValve", L"{EC3CF412-CA51-4125-8B9B-CDD694330F18}",
     RUNTIME_CLASS(CiValveX), EShapeValue::Bool, 1, FALSE, 0, TRUE, 38},
    {695, RUNTIME_CLASS(CFOiXYPlotShape), L"iXYPlot", L"{D1CAE8F4-6DFF-4187-B1B8-DDCF91F98A8A}",
     RUNTIME_CLASS(CiXYPlotX), EShapeValue::None, 0, FALSE, 0, TRUE, 132},
};
constexpr int kRowCount = int(sizeof(kRows) / sizeof(kRows[0]));
static_assert(kRowCount == QYR_INSTRUMENT_LAST_TYPE - QYR_INSTRUMENT_FIRST_TYPE + 1);

// The base factory makes every instrument type as a new instrument, with its control's class id.
const bool kRegistered = []
{
#define QYR_REGISTER_INSTRUMENT(cls, wrapper, type) FORegisterShapeType(type, &cls::CreateNew);
    QYR_INSTRUMENT_CLASSES(QYR_REGISTER_INSTRUMENT)
#undef QYR_REGISTER_INSTRUMENT
    return true;
}();
} // namespace

const INSTRUMENT_SHAPE_ROW* InstrumentShapeRows(int* pnCount)
{
    if (pnCount)
        *pnCount = kRowCount;
    return kRows;
}

const INSTRUMENT_SHAPE_ROW* FindInstrumentShapeRow(UINT nType)
{
    if (nType < QYR_INSTRUMENT_FIRST_TYPE || nType > QYR_INSTRUMENT_LAST_TYPE)
        return nullptr;
    const INSTRUMENT_SHAPE_ROW& row = kRows[nType - QYR_INSTRUMENT_FIRST_TYPE];
    return row.nType == nType ? &row : nullptr;
}

CFOiControlShape* CreateInstrumentShape(UINT nType)
{
    FOShapeMaker make = FindInstrumentShapeRow(nType) ? FOFindShapeType(nType) : nullptr;
    auto* shape = make ? dynamic_cast<CFOiControlShape*>(make()) : nullptr;
    if (shape)
        shape->AddRef();
    return shape;
}
