// The design view's behaviour commands: a shape's states, its value-change animation, custom
// properties and the SVG import, with the selection operations and additional handles of this layer.
#include "editor/PlexdraftView.h"

#include "behaviour/RealTimeDlgs.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "behaviour/StateSetDlgs.h"
#include "editor/DesignFrame.h"
#include "editor/MyExtDataModel.h"
#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FOGroupShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "figkit/FOStaticShape.h"
#include "mfc/CmdUI.h"
#include "mfc/FileDialog.h"
#include "mfc/WaitCursor.h"
#include "svgimport/SvgConvert.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
bool IsStaticLabel(const CFODrawShape* shape)
{
    return dynamic_cast<const CFOStaticShape*>(shape) || dynamic_cast<const CFOPSimpleLabelShape*>(shape);
}
bool IsLinkShape(const CFODrawShape* shape)
{
    return dynamic_cast<const CFOLinkShape*>(shape) != nullptr;
}

// The shape a move-path or scale-reference shape animates, by key 1; FALSE for other shapes.
BOOL GetLinkKey(const CFODrawShape* shape, CString& key)
{
    if (auto* path = dynamic_cast<const CFOPMovePathShape*>(shape))
        key = path->GetLinkPathShape();
    else if (auto* scale = dynamic_cast<const CFOPScaleRefShape*>(shape))
        key = scale->GetLinkPathShape();
    else
        return FALSE;
    return TRUE;
}
} // namespace

// The property on an animated shape that names (by key 1) the shape animating it.
#define PROP_ANIMATED_BY 1933
// A chart's lines.
#define PROP_CHART_LINES 15009

void CPlexdraftView::LinkAnimatedShape(CFODrawShape* pDriver, const CString& strKey)
{
    CString old;
    if (!m_pModel || !pDriver || !GetLinkKey(pDriver, old))
        return;
    // The shape that was animated so far forgets this driver, unless the link stays.
    if (!old.IsEmpty() && old != strKey)
        if (CFODrawShape* previous = m_pModel->FindShapeWithKey1(old))
        {
            CString by;
            if (previous->GetPropStringValue(by, PROP_ANIMATED_BY) && by == pDriver->GetKeyId1())
                previous->RemoveProperty(PROP_ANIMATED_BY);
        }
    if (auto* path = dynamic_cast<CFOPMovePathShape*>(pDriver))
        path->SetLinkPathShape(strKey);
    else if (auto* scale = dynamic_cast<CFOPScaleRefShape*>(pDriver))
        scale->SetLinkPathShape(strKey);
    // An empty key unlinks: looking it up would take the first shape without a key.
    if (!strKey.IsEmpty())
        if (CFODrawShape* target = m_pModel->FindShapeWithKey1(strKey))
            target->PutPropStringValue(PROP_ANIMATED_BY, pDriver->GetKeyId1());
    m_pModel->SetModifiedFlag(TRUE);
}

// --- State and Value Change Animate -----------------------------------------------------------------

void CPlexdraftView::OnShapeState()
{
    if (GetSelectCount() != 1 || !m_pModel)
        return;
    auto* comp = dynamic_cast<CFOCompositeShape*>(GetFirstSelectShape());
    if (!comp)
        return;
    MBEventEditDlg2 dlg(this);
    CStringArray states;
    comp->GetStateListEx(states);
    for (INT_PTR i = 0; i < states.GetSize(); ++i)
        dlg.m_pairs.emplace_back(states[i], states[i]);
    // The current state is preselected.
    dlg.m_strValue = comp->GetStateType();
    if (dlg.DoModal() != IDOK)
        return;
    if (!dlg.m_strValue.IsEmpty())
        comp->SetStateType(dlg.m_strValue);
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnUpdateShapeState(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectCount() == 1 &&
                   dynamic_cast<CFOCompositeShape*>(GetFirstSelectShape()) != nullptr);
}

