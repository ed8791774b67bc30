#include "figkit/FOShapeState.h"

#include "figkit/FOCompositeShape.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOStateText.h"

#include <cmath>
#include <cwchar>

// The machinery's way to the shape's private fields.
struct FOShapeStateAccess
{
    static std::unique_ptr<FOShapeLook>& DesignLook(CFODrawShape* s) { return s->m_pDesignLook; }
    static const FOShapeLook* DesignLook(const CFODrawShape* s) { return s->m_pDesignLook.get(); }
    static FOShapeRunState& RunState(CFODrawShape* s)
    {
        if (!s->m_pRunState)
            s->m_pRunState = std::make_unique<FOShapeRunState>();
        return *s->m_pRunState;
    }
    static void DropRunState(CFODrawShape* s) { s->m_pRunState.reset(); }
    static bool HasRunState(const CFODrawShape* s) { return s->m_pRunState != nullptr; }
    static void Notify(CFODrawShape* s) { s->NotifyChanged(); }
    static void SetStateName(CFODrawShape* s, const CString& name) { s->m_strStateType = name; }
    // The value-change script without a copy: it is read on every value.
    static const CString& Script(const CFODrawShape* s) { return s->m_strValueChangeScript; }

    // Writes a look into the shape with one change notice.
    static void SetLook(CFODrawShape* s, const FOShapeLook& look)
    {
        s->m_crBk = look.crBk;
        s->m_crLine = look.crLine;
        s->m_crFont = look.crFont;
        s->m_crPattern = look.crPattern;
        s->m_nBrushType = look.nBrushType;
        s->m_nLineWidth = look.nLineWidth;
        s->m_strStateType = look.strStateType;
        if (s->m_bVisible != look.bVisible)
            s->SetVisible(look.bVisible); // a control shape shows or hides its window too
        s->NotifyChanged();
    }
};

