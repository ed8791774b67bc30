#include "script/ScriptEngine.h"

#include "com/ComError.h"
#include "com/EmptyDispatch.h"
#include "script/ScriptControl.h"
#include "script/ScriptSource.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QDateTime>
#include <QJSEngine>

#include <cmath>
#include <limits>

namespace
{
// Scripts reach automation objects through wrappers made here: a wrapper's prototype is a proxy
// that asks the object for a member's id on first use and then keeps a function for it on the
// wrapper, so later calls go straight to the bridge.
const char kPrelude[] = R"JS(
(function (bridge, global) {
    'use strict';
    var c0 = bridge.call0, c1 = bridge.call1, c4 = bridge.call4, c8 = bridge.call8;
    var put = bridge.put, resolve = bridge.resolve;
    var HANDLE = Symbol('dispatch');
    // Named parameters only: a function that touches `arguments` costs a heap object per call.
    // Trailing undefined arguments count as not given.
    function method(h, id) {
        return function (a0, a1, a2, a3, a4, a5, a6, a7) {
            if (a4 === undefined && a5 === undefined && a6 === undefined && a7 === undefined) {
                if (a1 === undefined && a2 === undefined && a3 === undefined)
                    return a0 === undefined ? c0(h, id) : c1(h, id, a0);
                return c4(h, id, a0, a1, a2, a3);
            }
            return c8(h, id, a0, a1, a2, a3, a4, a5, a6, a7);
        };
    }
    function wrap(h) {
        var misses = Object.create(null);
        var proto = new Proxy({}, {
            get: function (target, name, receiver) {
                if (typeof name === 'string' && !misses[name]) {
                    var id = resolve(h, name);
                    if (id !== undefined) {
                        var f = method(h, id);
                        Object.defineProperty(receiver, name, { value: f, writable: true, configurable: true });
                        return f;
                    }
                    misses[name] = true;
                }
                return Reflect.get(target, name, receiver);
            },
            set: function (target, name, value, receiver) {
                if (typeof name === 'string') {
                    var id = resolve(h, name);
                    if (id !== undefined) {
                        put(h, id, value);
                        return true;
                    }
                }
                return Reflect.set(target, name, value, receiver);
            }
        });
        var w = Object.create(proto);
        Object.defineProperty(w, HANDLE, { value: h });
        return w;
    }
    function handleOf(v) {
        var h = (v !== null && (typeof v === 'object' || typeof v === 'function')) ? v[HANDLE] : undefined;
        return h === undefined ? -1 : h;
    }
    function define(name, value) {
        Object.defineProperty(global, name, { value: value, writable: true, configurable: true });
    }
    return [wrap, method, handleOf, define];
})
)JS";

const QString kBlockPrefix = QStringLiteral("qyrcode-");

int BlockFromFile(const QString& file)
{
    const qsizetype at = file.lastIndexOf(kBlockPrefix);
    if (at < 0)
        return -1;
    bool ok = false;
    const int n = file.mid(at + kBlockPrefix.size()).toInt(&ok);
    return ok ? n : -1;
}

// "function:line:column:file", the form of the engine's stack entries.
void ParseStackEntry(const QStringList& stack, int* line, int* column)
{
    *line = 0;
    *column = 0;
    if (stack.isEmpty())
        return;
    const QStringList parts = stack.front().split(u':');
    if (parts.size() >= 3)
    {
        *line = std::max(0, parts[1].toInt());
        *column = std::max(0, parts[2].toInt());
    }
}

const QDate kDateBase(1899, 12, 30);

QDateTime DateToQt(DATE d)
{
    if (!std::isfinite(d) || std::fabs(d) > 3000000.0)
        return QDateTime();
    const double days = std::trunc(d);
    const double frac = std::fabs(d - days);
    const qint64 ms = qint64(std::llround(frac * 86400000.0));
    return QDateTime(kDateBase.addDays(qint64(days)), QTime(0, 0)).addMSecs(ms);
}

DATE QtToDate(const QDateTime& dt)
{
    const double days = double(kDateBase.daysTo(dt.date()));
    const double frac = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days < 0 ? days - frac : days + frac;
}

void NumberToVariant(double d, VARIANT* out)
{
    VariantInit(out);
    if (d == std::trunc(d) && d >= double(std::numeric_limits<LONG>::min()) &&
        d <= double(std::numeric_limits<LONG>::max()) && !(d == 0.0 && std::signbit(d)))
    {
        out->vt = VT_I4;
        out->lVal = LONG(d);
    }
    else
    {
        out->vt = VT_R8;
        out->dblVal = d;
    }
}

BSTR ToBstr(const QString& s)
{
    const std::wstring w = s.toStdWString();
    return SysAllocStringLen(w.data(), UINT(w.size()));
}

