#include "opc/OPCDialogs.h"

#include "mfc/Messages.h"

#include <utility>

namespace
{
// The dialogs run on the UI thread only.
struct Registered
{
    COPCDialogs::GroupDialogFn group;
    COPCDialogs::ItemDialogFn item;
    COPCDialogs::ConnectDialogFn connect;
    COPCDialogs::AddItemDialogFn addItem;
    COPCDialogs::StatusDialogFn status;
    COPCDialogs::BrowseDialogFn browse;
    COPCDialogs::PickTagDialogFn pickTag;
};

Registered& Dialogs()
{
    static Registered registered;
    return registered;
}

template <class Fn, class... Args> int Run(const Fn& fn, Args&&... args)
{
    return fn ? fn(std::forward<Args>(args)...) : IDCANCEL;
}
} // namespace

COPCDialogs::GroupDialogFn COPCDialogs::SetGroupDialog(GroupDialogFn fn)
{
    return std::exchange(Dialogs().group, std::move(fn));
}

COPCDialogs::ItemDialogFn COPCDialogs::SetItemDialog(ItemDialogFn fn)
{
    return std::exchange(Dialogs().item, std::move(fn));
}

COPCDialogs::ConnectDialogFn COPCDialogs::SetConnectDialog(ConnectDialogFn fn)
{
    return std::exchange(Dialogs().connect, std::move(fn));
}

COPCDialogs::AddItemDialogFn COPCDialogs::SetAddItemDialog(AddItemDialogFn fn)
{
    return std::exchange(Dialogs().addItem, std::move(fn));
}

COPCDialogs::StatusDialogFn COPCDialogs::SetStatusDialog(StatusDialogFn fn)
{
    return std::exchange(Dialogs().status, std::move(fn));
}

COPCDialogs::BrowseDialogFn COPCDialogs::SetBrowseDialog(BrowseDialogFn fn)
{
    return std::exchange(Dialogs().browse, std::move(fn));
}

COPCDialogs::PickTagDialogFn COPCDialogs::SetPickTagDialog(PickTagDialogFn fn)
{
    return std::exchange(Dialogs().pickTag, std::move(fn));
}

int COPCDialogs::DoGroupDialog(COPCGroupDlgData& data)
{
    return Run(Dialogs().group, data);
}

int COPCDialogs::DoItemDialog(COPCItemDlgData& data)
{
    return Run(Dialogs().item, data);
}

int COPCDialogs::DoConnectDialog(COPCConnectDlgData& data)
{
    return Run(Dialogs().connect, data);
}

int COPCDialogs::DoAddItemDialog(CGroup* group)
{
    return Run(Dialogs().addItem, group);
}

int COPCDialogs::DoStatusDialog(const OPCSERVERSTATUS& status)
{
    return Run(Dialogs().status, status);
}

int COPCDialogs::DoBrowseDialog(COPCBrowseDlgData& data)
{
    return Run(Dialogs().browse, data);
}

int COPCDialogs::DoPickTagDialog(COPCPickTagDlgData& data)
{
    return Run(Dialogs().pickTag, data);
}
