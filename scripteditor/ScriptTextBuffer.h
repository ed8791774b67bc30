// CScriptTextBuffer: the lines of one script, the undo and redo history of every change, the views
// that show it, and the UTF-16 file behind it.
//
// Characters are full code points (wchar_t is 32 bits here): a surrogate pair of the file becomes one
// character and is written back as a pair. Lines may hold any character, U+0000 included.
#pragma once

#include "mfc/CmdTarget.h"
#include "mfc/CString.h"
#include "mfc/Geometry.h"

#include <list>
#include <string>
#include <vector>

// Update hints passed to the views with each change.
enum
{
    UPD_LINE_LENGTH = 0x0001,
    UPD_LINE_COUNT = 0x0002,
    UPD_ONE_LINE = 0x0100,
    UPD_FLAGS_ONLY = 0x0200,
    UPD_RESET = 0x1000,
};

// Undo record flags.
enum
{
    UNDO_INSERT = 0x0001,
    UNDO_BEGINGROUP = 0x0100,
};

// Line flags with a meaning of their own: numbered bookmarks are 1 << N (N 0 to 9).
#define LF_BOOKMARK_FIRST 0x00000001UL
#define LF_EXECUTION 0x00010000UL
#define LF_BREAKPOINT 0x00020000UL
#define LF_COMPILATION_ERROR 0x00040000UL
#define LF_BOOKMARKS 0x00080000UL
#define LF_INVALID_BREAKPOINT 0x00100000UL
#define LF_BOOKMARK(n) (1UL << (n))

// Moves a point (character, line) so that it stays on the same text across a change.
class CUpdateContext
{
public:
    virtual ~CUpdateContext() = default;
    virtual void RecalcPoint(CPoint& pt) = 0;
};

class CInsertContext : public CUpdateContext
{
public:
    CPoint m_ptStart, m_ptEnd;
    void RecalcPoint(CPoint& pt) override;
};

class CDeleteContext : public CUpdateContext
{
public:
    CPoint m_ptStart, m_ptEnd;
    void RecalcPoint(CPoint& pt) override;
};

// What the buffer calls on each view attached to it (the text view implements it).
class CScriptBufferClient
{
public:
    virtual ~CScriptBufferClient() = default;
    virtual void UpdateView(CScriptBufferClient* pSource, CUpdateContext* pContext, DWORD dwFlags,
                            int nLineIndex = -1) = 0;
    // The edit-operation hook of the view that made a change, told when its undo group closes.
    virtual void OnEditOperation(int nAction, LPCWSTR pszText) = 0;
};

class CScriptTextBuffer : public CCmdTarget
{
    DECLARE_DYNCREATE(CScriptTextBuffer)
public:
    struct SLineInfo
    {
        std::wstring m_chars;
        DWORD m_dwFlags = 0;
    };
    struct SUndoRecord
    {
        DWORD m_dwFlags = 0;
        CPoint m_ptStartPos, m_ptEndPos;
        int m_nAction = 0;
        std::wstring m_text;
    };

    CScriptTextBuffer();
    ~CScriptTextBuffer() override;

    // Line access; an index out of range throws CInvalidArgException*.
    int GetLineCount() const { return int(m_aLines.size()); }
    int GetLineLength(int nLine) const;
    LPCWSTR GetLineChars(int nLine) const;
    DWORD GetLineFlags(int nLine) const;
    void GetTextRange(int nStartLine, int nStartChar, int nEndLine, int nEndChar, CString& text,
                      LPCWSTR pszCRLF = nullptr) const;
    int FindFlaggedLine(DWORD dwFlag) const;
    void SetLineFlag(int nLine, DWORD dwFlag, BOOL bSet, BOOL bRemoveFromPreviousLine = TRUE);
    int FindNextMarkedLine(int nLine) const;
    int FindPrevMarkedLine(int nLine) const;
    int GetLineWidthInBytes(int nLine) const;

