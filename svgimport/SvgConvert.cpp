#include "svgimport/SvgConvert.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FODrawPortsShape.h"
#include "figkit/FOEllipseShape.h"
#include "figkit/FOGroupShape.h"
#include "figkit/FOImageShape.h"
#include "figkit/FOLineShape.h"
#include "figkit/FOPathShape.h"
#include "figkit/FOPolygonShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOStaticShape.h"
#include "svgimport/SvgPathData.h"
#include "svgimport/SvgTransform.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
// Elements nested deeper than this are not converted.
constexpr int kMaxDepth = 256;
// Point lists longer than this are cut.
constexpr size_t kMaxListNumbers = 2000000;

CString Trimmed(CString s)
{
    s.Trim();
    return s;
}

// The first number of an "x"/"y"/"dx"/"dy" list; 0 when empty or absent.
double FirstOfList(const CXDNamedNode& attrs, const wchar_t* name)
{
    const std::vector<double> v = SvgReadNumberList(attrs.GetNodeText(name, CString()), 1);
    return v.empty() ? 0.0 : v.front();
}

int AttrInt(const CXDNamedNode& attrs, const wchar_t* name)
{
    return SvgCoord(double(attrs.GetNodeInt(name, 0)));
}
} // namespace

SvgGroupContext::SvgGroupContext()
{
    pGroup = new CFOGroupShape;
    pGroup->AddRef();
    CRect rc(0, 0, 100, 100);
    pGroup->Create(rc, CString());
}

SvgGroupContext::~SvgGroupContext()
{
    if (pGroup)
        pGroup->Release();
}

void CFOPSvgConvert::ApplyStyle(CFODrawShape* pShape, const SvgStyle& style)
{
    if (!pShape)
        return;
    // The library numbers pen styles from "no line" (0): a Windows style s is library style s + 1.
    if (style.nPenStyle != -1)
        pShape->SetPenStyle(std::clamp(style.nPenStyle, 0, 4) + 1);
    pShape->SetLineWidth(style.nLineWidth);
    pShape->SetLineColor(style.crLine);
    if (style.nNullPen != 0)
    {
        if (style.nNullPen == 1)
            pShape->SetLineWidth(0);
        pShape->SetNullPen(style.nNullPen);
    }
    if (style.nLineWidth == 0)
        pShape->SetNullPen(TRUE);
    if (style.nMarkerStart)
        pShape->SetStartArrowType2(3);
    if (style.nMarkerEnd)
        pShape->SetEndArrowType2(3);
    if (style.nMarkerStart || style.nMarkerEnd)
    {
        pShape->DoEndPropChange();
        pShape->UpdateComp();
    }
    pShape->SetBrushType(style.nBrushType);
    pShape->SetBkColor(style.crFill);
    pShape->SetPatternColor(style.crPattern);
    if (auto* ports = dynamic_cast<CFODrawPortsShape*>(pShape))
        ports->RemoveAllPorts();
    if (m_pModel)
        pShape->SetObjectName(m_pModel->GetUniqueName(pShape->GetType()));
}

void CFOPSvgConvert::ReadPresentationAttributes(const CXDNamedNode& attrs, SvgStyle& style)
{
    CString value;
    if (attrs.Lookup(L"fill", value))
        ParseFill(value, style, &m_fills, m_settings);
    style.fFillOpacity = attrs.GetNodeFloat(L"fill-opacity", style.fFillOpacity);
    if (attrs.Lookup(L"stroke", value))
        ParseStroke(value, style);
    style.fStrokeOpacity = attrs.GetNodeFloat(L"stroke-opacity", style.fStrokeOpacity);
    // Only a width the element gives is scaled; an inherited one is already.
    if (attrs.Lookup(L"stroke-width", value))
        ParseStrokeWidth(SvgReadNumber(value), style, m_settings);
    style.nLineCap = attrs.GetNodeInt(L"stroke-linecap", style.nLineCap);
    style.nLineJoin = attrs.GetNodeInt(L"stroke-LineJoin", style.nLineJoin);
    ParseDashArray(style, attrs.GetNodeText(L"stroke-dasharray", CString()));
    if (attrs.Lookup(L"marker-start", value) && !value.IsEmpty() && value != L"none")
        style.nMarkerStart = 1;
    if (attrs.Lookup(L"marker-end", value) && !value.IsEmpty() && value != L"none")
        style.nMarkerEnd = 1;
}

