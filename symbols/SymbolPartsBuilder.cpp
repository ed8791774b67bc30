#include "symbols/SymbolPartsBuilder.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOLineShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPolygonShape.h"
#include "figkit/FORectShape.h"
#include "mfc/Archive.h"
#include "mfc/File.h"

#include <cstdlib>

namespace SymbolPartsBuilder
{
namespace
{
const COLORREF kOutline = RGB(40, 40, 40);
const COLORREF kSteel = RGB(205, 212, 222);
const COLORREF kSteelDark = RGB(120, 132, 150);
const COLORREF kWater = RGB(40, 110, 220);
const COLORREF kGreen = RGB(0, 170, 70);
const COLORREF kRed = RGB(210, 30, 30);
const COLORREF kPanel = RGB(225, 225, 220);
// Brush: gradient from the background colour to the pattern colour, left to right.
const int kGradientLR = FO_BRUSH_GRADIENT_FIRST + 1;

// Styles the part, names it and adds it to the composite.
template <class T>
T* Add(CFOCompositeShape& comp, T* shape, COLORREF crBk, COLORREF crLine, int nBrush, LPCWSTR lpszName = L"",
       LPCWSTR lpszKey1 = L"")
{
    shape->RemoveAllPorts();
    shape->SetBkColor(crBk);
    // Gradients run from the colour to a darker shade of it.
    shape->SetPatternColor(
        nBrush >= FO_BRUSH_GRADIENT_FIRST
            ? RGB(GetRValue(crBk) * 3 / 5, GetGValue(crBk) * 3 / 5, GetBValue(crBk) * 3 / 5)
            : crBk);
    shape->SetLineColor(crLine);
    shape->SetBrushType(nBrush);
    shape->SetNullPen(crLine == COLORREF(-1));
    shape->SetObjectName(lpszName);
    shape->SetKeyId1(lpszKey1);
    comp.AddShape(shape);
    return shape;
}

CFORectShape* Rect(CFOCompositeShape& comp, CRect rc, COLORREF crBk, COLORREF crLine = kOutline,
                   int nBrush = FO_BRUSH_SOLID, LPCWSTR lpszName = L"", LPCWSTR lpszKey1 = L"")
{
    auto* shape = new CFORectShape;
    shape->Create(rc);
    return Add(comp, shape, crBk, crLine, nBrush, lpszName, lpszKey1);
}

CFOEllipseShape2* Ellipse(CFOCompositeShape& comp, CRect rc, COLORREF crBk, COLORREF crLine = kOutline,
                          int nBrush = FO_BRUSH_SOLID)
{
    auto* shape = new CFOEllipseShape2;
    shape->Create(rc);
    return Add(comp, shape, crBk, crLine, nBrush);
}

CFOPolygonShape* Polygon(CFOCompositeShape& comp, std::initializer_list<POINT> pts, COLORREF crBk,
                         COLORREF crLine = kOutline, LPCWSTR lpszName = L"")
{
    auto* shape = new CFOPolygonShape;
    shape->Create(pts.begin(), int(pts.size()));
    return Add(comp, shape, crBk, crLine, FO_BRUSH_SOLID, lpszName);
}

void Line(CFOCompositeShape& comp, CPoint from, CPoint to, COLORREF crLine = kOutline, int nWidth = 1)
{
    auto* shape = new CFOLineShape;
    const POINT pts[2] = {{from.x, from.y}, {to.x, to.y}};
    shape->Create(pts, 2);
    Add(comp, shape, crLine, crLine, FO_BRUSH_NONE)->SetLineWidth(nWidth);
}

void Label(CFOCompositeShape& comp, CRect rc, LPCWSTR lpszText, COLORREF crText, int nPoints = 8)
{
    auto* shape = new CFOPSimpleLabelShape;
    shape->Create(rc, lpszText);
    Add(comp, shape, RGB(255, 255, 255), COLORREF(-1), FO_BRUSH_NONE);
    shape->SetFontColor(crText);
    shape->SetPointSize(nPoints);
    shape->SetWeight(700);
}

// A nested group of parts; the caller fills it before it joins comp.
CFOCompositeShape* Group(LPCWSTR lpszName, LPCWSTR lpszKey1)
{
    auto* group = new CFOCompositeShape;
    group->SetObjectName(lpszName);
    group->SetKeyId1(lpszKey1);
    return group;
}

void Join(CFOCompositeShape& comp, CFOCompositeShape* group)
{
    group->RemoveAllPorts();
    comp.AddShape(group);
}

// Tank with a stirrer "RR" turning in its liquid.
void BuildStirredTank(CFOCompositeShape& c)
{
    Rect(c, CRect(52, 0, 68, 12), kSteelDark);                           // drive
    Ellipse(c, CRect(10, 140, 110, 160), kSteel, kOutline, kGradientLR); // bottom
    Rect(c, CRect(10, 20, 110, 150), kSteel, COLORREF(-1), kGradientLR); // shell
    Rect(c, CRect(12, 62, 108, 150), kWater, COLORREF(-1));              // liquid
    Ellipse(c, CRect(12, 141, 108, 159), kWater, COLORREF(-1));
    Line(c, CPoint(10, 20), CPoint(10, 150));
    Line(c, CPoint(110, 20), CPoint(110, 150));
    Ellipse(c, CRect(10, 10, 110, 30), kSteel, kOutline, kGradientLR); // top
    Rect(c, CRect(58, 12, 62, 104), kSteelDark, COLORREF(-1));         // shaft
    Polygon(c, {{26, 98}, {58, 103}, {62, 103}, {94, 98}, {94, 112}, {62, 107}, {58, 107}, {26, 112}},
            RGB(250, 200, 40), kOutline, L"RR");
}

// Tank with a level scale "KEDU" and its rising mark "MARK".
void BuildLevelTank(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 10, 100, 170), kSteel, kOutline, kGradientLR);
    Rect(c, CRect(0, 0, 100, 12), kSteelDark);
    Rect(c, CRect(0, 160, 100, 170), kSteelDark);
    Rect(c, CRect(60, 25, 84, 155), RGB(255, 255, 255), kOutline, FO_BRUSH_SOLID, L"KEDU");
    for (int y = 35; y < 155; y += 10)
        Line(c, CPoint(84, y), CPoint(y % 50 == 5 ? 94 : 90, y));
    Rect(c, CRect(62, 151, 82, 155), kWater, COLORREF(-1), FO_BRUSH_SOLID, L"MARK");
    Label(c, CRect(8, 70, 56, 90), L"LEVEL", RGB(30, 30, 60));
}

