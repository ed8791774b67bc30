#include "player/RunCanvas.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "player/PlexrunView.h"

BOOL CRunCanvas::LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent)
{
    return m_pView->LoadXdgFromFile(lpszPathName, bAddToRecent);
}

void CRunCanvas::BindLoadedModel()
{
    if (!m_pModel)
        return;
    for (CFODrawShape* shape : *m_pModel->GetShapes())
        if (!shape->GetParentWnd())
            shape->SetParentWnd(m_pCanvasWnd);
    DoInitFormCreate();
    InvalidateCanvas();
}

void CRunCanvas::DoInitFormCreate()
{
    m_pView->DoInitFormCreate();
}

void CRunCanvas::DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent)
{
    m_pView->DoEventAtAllGeometryUp(pShape, nEventKind, strEvent);
}

void CRunCanvas::DoEventDragSlider(CFODrawShape* pShape, double dValue)
{
    m_pView->DoEventDragSlider(pShape, dValue);
}

void CRunCanvas::DoCurrentValueChange(CFODrawShape* pShape, double dValue)
{
    m_pView->DoCurrentValueChange(pShape, dValue);
}

void CRunCanvas::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsDesignMode() && m_pView->ScrollByKey(nChar))
        return;
    CFOPDrawWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CRunCanvas::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    return m_pView->OnMouseWheel(nFlags, zDelta, pt);
}
