#include "figkit/FOPValueDriverShapes.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CFOPMovePathShape, CFOLineShape, 0)
IMPLEMENT_SERIAL(CFOPScaleRefShape, CFORectShape, 0)

namespace
{
const int kVersion = 1;
}

void FOReportValueChange(CFODrawShape* pShape, double dValue)
{
    CFODataModel* model = pShape->GetModel();
    if (!model || model->IsDesignMode())
        return;
    if (auto* canvas = dynamic_cast<CFOPCanvasCore*>(pShape->GetParentWnd()))
        canvas->DoCurrentValueChange(pShape, dValue);
}

void FOSerializeLinkName(CArchive& ar, CString& strLinkName)
{
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
        ar << strLinkName;
    else
        ar >> strLinkName;
}

CFOPMovePathShape::CFOPMovePathShape()
{
    SetType(FO_COMP_MOVEPATH);
}

CFOPScaleRefShape::CFOPScaleRefShape()
{
    SetType(FO_COMP_SCALEREF);
}
