#include "editor/SampleView.h"

#include "editor/FOProjectApp.h"
#include "editor/MethodChooseDlg.h"
#include "editor/SampleDoc.h"
#include "editor/ParamManager.h"
#include "editor/ProjectDialogs.h"
#include "model/WorkSpaceObj.h"
#include "mfc/CmdUI.h"
#include "mfc/File.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"

#include <QDir>
#include <QTemporaryDir>

IMPLEMENT_DYNCREATE(CSampleView, CScriptEditView)

namespace
{
constexpr UINT IDR_SCRIPT_POPUP = 115;

CString Joined(std::initializer_list<const wchar_t*> lines)
{
    CString text;
    for (const wchar_t* line : lines)
        text += line;
    return text;
}
} // namespace

BEGIN_MESSAGE_MAP(CSampleView, CScriptEditView)
ON_COMMAND_RANGE(ID_INSERT_FUNCTION, ID_INSERT_IF, &CSampleView::OnInsertTemplate)
ON_COMMAND_RANGE(ID_INSERT_VAR, ID_INSERT_VAR, &CSampleView::OnInsertTemplate)
ON_COMMAND_RANGE(ID_INSERT_TEXT_VAR, ID_INSERT_STRUCT, &CSampleView::OnInsertTemplate)
ON_UPDATE_COMMAND_UI(ID_INSERT_FUNCTION, &CSampleView::OnUpdateInsert)
ON_COMMAND(ID_INSERT_PARAMETER, &CSampleView::OnInsertParameter)
ON_COMMAND(ID_INSERT_SHAPE_KEY, &CSampleView::OnInsertShapeKey)
ON_COMMAND(ID_INSERT_COMMENT, &CSampleView::OnInsertComment)
ON_COMMAND(ID_REMOVE_COMMENT, &CSampleView::OnRemoveComment)
ON_COMMAND(ID_CHECK_SCRIPT, &CSampleView::OnCheckScript)
ON_COMMAND(ID_INSERT_XDG_FILE, &CSampleView::OnInsertXdgFile)
ON_UPDATE_COMMAND_UI(ID_INSERT_PARAMETER, &CSampleView::OnUpdateProjectChooser)
ON_UPDATE_COMMAND_UI(ID_INSERT_XDG_FILE, &CSampleView::OnUpdateProjectChooser)
END_MESSAGE_MAP()

CSampleView::CSampleView() = default;
CSampleView::~CSampleView() = default;

CSampleDoc* CSampleView::GetDocument() const
{
    return dynamic_cast<CSampleDoc*>(m_pDocument);
}

CScriptTextBuffer* CSampleView::LocateTextBuffer()
{
    CSampleDoc* doc = GetDocument();
    return doc ? &doc->GetTextBuffer() : nullptr;
}

void CSampleView::OnInitialUpdate()
{
    CScriptEditView::OnInitialUpdate();
    if (CSampleDoc* doc = GetDocument())
        SetFont(doc->GetViewFont());
}

void CSampleView::InsertTemplate(const CString& strText)
{
    if (!m_pTextBuffer || !QueryEditable())
        return;
    InsertAtCaret(strText, CE_ACTION_DRAGDROP);
}

CString CSampleView::TemplateText(UINT nID)
{
    switch (nID)
    {
    case ID_INSERT_FUNCTION:
        return Joined({L"\r\n", L"// Add description at here.\r\n", L"function main(strShapeKey1, shape)\r\n",
                       L"{\r\n", L"\t// Add your codes below.\r\n",
                       L"\tapp.test(\"testing code here!\");\r\n", L"\r\n", L"}\r\n"});
    case ID_INSERT_IF:
        return Joined(
            {L"\tif(..)\r\n", L"\t{\r\n", L"\t\t// Add your codes below.\r\n", L"\t\r\n", L"\t}\r\n"});
    case ID_INSERT_VAR:
        return L"var x = 0;\r\n";
    case ID_INSERT_TEXT_VAR:
        return L"var x = \"\";\r\n";
    case ID_INSERT_SWITCH:
        return Joined({L"switch(nStep)\r\n",
                       L"\t{\r\n",
                       L"\t\tcase 0:\r\n",
                       L"\t\tcase 2:\r\n",
                       L"\t\t{\r\n",
                       L"\t\t\t// Add code here!\r\n",
                       L"\r\n",
                       L"\t\t}\r\n",
                       L"\t\tbreak;\r\n",
                       L"\t\t\r\n",
                       L"\t\tcase 3:\r\n",
                       L"\t\t{\r\n",
                       L"\t\t\t// Add code here!\r\n",
                       L"\r\n",
                       L"\t\t}\r\n",
                       L"\t\tbreak;\r\n",
                       L"\t\t\r\n",
                       L"\t\tdefault:\r\n",
                       L"\t\t{\r\n",
                       L"\t\t\t// Add code here!\r\n",
                       L"\t\t}\r\n",
                       L"\t\tbreak;\r\n",
                       L"\t}\r\n",
                       L"\r\n"});
    case ID_INSERT_WHILE:
        return Joined({L"while(i<=100)\r\n", L"\t{\r\n", L"\t        // iSum+=i;\r\n",
                       L"\t        // i++;\r\n", L"\t}\r\n", L"\r\n"});
    case ID_INSERT_DO_WHILE:
        return Joined({L"do\r\n", L"\t{\r\n", L"\t        // iSum+=i;\r\n", L"\t        // i++;\r\n",
                       L"\t}while(i<=100)\r\n", L"\r\n"});
    case ID_INSERT_STRUCT:
        return Joined({L"var site =\r\n", L"\t{\r\n", L"\t        URL : \"https://www.example.com/\",\r\n",
                       L"\t        pagescount : 100,\r\n", L"\t        isOK : true\r\n", L"\t};\r\n",
                       L"\r\n"});
    default:
        return CString();
    }
}

