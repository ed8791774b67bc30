#include "figkit/FOAction.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOWndControlShape.h"

#include <algorithm>

// --- CFOPropAction ---------------------------------------------------------------------------------

CFOPropAction::CFOPropAction(CFODataModel* pModel) : CFOAction(pModel, L"Property Change") {}

void CFOPropAction::AddEntry(int nPropId, const FO_VALUE& value, const FOPContainer& shapes)
{
    Entry e;
    e.nPropId = nPropId;
    e.value = value;
    for (CFODrawShape* shape : shapes)
        if (shape)
            e.shapes.push_back(Target{shape, {}, FALSE});
    m_entries.push_back(std::move(e));
}

void CFOPropAction::AddEntry(int nPropId, const FO_VALUE& value, CFODrawShape* pShape)
{
    CFOTypedShapeObList list;
    list.AddTail(pShape);
    AddEntry(nPropId, value, list);
}

void CFOPropAction::AddModelEntry(int nPropId, const FO_VALUE& value)
{
    Entry e;
    e.nPropId = nPropId;
    e.value = value;
    e.bModel = TRUE;
    m_entries.push_back(std::move(e));
}

BOOL CFOPropAction::Execute()
{
    if (m_entries.empty())
        return FALSE;
    for (Entry& e : m_entries)
    {
        if (e.bModel)
        {
            if (!m_pModel)
                return FALSE;
            e.bModelHadOld = m_pModel->GetPropValue(e.modelOld, e.nPropId);
            m_pModel->PutPropValue(e.nPropId, e.value);
            continue;
        }
        for (Target& t : e.shapes)
        {
            t.bHadOld = t.pShape->GetPropValue(t.old, e.nPropId);
            t.pShape->PutPropValue(e.nPropId, e.value);
        }
    }
    if (m_pModel)
        m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOPropAction::Unexecute()
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
    {
        Entry& e = *it;
        if (e.bModel)
        {
            if (e.bModelHadOld)
                m_pModel->PutPropValue(e.nPropId, e.modelOld);
            continue;
        }
        for (Target& t : e.shapes)
        {
            if (t.bHadOld)
                t.pShape->PutPropValue(e.nPropId, t.old);
            else if (t.pShape->RemoveProperty(e.nPropId))
                t.pShape->UpdateControl();
        }
    }
    if (m_pModel)
        m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

void CFOPropAction::GetShapes(CFOTypedShapeObList& list) const
{
    for (const Entry& e : m_entries)
        for (const Target& t : e.shapes)
            if (list.Find(t.pShape) < 0)
                list.AddTail(t.pShape);
}

// --- CFOGeometryAction -----------------------------------------------------------------------------

CFOGeometryAction::CFOGeometryAction(CFODataModel* pModel, const CString& strLabel, int nMergeId)
    : CFOAction(pModel, strLabel), m_nMergeId(nMergeId)
{
}

void CFOGeometryAction::Begin(const FOPContainer& shapes)
{
    m_items.clear();
    for (CFODrawShape* shape : shapes)
        if (shape)
            m_items.push_back(Item{shape, CFOShapePtr<CFODrawShape>(shape->Copy()), nullptr});
}

BOOL CFOGeometryAction::End()
{
    BOOL changed = FALSE;
    for (Item& item : m_items)
    {
        item.pAfter = item.pShape->Copy();
        if (!item.pShape->IsSameGeometry(*item.pBefore))
            changed = TRUE;
    }
    return changed;
}

BOOL CFOGeometryAction::Execute()
{
    for (Item& item : m_items)
        if (item.pAfter)
            item.pShape->CopyGeometryFrom(*item.pAfter);
    if (m_pModel)
        m_pModel->SetModifiedFlag(TRUE);
    return !m_items.empty();
}

BOOL CFOGeometryAction::Unexecute()
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        it->pShape->CopyGeometryFrom(*it->pBefore);
    if (m_pModel)
        m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOGeometryAction::MergeWith(const CFOAction& next)
{
    const auto* other = dynamic_cast<const CFOGeometryAction*>(&next);
    if (!other || other->m_nMergeId != m_nMergeId || m_nMergeId == FO_ACTION_NOMERGE ||
        other->m_items.size() != m_items.size())
        return FALSE;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].pShape != other->m_items[i].pShape)
            return FALSE;
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i].pAfter = other->m_items[i].pAfter;
    return TRUE;
}

void CFOGeometryAction::GetShapes(CFOTypedShapeObList& list) const
{
    for (const Item& item : m_items)
        list.AddTail(item.pShape);
}

// --- CFOAddRemoveAction ----------------------------------------------------------------------------

CFOAddRemoveAction::CFOAddRemoveAction(CFODataModel* pModel, const CString& strLabel, BOOL bInsert)
    : CFOAction(pModel, strLabel), m_bInsert(bInsert)
{
}

void CFOAddRemoveAction::AddShape(CFODrawShape* pShape, int nIndex)
{
    if (pShape)
        m_items.push_back(Item{pShape, nIndex});
}

