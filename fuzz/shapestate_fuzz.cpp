// Arbitrary texts applied to a running composite of a few children: the input is cut at the first
// two NUL characters into the state string, the value-change script and the hide condition; then
// every state it names is made current, a spread of values is handed over, and the screen goes back
// to design mode, which must give every shape its designed look back.
#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FORectShape.h"
#include "figkit/FOShapeState.h"

#include <cstdlib>
#include <string>

namespace
{
CFODrawShape* Child(const wchar_t* key, int x)
{
    auto* rect = new CFORectShape;
    CRect rc(x, 0, x + 20, 20);
    rect->Create(rc);
    rect->SetKeyId1(key);
    return rect;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring parts[3];
    int part = 0;
    for (size_t i = 0; i < size; ++i)
    {
        if (data[i] == 0 && part < 2)
            ++part;
        else
            parts[part].push_back(wchar_t(data[i]));
    }

    CFODataModel model;
    auto* comp = new CFOCompositeShape;
    comp->SetKeyId1(L"M");
    comp->AddShape(Child(L"A", 0));
    comp->AddShape(Child(L"B", 30));
    comp->AddShape(Child(L"C", 60));
    auto* inner = new CFOCompositeShape;
    inner->AddShape(Child(L"D", 90));
    comp->AddShape(inner);
    comp->SetType(size % 2 ? 34 : 40);
    model.InsertShape(comp);
    std::vector<FOShapeLook> designed;
    auto looks = [&]()
    {
        std::vector<FOShapeLook> out{FOGetShapeLook(comp)};
        for (const wchar_t* key : {L"A", L"B", L"C", L"D"})
            out.push_back(FOGetShapeLook(comp->FindShapeWithKey1(key)));
        return out;
    };
    designed = looks();

    comp->SetStateString(parts[0].c_str());
    comp->SetValueChangeScript(parts[1].c_str());
    comp->PutPropBoolValue(FO_PROP_VISIBLE_COND_ON, TRUE);
    comp->PutPropStringValue(FO_PROP_VISIBLE_COND, parts[2].c_str());
    designed[0].strStateType = comp->GetStateType();
    model.SetDesignMode(FALSE);

    CStringArray states;
    comp->GetStateList(states);
    for (INT_PTR i = 0; i < states.GetSize(); ++i)
        comp->SetStateType(states[i]);
    for (double v : {-1e300, -5.0, 0.0, 1.0, 25.0, 75.0, 100.0, 1e300})
        FOApplyShapeValue(comp, v);

    model.SetDesignMode(TRUE);
    if (looks() != designed)
        std::abort();
    return 0;
}
