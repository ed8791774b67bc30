// The script control: runs JScript (as ECMAScript 5 and later, on Qt's JavaScript engine) for a
// host that adds code and named automation objects and runs procedures with VARIANT arguments.
//
// Created with CoCreateInstance(CLSID_ScriptControl, ..., IID_IScriptControl) once
// QyrRegisterScriptControl() has registered the class. A control belongs to the thread that made
// it; calls from another thread fail with RPC_E_WRONG_THREAD. Running code needs a
// QCoreApplication (E_UNEXPECTED without one).
//
// Named objects: AddObject(name, dispatch, FALSE) makes `name` a global object whose members reach
// the IDispatch by name (resolved by the object, so without regard to case for the system's own
// objects); `name.Member(args)` is a method call (DISPATCH_METHOD | DISPATCH_PROPERTYGET) and
// `name.Member = value` a property put. A script call passes at most eight arguments, and trailing
// undefined ones are not passed. With addMembers TRUE the members that the object lists
// (IDispatchEx::GetNextDispID) are also global functions under their own names.
//
// Errors: a failing AddCode, ExecuteStatement, Eval or Run returns the error's number (a failure
// HRESULT) and leaves the error in the Error object until the next of those calls or Clear:
// Description (the engine's message), Text (the source line), Line (from 1 within the code that
// AddCode or ExecuteStatement was given; 0 when unknown), Column and Source.
//
// Timeout: milliseconds a single call may run before it is interrupted (default 10000), reading its
// result and its error included; the error is then "Script timed out". -1, or any value not above 0,
// lets code run without limit.
#pragma once

#include "com/Dispatch.h"
#include "com/SafeArray.h"

DEFINE_GUID(CLSID_ScriptControl, 0x0E59F1D5, 0x1FBE, 0x11D0, 0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC);
DEFINE_GUID(IID_IScriptControl, 0x0E59F1D3, 0x1FBE, 0x11D0, 0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC);
DEFINE_GUID(IID_IScriptError, 0x6B1C2A40, 0x3E0F, 0x4C52, 0x9A, 0x61, 0x2D, 0x5E, 0x71, 0x0B, 0x44, 0x01);
DEFINE_GUID(IID_IScriptProcedure, 0x6B1C2A41, 0x3E0F, 0x4C52, 0x9A, 0x61, 0x2D, 0x5E, 0x71, 0x0B, 0x44, 0x01);
DEFINE_GUID(IID_IScriptProcedureCollection, 0x6B1C2A42, 0x3E0F, 0x4C52, 0x9A, 0x61, 0x2D, 0x5E, 0x71, 0x0B,
            0x44, 0x01);

#define NoTimeout (-1)

// Numbers of the errors the control raises itself.
#define SCRIPT_E_SYNTAX ((HRESULT)0x800A03EAL)         // a syntax error in added code
#define SCRIPT_E_UNDEFINED ((HRESULT)0x800A1391L)      // a name that is not defined
#define SCRIPT_E_OBJECTEXPECTED ((HRESULT)0x800A138FL) // a type error
#define SCRIPT_E_RANGE ((HRESULT)0x800A1395L)          // a range error
#define SCRIPT_E_THROWN ((HRESULT)0x800A139EL)         // an exception thrown and not caught
#define SCRIPT_E_PROCNOTFOUND ((HRESULT)0x800A0005L)   // Run of a name that is no procedure
#define SCRIPT_E_TIMEOUT ((HRESULT)0x800705B4L)        // the call ran past the time-out
#define SCRIPT_E_LANGUAGE ((HRESULT)0x80004005L)       // a language other than JScript

#ifndef RPC_E_WRONG_THREAD
#define RPC_E_WRONG_THREAD ((HRESULT)0x8001010EL)
#endif

struct IScriptError : public IUnknown
{
    static const IID& Iid() { return IID_IScriptError; }
    STDMETHOD(get_Number)(LONG* plNumber) PURE;
    STDMETHOD(get_Source)(BSTR* pbstrSource) PURE;
    STDMETHOD(get_Description)(BSTR* pbstrDescription) PURE;
    STDMETHOD(get_HelpFile)(BSTR* pbstrHelpFile) PURE;
    STDMETHOD(get_HelpContext)(LONG* plHelpContext) PURE;
    STDMETHOD(get_Text)(BSTR* pbstrText) PURE;
    STDMETHOD(get_Line)(LONG* plLine) PURE;
    STDMETHOD(get_Column)(LONG* plColumn) PURE;
    STDMETHOD(Clear)() PURE;
};

struct IScriptProcedure : public IUnknown
{
    static const IID& Iid() { return IID_IScriptProcedure; }
    STDMETHOD(get_Name)(BSTR* pbstrName) PURE;
    STDMETHOD(get_NumArgs)(LONG* pcArgs) PURE;
    STDMETHOD(get_HasReturnValue)(VARIANT_BOOL* pfHasReturnValue) PURE;
};

// The procedures (global functions declared by the added code) in the order the code declares them.
struct IScriptProcedureCollection : public IUnknown
{
    static const IID& Iid() { return IID_IScriptProcedureCollection; }
    STDMETHOD(get_Count)(LONG* plCount) PURE;
    // By position from 1 (a number) or by name (a string, compared exactly).
    STDMETHOD(get_Item)(VARIANT index, IScriptProcedure** ppdispProcedure) PURE;
};

struct IScriptControl : public IUnknown
{
    static const IID& Iid() { return IID_IScriptControl; }
    STDMETHOD(get_Language)(BSTR* pbstrLanguage) PURE;
    // "JScript" (also "JavaScript" or "ECMAScript", case ignored); anything else fails.
    STDMETHOD(put_Language)(BSTR bstrLanguage) PURE;
    STDMETHOD(get_Timeout)(LONG* plMilleseconds) PURE;
    STDMETHOD(put_Timeout)(LONG lMilleseconds) PURE;
    STDMETHOD(get_AllowUI)(VARIANT_BOOL* pfAllowUI) PURE;
    STDMETHOD(put_AllowUI)(VARIANT_BOOL fAllowUI) PURE;
    // Always an Error object; its Number is 0 while no error is pending.
    STDMETHOD(get_Error)(IScriptError** ppError) PURE;
    STDMETHOD(get_Procedures)(IScriptProcedureCollection** ppdispProcedures) PURE;
    // The control holds a reference to the object until Reset or its end.
    STDMETHOD(AddObject)(BSTR Name, IDispatch* Object, VARIANT_BOOL AddMembers) PURE;
    // Drops all code and named objects; language, time-out and AllowUI stay.
    STDMETHOD(Reset)() PURE;
    STDMETHOD(AddCode)(BSTR Code) PURE;
    STDMETHOD(Eval)(BSTR Expression, VARIANT* pvarResult) PURE;
    STDMETHOD(ExecuteStatement)(BSTR Statement) PURE;
    // Calls the global function of that name (exact case) with the arguments of a one-dimensional
    // SAFEARRAY of VARIANT (null, or a null array, for none). The result goes into *pvarResult,
    // which the caller passes empty and then owns.
    STDMETHOD(Run)(BSTR ProcedureName, SAFEARRAY** Parameters, VARIANT* pvarResult) PURE;
};

// Registers the control's class (idempotent); S_OK.
HRESULT QyrRegisterScriptControl();
