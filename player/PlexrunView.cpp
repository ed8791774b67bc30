#include "player/PlexrunView.h"

#include "mfc/Print.h"

#include "com/ComError.h"
#include "com/ComUtil.h"
#include "com/SafeArray.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "mfc/DocFile.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"
#include "mfc/Messages.h"
#include "mfc/ModalHook.h"
#include "model/ChartPointList.h"
#include "model/ScriptObject.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKMethodHost.h"
#include "player/ExtDataModel.h"
#include "player/MyHMIChildDlg.h"
#include "player/PlexrunApp.h"
#include "player/PlexrunDoc.h"
#include "player/RunCanvas.h"
#include "symbols/LinkOpener.h"

#include <QDateTime>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

IMPLEMENT_DYNCREATE(CPlexrunView, CScrollView)

BEGIN_MESSAGE_MAP(CPlexrunView, CScrollView)
ON_COMMAND(RUN_CMD_TEST_POPUP, &CPlexrunView::OnShowTestPopup)
END_MESSAGE_MAP()

namespace
{
const int kDefaultTimerPeriod = 500;

// The point at a distance along a polyline of at least two points.
CPoint PointOnPath(const CPoint* points, int count, double distance)
{
    double sum = 0.0;
    for (int i = 1; i < count; ++i)
    {
        const CPoint a = points[i - 1];
        const CPoint b = points[i];
        const double dx = double(b.x - a.x);
        const double dy = double(b.y - a.y);
        const double len = std::sqrt(dx * dx + dy * dy);
        if (sum + len < distance && i + 1 < count)
        {
            sum += len;
            continue;
        }
        const double r = distance - sum;
        if (b.x != a.x)
        {
            const int x = CFODrawHelper::RoundValue(r * dx / len + a.x);
            const int y = int((long long)(x - a.x) * (b.y - a.y) / (b.x - a.x)) + a.y;
            return CPoint(x, y);
        }
        return CPoint(a.x, dy < 0 ? CFODrawHelper::RoundValue(a.y - r) : CFODrawHelper::RoundValue(a.y + r));
    }
    return points[count - 1];
}

CRect CentredRect(CPoint c, int w, int h)
{
    return CRect(int(c.x - w * 0.5), int(c.y - h * 0.5), int(c.x + w * 0.5), int(c.y + h * 0.5));
}

CRect Union(const CRect& a, const CRect& b)
{
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}
} // namespace

CPlexrunView::CPlexrunView() : m_pMethodHost(new CRunMethodHost) {}

CPlexrunView::~CPlexrunView()
{
    // Other views (popups, other screens) run on the engine this view did not make.
    if (CPlexrunApp* app = AfxGetPlexrunApp(); app && app->m_pScriptObject && m_bOwnsScript)
    {
        delete app->m_pScriptObject;
        app->m_pScriptObject = nullptr;
    }
    DetachModel();
    m_pMethodHost->SetTimerStepCounter(nullptr);
    m_pMethodHost->SetCanvas(nullptr);
    m_pMethodHost->SetCurModel(nullptr);
    m_pMethodHost->ExternalRelease();
    // Its window went with the view's.
    delete m_pCanvas;
}

CPlexrunDoc* CPlexrunView::GetPlexrunDocument() const
{
    return dynamic_cast<CPlexrunDoc*>(m_pDocument);
}

CExtDataModel* CPlexrunView::GetCurrentModel() const
{
    return m_pCanvas ? dynamic_cast<CExtDataModel*>(m_pCanvas->GetCurrentModel()) : nullptr;
}

CWorkSpaceObj* CPlexrunView::GetWorkSpace()
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    return app ? app->GetWorkSpace() : nullptr;
}

int CPlexrunView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pCanvas = new CRunCanvas(this);
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

void CPlexrunView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    UpdateScrollSizes();
}

