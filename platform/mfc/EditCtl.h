// The edit family ("Edit"): QLineEdit, or QPlainTextEdit with ES_MULTILINE. A change of the text
// notifies the parent with EN_CHANGE.
#pragma once

#include "mfc/Wnd.h"

// Edit styles and messages.
#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_SETREADONLY 0x00CF
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_POSFROMCHAR 0x00D6
#define EM_CHARFROMPOS 0x00D7
#ifndef WM_UNDO
#define WM_UNDO 0x0304
#endif

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, WPARAM(nChars)); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return BOOL(SendMessage(EM_SETREADONLY, WPARAM(bReadOnly))); }
    // The modified flag: set by typing, cleared by a new text or SetModify(FALSE).
    BOOL GetModify() const { return BOOL(Send(EM_GETMODIFY)); }
    void SetModify(BOOL bModified = TRUE) { Send(EM_SETMODIFY, WPARAM(bModified)); }
    // Undo takes back the last typed run; a new text or EmptyUndoBuffer forgets it.
    BOOL CanUndo() const { return BOOL(Send(EM_CANUNDO)); }
    BOOL Undo() { return BOOL(Send(EM_UNDO)); }
    void EmptyUndoBuffer() { Send(EM_EMPTYUNDOBUFFER); }
    // The client position of a character's left edge (one past the last gives its right edge);
    // (-1, -1) beyond that.
    CPoint PosFromChar(UINT nChar) const;
    // The character nearest a client x.
    int CharFromPos(CPoint pt) const;
    void Cut() { Send(WM_CUT); }
    void Copy() { Send(WM_COPY); }
    void Paste() { Send(WM_PASTE); }
    void Clear() { Send(WM_CLEAR); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
};
