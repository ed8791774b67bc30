// The script host and the "app" object: variables read and written from scripts, the value push
// and redraw, ports by key, procedures, errors and the time-out.
#include "com/ComError.h"
#include "com/ComUtil.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPortShape.h"
#include "foundation/SafeArrayHelper.h"
#include "foundation/VEzudiZuroDoz.h"
#include "mfc/Exceptions.h"
#include "mfc/Wnd.h"
#include "model/ParamObj.h"
#include "model/ScriptObject.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKDataModel.h"
#include "model/XVKMethodHost.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
class CScriptTestApp : public VEzudiZuroDoz
{
public:
    CScriptTestApp() : VEzudiZuroDoz(128, 128) {}
};

// Records what the host asks it to redraw.
class CRecordingCanvas : public CFOPDrawWnd
{
public:
    void UpdateShapes(const FOPContainer* pList, int, int) override
    {
        ++m_updates;
        m_last.assign(pList->begin(), pList->end());
    }
    int m_updates = 0;
    std::vector<CFODrawShape*> m_last;
};

// A program's host with a map of its own, as the runtime programs build it.
class CProgramHost : public CXVKMethodHost
{
public:
    short GetCurTimerStep() { return short(m_step); }
    void SetCurTimerStep(short step) { m_step = step; }
    // Fails as framework code does: with an exception object thrown by pointer.
    void OpenFile(LPCWSTR lpszPath) { AfxThrowFileException(CFileException::fileNotFound, 2, lpszPath); }
    void Unsupported() { AfxThrowNotSupportedException(); }
    int m_step = 0;
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CProgramHost, CXVKMethodHost)
DISP_FUNCTION(CProgramHost, "GetCurTimerStep", GetCurTimerStep, VT_I2, VTS_NONE)
DISP_FUNCTION(CProgramHost, "SetCurTimerStep", SetCurTimerStep, VT_EMPTY, VTS_I2)
DISP_FUNCTION(CProgramHost, "OpenFile", OpenFile, VT_EMPTY, VTS_BSTR)
DISP_FUNCTION(CProgramHost, "Unsupported", Unsupported, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

FO_VALUE DateValue(double d)
{
    FO_VALUE v;
    v.SetDateTime(d);
    return v;
}

class ScriptHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        m_app.SetWorkSpace(CWorkSpaceObj::Make());
        m_workspace = m_app.GetWorkSpace();
        Add(L"#Level", FO_VALUE::MakeDouble(12.75), PARAM_KIND_GLOBAL);
        FO_VALUE flag = FO_VALUE::MakeBool(TRUE);
        flag.m_bValue = 2;
        Add(L"#flag", flag, PARAM_KIND_GLOBAL);
        Add(L"#count", FO_VALUE::MakeInt(-5), PARAM_KIND_GLOBAL);
        Add(L"#word", FO_VALUE::MakeDWord(4000000000u), PARAM_KIND_GLOBAL);
        Add(L"#text", FO_VALUE::MakeString(L"3.5abc"), PARAM_KIND_GLOBAL);
        Add(L"#date", DateValue(43831.75), PARAM_KIND_GLOBAL); // 2020-01-01 18:00
        Add(L"#color", FO_VALUE::MakeColor(0x030201), PARAM_KIND_GLOBAL);
        Add(L"#f", FO_VALUE::MakeFloat(2.5f), PARAM_KIND_GLOBAL);
        Add(L"@run", FO_VALUE::MakeDouble(1.0), PARAM_KIND_RUNTIME);
        Add(L"plain", FO_VALUE::MakeInt(7), PARAM_KIND_RUNTIME);
        Add(L"$Hour", FO_VALUE::MakeInt(13), PARAM_KIND_SYSTEM);

        m_host = new CXVKMethodHost;
        m_host->SetCurModel(&m_model);
        m_host->SetCanvas(&m_canvas);
    }
    void TearDown() override
    {
        delete m_script;
        m_script = nullptr;
        m_host->ExternalRelease();
        m_app.TakeWorkSpace();
    }

    void Add(const wchar_t* name, const FO_VALUE& value, int kind)
    {
        m_workspace->AddParam(new CParamObj(name, value, kind));
    }
    const FO_VALUE& Value(const wchar_t* name) { return m_workspace->FindParamByName(name)->GetValue(); }
    CFODrawShape* Shape(const wchar_t* key3)
    {
        CRect rc(0, 0, 40, 40);
        CFODrawShape* shape = m_model.DoCreateShapeByType(601, rc, CString());
        m_model.InsertShape(shape);
        shape->Release();
        shape->SetKeyId3(key3);
        return shape;
    }
    CScriptObject& Script()
    {
        if (!m_script)
        {
            m_script = new CScriptObject;
            m_script->SetTimeout(-1);
            m_script->AddObject(L"app", m_host->GetIDispatch(FALSE));
        }
        return *m_script;
    }
    // Runs a procedure with a string and an integer, as the runtime programs do.
    BOOL Run(const wchar_t* name, const wchar_t* s, int n, _variant_t* result)
    {
        CSafeArrayHelper args;
        args.Create(VT_VARIANT, 1, 0, 2);
        _variant_t a(s);
        _variant_t b(n);
        args.PutElement(0, &a);
        args.PutElement(1, &b);
        SAFEARRAY* psa = args.GetArray();
        VARIANT r;
        VariantInit(&r);
        const BOOL ok = Script().RunProcedure(name, &psa, &r);
        result->Attach(r);
        return ok;
    }

    CScriptTestApp m_app;
    CWorkSpaceObj* m_workspace = nullptr; // held by m_app
    CXVKDataModel m_model;
    CRecordingCanvas m_canvas;
    CXVKMethodHost* m_host = nullptr;
    CScriptObject* m_script = nullptr;
};

