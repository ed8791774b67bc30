// CEventServer: the connection to the one alarms-and-events server of the system, with its event
// subscription. The alarm document owns it and drives it on the UI thread.
#pragma once

#include "com/Guid.h"
#include "mfc/CString.h"
#include "opcsdk/OpcAe.h"

#include <memory>

class CSubscription;
class CEventShutdownSink;

class CEventServer
{
public:
    CEventServer();
    virtual ~CEventServer();
    CEventServer(const CEventServer&) = delete;
    CEventServer& operator=(const CEventServer&) = delete;

    BOOL IsConnected() const { return m_bConnected; }
    // The system's own event server on this computer.
    BOOL SetDefaultServer();
    // Creates the server, subscribes and asks for the active conditions. With bAsk the connection
    // first waits for the server to run and asks "Wait more?" when it is slow; without, it goes on
    // at once (a reconnection from a timer must not hold the window).
    BOOL Connect(BOOL bAsk = TRUE);
    // Leaves the subscription, unadvises the shutdown sink and releases the server.
    BOOL Disconnect();
    BOOL WaitForServerState(OPCEVENTSERVERSTATE state, int nSeconds, BOOL bAsk);
    // Names this client on the server.
    BOOL Register();
    // Whether a connected server still answers: FALSE once it asked its clients to let go, or when
    // its status cannot be read.
    BOOL IsServerAlive();

    const CString& GetProgID() const { return m_strProgID; }
    const CString& GetComputer() const { return m_strComputer; }
    REFCLSID GetClsid() const { return m_clsid; }
    CSubscription* GetSubscription() const { return m_pSubscription; }
    IOPCEventServer* GetServer() const { return m_pServer; }

    // The pause between two status polls of WaitForServerState (1000 ms; tests shorten it).
    static void SetStatusWaitStep(DWORD milliseconds);

protected:
    IOPCEventServer* m_pServer = nullptr;
    CSubscription* m_pSubscription = nullptr; // one reference held
    BOOL m_bConnected = FALSE;
    CString m_strComputer;
    CString m_strProgID;
    CLSID m_clsid = GUID_NULL;

private:
    CEventShutdownSink* m_pShutdown = nullptr; // one reference held while advised
    void ReleaseShutdownSink();
};
