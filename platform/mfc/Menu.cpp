#include "mfc/Menu.h"

#include "mfc/CommandActions.h"
#include "mfc/CommandIcons.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace
{
struct CMenuItemData
{
    UINT nID = 0;
    UINT nFlags = 0; // MF_ state and type bits
    CString strText;
    HMENU hSubMenu = nullptr;
    ULONG_PTR dwItemData = 0;
};

struct CMenuData
{
    bool bPopup = false;
    unsigned nVersion = 0;
    std::vector<CMenuItemData> items;
    std::unique_ptr<CMenu> pWrapper; // FromHandle's object
};

struct CMenuTable
{
    std::recursive_mutex mutex;
    std::unordered_map<HMENU, std::unique_ptr<CMenuData>> menus;
    uintptr_t nNext = 0x3000;
};

CMenuTable& Menus()
{
    static CMenuTable* table = new CMenuTable;
    return *table;
}

// Menus are used on the UI thread; the lock only keeps the table whole.
CMenuData* Find(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    CMenuTable& t = Menus();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    auto it = t.menus.find(hMenu);
    return it == t.menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool bPopup)
{
    CMenuTable& t = Menus();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    auto h = reinterpret_cast<HMENU>(t.nNext++);
    auto data = std::make_unique<CMenuData>();
    data->bPopup = bPopup;
    t.menus.emplace(h, std::move(data));
    return h;
}

const UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
const UINT kTypeBits = MF_SEPARATOR | MF_POPUP | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP | MFT_RADIOCHECK |
                       MF_OWNERDRAW | MF_BITMAP;

// The menu and position of an item: by position in this menu, or by command id anywhere in the
// menu and its submenus.
bool Locate(HMENU hMenu, UINT uItem, UINT uFlags, HMENU& hFound, size_t& nPos, int depth = 0)
{
    CMenuData* m = Find(hMenu);
    if (!m || depth > 32)
        return false;
    if (uFlags & MF_BYPOSITION)
    {
        if (uItem >= m->items.size())
            return false;
        hFound = hMenu;
        nPos = uItem;
        return true;
    }
    for (size_t i = 0; i < m->items.size(); ++i)
    {
        const CMenuItemData& item = m->items[i];
        if (!(item.nFlags & MF_POPUP) && !(item.nFlags & MF_SEPARATOR) && item.nID == uItem)
        {
            hFound = hMenu;
            nPos = i;
            return true;
        }
        if ((item.nFlags & MF_POPUP) && Locate(item.hSubMenu, uItem, uFlags, hFound, nPos, depth + 1))
            return true;
    }
    return false;
}

void Touch(CMenuData* m)
{
    if (m)
        ++m->nVersion;
}

void DestroyTree(HMENU hMenu, int depth = 0)
{
    std::unique_ptr<CMenuData> data;
    {
        CMenuTable& t = Menus();
        std::lock_guard<std::recursive_mutex> lock(t.mutex);
        auto it = t.menus.find(hMenu);
        if (it == t.menus.end())
            return;
        data = std::move(it->second);
        t.menus.erase(it);
    }
    if (data->pWrapper)
        data->pWrapper->m_hMenu = nullptr;
    if (depth < 32)
    {
        for (const CMenuItemData& item : data->items)
        {
            if (item.nFlags & MF_POPUP)
                DestroyTree(item.hSubMenu, depth + 1);
        }
    }
}

CMenuItemData MakeItem(UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    CMenuItemData item;
    item.nFlags = uFlags & (kStateBits | kTypeBits);
    if (uFlags & MF_POPUP)
    {
        item.hSubMenu = reinterpret_cast<HMENU>(uIDNewItem);
        if (CMenuData* sub = Find(item.hSubMenu))
            sub->bPopup = true;
    }
    else
        item.nID = UINT(uIDNewItem);
    if (uFlags & MF_OWNERDRAW)
        item.dwItemData = reinterpret_cast<ULONG_PTR>(lpNewItem);
    else if (!(uFlags & (MF_SEPARATOR | MF_BITMAP)) && lpNewItem)
        item.strText = lpNewItem;
    return item;
}

void AddTemplateItems(HMENU hMenu, const std::vector<AFX_MENU_ITEM>& items, int depth)
{
    for (const AFX_MENU_ITEM& t : items)
    {
        UINT flags = 0;
        if (t.bChecked)
            flags |= MF_CHECKED;
        if (t.bGrayed)
            flags |= MF_GRAYED;
        if (t.bInactive)
            flags |= MF_DISABLED;
        if (t.bMenuBreak)
            flags |= MF_MENUBREAK;
        if (t.bMenuBarBreak)
            flags |= MF_MENUBARBREAK;
        if (t.bHelp)
            flags |= MF_HELP;
        if (t.bSeparator)
            ::AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
        else if (t.bPopup)
        {
            HMENU sub = ::CreatePopupMenu();
            if (depth < 32)
                AddTemplateItems(sub, t.items, depth + 1);
            ::AppendMenuW(hMenu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), t.strText);
        }
        else
            ::AppendMenuW(hMenu, flags, t.nID, t.strText);
    }
}

