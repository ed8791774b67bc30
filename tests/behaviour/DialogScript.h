// Modal boxes answered in order: each dialog that opens (nested ones too) is handed to the next
// step of the script, which works its controls and answers; message boxes are noted and answered.
// A dialog with no step left is cancelled.
#pragma once

#include "mfc/Dialog.h"
#include "mfc/WinApp.h"
#include "support/ModalHook.h"
#include "support/WinAppTest.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace behaviourtest
{
class CDialogScript
{
public:
    using Step = std::function<int(CDialog&)>;

    CDialogScript()
        : m_scope(
              [this](const AfxModalRequest& r) -> int
              {
                  if (r.kind == AfxModalKind::MessageBox)
                  {
                      messages.push_back(r.strText);
                      messageTypes.push_back(r.nType);
                      return messageAnswer;
                  }
                  if (r.kind == AfxModalKind::FileDialog && !filePath.IsEmpty())
                  {
                      fileFilters.push_back(r.strFilter);
                      r.paths.push_back(filePath);
                      return IDOK;
                  }
                  if (r.kind != AfxModalKind::Dialog || !r.pDialog)
                      return IDCANCEL;
                  titles.push_back(r.strCaption);
                  if (steps.empty())
                      return IDCANCEL;
                  Step step = std::move(steps.front());
                  steps.pop_front();
                  return step(*r.pDialog);
              })
    {
    }
    CDialogScript& Then(Step step)
    {
        steps.push_back(std::move(step));
        return *this;
    }

    std::deque<Step> steps;
    std::vector<CString> titles;
    std::vector<CString> messages;
    std::vector<UINT> messageTypes;
    std::vector<CString> fileFilters;
    int messageAnswer = IDOK;
    CString filePath;

private:
    CModalHookScope m_scope;
};

inline void Click(CWnd& dlg, int nID)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
}
inline void Notify(CWnd& dlg, int nID, int nCode)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), LPARAM(dlg.GetDlgItem(nID)->GetSafeHwnd()));
}
inline CString ItemText(CWnd& dlg, int nID)
{
    CString text;
    dlg.GetDlgItemText(nID, text);
    return text;
}
// Saves what the window shows.
inline bool SaveShot(CWnd& wnd, const char* path)
{
    AfxPumpMessages();
    return wnd.GetWidget()->grab().toImage().save(QString::fromUtf8(path));
}

using CBehaviourTest = CWinAppTest;
} // namespace behaviourtest
