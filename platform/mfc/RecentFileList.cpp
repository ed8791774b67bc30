#include "mfc/RecentFileList.h"

#include "mfc/CmdUI.h"
#include "mfc/Menu.h"
#include "mfc/WinApp.h"
#include "win32/Files.h"

#include <algorithm>

CRecentFileList::CRecentFileList(UINT nStart, LPCWSTR lpszSection, LPCWSTR lpszEntryFormat, int nSize)
    : m_arrNames(size_t(std::max(nSize, 0))), m_nStart(nStart), m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat)
{
}

void CRecentFileList::Add(LPCWSTR lpszPathName)
{
    // The list shows the file as it is spelled on disk, whatever case the caller used.
    const CString path =
        lpszPathName && *lpszPathName ? CString(Win32ResolvePath(lpszPathName).c_str()) : L"";
    if (path.IsEmpty() || m_arrNames.empty())
        return;
    size_t at = m_arrNames.size() - 1;
    for (size_t i = 0; i < m_arrNames.size(); ++i)
        if (m_arrNames[i].CompareNoCase(path) == 0)
        {
            at = i;
            break;
        }
    // Everything above the old place (or the whole list) moves one down.
    for (size_t i = at; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = path;
    m_bChanged = TRUE;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return;
    m_arrNames.erase(m_arrNames.begin() + nIndex);
    m_arrNames.emplace_back();
    m_bChanged = TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    if (!pCmdUI)
        return;
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (pMenu && m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_arrNames.empty() || m_arrNames[0].IsEmpty())
    {
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    if (!pMenu)
        return;
    for (int i = 0; i < GetSize(); ++i)
        pMenu->DeleteMenu(pCmdUI->m_nID + UINT(i), MF_BYCOMMAND);
    const UINT first = pCmdUI->m_nIndex;
    UINT index = first;
    for (int i = 0; i < GetSize() && !m_arrNames[size_t(i)].IsEmpty(); ++i)
    {
        CString text;
        text.Format(L"&%d %s", i + 1, m_arrNames[size_t(i)].GetString());
        pMenu->InsertMenu(index++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID + UINT(i), text);
    }
    // The update loop goes on after the items just made.
    pCmdUI->m_nIndex = index - 1;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    // Entries left empty in the profile close up.
    size_t kept = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        const CString path = pApp->GetProfileString(m_strSectionName, entry);
        if (!path.IsEmpty())
            m_arrNames[kept++] = path;
    }
    for (size_t i = kept; i < m_arrNames.size(); ++i)
        m_arrNames[i].Empty();
    m_bChanged = FALSE;
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < GetSize() && !m_arrNames[size_t(i)].IsEmpty(); ++i)
    {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, entry, m_arrNames[size_t(i)]);
    }
    m_bChanged = FALSE;
}
