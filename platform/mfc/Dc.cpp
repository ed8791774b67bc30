#include "mfc/Dc.h"

#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"
#include "mfc/DcImpl.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numbers>
#include <unordered_set>

IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CImageDC, CDC)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

QColor AfxColorFromRef(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

COLORREF AfxRefFromColor(const QColor& color)
{
    return RGB(BYTE(color.red()), BYTE(color.green()), BYTE(color.blue()));
}

namespace
{
// Live DCs, so that a handle is only turned back into a DC while that DC exists.
std::mutex& DcTableMutex()
{
    static std::mutex m;
    return m;
}
std::unordered_set<const CDC*>& DcTable()
{
    static std::unordered_set<const CDC*> table;
    return table;
}

// A cell height of this many pixels when a font asks for the default size.
const int kDefaultFontPixels = 13;
const wchar_t kDefaultFace[] = L"Sans Serif";
} // namespace

// CPen

CPen::CPen() = default;

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    CreatePen(nPenStyle, nWidth, crColor);
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle);
}

CPen::CPen(const CPen& src) : CGdiObject()
{
    *this = src;
}

CPen& CPen::operator=(const CPen& src)
{
    m_nStyle = src.m_nStyle;
    m_nWidth = src.m_nWidth;
    m_crColor = src.m_crColor;
    m_aUserStyle = src.m_aUserStyle;
    m_hObject = src.m_hObject ? this : nullptr;
    return *this;
}

// The handle is only a mark that the object was created; nothing is freed through it.
CPen::~CPen()
{
    m_hObject = nullptr;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    m_nStyle = UINT(nPenStyle);
    m_nWidth = std::max(0, nWidth);
    m_crColor = crColor;
    m_aUserStyle.clear();
    m_hObject = this;
    return TRUE;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle)
{
    m_nStyle = UINT(nPenStyle);
    m_nWidth = std::max(0, nWidth);
    m_crColor = pLogBrush ? pLogBrush->lbColor : 0;
    m_aUserStyle.clear();
    if ((m_nStyle & PS_STYLE_MASK) == PS_USERSTYLE && lpStyle && nStyleCount > 0)
        m_aUserStyle.assign(lpStyle, lpStyle + std::min(nStyleCount, 16));
    if (pLogBrush && pLogBrush->lbStyle == BS_NULL)
        m_nStyle = (m_nStyle & ~UINT(PS_STYLE_MASK)) | PS_NULL;
    m_hObject = this;
    return TRUE;
}

BOOL CPen::CreatePenIndirect(const LOGPEN* lpLogPen)
{
    if (!lpLogPen)
        return FALSE;
    return CreatePen(int(lpLogPen->lopnStyle), int(lpLogPen->lopnWidth.x), lpLogPen->lopnColor);
}

int CPen::GetLogPen(LOGPEN* pLogPen) const
{
    if (!pLogPen || !m_hObject)
        return 0;
    pLogPen->lopnStyle = m_nStyle;
    pLogPen->lopnWidth = {m_nWidth, 0};
    pLogPen->lopnColor = m_crColor;
    return int(sizeof(LOGPEN));
}

BOOL CPen::DeleteObject()
{
    m_hObject = nullptr;
    return TRUE;
}

