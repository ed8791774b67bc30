#include "symbols/SymbolFactory.h"

#include "symbols/MotorShape.h"
#include "symbols/MyNewSwitchShape.h"
#include "symbols/MyNewTankShape.h"
#include "symbols/MySwitchShape.h"
#include "symbols/TankShape.h"

namespace
{
CFODrawShape* NewSymbol(UINT nType)
{
    switch (nType)
    {
    case CMotorShape::TYPE_ID:
        return new CMotorShape;
    case CMyNewSwitchShape::TYPE_ID:
        return new CMyNewSwitchShape;
    case CMyNewTankShape::TYPE_ID:
        return new CMyNewTankShape;
    case CMySwitchShape1::TYPE_ID:
        return new CMySwitchShape1;
    case CMySwitchShape2::TYPE_ID:
        return new CMySwitchShape2;
    case CMySwitchShape3::TYPE_ID:
        return new CMySwitchShape3;
    case CTankShape::TYPE_ID:
        return new CTankShape;
    default:
        return nullptr;
    }
}
} // namespace

CFODrawShape* CSymbolShapeFactory::CreateShape(UINT nType, CRect& rcCreate, const CString& strName)
{
    CFODrawShape* shape = NewSymbol(nType);
    if (!shape)
        return nullptr;
    rcCreate.NormalizeRect();
    CRect rc = rcCreate;
    if (rc.Width() < 10 || rc.Height() < 10)
        rc = CRect(rc.TopLeft(), rc.TopLeft());
    shape->AddRef();
    shape->Create(rc, CString());
    if (!strName.IsEmpty())
        shape->SetObjectName(strName);
    return shape;
}
