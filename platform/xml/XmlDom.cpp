#include "xml/XmlDom.h"

#include "XmlPrivate.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

using qyrxml::DocHolder;

namespace
{
// Larger inputs are refused before parsing.
constexpr size_t kMaxInput = 256u * 1024u * 1024u;

thread_local bool t_inOurParse = false;
xmlExternalEntityLoader g_previousLoader = nullptr;

// While one of our documents parses, nothing outside it is ever read.
xmlParserInputPtr RefusingLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt)
{
    if (t_inOurParse)
        return nullptr;
    return g_previousLoader ? g_previousLoader(url, id, ctxt) : nullptr;
}

// The first error of a parse (the later ones mostly follow from it).
struct FirstError
{
    bool set = false;
    int line = 0;
    std::string message;
};

void CollectFirstError(void* data, xmlErrorPtr error)
{
    auto* first = static_cast<FirstError*>(data);
    if (!first || !error || first->set || error->level < XML_ERR_ERROR)
        return;
    first->set = true;
    first->line = error->line;
    first->message = error->message ? error->message : "";
}

void IgnoreError(void*, xmlErrorPtr) {}

// Errors go to the handler for the scope, never to the error output.
class CErrorScope
{
public:
    CErrorScope(void* data, xmlStructuredErrorFunc handler) { xmlSetStructuredErrorFunc(data, handler); }
    ~CErrorScope() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
};

void InitOnce()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       xmlInitParser();
                       g_previousLoader = xmlGetExternalEntityLoader();
                       xmlSetExternalEntityLoader(RefusingLoader);
                   });
}

const xmlChar* X(const std::string& s)
{
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

CString FromX(const xmlChar* s)
{
    return s ? CString::FromUtf8(reinterpret_cast<const char*>(s)) : CString();
}

// Takes a libxml2 allocation and returns it as text.
CString TakeX(xmlChar* s)
{
    CString out = FromX(s);
    if (s)
        xmlFree(s);
    return out;
}

CString QualifiedName(const xmlNode* node)
{
    if (!node || !node->name)
        return CString();
    CString name = FromX(node->name);
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns && node->ns->prefix)
        return FromX(node->ns->prefix) + L":" + name;
    return name;
}

// The document's default namespace, when it declares one anywhere on the path to the root element.
std::string DefaultNamespace(xmlDocPtr doc, xmlNodePtr context)
{
    if (!doc)
        return std::string();
    xmlNodePtr start = context && context->type == XML_ELEMENT_NODE ? context : xmlDocGetRootElement(doc);
    if (!start)
        return std::string();
    xmlNsPtr ns = xmlSearchNs(doc, start, nullptr);
    if (!ns || !ns->href)
    {
        // A root without one may still have descendants in a default namespace.
        xmlNodePtr root = xmlDocGetRootElement(doc);
        if (root && root->ns && !root->ns->prefix && root->ns->href)
            return reinterpret_cast<const char*>(root->ns->href);
        return std::string();
    }
    return reinterpret_cast<const char*>(ns->href);
}

void Select(const std::shared_ptr<DocHolder>& holder, xmlNodePtr context, const CString& xpath, bool first,
            std::vector<xmlNodePtr>& raw)
{
    if (!holder || !holder->doc || xpath.IsEmpty())
        return;
    const std::string expr = qyrxml::WidenNameTests(xpath.ToUtf8(), DefaultNamespace(holder->doc, context));
    xmlXPathContextPtr ctx = xmlXPathNewContext(holder->doc);
    if (!ctx)
        return;
    ctx->node = context ? context : reinterpret_cast<xmlNodePtr>(holder->doc);
    CErrorScope quiet(nullptr, IgnoreError);
    xmlXPathObjectPtr obj = xmlXPathEvalExpression(X(expr), ctx);
    if (obj && obj->type == XPATH_NODESET && obj->nodesetval)
    {
        const int n = obj->nodesetval->nodeNr;
        for (int i = 0; i < n; ++i)
        {
            xmlNodePtr node = obj->nodesetval->nodeTab[i];
            // Namespace nodes are copies owned by the result; they are not handed out.
            if (!node || node->type == XML_NAMESPACE_DECL)
                continue;
            raw.push_back(node);
            if (first)
                break;
        }
    }
    if (obj)
        xmlXPathFreeObject(obj);
    xmlXPathFreeContext(ctx);
}
} // namespace

