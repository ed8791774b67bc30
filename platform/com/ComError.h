// _com_error: the exception that carries a failed HRESULT.
#pragma once

#include "com/ComUtil.h"

#include <string>

class _com_error
{
public:
    explicit _com_error(HRESULT hr) noexcept;
    // With the description and source an automation error reports.
    _com_error(HRESULT hr, const std::wstring& description, const std::wstring& source = std::wstring());
    _com_error(const _com_error& that);
    _com_error& operator=(const _com_error& that);
    virtual ~_com_error();

    HRESULT Error() const noexcept;
    // The dispatch error number for HRESULTs 0x80040200 and up of the interface facility, else 0.
    WORD WCode() const noexcept;
    // The system's text for the code without its line end, or "Unknown error 0x%08X"
    // ("IDispatch error #%d" for a WCode).
    const wchar_t* ErrorMessage() const;
    _bstr_t Description() const;
    _bstr_t Source() const;

    static HRESULT WCodeToHRESULT(WORD wCode) noexcept;
    static WORD HRESULTToWCode(HRESULT hr) noexcept;

private:
    HRESULT m_hresult;
    std::wstring m_description;
    std::wstring m_source;
    mutable std::wstring m_message;
};
