// The OPC stand-in in one include: Data Access, Alarms and Events, and the stand-in servers.
#pragma once

#include "opc/OpcTypes.h"
#include "opc/OpcDa.h"
#include "opc/OpcAe.h"
#include "opc/OpcStream.h"
#include "opc/servers/OpcStandIn.h"
