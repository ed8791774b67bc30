// The script control over the JavaScript engine: code, procedures, named objects, errors, time-out.
#include "com/ComError.h"
#include "com/ComUtil.h"
#include "com/ClassRegistry.h"
#include "mfc/CString.h"
#include "mfc/OleDispatch.h"
#include "script/ScriptControl.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{
// A host object as the system's "app" is: methods by name, a property, a failing call.
class CTestApp : public CCmdTargetDispatch
{
public:
    CTestApp() { EnableAutomation(); }

    double GetGVarValue(LPCWSTR name)
    {
        ++m_calls;
        auto it = m_values.find(name ? name : L"");
        return it == m_values.end() ? DBL_MIN : it->second;
    }
    void SetGVarValue(LPCWSTR name, double value) { m_values[name ? name : L""] = value; }
    BSTR Concat(LPCWSTR a, LPCWSTR b) { return SysAllocString((std::wstring(a) + b).c_str()); }
    double Sum5(double a, double b, double c, double d, double e) { return a + b + c + d + e; }
    void Boom() { throw _com_error(E_FAIL, L"host is unhappy"); }
    VARIANT Identity(const VARIANT& v)
    {
        VARIANT r;
        VariantInit(&r);
        VariantCopy(&r, &v);
        return r;
    }
    LONG GetCount() { return m_count; }
    void SetCount(LONG n) { m_count = n; }
    // What arrived: "app" for this object itself, "object" for another dispatch (kept, the first
    // one), else "other".
    BSTR Kind(const VARIANT& v)
    {
        if (v.vt != VT_DISPATCH || !v.pdispVal)
            return SysAllocString(L"other");
        if (v.pdispVal == GetIDispatch(FALSE))
            return SysAllocString(L"app");
        if (!m_kept)
            m_kept = v.pdispVal;
        return SysAllocString(L"object");
    }

    std::map<std::wstring, double> m_values;
    LONG m_count = 0;
    int m_calls = 0;
    CComPtr<IDispatch> m_kept;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CTestApp, CCmdTargetDispatch)
DISP_FUNCTION(CTestApp, "GetGVarValue", GetGVarValue, VT_R8, VTS_BSTR)
DISP_FUNCTION(CTestApp, "SetGVarValue", SetGVarValue, VT_EMPTY, VTS_BSTR VTS_R8)
DISP_FUNCTION(CTestApp, "Concat", Concat, VT_BSTR, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CTestApp, "Sum5", Sum5, VT_R8, VTS_R8 VTS_R8 VTS_R8 VTS_R8 VTS_R8)
DISP_FUNCTION(CTestApp, "Boom", Boom, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CTestApp, "Identity", Identity, VT_VARIANT, VTS_VARIANT)
DISP_FUNCTION(CTestApp, "Kind", Kind, VT_BSTR, VTS_VARIANT)
DISP_PROPERTY_EX(CTestApp, "Count", GetCount, SetCount, VT_I4)
END_DISPATCH_MAP()

class ScriptControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QyrRegisterScriptControl(), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_ScriptControl, nullptr, CLSCTX_ALL, IID_IScriptControl,
                                   reinterpret_cast<void**>(&m_sc)),
                  S_OK);
    }
    void TearDown() override { m_sc.Release(); }

    // Declared before the control's pointer, released after it.
    CTestApp m_app;
    CTestApp m_other;

    HRESULT Add(const wchar_t* code) { return m_sc->AddCode(_bstr_t(code)); }
    HRESULT Exec(const wchar_t* code) { return m_sc->ExecuteStatement(_bstr_t(code)); }
    HRESULT Run(const wchar_t* name, std::vector<_variant_t> args, _variant_t* result)
    {
        SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(args.size()));
        for (LONG i = 0; i < LONG(args.size()); ++i)
            SafeArrayPutElement(psa, &i, &args[size_t(i)]);
        VARIANT r;
        const HRESULT hr = m_sc->Run(_bstr_t(name), &psa, &r);
        result->Attach(r);
        SafeArrayDestroy(psa);
        return hr;
    }
    _variant_t Eval(const wchar_t* expr)
    {
        VARIANT r;
        EXPECT_EQ(m_sc->Eval(_bstr_t(expr), &r), S_OK) << Description();
        _variant_t out;
        out.Attach(r);
        return out;
    }
    std::wstring Description()
    {
        CComPtr<IScriptError> e;
        m_sc->get_Error(&e);
        BSTR d = nullptr;
        e->get_Description(&d);
        std::wstring s = d ? d : L"";
        SysFreeString(d);
        return s;
    }
    std::vector<std::wstring> ProcedureNames()
    {
        CComPtr<IScriptProcedureCollection> procs;
        EXPECT_EQ(m_sc->get_Procedures(&procs), S_OK);
        LONG n = 0;
        procs->get_Count(&n);
        std::vector<std::wstring> names;
        for (LONG i = 1; i <= n; ++i)
        {
            CComPtr<IScriptProcedure> p;
            EXPECT_EQ(procs->get_Item(_variant_t(int(i)), &p), S_OK);
            BSTR name = nullptr;
            p->get_Name(&name);
            names.emplace_back(name);
            SysFreeString(name);
        }
        return names;
    }

    CComPtr<IScriptControl> m_sc;
};

