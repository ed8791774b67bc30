// The shapes' run-time state machinery: the one place where a shape's state texts take effect.
//
// A shape's state string names states, each a list of actions on the shape's children (by key 1)
// or on the shape itself (its own key 1, or an empty name); its value-change script holds value
// ranges with actions of the same kind, and an "L_S" item that switches the shape to a named state;
// properties FO_PROP_VISIBLE_COND_ON and FO_PROP_VISIBLE_COND give a hide condition.
//
// The run-time look is always worked out again from the designed look: the actions of the current
// state, then those of the current value range, then the hide condition. So leaving a state or a
// range undoes what it changed, and a value in no range brings the designed look back. While a
// shape looks other than designed, it keeps its designed look beside it (FOShapeLook); saving
// writes that one, and going back to design mode puts it back.
//
// Nothing here runs while the shape's model is in design mode, nor for a shape outside a model
// (a shape being built, a toolbox item): those only record the state chosen.
//
// Damaged texts are applied item by item: an item with missing fields, an unknown code, bad
// hexadecimal, a name that matches no shape, a range whose bounds are not two ordered numbers, or
// an "L_S" naming no state of the shape is skipped, and the rest applies.
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

#include <memory>
#include <vector>

class CFODrawShape;

// What the machinery may change on a shape.
struct FOShapeLook
{
    COLORREF crBk = 0;
    COLORREF crLine = 0;
    COLORREF crFont = 0;
    COLORREF crPattern = 0;
    int nBrushType = 0;
    int nLineWidth = 0;
    BOOL bVisible = TRUE;
    CString strStateType;

    bool operator==(const FOShapeLook& o) const
    {
        return crBk == o.crBk && crLine == o.crLine && crFont == o.crFont && crPattern == o.crPattern &&
               nBrushType == o.nBrushType && nLineWidth == o.nLineWidth && bVisible == o.bVisible &&
               strStateType == o.strStateType;
    }
    bool operator!=(const FOShapeLook& o) const { return !(*this == o); }
};

// One action item, parsed.
struct FOStateAction
{
    enum Code
    {
        FillColor,
        LineColor,
        FontColor,
        PatternColor,
        FillType,
        LineWidth,
        Hide,
    };
    Code nCode = FillColor;
    // The shapes it acts on (one, or for Hide each name of the item).
    std::vector<CString> names;
    // Where each name was found last time among the shape and its children (-1: not yet); checked
    // before use, so a changed composite only costs a new search.
    std::vector<int> hints;
    // The colour or the whole number.
    DWORD dwValue = 0;
};

// A shape's parsed texts and run-time choices (not saved, not copied).
struct FOShapeRunState
{
    struct State
    {
        CString strName;
        std::vector<FOStateAction> actions;
    };
    struct Range
    {
        double dLower = 0.0;
        double dUpper = 0.0;
        std::vector<FOStateAction> actions;
        // The state an "L_S" item switches to; empty for none.
        CString strLinkState;
    };
    // The texts the lists were parsed from.
    CString strStateText;
    CString strRangeText;
    std::vector<State> states;
    std::vector<Range> ranges;
    bool bStatesParsed = false;
    bool bRangesParsed = false;
    // The range the last value fell in (-1: none), whether a range switched the state, and whether
    // the hide condition holds.
    int nRange = -1;
    bool bRangeSwitched = false;
    bool bConditionHidden = false;
};

// The comparison operators of a hide condition, by index: "<", ">", "=", "<=", ">=", "!=".
// FALSE for a text that is not an operator index 0 to 5 and a number.
BOOL FOParseHideCondition(const CString& strCondition, int& nOperator, double& dValue);
BOOL FOHideConditionHolds(int nOperator, double dValue, double dCurrent);

// Makes the shape's current state (GetStateType), its current value range and its hide condition
// take effect on it and its children; TRUE when any look changed.
BOOL FORefreshShapeState(CFODrawShape* pShape);

// A bound value reached the shape (its current value is set by the caller). In this order: the
// "True"/"False" choice of the switch shapes (types 34 and 89), the first value range in list order
// whose bounds hold the value (bounds included), then the hide condition. TRUE when a state or a
// look changed, so the caller repaints the shape once. Outside a running screen only the switch
// shapes' choice is recorded.
BOOL FOApplyShapeValue(CFODrawShape* pShape, double dValue);

// The shape has value ranges (a value-change script).
BOOL FOHasValueStates(const CFODrawShape* pShape);

// The "True"/"False" choice: a shape with a state string listing more than one state goes to
// "True" (bOn) or "False"; TRUE when it did.
BOOL FOSelectTrueFalseState(CFODrawShape* pShape, BOOL bOn);

// The shape and its children look as designed again and forget their run-time choices.
void FORestoreDesignLook(CFODrawShape* pShape);

// In a model outside design mode.
BOOL FOIsShapeRunning(const CFODrawShape* pShape);
// Keeps the shape's look as its designed look, unless it keeps one already.
void FOKeepDesignLook(CFODrawShape* pShape);

// The look of the shape as it is now, and as designed (the same while nothing changed it).
FOShapeLook FOGetShapeLook(const CFODrawShape* pShape);
FOShapeLook FOGetDesignLook(const CFODrawShape* pShape);