QString FromBstr(BSTR s)
{
    return s ? QString::fromWCharArray(s, qsizetype(SysStringLen(s))) : QString();
}
} // namespace

// A script object (or function) handed to the host as an IDispatch. Its members are the object's
// properties, named exactly; DISPID_VALUE calls the object itself.
class CJSObjectDispatch : public CEmptyDispatch
{
public:
    CJSObjectDispatch(std::shared_ptr<CScriptEngineLink> link, int slot)
        : m_link(std::move(link)), m_slot(slot)
    {
    }
    ~CJSObjectDispatch() override
    {
        CScriptEngine* engine = m_link->engine.load();
        if (engine && std::this_thread::get_id() == m_link->thread)
            engine->ReleaseHeld(m_slot);
    }

    const CScriptEngineLink* Link() const { return m_link.get(); }
    int Slot() const { return m_slot; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                            DISPID* rgDispId) override
    {
        if (!rgszNames || !rgDispId || cNames == 0 || !rgszNames[0])
            return E_INVALIDARG;
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::wstring name(rgszNames[0]);
        size_t i = 0;
        while (i < m_names.size() && m_names[i] != name)
            ++i;
        if (i == m_names.size())
            m_names.push_back(name);
        rgDispId[0] = DISPID(i + 1);
        for (UINT k = 1; k < cNames; ++k)
            rgDispId[k] = DISPID_UNKNOWN;
        return cNames > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT*) override
    {
        CScriptEngine* engine = m_link->engine.load();
        if (!engine)
            return RPC_E_DISCONNECTED;
        if (std::this_thread::get_id() != m_link->thread)
            return RPC_E_WRONG_THREAD;
        QString member;
        if (dispIdMember != DISPID_VALUE)
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (dispIdMember < 1 || size_t(dispIdMember) > m_names.size())
                return DISP_E_MEMBERNOTFOUND;
            member = QString::fromStdWString(m_names[size_t(dispIdMember) - 1]);
        }
        CComPtr<IDispatch> keep(this);
        return engine->CallHeld(m_slot, member, wFlags, pDispParams, pVarResult, pExcepInfo);
    }

private:
    std::shared_ptr<CScriptEngineLink> m_link;
    int m_slot;
    std::mutex m_mutex;
    std::vector<std::wstring> m_names;
};

void CScriptErrorState::Clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    number = S_OK;
    source.clear();
    description.clear();
    text.clear();
    line = 0;
    column = 0;
}

void CScriptErrorState::Set(HRESULT hr, const QString& src, const QString& desc, const QString& lineText,
                            LONG ln, LONG col)
{
    std::lock_guard<std::mutex> lock(mutex);
    number = hr;
    source = src.toStdWString();
    description = desc.toStdWString();
    text = lineText.toStdWString();
    line = ln;
    column = col;
}

// Bridge: each call goes to the engine with the arguments as they came.

QVariant CScriptBridge::resolve(int handle, const QString& name)
{
    return m_owner->ResolveFromScript(handle, name);
}

QVariant CScriptBridge::call0(int handle, int id)
{
    return m_owner->InvokeFromScript(handle, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0);
}

QVariant CScriptBridge::call1(int handle, int id, const QVariant& a0)
{
    return m_owner->InvokeFromScript(handle, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &a0, 1);
}

QVariant CScriptBridge::call4(int handle, int id, const QVariant& a0, const QVariant& a1, const QVariant& a2,
                              const QVariant& a3)
{
    const QVariant args[] = {a0, a1, a2, a3};
    return m_owner->InvokeFromScript(handle, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, 4);
}

QVariant CScriptBridge::call8(int handle, int id, const QVariant& a0, const QVariant& a1, const QVariant& a2,
                              const QVariant& a3, const QVariant& a4, const QVariant& a5, const QVariant& a6,
                              const QVariant& a7)
{
    const QVariant args[] = {a0, a1, a2, a3, a4, a5, a6, a7};
    return m_owner->InvokeFromScript(handle, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, 8);
}

void CScriptBridge::put(int handle, int id, const QVariant& value)
{
    m_owner->InvokeFromScript(handle, id, DISPATCH_PROPERTYPUT, &value, 1);
}

// Engine.

CScriptEngine::CScriptEngine(std::shared_ptr<CScriptErrorState> error)
    : m_error(std::move(error)), m_watchdog(
                                     [this]
                                     {
                                         if (QJSEngine* e = m_interruptTarget.load())
                                             e->setInterrupted(true);
                                     })
{
}

CScriptEngine::~CScriptEngine()
{
    Reset();
    if (m_link)
        m_link->engine = nullptr;
}

