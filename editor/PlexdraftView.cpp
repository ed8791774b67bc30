#include "editor/PlexdraftView.h"

#include "behaviour/EventSetDlgs.h"
#include "behaviour/KeyValueDlg.h"
#include "behaviour/ScreenSetDlg.h"
#include "behaviour/ShapeChooserDlgs.h"
#include "behaviour/StateSetDlgs.h"
#include "behaviour/VisibleExpertDlg.h"
#include "editor/DesignFrame.h"
#include "editor/EditorApp.h"
#include "editor/EditorDialogs.h"
#include "editor/KeyValueDlg.h"
#include "editor/MyExtDataModel.h"
#include "editor/PlexdraftDoc.h"
#include "figkit/FOAction.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FODataModel.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPropEditDlgs.h"
#include "figkit/FOShapeState.h"
#include "figkit/FOStaticShape.h"
#include "figkit/FOWndControlShape.h"
#include "foundation/MyDrawWnd.h"
#include "mfc/CmdUI.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/File.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"
#include "mfc/WinApp.h"
#include "opc/InfoServer.h"
#include "opc/InfoServerExplorerDoc.h"
#include "symbols/LinkOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <set>

IMPLEMENT_DYNCREATE(CPlexdraftView, CFOScriptView)
IMPLEMENT_DYNCREATE(CQYRDrawView, CPlexdraftView)

namespace
{
// Command ids of the format bar, the view menu, the tools and the behaviour commands.
enum : UINT
{
    ID_FONT_NAME_BOX = 1221,
    ID_FONT_SIZE_BOX = 1222,
    ID_ZOOM_BOX = 1220,
    ID_BOLD = 32804,
    ID_ITALIC = 32805,
    ID_UNDERLINE = 32781,
    ID_ALIGN_LEFT = 32782,
    ID_ALIGN_CENTER = 32783,
    ID_ALIGN_RIGHT = 32784,
    ID_ALIGN_TOP = 32820,
    ID_ALIGN_MIDDLE = 32822,
    ID_ALIGN_BOTTOM = 32821,
    ID_BULLETS = 32785,
    ID_LARGER_FONT = 32786,
    ID_SMALLER_FONT = 32787,
    ID_WELL_FONT_COLOR = 32788,
    ID_WELL_LINE_COLOR = 32807,
    ID_WELL_FILL_COLOR = 32809,
    ID_WELL_LINE_WIDTH = 32794,
    ID_WELL_PEN_STYLE = 32796,
    ID_BTN_FONT_COLOR = 32806,
    ID_BTN_LINE_COLOR = 32808,
    ID_BTN_FILL_COLOR = 32793,
    ID_BTN_LINE_WIDTH = 32795,
    ID_BTN_PEN_STYLE = 32797,
    ID_SELECT_LABELS = 32841,
    ID_SELECT_SHAPES = 32843,
    ID_SELECT_LINKS = 32832,
    ID_LOCK_LABELS = 32842,
    ID_LOCK_SHAPES = 32844,
    ID_LOCK_LINKS = 32833,
    ID_RULER = 32771,
    ID_PAGE_BORDER = 32827,
    ID_PROPERTY_EDITOR = 32837,
    ID_USER_PROPERTIES = 32836,
    ID_HIDE_SNAP = 32829,
    ID_OPTIONS = 32830,
    ID_INSERT_OBJECTS = 32853,
    ID_TEST_RUN = 32813,
    ID_TOOL_CUSTOM = 32772,
    ID_TOOL_RECT = 32823,
    ID_TOOL_ELLIPSE = 32824,
    ID_TOOL_POLYGON = 32825,
    ID_TOOL_285 = 32890,
    ID_TOOL_287 = 32859,
    ID_TOOL_284 = 32860,
    ID_TOOL_293 = 30088,
    ID_INSERT_CHART = 30085,
    ID_INSERT_GRID = 30086,
    ID_INSERT_LIST = 30087,
    ID_KEY_VALUE = 41300,
    ID_CONNECT_PARAM = 32810,
    ID_VISIBLE_SET = 30089,
    ID_VALUE_ANIMATE = 32856,
    ID_MULTI_STATES = 32831,
    ID_STATE = 32819,
    ID_CUSTOM = 41031,
    ID_SCREEN_SETTING = 30048,
    ID_VALUE_TEST = 32858,
    ID_IMPORT_SVG = 32811,
    ID_HIDDEN_32775 = 32775,
    // The context menu's Properties submenu and the page commands below it.
    ID_PROP_TEXT = 32873,
    ID_PROP_LINE = 32875,
    ID_PROP_FILL = 32876,
    ID_PROP_POSITION = 32877,
    ID_LAYER = 32879,
    ID_PAGE_SETTING = 32880,
    ID_COMPONENTS = 32881,
};

struct ToolEntry
{
    UINT nID;
    UINT nType;
    int nAction;
    int nSubKind;
    UINT nCursor;
};
const ToolEntry kTools[] = {
    {ID_TOOL_RECT, 601, 23, 0, 28293},    {ID_TOOL_ELLIPSE, 602, 18, 0, 28322},
    {ID_TOOL_POLYGON, 603, 97, 0, 28342}, {ID_TOOL_285, 285, 94, 0, 28346},
    {ID_TOOL_287, 287, 97, 0, 28346},     {ID_TOOL_284, 284, 97, 0, 28342},
    {ID_TOOL_293, 293, 94, 1, 28346},
};

const int kFontSizes[] = {8,  9,  10, 11, 12, 14, 16,  18,  20,  22,  24,  26, 28,
                          36, 48, 72, 80, 88, 96, 128, 168, 272, 405, 524, 624};
const int kZoomPercents[] = {10, 20, 40, 80, 100, 200, 300, 400, 600, 800};

// Property ids of the event dialog and the composite's hit switch.
constexpr int kPropClickMethod = 15008;
constexpr int kPropAllowHitChild = 1231;
constexpr UINT ID_EVENT_LINK = 41137;
} // namespace

BOOL CPlexdraftView::IsNoDefaultPorts()
{
    IEditorApp* app = GetEditorApp();
    return app ? app->IsNoDefaultPorts() : TRUE;
}

