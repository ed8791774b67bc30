// The design-mode half of the canvas: selection, handles, tracking, tools, edit commands, grid and
// rulers.
#include "figkit/FOAction.h"
#include "figkit/FOClipboard.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOPVisualProxy.h"
#include "figkit/FOToolBoxPage.h"
#include "figkit/FOWndControlShape.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
// Makes a change of the shapes' geometry and records it as one undo step (none when nothing moved).
template <class F>
void RecordGeometry(CFODataModel* pModel, const FOPContainer& shapes, LPCWSTR lpszLabel, int nMergeId,
                    F&& change)
{
    auto action = std::make_unique<CFOGeometryAction>(pModel, lpszLabel, nMergeId);
    action->Begin(shapes);
    change();
    if (action->End())
        pModel->Do(action.release(), FALSE);
}

constexpr int kHandleHalf = 3;
constexpr int kRotateGap = 20;
constexpr int kAddiSize = FO_ADDI_SIZE;
// The room that the size text under a tracked rectangle takes, in canvas units.
constexpr int kTrackTextWidth = 260;
constexpr int kTrackTextHeight = 24;

CPoint CenterOf(const CRect& rc)
{
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

BOOL IsShiftDown(UINT nFlags)
{
    return (nFlags & MK_SHIFT) != 0 || (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}
} // namespace

// --- Selection ---------------------------------------------------------------------------------------

void CFOPCanvasCore::SelectionChanged()
{
    m_addiItems.clear();
    if (!m_listSelect.IsEmpty())
        DoGenInitItems();
    if (m_pModel && m_pModel->GetUndoHistory())
        m_pModel->GetUndoHistory()->BreakMerge();
    NotifyFrame(FOP_WM_VIEW_UPDATE, FOP_VIEW_UPDATE_SELECTION);
}

void CFOPCanvasCore::AddToSelection(CFODrawShape* pShape)
{
    if (!pShape || IsSelected(pShape))
        return;
    m_listSelect.AddTail(pShape);
    SelectionChanged();
    InvalidateSelection();
}

void CFOPCanvasCore::RemoveFromSelection(CFODrawShape* pShape)
{
    if (!pShape || !IsSelected(pShape))
        return;
    InvalidateSelection();
    m_listSelect.Remove(pShape);
    InvalidateShape(pShape);
    SelectionChanged();
    InvalidateSelection();
}

void CFOPCanvasCore::ClearSelection()
{
    if (m_listSelect.IsEmpty())
        return;
    InvalidateSelection();
    m_listSelect.RemoveAll();
    SelectionChanged();
}

void CFOPCanvasCore::SelectShapes(const FOPContainer& shapes)
{
    InvalidateSelection();
    m_listSelect.RemoveAll();
    for (CFODrawShape* shape : shapes)
        if (shape && m_pModel && m_pModel->GetShapes()->Find(shape) >= 0 && !IsSelected(shape))
            m_listSelect.AddTail(shape);
    InvalidateSelection();
    SelectionChanged();
}

void CFOPCanvasCore::SelectAll()
{
    if (m_pModel)
        SelectShapes(*m_pModel->GetShapes());
}

void CFOPCanvasCore::DoCorrectTabOrder(CFOTypedShapeObList& list)
{
    if (!m_pModel)
        return;
    std::vector<CFODrawShape*> shapes(list.begin(), list.end());
    const FOPContainer& all = *m_pModel->GetShapes();
    std::stable_sort(shapes.begin(), shapes.end(),
                     [&all](CFODrawShape* a, CFODrawShape* b)
                     {
                         const int ia = all.Find(a);
                         const int ib = all.Find(b);
                         return (ia < 0 ? INT_MAX : ia) < (ib < 0 ? INT_MAX : ib);
                     });
    list.RemoveAll();
    for (CFODrawShape* shape : shapes)
        list.AddTail(shape);
}

void CFOPCanvasCore::SelectInRect(const CRect& rcCanvas, BOOL bAdd)
{
    if (!m_pModel)
        return;
    CRect rc = rcCanvas;
    rc.NormalizeRect();
    CFOTypedShapeObList list;
    if (bAdd)
        for (CFODrawShape* shape : m_listSelect)
            list.AddTail(shape);
    for (CFODrawShape* shape : *m_pModel->GetShapes())
    {
        if (!shape->IsVisible() || list.Find(shape) >= 0)
            continue;
        const CRect box = shape->GetDrawRect();
        CRect meet;
        const BOOL hit =
            m_bSelectWithin ? (rc.PtInRect(box.TopLeft()) && box.right <= rc.right && box.bottom <= rc.bottom)
                            : meet.IntersectRect(&rc, &box);
        if (hit)
            list.AddTail(shape);
    }
    SelectShapes(list);
}

void CFOPCanvasCore::DoGenInitItems()
{
    AddSelectHandleItem(FO_ADDI_KEY_VALUE, FO_ADDI_DRAW_KEY_VALUE);
    AddSelectHandleItem(FO_ADDI_CONNECT, FO_ADDI_DRAW_CONNECT);
}

BOOL CFOPCanvasCore::DoEditControlProperties(CFOWndControlShape* pShape)
{
    if (!m_pModel || !pShape || !pShape->HasPropertyPages())
        return FALSE;
    std::vector<BYTE> before = pShape->GetControlState();
    if (!pShape->OnEditProperties(nullptr))
        return TRUE;
    std::vector<BYTE> after = pShape->GetControlState();
    if (after == before)
        return TRUE;
    // The pages changed the control already: the step is recorded as done.
    auto* action = new CFOControlStateAction(m_pModel, pShape, std::move(before), std::move(after));
    if (!m_pModel->Do(action, FALSE))
        delete action;
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}

int CFOPCanvasCore::HitSelectHandleItem(CPoint ptClient) const
{
    for (int i = 0; i < int(m_addiItems.size()); ++i)
        if (GetSelectHandleItemRect(i).PtInRect(ptClient))
            return i;
    return -1;
}

CString CFOPCanvasCore::GetSelectHandleItemTip(CPoint ptClient) const
{
    CString tip;
    const int i = HitSelectHandleItem(ptClient);
    if (i >= 0)
        CFOPVisualProxy::GetInstance()->DoGenAddiToolTips(tip, m_addiItems[size_t(i)].GetId());
    return tip;
}

void CFOPCanvasCore::DrawSelectHandleItems(CDC* pDC)
{
    CFOPVisualProxy* proxy = CFOPVisualProxy::GetInstance();
    for (int i = 0; i < int(m_addiItems.size()); ++i)
        proxy->DoDrawAddiWithType(pDC, GetSelectHandleItemRect(i).TopLeft(),
                                  m_addiItems[size_t(i)].GetDrawType());
}

void CFOPCanvasCore::GetShapeHandles(CFODrawShape* pShape, CFOPHandleList& list) const
{
    list.RemoveAll();
    if (!pShape)
        return;
    const CRect rc = pShape->GetDrawRect();
    const CPoint c = CenterOf(rc);
    const CPoint pts[8] = {
        rc.TopLeft(),     CPoint(c.x, rc.top),    CPoint(rc.right, rc.top),   CPoint(rc.right, c.y),
        rc.BottomRight(), CPoint(c.x, rc.bottom), CPoint(rc.left, rc.bottom), CPoint(rc.left, c.y)};
    if (!pShape->IsResizeProtect())
        for (int i = 0; i < 8; ++i)
            list.AddHandle(CFOPHandle(FOPPoint(pts[i].x, pts[i].y), i), 0);
    if (!pShape->IsRotateProtect())
        list.AddHandle(CFOPHandle(FOPPoint(c.x, rc.top), FO_HANDLE_ROTATE), 1);
}

int CFOPCanvasCore::HitHandle(CPoint ptClient, CFODrawShape** ppShape) const
{
    for (CFODrawShape* shape : m_listSelect)
    {
        CFOPHandleList list;
        GetShapeHandles(shape, list);
        for (int i = 0; i < list.GetCount(); ++i)
        {
            const CFOPHandle& h = list.GetAt(i);
            CPoint pt = CanvasToClient(CPoint(int(h.m_pt.x), int(h.m_pt.y)));
            if (h.m_nKind == FO_HANDLE_ROTATE)
                pt.y -= kRotateGap;
            if (std::abs(ptClient.x - pt.x) <= kHandleHalf + 1 &&
                std::abs(ptClient.y - pt.y) <= kHandleHalf + 1)
            {
                *ppShape = shape;
                return h.m_nKind;
            }
        }
    }
    return -1;
}

// --- Tools -------------------------------------------------------------------------------------------

void CFOPCanvasCore::SetCurrentDrawShape(UINT nType, int nDrawAction, int nSubKind, UINT nCursorId)
{
    FinishAllBox();
    m_nDrawShapeType = nType;
    m_nDrawAction = nDrawAction;
    m_nDrawSubKind = nSubKind;
    m_nDrawCursor = nCursorId;
    if (nType != FO_CUSTOM_SHAPE_TYPE)
    {
        m_nCustomShapeId = 0;
        m_customPorts.clear();
    }
}

void CFOPCanvasCore::StartCustomShapeID(UINT nCustomId)
{
    SetCurrentDrawShape(FO_CUSTOM_SHAPE_TYPE, FO_TRACK_CREATE, 0, 0);
    m_nCustomShapeId = nCustomId;
    m_customPorts.clear();
}

void CFOPCanvasCore::AddShapePort(double fx, double fy)
{
    m_customPorts.emplace_back(fx, fy);
}

void CFOPCanvasCore::FinishAllBox()
{
    EndTextEdit(TRUE);
    if (m_nAction != FO_TRACK_NONE)
        InvalidateTracking();
    m_nAction = FO_TRACK_NONE;
    m_pTrackShape.Reset();
    m_nHandle = -1;
    m_nDrawShapeType = 0;
    m_nDrawAction = 0;
    m_nDrawSubKind = 0;
}

CFODrawShape* CFOPCanvasCore::CreateToolShape(const CRect& rcIn, CFOToolBoxItem* pItem)
{
    if (!m_pModel)
        return nullptr;
    CRect rc = rcIn;
    rc.NormalizeRect();
    UINT type = m_nDrawShapeType;
    if (type == FO_CUSTOM_SHAPE_TYPE)
        type = FO_COMP_RECTANGLE;
    CFOShapePtr<CFODrawShape> shape =
        CFOShapePtr<CFODrawShape>::Adopt(m_pModel->DoCreateShapeByType(type, rc, CString(), pItem));
    if (!shape)
    {
        // Types the factory does not make are polygons through the rectangle's corners.
        const int before = m_pModel->GetShapeCount();
        CArray<CPoint, CPoint> points;
        points.Add(rc.TopLeft());
        points.Add(CPoint(rc.right, rc.top));
        points.Add(rc.BottomRight());
        points.Add(CPoint(rc.left, rc.bottom));
        m_pModel->AddPolygonShape(type, points);
        if (m_pModel->GetShapeCount() != before + 1)
            return nullptr;
        CFODrawShape* added = m_pModel->GetShapes()->GetTail();
        auto* action = new CFOAddRemoveAction(m_pModel, L"New Shape", TRUE);
        action->AddShape(added, before);
        m_pModel->Do(action, FALSE);
        return added;
    }
    for (const auto& port : m_customPorts)
        shape->CreateDefaultPort(port.first, port.second);
    m_pModel->DoInitCreateShape(shape);
    auto* action = new CFOAddRemoveAction(m_pModel, L"New Shape", TRUE);
    action->AddShape(shape);
    if (!DoAction(action))
        return nullptr;
    return shape;
}

CFODrawShape* CFOPCanvasCore::DoDropToolBoxItem(UINT nType, CPoint ptCanvas, CFOToolBoxItem* pItem)
{
    if (!m_pModel)
        return nullptr;
    CRect rc(ptCanvas, ptCanvas);
    if (pItem && pItem->GetDefaultSize().cx > 0)
    {
        const CSize size = pItem->GetDefaultSize();
        rc = CRect(CPoint(ptCanvas.x - size.cx / 2, ptCanvas.y - size.cy / 2), size);
    }
    const UINT armed = m_nDrawShapeType;
    m_nDrawShapeType = nType;
    CFODrawShape* shape = CreateToolShape(rc, pItem);
    m_nDrawShapeType = armed;
    if (shape)
    {
        CFOTypedShapeObList list;
        list.AddTail(shape);
        SelectShapes(list);
    }
    return shape;
}

// --- Mouse in design mode ----------------------------------------------------------------------------

void CFOPCanvasCore::DesignLButtonDown(UINT nFlags, CPoint pt, CPoint ptClient)
{
    if (!m_pModel)
        return;
    // A click beside the edit box keeps what was typed.
    EndTextEdit(TRUE);
    m_ptDown = m_ptLast = pt;
    if (m_nDrawShapeType != 0)
    {
        m_nAction = FO_TRACK_CREATE;
        m_ptDown = m_ptLast = SnapPoint(pt);
        return;
    }
    if (const int addi = HitSelectHandleItem(ptClient); addi >= 0)
    {
        DoWhenClickAddi(m_addiItems[size_t(addi)].GetId());
        return;
    }
    CFODrawShape* handleShape = nullptr;
    const int handle = HitHandle(ptClient, &handleShape);
    if (handle >= 0 && !handleShape->IsLock())
    {
        m_pTrackShape = handleShape;
        m_nHandle = handle;
        m_rcTrackStart = handleShape->GetDrawRect();
        m_nAction = handle == FO_HANDLE_ROTATE ? FO_TRACK_ROTATE : FO_TRACK_RESIZE;
        return;
    }
    CFODrawShape* shape = m_pModel->HitTest(pt);
    if (shape)
    {
        if (IsShiftDown(nFlags))
        {
            if (IsSelected(shape))
                RemoveFromSelection(shape);
            else
                AddToSelection(shape);
            m_nAction = FO_TRACK_NONE;
            return;
        }
        if (!IsSelected(shape))
        {
            ClearSelection();
            AddToSelection(shape);
        }
        m_pTrackShape = shape;
        m_nAction = FO_TRACK_MOVE;
        return;
    }
    if (!IsShiftDown(nFlags))
        ClearSelection();
    m_nAction = FO_TRACK_RUBBERBAND;
}

void CFOPCanvasCore::DesignMouseMove(UINT, CPoint pt)
{
    if (m_nAction == FO_TRACK_NONE)
        return;
    const CPoint next =
        (m_nAction == FO_TRACK_RUBBERBAND || m_nAction == FO_TRACK_ROTATE) ? pt : SnapPoint(pt);
    if (next == m_ptLast)
        return;
    InvalidateTracking();
    m_ptLast = next;
    InvalidateTracking();
}

namespace
{
// The rectangle a resize handle makes of rc when dragged to pt.
CRect ResizedRect(const CRect& rc, int nHandle, CPoint pt)
{
    CRect out = rc;
    switch (nHandle)
    {
    case FO_HANDLE_TOPLEFT:
        out.left = pt.x;
        out.top = pt.y;
        break;
    case FO_HANDLE_TOP:
        out.top = pt.y;
        break;
    case FO_HANDLE_TOPRIGHT:
        out.right = pt.x;
        out.top = pt.y;
        break;
    case FO_HANDLE_RIGHT:
        out.right = pt.x;
        break;
    case FO_HANDLE_BOTTOMRIGHT:
        out.right = pt.x;
        out.bottom = pt.y;
        break;
    case FO_HANDLE_BOTTOM:
        out.bottom = pt.y;
        break;
    case FO_HANDLE_BOTTOMLEFT:
        out.left = pt.x;
        out.bottom = pt.y;
        break;
    case FO_HANDLE_LEFT:
        out.left = pt.x;
        break;
    default:
        break;
    }
    out.NormalizeRect();
    return out;
}

int RotationAngle(const CRect& rc, CPoint pt)
{
    const CPoint c = CenterOf(rc);
    const double dx = pt.x - c.x;
    const double dy = pt.y - c.y;
    if (dx == 0 && dy == 0)
        return 0;
    // Straight up is no turn; clockwise on the screen is positive.
    const double deg = std::atan2(dx, -dy) * 180.0 / M_PI;
    return int(std::lround(deg));
}
} // namespace

CRect CFOPCanvasCore::GetTrackRect() const
{
    switch (m_nAction)
    {
    case FO_TRACK_RUBBERBAND:
    case FO_TRACK_CREATE:
    {
        CRect rc(m_ptDown, m_ptLast);
        rc.NormalizeRect();
        return rc;
    }
    case FO_TRACK_MOVE:
    {
        CRect rc;
        for (CFODrawShape* shape : m_listSelect)
        {
            CRect box = shape->GetMaxRect();
            rc.UnionRect(&rc, &box);
        }
        CRect moved = rc;
        moved.OffsetRect(m_ptLast.x - m_ptDown.x, m_ptLast.y - m_ptDown.y);
        rc.UnionRect(&rc, &moved);
        return rc;
    }
    case FO_TRACK_RESIZE:
    {
        CRect rc = ResizedRect(m_rcTrackStart, m_nHandle, m_ptLast);
        rc.UnionRect(&rc, &m_rcTrackStart);
        return rc;
    }
    case FO_TRACK_ROTATE:
    {
        CRect rc = m_rcTrackStart;
        const int r = int(std::hypot(rc.Width(), rc.Height()) / 2) + 2;
        const CPoint c = CenterOf(rc);
        return CRect(c.x - r, c.y - r, c.x + r, c.y + r);
    }
    default:
        return CRect();
    }
}

void CFOPCanvasCore::InvalidateTracking()
{
    CRect rc = GetTrackRect();
    if (rc.IsRectNull())
        return;
    // Room for the size text under the rectangle.
    if (m_nAction == FO_TRACK_CREATE || m_nAction == FO_TRACK_RESIZE)
        rc |= CRect(rc.left, rc.bottom, rc.left + kTrackTextWidth, rc.bottom + kTrackTextHeight);
    InvalidateCanvasRect(rc);
}

void CFOPCanvasCore::DesignLButtonUp(UINT, CPoint pt)
{
    if (m_nAction == FO_TRACK_NONE || !m_pModel)
        return;
    DesignMouseMove(0, pt);
    InvalidateTracking();
    const int action = m_nAction;
    m_nAction = FO_TRACK_NONE;
    switch (action)
    {
    case FO_TRACK_CREATE:
    {
        CRect rc(m_ptDown, m_ptLast);
        rc.NormalizeRect();
        CFODrawShape* shape = CreateToolShape(rc);
        // One shape per arming: the canvas goes back to selecting.
        FinishAllBox();
        if (shape)
        {
            CFOTypedShapeObList list;
            list.AddTail(shape);
            SelectShapes(list);
        }
        break;
    }
    case FO_TRACK_RUBBERBAND:
        SelectInRect(CRect(m_ptDown, m_ptLast), FALSE);
        break;
    case FO_TRACK_MOVE:
        if (m_ptLast != m_ptDown)
            MoveSelection(CSize(m_ptLast.x - m_ptDown.x, m_ptLast.y - m_ptDown.y));
        break;
    case FO_TRACK_RESIZE:
        if (m_pTrackShape && m_ptLast != m_ptDown)
        {
            CFOTypedShapeObList list;
            list.AddTail(m_pTrackShape);
            RecordGeometry(
                m_pModel, list, L"Resize", FO_ACTION_NOMERGE,
                [&] { m_pTrackShape->PositionShape(ResizedRect(m_rcTrackStart, m_nHandle, m_ptLast)); });
        }
        break;
    case FO_TRACK_ROTATE:
        if (m_pTrackShape)
        {
            const int angle = RotationAngle(m_rcTrackStart, m_ptLast);
            CFOTypedShapeObList list;
            list.AddTail(m_pTrackShape);
            const CPoint c = CenterOf(m_rcTrackStart);
            RecordGeometry(m_pModel, list, L"Rotate", FO_ACTION_NOMERGE,
                           [&] { m_pTrackShape->RotateShape(angle, c.x, c.y); });
        }
        break;
    default:
        break;
    }
    m_pTrackShape.Reset();
    m_nHandle = -1;
    InvalidateSelection();
}

void CFOPCanvasCore::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_pModel || !m_pModel->IsDesignMode())
        return;
    const BOOL shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const BOOL ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int step = m_pModel->IsSnapOn(FO_SNAP_GRID) ? int(m_dGridX) : 1;
    CSize delta(0, 0);
    switch (nChar)
    {
    case VK_LEFT:
        delta.cx = -step;
        break;
    case VK_RIGHT:
        delta.cx = step;
        break;
    case VK_UP:
        delta.cy = -step;
        break;
    case VK_DOWN:
        delta.cy = step;
        break;
    case VK_DELETE:
        DeleteSelection();
        return;
    case VK_ESCAPE:
        FinishAllBox();
        return;
    default:
        return;
    }
    if (ctrl && (nChar == VK_LEFT || nChar == VK_RIGHT))
        RotateSelection(nChar == VK_LEFT ? -15 : 15);
    else if (shift)
        ResizeSelection(delta);
    else
        MoveSelection(delta, TRUE);
}

