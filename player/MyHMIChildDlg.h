// CMyHMIChildDlg: the modal window of a popup screen. It places itself on its rectangle and holds a
// library frame with the popup's view (XDVView) over the area of control 1000; the view shows the
// popup's own model, which the opener makes and deletes.
#pragma once

#include "mfc/Dialog.h"

class CExtDataModel;
class CFOPFrameWnd;
class XDVView;

class CMyHMIChildDlg : public CDialog
{
public:
    enum
    {
        IDD = 131
    };
    CMyHMIChildDlg();

    BOOL OnInitDialog() override;
    void OnDestroy() override;
    void OnSize(UINT nType, int cx, int cy) override;
    afx_msg LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);

    XDVView* GetView() const { return m_pView; }

    // Both are child windows that delete themselves with the dialog's window.
    XDVView* m_pView = nullptr;
    CFOPFrameWnd* m_pFrame = nullptr;
    CExtDataModel* m_pModel = nullptr;
    // Where the dialog is placed, in screen coordinates.
    CRect m_rcWindow{0, 0, 200, 200};
    // Full path of the screen file shown; empty: the project's main screen.
    CString m_strScreenPath;
    CString m_strTitle;

protected:
    DECLARE_MESSAGE_MAP()
};
