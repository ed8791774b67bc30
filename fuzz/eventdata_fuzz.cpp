// Takes an arbitrary buffer as the events of one alarms-and-events sink call: each record's fields,
// texts (absent, empty or any wide characters) and attribute values (any by-value type, or a count
// without an array) come from the input. Each is copied into a CEventData, copied and assigned
// again, and formatted. A crash or a sanitizer report is a finding; so is a copy whose attribute
// table disagrees with its count, or a display line that is not date, source and message at their
// fixed widths.
#include "opc/EventData.h"

#include "com/Bstr.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_eventdata: %s\n", what);
    std::abort();
}

std::wstring Text(FuzzedDataProvider& in)
{
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, 120);
    std::wstring text;
    for (size_t i = 0; i < length && in.remaining_bytes() > 0; ++i)
    {
        // Mostly printable, sometimes any value a wchar_t can hold except the terminator.
        wchar_t c = in.ConsumeBool() ? wchar_t(in.ConsumeIntegralInRange<int>(0x20, 0x7E))
                                     : wchar_t(in.ConsumeIntegral<uint32_t>());
        text.push_back(c ? c : L'?');
    }
    return text;
}

VARIANT Value(FuzzedDataProvider& in)
{
    static const VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2,   VT_I4,    VT_R4,   VT_R8,  VT_CY,
                                     VT_DATE,  VT_BSTR, VT_BOOL, VT_ERROR, VT_I1,   VT_UI1, VT_UI2,
                                     VT_UI4,   VT_I8,   VT_UI8,  VT_INT,   VT_UINT, 0x48,   0x7FFF};
    VARIANT v;
    VariantInit(&v);
    v.vt = in.PickValueInArray(kTypes);
    if (v.vt == VT_BSTR)
        v.bstrVal = SysAllocString(Text(in).c_str());
    else
        v.ullVal = in.ConsumeIntegral<ULONGLONG>();
    return v;
}

FILETIME Time(FuzzedDataProvider& in)
{
    FILETIME ft;
    ft.dwLowDateTime = in.ConsumeIntegral<DWORD>();
    ft.dwHighDateTime = in.ConsumeIntegral<DWORD>();
    return ft;
}

void Check(const CEventData& data)
{
    if (data.m_attrTable.size() != data.GetNumEventAttrs() ||
        data.m_attrValues.size() != data.GetNumEventAttrs())
        Fail("attribute table and count disagree");
    const std::wstring line = data.GetFormatMessage().str();
    // Date, three blanks, 32 characters of source, three blanks, 80 of message.
    if (line.size() < 3 + 32 + 3 + 80)
        Fail("display line too short");
    const size_t date = line.size() - (3 + 32 + 3 + 80);
    if (line.compare(date, 3, L"   ") != 0 || line.compare(date + 35, 3, L"   ") != 0)
        Fail("display line fields out of place");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int count = in.ConsumeIntegralInRange<int>(1, 8);
    for (int n = 0; n < count && in.remaining_bytes() > 0; ++n)
    {
        std::wstring texts[5];
        bool present[5];
        for (int i = 0; i < 5; ++i)
        {
            present[i] = in.ConsumeBool();
            if (present[i])
                texts[i] = Text(in);
        }
        ONEVENTSTRUCT e = {};
        e.wChangeMask = in.ConsumeIntegral<WORD>();
        e.wNewState = in.ConsumeIntegral<WORD>();
        e.szSource = present[0] ? texts[0].data() : nullptr;
        e.ftTime = Time(in);
        e.szMessage = present[1] ? texts[1].data() : nullptr;
        e.dwEventType = in.ConsumeIntegral<DWORD>();
        e.dwEventCategory = in.ConsumeIntegral<DWORD>();
        e.dwSeverity = in.ConsumeIntegral<DWORD>();
        e.szConditionName = present[2] ? texts[2].data() : nullptr;
        e.szSubconditionName = present[3] ? texts[3].data() : nullptr;
        e.wQuality = in.ConsumeIntegral<WORD>();
        e.bAckRequired = in.ConsumeIntegral<BOOL>();
        e.ftActiveTime = in.ConsumeBool() ? FILETIME{} : Time(in);
        e.dwCookie = in.ConsumeIntegral<DWORD>();
        e.szActorID = present[4] ? texts[4].data() : nullptr;
        std::vector<VARIANT> values;
        if (in.ConsumeBool())
        {
            // A count without an array.
            e.dwNumEventAttrs = in.ConsumeIntegral<DWORD>();
        }
        else
        {
            values.resize(in.ConsumeIntegralInRange<size_t>(0, 6));
            for (VARIANT& v : values)
                v = Value(in);
            e.dwNumEventAttrs = DWORD(values.size());
            e.pEventAttributes = values.empty() ? nullptr : values.data();
        }

        CEventData received(e);
        for (VARIANT& v : values)
            VariantClear(&v);
        Check(received);
        CEventData copy(received);
        Check(copy);
        ONEVENTSTRUCT empty = {};
        CEventData assigned(empty);
        assigned = copy;
        Check(assigned);
    }
    return 0;
}
