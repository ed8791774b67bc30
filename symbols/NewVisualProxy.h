// CNewVisualProxy: the editor's visual proxy. Over the library's proxy it gives the texts of the
// two extra shape handles (key and event settings) and of a size in pixels, draws their icons,
// loads four named bitmaps, can turn default ports off, and adds the description and default of the
// chart-point property (15009) and the default of the shape script property (15008).
//
// The editor's canvas calls it for the extra handles, new shapes and their ports; the runtime
// programs have their own smaller proxy (CRunVisualProxy).
#pragma once

#include "figkit/FOPVisualProxy.h"
#include "mfc/CString.h"

class CNewVisualProxy : public CFOPVisualProxy
{
    DECLARE_DYNCREATE(CNewVisualProxy)
public:
    enum
    {
        HANDLE_KEY_SETTING = 31016,
        HANDLE_EVENT_SETTING = 31057,
        DRAW_KEY_SETTING = 1006,
        DRAW_EVENT_SETTING = 1101,
        IDI_KEY_SETTING = 106,
        IDI_EVENT_SETTING = 119,
        IDB_NAMED_FIRST = 155,
        PROP_SCRIPT_PROC = 15008,
        PROP_CHART_POINTS = 15009,
    };
    CNewVisualProxy();
    ~CNewVisualProxy() override;

    // "%u Pixel".
    CString GetPixelSizeText(UINT nValue) override;
    // Empties the default port positions while default ports are turned off.
    void GenerateDefaultPorts(CArray<CPoint, CPoint>& arPorts) override;
    // "1.xxx" to "4.xxx" (any case) load bitmaps 155 to 158 into bitmap; other names leave it as it
    // is. TRUE in every case.
    BOOL LoadNamedBitmap(const CString& strName, CBitmap& bitmap) override;
    // The tooltip of an extra handle; other handle types get the base's.
    void DoGenAddiToolTips(CString& strText, UINT nHandleType) override;
    // Draws the icon of an extra handle, 16 x 16 with its top-left corner at the point.
    void DoDrawAddiWithType(CDC* pDC, CPoint point, UINT nHandleType) override;
    void DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>& values) override;
    void DoInitDefaultPropDescription(std::vector<FO_PROP_DESCRIPTION>& descriptions) override;

    // The editor's option "&Not allow any default port" as the application hands it on (off until
    // it does).
    static void SetNoDefaultPorts(BOOL bOn);
    static BOOL IsNoDefaultPorts();
};
