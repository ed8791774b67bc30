// One QAction per command id of a frame, shared by the frame's menus and its toolbars: a toolbar
// button and the menu item of the same command are the same action, so the image a toolbar gives a
// command shows in the menus too, and the state the update handlers set shows on both. Triggering
// the action posts the command to the frame.
#pragma once

#include "win32/WinTypes.h"

class QAction;

// The frame's action of a command, or null while no bar has asked for one.
QAction* AfxFindCommandAction(HWND hWndFrame, UINT nID);
// The frame's action of a command, made when missing (owned by the frame's widget; null without
// a frame widget or for id 0).
QAction* AfxEnsureCommandAction(HWND hWndFrame, UINT nID);
// Whether menus show the images of the actions (on by default).
void AfxShowCommandImagesInMenus(HWND hWndFrame, BOOL bShow);
BOOL AfxCommandImagesInMenus(HWND hWndFrame);
