// The shape clipboard: any bytes under our clipboard format read as shapes or as nothing, never a
// crash or a huge allocation; shapes that read are pasted into a model and drawn. With
// QYR_WRITE_SEED set to a path, a block of a few shapes is written there (the corpus seeds).
#include "figkit/FOClipboard.h"
#include "figkit/FODrawShape.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"
#include "model/XVKDataModel.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    if (const char* seed = std::getenv("QYR_WRITE_SEED"))
    {
        CXVKDataModel model;
        const UINT types[] = {601, 602, 605};
        for (int i = 0; i < 3; ++i)
        {
            CRect rc(10 + 60 * i, 10, 60 + 60 * i, 50);
            CFOShapePtr<CFODrawShape> shape =
                CFOShapePtr<CFODrawShape>::Adopt(model.DoCreateShapeByType(types[i], rc, L""));
            if (shape)
                model.InsertShape(shape);
        }
        const std::vector<BYTE> bytes = FOWriteShapesBlock(*model.GetShapes());
        if (FILE* f = std::fopen(seed, "wb"))
        {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFODrawShapeSet shapes;
    if (!FOReadShapesBlock(data, size, shapes))
    {
        if (!shapes.IsEmpty())
            __builtin_trap();
        return 0;
    }
    CXVKDataModel model;
    for (CFODrawShape* shape : shapes)
    {
        shape->SetObjectName(model.GetUniqueName(shape->GetType()));
        model.InsertShape(shape);
    }
    QImage image(64, 64, QImage::Format_RGB32);
    CImageDC dc(image);
    model.OnDraw(&dc, CRect(0, 0, 64, 64));
    return 0;
}