void CPlexrunView::UpdateScrollSizes()
{
    if (!GetSafeHwnd())
        return;
    CExtDataModel* model = GetCurrentModel();
    const CRect page = model ? model->GetPagePosition() : CRect();
    const CSize total(std::max(0, int(page.right)), std::max(0, int(page.bottom)));
    CRect client;
    GetClientRect(&client);
    // A page down moves by what shows, less a line, so that a line stays in sight.
    const CSize line(std::max(1, client.Width() / 10), std::max(1, client.Height() / 10));
    const CSize step(std::max(1, int(client.Width() - line.cx)), std::max(1, int(client.Height() - line.cy)));
    if (total != GetTotalSize() || step != m_sizeScrollPage)
    {
        m_sizeScrollPage = step;
        SetScrollSizes(MM_TEXT, total, step, line);
    }
    PlaceCanvas();
}

void CPlexrunView::PlaceCanvas()
{
    if (!m_pCanvas || !m_pCanvas->GetSafeHwnd())
        return;
    // The canvas holds the whole screen and the view shows the part scrolled to: the controls the
    // shapes host move with it.
    CRect client;
    GetClientRect(&client);
    const CSize total = GetTotalSize();
    const CPoint pos = GetDeviceScrollPosition();
    const CRect want(-pos.x, -pos.y, -pos.x + std::max(int(client.Width()), int(total.cx)),
                     -pos.y + std::max(int(client.Height()), int(total.cy)));
    CRect now;
    m_pCanvas->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != want)
        m_pCanvas->MoveWindow(&want);
}

BOOL CPlexrunView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const BOOL moved = CScrollView::OnScrollBy(sizeScroll, bDoScroll);
    if (moved && bDoScroll)
        PlaceCanvas();
    return moved;
}

BOOL CPlexrunView::ScrollByKey(UINT nChar)
{
    const BOOL ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // Pages go across when the screen is only wider than the view.
    CRect client;
    GetClientRect(&client);
    const BOOL across = GetTotalSize().cy <= client.Height();
    UINT code = 0xFF;
    BOOL horizontal = FALSE;
    switch (nChar)
    {
    case VK_PRIOR:
        code = SB_PAGEUP;
        horizontal = across;
        break;
    case VK_NEXT:
        code = SB_PAGEDOWN;
        horizontal = across;
        break;
    case VK_HOME:
        code = SB_TOP;
        horizontal = across && !ctrl;
        break;
    case VK_END:
        code = SB_BOTTOM;
        horizontal = across && !ctrl;
        break;
    case VK_UP:
        code = SB_LINEUP;
        break;
    case VK_DOWN:
        code = SB_LINEDOWN;
        break;
    case VK_LEFT:
        code = SB_LINEUP;
        horizontal = TRUE;
        break;
    case VK_RIGHT:
        code = SB_LINEDOWN;
        horizontal = TRUE;
        break;
    default:
        return FALSE;
    }
    if (ctrl && (nChar == VK_HOME || nChar == VK_END))
    {
        // Ctrl+Home and Ctrl+End: the top left and the bottom right corner.
        OnScroll(MAKEWORD(code, code), 0);
        return TRUE;
    }
    OnScroll(horizontal ? MAKEWORD(code, 0xFF) : MAKEWORD(0xFF, code), 0);
    return TRUE;
}

void CPlexrunView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!ScrollByKey(nChar))
        CScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPlexrunView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    // A printed page is the whole screen, wherever the view is scrolled to.
    if (pInfo)
        CView::OnPrepareDC(pDC, pInfo);
    else
        CScrollView::OnPrepareDC(pDC, pInfo);
}

void CPlexrunView::OnDraw(CDC*) {}

BOOL CPlexrunView::OnPreparePrinting(CPrintInfo* pInfo)
{
    pInfo->SetMaxPage(1);
    return DoPreparePrinting(pInfo);
}

void CPlexrunView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pCanvas)
        m_pCanvas->DrawPageFitted(pDC, pInfo->m_rectDraw);
}

BOOL CPlexrunView::LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent)
{
    if (!m_pCanvas)
        return FALSE;
    const BOOL loaded = m_pCanvas->LoadXdgFromFileBase(lpszPathName, bAddToRecent);
    // A new screen starts at its top left, with bars for its own size.
    ScrollToDevicePosition(CPoint(0, 0));
    UpdateScrollSizes();
    return loaded;
}