// Motor "MOTOR" running along its conveyor band "BAND".
void BuildMotor(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 0, 288, 84), kPanel, RGB(160, 160, 160));
    Rect(c, CRect(40, 70, 50, 84), kSteelDark);
    Rect(c, CRect(238, 70, 248, 84), kSteelDark);
    CFOCompositeShape* band = Group(L"BAND", L"");
    Rect(*band, CRect(24, 36, 264, 68), RGB(70, 70, 70), kOutline, FO_BRUSH_HATCH_FIRST + 3);
    Ellipse(*band, CRect(24, 36, 56, 68), RGB(150, 150, 150));
    Ellipse(*band, CRect(232, 36, 264, 68), RGB(150, 150, 150));
    Ellipse(*band, CRect(36, 48, 44, 56), kOutline);
    Ellipse(*band, CRect(244, 48, 252, 56), kOutline);
    Join(c, band);
    CFOCompositeShape* motor = Group(L"MOTOR", L"");
    Rect(*motor, CRect(176, 42, 220, 74), kGreen, kOutline, kGradientLR);
    for (int x = 182; x < 216; x += 8)
        Line(*motor, CPoint(x, 45), CPoint(x, 71), RGB(0, 90, 40));
    Rect(*motor, CRect(220, 54, 228, 62), kSteelDark);
    Ellipse(*motor, CRect(190, 50, 206, 66), RGB(255, 255, 255));
    Label(*motor, CRect(190, 50, 206, 66), L"M", RGB(0, 0, 0), 7);
    Join(c, motor);
}

// Key switch: a lever up ("Key_On") or down ("Key_Off").
void BuildKeySwitch(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 0, 60, 96), kPanel);
    Ellipse(c, CRect(14, 34, 46, 66), kSteelDark);
    CFOCompositeShape* on = Group(L"", L"Key_On");
    Rect(*on, CRect(26, 8, 34, 50), kGreen);
    Label(*on, CRect(4, 74, 56, 92), L"ON", kGreen);
    Join(c, on);
    CFOCompositeShape* off = Group(L"", L"Key_Off");
    Rect(*off, CRect(26, 50, 34, 88), kRed);
    Label(*off, CRect(4, 6, 56, 24), L"OFF", kRed);
    Join(c, off);
}

