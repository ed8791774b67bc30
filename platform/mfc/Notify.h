// Notifications that controls send their parent as WM_NOTIFY with a header (and more) in lParam,
// and the message-map entry that handles them:
//
//   ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CMyDlg::OnSelchangedTree)   void (NMHDR*, LRESULT*)
//
// The parent's window routes WM_NOTIFY through OnCmdMsg with the code AFX_NOTIFY_CODE(code).
#pragma once

#include "mfc/CmdTarget.h"

struct NMHDR
{
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

#define NM_FIRST 0U
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)

// A tooltip asks its owner for a tool's text (idFrom is the tool's id, or its window with TTF_IDISHWND).
// The owner sets lpszText to a text, or to MAKEINTRESOURCE(id) with hinst, or fills szText.
#define TTN_FIRST (0U - 520U)
#define TTN_NEEDTEXTW (TTN_FIRST - 10)
#define TTF_IDISHWND 0x0001
struct TOOLTIPTEXTW
{
    NMHDR hdr;
    LPWSTR lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

// A property page becomes the active one.
#define PSN_FIRST (0U - 200U)
#define PSN_SETACTIVE (PSN_FIRST - 0)

// What OnCmdMsg carries in pExtra for a notification.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Notification codes in the map are kept apart from WM_COMMAND codes by the message in the high word.
#define AFX_NOTIFY_CODE(code) UINT(MAKELONG(WORD(code), WM_NOTIFY))

#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    {WM_COMMAND,                                                                                             \
     AFX_NOTIFY_CODE(wNotifyCode),                                                                           \
     UINT(id),                                                                                               \
     UINT(id),                                                                                               \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))(n->pNMHDR, n->pResult);                                  \
         return TRUE;                                                                                        \
     }},

// A notification the control handles itself (reflected): its parent is then not told.
//
//   ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CMyTree::OnBeginLabelEdit)   void (NMHDR*, LRESULT*)
#define AFX_REFLECT_NOTIFY_CODE(code) UINT(MAKELONG(WORD(code), WM_NOTIFY + 0xBC00))
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                            \
    {WM_COMMAND,                                                                                             \
     AFX_REFLECT_NOTIFY_CODE(wNotifyCode),                                                                   \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))(n->pNMHDR, n->pResult);                                  \
         return TRUE;                                                                                        \
     }},

// Fills the header (window, id, code) and offers it to the control's own reflected handler; when
// there is none, sends it to the control's parent. The handler's or the parent's answer.
LRESULT AfxSendNotify(HWND hWndFrom, UINT code, NMHDR* pHdr);
