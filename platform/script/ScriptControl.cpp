#include "script/ScriptControl.h"

#include "com/ClassRegistry.h"
#include "com/ComObject.h"
#include "script/ScriptEngine.h"

#include <cwctype>
#include <mutex>

namespace
{
BSTR Alloc(const std::wstring& s)
{
    return SysAllocStringLen(s.data(), UINT(s.size()));
}

QString ToQt(BSTR s)
{
    return s ? QString::fromWCharArray(s, qsizetype(SysStringLen(s))) : QString();
}

bool IsJScript(BSTR name)
{
    if (!name)
        return false;
    std::wstring lower(name, SysStringLen(name));
    for (wchar_t& c : lower)
        c = wchar_t(std::towlower(wint_t(c)));
    return lower == L"jscript" || lower == L"javascript" || lower == L"ecmascript";
}

class CScriptError : public CComObjectImpl<IScriptError>
{
public:
    explicit CScriptError(std::shared_ptr<CScriptErrorState> state) : m_state(std::move(state)) {}

    HRESULT STDMETHODCALLTYPE get_Number(LONG* p) override
    {
        return Read(p, [](auto& s) { return LONG(s.number); });
    }
    HRESULT STDMETHODCALLTYPE get_Line(LONG* p) override
    {
        return Read(p, [](auto& s) { return s.line; });
    }
    HRESULT STDMETHODCALLTYPE get_Column(LONG* p) override
    {
        return Read(p, [](auto& s) { return s.column; });
    }
    HRESULT STDMETHODCALLTYPE get_HelpContext(LONG* p) override
    {
        return Read(p, [](auto&) { return LONG(0); });
    }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* p) override { return Text(p, &CScriptErrorState::source); }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* p) override
    {
        return Text(p, &CScriptErrorState::description);
    }
    HRESULT STDMETHODCALLTYPE get_Text(BSTR* p) override { return Text(p, &CScriptErrorState::text); }
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* p) override
    {
        if (!p)
            return E_POINTER;
        *p = SysAllocString(L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clear() override
    {
        m_state->Clear();
        return S_OK;
    }

private:
    template <class F> HRESULT Read(LONG* p, F f)
    {
        if (!p)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_state->mutex);
        *p = f(*m_state);
        return S_OK;
    }
    HRESULT Text(BSTR* p, std::wstring CScriptErrorState::*member)
    {
        if (!p)
            return E_POINTER;
        std::lock_guard<std::mutex> lock(m_state->mutex);
        *p = Alloc((*m_state).*member);
        return *p ? S_OK : E_OUTOFMEMORY;
    }

    std::shared_ptr<CScriptErrorState> m_state;
};

