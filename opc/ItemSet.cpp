#include "opc/ItemSet.h"

#include "opc/Item.h"

#include "figkit/FODrawHelper.h"
#include "model/ParamObj.h"

#include <cfloat>
#include <memory>

IMPLEMENT_DYNCREATE(CItemSet, CXVKValueSet)

namespace
{
double ParamValue(const CParamObj* param)
{
    if (!param)
        return DBL_MIN;
    const FO_VALUE& value = param->GetValue();
    switch (value.m_nValueType)
    {
    case FO_VALUE_BOOL:
        return value.m_bValue ? 1.0 : 0.0;
    case FO_VALUE_INT:
        return double(value.m_nValue);
    case FO_VALUE_FLOAT:
        return double(value.m_fValue);
    case FO_VALUE_DOUBLE:
        return value.m_dValue;
    case FO_VALUE_DWORD:
        return double(value.m_dwValue);
    default:
        return DBL_MIN;
    }
}
} // namespace

CItemSet::CItemSet() : m_listItems(10), m_listParams(10) {}

CItemSet::~CItemSet()
{
    m_listItems.RemoveAll();
    m_listParams.RemoveAll();
}

void CItemSet::AddAssocItem(CItem* item)
{
    m_listItems.AddTail(item);
}

CItem* CItemSet::GetItem(int index) const
{
    if (index < 0 || index >= GetAssocItemCount())
        return nullptr;
    POSITION pos = m_listItems.FindIndex(index);
    return pos ? m_listItems.GetAt(pos) : nullptr;
}

bool CItemSet::RemoveItem(CItem* item)
{
    POSITION pos = m_listItems.Find(item);
    if (!pos)
        return false;
    m_listItems.RemoveAt(pos);
    return true;
}

void CItemSet::AddAssocParam(CParamObj* param)
{
    m_listParams.AddTail(param);
}

CParamObj* CItemSet::GetParam(int index) const
{
    if (index < 0 || index >= GetAssocParamCount())
        return nullptr;
    POSITION pos = m_listParams.FindIndex(index);
    return pos ? m_listParams.GetAt(pos) : nullptr;
}

bool CItemSet::RemoveParam(CParamObj* param)
{
    POSITION pos = m_listParams.Find(param);
    if (!pos)
        return false;
    m_listParams.RemoveAt(pos);
    return true;
}

int CItemSet::FetchValues(double*& values, const wchar_t**& names)
{
    const int total = GetTotalCount();
    if (total < 1)
        return 0;
    const int itemCount = GetAssocItemCount();
    // Handed to the caller only when both arrays exist.
    auto valueArray = std::make_unique<double[]>(size_t(total));
    auto nameArray = std::make_unique<const wchar_t*[]>(size_t(total));
    values = valueArray.release();
    names = nameArray.release();
    int i = 0;
    POSITION pos = m_listItems.GetHeadPosition();
    while (i < total && pos)
    {
        CItem* item = m_listItems.GetNext(pos);
        if (!item)
            break;
        VARTYPE type = VT_EMPTY;
        values[i] = item->GetDoubleValue(type);
        names[i] = item->GetName().GetString();
        ++i;
    }
    for (; i < total; ++i)
    {
        CParamObj* param = GetParam(i - itemCount);
        values[i] = ParamValue(param);
        names[i] = param ? param->GetName().GetString() : L"";
    }
    return total;
}

CString CItemSet::SortPropStringValue(const CString& text)
{
    if (text.IsEmpty())
        return CString();
    CStringArray entries;
    FOStringToStringArray(text, L"@", entries);
    CStringArray runtime, global, system;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        CStringArray fields;
        FOStringToStringArray(entries[i], L",", fields);
        if (fields.GetSize() < 5)
            continue;
        const CString& name = fields[4];
        wchar_t kind = name.IsEmpty() ? L'\0' : name[0];
        if (kind == L'#')
            global.Add(entries[i]);
        else if (kind == L'$')
            system.Add(entries[i]);
        else
            runtime.Add(entries[i]);
    }
    CString result;
    for (const CStringArray* list : {&runtime, &global, &system})
    {
        for (INT_PTR i = 0; i < list->GetSize(); ++i)
        {
            if (!result.IsEmpty())
                result += L'@';
            result += list->GetAt(i);
        }
    }
    return result;
}

void CItemSet::Serialize(CArchive&) {}