// --- Edit commands -----------------------------------------------------------------------------------

BOOL CFOPCanvasCore::DoAction(CFOAction* pAction)
{
    if (!m_pModel || !pAction)
    {
        delete pAction;
        return FALSE;
    }
    if (!m_pModel->Do(pAction, TRUE))
    {
        delete pAction;
        return FALSE;
    }
    return TRUE;
}

void CFOPCanvasCore::GetUnlockedSelection(CFOTypedShapeObList& list) const
{
    for (CFODrawShape* shape : m_listSelect)
        if (!shape->IsLock())
            list.AddTail(shape);
}

void CFOPCanvasCore::DeleteSelection()
{
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    if (list.IsEmpty() || !m_pModel)
        return;
    auto* action = new CFOAddRemoveAction(m_pModel, L"Delete", FALSE);
    for (CFODrawShape* shape : list)
        action->AddShape(shape);
    DoAction(action);
}

void CFOPCanvasCore::GroupSelection()
{
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    if (list.Count() < 2 || !m_pModel)
        return;
    DoCorrectTabOrder(list);
    CFOShapePtr<CFOCompositeShape> comp(new CFOCompositeShape);
    comp->SetObjectName(m_pModel->GetUniqueName(FO_COMP_COMPOSITE));
    DoInitCompositeShape(comp);
    auto* action = new CFOGroupAction(m_pModel, comp, list, TRUE);
    if (DoAction(action))
    {
        CFOTypedShapeObList sel;
        sel.AddTail(comp);
        SelectShapes(sel);
    }
}