std::wstring Str(const _variant_t& v)
{
    return v.vt == VT_BSTR && v.bstrVal ? std::wstring(v.bstrVal) : std::wstring(L"<not a string>");
}
} // namespace

TEST_F(ScriptControlTest, PropertiesAndLanguage)
{
    BSTR lang = nullptr;
    ASSERT_EQ(m_sc->get_Language(&lang), S_OK);
    EXPECT_STREQ(lang, L"JScript");
    SysFreeString(lang);
    EXPECT_EQ(m_sc->put_Language(_bstr_t(L"jscript")), S_OK);
    EXPECT_TRUE(FAILED(m_sc->put_Language(_bstr_t(L"VBScript"))));

    LONG timeout = 0;
    m_sc->get_Timeout(&timeout);
    EXPECT_EQ(timeout, 10000);
    m_sc->put_Timeout(NoTimeout);
    m_sc->get_Timeout(&timeout);
    EXPECT_EQ(timeout, -1);

    VARIANT_BOOL allow = VARIANT_TRUE;
    m_sc->put_AllowUI(VARIANT_FALSE);
    m_sc->get_AllowUI(&allow);
    EXPECT_EQ(allow, VARIANT_FALSE);
}

TEST_F(ScriptControlTest, ProceduresInDefinitionOrderAndRunWithArguments)
{
    ASSERT_EQ(Add(L"function zeta(s, n) { return s + ':' + (n * 2); }\n"
                  L"var notAProcedure = 1;\n"
                  L"var alsoNot = function () {};\n"
                  L"function alpha() { return 1.5; }\n"
                  L"function mid(a, b, c) { }\n"),
              S_OK)
        << Description();
    ASSERT_EQ(Add(L"function later() { return zeta('x', 1); }"), S_OK);
    const std::vector<std::wstring> expected = {L"zeta", L"alpha", L"mid", L"later"};
    EXPECT_EQ(ProcedureNames(), expected);

    CComPtr<IScriptProcedureCollection> procs;
    m_sc->get_Procedures(&procs);
    CComPtr<IScriptProcedure> mid;
    ASSERT_EQ(procs->get_Item(_variant_t(L"mid"), &mid), S_OK);
    LONG args = 0;
    mid->get_NumArgs(&args);
    EXPECT_EQ(args, 3);
    CComPtr<IScriptProcedure> none;
    EXPECT_EQ(procs->get_Item(_variant_t(L"MID"), &none), DISP_E_BADINDEX);
    EXPECT_EQ(procs->get_Item(_variant_t(0), &none), DISP_E_BADINDEX);

    _variant_t r;
    ASSERT_EQ(Run(L"zeta", {_variant_t(L"abc"), _variant_t(5)}, &r), S_OK);
    EXPECT_EQ(Str(r), L"abc:10");
    ASSERT_EQ(Run(L"alpha", {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_R8);
    EXPECT_DOUBLE_EQ(r.dblVal, 1.5);
    ASSERT_EQ(Run(L"mid", {}, &r), S_OK);
    EXPECT_EQ(r.vt, VT_EMPTY);
    ASSERT_EQ(Run(L"later", {}, &r), S_OK);
    EXPECT_EQ(Str(r), L"x:2");
    EXPECT_EQ(Run(L"Zeta", {}, &r), SCRIPT_E_PROCNOTFOUND);
    EXPECT_EQ(Run(L"notAProcedure", {}, &r), SCRIPT_E_PROCNOTFOUND);

    EXPECT_EQ(Eval(L"2 + 3").lVal, 5);
    ASSERT_EQ(Exec(L"var added = 7; function fromStatement() { return added; }"), S_OK);
    ASSERT_EQ(Run(L"fromStatement", {}, &r), S_OK);
    EXPECT_EQ(r.lVal, 7);
}

TEST_F(ScriptControlTest, ArgumentTypesReachTheScript)
{
    ASSERT_EQ(Add(L"function types() { var t = []; for (var i = 0; i < arguments.length; ++i) {"
                  L" var a = arguments[i]; t.push(a === null ? 'null' : a instanceof Date ? 'date:' + "
                  L"a.getFullYear()"
                  L" : typeof a); } return t.join(','); }"),
              S_OK);
    VARIANT date;
    VariantInit(&date);
    date.vt = VT_DATE;
    date.date = 43831.5; // 2020-01-01 12:00
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    _variant_t r;
    ASSERT_EQ(Run(L"types",
                  {_variant_t(L"s"), _variant_t(1), _variant_t(2.5), _variant_t(true), _variant_t(date),
                   _variant_t(null), _variant_t()},
                  &r),
              S_OK)
        << Description();
    EXPECT_EQ(Str(r), L"string,number,number,boolean,date:2020,null,undefined");

    // Only a one-dimensional array of VARIANTs is taken.
    SAFEARRAY* ints = SafeArrayCreateVector(VT_I4, 0, 2);
    VARIANT out;
    EXPECT_EQ(m_sc->Run(_bstr_t(L"types"), &ints, &out), DISP_E_TYPEMISMATCH);
    SafeArrayDestroy(ints);
    SAFEARRAY* empty = nullptr;
    ASSERT_EQ(m_sc->Run(_bstr_t(L"types"), &empty, &out), S_OK);
    EXPECT_STREQ(out.bstrVal, L"");
    VariantClear(&out);
    ASSERT_EQ(m_sc->Run(_bstr_t(L"types"), nullptr, &out), S_OK);
    VariantClear(&out);
}

TEST_F(ScriptControlTest, ErrorsCarryNumberDescriptionTextAndLine)
{
    ASSERT_EQ(Add(L"function f() {\n  var a = 1;\n  return missing + a;\n}\n"
                  L"function g() { throw 'custom'; }\n"
                  L"function h() {\n  app.Boom();\n}\n"
                  L"function k() { return null.x; }"),
              S_OK);
    ASSERT_EQ(m_sc->AddObject(_bstr_t(L"app"), m_app.GetIDispatch(FALSE), VARIANT_FALSE), S_OK);

    struct Case
    {
        const wchar_t* code; // added code, or null to run `proc`
        const wchar_t* proc;
        HRESULT number;
        const wchar_t* description;
        const wchar_t* text;
        LONG line;
    };
    const Case cases[] = {
        {L"function ok() {}\nvar x = ;\n", nullptr, SCRIPT_E_SYNTAX, nullptr, L"var x = ;", 2},
        {nullptr, L"f", SCRIPT_E_UNDEFINED, L"missing is not defined", L"  return missing + a;", 3},
        {nullptr, L"g", SCRIPT_E_THROWN, L"custom", L"", 0},
        {nullptr, L"h", E_FAIL, L"host is unhappy", L"  app.Boom();", 7},
        {nullptr, L"k", SCRIPT_E_OBJECTEXPECTED, nullptr, L"function k() { return null.x; }", 9},
    };
    for (const Case& c : cases)
    {
        _variant_t r;
        const HRESULT hr = c.code ? Add(c.code) : Run(c.proc, {}, &r);
        EXPECT_EQ(hr, c.number) << (c.code ? c.code : c.proc);
        CComPtr<IScriptError> e;
        ASSERT_EQ(m_sc->get_Error(&e), S_OK);
        LONG number = 0;
        LONG line = -1;
        BSTR text = nullptr;
        e->get_Number(&number);
        e->get_Line(&line);
        e->get_Text(&text);
        EXPECT_EQ(HRESULT(number), c.number);
        if (c.description)
            EXPECT_EQ(Description(), c.description);
        else
            EXPECT_FALSE(Description().empty());
        EXPECT_STREQ(text, c.text) << (c.code ? c.code : c.proc);
        EXPECT_EQ(line, c.line) << (c.code ? c.code : c.proc);
        SysFreeString(text);
        // Clear empties it; so does the next call.
        e->Clear();
        e->get_Number(&number);
        EXPECT_EQ(number, 0);
    }
    // The procedures of a block with a syntax error are not there.
    EXPECT_EQ(ProcedureNames(), (std::vector<std::wstring>{L"f", L"g", L"h", L"k"}));
}

TEST_F(ScriptControlTest, NamedObjectsWithAndWithoutGlobalMembers)
{
    CTestApp& app = m_app;
    CTestApp& other = m_other;
    app.m_values[L"#x"] = 4.5;
    other.m_values[L"$y"] = 2;
    ASSERT_EQ(m_sc->AddObject(_bstr_t(L"app"), app.GetIDispatch(FALSE), VARIANT_FALSE), S_OK);
    ASSERT_EQ(m_sc->AddObject(_bstr_t(L"sys"), other.GetIDispatch(FALSE), VARIANT_TRUE), S_OK);
    EXPECT_EQ(app.GetRefCount(), 2u);

    EXPECT_DOUBLE_EQ(Eval(L"app.GetGVarValue('#x')").dblVal, 4.5);
    EXPECT_DOUBLE_EQ(double(Eval(L"app.getgvarvalue('#x') * 2")), 9.0);
    EXPECT_EQ(Str(Eval(L"app.Concat('a', 7)")), L"a7");
    EXPECT_EQ(double(Eval(L"app.Sum5(1, 2, 3, 4, 5.5)")), 15.5);
    EXPECT_EQ(m_sc->ExecuteStatement(_bstr_t(L"app.Concat('a')")), DISP_E_BADPARAMCOUNT);
    EXPECT_DOUBLE_EQ(double(Eval(L"GetGVarValue('$y')")), 2.0); // sys's members are global
    EXPECT_DOUBLE_EQ(double(Eval(L"sys.GetGVarValue('$y')")), 2.0);
    EXPECT_DOUBLE_EQ(double(Eval(L"GetGVarValue('#x')")), DBL_MIN); // the global one is sys's, not app's
    EXPECT_EQ(Str(Eval(L"typeof app.NoSuchMember")), L"undefined");
    EXPECT_EQ(Str(Eval(L"String(app)")), L"[object Object]");

    ASSERT_EQ(Exec(L"app.SetGVarValue('#z', 3); app.Count = 11;"), S_OK) << Description();
    EXPECT_DOUBLE_EQ(app.m_values[L"#z"], 3.0);
    EXPECT_EQ(app.m_count, 11);
    EXPECT_EQ(Eval(L"app.Count()").lVal, 11);

    _variant_t r;
    EXPECT_TRUE(FAILED(m_sc->AddObject(_bstr_t(L"app"), other.GetIDispatch(FALSE), VARIANT_FALSE)));
    EXPECT_TRUE(FAILED(m_sc->AddObject(_bstr_t(L"not a name"), other.GetIDispatch(FALSE), VARIANT_FALSE)));
    EXPECT_EQ(m_sc->AddObject(_bstr_t(L"nothing"), nullptr, VARIANT_FALSE), E_POINTER);

    // Host objects keep their identity through calls.
    ASSERT_EQ(Add(L"function isApp(o) { return o === app && app.Identity(app) === app; }"), S_OK);
    VARIANT disp;
    VariantInit(&disp);
    disp.vt = VT_DISPATCH;
    disp.pdispVal = app.GetIDispatch(TRUE);
    ASSERT_EQ(Run(L"isApp", {_variant_t(disp, false)}, &r), S_OK) << Description();
    EXPECT_EQ(r.vt, VT_BOOL);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);

    // Reset lets the objects go.
    r.Clear();
    ASSERT_EQ(m_sc->Reset(), S_OK);
    EXPECT_EQ(app.GetRefCount(), 1u);
    EXPECT_EQ(m_sc->ExecuteStatement(_bstr_t(L"app.Count")), SCRIPT_E_UNDEFINED);
}

TEST_F(ScriptControlTest, ScriptObjectsReachTheHostAsDispatch)
{
    ASSERT_EQ(
        Add(L"var kept;\n"
            L"function make() { kept = { a: 1, inc: function (x) { return x + this.a; } }; return kept; }\n"
            L"function same(o) { return o === kept; }"),
        S_OK);
    _variant_t obj;
    ASSERT_EQ(Run(L"make", {}, &obj), S_OK);
    ASSERT_EQ(obj.vt, VT_DISPATCH);
    IDispatch* p = obj.pdispVal;

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"inc")};
    DISPID inc = 0;
    ASSERT_EQ(p->GetIDsOfNames(IID_NULL, names, 1, 0, &inc), S_OK);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = 41;
    DISPPARAMS dp = {&arg, nullptr, 1, 0};
    _variant_t r;
    ASSERT_EQ(p->Invoke(inc, IID_NULL, 0, DISPATCH_METHOD, &dp, &r, nullptr, nullptr), S_OK);
    EXPECT_EQ(r.lVal, 42);

    r.Clear();
    ASSERT_EQ(Run(L"same", {obj}, &r), S_OK);
    EXPECT_EQ(r.boolVal, VARIANT_TRUE);

    m_sc->Reset();
    r.Clear();
    EXPECT_EQ(p->Invoke(inc, IID_NULL, 0, DISPATCH_METHOD, &dp, &r, nullptr, nullptr), RPC_E_DISCONNECTED);
}

