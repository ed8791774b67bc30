// How the programs are told their project: a bare project name or a ".dcp" file name, both under
// the install's "User/" folder, or a full ".dcp" path. A '\' is taken as '/'; ".dcp" is searched
// case-sensitively.
#pragma once

#include "mfc/CString.h"

class CProjectArgument
{
public:
    static BOOL IsBareProjectName(const CString& strText);
    static BOOL IsProjectFileName(const CString& strText);
    static BOOL IsFullProjectPath(const CString& strText);

    // The project's folder (with its trailing '/') and file name; FALSE, after the message
    // "Invalid argument = %s", when the text names no project. The outputs are as found, neither
    // trimmed nor lower-cased.
    static BOOL Parse(const CString& strArgument, const CString& strUserFolder, CString& strFolder,
                      CString& strFile);

    // The project line of a "main.dat": its last line that is not empty. FALSE when the file
    // cannot be read, holds no such line, or that line is only blanks: it names no project.
    static BOOL ReadLastProjectLine(const CString& strPath, CString& strLine);
};
