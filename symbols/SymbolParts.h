// Helpers the symbol shapes share: finding their named parts, building a new symbol from its
// composite resource, moving and toggling parts, and the animation switch (property 1924).
//
// A part pointer is kept by the symbol once found and is not owned: the part belongs to the
// composite. Every cache is cleared whenever the composite's children are replaced (creation,
// loading, assignment). A part that the composite does not hold (a damaged screen or resource)
// is null, and what would use it does nothing.
#pragma once

#include "figkit/FOCompositeShape.h"

// Custom property that switches a symbol's animation on and off (boolean, TRUE when absent).
#define SYMBOL_PROP_ANIMATION 1924
// Resource type of the stored child shapes of a symbol.
#define SYMBOL_RES_TYPE L"CompsRes"

namespace SymbolParts
{
// How a part is found: by the child's name or by its first key.
enum class FindBy
{
    Name,
    Key1,
};

// The cached part, looked up in pComp on first use.
CFODrawShape* Get(const CFOCompositeShape* pComp, CFODrawShape*& rpCache, LPCWSTR lpszPart, FindBy by);

// Steps of a new symbol: the four corners of rcPos, the base creation, then the children of the
// composite resource nResId placed with their box's top-left corner at rcPos's. pHideFirst runs
// after loading, before placing (the switches hide their "off" part there).
void CreateFromResource(CFOCompositeShape* pComp, CRect& rcPos, const CString& strCaption, UINT nResId,
                        void (*pHideFirst)(CFOCompositeShape*) = nullptr);

// The five connection ports of a tank: centre, left, right, top, bottom.
void AddTankPorts(CFODrawShape* pShape);

// Centre of a shape's snap rectangle, and a move that puts that centre on pt.
CPoint CenterOf(const CFODrawShape* pShape);
void MoveCenterTo(CFODrawShape* pShape, CPoint pt);

// Shows one part and hides the other: on when bOn. FALSE (and nothing changes) when either is missing.
BOOL ShowState(CFODrawShape* pOn, CFODrawShape* pOff, BOOL bOn);
// Whether the "on" part shows; FALSE when it is missing.
inline BOOL IsOn(const CFODrawShape* pOn)
{
    return pOn && pOn->IsVisible();
}

// Property 1924 of the shape, TRUE when it has none.
BOOL IsAnimationOn(const CFODrawShape* pShape);
// Whether the shape's model runs (a shape outside any model counts as designed).
BOOL IsRunMode(const CFODrawShape* pShape);
// A value given to a running shape that is a real value (not the mark of none yet).
BOOL IsRunValue(const CFODrawShape* pShape, double dValue);
} // namespace SymbolParts

namespace SymbolParts
{
// The shape timer of an animated symbol (rnTimerId -1 when none runs). Outside design mode a
// timer of nPeriod ms starts when none runs, after pfnStarting; in design mode a running one stops,
// after pfnStopping, and the shape is redrawn.
void StartOrStopTimer(CFODrawShape* pShape, int& rnTimerId, int nPeriod, void (*pfnStarting)(CFODrawShape*),
                      void (*pfnStopping)(CFODrawShape*));
// Stops a running timer; TRUE when one ran.
BOOL StopTimer(CFODrawShape* pShape, int& rnTimerId);
} // namespace SymbolParts
