// Control state streams of the stand-in instruments: the first byte picks one of the 63 controls,
// the rest is its state. Every stream loads; a foreign one is saved back byte for byte, a readable
// one is exactly what its settings write. The control is then drawn with what it read.
#include "activex/InstrumentControl.h"
#include "activex/OleStreamFile.h"
#include "mfc/Dc.h"
#include "mfc/Wnd.h"

#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AfxEnsureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<INSTRUMENT_CONTROL_INFO>& controls = AfxInstrumentControls();
    const INSTRUMENT_CONTROL_INFO& info = controls[data[0] % controls.size()];
    const std::vector<BYTE> state(data + 1, data + size);

    CInstrumentSettings settings;
    const BOOL readable = InstrumentStateRead(state.data(), state.size(), info.renderer, settings);
    if (readable && InstrumentStateWrite(info.renderer, settings) != state)
        __builtin_trap();

    CComPtr<CInstrumentControl> control = QyrNewObject<CInstrumentControl>(info);
    CComPtr<CMemoryStream> in = QyrNewObject<CMemoryStream>(state);
    if (control->Load(in) != S_OK || control->HasForeignState() == readable)
        __builtin_trap();
    if (readable && !(control->Settings() == settings))
        __builtin_trap();
    CComPtr<CMemoryStream> out = QyrNewObject<CMemoryStream>();
    if (control->Save(out, TRUE) != S_OK || (!readable && out->Bytes() != state))
        __builtin_trap();

    QImage image(96, 64, QImage::Format_RGB32);
    CImageDC dc(image);
    const RECT rc = {0, 0, 96, 64};
    control->Draw(&dc, &rc);
    return 0;
}