// CXmlNode

CXmlNode::Type CXmlNode::GetType() const
{
    if (!m_node)
        return XML_NONE;
    switch (m_node->type)
    {
    case XML_ELEMENT_NODE:
        return XML_ELEMENT;
    case XML_ATTRIBUTE_NODE:
        return XML_ATTRIBUTE;
    case XML_TEXT_NODE:
        return XML_TEXT;
    case XML_CDATA_SECTION_NODE:
        return XML_CDATA;
    case XML_COMMENT_NODE:
        return XML_COMMENT;
    case XML_PI_NODE:
        return XML_PI;
    case XML_DOCUMENT_NODE:
        return XML_DOCUMENT;
    default:
        return XML_OTHER;
    }
}

CString CXmlNode::GetName() const
{
    if (!m_node)
        return CString();
    switch (m_node->type)
    {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
    case XML_PI_NODE:
        return QualifiedName(m_node);
    case XML_TEXT_NODE:
        return L"#text";
    case XML_CDATA_SECTION_NODE:
        return L"#cdata-section";
    case XML_COMMENT_NODE:
        return L"#comment";
    case XML_DOCUMENT_NODE:
        return L"#document";
    default:
        return FromX(m_node->name);
    }
}

CString CXmlNode::GetLocalName() const
{
    return m_node ? FromX(m_node->name) : CString();
}

CString CXmlNode::GetText() const
{
    if (!m_node)
        return CString();
    return TakeX(xmlNodeGetContent(m_node));
}

CString CXmlNode::GetXml() const
{
    if (!m_node || !m_doc)
        return CString();
    if (m_node->type == XML_DOCUMENT_NODE)
    {
        xmlChar* mem = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(m_doc->doc, &mem, &size, "UTF-8");
        return TakeX(mem);
    }
    xmlBufferPtr buf = xmlBufferCreate();
    if (!buf)
        return CString();
    xmlNodeDump(buf, m_doc->doc, m_node, 0, 0);
    CString out = FromX(xmlBufferContent(buf));
    xmlBufferFree(buf);
    return out;
}

CXmlNode CXmlNode::GetParent() const
{
    if (!m_node || !m_node->parent)
        return CXmlNode();
    return CXmlNode(m_doc, m_node->parent);
}

CXmlNode CXmlNode::GetFirstChild() const
{
    if (!m_node || m_node->type == XML_ENTITY_REF_NODE)
        return CXmlNode();
    return m_node->children ? CXmlNode(m_doc, m_node->children) : CXmlNode();
}

CXmlNode CXmlNode::GetNextSibling() const
{
    return m_node && m_node->next ? CXmlNode(m_doc, m_node->next) : CXmlNode();
}

std::vector<CXmlNode> CXmlNode::GetChildNodes() const
{
    std::vector<CXmlNode> out;
    if (!m_node || m_node->type == XML_ENTITY_REF_NODE || m_node->type == XML_ATTRIBUTE_NODE)
        return out;
    for (xmlNodePtr c = m_node->children; c; c = c->next)
        out.push_back(CXmlNode(m_doc, c));
    return out;
}

std::vector<CXmlNode> CXmlNode::GetAttributes() const
{
    std::vector<CXmlNode> out;
    if (!m_node || m_node->type != XML_ELEMENT_NODE)
        return out;
    for (xmlAttrPtr a = m_node->properties; a; a = a->next)
        out.push_back(CXmlNode(m_doc, reinterpret_cast<xmlNodePtr>(a)));
    return out;
}

int CXmlNode::GetAttributeCount() const
{
    int n = 0;
    if (m_node && m_node->type == XML_ELEMENT_NODE)
        for (xmlAttrPtr a = m_node->properties; a; a = a->next)
            ++n;
    return n;
}