void CPlexrunView::OnInitialUpdate()
{
    CPlexrunDoc* doc = GetPlexrunDocument();
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (m_pCanvas && doc)
        m_pCanvas->SetCurrentModel(doc->GetModel());
    CScrollView::OnInitialUpdate();
    if (!m_pCanvas || !doc || !app)
        return;
    AttachModel(doc->GetModel());
    if (!app->m_pScriptObject)
        CreateScriptEngine(doc->GetModel());
    ShowFirstScreen(doc);
    m_pCanvas->SetDesignMode(FALSE);
    StartScreen();
    UpdateScrollSizes();
    m_pCanvas->Invalidate(FALSE);
}

void CPlexrunView::CreateScriptEngine(CExtDataModel* pModel)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (!app || app->m_pScriptObject)
        return;
    try
    {
        app->m_pScriptObject = new CScriptObject;
    }
    catch (const _com_error&)
    {
        app->m_pScriptObject = nullptr;
    }
    m_bOwnsScript = TRUE;
    m_pMethodHost->SetCurModel(pModel);
    m_pMethodHost->SetCanvas(m_pCanvas);
    m_pMethodHost->SetTimerStepCounter(&m_nTimerStep);
    if (CScriptObject* script = app->m_pScriptObject)
    {
        script->AddObject(L"app", m_pMethodHost->GetIDispatch(FALSE), TRUE);
        script->SetTimeout(-1);
        m_strScriptText = app->ReadScriptFile(L"system.uscp");
        // A file that holds nothing but its byte-order mark is an empty script.
        if (m_strScriptText == CString(L"\xFEFF"))
            m_strScriptText.Empty();
        if (!m_strScriptText.IsEmpty() && script->AddScript(m_strScriptText))
            m_bScriptLoaded = TRUE;
    }
}

void CPlexrunView::AttachModel(CExtDataModel* pModel)
{
    if (m_pAttachedModel || !pModel)
        return;
    m_pAttachedModel = pModel;
    ++pModel->m_nRunViews;
}

void CPlexrunView::DetachModel()
{
    if (m_pAttachedModel)
        --m_pAttachedModel->m_nRunViews;
    m_pAttachedModel = nullptr;
}

BOOL CPlexrunView::IsLastViewOfModel() const
{
    return !m_pAttachedModel || m_pAttachedModel->m_nRunViews <= 1;
}

void CPlexrunView::ShowFirstScreen(CPlexrunDoc* pDoc)
{
    CExtDataModel* model = pDoc->GetModel();
    const CString opened = pDoc->GetPathName();
    if (!IsLastViewOfModel())
        m_strCurrentScreen = CPlexrunApp::GetFileName(model->m_strFilePath);
    else if (!opened.IsEmpty())
    {
        m_strCurrentScreen = CPlexrunApp::GetFileName(opened);
        m_pCanvas->BindLoadedModel();
    }
    else if (!pDoc->m_bScreenInitialised)
    {
        m_pCanvas->SetDesignMode(FALSE);
        if (LoadMainScreen())
            AfxGetPlexrunApp()->m_strCurrentScreen = m_strCurrentScreen;
    }
    pDoc->m_bScreenInitialised = TRUE;
}

BOOL CPlexrunView::LoadMainScreen()
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    CWorkSpaceObj* ws = app ? app->GetWorkSpace() : nullptr;
    CString main = ws ? ws->m_strMainScreen : CString();
    main.Trim();
    if (!app || !CPlexrunApp::IsFullFolder(app->m_strProjectFolder) ||
        !CPlexrunApp::IsProjectFileName(app->m_strProjectFile) || main.IsEmpty())
        return FALSE;
    const CString path = app->GetScreensFolder() + main;
    m_strCurrentScreen = main;
    if (CPlexrunApp::FileExists(path))
        m_pCanvas->LoadXdgFromFile(path, FALSE);
    return TRUE;
}