std::wstring Text(BSTR b)
{
    std::wstring s = b ? b : L"<null>";
    SysFreeString(b);
    return s;
}
} // namespace

TEST_F(ScriptHost, VariablesReadByKindAndType)
{
    struct NumberCase
    {
        double (CXVKMethodHost::*get)(LPCWSTR);
        const wchar_t* name;
        double expected;
    };
    const NumberCase numbers[] = {
        {&CXVKMethodHost::GetVarValue, L"#level", 12.75},
        {&CXVKMethodHost::GetVarValue, L"$hour", 13},
        {&CXVKMethodHost::GetVarValue, L"@RUN", 1},
        {&CXVKMethodHost::GetVarValue, L"plain", 7},
        {&CXVKMethodHost::GetVarValue, L"  #level", DBL_MIN}, // a blank first: a runtime name
        {&CXVKMethodHost::GetVarValue, nullptr, DBL_MIN},
        {&CXVKMethodHost::GetGVarValue, L"  #LEVEL  ", 12.75},
        {&CXVKMethodHost::GetGVarValue, L"#flag", 0.0}, // word 2 is not exactly 1
        {&CXVKMethodHost::GetGVarValue, L"#count", -5},
        {&CXVKMethodHost::GetGVarValue, L"#word", DBL_MIN},
        {&CXVKMethodHost::GetGVarValue, L"#text", 3.5},
        {&CXVKMethodHost::GetGVarValue, L"#f", 2.5},
        {&CXVKMethodHost::GetGVarValue, L"#date", DBL_MIN},
        {&CXVKMethodHost::GetGVarValue, L"#color", DBL_MIN},
        {&CXVKMethodHost::GetGVarValue, L"#missing", DBL_MIN},
        {&CXVKMethodHost::GetRVarValue, L"#level", DBL_MIN}, // another kind
        {&CXVKMethodHost::GetSVarValue, L"$HOUR ", 13},
    };
    CXVKMethodHost* host = m_host;
    for (const NumberCase& c : numbers)
        EXPECT_EQ((host->*c.get)(c.name), c.expected) << (c.name ? CString(c.name).ToUtf8() : "null");
}

