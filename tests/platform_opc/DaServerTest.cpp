// "Quendrel.OpcDaServer.1" exercised through its interfaces.
#include "OpcTestSinks.h"

#include "com/SafeArray.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{
class DaServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpcStandInServers_Register();
        OpcStandIn::Reset();
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromProgID(QUENDREL_OPCDASERVER_PROGID, &clsid));
        ASSERT_EQ(CLSID_QuendrelOpcDaServer, clsid);
        ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IOPCServer,
                                         reinterpret_cast<void**>(&server)));
    }
    void TearDown() override
    {
        group.Release();
        server.Release();
        EXPECT_EQ(0, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer));
        OpcStandIn::Reset();
    }

    // A group at 20 ms; its state interface in group.
    void AddGroup(BOOL active = TRUE, DWORD rate = 20)
    {
        OPCHANDLE hServer = 0;
        DWORD revised = 0;
        ASSERT_EQ(S_OK, server->AddGroup(L"G1", active, rate, 501, nullptr, nullptr, 0, &hServer, &revised,
                                         IID_IOPCGroupStateMgt, reinterpret_cast<LPUNKNOWN*>(&group)));
        EXPECT_EQ(rate, revised);
        groupHandle = hServer;
    }
    // Adds the items (client handle = index + 1); their server handles in handles.
    HRESULT AddItems(const std::vector<std::wstring>& ids, std::vector<HRESULT>* errors = nullptr,
                     VARTYPE requested = VT_EMPTY)
    {
        CComQIPtr<IOPCItemMgt> items(group.p);
        std::vector<OPCITEMDEF> defs(ids.size());
        for (size_t i = 0; i < ids.size(); ++i)
            defs[i] = OPCITEMDEF{
                nullptr, const_cast<LPWSTR>(ids[i].c_str()), TRUE, OPCHANDLE(i + 1), 0, nullptr, requested,
                0};
        OPCITEMRESULT* results = nullptr;
        HRESULT* errs = nullptr;
        HRESULT hr = items->AddItems(DWORD(defs.size()), defs.data(), &results, &errs);
        handles.clear();
        for (size_t i = 0; SUCCEEDED(hr) && i < ids.size(); ++i)
        {
            handles.push_back(results[i].hServer);
            canonical.push_back(results[i].vtCanonicalDataType);
            if (errors)
                errors->push_back(errs[i]);
        }
        CoTaskMemFree(results);
        CoTaskMemFree(errs);
        return hr;
    }
    // Reads the handles synchronously.
    std::vector<OPCITEMSTATE> Read(OPCDATASOURCE source, std::vector<HRESULT>* errors = nullptr)
    {
        CComQIPtr<IOPCSyncIO> io(group.p);
        OPCITEMSTATE* states = nullptr;
        HRESULT* errs = nullptr;
        std::vector<OPCITEMSTATE> out;
        if (FAILED(io->Read(source, DWORD(handles.size()), handles.data(), &states, &errs)))
            return out;
        out.assign(states, states + handles.size());
        if (errors)
            errors->assign(errs, errs + handles.size());
        CoTaskMemFree(states);
        CoTaskMemFree(errs);
        return out;
    }
    static void Clear(std::vector<OPCITEMSTATE>& states)
    {
        for (OPCITEMSTATE& s : states)
            VariantClear(&s.vDataValue);
    }

    CComPtr<IOPCServer> server;
    CComPtr<IOPCGroupStateMgt> group;
    OPCHANDLE groupHandle = 0;
    std::vector<OPCHANDLE> handles;
    std::vector<VARTYPE> canonical;
};

std::vector<std::wstring> BrowseAll(IOPCBrowseServerAddressSpace* browse, OPCBROWSETYPE type,
                                    LPCWSTR filter = L"", VARTYPE vt = VT_EMPTY, DWORD rights = 0)
{
    std::vector<std::wstring> names;
    CComPtr<IEnumString> e;
    if (FAILED(browse->BrowseOPCItemIDs(type, filter, vt, rights, &e)))
        return names;
    LPOLESTR name = nullptr;
    while (e->Next(1, &name, nullptr) == S_OK)
    {
        names.push_back(name);
        CoTaskMemFree(name);
    }
    return names;
}

