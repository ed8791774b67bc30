// The three two-state switches: any button release on the shape shows the hidden one of its two
// parts (found by key 1) and hides the other. A new switch shows its "on" part. The state is only
// the parts' visibility, stored with the composite.
//   CMySwitchShape1: "Key_On" / "Key_Off", type 611, resource 112.
//   CMySwitchShape2: "S_ON" / "S_OFF", type 612, resource 135.
//   CMySwitchShape3: "S_ON" / "S_OFF", type 613, resource 136.
#pragma once

#include "figkit/FOCompositeShape.h"

#define DECLARE_SYMBOL_SWITCH(theClass, typeId, resId)                                                       \
    class theClass : public CFOCompositeShape                                                                \
    {                                                                                                        \
        DECLARE_SERIAL(theClass)                                                                             \
    public:                                                                                                  \
        enum                                                                                                 \
        {                                                                                                    \
            TYPE_ID = typeId,                                                                                \
            RES_ID = resId,                                                                                  \
        };                                                                                                   \
        theClass();                                                                                          \
        theClass(const theClass& src);                                                                       \
        theClass& operator=(const theClass& src);                                                            \
        CFODrawShape* Copy() const override;                                                                 \
        void Create(CRect& rcPos, CString strCaption = CString()) override;                                  \
        void Serialize(CArchive& ar) override;                                                               \
        /* Toggles (when both parts are there), then the base's handling. */                                 \
        BOOL OnLButtonUp(UINT nFlags, CPoint point) override;                                                \
        /* At run time a value shows the "on" part when it is not 0, else the "off" part. */                 \
        void SetCurrentValue(double dValue) override;                                                        \
        CFODrawShape* GetOnPart();                                                                           \
        CFODrawShape* GetOffPart();                                                                          \
                                                                                                             \
    protected:                                                                                               \
        CFODrawShape* m_pOn = nullptr;                                                                       \
        CFODrawShape* m_pOff = nullptr;                                                                      \
    };

DECLARE_SYMBOL_SWITCH(CMySwitchShape1, 611, 112)
DECLARE_SYMBOL_SWITCH(CMySwitchShape2, 612, 135)
DECLARE_SYMBOL_SWITCH(CMySwitchShape3, 613, 136)

#undef DECLARE_SYMBOL_SWITCH
