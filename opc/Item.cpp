#include "opc/Item.h"

#include "opc/Group.h"
#include "opc/IOPCAsyncIOWrapper.h"
#include "opc/IOPCItemMgtWrapper.h"
#include "opc/IOPCSyncIOWrapper.h"
#include "opc/InfoServer.h"
#include "opc/OPCDialogs.h"

#include "logvane/Logvane.h"
#include "mfc/Archive.h"
#include "mfc/ModalHook.h"

#include <cfloat>

IMPLEMENT_DYNCREATE(CItem, CObject)

namespace
{
// Begins the current item record; a first-form record begins with the (empty) base name instead.
const wchar_t kItemRecordTag[] = L"\x01"
                                 L"CItem.2";

void FreeErrors(HRESULT* errors)
{
    CoTaskMemFree(errors);
}
} // namespace

CItem::CItem()
{
    VariantInit(&m_vValue);
    m_hClient = GetHandleTable().Add(this);
}

CItem::~CItem()
{
    // Once out of the table no report can reach the item.
    GetHandleTable().Remove(m_hClient);
    VariantClear(&m_vValue);
}

CItem::CHandleTable& CItem::GetHandleTable()
{
    static CHandleTable table;
    return table;
}

CItem* CItem::FromClientHandle(OPCHANDLE handle)
{
    return GetHandleTable().Find(handle);
}

BOOL CItem::IsChanged() const
{
    std::lock_guard lock(m_lock);
    return m_bChanged;
}

void CItem::SetChanged(BOOL changed)
{
    std::lock_guard lock(m_lock);
    m_bChanged = changed;
}

WORD CItem::GetQuality() const
{
    std::lock_guard lock(m_lock);
    return m_wQuality;
}

void CItem::SetQuality(WORD quality)
{
    std::lock_guard lock(m_lock);
    m_wQuality = quality;
}

_variant_t CItem::GetValue() const
{
    std::lock_guard lock(m_lock);
    return _variant_t(m_vValue);
}

void CItem::SetValue(const VARIANT& value)
{
    std::lock_guard lock(m_lock);
    VariantCopy(&m_vValue, &value);
}

FILETIME CItem::GetTimeStamp() const
{
    std::lock_guard lock(m_lock);
    return m_ftTimeStamp;
}

void CItem::SetTimeStamp(const FILETIME& time)
{
    std::lock_guard lock(m_lock);
    m_ftTimeStamp = time;
}

CGroup* CItem::GetGroup() const
{
    std::lock_guard lock(m_lock);
    return m_pGroup;
}

void CItem::SetGroup(CGroup* group)
{
    std::lock_guard lock(m_lock);
    m_pGroup = group;
    m_hGroupClient = group ? group->GetClientHandle() : 0;
}

OPCHANDLE CItem::GetGroupClientHandle() const
{
    std::lock_guard lock(m_lock);
    return m_hGroupClient;
}

BOOL CItem::IsQualityGood() const
{
    return (GetQuality() & OPC_QUALITY_MASK) == OPC_QUALITY_GOOD;
}

BOOL CItem::IsQualityBad() const
{
    return (GetQuality() & OPC_QUALITY_MASK) == OPC_QUALITY_BAD;
}

BOOL CItem::IsQualityUncertain() const
{
    return (GetQuality() & OPC_QUALITY_MASK) == OPC_QUALITY_UNCERTAIN;
}

BOOL CItem::IsQualityUnInitialized() const
{
    return (GetQuality() & OPC_STATUS_MASK) == OPC_QUALITY_WAITING_FOR_INITIAL_DATA;
}

double CItem::GetDoubleValue(VARTYPE& type) const
{
    std::lock_guard lock(m_lock);
    const VARIANT& v = m_vValue;
    type = v.vt;
    switch (v.vt)
    {
    case VT_I1:
        return double(v.cVal);
    case VT_UI1:
        return double(v.bVal);
    case VT_I2:
        return double(v.iVal);
    case VT_UI2:
        return double(v.uiVal);
    case VT_I4:
        return double(v.lVal);
    case VT_UI4:
        return double(v.ulVal);
    case VT_INT:
        return double(v.intVal);
    case VT_UINT:
        return double(v.uintVal);
    case VT_I8:
        return double(v.llVal);
    case VT_UI8:
        return double(v.ullVal);
    case VT_R4:
        return double(v.fltVal);
    case VT_R8:
        return v.dblVal;
    case VT_CY:
        return double(v.cyVal.int64) / 10000.0;
    case VT_DATE:
        return v.date;
    case VT_BOOL:
        return v.boolVal ? 1.0 : 0.0;
    case VT_DECIMAL:
    {
        VARIANT d;
        VariantInit(&d);
        if (SUCCEEDED(VariantChangeType(&d, &v, 0, VT_R8)))
            return d.dblVal;
        return DBL_MIN;
    }
    default:
        return DBL_MIN;
    }
}

