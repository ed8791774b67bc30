#include "figkit/FODrawView.h"

#include "figkit/FODataModel.h"
#include "figkit/FOAction.h"
#include "figkit/FOToolBoxWnd.h"
#include "mfc/CmdUI.h"
#include "mfc/OleDragDrop.h"
#include "mfc/Print.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CFODrawView, CScrollView)
IMPLEMENT_DYNCREATE(CFOScriptView, CFODrawView)

BEGIN_MESSAGE_MAP(CFODrawView, CScrollView)
ON_COMMAND(ID_EDIT_UNDO, &CFODrawView::OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, &CFODrawView::OnEditRedo)
ON_COMMAND(ID_EDIT_CUT, &CFODrawView::OnEditCut)
ON_COMMAND(ID_EDIT_COPY, &CFODrawView::OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, &CFODrawView::OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, &CFODrawView::OnEditClear)
ON_COMMAND(ID_EDIT_SELECT_ALL, &CFODrawView::OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, &CFODrawView::OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, &CFODrawView::OnUpdateEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CFODrawView::OnUpdateNeedSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CFODrawView::OnUpdateNeedSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, &CFODrawView::OnUpdateNeedSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CFODrawView::OnUpdateEditPaste)
ON_COMMAND_RANGE(ID_FOP_GROUP, ID_FOP_ROTATE_RIGHT, &CFODrawView::OnCanvasCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_FOP_GROUP, ID_FOP_ROTATE_RIGHT, &CFODrawView::OnUpdateCanvasCommand)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CFOScriptView, CFODrawView)
END_MESSAGE_MAP()

namespace
{
// Takes toolbox items dragged over the view while it is in design mode.
class CFOToolBoxDropTarget : public COleDropTarget
{
public:
    explicit CFOToolBoxDropTarget(CFODrawView* pView) : m_pView(pView) {}

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD, CPoint) override
    {
        CFODataModel* model = m_pView->GetCurrentModel();
        if (!model || !model->IsDesignMode() ||
            !pDataObject->IsDataAvailable(CLIPFORMAT(FOGetToolBoxItemFormat())))
            return DROPEFFECT_NONE;
        return DROPEFFECT_COPY;
    }
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override
    {
        return OnDragEnter(pWnd, pDataObject, dwKeyState, point);
    }
    BOOL OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT, CPoint point) override
    {
        HGLOBAL block = pDataObject->GetGlobalData(CLIPFORMAT(FOGetToolBoxItemFormat()));
        if (!block)
            return FALSE;
        const size_t chars = GlobalSize(block) / sizeof(wchar_t);
        const auto* text = static_cast<const wchar_t*>(GlobalLock(block));
        CString dragText = text ? CString(text, int(std::min<size_t>(chars, 4096))) : CString();
        GlobalUnlock(block);
        GlobalFree(block);
        const int end = dragText.Find(L'\0');
        if (end >= 0)
            dragText.Truncate(end);
        CFOToolBoxItem item;
        if (!CFOToolBoxItem::FromDragText(dragText, item))
            return FALSE;
        return m_pView->DropToolBoxItem(item, point);
    }

private:
    CFODrawView* m_pView;
};
} // namespace

CFODrawView::CFODrawView() : CFOPCanvasCore(this)
{
    m_bShowGrid = TRUE;
}

CFODrawView::~CFODrawView() = default;

void CFODrawView::OnWidgetCreated(const CREATESTRUCT& cs)
{
    CScrollView::OnWidgetCreated(cs);
    OnCanvasCreated();
    m_pToolBoxDrop = std::make_unique<CFOToolBoxDropTarget>(this);
    if (!m_pToolBoxDrop->Register(this))
        m_pToolBoxDrop.reset();
}

void CFODrawView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    UpdateScrollBarSize();
}

void CFODrawView::OnUpdate(CView*, LPARAM, CObject*)
{
    InvalidateCanvas();
}

void CFODrawView::OnDraw(CDC* pDC)
{
    CFOPCanvasCore::OnDraw(pDC);
}

void CFODrawView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    // The canvas maps its DC itself (PrepareCanvasDC); the scroll view's offset would count twice.
    CView::OnPrepareDC(pDC, pInfo);
}

