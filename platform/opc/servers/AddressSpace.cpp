#include "opcsdk/servers/AddressSpace.h"

#include "com/SafeArray.h"
#include "opcsdk/servers/StandInClass.h"
#include "opcsdk/servers/StandInUtil.h"

#include <cmath>
#include <cwchar>
#include <numbers>
#include <random>

namespace
{
const ULONGLONG g_startMs = StandIn::TickMs();

VARIANT InitialValue(VARTYPE vt)
{
    VARIANT v;
    VariantInit(&v);
    if (vt & VT_ARRAY)
    {
        v.vt = vt;
        v.parray = SafeArrayCreateVector(VARTYPE(vt & VT_TYPEMASK), 0, 4);
        if (!v.parray)
            v.vt = VT_EMPTY;
        return v;
    }
    v.vt = vt;
    v.ullVal = 0;
    if (vt == VT_BSTR)
        v.bstrVal = SysAllocString(L"");
    return v;
}
} // namespace

CAddressSpace::CAddressSpace(wchar_t separator) : m_separator(separator)
{
    m_branches.push_back(Branch{L"", L"", -1, {}, {}});
    m_branchByPath[L""] = 0;
}

CAddressSpace::~CAddressSpace()
{
    for (VARIANT& v : m_values)
        VariantClear(&v);
}

int CAddressSpace::BranchFor(const std::wstring& path)
{
    auto it = m_branchByPath.find(path);
    if (it != m_branchByPath.end())
        return it->second;
    size_t cut = path.rfind(m_separator);
    int parent = cut == std::wstring::npos ? 0 : BranchFor(path.substr(0, cut));
    std::wstring name = cut == std::wstring::npos ? path : path.substr(cut + 1);
    int index = int(m_branches.size());
    m_branches.push_back(Branch{name, path, parent, {}, {}});
    m_branches[size_t(parent)].branches.push_back(index);
    m_branchByPath[path] = index;
    return index;
}

int CAddressSpace::AddTag(const std::wstring& id, VARTYPE vt, Kind kind, double phase)
{
    int branch = 0;
    std::wstring leaf = id;
    if (m_separator)
    {
        size_t cut = id.rfind(m_separator);
        if (cut != std::wstring::npos)
        {
            branch = BranchFor(id.substr(0, cut));
            leaf = id.substr(cut + 1);
        }
    }
    int index = int(m_tags.size());
    DWORD rights = OPC_READABLE | (kind == KIND_MEMORY ? OPC_WRITEABLE : 0);
    m_tags.push_back(Tag{id, leaf, branch, vt, rights, kind, phase});
    m_branches[size_t(branch)].leaves.push_back(index);
    m_byId[id] = index;
    m_values.push_back(kind == KIND_MEMORY ? InitialValue(vt) : VARIANT{});
    m_times.push_back(StandIn::Now());
    return index;
}

int CAddressSpace::Find(const std::wstring& id) const
{
    auto it = m_byId.find(id);
    return it == m_byId.end() ? -1 : it->second;
}

int CAddressSpace::FindBranch(const std::wstring& path) const
{
    auto it = m_branchByPath.find(path);
    return it == m_branchByPath.end() ? -1 : it->second;
}

