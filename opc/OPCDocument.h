// COPCDocument: the document calls the OPC server documents need (new, open through the archive,
// close, modified flag), until platform/mfc has CDocument; the server documents have no template
// and no views.
#pragma once

#include "mfc/CmdTarget.h"
#include "mfc/CString.h"

class CArchive;

class COPCDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(COPCDocument)
public:
    COPCDocument();
    ~COPCDocument() override;

    // Empties the document: DeleteContents, not modified, no path.
    virtual BOOL OnNewDocument();
    // Loads the file through Serialize; FALSE (contents deleted) when it cannot be read.
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    // DeleteContents; deletes the document when m_bAutoDelete is set.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    void Serialize(CArchive& ar) override;

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    const CString& GetPathName() const { return m_strPathName; }
    void SetPathName(LPCWSTR path) { m_strPathName = path; }
    // The documents have no views: nothing to update.
    void UpdateAllViews(void* sender) { (void)sender; }

    BOOL m_bAutoDelete = TRUE;

private:
    BOOL m_bModified = FALSE;
    CString m_strPathName;
};