QPen CPen::ToQPen() const
{
    const UINT style = m_nStyle & PS_STYLE_MASK;
    if (style == PS_NULL)
        return QPen(Qt::NoPen);
    const bool geometric = (m_nStyle & PS_TYPE_MASK) == PS_GEOMETRIC;
    QPen pen(AfxColorFromRef(m_crColor));
    if (m_nWidth <= 1)
    {
        pen.setWidth(0);
        pen.setCosmetic(true);
    }
    else
    {
        pen.setWidth(m_nWidth);
    }
    // Plain pens wider than one pixel are always solid; geometric pens keep their dashes.
    const bool dashes = m_nWidth <= 1 || geometric;
    switch (style)
    {
    case PS_DASH:
        pen.setStyle(dashes ? Qt::DashLine : Qt::SolidLine);
        break;
    case PS_DOT:
    case PS_ALTERNATE:
        pen.setStyle(dashes ? Qt::DotLine : Qt::SolidLine);
        break;
    case PS_DASHDOT:
        pen.setStyle(dashes ? Qt::DashDotLine : Qt::SolidLine);
        break;
    case PS_DASHDOTDOT:
        pen.setStyle(dashes ? Qt::DashDotDotLine : Qt::SolidLine);
        break;
    case PS_USERSTYLE:
        if (!m_aUserStyle.empty())
        {
            // Qt counts dash lengths in pen widths; GDI in logical units.
            const double unit = std::max(1, m_nWidth);
            // A dash of length 0 draws nothing (a gap of 0 joins its neighbours); a pattern of
            // nothing but zeros would never advance, so it draws solid.
            QList<qreal> pattern;
            double total = 0.0;
            for (DWORD len : m_aUserStyle)
            {
                pattern.append(std::max(0.0001, double(len) / unit));
                total += double(len);
            }
            if (pattern.size() % 2)
                pattern.append(pattern.back());
            if (total >= 1.0)
                pen.setDashPattern(pattern);
            else
                pen.setStyle(Qt::SolidLine);
        }
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    if (m_nWidth <= 1)
    {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    else if (geometric)
    {
        switch (m_nStyle & PS_ENDCAP_MASK)
        {
        case PS_ENDCAP_FLAT:
            pen.setCapStyle(Qt::FlatCap);
            break;
        case PS_ENDCAP_SQUARE:
            pen.setCapStyle(Qt::SquareCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
        }
        switch (m_nStyle & PS_JOIN_MASK)
        {
        case PS_JOIN_BEVEL:
            pen.setJoinStyle(Qt::BevelJoin);
            break;
        case PS_JOIN_MITER:
            pen.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            pen.setJoinStyle(Qt::RoundJoin);
            break;
        }
    }
    else
    {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// CBrush

CBrush::CBrush() = default;

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    CreateHatchBrush(nIndex, crColor);
}

CBrush::CBrush(const CBrush& src) : CGdiObject()
{
    *this = src;
}

CBrush& CBrush::operator=(const CBrush& src)
{
    m_nStyle = src.m_nStyle;
    m_crColor = src.m_crColor;
    m_nHatch = src.m_nHatch;
    m_hObject = src.m_hObject ? this : nullptr;
    return *this;
}

CBrush::~CBrush()
{
    m_hObject = nullptr;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    m_nStyle = BS_SOLID;
    m_crColor = crColor;
    m_nHatch = 0;
    m_hObject = this;
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    if (nIndex < HS_HORIZONTAL || nIndex > HS_DIAGCROSS)
        return FALSE;
    m_nStyle = BS_HATCHED;
    m_crColor = crColor;
    m_nHatch = nIndex;
    m_hObject = this;
    return TRUE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    if (!lpLogBrush)
        return FALSE;
    switch (lpLogBrush->lbStyle)
    {
    case BS_SOLID:
        return CreateSolidBrush(lpLogBrush->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(int(lpLogBrush->lbHatch), lpLogBrush->lbColor);
    case BS_NULL:
        m_nStyle = BS_NULL;
        m_crColor = 0;
        m_nHatch = 0;
        m_hObject = this;
        return TRUE;
    default:
        return FALSE;
    }
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const
{
    if (!pLogBrush || !m_hObject)
        return 0;
    pLogBrush->lbStyle = m_nStyle;
    pLogBrush->lbColor = m_crColor;
    pLogBrush->lbHatch = ULONG_PTR(m_nHatch);
    return int(sizeof(LOGBRUSH));
}

BOOL CBrush::DeleteObject()
{
    m_hObject = nullptr;
    return TRUE;
}

// CFont

CFont::CFont()
{
    std::memset(&m_logFont, 0, sizeof(m_logFont));
}

CFont::CFont(const CFont& src) : CGdiObject()
{
    *this = src;
}

CFont& CFont::operator=(const CFont& src)
{
    m_logFont = src.m_logFont;
    m_hObject = src.m_hObject ? this : nullptr;
    return *this;
}

CFont::~CFont()
{
    m_hObject = nullptr;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (!lpLogFont)
        return FALSE;
    m_logFont = *lpLogFont;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    m_hObject = this;
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = cStrikeOut;
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    if (lpszFacename)
        std::wcsncpy(lf.lfFaceName, lpszFacename, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nPointSize;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfWeight = FW_NORMAL;
    if (lpszFaceName)
        std::wcsncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC*)
{
    if (!lpLogFont)
        return FALSE;
    LOGFONT lf = *lpLogFont;
    // Tenths of a point to pixels at the devices' fixed resolution.
    lf.lfHeight = -std::abs(int(std::lround(double(lf.lfHeight) * AFX_DC_LOGPIXELS / 720.0)));
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    if (!pLogFont || !m_hObject)
        return 0;
    *pLogFont = m_logFont;
    return int(sizeof(LOGFONT));
}

BOOL CFont::DeleteObject()
{
    m_hObject = nullptr;
    return TRUE;
}

QFont CFont::ToQFont() const
{
    QFont font;
    const CString face =
        m_hObject && m_logFont.lfFaceName[0] ? CString(m_logFont.lfFaceName) : CString(kDefaultFace);
    // The system's fixed-pitch face is the desktop's fixed-pitch font here.
    if (face.CompareNoCase(L"FixedSys") == 0)
    {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    else
        font.setFamily(QString::fromStdWString(face.str()));
    int pixels = kDefaultFontPixels;
    if (m_hObject && m_logFont.lfHeight < 0)
        pixels = -m_logFont.lfHeight;
    else if (m_hObject && m_logFont.lfHeight > 0)
        pixels = std::max(1, int(std::lround(m_logFont.lfHeight * 0.8)));
    font.setPixelSize(std::clamp(pixels, 1, 2000));
    if (m_hObject)
    {
        const int weight =
            m_logFont.lfWeight == 0 ? FW_NORMAL : std::clamp(int(m_logFont.lfWeight), 100, 900);
        font.setWeight(QFont::Weight(weight));
        font.setItalic(m_logFont.lfItalic != 0);
        font.setUnderline(m_logFont.lfUnderline != 0);
        font.setStrikeOut(m_logFont.lfStrikeOut != 0);
    }
    return font;
}

// CDC

namespace
{
bool SamePen(const CPen& a, const CPen& b)
{
    return a.m_nStyle == b.m_nStyle && a.m_nWidth == std::max(0, b.m_nWidth) && a.m_crColor == b.m_crColor &&
           a.m_aUserStyle == b.m_aUserStyle;
}

} // namespace

CGdiObject* CDC::GetStockObject(int nIndex)
{
    struct Stock
    {
        CBrush brushes[6] = {CBrush(RGB(255, 255, 255)), CBrush(RGB(192, 192, 192)),
                             CBrush(RGB(128, 128, 128)), CBrush(RGB(64, 64, 64)),
                             CBrush(RGB(0, 0, 0)),       CBrush()};
        CPen pens[3] = {CPen(PS_SOLID, 1, RGB(255, 255, 255)), CPen(PS_SOLID, 1, RGB(0, 0, 0)),
                        CPen(PS_NULL, 1, RGB(0, 0, 0))};
        CFont font;
        Stock()
        {
            LOGBRUSH lb = {BS_NULL, 0, 0};
            brushes[5].CreateBrushIndirect(&lb);
            font.CreateFont(-kDefaultFontPixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            kDefaultFace);
        }
    };
    static Stock stock;
    if (nIndex >= WHITE_BRUSH && nIndex <= NULL_BRUSH)
        return &stock.brushes[nIndex];
    if (nIndex >= WHITE_PEN && nIndex <= NULL_PEN)
        return &stock.pens[nIndex - WHITE_PEN];
    if (nIndex >= OEM_FIXED_FONT && nIndex <= DEFAULT_GUI_FONT)
        return &stock.font;
    return nullptr;
}

CDC::CDC()
{
    m_hDC = reinterpret_cast<HDC>(this);
    m_hAttribDC = m_hDC;
    {
        std::lock_guard<std::mutex> lock(DcTableMutex());
        DcTable().insert(this);
    }
    m_pCurPen = static_cast<CPen*>(GetStockObject(BLACK_PEN));
    m_pCurBrush = static_cast<CBrush*>(GetStockObject(WHITE_BRUSH));
    m_pCurFont = static_cast<CFont*>(GetStockObject(SYSTEM_FONT));
    m_curPen.CreatePen(PS_SOLID, 1, COLORREF(0));
    m_curBrush.CreateSolidBrush(RGB(255, 255, 255));
    LOGFONT lf;
    m_pCurFont->GetLogFont(&lf);
    m_curFont.CreateFontIndirect(&lf);
    m_impl = std::make_unique<Impl>();
    m_impl->pen = m_curPen.ToQPen();
}

CDC::CDC(QPainter* pPainter) : CDC()
{
    Attach(pPainter);
}

CDC::~CDC()
{
    std::lock_guard<std::mutex> lock(DcTableMutex());
    DcTable().erase(this);
}

CDC* CDC::FromHandle(HDC hDC)
{
    std::lock_guard<std::mutex> lock(DcTableMutex());
    CDC* pDC = reinterpret_cast<CDC*>(hDC);
    return DcTable().count(pDC) ? pDC : nullptr;
}

BOOL CDC::Attach(QPainter* pPainter)
{
    if (!pPainter)
        return FALSE;
    m_pPainter = pPainter;
    m_pPainter->setRenderHint(QPainter::Antialiasing, false);
    m_pPainter->setRenderHint(QPainter::TextAntialiasing, true);
    Impl& impl = *m_impl;
    impl.fontApplied = false;
    impl.ClipChanged();
    QPaintEngine* engine = m_pPainter->paintEngine();
    impl.raster = engine && engine->type() == QPaintEngine::Raster;
    impl.rasterImage = false;
    if (impl.raster && engine->paintDevice() && engine->paintDevice()->devType() == QInternal::Image)
    {
        const QImage::Format format = static_cast<QImage*>(engine->paintDevice())->format();
        impl.rasterImage = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
    }
    ApplyTransform();
    ApplyPen();
    ApplyBrush();
    ApplyFont();
    return TRUE;
}

QPainter* CDC::Detach()
{
    QPainter* p = m_pPainter;
    m_pPainter = nullptr;
    return p;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen)
        return nullptr;
    CPen* old = m_pCurPen;
    m_pCurPen = pPen;
    if (!SamePen(m_curPen, *pPen))
    {
        LOGBRUSH lb = {BS_SOLID, pPen->m_crColor, 0};
        m_curPen.CreatePen(int(pPen->m_nStyle), pPen->m_nWidth, &lb, int(pPen->m_aUserStyle.size()),
                           pPen->m_aUserStyle.empty() ? nullptr : pPen->m_aUserStyle.data());
        m_impl->pen = m_curPen.ToQPen();
    }
    ApplyPen();
    return old;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush)
        return nullptr;
    CBrush* old = m_pCurBrush;
    m_pCurBrush = pBrush;
    LOGBRUSH lb;
    if (pBrush->GetLogBrush(&lb))
        m_curBrush.CreateBrushIndirect(&lb);
    ApplyBrush();
    return old;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    if (!pFont)
        return nullptr;
    CFont* old = m_pCurFont;
    m_pCurFont = pFont;
    LOGFONT lf;
    if (pFont->GetLogFont(&lf))
        m_curFont.CreateFontIndirect(&lf);
    else
        m_curFont.DeleteObject();
    ApplyFont();
    return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    // The runtime class answers as well as a dynamic_cast and costs less, which counts for the stock
    // objects selected around every figure.
    if (!pObject)
        return nullptr;
    if (pObject->IsKindOf(RUNTIME_CLASS(CPen)))
        return SelectObject(static_cast<CPen*>(pObject));
    if (pObject->IsKindOf(RUNTIME_CLASS(CBrush)))
        return SelectObject(static_cast<CBrush*>(pObject));
    if (pObject->IsKindOf(RUNTIME_CLASS(CFont)))
        return SelectObject(static_cast<CFont*>(pObject));
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return SelectObject(GetStockObject(nIndex));
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    const COLORREF old = m_state.crText;
    m_state.crText = crColor;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    const COLORREF old = m_state.crBk;
    m_state.crBk = crColor;
    return old;
}

int CDC::SetBkMode(int nBkMode)
{
    const int old = m_state.nBkMode;
    if (nBkMode == TRANSPARENT || nBkMode == OPAQUE)
        m_state.nBkMode = nBkMode;
    return old;
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    const int old = m_state.nFillMode;
    if (nPolyFillMode == ALTERNATE || nPolyFillMode == WINDING)
        m_state.nFillMode = nPolyFillMode;
    return old;
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    const UINT old = m_state.nTextAlign;
    m_state.nTextAlign = nFlags;
    return old;
}

void CDC::ApplyPen()
{
    // The painter compares and keeps an equal pen as it is.
    if (m_pPainter)
        m_pPainter->setPen(m_impl->pen);
}

void CDC::ApplyBrush()
{
    // Brushes are applied per figure (hatches need the background first).
}

void CDC::ApplyFont()
{
    if (!m_pPainter)
        return;
    // Setting a font makes the painter resolve it again; skip that when nothing changed.
    Impl& impl = *m_impl;
    if (impl.fontApplied && impl.appliedCreated == (m_curFont.IsCreated() != FALSE) &&
        std::memcmp(&impl.appliedLf, &m_curFont.m_logFont, sizeof(LOGFONT)) == 0 &&
        m_pPainter->font() == impl.appliedFont)
        return;
    m_pPainter->setFont(impl.FontFor(m_curFont));
    impl.appliedFont = m_pPainter->font();
    impl.appliedLf = m_curFont.m_logFont;
    impl.appliedCreated = m_curFont.IsCreated() != FALSE;
    impl.fontApplied = true;
}

void CDC::FillWithBrush(const QPainterPath& path, const CBrush& brush)
{
    if (!m_pPainter || !brush.IsCreated() || brush.m_nStyle == BS_NULL)
        return;
    if (brush.m_nStyle == BS_HATCHED)
    {
        if (m_state.nBkMode == OPAQUE)
            m_pPainter->fillPath(path, AfxColorFromRef(m_state.crBk));
        static const Qt::BrushStyle hatch[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                               Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        QBrush qb(AfxColorFromRef(brush.m_crColor), hatch[std::clamp(brush.m_nHatch, 0, 5)]);
        m_pPainter->fillPath(path, qb);
        return;
    }
    m_pPainter->fillPath(path, AfxColorFromRef(brush.m_crColor));
}

// The fast forms below draw exactly the pixels of the figures they stand for, and only where that
// was shown to hold: the raster engine puts pixels down, and the painter maps logical units 1:1
// onto whole pixels, without antialiasing. Filling a box then is filling whole pixels; a one-pixel
// solid outline of a box is its four edges. (A printer would draw a hairline differently from four
// thin boxes, so it keeps the paths.) Each returns false when it does not apply, and the caller
// draws the figure as a path.

bool CDC::FillBoxFast(const RECT& rc, const CBrush& brush)
{
    if (!brush.IsCreated() || brush.m_nStyle == BS_NULL)
        return true; // nothing to fill
    const Impl& impl = *m_impl;
    if (brush.m_nStyle != BS_SOLID || rc.right < rc.left || rc.bottom < rc.top || !impl.raster ||
        !impl.wholePixels || m_pPainter->worldTransform() != impl.transform ||
        m_pPainter->testRenderHint(QPainter::Antialiasing))
        return false;
    m_pPainter->fillRect(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top),
                         AfxColorFromRef(brush.m_crColor));
    return true;
}

// The outline of the box [l, l + w] x [t, t + h] (both ends included) with the current pen.
bool CDC::FrameBoxFast(int l, int t, int w, int h)
{
    const Impl& impl = *m_impl;
    if (w < 1 || h < 1 || !AfxOnePixelSolid(impl.pen) || !impl.raster || !impl.wholePixels ||
        m_pPainter->worldTransform() != impl.transform ||
        m_pPainter->testRenderHint(QPainter::Antialiasing) || !AfxPainterOpaque(*m_pPainter))
        return false;
    const QColor color = impl.pen.color();
    m_pPainter->fillRect(QRect(l, t, w + 1, 1), color);
    m_pPainter->fillRect(QRect(l, t + h, w + 1, 1), color);
    if (h > 1)
    {
        m_pPainter->fillRect(QRect(l, t + 1, 1, h - 1), color);
        m_pPainter->fillRect(QRect(l + w, t + 1, 1, h - 1), color);
    }
    return true;
}

void CDC::StrokeAndFill(const QPainterPath& path, bool fill)
{
    if (!m_pPainter)
        return;
    if (fill)
        FillWithBrush(path, m_curBrush);
    const QPen& pen = m_impl->pen;
    if (pen.style() != Qt::NoPen)
        m_pPainter->strokePath(path, pen);
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_ptCurrent;
    m_ptCurrent = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    if (!Ready())
        return FALSE;
    const QPen& pen = m_impl->pen;
    if (pen.style() != Qt::NoPen)
    {
        m_pPainter->setPen(pen);
        m_pPainter->drawLine(QPoint(m_ptCurrent.x, m_ptCurrent.y), QPoint(x, y));
    }
    m_ptCurrent = CPoint(x, y);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount)
{
    if (!Ready() || !lpPoints || nCount < 2)
        return FALSE;
    QPolygon poly;
    poly.reserve(nCount);
    for (int i = 0; i < nCount; ++i)
        poly << QPoint(lpPoints[i].x, lpPoints[i].y);
    const QPen& pen = m_impl->pen;
    if (pen.style() != Qt::NoPen)
    {
        m_pPainter->setPen(pen);
        m_pPainter->drawPolyline(poly);
    }
    return TRUE;
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount)
{
    if (!Ready() || !lpPoints || nCount < 2)
        return FALSE;
    QPolygon poly;
    poly.reserve(nCount);
    for (int i = 0; i < nCount; ++i)
        poly << QPoint(lpPoints[i].x, lpPoints[i].y);
    QPainterPath path;
    path.setFillRule(m_state.nFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    StrokeAndFill(path, true);
    return TRUE;
}

BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount)
{
    if (!Ready() || !lpPoints || !lpPolyCounts || nCount <= 0)
        return FALSE;
    QPainterPath path;
    path.setFillRule(m_state.nFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const POINT* p = lpPoints;
    for (int k = 0; k < nCount; ++k)
    {
        QPolygon poly;
        for (int i = 0; i < lpPolyCounts[k]; ++i, ++p)
            poly << QPoint(p->x, p->y);
        path.addPolygon(poly);
        path.closeSubpath();
    }
    StrokeAndFill(path, true);
    return TRUE;
}

namespace
{
// The figure of a GDI box: its outline runs through the last column and row it covers.
QRectF OutlineBox(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2);
    const int t = std::min(y1, y2);
    const int r = std::max(x1, x2);
    const int b = std::max(y1, y2);
    return QRectF(l, t, std::max(0, r - l - 1), std::max(0, b - t - 1));
}

double AngleOf(const QRectF& box, POINT pt)
{
    const QPointF c = box.center();
    // Screen y grows downward; angles count counter-clockwise on the screen.
    return std::atan2(-(pt.y - c.y()), pt.x - c.x()) * 180.0 / std::numbers::pi;
}
} // namespace

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!Ready())
        return FALSE;
    const QRectF box = OutlineBox(x1, y1, x2, y2);
    const int l = int(box.left()), t = int(box.top()), w = int(box.width()), h = int(box.height());
    const QPen& pen = m_impl->pen;
    if (pen.style() == Qt::NoPen)
    {
        // Without an outline the box is filled to its full size less the last row and column.
        if (!FillBoxFast(RECT{l, t, l + w, t + h}, m_curBrush))
        {
            QPainterPath fill;
            fill.addRect(box);
            FillWithBrush(fill, m_curBrush);
        }
        return TRUE;
    }
    // Fill covers the outline's pixels too; the pen draws over it.
    if (!FillBoxFast(RECT{l, t, l + w + 1, t + h + 1}, m_curBrush))
    {
        QPainterPath fill;
        fill.addRect(box.adjusted(0, 0, 1, 1));
        FillWithBrush(fill, m_curBrush);
    }
    if (FrameBoxFast(l, t, w, h))
        return TRUE;
    m_pPainter->setPen(pen);
    m_pPainter->setBrush(Qt::NoBrush);
    m_pPainter->drawRect(box);
    return TRUE;
}

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    return lpRect && Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    if (!Ready())
        return FALSE;
    QPainterPath path;
    path.addRoundedRect(OutlineBox(x1, y1, x2, y2), x3 / 2.0, y3 / 2.0);
    StrokeAndFill(path, true);
    return TRUE;
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!Ready())
        return FALSE;
    const QRectF box = OutlineBox(x1, y1, x2, y2);
    if (EllipseFast(int(box.left()), int(box.top()), int(box.width()), int(box.height())))
        return TRUE;
    QPainterPath path;
    path.addEllipse(box);
    StrokeAndFill(path, true);
    return TRUE;
}

BOOL CDC::Ellipse(LPCRECT lpRect)
{
    return lpRect && Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::Arc(LPCRECT lpRect, POINT ptStart, POINT ptEnd)
{
    if (!Ready() || !lpRect)
        return FALSE;
    const QRectF box = OutlineBox(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    const double a0 = AngleOf(box, ptStart);
    double span = AngleOf(box, ptEnd) - a0;
    if (span <= 0)
        span += 360.0;
    QPainterPath path;
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, span);
    const QPen& pen = m_impl->pen;
    if (pen.style() != Qt::NoPen)
        m_pPainter->strokePath(path, pen);
    return TRUE;
}

BOOL CDC::Chord(LPCRECT lpRect, POINT ptStart, POINT ptEnd)
{
    if (!Ready() || !lpRect)
        return FALSE;
    const QRectF box = OutlineBox(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    const double a0 = AngleOf(box, ptStart);
    double span = AngleOf(box, ptEnd) - a0;
    if (span <= 0)
        span += 360.0;
    QPainterPath path;
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, span);
    path.closeSubpath();
    StrokeAndFill(path, true);
    return TRUE;
}

BOOL CDC::Pie(LPCRECT lpRect, POINT ptStart, POINT ptEnd)
{
    if (!Ready() || !lpRect)
        return FALSE;
    const QRectF box = OutlineBox(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    const double a0 = AngleOf(box, ptStart);
    double span = AngleOf(box, ptEnd) - a0;
    if (span <= 0)
        span += 360.0;
    QPainterPath path;
    path.moveTo(box.center());
    path.arcTo(box, a0, span);
    path.closeSubpath();
    StrokeAndFill(path, true);
    return TRUE;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!Ready() || !lpRect || !pBrush)
        return;
    if (FillBoxFast(*lpRect, *pBrush))
        return;
    QPainterPath path;
    path.addRect(
        QRectF(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top));
    FillWithBrush(path, *pBrush);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    if (!Ready() || !lpRect)
        return;
    m_pPainter->fillRect(
        QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top),
        AfxColorFromRef(clr));
    // GDI's FillSolidRect leaves the colour as the background colour.
    m_state.crBk = clr;
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!Ready() || !lpRect || !pBrush)
        return;
    const int l = lpRect->left, t = lpRect->top, r = lpRect->right, b = lpRect->bottom;
    if (r <= l || b <= t)
        return;
    const RECT edges[4] = {{l, t, r, t + 1}, {l, b - 1, r, b}, {l, t, l + 1, b}, {r - 1, t, r, b}};
    for (const RECT& e : edges)
        FillRect(&e, pBrush);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                   clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!Ready())
        return;
    const COLORREF bk = m_state.crBk;
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
    m_state.crBk = bk;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    if (!Ready())
        return CLR_INVALID;
    m_pPainter->fillRect(QRect(x, y, 1, 1), AfxColorFromRef(crColor));
    return crColor;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    QImage* image = GetImage();
    if (!image)
        return CLR_INVALID;
    POINT pt = {x, y};
    LPtoDP(&pt);
    if (!image->rect().contains(int(pt.x), int(pt.y)))
        return CLR_INVALID;
    return AfxRefFromColor(image->pixelColor(int(pt.x), int(pt.y)));
}