TEST_F(ScriptHost, VariablesReadAsText)
{
    struct TextCase
    {
        BSTR (CXVKMethodHost::*get)(LPCWSTR);
        const wchar_t* name;
        const wchar_t* expected;
    };
    const TextCase texts[] = {
        {&CXVKMethodHost::GetGStrVarValue, L"#flag", L"TRUE"},
        {&CXVKMethodHost::GetGStrVarValue, L"#level", L"13"}, // no decimals
        {&CXVKMethodHost::GetGStrVarValue, L"#count", L"-5"},
        {&CXVKMethodHost::GetGStrVarValue, L"#word", L"4000000000"},
        {&CXVKMethodHost::GetGStrVarValue, L"#text", L"3.5abc"},
        {&CXVKMethodHost::GetGStrVarValue, L"#f", L"2"},
        {&CXVKMethodHost::GetGStrVarValue, L"#date", L"Wednesday, January 01, 2020"},
        {&CXVKMethodHost::GetGStrVarValue, L"#color", L"RGB(1,2,3)"},
        {&CXVKMethodHost::GetGStrVarValue, L"#missing", L"<null>"},
        {&CXVKMethodHost::GetStrVarValue, L"$hour", L"13"},
        {&CXVKMethodHost::GetStrVarValue, L"plain", L"7"},
        {&CXVKMethodHost::GetRStrVarValue, L"@run", L"1"},
        {&CXVKMethodHost::GetStrVarValue, nullptr, L"<null>"},
    };
    CXVKMethodHost* host = m_host;
    for (const TextCase& c : texts)
    {
        EXPECT_EQ(Text((host->*c.get)(c.name)), c.expected) << (c.name ? CString(c.name).ToUtf8() : "null");
    }
}

TEST_F(ScriptHost, WritesFollowTheVariableType)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    m_host->SetGVarValue(L"#text", 3.14159);
    EXPECT_EQ(Value(L"#text").m_strValue, CString(L"3.14"));
    m_host->SetGVarValue(L" #COUNT", -7.9);
    EXPECT_EQ(Value(L"#count").m_nValue, -7);
    m_host->SetGVarValue(L"#count", 1e12); // out of range, as the processor truncates it
    EXPECT_EQ(Value(L"#count").m_nValue, std::numeric_limits<int>::min());
    m_host->SetGVarValue(L"#flag", 0.0);
    EXPECT_EQ(Value(L"#flag").m_bValue, 0);
    m_host->SetGVarValue(L"#flag", nan);
    EXPECT_EQ(Value(L"#flag").m_bValue, 1);
    m_host->SetGVarValue(L"#word", -1.0);
    EXPECT_EQ(Value(L"#word").m_dwValue, 0xFFFFFFFFu);
    m_host->SetGVarValue(L"#word", 4294967296.0 + 5.7);
    EXPECT_EQ(Value(L"#word").m_dwValue, 5u);
    m_host->SetGVarValue(L"#f", 1e300);
    EXPECT_TRUE(std::isinf(Value(L"#f").m_fValue));
    m_host->SetGVarValue(L"#level", 0.5);
    EXPECT_EQ(Value(L"#level").m_dValue, 0.5);
    m_host->SetSVarValue(L"$hour", 22);
    EXPECT_EQ(Value(L"$Hour").m_nValue, 22);
    m_host->SetRVarValue(L"plain", 8.9);
    EXPECT_EQ(Value(L"plain").m_nValue, 8);

    // Dates and colours refuse numbers; missing variables and wrong kinds are ignored.
    m_host->SetGVarValue(L"#date", 5);
    EXPECT_EQ(Value(L"#date").m_dtValue.m_dt, 43831.75);
    m_host->SetGVarValue(L"#color", 5);
    EXPECT_EQ(Value(L"#color").m_crValue, 0x030201u);
    m_host->SetGVarValue(L"#missing", 5);
    m_host->SetRVarValue(L"#level", 9);
    EXPECT_EQ(Value(L"#level").m_dValue, 0.5);
    EXPECT_EQ(m_canvas.m_updates, 0); // no shape is bound
}

