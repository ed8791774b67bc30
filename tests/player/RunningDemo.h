// The player running the demo project in this process against the stand-in OPC server, its main
// view shown, with a few ways to reach its shapes and variables.
#pragma once

#include "PlayerTestSupport.h"

#include "figkit/FODrawShape.h"
#include "opc/Group.h"
#include "opc/InfoMultiServerExplorerDoc.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"
#include "opcsdk/servers/OpcStandIn.h"
#include "player/ExtDataModel.h"
#include "player/MainFrm.h"
#include "player/QYRViewView.h"
#include "player/RunCanvas.h"

#include <cfloat>

namespace player_test
{
// The player on the demo project, its main view shown.
struct RunningDemo
{
    InstallRoot root;
    PlayerApp player;
    CQYRViewView* view = nullptr;

    explicit RunningDemo(const std::function<void(const InstallRoot&)>& prepare = {},
                         const std::vector<std::string>& args = {})
        : player(root, args)
    {
        if (prepare)
            prepare(root);
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(20);
        if (!player.Start())
            return;
        auto* frame = dynamic_cast<CMainFrame*>(player.app.m_pMainWnd);
        view = frame ? dynamic_cast<CQYRViewView*>(frame->GetActiveView()) : nullptr;
    }
    ~RunningDemo() { OpcStandIn::Reset(); }

    CExtDataModel* Model() const { return view->GetCurrentModel(); }
    CWorkSpaceObj* WorkSpace() const { return const_cast<PlayerApp&>(player).app.GetWorkSpace(); }
    CFODrawShape* ByKey3(const wchar_t* key) const
    {
        for (CFODrawShape* shape : *Model()->GetShapes())
            if (shape->GetKeyId3() == key)
                return shape;
        return nullptr;
    }
    CFODrawShape* ByEvent(int kind, const wchar_t* text) const
    {
        for (CFODrawShape* shape : *Model()->GetShapes())
            if (shape->GetEventType() == kind && shape->GetEventString() == text)
                return shape;
        return nullptr;
    }
    double Global(const wchar_t* name) const
    {
        CParamObj* param = WorkSpace()->FindParamByName(name);
        return param ? param->GetValue().GetAsDouble() : -1.0;
    }
    // A click on the shape through the canvas, as the mouse gives it.
    void Click(CFODrawShape* shape) const
    {
        const CPoint centre = shape->GetSnapRect().CenterPoint();
        view->GetCanvas()->OnLButtonDown(MK_LBUTTON, centre);
        view->GetCanvas()->OnLButtonUp(0, centre);
    }
    int Ticks(int n) const
    {
        const int target = view->GetTickCount() + n;
        PumpUntil([&] { return view->GetTickCount() >= target; });
        return view->GetTickCount();
    }
    int Writes() const { return OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCSyncIO::Write"); }
    // The main screen's ramp once it shows its first value; null when it does not.
    CFODrawShape* LiveRamp() const
    {
        CFODrawShape* ramp = ByKey3(L"Simulation.Ramp");
        return ramp && PumpUntil([&] { return ramp->GetCurrentValue() != DBL_MIN; }) ? ramp : nullptr;
    }
    // Whether the main screen goes on: its ramp keeps its item and moves, and its timer procedure
    // counts "#Counter" up.
    bool MainScreenRuns() const
    {
        CFODrawShape* ramp = ByKey3(L"Simulation.Ramp");
        if (!ramp || !dynamic_cast<CItem*>(static_cast<CObject*>(ramp->GetItemData())))
            return false;
        const double value = ramp->GetCurrentValue();
        const double counter = Global(L"#Counter");
        return PumpUntil([&] { return ramp->GetCurrentValue() != value; }) &&
               PumpUntil([&] { return Global(L"#Counter") > counter; }, 3000);
    }
};

// The number of OPC groups on the server of that name in the process's server document; -1 without it.
inline int ServerGroupCount(const wchar_t* server = L"Quendrel.OpcDaServer.1")
{
    CInfoMultiServerExplorerDoc* doc = GetExplorerMultiActiveDocument(FALSE);
    CInfoServer* s = doc ? doc->GetInfoServer(server) : nullptr;
    if (!s)
        return -1;
    CGroupArray* groups = nullptr;
    s->GetGroups(&groups);
    return int(groups->GetSize());
}
} // namespace player_test
