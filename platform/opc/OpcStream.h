// Writing and checked reading of the DA 1.0 stream blocks (layouts in OpcTypes.h).
#pragma once

#include "com/DataObject.h"
#include "opcsdk/OpcTypes.h"

#include <vector>

// One item of a data stream. The value is the reader's copy: clear it (OpcStreamClear).
struct OPCSTMITEM
{
    OPCHANDLE hClient;
    WORD wQuality;
    FILETIME ftTimeStamp; // zero without time stamps
    VARIANT vValue;
};

// Builds a data block ("OPCSTMFORMATDATA", or with time stamps "OPCSTMFORMATDATATIME") in a new
// global memory block; null when out of memory. Values of types a stream cannot carry (interfaces,
// references, arrays of strings or variants) are written as VT_EMPTY.
HGLOBAL OpcStreamWriteData(BOOL withTime, OPCHANDLE hClientGroup, DWORD dwTransactionID, HRESULT hrStatus,
                           DWORD dwCount, const OPCHANDLE* phClient, const VARIANT* pValues,
                           const WORD* pQualities, const FILETIME* pTimeStamps);
// Builds a write-complete block ("OPCSTMFORMATWRITECOMPLETE").
HGLOBAL OpcStreamWriteComplete(OPCHANDLE hClientGroup, DWORD dwTransactionID, HRESULT hrStatus, DWORD dwCount,
                               const OPCHANDLE* phClient, const HRESULT* pErrors);

// Reads a data block of size bytes. FALSE, with nothing in items, when the group header does not fit
// the block, its stated size is below the header's own or beyond the block, or the item headers do
// not fit the stated size. An item whose value does not fit, or has a type a stream cannot carry, is
// returned with VT_EMPTY and wQuality 0 (bad).
BOOL OpcStreamReadData(const BYTE* block, size_t size, BOOL withTime, OPCGROUPHEADER* header,
                       std::vector<OPCSTMITEM>* items);
// Reads a write-complete block; FALSE when it is malformed.
BOOL OpcStreamReadWriteComplete(const BYTE* block, size_t size, OPCGROUPHEADERWRITE* header,
                                std::vector<OPCITEMHEADERWRITE>* items);
// Clears the values of items and empties it.
void OpcStreamClear(std::vector<OPCSTMITEM>* items);
