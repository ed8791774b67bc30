#include "foundation/VersionInfo.h"

#include "mfc/ResourceModule.h"
#include "win32/Files.h"

#include <cwctype>

namespace
{
CString FormatFixed(DWORD ms, DWORD ls)
{
    CString s;
    if (LOWORD(ls) == 0)
        s.Format(L"%d.%d.%d", HIWORD(ms), LOWORD(ms), HIWORD(ls));
    else
        s.Format(L"%d.%d.%d.%d", HIWORD(ms), LOWORD(ms), HIWORD(ls), LOWORD(ls));
    return s;
}

CString ProgramFile()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH - 1);
    return CString(std::wstring(path, n).c_str());
}
} // namespace

CVersionInfo::CVersionInfo(BOOL bVersionOnly) : m_bVersionOnly(bVersionOnly)
{
    GetVersionInfo();
}

CVersionInfo::CVersionInfo(WORD wLanguage) : m_wLanguage(wLanguage)
{
    GetVersionInfo();
}

CVersionInfo::CVersionInfo(LPCWSTR szFileToVersion, BOOL bDllVersion)
    : m_bDllVersion(bDllVersion), m_strFileName(szFileToVersion)
{
    GetVersionInfo();
}

CVersionInfo::CVersionInfo(LPCWSTR szFileToVersion, LPCWSTR szLanguage, LPCWSTR szCodepage)
    : m_strFileName(szFileToVersion), m_strLanguage(szLanguage), m_strCodepage(szCodepage)
{
    GetVersionInfo();
}

CVersionInfo::CVersionInfo(HINSTANCE hModule)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD n = hModule ? GetModuleFileNameW(hModule, path, MAX_PATH - 1) : 0;
    m_strFileName = CString(std::wstring(path, n).c_str());
    GetVersionInfo();
}

void CVersionInfo::GetVersionInfo()
{
    if (m_strFileName.GetLength() >= MAX_PATH)
        return;
    const CString program = ProgramFile();
    const bool own = m_strFileName.IsEmpty() || m_strFileName == program;
    if (m_strFileName.IsEmpty())
        m_strFileName = program;
    // The program itself is not loaded again; a library is loaded for the query only.
    const HMODULE hModule = own ? AfxGetInstanceHandle() : LoadLibraryW(m_strFileName);
    if (!hModule)
        return;
    if (const AFX_VERSION_INFO* info = AfxFindVersionInfo(hModule))
    {
        m_bVersionFound = TRUE;
        GetFixedVersionInfo(*info);
        if (!m_bVersionOnly)
            QueryStrings(*info);
    }
    if (m_bDllVersion && !own)
    {
        auto proc = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(hModule, "DllGetVersion"));
        if (proc)
        {
            m_dvi = {};
            m_dvi.cbSize = sizeof(DLLVERSIONINFO);
            if (FAILED(proc(&m_dvi)))
                m_dvi.cbSize = 0;
        }
    }
    if (!own)
        FreeLibrary(hModule);
}

void CVersionInfo::GetFixedVersionInfo(const AFX_VERSION_INFO& info)
{
    m_FixedFileInfo = {};
    m_FixedFileInfo.dwSignature = VS_FFI_SIGNATURE;
    m_FixedFileInfo.dwStrucVersion = VS_FFI_STRUCVERSION;
    m_FixedFileInfo.dwFileVersionMS = info.dwFileVersionMS;
    m_FixedFileInfo.dwFileVersionLS = info.dwFileVersionLS;
    m_FixedFileInfo.dwProductVersionMS = info.dwProductVersionMS;
    m_FixedFileInfo.dwProductVersionLS = info.dwProductVersionLS;
    m_FixedFileInfo.dwFileFlagsMask = info.dwFileFlagsMask;
    m_FixedFileInfo.dwFileFlags = info.dwFileFlags;
    m_FixedFileInfo.dwFileOS = info.dwFileOS;
    m_FixedFileInfo.dwFileType = info.dwFileType;
    m_FixedFileInfo.dwFileSubtype = info.dwFileSubtype;
    m_dvi.dwMajorVersion = HIWORD(info.dwFileVersionMS);
    m_dvi.dwMinorVersion = LOWORD(info.dwFileVersionMS);
    m_dvi.dwBuildNumber = HIWORD(info.dwFileVersionLS);
}

BOOL CVersionInfo::GetCodepageForLanguage(const AFX_VERSION_INFO& info, WORD wLanguage,
                                          CString& codepage) const
{
    for (const auto& [lang, cp] : info.translations)
        if (lang == wLanguage)
        {
            codepage.Format(L"%04x", cp);
            return TRUE;
        }
    return FALSE;
}

void CVersionInfo::QueryStrings(const AFX_VERSION_INFO& info)
{
    if (m_wLanguage != 0)
    {
        m_strLanguage.Format(L"%04x", m_wLanguage);
        m_strCodepage.Empty();
        GetCodepageForLanguage(info, m_wLanguage, m_strCodepage);
    }
    else if ((m_strLanguage.IsEmpty() || m_strCodepage.IsEmpty()) && !info.translations.empty())
    {
        m_strLanguage.Format(L"%4.4X", info.translations.front().first);
        m_strCodepage.Format(L"%4.4X", info.translations.front().second);
    }
    m_strCompanyName = QueryValue(info, L"CompanyName");
    m_strFileDescription = QueryValue(info, L"FileDescription");
    m_strFileVersion = QueryValue(info, L"FileVersion");
    m_strInternalName = QueryValue(info, L"InternalName");
    m_strLegalCopyright = QueryValue(info, L"LegalCopyright");
    m_strOriginalFilename = QueryValue(info, L"OriginalFilename");
    m_strProductName = QueryValue(info, L"ProductName");
    m_strProductVersion = QueryValue(info, L"ProductVersion");
    m_strComments = QueryValue(info, L"Comments");
    m_strSpecialBuild = QueryValue(info, L"SpecialBuild");
    m_strPrivateBuild = QueryValue(info, L"PrivateBuild");
}

CString CVersionInfo::QueryValue(const AFX_VERSION_INFO& info, LPCWSTR szName) const
{
    std::wstring block = (m_strLanguage + m_strCodepage).str();
    for (wchar_t& c : block)
        c = wchar_t(std::towupper(c));
    auto it = info.strings.find(block);
    if (it == info.strings.end())
        return CString();
    auto value = it->second.find(szName);
    if (value == it->second.end())
        return CString();
    CString s = value->second;
    s.Trim();
    return s;
}

CString CVersionInfo::GetFixedFileVersion() const
{
    if (!m_bVersionFound)
        return CString();
    return FormatFixed(m_FixedFileInfo.dwFileVersionMS, m_FixedFileInfo.dwFileVersionLS);
}

CString CVersionInfo::GetFixedProductVersion() const
{
    if (!m_bVersionFound)
        return CString();
    return FormatFixed(m_FixedFileInfo.dwProductVersionMS, m_FixedFileInfo.dwProductVersionLS);
}

BOOL CVersionInfo::GetFixedFileVersion(DWORD& versionMS, DWORD& versionLS) const
{
    if (!m_bVersionFound)
        return FALSE;
    versionMS = m_FixedFileInfo.dwFileVersionMS;
    versionLS = m_FixedFileInfo.dwFileVersionLS;
    return TRUE;
}
