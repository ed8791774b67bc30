// The real dialogs behind the seams of COPCDialogs.
#include "opc/AddItemDlg.h"
#include "opc/ConnectDlg.h"
#include "opc/OPCDialogs.h"
#include "opc/PropertyDlgs.h"
#include "opc/ServerStatusDlg.h"
#include "opc/TagBrowseDlg.h"

namespace
{
int ShowGroupDialog(COPCGroupDlgData& data)
{
    CGroupDlg dlg;
    dlg.m_strName = data.strName;
    dlg.m_dwLCID = data.dwLCID;
    dlg.m_dwUpdateRate = data.dwUpdateRate;
    dlg.m_bActive = data.bActive;
    dlg.m_lTimeBias = data.lTimeBias;
    dlg.m_fDeadBand = data.fDeadBand;
    dlg.m_bDataChangeEnabled = data.bDataChangeEnabled;
    const int result = int(dlg.DoModal());
    if (result == IDOK)
    {
        data.strName = dlg.m_strName;
        data.dwLCID = dlg.m_dwLCID;
        data.dwUpdateRate = dlg.m_dwUpdateRate;
        data.bActive = dlg.m_bActive;
        data.lTimeBias = dlg.m_lTimeBias;
        data.fDeadBand = dlg.m_fDeadBand;
        data.bDataChangeEnabled = dlg.m_bDataChangeEnabled;
    }
    return result;
}

int ShowItemDialog(COPCItemDlgData& data)
{
    CItemDlg dlg;
    dlg.m_bActive = data.bActive;
    dlg.m_strItemID = data.strItemID;
    dlg.m_dwClientHandle = data.hClient;
    dlg.SetDataType(data.vtDataType);
    const int result = int(dlg.DoModal());
    if (result == IDOK)
    {
        data.bActive = dlg.m_bActive;
        data.hClient = dlg.m_dwClientHandle;
        data.vtDataType = dlg.GetDataType();
    }
    return result;
}

int ShowConnectDialog(COPCConnectDlgData& data)
{
    CConnectDlg dlg;
    const int result = int(dlg.DoModal());
    if (result == IDOK)
    {
        data.strServer = dlg.m_strServer;
        data.strComputer = dlg.m_strComputer;
        data.clsid = dlg.m_clsidSelected;
    }
    return result;
}

int ShowAddItemDialog(CGroup* group)
{
    CAddItemDlg dlg(group);
    return int(dlg.DoModal());
}

int ShowStatusDialog(const OPCSERVERSTATUS& status)
{
    CServerStatusDlg dlg;
    dlg.SetTexts(OPCStatusTexts(status));
    return int(dlg.DoModal());
}

int ShowBrowseDialog(COPCBrowseDlgData& data)
{
    CTagBrowseDlg dlg(data.strServer, data.strComputer);
    const int result = int(dlg.DoModal());
    if (result == IDOK)
    {
        data.strItemID = dlg.m_strItemName;
        data.strAccessPath = dlg.m_strAccessPath;
    }
    return result;
}

int ShowPickTagDialog(COPCPickTagDlgData& data)
{
    CAddItemDlg dlg(nullptr);
    dlg.SetServer(data.strComputer, data.strServer);
    const int result = int(dlg.DoModal());
    if (result == IDOK)
        data.strTag = dlg.m_strTag;
    return result;
}
} // namespace

void COPCDialogs::RegisterDialogs()
{
    SetGroupDialog(&ShowGroupDialog);
    SetItemDialog(&ShowItemDialog);
    SetConnectDialog(&ShowConnectDialog);
    SetAddItemDialog(&ShowAddItemDialog);
    SetStatusDialog(&ShowStatusDialog);
    SetBrowseDialog(&ShowBrowseDialog);
    SetPickTagDialog(&ShowPickTagDialog);
}
