// The OPC Data Access interfaces (1.0, 2.0 and the 3.0 ones in use) and the server-list service.
//
// Memory rule of every method: arrays and strings a method returns are task memory
// (CoTaskMemAlloc) that the caller frees with CoTaskMemFree, the VARIANTs inside them cleared first.
#pragma once

#include "com/ConnectionPoint.h"
#include "com/DataObject.h"
#include "com/Enumerators.h"
#include "com/PersistFile.h"
#include "opcsdk/OpcTypes.h"

// ---- Identifiers ------------------------------------------------------------------------------
inline const IID IID_IOPCServer = {
    0x39C13A4D, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCBrowseServerAddressSpace = {
    0x39C13A4F, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCGroupStateMgt = {
    0x39C13A50, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCSyncIO = {
    0x39C13A52, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCAsyncIO = {
    0x39C13A53, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCItemMgt = {
    0x39C13A54, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IEnumOPCItemAttributes = {
    0x39C13A55, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCDataCallback = {
    0x39C13A70, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCAsyncIO2 = {
    0x39C13A71, 0x011E, 0x11D0, {0x96, 0x75, 0x00, 0x20, 0xAF, 0xD8, 0xAD, 0xB3}};
inline const IID IID_IOPCCommon = {
    0xF31DFDE2, 0x07B6, 0x11D2, {0xB2, 0xD8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline const IID IID_IOPCShutdown = {
    0xF31DFDE1, 0x07B6, 0x11D2, {0xB2, 0xD8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline const IID IID_IOPCGroupStateMgt2 = {
    0x8E368666, 0xD72E, 0x4F78, {0x87, 0xED, 0x64, 0x76, 0x11, 0xC6, 0x1C, 0x9F}};
inline const IID IID_IOPCSyncIO2 = {
    0x730F5F0F, 0x55B1, 0x4C81, {0x9E, 0x18, 0xFF, 0x8A, 0x09, 0x04, 0xE1, 0xFA}};
inline const IID IID_IOPCServerList = {
    0x13486D50, 0x4821, 0x11D2, {0xA4, 0x94, 0x3C, 0xB3, 0x06, 0xC1, 0x00, 0x00}};
// The server-list service (creatable locally, or on a computer by CoCreateInstanceEx).
inline const CLSID CLSID_OpcServerList = {
    0x13486D51, 0x4821, 0x11D2, {0xA4, 0x94, 0x3C, 0xB3, 0x06, 0xC1, 0x00, 0x00}};

class IEnumOPCItemAttributes;

// ---- Server -----------------------------------------------------------------------------------
class IOPCServer : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCServer; }
    virtual HRESULT STDMETHODCALLTYPE AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                                               OPCHANDLE hClientGroup, LONG* pTimeBias,
                                               FLOAT* pPercentDeadband, DWORD dwLCID,
                                               OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate,
                                               REFIID riid, LPUNKNOWN* ppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LCID dwLocale, LPWSTR* ppString) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(OPCSERVERSTATUS** ppServerStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid,
                                                            LPUNKNOWN* ppUnk) = 0;
};

class IOPCCommon : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCCommon; }
    virtual HRESULT STDMETHODCALLTYPE SetLocaleID(LCID dwLcid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pdwLcid) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryAvailableLocaleIDs(DWORD* pdwCount, LCID** pdwLcid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LPWSTR* ppString) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClientName(LPCWSTR szName) = 0;
};

// The sink a client advises on a server's IOPCShutdown connection point.
class IOPCShutdown : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCShutdown; }
    virtual HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR szReason) = 0;
};

class IOPCBrowseServerAddressSpace : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCBrowseServerAddressSpace; }
    virtual HRESULT STDMETHODCALLTYPE QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) = 0;
    // Up: szString is ignored; fails (E_FAIL) at the root. Down: into the child branch szString.
    // To: the fully qualified branch szString ("" is the root).
    virtual HRESULT STDMETHODCALLTYPE ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                                           LPCWSTR szString) = 0;
    // Names at the current position (OPC_BRANCH, OPC_LEAF) or every item ID below it (OPC_FLAT).
    // S_FALSE with an empty enumerator when nothing matches.
    virtual HRESULT STDMETHODCALLTYPE BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                                       LPCWSTR szFilterCriteria, VARTYPE vtDataTypeFilter,
                                                       DWORD dwAccessRightsFilter,
                                                       LPENUMSTRING* ppIEnumString) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID) = 0;
    virtual HRESULT STDMETHODCALLTYPE BrowseAccessPaths(LPCWSTR szItemID, LPENUMSTRING* ppIEnumString) = 0;
};

class IOPCServerList : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCServerList; }
    virtual HRESULT STDMETHODCALLTYPE EnumClassesOfCategories(ULONG cImplemented, CATID rgcatidImpl[],
                                                              ULONG cRequired, CATID rgcatidReq[],
                                                              IEnumGUID** ppenumClsid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassDetails(REFCLSID clsid, LPOLESTR* ppszProgID,
                                                      LPOLESTR* ppszUserType) = 0;
    virtual HRESULT STDMETHODCALLTYPE CLSIDFromProgID(LPCOLESTR szProgId, LPCLSID clsid) = 0;
};

// ---- Group ------------------------------------------------------------------------------------
class IOPCGroupStateMgt : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCGroupStateMgt; }
    virtual HRESULT STDMETHODCALLTYPE GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName,
                                               LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD* pLCID,
                                               OPCHANDLE* phClientGroup, OPCHANDLE* phServerGroup) = 0;
    // Null arguments keep their current value.
    virtual HRESULT STDMETHODCALLTYPE SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                                               BOOL* pActive, LONG* pTimeBias, FLOAT* pPercentDeadband,
                                               DWORD* pLCID, OPCHANDLE* phClientGroup) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetName(LPCWSTR szName) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) = 0;
};