void CSampleView::OnInsertTemplate(UINT nID)
{
    const CString text = TemplateText(nID);
    if (!text.IsEmpty())
        InsertTemplate(text);
}

void CSampleView::OnUpdateInsert(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CSampleView::OnInsertParameter()
{
    CFOProjectApp* app = AfxGetProjectApp();
    CWorkSpaceObj* ws = app ? app->GetWorkSpace() : nullptr;
    if (!ws || !QueryEditable())
        return;
    // The manager doubles as the chooser: what the user adds or edits there is kept as in the
    // project's own Parameter Manager.
    CParamManager dlg(ws, this);
    if (dlg.DoModal() != IDOK)
        return;
    ws->SetModified();
    if (!dlg.m_strResult.IsEmpty())
        InsertTemplate(dlg.m_strResult);
}

void CSampleView::OnInsertShapeKey() {}

void CSampleView::OnInsertComment()
{
    InsertLinePrefix(L"//");
}

void CSampleView::OnRemoveComment()
{
    RemoveLinePrefix();
}

void CSampleView::OnInsertXdgFile()
{
    CFOProjectApp* app = AfxGetProjectApp();
    if (!app || !app->IsProjectLoaded() || !QueryEditable())
        return;
    MBScriptChooseDlg dlg(this);
    dlg.m_strProjectFolder = app->GetProjectFolder();
    if (dlg.DoModal() == IDOK && !dlg.m_strValue.IsEmpty())
        InsertTemplate(dlg.m_strValue);
}

// Both choosers list what the open project holds.
void CSampleView::OnUpdateProjectChooser(CCmdUI* pCmdUI)
{
    CFOProjectApp* app = AfxGetProjectApp();
    pCmdUI->Enable(app && app->IsProjectLoaded() && app->GetWorkSpace() && QueryEditable());
}

void CSampleView::OnCheckScript()
{
    CSampleDoc* doc = GetDocument();
    CFOProjectApp* app = AfxGetProjectApp();
    if (!doc || !m_pTextBuffer)
        return;
    if (!app || !app->IsProjectLoaded())
    {
        AfxMessageBox(L"Open a project first: the script is checked as the project's \"system.uscp\".",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    const CString target = app->GetScriptFilesPath() + L"system.uscp";
    const CString own = doc->GetPathName();
    CMethodChooseDlg dlg(this);
    dlg.m_strScriptFile = L"system.uscp";
    dlg.m_bTestMode = TRUE;
    // Only the project's "system.uscp" itself is saved; any other script is checked from a copy, so
    // no other file is overwritten and its modified state stays as it is.
    QTemporaryDir temp;
    if (!own.IsEmpty() && AfxResolvePathCase(own) == AfxResolvePathCase(target))
    {
        if (!m_pTextBuffer->SaveFile(own, -1, TRUE))
        {
            AfxMessageBox(L"The script could not be saved.", MB_OK | MB_ICONINFORMATION);
            return;
        }
    }
    else
    {
        const CString copy = CString(temp.path().toStdWString().c_str()) + L"/system.uscp";
        if (!temp.isValid() || !m_pTextBuffer->SaveFile(copy, -1, FALSE))
        {
            AfxMessageBox(L"The script could not be saved.", MB_OK | MB_ICONINFORMATION);
            return;
        }
        dlg.m_strScriptPath = copy;
    }
    dlg.DoModal();
}

void CSampleView::OnContextMenu(CWnd*, CPoint pos)
{
    if (pos.x == -1 && pos.y == -1)
    {
        pos = CPoint(1, 1);
        ClientToScreen(&pos);
    }
    m_pContextMenu.reset();
    auto bar = std::make_unique<CMenu>();
    if (!bar->LoadMenu(IDR_SCRIPT_POPUP))
        return;
    CMenu* popup = bar->GetSubMenu(1);
    if (!popup)
        return;
    m_pContextMenu = std::move(bar);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x, pos.y, this);
    m_pContextMenu.reset();
}
