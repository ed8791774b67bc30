// CItem: the client side of one OPC item of a group: item ID, server handle, requested data type and
// the last value, quality and time stamp that a read or a data report stored.
//
// Its client handle on the server is a 32-bit handle from the item handle table, never its address:
// a report carrying an unknown handle finds nothing. Value, quality, time stamp, changed flag and
// the item's group are written by the servers' threads and read by the UI thread, so they are kept
// under the item's lock and handed out as copies.
#pragma once

#include "opc/Base.h"

#include "com/ComUtil.h"
#include "win32/CheckedHandleTable.h"

#include <mutex>

class CGroup;

class CItem : public CBase<IOPCItemMgt>
{
    DECLARE_DYNCREATE(CItem)
public:
    typedef CCheckedHandleTable<CItem, std::shared_mutex> CHandleTable;

    CItem();
    ~CItem() override;

    // The handle the servers know the item by, and the table that maps it back.
    OPCHANDLE GetClientHandle() const { return m_hClient; }
    static CHandleTable& GetHandleTable();
    // For the UI thread, which alone deletes items; null for a handle the table does not know.
    static CItem* FromClientHandle(OPCHANDLE handle);

    BOOL IsChanged() const;
    void SetChanged(BOOL changed);
    int GetParamType() const { return m_nParamType; }
    void SetParamType(int type) { m_nParamType = type; }
    VARTYPE GetDataType() const { return m_vtDataType; }
    void SetDataType(VARTYPE type) { m_vtDataType = type; }
    // The item ID.
    const CString& GetName() const { return m_strItemID; }
    void SetName(LPCWSTR itemId) { m_strItemID = itemId; }
    WORD GetQuality() const;
    void SetQuality(WORD quality);
    // A copy of the stored value.
    _variant_t GetValue() const;
    void SetValue(const VARIANT& value);
    FILETIME GetTimeStamp() const;
    void SetTimeStamp(const FILETIME& time);
    CGroup* GetGroup() const;
    void SetGroup(CGroup* group);
    // The client handle of the item's group (0 without a group), for the data reports.
    OPCHANDLE GetGroupClientHandle() const;
    CObject* GetUserData() const { return m_pUserData; }
    void SetUserData(CObject* data) { m_pUserData = data; }
    DWORD GetLastError() const { return m_dwLastError; }

    BOOL IsQualityGood() const;
    BOOL IsQualityBad() const;
    BOOL IsQualityUncertain() const;
    // Bad, waiting for initial data.
    BOOL IsQualityUnInitialized() const;

    // The value as a double for every numeric type and VT_BOOL (true 1.0); DBL_MIN, the system's "no
    // value", for any other type. type receives the value's type.
    double GetDoubleValue(VARTYPE& type) const;
    // A copy of the text for VT_BSTR, else empty. type receives the value's type.
    CString GetBSTRValue(VARTYPE& type) const;

    // Stores one reported value under one lock: time stamp (when given), a copy of the value,
    // quality, and the changed flag.
    void StoreReport(const VARIANT& value, WORD quality, const FILETIME* timeStamp);

    // Record: a version tag, base name, item ID, active flag, requested data type. The first record
    // form (base name, active flag, data type) is still read; it has no item ID.
    void Serialize(CArchive& ar) override;

    BOOL ReadSync(OPCDATASOURCE source);
    BOOL ReadAsync(OPCDATASOURCE source);
    // Writes a value given as text, converted to the item's data type.
    BOOL CommandSync(const wchar_t* text);
    BOOL CommandAsync(const wchar_t* text);
    // Cancels the group's open asynchronous transaction.
    BOOL Cancel();
    // Edits active state, data type and client handle through the item dialog.
    BOOL EditItem();

private:
    BOOL IsDA20() const;
    void DisplayError(HRESULT hr) const;
    BOOL MakeCommandValue(const wchar_t* text, LPCWSTR caller, VARIANT* value) const;

    OPCHANDLE m_hClient = 0;
    int m_nParamType = 99;
    VARTYPE m_vtDataType = VT_EMPTY;
    CString m_strItemID;
    CObject* m_pUserData = nullptr;
    DWORD m_dwLastError = 0;

    // Guarded by m_lock.
    mutable std::mutex m_lock;
    BOOL m_bChanged = FALSE;
    WORD m_wQuality = OPC_QUALITY_UNCERTAIN;
    VARIANT m_vValue;
    FILETIME m_ftTimeStamp = {0, 0};
    CGroup* m_pGroup = nullptr;
    OPCHANDLE m_hGroupClient = 0;
};