void CFOPSvgConvert::ReadDocumentUnit(CXDXmlNode& svg)
{
    CXDNamedNode attrs = svg.GetNamedNode();
    for (const wchar_t* name : {L"width", L"height"})
    {
        CString v = Trimmed(attrs.GetNodeText(name, CString()));
        if (v.IsEmpty() || v.Right(1) == L"%")
            continue;
        static const struct
        {
            const wchar_t* suffix;
            int unit;
        } units[] = {{L"pt", 0}, {L"cm", 1}, {L"mm", 2}, {L"in", 3}, {L"px", 4}};
        const CString tail = v.Right(2);
        for (const auto& u : units)
            if (tail == u.suffix)
                m_nUnit = u.unit;
    }
}

void CFOPSvgConvert::ConvertDocument(CXDXml& doc)
{
    CXDXmlNode list = doc.GetNodeList(L"svg");
    const int n = list.GetNodeListSize();
    for (int i = 0; i < n; ++i)
    {
        CXDXmlNode svg = list.GetItemNode(i);
        ReadDocumentUnit(svg);
        ConvertElement(svg, nullptr, 0);
        if (m_progress.IsShowing())
            m_progress.UpdateProgress(5);
    }
}

void CFOPSvgConvert::ReadDefinitions(CXDXmlNode& defs, int depth)
{
    CXDXmlNode children = defs.GetChildNodes();
    const int n = children.GetNodeListSize();
    for (int i = 0; i < n; ++i)
    {
        CXDXmlNode child = children.GetItemNode(i);
        if (child.GetXmlNode().GetType() != CXmlNode::XML_ELEMENT)
            continue;
        const CString name = Trimmed(child.GetXmlNode().GetLocalName());
        if (name.CompareNoCase(L"linearGradient") == 0 || name.CompareNoCase(L"radialGradient") == 0)
            ReadGradient(child, name, m_fills);
        else if (name.CompareNoCase(L"svg") == 0)
            ConvertElement(child, nullptr, depth + 1);
    }
}

void CFOPSvgConvert::FinishShape(CFODrawShape* pShape, const CString& transform, SvgGroupContext* pParent)
{
    if (!pShape)
        return;
    if (!transform.IsEmpty())
    {
        if (auto* group = dynamic_cast<CFOCompositeShape*>(pShape))
            ApplyGroupTransform(group, transform);
        else
        {
            SvgTransform t;
            ApplyShapeTransform(pShape, ParseTransformList(t, transform));
        }
    }
    if (pParent)
    {
        pParent->pGroup->AddShape(pShape);
        pShape->SetParentComp(pParent->pGroup);
    }
    else
        m_result.AddTail(pShape);
    // The group or the result list holds it now.
    pShape->Release();
}

CFODrawShape* CFOPSvgConvert::MakeText(CXDXmlNode& node, const CXDNamedNode& attrs, const SvgStyle& style,
                                       bool bSpan)
{
    auto* shape = new CFOStaticShape;
    shape->AddRef();
    int x = SvgCoord(FirstOfList(attrs, L"x"));
    int y = SvgCoord(FirstOfList(attrs, L"y"));
    if (!bSpan)
    {
        x = SvgCoord(double(x) + FirstOfList(attrs, L"dx"));
        y = SvgCoord(double(y) + FirstOfList(attrs, L"dy"));
    }
    const CString face = attrs.GetNodeText(L"font-family", CString());
    int s = int(std::clamp(std::wcstol(attrs.GetNodeText(L"font-size", CString()).GetString(), nullptr, 10),
                           -100000L, 100000L));
    if (s >= 0 && s <= 9)
        s = 9;
    else if (s >= -6 && s <= -1)
        s = -6;
    const CString weightText = attrs.GetNodeText(L"font-weight", CString());
    int weight = 0;
    if (weightText == L"bold")
        weight = 700;
    else if (weightText == L"lighter")
        weight = 100;
    else if (weightText == L"bolder")
        weight = 900;
    else
        weight = std::clamp(int(std::wcstol(weightText.GetString(), nullptr, 10)), 0, 1000);
    const CString decoration = attrs.GetNodeText(L"text-decoration", CString());
    const BOOL strike = decoration == L"line-through";
    const BOOL underline = !strike && decoration == L"underline";
    const BOOL italic = attrs.GetNodeText(L"font-style", CString()) == L"italic";
    COLORREF fontColour = 0;
    CString strokeText;
    if (attrs.Lookup(L"stroke", strokeText) && !Trimmed(strokeText).IsEmpty())
        ParseColour(strokeText, fontColour);
    const int box = bSpan ? 5 * s / 4 : s / 2;
    CRect rc(x - s / 4, y - (3 * box) / 4, x - s / 4 + 50, y - (3 * box) / 4 + box);
    rc.NormalizeRect();
    shape->Create(rc, CString());
    shape->SetObjectCaption(node.GetOwnText().Trim());
    shape->SetFaceName(face);
    shape->SetStrikeout(strike);
    shape->SetUnderline(underline);
    shape->SetBrushType(0);
    shape->SetItalic(italic);
    int p;
    if (s > 0)
    {
        p = m_nUnit == 2 ? int(0.8 * s) : s;
        if (m_settings.dTextScale != 1.0 && m_settings.dTextScale > 0)
            p = int(p / m_settings.dTextScale);
        if (p <= 6)
            p = 8;
    }
    else
        p = 9;
    shape->SetPointSize(std::min(p, 1000));
    shape->SetWeight(weight);
    shape->SetFontColor(fontColour);
    shape->AdjustTextBoxSize(0);
    const CRect snap = shape->GetSnapRect();
    const CSize size =
        shape->GetTextSize(nullptr, CRect(snap.left, snap.top, snap.left + 100000, snap.top + 100000));
    ApplyStyle(shape, style);
    shape->SetBrushType(0);
    shape->PositionShape(
        CRect(snap.left, snap.top, std::max(snap.right, snap.left + size.cx), snap.top + size.cy + 2));
    return shape;
}

