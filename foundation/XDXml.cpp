#include "foundation/XDXml.h"

#include "figkit/FODrawHelper.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

double XDParseNumber(const CString& text)
{
    const double v = std::wcstod(text.GetString(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

int XDRoundNumber(double value)
{
    if (value != 0.0 && value > -1.0 && value < 1.0)
        value = value < 0 ? -1.0 : 1.0;
    return CFODrawHelper::RoundValue(value);
}

namespace
{
_variant_t TextVariant(const CString& text)
{
    return _variant_t(text.GetString());
}

CString VariantText(const _variant_t& v)
{
    if (v.vt != VT_BSTR || !v.bstrVal)
        return CString();
    return CString(static_cast<const wchar_t*>(v.bstrVal));
}

// The OLE conversion of a text to a boolean: "true"/"false" in any case or a number.
bool TextToBool(const CString& text)
{
    CString t = text;
    t.Trim();
    if (t.CompareNoCase(L"true") == 0 || t.CompareNoCase(L"#true#") == 0)
        return true;
    if (t.CompareNoCase(L"false") == 0 || t.CompareNoCase(L"#false#") == 0)
        return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    if (t.IsEmpty() || !end || *end != 0)
        _com_issue_error(DISP_E_TYPEMISMATCH);
    return v != 0.0;
}

int TextToInt(const CString& text)
{
    CString t = text;
    t.Trim();
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    if (t.IsEmpty() || !end || *end != 0 || !std::isfinite(v) || v > 2147483647.0 || v < -2147483648.0)
        _com_issue_error(DISP_E_TYPEMISMATCH);
    return CFODrawHelper::RoundValue(v);
}
} // namespace

// CXDXmlNode

void CXDXmlNode::SetNodeList(std::vector<CXmlNode> list)
{
    m_list = std::make_shared<List>();
    m_list->nodes = std::move(list);
}

bool CXDXmlNode::Resolve()
{
    if (!m_node.IsNull())
        return true;
    if (m_list && m_list->next < m_list->nodes.size())
    {
        m_node = m_list->nodes[m_list->next++];
        return true;
    }
    return false;
}

CXDXmlNode CXDXmlNode::GetFirstChildNode()
{
    CXDXmlNode out;
    if (Resolve())
        out.SetNode(m_node.GetFirstChild());
    return out;
}

CXDXmlNode CXDXmlNode::GetNextChildNode()
{
    CXDXmlNode out;
    if (Resolve())
        out.SetNode(m_node.GetNextSibling());
    return out;
}

CXDXmlNode CXDXmlNode::GetChildNodes()
{
    CXDXmlNode out;
    if (Resolve())
    {
        std::vector<CXmlNode> children = m_node.GetChildNodes();
        if (!children.empty())
            out.SetNodeList(std::move(children));
    }
    return out;
}

CXDXmlNode CXDXmlNode::GetItemNode(const int& index)
{
    CXDXmlNode out;
    if (!Resolve() && !m_list)
        return out;
    if (m_list && index >= 0 && size_t(index) < m_list->nodes.size())
        out.SetNode(m_list->nodes[size_t(index)]);
    return out;
}

CXDXmlNode CXDXmlNode::GetNode(CString xpath)
{
    CXDXmlNode out;
    if (Resolve())
        out.SetNode(m_node.SelectSingleNode(xpath));
    return out;
}

CXDXmlNode CXDXmlNode::GetNodeList(CString xpath)
{
    CXDXmlNode out;
    if (Resolve())
    {
        std::vector<CXmlNode> nodes = m_node.SelectNodes(xpath);
        if (!nodes.empty())
            out.SetNodeList(std::move(nodes));
    }
    return out;
}

int CXDXmlNode::GetNodeListSize() const
{
    if (m_list)
        return int(m_list->nodes.size());
    return m_node.IsNull() ? 0 : 1;
}

bool CXDXmlNode::GetNextNode()
{
    if (!m_list || m_list->next >= m_list->nodes.size())
        return false;
    m_node = m_list->nodes[m_list->next++];
    return true;
}

bool CXDXmlNode::GetNextNode(CString& name, CString& value)
{
    name.Empty();
    value.Empty();
    if (!GetNextNode())
        return false;
    for (const CXmlNode& c : m_node.GetChildNodes())
    {
        if (c.GetType() != CXmlNode::XML_ELEMENT)
            continue;
        if (c.GetName() == L"NAME" && name.IsEmpty())
            name = c.GetText();
        else if (c.GetName() == L"VALUE" && value.IsEmpty())
            value = c.GetText();
    }
    return true;
}

bool CXDXmlNode::LookupText(const CString& path, CString& text)
{
    if (!Resolve())
        return false;
    CXmlNode target = path.IsEmpty() ? m_node : m_node.SelectSingleNode(path);
    if (target.IsNull())
        return false;
    text = target.GetText();
    return true;
}

bool CXDXmlNode::GetNodeVal(_bstr_t path, _variant_t& out)
{
    out = _variant_t();
    CString text;
    if (!LookupText(CString(static_cast<const wchar_t*>(path)), text))
        return false;
    out = TextVariant(text);
    return true;
}

CString CXDXmlNode::GetNodeText(const CString& path, CString def)
{
    CString text;
    return LookupText(path, text) ? text : def;
}

int CXDXmlNode::GetNodeInt(const CString& path, int def)
{
    CString text;
    return LookupText(path, text) ? XDRoundNumber(XDParseNumber(text)) : def;
}

float CXDXmlNode::GetNodeFloat(const CString& path, float def)
{
    CString text;
    return LookupText(path, text) ? float(XDParseNumber(text)) : def;
}

double CXDXmlNode::GetNodeDouble(const CString& path, double def)
{
    CString text;
    return LookupText(path, text) ? XDParseNumber(text) : def;
}

bool CXDXmlNode::GetNodeBool(const CString& path, bool def)
{
    CString text;
    return LookupText(path, text) ? TextToBool(text) : def;
}

void CXDXmlNode::GetNodeValue(const CString& path, CString& out)
{
    out.Empty();
    CString text;
    if (LookupText(path, text) && !text.IsEmpty())
        out = text;
}

void CXDXmlNode::GetNodeValue(const CString& path, int& out)
{
    out = 0;
    CString text;
    if (LookupText(path, text) && !text.IsEmpty())
        out = TextToInt(text);
}

void CXDXmlNode::GetNodeValue(const CString& path, bool& out)
{
    out = false;
    CString text;
    if (LookupText(path, text) && !text.IsEmpty())
        out = TextToBool(text);
}

_variant_t CXDXmlNode::GetNodeVal(const CString& path)
{
    _variant_t v;
    GetNodeVal(_bstr_t(path.GetString()), v);
    return v;
}

CString CXDXmlNode::GetXml()
{
    return Resolve() ? m_node.GetXml() : CString();
}

CString CXDXmlNode::GetText()
{
    return Resolve() ? m_node.GetText() : CString();
}

CString CXDXmlNode::GetOwnText()
{
    CString text;
    if (!Resolve())
        return text;
    for (CXmlNode c = m_node.GetFirstChild(); !c.IsNull(); c = c.GetNextSibling())
        if (c.GetType() == CXmlNode::XML_TEXT || c.GetType() == CXmlNode::XML_CDATA)
            text += c.GetText();
    return text;
}

CString CXDXmlNode::GetNodeName()
{
    return Resolve() ? m_node.GetName() : CString();
}

CXDNamedNode CXDXmlNode::GetNamedNode()
{
    CXDNamedNode out;
    if (Resolve())
        out.SetNode(m_node);
    return out;
}

CXDNamedNode CXDXmlNode::GetNamedNode(_bstr_t xpath)
{
    CXDNamedNode out;
    if (Resolve())
        out.SetNode(m_node.SelectSingleNode(CString(static_cast<const wchar_t*>(xpath))));
    return out;
}

bool CXDXmlNode::SetParamVal(_variant_t value)
{
    if (m_node.IsNull() || value.vt == VT_EMPTY || value.vt == VT_NULL || m_node.GetName() != L"PARAM")
        return false;
    CXmlNode valueNode;
    for (const CXmlNode& c : m_node.GetChildNodes())
        if (c.GetType() == CXmlNode::XML_ELEMENT && c.GetName() == L"VALUE")
        {
            valueNode = c;
            break;
        }
    if (valueNode.IsNull())
        return false;
    _bstr_t text(value);
    return valueNode.SetText(CString(static_cast<const wchar_t*>(text)));
}

// CXDNamedNode

void CXDNamedNode::SetNode(const CXmlNode& element)
{
    m_element = element.GetType() == CXmlNode::XML_ELEMENT ? element : CXmlNode();
    m_next = std::make_shared<size_t>(0);
}

int CXDNamedNode::GetSize() const
{
    return m_element.GetAttributeCount();
}

CXDXmlNode CXDNamedNode::GetItemNode(int index) const
{
    CXDXmlNode out;
    const std::vector<CXmlNode> attrs = m_element.GetAttributes();
    if (index >= 0 && size_t(index) < attrs.size())
        out.SetNode(attrs[size_t(index)]);
    return out;
}

CXDXmlNode CXDNamedNode::GetNextNode()
{
    if (!m_next)
        return CXDXmlNode();
    return GetItemNode(int((*m_next)++));
}

bool CXDNamedNode::Lookup(const CString& name, CString& text) const
{
    return m_element.GetAttribute(name, text);
}

int CXDNamedNode::GetNodeVal(const _bstr_t& name, _variant_t& out) const
{
    CString text;
    if (!Lookup(CString(static_cast<const wchar_t*>(name)), text))
        return 0;
    out = TextVariant(text);
    return 1;
}

CString CXDNamedNode::GetNodeText(const CString& name, CString def) const
{
    CString text;
    return Lookup(name, text) ? text : def;
}

int CXDNamedNode::GetNodeInt(const CString& name, int def) const
{
    CString text;
    return Lookup(name, text) ? XDRoundNumber(XDParseNumber(text)) : def;
}

float CXDNamedNode::GetNodeFloat(const CString& name, float def) const
{
    CString text;
    return Lookup(name, text) ? float(XDParseNumber(text)) : def;
}

double CXDNamedNode::GetNodeDouble(const CString& name, double def) const
{
    CString text;
    return Lookup(name, text) ? XDParseNumber(text) : def;
}

int CXDNamedNode::SetNodeVal(const _bstr_t& name, const _bstr_t& value)
{
    CXmlNode attr = m_element.GetAttributeNode(CString(static_cast<const wchar_t*>(name)));
    if (attr.IsNull())
        return 0;
    return attr.SetText(CString(static_cast<const wchar_t*>(value))) ? 1 : 0;
}

int CXDNamedNode::SetNodeText(const CString& name, const CString& text)
{
    return SetNodeVal(_bstr_t(name.GetString()), _bstr_t(text.GetString()));
}

// CXDXml

CXDXml::CXDXml() = default;
CXDXml::~CXDXml() = default;

bool CXDXml::CreateDocument()
{
    if (!m_pDoc)
        m_pDoc = std::make_unique<CXmlDocument>();
    m_bInitialised = true;
    return true;
}

bool CXDXml::Load(const CString& path)
{
    CreateDocument();
    m_current = CXmlNode();
    m_parents.clear();
    return m_pDoc->Load(path);
}

bool CXDXml::LoadXml(const CString& text)
{
    CreateDocument();
    m_current = CXmlNode();
    m_parents.clear();
    return m_pDoc->LoadXml(text);
}

bool CXDXml::CreateRoot(CString name)
{
    CreateDocument();
    m_pDoc->Clear();
    m_parents.clear();
    m_pDoc->AddProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\"");
    CXmlNode root = m_pDoc->SetRootElement(name);
    if (root.IsNull())
        return false;
    root.SetAttribute(L"xmlns:xsi", L"http://www.w3.org/2001/XMLSchema-instance");
    m_current = root;
    return true;
}

bool CXDXml::AddChildElement(CString name)
{
    if (!m_bInitialised || m_current.IsNull())
        return false;
    CXmlNode child = m_current.AppendElement(name);
    if (child.IsNull())
        return false;
    m_parents.push_back(m_current);
    m_current = child;
    return true;
}

bool CXDXml::AddAttribute(CString name, CString value)
{
    if (!m_bInitialised)
        return false;
    return m_current.SetAttribute(name, value);
}

bool CXDXml::AddChildTextNode(CString name, CString text)
{
    if (!m_bInitialised || m_current.IsNull())
        return false;
    CXmlNode child = m_current.AppendElement(name);
    return !child.IsNull() && !child.AppendText(text).IsNull();
}

bool CXDXml::BackToParent()
{
    if (!m_bInitialised || m_parents.empty())
        return false;
    m_current = m_parents.back();
    m_parents.pop_back();
    return true;
}

bool CXDXml::AddXmlFragment(_bstr_t xml)
{
    if (!m_bInitialised || m_current.IsNull())
        return false;
    CXmlDocument fragment;
    if (!fragment.LoadXml(CString(static_cast<const wchar_t*>(xml))))
        return false;
    return !m_current.AppendCopy(fragment.GetRoot()).IsNull();
}

bool CXDXml::SaveXml(const CString& path)
{
    return m_bInitialised && m_pDoc->Save(path);
}

_bstr_t CXDXml::GetXml()
{
    if (!m_pDoc || !m_pDoc->HasDocument())
        return _bstr_t(L"");
    return _bstr_t(m_pDoc->GetXml().GetString());
}

CXDXmlNode CXDXml::GetNode(CString xpath)
{
    CXDXmlNode out;
    if (m_bInitialised)
        out.SetNode(m_pDoc->SelectSingleNode(xpath));
    return out;
}

CXDXmlNode CXDXml::GetNodeList(CString xpath)
{
    CXDXmlNode out;
    if (m_bInitialised)
    {
        std::vector<CXmlNode> nodes = m_pDoc->SelectNodes(xpath);
        if (!nodes.empty())
            out.SetNodeList(std::move(nodes));
    }
    return out;
}

bool CXDXml::GetNodeVal(_bstr_t xpath, _variant_t& out)
{
    out = _variant_t();
    if (!m_bInitialised)
        return false;
    CXmlNode node = m_pDoc->SelectSingleNode(CString(static_cast<const wchar_t*>(xpath)));
    if (node.IsNull())
        return false;
    out = TextVariant(node.GetText());
    return true;
}

_variant_t CXDXml::GetNodeVal(CString xpath)
{
    _variant_t v;
    GetNodeVal(_bstr_t(xpath.GetString()), v);
    return v;
}

CString CXDXml::GetNodeText(CString xpath, CString def)
{
    _variant_t v;
    return GetNodeVal(_bstr_t(xpath.GetString()), v) ? VariantText(v) : def;
}

CXDXmlNode CXDXml::FindParamNode(_bstr_t xpath, CString name)
{
    CXDXmlNode out;
    if (!m_bInitialised)
        return out;
    for (const CXmlNode& n : m_pDoc->SelectNodes(CString(static_cast<const wchar_t*>(xpath))))
        for (const CXmlNode& c : n.GetChildNodes())
            if (c.GetType() == CXmlNode::XML_ELEMENT && c.GetName() == L"NAME" && c.GetText() == name)
            {
                out.SetNode(n);
                return out;
            }
    return out;
}
