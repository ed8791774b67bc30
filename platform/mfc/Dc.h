// CDC over QPainter, and the GDI drawing objects it selects: CPen, CBrush, CFont.
//
// A CDC draws with a QPainter: the one of a window's paint event (CPaintDC), the one it opens on a
// QImage (CImageDC), or one the caller attaches. Drawing follows GDI's rules where they show in
// pixels: no antialiasing, rectangles and ellipses cover [left, right) x [top, bottom), pens of
// width 0 or 1 are one pixel wide, polygons fill with the alternate rule unless told otherwise.
// Coordinates are logical: the mapping mode (MM_TEXT, or MM_ISOTROPIC / MM_ANISOTROPIC with window
// and viewport extents), the window and viewport origins and, in GM_ADVANCED mode, a world
// transform map them to the device. Colours are COLORREF values (0x00BBGGRR).
//
// A selected object is copied into the DC when it is selected, so changing or deleting the object
// afterwards does not change what the DC draws with.
#pragma once

#include "mfc/CString.h"
#include "mfc/Gdi.h"
#include "mfc/Geometry.h"

#include <memory>
#include <vector>

class QPainter;
class QImage;
class QPen;
class QBrush;
class QFont;
class CWnd;

// Pen styles.
#ifndef PS_SOLID
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000
#endif

// Brush styles and hatches.
#ifndef BS_SOLID
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#endif
#ifndef HS_HORIZONTAL
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5
#endif

// Stock objects.
#ifndef WHITE_BRUSH
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#endif

// Background modes, fill modes, mapping and graphics modes.
#ifndef TRANSPARENT
#define TRANSPARENT 1
#define OPAQUE 2
#endif
#ifndef ALTERNATE
#define ALTERNATE 1
#define WINDING 2
#endif
#ifndef MM_TEXT
#define MM_TEXT 1
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8
#endif
#ifndef GM_COMPATIBLE
#define GM_COMPATIBLE 1
#define GM_ADVANCED 2
#endif
#ifndef MWT_IDENTITY
#define MWT_IDENTITY 1
#define MWT_LEFTMULTIPLY 2
#define MWT_RIGHTMULTIPLY 3
#endif

// DrawText formats.
#ifndef DT_TOP
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#endif

// Text alignment of TextOut.
#ifndef TA_LEFT
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#endif

// Font weights, character sets and qualities.
#ifndef FW_NORMAL
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#endif
#ifndef ANSI_CHARSET
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#endif
#ifndef LF_FACESIZE
#define LF_FACESIZE 32
#endif
#ifndef OUT_DEFAULT_PRECIS
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#endif

#ifndef SRCCOPY
#define SRCCOPY 0x00CC0020
#endif

struct LOGPEN
{
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH
{
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

struct LOGFONTW
{
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW LOGFONT;
typedef LOGFONTW* LPLOGFONT;

struct TEXTMETRICW
{
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
};
typedef TEXTMETRICW TEXTMETRIC;
typedef TEXTMETRICW* LPTEXTMETRIC;

struct XFORM
{
    FLOAT eM11;
    FLOAT eM12;
    FLOAT eM21;
    FLOAT eM22;
    FLOAT eDx;
    FLOAT eDy;
};

// Logical pixels per inch of every device here.
#define AFX_DC_LOGPIXELS 96

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen();
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
         const DWORD* lpStyle = nullptr);
    CPen(const CPen& src);
    CPen& operator=(const CPen& src);
    ~CPen() override;

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    // A geometric or cosmetic pen with end caps, joins and, for PS_USERSTYLE, dash lengths.
    BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                   const DWORD* lpStyle = nullptr);
    BOOL CreatePenIndirect(const LOGPEN* lpLogPen);
    int GetLogPen(LOGPEN* pLogPen) const;
    BOOL IsCreated() const { return m_hObject != nullptr; }
    BOOL DeleteObject() override;

    // The Qt pen for this pen (a null pen for PS_NULL).
    QPen ToQPen() const;

    UINT m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;
    std::vector<DWORD> m_aUserStyle;
};

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush();
    explicit CBrush(COLORREF crColor);
    CBrush(int nIndex, COLORREF crColor);
    CBrush(const CBrush& src);
    CBrush& operator=(const CBrush& src);
    ~CBrush() override;

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    int GetLogBrush(LOGBRUSH* pLogBrush) const;
    BOOL IsCreated() const { return m_hObject != nullptr; }
    BOOL DeleteObject() override;

    UINT m_nStyle = BS_SOLID;
    COLORREF m_crColor = 0;
    int m_nHatch = 0;
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    CFont();
    CFont(const CFont& src);
    CFont& operator=(const CFont& src);
    ~CFont() override;

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename);
    // nPointSize in tenths of a point.
    BOOL CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, class CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, class CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;
    BOOL IsCreated() const { return m_hObject != nullptr; }
    BOOL DeleteObject() override;

    // The Qt font: a negative height is the character height in pixels, a positive one the cell
    // height, 0 the default size.
    QFont ToQFont() const;

    LOGFONT m_logFont;
};