CPlexrunView::CScreenSettings CPlexrunView::ReadScreenSettings() const
{
    CScreenSettings settings;
    settings.nPeriod = kDefaultTimerPeriod;
    if (CExtDataModel* model = GetCurrentModel())
    {
        model->GetPropStringValue(settings.strProp15001, XVK_PROP_SCREEN_15001);
        model->GetPropStringValue(settings.strProp15003, XVK_PROP_SCREEN_15003);
        if (!model->GetPropIntValue(settings.nPeriod, XVK_PROP_TIMER_PERIOD) || settings.nPeriod <= 0)
            settings.nPeriod = kDefaultTimerPeriod;
        model->GetPropStringValue(settings.strStartProc, XVK_PROP_START_PROC);
        model->GetPropStringValue(settings.strTimerProc, XVK_PROP_TIMER_PROC);
    }
    return settings;
}

void CPlexrunView::ArmTimerProcedure(const CScreenSettings& settings)
{
    m_strTimerProc = settings.strTimerProc;
    KillTimer(RUN_TIMER_PROCEDURE);
    if (!m_strTimerProc.IsEmpty())
        SetTimer(RUN_TIMER_PROCEDURE, UINT(settings.nPeriod));
}

void CPlexrunView::StartScreen()
{
    const CScreenSettings settings = ReadScreenSettings();
    if (!m_strScriptText.IsEmpty() && !settings.strStartProc.IsEmpty())
        RunScriptProcedure(settings.strStartProc, CString(), 0);
    ArmTimerProcedure(settings);
    ArmViewTimers();
}

void CPlexrunView::ArmViewTimers()
{
    const UINT refresh = GetRefreshTimerId();
    CWorkSpaceObj* ws = GetWorkSpace();
    KillTimer(refresh);
    if ((ws && !ws->GetParamObjects().IsEmpty()) || CountBoundShapes() > 0)
        SetTimer(refresh, 250);
    KillTimer(RUN_TIMER_STEPPING);
    if (CountSteppingShapes() > 0)
        SetTimer(RUN_TIMER_STEPPING, 1000);
    KillTimer(RUN_TIMER_CHARTS);
    if (CountChartShapes() > 0)
        SetTimer(RUN_TIMER_CHARTS, 1000);
    KillTimer(RUN_TIMER_CLOCK);
    SetTimer(RUN_TIMER_CLOCK, 500);
}

void CPlexrunView::RunScriptProcedure(const CString& strName, const CString& strText, int nValue)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (!m_bScriptLoaded || !app || !app->m_pScriptObject)
        return;
    CScriptObject* script = app->m_pScriptObject;
    SAFEARRAYBOUND bound = {2, 0};
    SAFEARRAY* args = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!args)
        return;
    LONG index = 0;
    _variant_t text(strText.GetString());
    SafeArrayPutElement(args, &index, &text);
    index = 1;
    _variant_t number(static_cast<long>(nValue));
    SafeArrayPutElement(args, &index, &number);
    VARIANT result;
    VariantInit(&result);
    BOOL ok = FALSE;
    try
    {
        ok = script->RunProcedure(strName, &args, &result);
    }
    catch (...)
    {
        ok = FALSE;
    }
    if (!ok)
        AfxMessageBox(script->GetErrorString(), MB_OK | MB_ICONINFORMATION);
    VariantClear(&result);
    SafeArrayDestroy(args);
}

void CPlexrunView::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case RUN_TIMER_REFRESH:
    case RUN_TIMER_CHARTS:
        return;
    case RUN_TIMER_PROCEDURE:
        if (!m_strTimerProc.IsEmpty())
        {
            RunScriptProcedure(m_strTimerProc, CString(), 0);
            ++m_nTimerStep;
        }
        return;
    case RUN_TIMER_CLOCK:
        UpdateClockVariables();
        return;
    case RUN_TIMER_STEPPING:
        StepShapes();
        return;
    default:
        CScrollView::OnTimer(nIDEvent);
    }
}

