// Command targets and message maps.
//
// A class with DECLARE_MESSAGE_MAP() lists its handlers between BEGIN_MESSAGE_MAP(theClass, baseClass)
// and END_MESSAGE_MAP(); the map chains to the base class's map, so a handler of a derived class is
// found first and the base's entries still apply. Each entry holds a small thunk that unpacks the
// message into the handler's arguments and calls it on the object, so handlers are type-checked
// where the map is written. Handlers named in a map must be reachable from the class writing it:
// the framework's own handlers are public.
//
//   ON_COMMAND(ID_FILE_OPEN, &CMyFrame::OnFileOpen)          void OnFileOpen()
//   ON_COMMAND_RANGE(100, 110, &CMyFrame::OnPick)            void OnPick(UINT nID)
//   ON_UPDATE_COMMAND_UI(ID_X, &CMyFrame::OnUpdateX)         void OnUpdateX(CCmdUI*)
//   ON_MESSAGE(WM_USER + 1, &CMyWnd::OnMine)                 LRESULT OnMine(WPARAM, LPARAM)
//   ON_REGISTERED_MESSAGE(g_nMsg, &CMyWnd::OnMine)           g_nMsg: a UINT set by RegisterWindowMessageW
//
// The window-message entries (ON_WM_CREATE() and the like) are in Wnd.h.
#pragma once

#include "mfc/CmdUI.h"
#include "mfc/Messages.h"
#include "mfc/Object.h"

class CCmdTarget;

// Command codes given to OnCmdMsg: a command, or the update of its user interface. Control
// notifications use their own codes (BN_CLICKED, LBN_SELCHANGE, ...).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// One dispatch: the message and, for commands, the id, code and extra argument. The thunk sets the
// result.
struct AFX_MSGCALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    int nCode;
    void* pExtra;
    LRESULT lResult;
};

// Calls the handler; returns whether the message counts as handled.
typedef BOOL (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;                   // WM_COMMAND for commands and notifications
    UINT nCode;                      // command or notification code
    UINT nID;                        // first command id
    UINT nLastID;                    // last command id
    const UINT* pnRegisteredMessage; // for ON_REGISTERED_MESSAGE: the variable holding the message
    AFX_PMSGTHUNK pfn;               // null ends the map
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled instead of calling the handler when OnCmdMsg is only asked whether one exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                        \
    {                                                                                                        \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {                                                                                                        \
        0, 0, 0, 0, nullptr, nullptr                                                                         \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};            \
    return &messageMap;                                                                                      \
    }

// Commands.
#define ON_COMMAND(id, memberFxn)                                                                            \
    {WM_COMMAND,                                                                                             \
     CN_COMMAND,                                                                                             \
     UINT(id),                                                                                               \
     UINT(id),                                                                                               \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL&) -> BOOL                                                                 \
     {                                                                                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                                       \
         return TRUE;                                                                                        \
     }},

// The handler returns whether it handled the command; FALSE lets routing go on.
#define ON_COMMAND_EX(id, memberFxn)                                                                         \
    {WM_COMMAND, CN_COMMAND, UINT(id), UINT(id), nullptr, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL {        \
         return (static_cast<ThisClass*>(t)->*(memberFxn))(c.nID) ? TRUE : FALSE;                            \
     }},

#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                           \
    {WM_COMMAND, CN_COMMAND, UINT(id), UINT(idLast), nullptr, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL {    \
         return (static_cast<ThisClass*>(t)->*(memberFxn))(c.nID) ? TRUE : FALSE;                            \
     }},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    {WM_COMMAND,                                                                                             \
     CN_COMMAND,                                                                                             \
     UINT(id),                                                                                               \
     UINT(idLast),                                                                                           \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))(c.nID);                                                  \
         return TRUE;                                                                                        \
     }},

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
    {WM_COMMAND,                                                                                             \
     CN_UPDATE_COMMAND_UI,                                                                                   \
     UINT(id),                                                                                               \
     UINT(id),                                                                                               \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         CCmdUI* pCmdUI = static_cast<CCmdUI*>(c.pExtra);                                                    \
         pCmdUI->m_bContinueRouting = FALSE;                                                                 \
         (static_cast<ThisClass*>(t)->*(memberFxn))(pCmdUI);                                                 \
         return !pCmdUI->m_bContinueRouting;                                                                 \
     }},

#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,                                                                                             \
     CN_UPDATE_COMMAND_UI,                                                                                   \
     UINT(id),                                                                                               \
     UINT(idLast),                                                                                           \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         CCmdUI* pCmdUI = static_cast<CCmdUI*>(c.pExtra);                                                    \
         pCmdUI->m_bContinueRouting = FALSE;                                                                 \
         (static_cast<ThisClass*>(t)->*(memberFxn))(pCmdUI);                                                 \
         return !pCmdUI->m_bContinueRouting;                                                                 \
     }},

// Control notifications sent to the parent as WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    {WM_COMMAND,                                                                                             \
     UINT(wNotifyCode),                                                                                      \
     UINT(id),                                                                                               \
     UINT(id),                                                                                               \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL&) -> BOOL                                                                 \
     {                                                                                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                                       \
         return TRUE;                                                                                        \
     }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

// Any message, handled as LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                       \
    {UINT(message),                                                                                          \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         c.lResult = LRESULT((static_cast<ThisClass*>(t)->*(memberFxn))(c.wParam, c.lParam));                \
         return TRUE;                                                                                        \
     }},

#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    {AFX_REGISTERED_MESSAGE_FIRST,                                                                           \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     &(nMessageVariable),                                                                                    \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         c.lResult = LRESULT((static_cast<ThisClass*>(t)->*(memberFxn))(c.wParam, c.lParam));                \
         return TRUE;                                                                                        \
     }},

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes a command (nCode CN_COMMAND), a control notification or a user-interface update
    // (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) to this object's handlers. With pHandlerInfo only
    // reports whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of the map chain for a window message (not WM_COMMAND), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
    // Calls the entry's handler for a window message; TRUE when it counted as handled.
    BOOL DispatchMessageEntry(const AFX_MSGMAP_ENTRY* pEntry, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult);

    // The root of every map chain; derived classes override it through DECLARE_MESSAGE_MAP.
protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