CFODrawShape* CFOPSvgConvert::MakeImage(const CXDNamedNode& attrs)
{
    CString ref;
    for (const wchar_t* name : {L"xlinkhref", L"xlink:href", L"href"})
        if (attrs.Lookup(name, ref))
            break;
    ref.Trim();
    CString lower = ref;
    lower.MakeLower();
    if (lower.Left(5) == L"data:")
        return nullptr;
    // Relative to the drawing's folder; a leading "/" or "./" is dropped, "\" is taken as "/".
    ref.Replace(L'\\', L'/');
    if (ref.Left(2) == L"./")
        ref = ref.Mid(2);
    else if (ref.Left(1) == L"/")
        ref = ref.Mid(1);
    CString file;
    if (!ref.IsEmpty())
    {
        const QString folder = QFileInfo(QString::fromStdWString(m_strPath.str())).absolutePath();
        file = CString(QDir(folder).filePath(QString::fromStdWString(ref.str())).toStdWString());
    }
    CString ext = file.Right(4);
    if (ext.Find(L'.') >= 0)
        ext = file.Right(3);
    ext.MakeLower();
    ext.Trim(L".");
    const int x = AttrInt(attrs, L"x"), y = AttrInt(attrs, L"y");
    const int w = AttrInt(attrs, L"width"), h = AttrInt(attrs, L"height");
    CRect rc(x, y, SvgCoord(double(x) + w), SvgCoord(double(y) + h));
    auto* shape = new CFOImageShape;
    shape->AddRef();
    CRect create = rc;
    create.NormalizeRect();
    shape->Create(create, CString());
    shape->LoadImageW(file, CFODrawHelper::FindType(ext), 0xFFFFFF);
    shape->PositionShape(create);
    return shape;
}

