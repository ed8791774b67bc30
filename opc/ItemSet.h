// CItemSet: the items and project variables bound to one chart shape; it hands out their current
// values as doubles. It owns neither the items nor the variables.
#pragma once

#include "mfc/Collections.h"
#include "mfc/CString.h"
#include "mfc/Object.h"
#include "model/XVKValueSet.h"

class CItem;
class CParamObj;

class CItemSet : public CXVKValueSet
{
    DECLARE_DYNCREATE(CItemSet)
public:
    CItemSet();
    ~CItemSet() override;

    void AddAssocItem(CItem* item);
    int GetAssocItemCount() const { return int(m_listItems.GetCount()); }
    // Null when the index is not below the count or below 0.
    CItem* GetItem(int index) const;
    // Removes the first entry of the item; false when there is none.
    bool RemoveItem(CItem* item);

    void AddAssocParam(CParamObj* param);
    int GetAssocParamCount() const { return int(m_listParams.GetCount()); }
    CParamObj* GetParam(int index) const;
    bool RemoveParam(CParamObj* param);

    int GetTotalCount() const { return GetAssocItemCount() + GetAssocParamCount(); }

    // The values of the items (in order), then of the variables; returns their count. values and
    // names are new arrays the caller frees with delete[]; names holds each item's ID and each
    // variable's name, valid while the items and variables are. Nothing is allocated for 0.
    int FetchValues(double*& values, const wchar_t**& names) override;

    CObject* GetUserData() const { return m_pUserData; }
    void SetUserData(CObject* data) { m_pUserData = data; }

    // Puts the entries of a chart's variable list ('@' between entries, the fifth comma-separated
    // field the variable) in kind order: runtime, then global ('#'), then system ('$') variables.
    // Entries of fewer than five fields are left out.
    static CString SortPropStringValue(const CString& text);

    // The set has no stored form.
    void Serialize(CArchive& ar) override;

private:
    CList<CItem*, CItem*> m_listItems;
    CList<CParamObj*, CParamObj*> m_listParams;
    CObject* m_pUserData = nullptr;
};