TEST_F(ScriptControlTest, TimeoutStopsARunawayScript)
{
    // The code goes in before the limit, so a loaded machine cannot make the loading itself time out.
    ASSERT_EQ(Add(L"function spin() { while (true) {} }\n"
                  L"function spinCaught() { while (true) { try { while (true) {} } catch (e) {} } }\n"
                  L"function quick() { return 1; }\n"
                  L"function busy(ms) { var end = Date.now() + ms; while (Date.now() < end) {} return 2; }"),
              S_OK);
    ASSERT_EQ(m_sc->put_Timeout(200), S_OK);
    for (const wchar_t* proc : {L"spin", L"spinCaught"})
    {
        const auto start = std::chrono::steady_clock::now();
        _variant_t r;
        EXPECT_EQ(Run(proc, {}, &r), SCRIPT_E_TIMEOUT);
        const auto took = std::chrono::steady_clock::now() - start;
        // Stopped by the watchdog, not left to run: the bound is loose for loaded machines.
        EXPECT_LT(took, std::chrono::milliseconds(5000));
        EXPECT_GE(took, std::chrono::milliseconds(150));
        // The engine runs again afterwards.
        ASSERT_EQ(Run(L"quick", {}, &r), S_OK);
        EXPECT_EQ(r.lVal, 1);
    }
    EXPECT_EQ(Add(L"while (true) {}"), SCRIPT_E_TIMEOUT);

    // -1: no limit.
    m_sc->put_Timeout(NoTimeout);
    _variant_t r;
    ASSERT_EQ(Run(L"busy", {_variant_t(400)}, &r), S_OK);
    EXPECT_EQ(r.lVal, 2);
}

