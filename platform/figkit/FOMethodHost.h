// CFOMethodHost: the base of a program's script object ("app"): a command target with automation
// that knows the screen model scripts act on and the canvas that shows it.
//
// Scripts never see addresses: a shape reaches them as the 32-bit handle its model gives
// (CFODataModel::GetShapeHandle), a port as a handle from this host's table. Every handle is
// checked on use; a stale or made-up one finds nothing.
#pragma once

#include "mfc/CmdTarget.h"
#include "mfc/OleDispatch.h"

#include <unordered_map>

class CFODataModel;
class CFODrawShape;
class CFOPCanvasCore;
class CFOPortShape;

class CFOMethodHost : public CCmdTarget, public CCmdTargetDispatch
{
    DECLARE_DYNCREATE(CFOMethodHost)
public:
    CFOMethodHost();
    ~CFOMethodHost() override;

    // Neither is owned: the host keeps their handles, so a model or canvas that has gone reads as
    // null (every method then does nothing) rather than as a dangling pointer. Without a model of
    // its own the host takes the canvas's current one.
    CFODataModel* GetCurModel() const;
    void SetCurModel(CFODataModel* pModel);
    CFOPCanvasCore* GetCanvas() const;
    void SetCanvas(CFOPCanvasCore* pCanvas);

    // A handle for a port of a shape of the current model (0 when it is none), and the port of a
    // handle, or null when the handle is unknown or its shape or port has gone.
    DWORD GetPortHandle(CFOPortShape* pPort);
    CFOPortShape* PortFromHandle(DWORD dwHandle) const;

protected:
    void OnFinalRelease() override;

    DWORD m_dwCurModel = 0;
    DWORD m_dwCanvas = 0;

private:
    struct PortRef
    {
        DWORD dwModel;
        DWORD dwShape;
        const CFOPortShape* pPort;
    };
    std::unordered_map<DWORD, PortRef> m_ports;
    std::unordered_map<const CFOPortShape*, DWORD> m_portHandles;
    DWORD m_dwNextPort = 1;

    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()
};
