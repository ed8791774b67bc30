// Document templates: what makes a document, its frame and its view, and the strings that describe
// the document type. CSingleDocTemplate holds at most one document, reused for every new or opened
// file (SDI); CMultiDocTemplate makes a document and a frame for each (MDI).
//
// The document string (resource nIDResource) has seven parts separated by '\n': window title,
// document name, new-file name, filter name, filter extension(s) (";"-separated), registry file-type
// id and registry file-type name. The application owns the templates it is given (AddDocTemplate)
// and deletes them when it goes; a template never deletes its documents, they close themselves.
#pragma once

#include "mfc/CString.h"
#include "mfc/CmdTarget.h"
#include "mfc/Collections.h"

#include <vector>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    enum Confidence
    {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };

    ~CDocTemplate() override;

    // Reads the document string again from the resource chain.
    virtual void LoadTemplate();
    // FALSE when the part is missing (rString is then empty).
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // yesAlreadyOpen (with the document) for an open document of the same file, yesAttemptNative
    // when the file's extension is one of the filter extensions (without regard to case),
    // yesAttemptForeign otherwise.
    virtual Confidence MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch);
    virtual CDocument* CreateNewDocument();
    // A frame of the frame class, loaded from nIDResource, with a view of the view class for pDoc.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // Asks every modified document (SaveModified); FALSE as soon as one is cancelled.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document (null path) or the file opened; null on failure, which has been reported.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bAutoDelete = TRUE;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    // The open or new-document steps shared by both kinds; bCreated: the document was made for this
    // call (and its frame with it).
    CDocument* OpenInFrame(CDocument* pDocument, CFrameWnd* pFrame, BOOL bCreated, LPCWSTR lpszPathName,
                           BOOL bMakeVisible);
    // The open of a template that keeps one document: pDocument (when there is one) is asked to save
    // its changes and reused in its frame; otherwise a document and frame are made.
    CDocument* OpenReusing(CDocument* pDocument, LPCWSTR lpszPathName, BOOL bMakeVisible);
    // The untitled string of the resource chain, or "Untitled".
    static CString UntitledString();
};

class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    // Reuses the one document (after SaveModified; Cancel keeps it as it is) and its frame.
    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name, else the untitled string.
    void SetDefaultTitle(CDocument* pDocument) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name (or the untitled string) followed by a number counting up from 1.
    void SetDefaultTitle(CDocument* pDocument) override;

    UINT m_nUntitledCount = 0;

protected:
    std::vector<CDocument*> m_docList;
};
