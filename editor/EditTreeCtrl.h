// CEditTreeCtrl: the project tree of the workspace bar. Its items are told apart by their item data
// (1000 project, 1001 screens, 2001 a screen, 3000 settings, 4000 publisher, 5000 project folder).
#pragma once

#include "mfc/TreeCtrl.h"

#define TREE_ITEM_PROJECT 1000
#define TREE_ITEM_SCREENS 1001
#define TREE_ITEM_SCREEN 2001
#define TREE_ITEM_SETTINGS 3000
#define TREE_ITEM_PUBLISHER 4000
#define TREE_ITEM_FOLDER 5000

class CEditTreeCtrl : public CTreeCtrl
{
    DECLARE_DYNAMIC(CEditTreeCtrl)
public:
    CEditTreeCtrl() = default;

    // Adds a new screen to the project under the "Screens" item: the application asks for its name.
    virtual BOOL NewScreen(HTREEITEM hScreens);
    // The first item (depth first) whose item data is dwData, or null.
    HTREEITEM FindItemByData(DWORD_PTR dwData, HTREEITEM hFrom = nullptr) const;
};
