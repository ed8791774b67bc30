#include "mfc/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e)
        {
            if (e->nMessage != WM_COMMAND || e->pnRegisteredMessage || e->nCode != UINT(nCode) ||
                nID < e->nID || nID > e->nLastID)
                continue;
            if (pHandlerInfo)
            {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = e;
                return TRUE;
            }
            AFX_MSGCALL call = {WM_COMMAND, 0, 0, nID, nCode, pExtra, 0};
            return e->pfn(this, call);
        }
    }
    return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const
{
    if (message == WM_COMMAND)
        return nullptr;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e)
        {
            if (e->pnRegisteredMessage ? *e->pnRegisteredMessage == message && message != 0
                                       : e->nMessage == message)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchMessageEntry(const AFX_MSGMAP_ENTRY* pEntry, UINT message, WPARAM wParam,
                                      LPARAM lParam, LRESULT* pResult)
{
    if (!pEntry || !pEntry->pfn)
        return FALSE;
    AFX_MSGCALL call = {message, wParam, lParam, 0, 0, nullptr, 0};
    const BOOL handled = pEntry->pfn(this, call);
    if (pResult)
        *pResult = call.lResult;
    return handled;
}
