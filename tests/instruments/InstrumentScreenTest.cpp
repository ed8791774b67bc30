// Screens with instrument shapes: every type saves, loads and creates its control on a canvas (and
// is looked at), property page edits and foreign control state survive the screen file, and damaged
// instrument records fail the load cleanly.
#include "InstrumentTestSupport.h"

#include "activex/InstrumentPropPage.h"
#include "figkit/FOPCanvasCore.h"
#include "model/XVKDataModel.h"
#include "support/ModalHook.h"

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <fstream>
#include <iterator>

using namespace figkit_test;
using namespace instr_test;

namespace
{
std::vector<CFOiControlShape*> Instruments(CFODataModel& model)
{
    std::vector<CFOiControlShape*> found;
    for (CFODrawShape* shape : *model.GetShapes())
        if (auto* instrument = dynamic_cast<CFOiControlShape*>(shape))
            found.push_back(instrument);
    return found;
}

CFOiControlShape* AddInstrument(CXVKDataModel& model, UINT type, CRect rc)
{
    CFODrawShape* made = model.DoCreateShapeByType(type, rc, CString());
    auto* shape = dynamic_cast<CFOiControlShape*>(made);
    EXPECT_NE(shape, nullptr) << type;
    if (!made)
        return nullptr;
    model.InsertShape(made);
    made->Release();
    return shape;
}

std::vector<BYTE> ReadFile(const CString& path)
{
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const CString& path, const std::vector<BYTE>& bytes)
{
    std::ofstream(path.ToUtf8(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class InstrumentScreen : public ::testing::Test
{
protected:
    void SetUp() override { AfxEnsureApplication(); }
    CString Path(const char* name) const
    {
        return CString::FromUtf8((dir.path() + "/" + name).toStdString());
    }

    QTemporaryDir dir;
    CModalRecorder modal;
};
} // namespace

TEST_F(InstrumentScreen, EveryInstrumentTypeSavesLoadsAndCreatesItsControl)
{
    int count = 0;
    const INSTRUMENT_SHAPE_ROW* rows = InstrumentShapeRows(&count);
    CXVKDataModel model;
    for (int i = 0; i < count; ++i)
    {
        const CRect rc(8 + (i % 9) * 112, 8 + (i / 9) * 92, 8 + (i % 9) * 112 + 104, 8 + (i / 9) * 92 + 84);
        CFOiControlShape* shape = AddInstrument(model, rows[i].nType, rc);
        ASSERT_NE(shape, nullptr);
        // The base factory keeps the caller's rectangle and gives a new instrument its control.
        EXPECT_EQ(shape->GetDrawRect(), rc);
        EXPECT_EQ(shape->GetRuntimeClass(), rows[i].pShapeClass);
        EXPECT_EQ(shape->GetCtrlName(), CString(rows[i].lpszCtrlName));
        EXPECT_TRUE(shape->IsDesignFrame());
    }
    const CString path = Path("instruments.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CXVKDataModel back;
    ASSERT_TRUE(back.OpenDocument(path));
    std::vector<CFOiControlShape*> shapes = Instruments(back);
    ASSERT_EQ(int(shapes.size()), count);
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 1024, 660)));
    canvas.SetCurrentModel(&back);
    for (int i = 0; i < count; ++i)
    {
        CFOiControlShape* shape = shapes[size_t(i)];
        SCOPED_TRACE(rows[i].pShapeClass->m_lpszClassName);
        EXPECT_EQ(shape->GetRuntimeClass(), rows[i].pShapeClass);
        EXPECT_EQ(shape->GetType(), rows[i].nType);
        EXPECT_EQ(shape->GetCtrlName(), CString(rows[i].lpszCtrlName));
        EXPECT_FALSE(shape->IsDesignFrame());
        // The canvas made the control when the model went onto it; a second one is refused.
        ASSERT_TRUE(shape->HasControl());
        EXPECT_EQ(UINT(shape->GetCtrl()->GetDlgCtrlID()), shape->GetCtrlID());
        EXPECT_EQ(shape->CreateWnd(&canvas, 0), -1);
        // In design mode the control takes no input.
        EXPECT_FALSE(shape->GetCtrl()->IsWindowEnabled());
        EXPECT_TRUE(IsEqualGUID(ControlOf(*shape)->Info().clsid, shape->GetClsid()));
        shape->SetCurrentValue(rows[i].value == EShapeValue::Hex ? 0xBEEF : 1 + (i * 37) % 90);
        if (rows[i].bText && rows[i].value != EShapeValue::Hex)
            shape->SetCurrentTextValue(L"TEXT 42");
    }

    canvas.ShowWindow(SW_SHOW);
    PumpUntil([] { return false; }, 200);
    const QImage image = canvas.GetClientWidget()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    image.save(QStringLiteral(QYR_TEST_OUTPUT "/instruments-screen.png"));
    // Each control covers its shape: the gauge (fourth row, first column) paints its face there.
    const CRect gauge = shapes[9]->GetDrawRect();
    EXPECT_NE(image.pixelColor(gauge.CenterPoint().x - 20, gauge.CenterPoint().y + 10), QColor(Qt::white));
    for (CFOiControlShape* shape : shapes)
    {
        CRect placed;
        shape->GetCtrl()->GetWindowRect(&placed);
        canvas.ScreenToClient(&placed);
        EXPECT_EQ(placed, shape->GetDrawRect()) << shape->GetRuntimeClass()->m_lpszClassName;
    }
}

TEST_F(InstrumentScreen, PropertyPageEditSurvivesSaveAndLoad)
{
    CXVKDataModel model;
    CFOiControlShape* shape = AddInstrument(model, 691, CRect(20, 20, 100, 260));
    ASSERT_NE(shape, nullptr);
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 300)));
    canvas.SetCurrentModel(&model);
    ASSERT_TRUE(shape->HasControl()); // made by the canvas

    {
        CModalHookScope cancel([](const AfxModalRequest&) { return IDCANCEL; });
        EXPECT_FALSE(shape->OnEditProperties(nullptr));
        EXPECT_EQ(shape->GetOcxData().GetLength(), 0u);
    }
    CModalHookScope hook(
        [](const AfxModalRequest& r)
        {
            if (!r.pDialog)
                return IDOK;
            r.pDialog->SetDlgItemText(IDC_INSTR_CAPTION, L"Reactor");
            r.pDialog->SetDlgItemText(IDC_INSTR_MAX, L"450");
            r.pDialog->SetDlgItemText(IDC_INSTR_COUNT, L"6");
            return IDOK;
        });
    ASSERT_TRUE(shape->OnEditProperties(nullptr));
    EXPECT_GT(shape->GetOcxData().GetLength(), 0u);
    const CString path = Path("edited.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CXVKDataModel back;
    ASSERT_TRUE(back.OpenDocument(path));
    ASSERT_EQ(Instruments(back).size(), 1u);
    CFOiControlShape* loaded = Instruments(back)[0];
    EXPECT_TRUE(loaded->GetOcxData() == shape->GetOcxData());
    CFOPDrawWnd other;
    ASSERT_TRUE(other.CreateCanvas(nullptr, CRect(0, 0, 300, 300)));
    other.SetCurrentModel(&back);
    ASSERT_TRUE(loaded->HasControl()); // made by the canvas
    const CInstrumentSettings& s = ControlOf(*loaded)->Settings();
    EXPECT_EQ(s.strCaption, CString(L"Reactor"));
    EXPECT_EQ(s.dMax, 450);
    EXPECT_EQ(s.nCount, 6);
}