HRESULT CScriptEngine::Reset()
{
    if (m_depth > 0)
        return E_UNEXPECTED;
    if (m_link)
    {
        m_link->engine = nullptr;
        m_link.reset();
    }
    // Every engine value goes before the engine does.
    m_procCache.clear();
    m_strings.clear();
    m_held.clear();
    m_freeHeld.clear();
    m_objects.clear();
    m_objectIndex.clear();
    m_conversionError = QJSValue();
    m_conversionFailed = false;
    m_fnWrap = QJSManagedValue();
    m_fnMethod = QJSValue();
    m_fnHandleOf = QJSManagedValue();
    m_fnDefine = QJSValue();
    m_interruptTarget = nullptr;
    m_engine.reset();
    m_bridge.reset();
    m_blocks.clear();
    m_procedures.clear();
    m_names.clear();
    return S_OK;
}

HRESULT CScriptEngine::EnsureEngine()
{
    if (m_engine)
        return S_OK;
    if (!QCoreApplication::instance())
        return SetError(E_UNEXPECTED, QStringLiteral("The script engine needs a running application"));
    m_engine = std::make_unique<QJSEngine>();
    m_bridge = std::make_unique<CScriptBridge>(this);
    m_link = std::make_shared<CScriptEngineLink>();
    m_link->thread = std::this_thread::get_id();
    m_link->engine = this;
    QJSEngine::setObjectOwnership(m_bridge.get(), QJSEngine::CppOwnership);
    QJSValue bridge = m_engine->newQObject(m_bridge.get());
    QJSValue parts = m_engine->evaluate(QString::fromUtf8(kPrelude), QStringLiteral("qyrprelude"))
                         .call({bridge, m_engine->globalObject()});
    m_fnWrap = QJSManagedValue(parts.property(0), m_engine.get());
    m_fnMethod = parts.property(1);
    m_fnHandleOf = QJSManagedValue(parts.property(2), m_engine.get());
    m_fnDefine = parts.property(3);
    if (!m_fnWrap.isFunction() || !m_fnHandleOf.isFunction() || !m_fnDefine.isCallable())
    {
        Reset();
        return SetError(E_UNEXPECTED, QStringLiteral("The script engine could not be prepared"));
    }
    m_interruptTarget = m_engine.get();
    return S_OK;
}

void CScriptEngine::Begin()
{
    if (m_depth++ == 0)
    {
        TakeConversionError();
        if (m_timeout > 0)
            m_watchdog.Arm(m_timeout);
    }
}

bool CScriptEngine::End()
{
    const bool interrupted = m_engine->isInterrupted();
    if (--m_depth == 0)
    {
        if (m_watchdog.Disarm() || interrupted)
        {
            m_engine->setInterrupted(false);
            return true;
        }
    }
    return interrupted;
}

void CScriptEngine::DropPendingError()
{
    if (m_engine->hasError())
        m_engine->catchError();
    TakeConversionError();
}

bool CScriptEngine::CallHelper(const QJSManagedValue& fn, const QJSValueList& args, QJSValue* pResult)
{
    *pResult = fn.call(args);
    if (m_engine->hasError())
        SetConversionError(m_engine->catchError());
    else if (m_engine->isInterrupted())
        SetConversionError(
            m_engine->newErrorObject(QJSValue::GenericError, QStringLiteral("Script timed out")));
    else
        return true;
    *pResult = QJSValue();
    return false;
}

void CScriptEngine::SetConversionError(const QJSValue& error)
{
    // The first reason counts.
    if (!m_conversionFailed)
    {
        m_conversionFailed = true;
        m_conversionError = error;
    }
}

QJSValue CScriptEngine::TakeConversionError()
{
    QJSValue error = m_conversionError;
    m_conversionError = QJSValue();
    m_conversionFailed = false;
    return error;
}

HRESULT CScriptEngine::SetError(HRESULT hr, const QString& description)
{
    m_error->Set(hr, QStringLiteral("Script control"), description, QString(), 0, 0);
    return hr;
}

HRESULT CScriptEngine::SetTimeoutError()
{
    m_error->Set(SCRIPT_E_TIMEOUT, QStringLiteral("Script control"), QStringLiteral("Script timed out"),
                 QString(), 0, 0);
    return SCRIPT_E_TIMEOUT;
}