CString CItem::GetBSTRValue(VARTYPE& type) const
{
    std::lock_guard lock(m_lock);
    type = m_vValue.vt;
    if (m_vValue.vt == VT_BSTR && m_vValue.bstrVal)
        return CString(m_vValue.bstrVal, int(SysStringLen(m_vValue.bstrVal)));
    return CString();
}

void CItem::StoreReport(const VARIANT& value, WORD quality, const FILETIME* timeStamp)
{
    std::lock_guard lock(m_lock);
    if (timeStamp)
        m_ftTimeStamp = *timeStamp;
    VariantCopy(&m_vValue, &value);
    m_wQuality = quality;
    m_bChanged = TRUE;
}

void CItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << CString(kItemRecordTag) << m_strName << m_strItemID << DWORD(m_bActive) << WORD(m_vtDataType);
        return;
    }
    CString first;
    ar >> first;
    if (first == kItemRecordTag)
        ar >> m_strName >> m_strItemID;
    else
        m_strName = first;
    DWORD active = 0;
    WORD type = 0;
    ar >> active >> type;
    m_bActive = BOOL(active);
    m_vtDataType = type;
}

BOOL CItem::IsDA20() const
{
    CGroup* group = GetGroup();
    return group && group->IsDA20();
}

void CItem::DisplayError(HRESULT hr) const
{
    CGroup* group = GetGroup();
    if (group)
        group->DisplayError(hr);
    else
        XVKLOG_ERROR(L"OPC item '%s': error 0x%08X", m_strItemID.GetString(), unsigned(hr));
}

BOOL CItem::ReadSync(OPCDATASOURCE source)
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    CIOPCSyncIO io(group->GetSafeInterface());
    OPCHANDLE handle = GetHandle();
    OPCITEMSTATE* states = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = io.Read(source, 1, &handle, &states, &errors);
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    if (errors && FAILED(errors[0]))
        DisplayError(errors[0]);
    else if (states)
        StoreReport(states[0].vDataValue, states[0].wQuality, &states[0].ftTimeStamp);
    if (states)
        VariantClear(&states[0].vDataValue);
    CoTaskMemFree(states);
    FreeErrors(errors);
    return TRUE;
}

BOOL CItem::ReadAsync(OPCDATASOURCE source)
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    CIOPCAsyncIO io(group->GetSafeInterface());
    OPCHANDLE handle = GetHandle();
    HRESULT* errors = nullptr;
    HRESULT hr;
    group->BeginRequest();
    if (!IsDA20())
    {
        DWORD connection = group->GetInfoServer()->GetDataChangeType() > 0
                               ? group->GetOPCSTMFormatDataTimeConnection()
                               : group->GetOPCSTMFormatDataConnection();
        DWORD transaction = 0;
        hr = io.Read(connection, source, 1, &handle, &transaction, &errors);
        group->EndRequest(SUCCEEDED(hr), transaction, FALSE, 0);
    }
    else
    {
        DWORD cancel = 0;
        hr = io.Read(1, &handle, OPC_TRANSACTION_READ, &cancel, &errors);
        group->EndRequest(SUCCEEDED(hr), OPC_TRANSACTION_READ, TRUE, cancel);
    }
    if (FAILED(hr))
    {
        DisplayError(hr);
        FreeErrors(errors);
        return FALSE;
    }
    if (errors && FAILED(errors[0]))
        DisplayError(errors[0]);
    FreeErrors(errors);
    return TRUE;
}

BOOL CItem::MakeCommandValue(const wchar_t* text, LPCWSTR caller, VARIANT* value) const
{
    VariantInit(value);
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(text ? text : L"");
    // Without a requested type the server converts the text to the item's canonical type.
    if (m_vtDataType == VT_EMPTY)
        return TRUE;
    HRESULT hr = VariantChangeType(value, value, 0, m_vtDataType);
    if (FAILED(hr))
    {
        XVKLOG_ERROR(L"%s(): '%s' does not convert to the type of item '%s'!", caller, text ? text : L"",
                     m_strItemID.GetString());
        VariantClear(value);
        return FALSE;
    }
    return TRUE;
}

BOOL CItem::CommandSync(const wchar_t* text)
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    VARIANT value;
    if (!MakeCommandValue(text, L"CItem::CommandSync", &value))
        return FALSE;
    CIOPCSyncIO io(group->GetSafeInterface());
    OPCHANDLE handle = GetHandle();
    HRESULT* errors = nullptr;
    HRESULT hr = io.Write(1, &handle, &value, &errors);
    BOOL result = TRUE;
    if (FAILED(hr))
    {
        DisplayError(hr);
        result = FALSE;
    }
    else if (!errors || FAILED(errors[0]))
    {
        if (errors)
            DisplayError(errors[0]);
        result = FALSE;
    }
    FreeErrors(errors);
    VariantClear(&value);
    return result;
}