BEGIN_MESSAGE_MAP(CPlexdraftView, CFOScriptView)
ON_MESSAGE(WM_UNDO_REDO_STEPS, &CPlexdraftView::OnUndoRedoSteps)
ON_CBN_SELCHANGE(ID_FONT_NAME_BOX, &CPlexdraftView::OnFontNameChange)
ON_CBN_SELCHANGE(ID_FONT_SIZE_BOX, &CPlexdraftView::OnFontSizeChange)
ON_CBN_SELCHANGE(ID_ZOOM_BOX, &CPlexdraftView::OnZoomChange)
ON_COMMAND(ID_BOLD, &CPlexdraftView::OnBold)
ON_UPDATE_COMMAND_UI(ID_BOLD, &CPlexdraftView::OnUpdateBold)
ON_COMMAND(ID_ITALIC, &CPlexdraftView::OnItalic)
ON_UPDATE_COMMAND_UI(ID_ITALIC, &CPlexdraftView::OnUpdateItalic)
ON_COMMAND(ID_UNDERLINE, &CPlexdraftView::OnUnderline)
ON_UPDATE_COMMAND_UI(ID_UNDERLINE, &CPlexdraftView::OnUpdateUnderline)
ON_COMMAND_RANGE(ID_ALIGN_LEFT, ID_ALIGN_RIGHT, &CPlexdraftView::OnAlignText)
ON_COMMAND_RANGE(ID_ALIGN_TOP, ID_ALIGN_MIDDLE, &CPlexdraftView::OnAlignText)
ON_UPDATE_COMMAND_UI_RANGE(ID_ALIGN_LEFT, ID_ALIGN_RIGHT, &CPlexdraftView::OnUpdateAlignText)
ON_UPDATE_COMMAND_UI_RANGE(ID_ALIGN_TOP, ID_ALIGN_MIDDLE, &CPlexdraftView::OnUpdateAlignText)
ON_COMMAND(ID_LARGER_FONT, &CPlexdraftView::OnLargerFont)
ON_COMMAND(ID_SMALLER_FONT, &CPlexdraftView::OnSmallerFont)
ON_UPDATE_COMMAND_UI(ID_LARGER_FONT, &CPlexdraftView::OnUpdateAlways)
ON_UPDATE_COMMAND_UI(ID_SMALLER_FONT, &CPlexdraftView::OnUpdateAlways)
ON_COMMAND(ID_BULLETS, &CPlexdraftView::OnBullets)
ON_UPDATE_COMMAND_UI(ID_BULLETS, &CPlexdraftView::OnUpdateBullets)
ON_UPDATE_COMMAND_UI(ID_WELL_FONT_COLOR, &CPlexdraftView::OnUpdateDesignMode)
ON_UPDATE_COMMAND_UI(ID_WELL_LINE_COLOR, &CPlexdraftView::OnUpdateDesignMode)
ON_UPDATE_COMMAND_UI(ID_WELL_FILL_COLOR, &CPlexdraftView::OnUpdateDesignMode)
ON_UPDATE_COMMAND_UI(ID_WELL_LINE_WIDTH, &CPlexdraftView::OnUpdateDesignMode)
ON_UPDATE_COMMAND_UI(ID_WELL_PEN_STYLE, &CPlexdraftView::OnUpdateDesignMode)
ON_COMMAND(ID_SELECT_LABELS, &CPlexdraftView::OnSelectAllLabels)
ON_COMMAND(ID_SELECT_SHAPES, &CPlexdraftView::OnSelectAllShapes)
ON_COMMAND(ID_SELECT_LINKS, &CPlexdraftView::OnSelectAllLinks)
ON_COMMAND(ID_LOCK_LABELS, &CPlexdraftView::OnLockAllLabels)
ON_COMMAND(ID_LOCK_SHAPES, &CPlexdraftView::OnLockAllShapes)
ON_COMMAND(ID_LOCK_LINKS, &CPlexdraftView::OnLockAllLinks)
ON_UPDATE_COMMAND_UI(ID_SELECT_LABELS, &CPlexdraftView::OnUpdateSelectAll)
ON_UPDATE_COMMAND_UI(ID_SELECT_SHAPES, &CPlexdraftView::OnUpdateSelectAll)
ON_UPDATE_COMMAND_UI(ID_SELECT_LINKS, &CPlexdraftView::OnUpdateSelectAll)
ON_UPDATE_COMMAND_UI(ID_LOCK_LABELS, &CPlexdraftView::OnUpdateSelectAll)
ON_UPDATE_COMMAND_UI(ID_LOCK_SHAPES, &CPlexdraftView::OnUpdateSelectAll)
ON_UPDATE_COMMAND_UI(ID_LOCK_LINKS, &CPlexdraftView::OnUpdateSelectAll)
ON_COMMAND(ID_RULER, &CPlexdraftView::OnRuler)
ON_UPDATE_COMMAND_UI(ID_RULER, &CPlexdraftView::OnUpdateRuler)
ON_COMMAND(ID_PAGE_BORDER, &CPlexdraftView::OnPageBorder)
ON_UPDATE_COMMAND_UI(ID_PAGE_BORDER, &CPlexdraftView::OnUpdatePageBorder)
ON_COMMAND(ID_HIDE_SNAP, &CPlexdraftView::OnHideAllSnap)
ON_COMMAND(ID_OPTIONS, &CPlexdraftView::OnOptions)
ON_COMMAND(ID_TEST_RUN, &CPlexdraftView::OnTestRun)
ON_UPDATE_COMMAND_UI(ID_TEST_RUN, &CPlexdraftView::OnUpdateDesignMode)
ON_UPDATE_COMMAND_UI(ID_INSERT_OBJECTS, &CPlexdraftView::OnUpdateDisabled)
ON_COMMAND(ID_PROPERTY_EDITOR, &CPlexdraftView::OnFOPFoPropManager)
ON_UPDATE_COMMAND_UI(ID_PROPERTY_EDITOR, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_USER_PROPERTIES, &CPlexdraftView::OnFOPFoPropManager)
ON_UPDATE_COMMAND_UI(ID_USER_PROPERTIES, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_PROP_TEXT, &CPlexdraftView::OnFOPTextProp)
ON_UPDATE_COMMAND_UI(ID_PROP_TEXT, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_PROP_LINE, &CPlexdraftView::OnFOPLineProp)
ON_UPDATE_COMMAND_UI(ID_PROP_LINE, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_PROP_FILL, &CPlexdraftView::OnFOPFillProp)
ON_UPDATE_COMMAND_UI(ID_PROP_FILL, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_PROP_POSITION, &CPlexdraftView::OnFOPPositionProp)
ON_UPDATE_COMMAND_UI(ID_PROP_POSITION, &CPlexdraftView::OnUpdateFOPOneSelected)
ON_COMMAND(ID_LAYER, &CPlexdraftView::OnFOPLayer)
ON_UPDATE_COMMAND_UI(ID_LAYER, &CPlexdraftView::OnUpdateFOPFoPropManager)
ON_COMMAND(ID_PAGE_SETTING, &CPlexdraftView::OnFOPPageSetup)
ON_UPDATE_COMMAND_UI(ID_PAGE_SETTING, &CPlexdraftView::OnUpdateFOPDesignMode)
ON_COMMAND(ID_COMPONENTS, &CPlexdraftView::OnFOPComponents)
ON_UPDATE_COMMAND_UI(ID_COMPONENTS, &CPlexdraftView::OnUpdateFOPComponents)
ON_COMMAND_RANGE(ID_TOOL_CUSTOM, ID_TOOL_CUSTOM, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_RECT, ID_TOOL_ELLIPSE, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_POLYGON, ID_TOOL_POLYGON, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_285, ID_TOOL_285, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_287, ID_TOOL_287, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_284, ID_TOOL_284, &CPlexdraftView::OnDrawTool)
ON_COMMAND_RANGE(ID_TOOL_293, ID_TOOL_293, &CPlexdraftView::OnDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_CUSTOM, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOL_RECT, ID_TOOL_ELLIPSE, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_POLYGON, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_285, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_287, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_284, &CPlexdraftView::OnUpdateDrawTool)
ON_UPDATE_COMMAND_UI(ID_TOOL_293, &CPlexdraftView::OnUpdateDrawTool)
ON_COMMAND_RANGE(ID_INSERT_CHART, ID_INSERT_LIST, &CPlexdraftView::OnInsertControl)
ON_UPDATE_COMMAND_UI_RANGE(ID_INSERT_CHART, ID_INSERT_LIST, &CPlexdraftView::OnUpdateAlways)
ON_COMMAND(ID_CONNECT_PARAM, &CPlexdraftView::OnConnectParam)
ON_UPDATE_COMMAND_UI(ID_CONNECT_PARAM, &CPlexdraftView::OnUpdateNeedSelectionDesign)
ON_COMMAND(ID_VISIBLE_SET, &CPlexdraftView::OnVisibleSet)
ON_UPDATE_COMMAND_UI(ID_VISIBLE_SET, &CPlexdraftView::OnUpdateOneSelected)
ON_COMMAND(ID_EVENT_LINK, &CPlexdraftView::OnEventLink)
ON_UPDATE_COMMAND_UI(ID_EVENT_LINK, &CPlexdraftView::OnUpdateEventLink)
ON_COMMAND(ID_MULTI_STATES, &CPlexdraftView::OnMultipleStates)
ON_UPDATE_COMMAND_UI(ID_MULTI_STATES, &CPlexdraftView::OnUpdateMultipleStates)
ON_COMMAND(ID_SCREEN_SETTING, &CPlexdraftView::OnScreenSetting)
ON_UPDATE_COMMAND_UI(ID_SCREEN_SETTING, &CPlexdraftView::OnUpdateScreenSetting)
ON_COMMAND(ID_VALUE_TEST, &CPlexdraftView::OnValueChangeTest)
ON_COMMAND(ID_VALUE_ANIMATE, &CPlexdraftView::OnValueChangeAnimate)
ON_UPDATE_COMMAND_UI(ID_VALUE_ANIMATE, &CPlexdraftView::OnUpdateValueChangeAnimate)
ON_COMMAND(ID_STATE, &CPlexdraftView::OnShapeState)
ON_UPDATE_COMMAND_UI(ID_STATE, &CPlexdraftView::OnUpdateShapeState)
ON_COMMAND(ID_CUSTOM, &CPlexdraftView::OnCustomProperties)
ON_UPDATE_COMMAND_UI(ID_CUSTOM, &CPlexdraftView::OnUpdateCustomProperties)
ON_COMMAND(ID_IMPORT_SVG, &CPlexdraftView::OnImportSvg)
ON_UPDATE_COMMAND_UI(ID_IMPORT_SVG, &CPlexdraftView::OnUpdateImportSvg)
ON_UPDATE_COMMAND_UI(ID_HIDDEN_32775, &CPlexdraftView::OnUpdateDisabled)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CQYRDrawView, CPlexdraftView)
ON_COMMAND(ID_KEY_VALUE, &CQYRDrawView::OnKeyValue)
ON_UPDATE_COMMAND_UI(ID_KEY_VALUE, &CQYRDrawView::OnUpdateKeyValue)
END_MESSAGE_MAP()

