// The XML DOM wrapper: CXDXml holds one document and a write cursor, CXDXmlNode one node or one
// node list and reads typed values from it, CXDNamedNode the attributes of one element.
//
// Failures are results: false, 0, an empty node or the caller's default. The write cursor remembers
// every parent it descends through, however deep.
#pragma once

#include "com/ComUtil.h"
#include "mfc/CString.h"
#include "xml/XmlDom.h"

#include <memory>
#include <vector>

class CXDNamedNode;

class CXDXmlNode
{
public:
    CXDXmlNode() = default;
    void SetNode(const CXmlNode& node) { m_node = node; }
    void SetNodeList(std::vector<CXmlNode> list);
    bool IsEmpty() const { return m_node.IsNull() && !m_list; }
    const CXmlNode& GetXmlNode() const { return m_node; }

    CXDXmlNode GetFirstChildNode();
    CXDXmlNode GetNextChildNode();
    CXDXmlNode GetChildNodes();
    CXDXmlNode GetItemNode(const int& index);
    CXDXmlNode GetNode(CString xpath);
    CXDXmlNode GetNodeList(CString xpath);
    int GetNodeListSize() const;
    bool GetNextNode();
    bool GetNextNode(CString& name, CString& value);

    CString GetNodeText(const CString& path, CString def);
    int GetNodeInt(const CString& path, int def);
    float GetNodeFloat(const CString& path, float def);
    double GetNodeDouble(const CString& path, double def);
    bool GetNodeBool(const CString& path, bool def);
    void GetNodeValue(const CString& path, CString& out);
    void GetNodeValue(const CString& path, int& out);
    void GetNodeValue(const CString& path, bool& out);
    _variant_t GetNodeVal(const CString& path);

    CString GetXml();
    CString GetText();
    CString GetNodeName();
    // Only the text of the element's own text children, not of its child elements.
    CString GetOwnText();
    CXDNamedNode GetNamedNode();
    CXDNamedNode GetNamedNode(_bstr_t xpath);
    bool SetParamVal(_variant_t value);

protected:
    bool GetNodeVal(_bstr_t path, _variant_t& out);
    bool LookupText(const CString& path, CString& text);
    // A held list with no node yet: its next node becomes the node.
    bool Resolve();

private:
    struct List
    {
        std::vector<CXmlNode> nodes;
        size_t next = 0;
    };
    CXmlNode m_node;
    std::shared_ptr<List> m_list;
};

class CXDNamedNode
{
public:
    CXDNamedNode() = default;
    void SetNode(const CXmlNode& element);
    int GetSize() const;
    CXDXmlNode GetItemNode(int index) const;
    CXDXmlNode GetNextNode();

    CString GetNodeText(const CString& name, CString def) const;
    int GetNodeInt(const CString& name, int def) const;
    float GetNodeFloat(const CString& name, float def) const;
    double GetNodeDouble(const CString& name, double def) const;
    // Sets an attribute that exists (none is created); 0 when it does not.
    int SetNodeText(const CString& name, const CString& text);
    // The attribute's text when it exists.
    bool Lookup(const CString& name, CString& text) const;

protected:
    int GetNodeVal(const _bstr_t& name, _variant_t& out) const;
    int SetNodeVal(const _bstr_t& name, const _bstr_t& value);

private:
    CXmlNode m_element;
    std::shared_ptr<size_t> m_next;
};

class CXDXml
{
public:
    CXDXml();
    virtual ~CXDXml();

    bool Load(const CString& path);
    bool LoadXml(const CString& text);
    bool CreateRoot(CString name);
    bool AddChildElement(CString name);
    bool AddAttribute(CString name, CString value);
    bool AddChildTextNode(CString name, CString text);
    bool BackToParent();
    bool AddXmlFragment(_bstr_t xml);
    bool SaveXml(const CString& path);
    _bstr_t GetXml();
    CXmlDocument* GetDocumentPtr() { return m_pDoc.get(); }
    bool IsInitialised() const { return m_bInitialised; }
    // The last load's parse error.
    int GetErrorLine() const { return m_pDoc ? m_pDoc->GetErrorLine() : 0; }
    CString GetErrorReason() const { return m_pDoc ? m_pDoc->GetErrorReason() : CString(); }

    CXDXmlNode GetNode(CString xpath);
    CXDXmlNode GetNodeList(CString xpath);
    _variant_t GetNodeVal(CString xpath);
    CString GetNodeText(CString xpath, CString def);
    CXDXmlNode FindParamNode(_bstr_t xpath, CString name);

protected:
    bool CreateDocument();
    bool GetNodeVal(_bstr_t xpath, _variant_t& out);

private:
    bool m_bInitialised = false;
    CXmlNode m_current;
    std::unique_ptr<CXmlDocument> m_pDoc;
    std::vector<CXmlNode> m_parents;
};

// A decimal text as the readers take it: wcstod, 0 for no number or a value that is not finite.
double XDParseNumber(const CString& text);
// The integer reading: a non-zero value strictly between -1 and 1 keeps its sign as 1 or -1; the
// rest rounds to the nearest integer.
int XDRoundNumber(double value);