HRESULT CScriptEngine::SetScriptError(const QJSValue& exception, int block, int stackLine, int stackColumn)
{
    QString name;
    QString message;
    LONG line = 0;
    LONG column = 0;
    HRESULT hr = S_OK;
    if (exception.isError())
    {
        name = exception.property(QStringLiteral("name")).toString();
        message = exception.property(QStringLiteral("message")).toString();
        const QJSValue ln = exception.property(QStringLiteral("lineNumber"));
        const int b = BlockFromFile(exception.property(QStringLiteral("fileName")).toString());
        if (b >= 0)
        {
            block = b;
            if (ln.isNumber())
                line = std::max(0, ln.toInt());
        }
        else
        {
            // Raised by a host object: the script's line is the first of the stack in added code.
            static const QRegularExpression frame(QStringLiteral("qyrcode-(\\d+):(\\d+)"));
            const QRegularExpressionMatch m =
                frame.match(exception.property(QStringLiteral("stack")).toString());
            if (m.hasMatch())
            {
                block = m.captured(1).toInt();
                line = std::max(0, m.captured(2).toInt());
            }
        }
        const QJSValue number = exception.property(QStringLiteral("number"));
        if (number.isNumber())
            hr = HRESULT(number.toInt());
    }
    else
        message = exception.toString();
    if (line == 0 && stackLine > 0)
    {
        line = stackLine;
        column = stackColumn;
    }
    if (!FAILED(hr))
    {
        if (name == QLatin1String("SyntaxError"))
            hr = SCRIPT_E_SYNTAX;
        else if (name == QLatin1String("ReferenceError"))
            hr = SCRIPT_E_UNDEFINED;
        else if (name == QLatin1String("TypeError"))
            hr = SCRIPT_E_OBJECTEXPECTED;
        else if (name == QLatin1String("RangeError"))
            hr = SCRIPT_E_RANGE;
        else
            hr = SCRIPT_E_THROWN;
    }
    const QString source = name == QLatin1String("SyntaxError") ? QStringLiteral("JScript compilation error")
                                                                : QStringLiteral("JScript runtime error");
    const QString text =
        block >= 0 && block < m_blocks.size() ? ScriptSource::LineAt(m_blocks[block], int(line)) : QString();
    m_error->Set(hr, source, message, text, line, column);
    return hr;
}

HRESULT CScriptEngine::Evaluate(const QString& code, bool scan, VARIANT* pResult)
{
    HRESULT hr = EnsureEngine();
    if (FAILED(hr))
        return hr;
    const int block = int(m_blocks.size());
    m_blocks << code;
    m_procCache.clear();
    const bool timedOut = UnderTimeout(
        [&]
        {
            QStringList stack;
            QJSValue value = m_engine->evaluate(code, kBlockPrefix + QString::number(block), 1, &stack);
            if (!stack.isEmpty() || m_engine->hasError())
            {
                if (m_engine->hasError())
                    value = m_engine->catchError();
                int line = 0;
                int column = 0;
                ParseStackEntry(stack, &line, &column);
                hr = SetScriptError(value, block, line, column);
            }
            else if (pResult)
                hr = ResultToVariant(value, pResult);
        });
    if (scan)
    {
        for (const QString& name : ScriptSource::TopLevelFunctions(code))
        {
            if (!m_procedures.contains(name))
                m_procedures << name;
        }
    }
    if (timedOut)
    {
        DropPendingError();
        if (pResult)
            VariantClear(pResult);
        return SetTimeoutError();
    }
    return hr;
}

HRESULT CScriptEngine::AddCode(const QString& code)
{
    return Evaluate(code, true, nullptr);
}

HRESULT CScriptEngine::ExecuteStatement(const QString& code)
{
    return Evaluate(code, true, nullptr);
}

HRESULT CScriptEngine::Eval(const QString& expression, VARIANT* pResult)
{
    return Evaluate(expression, false, pResult);
}

HRESULT CScriptEngine::ResultToVariant(const QJSValue& value, VARIANT* pResult)
{
    const HRESULT hr = FromJs(value, pResult);
    if (!m_conversionFailed)
        return hr;
    VariantClear(pResult);
    return SetScriptError(TakeConversionError(), -1, 0, 0);
}

HRESULT CScriptEngine::Run(const QString& name, SAFEARRAY* pArgs, VARIANT* pResult)
{
    HRESULT hr = EnsureEngine();
    if (FAILED(hr))
        return hr;
    if (pArgs)
    {
        VARTYPE vt = VT_EMPTY;
        if (SafeArrayGetDim(pArgs) != 1 || FAILED(SafeArrayGetVartype(pArgs, &vt)) || vt != VT_VARIANT)
            return SetError(DISP_E_TYPEMISMATCH,
                            QStringLiteral("The arguments must be an array of variants"));
    }
    if (UnderTimeout([&] { hr = RunUnderTimeout(name, pArgs, pResult); }))
    {
        DropPendingError();
        if (pResult)
            VariantClear(pResult);
        return SetTimeoutError();
    }
    return hr;
}

