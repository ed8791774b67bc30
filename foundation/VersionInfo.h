// Reads a module's version record: the fixed file and product versions and the version strings of
// one language. A module is the running program (no file name) or a library of ours, loaded for the
// query and freed after it. Every string stays empty when the module has no version record.
#pragma once

#include "mfc/CString.h"

#ifndef VS_FFI_SIGNATURE
#define VS_FFI_SIGNATURE 0xFEEF04BDL
#define VS_FFI_STRUCVERSION 0x00010000L
#endif

struct VS_FIXEDFILEINFO
{
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

struct DLLVERSIONINFO
{
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};
typedef HRESULT (*DLLGETVERSIONPROC)(DLLVERSIONINFO*);

struct AFX_VERSION_INFO;

class CVersionInfo
{
public:
    explicit CVersionInfo(BOOL bVersionOnly = FALSE);
    explicit CVersionInfo(WORD wLanguage);
    CVersionInfo(LPCWSTR szFileToVersion, BOOL bDllVersion);
    CVersionInfo(LPCWSTR szFileToVersion, LPCWSTR szLanguage, LPCWSTR szCodepage);
    explicit CVersionInfo(HINSTANCE hModule);
    CVersionInfo(const CVersionInfo&) = default;
    CVersionInfo& operator=(const CVersionInfo&) = default;

    CString GetFileVersion() const { return m_strFileVersion; }
    CString GetPrivateBuild() const { return m_strPrivateBuild; }
    CString GetSpecialBuild() const { return m_strSpecialBuild; }
    CString GetCompanyName() const { return m_strCompanyName; }
    CString GetFileDescription() const { return m_strFileDescription; }
    CString GetInternalName() const { return m_strInternalName; }
    CString GetLegalCopyright() const { return m_strLegalCopyright; }
    CString GetOriginalFilename() const { return m_strOriginalFilename; }
    CString GetProductName() const { return m_strProductName; }
    CString GetProductVersion() const { return m_strProductVersion; }
    CString GetComments() const { return m_strComments; }
    CString GetLanguage() const { return m_strLanguage; }
    CString GetCodepage() const { return m_strCodepage; }
    // "%d.%d.%d.%d", or "%d.%d.%d" when the fourth part is 0; empty when no version was found.
    CString GetFixedFileVersion() const;
    CString GetFixedProductVersion() const;
    // Both 32-bit halves; FALSE when no version was found.
    BOOL GetFixedFileVersion(DWORD& versionMS, DWORD& versionLS) const;
    BOOL IsVersionFound() const { return m_bVersionFound; }
    const DLLVERSIONINFO& GetDllVersion() const { return m_dvi; }

protected:
    void GetVersionInfo();
    void QueryStrings(const AFX_VERSION_INFO& info);
    CString QueryValue(const AFX_VERSION_INFO& info, LPCWSTR szName) const;
    void GetFixedVersionInfo(const AFX_VERSION_INFO& info);
    BOOL GetCodepageForLanguage(const AFX_VERSION_INFO& info, WORD wLanguage, CString& codepage) const;

private:
    VS_FIXEDFILEINFO m_FixedFileInfo = {};
    BOOL m_bVersionOnly = FALSE;
    BOOL m_bDllVersion = FALSE;
    WORD m_wLanguage = 0;
    BOOL m_bVersionFound = FALSE;
    CString m_strFileName;
    CString m_strLanguage;
    CString m_strCodepage;
    CString m_strCompanyName;
    CString m_strFileDescription;
    CString m_strFileVersion;
    CString m_strInternalName;
    CString m_strLegalCopyright;
    CString m_strOriginalFilename;
    CString m_strProductName;
    CString m_strProductVersion;
    CString m_strComments;
    CString m_strSpecialBuild;
    CString m_strPrivateBuild;
    DLLVERSIONINFO m_dvi = {};
};
