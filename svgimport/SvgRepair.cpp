// Loading an SVG file: the passes, the repairs that mend a file the DOM refuses, the work files and
// the placing of the converted shapes.
#include "svgimport/SvgConvert.h"

#include "figkit/FODataModel.h"
#include "foundation/NewConvertXML.h"
#include "foundation/XDXml.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "mfc/WaitCursor.h"
#include "mfc/WinApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

namespace
{
// Source files larger than this are not repaired.
constexpr qint64 kMaxRepairInput = 256LL * 1024 * 1024;

bool ReadLines(const CString& path, std::vector<std::string>& lines)
{
    QFile f(QString::fromStdWString(path.str()));
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxRepairInput)
        return false;
    const QByteArray all = f.readAll();
    lines.clear();
    std::string line;
    for (char c : all)
    {
        if (c == '\n')
        {
            lines.push_back(std::move(line));
            line.clear();
        }
        else
            line += c;
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return true;
}

void StripLineEnds(std::string& s)
{
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }), s.end());
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// Cuts every "<!" construct from the line, appending following lines while one is open. An
// unclosed one at the end of the input is cut to the end.
void CutDeclarations(std::string& line, const std::vector<std::string>& lines, size_t& i)
{
    for (size_t at = line.find("<!"); at != std::string::npos; at = line.find("<!", at))
    {
        size_t close = line.find('>', at);
        while (close == std::string::npos && i + 1 < lines.size())
        {
            std::string next = lines[++i];
            StripLineEnds(next);
            line += next;
            close = line.find('>', at);
        }
        if (close == std::string::npos)
        {
            line.erase(at);
            return;
        }
        line.erase(at, close - at + 1);
    }
}

// Cuts the document type declaration that begins in the line, with the lines it spans; it ends at a
// ">" outside its internal subset (or, unclosed, at the end of the input).
void CutDoctype(std::string& line, const std::vector<std::string>& lines, size_t& i)
{
    const size_t start = line.find("<!DOCTYPE");
    const std::string before = line.substr(0, start);
    std::string rest = line.substr(start);
    int bracket = 0;
    size_t k = 0;
    for (;;)
    {
        for (; k < rest.size(); ++k)
        {
            if (rest[k] == '[')
                ++bracket;
            else if (rest[k] == ']')
                bracket = std::max(0, bracket - 1);
            else if (rest[k] == '>' && bracket == 0)
            {
                line = before + rest.substr(k + 1);
                return;
            }
        }
        if (i + 1 >= lines.size())
        {
            line = before;
            return;
        }
        std::string next = lines[++i];
        StripLineEnds(next);
        rest += next;
    }
}

// Cuts "name..." up to the next space; a cut with no space after it takes the rest of the tag.
void CutAttribute(std::string& line, const std::string& name, size_t from = 0)
{
    size_t at = line.find(name, from);
    while (at != std::string::npos)
    {
        size_t end = line.find(' ', at);
        if (end == std::string::npos)
        {
            end = line.find_first_of("/>", at);
            if (end == std::string::npos)
                end = line.size();
        }
        line.erase(at, end - at);
        at = line.find(name, at);
    }
}

// One pass over the source's lines: each line, without its line end, goes to edit (which may take
// following lines too, through i); a line edit refuses or leaves empty is not written.
using LineEdit = std::function<bool(std::string& line, const std::vector<std::string>& lines, size_t& i)>;
bool EditLines(const CString& source, std::vector<std::string>& out, const LineEdit& edit)
{
    std::vector<std::string> lines;
    if (!ReadLines(source, lines))
        return false;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        std::string line = lines[i];
        StripLineEnds(line);
        if (edit(line, lines, i) && !line.empty())
            out.push_back(std::move(line));
    }
    return true;
}

bool WriteLines(const CString& path, const std::vector<std::string>& out)
{
    std::ofstream f(path.ToUtf8(), std::ios::binary | std::ios::trunc);
    for (const std::string& l : out)
        f << l << "\r\n";
    return bool(f);
}
// The file as it stands, unrepaired, is XML whose root is an svg element.
bool IsWellFormedSvg(const CString& path)
{
    CXDXml doc;
    return doc.Load(path) && !doc.GetNode(L"/*[local-name()='svg']").IsEmpty();
}
} // namespace