TEST_F(InstrumentScreen, ForeignControlStateSurvivesByteForByte)
{
    std::vector<BYTE> foreign(300);
    for (size_t i = 0; i < foreign.size(); ++i)
        foreign[i] = BYTE(i * 131 + 7);
    CXVKDataModel model;
    CFOiControlShape* shape = AddInstrument(model, 655, CRect(10, 10, 200, 60));
    ASSERT_NE(shape, nullptr);
    CExtOcx blob;
    blob.SetData(foreign.data(), DWORD(foreign.size()));
    shape->SetOcxData(blob);
    const CString path = Path("foreign.xdg");
    ASSERT_TRUE(model.SaveDocument(path));

    CXVKDataModel back;
    ASSERT_TRUE(back.OpenDocument(path));
    CFOiControlShape* loaded = Instruments(back).at(0);
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 300, 100)));
    canvas.SetCurrentModel(&back);
    ASSERT_TRUE(loaded->HasControl()); // made by the canvas
    EXPECT_TRUE(ControlOf(*loaded)->HasForeignState());
    ASSERT_TRUE(loaded->FetchOcxData());
    ASSERT_EQ(loaded->GetOcxData().GetLength(), foreign.size());
    EXPECT_TRUE(std::equal(foreign.begin(), foreign.end(), loaded->GetOcxData().GetData()));
}

