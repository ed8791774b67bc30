// What the main frame and its bars ask of the editor's application object. The application offers
// these members through this interface (each has a harmless default), so the frame runs under any
// application, tests' included.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"

class CDocTemplate;
class CWorkSpaceObj;

class IEditorApp
{
public:
    // A project is open: its folder is a full folder path and its file a bare ".dcp" name.
    virtual BOOL IsProjectOpen() { return FALSE; }
    // FALSE when the path names the open project.
    virtual BOOL IsOtherProject(LPCWSTR lpszPath)
    {
        (void)lpszPath;
        return TRUE;
    }
    // Opens a project (saving the open documents and project first with bSave); TRUE on success.
    virtual BOOL OpenProject(LPCWSTR lpszPath, BOOL bSave)
    {
        (void)lpszPath;
        (void)bSave;
        return FALSE;
    }
    virtual void WriteMainDat() {}
    // Saves every modified document to its own path without asking.
    // FALSE when a document was not saved (its save failed or its name was not given).
    virtual BOOL SaveModifiedDocuments() { return TRUE; }
    virtual CWorkSpaceObj* GetWorkSpace() { return nullptr; }
    // The open project's folder (a full path ending in "/") and file name ("name.dcp").
    virtual CString GetProjectFolder() { return CString(); }
    virtual CString GetProjectFileName() { return CString(); }
    // The project paths opened last, newest first.
    virtual CStringArray* GetRecentProjects() { return nullptr; }
    virtual CDocTemplate* GetScreenTemplate() { return nullptr; }
    virtual CDocTemplate* GetScriptTemplate() { return nullptr; }
    // The toolbox folder ("Shapes/" beside the program's folder), ending in "/".
    virtual CString GetToolBoxFolder() { return CString(); }
    virtual BOOL GetPropertyEditorEnable() { return FALSE; }
    // The option "Not allow any default port", which the application keeps (on at start).
    virtual BOOL IsNoDefaultPorts() { return TRUE; }
    virtual void SetNoDefaultPorts(BOOL bOn) { (void)bOn; }

protected:
    ~IEditorApp() = default;
};

// A child frame with a list of its screen's shapes; the main frame has it refilled when the design
// view asks.
class IShapeListOwner
{
public:
    virtual void RefreshShapeList() = 0;

protected:
    ~IShapeListOwner() = default;
};

// The running application's editor part, or null.
IEditorApp* GetEditorApp();
// The project's screen folder: the project folder followed by "XdgFiles/" (empty without a project).
CString GetEditorScreenFolder();
