// OPC Data Access and Alarms and Events: handles, enumerations, records, quality bits, result codes,
// component categories and the DA 1.0 stream layouts.
#pragma once

#include "com/ClassRegistry.h"
#include "com/Variant.h"

#include <cstddef>

// Server and client handles are 32 bits on every platform.
typedef DWORD OPCHANDLE;

// ---- Component categories -------------------------------------------------------------------
inline const CATID CATID_OPCDAServer10 = {
    0x63D5F430, 0xCFE4, 0x11D1, {0xB2, 0xC8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline const CATID CATID_OPCDAServer20 = {
    0x63D5F432, 0xCFE4, 0x11D1, {0xB2, 0xC8, 0x00, 0x60, 0x08, 0x3B, 0xA1, 0xFB}};
inline const CATID CATID_OPCDAServer30 = {
    0xCC603642, 0x66D7, 0x48F1, {0xB6, 0x9A, 0xB6, 0x25, 0xE7, 0x36, 0x52, 0xD7}};
inline const CATID CATID_OPCAEServer10 = {
    0x58E13251, 0xAC87, 0x11D1, {0x84, 0xD5, 0x00, 0x60, 0x8C, 0xB8, 0xA7, 0xE9}};

// ---- Data Access enumerations ---------------------------------------------------------------
enum OPCDATASOURCE
{
    OPC_DS_CACHE = 1,
    OPC_DS_DEVICE = 2
};
enum OPCBROWSETYPE
{
    OPC_BRANCH = 1,
    OPC_LEAF = 2,
    OPC_FLAT = 3
};
enum OPCNAMESPACETYPE
{
    OPC_NS_HIERARCHIAL = 1,
    OPC_NS_FLAT = 2
};
enum OPCBROWSEDIRECTION
{
    OPC_BROWSE_UP = 1,
    OPC_BROWSE_DOWN = 2,
    OPC_BROWSE_TO = 3
};
enum OPCEUTYPE
{
    OPC_NOENUM = 0,
    OPC_ANALOG = 1,
    OPC_ENUMERATED = 2
};
enum OPCSERVERSTATE
{
    OPC_STATUS_RUNNING = 1,
    OPC_STATUS_FAILED = 2,
    OPC_STATUS_NOCONFIG = 3,
    OPC_STATUS_SUSPENDED = 4,
    OPC_STATUS_TEST = 5,
    OPC_STATUS_COMMFAULT = 6
};
enum OPCENUMSCOPE
{
    OPC_ENUM_PRIVATE_CONNECTIONS = 1,
    OPC_ENUM_PUBLIC_CONNECTIONS = 2,
    OPC_ENUM_ALL_CONNECTIONS = 3,
    OPC_ENUM_PRIVATE = 4,
    OPC_ENUM_PUBLIC = 5,
    OPC_ENUM_ALL = 6
};

// Access rights of an item.
#define OPC_READABLE 1
#define OPC_WRITEABLE 2

// ---- Quality ----------------------------------------------------------------------------------
#define OPC_QUALITY_MASK 0xC0
#define OPC_STATUS_MASK 0xFC
#define OPC_LIMIT_MASK 0x03
#define OPC_QUALITY_BAD 0x00
#define OPC_QUALITY_UNCERTAIN 0x40
#define OPC_QUALITY_GOOD 0xC0
#define OPC_QUALITY_CONFIG_ERROR 0x04
#define OPC_QUALITY_NOT_CONNECTED 0x08
#define OPC_QUALITY_DEVICE_FAILURE 0x0C
#define OPC_QUALITY_SENSOR_FAILURE 0x10
#define OPC_QUALITY_LAST_KNOWN 0x14
#define OPC_QUALITY_COMM_FAILURE 0x18
#define OPC_QUALITY_OUT_OF_SERVICE 0x1C
#define OPC_QUALITY_WAITING_FOR_INITIAL_DATA 0x20
#define OPC_QUALITY_LAST_USABLE 0x44
#define OPC_QUALITY_SENSOR_CAL 0x50
#define OPC_QUALITY_EGU_EXCEEDED 0x54
#define OPC_QUALITY_SUB_NORMAL 0x58
#define OPC_QUALITY_LOCAL_OVERRIDE 0xD8
#define OPC_LIMIT_OK 0x00
#define OPC_LIMIT_LOW 0x01
#define OPC_LIMIT_HIGH 0x02
#define OPC_LIMIT_CONST 0x03

// ---- Result codes -----------------------------------------------------------------------------
#define OPC_E_INVALIDHANDLE ((HRESULT)0xC0040001L)
#define OPC_E_BADTYPE ((HRESULT)0xC0040004L)
#define OPC_E_PUBLIC ((HRESULT)0xC0040005L)
#define OPC_E_BADRIGHTS ((HRESULT)0xC0040006L)
#define OPC_E_UNKNOWNITEMID ((HRESULT)0xC0040007L)
#define OPC_E_INVALIDITEMID ((HRESULT)0xC0040008L)
#define OPC_E_INVALIDFILTER ((HRESULT)0xC0040009L)
#define OPC_E_UNKNOWNPATH ((HRESULT)0xC004000AL)
#define OPC_E_RANGE ((HRESULT)0xC004000BL)
#define OPC_E_DUPLICATENAME ((HRESULT)0xC004000CL)
#define OPC_S_UNSUPPORTEDRATE ((HRESULT)0x0004000DL)
#define OPC_S_CLAMP ((HRESULT)0x0004000EL)
#define OPC_S_INUSE ((HRESULT)0x0004000FL)
#define OPC_E_INVALIDCONFIGFILE ((HRESULT)0xC0040010L)
#define OPC_E_NOTFOUND ((HRESULT)0xC0040011L)
#define OPC_E_INVALID_PID ((HRESULT)0xC0040203L)
#define OPC_E_DEADBANDNOTSET ((HRESULT)0xC0040400L)
#define OPC_E_DEADBANDNOTSUPPORTED ((HRESULT)0xC0040401L)
#define OPC_E_NOBUFFERING ((HRESULT)0xC0040402L)
#define OPC_E_INVALIDCONTINUATIONPOINT ((HRESULT)0xC0040403L)
#define OPC_S_DATAQUEUEOVERFLOW ((HRESULT)0x00040404L)
#define OPC_E_RATENOTSET ((HRESULT)0xC0040405L)
#define OPC_E_NOTSUPPORTED ((HRESULT)0xC0040406L)
// Alarms and Events.
#define OPC_S_ALREADYACKED ((HRESULT)0x00040200L)
#define OPC_S_INVALIDBUFFERTIME ((HRESULT)0x00040201L)
#define OPC_S_INVALIDMAXSIZE ((HRESULT)0x00040202L)
#define OPC_S_INVALIDKEEPALIVETIME ((HRESULT)0x00040203L)
#define OPC_E_INVALIDBRANCHNAME ((HRESULT)0xC0040203L)
#define OPC_E_INVALIDTIME ((HRESULT)0xC0040204L)
#define OPC_E_BUSY ((HRESULT)0xC0040205L)
#define OPC_E_NOINFO ((HRESULT)0xC0040206L)

// ---- Data Access records ----------------------------------------------------------------------
// Arrays and strings in records handed out by a server are task memory the caller frees.
struct OPCSERVERSTATUS
{
    FILETIME ftStartTime;
    FILETIME ftCurrentTime;
    FILETIME ftLastUpdateTime;
    OPCSERVERSTATE dwServerState;
    DWORD dwGroupCount;
    DWORD dwBandWidth;
    WORD wMajorVersion;
    WORD wMinorVersion;
    WORD wBuildNumber;
    WORD wReserved;
    LPWSTR szVendorInfo;
};

struct OPCITEMDEF
{
    LPWSTR szAccessPath;
    LPWSTR szItemID;
    BOOL bActive;
    OPCHANDLE hClient;
    DWORD dwBlobSize;
    BYTE* pBlob;
    VARTYPE vtRequestedDataType;
    WORD wReserved;
};

struct OPCITEMRESULT
{
    OPCHANDLE hServer;
    VARTYPE vtCanonicalDataType;
    WORD wReserved;
    DWORD dwAccessRights;
    DWORD dwBlobSize;
    BYTE* pBlob;
};

struct OPCITEMSTATE
{
    OPCHANDLE hClient;
    FILETIME ftTimeStamp;
    WORD wQuality;
    WORD wReserved;
    VARIANT vDataValue;
};

struct OPCITEMATTRIBUTES
{
    LPWSTR szAccessPath;
    LPWSTR szItemID;
    BOOL bActive;
    OPCHANDLE hClient;
    OPCHANDLE hServer;
    DWORD dwAccessRights;
    DWORD dwBlobSize;
    BYTE* pBlob;
    VARTYPE vtRequestedDataType;
    VARTYPE vtCanonicalDataType;
    OPCEUTYPE dwEUType;
    VARIANT vEUInfo;
};

struct OPCITEMVQT
{
    VARIANT vDataValue;
    BOOL bQualitySpecified;
    WORD wQuality;
    WORD wReserved;
    BOOL bTimeStampSpecified;
    DWORD dwReserved;
    FILETIME ftTimeStamp;
};

// ---- DA 1.0 streams ---------------------------------------------------------------------------
// The blocks that a DA 1.0 server passes in a global memory block (TYMED_HGLOBAL) to
// IAdviseSink::OnDataChange, under the registered clipboard formats named below. All fields are
// little-endian, handles 32 bits, every size fixed:
//
// "OPCSTMFORMATDATA" / "OPCSTMFORMATDATATIME":
//   OPCGROUPHEADER (20 bytes), then dwItemCount item headers (OPCITEMHEADER2, 12 bytes, or with
//   time stamps OPCITEMHEADER1, 20 bytes), then the value area. dwSize is the size of the whole
//   block. Each item's value is an OPCSTMVARIANT (16 bytes) at dwValueOffset from the block start:
//   - VT_BSTR: a DWORD byte count follows, then the characters as wchar_t (4 bytes each), then a
//     terminating 0 wchar_t that the count does not include;
//   - VT_ARRAY | type: an OPCSTMSAFEARRAY (24 bytes, one dimension) follows, then cElements
//     elements of cbElements bytes each (numeric element types only; no strings or variants);
//   - any other type is complete in the OPCSTMVARIANT's 8 value bytes (as a VARIANT holds them).
// "OPCSTMFORMATWRITECOMPLETE":
//   OPCGROUPHEADERWRITE (16 bytes), then dwItemCount OPCITEMHEADERWRITE (8 bytes each).
// A reader checks every count, offset and length against the block's size (see OpcStream.h).
#define OPCSTMFORMATDATA_NAME L"OPCSTMFORMATDATA"
#define OPCSTMFORMATDATATIME_NAME L"OPCSTMFORMATDATATIME"
#define OPCSTMFORMATWRITECOMPLETE_NAME L"OPCSTMFORMATWRITECOMPLETE"

#pragma pack(push, 4)
struct OPCGROUPHEADER
{
    DWORD dwSize;
    DWORD dwItemCount;
    OPCHANDLE hClientGroup;
    DWORD dwTransactionID;
    HRESULT hrStatus;
};
struct OPCITEMHEADER1
{
    OPCHANDLE hClient;
    DWORD dwValueOffset;
    WORD wQuality;
    WORD wReserved;
    FILETIME ftTimeStampItem;
};
struct OPCITEMHEADER2
{
    OPCHANDLE hClient;
    DWORD dwValueOffset;
    WORD wQuality;
    WORD wReserved;
};
struct OPCGROUPHEADERWRITE
{
    DWORD dwItemCount;
    OPCHANDLE hClientGroup;
    DWORD dwTransactionID;
    HRESULT hrStatus;
};
struct OPCITEMHEADERWRITE
{
    OPCHANDLE hClient;
    HRESULT dwError;
};
// A value in a stream: the type and the 8 value bytes of a VARIANT, without pointers.
struct OPCSTMVARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    BYTE data[8];
};
struct OPCSTMSAFEARRAY
{
    WORD cDims;
    WORD fFeatures;
    DWORD cbElements;
    DWORD cLocks;
    DWORD dwReserved; // where the data pointer of a SAFEARRAY stands
    DWORD cElements;
    LONG lLbound;
};
#pragma pack(pop)

static_assert(sizeof(OPCGROUPHEADER) == 20);
static_assert(sizeof(OPCITEMHEADER1) == 20);
static_assert(sizeof(OPCITEMHEADER2) == 12);
static_assert(sizeof(OPCGROUPHEADERWRITE) == 16);
static_assert(sizeof(OPCITEMHEADERWRITE) == 8);
static_assert(sizeof(OPCSTMVARIANT) == 16);
static_assert(sizeof(OPCSTMSAFEARRAY) == 24);

// ---- Alarms and Events ------------------------------------------------------------------------
enum OPCEVENTSERVERSTATE
{
    OPCAE_STATUS_RUNNING = 1,
    OPCAE_STATUS_FAILED = 2,
    OPCAE_STATUS_NOCONFIG = 3,
    OPCAE_STATUS_SUSPENDED = 4,
    OPCAE_STATUS_TEST = 5,
    OPCAE_STATUS_COMMFAULT = 6
};

// Event types.
#define OPC_SIMPLE_EVENT 0x0001
#define OPC_TRACKING_EVENT 0x0002
#define OPC_CONDITION_EVENT 0x0004
#define OPC_ALL_EVENTS (OPC_SIMPLE_EVENT | OPC_TRACKING_EVENT | OPC_CONDITION_EVENT)
// Change mask of a condition event.
#define OPC_CHANGE_ACTIVE_STATE 0x0001
#define OPC_CHANGE_ACK_STATE 0x0002
#define OPC_CHANGE_ENABLE_STATE 0x0004
#define OPC_CHANGE_QUALITY 0x0008
#define OPC_CHANGE_SEVERITY 0x0010
#define OPC_CHANGE_SUBCONDITION 0x0020
#define OPC_CHANGE_MESSAGE 0x0040
#define OPC_CHANGE_ATTRIBUTE 0x0080
// Condition state.
#define OPC_CONDITION_ENABLED 0x0001
#define OPC_CONDITION_ACTIVE 0x0002
#define OPC_CONDITION_ACKED 0x0004
// Filters a server supports.
#define OPC_FILTER_BY_EVENT 0x0001
#define OPC_FILTER_BY_CATEGORY 0x0002
#define OPC_FILTER_BY_SEVERITY 0x0004
#define OPC_FILTER_BY_AREA 0x0008
#define OPC_FILTER_BY_SOURCE 0x0010

struct OPCEVENTSERVERSTATUS
{
    FILETIME ftStartTime;
    FILETIME ftCurrentTime;
    FILETIME ftLastUpdateTime;
    OPCEVENTSERVERSTATE dwServerState;
    WORD wMajorVersion;
    WORD wMinorVersion;
    WORD wBuildNumber;
    WORD wReserved;
    LPWSTR szVendorInfo;
};

// One event. The strings and the attribute array belong to the server and are valid during the
// sink call only.
struct ONEVENTSTRUCT
{
    WORD wChangeMask;
    WORD wNewState;
    LPWSTR szSource;
    FILETIME ftTime;
    LPWSTR szMessage;
    DWORD dwEventType;
    DWORD dwEventCategory;
    DWORD dwSeverity;
    LPWSTR szConditionName;
    LPWSTR szSubconditionName;
    WORD wQuality;
    WORD wReserved;
    BOOL bAckRequired;
    FILETIME ftActiveTime;
    DWORD dwCookie;
    DWORD dwNumEventAttrs;
    VARIANT* pEventAttributes;
    LPWSTR szActorID;
};

struct OPCCONDITIONSTATE
{
    WORD wState;
    WORD wReserved1;
    LPWSTR szActiveSubCondition;
    LPWSTR szASCDefinition;
    DWORD dwASCSeverity;
    LPWSTR szASCDescription;
    WORD wQuality;
    WORD wReserved2;
    FILETIME ftLastAckTime;
    FILETIME ftSubCondLastActive;
    FILETIME ftCondLastActive;
    FILETIME ftCondLastInactive;
    LPWSTR szAcknowledgerID;
    LPWSTR szComment;
    DWORD dwNumSCs;
    LPWSTR* pszSCNames;
    LPWSTR* pszSCDefinitions;
    DWORD* pdwSCSeverities;
    LPWSTR* pszSCDescriptions;
    DWORD dwNumEventAttrs;
    VARIANT* pEventAttributes;
    HRESULT* pErrors;
};
