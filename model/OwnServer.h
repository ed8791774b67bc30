// Whether a server name (key 2 of a shape) names the system's own OPC data server.
#pragma once

#include "mfc/CString.h"

// TRUE for exactly "this", or a name beginning with "Quendrel.OpcDaServer." (case-sensitive).
BOOL IsOwnServerName(const CString& strServer);
