// Typing a shape's text on the canvas (an edit box over the shape, its text kept as one undo step)
// and the property dialogs run on shapes.
#include "figkit/FOAction.h"
#include "figkit/FODataModel.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPropEditDlgs.h"
#include "figkit/FOStaticShape.h"
#include "mfc/EditCtl.h"
#include "mfc/Messages.h"

#include <memory>

namespace
{
// Enter keeps the text and Escape drops it; both end the edit.
class CFOInPlaceTextEdit : public CEdit
{
public:
    explicit CFOInPlaceTextEdit(CFOPCanvasCore* pCanvas) : m_pCanvas(pCanvas) {}

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->hwnd == m_hWnd && pMsg->message == WM_KEYDOWN &&
            (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        {
            m_pCanvas->EndTextEdit(pMsg->wParam == VK_RETURN);
            return TRUE;
        }
        return CEdit::PreTranslateMessage(pMsg);
    }

private:
    CFOPCanvasCore* m_pCanvas;
};
} // namespace

BOOL CFOPCanvasCore::CanEditTextInPlace(const CFODrawShape* pShape)
{
    return dynamic_cast<const CFOPSimpleLabelShape*>(pShape) || dynamic_cast<const CFOStaticShape*>(pShape);
}

BOOL CFOPCanvasCore::StartTextEdit(CFODrawShape* pShape)
{
    EndTextEdit(TRUE);
    if (!m_pModel || !m_pCanvasWnd || !m_pCanvasWnd->GetSafeHwnd() || !CanEditTextInPlace(pShape) ||
        pShape->GetModel() != m_pModel || pShape->IsLock())
        return FALSE;
    m_pEndedTextEdit.reset();
    CRect rc = CanvasToClient(pShape->GetSnapRect(), FALSE);
    rc.NormalizeRect();
    // Room for a line of text even on a small shape.
    if (rc.Height() < 22)
        rc.bottom = rc.top + 22;
    if (rc.Width() < 80)
        rc.right = rc.left + 80;
    auto edit = std::make_unique<CFOInPlaceTextEdit>(this);
    if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, m_pCanvasWnd, 0))
        return FALSE;
    edit->SetWindowText(pShape->GetObjectCaption());
    edit->SetSel(0, -1);
    edit->SetFocus();
    m_pTextEdit = std::move(edit);
    m_pEditShape = pShape;
    return TRUE;
}

void CFOPCanvasCore::EndTextEdit(BOOL bApply)
{
    if (!m_pTextEdit)
        return;
    CFOShapePtr<CFODrawShape> shape = m_pEditShape;
    m_pEditShape.Reset();
    CString text;
    m_pTextEdit->GetWindowText(text);
    m_pTextEdit->ShowWindow(SW_HIDE);
    m_pEndedTextEdit = std::move(m_pTextEdit);
    if (m_pCanvasWnd && m_pCanvasWnd->GetSafeHwnd())
        m_pCanvasWnd->SetFocus();
    if (!bApply || !shape || !m_pModel || shape->GetModel() != m_pModel || text == shape->GetObjectCaption())
        return;
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->SetLabel(L"Edit Text");
    action->AddEntry(FO_PROP_CAPTION, FO_VALUE::MakeString(text), shape.Get());
    if (m_pModel->Do(action.get(), TRUE))
        action.release();
    DoTextEdited(shape);
    InvalidateShape(shape);
}

CWnd* CFOPCanvasCore::GetTextEditWnd() const
{
    return m_pTextEdit.get();
}

void CFOPCanvasCore::DoTextEdited(CFODrawShape* pShape)
{
    if (auto* text = dynamic_cast<CFOStaticShape*>(pShape))
        text->AdjustTextBoxSize(0);
}

void CFOPCanvasCore::AdjustTextBoxes(const FOPContainer& shapes)
{
    for (CFODrawShape* shape : shapes)
        if (auto* text = dynamic_cast<CFOStaticShape*>(shape))
            text->AdjustTextBoxSize(0);
}

BOOL CFOPCanvasCore::RunPropEditDlg(CFOPropEditDlg& dlg, const FOPContainer& shapes)
{
    if (!m_pModel || shapes.Count() == 0)
        return FALSE;
    FinishAllBox();
    dlg.LoadFrom(shapes.GetHead());
    if (dlg.DoModal() != IDOK || !dlg.IsModified())
        return FALSE;
    std::unique_ptr<CFOPropAction> action(dlg.MakeAction(m_pModel, shapes));
    if (!action || !m_pModel->Do(action.get(), TRUE))
        return FALSE;
    action.release();
    AdjustTextBoxes(shapes);
    UpdateShapes(&shapes);
    m_pModel->SetModifiedFlag(TRUE);
    return TRUE;
}