void CPlexdraftView::OnValueChangeAnimate()
{
    CFODrawShape* shape = GetFirstSelectShape();
    if (GetSelectCount() != 1 || !shape || !m_pModel)
        return;
    switch (shape->GetType())
    {
    case 285:
    case 294:
    {
        CMBCustomMoveDlg dlg(this);
        dlg.m_pModel = m_pModel;
        GetLinkKey(shape, dlg.m_strKey);
        if (dlg.DoModal() == IDOK)
            LinkAnimatedShape(shape, dlg.m_strKey);
        break;
    }
    case 632:
        RunChartLines(shape);
        break;
    default:
    {
        CValueStateMgrDlg dlg(this);
        shape->GetValueChangeScript(dlg.m_strValueState);
        dlg.m_dMin = shape->GetMinValue();
        dlg.m_dMax = shape->GetMaxValue();
        dlg.m_strStateString = shape->GetStateString();
        // The shape's own key is the one name its items offer. A shape without one gets the first
        // free "K%u" first, so that the list shows a name and the items can be read back.
        if (shape->GetKeyId1().IsEmpty())
        {
            CString key;
            for (unsigned n = 1; key.IsEmpty() || m_pModel->FindShapeWithKey1(key); ++n)
                key.Format(L"K%u", n);
            shape->SetKeyId1(key);
            if (IDesignFrame* frame = GetDesignFrame())
                frame->RefreshShapeList(GetParentFrame());
        }
        dlg.m_arChildNames.Add(shape->GetKeyId1());
        dlg.m_listChildShapes.AddTail(shape);
        if (dlg.DoModal() != IDOK)
            return;
        shape->SetValueChangeScript(dlg.m_strValueState);
        shape->SetMinValue(dlg.m_dMin);
        shape->SetMaxValue(dlg.m_dMax);
        ClearSelection();
        SelectShape(shape);
        CFOTypedShapeObList list;
        list.AddTail(shape);
        UpdateShapes(&list);
        m_pModel->SetModifiedFlag(TRUE);
        break;
    }
    }
}

BOOL CPlexdraftView::RunChartLines(CFODrawShape* pShape)
{
    CRealTimeSetDlg dlg(this);
    pShape->GetPropStringValue(dlg.m_strLines, PROP_CHART_LINES);
    dlg.m_dMin = pShape->GetMinValue();
    dlg.m_dMax = pShape->GetMaxValue();
    if (dlg.DoModal() != IDOK)
        return FALSE;
    pShape->SetMinValue(dlg.m_dMin);
    pShape->SetMaxValue(dlg.m_dMax);
    pShape->PutPropStringValue(PROP_CHART_LINES, dlg.m_strLines);
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

void CPlexdraftView::OnCustomProperties()
{
    CFODrawShape* shape = GetFirstSelectShape();
    if (GetSelectCount() != 1 || !shape || !m_pModel)
        return;
    switch (shape->GetType())
    {
    case 256:
    case 615:
    case 632:
        RunChartLines(shape);
        break;
    default:
        OnFOPFoPropManager();
        break;
    }
    CFOTypedShapeObList list;
    list.AddTail(shape);
    UpdateShapes(&list);
}

void CPlexdraftView::OnUpdateCustomProperties(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectCount() == 1);
}

void CPlexdraftView::OnUpdateValueChangeAnimate(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectCount() == 1);
}

// --- Selection ----------------------------------------------------------------------------------------

void CPlexdraftView::AddToSelection(CFODrawShape* pShape)
{
    CFOScriptView::AddToSelection(pShape);
    SyncFormatBar();
}

void CPlexdraftView::RemoveFromSelection(CFODrawShape* pShape)
{
    CFOScriptView::RemoveFromSelection(pShape);
    SyncFormatBar();
}

template <class Pred> void CPlexdraftView::SelectWhere(const FOPContainer& shapes, Pred pred)
{
    m_listPrevSelect.RemoveAll();
    for (CFODrawShape* shape : GetSelectShapes())
        m_listPrevSelect.AddTail(shape);
    // Hidden shapes are never taken into a selection of a whole set.
    CFOTypedShapeObList list;
    for (CFODrawShape* shape : shapes)
        if (shape && shape->IsVisible() && pred(shape) && list.Find(shape) < 0)
            list.AddTail(shape);
    DoCorrectTabOrder(list);
    SelectShapes(list);
    SyncFormatBar();
}

