// CViewTree: the tree control of the viewer's panes. Its tooltips already show above every other
// window (Qt's tooltips are top-level), so it needs nothing beyond the tree control.
#pragma once

#include "mfc/TreeCtrl.h"

class CViewTree : public CTreeCtrl
{
public:
    CViewTree() = default;
};