// Rocker switch: the pressed half shows "I" ("S_ON") or "O" ("S_OFF").
void BuildRockerSwitch(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 0, 50, 80), RGB(60, 60, 60));
    Rect(c, CRect(6, 6, 44, 74), RGB(30, 30, 30));
    CFOCompositeShape* on = Group(L"", L"S_ON");
    Rect(*on, CRect(8, 8, 42, 40), kGreen, kOutline, kGradientLR);
    Label(*on, CRect(8, 12, 42, 36), L"I", RGB(255, 255, 255), 12);
    Join(c, on);
    CFOCompositeShape* off = Group(L"", L"S_OFF");
    Rect(*off, CRect(8, 40, 42, 72), kRed, kOutline, kGradientLR);
    Label(*off, CRect(8, 44, 42, 68), L"O", RGB(255, 255, 255), 12);
    Join(c, off);
}

// Lamp switch: a lit green lamp ("S_ON") or a dark one ("S_OFF").
void BuildLampSwitch(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 0, 70, 86), kPanel);
    Ellipse(c, CRect(6, 6, 64, 64), kSteelDark);
    CFOCompositeShape* on = Group(L"", L"S_ON");
    Ellipse(*on, CRect(12, 12, 58, 58), RGB(60, 230, 90));
    Label(*on, CRect(0, 66, 70, 84), L"ON", kGreen);
    Join(c, on);
    CFOCompositeShape* off = Group(L"", L"S_OFF");
    Ellipse(*off, CRect(12, 12, 58, 58), RGB(70, 80, 70));
    Label(*off, CRect(0, 66, 70, 84), L"OFF", RGB(90, 90, 90));
    Join(c, off);
}

// Push button "CLICK_AREA" with its state texts and the state bar "SHOW_BAR" below.
void BuildBarSwitch(CFOCompositeShape& c)
{
    Rect(c, CRect(0, 0, 90, 100), kPanel);
    Rect(c, CRect(15, 15, 75, 55), RGB(245, 245, 245), kOutline, FO_BRUSH_SOLID, L"", L"CLICK_AREA");
    CFOCompositeShape* on = Group(L"", L"S_ON");
    Label(*on, CRect(15, 25, 75, 45), L"ON", kGreen, 11);
    Join(c, on);
    CFOCompositeShape* off = Group(L"", L"S_OFF");
    Label(*off, CRect(15, 25, 75, 45), L"OFF", kRed, 11);
    Join(c, off);
    Rect(c, CRect(15, 68, 75, 84), kRed, kOutline, FO_BRUSH_SOLID, L"", L"SHOW_BAR");
}
} // namespace

const std::vector<Resource>& Resources()
{
    static const std::vector<Resource> kResources = {
        {109, "stirredtank.cmp"}, {110, "leveltank.cmp"}, {111, "motor.cmp"}, {112, "keyswitch.cmp"},
        {113, "barswitch.cmp"},   {135, "rocker.cmp"},    {136, "lamp.cmp"},
    };
    return kResources;
}

BOOL Build(UINT nId, CFOCompositeShape& comp)
{
    switch (nId)
    {
    case 109:
        BuildStirredTank(comp);
        return TRUE;
    case 110:
        BuildLevelTank(comp);
        return TRUE;
    case 111:
        BuildMotor(comp);
        return TRUE;
    case 112:
        BuildKeySwitch(comp);
        return TRUE;
    case 113:
    case 134:
        BuildBarSwitch(comp);
        return TRUE;
    case 135:
        BuildRockerSwitch(comp);
        return TRUE;
    case 136:
        BuildLampSwitch(comp);
        return TRUE;
    default:
        return FALSE;
    }
}

std::vector<BYTE> Store(UINT nId)
{
    CFOCompositeShape comp;
    if (!Build(nId, comp))
        return {};
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        comp.Serialize(ar);
        ar.Close();
    }
    const size_t size = size_t(file.GetLength());
    BYTE* block = file.Detach();
    std::vector<BYTE> bytes(block, block + size);
    std::free(block);
    return bytes;
}
} // namespace SymbolPartsBuilder