TEST_F(ScriptHost, ScriptWriteChangesBoundShapesAndRedrawsExactlyThem)
{
    CFODrawShape* a = Shape(L"#level");
    CFODrawShape* b = Shape(L"#Level ");
    CFODrawShape* other = Shape(L"#count");
    CFODrawShape* runtime = Shape(L"@level");
    ASSERT_TRUE(Script().AddScript(
        L"function setLevel(name, v) { app.SetGVarValue(name, v); return app.GetGVarValue(name); }"));

    _variant_t r;
    ASSERT_TRUE(Run(L"setLevel", L"#LEVEL", 42, &r)) << CString(Script().GetErrorString()).ToUtf8();
    EXPECT_EQ(double(r), 42.0);
    EXPECT_EQ(Value(L"#level").m_dValue, 42.0);
    EXPECT_EQ(a->GetCurrentValue(), 42.0);
    EXPECT_EQ(b->GetCurrentValue(), 42.0);
    EXPECT_EQ(other->GetCurrentValue(), FO_NO_VALUE);
    EXPECT_EQ(runtime->GetCurrentValue(), FO_NO_VALUE);
    ASSERT_EQ(m_canvas.m_updates, 1);
    EXPECT_EQ(m_canvas.m_last, (std::vector<CFODrawShape*>{a, b}));

    // The same value again changes no shape, so nothing is redrawn.
    ASSERT_TRUE(Run(L"setLevel", L"#level", 42, &r));
    EXPECT_EQ(m_canvas.m_updates, 1);
    // A variable no shape is bound to.
    ASSERT_TRUE(Run(L"setLevel", L"#text", 1, &r));
    EXPECT_EQ(m_canvas.m_updates, 1);
}

TEST_F(ScriptHost, PortsByKeyThroughCheckedHandles)
{
    CFODrawShape* shape = Shape(L"");
    shape->RemoveAllPorts();
    shape->CreateDefaultPort(0, 0.5)->SetKey(L" in ");
    CFOPortShape* out = shape->CreateDefaultPort(1, 0.5);
    out->SetKey(L"out");
    CRect rc(0, 0, 40, 40);
    CFODrawShape* plain = m_model.DoCreateShapeByType(620, rc, CString());
    m_model.InsertShape(plain);
    plain->Release();
    const LONG handle = LONG(m_model.GetShapeHandle(shape));
    const LONG plainHandle = LONG(m_model.GetShapeHandle(plain));
    ASSERT_GT(handle, 0);

    const LONG port = m_host->FindPortWithKey1(L" out", handle);
    ASSERT_GT(port, 0);
    EXPECT_EQ(m_host->PortFromHandle(DWORD(port)), out);
    EXPECT_EQ(m_host->FindPortWithKey1(L"out", handle), port); // the same port, the same handle
    EXPECT_GT(m_host->FindPortWithKey1(L"in", handle), 0);

    struct Case
    {
        const wchar_t* key;
        LONG shape;
    };
    const Case misses[] = {
        {L"OUT", handle},  {L"  ", handle},      {nullptr, handle},          {L"out", 0},
        {L"out", -1},      {L"out", 0x7FFFFFFF}, {L"out", LONG(0x80000000)}, {L"out", plainHandle},
        {L"nope", handle},
    };
    for (const Case& c : misses)
        EXPECT_EQ(m_host->FindPortWithKey1(c.key, c.shape), 0) << c.shape;

    // From a script too; a shape that left the model finds nothing and its ports go stale.
    ASSERT_TRUE(
        Script().AddScript(L"function port(key, shape) { return app.FindPortWithKey1(key, shape); }"));
    _variant_t r;
    ASSERT_TRUE(Run(L"port", L"out", handle, &r));
    EXPECT_EQ(LONG(r), port);
    ASSERT_TRUE(m_model.RemoveShape(shape));
    EXPECT_EQ(m_host->PortFromHandle(DWORD(port)), nullptr);
    ASSERT_TRUE(Run(L"port", L"out", handle, &r));
    EXPECT_EQ(LONG(r), 0);
}