    // Editing. Points outside the text are refused (FALSE, nothing changed).
    BOOL InsertText(CScriptBufferClient* pSource, int nLine, int nPos, LPCWSTR pszText, int& nEndLine,
                    int& nEndChar, int nAction = 0);
    // The same with an explicit length: the text may hold U+0000.
    BOOL InsertText(CScriptBufferClient* pSource, int nLine, int nPos, const std::wstring& text,
                    int& nEndLine, int& nEndChar, int nAction = 0);
    BOOL DeleteText(CScriptBufferClient* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                    int nAction = 0);

    BOOL CanUndo() const { return m_nUndoPosition > 0; }
    BOOL CanRedo() const { return m_nUndoPosition < int(m_aUndoBuf.size()); }
    BOOL Undo(CPoint& ptCursorPos);
    BOOL Redo(CPoint& ptCursorPos);
    void OpenUndoGroup(BOOL bMergeWithPrevious = FALSE);
    void CloseUndoGroup(CScriptBufferClient* pSource = nullptr);
    BOOL GetUndoDescription(CString& desc) const;
    BOOL GetRedoDescription(CString& desc) const;
    virtual BOOL GetActionDescription(int nAction, CString& desc) const;

    virtual void SetModified(BOOL bModified = TRUE);
    BOOL IsModified() const { return m_bModified; }
    BOOL IsReadOnly() const { return m_bReadOnly; }
    BOOL IsInitialised() const { return m_bInit; }
    int GetCRLFMode() const { return m_nCRLFMode; }

    void AttachView(CScriptBufferClient* pView);
    void DetachView(CScriptBufferClient* pView);
    void NotifyViews(CScriptBufferClient* pSource, CUpdateContext* pContext, DWORD dwUpdateFlags,
                     int nLineIndex = -1);

    BOOL InitEmpty(int nCrlfStyle = 0);
    BOOL LoadFile(LPCWSTR pszFileName, int nCrlfStyle = -1);
    BOOL SaveFile(LPCWSTR pszFileName, int nCrlfStyle = -1, BOOL bClearModifiedFlag = TRUE);
    void Clear();

    // For tests and diagnostics.
    int GetUndoRecordCount() const { return int(m_aUndoBuf.size()); }
    const SUndoRecord& GetUndoRecord(int i) const { return m_aUndoBuf.at(size_t(i)); }
    int GetUndoPosition() const { return m_nUndoPosition; }
    int GetSavedPosition() const { return m_nSyncPosition; }
    static constexpr int UNDO_BUF_SIZE = 1024;

    // Decodes the bytes of a script file (after its mark) into lines: the loader's core, open to
    // tests and fuzzing. FALSE when the bytes are not UTF-16 text with a mark.
    static BOOL SplitFileText(const std::string& bytes, int& nCrlfStyle, std::vector<std::wstring>& lines);

protected:
    BOOL InternalInsertText(CScriptBufferClient* pSource, int nLine, int nPos, const wchar_t* pszText,
                            size_t nLength, int& nEndLine, int& nEndChar);
    BOOL InternalDeleteText(CScriptBufferClient* pSource, int nStartLine, int nStartPos, int nEndLine,
                            int nEndPos);
    void AddUndoRecord(BOOL bInsert, const CPoint& ptStartPos, const CPoint& ptEndPos,
                       const std::wstring& text, int nAction);
    bool ValidPoint(int nLine, int nChar) const;
    void CheckLine(int nLine) const;
    void ResetState(int nCrlfStyle);
    void SyncModified();

    BOOL m_bInit = FALSE;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bModified = FALSE;
    int m_nCRLFMode = 0;
    int m_nUndoBufSize = 0;
    std::vector<SLineInfo> m_aLines;
    std::vector<SUndoRecord> m_aUndoBuf;
    int m_nUndoPosition = 0;
    // -1: no applied state of the history matches the file any more.
    int m_nSyncPosition = 0;
    BOOL m_bUndoGroup = FALSE;
    BOOL m_bUndoBeginGroup = FALSE;
    // The undo position when the open group began: a group that added nothing replays nothing.
    int m_nUndoGroupStart = -1;
    std::list<CScriptBufferClient*> m_lpViews;

    DECLARE_MESSAGE_MAP()
};