void CPlexrunView::UpdateClockVariables()
{
    CWorkSpaceObj* ws = GetWorkSpace();
    CExtDataModel* model = GetCurrentModel();
    if (!ws || !model)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const bool valid = now.isValid();
    const QDate d = now.date();
    const QTime t = now.time();
    struct Field
    {
        const wchar_t* name;
        int value;
    };
    const Field fields[] = {{L"$Year", d.year()}, {L"$Month", d.month()},   {L"$Day", d.day()},
                            {L"$Hour", t.hour()}, {L"$Minute", t.minute()}, {L"$Second", t.second()}};
    CFOTypedShapeObList changed;
    CParamObjList& params = ws->GetParamObjects();
    for (POSITION pos = params.GetHeadPosition(); pos;)
    {
        CParamObj* param = params.GetNext(pos);
        if (!param)
            continue;
        if (param->GetKind() == PARAM_KIND_GLOBAL)
            model->PushParamValue(param->GetName(), param->GetValue(), &changed, PARAM_KIND_GLOBAL);
        else if (param->GetKind() == PARAM_KIND_SYSTEM)
        {
            for (const Field& f : fields)
            {
                if (param->GetName() != f.name)
                    continue;
                param->GetValue().m_nValue = valid ? f.value : -1;
                model->PushParamValue(param->GetName(), param->GetValue(), &changed, PARAM_KIND_SYSTEM);
                break;
            }
        }
    }
    if (!changed.IsEmpty())
        m_pCanvas->UpdateShapes(&changed);
}

void CPlexrunView::StepShapes()
{
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return;
    CFOTypedShapeObList redraw;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        BOOL moved = FALSE;
        const UINT type = shape->GetType();
        if (type == 34 || type == 89)
        {
            if (auto* comp = dynamic_cast<CFOCompositeShape*>(shape))
                moved = comp->DoCycleAnimate();
        }
        else
        {
            BOOL on = FALSE;
            if (shape->GetPropBoolValue(on, FO_PROP_VALUE_ON) && on)
                moved = shape->DoAnimate();
        }
        if (moved)
            redraw.AddTail(shape);
    }
    if (!redraw.IsEmpty())
        m_pCanvas->UpdateShapes(&redraw);
}

void CPlexrunView::OnDestroy()
{
    CScrollView::OnDestroy();
    if (CExtDataModel* model = GetCurrentModel())
    {
        CString closeProc2, closeProc;
        model->GetPropStringValue(closeProc2, XVK_PROP_CLOSE_PROC);
        model->GetPropStringValue(closeProc, XVK_PROP_CLOSE_PROC2);
        if (!closeProc.IsEmpty())
            RunScriptProcedure(closeProc, CString(), 0);
    }
    KillTimer(RUN_TIMER_PROCEDURE);
    KillTimer(RUN_TIMER_CHARTS);
    KillTimer(GetRefreshTimerId());
    KillTimer(RUN_TIMER_STEPPING);
    if (m_pCanvas)
        m_pCanvas->SetCurrentModel(nullptr);
    DetachModel();
}

// Counting

BOOL CPlexrunView::IsChartType(UINT nType)
{
    return nType == 256 || nType == 615 || nType == 632;
}

BOOL CPlexrunView::IsValueFlagType(UINT nType)
{
    static const UINT kTypes[] = {20,  22,  92,  240, 241, 242, 269, 271, 276, 288, 289, 292,
                                  293, 295, 605, 607, 616, 620, 621, 622, 623, 626, 697, 698};
    return std::find(std::begin(kTypes), std::end(kTypes), nType) != std::end(kTypes);
}

BOOL CPlexrunView::IsSteppingType(UINT nType)
{
    return nType == 34 || nType == 89 || IsValueFlagType(nType);
}

int CPlexrunView::CountChartPoints(CFODrawShape* pShape, CStringArray& points) const
{
    CString text;
    if (!pShape || !pShape->GetPropStringValue(text, RUN_PROP_TAG_LIST) || !IsChartType(pShape->GetType()))
        return 0;
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, text);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        points.Add(entries[i].strDef);
    return int(entries.GetSize());
}

