// Importing a large drawing: about 5 MB and 20,000 elements (groups, paths, texts, gradient fills),
// through the whole import with its progress window, into an empty screen.
#include "figkit/FODataModel.h"
#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"
#include "svgimport/SvgConvert.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
std::string MakeDrawing(int& elements)
{
    std::string s = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4000px\" "
                    "height=\"4000px\">\n<defs>\n";
    for (int i = 0; i < 20; ++i)
        s += "<linearGradient id=\"g" + std::to_string(i) +
             "\"><stop offset=\"0\" stop-color=\"#ff0000\"/><stop offset=\"1\" stop-color=\"rgb(0,0,255)\"/>"
             "</linearGradient>\n";
    s += "</defs>\n";
    elements = 0;
    for (int g = 0; elements < 20000; ++g)
    {
        const int x = (g % 40) * 100, y = (g / 40) * 100;
        s += "<g transform=\"translate(" + std::to_string(x) + "," + std::to_string(y) +
             ")\" style=\"fill:#c0c0c0;stroke:#202020;stroke-width:2\">\n";
        ++elements;
        for (int k = 0; k < 4; ++k)
        {
            s += "<path d=\"M 0 0";
            for (int p = 0; p < 85; ++p)
                s += " L " + std::to_string(p * 2) + "." + std::to_string(p % 10) + " " +
                     std::to_string((p * 7) % 90) + ".5";
            s += " C 10 10 20 20 30 30 A 10 10 0 0 1 50 50 Z\"/>\n";
            s += "<rect x=\"" + std::to_string(k * 10) + "\" y=\"5\" width=\"8\" height=\"8\" fill=\"url(#g" +
                 std::to_string(k % 20) + ")\"/>\n";
            s += "<text x=\"2\" y=\"" + std::to_string(20 + k * 10) + "\" font-size=\"10\">Tag " +
                 std::to_string(g) + "<tspan x=\"40\" y=\"" + std::to_string(20 + k * 10) +
                 "\">value</tspan></text>\n";
            s += "<circle cx=\"50\" cy=\"50\" r=\"5\" transform=\"rotate(45 50 50)\"/>\n";
            elements += 5;
        }
        s += "</g>\n";
    }
    s += "</svg>\n";
    return s;
}
} // namespace

static void BM_ImportLargeDrawing(benchmark::State& state)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    AfxSetModalHook([](const AfxModalRequest&) { return IDOK; });
    int elements = 0;
    const std::string text = MakeDrawing(elements);
    const std::string path = "/tmp/bench_svgimport_" + std::to_string(getpid()) + ".svg";
    std::ofstream(path, std::ios::binary) << text;
    size_t shapes = 0;
    for (auto _ : state)
    {
        CFODataModel model;
        CFOPSvgConvert convert(&model, CString::FromUtf8(path));
        convert.ImportToModel();
        convert.DeleteTempFile();
        shapes = convert.GetAddedShapes().size();
        benchmark::DoNotOptimize(shapes);
    }
    std::filesystem::remove(path);
    state.counters["bytes"] = double(text.size());
    state.counters["elements"] = elements;
    state.counters["top_level_shapes"] = double(shapes);
}
BENCHMARK(BM_ImportLargeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);