CPlexdraftView::CPlexdraftView() = default;

CPlexdraftView::~CPlexdraftView()
{
    delete m_pPreviewWnd;
}

CPlexdraftDoc* CPlexdraftView::GetDocument() const
{
    return dynamic_cast<CPlexdraftDoc*>(m_pDocument);
}

CMyExtDataModel* CPlexdraftView::GetEditModel() const
{
    return dynamic_cast<CMyExtDataModel*>(m_pModel);
}

IDesignFrame* CPlexdraftView::GetDesignFrame()
{
    return dynamic_cast<IDesignFrame*>(AfxGetMainWnd());
}

// --- Set-up and updates ------------------------------------------------------------------------------

void CPlexdraftView::OnInitialUpdate()
{
    CPlexdraftDoc* doc = GetDocument();
    if (doc)
        SetCurrentModel(doc->GetModel());
    CFOScriptView::OnInitialUpdate();
    SetRulerUnit(10);
    if (m_pModel)
        m_pModel->SetUIUnit(10);
    SetGridSpacing(10.0, 10.0);
    ShowRulers(doc ? doc->m_bShowRulers != 0 : TRUE);
    UpdateScrollBarSize();
    UpdateRulerMap();
    InvalidateCanvas();
    if (IDesignFrame* frame = GetDesignFrame())
        if (CWnd* pan = frame->GetPanBar(); pan && pan->GetSafeHwnd())
        {
            // Hidden and shown again so that it follows this view.
            m_bBarWasVisible = pan->IsWindowVisible();
            pan->ShowWindow(SW_HIDE);
            pan->ShowWindow(m_bBarWasVisible ? SW_SHOW : SW_HIDE);
        }
}

void CPlexdraftView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CFOScriptView::OnUpdate(pSender, lHint, pHint);
    SyncFormatBar();
    IDesignFrame* frame = GetDesignFrame();
    if (!frame)
        return;
    if (CFrameWnd* child = GetParentFrame())
        frame->RefreshShapeList(child);
    CWnd* main = AfxGetMainWnd();
    if (m_pModel && main && main->IsWindowVisible())
    {
        if (CStringArray* undo = frame->GetUndoTexts())
            m_pModel->GetUndoHistory()->GetUndoActionText(*undo);
        if (CStringArray* redo = frame->GetRedoTexts())
            m_pModel->GetUndoHistory()->GetRedoActionText(*redo);
    }
}

void CPlexdraftView::OnDraw(CDC* pDC)
{
    CFOScriptView::OnDraw(pDC);
}

BOOL CPlexdraftView::OnDrop(UINT nType, CPoint ptClient)
{
    const BOOL result = CFOScriptView::OnDrop(nType, ptClient);
    SyncFormatBar();
    return result;
}

void CPlexdraftView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CQYRDrawView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return CFOScriptView::OnPreparePrinting(pInfo);
}

void CQYRDrawView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CFOScriptView::OnBeginPrinting(pDC, pInfo);
}

void CQYRDrawView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CFOScriptView::OnPrint(pDC, pInfo);
}

void CPlexdraftView::OpenShellFile(LPCWSTR lpszFile, LPCWSTR)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(CString(lpszFile).ToUtf8())));
}

void CPlexdraftView::DoChangeModel(CFODataModel* pModel)
{
    if (!pModel)
        return;
    SetGridLineType(FO_GRID_LINES);
    SetGridColor(0);
    if (IsNoDefaultPorts())
        pModel->ShowPort(FALSE);
}

void CPlexdraftView::DoZoomScaleChanging()
{
    if (IDesignFrame* frame = GetDesignFrame())
        if (CComboBox* box = frame->GetZoomBox(); box && box->GetSafeHwnd())
        {
            CString text;
            text.Format(L"%d", int(GetZoomScale() * 100));
            box->SetWindowText(text);
        }
    if (m_bNotifyViewUpdate)
        FOPMessageSend(this, FOP_WM_VIEW_UPDATE, FOP_VIEW_UPDATE_ZOOM);
}

CWnd* CPlexdraftView::DoUpdateRuler()
{
    if (auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()))
        return main->MDIGetActive();
    return nullptr;
}

void CPlexdraftView::SelectShape(CFODrawShape* pShape)
{
    CFOTypedShapeObList copy;
    for (CFODrawShape* shape : GetSelectShapes())
        copy.AddTail(shape);
    ClearSelection();
    AddToSelection(pShape);
    if (pShape && copy.Find(pShape) < 0)
        copy.AddTail(pShape);
    DoCorrectTabOrder(copy);
    // The new shape goes last whatever its place in the model.
    if (pShape && copy.Remove(pShape))
        copy.AddTail(pShape);
    SelectShapes(copy);
}