void CFOPCanvasCore::UngroupSelection()
{
    if (!m_pModel)
        return;
    CFOTypedShapeObList children;
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    for (CFODrawShape* shape : list)
    {
        auto* comp = dynamic_cast<CFOCompositeShape*>(shape);
        if (!comp || comp->GetCompCount() == 0 || comp->GetType() != FO_COMP_COMPOSITE)
            continue;
        CFOTypedShapeObList none;
        auto* action = new CFOGroupAction(m_pModel, comp, none, FALSE);
        if (DoAction(action))
            action->GetShapes(children);
    }
    if (!children.IsEmpty())
        SelectShapes(children);
}

void CFOPCanvasCore::MoveSelection(CSize offset, BOOL bMerge)
{
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    if (list.IsEmpty() || !m_pModel || (offset.cx == 0 && offset.cy == 0))
        return;
    if (m_pModel->IsPointLimitWithPage())
    {
        // The moved shapes stay on the page.
        CRect box;
        for (CFODrawShape* shape : list)
        {
            CRect rc = shape->GetDrawRect();
            box.UnionRect(&box, &rc);
        }
        const CRect page = m_pModel->GetPagePosition();
        offset.cx = std::clamp(int(offset.cx), int(page.left - box.left),
                               int(std::max(page.left - box.left, page.right - box.right)));
        offset.cy = std::clamp(int(offset.cy), int(page.top - box.top),
                               int(std::max(page.top - box.top, page.bottom - box.bottom)));
    }
    RecordGeometry(m_pModel, list, L"Move", bMerge ? FO_ACTION_MOVE : FO_ACTION_NOMERGE,
                   [&]
                   {
                       for (CFODrawShape* shape : list)
                           shape->OffsetShape(offset);
                   });
}

