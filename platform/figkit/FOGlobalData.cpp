#include "figkit/FOGlobalData.h"

#include "mfc/SysColor.h"

FO_GLOBAL_DATA::FO_GLOBAL_DATA()
{
    m_penMainOrderLine.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    m_penOrderLine.CreatePen(PS_DOT, 1, RGB(0, 0, 128));
    m_crBtnFace = GetSysColor(COLOR_BTNFACE);
    m_crBtnShadow = GetSysColor(COLOR_BTNSHADOW);
    m_crBtnHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crBtnDkShadow = GetSysColor(COLOR_3DDKSHADOW);
    m_crBtnLight = GetSysColor(COLOR_3DLIGHT);
    m_crBtnText = GetSysColor(COLOR_BTNTEXT);
    m_fontRegular.CreatePointFont(90, L"Sans Serif");
    LOGFONT lf;
    if (CDC::GetStockObject(DEFAULT_GUI_FONT) &&
        static_cast<CFont*>(CDC::GetStockObject(DEFAULT_GUI_FONT))->GetLogFont(&lf))
        m_fontGUI.CreateFontIndirect(&lf);
    else
        m_fontGUI.CreatePointFont(90, L"Sans Serif");
    m_imageList.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4);
}

FO_GLOBAL_DATA& AfxGetFOGlobalData()
{
    static FO_GLOBAL_DATA data;
    return data;
}

void FO_GLOBAL::FreeObjectCache()
{
    // The face font is the one object kept between paints; it is made again at once because the
    // drawn controls select it without asking.
    FO_GLOBAL_DATA& data = AfxGetFOGlobalData();
    data.m_fontRegular.DeleteObject();
    data.m_fontRegular.CreatePointFont(90, L"Sans Serif");
}

CFont* FO_GLOBAL::GetGUIFont()
{
    return &AfxGetFOGlobalData().m_fontGUI;
}

BOOL FODiscardNcActivate()
{
    return FALSE;
}