void CPlexdraftView::SyncFormatBar()
{
    IDesignFrame* frame = GetDesignFrame();
    if (!frame)
        return;
    CWnd* bar = frame->GetFormatBar();
    if (!bar || !bar->GetSafeHwnd() || !bar->IsWindowVisible())
        return;
    CFODrawShape* shape = GetFirstSelectShape();
    if (!shape)
    {
        if (m_pModel)
            frame->SendToFormatButtons(ID_WELL_FILL_COLOR, FOP_BUTTON_SETVALUE, m_pModel->GetBkColor(), 0);
        return;
    }
    CString text;
    text.Format(L"%u", UINT(shape->GetPointSize()));
    if (CComboBox* size = frame->GetFontSizeBox())
        size->SelectString(-1, text);
    if (CComboBox* name = frame->GetFontNameBox())
        name->SelectString(-1, shape->GetFaceName());
    const std::pair<UINT, DWORD> values[] = {{ID_WELL_FONT_COLOR, shape->GetFontColor()},
                                             {ID_WELL_LINE_COLOR, shape->GetLineColor()},
                                             {ID_WELL_FILL_COLOR, shape->GetBkColor()},
                                             {ID_WELL_LINE_WIDTH, DWORD(shape->GetLineWidth())},
                                             {ID_WELL_PEN_STYLE, DWORD(shape->GetPenStyle())}};
    for (const auto& v : values)
    {
        frame->SendToFormatButtons(v.first, FOP_BUTTON_SETVALUE, v.second, 0);
        frame->SendToFormatButtons(v.first, FOP_BUTTON_SETVALUE2, v.second, 0);
    }
}

void CPlexdraftView::ExportOutputHtml(const CString& strFolder, int, int)
{
    const CString path = strFolder + L"output.htm";
    // Only a stub: an existing page is left as it is.
    CFileStatus status;
    if (!CFile::GetStatus(path, status))
    {
        CFile file;
        if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
            return;
        file.Close();
    }
    AfxMessageBox(L"Not implemented yet!", MB_OK);
}

// --- Mouse and the undo message ----------------------------------------------------------------------

void CPlexdraftView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CFOScriptView::OnLButtonDown(nFlags, point);
}

void CPlexdraftView::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFOScriptView::OnLButtonUp(nFlags, point);
    SyncFormatBar();
}

void CPlexdraftView::OnRButtonDown(UINT nFlags, CPoint point)
{
    CFOScriptView::OnRButtonDown(nFlags, point);
    SyncFormatBar();
}

LRESULT CPlexdraftView::OnUndoRedoSteps(WPARAM wParam, LPARAM lParam)
{
    CWaitCursor wait;
    if (!m_pModel)
        return 0;
    const int steps = int(std::min<WPARAM>(wParam, 0x7FFFFFFF));
    if (lParam == UNDO_STEPS_CODE)
        m_pModel->UndoMacro(steps);
    else
        m_pModel->RedoMacro(steps);
    return 0;
}

// --- Shape events and handles ------------------------------------------------------------------------

void CPlexdraftView::RunEventDialog(const FOPContainer& shapes, CEventSetBaseDlg& dlg)
{
    CFODrawShape* first = shapes.GetHead();
    if (!first || !m_pModel)
        return;
    first->GetPropIntValue(dlg.m_nEventType, FO_PROP_EVENT_TYPE);
    first->GetPropStringValue(dlg.m_strEventString, FO_PROP_EVENT_STRING);
    first->GetPropIntValue(dlg.m_nCursorType, FO_PROP_CURSOR_TYPE);
    first->GetPropStringValue(dlg.m_strToolTip, FO_PROP_TOOLTIP);
    first->GetPropStringValue(dlg.m_strMethod, kPropClickMethod);
    // The dialog leaves hit-testing of a composite's children off once it writes an event.
    auto* comp = dynamic_cast<CFOCompositeShape*>(first);
    const int firstType = dlg.m_nEventType;
    const CString firstString = dlg.m_strEventString;
    const int firstCursor = dlg.m_nCursorType;
    const CString firstTip = dlg.m_strToolTip;
    const CString firstMethod = dlg.m_strMethod;
    if (dlg.DoModal() != IDOK || !dlg.m_bModified)
        return;
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->SetLabel(L"Event Setting");
    if (dlg.m_nCursorType != firstCursor)
        action->AddEntry(FO_PROP_CURSOR_TYPE, FO_VALUE::MakeInt(dlg.m_nCursorType), shapes);
    if (dlg.m_strEventString != firstString)
        action->AddEntry(FO_PROP_EVENT_STRING, FO_VALUE::MakeString(dlg.m_strEventString), shapes);
    if (dlg.m_nEventType != firstType)
        action->AddEntry(FO_PROP_EVENT_TYPE, FO_VALUE::MakeInt(dlg.m_nEventType), shapes);
    if (dlg.m_strToolTip != firstTip)
        action->AddEntry(FO_PROP_TOOLTIP, FO_VALUE::MakeString(dlg.m_strToolTip), shapes);
    if (dlg.m_strMethod != firstMethod)
        action->AddEntry(kPropClickMethod, FO_VALUE::MakeString(dlg.m_strMethod), shapes);
    if (action->GetEntryCount() > 0 && m_pModel->Do(action.get(), TRUE))
        action.release();
    if (comp)
        comp->PutPropBoolValue(kPropAllowHitChild, dlg.m_bAllowHitChild);
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::DoShowEventPropDlg(CFODrawShape* pShape)
{
    CFOTypedShapeObList list;
    list.AddTail(pShape);
    CEFEventSetDlg dlg(this);
    RunEventDialog(list, dlg);
}

void CPlexdraftView::DoShowEventPropDlgForSelection()
{
    CEFEventSetDlg dlg(this);
    RunEventDialog(GetSelectShapes(), dlg);
}

CMenu* CPlexdraftView::CreateContextMenu()
{
    m_pContextMenu = std::make_unique<CMenu>();
    CMenu bar;
    if (!bar.LoadMenu(115))
        return CFOScriptView::CreateContextMenu();
    // The first popup becomes the context menu.
    HMENU popup = ::GetSubMenu(bar.GetSafeHmenu(), 0);
    bar.RemoveMenu(0, MF_BYPOSITION);
    m_pContextMenu->Attach(popup);
    // OLE verbs are not offered: there are no OLE objects here.
    return m_pContextMenu.get();
}

void CPlexdraftView::DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventType, const CString& strEvent)
{
    switch (nEventType)
    {
    case 1:
        OpenLinkInBrowser(L"mailto:" + strEvent, 1);
        break;
    case 2:
        OpenLinkInBrowser(strEvent, 5);
        break;
    case 3:
    case 4:
    {
        CFileStatus status;
        if (!strEvent.IsEmpty() && CFile::GetStatus(strEvent, status))
            OpenShellFile(strEvent, L"");
        break;
    }
    case 6:
        OnFilePrint();
        break;
    case 12:
    case 13:
        if (!strEvent.IsEmpty() && m_pModel)
            if (CFODrawShape* target = m_pModel->FindCompWithName(strEvent))
            {
                target->SetVisible(nEventType == 13);
                target->UpdateControl();
            }
        break;
    case 16:
        OnFoFileExport();
        break;
    case 0:
    case 8:
    case 9:
    case 10:
    case 11:
    case 14:
    case 15:
    case 17:
    case 23:
        break;
    default:
        CFOScriptView::DoEventAtAllGeometryUp(pShape, nEventType, strEvent);
        break;
    }
}

// --- Format bar --------------------------------------------------------------------------------------

int CPlexdraftView::NextFontSize(int nSize, BOOL bUp)
{
    const int n = int(std::size(kFontSizes));
    if (bUp)
    {
        if (nSize < kFontSizes[0] || nSize >= kFontSizes[n - 1])
            return kFontSizes[n - 1];
        for (int i = 0; i + 1 < n; ++i)
            if (kFontSizes[i] <= nSize && nSize < kFontSizes[i + 1])
                return kFontSizes[i + 1];
        return kFontSizes[n - 1];
    }
    if (nSize <= kFontSizes[0] || nSize > kFontSizes[n - 1])
        return kFontSizes[0];
    for (int i = 1; i < n; ++i)
        if (kFontSizes[i - 1] < nSize && nSize <= kFontSizes[i])
            return kFontSizes[i - 1];
    return kFontSizes[0];
}

