// CXVKMethodHost: the automation object that scripts call "app": reads and writes the project's
// variables and finds ports of shapes. Programs derive their own host from it and chain their
// dispatch maps to GetThisDispatchMap.
//
// Variable names carry their kind's prefix ('#' global, '$' system, '@' or none runtime) and are
// matched trimmed and lower-cased. A missing variable reads as DBL_MIN (numbers) or empty (text),
// and writes to it are ignored.
#pragma once

#include "figkit/FOMethodHost.h"
#include "mfc/CString.h"

class CParamObj;
class CWorkSpaceObj;

class CXVKMethodHost : public CFOMethodHost
{
    DECLARE_DYNCREATE(CXVKMethodHost)
public:
    CXVKMethodHost();
    ~CXVKMethodHost() override;

    // Dispatch ids 1 to 13, in this order.
    double GetVarValue(LPCWSTR lpszName);
    BSTR GetStrVarValue(LPCWSTR lpszName);
    virtual void CloseApp();
    // The handle of the first port of the shape (a shape handle of the current model) whose key,
    // trimmed, equals the trimmed key; 0 when there is none or the shape is not a ports shape.
    LONG FindPortWithKey1(LPCWSTR lpszKey, LONG lShape);
    double GetGVarValue(LPCWSTR lpszName);
    BSTR GetGStrVarValue(LPCWSTR lpszName);
    void SetGVarValue(LPCWSTR lpszName, double dValue);
    double GetRVarValue(LPCWSTR lpszName);
    BSTR GetRStrVarValue(LPCWSTR lpszName);
    void SetRVarValue(LPCWSTR lpszName, double dValue);
    double GetSVarValue(LPCWSTR lpszName);
    BSTR GetSStrVarValue(LPCWSTR lpszName);
    void SetSVarValue(LPCWSTR lpszName, double dValue);

    // The variable of that kind and name (trimmed, lower-cased), or null.
    static CParamObj* FindVariable(int nKind, LPCWSTR lpszName);
    // The number, text and write rules of the methods above.
    static double ReadNumber(const CParamObj* pParam);
    static CString ReadText(const CParamObj* pParam);
    static BOOL WriteNumber(CParamObj* pParam, double dValue);

protected:
    void OnFinalRelease() override;
    // A framework exception (CException*) thrown by a method: its message, and it is deleted.
    BOOL DescribeException(EXCEPINFO* pExcepInfo) override;
    // Stores the value and pushes it to the shapes bound to the variable, redrawing the changed ones.
    void SetVarValue(int nKind, LPCWSTR lpszName, double dValue);

    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()
};
