#include "symbols/NewVisualProxy.h"

#include "mfc/Dc.h"
#include "mfc/Gdi.h"
#include "mfc/ResourceModule.h"

#include <QImage>
#include <QPainter>

#include <atomic>

IMPLEMENT_DYNCREATE(CNewVisualProxy, CFOPVisualProxy)

namespace
{
std::atomic<bool> g_bNoDefaultPorts{false};

// The icons of the extra handles, read once: the canvas draws them on every repaint of a selection.
const QImage& HandleIcon(UINT nIcon)
{
    static QImage key, event;
    QImage& image = nIcon == CNewVisualProxy::IDI_KEY_SETTING ? key : event;
    if (image.isNull())
        if (const AFX_RESOURCE_DATA* data = AfxFindIconData(nIcon))
            image.loadFromData(data->pData, int(data->nSize));
    return image;
}
} // namespace

CNewVisualProxy::CNewVisualProxy() = default;
CNewVisualProxy::~CNewVisualProxy() = default;

void CNewVisualProxy::SetNoDefaultPorts(BOOL bOn)
{
    g_bNoDefaultPorts = bOn != FALSE;
}

BOOL CNewVisualProxy::IsNoDefaultPorts()
{
    return g_bNoDefaultPorts;
}

CString CNewVisualProxy::GetPixelSizeText(UINT nValue)
{
    CString text;
    text.Format(L"%u Pixel", nValue);
    return text;
}

void CNewVisualProxy::GenerateDefaultPorts(CArray<CPoint, CPoint>& arPorts)
{
    if (IsNoDefaultPorts())
        arPorts.RemoveAll();
    else
        CFOPVisualProxy::GenerateDefaultPorts(arPorts);
}

BOOL CNewVisualProxy::LoadNamedBitmap(const CString& strName, CBitmap& bitmap)
{
    for (int i = 0; i < 4; ++i)
    {
        CString name;
        name.Format(L"%d.xxx", i + 1);
        if (strName.CompareNoCase(name) == 0)
        {
            CBitmap loaded;
            if (loaded.LoadBitmap(UINT(IDB_NAMED_FIRST + i)))
                bitmap = loaded;
            break;
        }
    }
    return TRUE;
}

void CNewVisualProxy::DoGenAddiToolTips(CString& strText, UINT nHandleType)
{
    if (nHandleType == HANDLE_KEY_SETTING)
        strText = L"Key Setting...";
    else if (nHandleType == HANDLE_EVENT_SETTING)
        strText = L"Event Setting...";
    else
        CFOPVisualProxy::DoGenAddiToolTips(strText, nHandleType);
}

void CNewVisualProxy::DoDrawAddiWithType(CDC* pDC, CPoint point, UINT nHandleType)
{
    UINT icon = 0;
    if (nHandleType == DRAW_KEY_SETTING)
        icon = IDI_KEY_SETTING;
    else if (nHandleType == DRAW_EVENT_SETTING)
        icon = IDI_EVENT_SETTING;
    if (!icon)
    {
        CFOPVisualProxy::DoDrawAddiWithType(pDC, point, nHandleType);
        return;
    }
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    if (!painter)
        return;
    const QImage& image = HandleIcon(icon);
    if (!image.isNull())
        painter->drawImage(QRect(point.x, point.y, 16, 16), image);
}

void CNewVisualProxy::DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>& values)
{
    values.push_back({PROP_SCRIPT_PROC, FO_VALUE::MakeString(CString())});
}

void CNewVisualProxy::DoInitDefaultPropDescription(std::vector<FO_PROP_DESCRIPTION>& descriptions)
{
    CFOPVisualProxy::DoInitDefaultPropDescription(descriptions);
    descriptions.push_back({PROP_CHART_POINTS, CString(L"P_CHART_POINTS: Chart Points : CString")});
}