int CPlexdraftView::ZoomPercentOfEntry(int nIndex)
{
    if (nIndex < 0 || nIndex >= int(std::size(kZoomPercents)))
        return 100;
    return kZoomPercents[nIndex];
}

void CPlexdraftView::ChangeSelectionProp(const FO_VALUE& value, int nPropId, BOOL bAdjustText)
{
    if (!m_pModel || GetSelectCount() == 0)
        return;
    m_pModel->ChangeShapesValueProp(GetSelectShapes(), value, nPropId);
    if (bAdjustText)
        AdjustTextBoxes(GetSelectShapes());
    UpdateShapes(&GetSelectShapes());
}

void CPlexdraftView::OnFontNameChange()
{
    IDesignFrame* frame = GetDesignFrame();
    CWnd* main = AfxGetMainWnd();
    CComboBox* box = frame ? frame->GetFontNameBox() : nullptr;
    if (!box || !main || !main->IsWindowVisible() || box->GetCurSel() < 0)
        return;
    CString text;
    box->GetLBText(box->GetCurSel(), text);
    ChangeSelectionProp(FO_VALUE::MakeString(text), FO_PROP_FACE_NAME, TRUE);
    // The choice is made: the canvas takes the keys again.
    SetFocus();
}

void CPlexdraftView::OnFontSizeChange()
{
    IDesignFrame* frame = GetDesignFrame();
    CWnd* main = AfxGetMainWnd();
    CComboBox* box = frame ? frame->GetFontSizeBox() : nullptr;
    if (!box || !main || !main->IsWindowVisible() || box->GetCurSel() < 0)
        return;
    CString text;
    box->GetLBText(box->GetCurSel(), text);
    ChangeSelectionProp(FO_VALUE::MakeInt(int(std::wcstol(LPCWSTR(text), nullptr, 10))), FO_PROP_POINT_SIZE,
                        TRUE);
    SetFocus();
}

void CPlexdraftView::OnZoomChange()
{
    IDesignFrame* frame = GetDesignFrame();
    CComboBox* box = frame ? frame->GetZoomBox() : nullptr;
    const int index = box ? box->GetCurSel() : -1;
    SetZoomScale(ZoomPercentOfEntry(index) / 100.0);
}

void CPlexdraftView::OnBold()
{
    if (CFODrawShape* first = GetFirstSelectShape())
        ChangeSelectionProp(FO_VALUE::MakeInt(first->GetWeight() < 700 ? 700 : 500), FO_PROP_WEIGHT);
}

void CPlexdraftView::OnUpdateBold(CCmdUI* pCmdUI)
{
    CFODrawShape* first = GetFirstSelectShape();
    pCmdUI->Enable(first != nullptr);
    pCmdUI->SetCheck(first && first->GetWeight() >= 700);
}

void CPlexdraftView::OnItalic()
{
    if (CFODrawShape* first = GetFirstSelectShape())
        ChangeSelectionProp(FO_VALUE::MakeBool(!first->GetItalic()), FO_PROP_ITALIC);
}

void CPlexdraftView::OnUpdateItalic(CCmdUI* pCmdUI)
{
    CFODrawShape* first = GetFirstSelectShape();
    pCmdUI->Enable(first != nullptr);
    pCmdUI->SetCheck(first && first->GetItalic());
}

void CPlexdraftView::OnUnderline()
{
    if (CFODrawShape* first = GetFirstSelectShape())
        ChangeSelectionProp(FO_VALUE::MakeBool(!first->GetUnderline()), FO_PROP_UNDERLINE);
}

void CPlexdraftView::OnUpdateUnderline(CCmdUI* pCmdUI)
{
    CFODrawShape* first = GetFirstSelectShape();
    pCmdUI->Enable(first != nullptr);
    pCmdUI->SetCheck(first && first->GetUnderline());
}

namespace
{
// The property and value of an alignment command.
std::pair<int, UINT> AlignOf(UINT nID)
{
    switch (nID)
    {
    case ID_ALIGN_LEFT:
        return {FO_PROP_TEXT_HALIGN, 0};
    case ID_ALIGN_CENTER:
        return {FO_PROP_TEXT_HALIGN, 1};
    case ID_ALIGN_RIGHT:
        return {FO_PROP_TEXT_HALIGN, 2};
    case ID_ALIGN_TOP:
        return {FO_PROP_TEXT_VALIGN, 0};
    case ID_ALIGN_MIDDLE:
        return {FO_PROP_TEXT_VALIGN, 1};
    default:
        return {FO_PROP_TEXT_VALIGN, 2};
    }
}
} // namespace

void CPlexdraftView::OnAlignText(UINT nID)
{
    const auto align = AlignOf(nID);
    ChangeSelectionProp(FO_VALUE::MakeDWord(align.second), align.first);
}

void CPlexdraftView::OnUpdateAlignText(CCmdUI* pCmdUI)
{
    const auto align = AlignOf(pCmdUI->m_nID);
    CFODrawShape* first = GetFirstSelectShape();
    BOOL enable = first != nullptr;
    if (align.first == FO_PROP_TEXT_VALIGN)
        enable = enable && IsDesignMode();
    pCmdUI->Enable(enable);
    DWORD value = 0;
    pCmdUI->SetCheck(first && first->GetPropDWordValue(value, align.first) ? value == align.second
                                                                           : align.second == 0 && first);
}

void CPlexdraftView::ChangeFontSize(BOOL bUp)
{
    CFODrawShape* first = GetFirstSelectShape();
    if (!first)
        return;
    ChangeSelectionProp(FO_VALUE::MakeInt(NextFontSize(first->GetPointSize(), bUp)), FO_PROP_POINT_SIZE,
                        TRUE);
}

void CPlexdraftView::OnLargerFont()
{
    ChangeFontSize(TRUE);
}

void CPlexdraftView::OnSmallerFont()
{
    ChangeFontSize(FALSE);
}

void CPlexdraftView::OnBullets()
{
    if (!m_pModel || !IsDesignMode() || GetSelectCount() == 0)
        return;
    if (GetSelectCount() == 1)
    {
        CFODrawShape* shape = GetFirstSelectShape();
        if (auto* text = dynamic_cast<CFOStaticShape*>(shape))
            text->AdjustTextBoxSize(0);
        DoShowBulletPropDlg(shape);
        return;
    }
    // The shape that stands for the selection gives the values; the change goes to all.
    CFOTypedShapeObList shapes;
    shapes.AddTail(GetCorrectSelectPropShape());
    for (CFODrawShape* shape : GetSelectShapes())
        if (shapes.Find(shape) < 0)
            shapes.AddTail(shape);
    CFOTextBulletDlg dlg(this);
    RunPropEditDlg(dlg, shapes);
}

void CPlexdraftView::OnUpdateBullets(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && m_pModel && m_pModel->GetShapeCount() > 0);
}

void CPlexdraftView::OnUpdateAlways(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CPlexdraftView::OnUpdateDisabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CPlexdraftView::OnUpdateDesignMode(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode());
}

LRESULT CPlexdraftView::ReadWellValue(UINT nWellId)
{
    IDesignFrame* frame = GetDesignFrame();
    return frame ? frame->SendToFormatButtons(nWellId, FOP_BUTTON_GETVALUE, 0, 0) : 0;
}