QString ToQt(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}

void PostCommand(HWND hWndOwner, UINT nID)
{
    if (hWndOwner && nID)
        ::PostMessageW(hWndOwner, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

// Lets the owner update a popup's items before it shows.
void InitPopup(HMENU hMenu, HWND hWndOwner, UINT nIndex)
{
    if (hWndOwner)
        ::SendMessageW(hWndOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(nIndex, 0));
}

const char kMenuHandleProperty[] = "qyr.hmenu";

QMenu* AddSubMenu(QWidget* parent, const CString& text, HMENU hSub, HWND hWndOwner, UINT nIndex)
{
    auto* sub = new QMenu(ToQt(text), parent);
    sub->setProperty(kMenuHandleProperty, QVariant::fromValue<qulonglong>(reinterpret_cast<uintptr_t>(hSub)));
    QObject::connect(sub, &QMenu::aboutToShow, sub,
                     [sub, hSub, hWndOwner, nIndex]
                     {
                         AfxQtEntry entry;
                         InitPopup(hSub, hWndOwner, nIndex);
                         AfxFillPopupMenu(sub, hSub, hWndOwner);
                     });
    return sub;
}

void AddItems(QWidget* target, HMENU hMenu, HWND hWndOwner)
{
    CMenuData* m = Find(hMenu);
    if (!m)
        return;
    auto* menu = qobject_cast<QMenu*>(target);
    auto* bar = qobject_cast<QMenuBar*>(target);
    const std::vector<CMenuItemData> items = m->items;
    for (size_t i = 0; i < items.size(); ++i)
    {
        const CMenuItemData& item = items[i];
        if (item.nFlags & MF_SEPARATOR)
        {
            if (menu)
                menu->addSeparator();
            else if (bar)
                bar->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (item.nFlags & MF_POPUP)
        {
            QMenu* sub = AddSubMenu(target, item.strText, item.hSubMenu, hWndOwner, UINT(i));
            action = menu ? menu->addMenu(sub) : bar->addMenu(sub);
        }
        else if (QAction* shared = AfxFindCommandAction(hWndOwner, item.nID))
        {
            // The command's action that the frame's bars show too.
            action = shared;
            action->setText(ToQt(item.strText));
            action->setCheckable(action->isCheckable() || (item.nFlags & MF_CHECKED));
            action->setChecked(item.nFlags & MF_CHECKED);
            target->addAction(action);
        }
        else
        {
            action = new QAction(ToQt(item.strText), target);
            const UINT nID = item.nID;
            QObject::connect(action, &QAction::triggered, action,
                             [hWndOwner, nID]
                             {
                                 AfxQtEntry entry;
                                 PostCommand(hWndOwner, nID);
                             });
            if (item.nFlags & MF_CHECKED)
            {
                action->setCheckable(true);
                action->setChecked(true);
            }
            // A command with a standard icon shows the desktop's, as it would on a toolbar.
            const QIcon icon = AfxThemeCommandIcon(nID);
            if (!icon.isNull())
            {
                action->setIcon(icon);
                action->setIconVisibleInMenu(AfxCommandImagesInMenus(hWndOwner) != FALSE);
            }
            target->addAction(action);
        }
        action->setData(QVariant(uint(item.nID)));
        action->setEnabled(!(item.nFlags & (MF_GRAYED | MF_DISABLED)));
    }
}

void ClearOwnedMenus(QWidget* target)
{
    // Submenus made for the previous contents go with them. A copy of the list: deleting a child
    // takes it out of the widget's own.
    const QObjectList children = target->children();
    for (QObject* o : children)
    {
        if (auto* sub = qobject_cast<QMenu*>(o);
            sub && sub->property(kMenuHandleProperty).isValid() && !sub->isVisible())
            delete sub;
    }
}
} // namespace

// --- Win32 functions -------------------------------------------------------------------------------

HMENU CreateMenu()
{
    return NewMenu(false);
}
HMENU CreatePopupMenu()
{
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU hMenu)
{
    if (!Find(hMenu))
        return FALSE;
    DestroyTree(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return Find(hMenu) ? TRUE : FALSE;
}

HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName)
{
    const AFX_MENU_TEMPLATE* t =
        hInstance ? AfxFindMenuTemplate(hInstance, lpMenuName) : AfxFindMenuTemplate(lpMenuName);
    if (!t)
        return nullptr;
    HMENU h = ::CreateMenu();
    AddTemplateItems(h, t->items, 0);
    return h;
}

int GetMenuItemCount(HMENU hMenu)
{
    CMenuData* m = Find(hMenu);
    return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    CMenuData* m = Find(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size())
        return UINT(-1);
    const CMenuItemData& item = m->items[size_t(nPos)];
    if (item.nFlags & MF_POPUP)
        return UINT(-1);
    return (item.nFlags & MF_SEPARATOR) ? 0 : item.nID;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    CMenuData* m = Find(hMenu);
    if (!m || nPos < 0 || size_t(nPos) >= m->items.size())
        return nullptr;
    const CMenuItemData& item = m->items[size_t(nPos)];
    return (item.nFlags & MF_POPUP) ? item.hSubMenu : nullptr;
}

int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uIDItem, flags, h, pos))
        return 0;
    const CString& text = Find(h)->items[pos].strText;
    if (!lpString || cchMax <= 0)
        return text.GetLength();
    const int n = std::min(text.GetLength(), cchMax - 1);
    std::wmemcpy(lpString, text.GetString(), size_t(n));
    lpString[n] = L'\0';
    return n;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uId, uFlags, h, pos))
        return UINT(-1);
    const CMenuItemData& item = Find(h)->items[pos];
    UINT state = item.nFlags;
    if (item.nFlags & MF_POPUP)
    {
        const int count = ::GetMenuItemCount(item.hSubMenu);
        state = (UINT(std::max(count, 0)) << 8) | (state & 0xFF);
    }
    return state;
}

BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    CMenuData* m = Find(hMenu);
    if (!m || ((uFlags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(uIDNewItem))))
        return FALSE;
    m->items.push_back(MakeItem(uFlags, uIDNewItem, lpNewItem));
    Touch(m);
    return TRUE;
}

BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    CMenuData* m = Find(hMenu);
    if (!m || ((uFlags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(uIDNewItem))))
        return FALSE;
    HMENU h = hMenu;
    size_t pos = m->items.size();
    if (uPosition != UINT(-1) && !Locate(hMenu, uPosition, uFlags, h, pos))
    {
        if (!(uFlags & MF_BYPOSITION))
            return FALSE;
        h = hMenu;
        pos = m->items.size(); // past the end appends, as Win32 does
    }
    CMenuData* target = Find(h);
    target->items.insert(target->items.begin() + std::ptrdiff_t(pos),
                         MakeItem(uFlags, uIDNewItem, lpNewItem));
    Touch(target);
    return TRUE;
}

BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMnu, uPosition, uFlags, h, pos))
        return FALSE;
    if ((uFlags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(uIDNewItem)))
        return FALSE;
    CMenuData* m = Find(h);
    CMenuItemData& item = m->items[pos];
    const HMENU oldSub = (item.nFlags & MF_POPUP) ? item.hSubMenu : nullptr;
    const ULONG_PTR oldData = item.dwItemData;
    item = MakeItem(uFlags, uIDNewItem, lpNewItem);
    if (!(uFlags & MF_OWNERDRAW)) // a new text leaves the item's data alone
        item.dwItemData = oldData;
    // A popup replaced by something else takes its submenu along, as Win32 does.
    if (oldSub && item.hSubMenu != oldSub)
        DestroyTree(oldSub);
    Touch(m);
    return TRUE;
}

