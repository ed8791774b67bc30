#include "opc/AlarmDoc.h"

#include "opc/EventData.h"
#include "opc/EventServer.h"

#include "logvane/Logvane.h"
#include "mfc/Wnd.h"

namespace
{
// The current alarm document; written on the UI thread, read by the sink under m_mutexDoc.
CAlarmDoc* g_pCurrentDoc = nullptr;

void FreeUnreceivedEvent(WPARAM wParam, LPARAM)
{
    delete reinterpret_cast<CEventData*>(wParam);
}
} // namespace

CMutex CAlarmDoc::m_mutexDoc(FALSE, nullptr);

CLockEventDocument::CLockEventDocument(CSyncObject* pObject, BOOL bInitialLock)
    : CSingleLock(pObject, bInitialLock)
{
}

CLockEventDocument::~CLockEventDocument()
{
    if (IsLocked())
        Unlock();
}

IMPLEMENT_DYNCREATE(CAlarmDoc, CDocument)

CAlarmDoc::CAlarmDoc()
{
    m_bAutoDelete = FALSE;
    AfxSetPostedMessageFree(WM_ALARM_EVENT, &FreeUnreceivedEvent);
    // A sink of an older document may be reading the pointer right now.
    CLockEventDocument lock(&m_mutexDoc);
    lock.Lock(INFINITE);
    g_pCurrentDoc = this;
    lock.Unlock();
}

CAlarmDoc::~CAlarmDoc()
{
    DestroyEventServer();
    CLockEventDocument lock(&m_mutexDoc);
    lock.Lock(INFINITE);
    if (g_pCurrentDoc == this)
        g_pCurrentDoc = nullptr;
    lock.Unlock();
}

CAlarmDoc* CAlarmDoc::GetCurrentLocked()
{
    return g_pCurrentDoc;
}

BOOL CAlarmDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    if (!CreateEventServer())
    {
        SetTitle(L"ZuDizoz-Failed");
        return TRUE;
    }
    SetTitle(L"ZuDizoz-Unconnected");
    return TRUE;
}

void CAlarmDoc::OnCloseDocument()
{
    DestroyEventServer();
    CDocument::OnCloseDocument();
}

void CAlarmDoc::DeleteContents()
{
    DestroyEventServer();
    CDocument::DeleteContents();
}

BOOL CAlarmDoc::CanCloseFrame(CFrameWnd* pFrame)
{
    return CDocument::CanCloseFrame(pFrame);
}

BOOL CAlarmDoc::SaveModified()
{
    return CDocument::SaveModified();
}

void CAlarmDoc::Serialize(CArchive&) {}

void CAlarmDoc::SetView(CView* pView)
{
    CLockEventDocument lock(&m_mutexDoc);
    lock.Lock(INFINITE);
    if (g_pCurrentDoc)
        m_pView = pView;
    lock.Unlock();
}

void CAlarmDoc::SetViewHwnd(HWND hWnd)
{
    CLockEventDocument lock(&m_mutexDoc);
    lock.Lock(INFINITE);
    if (g_pCurrentDoc)
        m_hViewWnd = hWnd;
    lock.Unlock();
}

BOOL CAlarmDoc::CreateEventServer()
{
    if (!m_pEventServer)
        m_pEventServer = new CEventServer;
    if (m_pEventServer->IsConnected())
        return TRUE;
    if (m_pEventServer->SetDefaultServer() && m_pEventServer->Connect())
        return TRUE;
    delete m_pEventServer;
    m_pEventServer = nullptr;
    return FALSE;
}

void CAlarmDoc::DestroyEventServer()
{
    if (!m_pEventServer)
        return;
    if (m_pEventServer->IsConnected())
        m_pEventServer->Disconnect();
    delete m_pEventServer;
    m_pEventServer = nullptr;
}

void CAlarmDoc::CheckEventServer()
{
    if (m_pEventServer && m_pEventServer->IsConnected())
    {
        if (m_pEventServer->IsServerAlive())
            return;
        XVKLOG_ERROR(L"Alarm server %s lost: disconnected.", m_pEventServer->GetProgID().GetString());
        DestroyEventServer();
        SetTitle(L"ZuDizoz-Failed");
        return;
    }
    if (!m_pEventServer)
        m_pEventServer = new CEventServer;
    if (m_pEventServer->SetDefaultServer() && m_pEventServer->Connect(FALSE))
    {
        XVKLOG_INFO(L"Alarm server %s reconnected: subscribed again, Refresh asked.",
                    m_pEventServer->GetProgID().GetString());
        SetTitle(L"ZuDizoz-Unconnected");
        return;
    }
    delete m_pEventServer;
    m_pEventServer = nullptr;
}
