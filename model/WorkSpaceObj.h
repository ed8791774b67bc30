// The open project: the project file ".dcp" with its settings, the variables and the script files.
#pragma once

#include "model/ParamObj.h"
#include "model/ScriptFileObj.h"

#include "mfc/Collections.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"

#include <unordered_map>
#include <vector>

typedef CTypedPtrList<CObList, CParamObj*> CParamObjList;
typedef CTypedPtrList<CObList, CScriptFileObj*> CScriptFileObjList;

class CWorkSpaceObj : public CObject
{
    DECLARE_SERIAL(CWorkSpaceObj)
public:
    enum
    {
        // Written by Serialize; files of versions 0 to this one load.
        PROJECT_FILE_VERSION = 4,
    };

    CWorkSpaceObj();
    ~CWorkSpaceObj() override;

    // The variables in the order of adding; change the list only through the calls below, so that
    // the name lookups stay in step with it.
    CParamObjList& GetParamObjects() { return m_listParam; }
    CScriptFileObjList& GetDbpObjects() { return m_listDbp; }

    // Appends and takes ownership; marks the workspace modified.
    void AddParam(CParamObj* param);
    // Removes and deletes the variable when it is in the list.
    void RemoveParam(CParamObj* param);
    void ClearAllParam();
    void AddDbp(CScriptFileObj* dbp);
    void RemoveDbp(CScriptFileObj* dbp);
    void ClearAllDbp();
    virtual void DeleteContents();

    BOOL IsModified() const { return m_bModified; }
    void SetModified(BOOL modified = TRUE) { m_bModified = modified; }

    // The variable of `kind` (100, 101, 102) whose name lower-cased equals `name` as passed, or null.
    CParamObj* GetParamObj(int kind, LPCWSTR name);
    // The variable of that name whatever its case; the kind comes from the first character.
    CParamObj* FindParamByName(const CString& name);
    // The first script-file entry of that name, compared without regard to case, or null.
    CScriptFileObj* FindDbObjByName(const CString& name);

    // Appends those of "$Year", "$Month", "$Day", "$Hour", "$Minute", "$Second" that are missing.
    void CreateParamSTags();

    // Loading replaces the workspace's variables and script files. On failure the workspace is left
    // empty (with its system variables) and the error is reported.
    virtual BOOL OpenDocument(LPCWSTR path);
    virtual BOOL SaveDocument(LPCWSTR path);
    virtual void CloseDocument() {}
    virtual void ReleaseFile(CFile* file, BOOL abort);
    virtual void ReportSaveLoadException(LPCWSTR path, CException* e, BOOL saving, UINT defaultPrompt);
    virtual CFile* GetFile(LPCWSTR path, UINT flags, CFileException* error);
    void OpenRecentFiles() {}
    void UpdateTagMaps() {}

    void Serialize(CArchive& ar) override;

public:
    CString m_strS0;
    CStringList m_listFiles;
    BOOL m_bModified = FALSE;
    CString m_strProjectName;
    CString m_strMainScreen;
    CString m_strS3;
    CString m_strS4;
    CString m_strS5;
    CString m_strS6;
    CString m_strS7;
    COLORREF m_crBack = 0xFFFFFF;
    CString m_strAuthor;
    CString m_strDepartment;
    CString m_strEMail;
    CString m_strURL;
    CString m_strCompany;
    CString m_strNotice;
    int m_nCanvasWidth = 1000;
    int m_nCanvasHeight = 1000;
    int m_bShowRuler = 1;
    int m_bShowPageShadow = 0;
    COLORREF m_crPageBack = 0xFFFFFF;
    int m_bShowCloseBox = 1;
    int m_bShowMinBox = 1;
    int m_bShowMaxBox = 1;
    int m_bShowHelpBox = 0;
    int m_bWindowFlag = 1;
    int m_bShowTitleBar = 1;
    int m_bShow3DBorder = 1;
    int m_nWindowWidth = 800;
    int m_nWindowHeight = 600;
    int m_bFullScreen = 0;
    int m_bAlwaysOnTop = 1;

private:
    typedef std::unordered_map<std::wstring, CParamObj*> ParamIndex;
    void RebuildIndex();
    // Every setting back to its default.
    void ResetSettings();
    // The runtime window settings (those older project files lack) back to their defaults.
    void ResetWindowSettings();
    // Empty lists and default settings: what a failed load leaves.
    void ResetContents();
    ParamIndex* IndexOf(int kind);

    CParamObjList m_listParam;
    CScriptFileObjList m_listDbp;
    // Name lookups by kind, rebuilt from the list after every change to it.
    BOOL m_bIndexValid = FALSE;
    ParamIndex m_indexGlobal;
    ParamIndex m_indexRuntime;
    ParamIndex m_indexSystem;
    // Each variable as the index saw it, in list order, to notice names and kinds edited in place.
    struct IndexedParam
    {
        CParamObj* param;
        int kind;
        CString name;
    };
    std::vector<IndexedParam> m_indexed;
    BOOL IsIndexCurrent() const;
};
