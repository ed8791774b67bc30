// "Quendrel.OpcTestDa10.1": only the DA 1.0 interfaces, with the data streams.
#include "OpcTestSinks.h"

#include <gtest/gtest.h>

namespace
{
class Da10ServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpcStandIn::Reset();
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QuendrelOpcTestDa10, nullptr, CLSCTX_ALL, IID_IOPCServer,
                                         reinterpret_cast<void**>(&server)));
        OPCHANDLE h = 0;
        DWORD revised = 0;
        ASSERT_EQ(S_OK, server->AddGroup(L"G", TRUE, 20, 900, nullptr, nullptr, 0, &h, &revised,
                                         IID_IOPCGroupStateMgt, reinterpret_cast<LPUNKNOWN*>(&group)));
        data = group;
        ASSERT_TRUE(data);
    }
    void TearDown() override
    {
        data.Release();
        group.Release();
        server.Release();
        OpcStandIn::Reset();
    }
    DWORD Advise(const wchar_t* format, IAdviseSink* sink, DWORD advf = 0)
    {
        FORMATETC f{CLIPFORMAT(RegisterClipboardFormatW(format)), nullptr, DVASPECT_CONTENT, -1,
                    TYMED_HGLOBAL};
        DWORD connection = 0;
        EXPECT_EQ(S_OK, data->DAdvise(&f, advf, sink, &connection));
        return connection;
    }
    void AddItems(const std::vector<const wchar_t*>& ids)
    {
        CComQIPtr<IOPCItemMgt> items(group.p);
        std::vector<OPCITEMDEF> defs;
        for (size_t i = 0; i < ids.size(); ++i)
            defs.push_back(OPCITEMDEF{nullptr, const_cast<LPWSTR>(ids[i]), TRUE, OPCHANDLE(100 + i), 0,
                                      nullptr, VT_EMPTY, 0});
        OPCITEMRESULT* results = nullptr;
        HRESULT* errors = nullptr;
        ASSERT_EQ(S_OK, items->AddItems(DWORD(defs.size()), defs.data(), &results, &errors));
        for (size_t i = 0; i < ids.size(); ++i)
            handles.push_back(results[i].hServer);
        CoTaskMemFree(results);
        CoTaskMemFree(errors);
    }

    CComPtr<IOPCServer> server;
    CComPtr<IOPCGroupStateMgt> group;
    CComQIPtr<IDataObject> data;
    std::vector<OPCHANDLE> handles;
};

TEST_F(Da10ServerTest, OffersOnlyTheOlderInterfaces)
{
    for (const IID* iid : {&IID_IOPCCommon, &IID_IConnectionPointContainer})
    {
        void* p = nullptr;
        EXPECT_EQ(E_NOINTERFACE, server->QueryInterface(*iid, &p));
    }
    for (const IID* iid :
         {&IID_IOPCGroupStateMgt2, &IID_IOPCSyncIO2, &IID_IOPCAsyncIO2, &IID_IConnectionPointContainer})
    {
        void* p = nullptr;
        EXPECT_EQ(E_NOINTERFACE, group->QueryInterface(*iid, &p));
    }
    for (const IID* iid : {&IID_IOPCItemMgt, &IID_IOPCSyncIO, &IID_IOPCAsyncIO, &IID_IDataObject})
    {
        CComPtr<IUnknown> p;
        EXPECT_EQ(S_OK, group->QueryInterface(*iid, reinterpret_cast<void**>(&p)));
    }
    OPCSERVERSTATUS* status = nullptr;
    ASSERT_EQ(S_OK, server->GetStatus(&status));
    EXPECT_EQ(1, status->wMajorVersion);
    CoTaskMemFree(status->szVendorInfo);
    CoTaskMemFree(status);
    // A flat space: one level of item IDs.
    CComQIPtr<IOPCBrowseServerAddressSpace> browse(server.p);
    OPCNAMESPACETYPE type;
    ASSERT_EQ(S_OK, browse->QueryOrganization(&type));
    EXPECT_EQ(OPC_NS_FLAT, type);
    EXPECT_EQ(E_FAIL, browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, L"x"));
    CComPtr<IEnumString> names;
    ASSERT_EQ(S_OK, browse->BrowseOPCItemIDs(OPC_FLAT, L"Mem*", VT_EMPTY, 0, &names));
    LPOLESTR batch[40] = {};
    ULONG fetched = 0;
    names->Next(40, batch, &fetched);
    EXPECT_EQ(18u, fetched);
    for (ULONG i = 0; i < fetched; ++i)
        CoTaskMemFree(batch[i]);
}

