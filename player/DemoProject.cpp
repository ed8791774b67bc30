#include "player/DemoProject.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FORectShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "foundation/StdioFileEx.h"
#include "model/WorkSpaceObj.h"
#include "player/ExtDataModel.h"

#include <filesystem>

namespace
{
// The stand-in DA server as the shapes name it: quoted, so that the own server binds.
const wchar_t* const kServer = L"'Quendrel.OpcDaServer.1'";

const wchar_t* const kSystemScript =
    L"// Procedures of the demo project. Every procedure gets a text and a number.\r\n"
    L"function OnStart(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Started\", app.GetGVarValue(\"#Started\") + 1);\r\n"
    L"}\r\n"
    L"function OnTimer(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Counter\", app.GetGVarValue(\"#Counter\") + 1);\r\n"
    L"}\r\n"
    L"function OnClose(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Closed\", 1);\r\n"
    L"}\r\n"
    L"function OnTrendsStart(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Screen\", 2);\r\n"
    L"}\r\n"
    L"function OnDetailsStart(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Screen\", 3);\r\n"
    L"}\r\n"
    L"function OnReset(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Counter\", 0);\r\n"
    L"}\r\n"
    L"// The check popup's procedures: they run only when the popup made the script engine.\r\n"
    L"function OnCheckStart(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Checked\", 0);\r\n"
    L"}\r\n"
    L"function OnCheckTimer(text, n)\r\n"
    L"{\r\n"
    L"    app.SetGVarValue(\"#Checked\", app.GetGVarValue(\"#Checked\") + 1);\r\n"
    L"}\r\n";

// Builds one screen of the demo.
class CScreenBuilder
{
public:
    CScreenBuilder() { m_model.SetDesignMode(TRUE); }

    CFODrawShape* Add(UINT nType, CRect rc)
    {
        CFODrawShape* shape = m_model.DoCreateShapeByType(nType, rc, CString());
        if (!shape)
            return nullptr;
        m_model.InsertShape(shape);
        shape->Release();
        return shape;
    }

    // A label: with a caption it shows the caption, without one the value it is bound to.
    CFODrawShape* Label(CRect rc, const CString& strCaption, COLORREF crBk = RGB(255, 255, 255))
    {
        CFODrawShape* shape = Add(FO_COMP_SIMPLELABEL, rc);
        if (!shape)
            return nullptr;
        shape->SetObjectCaption(strCaption);
        shape->SetBrushType(FO_BRUSH_SOLID);
        shape->SetBkColor(crBk);
        // A zero value shows the pattern colour as background: keep it light.
        shape->SetPatternColor(RGB(255, 255, 200));
        return shape;
    }

    static void Bind(CFODrawShape* pShape, const CString& strTag)
    {
        if (!pShape)
            return;
        if (strTag[0] != L'#' && strTag[0] != L'$')
            pShape->SetKeyId2(kServer);
        pShape->SetKeyId3(strTag);
    }

    static void Event(CFODrawShape* pShape, int nKind, const CString& strText)
    {
        if (!pShape)
            return;
        pShape->SetEventType(nKind);
        pShape->SetEventString(strText);
    }

    void Procedures(const CString& strStart, const CString& strTimer, int nPeriod, const CString& strClose)
    {
        CFOPropertyList& props = m_model.GetUserProperties();
        props.PutValue(XVK_PROP_START_PROC, FO_VALUE::MakeString(strStart));
        props.PutValue(XVK_PROP_TIMER_PROC, FO_VALUE::MakeString(strTimer));
        props.PutValue(XVK_PROP_TIMER_PERIOD, FO_VALUE::MakeInt(nPeriod));
        props.PutValue(XVK_PROP_CLOSE_PROC2, FO_VALUE::MakeString(strClose));
    }

    // Buttons to the other screens along the bottom.
    void Navigation(const wchar_t* const* screens, int nCount)
    {
        for (int i = 0; i < nCount; ++i)
        {
            CString caption = screens[i];
            caption.Replace(L".xdg", L"");
            Event(Label(CRect(20 + 110 * i, 360, 120 + 110 * i, 388), L"> " + caption, RGB(200, 220, 255)), 5,
                  screens[i]);
        }
    }

