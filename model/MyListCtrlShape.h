// CMyListCtrlShape (type 627): a window-control shape hosting a CColorListCtrl with three
// event-list columns and ten sample rows. It stores nothing of its own.
#pragma once

#include "figkit/FOWndControlShape.h"

class CColorListCtrl;

class CMyListCtrlShape : public CFOWndControlShape
{
    DECLARE_SERIAL(CMyListCtrlShape)
public:
    explicit CMyListCtrlShape(BOOL bCreate = FALSE);
    CMyListCtrlShape(const CMyListCtrlShape& src);
    CFODrawShape* Copy() const override;

    int CreateWnd(CWnd* pParent, int nID) override;
    CColorListCtrl* GetListCtrl() const;
};
