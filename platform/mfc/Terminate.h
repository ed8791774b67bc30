// A program asked to stop by the system (SIGTERM, SIGINT, SIGHUP) closes its main window the way
// a user would, so that its normal shut-down runs.
#pragma once

// Call once the Qt application object exists; later signals post WM_CLOSE to the main window.
void AfxCloseMainWindowOnTerminate();
