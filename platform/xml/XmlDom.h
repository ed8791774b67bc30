// The XML DOM: documents loaded from a file or a text, nodes, XPath selection, creating, editing and
// saving. Backed by libxml2 and synchronous: a load has finished when it returns.
//
// Untrusted input is the rule: nothing is fetched from the network, external entities and DTDs are
// never loaded, nesting is bounded (256 levels) and entity expansion stays within libxml2's limits.
// A document whose namespaces are not well formed (an undeclared prefix) does not load.
//
// Nodes are cheap handles that keep their document alive; a node of a document that was reloaded
// keeps the old tree.
#pragma once

#include "mfc/CString.h"

#include <memory>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace qyrxml
{
struct DocHolder;
}

class CXmlDocument;

class CXmlNode
{
public:
    enum Type
    {
        XML_NONE = 0,
        XML_ELEMENT,
        XML_ATTRIBUTE,
        XML_TEXT,
        XML_CDATA,
        XML_COMMENT,
        XML_PI,
        XML_DOCUMENT,
        XML_OTHER,
    };

    CXmlNode() = default;
    bool IsNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    Type GetType() const;
    // The qualified name ("xlink:href", "svg"); "#text", "#document" and the like for others.
    CString GetName() const;
    CString GetLocalName() const;
    // The text content: of an element all its descendants' text, of an attribute its value.
    CString GetText() const;
    // The node written as XML text.
    CString GetXml() const;

    CXmlNode GetParent() const;
    CXmlNode GetFirstChild() const;
    CXmlNode GetNextSibling() const;
    std::vector<CXmlNode> GetChildNodes() const;

    // Attributes of an element, in document order (as attribute nodes).
    std::vector<CXmlNode> GetAttributes() const;
    int GetAttributeCount() const;
    // By qualified name, as written in the document ("xlink:href", "href").
    CXmlNode GetAttributeNode(const CString& qname) const;
    bool GetAttribute(const CString& qname, CString& value) const;
    // Sets (or adds) an attribute of an element; false on another kind of node or a bad name.
    bool SetAttribute(const CString& qname, const CString& value);
    // Replaces the text of an element or the value of an attribute.
    bool SetText(const CString& text);

    // New nodes at the end of this one's children; null on failure.
    CXmlNode AppendElement(const CString& name);
    CXmlNode AppendText(const CString& text);
    // Appends a deep copy of a node (of any document); the copy, or null.
    CXmlNode AppendCopy(const CXmlNode& node);

    // XPath from this node (see CXmlDocument::SelectNodes for the default namespace rule).
    std::vector<CXmlNode> SelectNodes(const CString& xpath) const;
    CXmlNode SelectSingleNode(const CString& xpath) const;

    bool operator==(const CXmlNode& other) const { return m_node == other.m_node; }

private:
    friend class CXmlDocument;
    CXmlNode(std::shared_ptr<qyrxml::DocHolder> doc, _xmlNode* node) : m_doc(std::move(doc)), m_node(node) {}

    std::shared_ptr<qyrxml::DocHolder> m_doc;
    _xmlNode* m_node = nullptr;
};

class CXmlDocument
{
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // A successful load replaces the document; a failed one leaves an empty document and keeps the
    // parse error's line (1-based; 0 when unknown) and reason.
    bool Load(const CString& path);
    bool LoadXml(const CString& text);
    bool LoadBytes(const char* data, size_t size, const char* url = nullptr);
    int GetErrorLine() const { return m_nErrorLine; }
    const CString& GetErrorReason() const { return m_strErrorReason; }

    // An empty document, ready for a root.
    void Clear();
    bool HasDocument() const;
    CXmlNode GetDocumentNode() const;
    CXmlNode GetRoot() const;
    // Makes a new element the document element (replacing any).
    CXmlNode SetRootElement(const CString& name);
    // "xml" sets the declaration (version and encoding are read from the data); other targets add a
    // processing instruction before the document element.
    bool AddProcessingInstruction(const CString& target, const CString& data);

    // XPath from the document. An unprefixed name test also matches an element of a default
    // namespace declared in the document, so "svg" finds <svg xmlns="...">.
    std::vector<CXmlNode> SelectNodes(const CString& xpath) const;
    CXmlNode SelectSingleNode(const CString& xpath) const;

    // UTF-8 text with a declaration.
    CString GetXml() const;
    bool Save(const CString& path) const;

private:
    bool Parse(const char* data, size_t size, const char* url);

    std::shared_ptr<qyrxml::DocHolder> m_doc;
    int m_nErrorLine = 0;
    CString m_strErrorReason;
};
