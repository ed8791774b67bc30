// The COM runtime under the OPC layer: class registry and creation, connection points, enumerators.
#include "OpcTestSinks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <unistd.h>

namespace
{
const CLSID kTestClass = {0x1B2C3D4E, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
const CATID kTestCategory = {0x1B2C3D4E, 0x9999, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

class CTestObject : public CComObjectImpl<IPersistFile>
{
public:
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override
    {
        *pClassID = kTestClass;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*) override { return E_NOTIMPL; }
};

class ClassRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CClassRegistry::Instance().AddClass(
            CLASSREGINFO{kTestClass, L"Test.Thing.1", L"Test thing", {kTestCategory}});
        CComPtr<CClassFactory> factory = QyrNewObject<CClassFactory>(
            [](REFIID riid, void** ppv) { return QyrNewObject<CTestObject>()->QueryInterface(riid, ppv); });
        ASSERT_EQ(S_OK, CoRegisterClassObject(kTestClass, factory->GetUnknown(), CLSCTX_ALL,
                                              REGCLS_MULTIPLEUSE, &m_cookie));
    }
    void TearDown() override
    {
        CoRevokeClassObject(m_cookie);
        CClassRegistry::Instance().RemoveClass(kTestClass);
    }
    DWORD m_cookie = 0;
};

TEST_F(ClassRegistryTest, ProgIdMapsBothWaysIgnoringCase)
{
    CLSID clsid{};
    EXPECT_EQ(S_OK, CLSIDFromProgID(L"test.THING.1", &clsid));
    EXPECT_EQ(kTestClass, clsid);
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(L"Test.Nothing.1", &clsid));
    LPOLESTR progId = nullptr;
    ASSERT_EQ(S_OK, ProgIDFromCLSID(kTestClass, &progId));
    EXPECT_STREQ(L"Test.Thing.1", progId);
    CoTaskMemFree(progId);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ProgIDFromCLSID(kTestCategory, &progId));
}

TEST_F(ClassRegistryTest, CreatesByClassAndRefusesWhatItCannot)
{
    CComPtr<IPersistFile> file;
    ASSERT_EQ(S_OK, CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, IID_IPersistFile,
                                     reinterpret_cast<void**>(&file)));
    // The extended interface answers for its base.
    CComQIPtr<IPersist> persist(file.p);
    EXPECT_TRUE(persist);
    EXPECT_TRUE(file.IsEqualObject(persist));
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, IID_IOPCServer, &p));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(kTestCategory, nullptr, CLSCTX_ALL, IID_IUnknown, &p));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(kTestClass, file, CLSCTX_ALL, IID_IUnknown, &p));
}

TEST_F(ClassRegistryTest, ComputerNamesThatAreThisMachineCreateLocally)
{
    char host[256] = {};
    gethostname(host, sizeof(host) - 1);
    std::wstring hostName(host, host + std::strlen(host));
    for (std::wstring name :
         {std::wstring(), std::wstring(L"localhost"), std::wstring(L"127.0.0.1"), hostName})
    {
        COSERVERINFO info{0, name.empty() ? nullptr : const_cast<LPWSTR>(name.c_str()), nullptr, 0};
        MULTI_QI qi[2] = {{&IID_IPersistFile, nullptr, S_OK}, {&IID_IOPCServer, nullptr, S_OK}};
        EXPECT_EQ(HRESULT(0x00080012L), CoCreateInstanceEx(kTestClass, nullptr, CLSCTX_ALL, &info, 2, qi))
            << name;
        EXPECT_EQ(S_OK, qi[0].hr);
        EXPECT_EQ(E_NOINTERFACE, qi[1].hr);
        ASSERT_NE(nullptr, qi[0].pItf);
        qi[0].pItf->Release();
    }
}

TEST_F(ClassRegistryTest, UnknownComputerIsUnreachableAfterAShortWait)
{
    COSERVERINFO info{0, const_cast<LPWSTR>(L"no-such-host.invalid"), nullptr, 0};
    MULTI_QI qi = {&IID_IPersistFile, nullptr, S_OK};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, CoCreateInstanceEx(kTestClass, nullptr, CLSCTX_ALL, &info, 1, &qi));
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, qi.hr);
    EXPECT_EQ(nullptr, qi.pItf);
    EXPECT_GE(waited, std::chrono::milliseconds(50));
    EXPECT_LE(waited, std::chrono::milliseconds(200));
}

