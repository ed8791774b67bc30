// CFOPSingleInstance: keeps a program to one running instance. The first instance holds a named
// lock for its life and listens on a local socket of the same name; a second start finds the lock
// taken, knocks on the socket and is refused, and the first instance, on the knock, restores and
// activates its main window (when it has one yet).
#pragma once

#include "mfc/CString.h"

#include <memory>

class QLocalServer;

class CFOPSingleInstance
{
public:
    CFOPSingleInstance();
    virtual ~CFOPSingleInstance();
    CFOPSingleInstance(const CFOPSingleInstance&) = delete;
    CFOPSingleInstance& operator=(const CFOPSingleInstance&) = delete;

    // TRUE when this is the only instance. The name is lpszName, or (when null) the first line of
    // string nID; " Class" is appended. A second instance gets FALSE after bringing the first to the
    // front. When the first instance cannot listen, "Failed to register window class!" is shown and
    // the result is FALSE.
    bool Create(UINT nID, LPCWSTR lpszName = nullptr);
    const CString& GetClassName() const { return m_strClassName; }

private:
    HANDLE m_hMutex = nullptr;
    CString m_strClassName;
    std::unique_ptr<QLocalServer> m_pServer;
};