BOOL CDC::TextOut(int x, int y, const CString& str)
{
    if (!Ready())
        return FALSE;
    if (m_curFont.IsCreated() && m_curFont.m_logFont.lfEscapement % 3600 != 0)
    {
        TextOutRotated(x, y, str, int(m_curFont.m_logFont.lfEscapement % 3600));
        return TRUE;
    }
    const QString text = QString::fromStdWString(str.str());
    const QFontMetrics fm(m_pPainter->font());
    const int width = fm.horizontalAdvance(text);
    int left = x;
    if ((m_state.nTextAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (m_state.nTextAlign & TA_RIGHT)
        left = x - width;
    int baseline = y + fm.ascent();
    if ((m_state.nTextAlign & TA_BASELINE) == TA_BASELINE)
        baseline = y;
    else if (m_state.nTextAlign & TA_BOTTOM)
        baseline = y - fm.descent();
    if (m_state.nBkMode == OPAQUE)
        m_pPainter->fillRect(QRect(left, baseline - fm.ascent(), width, fm.height()),
                             AfxColorFromRef(m_state.crBk));
    m_pPainter->setPen(AfxColorFromRef(m_state.crText));
    m_pPainter->drawText(QPoint(left, baseline), text);
    ApplyPen();
    return TRUE;
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    if (!lpRect)
        return 0;
    QString text = QString::fromStdWString(str.str());
    QFont font = m_pPainter ? m_pPainter->font() : m_curFont.ToQFont();
    const QFontMetrics fm(font);
    int flags = 0;
    if (nFormat & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (nFormat & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (nFormat & DT_SINGLELINE)
    {
        flags |= Qt::TextSingleLine;
        if (nFormat & DT_VCENTER)
            flags |= Qt::AlignVCenter;
        else if (nFormat & DT_BOTTOM)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    }
    else
    {
        flags |= Qt::AlignTop;
    }
    if (nFormat & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (nFormat & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (!(nFormat & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if (nFormat & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    const QRect box(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top);
    if ((nFormat & DT_END_ELLIPSIS) && (nFormat & DT_SINGLELINE))
        text = fm.elidedText(text, Qt::ElideRight, std::max(0, box.width()));
    // One line drawn without a background needs no measuring: it is one line high. Tables draw
    // many such cells.
    if (!(nFormat & (DT_CALCRECT | DT_WORDBREAK)) && m_state.nBkMode != OPAQUE &&
        !text.contains(QLatin1Char('\n')))
    {
        if (!Ready())
            return 0;
        m_pPainter->setPen(AfxColorFromRef(m_state.crText));
        m_pPainter->drawText(box, flags, text);
        ApplyPen();
        return fm.height();
    }
    // Measuring: a word-wrapped text keeps the rectangle's width and grows down; without a width
    // nothing wraps.
    QRect measure = box;
    if ((nFormat & DT_CALCRECT) && (nFormat & DT_WORDBREAK) && box.width() > 0)
        measure.setHeight(100000);
    else if (box.isEmpty())
        measure = QRect(box.topLeft(), QSize(100000, 100000));
    const QRect bound = fm.boundingRect(measure, flags & ~Qt::TextDontClip, text);
    if (nFormat & DT_CALCRECT)
    {
        lpRect->right = lpRect->left + bound.width();
        lpRect->bottom = lpRect->top + bound.height();
        return bound.height();
    }
    if (!Ready())
        return 0;
    if (m_state.nBkMode == OPAQUE)
        m_pPainter->fillRect(bound.intersected(box), AfxColorFromRef(m_state.crBk));
    m_pPainter->setPen(AfxColorFromRef(m_state.crText));
    m_pPainter->drawText(box, flags, text);
    ApplyPen();
    return bound.height();
}

CSize CDC::GetTextExtent(const CString& str) const
{
    const QFontMetrics fm(m_pPainter ? m_pPainter->font() : m_curFont.ToQFont());
    return CSize(fm.horizontalAdvance(QString::fromStdWString(str.str())), fm.height());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    if (!lpMetrics)
        return FALSE;
    const QFont font = m_pPainter ? m_pPainter->font() : m_curFont.ToQFont();
    const QFontMetrics fm(font);
    lpMetrics->tmHeight = fm.height();
    lpMetrics->tmAscent = fm.ascent();
    lpMetrics->tmDescent = fm.descent();
    lpMetrics->tmInternalLeading = std::max(0, fm.height() - font.pixelSize());
    lpMetrics->tmExternalLeading = fm.leading();
    lpMetrics->tmAveCharWidth = fm.averageCharWidth();
    lpMetrics->tmMaxCharWidth = fm.maxWidth();
    lpMetrics->tmWeight = font.weight();
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    if (!Ready() || !pSrcDC || dwRop != SRCCOPY)
        return FALSE;
    QImage* src = pSrcDC->GetImage();
    if (!src)
        return FALSE;
    POINT pt = {xSrc, ySrc};
    pSrcDC->LPtoDP(&pt);
    m_pPainter->drawImage(QRect(x, y, nWidth, nHeight), *src, QRect(int(pt.x), int(pt.y), nWidth, nHeight));
    return TRUE;
}

// CImageDC

CImageDC::CImageDC(QImage& image) : m_pImage(&image), m_painter(std::make_unique<QPainter>(&image))
{
    Attach(m_painter.get());
}

CImageDC::~CImageDC()
{
    Detach();
    m_painter->end();
}

// CPaintDC

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    m_ps.hdc = m_hDC;
    m_ps.fErase = FALSE;
    m_ps.rcPaint = {0, 0, 0, 0};
    QWidget* widget = pWnd ? pWnd->GetClientWidget() : nullptr;
    if (!widget)
        return;
    m_painter = std::make_unique<QPainter>(widget);
    if (!m_painter->isActive())
    {
        m_painter.reset();
        return;
    }
    // Inside a paint event only its region is drawn: the painter is clipped to it, so GetClipBox
    // tells the window what it may skip.
    QRect rc = widget->rect();
    if (const QRegion* region = AfxPaintScope::Find(widget))
    {
        m_painter->setClipRegion(*region);
        rc = region->boundingRect();
    }
    m_ps.rcPaint = {rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1};
    Attach(m_painter.get());
}

CPaintDC::~CPaintDC()
{
    Detach();
    if (m_painter)
        m_painter->end();
}
