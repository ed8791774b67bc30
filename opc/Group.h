// CGroup: the client side of one OPC group of a connected server: its state, its items, its
// subscription to the server's data reports, and the group-wide reads, writes and refreshes.
//
// Its client handle on the server is a 32-bit handle from the group handle table. The open
// asynchronous transaction (transaction and cancel id) is closed by the data reports on the
// servers' threads, so it is kept under the group's lock.
#pragma once

#include "opc/Base.h"
#include "opc/Item.h"

#include "mfc/Collections.h"
#include "win32/CheckedHandleTable.h"

#include <mutex>
#include <vector>

class CInfoServer;

typedef CArray<CItem*, CItem*> CItemArray;

// Client transaction ids of the DA 2.0 asynchronous calls.
#define OPC_TRANSACTION_WRITE 6000
#define OPC_TRANSACTION_REFRESH 6014
#define OPC_TRANSACTION_READ 6015

class CGroup : public CBase2<IOPCGroupStateMgt, IOPCGroupStateMgt2>
{
    DECLARE_DYNCREATE(CGroup)
public:
    typedef CCheckedHandleTable<CGroup, std::shared_mutex> CHandleTable;

    CGroup();
    // Frees the item array, not the items: the server's group removal deletes them first.
    ~CGroup() override;

    OPCHANDLE GetClientHandle() const { return m_hClient; }
    static CHandleTable& GetHandleTable();
    // For the UI thread, which alone deletes groups; null for a handle the table does not know.
    static CGroup* FromClientHandle(OPCHANDLE handle);

    // Shows the add-item dialog for this group; TRUE whatever it ends with.
    BOOL AddItem();
    // Builds the item list from the items the server already holds.
    BOOL ReloadItems();
    // Adds an existing client item to the server again.
    BOOL ReCreateItemOnServer(CItem** item);
    // Adds every item of the group to the server again in one AddItems call, or in smaller batches
    // when the server refuses a call as a whole; an item a batch refused is tried once more alone.
    // FALSE at the first item whose own call fails (as ReCreateItemOnServer).
    BOOL ReCreateItemsOnServer();
    BOOL RemoveItem(CItem** item);
    // Removes and deletes every listed item; the list may be the group's own array.
    BOOL RemoveItems(CItemArray* items);
    unsigned GetItems(CItemArray** out);
    int GetItemCount() const { return int(m_items.GetSize()); }

    BOOL Advise();
    BOOL UnAdvise();

    BOOL ReadItemsSync(OPCDATASOURCE source);
    BOOL ReadItemsSync(OPCDATASOURCE source, DWORD count, OPCHANDLE* serverHandles);
    BOOL ReadItemsAsync(OPCDATASOURCE source, DWORD count, OPCHANDLE* serverHandles);
    BOOL Refresh(OPCDATASOURCE source);
    BOOL Cancel();
    BOOL CommandItemsSync(DWORD count, OPCHANDLE* serverHandles, VARIANT* values);
    BOOL CommandItemsAsync(DWORD count, OPCHANDLE* serverHandles, VARIANT* values);
    BOOL GetDataChangeEnabled(BOOL* enabled, BOOL fromServer);
    BOOL SetDataChangeEnabled(BOOL enable, BOOL toServer);
    BOOL ValidateItems(DWORD count, OPCITEMDEF* definitions);
    // TRUE when no asynchronous transaction is open.
    BOOL CheckForOpenTransactions() const;
    void SetItemQualities(WORD quality);

    void Serialize(CArchive& ar) override;

