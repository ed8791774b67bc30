// The stand-in OPC servers of this process, their registration and their failure injection.
//
// Servers (all created in this process through CoCreateInstance(Ex), listed by the server-list
// service under their categories):
// - "Quendrel.OpcDaServer.1" (CLSID_QuendrelOpcDaServer; DA 1.0, 2.0, 3.0): hierarchical address
//   space, '.' between levels:
//     Simulation.Ramp, RampFast, Sine, Random (VT_R8), Counter (VT_I4), Bool (VT_BOOL), Text
//       (VT_BSTR), Bad (quality 0x0C), Uncertain (quality 0x44) - simulated, read-only;
//     Memory.I1, UI1, I2, UI2, I4, UI4, I8, UI8, INT, UINT, R4, R8, CY, DATE, BSTR, BOOL,
//       ArrayR8, ArrayI4 - writable memory tags of every canonical type, starting at 0 / "";
//     Plant.Area1.Tank1.Level, Temperature (VT_R8, simulated), Valve (VT_BOOL, writable),
//       Plant.Area1.Tank2.Level, Plant.Area2.Pump1.Running (VT_BOOL), Speed (VT_R8);
//     Bulk.Tag00000 ... Bulk.Tag09999 - 10,000 simulated VT_R8 tags.
//   Group: IOPCGroupStateMgt2, IOPCItemMgt, IOPCSyncIO2, IOPCAsyncIO2, IOPCAsyncIO, IDataObject and
//   the IOPCDataCallback connection point. Server: IOPCServer, IOPCCommon, IOPCBrowseServerAddress-
//   Space, IPersistFile and the IOPCShutdown connection point.
// - "Quendrel.OpcTestDa10.1" (CLSID_QuendrelOpcTestDa10; DA 1.0 only): flat address space: Ramp,
//   Sine, Random, Counter, Bool, Text and the writable MemI1 ... MemBOOL (same types as Memory.*).
//   Group: IOPCGroupStateMgt, IOPCItemMgt, IOPCSyncIO, IOPCAsyncIO, IDataObject. Server:
//   IOPCServer, IOPCBrowseServerAddressSpace, IPersistFile. No IOPCCommon, no connection points.
// - "Quendrel.OpcEventServer.1" (CLSID_QuendrelOpcEventServer; AE 1.0): IOPCEventServer,
//   IOPCCommon, the IOPCShutdown connection point; subscriptions with the IOPCEventSink connection
//   point. Raises condition events (categories 3 "Level" and 4 "Deviation") and simple events
//   (category 1 "System") from its own thread (see SetEventInterval, FireEvent), each with the
//   attributes selected for its category among 0 "Current value", 1 "High limit", 2 "Low limit"
//   (VT_R8) and 3 "Area" (VT_BSTR), and answers Refresh with its active conditions.
//
// Simulated values are functions of time; each group's cache is refreshed by the server's update
// thread at the group's rate, which fires the data callbacks and DA 1.0 streams from that thread.
// Asynchronous reads, writes and refreshes complete on the same thread.
#pragma once

#include "opcsdk/OpcAe.h"
#include "opcsdk/OpcDa.h"

inline const CLSID CLSID_QuendrelOpcDaServer = {
    0x9869633B, 0xF4ED, 0x40E2, {0xBA, 0xE7, 0x54, 0x80, 0xE2, 0x56, 0xBF, 0x07}};
inline const CLSID CLSID_QuendrelOpcEventServer = {
    0xB8C9B4AE, 0x1C6A, 0x454F, {0x82, 0x32, 0xC6, 0x29, 0xFC, 0xDB, 0xE2, 0x99}};
inline const CLSID CLSID_QuendrelOpcTestDa10 = {
    0xCDA96C3C, 0x9638, 0x475C, {0x86, 0xF5, 0x2A, 0xD2, 0x59, 0x5F, 0x15, 0xF9}};

#define QUENDREL_OPCDASERVER_PROGID L"Quendrel.OpcDaServer.1"
#define QUENDREL_OPCEVENTSERVER_PROGID L"Quendrel.OpcEventServer.1"
#define QUENDREL_OPCTESTDA10_PROGID L"Quendrel.OpcTestDa10.1"

// Registers the server list and the three servers with the class registry (idempotent; also done
// when the library is loaded).
void OpcStandInServers_Register();
// Takes them out again (tests of "class not registered").
void OpcStandInServers_Unregister();

