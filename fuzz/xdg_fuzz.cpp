// Screen files (".xdg"): any bytes given to CXVKDataModel::OpenDocument give TRUE or FALSE, never a
// crash or a huge allocation; a loaded screen is also drawn, and a failed one leaves an empty model.
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/XVKDataModel.h"
#include "symbols/ExtGridWndShape.h"

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
std::string g_path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    // The grid shape's records are the programs' too.
    (void)RUNTIME_CLASS(CExtGridWndShape);
    g_path = "/tmp/fuzz_xdg_" + std::to_string(getpid()) + ".xdg";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(g_path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CXVKDataModel model;
    if (!model.OpenDocument(CString::FromUtf8(g_path)))
    {
        if (model.GetShapeCount() != 0 || model.GetUserProperties().GetCount() != 7)
            __builtin_trap();
        return 0;
    }
    QImage image(64, 64, QImage::Format_RGB32);
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, 64, 64));
    FO_VALUE v = FO_VALUE::MakeDouble(1.0);
    model.UpdateParamData(L"#a", v, nullptr, 101);
    return 0;
}