HRESULT CScriptEngine::RunUnderTimeout(const QString& name, SAFEARRAY* pArgs, VARIANT* pResult)
{
    auto it = m_procCache.find(name);
    if (it == m_procCache.end())
    {
        QJSValue fn = m_engine->globalObject().property(name);
        if (!fn.isCallable())
            return SetError(SCRIPT_E_PROCNOTFOUND, QStringLiteral("Procedure '%1' is not defined").arg(name));
        it = m_procCache.emplace(name, QJSManagedValue(fn, m_engine.get())).first;
    }

    QJSValueList args;
    if (pArgs)
    {
        LONG lower = 0;
        LONG upper = -1;
        SafeArrayGetLBound(pArgs, 1, &lower);
        SafeArrayGetUBound(pArgs, 1, &upper);
        VARIANT* data = nullptr;
        if (FAILED(SafeArrayAccessData(pArgs, reinterpret_cast<void**>(&data))))
            return SetError(E_INVALIDARG, QStringLiteral("The arguments cannot be read"));
        const LONG count = upper >= lower ? upper - lower + 1 : 0;
        args.reserve(count);
        for (LONG i = 0; i < count; ++i)
            args << ToJs(data[i]);
        SafeArrayUnaccessData(pArgs);
        if (m_conversionFailed)
            return SetScriptError(TakeConversionError(), -1, 0, 0);
    }

    QJSValue value = it->second.call(args);
    if (m_engine->hasError())
        return SetScriptError(m_engine->catchError(), -1, 0, 0);
    return pResult ? ResultToVariant(value, pResult) : S_OK;
}

HRESULT CScriptEngine::AddObject(const QString& name, IDispatch* pObject, bool addMembers)
{
    if (!pObject)
        return E_POINTER;
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$"));
    if (!identifier.match(name).hasMatch())
        return SetError(E_INVALIDARG, QStringLiteral("'%1' is no valid object name").arg(name));
    if (m_names.contains(name))
        return SetError(E_INVALIDARG, QStringLiteral("An object named '%1' was already added").arg(name));
    HRESULT hr = EnsureEngine();
    if (FAILED(hr))
        return hr;
    const bool timedOut = UnderTimeout(
        [&]
        {
            const int handle = HandleOf(pObject);
            if (handle < 0)
            {
                hr = m_conversionFailed
                         ? SetScriptError(TakeConversionError(), -1, 0, 0)
                         : SetError(E_NOINTERFACE, QStringLiteral("The object has no identity"));
                return;
            }
            m_fnDefine.call({QJSValue(name), m_objects[size_t(handle)].wrapper});
            m_names << name;
            m_procCache.clear();
            if (!addMembers)
                return;
            CComQIPtr<IDispatchEx> ex(DispatchAsUnknown(pObject));
            if (!ex)
                return;
            DISPID id = DISPID_STARTENUM;
            // A bound keeps a broken enumeration from running forever.
            for (int n = 0; n < 65536 && ex->GetNextDispID(fdexEnumAll, id, &id) == S_OK; ++n)
            {
                BSTR member = nullptr;
                if (SUCCEEDED(ex->GetMemberName(id, &member)) && member)
                {
                    const QString memberName = FromBstr(member);
                    m_fnDefine.call(
                        {QJSValue(memberName), m_fnMethod.call({QJSValue(handle), QJSValue(int(id))})});
                }
                SysFreeString(member);
            }
        });
    if (timedOut)
    {
        DropPendingError();
        return SetTimeoutError();
    }
    return hr;
}

std::vector<CScriptEngine::Procedure> CScriptEngine::Procedures()
{
    std::vector<Procedure> result;
    if (!m_engine)
        return result;
    // A procedure that the time-out cut short is left out.
    UnderTimeout(
        [&]
        {
            QJSValue global = m_engine->globalObject();
            for (const QString& name : m_procedures)
            {
                QJSValue fn = global.property(name);
                if (fn.isCallable() && !m_engine->isInterrupted())
                    result.push_back({name, LONG(fn.property(QStringLiteral("length")).toInt())});
            }
        });
    return result;
}