void CFOPCanvasCore::ResizeSelection(CSize grow)
{
    CFOTypedShapeObList list;
    for (CFODrawShape* shape : m_listSelect)
        if (!shape->IsLock() && !shape->IsResizeProtect())
            list.AddTail(shape);
    if (list.IsEmpty() || !m_pModel)
        return;
    RecordGeometry(m_pModel, list, L"Resize", FO_ACTION_NOMERGE,
                   [&]
                   {
                       for (CFODrawShape* shape : list)
                       {
                           CRect rc = shape->GetDrawRect();
                           rc.right = std::max(rc.left + 1, int(rc.right + grow.cx));
                           rc.bottom = std::max(rc.top + 1, int(rc.bottom + grow.cy));
                           shape->PositionShape(rc);
                       }
                   });
}

void CFOPCanvasCore::RotateSelection(int nAngle)
{
    CFOTypedShapeObList list;
    for (CFODrawShape* shape : m_listSelect)
        if (!shape->IsLock() && !shape->IsRotateProtect())
            list.AddTail(shape);
    if (list.IsEmpty() || !m_pModel)
        return;
    RecordGeometry(m_pModel, list, L"Rotate", FO_ACTION_NOMERGE,
                   [&]
                   {
                       for (CFODrawShape* shape : list)
                       {
                           const CPoint c = CenterOf(shape->GetDrawRect());
                           shape->RotateShape(nAngle, c.x, c.y);
                       }
                   });
}

