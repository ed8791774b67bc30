// The bundled demo project: "Demo/demo/demo.dcp", its main screen "XdgFiles/Main.xdg" with one of
// each symbol shape, and "ScriptFiles/system.uscp", written under an install root, with the
// player's check popup screen "Demo/hmicheck.xdg" beside it, the sample new project
// "Demo/newproject/newproject.dcp" and the project template "Template/TankFarm/". The build writes
// them into the build tree; tests write their own copies.
#pragma once

#include "mfc/CString.h"

class CWorkSpaceObj;

// The demo project's settings, as written.
void InitDemoWorkSpace(CWorkSpaceObj& ws);
// Writes the demo project under strInstallRoot (no trailing '/'); FALSE when a file cannot be
// written.
BOOL WriteDemoProject(const CString& strInstallRoot);