void CPlexdraftView::OnFontColor(UINT nNotify)
{
    if (GetSelectCount() == 0)
        return;
    const COLORREF cr =
        nNotify == 1 ? COLORREF(ReadWellValue(ID_WELL_FONT_COLOR)) : (nNotify == 2 ? 0x8000 : 0);
    ChangeSelectionProp(FO_VALUE::MakeColor(cr), FO_PROP_FONT_COLOR);
}

void CPlexdraftView::OnLineColor(UINT nNotify)
{
    if (GetSelectCount() == 0 || !m_pModel)
        return;
    if (nNotify == 3)
    {
        ChangeSelectionProp(FO_VALUE::MakeDWord(1), FO_PROP_NULL_PEN);
        return;
    }
    const COLORREF cr = nNotify == 1 ? COLORREF(ReadWellValue(ID_WELL_LINE_COLOR)) : 0x8000;
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->AddEntry(FO_PROP_NULL_PEN, FO_VALUE::MakeDWord(0), GetSelectShapes());
    action->AddEntry(FO_PROP_LINE_COLOR, FO_VALUE::MakeColor(cr), GetSelectShapes());
    if (m_pModel->Do(action.get(), TRUE))
        action.release();
}

void CPlexdraftView::OnFillColor(UINT nNotify)
{
    if (!m_pModel)
        return;
    const BOOL selection = GetSelectCount() > 0;
    if (nNotify == 3)
    {
        if (selection)
            ChangeSelectionProp(FO_VALUE::MakeInt(0), FO_PROP_BRUSH_TYPE);
        else
            SetCanvasColor(0xFFFFFF);
        return;
    }
    const COLORREF cr = nNotify == 1 ? COLORREF(ReadWellValue(ID_WELL_FILL_COLOR)) : 0x8000;
    if (!selection)
    {
        SetCanvasColor(cr);
        return;
    }
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->AddEntry(FO_PROP_BRUSH_TYPE, FO_VALUE::MakeInt(1), GetSelectShapes());
    action->AddEntry(FO_PROP_FILL_COLOR, FO_VALUE::MakeColor(cr), GetSelectShapes());
    if (m_pModel->Do(action.get(), TRUE))
        action.release();
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::SetCanvasColor(COLORREF cr)
{
    // The canvas colour is saved with the screen: one undo step, and the screen is modified.
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->AddModelEntry(FO_PROP_MODEL_BKCOLOR, FO_VALUE::MakeColor(cr));
    if (m_pModel->Do(action.get(), TRUE))
        action.release();
    InvalidateCanvas();
}

void CPlexdraftView::OnLineWidth(UINT nNotify)
{
    if (GetSelectCount() == 0 || !m_pModel)
        return;
    if (nNotify == 3)
    {
        ChangeSelectionProp(FO_VALUE::MakeDWord(1), FO_PROP_NULL_PEN);
        return;
    }
    if (nNotify != 1)
        return;
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    action->AddEntry(FO_PROP_NULL_PEN, FO_VALUE::MakeDWord(0), GetSelectShapes());
    action->AddEntry(FO_PROP_LINE_WIDTH, FO_VALUE::MakeInt(int(ReadWellValue(ID_WELL_LINE_WIDTH))),
                     GetSelectShapes());
    if (m_pModel->Do(action.get(), TRUE))
        action.release();
}

void CPlexdraftView::OnPenStyle(UINT nNotify)
{
    if (nNotify == 1 && GetSelectCount() > 0)
        ChangeSelectionProp(FO_VALUE::MakeInt(int(ReadWellValue(ID_WELL_PEN_STYLE))), FO_PROP_PEN_STYLE);
}

BOOL CPlexdraftView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The drop buttons send their notifications 1 to 3 as commands of their own id.
    if (nCode >= 1 && nCode <= 3 && !pHandlerInfo)
    {
        const UINT notify = UINT(nCode);
        switch (nID)
        {
        case ID_BTN_FONT_COLOR:
            OnFontColor(notify);
            return TRUE;
        case ID_BTN_LINE_COLOR:
            OnLineColor(notify);
            return TRUE;
        case ID_BTN_FILL_COLOR:
            OnFillColor(notify);
            return TRUE;
        case ID_BTN_LINE_WIDTH:
            OnLineWidth(notify);
            return TRUE;
        case ID_BTN_PEN_STYLE:
            OnPenStyle(notify);
            return TRUE;
        default:
            break;
        }
    }
    return CFOScriptView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- Edit and view -----------------------------------------------------------------------------------

void CPlexdraftView::OnSelectAllLabels()
{
    if (!m_pModel || !IsDesignMode())
        return;
    CWaitCursor wait;
    SelectAllLabels(*m_pModel->GetShapes());
}

void CPlexdraftView::OnSelectAllShapes()
{
    if (!m_pModel || !IsDesignMode())
        return;
    CWaitCursor wait;
    SelectAllShapes(*m_pModel->GetShapes());
}

void CPlexdraftView::OnSelectAllLinks()
{
    if (!m_pModel || !IsDesignMode())
        return;
    CWaitCursor wait;
    SelectAllLinks(*m_pModel->GetShapes());
}

void CPlexdraftView::OnLockAllLabels()
{
    OnSelectAllLabels();
    OnFOPFOLockcomp();
}

void CPlexdraftView::OnLockAllShapes()
{
    OnSelectAllShapes();
    OnFOPFOLockcomp();
}

void CPlexdraftView::OnLockAllLinks()
{
    OnSelectAllLinks();
    OnFOPFOLockcomp();
}

void CPlexdraftView::OnUpdateSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && m_pModel && m_pModel->GetShapeCount() > 0);
}

void CPlexdraftView::OnRuler()
{
    ShowRulers(!IsRulersShow());
    UpdateScrollBarSize();
    UpdateRulerMap();
    InvalidateCanvas();
    // The rulers flag is saved with the screen.
    if (CPlexdraftDoc* doc = GetDocument())
    {
        doc->m_bShowRulers = IsRulersShow() ? 1 : 0;
        doc->SetModifiedFlag(TRUE);
    }
}

void CPlexdraftView::OnUpdateRuler(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(IsRulersShow());
}

void CPlexdraftView::OnPageBorder()
{
    if (m_pModel)
    {
        m_pModel->SetBorderShow(!m_pModel->IsBorderShow());
        m_pModel->SetModifiedFlag(TRUE);
    }
    InvalidateCanvas();
}

void CPlexdraftView::OnUpdatePageBorder(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pModel != nullptr);
    pCmdUI->SetCheck(m_pModel && m_pModel->IsBorderShow());
}

void CPlexdraftView::OnHideAllSnap()
{
    if (m_pModel)
    {
        m_pModel->SetSnapFlag(FO_SNAP_ALL, FALSE);
        m_pModel->SetModifiedFlag(TRUE);
    }
}

