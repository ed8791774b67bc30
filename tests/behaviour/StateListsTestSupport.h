// The list editors' tests: an application for the dialogs and a hook that answers every dialog
// through one function and every message box with a fixed answer, noting the texts.
#pragma once

#include "mfc/Dialog.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "support/ModalHook.h"
#include "support/Printers.h"
#include "support/WinAppTest.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

namespace statetest
{
using CStateListTest = CWinAppTest;

class CDialogScript
{
public:
    CDialogScript()
        : m_scope(
              [this](const AfxModalRequest& r) -> int
              {
                  if (r.kind == AfxModalKind::MessageBox)
                  {
                      messages.push_back(r.strText);
                      return answer;
                  }
                  if (r.kind == AfxModalKind::Dialog && r.pDialog && onDialog)
                      return onDialog(*r.pDialog);
                  return IDCANCEL;
              })
    {
    }
    std::function<int(CDialog&)> onDialog;
    std::vector<CString> messages;
    int answer = IDYES;

private:
    CModalHookScope m_scope;
};

inline void Click(CWnd& dlg, int nID)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
}

// The control of the dialog that has the focus, or gets it when the dialog is next active (the
// offscreen dialogs are never active): its id, 0 for none.
inline int FocusId(CDialog& dlg)
{
    QWidget* focus = dlg.GetWidget()->focusWidget();
    for (CWnd* child = dlg.GetWindow(GW_CHILD); focus && child; child = child->GetWindow(GW_HWNDNEXT))
    {
        QWidget* w = child->GetWidget();
        if (w && (w == focus || w->isAncestorOf(focus)))
            return child->GetDlgCtrlID();
    }
    return 0;
}
} // namespace statetest