TEST_F(DaServerTest, StatusServerListAndIdentity)
{
    OPCSERVERSTATUS* status = nullptr;
    ASSERT_EQ(S_OK, server->GetStatus(&status));
    EXPECT_EQ(OPC_STATUS_RUNNING, status->dwServerState);
    EXPECT_EQ(3, status->wMajorVersion);
    EXPECT_NE(0u, status->ftStartTime.dwHighDateTime);
    CoTaskMemFree(status->szVendorInfo);
    CoTaskMemFree(status);
    EXPECT_EQ(1, OpcStandIn::LiveServerCount(CLSID_QuendrelOpcDaServer));

    // The server list names each server under its categories.
    CComPtr<IOPCServerList> list;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_OpcServerList, nullptr, CLSCTX_ALL, IID_IOPCServerList,
                                     reinterpret_cast<void**>(&list)));
    auto classesOf = [&](CATID category)
    {
        std::vector<std::wstring> progIds;
        CComPtr<IEnumGUID> e;
        EXPECT_EQ(S_OK, list->EnumClassesOfCategories(1, &category, 1, &category, &e));
        CLSID clsid;
        while (e && e->Next(1, &clsid, nullptr) == S_OK)
        {
            LPOLESTR progId = nullptr, userType = nullptr;
            if (SUCCEEDED(list->GetClassDetails(clsid, &progId, &userType)))
                progIds.push_back(progId);
            CoTaskMemFree(progId);
            CoTaskMemFree(userType);
        }
        return progIds;
    };
    using ::testing::Contains;
    using ::testing::Not;
    EXPECT_THAT(classesOf(CATID_OPCDAServer20), Contains(std::wstring(QUENDREL_OPCDASERVER_PROGID)));
    EXPECT_THAT(classesOf(CATID_OPCDAServer20), Not(Contains(std::wstring(QUENDREL_OPCTESTDA10_PROGID))));
    EXPECT_THAT(classesOf(CATID_OPCDAServer10), Contains(std::wstring(QUENDREL_OPCTESTDA10_PROGID)));
    EXPECT_THAT(classesOf(CATID_OPCAEServer10), Contains(std::wstring(QUENDREL_OPCEVENTSERVER_PROGID)));
    CLSID clsid{};
    EXPECT_EQ(S_OK, list->CLSIDFromProgID(QUENDREL_OPCEVENTSERVER_PROGID, &clsid));
    EXPECT_EQ(CLSID_QuendrelOpcEventServer, clsid);

    // Other interfaces of the server object.
    CComQIPtr<IOPCCommon> common(server.p);
    ASSERT_TRUE(common);
    EXPECT_EQ(S_OK, common->SetClientName(L"test"));
    LPWSTR text = nullptr;
    EXPECT_EQ(S_OK, server->GetErrorString(OPC_E_UNKNOWNITEMID, 0, &text));
    EXPECT_NE(nullptr, text);
    CoTaskMemFree(text);
    EXPECT_EQ(E_INVALIDARG, server->GetErrorString(0x12345678, 0, &text));
    CComQIPtr<IPersistFile> file(server.p);
    ASSERT_TRUE(file);
    EXPECT_EQ(S_OK, file->Load(L"dummy", 0));
    EXPECT_EQ(S_OK, file->Save(L"dummy", FALSE));
}

