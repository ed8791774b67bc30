#include "player/QYRViewView.h"

#include "figkit/FOPCanvasCore.h"
#include "model/WorkSpaceObj.h"
#include "player/ExtDataModel.h"
#include "player/PlexrunApp.h"
#include "player/QYRViewDoc.h"

IMPLEMENT_DYNCREATE(CQYRViewView, CView)

BEGIN_MESSAGE_MAP(CQYRViewView, CView)
END_MESSAGE_MAP()

namespace
{
const wchar_t* const kDefaultMainScreen = L"Main.xdg";
} // namespace

CQYRViewView::CQYRViewView() = default;
CQYRViewView::~CQYRViewView()
{
    // Its window went with the view's.
    delete m_pCanvas;
}

CQYRViewDoc* CQYRViewView::GetDocument() const
{
    return dynamic_cast<CQYRViewDoc*>(m_pDocument);
}

int CQYRViewView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pCanvas = new CFOPDrawWnd;
    CRect rc;
    GetClientRect(&rc);
    if (!m_pCanvas->CreateCanvas(this, rc))
    {
        delete m_pCanvas;
        m_pCanvas = nullptr;
        return -1;
    }
    return 0;
}

void CQYRViewView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_pCanvas && m_pCanvas->GetSafeHwnd())
        m_pCanvas->MoveWindow(0, 0, cx, cy);
}

void CQYRViewView::OnDestroy()
{
    if (m_pCanvas)
        m_pCanvas->SetCurrentModel(nullptr);
    if (CQYRViewDoc* doc = GetDocument(); doc && doc->m_pMainView == this)
        doc->m_pMainView = nullptr;
    CView::OnDestroy();
}

void CQYRViewView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CQYRViewDoc* doc = GetDocument();
    if (!doc || !m_pCanvas)
        return;
    if (!doc->m_pMainView)
        doc->m_pMainView = this;
    m_pCanvas->SetCurrentModel(doc->GetModel());
    m_pCanvas->SetDesignMode(FALSE);

    CString screen;
    if (CPlexrunApp* app = AfxGetPlexrunApp(); app && app->GetWorkSpace())
        screen = app->GetWorkSpace()->m_strMainScreen;
    screen.Trim();
    LoadScreen(screen.IsEmpty() ? CString(kDefaultMainScreen) : screen);
}

BOOL CQYRViewView::LoadScreen(const CString& strName)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    CQYRViewDoc* doc = GetDocument();
    if (!app || !doc || !m_pCanvas)
        return FALSE;
    const CString path = app->GetScreenFilePath(strName);
    if (path.IsEmpty() || !m_pCanvas->LoadXdgFromFile(path))
        return FALSE;
    doc->GetModel()->SetDesignMode(FALSE);
    app->m_strCurrentScreen = strName;
    doc->SetTitleFromPath(path);
    m_pCanvas->Invalidate(FALSE);
    return TRUE;
}

void CQYRViewView::OnDraw(CDC*) {}
