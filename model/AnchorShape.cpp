#include "model/AnchorShape.h"

#include "figkit/FOArea.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOPVisualProxy.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(CAnchorShape, CFODrawPortsShape, 0)

namespace
{
// Stored anchors beyond this are refused, like the base's points.
const int kMaxCoord = 10000000;
} // namespace

CAnchorShape::CAnchorShape()
{
    SetType(620);
    SetBkColor(0x00FFFFFF);
    SetTransparent(FALSE);
}

CAnchorShape::CAnchorShape(const CAnchorShape& src) : CFODrawPortsShape()
{
    SetType(620);
    SetBkColor(0x00FFFFFF);
    SetTransparent(FALSE);
    *this = src;
}

CAnchorShape::~CAnchorShape()
{
    m_timer.Stop(this);
}

CAnchorShape& CAnchorShape::operator=(const CAnchorShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_timer.Stop(this);
    return *this;
}

CFODrawShape* CAnchorShape::Copy() const
{
    return new CAnchorShape(*this);
}

void CAnchorShape::Create(CRect& rcPos, CString strCaption)
{
    rcPos.NormalizeRect();
    const int L = rcPos.left, T = rcPos.top, R = rcPos.right, B = rcPos.bottom;
    const int cx = (L + R) / 2, cy = (T + B) / 2, H = B - T;
    AllocMemory(POINT_COUNT);
    const CPoint pts[POINT_COUNT] = {
        {cx + 5, T},     {cx - 5, T},    {cx - 5, T + H / 4}, {L, T + H / 4},       {L, B},
        {R, B},          {R, T + H / 4}, {cx + 5, T + H / 4}, {cx - 5, cy + H / 8}, {cx + 5, cy + H / 8},
        {L, cy + H / 8}, {R, cy + H / 8}};
    SetPoints(pts, POINT_COUNT);
    SetAnchorPoint(CPoint(cx, cy + H / 8));
    SetTrackAnchorPoint(CPoint(cx, cy + H / 8));
    CFODrawPortsShape::Create(rcPos, strCaption);
    CreateDefaultPort(0.5, 0.5);
    UpdateComp();
}

void CAnchorShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    BYTE raw[8];
    if (ar.IsStoring())
    {
        const CPoint pt = GetAnchorPoint();
        const DWORD v[2] = {DWORD(pt.x), DWORD(pt.y)};
        for (int i = 0; i < 2; ++i)
            for (int b = 0; b < 4; ++b)
                raw[i * 4 + b] = BYTE(v[i] >> (8 * b));
        ar.Write(raw, sizeof(raw));
        return;
    }
    // The drawing reads all twelve points.
    if (GetPointCount() != POINT_COUNT)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    if (ar.Read(raw, sizeof(raw)) != sizeof(raw))
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    LONG v[2];
    for (int i = 0; i < 2; ++i)
    {
        DWORD d = 0;
        for (int b = 0; b < 4; ++b)
            d |= DWORD(raw[i * 4 + b]) << (8 * b);
        v[i] = LONG(d);
        if (v[i] < -kMaxCoord || v[i] > kMaxCoord)
            AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    }
    SetAnchorPoint(CPoint(v[0], v[1]));
    SetTrackAnchorPoint(GetDisplayAnchorPoint());
    m_nFrame = 0;
}

void CAnchorShape::GeometryUpdated(CFOArea* pArea)
{
    if (!pArea)
        return;
    pArea->SetPoints(GetPoints(), std::min(GetPointCount(), int(OUTLINE_COUNT)));
    m_rcPosition = pArea->GetBoundingRect();
}

void CAnchorShape::GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const
{
    FOPSimplePolygon p;
    for (int i = 0; i < std::min(GetPointCount(), int(OUTLINE_COUNT)); ++i)
        p.Add(OwnToCanvas(GetPoint(i)));
    polygon.Append(p);
}

int CAnchorShape::GetFrameCount() const
{
    const CRect rc = GetDrawRect();
    return (3 * (rc.bottom - rc.top - 2)) / 16;
}

void CAnchorShape::MoveToFrame(const int& nFrame)
{
    const int frames = GetFrameCount();
    if (frames <= 4)
        return;
    CRect rc = GetDrawRect();
    rc.DeflateRect(1, 1);
    const int h = rc.bottom - rc.top;
    const int x = (rc.left + rc.right) / 2;
    const int y = (rc.top + rc.bottom) / 2 - h / 4 + (frames - nFrame) * 4;
    const CPoint anchor = GetDisplayAnchorPoint();
    OffsetAnchorPoint(CPoint(x - anchor.x, y - anchor.y));
}

int CAnchorShape::ClampedAnchorY(CPoint ptOffset) const
{
    const CFOMatrix* m = GetMatrixData();
    CPoint pt = m ? CPoint(m->ChangeValue(GetAnchorPoint())) : GetAnchorPoint();
    pt.Offset(ptOffset);
    const CPoint back = m ? CPoint(m->ChangeValueBack(pt)) : pt;
    const int top = GetPoint(6).y;
    const int bottom = GetPoint(5).y;
    return std::clamp(int(back.y), std::min(top, bottom), std::max(top, bottom));
}

int CAnchorShape::OffsetAnchorPoint(CPoint ptOffset)
{
    if (GetPointCount() != POINT_COUNT)
        return 1;
    CPoint anchor = GetAnchorPoint();
    int dy = ptOffset.y;
    if (GetMatrixData())
        dy = ClampedAnchorY(ptOffset) - anchor.y;
    anchor.y += dy;
    SetAnchorPoint(anchor);
    for (int i = 8; i <= 11; ++i)
    {
        CPoint pt = GetPoint(i);
        pt.y += dy;
        SetPoint(i, pt);
    }
    ValidatePoints();
    UpdateComp();
    return 1;
}