BOOL CFOAddRemoveAction::Insert()
{
    if (!m_pModel || m_items.empty())
        return FALSE;
    // Lower places first, so each lands where it was.
    std::vector<Item*> order;
    for (Item& item : m_items)
        order.push_back(&item);
    std::stable_sort(order.begin(), order.end(),
                     [](const Item* a, const Item* b)
                     {
                         const int ia = a->nIndex < 0 ? INT_MAX : a->nIndex;
                         const int ib = b->nIndex < 0 ? INT_MAX : b->nIndex;
                         return ia < ib;
                     });
    for (Item* item : order)
    {
        if (item->pShape->GetModel() == m_pModel && m_pModel->GetShapes()->Find(item->pShape) >= 0)
            continue;
        if (item->nIndex < 0 || item->nIndex > m_pModel->GetShapeCount())
            m_pModel->InsertShape(item->pShape);
        else
            m_pModel->InsertShapeAt(item->nIndex, item->pShape);
    }
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOAddRemoveAction::Remove()
{
    if (!m_pModel || m_items.empty())
        return FALSE;
    for (Item& item : m_items)
        item.nIndex = m_pModel->GetShapes()->Find(item.pShape);
    // Higher places first, so the lower ones stay where they were read.
    std::vector<Item*> order;
    for (Item& item : m_items)
        order.push_back(&item);
    std::stable_sort(order.begin(), order.end(),
                     [](const Item* a, const Item* b) { return a->nIndex > b->nIndex; });
    for (Item* item : order)
        if (item->nIndex >= 0)
            m_pModel->RemoveShape(item->pShape);
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOAddRemoveAction::Execute()
{
    return m_bInsert ? Insert() : Remove();
}

BOOL CFOAddRemoveAction::Unexecute()
{
    return m_bInsert ? Remove() : Insert();
}

void CFOAddRemoveAction::GetShapes(CFOTypedShapeObList& list) const
{
    for (const Item& item : m_items)
        list.AddTail(item.pShape);
}

// --- CFOGroupAction --------------------------------------------------------------------------------

CFOGroupAction::CFOGroupAction(CFODataModel* pModel, CFOCompositeShape* pComp, const FOPContainer& shapes,
                               BOOL bGroup)
    : CFOAction(pModel, bGroup ? L"Group" : L"Ungroup"), m_pComp(pComp), m_bGroup(bGroup)
{
    for (CFODrawShape* shape : shapes)
        m_shapes.emplace_back(shape);
}

CFOCompositeShape* CFOGroupAction::GetComposite() const
{
    return static_cast<CFOCompositeShape*>(m_pComp.Get());
}

BOOL CFOGroupAction::DoGroup()
{
    if (!m_pModel || m_shapes.empty())
        return FALSE;
    // In model order, so the children keep their stacking.
    std::vector<std::pair<int, CFODrawShape*>> placed;
    for (auto& shape : m_shapes)
    {
        const int index = m_pModel->GetShapes()->Find(shape);
        if (index < 0)
            return FALSE;
        placed.emplace_back(index, shape.Get());
    }
    std::sort(placed.begin(), placed.end());
    m_indexes.clear();
    m_shapes.clear();
    for (auto& p : placed)
    {
        m_indexes.push_back(p.first);
        m_shapes.emplace_back(p.second);
    }
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it)
        m_pModel->RemoveShape(*it);
    CFOCompositeShape* comp = GetComposite();
    comp->RemoveAllShapes();
    for (auto& shape : m_shapes)
        comp->AddShape(shape);
    comp->UpdateComp();
    // The group takes the place of the topmost of its shapes.
    m_nCompIndex = m_indexes.back() - int(m_indexes.size()) + 1;
    m_pModel->InsertShapeAt(m_nCompIndex, comp);
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOGroupAction::DoUngroup()
{
    CFOCompositeShape* comp = GetComposite();
    if (!m_pModel || !comp)
        return FALSE;
    const int compIndex = m_pModel->GetShapes()->Find(comp);
    if (compIndex < 0)
        return FALSE;
    if (m_indexes.empty())
    {
        // First ungrouping: the children take the composite's place, in their order.
        m_shapes.clear();
        for (CFODrawShape* child : comp->GetCompList())
            m_shapes.emplace_back(child);
        for (size_t i = 0; i < m_shapes.size(); ++i)
            m_indexes.push_back(compIndex + int(i));
    }
    m_pModel->RemoveShape(comp);
    comp->RemoveAllShapes();
    for (size_t i = 0; i < m_shapes.size(); ++i)
        m_pModel->InsertShapeAt(m_indexes[i], m_shapes[i]);
    m_nCompIndex = compIndex;
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CFOGroupAction::Execute()
{
    return m_bGroup ? DoGroup() : DoUngroup();
}

BOOL CFOGroupAction::Unexecute()
{
    return m_bGroup ? DoUngroup() : DoGroup();
}

void CFOGroupAction::GetShapes(CFOTypedShapeObList& list) const
{
    if (m_pModel && m_pModel->GetShapes()->Find(m_pComp) >= 0)
        list.AddTail(m_pComp);
    else
        for (const auto& shape : m_shapes)
            list.AddTail(shape);
}

// --- CFOOrderAction --------------------------------------------------------------------------------

CFOOrderAction::CFOOrderAction(CFODataModel* pModel, const CString& strLabel,
                               const std::vector<CFODrawShape*>& after)
    : CFOAction(pModel, strLabel)
{
    for (CFODrawShape* shape : *pModel->GetShapes())
        m_before.emplace_back(shape);
    for (CFODrawShape* shape : after)
        m_after.emplace_back(shape);
}

namespace
{
std::vector<CFODrawShape*> Plain(const std::vector<CFOShapePtr<CFODrawShape>>& list)
{
    std::vector<CFODrawShape*> out;
    for (const auto& p : list)
        out.push_back(p.Get());
    return out;
}
} // namespace

BOOL CFOOrderAction::Execute()
{
    return m_pModel && m_pModel->SetShapeOrder(Plain(m_after));
}

BOOL CFOOrderAction::Unexecute()
{
    return m_pModel && m_pModel->SetShapeOrder(Plain(m_before));
}

// --- CFOUndoHistory --------------------------------------------------------------------------------

// --- CFOControlStateAction -----------------------------------------------------------------------

CFOControlStateAction::CFOControlStateAction(CFODataModel* pModel, CFODrawShape* pShape,
                                             std::vector<BYTE> before, std::vector<BYTE> after)
    : CFOAction(pModel, L"Properties"), m_pShape(pShape), m_before(std::move(before)),
      m_after(std::move(after))
{
}

BOOL CFOControlStateAction::Apply(const std::vector<BYTE>& state)
{
    auto* control = dynamic_cast<CFOWndControlShape*>(m_pShape.Get());
    if (!control)
        return FALSE;
    control->SetControlState(state);
    return TRUE;
}

BOOL CFOControlStateAction::Execute()
{
    return Apply(m_after);
}

BOOL CFOControlStateAction::Unexecute()
{
    return Apply(m_before);
}

void CFOControlStateAction::GetShapes(CFOTypedShapeObList& list) const
{
    if (m_pShape)
        list.AddTail(m_pShape.Get());
}

BOOL CFOUndoHistory::Do(CFOAction* pAction, BOOL bExecute)
{
    if (!pAction)
        return FALSE;
    if (bExecute && !pAction->Execute())
        return FALSE;
    m_redo.clear();
    if (m_nCleanIndex > int(m_undo.size()))
        m_nCleanIndex = -1;
    // A step recorded after the fact (a drag the canvas already made) changed the screen too.
    if (m_pModel)
        m_pModel->SetModifiedFlag(TRUE);
    // The saved state cannot be one step into a merged move.
    if (m_bMergeOpen && !m_undo.empty() && pAction->GetMergeId() != FO_ACTION_NOMERGE &&
        m_nCleanIndex != int(m_undo.size()) && m_undo.back()->GetMergeId() == pAction->GetMergeId() &&
        m_undo.back()->MergeWith(*pAction))
    {
        delete pAction;
        if (m_pModel)
            m_pModel->DoActionChange(m_undo.back().get());
        return TRUE;
    }
    m_undo.emplace_back(pAction);
    m_bMergeOpen = TRUE;
    if (m_pModel)
        m_pModel->DoActionChange(pAction);
    return TRUE;
}

BOOL CFOUndoHistory::Undo()
{
    if (m_undo.empty())
        return FALSE;
    std::unique_ptr<CFOAction> action = std::move(m_undo.back());
    m_undo.pop_back();
    action->Unexecute();
    m_redo.push_back(std::move(action));
    m_bMergeOpen = FALSE;
    if (m_pModel)
    {
        m_pModel->SetModifiedFlag(!IsClean());
        m_pModel->DoActionChange(m_redo.back().get());
    }
    return TRUE;
}

BOOL CFOUndoHistory::Redo()
{
    if (m_redo.empty())
        return FALSE;
    std::unique_ptr<CFOAction> action = std::move(m_redo.back());
    m_redo.pop_back();
    action->Execute();
    m_undo.push_back(std::move(action));
    m_bMergeOpen = FALSE;
    if (m_pModel)
    {
        m_pModel->SetModifiedFlag(!IsClean());
        m_pModel->DoActionChange(m_undo.back().get());
    }
    return TRUE;
}

int CFOUndoHistory::UndoMacro(int nSteps)
{
    int done = 0;
    while (done < nSteps && Undo())
        ++done;
    return done;
}

int CFOUndoHistory::RedoMacro(int nSteps)
{
    int done = 0;
    while (done < nSteps && Redo())
        ++done;
    return done;
}

void CFOUndoHistory::GetUndoActionText(CStringArray& list) const
{
    list.RemoveAll();
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it)
        list.Add((*it)->GetLabel());
}

void CFOUndoHistory::GetRedoActionText(CStringArray& list) const
{
    list.RemoveAll();
    for (auto it = m_redo.rbegin(); it != m_redo.rend(); ++it)
        list.Add((*it)->GetLabel());
}

void CFOUndoHistory::SetClean()
{
    m_nCleanIndex = int(m_undo.size());
    m_bMergeOpen = FALSE;
}

void CFOUndoHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    m_nCleanIndex = 0;
}
