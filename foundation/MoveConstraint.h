// Keeps a dialog's controls in place as it is resized: each control moves and grows by fixed
// fractions of the growth of the client area over its first size. The dialog hands its messages to
// the window's subclassing chain (kesdlg::CallChain), where the constraint object filters them.
// Invariant: a constraint's rectangle is the control's first one; layouts never accumulate error.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"

#include <map>
#include <vector>

class CWnd;
struct NMHDR;
struct MINMAXINFO;

namespace kesdlg
{
// A procedure of a window's subclassing chain: TRUE when it handled the message (*pResult set).
typedef BOOL (*SUBCLASSPROC)(void* pObject, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                             LRESULT* pResult);

struct SubclassRec
{
    SUBCLASSPROC proc = nullptr;
    void* object = nullptr;
    SUBCLASSPROC prev = nullptr; // the procedure installed before this one
    DWORD_PTR data1[3] = {};
    DWORD_PTR data2[3] = {};
};

// Per thread: FALSE when proc already stands in the window's chain.
BOOL Subclass(SUBCLASSPROC proc, HWND hWnd, void* object, const DWORD_PTR* data1 = nullptr,
              const DWORD_PTR* data2 = nullptr);
BOOL Unsubclass(SUBCLASSPROC proc, HWND hWnd);
// Offers a message to the newest procedure of the window's chain; FALSE when none handled it.
BOOL CallChain(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
// From inside proc: offers the message to the procedure installed before it.
BOOL CallNext(SUBCLASSPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
// The number of procedures in the window's chain (0 when it has none).
int ChainLength(HWND hWnd);

enum
{
    HT_CLIENT = 1,
    HT_LEFT = 10,
    HT_RIGHT = 11,
    HT_TOP = 12,
    HT_TOPLEFT = 13,
    HT_TOPRIGHT = 14,
    HT_BOTTOM = 15,
    HT_BOTTOMLEFT = 16,
    HT_BOTTOMRIGHT = 17,
    HT_BORDER = 18
};

class CMoveConstraint
{
public:
    CMoveConstraint();
    ~CMoveConstraint();
    CMoveConstraint(const CMoveConstraint&) = delete;
    CMoveConstraint& operator=(const CMoveConstraint&) = delete;

    void InitializeCurrentSize(CWnd* pDlg);
    void SetMinTrackSize(int cx, int cy);
    void SetMaxTrackSize(int cx, int cy);
    void SetGripMode(int mode);
    void SetIsPropertyPage(BOOL b) { m_bPropertyPage = b; }
    // A control that does not exist yet is completed when its property page is activated.
    BOOL AddConstraint(UINT nID, double fXMove, double fXSize, double fYMove, double fYSize);
    BOOL SubclassWnd();
    BOOL UnSubclassWnd();
    BOOL LoadPosition(LPCWSTR szSection, LPCWSTR szKey, BOOL bPosition);
    BOOL SavePosition(LPCWSTR szSection = nullptr, LPCWSTR szKey = nullptr);
    void Persist(LPCWSTR szSection, LPCWSTR szKey);

    // Tooltip texts by control id, handed out when a tooltip asks for a tool's text.
    void AddTip(UINT nID, UINT nResId);
    void AddTip(UINT nID, LPCWSTR szText);

    // The message filter: TRUE when the message is fully handled here.
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Where a point in client coordinates hits the frame, given the default answer.
    UINT HitTest(CPoint ptWindow, UINT defaultHit) const;
    BOOL IsGripShowing() const;
    void Relayout();
    void OnGetMinMaxInfo(MINMAXINFO* pMMI) const;
    // A property page was activated: deferred constraints find their controls now.
    void OnPageActivated();
    void Reset();

private:
    struct Constraint
    {
        double fXMove = 0, fXSize = 0, fYMove = 0, fYSize = 0;
        HWND hCtrl = nullptr;
        UINT nID = 0;
        BOOL bDeferred = FALSE;
        CRect rcInit;
        CWnd* pParent = nullptr;
    };
    struct Tip
    {
        UINT nResId = 0; // a string resource, else the text
        CString text;
    };
    BOOL Complete(Constraint& c);
    BOOL OnNotify(NMHDR* pHdr, LRESULT* pResult);
    // The grip is the dialog's own size grip, shown while IsGripShowing holds.
    void UpdateGrip();
    static BOOL Proc(void* pObject, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    CWnd* m_pDlg = nullptr;
    CRect m_rcInit;
    int m_nMinX = 0, m_nMinY = 0, m_nMaxX = 0, m_nMaxY = 0;
    int m_nGripper = 1;
    BOOL m_bInitialized = FALSE;
    int m_nDelayed = 0;
    BOOL m_bPropertyPage = FALSE;
    BOOL m_bRefreshOnActivate = FALSE;
    std::vector<Constraint> m_constraints;
    std::map<UINT, Tip> m_tips;
    CString m_sSection;
    CString m_sKey;
    BOOL m_bPersist = FALSE;
    BOOL m_bSubclassed = FALSE;
};
} // namespace kesdlg