TEST_F(DaServerTest, BrowsesTheHierarchyWithFilters)
{
    CComQIPtr<IOPCBrowseServerAddressSpace> browse(server.p);
    ASSERT_TRUE(browse);
    OPCNAMESPACETYPE type;
    ASSERT_EQ(S_OK, browse->QueryOrganization(&type));
    EXPECT_EQ(OPC_NS_HIERARCHIAL, type);
    EXPECT_EQ((std::vector<std::wstring>{L"Simulation", L"Memory", L"Plant", L"Bulk"}),
              BrowseAll(browse, OPC_BRANCH));
    EXPECT_TRUE(BrowseAll(browse, OPC_LEAF).empty());
    EXPECT_EQ(E_FAIL, browse->ChangeBrowsePosition(OPC_BROWSE_UP, L""));
    ASSERT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, L"Plant"));
    ASSERT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, L"Area1"));
    EXPECT_EQ((std::vector<std::wstring>{L"Tank1", L"Tank2"}), BrowseAll(browse, OPC_BRANCH));
    ASSERT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, L"Tank1"));
    EXPECT_EQ((std::vector<std::wstring>{L"Level", L"Temperature", L"Valve"}), BrowseAll(browse, OPC_LEAF));
    EXPECT_EQ((std::vector<std::wstring>{L"Valve"}),
              BrowseAll(browse, OPC_LEAF, L"", VT_EMPTY, OPC_WRITEABLE));
    EXPECT_EQ((std::vector<std::wstring>{L"Temperature"}), BrowseAll(browse, OPC_LEAF, L"T*"));
    LPWSTR id = nullptr;
    ASSERT_EQ(S_OK, browse->GetItemID(const_cast<LPWSTR>(L"Level"), &id));
    EXPECT_STREQ(L"Plant.Area1.Tank1.Level", id);
    CoTaskMemFree(id);
    EXPECT_EQ(E_INVALIDARG, browse->GetItemID(const_cast<LPWSTR>(L"Nothing"), &id));
    EXPECT_EQ(E_INVALIDARG, browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, L"Nothing"));
    EXPECT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_UP, L""));
    EXPECT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_TO, L"Memory"));
    EXPECT_EQ(18u, BrowseAll(browse, OPC_FLAT).size());
    EXPECT_EQ((std::vector<std::wstring>{L"Memory.ArrayR8", L"Memory.ArrayI4"}),
              BrowseAll(browse, OPC_FLAT, L"*Array*"));
    EXPECT_EQ(S_OK, browse->ChangeBrowsePosition(OPC_BROWSE_TO, L""));
    EXPECT_EQ(9u + 18u + 6u + 10000u, BrowseAll(browse, OPC_FLAT).size());
}

TEST_F(DaServerTest, AddsAThousandItemsAndReadsCacheAndDevice)
{
    AddGroup();
    std::vector<std::wstring> ids;
    for (int i = 0; i < 1000; ++i)
    {
        wchar_t id[32];
        std::swprintf(id, 32, L"Bulk.Tag%05d", i);
        ids.push_back(id);
    }
    ASSERT_EQ(S_OK, AddItems(ids));
    ASSERT_EQ(1000u, handles.size());
    EXPECT_EQ(VT_R8, canonical[0]);
    std::vector<HRESULT> errors;
    auto cache = Read(OPC_DS_CACHE, &errors);
    ASSERT_EQ(1000u, cache.size());
    for (size_t i = 0; i < cache.size(); ++i)
    {
        EXPECT_EQ(S_OK, errors[i]);
        EXPECT_EQ(OPCHANDLE(i + 1), cache[i].hClient);
        EXPECT_EQ(OPC_QUALITY_GOOD, cache[i].wQuality);
        EXPECT_EQ(VT_R8, cache[i].vDataValue.vt);
        EXPECT_NE(0u, cache[i].ftTimeStamp.dwHighDateTime);
    }
    Clear(cache);
    auto device = Read(OPC_DS_DEVICE);
    ASSERT_EQ(1000u, device.size());
    EXPECT_GE(device[0].vDataValue.dblVal, 0.0);
    EXPECT_LE(device[0].vDataValue.dblVal, 100.0);
    Clear(device);
}

