// The engine behind one script control: a QJSEngine with the added code, the named objects and
// the bridge through which scripts call automation objects. Used on its owner's thread only.
#pragma once

#include "com/ComPtr.h"
#include "com/Dispatch.h"
#include "com/SafeArray.h"
#include "script/ScriptWatchdog.h"

#include <QJSManagedValue>
#include <QJSValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

class QJSEngine;
class CScriptEngine;

// The last error of a control; shared with its Error object, which may be read from anywhere.
struct CScriptErrorState
{
    std::mutex mutex;
    HRESULT number = S_OK;
    std::wstring source;
    std::wstring description;
    std::wstring text;
    LONG line = 0;
    LONG column = 0;

    void Clear();
    void Set(HRESULT hr, const QString& src, const QString& desc, const QString& lineText, LONG ln, LONG col);
};

// Lets objects that outlive an engine (the dispatches of script objects handed out) find out
// whether it is still there.
struct CScriptEngineLink
{
    std::atomic<CScriptEngine*> engine{nullptr};
    std::thread::id thread;
};

// The object scripts call to reach automation objects (see the prelude in the source).
class CScriptBridge : public QObject
{
    Q_OBJECT
public:
    explicit CScriptBridge(CScriptEngine* owner) : m_owner(owner) {}

    Q_INVOKABLE QVariant resolve(int handle, const QString& name);
    Q_INVOKABLE QVariant call0(int handle, int id);
    Q_INVOKABLE QVariant call1(int handle, int id, const QVariant& a0);
    Q_INVOKABLE QVariant call4(int handle, int id, const QVariant& a0, const QVariant& a1, const QVariant& a2,
                               const QVariant& a3);
    Q_INVOKABLE QVariant call8(int handle, int id, const QVariant& a0, const QVariant& a1, const QVariant& a2,
                               const QVariant& a3, const QVariant& a4, const QVariant& a5, const QVariant& a6,
                               const QVariant& a7);
    Q_INVOKABLE void put(int handle, int id, const QVariant& value);

private:
    CScriptEngine* m_owner;
};

class CScriptEngine
{
public:
    struct Procedure
    {
        QString name;
        LONG numArgs;
    };

    explicit CScriptEngine(std::shared_ptr<CScriptErrorState> error);
    ~CScriptEngine();
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;

    HRESULT AddCode(const QString& code);
    HRESULT ExecuteStatement(const QString& code);
    HRESULT Eval(const QString& expression, VARIANT* pResult);
    HRESULT Run(const QString& name, SAFEARRAY* pArgs, VARIANT* pResult);
    HRESULT AddObject(const QString& name, IDispatch* pObject, bool addMembers);
    // E_UNEXPECTED while code runs.
    HRESULT Reset();
    void SetTimeout(LONG ms) { m_timeout = ms; }
    LONG GetTimeout() const { return m_timeout; }
    std::vector<Procedure> Procedures();

    // Calls from the bridge and from script objects' dispatches.
    QVariant InvokeFromScript(int handle, DISPID id, WORD flags, const QVariant* args, int count);
    QVariant ResolveFromScript(int handle, const QString& name);
    HRESULT CallHeld(int slot, const QString& member, WORD flags, DISPPARAMS* pParams, VARIANT* pResult,
                     EXCEPINFO* pExcepInfo);
    void ReleaseHeld(int slot);

private:
    HRESULT EnsureEngine();
    HRESULT Evaluate(const QString& code, bool scan, VARIANT* pResult);
    HRESULT RunUnderTimeout(const QString& name, SAFEARRAY* pArgs, VARIANT* pResult);
    // The result of a call for the host; a value that cannot be read makes the call's error.
    HRESULT ResultToVariant(const QJSValue& value, VARIANT* pResult);
    HRESULT CallHeldUnderTimeout(int slot, const QString& member, WORD flags, DISPPARAMS* pParams,
                                 VARIANT* pResult, EXCEPINFO* pExcepInfo);
    void Begin();
    bool End();
    // Runs work done for the host, turning values and errors into text included, under the
    // time-out (a nested call shares the outer one's). TRUE when the time ran out: what the work
    // made is then to be dropped.
    template <class F> bool UnderTimeout(F work)
    {
        Begin();
        work();
        return End();
    }
    // Drops the error that a timed-out call left pending.
    void DropPendingError();
    // Calls one of the prelude's helpers. FALSE when it could not finish (no stack left, the time
    // ran out, script code it reached threw); the reason is then the conversion error.
    bool CallHelper(const QJSManagedValue& fn, const QJSValueList& args, QJSValue* pResult);
    void SetConversionError(const QJSValue& error);
    QJSValue TakeConversionError();
    // The error of an exception value, or of a time-out.
    HRESULT SetScriptError(const QJSValue& exception, int block, int stackLine, int stackColumn);
    HRESULT SetTimeoutError();
    HRESULT SetError(HRESULT hr, const QString& description);
    void ThrowToScript(HRESULT hr, const EXCEPINFO& info);

    int HandleOf(IDispatch* pObject);
    QJSValue ToJs(const VARIANT& v);
    QJSValue StringToJs(const wchar_t* s, size_t len);
    HRESULT FromJs(const QJSValue& v, VARIANT* pOut);
    HRESULT FromQVariant(const QVariant& v, VARIANT* pOut);
    QVariant ToQVariant(const VARIANT& v);
    IDispatch* NewObjectDispatch(const QJSValue& object);

    struct Named
    {
        CComPtr<IDispatch> dispatch;
        QJSValue wrapper;
    };
    struct WideHash
    {
        using is_transparent = void;
        size_t operator()(std::wstring_view s) const { return std::hash<std::wstring_view>()(s); }
    };

    std::shared_ptr<CScriptErrorState> m_error;
    std::shared_ptr<CScriptEngineLink> m_link;
    std::unique_ptr<QJSEngine> m_engine;
    std::unique_ptr<CScriptBridge> m_bridge;
    CScriptWatchdog m_watchdog;
    std::atomic<QJSEngine*> m_interruptTarget{nullptr};
    LONG m_timeout = 10000;
    int m_depth = 0;

    // A value that could not be made or read because script code could not run (see CallHelper);
    // the caller that began the conversion reports it.
    bool m_conversionFailed = false;
    QJSValue m_conversionError;

    QJSManagedValue m_fnWrap;
    QJSValue m_fnMethod;
    QJSManagedValue m_fnHandleOf;
    QJSValue m_fnDefine;
    QStringList m_blocks;
    QStringList m_procedures;
    QStringList m_names;
    std::vector<Named> m_objects;
    std::unordered_map<IUnknown*, int> m_objectIndex;
    std::vector<QJSValue> m_held;
    std::vector<int> m_freeHeld;
    std::unordered_map<QString, QJSManagedValue> m_procCache;
    std::unordered_map<std::wstring, QJSValue, WideHash, std::equal_to<>> m_strings;
};