int CScriptEngine::HandleOf(IDispatch* pObject)
{
    IUnknown* identity = nullptr;
    if (FAILED(pObject->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || !identity)
        return -1;
    // The dispatch reference kept below keeps the identity alive.
    identity->Release();
    auto it = m_objectIndex.find(identity);
    if (it != m_objectIndex.end())
        return it->second;
    const int handle = int(m_objects.size());
    Named named;
    named.dispatch = pObject;
    if (!CallHelper(m_fnWrap, {QJSValue(handle)}, &named.wrapper))
        return -1;
    m_objects.push_back(std::move(named));
    m_objectIndex.emplace(identity, handle);
    return handle;
}

QVariant CScriptEngine::ResolveFromScript(int handle, const QString& name)
{
    if (handle < 0 || size_t(handle) >= m_objects.size())
        return QVariant();
    const std::wstring w = name.toStdWString();
    LPOLESTR names[] = {const_cast<LPOLESTR>(w.c_str())};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(
            m_objects[size_t(handle)].dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return QVariant();
    return QVariant(int(id));
}

void CScriptEngine::ThrowToScript(HRESULT hr, const EXCEPINFO& info)
{
    QString message;
    HRESULT number = hr;
    if (hr == DISP_E_EXCEPTION)
    {
        message = FromBstr(info.bstrDescription);
        if (FAILED(info.scode))
            number = info.scode;
    }
    if (message.isEmpty())
        message = hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME
                      ? QStringLiteral("Object doesn't support this property or method")
                      : QString::fromWCharArray(_com_error(number).ErrorMessage());
    QJSValue error = m_engine->newErrorObject(QJSValue::GenericError, message);
    error.setProperty(QStringLiteral("number"), QJSValue(int(number)));
    m_engine->throwError(error);
}

QVariant CScriptEngine::InvokeFromScript(int handle, DISPID id, WORD flags, const QVariant* args, int count)
{
    if (handle < 0 || size_t(handle) >= m_objects.size() || count < 0)
    {
        ThrowToScript(E_INVALIDARG, EXCEPINFO{});
        return QVariant();
    }
    // Trailing undefined arguments were not given.
    while (count > 0 && !args[count - 1].isValid())
        --count;
    // The object may be dropped by what it runs; keep it for the call.
    CComPtr<IDispatch> target = m_objects[size_t(handle)].dispatch;
    VARIANT argv[8];
    count = std::min(count, 8);
    for (int i = 0; i < count; ++i)
        FromQVariant(args[i], &argv[count - 1 - i]);
    if (m_conversionFailed)
    {
        // An argument could not be read (no stack left for it): the call fails with that error.
        for (int i = 0; i < count; ++i)
            VariantClear(&argv[i]);
        m_engine->throwError(TakeConversionError());
        return QVariant();
    }
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {argv, nullptr, UINT(count), 0};
    if (flags & DISPATCH_PROPERTYPUT)
    {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info = {};
    UINT argErr = 0;
    const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &info, &argErr);
    for (int i = 0; i < count; ++i)
        VariantClear(&argv[i]);
    if (FAILED(hr))
    {
        ThrowToScript(hr, info);
        QyrClearExcepInfo(&info);
        VariantClear(&result);
        return QVariant();
    }
    QyrClearExcepInfo(&info);
    QVariant out = ToQVariant(result);
    VariantClear(&result);
    if (m_conversionFailed)
    {
        m_engine->throwError(TakeConversionError());
        return QVariant();
    }
    return out;
}

void CScriptEngine::ReleaseHeld(int slot)
{
    if (slot < 0 || size_t(slot) >= m_held.size())
        return;
    m_held[size_t(slot)] = QJSValue();
    m_freeHeld.push_back(slot);
}

IDispatch* CScriptEngine::NewObjectDispatch(const QJSValue& object)
{
    int slot;
    if (!m_freeHeld.empty())
    {
        slot = m_freeHeld.back();
        m_freeHeld.pop_back();
        m_held[size_t(slot)] = object;
    }
    else
    {
        slot = int(m_held.size());
        m_held.push_back(object);
    }
    CJSObjectDispatch* p = new CJSObjectDispatch(m_link, slot);
    p->AddRef();
    return p;
}

HRESULT CScriptEngine::CallHeld(int slot, const QString& member, WORD flags, DISPPARAMS* pParams,
                                VARIANT* pResult, EXCEPINFO* pExcepInfo)
{
    if (!m_engine || slot < 0 || size_t(slot) >= m_held.size())
        return RPC_E_DISCONNECTED;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (!pParams)
        pParams = &none;
    if (pParams->cArgs && !pParams->rgvarg)
        return E_INVALIDARG;
    if (pResult)
        VariantInit(pResult);
    HRESULT hr = S_OK;
    if (UnderTimeout([&] { hr = CallHeldUnderTimeout(slot, member, flags, pParams, pResult, pExcepInfo); }))
    {
        DropPendingError();
        if (pResult)
            VariantClear(pResult);
        QyrFillExcepInfo(pExcepInfo, SCRIPT_E_TIMEOUT, L"Script timed out", L"JScript");
        return DISP_E_EXCEPTION;
    }
    return hr;
}

HRESULT CScriptEngine::CallHeldUnderTimeout(int slot, const QString& member, WORD flags, DISPPARAMS* pParams,
                                            VARIANT* pResult, EXCEPINFO* pExcepInfo)
{
    // Reports what the script threw, or a value that could not be read, as the call's exception.
    auto fail = [&](const QJSValue& error)
    {
        const std::wstring text = error.toString().toStdWString();
        QyrFillExcepInfo(pExcepInfo, SCRIPT_E_THROWN, text.c_str(), L"JScript");
        return DISP_E_EXCEPTION;
    };
    QJSValue object = m_held[size_t(slot)];
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
    {
        if (member.isEmpty() || pParams->cArgs != 1)
            return member.isEmpty() ? DISP_E_MEMBERNOTFOUND : DISP_E_BADPARAMCOUNT;
        const QJSValue value = ToJs(pParams->rgvarg[0]);
        if (m_conversionFailed)
            return fail(TakeConversionError());
        object.setProperty(member, value);
        return S_OK;
    }
    QJSValue target = member.isEmpty() ? object : object.property(member);
    QJSValue value;
    if ((flags & DISPATCH_METHOD) && target.isCallable())
    {
        QJSValueList args;
        for (UINT i = pParams->cArgs; i > 0; --i)
            args << ToJs(pParams->rgvarg[i - 1]);
        if (m_conversionFailed)
            return fail(TakeConversionError());
        QJSManagedValue fn(target, m_engine.get());
        value = member.isEmpty() ? fn.call(args) : fn.callWithInstance(object, args);
        if (m_engine->hasError())
            return fail(m_engine->catchError());
    }
    else if ((flags & DISPATCH_PROPERTYGET) && pParams->cArgs == 0)
        value = member.isEmpty() ? QJSValue(object.toString()) : target;
    else
        return DISP_E_MEMBERNOTFOUND;
    if (!pResult)
        return S_OK;
    const HRESULT hr = FromJs(value, pResult);
    if (!m_conversionFailed)
        return hr;
    VariantClear(pResult);
    return fail(TakeConversionError());
}

// Conversions.

QJSValue CScriptEngine::StringToJs(const wchar_t* s, size_t len)
{
    // Making an engine string is the costly part of a call; the same texts come again and again.
    constexpr size_t kMaxCachedLength = 256;
    constexpr size_t kMaxCached = 512;
    if (len > kMaxCachedLength)
        return m_engine->toScriptValue(QString::fromWCharArray(s, qsizetype(len)));
    const std::wstring_view key(s, len);
    auto it = m_strings.find(key);
    if (it != m_strings.end())
        return it->second;
    if (m_strings.size() >= kMaxCached)
        m_strings.clear();
    QJSValue value = m_engine->toScriptValue(QString::fromWCharArray(s, qsizetype(len)));
    m_strings.emplace(std::wstring(key), value);
    return value;
}

QJSValue CScriptEngine::ToJs(const VARIANT& v)
{
    if (v.vt & VT_BYREF)
    {
        VARIANT copy;
        VariantInit(&copy);
        if (FAILED(VariantCopyInd(&copy, &v)))
            return QJSValue();
        QJSValue out = ToJs(copy);
        VariantClear(&copy);
        return out;
    }
    if (v.vt & VT_ARRAY)
    {
        SAFEARRAY* psa = v.parray;
        VARTYPE vt = VT_EMPTY;
        LONG lower = 0;
        LONG upper = -1;
        if (!psa || SafeArrayGetDim(psa) != 1 || FAILED(SafeArrayGetVartype(psa, &vt)) ||
            FAILED(SafeArrayGetLBound(psa, 1, &lower)) || FAILED(SafeArrayGetUBound(psa, 1, &upper)))
            return QJSValue();
        const LONG count = upper >= lower ? upper - lower + 1 : 0;
        QJSValue array = m_engine->newArray(uint(count));
        for (LONG i = 0; i < count; ++i)
        {
            LONG index = lower + i;
            VARIANT element;
            VariantInit(&element);
            if (vt == VT_VARIANT)
                SafeArrayGetElement(psa, &index, &element);
            else if (SUCCEEDED(SafeArrayGetElement(psa, &index, &element.llVal)))
                element.vt = vt;
            array.setProperty(quint32(i), ToJs(element));
            VariantClear(&element);
        }
        return array;
    }
    switch (v.vt)
    {
    case VT_EMPTY:
    case VT_ERROR: // a missing argument
        return QJSValue();
    case VT_NULL:
        return QJSValue(QJSValue::NullValue);
    case VT_I1:
        return QJSValue(int(v.cVal));
    case VT_I2:
        return QJSValue(int(v.iVal));
    case VT_I4:
    case VT_INT:
        return QJSValue(int(v.lVal));
    case VT_UI1:
        return QJSValue(int(v.bVal));
    case VT_UI2:
        return QJSValue(int(v.uiVal));
    case VT_UI4:
    case VT_UINT:
        return QJSValue(double(v.ulVal));
    case VT_I8:
        return QJSValue(double(v.llVal));
    case VT_UI8:
        return QJSValue(double(v.ullVal));
    case VT_R4:
        return QJSValue(double(v.fltVal));
    case VT_R8:
        return QJSValue(v.dblVal);
    case VT_CY:
        return QJSValue(double(v.cyVal.int64) / 10000.0);
    case VT_DATE:
        return m_engine->toScriptValue(DateToQt(v.date));
    case VT_BSTR:
        return v.bstrVal ? StringToJs(v.bstrVal, SysStringLen(v.bstrVal)) : QJSValue(QString());
    case VT_BOOL:
        return QJSValue(v.boolVal != VARIANT_FALSE);
    case VT_DISPATCH:
    case VT_UNKNOWN:
    {
        CComPtr<IDispatch> dispatch;
        if (v.vt == VT_DISPATCH)
            dispatch = v.pdispVal;
        else if (v.punkVal)
            v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        if (!dispatch)
            return QJSValue(QJSValue::NullValue);
        if (auto* own = dynamic_cast<CJSObjectDispatch*>(static_cast<IDispatch*>(dispatch)))
        {
            if (own->Link() == m_link.get() && size_t(own->Slot()) < m_held.size())
                return m_held[size_t(own->Slot())];
        }
        const int handle = HandleOf(dispatch);
        return handle < 0 ? QJSValue(QJSValue::NullValue) : m_objects[size_t(handle)].wrapper;
    }
    default:
    {
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &v, 0, VT_BSTR)))
            return QJSValue();
        QJSValue out(FromBstr(text.bstrVal));
        VariantClear(&text);
        return out;
    }
    }
}