class IOPCGroupStateMgt2 : public IOPCGroupStateMgt
{
public:
    typedef IOPCGroupStateMgt QyrBase;
    static const IID& Iid() { return IID_IOPCGroupStateMgt2; }
    virtual HRESULT STDMETHODCALLTYPE SetKeepAlive(DWORD dwKeepAliveTime, DWORD* pdwRevisedKeepAliveTime) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetKeepAlive(DWORD* pdwKeepAliveTime) = 0;
};

class IOPCItemMgt : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCItemMgt; }
    // S_FALSE when some items failed: see the per-item errors.
    virtual HRESULT STDMETHODCALLTYPE AddItems(DWORD dwCount, OPCITEMDEF* pItemArray,
                                               OPCITEMRESULT** ppAddResults, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                                                    OPCITEMRESULT** ppValidationResults,
                                                    HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveItems(DWORD dwCount, OPCHANDLE* phServer, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive,
                                                     HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClientHandles(DWORD dwCount, OPCHANDLE* phServer,
                                                       OPCHANDLE* phClient, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDatatypes(DWORD dwCount, OPCHANDLE* phServer,
                                                   VARTYPE* pRequestedDatatypes, HRESULT** ppErrors) = 0;
    // riid: IID_IEnumOPCItemAttributes. S_FALSE with an empty enumerator when the group has no items.
    virtual HRESULT STDMETHODCALLTYPE CreateEnumerator(REFIID riid, LPUNKNOWN* ppUnk) = 0;
};

class IEnumOPCItemAttributes : public IUnknown
{
public:
    static const IID& Iid() { return IID_IEnumOPCItemAttributes; }
    // *ppItemArray: one task-memory array of the fetched records; each record's strings, blob and
    // vEUInfo are the caller's too.
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, OPCITEMATTRIBUTES** ppItemArray,
                                           ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumOPCItemAttributes** ppEnumItemAttributes) = 0;
};

class IOPCSyncIO : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCSyncIO; }
    virtual HRESULT STDMETHODCALLTYPE Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                                           OPCITEMSTATE** ppItemValues, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                            HRESULT** ppErrors) = 0;
};

class IOPCSyncIO2 : public IOPCSyncIO
{
public:
    typedef IOPCSyncIO QyrBase;
    static const IID& Iid() { return IID_IOPCSyncIO2; }
    virtual HRESULT STDMETHODCALLTYPE ReadMaxAge(DWORD dwCount, OPCHANDLE* phServer, DWORD* pdwMaxAge,
                                                 VARIANT** ppvValues, WORD** ppwQualities,
                                                 FILETIME** ppftTimeStamps, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteVQT(DWORD dwCount, OPCHANDLE* phServer, OPCITEMVQT* pItemVQT,
                                               HRESULT** ppErrors) = 0;
};

// DA 1.0: results arrive as streams on the IAdviseSink advised through the group's IDataObject;
// dwConnection is the connection number DAdvise returned for the stream wanted.
class IOPCAsyncIO : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCAsyncIO; }
    virtual HRESULT STDMETHODCALLTYPE Read(DWORD dwConnection, OPCDATASOURCE dwSource, DWORD dwCount,
                                           OPCHANDLE* phServer, DWORD* pTransactionID,
                                           HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(DWORD dwConnection, DWORD dwCount, OPCHANDLE* phServer,
                                            VARIANT* pItemValues, DWORD* pTransactionID,
                                            HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh(DWORD dwConnection, OPCDATASOURCE dwSource,
                                              DWORD* pTransactionID) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel(DWORD dwTransactionID) = 0;
};

// DA 2.0: results arrive on the IOPCDataCallback advised on the group's connection point; without
// one the calls fail with CONNECT_E_NOCONNECTION.
class IOPCAsyncIO2 : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCAsyncIO2; }
    virtual HRESULT STDMETHODCALLTYPE Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID,
                                           DWORD* pdwCancelID, HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                            DWORD dwTransactionID, DWORD* pdwCancelID,
                                            HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID,
                                               DWORD* pdwCancelID) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel2(DWORD dwCancelID) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEnable(BOOL bEnable) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnable(BOOL* pbEnable) = 0;
};

// Called by the server on its own thread. The arrays belong to the server and are valid during the
// call only.
class IOPCDataCallback : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCDataCallback; }
    virtual HRESULT STDMETHODCALLTYPE OnDataChange(DWORD dwTransid, OPCHANDLE hGroup, HRESULT hrMasterquality,
                                                   HRESULT hrMastererror, DWORD dwCount,
                                                   OPCHANDLE* phClientItems, VARIANT* pvValues,
                                                   WORD* pwQualities, FILETIME* pftTimeStamps,
                                                   HRESULT* pErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnReadComplete(DWORD dwTransid, OPCHANDLE hGroup,
                                                     HRESULT hrMasterquality, HRESULT hrMastererror,
                                                     DWORD dwCount, OPCHANDLE* phClientItems,
                                                     VARIANT* pvValues, WORD* pwQualities,
                                                     FILETIME* pftTimeStamps, HRESULT* pErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnWriteComplete(DWORD dwTransid, OPCHANDLE hGroup, HRESULT hrMastererr,
                                                      DWORD dwCount, OPCHANDLE* pClienthandles,
                                                      HRESULT* pErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnCancelComplete(DWORD dwTransid, OPCHANDLE hGroup) = 0;
};
