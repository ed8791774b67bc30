// The start-up calls of a program: common controls, OLE and control containment. The Qt controls
// need no registration, so the first only checks its record.
#pragma once

#include "win32/WinTypes.h"

#define ICC_WIN95_CLASSES 0x000000FF
struct INITCOMMONCONTROLSEX
{
    DWORD dwSize;
    DWORD dwICC;
};

// FALSE for a record of the wrong size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
// OLE for this thread; FALSE when it cannot start.
BOOL AfxOleInit();
// Lets dialogs and views host ActiveX controls (the containment itself is always there).
void AfxEnableControlContainer();
BOOL AfxIsControlContainerEnabled();