CXmlNode CXmlNode::GetAttributeNode(const CString& qname) const
{
    if (!m_node || m_node->type != XML_ELEMENT_NODE || !m_node->properties)
        return CXmlNode();
    // Compared in UTF-8, as the names are stored: "prefix:local" or "local".
    const std::string name = qname.ToUtf8();
    const size_t colon = name.find(':');
    for (xmlAttrPtr a = m_node->properties; a; a = a->next)
    {
        const char* local = reinterpret_cast<const char*>(a->name);
        const char* prefix = a->ns && a->ns->prefix ? reinterpret_cast<const char*>(a->ns->prefix) : nullptr;
        bool same;
        if (prefix)
            same = colon != std::string::npos && name.compare(0, colon, prefix) == 0 &&
                   std::strlen(prefix) == colon && name.compare(colon + 1, std::string::npos, local) == 0;
        else
            same = name == local;
        if (same)
            return CXmlNode(m_doc, reinterpret_cast<xmlNodePtr>(a));
    }
    return CXmlNode();
}

bool CXmlNode::GetAttribute(const CString& qname, CString& value) const
{
    CXmlNode attr = GetAttributeNode(qname);
    if (attr.IsNull())
        return false;
    value = attr.GetText();
    return true;
}

bool CXmlNode::SetAttribute(const CString& qname, const CString& value)
{
    if (!m_node || m_node->type != XML_ELEMENT_NODE || qname.IsEmpty())
        return false;
    const std::string v = value.ToUtf8();
    CXmlNode existing = GetAttributeNode(qname);
    if (!existing.IsNull())
        return existing.SetText(value);
    const std::string name = qname.ToUtf8();
    if (xmlValidateQName(X(name), 0) != 0)
        return false;
    const size_t colon = name.find(':');
    if (colon != std::string::npos)
    {
        const std::string prefix = name.substr(0, colon);
        const std::string local = name.substr(colon + 1);
        if (prefix == "xmlns")
            return xmlNewNs(m_node, X(v), X(local)) != nullptr;
        if (xmlNsPtr ns = xmlSearchNs(m_doc->doc, m_node, X(prefix)))
            return xmlNewNsProp(m_node, ns, X(local), X(v)) != nullptr;
    }
    else if (name == "xmlns")
    {
        if (xmlNewNs(m_node, X(v), nullptr) == nullptr)
            return false;
        return true;
    }
    return xmlNewProp(m_node, X(name), X(v)) != nullptr;
}

bool CXmlNode::SetText(const CString& text)
{
    if (!m_node || (m_node->type != XML_ELEMENT_NODE && m_node->type != XML_ATTRIBUTE_NODE))
        return false;
    const std::string v = text.ToUtf8();
    if (m_node->type == XML_ATTRIBUTE_NODE)
    {
        xmlAttrPtr attr = reinterpret_cast<xmlAttrPtr>(m_node);
        xmlFreeNodeList(attr->children);
        attr->children = attr->last = nullptr;
        xmlNodePtr t = xmlNewDocText(m_doc->doc, X(v));
        if (!t)
            return false;
        xmlAddChild(m_node, t);
        return true;
    }
    // Text given to an element is literal, never markup.
    xmlChar* escaped = xmlEncodeSpecialChars(m_doc->doc, X(v));
    xmlNodeSetContent(m_node, escaped);
    xmlFree(escaped);
    return true;
}

CXmlNode CXmlNode::AppendElement(const CString& name)
{
    if (!m_node || (m_node->type != XML_ELEMENT_NODE && m_node->type != XML_DOCUMENT_NODE))
        return CXmlNode();
    const std::string n = name.ToUtf8();
    if (xmlValidateName(X(n), 0) != 0)
        return CXmlNode();
    xmlNodePtr child = xmlNewDocNode(m_doc->doc, nullptr, X(n), nullptr);
    if (!child)
        return CXmlNode();
    if (m_node->type == XML_DOCUMENT_NODE && xmlDocGetRootElement(m_doc->doc))
    {
        xmlFreeNode(child);
        return CXmlNode();
    }
    return CXmlNode(m_doc, xmlAddChild(m_node, child));
}