void CFOPCanvasCore::AlignSelection(int nHow)
{
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    CFODrawShape* first = GetFirstSelectShape();
    if (list.Count() < 1 || m_listSelect.Count() < 2 || !first || !m_pModel)
        return;
    const CRect ref = first->GetDrawRect();
    RecordGeometry(m_pModel, list, L"Align", FO_ACTION_NOMERGE,
                   [&]
                   {
                       for (CFODrawShape* shape : list)
                       {
                           if (shape == first)
                               continue;
                           const CRect rc = shape->GetDrawRect();
                           CSize d(0, 0);
                           switch (nHow)
                           {
                           case 0:
                               d.cx = ref.left - rc.left;
                               break;
                           case 1:
                               d.cx = CenterOf(ref).x - CenterOf(rc).x;
                               break;
                           case 2:
                               d.cx = ref.right - rc.right;
                               break;
                           case 3:
                               d.cy = ref.top - rc.top;
                               break;
                           case 4:
                               d.cy = CenterOf(ref).y - CenterOf(rc).y;
                               break;
                           case 5:
                               d.cy = ref.bottom - rc.bottom;
                               break;
                           default:
                               break;
                           }
                           if (d.cx || d.cy)
                               shape->OffsetShape(d);
                       }
                   });
}

void CFOPCanvasCore::SameSizeSelection(int nHow)
{
    CFOTypedShapeObList list;
    GetUnlockedSelection(list);
    CFODrawShape* first = GetFirstSelectShape();
    if (m_listSelect.Count() < 2 || !first || !m_pModel)
        return;
    const CRect ref = first->GetDrawRect();
    RecordGeometry(m_pModel, list, L"Same Size", FO_ACTION_NOMERGE,
                   [&]
                   {
                       for (CFODrawShape* shape : list)
                       {
                           if (shape == first || shape->IsResizeProtect())
                               continue;
                           CRect rc = shape->GetDrawRect();
                           if (nHow != 1)
                               rc.right = rc.left + ref.Width();
                           if (nHow != 0)
                               rc.bottom = rc.top + ref.Height();
                           shape->PositionShape(rc);
                       }
                   });
}