const wchar_t* CFOPSvgConvert::FailureMessage()
{
    return L"Sorry, we had tried many times for opening this svg file, but all of them failed, so please "
           L"check it is "
           L"a correct svg file!";
}

const wchar_t* CFOPSvgConvert::NothingMessage()
{
    return L"This svg file was read, but it holds nothing to import.";
}

CFOPSvgConvert::CFOPSvgConvert(CFODataModel* pModel, const CString& strPath)
    : m_pModel(pModel), m_strPath(strPath)
{
    m_shapeSet.Reserve(16);
}

CFOPSvgConvert::~CFOPSvgConvert()
{
    m_result.RemoveAll();
    m_fills.RemoveAll();
    m_progress.Hide();
    DeleteTempFile();
}

BOOL CFOPSvgConvert::EnsureWorkFolder()
{
    if (!m_strWorkFolder.IsEmpty() && QDir(QString::fromStdWString(m_strWorkFolder.str())).exists())
        return TRUE;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qyrsvg-XXXXXX"));
    if (!dir.isValid())
        return FALSE;
    dir.setAutoRemove(false);
    m_strWorkFolder = CString(dir.path().toStdWString());
    return TRUE;
}

CString CFOPSvgConvert::WorkFile(const wchar_t* name)
{
    if (!EnsureWorkFolder())
        return CString();
    return m_strWorkFolder + L"/" + name;
}

void CFOPSvgConvert::DeleteTempFile()
{
    if (m_strWorkFolder.IsEmpty())
        return;
    QDir(QString::fromStdWString(m_strWorkFolder.str())).removeRecursively();
    m_strWorkFolder.Empty();
    m_strWorkPath.Empty();
}

