#include "editor/EditTreeCtrl.h"

#include "editor/EditorApp.h"

IMPLEMENT_DYNAMIC(CEditTreeCtrl, CTreeCtrl)

BOOL CEditTreeCtrl::NewScreen(HTREEITEM hScreens)
{
    IEditorApp* app = GetEditorApp();
    return hScreens && app && app->AddNewScreen();
}

HTREEITEM CEditTreeCtrl::FindItemByData(DWORD_PTR dwData, HTREEITEM hFrom) const
{
    for (HTREEITEM h = hFrom ? hFrom : GetRootItem(); h; h = GetNextSiblingItem(h))
    {
        if (GetItemData(h) == dwData)
            return h;
        if (HTREEITEM child = GetChildItem(h))
            if (HTREEITEM found = FindItemByData(dwData, child))
                return found;
    }
    return nullptr;
}
