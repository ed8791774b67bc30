// The toolbox pages an installation starts with, written into a toolbox folder with their index.
#pragma once

#include "mfc/CString.h"

// Writes the pages (".trs") and "index.dat" into the folder (made when missing); FALSE when any
// file cannot be written.
BOOL WriteDefaultToolBoxPages(const CString& strFolder);
// How many pages WriteDefaultToolBoxPages writes.
int GetDefaultToolBoxPageCount();
