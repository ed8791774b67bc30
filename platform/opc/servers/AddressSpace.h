// The address space of a stand-in data access server: simulated tags that are functions of time,
// writable memory tags, and the branches to browse them.
#pragma once

#include "opcsdk/OpcTypes.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class CAddressSpace
{
public:
    enum Kind
    {
        KIND_MEMORY,
        KIND_RAMP,      // 0..100 in 10 s
        KIND_RAMP_FAST, // 0..100 in 1 s
        KIND_SINE,      // 50 +- 50, 10 s period (phase per tag)
        KIND_SINE_FAST, // 50 +- 50, 2 s period (phase per tag)
        KIND_RANDOM,    // 0..100
        KIND_COUNTER,   // +1 every 100 ms
        KIND_BOOL,      // toggles every second
        KIND_TEXT,      // a word a second
        KIND_BAD,       // constant 0, quality bad (device failure)
        KIND_UNCERTAIN, // a sine with quality uncertain (last usable)
    };
    struct Tag
    {
        std::wstring id;   // fully qualified item ID
        std::wstring leaf; // its name within its branch
        int branch;
        VARTYPE vt; // canonical type
        DWORD rights;
        Kind kind;
        double phase;
    };
    struct Branch
    {
        std::wstring name;
        std::wstring path; // fully qualified ("" for the root)
        int parent;        // -1 for the root
        std::vector<int> branches;
        std::vector<int> leaves; // tag indexes
    };

    // separator 0: a flat space.
    explicit CAddressSpace(wchar_t separator);
    ~CAddressSpace();
    CAddressSpace(const CAddressSpace&) = delete;
    CAddressSpace& operator=(const CAddressSpace&) = delete;

    // Building (before use).
    int AddTag(const std::wstring& id, VARTYPE vt, Kind kind, double phase = 0.0);

    OPCNAMESPACETYPE Organization() const { return m_separator ? OPC_NS_HIERARCHIAL : OPC_NS_FLAT; }
    wchar_t Separator() const { return m_separator; }
    int Find(const std::wstring& id) const;
    size_t Count() const { return m_tags.size(); }
    const Tag& GetTag(int tag) const { return m_tags[size_t(tag)]; }
    int FindBranch(const std::wstring& path) const;
    const Branch& GetBranch(int branch) const { return m_branches[size_t(branch)]; }

    // The value now, of the canonical type (value is overwritten: it must be empty or cleared).
    void Sample(int tag, ULONGLONG nowMs, VARIANT* value, WORD* quality, FILETIME* time) const;
    // Converts value to the canonical type and stores it. OPC_E_BADRIGHTS for a tag that is not
    // writable (unless force), OPC_E_BADTYPE / OPC_E_RANGE when the value does not convert.
    HRESULT Write(int tag, const VARIANT& value, BOOL force);

    // Wildcards * and ? ("" matches everything).
    static bool MatchFilter(const std::wstring& name, LPCWSTR filter);
    // Does a tag pass the type and rights filters of a browse?
    bool PassesFilters(int tag, VARTYPE vtFilter, DWORD rightsFilter) const;

private:
    int BranchFor(const std::wstring& path);

    wchar_t m_separator;
    std::vector<Tag> m_tags;
    std::vector<Branch> m_branches;
    std::unordered_map<std::wstring, int> m_byId;
    std::unordered_map<std::wstring, int> m_branchByPath;

    // Memory tag values, by tag index.
    mutable std::mutex m_mutex;
    std::vector<VARIANT> m_values;
    std::vector<FILETIME> m_times;
};