HRESULT CScriptEngine::FromJs(const QJSValue& v, VARIANT* pOut)
{
    VariantInit(pOut);
    if (v.isUndefined())
        return S_OK;
    if (v.isNull())
        pOut->vt = VT_NULL;
    else if (v.isBool())
    {
        pOut->vt = VT_BOOL;
        pOut->boolVal = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
    }
    else if (v.isNumber())
        NumberToVariant(v.toNumber(), pOut);
    else if (v.isString())
    {
        pOut->bstrVal = ToBstr(v.toString());
        if (!pOut->bstrVal)
            return E_OUTOFMEMORY;
        pOut->vt = VT_BSTR;
    }
    else if (v.isDate())
    {
        pOut->vt = VT_DATE;
        pOut->date = QtToDate(v.toDateTime());
    }
    else if (v.isObject() || v.isCallable())
    {
        // Asking the script for the handle needs stack: without it the value cannot be read.
        QJSValue h;
        if (!CallHelper(m_fnHandleOf, {v}, &h))
            return E_FAIL;
        const int handle = h.isNumber() ? h.toInt() : -1;
        if (handle >= 0 && size_t(handle) < m_objects.size())
        {
            pOut->pdispVal = m_objects[size_t(handle)].dispatch;
            pOut->pdispVal->AddRef();
        }
        else
            pOut->pdispVal = NewObjectDispatch(v);
        pOut->vt = VT_DISPATCH;
    }
    return S_OK;
}

