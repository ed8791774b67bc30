#include "behaviour/BehaviourCommon.h"

#include "editor/DesignFrame.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "mfc/FrameWnd.h"
#include "mfc/View.h"
#include "mfc/ComboBoxCtl.h"
#include "mfc/FileDialog.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/WinApp.h"

namespace behaviour
{
void SetGuiFont(CWnd* pDlg, std::initializer_list<int> ids)
{
    CFont* font = FO_GLOBAL::GetGUIFont();
    if (!pDlg || !font || !font->GetSafeHandle())
        return;
    for (int id : ids)
        if (CWnd* ctrl = pDlg->GetDlgItem(id))
            ctrl->SetFont(font, FALSE);
}

CString ProjectFolder()
{
    const auto* app = dynamic_cast<const IDesignProjectApp*>(AfxGetApp());
    if (!app || !app->IsProjectLoaded())
        return CString();
    CString folder = app->GetProjectFolder();
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'/')
        folder += L'/';
    return folder;
}

CString ScriptFolder()
{
    const CString folder = ProjectFolder();
    return folder.IsEmpty() ? folder : folder + L"ScriptFiles/";
}

CFODataModel* ActiveModel()
{
    auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* frame = main ? main->GetActiveFrame() : nullptr;
    auto* canvas = frame ? dynamic_cast<CFOPCanvasCore*>(frame->GetActiveView()) : nullptr;
    return canvas ? canvas->GetCurrentModel() : nullptr;
}

BOOL ChooseFileToOpen(CWnd* pParent, LPCWSTR lpszFilter, CString& strPath)
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, lpszFilter, pParent);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strPath = dlg.GetPathName();
    return TRUE;
}

int SelectExact(CListBox& list, const CString& strValue)
{
    const int index = list.FindStringExact(-1, strValue);
    list.SetCurSel(index);
    return index;
}

int SelectExact(CComboBox& combo, const CString& strValue)
{
    const int index = combo.FindStringExact(-1, strValue);
    combo.SetCurSel(index);
    return index;
}

BOOL IsScriptName(const CString& strName, BOOL bNeedStem)
{
    if (bNeedStem && strName.GetLength() <= 4)
        return FALSE;
    CString tail = strName.Right(4);
    tail.Trim();
    return tail.CompareNoCase(L"uscp") == 0;
}
} // namespace behaviour