    DWORD GetUpdateRate() const { return m_dwUpdateRate; }
    void SetUpdateRate(DWORD rate) { m_dwUpdateRate = rate; }
    LONG GetTimeBias() const { return m_lTimeBias; }
    void SetTimeBias(LONG bias) { m_lTimeBias = bias; }
    FLOAT GetDeadBand() const { return m_fDeadBand; }
    void SetDeadBand(FLOAT deadBand) { m_fDeadBand = deadBand; }
    DWORD GetLCID() const { return m_dwLCID; }
    void SetLCID(DWORD lcid) { m_dwLCID = lcid; }
    DWORD GetOPCSTMFormatWriteCompleteConnection() const { return m_dwWriteCompleteConnection; }
    void SetOPCSTMFormatWriteCompleteConnection(DWORD c) { m_dwWriteCompleteConnection = c; }
    DWORD GetOPCSTMFormatDataTimeConnection() const { return m_dwDataTimeConnection; }
    void SetOPCSTMFormatDataTimeConnection(DWORD c) { m_dwDataTimeConnection = c; }
    DWORD GetOPCSTMFormatDataConnection() const { return m_dwDataConnection; }
    void SetOPCSTMFormatDataConnection(DWORD c) { m_dwDataConnection = c; }
    DWORD GetOPCDataAccessConnectionPoint() const { return m_dwDataCallbackCookie; }
    void SetOPCDataAccessConnectionPoint(DWORD cookie) { m_dwDataCallbackCookie = cookie; }
    HRESULT GetLastError() const { return m_hrLastError; }
    CInfoServer* GetInfoServer() const { return m_pInfoServer; }
    void SetInfoServer(CInfoServer* server) { m_pInfoServer = server; }

    // The open asynchronous transaction.
    DWORD GetCurrentTransactionID() const;
    void SetCurrentTransactionID(DWORD id);
    DWORD GetCurrentCancelID() const;
    void SetCurrentCancelID(DWORD id);
    // A report of the server completed the transaction reportedId: both ids become 0 (any thread).
    void CloseTransaction(DWORD reportedId);
    // Closes the transaction of the group with that client handle, if the group still exists.
    static void CloseTransactionOf(OPCHANDLE groupClientHandle, DWORD reportedId);

    // An asynchronous request is being made: a completion that arrives before the request returned
    // is remembered, so the transaction does not stay open after it completed.
    void BeginRequest();
    // The request returned: when it succeeded and did not complete meanwhile, the transaction id
    // becomes id, and with setCancel the cancel id becomes cancelId.
    void EndRequest(BOOL succeeded, DWORD id, BOOL setCancel, DWORD cancelId);

    // At least DA 2.0: the owning server's OPC version is 2.0 or above.
    BOOL IsDA20() const;
    // Passes the code to the owning server's error display (a plain log line without a server).
    void DisplayError(HRESULT hr) const;

private:
    static OPCITEMDEF MakeDefinition(const CItem* item, LPWSTR itemId);
    // The server's answer for an item it was asked to add: handle, data type and group.
    void TakeAddResult(CItem* item, const OPCITEMRESULT& result, HRESULT itemError);
    // AddItems for count items from first; the items it refused (all of them when the batch does
    // not validate) are appended to refused. The call's failure, else S_OK.
    HRESULT ReCreateItemBatch(INT_PTR first, INT_PTR count, std::vector<CItem*>* refused);
    void ClearLastErrors();
    void FailWith(HRESULT hr);
    DWORD GetAsyncConnection() const;
    void DeleteAllItems();

    OPCHANDLE m_hClient = 0;
    CItemArray m_items;
    DWORD m_dwUpdateRate = 100;
    LONG m_lTimeBias = 0;
    FLOAT m_fDeadBand = 0.0f;
    DWORD m_dwLCID = 0;
    BOOL m_bDataChangeEnabled = TRUE;
    DWORD m_dwWriteCompleteConnection = 0;
    DWORD m_dwDataTimeConnection = 0;
    DWORD m_dwDataConnection = 0;
    DWORD m_dwDataCallbackCookie = 0;
    HRESULT m_hrLastError = S_OK;
    CInfoServer* m_pInfoServer = nullptr;

    // Guarded by m_lock.
    mutable std::mutex m_lock;
    DWORD m_dwTransactionID = 0;
    DWORD m_dwCancelID = 0;
    BOOL m_bRequestPending = FALSE;
    std::vector<DWORD> m_closedDuringRequest;
};