TEST_F(ScriptControlTest, TimeoutCoversTurningErrorsAndResultsIntoValues)
{
    ASSERT_EQ(Add(L"function loop() { while (true) {} }\n"
                  L"function throwsValue() { throw { toString: loop }; }\n"
                  L"function throwsError() { var e = new Error('x');\n"
                  L"  Object.defineProperty(e, 'message', { get: loop }); throw e; }\n"
                  L"function throwsNamedError() { var e = new Error('x');\n"
                  L"  Object.defineProperty(e, 'name', { get: loop }); throw e; }\n"
                  L"function returnsTrap() { return new Proxy({}, { get: loop }); }\n"
                  L"function thrower() { return function () { throw { toString: loop }; }; }\n"
                  L"function looper() { return { toString: loop }; }\n"
                  L"function quick() { return 1; }"),
              S_OK);
    ASSERT_EQ(m_sc->put_Timeout(500), S_OK);
    struct Case
    {
        const wchar_t* proc; // or null to add `code`
        const wchar_t* code;
    };
    const Case cases[] = {
        {L"throwsValue", nullptr},
        {L"throwsError", nullptr},
        {L"throwsNamedError", nullptr},
        {L"returnsTrap", nullptr},
        {nullptr, L"throw { toString: loop };"},
    };
    for (const Case& c : cases)
    {
        const wchar_t* what = c.proc ? c.proc : c.code;
        const auto start = std::chrono::steady_clock::now();
        _variant_t r;
        EXPECT_EQ(c.proc ? Run(c.proc, {}, &r) : Add(c.code), SCRIPT_E_TIMEOUT) << CString(what).ToUtf8();
        // The bound is loose for loaded machines; without the watchdog the call never returns.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));
        EXPECT_EQ(Description(), L"Script timed out") << CString(what).ToUtf8();
        EXPECT_EQ(r.vt, VT_EMPTY);
        ASSERT_EQ(Run(L"quick", {}, &r), S_OK) << CString(what).ToUtf8();
        EXPECT_EQ(r.lVal, 1);
    }

    // The host calling a script function that throws such a value, or reading an object as text.
    const std::pair<const wchar_t*, WORD> calls[] = {{L"thrower", DISPATCH_METHOD},
                                                     {L"looper", DISPATCH_PROPERTYGET}};
    for (const auto& [proc, flags] : calls)
    {
        _variant_t object;
        ASSERT_EQ(Run(proc, {}, &object), S_OK);
        ASSERT_EQ(object.vt, VT_DISPATCH);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        EXCEPINFO info = {};
        _variant_t r;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(object.pdispVal->Invoke(DISPID_VALUE, IID_NULL, 0, flags, &none, &r, &info, nullptr),
                  DISP_E_EXCEPTION)
            << CString(proc).ToUtf8();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));
        EXPECT_STREQ(info.bstrDescription, L"Script timed out");
        EXPECT_EQ(info.scode, SCRIPT_E_TIMEOUT);
        QyrClearExcepInfo(&info);
        ASSERT_EQ(Run(L"quick", {}, &r), S_OK);
    }
}

