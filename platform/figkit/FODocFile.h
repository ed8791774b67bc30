// Whole-file saves that never destroy the old file: the archive is written to a temporary file in the
// target's folder, which then replaces the target in one rename.
#pragma once

#include "mfc/CString.h"

// The temporary file name for saving to `path` (same folder, so the rename stays on one file system).
CString FOTempSavePath(const CString& path);
// Renames the finished temporary file over the target; FALSE (and the temporary removed) on failure.
BOOL FOCommitSavedFile(const CString& tempPath, const CString& path);
// Removes a temporary file after a failed save.
void FODiscardSavedFile(const CString& tempPath);
