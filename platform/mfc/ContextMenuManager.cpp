#include "mfc/ContextMenuManager.h"

#include "mfc/Menu.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"

CContextMenuManager::~CContextMenuManager()
{
    for (auto& [name, entry] : m_menus)
        if (::IsMenu(entry.hMenu))
            ::DestroyMenu(entry.hMenu);
}

BOOL CContextMenuManager::AddMenu(LPCWSTR lpszName, UINT uiMenuResId)
{
    if (!lpszName || !*lpszName || m_menus.count(CString(lpszName)))
        return FALSE;
    const HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCE(uiMenuResId));
    if (!hMenu)
        return FALSE;
    const HMENU hPopup = ::GetSubMenu(hMenu, 0);
    if (!hPopup)
    {
        ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_menus.emplace(CString(lpszName), CEntry{uiMenuResId, hMenu, hPopup});
    return TRUE;
}

BOOL CContextMenuManager::AddMenu(UINT uiMenuNameResId, UINT uiMenuResId)
{
    CString name;
    if (!name.LoadString(uiMenuNameResId))
        return FALSE;
    return AddMenu(name, uiMenuResId);
}

HMENU CContextMenuManager::GetMenuById(UINT nMenuResId) const
{
    for (const auto& [name, entry] : m_menus)
        if (entry.nResId == nMenuResId)
            return entry.hPopup;
    return nullptr;
}

HMENU CContextMenuManager::GetMenuByName(LPCWSTR lpszName, UINT* puiOrigResID) const
{
    auto it = lpszName ? m_menus.find(CString(lpszName)) : m_menus.end();
    if (it == m_menus.end())
        return nullptr;
    if (puiOrigResID)
        *puiOrigResID = it->second.nResId;
    return it->second.hPopup;
}

void CContextMenuManager::GetMenuNames(std::vector<CString>& names) const
{
    names.clear();
    for (const auto& [name, entry] : m_menus)
        names.push_back(name);
}

UINT CContextMenuManager::TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner, BOOL)
{
    if (!hmenuPopup || !pWndOwner)
        return 0;
    return UINT(::TrackPopupMenu(hmenuPopup, TPM_RETURNCMD, x, y, 0, pWndOwner->GetSafeHwnd(), nullptr));
}

BOOL CContextMenuManager::ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL, BOOL)
{
    const HMENU hPopup = GetMenuById(uiMenuResId);
    if (!hPopup || !pWndOwner)
        return FALSE;
    return ::TrackPopupMenu(hPopup, 0, x, y, 0, pWndOwner->GetSafeHwnd(), nullptr);
}