void CFOPCanvasCore::OrderSelection(int nHow)
{
    if (!m_pModel || m_listSelect.IsEmpty())
        return;
    std::vector<CFODrawShape*> order(m_pModel->GetShapes()->begin(), m_pModel->GetShapes()->end());
    const auto selected = [this](CFODrawShape* s) { return IsSelected(s); };
    switch (nHow)
    {
    case 0:
        std::stable_partition(order.begin(), order.end(), [&](CFODrawShape* s) { return !selected(s); });
        break;
    case 1:
        std::stable_partition(order.begin(), order.end(), selected);
        break;
    case 2:
        for (int i = int(order.size()) - 2; i >= 0; --i)
            if (selected(order[size_t(i)]) && !selected(order[size_t(i) + 1]))
                std::swap(order[size_t(i)], order[size_t(i) + 1]);
        break;
    case 3:
        for (size_t i = 1; i < order.size(); ++i)
            if (selected(order[i]) && !selected(order[i - 1]))
                std::swap(order[i], order[i - 1]);
        break;
    default:
        return;
    }
    if (std::equal(order.begin(), order.end(), m_pModel->GetShapes()->begin()))
        return;
    static const wchar_t* const labels[] = {L"Bring to Front", L"Send to Back", L"Bring Forward",
                                            L"Send Backward"};
    DoAction(new CFOOrderAction(m_pModel, labels[nHow], order));
}

void CFOPCanvasCore::LockSelection(BOOL bLock)
{
    if (m_pModel && !m_listSelect.IsEmpty())
        m_pModel->ChangeShapesBoolProp(m_listSelect, bLock, FO_PROP_LOCKED);
}

void CFOPCanvasCore::CopySelection()
{
    if (m_listSelect.IsEmpty())
        return;
    CFOTypedShapeObList list;
    for (CFODrawShape* shape : m_listSelect)
        list.AddTail(shape);
    DoCorrectTabOrder(list);
    FOCopyShapesToClipboard(list, m_pCanvasWnd);
}

void CFOPCanvasCore::CutSelection()
{
    CopySelection();
    DeleteSelection();
}

BOOL CFOPCanvasCore::CanPaste() const
{
    return FOCanPasteShapes();
}

BOOL CFOPCanvasCore::PasteShapes()
{
    if (!m_pModel)
        return FALSE;
    CFODrawShapeSet shapes;
    if (!FOReadShapesFromClipboard(shapes, m_pCanvasWnd) || shapes.IsEmpty())
        return FALSE;
    auto* action = new CFOAddRemoveAction(m_pModel, L"Paste", TRUE);
    for (CFODrawShape* shape : shapes)
    {
        // New names, and a step aside so the copy is seen.
        shape->SetObjectName(m_pModel->GetUniqueName(shape->GetType()));
        shape->OffsetShape(CSize(10, 10));
        action->AddShape(shape);
    }
    if (!DoAction(action))
        return FALSE;
    SelectShapes(shapes);
    return TRUE;
}

void CFOPCanvasCore::Undo()
{
    if (m_pModel)
        m_pModel->UndoMacro(1);
}

void CFOPCanvasCore::Redo()
{
    if (m_pModel)
        m_pModel->RedoMacro(1);
}

// --- Zoom, rulers, grid ------------------------------------------------------------------------------

void CFOPCanvasCore::SetZoomScale(double dScale)
{
    dScale = std::clamp(dScale, 0.1, 8.0);
    if (dScale == m_dZoomScale)
        return;
    m_dZoomScale = dScale;
    DoZoomScaleChanging();
    UpdateScrollBarSize();
    PlaceHostedWindows();
    UpdateRulerMap();
    InvalidateCanvas();
}

void CFOPCanvasCore::ZoomIn()
{
    SetZoomScale(m_dZoomScale * 1.25);
}

void CFOPCanvasCore::ZoomOut()
{
    SetZoomScale(m_dZoomScale / 1.25);
}

void CFOPCanvasCore::ShowRulers(BOOL bShow)
{
    if (m_bShowRulers == bShow)
        return;
    m_bShowRulers = bShow;
    PlaceHostedWindows();
    InvalidateCanvas();
}

void CFOPCanvasCore::UpdateRulerMap()
{
    if (m_bShowRulers)
        InvalidateCanvas();
}

void CFOPCanvasCore::ShowGrid(BOOL bShow)
{
    m_bShowGrid = bShow;
    InvalidateCanvas();
}

void CFOPCanvasCore::SetGridLineType(int nType)
{
    m_nGridType = nType;
    InvalidateCanvas();
}

void CFOPCanvasCore::SetGridColor(COLORREF cr)
{
    m_crGrid = cr;
    InvalidateCanvas();
}

void CFOPCanvasCore::SetGridSpacing(double dx, double dy)
{
    m_dGridX = dx >= 1.0 ? dx : 1.0;
    m_dGridY = dy >= 1.0 ? dy : 1.0;
    InvalidateCanvas();
}

CPoint CFOPCanvasCore::SnapPoint(CPoint point) const
{
    if (!m_pModel || !m_pModel->IsSnapOn(FO_SNAP_GRID))
        return point;
    return CPoint(int(std::lround(std::round(point.x / m_dGridX) * m_dGridX)),
                  int(std::lround(std::round(point.y / m_dGridY) * m_dGridY)));
}

// --- Drawing -----------------------------------------------------------------------------------------

void CFOPCanvasCore::DrawCanvasContents(CDC* pDC, const CRect& rcClip)
{
    if (!m_pModel)
    {
        pDC->FillSolidRect(&rcClip, RGB(255, 255, 255));
        return;
    }
    m_pModel->OnDrawBack(pDC, rcClip);
    if (m_pModel->IsDesignMode() && !m_bPrinting && m_bShowGrid && m_nGridType != FO_GRID_NONE)
        DrawGrid(pDC, rcClip);
    m_pModel->OnDrawShape(pDC, rcClip);
    if (m_pModel->IsDesignMode() && !m_bPrinting && m_pModel->IsBorderShow())
    {
        const CRect page = m_pModel->GetPagePosition();
        CPen pen(PS_SOLID, 1, RGB(128, 128, 128));
        CPen* old = pDC->SelectObject(&pen);
        CBrush* oldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
        pDC->Rectangle(&page);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(old);
    }
}