void CFOPSvgConvert::ConvertElement(CXDXmlNode node, SvgGroupContext* pParent, int depth)
{
    if (depth >= kMaxDepth)
        return;
    CXDXmlNode children = node.GetChildNodes();
    const int n = children.GetNodeListSize();
    for (int i = 0; i < n; ++i)
    {
        CXDXmlNode child = children.GetItemNode(i);
        if (child.GetXmlNode().GetType() != CXmlNode::XML_ELEMENT)
            continue;
        CXDNamedNode attrs = child.GetNamedNode();
        SvgStyle style;
        if (pParent)
            style = pParent->style;
        const CString styleText = attrs.GetNodeText(L"style", CString());
        if (!styleText.IsEmpty())
            ParseStyleText(style, styleText, &m_fills, m_settings);
        else
            ReadPresentationAttributes(attrs, style);
        const CString transform = Trimmed(attrs.GetNodeText(L"transform", CString()));
        const CString name = Trimmed(child.GetXmlNode().GetLocalName());
        CFODrawShape* shape = nullptr;
        bool fromGroup = false;
        if (name.CompareNoCase(L"g") == 0)
        {
            fromGroup = true;
            SvgGroupContext context;
            context.style = style;
            ConvertElement(child, &context, depth + 1);
            CFOGroupShape* group = context.pGroup;
            const int count = group->GetCompCount();
            if (count >= 2)
            {
                group->UpdateComp();
                group->AddRef();
                shape = group;
            }
            else if (count == 1)
            {
                CFOShapePtr<CFODrawShape> only = group->GetCompList().GetHead();
                group->RemoveShape(only);
                only->SetParentComp(nullptr);
                shape = only.Detach();
            }
        }
        else if (name.CompareNoCase(L"svg") == 0 || name.CompareNoCase(L"a") == 0)
        {
            ConvertElement(child, nullptr, depth + 1);
            continue;
        }
        else if (name.CompareNoCase(L"defs") == 0)
        {
            ReadDefinitions(child, depth);
            continue;
        }
        else if (name.CompareNoCase(L"ellipse") == 0 || name.CompareNoCase(L"circle") == 0)
        {
            const int cx = AttrInt(attrs, L"cx"), cy = AttrInt(attrs, L"cy");
            int rx, ry;
            if (name.CompareNoCase(L"circle") == 0)
                rx = ry = AttrInt(attrs, L"r");
            else
            {
                rx = AttrInt(attrs, L"rx");
                ry = AttrInt(attrs, L"ry");
            }
            CRect rc(cx - rx, cy - ry, cx + rx, cy + ry);
            rc.NormalizeRect();
            shape = new CFOEllipseShape;
            shape->AddRef();
            shape->Create(rc, CString());
        }
        else if (name.CompareNoCase(L"text") == 0)
        {
            if (!m_settings.nTextImport)
                continue;
            // One text shape for the element's own text and one for each "tspan".
            if (!child.GetOwnText().Trim().IsEmpty())
                FinishShape(MakeText(child, attrs, style, false), transform, pParent);
            CXDXmlNode spans = child.GetChildNodes();
            const int m = spans.GetNodeListSize();
            for (int k = 0; k < m; ++k)
            {
                CXDXmlNode span = spans.GetItemNode(k);
                if (span.GetXmlNode().GetType() != CXmlNode::XML_ELEMENT ||
                    Trimmed(span.GetXmlNode().GetLocalName()) != L"tspan")
                    continue;
                CXDNamedNode spanAttrs = span.GetNamedNode();
                SvgStyle spanStyle = style;
                const CString spanStyleText = spanAttrs.GetNodeText(L"style", CString());
                if (!spanStyleText.IsEmpty())
                    ParseStyleText(spanStyle, spanStyleText, &m_fills, m_settings);
                FinishShape(MakeText(span, spanAttrs, spanStyle, true), transform, pParent);
            }
            continue;
        }
        else if (name.CompareNoCase(L"rect") == 0)
        {
            const int x = AttrInt(attrs, L"x"), y = AttrInt(attrs, L"y");
            CRect rc(x, y, SvgCoord(double(x) + AttrInt(attrs, L"width")),
                     SvgCoord(double(y) + AttrInt(attrs, L"height")));
            rc.NormalizeRect();
            shape = new CFORectShape;
            shape->AddRef();
            shape->Create(rc, CString());
        }
        else if (name.CompareNoCase(L"line") == 0)
        {
            const POINT pts[2] = {{AttrInt(attrs, L"x1"), AttrInt(attrs, L"y1")},
                                  {AttrInt(attrs, L"x2"), AttrInt(attrs, L"y2")}};
            auto* line = new CFOLineShape;
            line->AddRef();
            line->Create(pts, 2);
            shape = line;
        }
        else if (name.CompareNoCase(L"polygon") == 0 || name.CompareNoCase(L"polyline") == 0)
        {
            const std::vector<double> v =
                SvgReadNumberList(attrs.GetNodeText(L"points", CString()), kMaxListNumbers);
            std::vector<CPoint> pts;
            pts.reserve(v.size() / 2 + 1);
            for (size_t k = 0; k < v.size(); k += 2)
                pts.push_back(CPoint(SvgCoord(v[k]), SvgCoord(k + 1 < v.size() ? v[k + 1] : 0.0)));
            if (pts.empty())
                continue;
            if (name.CompareNoCase(L"polygon") == 0)
            {
                auto* poly = new CFOPolygonShape;
                poly->AddRef();
                poly->Create(pts.data(), int(pts.size()));
                shape = poly;
            }
            else
            {
                auto* line = new CFOLineShape;
                line->AddRef();
                line->Create(pts.data(), int(pts.size()));
                shape = line;
            }
        }
        else if (name.CompareNoCase(L"path") == 0)
        {
            CString d = attrs.GetNodeText(L"d", CString());
            d.Remove(L'\r');
            d.Remove(L'\n');
            d.Remove(L'\t');
            if (Trimmed(d).IsEmpty())
                continue;
            FOPSimpleCompositePolygon polygon(16, 16);
            bool closed = false;
            ParsePathData(d, polygon, closed);
            if (polygon.Count() < 1)
                continue;
            auto* path = new CFOPathShape;
            path->AddRef();
            path->Create(polygon, polygon.IsAllSame() && closed ? CFOPathShape::FO_PATH_CLOSED
                                                                : CFOPathShape::FO_PATH_OPEN);
            shape = path;
        }
        else if (name.CompareNoCase(L"image") == 0)
        {
            shape = MakeImage(attrs);
            if (!shape)
                continue;
        }
        else
            continue;
        if (!shape)
            continue;
        if (!fromGroup)
            ApplyStyle(shape, style);
        FinishShape(shape, transform, pParent);
    }
}
