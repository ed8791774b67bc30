#include "model/ScriptObject.h"

#include "com/ClassRegistry.h"
#include "com/ComError.h"
#include "mfc/File.h"
#include "mfc/ResourceModule.h"
#include "mfc/ResourceScript.h"
#include "script/ScriptControl.h"
#include "win32/System.h"

#include <cwchar>
#include <algorithm>
#include <memory>
#include <new>
#include <string>

namespace
{
// Script files are small; anything beyond this is not one.
constexpr ULONGLONG kMaxScriptBytes = 64ull * 1024 * 1024;

class CBstr
{
public:
    explicit CBstr(LPCWSTR s) : m_b(SysAllocString(s ? s : L"")) {}
    CBstr(const wchar_t* s, size_t n) : m_b(SysAllocStringLen(s, UINT(n))) {}
    ~CBstr() { SysFreeString(m_b); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};
} // namespace

CScriptObject::CScriptObject()
{
    wcscpy(m_szLanguage, L"JScript");
    m_szError[0] = 0;
    QyrRegisterScriptControl();
    HRESULT hr = CoCreateInstance(CLSID_ScriptControl, nullptr, CLSCTX_ALL, IID_IScriptControl,
                                  reinterpret_cast<void**>(&m_pScript));
    if (SUCCEEDED(hr))
        hr = m_pScript->put_AllowUI(VARIANT_FALSE);
    if (SUCCEEDED(hr))
        hr = m_pScript->put_Language(CBstr(m_szLanguage));
    if (FAILED(hr))
    {
        if (m_pScript)
            m_pScript->Release();
        m_pScript = nullptr;
        _com_issue_error(hr);
    }
}

CScriptObject::~CScriptObject()
{
    if (m_pScript)
        m_pScript->Release();
}

BOOL CScriptObject::SetLanguage(LPCWSTR lpszLanguage)
{
    if (!lpszLanguage || wcslen(lpszLanguage) > 40)
        return FALSE;
    wcscpy(m_szLanguage, lpszLanguage);
    if (!m_pScript)
        return FALSE;
    HRESULT hr = m_pScript->put_Language(CBstr(m_szLanguage));
    if (SUCCEEDED(hr))
        hr = m_pScript->Reset();
    if (FAILED(hr))
        _com_issue_error(hr);
    return TRUE;
}

BOOL CScriptObject::Reset()
{
    if (!m_pScript)
        return FALSE;
    const HRESULT hr = m_pScript->Reset();
    if (FAILED(hr))
        _com_issue_error(hr);
    return TRUE;
}

BOOL CScriptObject::AddAnsiCode(const char* bytes, size_t size)
{
    if (size > size_t(INT32_MAX))
        return FALSE;
    std::wstring text;
    if (size)
    {
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes, int(size), nullptr, 0);
        if (n <= 0)
            return FALSE;
        text.resize(size_t(n));
        MultiByteToWideChar(CP_ACP, 0, bytes, int(size), text.data(), n);
    }
    // The text ends at its first zero, as the buffer read it.
    text.resize(wcsnlen(text.c_str(), text.size()));
    return AddScript(text.c_str());
}

