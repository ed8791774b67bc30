// The places where the OPC client shows a dialog of its own: the server chooser, the group and item
// property dialogs, the add-item picker, the server status, and for the editor's tag binding the
// tag browser and the picker without a group. RegisterDialogs puts the real dialogs here (the
// programs call it at start); until something is registered, asking answers IDCANCEL. Tests may
// register their own functions that fill in the values and choose the answer.
#pragma once

#include "com/Guid.h"
#include "com/Variant.h"
#include "mfc/CString.h"
#include "mfc/Messages.h"
#include "opcsdk/OpcTypes.h"

#include <functional>

class CGroup;

// The values of the group dialog, in its order.
struct COPCGroupDlgData
{
    CString strName;
    DWORD dwLCID = 0;
    DWORD dwUpdateRate = 100;
    BOOL bActive = TRUE;
    LONG lTimeBias = 0;
    FLOAT fDeadBand = 0.0f;
    BOOL bDataChangeEnabled = TRUE;
};

// The values of the item dialog.
struct COPCItemDlgData
{
    BOOL bActive = TRUE;
    VARTYPE vtDataType = VT_EMPTY;
    OPCHANDLE hClient = 0;
    CString strItemID;
};

// What the server chooser gives back: the server text, the computer and the picked line's class id.
struct COPCConnectDlgData
{
    CString strServer;
    CString strComputer;
    CLSID clsid = GUID_NULL;
};

// The tag browser: server and computer in; the chosen item ID and the access path out.
struct COPCBrowseDlgData
{
    CString strServer;
    CString strComputer;
    CString strItemID;
    CString strAccessPath;
};

// The picker without a group: computer and server in; the chosen tag out.
struct COPCPickTagDlgData
{
    CString strComputer;
    CString strServer;
    CString strTag;
};

class COPCDialogs
{
public:
    typedef std::function<int(COPCGroupDlgData&)> GroupDialogFn;
    typedef std::function<int(COPCItemDlgData&)> ItemDialogFn;
    typedef std::function<int(COPCConnectDlgData&)> ConnectDialogFn;
    typedef std::function<int(CGroup*)> AddItemDialogFn;
    typedef std::function<int(const OPCSERVERSTATUS&)> StatusDialogFn;
    typedef std::function<int(COPCBrowseDlgData&)> BrowseDialogFn;
    typedef std::function<int(COPCPickTagDlgData&)> PickTagDialogFn;

    // Registers the real dialogs for every seam.
    static void RegisterDialogs();

    // Each setter returns the function it replaces; an empty function removes it.
    static GroupDialogFn SetGroupDialog(GroupDialogFn fn);
    static ItemDialogFn SetItemDialog(ItemDialogFn fn);
    static ConnectDialogFn SetConnectDialog(ConnectDialogFn fn);
    static AddItemDialogFn SetAddItemDialog(AddItemDialogFn fn);
    static StatusDialogFn SetStatusDialog(StatusDialogFn fn);
    static BrowseDialogFn SetBrowseDialog(BrowseDialogFn fn);
    static PickTagDialogFn SetPickTagDialog(PickTagDialogFn fn);

    // Shows the dialog modally and returns its result (IDCANCEL when none is registered).
    static int DoGroupDialog(COPCGroupDlgData& data);
    static int DoItemDialog(COPCItemDlgData& data);
    static int DoConnectDialog(COPCConnectDlgData& data);
    static int DoAddItemDialog(CGroup* group);
    static int DoStatusDialog(const OPCSERVERSTATUS& status);
    static int DoBrowseDialog(COPCBrowseDlgData& data);
    static int DoPickTagDialog(COPCPickTagDlgData& data);
};
