// What every animated shape of the library shares: the animation switch (custom property 1924), the
// size test of timed shapes, and the timer that runs only while the shape's model is not in design
// mode.
#pragma once

#include "mfc/Geometry.h"
#include "win32/WinTypes.h"

class CFODrawShape;
class CWnd;

// Custom property 1924: animation on or off (a shape without it animates).
#define XVK_PROP_ANIMATION 1924

// Property 1924 of the shape; TRUE when the shape does not hold it.
BOOL XVKIsAnimationOn(const CFODrawShape* pShape);
// Normalises rc and makes it the shape's outline: its corners from the top left, clockwise.
void XVKSetCornerPoints(CFODrawShape* pShape, CRect& rc);
// Adds property 1924 to the shape's custom properties with the given value.
void XVKAddAnimationProp(CFODrawShape* pShape, BOOL bValue);
// The size test of timed shapes: the draw rectangle shrunk by 1 on every side is at least 20 wide and
// 20 high. A line (a link, a pipe) is as thick as its stroke (nStroke, at least the line width), not
// as its points' box, so it needs that length along and a visible stroke across.
BOOL XVKPositionCorrect(const CFODrawShape* pShape, int nStroke = 0);

// The timer of one animated shape. Ids start at 1; -1 means no timer is registered.
class CXVKShapeTimer
{
public:
    enum
    {
        NO_TIMER = -1,
    };

    int GetId() const { return m_nTimerId; }
    BOOL IsRegistered() const { return m_nTimerId != NO_TIMER; }
    BOOL IsMine(int nTimerId) const { return m_nTimerId != NO_TIMER && nTimerId == m_nTimerId; }

    // Follows the model's mode: outside design mode a timer of nPeriod ms is registered when none
    // is (and, with bCheckSize, only while XVKPositionCorrect holds, the timer going again when it
    // stops holding); in design mode a registered timer is unregistered and the shape redrawn.
    // Nothing happens while the shape belongs to no model.
    void Start(CFODrawShape* pShape, int nPeriod, BOOL bCheckSize, int nStroke = 0);
    void Stop(CFODrawShape* pShape);
    // The shape's canvas changes: leaving its canvas (null) stops the timer.
    void OnParentWnd(CFODrawShape* pShape, CWnd* pNewWnd);

private:
    int m_nTimerId = NO_TIMER;
};
