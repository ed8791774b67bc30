#include "editor/ToolBoxDefaults.h"

#include "activex/InstrumentControl.h"
#include "com/Guid.h"
#include "editor/ToolBoxIndex.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOToolBoxPage.h"
#include "instruments/FOiControlShape.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace
{
struct ItemSpec
{
    UINT nType;
    LPCWSTR lpszCaption;
    LPCWSTR lpszDescription;
    // 0 by 0: the size the model's factory gives the type.
    int cx = 0, cy = 0;
};

struct PageSpec
{
    LPCWSTR lpszFile;
    LPCWSTR lpszCaption;
    std::vector<ItemSpec> items;
};

// The look of an instrument on the page and the size it is dropped with, by how its control draws.
struct InstrumentLook
{
    LPCWSTR lpszDescription;
    int cx, cy;
};

InstrumentLook LookOf(EInstrumentRenderer renderer)
{
    switch (renderer)
    {
    case EInstrumentRenderer::Dial:
        return {L"A round scale with a needle", 160, 160};
    case EInstrumentRenderer::Linear:
        return {L"A linear scale or bar", 200, 70};
    case EInstrumentRenderer::Lamp:
        return {L"A lamp or symbol that shows its value", 60, 60};
    case EInstrumentRenderer::Switch:
        return {L"A switch the operator sets", 90, 90};
    case EInstrumentRenderer::Digits:
        return {L"A display of digits", 180, 60};
    case EInstrumentRenderer::TextBox:
        return {L"A box of text or a number", 160, 40};
    case EInstrumentRenderer::Plot:
        return {L"A plot of values", 300, 200};
    case EInstrumentRenderer::Panel:
        return {L"A panel", 200, 150};
    }
    return {L"An instrument", 120, 120};
}

// The 63 instruments, in type order, under their control names.
PageSpec InstrumentsPage()
{
    PageSpec page{L"Instruments.trs", L"Instruments", {}};
    int count = 0;
    const INSTRUMENT_SHAPE_ROW* rows = InstrumentShapeRows(&count);
    for (int i = 0; i < count; ++i)
    {
        CLSID clsid = {};
        CLSIDFromString(rows[i].lpszClsid, &clsid);
        const INSTRUMENT_CONTROL_INFO* info = AfxFindInstrumentControl(clsid);
        const InstrumentLook look =
            info ? LookOf(info->renderer) : InstrumentLook{L"An instrument", 120, 120};
        page.items.push_back({rows[i].nType, rows[i].lpszCtrlName, look.lpszDescription, look.cx, look.cy});
    }
    return page;
}

const std::vector<PageSpec>& Pages()
{
    static const std::vector<PageSpec> pages = {
        {L"Basic.trs",
         L"Basic",
         {{601, L"Rectangle", L"A filled rectangle"},
          {602, L"Ellipse", L"A filled ellipse"},
          {605, L"Blinking Ellipse", L"An ellipse whose fill blinks at run time"},
          {699, L"Level Ellipse", L"An ellipse filled by its value"},
          {626, L"Moving Bands", L"Bands that move across at run time"},
          {FO_COMP_SIMPLELABEL, L"Label", L"A line of text", 120, 30}}},
        {L"Gauges.trs",
         L"Gauges",
         {{607, L"Dial Meter", L"A needle over an arc with a read-out"},
          {616, L"Tank Gauge", L"A level bar beside a scale"},
          {617, L"Knob", L"A round gauge the operator turns"},
          {618, L"Round Gauge", L"A multi-phase round gauge"},
          {619, L"Bar Gauge", L"A multi-phase bar gauge"},
          {621, L"Pie Progress", L"A progress position as a pie wedge"}}},
        {L"Controls.trs",
         L"Controls",
         {{624, L"Horizontal Slider", L"A slider the operator drags"},
          {625, L"Vertical Slider", L"A slider the operator drags"},
          {620, L"Anchor", L"A plunger in a barrel"},
          {622, L"Animated Link", L"A dot that travels along a link"}}},
        {L"Symbols.trs",
         L"Symbols",
         {{608, L"Motor", L"A motor that turns while it runs", 80, 80},
          {610, L"Tank", L"A tank with a level", 80, 120},
          {614, L"Tank 2", L"A tank with a level", 80, 120},
          {609, L"Switch", L"A switch with two states"},
          {611, L"Switch 1", L"A switch with two states"},
          {612, L"Switch 2", L"A switch with two states"},
          {613, L"Switch 3", L"A switch with two states"}}},
        {L"Charts.trs",
         L"Charts",
         {{615, L"Push Chart", L"Lines pushed with each new value"},
          {623, L"CPU Usage", L"A chart of demonstration values"},
          {FO_COMP_TIMECHART, L"Time Chart", L"Values over time"}}},
        InstrumentsPage(),
    };
    return pages;
}
} // namespace

int GetDefaultToolBoxPageCount()
{
    return int(Pages().size());
}

BOOL WriteDefaultToolBoxPages(const CString& strFolder)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(strFolder.ToUtf8()), ec);
    std::vector<CString> lines;
    for (const PageSpec& spec : Pages())
    {
        CFOToolBoxPage page(spec.lpszCaption);
        for (const ItemSpec& item : spec.items)
            page.AddItem(
                CFOToolBoxItem(item.nType, item.lpszCaption, item.lpszDescription, CSize(item.cx, item.cy)));
        if (!page.SaveDocument(strFolder + spec.lpszFile))
            return FALSE;
        CString line;
        line.Format(L"%u#%s", unsigned(lines.size()), spec.lpszFile);
        lines.push_back(line);
    }
    return CToolBoxIndex::WriteLines(strFolder, lines);
}