TEST_F(ScriptHost, ScriptFileProceduresAndRun)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/system.uscp";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("// start-up\nfunction OnStart(screen, id) { return screen + '#' + (id + 1); }\n"
               "function OnTimer() {}\n"
               "function Double(x) { return x * 2; }\n");
    file.close();

    CScriptObject& script = Script();
    ASSERT_TRUE(script.LoadScript(path.toStdWString().c_str()));
    ASSERT_EQ(script.GetMethodsCount(), 3);
    EXPECT_EQ(script.GetNameAt(0), CString(L"OnStart"));
    EXPECT_EQ(script.GetNameAt(1), CString(L"OnTimer"));
    EXPECT_EQ(script.GetNameAt(2), CString(L"Double"));
    EXPECT_EQ(script.GetNameAt(-1), CString());
    EXPECT_EQ(script.GetNameAt(3), CString());
    EXPECT_EQ(script.GetScriptFunction(L"OnTimer"), CString(L"OnTimer"));
    EXPECT_EQ(script.GetScriptFunction(L"ontimer"), CString());

    _variant_t r;
    ASSERT_TRUE(Run(L"OnStart", L"Main.xdg", 41, &r));
    EXPECT_EQ(std::wstring((const wchar_t*)_bstr_t(r)), L"Main.xdg#42");
    // A name that differs in case runs nothing and leaves no error.
    EXPECT_FALSE(Run(L"onstart", L"x", 1, &r));
    EXPECT_STREQ(script.GetErrorString(), L"");
    EXPECT_FALSE(script.LoadScript(L"/no/such/file.uscp"));

    // A result without a place to go is freed; no arguments at all are fine too.
    EXPECT_TRUE(script.RunProcedure(L"OnTimer", nullptr, nullptr));
    EXPECT_TRUE(script.ExecuteStatement(L"var late = Double(4);"));
}

TEST_F(ScriptHost, ErrorsReadOnceAsText)
{
    CScriptObject& script = Script();
    EXPECT_FALSE(script.AddScript(L"function ok() {}\nvar x = ;\n"));
    const std::wstring syntax = script.GetErrorString();
    EXPECT_EQ(syntax.rfind(L"Error: ", 0), 0u) << CString(syntax.c_str()).ToUtf8();
    EXPECT_NE(syntax.find(L", var x = ;; in line 2"), std::wstring::npos) << CString(syntax.c_str()).ToUtf8();
    EXPECT_STREQ(script.GetErrorString(), L"");

    ASSERT_TRUE(script.AddScript(L"function f() {\n  var a = 1;\n  return missing + a;\n}\n"
                                 L"function g(s, n) { throw new Error(new Array(n + 1).join('x')); }"));
    _variant_t r;
    EXPECT_FALSE(Run(L"f", L"", 0, &r));
    EXPECT_STREQ(script.GetErrorString(), L"Error: missing is not defined,   return missing + a;; in line 3");
    EXPECT_STREQ(script.GetErrorString(), L"");

    EXPECT_FALSE(Run(L"g", L"", 400, &r));
    const std::wstring longError = script.GetErrorString();
    EXPECT_EQ(longError.size(), 256u) << CString(longError.c_str()).ToUtf8();
    EXPECT_STREQ(script.GetErrorString(), L"");
}

