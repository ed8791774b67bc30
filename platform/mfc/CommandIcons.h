// The desktop's icons for commands. A command with a standard (freedesktop) icon name shows the
// icon the desktop's theme has for that name, on its toolbar button and its menu item; the drawn
// images stay for the other commands and on machines without a theme. The framework's own commands
// (ID_FILE_NEW, ID_EDIT_COPY, ...) are named here; a layer with commands of its own names them with
// AfxSetCommandIconNames.
//
//   AfxSetCommandIconNames(ID_BOLD, L"format-text-bold");
//   action->setIcon(AfxCommandIcon(ID_BOLD, drawnImage));
#pragma once

#include "mfc/CString.h"
#include "win32/WinTypes.h"

class QIcon;
class QPixmap;

// Asks the desktop's theme first (as the platform names it) and falls back to the theme the setup
// installs, for desktops that name none and icons a theme lacks. Called once when the application
// object starts; again after a test changed the theme's settings.
void AfxInitIconTheme();
// The theme the programs fall back to: the first installed of the ones the setup may install, or
// an empty string.
CString AfxInstalledIconTheme();

// Names the standard icons of command nID, in the order they are tried (separated by spaces);
// null or "" takes the names away.
void AfxSetCommandIconNames(UINT nID, LPCWSTR lpszNames);
// The standard icon names of a command, or an empty string.
CString AfxGetCommandIconNames(UINT nID);
// The theme's icon of the command: the first of its names the theme has; a null icon when the
// command has no standard name or the theme none of them.
QIcon AfxThemeCommandIcon(UINT nID);
// The theme's icon of the command where there is one, else the drawn image.
QIcon AfxCommandIcon(UINT nID, const QPixmap& drawn);
