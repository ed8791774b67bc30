// The parsed contents of one module's resource script: string table, menus, accelerator tables,
// dialog templates and the embedded files (bitmaps, icons, ...).
#pragma once

#include "mfc/CString.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// Resource types, as the lookups take them.
#ifndef RT_CURSOR
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)
#endif

// Accelerator flags and entry.
#ifndef FVIRTKEY
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10
#endif

struct ACCEL
{
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
typedef ACCEL* LPACCEL;

// One file the build embedded beside the script (cmake/Resources.cmake writes the table).
struct AFX_RESOURCE_FILE
{
    const char* name;
    const unsigned char* data;
    size_t size;
};

// A resource's name or type: a 16-bit number, or a text kept in upper case (names compare so).
class CResourceName
{
public:
    CResourceName() = default;
    CResourceName(WORD id) : m_nID(id) {}
    // A MAKEINTRESOURCE value, a "#123" text or a name.
    static CResourceName FromPointer(LPCWSTR name);
    static CResourceName FromText(const std::wstring& name);

    BOOL IsInt() const { return m_strName.empty(); }
    WORD GetID() const { return m_nID; }
    const std::wstring& GetName() const { return m_strName; }
    CString ToString() const;

    friend bool operator<(const CResourceName& a, const CResourceName& b)
    {
        return a.m_strName != b.m_strName ? a.m_strName < b.m_strName : a.m_nID < b.m_nID;
    }
    friend bool operator==(const CResourceName& a, const CResourceName& b)
    {
        return a.m_nID == b.m_nID && a.m_strName == b.m_strName;
    }

private:
    WORD m_nID = 0;
    std::wstring m_strName;
};

// A style expression of a dialog or control: the words as written and the numeric parts.
struct AFX_STYLE_WORDS
{
    std::vector<CString> words;    // e.g. "WS_TABSTOP", in order
    std::vector<CString> notWords; // words written after NOT
    DWORD dwBits = 0;              // numbers and names #defined in the script, ORed

    // The word is set and not taken away by NOT.
    BOOL Has(LPCWSTR word) const;
};

struct AFX_MENU_ITEM
{
    CString strText; // with its '&' mnemonic and any "\t" accelerator text
    UINT nID = 0;    // command id; 0 for popups and separators
    BOOL bPopup = FALSE;
    BOOL bSeparator = FALSE;
    BOOL bChecked = FALSE;
    BOOL bGrayed = FALSE;
    BOOL bInactive = FALSE;
    BOOL bMenuBreak = FALSE;
    BOOL bMenuBarBreak = FALSE;
    BOOL bHelp = FALSE;
    std::vector<AFX_MENU_ITEM> items; // a popup's contents
};

struct AFX_MENU_TEMPLATE
{
    std::vector<AFX_MENU_ITEM> items;
};

struct AFX_ACCEL_TABLE
{
    std::vector<ACCEL> entries;
};

// A TOOLBAR statement: the button size and the buttons' command ids in order, 0 for a separator.
// The images are the bitmap strip of the same name, one per button.
struct AFX_TOOLBAR_TEMPLATE
{
    int cx = 16;
    int cy = 15;
    std::vector<UINT> items;
};

struct AFX_DLG_CONTROL
{
    CString strKeyword; // LTEXT, PUSHBUTTON, EDITTEXT, ..., CONTROL
    CString strClass;   // "Static", "Button", "Edit", "ListBox", "ComboBox", "ScrollBar" or as given
    CString strText;
    int nID = 0;
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    AFX_STYLE_WORDS style;
    AFX_STYLE_WORDS exStyle;
};

struct AFX_DLG_TEMPLATE
{
    BOOL bExtended = FALSE; // DIALOGEX
    int x = 0, y = 0, cx = 0, cy = 0;
    CString strCaption;
    CString strFontName;
    int nFontSize = 0;
    int nFontWeight = 0;
    BOOL bFontItalic = FALSE;
    CString strClass;
    CResourceName menu; // MENU statement, id 0 when none
    AFX_STYLE_WORDS style;
    AFX_STYLE_WORDS exStyle;
    std::vector<AFX_DLG_CONTROL> controls;

    const AFX_DLG_CONTROL* FindControl(int nID) const;
};

// An embedded file (BITMAP, ICON, CURSOR, AVI, PNG statements, and CompsRes: stored child shapes of
// composite shapes). The bytes stay where the build put
// them, inside the module.
struct AFX_RESOURCE_DATA
{
    CString strFile;
    const unsigned char* pData = nullptr;
    size_t nSize = 0;
};

// A VERSIONINFO record: the fixed version numbers, the string blocks by their "llllcccc" name (kept
// in upper case) and the (language, code page) pairs of its translation list.
struct AFX_VERSION_INFO
{
    DWORD dwFileVersionMS = 0, dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0, dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = 0, dwFileFlags = 0, dwFileOS = 0, dwFileType = 0, dwFileSubtype = 0;
    std::map<std::wstring, std::map<std::wstring, CString>> strings;
    std::vector<std::pair<WORD, WORD>> translations;
};

class CResourceScript
{
public:
    // Parses a script. Each problem is kept as "<module>, line <n>: <text>" and the bad statement
    // skipped; what is well formed is kept.
    void Parse(std::string_view module, std::string_view text, const AFX_RESOURCE_FILE* files, size_t count);
    const std::vector<std::string>& GetErrors() const { return m_errors; }

    const CString* FindString(UINT nID) const;
    // Whether the 16-string block (id / 16 + 1) holds any string, as RT_STRING names it.
    BOOL HasStringBlock(WORD block) const;
    const AFX_MENU_TEMPLATE* FindMenu(const CResourceName& name) const;
    const AFX_DLG_TEMPLATE* FindDialog(const CResourceName& name) const;
    const AFX_ACCEL_TABLE* FindAccelerators(const CResourceName& name) const;
    const AFX_TOOLBAR_TEMPLATE* FindToolBar(const CResourceName& name) const;
    // The module's version record (the first VERSIONINFO), or null.
    const AFX_VERSION_INFO* FindVersion() const
    {
        return m_version.empty() ? nullptr : &m_version.begin()->second;
    }
    // type: RT_BITMAP, RT_ICON (or RT_GROUP_ICON), RT_CURSOR (or RT_GROUP_CURSOR), RT_RCDATA, "AVI",
    // "PNG", "CompsRes".
    const AFX_RESOURCE_DATA* FindData(const CResourceName& type, const CResourceName& name) const;
    BOOL HasResource(const CResourceName& type, const CResourceName& name) const;

    // Everything of one kind, by id (tools that rewrite a script walk these).
    const std::map<UINT, CString>& GetStrings() const { return m_strings; }
    const std::map<CResourceName, AFX_MENU_TEMPLATE>& GetMenus() const { return m_menus; }
    const std::map<CResourceName, AFX_DLG_TEMPLATE>& GetDialogs() const { return m_dialogs; }

private:
    friend class CResourceScriptParser;

    std::map<UINT, CString> m_strings;
    std::map<CResourceName, AFX_MENU_TEMPLATE> m_menus;
    std::map<CResourceName, AFX_DLG_TEMPLATE> m_dialogs;
    std::map<CResourceName, AFX_ACCEL_TABLE> m_accels;
    std::map<CResourceName, AFX_TOOLBAR_TEMPLATE> m_toolbars;
    std::map<CResourceName, AFX_VERSION_INFO> m_version;
    std::map<std::pair<CResourceName, CResourceName>, AFX_RESOURCE_DATA> m_data; // (type, name)
    std::vector<std::string> m_errors;
};