void CFODrawView::UpdateScrollBarSize()
{
    if (!GetSafeHwnd())
        return;
    CSize page(1000, 1000);
    if (m_pModel)
        page = m_pModel->GetCanvasSize();
    const int ruler = m_bShowRulers ? FO_RULER_SIZE : 0;
    const CSize total(int(std::ceil(page.cx * m_dZoomScale)) + ruler + 20,
                      int(std::ceil(page.cy * m_dZoomScale)) + ruler + 20);
    SetScrollSizes(MM_TEXT, total);
}

void CFODrawView::ShowRulers(BOOL bShow)
{
    CFOPCanvasCore::ShowRulers(bShow);
    UpdateScrollBarSize();
}

BOOL CFODrawView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    return CScrollView::OnScrollBy(sizeScroll, bDoScroll);
}

BOOL CFODrawView::OnPreparePrinting(CPrintInfo* pInfo)
{
    pInfo->SetMaxPage(1);
    return DoPreparePrinting(pInfo);
}

void CFODrawView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    DrawPageFitted(pDC, pInfo->m_rectDraw);
}

BOOL CFODrawView::OnDrop(UINT nType, CPoint ptClient)
{
    if (!m_pModel || !m_pModel->IsDesignMode())
        return FALSE;
    return DoDropToolBoxItem(nType, ClientToCanvas(ptClient), m_pDroppedItem) != nullptr;
}

BOOL CFODrawView::DropToolBoxItem(const CFOToolBoxItem& item, CPoint ptClient)
{
    CFOToolBoxItem dropped = item;
    m_pDroppedItem = &dropped;
    const BOOL result = OnDrop(item.GetType(), ptClient);
    m_pDroppedItem = nullptr;
    return result;
}

void CFODrawView::OnFOPFOLockcomp()
{
    LockSelection(TRUE);
}

void CFODrawView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent >= FO_SHAPE_TIMER_BASE)
        CFOPCanvasCore::OnTimer(nIDEvent);
    else
        CScrollView::OnTimer(nIDEvent);
}

void CFODrawView::OnDestroy()
{
    NotifyFrame(FOP_WM_VIEW_INVALID, 0);
    if (m_pToolBoxDrop)
        m_pToolBoxDrop->Revoke();
    CFOPCanvasCore::OnDestroy();
    CScrollView::OnDestroy();
}

void CFODrawView::OnSetFocus(CWnd* pOldWnd)
{
    CScrollView::OnSetFocus(pOldWnd);
    NotifyFrame(FOP_WM_VIEW_VALID, 0);
}

void CFODrawView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pModel && m_pModel->IsDesignMode() && ::GetFocus() != m_hWnd)
        SetFocus();
    CFOPCanvasCore::OnLButtonDown(nFlags, point);
}

UINT CFODrawView::EditCommandOfKey(UINT nChar, BOOL bCtrl, BOOL bShift)
{
    if (nChar == VK_DELETE)
        return bCtrl ? 0 : (bShift ? ID_EDIT_CUT : ID_EDIT_CLEAR);
    if (!bCtrl || bShift)
        return 0;
    switch (nChar)
    {
    case 'C':
    case VK_INSERT:
        return ID_EDIT_COPY;
    case 'X':
        return ID_EDIT_CUT;
    case 'V':
        return ID_EDIT_PASTE;
    case 'Z':
        return ID_EDIT_UNDO;
    case 'Y':
        return ID_EDIT_REDO;
    case 'A':
        return ID_EDIT_SELECT_ALL;
    default:
        return 0;
    }
}

void CFODrawView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const UINT nID = EditCommandOfKey(nChar, (GetKeyState(VK_CONTROL) & 0x8000) != 0,
                                      (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    if (!nID || !m_pModel || !m_pModel->IsDesignMode())
    {
        CFOPCanvasCore::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    // The view's own command handlers (and its document's), as the Edit menu reaches them.
    SendMessage(WM_COMMAND, nID, 0);
}

void CFODrawView::OnModelUpdate(CFODataModel* pModel, LPARAM lHint, CObject* pHint)
{
    CFOPCanvasCore::OnModelUpdate(pModel, lHint, pHint);
    if (lHint == FO_HINT_TITLE && pModel == m_pModel && m_hWnd)
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
}

void CFODrawView::OnKillFocus(CWnd* pNewWnd)
{
    CScrollView::OnKillFocus(pNewWnd);
}

// Edit commands

void CFODrawView::OnEditUndo()
{
    Undo();
}
void CFODrawView::OnEditRedo()
{
    Redo();
}
void CFODrawView::OnEditCut()
{
    CutSelection();
}
void CFODrawView::OnEditCopy()
{
    CopySelection();
}
void CFODrawView::OnEditPaste()
{
    PasteShapes();
}
void CFODrawView::OnEditClear()
{
    DeleteSelection();
}
void CFODrawView::OnEditSelectAll()
{
    SelectAll();
}

void CFODrawView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && m_pModel->GetUndoHistory()->CanUndo());
}