CXmlNode CXmlNode::AppendText(const CString& text)
{
    if (!m_node || m_node->type != XML_ELEMENT_NODE)
        return CXmlNode();
    xmlNodePtr t = xmlNewDocText(m_doc->doc, X(text.ToUtf8()));
    return t ? CXmlNode(m_doc, xmlAddChild(m_node, t)) : CXmlNode();
}

CXmlNode CXmlNode::AppendCopy(const CXmlNode& node)
{
    if (!m_node || node.IsNull() || (m_node->type != XML_ELEMENT_NODE && m_node->type != XML_DOCUMENT_NODE))
        return CXmlNode();
    xmlNodePtr copy = xmlDocCopyNode(node.m_node, m_doc->doc, 1);
    if (!copy)
        return CXmlNode();
    xmlNodePtr added = xmlAddChild(m_node, copy);
    if (!added)
    {
        xmlFreeNode(copy);
        return CXmlNode();
    }
    xmlReconciliateNs(m_doc->doc, added);
    return CXmlNode(m_doc, added);
}

std::vector<CXmlNode> CXmlNode::SelectNodes(const CString& xpath) const
{
    std::vector<xmlNodePtr> raw;
    Select(m_doc, m_node, xpath, false, raw);
    std::vector<CXmlNode> out;
    out.reserve(raw.size());
    for (xmlNodePtr n : raw)
        out.push_back(CXmlNode(m_doc, n));
    return out;
}

CXmlNode CXmlNode::SelectSingleNode(const CString& xpath) const
{
    std::vector<xmlNodePtr> raw;
    Select(m_doc, m_node, xpath, true, raw);
    return raw.empty() ? CXmlNode() : CXmlNode(m_doc, raw.front());
}

// CXmlDocument

CXmlDocument::CXmlDocument()
{
    InitOnce();
}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::Load(const CString& path)
{
    m_doc.reset();
    m_nErrorLine = 0;
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    if (!in)
    {
        m_strErrorReason = L"The file cannot be opened.";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size_t(size) > kMaxInput)
    {
        m_strErrorReason = L"The file is too large.";
        return false;
    }
    in.seekg(0);
    std::string data(size_t(size), '\0');
    in.read(data.data(), size);
    return Parse(data.data(), data.size(), path.ToUtf8().c_str());
}

bool CXmlDocument::LoadXml(const CString& text)
{
    const std::string data = text.ToUtf8();
    // The text is Unicode already: a declared encoding does not apply to it.
    return Parse(data.data(), data.size(), nullptr);
}

bool CXmlDocument::LoadBytes(const char* data, size_t size, const char* url)
{
    return Parse(data, size, url);
}

bool CXmlDocument::Parse(const char* data, size_t size, const char* url)
{
    m_doc.reset();
    m_nErrorLine = 0;
    m_strErrorReason.Empty();
    if (!data || size == 0)
    {
        m_strErrorReason = L"The document is empty.";
        return false;
    }
    if (size > kMaxInput || size > size_t(INT_MAX))
    {
        m_strErrorReason = L"The document is too large.";
        return false;
    }
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
    {
        m_strErrorReason = L"Out of memory.";
        return false;
    }
    // Entities are substituted under libxml2's own expansion limits; no network, no DTD loading,
    // no huge mode.
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    FirstError first;
    xmlDocPtr doc;
    {
        CErrorScope errors(&first, CollectFirstError);
        t_inOurParse = true;
        doc = xmlCtxtReadMemory(ctxt, data, int(size), url, nullptr, options);
        t_inOurParse = false;
    }
    const bool ok = doc && ctxt->wellFormed && ctxt->nsWellFormed && xmlDocGetRootElement(doc);
    if (!ok)
    {
        xmlErrorPtr err = xmlCtxtGetLastError(ctxt);
        if (first.set)
        {
            m_strErrorReason = CString::FromUtf8(first.message);
            m_strErrorReason.TrimRight();
            m_nErrorLine = first.line;
        }
        else if (err && err->message)
        {
            m_strErrorReason = CString::FromUtf8(err->message);
            m_strErrorReason.TrimRight();
            m_nErrorLine = err->line;
        }
        else
            m_strErrorReason = L"The document is not well-formed.";
        if (doc)
            xmlFreeDoc(doc);
        xmlFreeParserCtxt(ctxt);
        return false;
    }
    xmlFreeParserCtxt(ctxt);
    m_doc = std::make_shared<DocHolder>(doc);
    return true;
}

