// The view's property dialogs: property manager, text, line, fill, bullets, position and size,
// layer, page and components.
#include "figkit/FOAction.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawView.h"
#include "figkit/FOPropEditDlgs.h"
#include "figkit/FOStaticShape.h"
#include "mfc/CmdUI.h"

#include <memory>

void CFODrawView::OnFOPFoPropManager()
{
    if (!IsDesignMode() || GetSelectCount() == 0)
        return;
    CFOPropManagerDlg dlg(this);
    RunPropEditDlg(dlg, GetSelectShapes());
}

void CFODrawView::OnUpdateFOPFoPropManager(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && IsDesignMode() && GetSelectCount() > 0);
}

void CFODrawView::OnFOPTextProp()
{
    if (!IsDesignMode() || GetSelectCount() == 0)
        return;
    CFOTextPropDlg dlg(this);
    RunPropEditDlg(dlg, GetSelectShapes());
}

void CFODrawView::OnFOPLineProp()
{
    if (!IsDesignMode() || GetSelectCount() == 0)
        return;
    CFOLinePropDlg dlg(this);
    RunPropEditDlg(dlg, GetSelectShapes());
}

void CFODrawView::OnFOPFillProp()
{
    if (!IsDesignMode() || GetSelectCount() == 0)
        return;
    CFOFillPropDlg dlg(this);
    RunPropEditDlg(dlg, GetSelectShapes());
}

void CFODrawView::DoShowBulletPropDlg(CFODrawShape* pShape)
{
    if (!pShape)
        return;
    CFOTypedShapeObList list;
    list.AddTail(pShape);
    CFOTextBulletDlg dlg(this);
    RunPropEditDlg(dlg, list);
}

void CFODrawView::OnFOPPositionProp()
{
    CFODrawShape* shape = GetFirstSelectShape();
    if (!m_pModel || !IsDesignMode() || GetSelectCount() != 1 || !shape)
        return;
    FinishAllBox();
    CFOPositionDlg dlg(this);
    dlg.m_rcShape = shape->GetSnapRect();
    dlg.m_rcShape.NormalizeRect();
    dlg.m_sizePage = m_pModel->GetCanvasSize();
    const CRect before = dlg.m_rcShape;
    if (dlg.DoModal() != IDOK || dlg.m_rcShape == before)
        return;
    auto action = std::make_unique<CFOGeometryAction>(m_pModel, L"Position and Size");
    action->Begin(GetSelectShapes());
    shape->PositionShape(dlg.m_rcShape);
    if (action->End() && m_pModel->Do(action.get(), FALSE))
        action.release();
    InvalidateCanvas();
    m_pModel->SetModifiedFlag(TRUE);
}

void CFODrawView::OnUpdateFOPOneSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && IsDesignMode() && GetSelectCount() == 1);
}

void CFODrawView::OnFOPLayer()
{
    if (!m_pModel || !IsDesignMode() || GetSelectCount() == 0)
        return;
    CFOLayerDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    OrderSelection(dlg.m_nOrder);
}

void CFODrawView::OnFOPPageSetup()
{
    if (!m_pModel || !IsDesignMode())
        return;
    FinishAllBox();
    CFOPageSetupDlg dlg(this);
    dlg.m_sizePage = m_pModel->GetCanvasSize();
    dlg.m_crBack = m_pModel->GetBkColor();
    dlg.m_crPage = m_pModel->GetPageBkColor();
    dlg.m_bBorder = m_pModel->IsBorderShow();
    if (dlg.DoModal() != IDOK)
        return;
    m_pModel->SetCanvasSize(dlg.m_sizePage);
    m_pModel->SetBkColor(dlg.m_crBack);
    m_pModel->SetPageBkColor(dlg.m_crPage);
    m_pModel->SetBorderShow(dlg.m_bBorder);
    m_pModel->SetModifiedFlag(TRUE);
    UpdateScrollBarSize();
    InvalidateCanvas();
}

void CFODrawView::OnUpdateFOPDesignMode(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && IsDesignMode());
}

void CFODrawView::OnFOPComponents()
{
    if (!m_pModel || !IsDesignMode() || m_pModel->GetShapeCount() == 0)
        return;
    CFOComponentsDlg dlg(this);
    for (CFODrawShape* shape : *m_pModel->GetShapes())
    {
        if (CFOPCanvasCore::IsSelected(shape))
            dlg.m_chosen.push_back(int(dlg.m_shapes.size()));
        dlg.m_shapes.push_back(shape);
    }
    if (dlg.DoModal() != IDOK)
        return;
    CFOTypedShapeObList list;
    for (int i : dlg.m_chosen)
        if (i >= 0 && i < int(dlg.m_shapes.size()))
            list.AddTail(dlg.m_shapes[size_t(i)]);
    SelectShapes(list);
    InvalidateCanvas();
}

void CFODrawView::OnUpdateFOPComponents(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && IsDesignMode() && m_pModel->GetShapeCount() > 0);
}
