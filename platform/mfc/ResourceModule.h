// Resource modules and the resource chain. Each module (library or program) registers its parsed
// resource script under its name when it is loaded and gets a distinct HINSTANCE. Lookups go through
// the current resource module, then the extension modules in the order their CDynLinkLibrary objects
// were made (system ones last), then the program's module.
//
// A module's HINSTANCE is an address inside the module (its embedded script), so GetModuleFileNameW
// finds the module's file from it. The current resource handle and the instance handle are
// process-wide (as the program's module state is in MFC), guarded by one lock.
#pragma once

#include "mfc/CString.h"
#include "mfc/ResourceScript.h"

#include <string>

// Registers the module whose script the build embedded; made statically by the generated source.
class AfxResourceRegistrar
{
public:
    AfxResourceRegistrar(const char* module, const char* text, const AFX_RESOURCE_FILE* files, size_t count);
    ~AfxResourceRegistrar();
    AfxResourceRegistrar(const AfxResourceRegistrar&) = delete;
    AfxResourceRegistrar& operator=(const AfxResourceRegistrar&) = delete;

    HINSTANCE GetHandle() const { return m_hInstance; }

private:
    HINSTANCE m_hInstance;
};

// Parses and registers a module; problems in the script go to stderr naming the module and line.
// Returns null when the name is empty or already registered.
HINSTANCE AfxRegisterResourceModule(const char* module, const char* text, const AFX_RESOURCE_FILE* files,
                                    size_t count);
// Takes a module out of every lookup (when its library unloads). Its handle stays unused.
void AfxUnregisterResourceModule(HINSTANCE hInstance);
HINSTANCE AfxGetModuleByName(const char* module);
// The registered name, or an empty string for an unknown handle.
std::string AfxGetModuleName(HINSTANCE hInstance);
// The parsed script of a registered module (with its parse errors), or null.
const CResourceScript* AfxGetResourceScript(HINSTANCE hInstance);

// The program's module: the one set by AfxSetInstanceHandle, else the module registered under the
// program's file name, else null. Null given to the setter goes back to that default.
HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
// The module searched first; the instance handle until set. Null given to the setter goes back to it.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// Extension modules.
struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Fills the record for a registered module; FALSE for an unknown handle.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the CDynLinkLibrary objects of this module (of every module with bAll) and clears the record.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// A module's place in the resource chain, from construction to destruction. Made with new: the
// termination above deletes it.
class CDynLinkLibrary
{
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    virtual ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
};

// The first module of the chain that holds the resource; the current resource handle when none
// does. For RT_STRING the name is the string block, (id / 16) + 1, as in Win32.
HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// The first module of the chain that holds string nID, or null.
HINSTANCE AfxFindStringResourceHandle(UINT nID);

// Win32 semantics: copies at most cchBufferMax - 1 characters and a terminating zero and returns
// the count copied; 0 when the string is missing. With cchBufferMax 0, lpBuffer receives a read-only
// pointer to the string itself. A null hInstance means the program's module.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);

// Through the chain. The buffer form truncates like LoadStringW and returns the length.
int AfxLoadString(UINT nIDS, LPWSTR lpszBuf, UINT nMaxBuf = 256);
BOOL AfxLoadString(UINT nIDS, CString& rString);

// Replaces %1..%9 in the format with the given strings (a null one as empty). A '%' not followed by
// the digit of a given string stays as it is.
void AfxFormatStrings(CString& rString, LPCWSTR lpszFormat, LPCWSTR const* rglpsz, int nString);
// The same with string nIDS of the chain as format; rString is empty when the string is missing.
void AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2);