class CScriptProcedure : public CComObjectImpl<IScriptProcedure>
{
public:
    explicit CScriptProcedure(CScriptEngine::Procedure proc) : m_proc(std::move(proc)) {}

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* p) override
    {
        if (!p)
            return E_POINTER;
        *p = Alloc(m_proc.name.toStdWString());
        return *p ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_NumArgs(LONG* p) override
    {
        if (!p)
            return E_POINTER;
        *p = m_proc.numArgs;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HasReturnValue(VARIANT_BOOL* p) override
    {
        // Every function gives a value, if only undefined.
        if (!p)
            return E_POINTER;
        *p = VARIANT_TRUE;
        return S_OK;
    }

private:
    CScriptEngine::Procedure m_proc;
};

// A snapshot of the procedures when it was asked for.
class CScriptProcedures : public CComObjectImpl<IScriptProcedureCollection>
{
public:
    explicit CScriptProcedures(std::vector<CScriptEngine::Procedure> procs) : m_procs(std::move(procs)) {}

    HRESULT STDMETHODCALLTYPE get_Count(LONG* p) override
    {
        if (!p)
            return E_POINTER;
        *p = LONG(m_procs.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IScriptProcedure** pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        const CScriptEngine::Procedure* found = nullptr;
        if ((index.vt & ~VT_BYREF) == VT_BSTR)
        {
            const QString name = ToQt((index.vt & VT_BYREF) ? *index.pbstrVal : index.bstrVal);
            for (const auto& p : m_procs)
                if (p.name == name)
                    found = &p;
        }
        else
        {
            VARIANT n;
            VariantInit(&n);
            if (FAILED(VariantChangeType(&n, &index, 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            if (n.lVal >= 1 && size_t(n.lVal) <= m_procs.size())
                found = &m_procs[size_t(n.lVal) - 1];
        }
        if (!found)
            return DISP_E_BADINDEX;
        CComPtr<CScriptProcedure> proc = QyrNewObject<CScriptProcedure>(*found);
        return proc->QueryInterface(IID_IScriptProcedure, reinterpret_cast<void**>(pp));
    }

private:
    std::vector<CScriptEngine::Procedure> m_procs;
};

class CScriptControl : public CComObjectImpl<IScriptControl>
{
public:
    CScriptControl()
        : m_thread(std::this_thread::get_id()), m_errorState(std::make_shared<CScriptErrorState>()),
          m_engine(m_errorState)
    {
        m_error = QyrNewObject<CScriptError>(m_errorState);
    }

    HRESULT STDMETHODCALLTYPE get_Language(BSTR* p) override
    {
        if (!p)
            return E_POINTER;
        *p = Alloc(m_language);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Language(BSTR name) override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        if (!IsJScript(name))
            return SCRIPT_E_LANGUAGE;
        m_language.assign(name, SysStringLen(name));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Timeout(LONG* p) override
    {
        if (!p)
            return E_POINTER;
        *p = m_engine.GetTimeout();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Timeout(LONG ms) override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        m_engine.SetTimeout(ms);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AllowUI(VARIANT_BOOL* p) override
    {
        if (!p)
            return E_POINTER;
        *p = m_allowUI;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowUI(VARIANT_BOOL allow) override
    {
        m_allowUI = allow ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Error(IScriptError** pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = m_error;
        (*pp)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Procedures(IScriptProcedureCollection** pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<CScriptProcedures> procs = QyrNewObject<CScriptProcedures>(m_engine.Procedures());
        return procs->QueryInterface(IID_IScriptProcedureCollection, reinterpret_cast<void**>(pp));
    }
    HRESULT STDMETHODCALLTYPE AddObject(BSTR name, IDispatch* object, VARIANT_BOOL addMembers) override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<IScriptControl> keep(this);
        m_errorState->Clear();
        return m_engine.AddObject(ToQt(name), object, addMembers != VARIANT_FALSE);
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        m_errorState->Clear();
        return m_engine.Reset();
    }
    HRESULT STDMETHODCALLTYPE AddCode(BSTR code) override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<IScriptControl> keep(this);
        m_errorState->Clear();
        return m_engine.AddCode(ToQt(code));
    }
    HRESULT STDMETHODCALLTYPE Eval(BSTR expression, VARIANT* result) override
    {
        if (!result)
            return E_POINTER;
        VariantInit(result);
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<IScriptControl> keep(this);
        m_errorState->Clear();
        return m_engine.Eval(ToQt(expression), result);
    }
    HRESULT STDMETHODCALLTYPE ExecuteStatement(BSTR statement) override
    {
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<IScriptControl> keep(this);
        m_errorState->Clear();
        return m_engine.ExecuteStatement(ToQt(statement));
    }
    HRESULT STDMETHODCALLTYPE Run(BSTR name, SAFEARRAY** params, VARIANT* result) override
    {
        if (!result)
            return E_POINTER;
        VariantInit(result);
        if (!OnThread())
            return RPC_E_WRONG_THREAD;
        CComPtr<IScriptControl> keep(this);
        m_errorState->Clear();
        return m_engine.Run(ToQt(name), params ? *params : nullptr, result);
    }

private:
    bool OnThread() const { return std::this_thread::get_id() == m_thread; }

    std::thread::id m_thread;
    std::wstring m_language = L"JScript";
    VARIANT_BOOL m_allowUI = VARIANT_TRUE;
    std::shared_ptr<CScriptErrorState> m_errorState;
    CComPtr<CScriptError> m_error;
    CScriptEngine m_engine;
};
} // namespace

HRESULT QyrRegisterScriptControl()
{
    static std::once_flag once;
    static HRESULT result = S_OK;
    std::call_once(once,
                   []
                   {
                       CLASSREGINFO info;
                       info.clsid = CLSID_ScriptControl;
                       info.progId = L"ScriptControl";
                       info.userType = L"Script Control";
                       CClassRegistry::Instance().AddClass(info);
                       CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(
                           [](REFIID riid, void** ppv) -> HRESULT
                           {
                               CComPtr<CScriptControl> control = QyrNewObject<CScriptControl>();
                               return control->QueryInterface(riid, ppv);
                           });
                       DWORD cookie = 0;
                       result = CoRegisterClassObject(CLSID_ScriptControl, factory->GetUnknown(),
                                                      CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
                   });
    return result;
}
