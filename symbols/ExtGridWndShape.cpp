#include "symbols/ExtGridWndShape.h"

#include "symbols/FOExtGridCtrl.h"

#include <memory>

IMPLEMENT_SERIAL(CExtGridWndShape, CFOWndControlShape, 0)

CExtGridWndShape::CExtGridWndShape(UINT nChildId) : CFOWndControlShape(nChildId)
{
    SetType(TYPE_ID);
    SetPolyObject(FALSE);
}

CExtGridWndShape::CExtGridWndShape(const CExtGridWndShape& src) : CFOWndControlShape(1)
{
    CFOWndControlShape::operator=(src);
}

CFODrawShape* CExtGridWndShape::Copy() const
{
    return new CExtGridWndShape(*this);
}

CExtGridWndShape* CExtGridWndShape::CreateShape(const CRect& rc, const CString& strCaption, UINT nChildId)
{
    auto* shape = new CExtGridWndShape(nChildId);
    CRect pos = rc;
    pos.NormalizeRect();
    shape->Create(pos, CString());
    shape->UpdatePosition();
    shape->SetObjectCaption(strCaption);
    return shape;
}

CCrGridCtrl* CExtGridWndShape::GetGridCtrl() const
{
    return dynamic_cast<CCrGridCtrl*>(GetWnd());
}

int CExtGridWndShape::CreateWnd(CWnd* pParent, int)
{
    return CreateGridWnd(pParent);
}

int CExtGridWndShape::CreateGridWnd(CWnd* pParent)
{
    const CRect rc = GetDrawRect();
    auto grid = std::make_unique<CCrGridCtrl>();
    if (!grid->Create(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, rc,
                      pParent, GetCtrlID()))
        return 0;
    grid->EnableWindow(FALSE);
    SetWnd(grid.release());
    return 0;
}
