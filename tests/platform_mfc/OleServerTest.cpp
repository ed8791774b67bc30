// The automation identity of a program: its class factory registered as running, and the class,
// ProgID and type-library entries written to and removed from the registry store, also through the
// register and unregister commands.
#include "WndTestSupport.h"

#include "com/Dispatch.h"
#include "mfc/CommandLine.h"
#include "mfc/DocTemplate.h"
#include "mfc/Document.h"
#include "mfc/FrameWnd.h"
#include "mfc/OleServer.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"
#include "win32/Registry.h"

using namespace wndtest;

namespace
{
const CLSID kClsid = {0x9D4F32F7, 0x55DC, 0x4D35, {0x97, 0xD7, 0x9B, 0xF4, 0x10, 0x5B, 0x8A, 0xA6}};
const GUID kLibid = {0x5632F61E, 0x6FBB, 0x4273, {0x8A, 0x88, 0x80, 0xDF, 0x51, 0x07, 0x6F, 0x6D}};
const IID kIid = {0xBE6A8C58, 0xD1D6, 0x452A, {0x96, 0xB9, 0xA8, 0x99, 0x7B, 0xFC, 0x46, 0x40}};
const wchar_t kClsidText[] = L"{9D4F32F7-55DC-4D35-97D7-9BF4105B8AA6}";
const wchar_t kLibText[] = L"{5632F61E-6FBB-4273-8A88-80DF51076F6D}";
const wchar_t kIidText[] = L"{BE6A8C58-D1D6-452A-96B9-A8997BFC4640}";

class OleServerTest : public CWndTestBase
{
protected:
    void SetUp() override
    {
        CWndTestBase::SetUp();
        RegStoreSetInMemory(true);
        RegStoreReset();
        QYRTYPELIB lib;
        lib.libid = kLibid;
        lib.lcid = 0x409;
        lib.name = L"Probe";
        lib.interfaces.push_back({kIid, L"IProbe"});
        QyrAddTypeLib(lib);
        m_template = std::make_unique<CMultiDocTemplate>(0, RUNTIME_CLASS(CDocument),
                                                         RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CView));
        m_template->m_strDocStrings = L"\nProbe\nProbe\n\n\nProbe.Document\nProbe.Document";
    }
    void TearDown() override
    {
        RegStoreSetInMemory(false);
        CWndTestBase::TearDown();
    }

    static std::wstring Value(const std::wstring& key, LPCWSTR name = nullptr)
    {
        return QyrReadClassesValue(key.c_str(), name);
    }
    static bool Exists(const std::wstring& key)
    {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }

    std::unique_ptr<CMultiDocTemplate> m_template;
};

TEST_F(OleServerTest, TheTemplateServerRunsAndRegistersItsClassProgIdAndTypeLibrary)
{
    COleTemplateServer server;
    server.ConnectTemplate(kClsid, m_template.get(), FALSE);
    EXPECT_EQ(server.GetProgID(), CString(L"Probe.Document"));

    // Registered as running: this process creates the class by id and by ProgID.
    EXPECT_FALSE(server.IsRegistered());
    ASSERT_TRUE(COleTemplateServer::RegisterAll());
    EXPECT_TRUE(server.IsRegistered());
    CComPtr<IDispatch> object;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    UINT count = 1;
    EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u); // nothing is offered
    CLSID byProgId = GUID_NULL;
    EXPECT_EQ(CLSIDFromProgID(L"Probe.Document", &byProgId), S_OK);
    EXPECT_TRUE(IsEqualGUID(byProgId, kClsid));

    server.UpdateRegistry(OAT_DISPATCH_OBJECT);
    ASSERT_TRUE(AfxOleRegisterTypeLib(nullptr, kLibid));
    const std::wstring classKey = std::wstring(L"CLSID\\") + kClsidText;
    EXPECT_EQ(Value(classKey), L"Probe.Document");
    EXPECT_EQ(Value(classKey + L"\\ProgID"), L"Probe.Document");
    EXPECT_NE(Value(classKey + L"\\LocalServer32").find(L" /Automation"), std::wstring::npos);
    EXPECT_EQ(Value(L"Probe.Document\\CLSID"), kClsidText);
    const std::wstring libKey = std::wstring(L"TypeLib\\") + kLibText + L"\\1.0";
    EXPECT_EQ(Value(libKey), L"Probe");
    EXPECT_FALSE(Value(libKey + L"\\409\\win32").empty());
    EXPECT_EQ(Value(std::wstring(L"Interface\\") + kIidText), L"IProbe");
    EXPECT_EQ(Value(std::wstring(L"Interface\\") + kIidText + L"\\TypeLib"), kLibText);
    EXPECT_EQ(Value(std::wstring(L"Interface\\") + kIidText + L"\\TypeLib", L"Version"), L"1.0");

    // Unregistering removes every entry; the class stays running in this process until revoked.
    EXPECT_TRUE(server.Unregister());
    EXPECT_TRUE(AfxOleUnregisterTypeLib(kLibid, 1, 0));
    EXPECT_FALSE(AfxOleUnregisterTypeLib(kLibid, 1, 0)); // not registered any more
    for (const std::wstring& key :
         {classKey, std::wstring(L"Probe.Document"), std::wstring(L"TypeLib\\") + kLibText,
          std::wstring(L"Interface\\") + kIidText})
        EXPECT_FALSE(Exists(key)) << CString(key.c_str()).ToUtf8();
    COleTemplateServer::RevokeAll();
    EXPECT_FALSE(server.IsRegistered());
    object.Release();
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
}

TEST_F(OleServerTest, RegisterAndUnregisterCommandsTellThePersonUnlessEmbedded)
{
    COleTemplateServer server;
    server.ConnectTemplate(kClsid, m_template.get(), FALSE);
    server.UpdateRegistry(OAT_DISPATCH_OBJECT);
    CWinApp app(L"Probe");
    std::vector<std::wstring> boxes;
    CHookScope hook(
        [&](const AfxModalRequest& r)
        {
            boxes.push_back(r.strText.str());
            return IDOK;
        });
    struct Case
    {
        std::vector<CString> args;
        bool removed;
        size_t boxes;
    } cases[] = {
        {{L"/Register"}, false, 1},
        {{L"/Unregister"}, true, 1},
        {{L"/Unregserver", L"/Embedding"}, true, 0},
    };
    for (const Case& c : cases)
    {
        server.UpdateRegistry(OAT_DISPATCH_OBJECT);
        boxes.clear();
        CCommandLineInfo info;
        AfxParseCommandLine(info, c.args);
        EXPECT_FALSE(app.ProcessShellCommand(info)); // the program ends after either
        EXPECT_EQ(Exists(std::wstring(L"CLSID\\") + kClsidText), !c.removed);
        EXPECT_EQ(boxes.size(), c.boxes);
    }
}
} // namespace
