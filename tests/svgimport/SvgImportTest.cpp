// Importing files: repairs of broken files, placement, messages and work files.
#include "SvgTestSupport.h"

#include "figkit/FODataModel.h"
#include "figkit/FOImageShape.h"
#include "figkit/FORectShape.h"
#include "svgimport/SvgConvert.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
struct Imported
{
    Imported(const CTestDir& dir, const std::string& name, const std::string& text, CFODataModel& model)
    {
        AfxEnsureApplication();
        CTestDir::WriteAll(dir / name, text);
        CFOPSvgConvert convert(&model, CString(dir.W(name)));
        convert.ImportToModel();
        repair = convert.GetLoadedRepair();
        folder = convert.GetWorkFolder();
        added = int(convert.GetAddedShapes().size());
        convert.DeleteTempFile();
        folderLeft = !folder.IsEmpty() && std::filesystem::exists(folder.str());
    }
    CString repair;
    CString folder;
    int added = 0;
    bool folderLeft = false;
};

const char* kNs = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
} // namespace

TEST(SvgImport, BrokenFilesImportThroughTheRepairThatMendsThem)
{
    const struct
    {
        const char* name;
        std::string text;
        const wchar_t* repair;
    } cases[] = {
        {"good", std::string(kNs) + "<rect width='10' height='10'/></svg>", L"RewriteXmlFile"},
        {"bare ampersand", std::string(kNs) + "<text x='5' y='20'>A & B</text></svg>", L"RewriteXmlFile"},
        {"missing end tag", std::string(kNs) + "<g><rect width='10' height='10'/></svg>", L"RewriteXmlFile"},
        {"undeclared xlink",
         std::string(kNs) +
             "<image xlink:href='none.png' width='4' height='4'/><rect width='3' height='3'/></svg>",
         L"RemoveDoctype"},
        {"multi-line doctype",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\"\n"
         "  \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\n <!ENTITY a \"b\">\n]>\n" +
             std::string(kNs) + "\n<rect width='10' height='10'/>\n</svg>\n",
         L"RewriteXmlFile"},
        {"stray declarations",
         std::string(kNs) +
             "\n<!ELEMENT foo>\n<rect width='10' height='10'/><!-- a comment\n spanning lines -->\n</svg>",
         L"RewriteXmlFile"},
    };
    for (const auto& c : cases)
    {
        CTestDir dir;
        CFODataModel model;
        CModalRecorder boxes;
        Imported imp(dir, "drawing.svg", c.text, model);
        EXPECT_EQ(imp.repair, CString(c.repair)) << c.name;
        EXPECT_GE(imp.added, 1) << c.name;
        EXPECT_EQ(model.GetShapeCount(), imp.added) << c.name;
        EXPECT_FALSE(imp.folderLeft) << c.name;
        // Nothing is left beside the drawing.
        int files = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
            ++files;
        EXPECT_EQ(files, 1) << c.name;
        for (const CString& t : boxes.texts)
            EXPECT_NE(t, CString(CFOPSvgConvert::FailureMessage())) << c.name;
    }
}

TEST(SvgImport, AHopelessFileShowsOneMessageAndChangesNothing)
{
    // A file that cannot be read gets the failure box; one that reads but draws nothing says so.
    const struct
    {
        std::string text;
        const wchar_t* message;
    } cases[] = {
        {"this is not svg <<<!", CFOPSvgConvert::FailureMessage()},
        {"<svg><!-- never closed", CFOPSvgConvert::FailureMessage()},
        {std::string(kNs) + "<foo/></svg>", CFOPSvgConvert::NothingMessage()},
        {std::string(kNs) + "<g><title>empty</title></g><defs><rect width='5' height='5'/></defs></svg>",
         CFOPSvgConvert::NothingMessage()},
    };
    for (const auto& [text, message] : cases)
    {
        CTestDir dir;
        CFODataModel model;
        auto* own = new CFORectShape;
        CRect rc(1, 2, 3, 4);
        own->Create(rc);
        model.InsertShape(own);
        CModalRecorder boxes;
        Imported imp(dir, "bad.svg", text, model);
        ASSERT_EQ(boxes.texts.size(), 1u) << text;
        EXPECT_EQ(boxes.texts[0], CString(message)) << text;
        EXPECT_EQ(model.GetShapeCount(), 1) << text;
        EXPECT_EQ(model.GetShapes()->GetObject(0)->GetSnapRect(), CRect(1, 2, 3, 4)) << text;
        EXPECT_FALSE(imp.folderLeft);
    }
}

TEST(SvgImport, TheDrawingLandsAtTwentyTwentyAndOldShapesStayPut)
{
    CTestDir dir;
    CFODataModel model;
    auto* own = new CFORectShape;
    CRect rc(500, 500, 600, 600);
    own->Create(rc);
    model.InsertShape(own);
    Imported imp(
        dir, "far.svg",
        std::string(kNs) +
            "<rect x='300' y='150' width='50' height='20'/>"
            "<g><circle cx='400' cy='200' r='10'/><line x1='320' y1='160' x2='330' y2='400'/></g></svg>",
        model);
    ASSERT_EQ(imp.added, 2);
    ASSERT_EQ(model.GetShapeCount(), 3);
    EXPECT_EQ(model.GetShapes()->GetObject(0)->GetSnapRect(), CRect(500, 500, 600, 600));
    EXPECT_EQ(model.GetShapes()->GetObject(1)->GetSnapRect().TopLeft(), CPoint(20, 20));
    EXPECT_EQ(model.GetShapes()->GetObject(2)->GetSnapRect().TopLeft(), CPoint(40, 30));
}

TEST(SvgImport, ImagesResolveAgainstTheDrawingsFolder)
{
    CTestDir dir;
    std::filesystem::create_directories(dir / "img");
    // A one-pixel PNG.
    static const unsigned char png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
        0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
        0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
        0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    CTestDir::WriteAll(dir / "img" / "A.png", std::string(reinterpret_cast<const char*>(png), sizeof png));
    for (const char* ref : {"img/A.png", "/img/A.png", "./img/A.png"})
    {
        for (const char* attr : {"xlink:href", "href"})
        {
            CFODataModel model;
            const std::string head = std::string(attr) == "href"
                                         ? std::string(kNs)
                                         : "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\">";
            Imported imp(dir, "pic.svg",
                         head + "<image " + attr + "='" + ref + "' x='0' y='0' width='8' height='8'/></svg>",
                         model);
            ASSERT_EQ(imp.added, 1) << ref;
            auto* image = dynamic_cast<CFOImageShape*>(model.GetShapes()->GetObject(0));
            ASSERT_NE(image, nullptr);
            EXPECT_TRUE(image->HasImage()) << ref << " " << attr << " " << image->GetImagePath().ToUtf8();
        }
    }
}
