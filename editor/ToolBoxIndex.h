// The toolbox folder and its index "index.dat": UTF-16 little-endian text with its byte-order
// mark, one "<number>#<page file name>" a line, in the order the pages were added. Readers trim
// each line, skip empty ones and split at the LAST '#'; a line whose number or file name is empty
// counts as no entry.
#pragma once

#include "mfc/CString.h"

#include <vector>

class CToolBoxIndex
{
public:
    static constexpr LPCWSTR lpszIndexName = L"index.dat";

    // One index line as the workspace bar lists it: the number text, the file name and an id counted
    // from 100 in line order.
    struct Entry
    {
        CString strNumber;
        CString strFileName;
        UINT nId = 0;
    };

    // The toolbox folder of a program folder: its parent's "Shapes/" (with the trailing '/').
    static CString FolderOfProgramFolder(const CString& strProgramFolder);
    // The toolbox folder of the running program.
    static CString GetProgramToolBoxFolder();

    // Splits a trimmed line at its last '#'; FALSE when the number or the file name is empty.
    static BOOL SplitLine(const CString& strLine, CString& strNumber, CString& strFileName);

    // Every non-empty trimmed line; none when the index cannot be read.
    static std::vector<CString> ReadLines(const CString& strFolder);
    // The lines that are entries (number and file name both present).
    static std::vector<CString> ReadValidLines(const CString& strFolder);
    static std::vector<Entry> ReadEntries(const CString& strFolder);
    // Rewrites the index with the lines, each followed by "\n"; FALSE (the old file kept) when it
    // cannot be written.
    static BOOL WriteLines(const CString& strFolder, const std::vector<CString>& lines);
    // Keeps the lines (all non-empty ones, or with bOnlyValid only the entries) and appends
    // "<count kept>#<file name>".
    static BOOL AppendEntry(const CString& strFolder, const CString& strFileName, BOOL bOnlyValid);
    // Keeps the entries whose file name differs (exactly) from the one given.
    static BOOL RemoveEntry(const CString& strFolder, const CString& strFileName);
};