int CAnchorShape::TrackOffsetAnchorPoint(CPoint ptOffset)
{
    if (GetPointCount() != POINT_COUNT)
        return 1;
    ResetTrackPoints();
    const int dy = ClampedAnchorY(ptOffset) - GetAnchorPoint().y;
    const CPoint anchor(GetAnchorPoint().x, GetAnchorPoint().y + dy);
    SetTrackAnchorPoint(OwnToCanvas(anchor));
    for (int i = 8; i <= 11; ++i)
        GetTrackPoints()[i] = OwnToCanvas(CPoint(GetPoint(i).x, GetPoint(i).y + dy));
    return 1;
}

int CAnchorShape::OffsetExtAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::OffsetExtAnchorPoint(ptOffset);
}
int CAnchorShape::TrackOffsetExtAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::TrackOffsetExtAnchorPoint(ptOffset);
}
int CAnchorShape::OffsetThirdAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::OffsetThirdAnchorPoint(ptOffset);
}
int CAnchorShape::TrackOffsetThirdAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::TrackOffsetThirdAnchorPoint(ptOffset);
}
int CAnchorShape::OffsetFourAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::OffsetFourAnchorPoint(ptOffset);
}
int CAnchorShape::TrackOffsetFourAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::TrackOffsetFourAnchorPoint(ptOffset);
}
int CAnchorShape::OffsetFiveAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::OffsetFiveAnchorPoint(ptOffset);
}
int CAnchorShape::TrackOffsetFiveAnchorPoint(CPoint ptOffset)
{
    return CFODrawShape::TrackOffsetFiveAnchorPoint(ptOffset);
}

void CAnchorShape::GetNormalSpotLocation(CFOPHandleList& list)
{
    CFOPVisualProxy::GetInstance()->GenNormalHandles(list, GetSnapRect(), GetType(), 0, 0);
}

void CAnchorShape::GetPlusSpotLocation(CFOPHandleList& list)
{
    list.AddHandle(CFOPHandle(FOPPoint(GetDisplayAnchorPoint()), FO_HANDLE_ANCHOR), 0);
}

void CAnchorShape::DoAddCustProp()
{
    CFODrawPortsShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
}

void CAnchorShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFODrawPortsShape::SetParentWnd(pWnd);
}

void CAnchorShape::Step()
{
    ++m_nFrame;
    if (m_nFrame >= GetFrameCount())
        m_nFrame = 0;
    MoveToFrame(m_nFrame);
}

void CAnchorShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFODrawPortsShape::OnTimer(nTimerId);
        return;
    }
    Step();
    UpdateControl();
}

BOOL CAnchorShape::DoAnimate()
{
    Step();
    return 1;
}

void CAnchorShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, FALSE);
}

void CAnchorShape::OnDrawShadow(CDC* pDC)
{
    if (GetPointCount() >= OUTLINE_COUNT)
        FillShadowPoly(pDC, GetPoints(), OUTLINE_COUNT);
}

void CAnchorShape::DrawBody(CDC* pDC)
{
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    if (!pDC || GetPointCount() != POINT_COUNT)
        return;
    const CPoint* p = GetPoints();
    FillPoly(pDC, p, OUTLINE_COUNT, GetBkColor(), GetPatternColor(), GetBrushType());
    CBrush red(RGB(255, 0, 0));
    CBrush* old = pDC->SelectObject(&red);
    const CPoint barrel[4] = {p[4], p[5], p[11], p[10]};
    pDC->Polygon(barrel, 4);
    pDC->SelectObject(old);
    CBrush black(RGB(0, 0, 0));
    old = pDC->SelectObject(&black);
    const CPoint stem[4] = {p[0], p[1], p[8], p[9]};
    pDC->Polygon(stem, 4);
    pDC->SelectObject(old);
}

void CAnchorShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    DrawBody(pDC);
}

void CAnchorShape::OnDraw3d(CDC* pDC)
{
    CFODrawPortsShape::OnDraw3d(pDC);
    DrawBody(pDC);
}

void CAnchorShape::DrawFigures(CDC* pDC, const CPoint* q, int nCount)
{
    if (nCount < POINT_COUNT)
        return;
    const CPoint outline[9] = {q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], q[0]};
    pDC->Polyline(outline, 9);
    const CPoint line[2] = {q[10], q[11]};
    pDC->Polyline(line, 2);
    const CPoint plunger[5] = {q[7], q[2], q[8], q[9], q[7]};
    pDC->Polyline(plunger, 5);
}

void CAnchorShape::OnDrawTrackCustom(CDC* pDC)
{
    if (pDC)
        DrawFigures(pDC, GetTrackPoints(), GetTrackPointCount());
}

void CAnchorShape::DoDrawVisioOrderLine(CDC* pDC)
{
    if (!pDC)
        return;
    CArray<CPoint, CPoint> points;
    DoGenPoints(points);
    std::vector<CPoint> pts(size_t(points.GetSize()));
    for (INT_PTR i = 0; i < points.GetSize(); ++i)
    {
        pts[size_t(i)] = points.GetAt(i);
        pDC->LPtoDP(&pts[size_t(i)], 1);
    }
    const int saved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetWindowOrg(0, 0);
    pDC->SetViewportOrg(0, 0);
    pDC->SetGraphicsMode(GM_ADVANCED);
    pDC->ModifyWorldTransform(nullptr, MWT_IDENTITY);
    CPen* old = pDC->SelectObject(IsMainObj() ? &gfxData.m_penMainOrderLine : &gfxData.m_penOrderLine);
    DrawFigures(pDC, pts.data(), int(pts.size()));
    pDC->SelectObject(old);
    pDC->RestoreDC(saved);
}
