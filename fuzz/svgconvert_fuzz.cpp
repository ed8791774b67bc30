// Whole drawings: any bytes that load as XML convert into shapes of a model, which then draw.
#include "figkit/FODataModel.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "svgimport/SvgConvert.h"

#include <QByteArray>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CXDXml doc;
    if (!doc.LoadXml(CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size))))
        return 0;
    CFODataModel model;
    CFOPSvgConvert convert(&model, L"/nonexistent/fuzz.svg");
    convert.ConvertDocument(doc);
    CFODrawShapeSet& result = convert.GetResultList();
    for (CFODrawShape* shape : result)
        model.InsertShape(shape);
    result.RemoveAll();
    QImage image(64, 64, QImage::Format_RGB32);
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, 64, 64));
    return 0;
}
