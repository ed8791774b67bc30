// Takes an arbitrary buffer as the UTF-8 point-list text of a chart (custom property 15009) and
// runs it through the parser and both charts' InitChart and the trend's update by name. A crash, a
// hang or a sanitizer report is a finding; so is a push chart whose line count exceeds the entries.
#include "model/ChartPointList.h"
#include "model/FORealTimeWnd.h"
#include "model/MyPushChartShape.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const CString text = CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    CArray<XVK_CHART_ENTRY> entries;
    XVKGetChartPointList(entries, text);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        XVK_CHART_LINE line;
        XVKParseChartLine(entries[i].strDef, line);
    }
    CMyPushChartShape chart;
    chart.InitChart(text.GetString());
    if (chart.GetLineCount() > entries.GetSize())
    {
        std::fprintf(stderr, "fuzz_pointlist: more lines than entries\n");
        std::abort();
    }
    double values[4] = {1e300, -1e300, 0.5, -7};
    chart.UpdateMultiLineData(4, nullptr, values);
    CFORealTimeWnd wnd;
    wnd.GetEngine().InitialSetting(1.0, 0, 30, 120, 6, true);
    wnd.InitChart(text.GetString());
    wnd.UpdateByName(L"x", 1.0, text.GetString());
    wnd.UpdateMultiLine(4, values);
    return 0;
}