BOOL CScriptObject::LoadScript(LPCWSTR lpszFileName)
{
    if (!m_pScript || !lpszFileName)
        return FALSE;
    CFile file;
    if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    std::unique_ptr<char[]> buffer;
    size_t size = 0;
    try
    {
        const ULONGLONG length = file.GetLength();
        if (length > kMaxScriptBytes)
            return FALSE;
        size = size_t(length);
        buffer.reset(new (std::nothrow) char[size + 1]());
        if (!buffer)
            return FALSE;
        size_t done = 0;
        while (done < size)
        {
            const UINT got = file.Read(buffer.get() + done, UINT(size - done));
            if (got == 0)
                break;
            done += got;
        }
        size = done;
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    return AddAnsiCode(buffer.get(), size);
}

BOOL CScriptObject::LoadScriptResource(LPCWSTR lpszName, LPCWSTR lpszType, HMODULE hModule)
{
    if (!m_pScript)
        return FALSE;
    const AFX_RESOURCE_DATA* data = hModule ? AfxFindResourceData(HINSTANCE(hModule), lpszName, lpszType)
                                            : AfxFindResourceData(lpszName, lpszType);
    if (!data || (!data->pData && data->nSize))
        return FALSE;
    return AddAnsiCode(reinterpret_cast<const char*>(data->pData), data->nSize);
}

BOOL CScriptObject::AddScript(LPCWSTR lpszCode)
{
    if (!m_pScript)
        return FALSE;
    if (FAILED(m_pScript->AddCode(CBstr(lpszCode))))
        return FALSE;
    return GetMethodsName();
}

BOOL CScriptObject::AddObject(LPCWSTR lpszName, IDispatch* pDispatch, BOOL bAddMembers)
{
    if (!m_pScript)
        return FALSE;
    return SUCCEEDED(
        m_pScript->AddObject(CBstr(lpszName), pDispatch, bAddMembers ? VARIANT_TRUE : VARIANT_FALSE));
}

BOOL CScriptObject::ExecuteStatement(LPCWSTR lpszStatement)
{
    if (!m_pScript)
        return FALSE;
    return SUCCEEDED(m_pScript->ExecuteStatement(CBstr(lpszStatement)));
}

int CScriptObject::SetTimeout(LONG lMilliseconds)
{
    if (!m_pScript)
        return 0;
    return SUCCEEDED(m_pScript->put_Timeout(lMilliseconds)) ? 1 : 0;
}

BOOL CScriptObject::GetMethodsName()
{
    if (!m_pScript)
        return FALSE;
    m_functions.clear();
    IScriptProcedureCollection* procs = nullptr;
    if (FAILED(m_pScript->get_Procedures(&procs)) || !procs)
        return FALSE;
    LONG count = 0;
    procs->get_Count(&count);
    for (LONG i = 1; i <= count; ++i)
    {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        IScriptProcedure* proc = nullptr;
        if (SUCCEEDED(procs->get_Item(index, &proc)) && proc)
        {
            BSTR name = nullptr;
            if (SUCCEEDED(proc->get_Name(&name)))
                m_functions.emplace_back(name ? name : L"");
            SysFreeString(name);
            proc->Release();
        }
    }
    procs->Release();
    return TRUE;
}

CString CScriptObject::GetNameAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetMethodsCount())
        return CString();
    return m_functions[size_t(nIndex)];
}

BOOL CScriptObject::HasFunction(LPCWSTR lpszName) const
{
    if (!lpszName)
        return FALSE;
    for (const CString& name : m_functions)
    {
        if (wcscmp(name, lpszName) == 0)
            return TRUE;
    }
    return FALSE;
}

CString CScriptObject::GetScriptFunction(LPCWSTR lpszName) const
{
    return HasFunction(lpszName) ? CString(lpszName) : CString();
}

BOOL CScriptObject::RunProcedure(LPCWSTR lpszName, SAFEARRAY** ppsaParameters, VARIANT* pvarResult)
{
    if (!m_pScript || !HasFunction(lpszName))
        return FALSE;
    VARIANT result;
    VariantInit(&result);
    if (FAILED(m_pScript->Run(CBstr(lpszName), ppsaParameters, &result)))
        return FALSE;
    if (pvarResult)
        *pvarResult = result;
    else
        VariantClear(&result);
    return TRUE;
}

LPCWSTR CScriptObject::GetErrorString()
{
    m_szError[0] = 0;
    if (!m_pScript)
        return m_szError;
    IScriptError* error = nullptr;
    if (FAILED(m_pScript->get_Error(&error)) || !error)
        return m_szError;
    LONG number = 0;
    error->get_Number(&number);
    if (number != 0)
    {
        BSTR description = nullptr;
        BSTR text = nullptr;
        LONG line = 0;
        error->get_Description(&description);
        error->get_Text(&text);
        error->get_Line(&line);
        std::wstring message = L"Error: ";
        message += description ? description : L"";
        message += L", ";
        message += text ? text : L"";
        message += L"; in line ";
        message += std::to_wstring(line);
        SysFreeString(description);
        SysFreeString(text);
        const size_t n = std::min<size_t>(message.size(), 256);
        wmemcpy(m_szError, message.data(), n);
        m_szError[n] = 0;
        error->Clear();
    }
    error->Release();
    return m_szError;
}