void CXmlDocument::Clear()
{
    m_doc = std::make_shared<DocHolder>(xmlNewDoc(X("1.0")));
}

bool CXmlDocument::HasDocument() const
{
    return m_doc && m_doc->doc;
}

CXmlNode CXmlDocument::GetDocumentNode() const
{
    return HasDocument() ? CXmlNode(m_doc, reinterpret_cast<xmlNodePtr>(m_doc->doc)) : CXmlNode();
}

CXmlNode CXmlDocument::GetRoot() const
{
    if (!HasDocument())
        return CXmlNode();
    xmlNodePtr root = xmlDocGetRootElement(m_doc->doc);
    return root ? CXmlNode(m_doc, root) : CXmlNode();
}

CXmlNode CXmlDocument::SetRootElement(const CString& name)
{
    if (!HasDocument())
        Clear();
    const std::string n = name.ToUtf8();
    if (xmlValidateName(X(n), 0) != 0)
        return CXmlNode();
    xmlNodePtr root = xmlNewDocNode(m_doc->doc, nullptr, X(n), nullptr);
    if (!root)
        return CXmlNode();
    if (xmlNodePtr old = xmlDocSetRootElement(m_doc->doc, root))
        xmlFreeNode(old);
    return CXmlNode(m_doc, root);
}

bool CXmlDocument::AddProcessingInstruction(const CString& target, const CString& data)
{
    if (!HasDocument())
        Clear();
    const std::string t = target.ToUtf8();
    const std::string d = data.ToUtf8();
    if (t == "xml")
    {
        // The declaration is the document's own; it is written from these fields.
        auto field = [&d](const char* key) -> std::string
        {
            const size_t at = d.find(key);
            if (at == std::string::npos)
                return std::string();
            size_t q = d.find_first_of("\"'", at);
            if (q == std::string::npos)
                return std::string();
            const size_t end = d.find(d[q], q + 1);
            return end == std::string::npos ? std::string() : d.substr(q + 1, end - q - 1);
        };
        const std::string enc = field("encoding");
        if (!enc.empty())
        {
            if (m_doc->doc->encoding)
                xmlFree(const_cast<xmlChar*>(m_doc->doc->encoding));
            m_doc->doc->encoding = xmlStrdup(X(enc));
        }
        return true;
    }
    if (xmlValidateName(X(t), 0) != 0)
        return false;
    xmlNodePtr pi = xmlNewDocPI(m_doc->doc, X(t), X(d));
    if (!pi)
        return false;
    if (xmlNodePtr root = xmlDocGetRootElement(m_doc->doc))
        xmlAddPrevSibling(root, pi);
    else
        xmlAddChild(reinterpret_cast<xmlNodePtr>(m_doc->doc), pi);
    return true;
}

std::vector<CXmlNode> CXmlDocument::SelectNodes(const CString& xpath) const
{
    return GetDocumentNode().SelectNodes(xpath);
}

CXmlNode CXmlDocument::SelectSingleNode(const CString& xpath) const
{
    return GetDocumentNode().SelectSingleNode(xpath);
}

CString CXmlDocument::GetXml() const
{
    return GetDocumentNode().GetXml();
}

bool CXmlDocument::Save(const CString& path) const
{
    if (!HasDocument())
        return false;
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(m_doc->doc, &mem, &size, "UTF-8");
    if (!mem)
        return false;
    std::ofstream out(path.ToUtf8(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(mem), size);
    xmlFree(mem);
    return bool(out);
}