namespace
{
using Access = FOShapeStateAccess;

// Whole numbers of fill types and line widths.
constexpr int kMaxWholeNumber = 100;

BOOL ParseWholeNumber(const CString& text, int& n)
{
    const wchar_t* begin = text.GetString();
    wchar_t* end = nullptr;
    const long v = std::wcstol(begin, &end, 10);
    if (end == begin || *end != 0 || v < 0)
        return FALSE;
    n = v > kMaxWholeNumber ? kMaxWholeNumber : int(v);
    return TRUE;
}

// One action item; FALSE (and nothing added) for an item that cannot be applied.
BOOL ParseAction(const FOStateText::Item& item, FOStateAction& action)
{
    struct Code
    {
        const wchar_t* text;
        FOStateAction::Code code;
    };
    static const Code codes[] = {
        {STATE_CODE_FILL_COLOR, FOStateAction::FillColor},
        {STATE_CODE_LINE_COLOR, FOStateAction::LineColor},
        {STATE_CODE_FONT_COLOR, FOStateAction::FontColor},
        {STATE_CODE_PATTERN_COLOR, FOStateAction::PatternColor},
        {STATE_CODE_FILL_TYPE, FOStateAction::FillType},
        {STATE_CODE_LINE_WIDTH, FOStateAction::LineWidth},
        {STATE_CODE_HIDE, FOStateAction::Hide},
    };
    const Code* found = nullptr;
    for (const Code& c : codes)
        if (item.strCode == c.text)
            found = &c;
    if (!found)
        return FALSE;
    action.nCode = found->code;
    // An item's value may be empty: one empty name (the shape itself).
    std::vector<CString> fields = FOStateText::SplitFields(item.strValue);
    if (fields.empty())
        fields.emplace_back();
    switch (action.nCode)
    {
    case FOStateAction::Hide:
        action.names = std::move(fields);
        return TRUE;
    case FOStateAction::FillType:
    case FOStateAction::LineWidth:
    {
        int n = 0;
        if (fields.size() < 2 || !ParseWholeNumber(fields[1], n))
            return FALSE;
        action.dwValue = DWORD(n);
        break;
    }
    default:
    {
        COLORREF cr = 0;
        if (fields.size() < 2 || !FOStateText::ParseColor(fields[1], cr))
            return FALSE;
        action.dwValue = cr;
        break;
    }
    }
    action.names.assign(1, fields[0]);
    return TRUE;
}

// The name of a record: its key, or the whole record when it has no "$" (a names-only state).
std::vector<FOStateAction> ParseActions(const CString& body, CString* pLinkState)
{
    std::vector<FOStateAction> actions;
    for (const FOStateText::Item& item : FOStateText::SplitItems(body))
    {
        if (pLinkState && item.strCode == STATE_CODE_LINK_STATE)
        {
            // The last "L_S" of a range wins; an empty one switches nothing.
            const std::vector<CString> fields = FOStateText::SplitFields(item.strValue);
            if (!fields.empty() && !fields[0].IsEmpty())
                *pLinkState = fields[0];
            continue;
        }
        FOStateAction action;
        if (ParseAction(item, action))
            actions.push_back(std::move(action));
    }
    return actions;
}

void ParseStates(const CString& text, FOShapeRunState& rs)
{
    rs.states.clear();
    for (FOStateText::Record& r : FOStateText::SplitRecords(text))
    {
        FOShapeRunState::State state;
        if (r.strKey.IsEmpty() && r.strBody.Find(L'$') < 0 && r.strBody.Find(L',') < 0)
            state.strName = r.strBody; // names only: "Open@Close"
        else
        {
            state.strName = r.strKey;
            state.actions = ParseActions(r.strBody, nullptr);
        }
        rs.states.push_back(std::move(state));
    }
    rs.strStateText = text;
    rs.bStatesParsed = true;
}

void ParseRanges(const CString& text, FOShapeRunState& rs)
{
    rs.ranges.clear();
    for (FOStateText::Record& r : FOStateText::SplitRecords(text))
    {
        FOShapeRunState::Range range;
        // Bounds that are not two numbers in order make a range no value falls in.
        if (!FOStateText::ParseRangeKey(r.strKey, range.dLower, range.dUpper) || std::isnan(range.dLower) ||
            std::isnan(range.dUpper) || range.dLower > range.dUpper)
            continue;
        range.actions = ParseActions(r.strBody, &range.strLinkState);
        rs.ranges.push_back(std::move(range));
    }
    rs.strRangeText = text;
    rs.bRangesParsed = true;
}

FOShapeRunState& ParsedState(CFODrawShape* s)
{
    FOShapeRunState& rs = Access::RunState(s);
    if (!rs.bStatesParsed || rs.strStateText != s->GetStateString())
        ParseStates(s->GetStateString(), rs);
    const CString& script = Access::Script(s);
    if (!rs.bRangesParsed || rs.strRangeText != script)
    {
        ParseRanges(script, rs);
        rs.nRange = -1;
    }
    return rs;
}

FOShapeRunState::State* FindState(FOShapeRunState& rs, const CString& name)
{
    for (FOShapeRunState::State& state : rs.states)
        if (state.strName == name)
            return &state;
    return nullptr;
}

struct Target
{
    CFODrawShape* pShape;
    FOShapeLook look;
};

void CollectChildren(const CFOCompositeShape* comp, std::vector<Target>& targets)
{
    for (CFODrawShape* child : comp->GetCompList())
    {
        targets.push_back({child, FOGetDesignLook(child)});
        if (auto* inner = dynamic_cast<const CFOCompositeShape*>(child))
            CollectChildren(inner, targets);
    }
}

// The shape an action names: the first child (nested too) with that key 1, else the shape itself
// for an empty name or its own key 1; -1 for none.
int FindTarget(const std::vector<Target>& targets, const CString& name)
{
    if (name.IsEmpty())
        return 0;
    for (size_t i = 1; i < targets.size(); ++i)
        if (targets[i].pShape->GetKeyId1() == name)
            return int(i);
    return targets[0].pShape->GetKeyId1() == name ? 0 : -1;
}

// FindTarget, trying the place the name was found last time first.
int FindTarget(const std::vector<Target>& targets, const CString& name, int& nHint)
{
    if (nHint > 0 && size_t(nHint) < targets.size() && targets[size_t(nHint)].pShape->GetKeyId1() == name)
        return nHint;
    nHint = FindTarget(targets, name);
    return nHint;
}

void ApplyActions(std::vector<FOStateAction>& actions, std::vector<Target>& targets)
{
    for (FOStateAction& a : actions)
        for (size_t n = 0; n < a.names.size(); ++n)
        {
            if (a.hints.size() != a.names.size())
                a.hints.assign(a.names.size(), -1);
            const int i = FindTarget(targets, a.names[n], a.hints[n]);
            if (i < 0)
                continue;
            FOShapeLook& look = targets[size_t(i)].look;
            switch (a.nCode)
            {
            case FOStateAction::FillColor:
                look.crBk = a.dwValue;
                break;
            case FOStateAction::LineColor:
                look.crLine = a.dwValue;
                break;
            case FOStateAction::FontColor:
                look.crFont = a.dwValue;
                break;
            case FOStateAction::PatternColor:
                look.crPattern = a.dwValue;
                break;
            case FOStateAction::FillType:
                look.nBrushType = int(a.dwValue);
                break;
            case FOStateAction::LineWidth:
                look.nLineWidth = int(a.dwValue);
                break;
            case FOStateAction::Hide:
                look.bVisible = FALSE;
                break;
            }
        }
}

void RestoreDeep(CFODrawShape* s)
{
    if (std::unique_ptr<FOShapeLook>& design = Access::DesignLook(s))
    {
        const FOShapeLook look = *design;
        design.reset();
        if (look != FOGetShapeLook(s))
            Access::SetLook(s, look);
    }
    Access::DropRunState(s);
    if (auto* comp = dynamic_cast<CFOCompositeShape*>(s))
        for (CFODrawShape* child : comp->GetCompList())
            RestoreDeep(child);
}
} // namespace