void CPlexdraftView::OnOptions()
{
    if (!m_pModel)
        return;
    COptionDlg dlg(this);
    dlg.m_bNoDefaultPort = IsNoDefaultPorts();
    dlg.m_bLimitPoint = m_pModel->IsPointLimitWithPage();
    dlg.m_bSimpleTrack = gfxData.m_bSimpleTrackComposite;
    dlg.m_bSelectWithin = IsSelectWithinRect();
    if (dlg.DoModal() != IDOK)
        return;
    if (IEditorApp* app = GetEditorApp())
        app->SetNoDefaultPorts(dlg.m_bNoDefaultPort);
    m_pModel->SetPointLimitWithPage(dlg.m_bLimitPoint);
    gfxData.m_bSimpleTrackComposite = dlg.m_bSimpleTrack;
    SetSelectWithinRect(dlg.m_bSelectWithin);
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnTestRun()
{
    RunTestWindow();
}

void CPlexdraftView::RunTestWindow()
{
    FinishAllBox();
    delete m_pPreviewWnd;
    m_pPreviewWnd = nullptr;
    if (!m_pModel)
        return;
    m_pPreviewWnd = new CMyDrawWnd;
    m_pModel->SetDesignMode(FALSE);
    m_pPreviewWnd->SetCurrentModel(m_pModel);
    const BOOL created = m_pPreviewWnd->CreateEx(0, L"XVKDrawCanvasClass", L"XVKDraw Canvas",
                                                 WS_POPUP | WS_VISIBLE, CRect(0, 0, 0, 0), nullptr, 0);
    if (created)
    {
        m_pPreviewWnd->ShowRulers(FALSE);
        return;
    }
    // A run window that cannot be made must not leave the screen out of design mode.
    m_pPreviewWnd->SetCurrentModel(nullptr);
    m_pModel->SetDesignMode(TRUE);
    delete m_pPreviewWnd;
    m_pPreviewWnd = nullptr;
}

// --- Tools and insertion -----------------------------------------------------------------------------

void CPlexdraftView::OnDrawTool(UINT nID)
{
    if (nID == ID_TOOL_CUSTOM)
    {
        StartCustomShapeID(103);
        AddShapePort(0.5, 0.5);
        return;
    }
    for (const ToolEntry& t : kTools)
        if (t.nID == nID)
            SetCurrentDrawShape(t.nType, t.nAction, t.nSubKind, t.nCursor);
}

void CPlexdraftView::OnUpdateDrawTool(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode());
    const UINT id = pCmdUI->m_nID;
    if (id == ID_TOOL_CUSTOM)
    {
        pCmdUI->SetCheck(GetCurDrawShape() == FO_CUSTOM_SHAPE_TYPE && GetCustomShapeID() == 103);
        return;
    }
    for (const ToolEntry& t : kTools)
        if (t.nID == id)
        {
            BOOL check = GetCurDrawShape() == t.nType;
            if (t.nType == 601 || t.nType == 602)
                check = check && GetDrawSubKind() == 0;
            pCmdUI->SetCheck(check);
        }
}

UINT CPlexdraftView::FirstFreeChildId() const
{
    std::set<UINT> used;
    if (m_pModel)
        for (CFODrawShape* shape : *m_pModel->GetShapes())
            if (auto* wnd = dynamic_cast<CFOWndControlShape*>(shape))
                used.insert(wnd->GetCtrlID());
    UINT id = 100;
    while (used.count(id) || GetDlgItem(int(id)))
        ++id;
    return id;
}

void CPlexdraftView::OnInsertControl(UINT nID)
{
    CMyExtDataModel* model = GetEditModel();
    if (!model)
        return;
    const UINT child = FirstFreeChildId();
    switch (nID)
    {
    case ID_INSERT_CHART:
        model->CreateRealTimeChartShape(CRect(300, 200, 800, 400), L"Real time chart", child);
        break;
    case ID_INSERT_GRID:
        model->CreateGridShape(CRect(200, 200, 700, 400), L"Grid", child);
        break;
    default:
        model->CreateListCtrlShape(CRect(200, 100, 700, 300), L"List Control", child);
        break;
    }
}

// --- Behaviour ---------------------------------------------------------------------------------------

void CPlexdraftView::ApplyKeyEntries(const std::vector<std::pair<int, std::pair<CString, CString>>>& entries)
{
    if (!m_pModel)
        return;
    std::unique_ptr<CFOPropAction> action(m_pModel->GetShapesPropAction());
    for (const auto& e : entries)
        if (e.second.first != e.second.second)
            action->AddEntry(e.first, FO_VALUE::MakeString(e.second.second), GetSelectShapes());
    if (action->GetEntryCount() > 0 && m_pModel->Do(action.get(), TRUE))
        action.release();
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnConnectParam()
{
    CFODrawShape* first = GetFirstSelectShape();
    if (!first)
        return;
    CKeyValueDlg dlg(this);
    dlg.m_strName = dlg.m_strOldName = first->GetObjectName();
    first->GetPropStringValue(dlg.m_strToolTip, FO_PROP_TOOLTIP);
    dlg.m_strOldToolTip = dlg.m_strToolTip;
    dlg.m_strKey1 = dlg.m_strOldKey1 = first->GetKeyId1();
    dlg.m_strKey2 = dlg.m_strOldKey2 = first->GetKeyId2();
    dlg.m_strKey3 = dlg.m_strOldKey3 = first->GetKeyId3();
    if (dlg.DoModal() != IDOK || !dlg.m_bModified)
        return;
    ApplyKeyEntries({{FO_PROP_NAME, {dlg.m_strOldName, dlg.m_strName}},
                     {FO_PROP_TOOLTIP, {dlg.m_strOldToolTip, dlg.m_strToolTip}},
                     {FO_PROP_KEY1, {dlg.m_strOldKey1, dlg.m_strKey1}},
                     {FO_PROP_KEY2, {dlg.m_strOldKey2, dlg.m_strKey2}},
                     {FO_PROP_KEY3, {dlg.m_strOldKey3, dlg.m_strKey3}}});
}

void CPlexdraftView::OnUpdateNeedSelectionDesign(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && GetSelectCount() > 0);
}

void CPlexdraftView::OnVisibleSet()
{
    if (GetSelectCount() != 1 || !m_pModel)
        return;
    CFODrawShape* shape = GetFirstSelectShape();
    CVisibleExpertDlg dlg(this);
    shape->GetPropBoolValue(dlg.m_bEnable, FO_PROP_VISIBLE_COND_ON);
    shape->GetPropStringValue(dlg.m_strCondition, FO_PROP_VISIBLE_COND);
    if (dlg.DoModal() != IDOK)
        return;
    // Straight onto the shape: this setting is not an undo step.
    shape->PutPropStringValue(FO_PROP_VISIBLE_COND, dlg.m_strCondition);
    shape->PutPropBoolValue(FO_PROP_VISIBLE_COND_ON, dlg.m_bEnable);
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnEventLink()
{
    if (GetSelectCount() == 1 && IsDesignMode())
        DoShowEventPropDlg(GetFirstSelectShape());
}

void CPlexdraftView::OnUpdateEventLink(CCmdUI* pCmdUI)
{
    // The one-shape event dialog: several shapes take theirs from the event handle.
    pCmdUI->Enable(IsDesignMode() && GetSelectCount() == 1);
}

void CPlexdraftView::OnUpdateOneSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectCount() == 1);
}

void CPlexdraftView::MakeUniqueKeys(std::vector<CString>& keys)
{
    std::vector<CString> taken;
    const auto isTaken = [&taken](const CString& k)
    { return std::find(taken.begin(), taken.end(), k) != taken.end(); };
    for (CString& key : keys)
    {
        if (isTaken(key))
        {
            for (unsigned n = 1;; ++n)
            {
                CString candidate;
                candidate.Format(L"K%u", n);
                if (!isTaken(candidate) && std::find(keys.begin(), keys.end(), candidate) == keys.end())
                {
                    key = candidate;
                    break;
                }
            }
        }
        taken.push_back(key);
    }
}

