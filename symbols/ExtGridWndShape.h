// CExtGridWndShape (type 606): a window-control shape whose window is the sample data grid
// (CCrGridCtrl). It stores nothing of its own; the grid is made anew, disabled, whenever the
// shape's window is made.
#pragma once

#include "figkit/FOWndControlShape.h"

class CCrGridCtrl;

class CExtGridWndShape : public CFOWndControlShape
{
    DECLARE_SERIAL(CExtGridWndShape)
public:
    enum
    {
        TYPE_ID = 606,
    };
    explicit CExtGridWndShape(UINT nChildId = 1);
    CExtGridWndShape(const CExtGridWndShape& src);
    CFODrawShape* Copy() const override;

    // A grid shape on the rectangle with its caption and child-window id, ready to be named and
    // inserted into a screen (the demo screens and the factories make theirs here).
    static CExtGridWndShape* CreateShape(const CRect& rc, const CString& strCaption, UINT nChildId);

    // The canvas's window-making call; always 0.
    int CreateWnd(CWnd* pParent, int nID) override;
    // Makes the disabled grid window on the shape's rectangle; a grid that cannot be made leaves the
    // shape without a window. Returns 0.
    int CreateGridWnd(CWnd* pParent);
    CCrGridCtrl* GetGridCtrl() const;
};
