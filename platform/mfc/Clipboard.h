// The clipboard calls over the desktop's clipboard. Between OpenClipboard and CloseClipboard one
// window owns it; data set after EmptyClipboard is published when the clipboard is closed, so a
// reader never sees half a copy. CF_TEXT is ANSI text (UTF-8 here: nothing is replaced), CF_UNICODETEXT
// UTF-16; registered formats travel under their own name. Handles from GetClipboardData belong to the
// clipboard and stay valid until it is closed.
#pragma once

#include "com/DataObject.h"
#include "win32/WinTypes.h"

#define CF_TEXT 1
#define CF_UNICODETEXT 13

BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Drops what the clipboard holds; the data set next replaces it. The clipboard must be open.
BOOL EmptyClipboard();
// The window that put the clipboard's present contents there (the last to empty it), while they are
// still there; null otherwise.
HWND GetClipboardOwner();
// Takes the global block (the caller no longer frees it); null when the clipboard is not open or
// the block is not one of ours.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