void CPlexdraftView::OnMultipleStates()
{
    if (GetSelectCount() != 1 || !m_pModel)
        return;
    // An option-menu button: its entries are its state string.
    if (auto* menu = dynamic_cast<CFOMenuButtonShape*>(GetFirstSelectShape()))
    {
        CMenuEditorDlg dlg(this);
        dlg.m_strState = menu->GetStateString();
        if (dlg.DoModal() != IDOK)
            return;
        menu->SetStateString(dlg.m_strState);
        menu->UpdateControl();
        m_pModel->SetModifiedFlag(TRUE);
        return;
    }
    auto* comp = dynamic_cast<CFOCompositeShape*>(GetFirstSelectShape());
    if (!comp)
        return;
    std::vector<CString> keys;
    std::vector<CFODrawShape*> children;
    for (CFODrawShape* child : comp->GetCompList())
    {
        keys.push_back(child->GetKeyId1());
        children.push_back(child);
    }
    MakeUniqueKeys(keys);
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i]->GetKeyId1() != keys[i])
            children[i]->SetKeyId1(keys[i]);
    if (IDesignFrame* frame = GetDesignFrame())
        frame->RefreshShapeList(GetParentFrame());
    CStateSetDlg dlg(this);
    dlg.m_strState = comp->GetStateString();
    for (size_t i = 0; i < children.size(); ++i)
    {
        dlg.m_arChildNames.Add(keys[i]);
        dlg.m_listChildShapes.AddTail(children[i]);
    }
    if (dlg.DoModal() != IDOK)
        return;
    comp->SetStateString(dlg.m_strState);
    comp->UpdateControl();
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnUpdateMultipleStates(CCmdUI* pCmdUI)
{
    CFODrawShape* shape = GetSelectCount() == 1 ? GetFirstSelectShape() : nullptr;
    BOOL bEnable = dynamic_cast<CFOCompositeShape*>(shape) != nullptr;
    bEnable = bEnable || dynamic_cast<CFOMenuButtonShape*>(shape) != nullptr;
    pCmdUI->Enable(bEnable);
}

BOOL CPlexdraftView::IsProjectLoaded()
{
    const auto* app = dynamic_cast<const IDesignProjectApp*>(AfxGetApp());
    return app && app->IsProjectLoaded();
}

void CPlexdraftView::OnScreenSetting()
{
    if (!m_pModel || !IsDesignMode() || !IsProjectLoaded())
        return;
    CScreenSetDlg dlg(this);
    m_pModel->GetPropStringValue(dlg.m_strStartScript, 15001);
    m_pModel->GetPropStringValue(dlg.m_strCloseScript, 15002);
    m_pModel->GetPropStringValue(dlg.m_strTimerScript, 15003);
    dlg.m_nPeriod = 1000;
    m_pModel->GetPropIntValue(dlg.m_nPeriod, 15004);
    m_pModel->GetPropStringValue(dlg.m_strStartMethod, 15005);
    m_pModel->GetPropStringValue(dlg.m_strCloseMethod, 15006);
    m_pModel->GetPropStringValue(dlg.m_strTimerMethod, 15007);
    if (dlg.DoModal() != IDOK)
        return;
    // All seven, changed or not.
    m_pModel->PutPropStringValue(15001, dlg.m_strStartScript);
    m_pModel->PutPropStringValue(15002, dlg.m_strCloseScript);
    m_pModel->PutPropStringValue(15003, dlg.m_strTimerScript);
    m_pModel->PutPropIntValue(15004, dlg.m_nPeriod);
    m_pModel->PutPropStringValue(15005, dlg.m_strStartMethod);
    m_pModel->PutPropStringValue(15006, dlg.m_strCloseMethod);
    m_pModel->PutPropStringValue(15007, dlg.m_strTimerMethod);
    m_pModel->SetModifiedFlag(TRUE);
}

void CPlexdraftView::OnUpdateScreenSetting(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && m_pModel != nullptr && IsProjectLoaded());
}

void CPlexdraftView::OnValueChangeTest()
{
    if (!m_pModel)
        return;
    CMyTestDlg dlg(this);
    dlg.m_pModel = m_pModel;
    if (dlg.DoModal() != IDOK)
        return;
    CFODrawShape* shape = m_pModel->FindShapeWithKey1(dlg.m_strKey);
    if (!shape)
        return;
    CString script;
    shape->GetValueChangeScript(script);
    AfxMessageBox(script, MB_OK);
    shape->SetCurrentValue(dlg.m_dValue);
    // In a test run the value takes effect as a bound value would: states, ranges, hide condition.
    if (!m_pModel->IsDesignMode())
        FOApplyShapeValue(shape, dlg.m_dValue);
    shape->UpdateControl();
    m_pModel->SetModifiedFlag(TRUE);
}

// --- CQYRDrawView ------------------------------------------------------------------------------------

void CQYRDrawView::DoGenInitItems()
{
    CPlexdraftView::DoGenInitItems();
    AddSelectHandleItem(ID_ADDI_EVENTS, ID_ADDI_DRAW_EVENTS);
}

void CQYRDrawView::DoWhenClickAddi(UINT nId)
{
    if (nId == FO_ADDI_KEY_VALUE)
    {
        OnKeyValue();
        return;
    }
    CPlexdraftView::DoWhenClickAddi(nId);
}

void CQYRDrawView::DoShowEventPropDlg(CFODrawShape* pShape)
{
    CFOTypedShapeObList list;
    list.AddTail(pShape);
    CQYREventSetDlg dlg(this);
    RunEventDialog(list, dlg);
}

void CQYRDrawView::DoShowEventPropDlgForSelection()
{
    CQYREventSetDlg dlg(this);
    RunEventDialog(GetSelectShapes(), dlg);
}

CMenu* CQYRDrawView::CreateContextMenu()
{
    CMenu* menu = CPlexdraftView::CreateContextMenu();
    if (!menu)
        return nullptr;
    menu->RemoveMenu(ID_SCREEN_SETTING, MF_BYCOMMAND);
    menu->RemoveMenu(ID_CONNECT_PARAM, MF_BYCOMMAND);
    menu->RemoveMenu(ID_USER_PROPERTIES, MF_BYCOMMAND);
    IDesignFrame* frame = GetDesignFrame();
    if (!frame || !frame->GetPropertyEditorEnable())
        menu->RemoveMenu(ID_PROPERTY_EDITOR, MF_BYCOMMAND);
    return menu;
}

void CQYRDrawView::OnKeyValue()
{
    CFODrawShape* first = GetFirstSelectShape();
    if (!first || !m_pModel)
        return;
    CInfoServer* server = nullptr;
    if (auto* doc = dynamic_cast<CQYRDrawDoc*>(GetDocument()))
        if (CInfoServerExplorerDoc* explorer = doc->GetExplorerDocument(FALSE))
            server = explorer->GetInfoServer();
    // Key 1 is the server's computer, key 2 its ProgID.
    if (server)
        server->SetServer(first->GetKeyId1(), first->GetKeyId2());
    CQYRKeyValueDlg dlg(server, this);
    dlg.m_strObjectName = first->GetObjectName();
    dlg.m_strKey1 = first->GetKeyId1();
    dlg.m_strKey2 = first->GetKeyId2();
    dlg.m_strKey3 = first->GetKeyId3();
    const CString name = dlg.m_strObjectName;
    const CString k1 = dlg.m_strKey1;
    const CString k2 = dlg.m_strKey2;
    const CString k3 = dlg.m_strKey3;
    if (dlg.DoModal() != IDOK || !dlg.m_bModified)
        return;
    ApplyKeyEntries({{FO_PROP_NAME, {name, dlg.m_strObjectName}},
                     {FO_PROP_KEY1, {k1, dlg.m_strKey1}},
                     {FO_PROP_KEY2, {k2, dlg.m_strKey2}},
                     {FO_PROP_KEY3, {k3, dlg.m_strKey3}}});
}

void CQYRDrawView::OnUpdateKeyValue(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsDesignMode() && GetSelectCount() > 0);
}