void CPlexdraftView::SelectAllLabels(const FOPContainer& shapes)
{
    SelectWhere(shapes,
                [](CFODrawShape* shape) { return dynamic_cast<CFOPSimpleLabelShape*>(shape) != nullptr; });
}

void CPlexdraftView::SelectAllLinks(const FOPContainer& shapes)
{
    SelectWhere(shapes, IsLinkShape);
}

void CPlexdraftView::SelectAllShapes(const FOPContainer& shapes)
{
    SelectWhere(shapes, [](CFODrawShape* shape) { return !IsLinkShape(shape) && !IsStaticLabel(shape); });
}

void CPlexdraftView::SelectAllShapesAndLinks(const FOPContainer& shapes)
{
    SelectWhere(shapes, [](CFODrawShape* shape) { return !IsStaticLabel(shape); });
}

void CPlexdraftView::DoWhenClickAddi(UINT nId)
{
    switch (nId)
    {
    case FO_ADDI_KEY_VALUE:
    case FO_ADDI_CONNECT:
        OnConnectParam();
        break;
    case ID_ADDI_EVENTS:
        DoShowEventPropDlgForSelection();
        break;
    default:
        CFOScriptView::DoWhenClickAddi(nId);
        break;
    }
}

// --- Import SVG File ----------------------------------------------------------------------------------

void CPlexdraftView::OnImportSvg()
{
    CFODataModel* model = GetCurrentModel();
    if (!model)
        return;
    // File must exist, read-only box hidden.
    CFileDialog dlg(TRUE, L"SVG Shapes", L"*.svg", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    L"Import SVG Files (*.svg)|*.svg||", this);
    if (dlg.DoModal() != IDOK)
        return;
    const CString path = dlg.GetPathName();
    // Only what the import adds is placed and undone; the screen's own shapes stay where they are.
    CFODrawShapeSet* shapes = model->GetShapes();
    const std::vector<CFODrawShape*> before(shapes->begin(), shapes->end());
    const auto added = [&]
    {
        std::vector<CFODrawShape*> list;
        for (CFODrawShape* shape : *shapes)
            if (std::find(before.begin(), before.end(), shape) == before.end())
                list.push_back(shape);
        return list;
    };
    {
        CWaitCursor wait;
        auto convert = std::make_unique<CFOPSvgConvert>(model, path);
        convert->ImportToModel();
        convert->DeleteTempFile();
    }
    std::vector<CFODrawShape*> imported = added();
    if (imported.empty())
        return;
    BOOL bUngrouped = FALSE;
    auto* group = imported.size() == 1 ? dynamic_cast<CFOGroupShape*>(imported.front()) : nullptr;
    if (group && group->GetCompCount() < 40)
    {
        CFOTypedShapeObList none;
        CFOGroupAction ungroup(model, group, none, FALSE);
        bUngrouped = ungroup.Execute();
        imported = added();
    }
    else if (imported.size() != 1)
        ClearSelection();
    // A small drawing that came as one group lands with its top-left corner at 100, 100.
    CSize offset(100, 100);
    if (imported.size() < 40 && bUngrouped)
    {
        CRect total;
        total.SetRectEmpty();
        for (CFODrawShape* shape : imported)
            total |= shape->GetSnapRect();
        offset = CSize(100 - total.left, 100 - total.top);
    }
    // One undo step takes the whole import out again.
    auto action = std::make_unique<CFOAddRemoveAction>(model, L"Import SVG", TRUE);
    for (CFODrawShape* shape : imported)
    {
        shape->OffsetShape(offset);
        action->AddShape(shape, shapes->Find(shape));
    }
    if (model->Do(action.get(), FALSE))
        action.release();
    InvalidateCanvas();
    model->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnUpdateImportSvg(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}