HRESULT CScriptEngine::FromQVariant(const QVariant& v, VARIANT* pOut)
{
    VariantInit(pOut);
    switch (v.typeId())
    {
    case QMetaType::UnknownType:
        return S_OK;
    case QMetaType::Nullptr:
        pOut->vt = VT_NULL;
        return S_OK;
    case QMetaType::Bool:
        pOut->vt = VT_BOOL;
        pOut->boolVal = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case QMetaType::Int:
        pOut->vt = VT_I4;
        pOut->lVal = v.toInt();
        return S_OK;
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        NumberToVariant(v.toDouble(), pOut);
        return S_OK;
    case QMetaType::QString:
        pOut->bstrVal = ToBstr(v.toString());
        pOut->vt = pOut->bstrVal ? VT_BSTR : VT_EMPTY;
        return pOut->bstrVal ? S_OK : E_OUTOFMEMORY;
    case QMetaType::QDateTime:
        pOut->vt = VT_DATE;
        pOut->date = QtToDate(v.toDateTime());
        return S_OK;
    default:
        break;
    }
    if (v.typeId() == qMetaTypeId<QJSValue>())
        return FromJs(v.value<QJSValue>(), pOut);
    if (v.canConvert<QString>())
    {
        pOut->bstrVal = ToBstr(v.toString());
        pOut->vt = VT_BSTR;
    }
    return S_OK;
}

QVariant CScriptEngine::ToQVariant(const VARIANT& v)
{
    switch (v.vt)
    {
    case VT_EMPTY:
    case VT_ERROR:
        return QVariant();
    case VT_NULL:
        return QVariant::fromValue(nullptr);
    case VT_I2:
        return QVariant(int(v.iVal));
    case VT_I4:
    case VT_INT:
        return QVariant(int(v.lVal));
    case VT_R4:
        return QVariant(double(v.fltVal));
    case VT_R8:
        return QVariant(v.dblVal);
    case VT_BOOL:
        return QVariant(v.boolVal != VARIANT_FALSE);
    case VT_BSTR:
        return QVariant(FromBstr(v.bstrVal));
    default:
        return QVariant::fromValue(ToJs(v));
    }
}
