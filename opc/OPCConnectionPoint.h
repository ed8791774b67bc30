// COPCConnectionPoint: the OPC DA 2.0 data sink (IOPCDataCallback) shared by all groups of one
// server, with the calls that attach a group to it and detach it.
//
// The server calls it on its own threads. Every report finds its items through the item handle
// table, under the table's read lock, so an item being deleted on the UI thread waits until the
// report is through, and a handle the client does not know is ignored.
#pragma once

#include "com/ComObject.h"
#include "opcsdk/OpcDa.h"

class CGroup;

class COPCConnectionPoint : public CComObjectImpl<IOPCDataCallback>
{
public:
    COPCConnectionPoint();
    ~COPCConnectionPoint() override;

    // Advises this sink on the group's IOPCDataCallback connection point; the cookie goes to the group.
    BOOL Advise(CGroup* group);
    BOOL Unadvise(CGroup* group);

    HRESULT STDMETHODCALLTYPE OnDataChange(DWORD dwTransid, OPCHANDLE hGroup, HRESULT hrMasterquality,
                                           HRESULT hrMastererror, DWORD dwCount, OPCHANDLE* phClientItems,
                                           VARIANT* pvValues, WORD* pwQualities, FILETIME* pftTimeStamps,
                                           HRESULT* pErrors) override;
    HRESULT STDMETHODCALLTYPE OnReadComplete(DWORD dwTransid, OPCHANDLE hGroup, HRESULT hrMasterquality,
                                             HRESULT hrMastererror, DWORD dwCount, OPCHANDLE* phClientItems,
                                             VARIANT* pvValues, WORD* pwQualities, FILETIME* pftTimeStamps,
                                             HRESULT* pErrors) override;
    HRESULT STDMETHODCALLTYPE OnWriteComplete(DWORD dwTransid, OPCHANDLE hGroup, HRESULT hrMastererr,
                                              DWORD dwCount, OPCHANDLE* pClienthandles,
                                              HRESULT* pErrors) override;
    HRESULT STDMETHODCALLTYPE OnCancelComplete(DWORD dwTransid, OPCHANDLE hGroup) override;

private:
    // Stores the reported values; returns the client handle of the report's group (0 when none).
    static OPCHANDLE StoreValues(DWORD dwCount, const OPCHANDLE* phClientItems, const VARIANT* pvValues,
                                 const WORD* pwQualities, const FILETIME* pftTimeStamps,
                                 const HRESULT* pErrors);
};
