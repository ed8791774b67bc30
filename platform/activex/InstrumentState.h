// The settings of a stand-in instrument control and their state stream.
//
// Stream, little-endian: "QYIC", WORD version (1), BYTE renderer, then the caption (DWORD count of
// UTF-16 units, the units), minimum and maximum (doubles), count (LONG: digits, positions or ticks
// by renderer) and the fore, back and active colours (DWORDs). A stream that is not exactly this,
// for the control's own renderer and within its ranges, does not read: the control keeps it as
// foreign bytes.
#pragma once

#include "mfc/CString.h"

#include <vector>

enum class EInstrumentRenderer : BYTE
{
    Dial,    // angular scale with a needle
    Linear,  // linear scale or bar
    Lamp,    // lamp or symbol, on or off (count: 1 round, 2 square, 3 diamond, 4 arrow)
    Switch,  // multi-position switch
    Digits,  // seven-segment or rolling digits
    TextBox, // text or number box
    Plot,    // plot frame
    Panel,   // static panel
};
constexpr int kInstrumentRendererCount = 8;

struct CInstrumentSettings
{
    CString strCaption;
    double dMin = 0.0;
    double dMax = 100.0;
    int nCount = 1;
    COLORREF crFore = 0x000000;
    COLORREF crBack = 0xE0E0E0;
    COLORREF crActive = 0x0000FF;

    bool operator==(const CInstrumentSettings&) const = default;
};

// The count a renderer accepts, and what the property page calls it.
struct INSTRUMENT_COUNT_RANGE
{
    int nMin;
    int nMax;
    LPCWSTR lpszLabel;
};
const INSTRUMENT_COUNT_RANGE& InstrumentCountRange(EInstrumentRenderer renderer);

// Defaults of a renderer, with the count a control asks for (clamped to the range).
CInstrumentSettings InstrumentDefaultSettings(EInstrumentRenderer renderer, int nCount);
// A finite range with minimum below maximum, a count in range, a caption of at most 255 units.
BOOL InstrumentSettingsValid(EInstrumentRenderer renderer, const CInstrumentSettings& settings);

std::vector<BYTE> InstrumentStateWrite(EInstrumentRenderer renderer, const CInstrumentSettings& settings);
// TRUE and the settings when the bytes are a whole valid stream of this renderer; else FALSE and
// settings untouched.
BOOL InstrumentStateRead(const BYTE* pData, size_t nSize, EInstrumentRenderer renderer,
                         CInstrumentSettings& settings);