namespace OpcStandIn
{
// What can be made to fail. Each fault is set per server class.
enum FaultKind
{
    FAULT_CREATE,        // CoCreateInstance(Ex) fails with hr
    FAULT_SLOW_START,    // for ms after creation the status reports state, then RUNNING
    FAULT_NEVER_RUNNING, // the status always reports state
    FAULT_CALL,          // the named call fails with hr (count times; -1 always)
    FAULT_ITEM,          // the item itemId fails with hr in AddItems, ValidateItems, reads and writes
    FAULT_DISCONNECT,    // every call of every object of the class fails with hr (default
                         // RPC_E_DISCONNECTED) and creation fails with RPC_S_SERVER_UNAVAILABLE; no
                         // callbacks. Clearing it (ClearFault or Reconnect) brings the objects back.
    FAULT_UNREACHABLE,   // as FAULT_DISCONNECT with RPC_S_SERVER_UNAVAILABLE, and creation fails
                         // only after a short wait (as a computer that does not answer)
    FAULT_ITEM_LIMIT,    // an AddItems call of more than count items fails with hr (as a server that
                         // takes only so many items at once)
};

struct FAULT
{
    FaultKind kind = FAULT_CALL;
    HRESULT hr = E_FAIL;
    // FAULT_CALL: "Interface::Method" as the method is declared, e.g. "IOPCServer::AddGroup",
    // "IOPCItemMgt::AddItems", "IOPCSyncIO::Read" (also when reached through IOPCSyncIO2),
    // "IOPCAsyncIO2::Read", "IOPCGroupStateMgt::GetState", "IConnectionPoint::Advise",
    // "IDataObject::DAdvise", "IOPCEventServer::CreateEventSubscription".
    const char* call = nullptr;
    int count = -1;                              // FAULT_CALL; FAULT_ITEM_LIMIT: the limit
    LPCWSTR itemId = nullptr;                    // FAULT_ITEM
    DWORD ms = 0;                                // FAULT_SLOW_START
    OPCSERVERSTATE state = OPC_STATUS_SUSPENDED; // FAULT_SLOW_START, FAULT_NEVER_RUNNING
};

// Adds a fault to the class (the same kind and call or item replaces an earlier one).
void Inject(REFCLSID server, const FAULT& fault);
// Removes the faults of that kind from the class.
void ClearFault(REFCLSID server, FaultKind kind);
// Removes every fault and every setting below from every class.
void Reset();

// Short forms.
inline void FailCreation(REFCLSID server, HRESULT hr = E_FAIL)
{
    FAULT f;
    f.kind = FAULT_CREATE;
    f.hr = hr;
    Inject(server, f);
}
inline void FailCall(REFCLSID server, const char* call, HRESULT hr = E_FAIL, int count = -1)
{
    FAULT f;
    f.kind = FAULT_CALL;
    f.call = call;
    f.hr = hr;
    f.count = count;
    Inject(server, f);
}
inline void FailItem(REFCLSID server, LPCWSTR itemId, HRESULT hr = OPC_E_UNKNOWNITEMID)
{
    FAULT f;
    f.kind = FAULT_ITEM;
    f.itemId = itemId;
    f.hr = hr;
    Inject(server, f);
}
inline void LimitItemsPerCall(REFCLSID server, int count, HRESULT hr = E_OUTOFMEMORY)
{
    FAULT f;
    f.kind = FAULT_ITEM_LIMIT;
    f.count = count;
    f.hr = hr;
    Inject(server, f);
}
inline void Disconnect(REFCLSID server, HRESULT hr = RPC_E_DISCONNECTED)
{
    FAULT f;
    f.kind = FAULT_DISCONNECT;
    f.hr = hr;
    Inject(server, f);
}
inline void Reconnect(REFCLSID server)
{
    ClearFault(server, FAULT_DISCONNECT);
    ClearFault(server, FAULT_UNREACHABLE);
}

// Sends ShutdownRequest(reason) to every IOPCShutdown sink advised on a live server of the class,
// from the server's thread, and waits until the sinks returned. Returns the number of sinks called.
int RequestShutdown(REFCLSID server, LPCWSTR reason);

// Server objects of the class alive now.
int LiveServerCount(REFCLSID server);
// How often a call ("Interface::Method", as for FAULT_CALL) was made on the class since Reset.
int CallCount(REFCLSID server, const char* call);
// How many scans the groups named group (every group: null) of the class made since Reset: regular
// scans at the group's rate and early ones after new items or a change of state. Only scans that
// sampled the items count (none while the class is down or the group inactive); a scan is counted
// after its data callbacks and streams returned.
int ScanCount(REFCLSID server, LPCWSTR group = nullptr);

// Asynchronous requests (DA 1.0 and 2.0) wait this long on the server's thread before they run, so
// that a test can cancel them. Default 0.
void SetAsyncDelay(REFCLSID server, DWORD ms);

// Alarms and events: automatic events every ms (0: none; default 2000), and one event now. The event
// is raised on the server's thread; FireEvent returns once every subscription was called.
void SetEventInterval(DWORD ms);
void FireEvent(LPCWSTR source, LPCWSTR message, DWORD category, DWORD severity);
// The event server stops: the server objects and subscriptions alive now are lost for good (their
// calls fail with RPC_E_DISCONNECTED, no event or shutdown request reaches their sinks any more),
// and creation fails with RPC_S_SERVER_UNAVAILABLE until StartEventServer. The active conditions
// belong to the plant and stay: a new subscription's Refresh sends them again. Reset starts it.
void StopEventServer();
void StartEventServer();
// Stop, then start at once.
void RestartEventServer();

// Lists the DA 1.0 test server under the DA 2.0 category as well (FALSE: only DA 1.0, as after
// Reset), so a client that looks for DA 2.0 servers finds it.
void ListDa10AsDa20(BOOL list);
// FALSE: the servers of the class answer E_NOINTERFACE for IOPCBrowseServerAddressSpace (TRUE again
// after Reset).
void SetBrowsing(REFCLSID server, BOOL browse);

// Sets a tag's value directly (memory tags; for tests). FALSE for an unknown item or a value that
// does not convert to the tag's type.
BOOL SetTagValue(REFCLSID server, LPCWSTR itemId, const VARIANT& value);
} // namespace OpcStandIn
