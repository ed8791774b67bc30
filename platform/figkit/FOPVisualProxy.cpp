#include "figkit/FOPVisualProxy.h"

#include "figkit/FODrawShape.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <memory>

IMPLEMENT_DYNCREATE(CFOPVisualProxy, CObject)

namespace
{
std::unique_ptr<CFOPVisualProxy>& Instance()
{
    static std::unique_ptr<CFOPVisualProxy> instance;
    return instance;
}
} // namespace

CFOPVisualProxy::CFOPVisualProxy() = default;
CFOPVisualProxy::~CFOPVisualProxy() = default;

CFOPVisualProxy* CFOPVisualProxy::GetInstance()
{
    if (!Instance())
        Instance() = std::make_unique<CFOPVisualProxy>();
    return Instance().get();
}

void CFOPVisualProxy::SetInstance(CFOPVisualProxy* pProxy)
{
    Instance().reset(pProxy);
}

void CFOPVisualProxy::GenNormalHandles(CFOPHandleList& list, const CRect& rc, UINT, int, int)
{
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2;
    const FOPPoint pts[8] = {{rc.left, rc.top},     {cx, rc.top},    {rc.right, rc.top},   {rc.right, cy},
                             {rc.right, rc.bottom}, {cx, rc.bottom}, {rc.left, rc.bottom}, {rc.left, cy}};
    for (int i = 0; i < 8; ++i)
        list.AddHandle(CFOPHandle(pts[i], FO_HANDLE_TOPLEFT + i), 0);
}

CString CFOPVisualProxy::GetPixelSizeText(UINT nValue)
{
    CString text;
    text.Format(L"%u", nValue);
    return text;
}

void CFOPVisualProxy::GenerateDefaultPorts(CArray<CPoint, CPoint>&) {}

void FOGenerateDefaultPorts(CFODrawShape* pShape, std::initializer_list<CPoint> ports)
{
    if (!pShape)
        return;
    CArray<CPoint, CPoint> positions;
    for (const CPoint& pt : ports)
        positions.Add(pt);
    CFOPVisualProxy::GetInstance()->GenerateDefaultPorts(positions);
    for (int i = 0; i < positions.GetSize(); ++i)
        pShape->CreateDefaultPort(positions[i].x / 1000.0, positions[i].y / 1000.0);
}

void FOAddDefaultPropValues(CFODrawShape* pShape)
{
    if (!pShape)
        return;
    std::vector<FO_PROP_DEFAULT> defaults;
    CFOPVisualProxy::GetInstance()->DoAddDefaultPropValues(defaults);
    for (const FO_PROP_DEFAULT& d : defaults)
        if (!pShape->FindProperty(d.nPropId))
        {
            const CFOValueProperties prop(d.nPropId, d.value);
            pShape->AddNewProperty(&prop);
        }
}

CString FOGetPropDescription(int nPropId)
{
    std::vector<FO_PROP_DESCRIPTION> descriptions;
    CFOPVisualProxy::GetInstance()->DoInitDefaultPropDescription(descriptions);
    for (const FO_PROP_DESCRIPTION& d : descriptions)
        if (d.nPropId == nPropId)
            return d.strDescription;
    return CString();
}

BOOL CFOPVisualProxy::LoadNamedBitmap(const CString&, CBitmap&)
{
    return FALSE;
}

void CFOPVisualProxy::DoGenAddiToolTips(CString&, UINT) {}

void CFOPVisualProxy::DoDrawAddiWithType(CDC* pDC, CPoint point, UINT)
{
    if (!pDC)
        return;
    const CRect rc(point, CSize(FO_ADDI_SIZE, FO_ADDI_SIZE));
    CBrush fill(RGB(255, 255, 225));
    CBrush frame(RGB(0, 0, 0));
    pDC->FillRect(&rc, &fill);
    pDC->FrameRect(&rc, &frame);
}

void CFOPVisualProxy::DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>&) {}

void CFOPVisualProxy::DoInitDefaultPropDescription(std::vector<FO_PROP_DESCRIPTION>&) {}

BOOL CFOPVisualProxy::FillWithBitmap(CDC* pDC, const CRect& rect, CBitmap* pBitmap)
{
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    const QImage* image = pBitmap ? pBitmap->GetImage() : nullptr;
    if (!painter || !image || image->isNull() || rect.IsRectEmpty())
        return FALSE;
    painter->drawTiledPixmap(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                             QPixmap::fromImage(*image));
    return TRUE;
}

void FOInit(CRuntimeClass* pProxyClass, int nGUIType)
{
    FO_GLOBAL::InitGUIType(nGUIType);
    if (!pProxyClass)
        return;
    CObject* ob = pProxyClass->CreateObject();
    if (auto* proxy = dynamic_cast<CFOPVisualProxy*>(ob))
        CFOPVisualProxy::SetInstance(proxy);
    else
        delete ob;
}
