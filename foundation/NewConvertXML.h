// CNewConvertXML: a small XML element tree with its own reader and writer. One object is one
// element; it owns its children and attributes.
//
// Reading takes the file unit by unit (a whole tag, or the character data before the next tag),
// unescapes every attribute value and text once, left to right, and accepts values in double or
// single quotes. Writing escapes them once, so a tree survives any number of rewrites. Nesting is
// bounded: elements deeper than 256 levels are skipped. A malformed tag warns once per read.
#pragma once

#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "mfc/Object.h"

#include <string>

class CFile;
class CXmlNode;

class CAttribute : public CObject
{
public:
    CAttribute() = default;
    CAttribute(const CString& name, const CString& value) : m_strName(name), m_strValue(value) {}
    CString m_strName;
    CString m_strValue;
};

class CNewConvertXML;
using CAttributeList = CList<CAttribute*, CAttribute*>;
using CNewConvertXMLList = CList<CNewConvertXML*, CNewConvertXML*>;

class CNewConvertXML : public CObject
{
    DECLARE_SERIAL(CNewConvertXML)
public:
    // Elements deeper than this are skipped by the reader and by Serialize.
    static constexpr int kMaxDepth = 256;

    CNewConvertXML();
    ~CNewConvertXML() override;
    CNewConvertXML(const CNewConvertXML&) = delete;
    CNewConvertXML& operator=(const CNewConvertXML&) = delete;

    // A new element with copies of all attributes and, recursively, of all children.
    CNewConvertXML* Copy() const;
    void ResetContents();

    // Name and text.
    void SetTagName(const CString& name) { m_strName = name; }
    const CString& GetName() const { return m_strName; }
    const CString& GetTag() const { return m_strName; }
    void SetText(const CString& text) { m_strText = text; }
    const CString& GetText() const { return m_strText; }
    // Short line breaks are dropped; a longer text that begins with a line break loses its last two
    // characters (its own line end).
    void AddToText(const CString& text);
    void AddToTextTrim(const CString& text);
    void RemoveText() { m_strText.Empty(); }

    // Children.
    void AddChild(CNewConvertXML* pChild);
    void InsertChild(CNewConvertXML* pChild);
    void InsertChildBefore(int index, CNewConvertXML* pChild);
    void AddChildById(CNewConvertXML* pChild);
    void AddChildByName(CNewConvertXML* pChild);
    CNewConvertXML* GetChildAt(int index) const;
    int GetChildCount() const { return int(m_children.GetCount()); }
    CNewConvertXML* GetTopWindow();
    CNewConvertXML* GetNextChild();
    CNewConvertXML* GetPrevChild();
    CNewConvertXML* GetLastChild();
    CNewConvertXML* GetCurrentChild() const;
    void SetCurrentChild(CNewConvertXML* pChild);
    void RemoveChild(CNewConvertXML* pChild);
    void RemoveCurrentChild();
    void RemoveAt(int index);
    void SortById();
    void SortByName();
    CNewConvertXML* FindByID(long id);
    CNewConvertXML* FindByName(const CString& name);
    void SetParent(CNewConvertXML* pParent) { m_pParent = pParent; }
    CNewConvertXML* GetParent() const { return m_pParent; }

    // Attributes. A name that exists already has its value replaced.
    void SetAttr(const CString& name, const CString& value);
    void SetAttr(const CString& name, int value);
    void SetAttr(const CString& name, long value);
    void SetAttr(const CString& name, float value);
    void SetAttr(const CString& name, double value);
    void SetAttrUS(const CString& name, double value);
    CString GetAttr(const CString& name) const;
    CString GetAttrText(const CString& name) const { return GetAttr(name); }
    CString GetAttrTextUS(const CString& name) const { return GetAttr(name); }
    int GetAttrInt(const CString& name) const;
    long GetAttrLong(const CString& name) const;
    float GetAttrFloat(const CString& name) const;
    double GetAttrDouble(const CString& name) const;
    CAttribute* GetAttributePointer(const CString& name) const;
    int GetAttrCount() const { return int(m_attributes.GetCount()); }
    CAttribute* GetFirstAttribute();
    CAttribute* GetNextAttribute();
    CAttribute* GetPrevAttribute();
    CAttribute* GetLastAttribute();
    CAttribute* GetCurrentAttribute() const;
    void SetCurrentAttr(CAttribute* pAttr);
    void AddAttr(const CString& name, const CString& value);
    void RemoveAttr(const CString& name);
    void RemoveCurrentAttr();

    // Fields of the text.
    CString GetField(wchar_t delim, int index) const;
    int GetFieldCount(wchar_t delim) const;
    CString FirstField(wchar_t delim);
    CString NextField(wchar_t delim);
    static BOOL IsAlpha(wchar_t ch);

    // Text conversion: escape and unescape once (the five named entities; unescaping also reads
    // numeric character references). FindQuote: the position of the first quote (either kind) at
    // or after start, or -1.
    static CString XmlizeString(const CString& text);
    static CString UnXmlizeString(const CString& text);
    int FindQuote(const CString& text, int start = 0) const;

    // Files. XMLRead reads the first element named `wanted` (any element when empty) from the
    // file's position; FALSE when none starts. XMLWrite writes without a declaration.
    BOOL XMLRead(CFile* pFile, const CString& wanted = CString());
    void XMLWrite(CFile* pFile, int indent);
    // The element as text, as XMLWrite writes it (UTF-8).
    std::string ToXmlText(int indent) const;
    BOOL Open();
    BOOL Save();
    BOOL SaveAs();
    BOOL Load(const CString& path);
    // The DOM-based loaders.
    BOOL XMLReadDOM(const CString& path);
    BOOL LoadXML(const CString& text, const CString& name = CString());
    BOOL LoadXML(const CXmlNode& node);
    void LoadQuickBooks(const CString& text);

    void Serialize(CArchive& ar) override;

    // Warnings of the last read (at most one of each kind is shown per read).
    static CString TerminatorWarning()
    {
        return L"Warning Element Terminator exists without matching initial Block ";
    }
    static CString IncompleteWarning() { return L"Warning Tag Block is Incomplete"; }

private:
    class CUnitReader;
    void InsertOrdered(CNewConvertXML* pChild, bool (*greater)(const CNewConvertXML*, const CNewConvertXML*));
    void SortBy(bool (*greater)(const CNewConvertXML*, const CNewConvertXML*));
    void ParseBlock(const std::string& line, CUnitReader& reader, int depth);
    void WriteTo(std::string& out, int indent, int level) const;
    BOOL WriteFile(const CString& path);
    BOOL LoadNode(const CXmlNode& node, int depth);
    void SerializeDepth(CArchive& ar, int depth);

    CNewConvertXMLList m_children;
    CString m_strName;
    CString m_strText;
    CString m_strPath;
    BOOL m_bEndOfInput = FALSE;
    CAttributeList m_attributes;
    POSITION m_posChild = nullptr;
    POSITION m_posAttr = nullptr;
    CNewConvertXML* m_pParent = nullptr;
    wchar_t m_chQuote = L'"';
    wchar_t m_chApos = L'\'';
    int m_nFieldPos = 0;
};