int CPlexrunView::CountAllChartPoints() const
{
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return 0;
    int total = 0;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        CStringArray points;
        total += CountChartPoints(shape, points);
    }
    return total;
}

int CPlexrunView::CountShapes(BOOL (*pfnTest)(UINT nType)) const
{
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return 0;
    const auto& shapes = *model->GetShapes();
    return int(std::count_if(shapes.begin(), shapes.end(),
                             [pfnTest](const CFODrawShape* s) { return pfnTest(s->GetType()); }));
}

int CPlexrunView::CountChartShapes() const
{
    return CountShapes(IsChartType);
}

int CPlexrunView::CountSteppingShapes() const
{
    return CountShapes(IsSteppingType);
}

// Shape events

void CPlexrunView::OpenFileWithShell(const CString& strPath)
{
    OpenLinkInBrowser(LocalFileUrl(strPath), SW_SHOW);
}

CString CPlexrunView::LocalFileUrl(const CString& strPath)
{
    // The spelling on disk, and every character of the name encoded ("#", "?", blanks).
    const CString path = AfxResolvePathCase(strPath);
    return CString(QUrl::fromLocalFile(QString::fromStdWString(path.GetString()))
                       .toString(QUrl::FullyEncoded)
                       .toStdWString()
                       .c_str());
}

BOOL CPlexrunView::ShowPopupScreen(const CString& strPath, const CString& strTitle, CSize size)
{
    const int left = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    CMyHMIChildDlg dlg;
    dlg.m_strScreenPath = strPath;
    dlg.m_strTitle = strTitle;
    dlg.m_rcWindow = CRect(left, top, left + size.cx, top + size.cy);
    // The player's model, so that the popup builds the player's own shapes too.
    const auto model = std::make_unique<CExtDataModel>();
    dlg.m_pModel = model.get();
    dlg.DoModal();
    return TRUE;
}

void CPlexrunView::OnShowTestPopup()
{
    if (CPlexrunApp* app = AfxGetPlexrunApp())
        ShowPopupScreen(app->GetDemoFolder() + L"hmicheck.xdg", L"Test", CSize(800, 600));
}

BOOL CPlexrunView::SwitchScreen(const CString& strName)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (!app || strName.IsEmpty())
        return FALSE;
    const CString path = app->GetScreensFolder() + strName;
    if (!app->IsScreenFileValid(strName, m_strCurrentScreen))
    {
        // A screen that should be there and is not is reported; other names are no screens.
        if (app->IsMissingScreen(strName, m_strCurrentScreen))
            CanShowScreenFile(path);
        return FALSE;
    }
    return ShowScreen(path, strName);
}

BOOL CPlexrunView::CanShowScreenFile(const CString& strPath, CString* pReason)
{
    CException* error = nullptr;
    CFileStatus status;
    if (!CFile::GetStatus(strPath, status))
        error = new CFileException(CFileException::fileNotFound, ENOENT, strPath);
    else if (status.m_size == 0)
        // A switch to a file of no bytes is a file cut short, not a screen.
        error = new CArchiveException(CArchiveException::endOfFile, strPath);
    else
    {
        CExtDataModel scratch;
        AfxLoadArchiveFile(
            strPath, [&scratch](CArchive& ar) { scratch.Serialize(ar); }, 0, &error);
    }
    if (!error)
        return TRUE;
    const CString reason = error->ReportError();
    error->Delete();
    CString text;
    text.Format(L"Cannot show screen file (%s)!\n%s", static_cast<LPCWSTR>(strPath),
                static_cast<LPCWSTR>(reason));
    if (pReason)
        *pReason = text;
    else
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CPlexrunView::ShowScreen(const CString& strPath, const CString& strName)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    if (!app || !m_pCanvas || strPath.IsEmpty())
        return FALSE;
    // What cannot be read leaves the shown screen as it is: shown, bound and updating.
    if (!CanShowScreenFile(strPath) || !m_pCanvas->LoadXdgFromFile(strPath, FALSE))
        return FALSE;
    m_pCanvas->SetDesignMode(FALSE);
    m_strCurrentScreen = strName;
    // A popup's switches are its own.
    if (m_pDocument)
        app->m_strCurrentScreen = strName;
    m_nTimerStep = 0;
    StartScreen();
    return TRUE;
}

