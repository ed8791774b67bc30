// The logging interface wrappers: one fixed log line per failed call, newer-then-older fallback,
// reference counting.
#include "OpcClientTestSupport.h"

#include "opc/IOPCAsyncIOWrapper.h"
#include "opc/IOPCBrowseWrapper.h"
#include "opc/IOPCGroupStateMgtWrapper.h"
#include "opc/IOPCItemMgtWrapper.h"

#include <gtest/gtest.h>

using namespace opctest;

namespace
{
class WrapperTest : public OpcClientTest
{
};

// A browse interface that only counts its references.
class CCountingBrowse : public CComObjectImpl<IOPCBrowseServerAddressSpace>
{
public:
    HRESULT STDMETHODCALLTYPE QueryOrganization(OPCNAMESPACETYPE* type) override
    {
        *type = OPC_NS_FLAT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ChangeBrowsePosition(OPCBROWSEDIRECTION, LPCWSTR) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE BrowseOPCItemIDs(OPCBROWSETYPE, LPCWSTR, VARTYPE, DWORD, LPENUMSTRING*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetItemID(LPWSTR, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BrowseAccessPaths(LPCWSTR, LPENUMSTRING*) override { return E_NOTIMPL; }
};
} // namespace

TEST_F(WrapperTest, MissingInterfaceIsLoggedOnceAtConstruction)
{
    CComPtr<CCountingBrowse> object = QyrNewObject<CCountingBrowse>();
    CIOPCItemMgt itemMgt(object->GetUnknown());
    EXPECT_EQ(1, CountLogLines(L"CIOPCItemMgt() failed!"));
    OPCITEMRESULT* results = nullptr;
    HRESULT* errors = nullptr;
    EXPECT_EQ(E_FAIL, itemMgt.AddItems(0, nullptr, &results, &errors));
    EXPECT_EQ(1u, Logvane_GetCapturedLines().size());

    CIOPCGroupStateMgt stateMgt(object->GetUnknown());
    EXPECT_TRUE(LogContains(L"CIOPCGroupStateMgt() failed!"));
    // This wrapper logs every failure, a missing interface too.
    EXPECT_EQ(E_FAIL, stateMgt.SetName(L"x"));
    EXPECT_TRUE(LogContains(L"IOPCGroupStateMgt::SetName() failed!"));
}

TEST_F(WrapperTest, GroupStateGoesToTheNewerInterfaceFirst)
{
    auto server = MakeConnected(L"this");
    CGroup* group = AddGroup(*server);
    ASSERT_TRUE(group->GetInterface2());
    CIOPCGroupStateMgt stateMgt(group->GetSafeInterface());
    DWORD rate = 0;
    LPWSTR name = nullptr;
    int calls = OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::GetState");

    // The newer call fails once; the older one answers and nothing is logged.
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::GetState", E_FAIL, 1);
    EXPECT_EQ(S_OK, stateMgt.GetState(&rate, nullptr, &name, nullptr, nullptr, nullptr, nullptr, nullptr));
    CoTaskMemFree(name);
    EXPECT_EQ(calls + 2, OpcStandIn::CallCount(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::GetState"));
    EXPECT_FALSE(LogContains(L"IOPCGroupStateMgt::GetState() failed!"));

    // Both fail: one line.
    OpcStandIn::FailCall(CLSID_QuendrelOpcDaServer, "IOPCGroupStateMgt::GetState", E_FAIL, 2);
    EXPECT_EQ(E_FAIL,
              stateMgt.GetState(&rate, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1, CountLogLines(L"IOPCGroupStateMgt::GetState() failed!"));
    server->Disconnect();
}

TEST_F(WrapperTest, OlderServerGetsTheOlderCalls)
{
    CInfoServer server(1, 1, 0);
    server.SetOPCServerCLSID(CLSID_QuendrelOpcTestDa10);
    ASSERT_TRUE(server.Connect());
    CGroup* group = AddGroup(server);
    ASSERT_NE(nullptr, group);
    CIOPCGroupStateMgt stateMgt(group->GetSafeInterface());
    DWORD rate = 0;
    EXPECT_EQ(S_OK, stateMgt.GetState(&rate, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(20u, rate);

    CIOPCAsyncIO asyncIO(group->GetSafeInterface());
    OPCHANDLE handle = 1;
    DWORD cancel = 0;
    HRESULT* errors = nullptr;
    EXPECT_EQ(E_FAIL, asyncIO.Read(1, &handle, 6015, &cancel, &errors));
    EXPECT_TRUE(LogContains(L"IOPCAsyncIO2::Read() failed!"));
    EXPECT_EQ(E_FAIL, asyncIO.Refresh2(OPC_DS_CACHE, 6014, &cancel));
    EXPECT_TRUE(LogContains(L"IOPCAsyncIO2::Refresh2() failed!"));
    server.Disconnect();
}

TEST_F(WrapperTest, CopiesOfTheBrowseWrapperCountTheirReferences)
{
    CComPtr<CCountingBrowse> object = QyrNewObject<CCountingBrowse>();
    EXPECT_EQ(1u, object->RefCount());
    {
        CIOPCBrowseServerAddressSpace first(static_cast<IOPCBrowseServerAddressSpace*>(object.p));
        CIOPCBrowseServerAddressSpace second(first);
        EXPECT_EQ(3u, object->RefCount());
        CIOPCBrowseServerAddressSpace third(object->GetUnknown());
        third = second;
        EXPECT_EQ(4u, object->RefCount());
        int organisation = 0;
        EXPECT_EQ(S_OK, second.QueryOrganization(&organisation));
        EXPECT_EQ(2, organisation);
        EXPECT_EQ(E_FAIL, first.ChangeBrowsePosition(OPC_BROWSE_UP, L""));
        EXPECT_TRUE(LogContains(L"Browse::ChangeBrowsePosition"));
    }
    EXPECT_EQ(1u, object->RefCount());
}