void CAddressSpace::Sample(int tag, ULONGLONG nowMs, VARIANT* value, WORD* quality, FILETIME* time) const
{
    const Tag& t = m_tags[size_t(tag)];
    *quality = OPC_QUALITY_GOOD;
    if (t.kind == KIND_MEMORY)
    {
        std::lock_guard lock(m_mutex);
        VariantInit(value);
        VariantCopy(value, &m_values[size_t(tag)]);
        *time = m_times[size_t(tag)];
        return;
    }
    *time = StandIn::Now();
    double s = double(nowMs - g_startMs) / 1000.0;
    double x = 0.0;
    switch (t.kind)
    {
    case KIND_RAMP:
        x = std::fmod(s * 10.0, 100.0);
        break;
    case KIND_RAMP_FAST:
        x = std::fmod(s * 100.0, 100.0);
        break;
    case KIND_SINE:
        x = 50.0 + 50.0 * std::sin(2.0 * std::numbers::pi * s / 10.0 + t.phase);
        break;
    case KIND_SINE_FAST:
        x = 50.0 + 50.0 * std::sin(2.0 * std::numbers::pi * s / 2.0 + t.phase);
        break;
    case KIND_UNCERTAIN:
        x = 50.0 + 50.0 * std::sin(2.0 * std::numbers::pi * s / 10.0 + t.phase);
        *quality = OPC_QUALITY_LAST_USABLE;
        break;
    case KIND_RANDOM:
    {
        thread_local std::mt19937 rng{std::random_device{}()};
        x = std::uniform_real_distribution<double>(0.0, 100.0)(rng);
        break;
    }
    case KIND_BAD:
        *quality = OPC_QUALITY_BAD | OPC_QUALITY_DEVICE_FAILURE;
        break;
    case KIND_COUNTER:
        value->vt = VT_I4;
        value->lVal = LONG((nowMs - g_startMs) / 100);
        return;
    case KIND_BOOL:
        value->vt = VT_BOOL;
        value->boolVal = ((nowMs - g_startMs) / 1000) % 2 ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case KIND_TEXT:
    {
        static const wchar_t* const kWords[] = {L"Alpha", L"Beta", L"Gamma", L"Delta"};
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(kWords[((nowMs - g_startMs) / 1000) % 4]);
        return;
    }
    case KIND_MEMORY:
        break;
    }
    value->vt = VT_R8;
    value->dblVal = x;
    if (t.vt != VT_R8)
    {
        VARIANT r8 = *value;
        VariantInit(value);
        if (FAILED(VariantChangeType(value, &r8, 0, t.vt)))
            VariantInit(value);
    }
}

HRESULT CAddressSpace::Write(int tag, const VARIANT& value, BOOL force)
{
    const Tag& t = m_tags[size_t(tag)];
    if (!force && !(t.rights & OPC_WRITEABLE))
        return OPC_E_BADRIGHTS;
    if (t.kind != KIND_MEMORY)
        return OPC_E_BADRIGHTS;
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = StandIn::ConvertValue(&converted, value, t.vt);
    if (FAILED(hr))
    {
        VariantClear(&converted);
        return hr;
    }
    // Arrays keep their one-dimensional form.
    if ((converted.vt & VT_ARRAY) && (!converted.parray || SafeArrayGetDim(converted.parray) != 1))
    {
        VariantClear(&converted);
        return OPC_E_BADTYPE;
    }
    VARIANT old;
    {
        std::lock_guard lock(m_mutex);
        old = m_values[size_t(tag)];
        m_values[size_t(tag)] = converted;
        m_times[size_t(tag)] = StandIn::Now();
    }
    VariantClear(&old);
    return S_OK;
}

bool CAddressSpace::MatchFilter(const std::wstring& name, LPCWSTR filter)
{
    return StandIn::MatchWildcard(name, filter);
}

bool CAddressSpace::PassesFilters(int tag, VARTYPE vtFilter, DWORD rightsFilter) const
{
    const Tag& t = m_tags[size_t(tag)];
    if (rightsFilter && (t.rights & rightsFilter) != rightsFilter)
        return false;
    if (vtFilter == VT_EMPTY || vtFilter == t.vt)
        return true;
    // Scalars convert among each other; arrays only to themselves.
    return !(vtFilter & VT_ARRAY) && !(t.vt & VT_ARRAY) && StandIn::IsSupportedType(vtFilter);
}

// ---- The two address spaces -------------------------------------------------------------------