BOOL FOParseHideCondition(const CString& strCondition, int& nOperator, double& dValue)
{
    const std::vector<CString> fields = FOStateText::SplitFields(strCondition);
    if (fields.size() < 2)
        return FALSE;
    wchar_t* end = nullptr;
    const double op = std::wcstod(fields[0].GetString(), &end);
    if (end == fields[0].GetString() || !(op >= 0.0 && op < 6.0))
        return FALSE;
    const double value = std::wcstod(fields[1].GetString(), &end);
    if (end == fields[1].GetString() || std::isnan(value))
        return FALSE;
    nOperator = int(op);
    dValue = value;
    return TRUE;
}

BOOL FOHideConditionHolds(int nOperator, double dValue, double dCurrent)
{
    switch (nOperator)
    {
    case 0:
        return dCurrent < dValue;
    case 1:
        return dCurrent > dValue;
    case 2:
        return dCurrent == dValue;
    case 3:
        return dCurrent <= dValue;
    case 4:
        return dCurrent >= dValue;
    case 5:
        return dCurrent != dValue;
    default:
        return FALSE;
    }
}

BOOL FOIsShapeRunning(const CFODrawShape* pShape)
{
    const CFODataModel* model = pShape ? pShape->GetModel() : nullptr;
    return model && !model->IsDesignMode();
}

FOShapeLook FOGetShapeLook(const CFODrawShape* s)
{
    FOShapeLook look;
    look.crBk = s->GetBkColor();
    look.crLine = s->GetLineColor();
    look.crFont = s->GetFontColor();
    look.crPattern = s->GetPatternColor();
    look.nBrushType = s->GetBrushType();
    look.nLineWidth = s->GetLineWidth();
    look.bVisible = s->IsVisible();
    look.strStateType = s->GetStateType();
    return look;
}

FOShapeLook FOGetDesignLook(const CFODrawShape* s)
{
    const FOShapeLook* design = Access::DesignLook(s);
    return design ? *design : FOGetShapeLook(s);
}

void FOKeepDesignLook(CFODrawShape* pShape)
{
    std::unique_ptr<FOShapeLook>& design = Access::DesignLook(pShape);
    if (!design)
        design = std::make_unique<FOShapeLook>(FOGetShapeLook(pShape));
}