// Parsed templates of one module, and through the chain. Null when missing. The templates live as
// long as their module stays registered.
const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(HINSTANCE hInstance, LPCWSTR lpszName);
const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(LPCWSTR lpszName);
const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(HINSTANCE hInstance, LPCWSTR lpszName);
const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(LPCWSTR lpszName);
const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(HINSTANCE hInstance, LPCWSTR lpszName);
const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(LPCWSTR lpszName);
const AFX_TOOLBAR_TEMPLATE* AfxFindToolBarTemplate(LPCWSTR lpszName);
// Embedded file bytes: RT_BITMAP, RT_ICON, RT_CURSOR, or a named type such as L"PNG".
const AFX_RESOURCE_DATA* AfxFindResourceData(HINSTANCE hInstance, LPCWSTR lpszName, LPCWSTR lpszType);
const AFX_RESOURCE_DATA* AfxFindResourceData(LPCWSTR lpszName, LPCWSTR lpszType);
inline const AFX_RESOURCE_DATA* AfxFindBitmapData(HINSTANCE hInstance, LPCWSTR lpszName)
{
    return AfxFindResourceData(hInstance, lpszName, RT_BITMAP);
}
inline const AFX_RESOURCE_DATA* AfxFindBitmapData(LPCWSTR lpszName)
{
    return AfxFindResourceData(lpszName, RT_BITMAP);
}
inline const AFX_RESOURCE_DATA* AfxFindIconData(HINSTANCE hInstance, LPCWSTR lpszName)
{
    return AfxFindResourceData(hInstance, lpszName, RT_ICON);
}
inline const AFX_RESOURCE_DATA* AfxFindIconData(LPCWSTR lpszName)
{
    return AfxFindResourceData(lpszName, RT_ICON);
}

// Numeric forms.
inline const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(HINSTANCE hInstance, UINT nID)
{
    return AfxFindMenuTemplate(hInstance, MAKEINTRESOURCE(nID));
}
inline const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(UINT nID)
{
    return AfxFindMenuTemplate(MAKEINTRESOURCE(nID));
}
inline const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(HINSTANCE hInstance, UINT nID)
{
    return AfxFindDialogTemplate(hInstance, MAKEINTRESOURCE(nID));
}
inline const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(UINT nID)
{
    return AfxFindDialogTemplate(MAKEINTRESOURCE(nID));
}
inline const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(HINSTANCE hInstance, UINT nID)
{
    return AfxFindAcceleratorTable(hInstance, MAKEINTRESOURCE(nID));
}
inline const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(UINT nID)
{
    return AfxFindAcceleratorTable(MAKEINTRESOURCE(nID));
}
inline const AFX_TOOLBAR_TEMPLATE* AfxFindToolBarTemplate(UINT nID)
{
    return AfxFindToolBarTemplate(MAKEINTRESOURCE(nID));
}
inline const AFX_RESOURCE_DATA* AfxFindBitmapData(HINSTANCE hInstance, UINT nID)
{
    return AfxFindBitmapData(hInstance, MAKEINTRESOURCE(nID));
}
inline const AFX_RESOURCE_DATA* AfxFindBitmapData(UINT nID)
{
    return AfxFindBitmapData(MAKEINTRESOURCE(nID));
}
inline const AFX_RESOURCE_DATA* AfxFindIconData(HINSTANCE hInstance, UINT nID)
{
    return AfxFindIconData(hInstance, MAKEINTRESOURCE(nID));
}
inline const AFX_RESOURCE_DATA* AfxFindIconData(UINT nID)
{
    return AfxFindIconData(MAKEINTRESOURCE(nID));
}

// The live modules in registration order: the first for null, then the one after h; null at the end.
HINSTANCE AfxNextResourceModule(HINSTANCE h);
// The module's version record (its VERSIONINFO), or null.
const AFX_VERSION_INFO* AfxFindVersionInfo(HINSTANCE hInstance);

// Resource libraries: a shared object of ours that carries only resources exports
// QyrResourceBundle(), and LoadLibraryW registers that bundle as a module of its own (its handle is
// the module's HINSTANCE). Any other shared object of ours registers itself when loaded, and its
// handle is the module it registered. A relative file name is looked up beside the program first.
// Loads are counted; the last FreeLibrary takes a bundle out of every lookup and unloads the file.
struct AFX_RESOURCE_BUNDLE
{
    const char* module;
    const char* text;
    const AFX_RESOURCE_FILE* files;
    size_t count;
};
#define QYR_RESOURCE_BUNDLE_SYMBOL "QyrResourceBundle"
typedef const AFX_RESOURCE_BUNDLE* (*QYR_RESOURCE_BUNDLE_FN)();
typedef void (*FARPROC)();

HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);
// An exported function of a library that LoadLibraryW loaded; null when it has none.
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
