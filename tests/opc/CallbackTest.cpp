// The data sinks called directly, as a server calls them: handles mapped through the table,
// transactions closed, malformed DA 1.0 streams refused.
#include "OpcClientTestSupport.h"

#include "opc/AdviseSink.h"
#include "opc/OPCConnectionPoint.h"

#include "opcsdk/OpcStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cstring>
#include <functional>

using namespace opctest;

namespace
{
class CallbackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Logvane_ClearCaptured();
        for (auto& item : items)
        {
            item.SetGroup(&group);
            item.SetValue(_variant_t(-1.0));
        }
        sink = QyrNewObject<COPCConnectionPoint>();
    }

    // A DA 2.0 report of three values for the three items.
    HRESULT Report(bool readComplete, DWORD transaction, const HRESULT errors[3], OPCHANDLE handles[3])
    {
        VARIANT values[3];
        for (int i = 0; i < 3; ++i)
        {
            VariantInit(&values[i]);
            values[i].vt = VT_R8;
            values[i].dblVal = 10.0 + i;
        }
        WORD qualities[3] = {0xC0, 0xC0, 0xC0};
        FILETIME times[3] = {{1, 0}, {2, 0}, {3, 0}};
        HRESULT errs[3] = {errors[0], errors[1], errors[2]};
        if (readComplete)
            return sink->OnReadComplete(transaction, group.GetClientHandle(), S_OK, S_OK, 3, handles, values,
                                        qualities, times, errs);
        return sink->OnDataChange(transaction, group.GetClientHandle(), S_OK, S_OK, 3, handles, values,
                                  qualities, times, errs);
    }

    double Value(int i)
    {
        VARTYPE type;
        return items[i].GetDoubleValue(type);
    }

    CGroup group;
    CItem items[3];
    CComPtr<COPCConnectionPoint> sink;
};
} // namespace

TEST_F(CallbackTest, DataChangeSkipsFailedEntriesAndUnknownHandles)
{
    OPCHANDLE handles[3] = {items[0].GetClientHandle(), items[1].GetClientHandle(),
                            items[2].GetClientHandle()};
    const HRESULT errors[3] = {S_OK, E_FAIL, S_OK};
    EXPECT_EQ(S_OK, Report(false, 0, errors, handles));
    EXPECT_EQ(10.0, Value(0));
    EXPECT_EQ(-1.0, Value(1));
    EXPECT_EQ(12.0, Value(2));
    EXPECT_TRUE(items[0].IsChanged());
    EXPECT_FALSE(items[1].IsChanged());
    EXPECT_TRUE(items[2].IsChanged());
    EXPECT_EQ(3u, items[2].GetTimeStamp().dwLowDateTime);

    // Handle 0, a stale handle and a made-up one reach nothing.
    OPCHANDLE stale;
    {
        CItem gone;
        stale = gone.GetClientHandle();
    }
    OPCHANDLE bad[3] = {0, stale, 0x7FFFFFFFu};
    const HRESULT ok[3] = {S_OK, S_OK, S_OK};
    EXPECT_EQ(S_OK, Report(false, 0, ok, bad));
    EXPECT_EQ(10.0, Value(0));
    EXPECT_EQ(-1.0, Value(1));
}

