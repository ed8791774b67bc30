// CQYRViewView: the player's view. It shows the document's screen model on a canvas that fills the
// view, in run mode, so the shapes' own timers run; at its first update it loads the project's main
// screen.
#pragma once

#include "mfc/View.h"

class CFOPDrawWnd;
class CQYRViewDoc;

class CQYRViewView : public CView
{
    DECLARE_DYNCREATE(CQYRViewView)
public:
    CQYRViewView();
    ~CQYRViewView() override;

    CQYRViewDoc* GetDocument() const;
    CFOPDrawWnd* GetCanvas() const { return m_pCanvas; }

    // Loads a screen file of the project into the model and shows it; FALSE when it cannot be read.
    BOOL LoadScreen(const CString& strName);

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;

protected:
    // Owned; a child window filling the view.
    CFOPDrawWnd* m_pCanvas = nullptr;

    DECLARE_MESSAGE_MAP()
};
