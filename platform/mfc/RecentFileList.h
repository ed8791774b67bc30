// The application's list of recently used files: kept newest first without repeats, read from and
// written to a profile section ("File1", "File2", ... under "Recent File List"), and shown in a
// menu in place of its first command (ID_FILE_MRU_FILE1 upward), one "&n path" item an entry.
#pragma once

#include "mfc/CString.h"

#include <vector>

class CCmdUI;

class CRecentFileList
{
public:
    CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return int(m_arrNames.size()); }
    // An empty text past the entries in use.
    CString& operator[](int nIndex) { return m_arrNames[size_t(nIndex)]; }
    const CString& operator[](int nIndex) const { return m_arrNames[size_t(nIndex)]; }

    // Puts the path at the head; an entry naming the same file (any case) goes first, the last
    // one falls off a full list. An empty path changes nothing.
    virtual void Add(LPCWSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The menu items from the updated command on: the entries, or the command disabled with its
    // first text while the list is empty.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    // Whether Add or Remove changed the list since it was read or written.
    BOOL IsChanged() const { return m_bChanged; }

protected:
    std::vector<CString> m_arrNames;
    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    CString m_strOriginal;
    BOOL m_bChanged = FALSE;
};