TEST_F(CallbackTest, TransactionsCloseOnCompletionsOnly)
{
    OPCHANDLE handles[3] = {items[0].GetClientHandle(), items[1].GetClientHandle(),
                            items[2].GetClientHandle()};
    const HRESULT ok[3] = {S_OK, S_OK, S_OK};
    const HRESULT failed[3] = {E_FAIL, E_FAIL, E_FAIL};
    OPCHANDLE unknown[3] = {0, 0x7FFFFFFFu, 0};
    HRESULT writeOk[3] = {S_OK, S_OK, S_OK};
    HRESULT writeFailed[3] = {S_OK, E_FAIL, S_OK};

    // Each report against an open transaction 6015 (cancel id 77), and whether it closes it.
    const struct
    {
        const char* name;
        std::function<void()> report;
        bool closes;
    } cases[] = {
        {"a subscription report", [&] { Report(false, 0, ok, handles); }, false},
        {"a data change of another transaction", [&] { Report(false, 6014, ok, handles); }, false},
        {"a data change of this transaction", [&] { Report(false, 6015, ok, handles); }, true},
        {"a read completion of this transaction", [&] { Report(true, 6015, ok, handles); }, true},
        {"a read completion of another transaction", [&] { Report(true, 6014, ok, handles); }, false},
        {"a read completion whose items all failed", [&] { Report(true, 6015, failed, handles); }, false},
        {"a read completion naming no known item", [&] { Report(true, 6015, ok, unknown); }, false},
        {"a write completion",
         [&] { sink->OnWriteComplete(6015, group.GetClientHandle(), S_OK, 3, handles, writeOk); }, true},
        {"a failed write completion",
         [&] { sink->OnWriteComplete(6015, group.GetClientHandle(), S_OK, 3, handles, writeFailed); }, true},
        {"a write completion of another transaction",
         [&] { sink->OnWriteComplete(6016, group.GetClientHandle(), S_OK, 3, handles, writeOk); }, false},
        {"a write completion naming no known item",
         [&] { sink->OnWriteComplete(6015, group.GetClientHandle(), S_OK, 3, unknown, writeOk); }, false},
    };
    for (const auto& c : cases)
    {
        group.SetCurrentTransactionID(6015);
        group.SetCurrentCancelID(77);
        c.report();
        EXPECT_EQ(c.closes ? 0u : 6015u, group.GetCurrentTransactionID()) << c.name;
        EXPECT_EQ(c.closes ? 0u : 77u, group.GetCurrentCancelID()) << c.name;
    }
    EXPECT_EQ(S_OK, sink->OnCancelComplete(6000, group.GetClientHandle()));
}

TEST_F(CallbackTest, CompletionDuringTheRequestDoesNotLeaveItOpen)
{
    group.BeginRequest();
    group.CloseTransaction(6000);
    group.EndRequest(TRUE, 6000, TRUE, 42);
    EXPECT_EQ(0u, group.GetCurrentTransactionID());
    EXPECT_EQ(0u, group.GetCurrentCancelID());

    group.BeginRequest();
    group.EndRequest(TRUE, 6000, TRUE, 42);
    EXPECT_EQ(6000u, group.GetCurrentTransactionID());
    EXPECT_EQ(42u, group.GetCurrentCancelID());

    group.BeginRequest();
    group.EndRequest(FALSE, 6015, TRUE, 43);
    EXPECT_EQ(6000u, group.GetCurrentTransactionID()) << "a failed request changes nothing";
}