    CExtDataModel& Model() { return m_model; }
    BOOL Save(const CString& strPath) { return m_model.SaveDocument(strPath); }

private:
    CExtDataModel m_model;
};

void Caption(CScreenBuilder& b, const CString& strTitle)
{
    CFODrawShape* title = b.Label(CRect(20, 8, 620, 36), strTitle, RGB(40, 60, 110));
    if (title)
        title->SetFontColor(RGB(255, 255, 255));
}

// A caption at the left and the bound value at the right.
CFODrawShape* ValueRow(CScreenBuilder& b, int y, const CString& strCaption, const CString& strTag)
{
    b.Label(CRect(20, y, 170, y + 24), strCaption, RGB(235, 235, 235));
    CFODrawShape* value = b.Label(CRect(175, y, 300, y + 24), CString());
    CScreenBuilder::Bind(value, strTag);
    return value;
}

BOOL WriteMainScreen(const CString& strPath)
{
    CScreenBuilder b;
    Caption(b, L"Plant overview");
    // Rows start below the corner that every loaded screen gives to the maker's note.
    ValueRow(b, 84, L"Ramp", L"Simulation.Ramp");
    ValueRow(b, 112, L"Counter", L"Simulation.Counter");
    ValueRow(b, 140, L"Text", L"Simulation.Text");
    // Operator entry: a number written to a writable tag.
    CScreenBuilder::Event(ValueRow(b, 168, L"Setpoint (click)", L"Memory.R8"), 22, CString());
    ValueRow(b, 196, L"Timer steps", L"#Counter");
    // The clock.
    b.Label(CRect(20, 224, 170, 248), L"Clock", RGB(235, 235, 235));
    const wchar_t* const clock[] = {L"$Hour", L"$Minute", L"$Second"};
    for (int i = 0; i < 3; ++i)
        CScreenBuilder::Bind(b.Label(CRect(175 + 42 * i, 224, 213 + 42 * i, 248), CString()), clock[i]);

    CScreenBuilder::Bind(b.Add(610, CRect(330, 48, 430, 208)), L"Plant.Area1.Tank1.Level");
    CScreenBuilder::Bind(b.Add(608, CRect(450, 60, 570, 180)), L"Plant.Area2.Pump1.Running");
    // A switch the operator toggles: a writable boolean.
    CFODrawShape* valve = b.Add(609, CRect(330, 240, 400, 310));
    CScreenBuilder::Bind(valve, L"Plant.Area1.Tank1.Valve");
    CScreenBuilder::Event(valve, 21, CString());
    b.Label(CRect(330, 314, 400, 334), L"Valve");
    CScreenBuilder::Bind(b.Add(71, CRect(450, 200, 600, 350)), L"Simulation.Sine");

    const wchar_t* const screens[] = {L"Trends.xdg", L"Details.xdg"};
    b.Navigation(screens, 2);
    CScreenBuilder::Event(b.Label(CRect(240, 360, 330, 388), L"Reset", RGB(255, 220, 200)), 18, L"reset");
    b.Model().GetShapes()->GetTail()->PutPropStringValue(15008, L"OnReset");
    b.Procedures(L"OnStart", L"OnTimer", 1000, L"OnClose");
    return b.Save(strPath);
}

BOOL WriteTrendsScreen(const CString& strPath)
{
    CScreenBuilder b;
    Caption(b, L"Trends");
    CFODrawShape* chart = b.Add(615, CRect(20, 44, 620, 300));
    if (chart)
        chart->PutPropStringValue(15009, L"Sine$FF0000,0,100,Chart,Simulation.Sine@"
                                         L"Ramp$0000FF,0,100,Chart,Simulation.Ramp@"
                                         L"Level$008000,0,100,Chart,Plant.Area1.Tank2.Level");
    // The chart's tags go to the servers the screen binds: this value names the server.
    ValueRow(b, 316, L"Tank 2 level", L"Plant.Area1.Tank2.Level");
    const wchar_t* const screens[] = {L"Main.xdg", L"Details.xdg"};
    b.Navigation(screens, 2);
    b.Procedures(L"OnTrendsStart", CString(), 500, CString());
    return b.Save(strPath);
}

BOOL WriteDetailsScreen(const CString& strPath)
{
    CScreenBuilder b;
    Caption(b, L"Details");
    CScreenBuilder::Event(ValueRow(b, 84, L"I2 (click)", L"Memory.I2"), 22, CString());
    CScreenBuilder::Event(ValueRow(b, 112, L"Text (click)", L"Memory.BSTR"), 22, CString());
    ValueRow(b, 140, L"Pump speed", L"Plant.Area2.Pump1.Speed");
    ValueRow(b, 168, L"Screen", L"#Screen");

    // A marker moved along a path by the ramp, and a bar scaled by the tank level.
    CFODrawShape* marker = b.Add(602, CRect(330, 60, 350, 80));
    if (marker)
    {
        marker->SetKeyId1(L"Marker");
        marker->SetBkColor(RGB(255, 128, 0));
    }
    auto* path = dynamic_cast<CFOPMovePathShape*>(b.Add(FO_COMP_MOVEPATH, CRect(340, 70, 600, 70)));
    if (path)
    {
        path->SetLinkPathShape(L"Marker");
        CScreenBuilder::Bind(path, L"Simulation.Ramp");
    }
    CFODrawShape* bar = b.Add(601, CRect(560, 120, 600, 300));
    if (bar)
    {
        bar->SetKeyId1(L"Bar");
        bar->SetBkColor(RGB(0, 160, 80));
    }
    auto* scale = dynamic_cast<CFOPScaleRefShape*>(b.Add(FO_COMP_SCALEREF, CRect(500, 120, 540, 300)));
    if (scale)
    {
        scale->SetLinkPathShape(L"Bar");
        scale->PutPropIntValue(FO_PROP_SCALE_DIRECTION, 0);
        scale->PutPropIntValue(FO_PROP_SCALE_ANCHOR, 1);
        CScreenBuilder::Bind(scale, L"Plant.Area1.Tank1.Level");
    }
    // Hiding and showing a shape.
    CFODrawShape* lamp = b.Add(602, CRect(40, 220, 100, 280));
    if (lamp)
    {
        lamp->SetObjectName(L"Lamp");
        lamp->SetBkColor(RGB(255, 230, 0));
    }
    CScreenBuilder::Event(b.Label(CRect(120, 220, 210, 244), L"Hide lamp", RGB(230, 230, 230)), 12, L"Lamp");
    CScreenBuilder::Event(b.Label(CRect(120, 252, 210, 276), L"Show lamp", RGB(230, 230, 230)), 13, L"Lamp");
    const wchar_t* const screens[] = {L"Main.xdg", L"Trends.xdg", L"Behaviour.xdg"};
    b.Navigation(screens, 3);
    b.Procedures(L"OnDetailsStart", CString(), 500, CString());
    return b.Save(strPath);
}

// States, value ranges, a hide condition, an option menu and a slider, as the behaviour dialogs
// give them.
BOOL WriteBehaviourScreen(const CString& strPath)
{
    CScreenBuilder b;
    Caption(b, L"Behaviour");

    // A valve drawn of three parts: its states "Open" and "Closed" follow the valve tag, a boolean
    // the switch beside it toggles.
    auto* valve = new CFOCompositeShape;
    const struct
    {
        const wchar_t* key;
        CRect rc;
        COLORREF fill;
    } parts[] = {
        {L"Body", CRect(40, 60, 160, 140), RGB(200, 200, 200)},
        {L"Light", CRect(70, 75, 130, 105), RGB(255, 255, 255)},
        {L"Flow", CRect(50, 115, 150, 130), RGB(0, 120, 255)},
    };
    for (const auto& part : parts)
    {
        auto* shape = new CFORectShape;
        CRect rc = part.rc;
        shape->Create(rc);
        shape->SetKeyId1(part.key);
        shape->SetBkColor(part.fill);
        valve->AddShape(shape);
    }
    valve->SetKeyId1(L"Valve");
    valve->SetStateString(L"Open$C_C,Light,00C000#L_W,Body,3@Closed$C_C,Light,C00000#H_H,Flow");
    valve->SetValueChangeScript(L"0,0$L_S,Closed@1,1$L_S,Open");
    CScreenBuilder::Bind(valve, L"Plant.Area1.Tank1.Valve");
    b.Model().InsertShape(valve);
    valve->SetStateType(L"Closed");
    CFODrawShape* toggle = b.Add(609, CRect(180, 70, 240, 130));
    CScreenBuilder::Bind(toggle, L"Plant.Area1.Tank1.Valve");
    CScreenBuilder::Event(toggle, 21, CString());
    b.Label(CRect(40, 144, 240, 166), L"Valve: click the switch", RGB(235, 235, 235));

    // Three value ranges on the ramp; the highest also switches to the state "High".
    CFODrawShape* level = b.Add(601, CRect(280, 60, 380, 140));
    if (level)
    {
        level->SetKeyId1(L"Level");
        level->SetBrushType(FO_BRUSH_SOLID);
        level->SetStateString(L"Normal$L_W,Level,1@High$L_C,Level,FF0000#L_W,Level,5");
        level->SetStateType(L"Normal");
        level->SetValueChangeScript(
            L"0,32$C_C,Level,00C000@33,65$C_C,Level,FFC000@66,100$C_C,Level,FF6060#L_S,High");
        CScreenBuilder::Bind(level, L"Simulation.Ramp");
    }
    CScreenBuilder::Bind(b.Label(CRect(280, 144, 380, 166), CString()), L"Simulation.Ramp");

    // A lamp hidden while the ramp is below 50.
    CFODrawShape* lamp = b.Add(602, CRect(420, 70, 480, 130));
    if (lamp)
    {
        lamp->SetKeyId1(L"Lamp");
        lamp->SetBrushType(FO_BRUSH_SOLID);
        lamp->SetBkColor(RGB(255, 230, 0));
        lamp->PutPropBoolValue(FO_PROP_VISIBLE_COND_ON, TRUE);
        lamp->PutPropStringValue(FO_PROP_VISIBLE_COND, L"0,50");
        CScreenBuilder::Bind(lamp, L"Simulation.Ramp");
    }
    b.Label(CRect(400, 144, 500, 166), L"Lamp: ramp >= 50", RGB(235, 235, 235));

    // An option menu whose entries switch screens.
    CFODrawShape* menu = b.Add(FO_COMP_MENUBUTTON, CRect(40, 200, 180, 226));
    if (menu)
    {
        menu->SetObjectCaption(L"Screens");
        menu->SetStateString(L"Main$5#Main.xdg@Trends$5#Trends.xdg@Details$5#Details.xdg");
    }

    // A slider that writes "#Setpoint", and a label that shows it.
    CFODrawShape* slider = b.Add(624, CRect(220, 196, 420, 236));
    if (slider)
    {
        slider->SetMinValue(0);
        slider->SetMaxValue(100);
        CScreenBuilder::Bind(slider, L"#Setpoint");
    }
    b.Label(CRect(430, 204, 500, 228), L"Setpoint", RGB(235, 235, 235));
    CScreenBuilder::Bind(b.Label(CRect(505, 204, 600, 228), CString()), L"#Setpoint");

    const wchar_t* const screens[] = {L"Main.xdg", L"Details.xdg"};
    b.Navigation(screens, 2);
    return b.Save(strPath);
}

// The screen of the player's check popup (command 32794), in the demo folder itself.
BOOL WriteCheckScreen(const CString& strPath)
{
    CScreenBuilder b;
    Caption(b, L"Check");
    ValueRow(b, 84, L"Ramp", L"Simulation.Ramp");
    ValueRow(b, 112, L"Timer steps", L"#Counter");
    CScreenBuilder::Bind(b.Add(610, CRect(330, 44, 410, 174)), L"Plant.Area1.Tank1.Level");
    CScreenBuilder::Bind(b.Add(608, CRect(430, 54, 530, 154)), L"Plant.Area2.Pump1.Running");
    CScreenBuilder::Bind(b.Add(611, CRect(550, 74, 610, 134)), L"Plant.Area1.Tank1.Valve");
    // The lower part holds a data grid.
    b.Add(606, CRect(20, 190, 620, 380));
    b.Procedures(L"OnCheckStart", L"OnCheckTimer", 500, CString());
    return b.Save(strPath);
}

BOOL WriteScript(const CString& strPath, const wchar_t* text = kSystemScript)
{
    CStdioFileEx file;
    if (!file.Open(strPath,
                   CFile::modeCreate | CFile::modeWrite | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return FALSE;
    file.WriteString(text);
    file.Close();
    return TRUE;
}

void AddVariable(CWorkSpaceObj& ws, const wchar_t* name, const FO_VALUE& value)
{
    ws.AddParam(new CParamObj(name, value, CParamObj::KindFromName(name)));
}
} // namespace

void InitDemoWorkSpace(CWorkSpaceObj& ws)
{
    ws.m_strProjectName = L"Quendrel Plexrun Demo";
    ws.m_strMainScreen = L"Main.xdg";
    ws.m_strAuthor = L"Quendrel";
    ws.m_nCanvasWidth = 640;
    ws.m_nCanvasHeight = 400;
    ws.m_nWindowWidth = 640;
    ws.m_nWindowHeight = 400;
    ws.m_bFullScreen = 0;
    ws.m_bAlwaysOnTop = 0;
    AddVariable(ws, L"#Counter", FO_VALUE::MakeInt(0));
    AddVariable(ws, L"#Started", FO_VALUE::MakeInt(0));
    AddVariable(ws, L"#Closed", FO_VALUE::MakeInt(0));
    AddVariable(ws, L"#Screen", FO_VALUE::MakeInt(1));
    AddVariable(ws, L"#Setpoint", FO_VALUE::MakeDouble(50.0));
    AddVariable(ws, L"#Checked", FO_VALUE::MakeInt(0));
    ws.CreateParamSTags();
}

namespace
{
// The seed script of a project the editor makes.
const wchar_t* const kSeedScript =
    L"function main(strShapeKey1, shape)\r\n{\r\n\tapp.test(\"testing code here!\");\r\n}";
// The script a project made from a template starts with: its example reads a clock variable
// through "app", so it runs as it stands.
const wchar_t* const kTemplateScript =
    L"function main(strShapeKey1, shape)\r\n{\r\n\t// Add your codes below.\r\n"
    L"\tvar nHour = app.GetSVarValue(\"$Hour\");\r\n}";

BOOL MakeProjectFolders(const CString& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder.ToUtf8()) / "XdgFiles", ec);
    std::filesystem::create_directories(std::filesystem::path(folder.ToUtf8()) / "ScriptFiles", ec);
    return !ec;
}

// "Demo/newproject": the sample project the editor's Test Sample Project opens, as a new project
// looks (an empty main screen and the seed script).
BOOL WriteNewProjectSample(const CString& strInstallRoot)
{
    const CString folder = strInstallRoot + L"/Demo/newproject/";
    if (!MakeProjectFolders(folder))
        return FALSE;
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    ws.m_strMainScreen = L"Main.xdg";
    CScreenBuilder b;
    b.Model().SetCanvasSize(CSize(ws.m_nCanvasWidth, ws.m_nCanvasHeight));
    return b.Save(folder + L"XdgFiles/Main.xdg") &&
           WriteScript(folder + L"ScriptFiles/system.uscp", kSeedScript) &&
           ws.SaveDocument(folder + L"newproject.dcp");
}

// "Template/TankFarm": a project template with variables and a tank screen.
BOOL WriteTankTemplate(const CString& strInstallRoot)
{
    const CString folder = strInstallRoot + L"/Template/TankFarm/";
    if (!MakeProjectFolders(folder))
        return FALSE;
    CWorkSpaceObj ws;
    ws.CreateParamSTags();
    ws.m_strProjectName = L"Tank farm";
    ws.m_strMainScreen = L"Main.xdg";
    ws.m_nWindowWidth = 640;
    ws.m_nWindowHeight = 400;
    AddVariable(ws, L"#TankLevel", FO_VALUE::MakeDouble(42.5));
    AddVariable(ws, L"#PumpOn", FO_VALUE::MakeBool(TRUE));
    AddVariable(ws, L"@Alarm", FO_VALUE::MakeString(L"none"));
    CScreenBuilder b;
    Caption(b, L"Tank farm");
    CScreenBuilder::Bind(b.Add(610, CRect(40, 80, 140, 240)), L"#TankLevel");
    CScreenBuilder::Bind(b.Add(608, CRect(180, 120, 280, 220)), L"#PumpOn");
    CScreenBuilder::Bind(b.Label(CRect(40, 250, 140, 274), CString()), L"#TankLevel");
    return b.Save(folder + L"XdgFiles/Main.xdg") &&
           WriteScript(folder + L"ScriptFiles/system.uscp", kTemplateScript) &&
           ws.SaveDocument(folder + L"TankFarm.dcp");
}
} // namespace

BOOL WriteDemoProject(const CString& strInstallRoot)
{
    if (!WriteNewProjectSample(strInstallRoot) || !WriteTankTemplate(strInstallRoot))
        return FALSE;

    const CString folder = strInstallRoot + L"/Demo/demo/";
    if (!MakeProjectFolders(folder))
        return FALSE;
    CWorkSpaceObj ws;
    InitDemoWorkSpace(ws);
    return ws.SaveDocument(folder + L"demo.dcp") && WriteMainScreen(folder + L"XdgFiles/Main.xdg") &&
           WriteTrendsScreen(folder + L"XdgFiles/Trends.xdg") &&
           WriteDetailsScreen(folder + L"XdgFiles/Details.xdg") &&
           WriteBehaviourScreen(folder + L"XdgFiles/Behaviour.xdg") &&
           WriteScript(folder + L"ScriptFiles/system.uscp") &&
           WriteCheckScreen(strInstallRoot + L"/Demo/hmicheck.xdg");
}