TEST_F(DaServerTest, ItemErrorsComeBackPerItem)
{
    AddGroup();
    std::vector<HRESULT> errors;
    EXPECT_EQ(S_FALSE, AddItems({L"Simulation.Ramp", L"No.Such.Item", L"", L"Simulation.Text"}, &errors));
    EXPECT_EQ((std::vector<HRESULT>{S_OK, OPC_E_UNKNOWNITEMID, OPC_E_INVALIDITEMID, S_OK}), errors);
    errors.clear();
    // A text cannot be given as a number; an array not as a scalar.
    EXPECT_EQ(S_FALSE,
              AddItems({L"Simulation.Text", L"Memory.ArrayR8", L"Simulation.Counter"}, &errors, VT_R8));
    EXPECT_EQ((std::vector<HRESULT>{OPC_E_BADTYPE, OPC_E_BADTYPE, S_OK}), errors);

    CComQIPtr<IOPCItemMgt> items(group.p);
    OPCHANDLE bad[2] = {handles[2], 9999};
    HRESULT* errs = nullptr;
    EXPECT_EQ(S_FALSE, items->RemoveItems(2, bad, &errs));
    EXPECT_EQ(S_OK, errs[0]);
    EXPECT_EQ(OPC_E_INVALIDHANDLE, errs[1]);
    CoTaskMemFree(errs);
    OPCITEMDEF def{};
    OPCITEMRESULT* results = nullptr;
    EXPECT_EQ(E_INVALIDARG, items->AddItems(0, &def, &results, &errs));
}

TEST_F(DaServerTest, WritesEveryMemoryTypeAndReadsItBack)
{
    AddGroup();
    struct Case
    {
        const wchar_t* id;
        const wchar_t* text;
        const wchar_t* expect; // read back as text
    };
    const Case cases[] = {
        {L"Memory.I1", L"-12", L"-12"},
        {L"Memory.UI1", L"200", L"200"},
        {L"Memory.I2", L"-30000", L"-30000"},
        {L"Memory.UI2", L"60000", L"60000"},
        {L"Memory.I4", L"-7", L"-7"},
        {L"Memory.UI4", L"4000000000", L"4000000000"},
        {L"Memory.I8", L"-9000000000", L"-9000000000"},
        {L"Memory.UI8", L"9000000000", L"9000000000"},
        {L"Memory.INT", L"5", L"5"},
        {L"Memory.UINT", L"6", L"6"},
        {L"Memory.R4", L"1.5", L"1.5"},
        {L"Memory.R8", L"2.25", L"2.25"},
        {L"Memory.CY", L"3.5", L"3.5"},
        {L"Memory.BSTR", L"hello", L"hello"},
        {L"Memory.BOOL", L"-1", L"-1"},
    };
    std::vector<std::wstring> ids;
    for (const Case& c : cases)
        ids.push_back(c.id);
    ASSERT_EQ(S_OK, AddItems(ids));
    std::vector<VARIANT> values(ids.size());
    for (size_t i = 0; i < ids.size(); ++i)
    {
        VariantInit(&values[i]);
        values[i].vt = VT_BSTR;
        values[i].bstrVal = SysAllocString(cases[i].text);
    }
    CComQIPtr<IOPCSyncIO> io(group.p);
    HRESULT* errors = nullptr;
    ASSERT_EQ(S_OK, io->Write(DWORD(handles.size()), handles.data(), values.data(), &errors));
    CoTaskMemFree(errors);
    for (VARIANT& v : values)
        VariantClear(&v);
    auto states = Read(OPC_DS_DEVICE);
    ASSERT_EQ(ids.size(), states.size());
    for (size_t i = 0; i < states.size(); ++i)
    {
        EXPECT_EQ(canonical[i], states[i].vDataValue.vt) << cases[i].id;
        VARIANT text;
        VariantInit(&text);
        ASSERT_EQ(S_OK, VariantChangeType(&text, &states[i].vDataValue, 0, VT_BSTR)) << cases[i].id;
        EXPECT_STREQ(cases[i].expect, text.bstrVal) << cases[i].id;
        VariantClear(&text);
    }
    Clear(states);

    // Out of range, not convertible, not writable, arrays of the right type.
    handles.clear();
    ASSERT_EQ(S_OK, AddItems({L"Memory.UI1", L"Memory.I4", L"Simulation.Ramp", L"Memory.ArrayI4"}));
    VARIANT bad[4];
    for (VARIANT& v : bad)
        VariantInit(&v);
    bad[0].vt = VT_I4;
    bad[0].lVal = 300;
    bad[1].vt = VT_BSTR;
    bad[1].bstrVal = SysAllocString(L"abc");
    bad[2].vt = VT_R8;
    bad[2].dblVal = 1.0;
    bad[3].vt = VARTYPE(VT_ARRAY | VT_I4);
    bad[3].parray = SafeArrayCreateVector(VT_I4, 0, 2);
    ASSERT_EQ(S_FALSE, io->Write(4, handles.data(), bad, &errors));
    EXPECT_EQ(OPC_E_RANGE, errors[0]);
    EXPECT_EQ(OPC_E_BADTYPE, errors[1]);
    EXPECT_EQ(OPC_E_BADRIGHTS, errors[2]);
    EXPECT_EQ(S_OK, errors[3]);
    CoTaskMemFree(errors);
    for (VARIANT& v : bad)
        VariantClear(&v);
}

