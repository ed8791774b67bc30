#include "player/XDVView.h"

#include "player/ExtDataModel.h"
#include "player/MyHMIChildDlg.h"
#include "player/PlexrunApp.h"
#include "player/RunCanvas.h"

IMPLEMENT_DYNCREATE(XDVView, CQYRViewView)

XDVView::XDVView() = default;
XDVView::~XDVView() = default;

CMyHMIChildDlg* XDVView::GetPopupDialog() const
{
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent())
        if (auto* dlg = dynamic_cast<CMyHMIChildDlg*>(parent))
            return dlg;
    return nullptr;
}

void XDVView::OnInitialUpdate()
{
    // The main view's own first steps (its document's screen and binding) are not a popup's.
    CView::OnInitialUpdate();
    CPlexrunApp* app = AfxGetPlexrunApp();
    CExtDataModel* model = GetCurrentModel();
    if (!app || !m_pCanvas || !model)
        return;
    AttachModel(model);
    TakeServerDocumentUse();
    if (!app->m_pScriptObject)
        CreateScriptEngine(model);

    // Only its own screen; the main screen when it names none. A file that cannot be read leaves
    // the popup empty, and no message is shown.
    CMyHMIChildDlg* dlg = GetPopupDialog();
    const CString path = dlg ? dlg->m_strScreenPath : CString();
    if (path.IsEmpty())
        LoadMainScreen();
    else
    {
        m_strCurrentScreen = CPlexrunApp::GetFileName(path);
        if (CPlexrunApp::FileExists(path))
            m_pCanvas->LoadXdgFromFile(path, FALSE);
    }
    m_pCanvas->ShowRulers(FALSE);
    m_pCanvas->SetDesignMode(FALSE);

    // 15001 and 15003 name script files of the project here. Procedures run only on the view that
    // made the engine with the project script.
    const CScreenSettings settings = ReadScreenSettings();
    const CString& startProc = settings.strStartProc;
    if (!app->ReadScriptFile(settings.strProp15001).IsEmpty() && !startProc.IsEmpty())
        RunScriptProcedure(startProc, CString(), 0);
    m_strScriptText = app->ReadScriptFile(settings.strProp15003);
    if (!m_strScriptText.IsEmpty() && !startProc.IsEmpty())
        RunScriptProcedure(startProc, CString(), 0);
    ArmTimerProcedure(settings);

    ArmViewTimers();
    m_pCanvas->Invalidate(FALSE);
}