void CFODrawView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel && m_pModel->GetUndoHistory()->CanRedo());
}

void CFODrawView::OnUpdateNeedSelection(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && GetSelectCount() > 0);
}

void CFODrawView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && CanPaste());
}

void CFODrawView::OnCanvasCommand(UINT nID)
{
    switch (nID)
    {
    case ID_FOP_GROUP:
        GroupSelection();
        break;
    case ID_FOP_UNGROUP:
        UngroupSelection();
        break;
    case ID_FOP_ALIGN_LEFT:
    case ID_FOP_ALIGN_CENTER:
    case ID_FOP_ALIGN_RIGHT:
    case ID_FOP_ALIGN_TOP:
    case ID_FOP_ALIGN_MIDDLE:
    case ID_FOP_ALIGN_BOTTOM:
        AlignSelection(int(nID - ID_FOP_ALIGN_LEFT));
        break;
    case ID_FOP_SAME_WIDTH:
    case ID_FOP_SAME_HEIGHT:
    case ID_FOP_SAME_SIZE:
        SameSizeSelection(int(nID - ID_FOP_SAME_WIDTH));
        break;
    case ID_FOP_BRING_FRONT:
    case ID_FOP_SEND_BACK:
    case ID_FOP_BRING_FORWARD:
    case ID_FOP_SEND_BACKWARD:
        OrderSelection(int(nID - ID_FOP_BRING_FRONT));
        break;
    case ID_FOP_LOCK:
        OnFOPFOLockcomp();
        break;
    case ID_FOP_UNLOCK:
        LockSelection(FALSE);
        break;
    case ID_FOP_ZOOM_IN:
        ZoomIn();
        break;
    case ID_FOP_ZOOM_OUT:
        ZoomOut();
        break;
    case ID_FOP_ZOOM_100:
        SetZoomScale(1.0);
        break;
    case ID_FOP_SHOW_GRID:
        ShowGrid(!IsGridShow());
        break;
    case ID_FOP_SNAP_GRID:
        // The snap flags are saved with the screen.
        if (m_pModel)
        {
            m_pModel->SetSnapFlag(FO_SNAP_GRID, !m_pModel->IsSnapOn(FO_SNAP_GRID));
            m_pModel->SetModifiedFlag(TRUE);
        }
        break;
    case ID_FOP_ROTATE_LEFT:
        RotateSelection(-90);
        break;
    case ID_FOP_ROTATE_RIGHT:
        RotateSelection(90);
        break;
    default:
        break;
    }
}

void CFODrawView::OnUpdateCanvasCommand(CCmdUI* pCmdUI)
{
    const UINT id = pCmdUI->m_nID;
    const BOOL design = IsDesignMode();
    switch (id)
    {
    case ID_FOP_ZOOM_IN:
    case ID_FOP_ZOOM_OUT:
    case ID_FOP_ZOOM_100:
        pCmdUI->Enable(TRUE);
        break;
    case ID_FOP_SHOW_GRID:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(IsGridShow());
        break;
    case ID_FOP_SNAP_GRID:
        pCmdUI->Enable(m_pModel != nullptr);
        pCmdUI->SetCheck(m_pModel && m_pModel->IsSnapOn(FO_SNAP_GRID));
        break;
    case ID_FOP_GROUP:
    case ID_FOP_ALIGN_LEFT:
    case ID_FOP_ALIGN_CENTER:
    case ID_FOP_ALIGN_RIGHT:
    case ID_FOP_ALIGN_TOP:
    case ID_FOP_ALIGN_MIDDLE:
    case ID_FOP_ALIGN_BOTTOM:
    case ID_FOP_SAME_WIDTH:
    case ID_FOP_SAME_HEIGHT:
    case ID_FOP_SAME_SIZE:
        pCmdUI->Enable(design && GetSelectCount() > 1);
        break;
    default:
        pCmdUI->Enable(design && GetSelectCount() > 0);
        break;
    }
}