TEST_F(Da10ServerTest, StreamsCarryDataWithAndWithoutTimeFromTheServerThread)
{
    CComPtr<CTestAdviseSink> timed = QyrNewObject<CTestAdviseSink>();
    CComPtr<CTestAdviseSink> plain = QyrNewObject<CTestAdviseSink>();
    DWORD c1 = Advise(OPCSTMFORMATDATATIME_NAME, timed, ADVF_PRIMEFIRST);
    DWORD c2 = Advise(OPCSTMFORMATDATA_NAME, plain);
    // One sink per format; unknown formats and media are refused.
    FORMATETC f{CLIPFORMAT(RegisterClipboardFormatW(OPCSTMFORMATDATA_NAME)), nullptr, DVASPECT_CONTENT, -1,
                TYMED_HGLOBAL};
    DWORD connection = 0;
    EXPECT_EQ(CONNECT_E_ADVISELIMIT, data->DAdvise(&f, 0, plain, &connection));
    f.tymed = TYMED_ISTREAM;
    EXPECT_EQ(DV_E_TYMED, data->DAdvise(&f, 0, plain, &connection));
    f.cfFormat = CLIPFORMAT(RegisterClipboardFormatW(L"Something else"));
    EXPECT_EQ(DV_E_FORMATETC, data->DAdvise(&f, 0, plain, &connection));

    AddItems({L"Counter", L"Text"});
    auto hasItems = [](const CTestAdviseSink::Block& b)
    { return b.clients.size() == 2 && b.header.dwTransactionID == 0; };
    ASSERT_TRUE(timed->WaitBlock(hasItems));
    ASSERT_TRUE(plain->WaitBlock(hasItems));
    for (const auto& b : timed->Blocks())
    {
        EXPECT_NE(std::this_thread::get_id(), b.thread);
        EXPECT_EQ(900u, b.header.hClientGroup);
        if (b.clients.size() == 2)
        {
            EXPECT_EQ(100u, b.clients[0]);
            EXPECT_NE(0u, b.times[0].dwHighDateTime);
            EXPECT_FALSE(b.texts[1].empty());
        }
    }
    for (const auto& b : plain->Blocks())
        EXPECT_EQ(0u, b.times.empty() ? 0u : b.times[0].dwHighDateTime);
    EXPECT_EQ(S_OK, data->DUnadvise(c1));
    EXPECT_EQ(OLE_E_NOCONNECTION, data->DUnadvise(c1));
    EXPECT_EQ(S_OK, data->DUnadvise(c2));
}

TEST_F(Da10ServerTest, AsyncIOAnswersOnTheStreamsWithTransactionIds)
{
    CComPtr<CTestAdviseSink> sink = QyrNewObject<CTestAdviseSink>();
    DWORD dataConnection = Advise(OPCSTMFORMATDATATIME_NAME, sink);
    DWORD writeConnection = Advise(OPCSTMFORMATWRITECOMPLETE_NAME, sink);
    AddItems({L"MemR8", L"MemBSTR"});
    CComQIPtr<IOPCAsyncIO> async(group.p);
    VARIANT values[2];
    VariantInit(&values[0]);
    VariantInit(&values[1]);
    values[0].vt = VT_I4;
    values[0].lVal = 17;
    values[1].vt = VT_BSTR;
    values[1].bstrVal = SysAllocString(L"old style");
    DWORD writeTrans = 0;
    HRESULT* errors = nullptr;
    // The connection must be the stream's own.
    EXPECT_EQ(CONNECT_E_NOCONNECTION,
              async->Write(dataConnection, 2, handles.data(), values, &writeTrans, &errors));
    ASSERT_EQ(S_OK, async->Write(writeConnection, 2, handles.data(), values, &writeTrans, &errors));
    CoTaskMemFree(errors);
    VariantClear(&values[1]);
    EXPECT_NE(0u, writeTrans);
    ASSERT_TRUE(sink->WaitBlock([&](const auto& b) { return b.writeHeader.dwTransactionID == writeTrans; }));
    DWORD readTrans = 0;
    ASSERT_EQ(S_OK, async->Read(dataConnection, OPC_DS_DEVICE, 2, handles.data(), &readTrans, &errors));
    CoTaskMemFree(errors);
    EXPECT_NE(writeTrans, readTrans);
    ASSERT_TRUE(sink->WaitBlock([&](const auto& b) { return b.header.dwTransactionID == readTrans; }));
    for (const auto& b : sink->Blocks())
    {
        if (b.header.dwTransactionID == readTrans)
        {
            ASSERT_EQ(2u, b.clients.size());
            EXPECT_EQ(17.0, b.numbers[0]);
            EXPECT_EQ(L"old style", b.texts[1]);
        }
        if (b.writeHeader.dwTransactionID == writeTrans)
        {
            EXPECT_EQ((std::vector<HRESULT>{S_OK, S_OK}), b.writeErrors);
        }
    }
    DWORD refreshTrans = 0;
    ASSERT_EQ(S_OK, async->Refresh(dataConnection, OPC_DS_CACHE, &refreshTrans));
    ASSERT_TRUE(sink->WaitBlock([&](const auto& b) { return b.header.dwTransactionID == refreshTrans; }));

    OpcStandIn::SetAsyncDelay(CLSID_QuendrelOpcTestDa10, 300);
    ASSERT_EQ(S_OK, async->Refresh(dataConnection, OPC_DS_CACHE, &refreshTrans));
    EXPECT_EQ(S_OK, async->Cancel(refreshTrans));
    EXPECT_EQ(E_FAIL, async->Cancel(refreshTrans));
}
} // namespace
