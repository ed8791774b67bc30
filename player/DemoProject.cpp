#include "player/DemoProject.h"

#include "foundation/StdioFileEx.h"
#include "model/WorkSpaceObj.h"
#include "player/ExtDataModel.h"

#include <filesystem>

namespace
{
struct DemoSymbol
{
    UINT nType;
    CRect rc;
};

// Tanks and motor above, the four switches below.
const DemoSymbol kSymbols[] = {
    {608, CRect(30, 40, 170, 180)},   {614, CRect(210, 20, 350, 200)},  {610, CRect(390, 20, 530, 200)},
    {609, CRect(40, 270, 120, 350)},  {611, CRect(200, 270, 280, 350)}, {612, CRect(360, 270, 440, 350)},
    {613, CRect(520, 270, 600, 350)},
};

const wchar_t* const kSystemScript = L"// Procedures of the demo project.\r\n"
                                     L"function OnStart()\r\n"
                                     L"{\r\n"
                                     L"}\r\n";

BOOL WriteScreen(const CString& strPath)
{
    CExtDataModel model;
    for (const DemoSymbol& symbol : kSymbols)
    {
        CRect rc = symbol.rc;
        CFODrawShape* shape = model.DoCreateShapeByType(symbol.nType, rc, CString());
        if (!shape)
            return FALSE;
        model.InsertShape(shape);
        shape->Release();
    }
    return model.SaveDocument(strPath);
}

BOOL WriteScript(const CString& strPath)
{
    CStdioFileEx file;
    if (!file.Open(strPath,
                   CFile::modeCreate | CFile::modeWrite | CFile::typeText | CStdioFileEx::modeWriteUnicode))
        return FALSE;
    file.WriteString(kSystemScript);
    file.Close();
    return TRUE;
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
}

BOOL WriteDemoProject(const CString& strInstallRoot)
{
    const CString folder = strInstallRoot + L"/Demo/demo/";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder.ToUtf8()) / "XdgFiles", ec);
    std::filesystem::create_directories(std::filesystem::path(folder.ToUtf8()) / "ScriptFiles", ec);
    if (ec)
        return FALSE;
    CWorkSpaceObj ws;
    InitDemoWorkSpace(ws);
    return ws.SaveDocument(folder + L"demo.dcp") && WriteScreen(folder + L"XdgFiles/Main.xdg") &&
           WriteScript(folder + L"ScriptFiles/system.uscp");
}