TEST_F(ScriptControlTest, ScriptFunctionsReachTheHostAsFunctionsAtAnyDepth)
{
    // Recurses as deep as the engine allows, then asks the host once on each of the deepest levels on
    // the way back: each call either sees the function or fails with the stack error. The method is
    // looked up once before, so the deep calls go straight to the host.
    ASSERT_EQ(
        Add(L"var kinds = [];\n"
            L"function deep() {\n"
            L"  try { deep(); } catch (e) {}\n"
            L"  if (kinds.length < 200) {\n"
            L"    try { kinds.push(app.Kind(function () { return 42; })); }\n"
            L"    catch (e) { kinds.push(e instanceof RangeError ? 'stack' : 'error: ' + e.message); }\n"
            L"  }\n"
            L"}\n"
            L"function probe() { app.Kind(0); deep(); return kinds.join(','); }"),
        S_OK);
    ASSERT_EQ(m_sc->AddObject(_bstr_t(L"app"), m_app.GetIDispatch(FALSE), VARIANT_FALSE), S_OK);
    _variant_t r;
    ASSERT_EQ(Run(L"probe", {}, &r), S_OK) << Description();
    const std::wstring kinds = Str(r);
    size_t functions = 0;
    for (size_t at = 0; at <= kinds.size();)
    {
        size_t end = kinds.find(L',', at);
        if (end == std::wstring::npos)
            end = kinds.size();
        const std::wstring kind = kinds.substr(at, end - at);
        EXPECT_TRUE(kind == L"object" || kind == L"stack") << CString(kinds.c_str()).ToUtf8();
        functions += kind == L"object";
        at = end + 1;
    }
    EXPECT_GT(functions, 0u);

    // The deepest one that arrived is the script's function.
    ASSERT_TRUE(m_app.m_kept);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    r.Clear();
    ASSERT_EQ(m_app.m_kept->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(r.lVal, 42);
    m_app.m_kept.Release();
}

TEST_F(ScriptControlTest, OtherThreadsAreRefused)
{
    HRESULT hr = S_OK;
    IScriptControl* sc = m_sc;
    std::thread t([&] { hr = sc->AddCode(_bstr_t(L"var a = 1;")); });
    t.join();
    EXPECT_EQ(hr, RPC_E_WRONG_THREAD);
}
