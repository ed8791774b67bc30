// The one way whole files are written and read: documents, screen models, shape files and project
// files all go through here.
//
// A save writes the archive into a temporary beside the target ("<target>.~save<pid>"), flushes it
// to the disk and renames it over the target only when everything was written: on any failure the
// old file is untouched, the temporary is removed and the error handed back. Each save first removes
// the temporaries of its target that killed saves left (their process is gone); a running save's
// temporary is never touched. A load reads the whole file into memory first and loads from there,
// refusing files above a size limit, so no length in the file can make it read past its end.
#pragma once

#include "mfc/CString.h"

#include <functional>

class CArchive;
class CException;

enum AfxLoadFlags : UINT
{
    // An empty file loads nothing and succeeds (without this, the loader sees an empty archive).
    afxLoadEmptyAsNothing = 0x1,
};

// The largest file a load accepts by default.
constexpr ULONGLONG afxMaxLoadFile = 512ull * 1024 * 1024;

// Stores through `store`. FALSE on failure; with ppError the exception (CFileException* or
// CArchiveException*, naming the target) goes to the caller, who deletes it, otherwise it is
// deleted here.
BOOL AfxSaveArchiveFile(LPCWSTR lpszPathName, const std::function<void(CArchive&)>& store,
                        CException** ppError = nullptr);
// Loads through `load`; errors as above. A file that is missing, unreadable, larger than
// nMaxLength, or whose loader throws gives FALSE.
BOOL AfxLoadArchiveFile(LPCWSTR lpszPathName, const std::function<void(CArchive&)>& load, UINT nFlags = 0,
                        CException** ppError = nullptr, ULONGLONG nMaxLength = afxMaxLoadFile);
