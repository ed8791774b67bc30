#include "com/ComError.h"

#include "win32/System.h"

#include <cwchar>

_com_error::_com_error(HRESULT hr) noexcept : m_hresult(hr) {}

_com_error::_com_error(HRESULT hr, const std::wstring& description, const std::wstring& source)
    : m_hresult(hr), m_description(description), m_source(source)
{
}

_com_error::_com_error(const _com_error& that) = default;
_com_error& _com_error::operator=(const _com_error& that) = default;
_com_error::~_com_error() = default;

HRESULT _com_error::Error() const noexcept
{
    return m_hresult;
}

WORD _com_error::WCode() const noexcept
{
    return HRESULTToWCode(m_hresult);
}

HRESULT _com_error::WCodeToHRESULT(WORD wCode) noexcept
{
    return wCode >= 0xFE00 ? HRESULT(0x8004FFFFu) : HRESULT(0x80040200u + wCode);
}

WORD _com_error::HRESULTToWCode(HRESULT hr) noexcept
{
    const DWORD v = DWORD(hr);
    return (v >= 0x80040200u && v <= 0x8004FFFFu) ? WORD(v - 0x80040200u) : WORD(0);
}

const wchar_t* _com_error::ErrorMessage() const
{
    if (!m_message.empty())
        return m_message.c_str();
    LPWSTR text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, DWORD(m_hresult), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (n && text)
    {
        m_message = text;
        while (!m_message.empty() && (m_message.back() == L'\n' || m_message.back() == L'\r'))
            m_message.pop_back();
    }
    LocalFree(text);
    if (m_message.empty())
    {
        wchar_t buf[64];
        if (const WORD w = WCode())
            swprintf(buf, 64, L"IDispatch error #%u", unsigned(w));
        else
            swprintf(buf, 64, L"Unknown error 0x%08X", unsigned(m_hresult));
        m_message = buf;
    }
    return m_message.c_str();
}

_bstr_t _com_error::Description() const
{
    return m_description.empty() ? _bstr_t() : _bstr_t(m_description.c_str());
}

_bstr_t _com_error::Source() const
{
    return m_source.empty() ? _bstr_t() : _bstr_t(m_source.c_str());
}

void _com_issue_error(HRESULT hr)
{
    throw _com_error(hr);
}
