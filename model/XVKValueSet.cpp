#include "model/XVKValueSet.h"

#include "figkit/FODrawShape.h"

#include <memory>

IMPLEMENT_DYNAMIC(CXVKValueSet, CObject)

bool XVKFeedChart(const CFODrawShape* pShape, const std::function<void(int nCount, double* values)>& feed)
{
    auto* data = static_cast<CObject*>(pShape->GetItemData());
    if (data && data->IsKindOf(RUNTIME_CLASS(CXVKValueSet)))
    {
        double* values = nullptr;
        const wchar_t** names = nullptr;
        const int count = static_cast<CXVKValueSet*>(data)->FetchValues(values, names);
        if (count > 0)
        {
            const std::unique_ptr<double[]> ownValues(values);
            const std::unique_ptr<const wchar_t*[]> ownNames(names);
            feed(count, values);
        }
        return true;
    }
    if (pShape->GetKeyId3().IsEmpty())
        return false;
    double value = pShape->GetCurrentValue();
    feed(1, &value);
    return true;
}