BOOL GetMenuItemInfoW(HMENU hMenu, UINT item, BOOL fByPosition, MENUITEMINFOW* lpmii)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!lpmii || !Locate(hMenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND, h, pos))
        return FALSE;
    const CMenuItemData& it = Find(h)->items[pos];
    if (lpmii->fMask & MIIM_STATE)
        lpmii->fState = it.nFlags & kStateBits;
    if (lpmii->fMask & MIIM_ID)
        lpmii->wID = it.nID;
    if (lpmii->fMask & MIIM_SUBMENU)
        lpmii->hSubMenu = (it.nFlags & MF_POPUP) ? it.hSubMenu : nullptr;
    if (lpmii->fMask & MIIM_DATA)
        lpmii->dwItemData = it.dwItemData;
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFOW* lpmii)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!lpmii || !Locate(hMenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND, h, pos))
        return FALSE;
    CMenuData* m = Find(h);
    CMenuItemData& it = m->items[pos];
    if (lpmii->fMask & MIIM_STATE)
        it.nFlags = (it.nFlags & ~kStateBits) | (lpmii->fState & kStateBits);
    if ((lpmii->fMask & MIIM_ID) && !(it.nFlags & MF_POPUP))
        it.nID = lpmii->wID;
    if (lpmii->fMask & MIIM_DATA)
        it.dwItemData = lpmii->dwItemData;
    Touch(m);
    return TRUE;
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uPosition, uFlags, h, pos))
        return FALSE;
    CMenuData* m = Find(h);
    m->items.erase(m->items.begin() + std::ptrdiff_t(pos));
    Touch(m);
    return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uPosition, uFlags, h, pos))
        return FALSE;
    CMenuData* m = Find(h);
    const CMenuItemData item = m->items[pos];
    m->items.erase(m->items.begin() + std::ptrdiff_t(pos));
    Touch(m);
    if (item.nFlags & MF_POPUP)
        DestroyTree(item.hSubMenu);
    return TRUE;
}

UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uIDEnableItem, uEnable, h, pos))
        return UINT(-1);
    CMenuData* m = Find(h);
    CMenuItemData& item = m->items[pos];
    const UINT old = item.nFlags & (MF_GRAYED | MF_DISABLED);
    const UINT now = uEnable & (MF_GRAYED | MF_DISABLED);
    if (old != now)
    {
        item.nFlags = (item.nFlags & ~UINT(MF_GRAYED | MF_DISABLED)) | now;
        Touch(m);
    }
    return old;
}

