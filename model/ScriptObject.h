// CScriptObject: the process's script engine wrapper over one script control: loads code, adds the
// automation objects scripts call, lists and runs procedures and reports the last error.
//
// Every operation answers FALSE (SetTimeout 0) when there is no control. A failing call on the
// control (a syntax error while adding code, a run-time error, a time-out) makes the operation
// answer FALSE and leaves the error in the control until GetErrorString reads and clears it. The
// constructor, SetLanguage and Reset throw _com_error when the control fails them.
#pragma once

#include "com/SafeArray.h"
#include "mfc/CString.h"

#include <vector>

struct IScriptControl;
struct IDispatch;

class CScriptObject
{
public:
    CScriptObject();
    ~CScriptObject();
    CScriptObject(const CScriptObject&) = delete;
    CScriptObject& operator=(const CScriptObject&) = delete;

    // At most 40 characters; a longer name is refused (FALSE) and nothing changes. Resets the control.
    BOOL SetLanguage(LPCWSTR lpszLanguage);
    // Drops the loaded code and the added objects; the procedure list stays until the next add.
    BOOL Reset();

    // A script file (its bytes read as ANSI text, no byte-order mark recognised).
    BOOL LoadScript(LPCWSTR lpszFileName);
    // A script from a module's resources (the resource chain when hModule is null).
    BOOL LoadScriptResource(LPCWSTR lpszName, LPCWSTR lpszType, HMODULE hModule);
    BOOL AddScript(LPCWSTR lpszCode);
    // Adds a named automation object; with bAddMembers its members are global names too.
    BOOL AddObject(LPCWSTR lpszName, IDispatch* pDispatch, BOOL bAddMembers = FALSE);
    BOOL ExecuteStatement(LPCWSTR lpszStatement);
    // Milliseconds a call may run; -1 for no limit. 1 when set.
    int SetTimeout(LONG lMilliseconds);

    // Rebuilds the procedure list from the control.
    BOOL GetMethodsName();
    int GetMethodsCount() const { return int(m_functions.size()); }
    // Empty for an index out of range.
    CString GetNameAt(int nIndex) const;
    // The procedure of exactly that name, or empty.
    CString GetScriptFunction(LPCWSTR lpszName) const;

    // Runs a procedure of the list with a SAFEARRAY of VARIANT arguments (ppsaParameters may be null
    // or point to null for none). The result goes to pvarResult (may be null), which the caller
    // passes empty and then owns. FALSE for a name not in the list, without calling the control.
    BOOL RunProcedure(LPCWSTR lpszName, SAFEARRAY** ppsaParameters, VARIANT* pvarResult);

    // "Error: <description>, <source line>; in line <n>" of the pending error, at most 256
    // characters, then the error is cleared; empty when there is none.
    LPCWSTR GetErrorString();

    IScriptControl* GetControl() const { return m_pScript; }

private:
    BOOL AddAnsiCode(const char* bytes, size_t size);
    BOOL HasFunction(LPCWSTR lpszName) const;

    IScriptControl* m_pScript = nullptr;
    std::vector<CString> m_functions;
    wchar_t m_szLanguage[41];
    wchar_t m_szError[257];
};
