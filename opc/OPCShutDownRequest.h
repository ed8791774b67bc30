// COPCShutDownRequest: the shut-down sink of a DA server connection (CInfoServer), advised when the
// connection comes up and unadvised when it goes.
#pragma once

#include "opc/ShutdownRequest.h"

class CInfoServer;

class COPCShutDownRequest : public CShutdownRequest
{
public:
    COPCShutDownRequest();
    ~COPCShutDownRequest() override;

    using CShutdownRequest::Advise;
    // Only for servers of OPC version 2.0 and above.
    BOOL Advise(CInfoServer* server);
    BOOL Unadvise(CInfoServer* server);
};
