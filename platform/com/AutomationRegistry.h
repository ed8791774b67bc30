// The registry entries of an automation server and of its type library, in the classes store
// (HKEY_CLASSES_ROOT):
//
//   CLSID\{clsid}                      (default) user type name
//   CLSID\{clsid}\ProgID               (default) ProgID
//   CLSID\{clsid}\LocalServer32        (default) "<server path> /Automation"
//   CLSID\{clsid}\TypeLib              (default) {libid}              (when a type library is named)
//   <ProgID>                           (default) user type name
//   <ProgID>\CLSID                     (default) {clsid}
//   TypeLib\{libid}\<major>.<minor>    (default) library name
//   TypeLib\{libid}\<ver>\<lcid hex>\win32  (default) the file that carries the library
//   TypeLib\{libid}\<ver>\FLAGS        (default) "0"
//   TypeLib\{libid}\<ver>\HELPDIR      (default) help folder
//   Interface\{iid}                    (default) interface name, with ProxyStubClsid32 (the
//                                      dispatch marshaller) and TypeLib ({libid}, Version) below
//
// A type library is not a file here: a program describes its libraries once at start-up
// (QyrAddTypeLib), and registration writes what the description says.
#pragma once

#include "com/Guid.h"

#include <string>
#include <vector>

enum SYSKIND
{
    SYS_WIN16 = 0,
    SYS_WIN32 = 1,
    SYS_MAC = 2,
    SYS_WIN64 = 3
};

struct QYRTYPELIBINTERFACE
{
    IID iid;
    std::wstring name;
};

struct QYRTYPELIB
{
    GUID libid = GUID_NULL;
    WORD wMajorVerNum = 1;
    WORD wMinorVerNum = 0;
    LCID lcid = 0;
    std::wstring name;
    std::vector<QYRTYPELIBINTERFACE> interfaces; // dispatch interfaces
};

// Adds or replaces the description of a library carried by this process.
void QyrAddTypeLib(const QYRTYPELIB& lib);
BOOL QyrFindTypeLib(REFGUID libid, QYRTYPELIB* lib);

// Writes the entries of a described library (TYPE_E_CANTLOADLIBRARY when it is not described).
HRESULT QyrRegisterTypeLib(REFGUID libid, LPCWSTR fullPath, LPCWSTR helpDir);
// Removes the version's entries, the library key when no version is left, and the interface keys
// that name the library. TYPE_E_REGISTRYACCESS when the version is not registered.
HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND syskind);

// Writes the class and ProgID entries of an automation server. typeLib may be null.
HRESULT QyrRegisterServerClass(REFCLSID clsid, LPCWSTR progId, LPCWSTR userType, LPCWSTR serverPath,
                               const GUID* typeLib);
// Removes the class key and the ProgID key (when it names this class) with all below them.
HRESULT QyrUnregisterServerClass(REFCLSID clsid, LPCWSTR progId);

// The default value of a key below HKEY_CLASSES_ROOT ("CLSID\\{...}\\ProgID"); empty when absent.
std::wstring QyrReadClassesValue(LPCWSTR subKey, LPCWSTR valueName = nullptr);

#ifndef TYPE_E_REGISTRYACCESS
#define TYPE_E_REGISTRYACCESS ((HRESULT)0x8002801CL)
#endif
#ifndef TYPE_E_CANTLOADLIBRARY
#define TYPE_E_CANTLOADLIBRARY ((HRESULT)0x80029C4AL)
#endif
