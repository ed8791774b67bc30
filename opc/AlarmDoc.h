// CAlarmDoc: the document through which a program receives alarms and events. It owns the event
// server connection and names the window that the sink posts each event to, as WM_ALARM_EVENT
// with a new CEventData in wParam, which the window deletes. The process has one current alarm
// document, read by the sink on the server's thread under CAlarmDoc::m_mutexDoc.
//
// A WM_ALARM_EVENT that never reaches a window (the window went first, or the program ended with
// it still queued) frees its event by itself.
#pragma once

#include "mfc/Document.h"
#include "mfc/SyncObjects.h"

class CEventServer;
class CView;

#define WM_ALARM_EVENT (WM_USER + 50)

// Takes CAlarmDoc::m_mutexDoc; the destructor gives it back when still held.
class CLockEventDocument : public CSingleLock
{
public:
    explicit CLockEventDocument(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    CLockEventDocument(const CLockEventDocument& other) = default;
    CLockEventDocument& operator=(const CLockEventDocument& other) = default;
    ~CLockEventDocument() override;
};

class CAlarmDoc : public CDocument
{
    DECLARE_DYNCREATE(CAlarmDoc)

public:
    CAlarmDoc();
    ~CAlarmDoc() override;

    BOOL OnNewDocument() override;
    void OnCloseDocument() override;
    void DeleteContents() override;
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    BOOL SaveModified() override;
    void Serialize(CArchive& ar) override;

    void SetView(CView* pView);
    // The window that receives the events; null stops the posting.
    void SetViewHwnd(HWND hWnd);
    CView* GetView() const { return m_pView; }
    CEventServer* GetEventServer() const { return m_pEventServer; }

    // One step of keeping the connection, for a window timer: a connected server that asked to
    // shut down or no longer answers is let go; while there is none, each step tries to connect
    // again, without asking, and a new connection subscribes and asks for the active conditions.
    void CheckEventServer();

    // The current alarm document and its window; the caller holds m_mutexDoc.
    static CAlarmDoc* GetCurrentLocked();
    HWND GetViewHwndLocked() const { return m_hViewWnd; }

    static CMutex m_mutexDoc;

protected:
    CView* m_pView = nullptr;
    HWND m_hViewWnd = nullptr;
    CEventServer* m_pEventServer = nullptr;

private:
    BOOL CreateEventServer();
    void DestroyEventServer();
};
