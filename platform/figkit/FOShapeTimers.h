// The table of shape timers: each gets an id from 1 up, never reused in the process, and runs as
// window timer FO_SHAPE_TIMER_BASE + id of the window it was registered on. A timer goes when it is
// unregistered, when its shape goes and when its window goes. UI thread only.
#pragma once

#include "win32/WinTypes.h"

class CFODrawShape;
class CWnd;

// Window timer ids from here up belong to shape timers.
#define FO_SHAPE_TIMER_BASE 0x10000

struct FOShapeTimer
{
    CWnd* pWnd;
    CFODrawShape* pShape;
    int nPeriod;
};

// -1 when there is no window or shape, or the period is not positive.
int FORegisterShapeTimer(CWnd* pWnd, CFODrawShape* pShape, int nPeriod);
void FOUnregisterShapeTimer(int nTimerId);
void FODropShapeTimers(const CFODrawShape* pShape);
// Forgets every timer of the window (it is being destroyed).
void FODropWindowTimers(const CWnd* pWnd);
// Starts or stops the window timers of the window's shape timers (its window came or goes).
void FOStartWindowTimers(CWnd* pWnd);
void FOStopWindowTimers(CWnd* pWnd);
// The timer with that id, or null.
const FOShapeTimer* FOFindShapeTimer(int nTimerId);
int FOCountWindowTimers(const CWnd* pWnd);
