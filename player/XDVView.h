// XDVView: the view of a popup screen. It shows its dialog's screen file (the project's main screen
// when it names none) on the dialog's model, bound to the OPC servers like any runtime view. It
// makes the script engine only when no view has made one, so the procedures of a popup opened over
// the main view do not run (its timer still counts their steps). The application's current screen
// is left as it is.
#pragma once

#include "player/QYRViewView.h"

class CMyHMIChildDlg;

class XDVView : public CQYRViewView
{
    DECLARE_DYNCREATE(XDVView)
public:
    XDVView();
    ~XDVView() override;

    // The model must be the canvas's current one already (the dialog sets it).
    void OnInitialUpdate() override;

protected:
    // The dialog that holds this view, through its frame.
    CMyHMIChildDlg* GetPopupDialog() const;
};
