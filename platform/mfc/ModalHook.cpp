#include "mfc/ModalHook.h"

#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <mutex>

namespace
{
std::mutex g_hookMutex;
AfxModalHookFn& Hook()
{
    static AfxModalHookFn* hook = new AfxModalHookFn;
    return *hook;
}

QString ToQt(LPCWSTR s)
{
    return s ? QString::fromWCharArray(s) : QString();
}
} // namespace

AfxModalHookFn AfxSetModalHook(AfxModalHookFn hook)
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    AfxModalHookFn old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

BOOL AfxHasModalHook()
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    return Hook() ? TRUE : FALSE;
}

BOOL AfxCallModalHook(const AfxModalRequest& request, int& nResult)
{
    AfxModalHookFn hook;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        hook = Hook();
    }
    if (!hook)
        return FALSE;
    nResult = hook(request);
    return TRUE;
}

int AfxShowMessageBox(CWnd* pParent, LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType, UINT nIDHelp)
{
    AfxModalRequest request;
    request.kind = AfxModalKind::MessageBox;
    request.pParent = pParent;
    request.strText = lpszText ? lpszText : L"";
    request.strCaption = lpszCaption ? lpszCaption : L"";
    request.nType = nType;
    request.nIDHelp = nIDHelp;
    int result = 0;
    if (AfxCallModalHook(request, result))
        return result;
    if (!AfxEnsureApplication())
        return IDCANCEL;

    QMessageBox box(pParent ? pParent->GetWidget() : nullptr);
    box.setWindowTitle(ToQt(lpszCaption));
    box.setText(ToQt(lpszText));
    const UINT buttons = nType & MB_TYPEMASK;
    const UINT icon = nType & MB_ICONMASK;
    switch (icon)
    {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? QMessageBox::Question
                                                                     : QMessageBox::NoIcon);
        break;
    }
    struct CButtonDef
    {
        QMessageBox::StandardButton button;
        int id;
    };
    std::vector<CButtonDef> defs;
    switch (buttons)
    {
    case MB_OKCANCEL:
        defs = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        defs = {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        defs = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        defs = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    case MB_RETRYCANCEL:
        defs = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_CANCELTRYCONTINUE:
        defs = {{QMessageBox::Cancel, IDCANCEL},
                {QMessageBox::Retry, IDTRYAGAIN},
                {QMessageBox::Ignore, IDCONTINUE}};
        break;
    default:
        defs = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons all;
    for (const CButtonDef& d : defs)
        all |= d.button;
    box.setStandardButtons(all);
    const size_t nDefault = (nType & MB_DEFMASK) >> 8;
    if (nDefault < defs.size())
        box.setDefaultButton(defs[nDefault].button);
    const int escape = [&]
    {
        for (const CButtonDef& d : defs)
        {
            if (d.id == IDCANCEL)
                return d.id;
        }
        return defs.size() == 1 ? defs[0].id : 0;
    }();
    const auto chosen = QMessageBox::StandardButton(box.exec());
    for (const CButtonDef& d : defs)
    {
        if (d.button == chosen)
            return d.id;
    }
    return escape ? escape : IDCANCEL;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return AfxShowMessageBox(nullptr, lpszText, L"", nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    if (nIDHelp == UINT(-1))
        nIDHelp = nIDPrompt;
    return AfxMessageBox(text, nType, nIDHelp);
}

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    return AfxShowMessageBox(CWnd::FromHandle(hWnd), lpText, lpCaption ? lpCaption : L"Error", uType, 0);
}

void AfxShowHelp(CWnd* pWnd, LPCWSTR lpszHelpFile, UINT nCmd, DWORD_PTR dwData)
{
    AfxModalRequest request;
    request.kind = AfxModalKind::Help;
    request.pParent = pWnd;
    request.strText = lpszHelpFile ? lpszHelpFile : L"";
    request.nType = nCmd;
    request.dwData = dwData;
    int ignored = 0;
    if (AfxCallModalHook(request, ignored))
        return;
    if (nCmd != HH_DISPLAY_TOPIC && nCmd != HH_DISPLAY_TOC && nCmd != HH_DISPLAY_INDEX &&
        nCmd != HH_DISPLAY_SEARCH && nCmd != HH_HELP_CONTEXT)
        return;
    const QString path = ToQt(lpszHelpFile);
    if (!path.isEmpty() && QFileInfo::exists(path) && AfxEnsureApplication())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
