// The library's name dialog: one line of text, filled from m_strName when it opens and read back
// into it on OK.
#pragma once

#include "mfc/Dialog.h"

class CFORenameDlg : public CDialog
{
public:
    explicit CFORenameDlg(CWnd* pParent = nullptr);

    // The edit control of the name.
    static constexpr int nNameEditId = 1001;

    CString m_strName;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