TEST_F(ScriptHost, RunawayScriptEndsAtItsTimeout)
{
    CScriptObject& script = Script();
    EXPECT_EQ(script.SetTimeout(200), 1);
    ASSERT_TRUE(script.AddScript(L"function spin() { while (true) {} }"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(script.RunProcedure(L"spin", nullptr, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(std::wstring(script.GetErrorString()).rfind(L"Error: ", 0), 0u);
}

TEST_F(ScriptHost, TimeoutCoversTurningTheThrownValueIntoText)
{
    CScriptObject& script = Script();
    ASSERT_TRUE(script.AddScript(L"function loop() { while (true) {} }\n"
                                 L"function throwsValue() { throw { toString: loop }; }\n"
                                 L"function throwsError() { var e = new Error('x');\n"
                                 L"  Object.defineProperty(e, 'message', { get: loop }); throw e; }\n"
                                 L"function next(s, n) { return s + n; }"));
    EXPECT_EQ(script.SetTimeout(500), 1);
    for (const wchar_t* proc : {L"throwsValue", L"throwsError"})
    {
        const auto start = std::chrono::steady_clock::now();
        _variant_t r;
        EXPECT_FALSE(Run(proc, L"", 0, &r));
        // Loose for loaded machines: without the time-out the call never returns.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));
        EXPECT_NE(std::wstring(script.GetErrorString()).find(L"Script timed out"), std::wstring::npos);
        ASSERT_TRUE(Run(L"next", L"a", 1, &r));
        EXPECT_EQ(std::wstring((const wchar_t*)_bstr_t(r)), L"a1");
    }
}

TEST_F(ScriptHost, FrameworkExceptionsOfTheHostReachTheScriptWithTheirMessage)
{
    m_host->ExternalRelease();
    m_host = new CProgramHost;
    CScriptObject& script = Script();
    ASSERT_TRUE(script.AddScript(
        L"function open(s, n) { app.OpenFile(s); }\n"
        L"function unsupported(s, n) { app.Unsupported(); }\n"
        L"function caught(s, n) { try { app.OpenFile(s); } catch (e) { return e.message; } }"));
    struct Case
    {
        const wchar_t* proc;
        const wchar_t* message;
    };
    CFileException expectedFile(CFileException::fileNotFound, 2, L"/no/such.dat");
    wchar_t fileText[512];
    ASSERT_TRUE(expectedFile.GetErrorMessage(fileText, 512));
    CNotSupportedException expectedUnsupported(FALSE);
    wchar_t unsupportedText[512];
    ASSERT_TRUE(expectedUnsupported.GetErrorMessage(unsupportedText, 512));
    const Case cases[] = {{L"open", fileText}, {L"unsupported", unsupportedText}};
    for (const Case& c : cases)
    {
        _variant_t r;
        EXPECT_FALSE(Run(c.proc, L"/no/such.dat", 0, &r));
        const std::wstring error = script.GetErrorString();
        EXPECT_NE(error.find(c.message), std::wstring::npos) << CString(error.c_str()).ToUtf8();
        EXPECT_EQ(error.find(L"Unknown exception"), std::wstring::npos);
    }
    _variant_t r;
    ASSERT_TRUE(Run(L"caught", L"/no/such.dat", 0, &r));
    EXPECT_EQ(std::wstring((const wchar_t*)_bstr_t(r)), std::wstring(fileText));
}

TEST_F(ScriptHost, ProceduresOfOneLineCodeAreFoundAndRun)
{
    CScriptObject& script = Script();
    ASSERT_TRUE(
        script.AddScript(L"var i=0;function OnStart(s,n){i++/2;return s+n}function OnTimer(){return i--/2}"
                         L"function OnClose(){return 1/2}"));
    ASSERT_EQ(script.GetMethodsCount(), 3);
    EXPECT_EQ(script.GetScriptFunction(L"OnTimer"), CString(L"OnTimer"));
    _variant_t r;
    ASSERT_TRUE(Run(L"OnTimer", L"", 0, &r));
    ASSERT_TRUE(Run(L"OnClose", L"", 0, &r));
    EXPECT_DOUBLE_EQ(double(r), 0.5);
}

TEST_F(ScriptHost, DispatchIdsAndProgramMapsChainToTheHost)
{
    IDispatch* base = m_host->GetIDispatch(FALSE);
    auto id = [](IDispatch* p, const wchar_t* name)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID d = 0;
        p->GetIDsOfNames(IID_NULL, names, 1, 0, &d);
        return d;
    };
    const wchar_t* const order[] = {
        L"GetVarValue",     L"GetStrVarValue",  L"CloseApp",     L"FindPortWithKey1", L"GetGVarValue",
        L"GetGStrVarValue", L"SetGVarValue",    L"GetRVarValue", L"GetRStrVarValue",  L"SetRVarValue",
        L"GetSVarValue",    L"GetSStrVarValue", L"SetSVarValue"};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(id(base, order[i]), i + 1) << CString(order[i]).ToUtf8();
    EXPECT_EQ(id(base, L"getgvarvalue"), 5);

    auto* program = new CProgramHost;
    IDispatch* p = program->GetIDispatch(FALSE);
    EXPECT_EQ(id(p, L"GetCurTimerStep"), 1);
    EXPECT_EQ(id(p, L"SetCurTimerStep"), 2);
    EXPECT_EQ(id(p, L"GetVarValue"), 0x10001);
    EXPECT_EQ(id(p, L"SetSVarValue"), 0x1000D);

    // The step counter reads as a 16-bit value.
    program->m_step = 40000;
    VARIANT r;
    VariantInit(&r);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(p->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr), S_OK);
    EXPECT_EQ(r.vt, VT_I2);
    EXPECT_EQ(r.iVal, -25536);

    const LONG locks = AfxOleGetLockCount();
    program->ExternalRelease();
    EXPECT_EQ(AfxOleGetLockCount(), locks - 1);
}

TEST_F(ScriptHost, LanguageAndResetDropCodeButKeepTheList)
{
    CScriptObject& script = Script();
    ASSERT_TRUE(script.AddScript(L"function a() { return 1; }\nfunction b() {}"));
    ASSERT_EQ(script.GetMethodsCount(), 2);

    ASSERT_TRUE(script.Reset());
    EXPECT_EQ(script.GetMethodsCount(), 2); // rebuilt only by the next add
    EXPECT_FALSE(script.RunProcedure(L"a", nullptr, nullptr));
    EXPECT_EQ(std::wstring(script.GetErrorString()).rfind(L"Error: ", 0), 0u);
    ASSERT_TRUE(script.AddScript(L"function c() {}"));
    EXPECT_EQ(script.GetMethodsCount(), 1);

    EXPECT_TRUE(script.SetLanguage(L"JScript"));
    EXPECT_FALSE(script.SetLanguage(std::wstring(41, L'J').c_str()));
    EXPECT_THROW(script.SetLanguage(L"VBScript"), _com_error);
}

TEST_F(ScriptHost, AHostWhoseCanvasOrModelHasGoneFailsCleanly)
{
    auto* model = new CXVKDataModel;
    auto* canvas = new CRecordingCanvas;
    canvas->SetCurrentModel(model);
    auto* host = new CXVKMethodHost;
    host->SetCanvas(canvas); // no model of its own: it takes the canvas's
    CRect rc(0, 0, 40, 40);
    CFODrawShape* shape = model->DoCreateShapeByType(601, rc, CString());
    model->InsertShape(shape);
    shape->Release();
    shape->SetKeyId3(L"#level");
    const LONG handle = LONG(model->GetShapeHandle(shape));
    EXPECT_EQ(host->GetCurModel(), model);
    host->SetGVarValue(L"#Level", 3.0);
    EXPECT_EQ(shape->GetCurrentValue(), 3.0);
    EXPECT_EQ(canvas->m_updates, 1);

    delete canvas;
    EXPECT_EQ(host->GetCanvas(), nullptr);
    EXPECT_EQ(host->GetCurModel(), nullptr);
    host->SetGVarValue(L"#Level", 4.0); // the variable takes it; no screen to push it to
    EXPECT_EQ(host->GetGVarValue(L"#Level"), 4.0);
    EXPECT_EQ(shape->GetCurrentValue(), 3.0);

    host->SetCurModel(model);
    delete model;
    EXPECT_EQ(host->GetCurModel(), nullptr);
    EXPECT_EQ(host->FindPortWithKey1(L"in", handle), 0);
    EXPECT_EQ(host->PortFromHandle(1), nullptr);
    host->SetGVarValue(L"#Level", 5.0);
    EXPECT_EQ(host->GetGVarValue(L"#Level"), 5.0);
    host->ExternalRelease();
}