TEST_F(CallbackTest, MalformedReportArraysAreIgnored)
{
    EXPECT_EQ(S_OK, sink->OnDataChange(0, 0, S_OK, S_OK, 5, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, sink->OnWriteComplete(1, 0, S_OK, 5, nullptr, nullptr));
    EXPECT_EQ(-1.0, Value(0));
}

namespace
{
struct StreamSink
{
    StreamSink() : sink(new CIAdviseSink) { sink->AddRef(); }
    ~StreamSink() { sink->Release(); }

    void Send(UINT format, HGLOBAL block, DWORD tymed = TYMED_HGLOBAL)
    {
        FORMATETC etc = {CLIPFORMAT(format), nullptr, DVASPECT_CONTENT, -1, tymed};
        STGMEDIUM medium = {};
        medium.tymed = tymed;
        medium.hGlobal = block;
        sink->OnDataChange(&etc, &medium);
    }

    CIAdviseSink* sink;
};
} // namespace

TEST_F(CallbackTest, DataWithTimeStreamStoresNumbersAndText)
{
    StreamSink s;
    OPCHANDLE handles[2] = {items[0].GetClientHandle(), items[1].GetClientHandle()};
    VARIANT values[2];
    VariantInit(&values[0]);
    values[0].vt = VT_R8;
    values[0].dblVal = 3.5;
    VariantInit(&values[1]);
    values[1].vt = VT_BSTR;
    values[1].bstrVal = SysAllocString(L"Pump running");
    WORD qualities[2] = {0xC0, 0x44};
    FILETIME times[2] = {{100, 1}, {200, 2}};
    HGLOBAL block =
        OpcStreamWriteData(TRUE, group.GetClientHandle(), 0, S_OK, 2, handles, values, qualities, times);
    ASSERT_NE(nullptr, block);
    s.Send(s.sink->GetDataTimeFormat(), block);
    GlobalFree(block);
    VariantClear(&values[1]);

    EXPECT_EQ(3.5, Value(0));
    EXPECT_EQ(100u, items[0].GetTimeStamp().dwLowDateTime);
    VARTYPE type;
    EXPECT_EQ(CString(L"Pump running"), items[1].GetBSTRValue(type));
    EXPECT_EQ(0x44, items[1].GetQuality());
    EXPECT_EQ(2u, items[1].GetTimeStamp().dwHighDateTime);
}

TEST_F(CallbackTest, StreamsCloseTransactions)
{
    StreamSink s;
    OPCHANDLE handles[1] = {items[0].GetClientHandle()};
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = 9;
    WORD quality = 0xC0;
    group.SetCurrentTransactionID(31);
    HGLOBAL block =
        OpcStreamWriteData(FALSE, group.GetClientHandle(), 0, S_OK, 1, handles, &value, &quality, nullptr);
    s.Send(s.sink->GetDataFormat(), block);
    GlobalFree(block);
    EXPECT_EQ(9.0, Value(0));
    EXPECT_EQ(31u, group.GetCurrentTransactionID());

    block =
        OpcStreamWriteData(FALSE, group.GetClientHandle(), 31, S_OK, 1, handles, &value, &quality, nullptr);
    s.Send(s.sink->GetDataFormat(), block);
    GlobalFree(block);
    EXPECT_EQ(0u, group.GetCurrentTransactionID());

    // A write completion closes it, also when the write failed.
    group.SetCurrentTransactionID(32);
    HRESULT error = E_FAIL;
    block = OpcStreamWriteComplete(group.GetClientHandle(), 32, E_FAIL, 1, handles, &error);
    s.Send(s.sink->GetWriteCompleteFormat(), block);
    GlobalFree(block);
    EXPECT_EQ(0u, group.GetCurrentTransactionID());
}

TEST_F(CallbackTest, BadStreamsChangeNothing)
{
    StreamSink s;
    s.Send(s.sink->GetDataFormat(), nullptr, TYMED_FILE);
    EXPECT_TRUE(LogContains(L"Bad tymed (not HGLOBAL)!"));
    s.Send(s.sink->GetDataFormat(), nullptr);
    EXPECT_TRUE(LogContains(L"Bad hGlobal"));

    OPCHANDLE handles[1] = {items[0].GetClientHandle()};
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    value.dblVal = 55.0;
    WORD quality = 0xC0;
    HGLOBAL good = OpcStreamWriteData(FALSE, 0, 0, S_OK, 1, handles, &value, &quality, nullptr);
    size_t size = GlobalSize(good);
    const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(good));
    std::vector<BYTE> copy(bytes, bytes + size);
    GlobalUnlock(good);
    GlobalFree(good);

    // Item counts, sizes and value offsets that do not fit the block.
    auto send = [&](std::vector<BYTE> data, size_t length)
    {
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, length);
        std::memcpy(GlobalLock(block), data.data(), std::min(length, data.size()));
        GlobalUnlock(block);
        s.Send(s.sink->GetDataFormat(), block);
        GlobalFree(block);
    };
    std::vector<BYTE> hugeCount = copy;
    DWORD count = 0x10000000u;
    std::memcpy(&hugeCount[4], &count, 4);
    send(hugeCount, hugeCount.size());
    std::vector<BYTE> badOffset = copy;
    DWORD offset = 0xFFFFFFF0u;
    std::memcpy(&badOffset[24], &offset, 4);
    send(badOffset, badOffset.size());
    send(copy, 10);
    EXPECT_NE(55.0, Value(0));

    // Another format is ignored; the right one goes through.
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, copy.size());
    std::memcpy(GlobalLock(block), copy.data(), copy.size());
    GlobalUnlock(block);
    s.Send(RegisterClipboardFormat(L"SomethingElse"), block);
    EXPECT_NE(55.0, Value(0));
    s.Send(s.sink->GetDataFormat(), block);
    GlobalFree(block);
    EXPECT_EQ(55.0, Value(0));
}

TEST(AdviseSinkTest, CountsAndInterfaces)
{
    CIAdviseSink* sink = new CIAdviseSink;
    EXPECT_EQ(1u, sink->AddRef());
    EXPECT_EQ(E_INVALIDARG, sink->QueryInterface(IID_IAdviseSink, nullptr));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(IID_IDataObject, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, sink->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(sink, static_cast<IAdviseSink*>(out));
    EXPECT_EQ(1u, sink->Release());
    // From a count of 1 the sink is deleted (the sanitizers would see a leak otherwise).
    EXPECT_EQ(0u, sink->Release());
}