#ifndef DFC_CAPTION
#define DFC_CAPTION 1
#define DFC_MENU 2
#define DFC_SCROLL 3
#define DFC_BUTTON 4
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_MENUARROW 0x0000
#define DFCS_MENUCHECK 0x0001
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_SCROLLCOMBOBOX 0x0005
#define DFCS_BUTTONCHECK 0x0000
#define DFCS_BUTTONRADIO 0x0004
#define DFCS_BUTTON3STATE 0x0008
#define DFCS_BUTTONPUSH 0x0010
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_CHECKED 0x0400
#define DFCS_FLAT 0x4000
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008
#endif

class CDC : public CObject
{
    DECLARE_DYNAMIC(CDC)
public:
    CDC();
    // Draws with a painter that the caller keeps open while this DC lives.
    explicit CDC(QPainter* pPainter);
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(QPainter* pPainter);
    QPainter* Detach();
    QPainter* GetPainter() const { return m_pPainter; }
    // The handle of this DC (its address in the handle table of DCs).
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC hDC);

    // Selection; each returns the object selected before (a stock object at first).
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int nIndex);
    static CGdiObject* GetStockObject(int nIndex);
    CPen* GetCurrentPen() const { return m_pCurPen; }
    CBrush* GetCurrentBrush() const { return m_pCurBrush; }
    CFont* GetCurrentFont() const { return m_pCurFont; }

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const { return m_state.crText; }
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const { return m_state.crBk; }
    int SetBkMode(int nBkMode);
    int GetBkMode() const { return m_state.nBkMode; }
    int SetPolyFillMode(int nPolyFillMode);
    int GetPolyFillMode() const { return m_state.nFillMode; }
    UINT SetTextAlign(UINT nFlags);
    UINT GetTextAlign() const { return m_state.nTextAlign; }

    // State: SaveDC returns a level for RestoreDC (a negative level counts back from the top).
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    // Coordinates.
    int SetMapMode(int nMapMode);
    int GetMapMode() const { return m_state.nMapMode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint GetWindowOrg() const { return m_state.ptWindowOrg; }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const { return m_state.ptViewportOrg; }
    CPoint OffsetViewportOrg(int nWidth, int nHeight);
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    CSize GetWindowExt() const { return m_state.szWindowExt; }
    CSize GetViewportExt() const { return m_state.szViewportExt; }
    int SetGraphicsMode(int iMode);
    int GetGraphicsMode() const { return m_state.nGraphicsMode; }
    BOOL SetWorldTransform(const XFORM* pXform);
    BOOL ModifyWorldTransform(const XFORM* pXform, DWORD iMode);
    BOOL GetWorldTransform(XFORM* pXform) const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;

    // Clipping, in logical coordinates.
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    // Clips to a polygon (alternate rule); SelectClipPolygon(nullptr, 0) removes every clip.
    int SelectClipPolygon(const POINT* lpPoints, int nCount);
    int GetClipBox(LPRECT lpRect) const;
    // Whether some part of the rectangle may show through the clip. A clip made of many pieces
    // (the region of a partial repaint) is tested piece by piece, so a caller can skip what lies
    // in the gaps between them; the answer errs towards TRUE, never towards FALSE.
    BOOL RectVisible(LPCRECT lpRect) const;

    // Lines and figures.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const { return m_ptCurrent; }
    BOOL Polyline(const POINT* lpPoints, int nCount);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    BOOL PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect);
    // Counter-clockwise from the radial through ptStart to the radial through ptEnd.
    BOOL Arc(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
    BOOL Chord(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
    BOOL Pie(LPCRECT lpRect, POINT ptStart, POINT ptEnd);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    // Reads back from an image DC; CLR_INVALID elsewhere.
    COLORREF GetPixel(int x, int y) const;

    // Text.
    BOOL TextOut(int x, int y, const CString& str);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    CSize GetTextExtent(const CString& str) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;

    // The image this DC draws into, when it draws into one (a memory DC: its selected bitmap).
    virtual QImage* GetImage() const;
    // Copies a block of another image DC's pixels here.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop = SRCCOPY);

    // Lines from the current position through the points; the last point becomes the current one.
    BOOL PolylineTo(const POINT* lpPoints, int nCount);
    // A dotted frame drawn by inverting the pixels under it; drawing it twice takes it away.
    void DrawFocusRect(LPCRECT lpRect);

    // Inverts every pixel of the rectangle: twice restores what was there.
    void InvertRect(LPCRECT lpRect);
    // The classic control faces: push buttons, check boxes, scroll and combo arrows, caption and
    // menu glyphs (DFC_* type, DFCS_* state).
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState);
    // A bitmap or icon handle (DST_BITMAP, DST_ICON) at a point, scaled to the size (0 x 0: its own).
    BOOL DrawState(CPoint pt, CSize size, HGDIOBJ hImage, UINT nFlags);
    // An icon at its own size (DI_DEFAULTSIZE) or scaled to cx x cy.
    BOOL DrawIconEx(int x, int y, HICON hIcon, int cx, int cy, UINT nFlags);

    // Memory DC: draws into the bitmap selected into it (a 1 x 1 one at first) until DeleteDC.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    BOOL IsMemoryDC() const { return m_pMem != nullptr; }
    // Selects a bitmap into a memory DC; returns the one it replaced, null when this is no memory
    // DC or the bitmap holds no image.
    CBitmap* SelectObject(CBitmap* pBitmap);

protected:
    // Text turned by the font's escapement (tenths of a degree, counter-clockwise).
    void TextOutRotated(int x, int y, const CString& str, int nEscapement);

    struct State
    {
        COLORREF crText = 0;
        COLORREF crBk = 0xFFFFFF;
        int nBkMode = OPAQUE;
        int nFillMode = ALTERNATE;
        UINT nTextAlign = TA_LEFT | TA_TOP;
        int nMapMode = MM_TEXT;
        CPoint ptWindowOrg;
        CPoint ptViewportOrg;
        CSize szWindowExt = CSize(1, 1);
        CSize szViewportExt = CSize(1, 1);
        int nGraphicsMode = GM_COMPATIBLE;
        XFORM xform = {1, 0, 0, 1, 0, 0};
    };
    struct Saved;
    // What the DC keeps of the painter so that unchanged pens, fonts, transforms and clips are not
    // handed to it again (Dc.cpp).
    struct Impl;

    void ApplyTransform();
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    // The painter with the pen and brush for a figure; FALSE without a painter.
    BOOL Ready() const { return m_pPainter != nullptr; }
    void FillWithBrush(const class QPainterPath& path, const CBrush& brush);
    void StrokeAndFill(const class QPainterPath& path, bool fill);
    // The cheaper forms of figures that give the same pixels, where the painter allows them.
    bool FillBoxFast(const RECT& rc, const CBrush& brush);
    bool FrameBoxFast(int l, int t, int w, int h);
    bool EllipseFast(int l, int t, int w, int h);

    QPainter* m_pPainter = nullptr;
    State m_state;
    CPen m_curPen;
    CBrush m_curBrush;
    CFont m_curFont;
    CPen* m_pCurPen = nullptr;
    CBrush* m_pCurBrush = nullptr;
    CFont* m_pCurFont = nullptr;
    CPoint m_ptCurrent;
    // Saved levels, kept for reuse: the first m_nSaved are in use.
    std::vector<std::unique_ptr<Saved>> m_saved;
    int m_nSaved = 0;
    std::unique_ptr<Impl> m_impl;
    // The state of a memory DC (DcMemory.cpp); null for other DCs.
    std::shared_ptr<struct AfxMemDCState> m_pMem;
};

// Draws into an image; the image must outlive the DC.
class CImageDC : public CDC
{
    DECLARE_DYNAMIC(CImageDC)
public:
    explicit CImageDC(QImage& image);
    ~CImageDC() override;
    QImage* GetImage() const override { return m_pImage; }

private:
    QImage* m_pImage;
    std::unique_ptr<QPainter> m_painter;
};

// The DC of a window's paint event; only valid inside OnPaint.
struct PAINTSTRUCT
{
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    CWnd* m_pWnd;
    std::unique_ptr<QPainter> m_painter;
};

#ifndef CLR_INVALID
#define CLR_INVALID 0xFFFFFFFF
#endif

// COLORREF to and from Qt's colours.
class QColor;
QColor AfxColorFromRef(COLORREF cr);
COLORREF AfxRefFromColor(const QColor& color);
