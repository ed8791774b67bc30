// The files that documents, models and shapes open for themselves to read and write through.
#pragma once

#include "mfc/File.h"

// A CFile open on the path, or null (pError filled) when it cannot be opened.
CFile* AfxOpenFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
// Closes (or, after a failure, abandons) and deletes a file from AfxOpenFile; null does nothing.
void AfxReleaseFile(CFile* pFile, BOOL bAbort);
