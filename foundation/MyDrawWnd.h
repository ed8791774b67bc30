// CMyDrawWnd: the editor's full-screen test-run canvas. It shows a screen model out of design
// mode; Escape (or Alt+F4) ends the run, puts the model back into design mode and lets go of it.
#pragma once

#include "figkit/FOPCanvasCore.h"

// Sent to the model's observers when a test run ends.
#define XVK_HINT_PREVIEW_END 1004

class CMyDrawWnd : public CFOPDrawWnd
{
    DECLARE_DYNCREATE(CMyDrawWnd)
public:
    CMyDrawWnd() = default;
    ~CMyDrawWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL UpdateObserver(CObject* pHint) override;
    // Whether the run ended (the window is gone and the model is back in design mode).
    BOOL IsPreviewEnded() const { return m_bEnded; }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;

protected:
    void EndPreview();
    BOOL m_bEnded = FALSE;
};
