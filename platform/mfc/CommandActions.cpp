#include "mfc/CommandActions.h"

#include "mfc/Messages.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"

#include <QAction>
#include <QPointer>
#include <QWidget>

#include <map>
#include <set>

namespace
{
struct CFrameActions
{
    std::map<UINT, QPointer<QAction>> actions;
    bool bImagesInMenus = true;
};

// Keyed by the frame's handle; entries of frames that are gone are dropped when they are met.
std::map<HWND, CFrameActions>& Table()
{
    static std::map<HWND, CFrameActions> table;
    return table;
}

CFrameActions* Find(HWND hWndFrame)
{
    auto it = Table().find(hWndFrame);
    if (it == Table().end())
        return nullptr;
    if (!::IsWindow(hWndFrame))
    {
        Table().erase(it);
        return nullptr;
    }
    return &it->second;
}
} // namespace

QAction* AfxFindCommandAction(HWND hWndFrame, UINT nID)
{
    CFrameActions* f = Find(hWndFrame);
    if (!f)
        return nullptr;
    auto it = f->actions.find(nID);
    return it == f->actions.end() ? nullptr : it->second.data();
}

QAction* AfxEnsureCommandAction(HWND hWndFrame, UINT nID)
{
    if (nID == 0)
        return nullptr;
    if (QAction* found = AfxFindCommandAction(hWndFrame, nID))
        return found;
    CWnd* pFrame = CWnd::FromHandlePermanent(hWndFrame);
    QWidget* owner = pFrame ? pFrame->GetWidget() : nullptr;
    if (!owner)
        return nullptr;
    CFrameActions& f = Table()[hWndFrame];
    auto* action = new QAction(owner);
    action->setData(QVariant(uint(nID)));
    action->setIconVisibleInMenu(f.bImagesInMenus);
    QObject::connect(action, &QAction::triggered, action,
                     [hWndFrame, nID]
                     {
                         AfxQtEntry entry;
                         if (::IsWindow(hWndFrame))
                             ::PostMessageW(hWndFrame, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
                     });
    f.actions[nID] = action;
    return action;
}

void AfxShowCommandImagesInMenus(HWND hWndFrame, BOOL bShow)
{
    if (!::IsWindow(hWndFrame))
        return;
    CFrameActions& f = Table()[hWndFrame];
    f.bImagesInMenus = bShow != FALSE;
    for (auto& [id, action] : f.actions)
        if (action)
            action->setIconVisibleInMenu(f.bImagesInMenus);
}

BOOL AfxCommandImagesInMenus(HWND hWndFrame)
{
    CFrameActions* f = Find(hWndFrame);
    return !f || f->bImagesInMenus;
}