UINT CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    HMENU h = nullptr;
    size_t pos = 0;
    if (!Locate(hMenu, uIDCheckItem, uCheck, h, pos))
        return UINT(-1);
    CMenuData* m = Find(h);
    CMenuItemData& item = m->items[pos];
    const UINT old = item.nFlags & MF_CHECKED;
    const UINT now = uCheck & MF_CHECKED;
    if (old != now)
    {
        item.nFlags = (item.nFlags & ~UINT(MF_CHECKED)) | now;
        Touch(m);
    }
    return old;
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags)
{
    BOOL found = FALSE;
    if (flags & MF_BYPOSITION)
    {
        CMenuData* m = Find(hmenu);
        if (!m)
            return FALSE;
        for (UINT i = first; i <= last && i < m->items.size(); ++i)
        {
            CMenuItemData& item = m->items[i];
            item.nFlags &= ~UINT(MF_CHECKED);
            if (i == check)
            {
                item.nFlags |= MF_CHECKED | MFT_RADIOCHECK;
                found = TRUE;
            }
        }
        Touch(m);
        return found;
    }
    for (uint64_t n = first; n <= last; ++n)
    {
        const UINT id = UINT(n);
        HMENU h = nullptr;
        size_t pos = 0;
        if (!Locate(hmenu, id, MF_BYCOMMAND, h, pos))
            continue;
        CMenuData* m = Find(h);
        CMenuItemData& item = m->items[pos];
        item.nFlags &= ~UINT(MF_CHECKED);
        if (id == check)
        {
            item.nFlags |= MF_CHECKED | MFT_RADIOCHECK;
            found = TRUE;
        }
        Touch(m);
    }
    return found;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    if (!Find(hMenu))
        return FALSE;
    InitPopup(hMenu, hWnd, 0);
    if (!Find(hMenu))
        return FALSE;
    AfxModalRequest request;
    request.kind = AfxModalKind::PopupMenu;
    request.pParent = CWnd::FromHandle(hWnd);
    request.hMenu = hMenu;
    int chosen = 0;
    if (!AfxCallModalHook(request, chosen))
    {
        if (!AfxEnsureApplication())
            return FALSE;
        QMenu menu;
        AfxFillPopupMenu(&menu, hMenu, nullptr);
        QAction* action = menu.exec(QPoint(x, y));
        chosen = action ? int(action->data().toUInt()) : 0;
    }
    if (uFlags & TPM_RETURNCMD)
        return chosen;
    if (chosen <= 0)
        return FALSE;
    PostCommand(hWnd, UINT(chosen));
    return TRUE;
}

HMENU GetMenu(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    CMenu* pMenu = pWnd ? pWnd->GetMenu() : nullptr;
    return pMenu ? pMenu->m_hMenu : nullptr;
}

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    if (!pWnd || (hMenu && !Find(hMenu)))
        return FALSE;
    return pWnd->SetMenu(hMenu ? CMenu::FromHandle(hMenu) : nullptr);
}

BOOL DrawMenuBar(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    if (!pWnd)
        return FALSE;
    pWnd->DrawMenuBar();
    return TRUE;
}

unsigned AfxMenuVersion(HMENU hMenu)
{
    CMenuData* m = Find(hMenu);
    return m ? m->nVersion : 0;
}

void AfxFillMenuBar(QMenuBar* pBar, HMENU hMenu, HWND hWndOwner)
{
    if (!pBar)
        return;
    pBar->clear();
    ClearOwnedMenus(pBar);
    AddItems(pBar, hMenu, hWndOwner);
}

void AfxFillPopupMenu(QMenu* pMenu, HMENU hMenu, HWND hWndOwner)
{
    if (!pMenu)
        return;
    pMenu->clear();
    ClearOwnedMenus(pMenu);
    AddItems(pMenu, hMenu, hWndOwner);
}

// --- CMenu -----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu()
{
    if (m_hMenu)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    CMenuData* m = Find(hMenu);
    if (!m)
        return nullptr;
    if (!m->pWrapper)
    {
        m->pWrapper = std::make_unique<CMenu>();
        m->pWrapper->m_hMenu = hMenu;
    }
    return m->pWrapper.get();
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName)
{
    return Attach(::LoadMenuW(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu || !Find(hMenu))
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    // When this is FromHandle's object, destroying the menu deletes it: nothing touches it after.
    const HMENU h = Detach();
    return ::DestroyMenu(h);
}

UINT CMenu::GetMenuItemCount() const
{
    const int n = ::GetMenuItemCount(m_hMenu);
    return n < 0 ? UINT(-1) : UINT(n);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}
CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    const int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (n <= 0)
        return 0;
    std::wstring buf(size_t(n) + 1, L'\0');
    const int got = ::GetMenuStringW(m_hMenu, nIDItem, buf.data(), n + 1, nFlags);
    buf.resize(size_t(std::max(got, 0)));
    rString = CString(std::move(buf));
    return rString.GetLength();
}

int CMenu::GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