void CPlexrunView::DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent)
{
    CPlexrunApp* app = AfxGetPlexrunApp();
    switch (nEventKind)
    {
    case 1:
        OpenLinkInBrowser(L"mailto:" + strEvent, SW_SHOWNORMAL);
        break;
    case 2:
        OpenLinkInBrowser(strEvent, SW_SHOW);
        break;
    case 3:
    case 4:
        if (const CString path = app ? app->GetLinkFilePath(strEvent) : CString();
            CPlexrunApp::FileExists(path))
            OpenFileWithShell(path);
        break;
    case 5:
        SwitchScreen(strEvent);
        break;
    case 6:
        SendMessage(WM_COMMAND, 57607, 0);
        break;
    case 16:
        if (m_pCanvas)
            m_pCanvas->OnFoFileExport();
        break;
    case 12:
    case 13:
        if (CExtDataModel* model = GetCurrentModel(); model && !strEvent.IsEmpty())
            if (CFODrawShape* target = model->FindCompWithName(strEvent))
            {
                target->SetVisible(nEventKind == 13);
                target->UpdateControl();
            }
        break;
    case 18:
        if (!strEvent.IsEmpty() && app && !app->IsScreenFileValid(strEvent, m_strCurrentScreen))
        {
            CString proc;
            pShape->GetPropStringValue(proc, RUN_PROP_SHAPE_PROCEDURE);
            if (!proc.IsEmpty())
                RunScriptProcedure(proc, CString(), 0);
        }
        break;
    case 19:
        if (app && app->m_pMainWnd)
            app->m_pMainWnd->PostMessage(WM_CLOSE, 0, 0);
        break;
    case 7:
    case 20:
        m_pCanvas->CFOPCanvasCore::DoEventAtAllGeometryUp(pShape, nEventKind, strEvent);
        break;
    default:
        if (nEventKind > 22)
            m_pCanvas->CFOPCanvasCore::DoEventAtAllGeometryUp(pShape, nEventKind, strEvent);
        break;
    }
}

BOOL CPlexrunView::SetGlobalFromValue(const CString& strName, double dValue, CFODrawShape* pSkip,
                                      CFOTypedShapeObList* pChanged)
{
    CWorkSpaceObj* ws = GetWorkSpace();
    CExtDataModel* model = GetCurrentModel();
    if (!ws || strName.IsEmpty())
        return FALSE;
    CParamObjList& params = ws->GetParamObjects();
    for (POSITION pos = params.GetHeadPosition(); pos;)
    {
        CParamObj* param = params.GetNext(pos);
        if (!param || param->GetKind() != PARAM_KIND_GLOBAL || param->GetName() != strName)
            continue;
        CXVKMethodHost::WriteNumber(param, dValue);
        if (model && pChanged)
            model->PushParamValue(pSkip, param->GetName(), param->GetValue(), pChanged, PARAM_KIND_GLOBAL);
        return TRUE;
    }
    return FALSE;
}

void CPlexrunView::DoEventDragSlider(CFODrawShape* pShape, double dValue)
{
    if (!pShape)
        return;
    CString key = pShape->GetKeyId3();
    key.Trim();
    if (auto* path = dynamic_cast<CFOPMovePathShape*>(pShape))
    {
        CFODrawShape* moved = path->GetMoveShape();
        if (!moved)
            return;
        // Where the moved shape stood before the drag moved it, and where it stands now.
        const CRect prev = moved->GetPrevRect();
        CRect region = prev.IsRectEmpty() ? moved->GetMaxRect() : Union(prev, moved->GetMaxRect());
        CFOTypedShapeObList changed;
        SetGlobalFromValue(key, dValue, pShape, &changed);
        for (CFODrawShape* s : changed)
            region = Union(region, s->GetMaxRect());
        m_pCanvas->InvalidateCanvasRect(region);
        return;
    }
    CFOTypedShapeObList list;
    list.AddTail(pShape);
    SetGlobalFromValue(key, dValue, pShape, &list);
    m_pCanvas->UpdateShapes(&list);
}

