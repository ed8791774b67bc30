// The custom property sets of a shape or the user properties of a model, owned by the list.
#pragma once

#include "figkit/FOBaseProperties.h"

#include <memory>
#include <vector>

class CFOPropertyList
{
public:
    CFOPropertyList() = default;
    CFOPropertyList(const CFOPropertyList& src);
    CFOPropertyList& operator=(const CFOPropertyList& src);
    ~CFOPropertyList();

    // Keeps a copy; a set with the same property id is replaced.
    void Add(const CFOBaseProperties& prop);
    // The set whose property id is nPropId, or null.
    CFOBaseProperties* Find(int nPropId) const;
    BOOL Remove(int nPropId);
    void RemoveAll();
    int GetCount() const { return int(m_props.size()); }
    CFOBaseProperties* GetAt(int i) const { return m_props.at(size_t(i)).get(); }

    // The first set that knows the id answers.
    BOOL GetValue(FO_VALUE& value, int nPropId) const;
    BOOL PutValue(int nPropId, const FO_VALUE& value);

    // Count, then each set as an owned object of its class.
    void Serialize(CArchive& ar);

    friend bool operator==(const CFOPropertyList& a, const CFOPropertyList& b);

private:
    std::vector<std::unique_ptr<CFOBaseProperties>> m_props;
};
