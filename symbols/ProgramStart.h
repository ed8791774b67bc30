// The first start-up steps of QYRDraw and QYRView, before their application layers start.
#pragma once

#include "mfc/CString.h"

class CFOPSingleInstance;

// The program runs once: a second start shows lpszRunning and gets FALSE. Then the server chooser,
// tag browser and item pickers that key values and parameters open are put in place.
BOOL FOPStartProgram(CFOPSingleInstance& guard, UINT nID, LPCWSTR lpszGuardName, LPCWSTR lpszRunning);