// Path and scale animation

void CPlexrunView::DoCurrentValueChange(CFODrawShape* pShape, double dValue)
{
    CExtDataModel* model = GetCurrentModel();
    if (!pShape || !model || model->IsDesignMode())
        return;
    AnimateDriver(pShape, dValue);
}

void CPlexrunView::AnimateDriver(CFODrawShape* pDriver, double dValue)
{
    auto* path = dynamic_cast<CFOPMovePathShape*>(pDriver);
    auto* scale = dynamic_cast<CFOPScaleRefShape*>(pDriver);
    if (!path && !scale)
        return;
    const CString link = path ? path->GetLinkPathShape() : scale->GetLinkPathShape();
    if (link.IsEmpty())
        return;
    CFODrawShape* target = path ? path->GetMoveShape() : scale->GetMoveShape();
    if (!target)
        target = GetCurrentModel()->FindShapeWithKey1(link);
    if (!target)
        return;
    const double range = pDriver->GetMaxValue() - pDriver->GetMinValue();
    if (range == 0.0)
        return;

    const CRect old = target->GetSnapRect();
    CRect next = old;
    if (path)
    {
        const int count = path->GetPointCount();
        if (count < 2)
            return;
        std::vector<CPoint> points(path->GetPoints(), path->GetPoints() + count);
        // The path in canvas coordinates.
        for (CPoint& p : points)
            p = path->OwnToCanvas(p);
        double length = 0.0;
        for (int i = 1; i < count; ++i)
            length +=
                std::hypot(double(points[i].x - points[i - 1].x), double(points[i].y - points[i - 1].y));
        const CPoint centre =
            dValue >= range ? points.back() : PointOnPath(points.data(), count, dValue * (length / range));
        next = CentredRect(centre, old.Width(), old.Height());
    }
    else
    {
        int direction = 0, anchor = 0;
        if (!scale->GetPropIntValue(direction, FO_PROP_SCALE_DIRECTION))
            direction = 0;
        if (!scale->GetPropIntValue(anchor, FO_PROP_SCALE_ANCHOR))
            anchor = 0;
        if (direction < 0 || direction > 2 || anchor < 0 || anchor > 2)
            return;
        const CRect r = scale->GetSnapRect();
        auto size = [dValue, range](int extent)
        {
            const int n = CFODrawHelper::RoundValue(extent * dValue / range);
            return n <= 4 ? 4 : n;
        };
        const int h = size(r.Height());
        const int w = size(r.Width());
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        if (direction == 0 || direction == 2)
        {
            if (anchor == 0)
                next.top = r.top, next.bottom = r.top + h;
            else if (anchor == 1)
                next.bottom = r.bottom, next.top = r.bottom - h;
            else
                next.top = cy - h / 2, next.bottom = cy + h / 2;
        }
        if (direction == 1 || direction == 2)
        {
            if (anchor == 0)
                next.left = r.left, next.right = r.left + w;
            else if (anchor == 1)
                next.right = r.right, next.left = r.right - w;
            else
                next.left = cx - w / 2, next.right = cx + w / 2;
        }
    }
    target->PositionShape(next);

    const CRect region = Union(old, target->GetSnapRect());
    CString key = pDriver->GetKeyId3();
    key.Trim();
    if (!key.IsEmpty())
        if (CWorkSpaceObj* ws = GetWorkSpace())
        {
            CParamObjList& params = ws->GetParamObjects();
            for (POSITION pos = params.GetHeadPosition(); pos;)
            {
                CParamObj* param = params.GetNext(pos);
                if (param && param->GetKind() == PARAM_KIND_GLOBAL && param->GetName() == key)
                    CXVKMethodHost::WriteNumber(param, dValue);
            }
        }
    m_pCanvas->InvalidateCanvasRect(region);
}
