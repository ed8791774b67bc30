// Drawing of the stand-in controls, one renderer per kind (InstrumentState.h).
#pragma once

#include "activex/InstrumentControl.h"

class CDC;

// What a control shows as its reading: its text, or its value in the control's own format.
CString InstrumentReading(const CInstrumentControl& control);
void InstrumentDraw(CDC* pDC, const RECT& rc, const CInstrumentControl& control);
