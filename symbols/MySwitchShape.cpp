#include "symbols/MySwitchShape.h"

#include "mfc/Archive.h"
#include "symbols/SymbolParts.h"

using namespace SymbolParts;

#define IMPLEMENT_SYMBOL_SWITCH(theClass, onName, offName)                                                   \
    IMPLEMENT_SERIAL(theClass, CFOCompositeShape, 0)                                                         \
    theClass::theClass()                                                                                     \
    {                                                                                                        \
        SetType(TYPE_ID);                                                                                    \
    }                                                                                                        \
    theClass::theClass(const theClass& src) : CFOCompositeShape(src)                                         \
    {                                                                                                        \
        SetType(TYPE_ID);                                                                                    \
    }                                                                                                        \
    theClass& theClass::operator=(const theClass& src)                                                       \
    {                                                                                                        \
        if (this != &src)                                                                                    \
        {                                                                                                    \
            CFOCompositeShape::operator=(src);                                                               \
            m_pOn = m_pOff = nullptr;                                                                        \
        }                                                                                                    \
        return *this;                                                                                        \
    }                                                                                                        \
    CFODrawShape* theClass::Copy() const                                                                     \
    {                                                                                                        \
        return new theClass(*this);                                                                          \
    }                                                                                                        \
    void theClass::Create(CRect& rcPos, CString strCaption)                                                  \
    {                                                                                                        \
        m_pOn = m_pOff = nullptr;                                                                            \
        CreateFromResource(this, rcPos, strCaption, RES_ID,                                                  \
                           [](CFOCompositeShape* comp)                                                       \
                           {                                                                                 \
                               if (CFODrawShape* off = comp->FindShapeWithKey1(offName))                     \
                                   off->SetVisible(FALSE);                                                   \
                           });                                                                               \
    }                                                                                                        \
    void theClass::Serialize(CArchive& ar)                                                                   \
    {                                                                                                        \
        CFOCompositeShape::Serialize(ar);                                                                    \
        if (ar.IsLoading())                                                                                  \
            m_pOn = m_pOff = nullptr;                                                                        \
    }                                                                                                        \
    BOOL theClass::OnLButtonUp(UINT nFlags, CPoint point)                                                    \
    {                                                                                                        \
        if (ShowState(GetOnPart(), GetOffPart(), !IsOn(GetOnPart())))                                        \
            UpdateControl();                                                                                 \
        return CFOCompositeShape::OnLButtonUp(nFlags, point);                                                \
    }                                                                                                        \
    void theClass::SetCurrentValue(double dValue)                                                            \
    {                                                                                                        \
        CFOCompositeShape::SetCurrentValue(dValue);                                                          \
        if (IsRunValue(this, dValue))                                                                        \
            ShowState(GetOnPart(), GetOffPart(), dValue != 0.0);                                             \
    }                                                                                                        \
    CFODrawShape* theClass::GetOnPart()                                                                      \
    {                                                                                                        \
        return Get(this, m_pOn, onName, FindBy::Key1);                                                       \
    }                                                                                                        \
    CFODrawShape* theClass::GetOffPart()                                                                     \
    {                                                                                                        \
        return Get(this, m_pOff, offName, FindBy::Key1);                                                     \
    }

IMPLEMENT_SYMBOL_SWITCH(CMySwitchShape1, L"Key_On", L"Key_Off")
IMPLEMENT_SYMBOL_SWITCH(CMySwitchShape2, L"S_ON", L"S_OFF")
IMPLEMENT_SYMBOL_SWITCH(CMySwitchShape3, L"S_ON", L"S_OFF")