void CFOPCanvasCore::OnDraw(CDC* pDC)
{
    if (!pDC)
        return;
    const int saved = pDC->SaveDC();
    PrepareCanvasDC(pDC);
    CRect clip;
    pDC->GetClipBox(&clip);
    // A running screen's partial repaint is drawn piece by piece; the pieces do not overlap, so every
    // pixel is drawn as the whole region would draw it.
    std::vector<CRect> pieces;
    CRect bounds;
    if (m_pModel && !m_pModel->IsDesignMode() && CFODataModel::GetClipPieces(pDC, clip, pieces, bounds))
    {
        QPainter* painter = pDC->GetPainter();
        for (const CRect& piece : pieces)
        {
            painter->save();
            pDC->IntersectClipRect(&piece);
            DrawCanvasContents(pDC, piece);
            painter->restore();
        }
        pDC->IntersectClipRect(&bounds);
    }
    else
        DrawCanvasContents(pDC, clip);
    if (m_pModel && m_pModel->IsDesignMode())
        DrawTracking(pDC);
    pDC->RestoreDC(saved);
    if (m_pModel && m_pModel->IsDesignMode())
        DrawSelection(pDC);
    if (m_bShowRulers)
        DrawRulers(pDC);
}

void CFOPCanvasCore::DrawGrid(CDC* pDC, const CRect& rcClip)
{
    CRect area = m_pModel->GetPagePosition();
    area.IntersectRect(&area, &rcClip);
    if (area.IsRectEmpty())
        return;
    // Too fine a grid at a small zoom would be a grey wash: thin it out.
    double gx = m_dGridX;
    double gy = m_dGridY;
    while (gx * m_dZoomScale < 4)
        gx *= 2;
    while (gy * m_dZoomScale < 4)
        gy *= 2;
    const double x0 = std::ceil(area.left / gx) * gx;
    const double y0 = std::ceil(area.top / gy) * gy;
    if (m_nGridType == FO_GRID_LINES)
    {
        CPen pen(PS_DOT, 0, m_crGrid);
        CPen* old = pDC->SelectObject(&pen);
        for (double x = x0; x < area.right; x += gx)
        {
            pDC->MoveTo(int(x), area.top);
            pDC->LineTo(int(x), area.bottom);
        }
        for (double y = y0; y < area.bottom; y += gy)
        {
            pDC->MoveTo(area.left, int(y));
            pDC->LineTo(area.right, int(y));
        }
        pDC->SelectObject(old);
        return;
    }
    for (double y = y0; y < area.bottom; y += gy)
        for (double x = x0; x < area.right; x += gx)
            pDC->SetPixel(int(x), int(y), m_crGrid);
}

void CFOPCanvasCore::DrawTracking(CDC* pDC)
{
    if (m_nAction == FO_TRACK_NONE || m_nAction == FO_TRACK_SELECT)
        return;
    CPen pen(PS_DOT, 0, RGB(0, 0, 255));
    CPen* old = pDC->SelectObject(&pen);
    CBrush* oldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
    switch (m_nAction)
    {
    case FO_TRACK_RUBBERBAND:
    case FO_TRACK_CREATE:
    {
        CRect rc(m_ptDown, m_ptLast);
        rc.NormalizeRect();
        pDC->Rectangle(&rc);
        if (m_nAction == FO_TRACK_CREATE)
            DrawTrackSize(pDC, rc);
        break;
    }
    case FO_TRACK_MOVE:
    {
        const CSize d(m_ptLast.x - m_ptDown.x, m_ptLast.y - m_ptDown.y);
        for (CFODrawShape* shape : m_listSelect)
        {
            if (shape->IsLock())
                continue;
            CRect rc = shape->GetDrawRect();
            rc.OffsetRect(d);
            pDC->Rectangle(&rc);
        }
        break;
    }
    case FO_TRACK_RESIZE:
    {
        CRect rc = ResizedRect(m_rcTrackStart, m_nHandle, m_ptLast);
        pDC->Rectangle(&rc);
        rc.NormalizeRect();
        DrawTrackSize(pDC, rc);
        break;
    }
    case FO_TRACK_ROTATE:
    {
        const CPoint c = CenterOf(m_rcTrackStart);
        pDC->MoveTo(c);
        pDC->LineTo(m_ptLast);
        break;
    }
    default:
        break;
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(old);
}

CString CFOPCanvasCore::GetTrackSizeText(const CRect& rc) const
{
    CFOPVisualProxy* proxy = CFOPVisualProxy::GetInstance();
    return proxy->GetPixelSizeText(UINT(rc.Width())) + L" x " + proxy->GetPixelSizeText(UINT(rc.Height()));
}

void CFOPCanvasCore::DrawTrackSize(CDC* pDC, const CRect& rc)
{
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 255));
    pDC->TextOut(rc.left, rc.bottom + 4, GetTrackSizeText(rc));
}

void CFOPCanvasCore::DrawSelection(CDC* pDC)
{
    if (m_listSelect.IsEmpty())
        return;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = pDC->SelectObject(&pen);
    CBrush fill(RGB(0, 160, 0));
    CBrush lockFill(RGB(160, 160, 160));
    CBrush rotateFill(RGB(255, 200, 0));
    CBrush black(RGB(0, 0, 0));
    CRect clip;
    pDC->GetClipBox(&clip);
    for (CFODrawShape* shape : m_listSelect)
    {
        CRect box = CanvasToClient(shape->GetDrawRect());
        box.InflateRect(30, 30);
        CRect meet;
        if (!meet.IntersectRect(&box, &clip))
            continue;
        CFOPHandleList list;
        GetShapeHandles(shape, list);
        for (int i = 0; i < list.GetCount(); ++i)
        {
            const CFOPHandle& h = list.GetAt(i);
            CPoint pt = CanvasToClient(CPoint(int(h.m_pt.x), int(h.m_pt.y)));
            if (h.m_nKind == FO_HANDLE_ROTATE)
            {
                pDC->MoveTo(pt);
                pt.y -= kRotateGap;
                pDC->LineTo(pt);
                CBrush* oldBrush = pDC->SelectObject(&rotateFill);
                pDC->Ellipse(pt.x - kHandleHalf - 1, pt.y - kHandleHalf - 1, pt.x + kHandleHalf + 2,
                             pt.y + kHandleHalf + 2);
                pDC->SelectObject(oldBrush);
                continue;
            }
            CRect rc(pt.x - kHandleHalf, pt.y - kHandleHalf, pt.x + kHandleHalf + 1, pt.y + kHandleHalf + 1);
            pDC->FillRect(&rc, shape->IsLock() ? &lockFill : &fill);
            pDC->FrameRect(&rc, &black);
        }
    }
    DrawSelectHandleItems(pDC);
    pDC->SelectObject(old);
}