CString CFOPSvgConvert::RewriteXmlFile(const CString& source)
{
    CFile in;
    if (!in.Open(source, CFile::modeRead))
        return CString();
    CNewConvertXML tree;
    BOOL ok = FALSE;
    try
    {
        ok = tree.XMLRead(&in);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (!ok)
        return CString(); // an unread file is never replaced by an older work file
    const CString path = WorkFile(L"rewrite.xml");
    if (path.IsEmpty())
        return CString();
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n";
    text += tree.ToXmlText(-1);
    std::ofstream f(path.ToUtf8(), std::ios::binary | std::ios::trunc);
    f << text;
    return f ? path : CString();
}

CString CFOPSvgConvert::RemoveDoctype(const CString& source)
{
    std::vector<std::string> out;
    bool dropped = false;
    const bool read =
        EditLines(source, out,
                  [&dropped](std::string& line, const std::vector<std::string>& lines, size_t& i)
                  {
                      if (!dropped && line.find("<!DOCTYPE") != std::string::npos)
                      {
                          dropped = true;
                          CutDoctype(line, lines, i);
                          if (line.size() <= 2)
                              return false;
                      }
                      ReplaceAll(line, "xlink:href=", "xlinkhref=");
                      return true;
                  });
    if (!read)
        return CString();
    const CString path = WorkFile(L"doctype.xml");
    return !path.IsEmpty() && WriteLines(path, out) ? path : CString();
}

CString CFOPSvgConvert::RepairNamespaces(const CString& source)
{
    std::vector<std::string> out;
    const bool read = EditLines(source, out,
                                [](std::string& line, const std::vector<std::string>& lines, size_t& i)
                                {
                                    if (line.find("<!") != std::string::npos)
                                    {
                                        CutDeclarations(line, lines, i);
                                        if (line.size() <= 2)
                                            return false;
                                    }
                                    if (line.find("<svg") != std::string::npos)
                                    {
                                        CutAttribute(line, "xmlns=");
                                        CutAttribute(line, "xmlns:xlink=");
                                    }
                                    ReplaceAll(line, "xlink:href=", "xlinkhref=");
                                    return true;
                                });
    if (!read)
        return CString();
    const CString path = WorkFile(L"namespaces.xml");
    return !path.IsEmpty() && WriteLines(path, out) ? path : CString();
}

CString CFOPSvgConvert::StripDeclarations(const CString& source)
{
    std::vector<std::string> out;
    const bool read = EditLines(source, out,
                                [](std::string& line, const std::vector<std::string>& lines, size_t& i)
                                {
                                    CutDeclarations(line, lines, i);
                                    // Every namespace declaration, with the space before it.
                                    for (size_t at = line.find("xmlns"); at != std::string::npos;
                                         at = line.find("xmlns", at))
                                    {
                                        const size_t from = at > 0 ? at - 1 : 0;
                                        size_t end = line.find(' ', at);
                                        if (end == std::string::npos)
                                            end = line.find_first_of("/>", at);
                                        if (end == std::string::npos)
                                            end = line.size();
                                        line.erase(from, end - from);
                                        at = from;
                                    }
                                    return true;
                                });
    if (!read)
        return CString();
    const CString path = WorkFile(L"declarations.xml");
    return !path.IsEmpty() && WriteLines(path, out) ? path : CString();
}

CString CFOPSvgConvert::RunRepair(Repair repair)
{
    switch (repair)
    {
    case Repair::Rewrite:
        return RewriteXmlFile(m_strPath);
    case Repair::Doctype:
        return RemoveDoctype(m_strPath);
    case Repair::Namespaces:
        return RepairNamespaces(m_strPath);
    default:
        return StripDeclarations(m_strPath);
    }
}

BOOL CFOPSvgConvert::RunPass(std::initializer_list<Repair> tries)
{
    CWaitCursor wait;
    bool loaded = false;
    for (Repair r : tries)
    {
        m_strWorkPath = RunRepair(r);
        if (!m_strWorkPath.IsEmpty() && m_doc.Load(m_strWorkPath))
        {
            static const wchar_t* names[] = {L"RewriteXmlFile", L"RemoveDoctype", L"RepairNamespaces",
                                             L"StripDeclarations"};
            m_strRepair = names[int(r)];
            loaded = true;
            break;
        }
    }
    if (!loaded)
        return FALSE;
    m_progress.SetTitle(L"Loading svg data...");
    m_progress.SetMessage(L"This is a progress window to see how it turns out.");
    CXDXmlNode list = m_doc.GetNodeList(L"svg");
    m_progress.SetFullScale(UINT((list.GetNodeListSize() + 2) * 5));
    m_progress.SetCanCancelFlag(FALSE);
    m_progress.SetCancelMessage(9999);
    m_progress.Show(AfxGetMainWnd());
    m_progress.UpdateProgress(5);
    m_fills.RemoveAll();
    ConvertDocument(m_doc);
    m_progress.Hide();
    return TRUE;
}

BOOL CFOPSvgConvert::ConvertPassOne()
{
    return RunPass({Repair::Rewrite, Repair::Doctype, Repair::Namespaces});
}

BOOL CFOPSvgConvert::ConvertPassTwo()
{
    return RunPass({Repair::Doctype, Repair::Namespaces});
}

BOOL CFOPSvgConvert::ConvertPassThree()
{
    return RunPass({Repair::Namespaces, Repair::Declarations});
}

void CFOPSvgConvert::ImportToModel()
{
    CWaitCursor wait;
    m_added.clear();
    m_result.RemoveAll();
    ConvertPassOne();
    if (m_result.IsEmpty())
        ConvertPassTwo();
    if (m_result.IsEmpty())
        ConvertPassThree();
    if (m_result.IsEmpty() || !m_pModel)
    {
        m_result.RemoveAll();
        // A well-formed drawing that holds nothing to draw is not a broken file.
        AfxMessageBox(m_pModel && IsWellFormedSvg(m_strPath) ? NothingMessage() : FailureMessage(),
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    LONG left = 50000, top = 50000;
    for (CFODrawShape* shape : m_result)
    {
        CRect rc = shape->GetSnapRect();
        rc.NormalizeRect();
        left = std::min(left, rc.left);
        top = std::min(top, rc.top);
    }
    const CSize offset(20 - left, 20 - top);
    for (CFODrawShape* shape : m_result)
    {
        if (left != 0 || top != 0)
            shape->OffsetShape(offset);
        m_pModel->InsertShape(shape);
        m_added.push_back(shape);
    }
    m_result.RemoveAll();
}
