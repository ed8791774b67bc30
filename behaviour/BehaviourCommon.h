// Small services the behaviour dialogs share: the dialog font for their edits, the open project's
// folders as the design view sees them, and exact preselection in lists.
#pragma once

#include "mfc/CString.h"

#include <initializer_list>

class CWnd;
class CListBox;
class CComboBox;
class CFont;
class CFODataModel;

namespace behaviour
{
// Gives the listed controls of the dialog the shared dialog font (controls that are missing are skipped).
void SetGuiFont(CWnd* pDlg, std::initializer_list<int> ids);

// The open project's folder (with its trailing '/'), empty when no project is open.
CString ProjectFolder();
// The project's "ScriptFiles/" folder, empty when no project is open.
CString ScriptFolder();

// The screen model of the active design view (through the main frame's active frame); null without one.
CFODataModel* ActiveModel();

// Asks for a file to open with the "text|patterns||" filter; TRUE with the full path.
BOOL ChooseFileToOpen(CWnd* pParent, LPCWSTR lpszFilter, CString& strPath);

// Selects the entry whose text equals the value exactly (no prefix match); none when there is none.
int SelectExact(CListBox& list, const CString& strValue);
int SelectExact(CComboBox& combo, const CString& strValue);

// Whether the last four characters of the name, trimmed, are "uscp" in any case; with bNeedStem
// the name must also be longer than those four.
BOOL IsScriptName(const CString& strName, BOOL bNeedStem = FALSE);
} // namespace behaviour
