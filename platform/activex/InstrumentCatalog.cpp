#include "activex/InstrumentControl.h"

#include "com/ClassRegistry.h"

namespace
{
struct CControlRow
{
    LPCWSTR lpszName;
    LPCWSTR lpszClsid;
    EInstrumentRenderer renderer;
    int nCount;
    EInstrumentValue valueKind;
    DISPID dispValue;
    BOOL bText;
    DISPID dispText;
    BOOL bVisible;
    DISPID dispVisible;
};

// name, class id, renderer, default count, value kind and id, text, visibility
const CControlRow kRows[] = {
    {L"iSevenSegmentAnalog", L"{C5412E33-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 6,
     EInstrumentValue::R8, 2, FALSE, 0, TRUE, 16},
    {L"iSevenSegmentBinary", L"{0A36235C-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 8,
     EInstrumentValue::I4, 32, FALSE, 0, TRUE, 14},
    {L"iSevenSegmentCharacter", L"{0A362366-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 1,
     EInstrumentValue::I4, 13, FALSE, 0, TRUE, 15},
    {L"iSevenSegmentClock", L"{0A362370-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 6,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 15},
    {L"iSevenSegmentClockSMPTE", L"{52BDFCA4-8D27-11D3-85C2-00105AC8B715}", EInstrumentRenderer::Digits, 8,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 37},
    {L"iSevenSegmentHexadecimal", L"{0A36237A-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 4,
     EInstrumentValue::None, 0, TRUE, 1, TRUE, 14},
    {L"iSevenSegmentInteger", L"{0A362383-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 5,
     EInstrumentValue::I4, 1, FALSE, 0, TRUE, 15},
    {L"iAnalogDisplay", L"{C5412DAA-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::TextBox, 2,
     EInstrumentValue::R8, 4204, FALSE, 0, TRUE, 8},
    {L"iAnalogOutput", L"{C5412DB8-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::TextBox, 2,
     EInstrumentValue::R8, 2, FALSE, 0, FALSE, 0},
    {L"iAngularGauge", L"{C5412DD5-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Dial, 11,
     EInstrumentValue::R8, 65, FALSE, 0, TRUE, 68},
    {L"iAngularLogGauge", L"{E5F63BAD-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Dial, 5,
     EInstrumentValue::R8, 61, FALSE, 0, TRUE, 122},
    {L"iCompass", L"{60B74EE4-0DFD-11D4-85C4-00A0CC3A58C9}", EInstrumentRenderer::Dial, 9,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 33},
    {L"iDualCompass", L"{FB95638C-1BEF-4166-B2F4-144A3981CD6D}", EInstrumentRenderer::Dial, 9,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 36},
    {L"iEdit", L"{27E1C61A-7770-4D80-932A-93B7FC45008C}", EInstrumentRenderer::TextBox, 2,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 29},
    {L"iGradient", L"{6F367B64-2E71-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Linear, 2,
     EInstrumentValue::I4, 2, FALSE, 0, TRUE, 6},
    {L"iImageDisplay", L"{E120518C-9ECE-46CF-921B-BB5F074D141A}", EInstrumentRenderer::Lamp, 2,
     EInstrumentValue::I4, 6, FALSE, 0, TRUE, 57},
    {L"iIntegerOutput", L"{9B189146-8349-48D5-8DB3-6373DF522EFF}", EInstrumentRenderer::TextBox, 0,
     EInstrumentValue::I4, 2, FALSE, 0, TRUE, 73},
    {L"iKeyboard", L"{7C0DF918-FC9E-4122-BB1A-D8C5B1112D35}", EInstrumentRenderer::Panel, 2,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 18},
    {L"iKnob", L"{C5412DC7-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Dial, 11, EInstrumentValue::R8,
     39, FALSE, 0, TRUE, 43},
    {L"iLabel", L"{EBF31E97-980B-4C2B-9645-8FEBD518356B}", EInstrumentRenderer::TextBox, 0,
     EInstrumentValue::None, 0, TRUE, -518, TRUE, 19},
    {L"iLCDMatrix", L"{C2142540-820F-4A78-AE3D-28AE3E8C6E3C}", EInstrumentRenderer::Digits, 8,
     EInstrumentValue::None, 0, TRUE, -517, TRUE, 69},
    {L"iLedArrow", L"{C2557646-8194-11D3-85C2-00105AC8B715}", EInstrumentRenderer::Lamp, 4,
     EInstrumentValue::Bool, 5, FALSE, 0, TRUE, 25},
    {L"iLedBar", L"{C5412E14-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Linear, 10,
     EInstrumentValue::R8, 19, FALSE, 0, TRUE, 22},
    {L"iLedDiamond", L"{7314B3A4-D28B-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Lamp, 3,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 21},
    {L"iLedMatrix", L"{A8B345A5-74B5-11D3-85C2-00105AC8B715}", EInstrumentRenderer::Lamp, 2,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 39},
    {L"iLedRectangle", L"{0A362345-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Lamp, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 5},
    {L"iLedRound", L"{0A362353-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Lamp, 1,
     EInstrumentValue::Bool, 2, FALSE, 0, TRUE, 6},
    {L"iLedSpiral", L"{C5412E1F-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Dial, 10,
     EInstrumentValue::R8, 18, FALSE, 0, TRUE, 21},
    {L"iLinearGauge", L"{C5412DE7-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Linear, 11,
     EInstrumentValue::R8, 47, FALSE, 0, TRUE, 50},
    {L"iLogGauge", L"{E5F63BA0-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Linear, 5,
     EInstrumentValue::R8, 43, FALSE, 0, TRUE, 102},
    {L"iModeCombobox", L"{248AC558-E0C8-4B17-B5B8-2A328957D5D7}", EInstrumentRenderer::Switch, 4,
     EInstrumentValue::I4, 31, FALSE, 0, TRUE, 32},
    {L"iMotor", L"{08B5711A-1646-4D25-9457-1DCF5993A6B6}", EInstrumentRenderer::Lamp, 1,
     EInstrumentValue::Bool, 12, FALSE, 0, TRUE, 58},
    {L"iObjectCanvas", L"{546FE964-B229-11D3-85C2-00105AC8B715}", EInstrumentRenderer::Panel, 0,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 86},
    {L"iOdometer", L"{C5412E28-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Digits, 6,
     EInstrumentValue::R8, 9, FALSE, 0, TRUE, 12},
    {L"iPanel", L"{7F158684-C5A1-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Panel, 2,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 24},
    {L"iPercentBar", L"{DB219F84-D34E-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Linear, 5,
     EInstrumentValue::BarMethod, INSTRUMENT_DISPID_SETBAR, FALSE, 0, TRUE, 30},
    {L"iPhonePad", L"{A8BB3D6D-ACF3-4516-9090-FF76D4EEC5FA}", EInstrumentRenderer::Panel, 2,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 13},
    {L"iPieChart", L"{B7261F64-D336-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Plot, 4,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 30},
    {L"iPipe", L"{F2B8A8BB-B434-4903-B6FB-7E84E0C54C4F}", EInstrumentRenderer::Lamp, 2,
     EInstrumentValue::Bool, 2, FALSE, 0, TRUE, 54},
    {L"iPipeJoint", L"{912586AF-A826-4D01-B450-F46682EF57C7}", EInstrumentRenderer::Panel, 1,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 45},
    {L"iPlot", L"{1791C036-8981-492A-BD28-F2331BC9B7C7}", EInstrumentRenderer::Plot, 5,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 132},
    {L"iRotationDisplay", L"{0E39CE84-DCE4-11D3-85C3-00A0CC3A58C9}", EInstrumentRenderer::Dial, 9,
     EInstrumentValue::R8, 1, FALSE, 0, TRUE, 16},
    {L"iScope", L"{62C2213E-51EC-4631-8081-F5820B2398F4}", EInstrumentRenderer::Plot, 8,
     EInstrumentValue::None, 0, FALSE, 0, FALSE, 0},
    {L"iSlider", L"{C5412E06-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Linear, 11,
     EInstrumentValue::R8, 35, FALSE, 0, TRUE, 39},
    {L"iSlidingCompass", L"{625E79CE-BD64-4A35-A7B5-F70F97D4F227}", EInstrumentRenderer::Linear, 9,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 59},
    {L"iSlidingScale", L"{E29C6B91-3542-4F37-82CE-2BFB7B8933D3}", EInstrumentRenderer::Linear, 11,
     EInstrumentValue::R8, 27, FALSE, 0, TRUE, 53},
    {L"iSpectrumDisplay", L"{62B89339-CB7D-4F5E-B22E-6D2CE7DE2791}", EInstrumentRenderer::Linear, 8,
     EInstrumentValue::I4, 13, FALSE, 0, TRUE, 24},
    {L"iStripChart", L"{D1120C80-28C7-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Plot, 5,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 78},
    {L"iSwitchLed", L"{0A36238C-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Switch, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 12},
    {L"iSwitchLever", L"{E5F63B84-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Switch, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 19},
    {L"iSwitchPanel", L"{8FB1DF7E-747F-44CA-A5AE-6B0082F299B2}", EInstrumentRenderer::Switch, 3,
     EInstrumentValue::I4, 11, FALSE, 0, TRUE, 53},
    {L"iSwitchQuad", L"{C2626F24-D294-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Switch, 4,
     EInstrumentValue::R8, 5, FALSE, 0, TRUE, 25},
    {L"iSwitchRocker", L"{E5F63B8D-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Switch, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 22},
    {L"iSwitchRocker3way", L"{E5F63B96-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Switch, 3,
     EInstrumentValue::R8, 6, FALSE, 0, TRUE, 24},
    {L"iSwitchRotary", L"{46B4AAA4-2E6B-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Switch, 6,
     EInstrumentValue::I4, 10, FALSE, 0, TRUE, 25},
    {L"iSwitchSlider", L"{46B4AAB4-2E6B-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Switch, 5,
     EInstrumentValue::I4, 13, FALSE, 0, TRUE, 28},
    {L"iSwitchToggle", L"{0A362397-2E5E-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Switch, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 9},
    {L"iTank", L"{8D071C66-0DE6-444D-A55C-123DECE6BC69}", EInstrumentRenderer::Linear, 5,
     EInstrumentValue::R8, 4, FALSE, 0, TRUE, 37},
    {L"iThermometer", L"{C5412DF6-2E2F-11D3-85BF-00105AC8B715}", EInstrumentRenderer::Linear, 11,
     EInstrumentValue::R8, 39, FALSE, 0, TRUE, 42},
    {L"iThreadTimer", L"{90095BFC-993C-4AC9-B001-98480CF4BDE2}", EInstrumentRenderer::Panel, 1,
     EInstrumentValue::None, 0, FALSE, 0, FALSE, 0},
    {L"iTimer", L"{E5F63BB8-D2A6-11D3-85C2-00A0CC3A58C9}", EInstrumentRenderer::Panel, 1,
     EInstrumentValue::None, 0, FALSE, 0, FALSE, 0},
    {L"iValve", L"{EC3CF412-CA51-4125-8B9B-CDD694330F18}", EInstrumentRenderer::Lamp, 2,
     EInstrumentValue::Bool, 1, FALSE, 0, TRUE, 38},
    {L"iXYPlot", L"{D1CAE8F4-6DFF-4187-B1B8-DDCF91F98A8A}", EInstrumentRenderer::Plot, 5,
     EInstrumentValue::None, 0, FALSE, 0, TRUE, 132},
};

std::vector<INSTRUMENT_CONTROL_INFO> BuildTable()
{
    std::vector<INSTRUMENT_CONTROL_INFO> table;
    for (const CControlRow& r : kRows)
    {
        INSTRUMENT_CONTROL_INFO info{r.lpszName,  GUID_NULL, r.renderer, r.nCount,   r.valueKind,
                                     r.dispValue, r.bText,   r.dispText, r.bVisible, r.dispVisible};
        CLSIDFromString(r.lpszClsid, &info.clsid);
        table.push_back(info);
    }
    return table;
}
} // namespace

const std::vector<INSTRUMENT_CONTROL_INFO>& AfxInstrumentControls()
{
    static const std::vector<INSTRUMENT_CONTROL_INFO> table = BuildTable();
    return table;
}

const INSTRUMENT_CONTROL_INFO* AfxFindInstrumentControl(REFCLSID clsid)
{
    for (const INSTRUMENT_CONTROL_INFO& info : AfxInstrumentControls())
        if (IsEqualGUID(info.clsid, clsid))
            return &info;
    return nullptr;
}

void AfxRegisterInstrumentControls()
{
    CClassRegistry& registry = CClassRegistry::Instance();
    for (const INSTRUMENT_CONTROL_INFO& info : AfxInstrumentControls())
    {
        CComPtr<IClassFactory> known;
        if (SUCCEEDED(
                registry.GetClassObject(info.clsid, IID_IClassFactory, reinterpret_cast<void**>(&known))))
            continue;
        registry.AddClass({info.clsid, info.lpszName, info.lpszName, {}});
        const INSTRUMENT_CONTROL_INFO* row = &info;
        CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(
            [row](REFIID riid, void** ppv)
            {
                CComPtr<CInstrumentControl> control = QyrNewObject<CInstrumentControl>(*row);
                return control->QueryInterface(riid, ppv);
            });
        DWORD cookie = 0;
        registry.RegisterClassObject(info.clsid, factory->GetUnknown(), &cookie);
    }
}
