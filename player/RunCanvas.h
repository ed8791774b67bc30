// CRunCanvas: the canvas inside a runtime view. It hands the screen loads, the form creation and the
// shapes' run-time events to its view (CPlexrunView), which decides what they do.
#pragma once

#include "figkit/FOPCanvasCore.h"

class CPlexrunView;

class CRunCanvas : public CFOPDrawWnd
{
public:
    explicit CRunCanvas(CPlexrunView* pView) : m_pView(pView) {}

    BOOL LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent = FALSE) override;
    // The library's own load, which runs DoInitFormCreate after reading the file.
    BOOL LoadXdgFromFileBase(LPCWSTR lpszPathName, BOOL bAddToRecent)
    {
        return CFOPCanvasCore::LoadXdgFromFile(lpszPathName, bAddToRecent);
    }
    // Binds a model that was read without the canvas (a document opened on a screen file): the form
    // creation that a load would run.
    void BindLoadedModel();
    void DoInitFormCreate() override;
    void DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent) override;
    void DoEventDragSlider(CFODrawShape* pShape, double dValue) override;
    void DoCurrentValueChange(CFODrawShape* pShape, double dValue) override;
    // At run time the wheel and the page, home, end and arrow keys scroll the view.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;

private:
    CPlexrunView* m_pView;
};
