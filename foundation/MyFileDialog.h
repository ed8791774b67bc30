// CMyFileDialog: the common file dialog with a taller file list (120 pixels more than usual).
#pragma once

#include "mfc/FileDialog.h"

class CMyFileDialog : public CFileDialog
{
    DECLARE_DYNAMIC(CMyFileDialog)
public:
    explicit CMyFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                           DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           LPCWSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // Makes the dialog and its file list 120 pixels taller and moves the controls below the list
    // down as far; controls that are not there are skipped.
    BOOL OnInitDialog() override;

    static const int kExtraHeight = 120;
};
