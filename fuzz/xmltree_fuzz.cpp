// The element tree's reader: any bytes read into a tree (or nothing), and what it writes reads
// again.
#include "foundation/NewConvertXML.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"

#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    // Warnings are answered at once.
    AfxSetModalHook([](const AfxModalRequest&) { return IDOK; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMemFile file;
    if (size)
        file.Write(data, UINT(size));
    file.SeekToBegin();
    CNewConvertXML tree;
    if (!tree.XMLRead(&file))
        return 0;
    const std::string once = tree.ToXmlText(-1);
    CMemFile again;
    again.Write(once.data(), UINT(once.size()));
    again.SeekToBegin();
    CNewConvertXML second;
    if (!second.XMLRead(&again))
        __builtin_trap();
    second.ToXmlText(0);
    return 0;
}