BOOL CItem::CommandAsync(const wchar_t* text)
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    VARIANT value;
    if (!MakeCommandValue(text, L"CItem::CommandAsync", &value))
        return FALSE;
    CIOPCAsyncIO io(group->GetSafeInterface());
    OPCHANDLE handle = GetHandle();
    HRESULT* errors = nullptr;
    HRESULT hr;
    group->BeginRequest();
    if (!IsDA20())
    {
        DWORD transaction = 0;
        hr = io.Write(group->GetOPCSTMFormatWriteCompleteConnection(), 1, &handle, &value, &transaction,
                      &errors);
        group->EndRequest(SUCCEEDED(hr), transaction, FALSE, 0);
    }
    else
    {
        DWORD cancel = 0;
        hr = io.Write(1, &handle, &value, OPC_TRANSACTION_WRITE, &cancel, &errors);
        group->EndRequest(SUCCEEDED(hr), OPC_TRANSACTION_WRITE, TRUE, cancel);
    }
    BOOL result = TRUE;
    if (FAILED(hr))
    {
        DisplayError(hr);
        result = FALSE;
    }
    else if (!errors || FAILED(errors[0]))
    {
        if (errors)
            DisplayError(errors[0]);
        result = FALSE;
    }
    FreeErrors(errors);
    VariantClear(&value);
    return result;
}

BOOL CItem::Cancel()
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    DWORD transaction = group->GetCurrentTransactionID();
    if (transaction == 0)
        return FALSE;
    CIOPCAsyncIO io(group->GetSafeInterface());
    HRESULT hr;
    if (!IsDA20())
        hr = io.Cancel(transaction);
    else
    {
        DWORD cancel = group->GetCurrentCancelID();
        if (cancel == 0)
            return FALSE;
        hr = io.Cancel2(cancel);
    }
    if (FAILED(hr))
    {
        DisplayError(hr);
        return FALSE;
    }
    group->CloseTransaction(transaction);
    return TRUE;
}

BOOL CItem::EditItem()
{
    CGroup* group = GetGroup();
    if (!group)
        return FALSE;
    CIOPCItemMgt itemMgt(group->GetSafeInterface());
    OPCHANDLE handle = GetHandle();

    BSTR itemId = SysAllocString(m_strItemID);
    OPCITEMDEF definition = {};
    definition.szAccessPath = const_cast<LPWSTR>(L"");
    definition.szItemID = itemId;
    definition.bActive = TRUE;
    definition.hClient = m_hClient;
    definition.vtRequestedDataType = m_vtDataType;
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    HRESULT hr = itemMgt.ValidateItems(1, &definition, FALSE, &results, &errors);
    auto freeValidation = [&]()
    {
        if (results)
            CoTaskMemFree(results[0].pBlob);
        CoTaskMemFree(results);
        FreeErrors(errors);
        results = nullptr;
        errors = nullptr;
    };
    if (FAILED(hr))
    {
        DisplayError(hr);
        freeValidation();
        SysFreeString(itemId);
        return FALSE;
    }
    BOOL itemFailed = errors && FAILED(errors[0]);
    if (itemFailed)
        DisplayError(errors[0]);
    freeValidation();
    SysFreeString(itemId);
    if (itemFailed)
        return TRUE;

    COPCItemDlgData data;
    data.bActive = m_bActive;
    data.vtDataType = m_vtDataType;
    data.hClient = m_hClient;
    data.strItemID = m_strItemID;
    if (COPCDialogs::DoItemDialog(data) != IDOK)
        return TRUE;

    // Each step shows its failure and ends the edit.
    auto failed = [&](HRESULT call, HRESULT* itemErrors)
    {
        HRESULT code = FAILED(call) ? call : (itemErrors && FAILED(itemErrors[0]) ? itemErrors[0] : S_OK);
        FreeErrors(itemErrors);
        if (SUCCEEDED(code))
            return false;
        DisplayError(code);
        return true;
    };

    HRESULT* stepErrors = nullptr;
    hr = itemMgt.SetActiveState(1, &handle, data.bActive, &stepErrors);
    if (failed(hr, stepErrors))
        return TRUE;
    m_bActive = data.bActive;

    stepErrors = nullptr;
    VARTYPE type = data.vtDataType;
    hr = itemMgt.SetDatatypes(1, &handle, &type, &stepErrors);
    if (failed(hr, stepErrors))
        return TRUE;
    m_vtDataType = data.vtDataType;

    if (data.hClient != m_hClient &&
        AfxMessageBox(L"Are you sure ?\n\nServer can't find client item afterwards.",
                      MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)
    {
        stepErrors = nullptr;
        OPCHANDLE client = data.hClient;
        hr = itemMgt.SetClientHandles(1, &handle, &client, &stepErrors);
        failed(hr, stepErrors);
    }
    return TRUE;
}