namespace
{
struct MemoryType
{
    const wchar_t* name;
    VARTYPE vt;
};
const MemoryType kMemoryTypes[] = {
    {L"I1", VT_I1},
    {L"UI1", VT_UI1},
    {L"I2", VT_I2},
    {L"UI2", VT_UI2},
    {L"I4", VT_I4},
    {L"UI4", VT_UI4},
    {L"I8", VT_I8},
    {L"UI8", VT_UI8},
    {L"INT", VT_INT},
    {L"UINT", VT_UINT},
    {L"R4", VT_R4},
    {L"R8", VT_R8},
    {L"CY", VT_CY},
    {L"DATE", VT_DATE},
    {L"BSTR", VT_BSTR},
    {L"BOOL", VT_BOOL},
    {L"ArrayR8", VARTYPE(VT_ARRAY | VT_R8)},
    {L"ArrayI4", VARTYPE(VT_ARRAY | VT_I4)},
};
} // namespace

std::shared_ptr<CAddressSpace> CreateHierarchicalSpace()
{
    auto space = std::make_shared<CAddressSpace>(L'.');
    space->AddTag(L"Simulation.Ramp", VT_R8, CAddressSpace::KIND_RAMP);
    space->AddTag(L"Simulation.RampFast", VT_R8, CAddressSpace::KIND_RAMP_FAST);
    space->AddTag(L"Simulation.Sine", VT_R8, CAddressSpace::KIND_SINE);
    space->AddTag(L"Simulation.Random", VT_R8, CAddressSpace::KIND_RANDOM);
    space->AddTag(L"Simulation.Counter", VT_I4, CAddressSpace::KIND_COUNTER);
    space->AddTag(L"Simulation.Bool", VT_BOOL, CAddressSpace::KIND_BOOL);
    space->AddTag(L"Simulation.Text", VT_BSTR, CAddressSpace::KIND_TEXT);
    space->AddTag(L"Simulation.Bad", VT_R8, CAddressSpace::KIND_BAD);
    space->AddTag(L"Simulation.Uncertain", VT_R8, CAddressSpace::KIND_UNCERTAIN);
    for (const MemoryType& m : kMemoryTypes)
        space->AddTag(std::wstring(L"Memory.") + m.name, m.vt, CAddressSpace::KIND_MEMORY);
    space->AddTag(L"Plant.Area1.Tank1.Level", VT_R8, CAddressSpace::KIND_SINE, 0.0);
    space->AddTag(L"Plant.Area1.Tank1.Temperature", VT_R8, CAddressSpace::KIND_SINE, 1.0);
    space->AddTag(L"Plant.Area1.Tank1.Valve", VT_BOOL, CAddressSpace::KIND_MEMORY);
    space->AddTag(L"Plant.Area1.Tank2.Level", VT_R8, CAddressSpace::KIND_SINE, 2.0);
    space->AddTag(L"Plant.Area2.Pump1.Running", VT_BOOL, CAddressSpace::KIND_BOOL);
    space->AddTag(L"Plant.Area2.Pump1.Speed", VT_R8, CAddressSpace::KIND_RAMP);
    for (int i = 0; i < 10000; ++i)
    {
        wchar_t name[32];
        std::swprintf(name, 32, L"Bulk.Tag%05d", i);
        space->AddTag(name, VT_R8, CAddressSpace::KIND_SINE_FAST, i * 0.01);
    }
    return space;
}

std::shared_ptr<CAddressSpace> CreateFlatSpace()
{
    auto space = std::make_shared<CAddressSpace>(L'\0');
    space->AddTag(L"Ramp", VT_R8, CAddressSpace::KIND_RAMP);
    space->AddTag(L"Sine", VT_R8, CAddressSpace::KIND_SINE);
    space->AddTag(L"Random", VT_R8, CAddressSpace::KIND_RANDOM);
    space->AddTag(L"Counter", VT_I4, CAddressSpace::KIND_COUNTER);
    space->AddTag(L"Bool", VT_BOOL, CAddressSpace::KIND_BOOL);
    space->AddTag(L"Text", VT_BSTR, CAddressSpace::KIND_TEXT);
    for (const MemoryType& m : kMemoryTypes)
        space->AddTag(std::wstring(L"Mem") + m.name, m.vt, CAddressSpace::KIND_MEMORY);
    return space;
}
