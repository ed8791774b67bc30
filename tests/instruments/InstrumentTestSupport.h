// Helpers of the instrument shape tests: a host window for controls and direct reads of a control's
// properties, past the shape.
#pragma once

#include "../platform_figkit/FigkitTestSupport.h"

#include "activex/InstrumentControl.h"
#include "activex/OleControlWnd.h"
#include "com/Bstr.h"
#include "instruments/InstrumentShapes.h"

#include <gtest/gtest.h>

namespace instr_test
{
// The stand-in control behind a shape's window, or null.
inline CInstrumentControl* ControlOf(const CFOiControlShape& shape)
{
    IUnknown* unk = shape.GetOleIDispatch(TRUE);
    IDispatch* disp = nullptr;
    if (!unk || FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))))
        return nullptr;
    disp->Release();
    return static_cast<CInstrumentControl*>(disp);
}

// A property (or, with bMethod, a method's result for bar 0) read straight from the control.
inline VARIANT Read(const CFOiControlShape& shape, DISPID id, bool bMethod = false)
{
    VARIANT result;
    VariantInit(&result);
    CComPtr<IDispatch> disp;
    disp.Attach(static_cast<IDispatch*>(shape.GetOleIDispatch(FALSE)));
    if (!disp)
        return result;
    VARIANT bar;
    VariantInit(&bar);
    bar.vt = VT_I4;
    bar.lVal = 0;
    DISPPARAMS params = {bMethod ? &bar : nullptr, nullptr, bMethod ? 1u : 0u, 0};
    EXPECT_EQ(disp->Invoke(id, IID_NULL, 0, bMethod ? DISPATCH_METHOD : DISPATCH_PROPERTYGET, &params,
                           &result, nullptr, nullptr),
              S_OK)
        << "dispatch id " << id;
    return result;
}

inline CString ReadText(const CFOiControlShape& shape, DISPID id)
{
    VARIANT v = Read(shape, id);
    CString s = v.vt == VT_BSTR && v.bstrVal ? CString(v.bstrVal) : CString(L"<not text>");
    VariantClear(&v);
    return s;
}

class HostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxEnsureApplication();
        ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
    }

    CWnd host;
};

// Releases a shape that a factory handed over.
struct CShapeRelease
{
    void operator()(CFODrawShape* p) const
    {
        if (p)
            p->Release();
    }
};
template <class T> using OwnedShape = std::unique_ptr<T, CShapeRelease>;
} // namespace instr_test