BOOL FORefreshShapeState(CFODrawShape* pShape)
{
    if (!pShape || !FOIsShapeRunning(pShape))
        return FALSE;
    FOShapeRunState& rs = ParsedState(pShape);
    const bool hasActions = rs.nRange >= 0 || rs.bConditionHidden || Access::DesignLook(pShape) ||
                            FindState(rs, pShape->GetStateType()) != nullptr;
    auto* comp = dynamic_cast<CFOCompositeShape*>(pShape);
    if (!hasActions && !comp)
        return FALSE;

    std::vector<Target> targets;
    targets.push_back({pShape, FOGetDesignLook(pShape)});
    if (comp)
        CollectChildren(comp, targets);
    // The state is the one running choice that is not worked out here.
    for (Target& t : targets)
        t.look.strStateType = t.pShape->GetStateType();

    if (FOShapeRunState::State* state = FindState(rs, pShape->GetStateType()))
        ApplyActions(state->actions, targets);
    if (rs.nRange >= 0 && size_t(rs.nRange) < rs.ranges.size())
        ApplyActions(rs.ranges[size_t(rs.nRange)].actions, targets);
    if (rs.bConditionHidden)
        targets[0].look.bVisible = FALSE;

    BOOL changed = FALSE;
    for (const Target& t : targets)
    {
        std::unique_ptr<FOShapeLook>& design = Access::DesignLook(t.pShape);
        if (t.look != FOGetShapeLook(t.pShape))
        {
            if (!design)
                design = std::make_unique<FOShapeLook>(FOGetShapeLook(t.pShape));
            Access::SetLook(t.pShape, t.look);
            changed = TRUE;
        }
        if (design && *design == t.look)
            design.reset();
    }
    return changed;
}

BOOL FOHasValueStates(const CFODrawShape* pShape)
{
    return pShape && !Access::Script(pShape).IsEmpty();
}

BOOL FOSelectTrueFalseState(CFODrawShape* pShape, BOOL bOn)
{
    if (!pShape || pShape->GetStateString().IsEmpty())
        return FALSE;
    CStringArray states;
    if (pShape->GetStateListEx(states) <= 1)
        return FALSE;
    pShape->SetStateType(bOn ? L"True" : L"False");
    return TRUE;
}

BOOL FOApplyShapeValue(CFODrawShape* pShape, double dValue)
{
    if (!pShape)
        return FALSE;
    const UINT type = pShape->GetType();
    const bool switchType = type == 34 || type == 89;
    // Outside a running screen the switch shapes still record their choice; nothing else acts.
    if (!FOIsShapeRunning(pShape))
    {
        const CString before = pShape->GetStateType();
        if (switchType)
            FOSelectTrueFalseState(pShape, dValue != 0.0);
        return before != pShape->GetStateType();
    }
    const CString& script = Access::Script(pShape);
    BOOL conditionOn = FALSE;
    pShape->GetPropBoolValue(conditionOn, FO_PROP_VISIBLE_COND_ON);
    // Most bound shapes have none of this: they cost no parsing and no look.
    if (!switchType && script.IsEmpty() && !conditionOn && !Access::HasRunState(pShape))
        return FALSE;

    FOShapeRunState& rs = ParsedState(pShape);
    BOOL changed = FALSE;
    auto switchTo = [pShape, &changed](const CString& name)
    {
        if (name == pShape->GetStateType())
            return;
        FOKeepDesignLook(pShape);
        Access::SetStateName(pShape, name);
        changed = TRUE;
    };

    if (switchType && !pShape->GetStateString().IsEmpty())
    {
        CStringArray states;
        if (pShape->GetStateListEx(states) > 1)
            switchTo(dValue != 0.0 ? L"True" : L"False");
    }

    rs.nRange = -1;
    for (size_t i = 0; i < rs.ranges.size(); ++i)
        if (rs.ranges[i].dLower <= dValue && dValue <= rs.ranges[i].dUpper)
        {
            rs.nRange = int(i);
            break;
        }
    const CString* link = rs.nRange >= 0 ? &rs.ranges[size_t(rs.nRange)].strLinkState : nullptr;
    if (link && !link->IsEmpty() && FindState(rs, *link))
    {
        switchTo(*link);
        rs.bRangeSwitched = true;
    }
    else if (rs.bRangeSwitched)
    {
        // The state a range chose lasts only while the value stays in such a range.
        switchTo(FOGetDesignLook(pShape).strStateType);
        rs.bRangeSwitched = false;
    }

    int op = 0;
    double limit = 0.0;
    CString condition;
    rs.bConditionHidden = conditionOn && pShape->GetPropStringValue(condition, FO_PROP_VISIBLE_COND) &&
                          FOParseHideCondition(condition, op, limit) &&
                          FOHideConditionHolds(op, limit, dValue);

    if (changed)
        Access::Notify(pShape);
    return FORefreshShapeState(pShape) || changed;
}

void FORestoreDesignLook(CFODrawShape* pShape)
{
    if (pShape)
        RestoreDeep(pShape);
}