TEST_F(InstrumentScreen, DamagedInstrumentRecordsFailTheLoadCleanly)
{
    CXVKDataModel model;
    const BYTE marker[] = {'S', 'T', 'A', 'T', 'E', '#', '0', '1'};
    CExtOcx blob;
    blob.SetData(marker, sizeof(marker));
    for (UINT type : {642u, 668u, 695u})
    {
        CFOiControlShape* shape = AddInstrument(model, type, CRect(10, 10, 120, 120));
        ASSERT_NE(shape, nullptr);
        shape->SetOcxData(blob);
    }
    const CString path = Path("screen.xdg");
    ASSERT_TRUE(model.SaveDocument(path));
    const std::vector<BYTE> good = ReadFile(path);
    const auto at = std::search(good.begin(), good.end(), std::begin(marker), std::end(marker));
    ASSERT_NE(at, good.end());
    const size_t state = size_t(at - good.begin());

    // Cut inside the first instrument's record, from its state length to its last string.
    for (size_t cut = state - 4; cut < state + 60 && cut < good.size(); ++cut)
    {
        WriteFile(path, std::vector<BYTE>(good.begin(), good.begin() + cut));
        CXVKDataModel back;
        EXPECT_FALSE(back.OpenDocument(path)) << cut;
        EXPECT_EQ(back.GetShapeCount(), 0) << cut;
    }
    // A state length past the end of the file.
    std::vector<BYTE> overlong = good;
    const DWORD huge = 0xFFFFFFF0;
    std::memcpy(overlong.data() + state - 4, &huge, 4);
    WriteFile(path, overlong);
    CXVKDataModel back;
    EXPECT_FALSE(back.OpenDocument(path));
    EXPECT_EQ(back.GetShapeCount(), 0);
}

// A new instrument put on a screen that a canvas shows gets its control there at once, and a state
// the control refuses leaves it running on its defaults with the bytes kept.
TEST_F(InstrumentScreen, ANewInstrumentOnAShownScreenRunsItsControlAtOnce)
{
    CXVKDataModel model;
    CFOPDrawWnd canvas;
    ASSERT_TRUE(canvas.CreateCanvas(nullptr, CRect(0, 0, 400, 300)));
    canvas.SetCurrentModel(&model);
    CFOiControlShape* gauge = AddInstrument(model, 642, CRect(20, 20, 180, 180));
    ASSERT_NE(gauge, nullptr);
    ASSERT_TRUE(gauge->HasControl());
    EXPECT_EQ(gauge->GetCtrl()->GetParent(), &canvas);
    EXPECT_FALSE(gauge->GetCtrl()->IsWindowEnabled());

    // More than any control takes: the control is made without it, the shape keeps it.
    std::vector<BYTE> big(CInstrumentControl::kMaxState + 1, BYTE(7));
    CExtOcx blob;
    blob.SetData(big.data(), DWORD(big.size()));
    CFOiControlShape* knob = AddInstrument(model, 651, CRect(200, 20, 360, 180));
    ASSERT_NE(knob, nullptr);
    canvas.SetCurrentModel(nullptr);
    knob->SetOcxData(blob);
    canvas.SetCurrentModel(&model);
    ASSERT_TRUE(knob->HasControl());
    EXPECT_EQ(knob->GetOcxData().GetLength(), big.size());
    canvas.SetCurrentModel(nullptr);
}
