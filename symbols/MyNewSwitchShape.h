// CMyNewSwitchShape: a switch with a coloured bar. Parts (by key 1): "CLICK_AREA", "SHOW_BAR",
// "S_ON", "S_OFF". A button release inside the click area toggles: "S_ON" showing gives way to
// "S_OFF" with a green bar, and back to "S_ON" with a red bar. A new switch shows "S_ON", red.
#pragma once

#include "figkit/FOCompositeShape.h"

class CMyNewSwitchShape : public CFOCompositeShape
{
    DECLARE_SERIAL(CMyNewSwitchShape)
public:
    enum
    {
        TYPE_ID = 609,
        // The same parts under the editor's id and the runtime programs' id.
        RES_ID_EDITOR = 113,
        RES_ID_RUNTIME = 134,
    };
    CMyNewSwitchShape();
    CMyNewSwitchShape(const CMyNewSwitchShape& src);
    CMyNewSwitchShape& operator=(const CMyNewSwitchShape& src);
    CFODrawShape* Copy() const override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    void Serialize(CArchive& ar) override;
    // Toggles when the point lies in the click area, then the base's handling.
    BOOL OnLButtonUp(UINT nFlags, CPoint point) override;
    // At run time a value shows "S_ON" with the red bar when it is not 0, else "S_OFF" with the green.
    void SetCurrentValue(double dValue) override;

    // The resource new switches load: the runtime programs' id unless the program sets its own.
    static void SetResourceId(UINT nResId);
    static UINT GetResourceId();

    CFODrawShape* GetClickArea();
    CFODrawShape* GetShowBar();
    CFODrawShape* GetOnPart();
    CFODrawShape* GetOffPart();

protected:
    void ClearParts();
    // Shows the "on" or "off" part with its bar colour; FALSE when a part is missing.
    BOOL Show(BOOL bOn);

    CFODrawShape* m_pClickArea = nullptr;
    CFODrawShape* m_pShowBar = nullptr;
    CFODrawShape* m_pOn = nullptr;
    CFODrawShape* m_pOff = nullptr;
};
