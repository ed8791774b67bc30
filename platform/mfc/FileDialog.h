// CFileDialog: the common open and save dialog. The filter is the framework's "text|patterns|...||"
// form (patterns separated by ';'). DoModal goes through the modal hook (kind FileDialog: the hook
// puts the chosen path(s) into paths and answers IDOK); without a hook a Qt file dialog is shown.
// With OFN_ALLOWMULTISELECT several files may be chosen (GetStartPosition / GetNextPathName).
// A save choice without an extension gets the default extension.
#pragma once

#include "mfc/Collections.h"
#include "mfc/Dialog.h"

#include <vector>

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000

struct OPENFILENAME
{
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    // The filter as the dialog hands it on ("text|patterns|...").
    LPCWSTR lpstrFilter = nullptr;
    // 1-based index of the filter chosen (in and out).
    DWORD nFilterIndex = 1;
    // A caller's buffer for the file name (in: the initial name; out: the first path chosen), or
    // null for the dialog's own.
    LPWSTR lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    LPCWSTR lpstrDefExt = nullptr;
};

class CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);

    // IDOK when a file was chosen, else IDCANCEL.
    INT_PTR DoModal() override;

    // The first chosen file: full path, name with extension, extension, name without it, folder.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    // The chosen files in order (several with OFN_ALLOWMULTISELECT).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // The filter split into (text, patterns) pairs; a trailing text without patterns is dropped.
    static std::vector<std::pair<CString, CString>> ParseFilter(LPCWSTR lpszFilter);

    OPENFILENAME m_ofn;
    BOOL m_bOpenFileDialog;

protected:
    // Extra height the shown dialog gets over its natural size (pixels); derived dialogs set it.
    int m_nExtraHeight = 0;

private:
    void Accept(std::vector<CString> paths);

    CString m_strFilter;
    CString m_strDefExt;
    CString m_strFileName;
    std::vector<CString> m_paths;
};