void CFOPCanvasCore::DrawRulers(CDC* pDC)
{
    CRect client;
    m_pCanvasWnd->GetClientRect(&client);
    const COLORREF back = RGB(236, 236, 236);
    pDC->FillSolidRect(CRect(0, 0, client.right, FO_RULER_SIZE), back);
    pDC->FillSolidRect(CRect(0, 0, FO_RULER_SIZE, client.bottom), back);
    CPen pen(PS_SOLID, 1, RGB(96, 96, 96));
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(0, FO_RULER_SIZE - 1);
    pDC->LineTo(client.right, FO_RULER_SIZE - 1);
    pDC->MoveTo(FO_RULER_SIZE - 1, 0);
    pDC->LineTo(FO_RULER_SIZE - 1, client.bottom);
    // A tick per ruler unit, a longer one every five, a number every ten (thinned out when small).
    double unit = m_nRulerUnit;
    while (unit * m_dZoomScale < 4)
        unit *= 2;
    const CPoint first = ClientToCanvas(CPoint(FO_RULER_SIZE, FO_RULER_SIZE));
    const CPoint last = ClientToCanvas(client.BottomRight());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(64, 64, 64));
    CFont font;
    font.CreatePointFont(60, L"Sans");
    CFont* oldFont = pDC->SelectObject(&font);
    for (long n = long(std::floor(first.x / unit)); n * unit <= last.x; ++n)
    {
        const int x = CanvasToClient(CPoint(int(n * unit), 0)).x;
        if (x < FO_RULER_SIZE)
            continue;
        const int len = n % 10 == 0 ? 10 : (n % 5 == 0 ? 6 : 3);
        pDC->MoveTo(x, FO_RULER_SIZE - 1 - len);
        pDC->LineTo(x, FO_RULER_SIZE - 1);
        if (n % 10 == 0)
        {
            CString text;
            text.Format(L"%ld", long(n * unit));
            pDC->TextOut(x + 2, 1, text);
        }
    }
    for (long n = long(std::floor(first.y / unit)); n * unit <= last.y; ++n)
    {
        const int y = CanvasToClient(CPoint(0, int(n * unit))).y;
        if (y < FO_RULER_SIZE)
            continue;
        const int len = n % 10 == 0 ? 10 : (n % 5 == 0 ? 6 : 3);
        pDC->MoveTo(FO_RULER_SIZE - 1 - len, y);
        pDC->LineTo(FO_RULER_SIZE - 1, y);
        if (n % 10 == 0)
        {
            CString text;
            text.Format(L"%ld", long(n * unit));
            pDC->TextOut(1, y + 1, text);
        }
    }
    pDC->SelectObject(oldFont);
    pDC->FillSolidRect(CRect(0, 0, FO_RULER_SIZE, FO_RULER_SIZE), back);
    pDC->SelectObject(old);
}

CRect CFOPCanvasCore::GetSelectHandleItemRect(int i) const
{
    CFODrawShape* first = m_listSelect.GetHead();
    if (!first || i < 0 || i >= int(m_addiItems.size()))
        return CRect();
    const CRect box = CanvasToClient(first->GetDrawRect());
    const int top = box.top + i * (kAddiSize + 3);
    return CRect(box.right + 8, top, box.right + 8 + kAddiSize, top + kAddiSize);
}

void CFOPCanvasCore::InvalidateSelection()
{
    for (CFODrawShape* shape : m_listSelect)
        InvalidateShape(shape);
    if (m_pCanvasWnd->GetSafeHwnd())
        for (int i = 0; i < int(m_addiItems.size()); ++i)
        {
            CRect rc = GetSelectHandleItemRect(i);
            m_pCanvasWnd->InvalidateRect(&rc, FALSE);
        }
}

// --- Context menu and notices ------------------------------------------------------------------------

CMenu* CFOPCanvasCore::CreateContextMenu()
{
    m_pContextMenu = std::make_unique<CMenu>();
    m_pContextMenu->CreatePopupMenu();
    m_pContextMenu->AppendMenu(MF_STRING, ID_EDIT_CUT, L"Cu&t\tCtrl + X");
    m_pContextMenu->AppendMenu(MF_STRING, ID_EDIT_COPY, L"&Copy\tCtrl + C");
    m_pContextMenu->AppendMenu(MF_STRING, ID_EDIT_PASTE, L"&Paste\tCtrl + V");
    m_pContextMenu->AppendMenu(MF_STRING, ID_EDIT_SELECT_ALL, L"Select &All\tCtrl+A");
    m_pContextMenu->AppendMenu(MF_STRING, ID_EDIT_CLEAR, L"&Delete\tDel");
    return m_pContextMenu.get();
}

void CFOPCanvasCore::NotifyFrame(UINT nMessage, WPARAM wParam)
{
    if (m_bNotifyViewUpdate)
        FOPMessageSend(m_pCanvasWnd, nMessage, wParam);
}
