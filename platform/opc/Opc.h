// The OPC stand-in in one include: Data Access, Alarms and Events, and the stand-in servers.
#pragma once

#include "opcsdk/OpcTypes.h"
#include "opcsdk/OpcDa.h"
#include "opcsdk/OpcAe.h"
#include "opcsdk/OpcStream.h"
#include "opcsdk/servers/OpcStandIn.h"