TEST_F(DaServerTest, DataChangesComeFromTheServerThreadAtTheGroupRate)
{
    AddGroup();
    CComPtr<CTestDataCallback> sink = QyrNewObject<CTestDataCallback>();
    DWORD cookie = AdviseOn(group, IID_IOPCDataCallback, sink->GetUnknown());
    ASSERT_NE(0u, cookie);
    // One callback per group.
    CComPtr<CTestDataCallback> second = QyrNewObject<CTestDataCallback>();
    EXPECT_EQ(0u, AdviseOn(group, IID_IOPCDataCallback, second->GetUnknown()));
    ASSERT_EQ(S_OK, AddItems({L"Simulation.RampFast", L"Simulation.Counter"}));
    ASSERT_TRUE(sink->WaitKind("data", 4));
    for (const auto& call : sink->Calls())
    {
        EXPECT_NE(std::this_thread::get_id(), call.thread);
        EXPECT_EQ(501u, call.hGroup);
        EXPECT_EQ(0u, call.transId);
    }
    CTestDataCallback::Value v;
    ASSERT_TRUE(sink->Latest(2, &v));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(OPC_QUALITY_GOOD, v.quality);

    // Switched off, no more reports; a refresh still comes, with its transaction id.
    CComQIPtr<IOPCAsyncIO2> async(group.p);
    ASSERT_EQ(S_OK, async->SetEnable(FALSE));
    BOOL enabled = TRUE;
    EXPECT_EQ(S_OK, async->GetEnable(&enabled));
    EXPECT_FALSE(enabled);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sink->Clear();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(0u, sink->CountOf("data"));
    DWORD cancelId = 0;
    ASSERT_EQ(S_OK, async->Refresh2(OPC_DS_CACHE, 6014, &cancelId));
    ASSERT_TRUE(sink->WaitKind("data"));
    EXPECT_EQ(6014u, sink->Calls()[0].transId);
    EXPECT_EQ(2u, sink->Calls()[0].items.size());

    EXPECT_EQ(S_OK, UnadviseOn(group, IID_IOPCDataCallback, cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, async->Refresh2(OPC_DS_CACHE, 1, &cancelId));
}

TEST_F(DaServerTest, EarlyScansLeaveTheNextRegularScanWithinOnePeriod)
{
    // Each AddItems wakes the group for a scan at once. However many come in a row, the next regular
    // scan stays where the rate put it: a schedule pushed one period further out by each of them
    // would make the group fall silent for wakes x rate.
    const DWORD rate = 100;
    const int wakes = 100;
    AddGroup(TRUE, rate);
    auto scans = [] { return OpcStandIn::ScanCount(CLSID_QuendrelOpcDaServer, L"G1"); };
    auto waitScans = [&](int count, int ms)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (scans() < count && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return scans() >= count;
    };
    std::vector<std::wstring> ids;
    for (int i = 0; i < wakes; ++i)
    {
        wchar_t id[32];
        std::swprintf(id, 32, L"Bulk.Tag%05d", i);
        int before = scans();
        ASSERT_EQ(S_OK, AddItems({id}));
        ASSERT_TRUE(waitScans(before + 1, 5000)) << "the early scan after AddItems " << i;
    }
    // Twenty periods for two scans: room for a loaded machine, a tenth of the silence.
    int after = scans();
    EXPECT_TRUE(waitScans(after + 2, 20 * int(rate))) << scans() - after << " scans";
    EXPECT_EQ(0, OpcStandIn::ScanCount(CLSID_QuendrelOpcDaServer, L"Other"));
}

TEST_F(DaServerTest, AsyncReadWriteAndCancelReportThroughTheCallback)
{
    AddGroup();
    CComPtr<CTestDataCallback> sink = QyrNewObject<CTestDataCallback>();
    ASSERT_NE(0u, AdviseOn(group, IID_IOPCDataCallback, sink->GetUnknown()));
    ASSERT_EQ(S_OK, AddItems({L"Memory.R8", L"Memory.BSTR"}));
    CComQIPtr<IOPCAsyncIO2> async(group.p);
    ASSERT_TRUE(async);
    VARIANT values[2];
    VariantInit(&values[0]);
    VariantInit(&values[1]);
    values[0].vt = VT_R8;
    values[0].dblVal = 42.0;
    values[1].vt = VT_BSTR;
    values[1].bstrVal = SysAllocString(L"async");
    DWORD cancelId = 0;
    HRESULT* errors = nullptr;
    ASSERT_EQ(S_OK, async->Write(2, handles.data(), values, 6000, &cancelId, &errors));
    CoTaskMemFree(errors);
    VariantClear(&values[1]);
    ASSERT_TRUE(sink->WaitKind("write"));
    ASSERT_EQ(S_OK, async->Read(2, handles.data(), 6015, &cancelId, &errors));
    CoTaskMemFree(errors);
    ASSERT_TRUE(sink->WaitKind("read"));
    for (const auto& call : sink->Calls())
    {
        if (call.kind == "write")
        {
            EXPECT_EQ(6000u, call.transId);
            EXPECT_EQ(S_OK, call.items.at(1).error);
            EXPECT_NE(std::this_thread::get_id(), call.thread);
        }
        if (call.kind == "read")
        {
            EXPECT_EQ(6015u, call.transId);
            EXPECT_EQ(42.0, call.items.at(1).number);
            EXPECT_EQ(L"async", call.items.at(2).text);
        }
    }

    // A request still waiting can be cancelled; one that ran cannot.
    OpcStandIn::SetAsyncDelay(CLSID_QuendrelOpcDaServer, 300);
    ASSERT_EQ(S_OK, async->Read(2, handles.data(), 7, &cancelId, &errors));
    CoTaskMemFree(errors);
    EXPECT_EQ(S_OK, async->Cancel2(cancelId));
    ASSERT_TRUE(sink->WaitKind("cancel"));
    EXPECT_EQ(E_FAIL, async->Cancel2(cancelId));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(1u, sink->CountOf("read"));
    EXPECT_EQ(E_FAIL, async->Cancel2(12345));
}

TEST_F(DaServerTest, InactiveItemsAndGroupsReadOutOfServiceFromCache)
{
    AddGroup(FALSE);
    ASSERT_EQ(S_OK, AddItems({L"Simulation.Ramp", L"Memory.I4"}));
    auto states = Read(OPC_DS_CACHE);
    EXPECT_EQ(OPC_QUALITY_OUT_OF_SERVICE, states[0].wQuality);
    Clear(states);
    states = Read(OPC_DS_DEVICE);
    EXPECT_EQ(OPC_QUALITY_GOOD, states[0].wQuality);
    Clear(states);
    BOOL active = TRUE;
    DWORD revised = 0;
    ASSERT_EQ(S_OK, group->SetState(nullptr, &revised, &active, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(20u, revised);
    CComQIPtr<IOPCItemMgt> items(group.p);
    HRESULT* errors = nullptr;
    ASSERT_EQ(S_OK, items->SetActiveState(1, &handles[1], FALSE, &errors));
    CoTaskMemFree(errors);
    states = Read(OPC_DS_CACHE);
    EXPECT_EQ(OPC_QUALITY_GOOD, states[0].wQuality);
    EXPECT_EQ(OPC_QUALITY_OUT_OF_SERVICE, states[1].wQuality);
    Clear(states);
}

TEST_F(DaServerTest, GroupsAreNamedClonedEnumeratedAndRemoved)
{
    AddGroup();
    ASSERT_EQ(S_OK, AddItems({L"Simulation.Sine", L"Memory.R8"}));
    // Names are unique; the server names a group without one.
    OPCHANDLE h = 0;
    DWORD revised = 0;
    CComPtr<IUnknown> other;
    EXPECT_EQ(OPC_E_DUPLICATENAME,
              server->AddGroup(L"G1", TRUE, 100, 2, nullptr, nullptr, 0, &h, &revised, IID_IUnknown, &other));
    EXPECT_EQ(OPC_S_UNSUPPORTEDRATE, server->AddGroup(L"", TRUE, 1, 2, nullptr, nullptr, 0, &h, &revised,
                                                      IID_IOPCGroupStateMgt2, &other));
    EXPECT_EQ(10u, revised);
    CComQIPtr<IOPCGroupStateMgt2> other2(other.p);
    LPWSTR name = nullptr;
    ASSERT_EQ(S_OK, other2->GetState(nullptr, nullptr, &name, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"Group1", name);
    CoTaskMemFree(name);
    EXPECT_EQ(OPC_E_DUPLICATENAME, other2->SetName(L"G1"));

    CComPtr<IUnknown> clone;
    ASSERT_EQ(S_OK, group->CloneGroup(L"Copy", IID_IOPCGroupStateMgt, &clone));
    CComQIPtr<IOPCGroupStateMgt> cloneState(clone.p);
    BOOL active = TRUE;
    ASSERT_EQ(S_OK,
              cloneState->GetState(nullptr, &active, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(active);
    CComQIPtr<IOPCItemMgt> cloneItems(clone.p);
    CComPtr<IEnumOPCItemAttributes> attributes;
    ASSERT_EQ(S_OK, cloneItems->CreateEnumerator(IID_IEnumOPCItemAttributes,
                                                 reinterpret_cast<LPUNKNOWN*>(&attributes)));
    OPCITEMATTRIBUTES* records = nullptr;
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, attributes->Next(5, &records, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_STREQ(L"Memory.R8", records[1].szItemID);
    EXPECT_EQ(2u, records[1].hClient);
    for (ULONG i = 0; i < fetched; ++i)
    {
        CoTaskMemFree(records[i].szItemID);
        CoTaskMemFree(records[i].szAccessPath);
        VariantClear(&records[i].vEUInfo);
    }
    CoTaskMemFree(records);

    CComPtr<IEnumString> names;
    ASSERT_EQ(S_OK, server->CreateGroupEnumerator(OPC_ENUM_ALL, IID_IEnumString,
                                                  reinterpret_cast<LPUNKNOWN*>(&names)));
    std::vector<std::wstring> all;
    while (names->Next(1, &name, nullptr) == S_OK)
    {
        all.push_back(name);
        CoTaskMemFree(name);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"G1", L"Group1", L"Copy"}), all);
    CComPtr<IUnknown> byName;
    EXPECT_EQ(S_OK, server->GetGroupByName(L"Copy", IID_IOPCItemMgt, &byName));
    byName.Release();
    EXPECT_EQ(E_INVALIDARG, server->GetGroupByName(L"None", IID_IOPCItemMgt, &byName));
    byName.Release();
    CComPtr<IUnknown> publicGroups;
    EXPECT_EQ(S_FALSE, server->CreateGroupEnumerator(OPC_ENUM_PUBLIC, IID_IEnumUnknown, &publicGroups));

    // Removal: in use while the client holds the group, else done.
    OPCHANDLE cloneHandle = 0;
    cloneState->GetState(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cloneHandle);
    EXPECT_EQ(OPC_S_INUSE, server->RemoveGroup(cloneHandle, FALSE));
    cloneItems.Release();
    cloneState.Release();
    attributes.Release();
    clone.Release();
    other2.Release();
    other.Release();
    EXPECT_EQ(S_OK, server->RemoveGroup(h, FALSE));
    EXPECT_EQ(E_INVALIDARG, server->RemoveGroup(h, FALSE));
}
} // namespace
