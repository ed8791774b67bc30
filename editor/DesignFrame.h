// What the design view reads of the editor's main frame. The frame offers these members through
// this interface; each may be missing (null), and a frame without the interface has none, so the
// view runs in any MDI frame.
#pragma once

#include "mfc/Collections.h"
#include "win32/WinTypes.h"

class CComboBox;
class CWnd;

// The messages the format bar's drop buttons answer (see SendToFormatButtons).
#define FOP_BUTTON_SETVALUE 0x100F
#define FOP_BUTTON_SETVALUE2 0x1010
#define FOP_BUTTON_GETVALUE 0x1011

class IDesignFrame
{
public:
    virtual CComboBox* GetFontNameBox() { return nullptr; }
    virtual CComboBox* GetFontSizeBox() { return nullptr; }
    virtual CComboBox* GetZoomBox() { return nullptr; }
    // The format toolbar, and a message to the well or button of that id on it (0 without it).
    virtual CWnd* GetFormatBar() { return nullptr; }
    virtual LRESULT SendToFormatButtons(UINT nButtonId, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        (void)nButtonId;
        (void)nMessage;
        (void)wParam;
        (void)lParam;
        return 0;
    }
    virtual CWnd* GetPanBar() { return nullptr; }
    // The texts of the undo and redo drop-down lists.
    virtual CStringArray* GetUndoTexts() { return nullptr; }
    virtual CStringArray* GetRedoTexts() { return nullptr; }
    // Refreshes the child frame's list of the screen's shapes.
    virtual void RefreshShapeList(CWnd* pChildFrame) { (void)pChildFrame; }
    // The application's property-editor switch.
    virtual BOOL GetPropertyEditorEnable() { return FALSE; }

protected:
    ~IDesignFrame() = default;
};

// What the design view asks of the editor application (through AfxGetApp); a program without it has
// no project open.
class IDesignProjectApp
{
public:
    // A project is open: its folder is a full folder path and its file a project file name.
    virtual BOOL IsProjectLoaded() const = 0;
    // The open project's folder, with its trailing '/'.
    virtual CString GetProjectFolder() const { return CString(); }

protected:
    ~IDesignProjectApp() = default;
};
