// The one hook for every modal interaction: message boxes, DoModal of dialogs, file and folder
// dialogs, popup menus tracked with TrackPopupMenu, and the opening of help. A test sets the hook
// to read what would be shown and to choose the answer, so nothing waits for a person:
//
//   AfxSetModalHook([&](const AfxModalRequest& r) { seen = r.strText; return IDYES; });
//
// The answer is what the box or dialog returns: IDOK, IDCANCEL, IDYES, IDNO, ... For a dialog the
// hook may also work the dialog's controls (it is created, initialised and shown when the hook
// runs) and end it itself with EndDialog; when it does not, the answer is handled as if that button
// had been pressed (IDOK runs OnOK with its data exchange), and the dialog ends with it. For a file
// or folder dialog the hook puts the chosen path(s) into paths and answers IDOK. For a popup menu
// the answer is the chosen command id (0: none). For a colour dialog the hook puts its colour into
// crColor and answers IDOK. Help requests are told to the hook; its answer is
// ignored.
//
// Without a hook the real thing is shown: a QMessageBox, the dialog run modally, the help file
// opened with the desktop's viewer.
#pragma once

#include "mfc/CString.h"
#include "mfc/Messages.h"

#include <functional>
#include <vector>

class CWnd;
class CDialog;

enum class AfxModalKind
{
    MessageBox,
    Dialog,
    FileDialog,
    FolderDialog,
    PopupMenu,
    Help,
    PageSetupDialog,
    PrintDialog,
    ColorDialog,
};

struct AfxModalRequest
{
    AfxModalKind kind = AfxModalKind::MessageBox;
    CWnd* pParent = nullptr;
    // MessageBox: the text. FileDialog: the file name it starts with. FolderDialog: the folder it
    // starts in. Help: the help file.
    CString strText;
    // MessageBox: the caption. Dialogs: the title.
    CString strCaption;
    // MessageBox: the MB_ flags as given. Help: the HtmlHelp command.
    UINT nType = 0;
    // MessageBox: the help context.
    UINT nIDHelp = 0;
    // Help: the command's data.
    DWORD_PTR dwData = 0;
    // Dialog: the dialog being shown.
    CDialog* pDialog = nullptr;
    // PopupMenu: the menu.
    HMENU hMenu = nullptr;
    // FileDialog: open (TRUE) or save, default extension, filter, OFN_ flags.
    BOOL bOpenFileDialog = TRUE;
    CString strDefExt;
    CString strFilter;
    DWORD dwFlags = 0;
    // PageSetupDialog: the dialog's record; the hook may change its margins before answering IDOK.
    struct PAGESETUPDLG* pPageSetup = nullptr;
    // ColorDialog: in, the colour the dialog starts with; out, the hook's choice (answer IDOK).
    mutable COLORREF crColor = 0;
    // FileDialog / FolderDialog: the hook's choice (a print job's PDF file is a save-file choice).
    mutable std::vector<CString> paths;
};

using AfxModalHookFn = std::function<int(const AfxModalRequest&)>;

// Sets the hook (an empty function removes it) and returns the previous one.
AfxModalHookFn AfxSetModalHook(AfxModalHookFn hook);
BOOL AfxHasModalHook();
// Asks the hook; FALSE when there is none (the caller then shows the real thing).
BOOL AfxCallModalHook(const AfxModalRequest& request, int& nResult);

// Message boxes through the application's DoMessageBox (caption: the application's name).
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The prompt is string nIDPrompt of the resource chain; the help context defaults to it.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
// Shows one message box: the hook, else a QMessageBox with the buttons and icon of nType.
int AfxShowMessageBox(CWnd* pParent, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType, UINT nIDHelp);
// Opens help: the hook, else the help file for the display commands when it exists.
void AfxShowHelp(CWnd* pWnd, LPCWSTR lpszHelpFile, UINT nCmd, DWORD_PTR dwData);