TEST(EnumeratorTest, NextSkipResetCloneFollowTheCountsAndCopy)
{
    CComPtr<IEnumString> e;
    ASSERT_EQ(S_OK, QyrCreateEnumString({L"a", L"b", L"c"}, &e));
    LPOLESTR names[4] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_OK, e->Next(2, names, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_STREQ(L"a", names[0]);
    EXPECT_STREQ(L"b", names[1]);
    CComPtr<IEnumString> clone;
    ASSERT_EQ(S_OK, e->Clone(&clone));
    EXPECT_EQ(S_FALSE, e->Next(4, names + 2, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_STREQ(L"c", names[2]);
    // The clone kept its own position.
    LPOLESTR one = nullptr;
    EXPECT_EQ(S_OK, clone->Next(1, &one, nullptr));
    EXPECT_STREQ(L"c", one);
    EXPECT_EQ(E_POINTER, clone->Next(2, names + 3, nullptr));
    EXPECT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_FALSE, e->Skip(5));
    EXPECT_EQ(S_FALSE, e->Next(1, names + 3, &fetched));
    EXPECT_EQ(0u, fetched);
    for (LPOLESTR s : {names[0], names[1], names[2], one})
        CoTaskMemFree(s);

    CComPtr<IEnumGUID> guids;
    ASSERT_EQ(S_OK, QyrCreateEnumGUID({kTestClass}, &guids));
    GUID g{};
    EXPECT_EQ(S_OK, guids->Next(1, &g, nullptr));
    EXPECT_EQ(kTestClass, g);

    CComPtr<IEnumUnknown> objects;
    CComPtr<CTestObject> object = QyrNewObject<CTestObject>();
    ASSERT_EQ(S_OK, QyrCreateEnumUnknown({CComPtr<IUnknown>(object->GetUnknown())}, &objects));
    IUnknown* got = nullptr;
    EXPECT_EQ(S_OK, objects->Next(1, &got, &fetched));
    EXPECT_EQ(3u, object->RefCount()); // ours, the list's, the caller's copy
    got->Release();
}

// A source with one connection point whose sinks count the calls.
class CTestSource : public CComObjectImpl<IConnectionPointContainer>
{
public:
    CTestSource() { point = m_points.Add(this, IID_IOPCShutdown, 2); }
    ~CTestSource() override { m_points.Detach(); }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        return m_points.Find(riid, ppCP);
    }
    CConnectionPointList m_points;
    CConnectionPoint* point;
};

class CSlowShutdownSink : public CComObjectImpl<IOPCShutdown>
{
public:
    HRESULT STDMETHODCALLTYPE ShutdownRequest(LPCWSTR) override
    {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ++done;
        return S_OK;
    }
    std::atomic<bool> entered{false};
    std::atomic<int> done{0};
};

TEST(ConnectionPointTest, AdviseGivesCookiesWithinTheLimitAndUnadviseChecksThem)
{
    CComPtr<CTestSource> source = QyrNewObject<CTestSource>();
    CComPtr<CTestShutdownSink> a = QyrNewObject<CTestShutdownSink>();
    CComPtr<CTestShutdownSink> b = QyrNewObject<CTestShutdownSink>();
    DWORD ca = AdviseOn(source->GetUnknown(), IID_IOPCShutdown, a->GetUnknown());
    DWORD cb = AdviseOn(source->GetUnknown(), IID_IOPCShutdown, b->GetUnknown());
    EXPECT_NE(0u, ca);
    EXPECT_NE(ca, cb);
    EXPECT_EQ(0u, AdviseOn(source->GetUnknown(), IID_IOPCShutdown, a->GetUnknown())); // the limit
    // A sink without the interface cannot connect.
    CComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, source->FindConnectionPoint(IID_IOPCShutdown, &point));
    DWORD cookie = 0;
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(source->GetUnknown(), &cookie));
    EXPECT_EQ(2u, source->point->Fire<IOPCShutdown>([](IOPCShutdown* s) { s->ShutdownRequest(L"x"); }));
    EXPECT_EQ(S_OK, point->Unadvise(ca));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(ca));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(0));
    EXPECT_EQ(1u, source->point->Fire<IOPCShutdown>([](IOPCShutdown* s) { s->ShutdownRequest(L"y"); }));
    EXPECT_EQ(2u, b->reasons.size());
    EXPECT_EQ(1u, a->reasons.size());
    // The point outlives its container and no longer names it.
    source.Release();
    CComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(E_UNEXPECTED, point->GetConnectionPointContainer(&container));
}

TEST(ConnectionPointTest, UnadviseWaitsForACallInProgressOnAnotherThread)
{
    CComPtr<CTestSource> source = QyrNewObject<CTestSource>();
    CComPtr<CSlowShutdownSink> sink = QyrNewObject<CSlowShutdownSink>();
    DWORD cookie = AdviseOn(source->GetUnknown(), IID_IOPCShutdown, sink->GetUnknown());
    std::thread firing(
        [&] { source->point->Fire<IOPCShutdown>([](IOPCShutdown* s) { s->ShutdownRequest(L""); }); });
    while (!sink->entered)
        std::this_thread::yield();
    EXPECT_EQ(S_OK, source->point->Unadvise(cookie));
    EXPECT_EQ(1, sink->done.load()); // the call had returned
    firing.join();
}
} // namespace
