// CFOPSvgConvert: imports one SVG file into a screen model.
//
// The file is loaded through the XML DOM; when it does not load or yields no shape, repaired copies
// of it are tried (a rewrite through the element tree, the document type dropped, the namespaces
// dropped, every declaration dropped). Work files live in one private temporary folder, removed by
// DeleteTempFile and by the destructor. Each "svg" element's children become shapes; the drawing's
// top-left corner is placed at (20, 20). ImportToModel lists the shapes it added.
#pragma once

#include "figkit/FOShapeSet.h"
#include "foundation/ProgressWnd.h"
#include "foundation/XDXml.h"
#include "mfc/CString.h"
#include "svgimport/SvgFill.h"
#include "svgimport/SvgStyle.h"

#include <memory>
#include <vector>

class CFODataModel;
class CFODrawShape;
class CFOGroupShape;

struct SvgGroupContext
{
    SvgGroupContext();
    ~SvgGroupContext();
    CFOGroupShape* pGroup = nullptr;
    SvgStyle style;
};

class CFOPSvgConvert
{
public:
    // String 32893.
    static const wchar_t* FailureMessage();
    // Told when the file was read but holds no shape that can be drawn.
    static const wchar_t* NothingMessage();

    CFOPSvgConvert(CFODataModel* pModel, const CString& strPath);
    virtual ~CFOPSvgConvert();

    // Runs the passes and places the shapes; the message 32893 once when nothing came out.
    void ImportToModel();
    // Removes the work files and their folder.
    void DeleteTempFile();
    // The shapes that the last import added to the model, in order.
    const std::vector<CFODrawShape*>& GetAddedShapes() const { return m_added; }
    // The repair that the successful load used ("" for none yet).
    const CString& GetLoadedRepair() const { return m_strRepair; }
    const CString& GetWorkPath() const { return m_strWorkPath; }
    const CString& GetWorkFolder() const { return m_strWorkFolder; }
    SvgImportSettings& Settings() { return m_settings; }
    CProgressWnd& GetProgressWnd() { return m_progress; }

    // The passes and repairs; each repair returns the work file path (empty when it failed).
    BOOL ConvertPassOne();
    BOOL ConvertPassTwo();
    BOOL ConvertPassThree();
    CString RewriteXmlFile(const CString& source);
    CString RemoveDoctype(const CString& source);
    CString RepairNamespaces(const CString& source);
    CString StripDeclarations(const CString& source);

    // Conversion (also for tests on a loaded document).
    void ConvertElement(CXDXmlNode node, SvgGroupContext* pParent, int depth = 0);
    void ConvertDocument(CXDXml& doc);
    void ApplyStyle(CFODrawShape* pShape, const SvgStyle& style);
    void ReadPresentationAttributes(const CXDNamedNode& attrs, SvgStyle& style);
    CFOPSVGFillManager& GetFillManager() { return m_fills; }
    CFODrawShapeSet& GetResultList() { return m_result; }
    int GetDocumentUnit() const { return m_nUnit; }

private:
    enum class Repair
    {
        Rewrite,
        Doctype,
        Namespaces,
        Declarations
    };
    BOOL RunPass(std::initializer_list<Repair> tries);
    CString RunRepair(Repair repair);
    CString WorkFile(const wchar_t* name);
    BOOL EnsureWorkFolder();
    void ReadDocumentUnit(CXDXmlNode& svg);
    void ReadDefinitions(CXDXmlNode& defs, int depth);
    void FinishShape(CFODrawShape* pShape, const CString& transform, SvgGroupContext* pParent);
    CFODrawShape* MakeText(CXDXmlNode& node, const CXDNamedNode& attrs, const SvgStyle& style, bool bSpan);
    CFODrawShape* MakeImage(const CXDNamedNode& attrs);

    CFODataModel* m_pModel;
    CFODrawShapeSet m_shapeSet;
    CXDXml m_doc;
    CString m_strPath;
    CString m_strWorkPath;
    CProgressWnd m_progress;
    CFOPSVGFillManager m_fills;
    CFODrawShapeSet m_result;
    SvgImportSettings m_settings;
    int m_nUnit = -1;
    CString m_strWorkFolder;
    CString m_strRepair;
    std::vector<CFODrawShape*> m_added;
};
