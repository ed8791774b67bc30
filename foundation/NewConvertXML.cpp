#include "foundation/NewConvertXML.h"

#include "foundation/MabString.h"
#include "mfc/Archive.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "xml/XmlDom.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>

IMPLEMENT_SERIAL(CNewConvertXML, CObject, 1)

// Units of a file: a whole tag (a ">" in quotes does not end it; comments, CDATA and declarations
// with an internal subset end where they end), or the character data before the next "<".
class CNewConvertXML::CUnitReader
{
public:
    explicit CUnitReader(CFile* pFile) : m_pFile(pFile), m_start(pFile->GetPosition()) {}

    bool Next(std::string& unit)
    {
        unit.clear();
        if (!Fill(m_pos + 1))
            return false;
        size_t end;
        if (m_buf[m_pos] == '<')
            end = TagEnd();
        else
        {
            end = Find('<', m_pos);
        }
        unit.assign(m_buf, m_pos, end - m_pos);
        m_pos = end;
        if (m_pos > 65536 && m_pos * 2 > m_buf.size())
        {
            m_buf.erase(0, m_pos);
            m_consumed += m_pos;
            m_pos = 0;
        }
        return true;
    }
    bool AtEnd() { return !Fill(m_pos + 1); }
    // Where the file stands after the units taken.
    ULONGLONG Position() const { return m_start + m_consumed + m_pos; }
    bool warnedTerminator = false;
    bool warnedIncomplete = false;

private:
    // Makes at least n bytes available from the buffer start; false when the file has fewer.
    bool Fill(size_t n)
    {
        char block[8192];
        while (m_buf.size() < n && !m_eof)
        {
            const UINT got = m_pFile->Read(block, sizeof block);
            if (got == 0)
                m_eof = true;
            else
                m_buf.append(block, got);
        }
        return m_buf.size() >= n;
    }
    size_t Find(char c, size_t from)
    {
        for (;;)
        {
            const size_t at = m_buf.find(c, from);
            if (at != std::string::npos)
                return at;
            from = m_buf.size();
            if (!Fill(m_buf.size() + 1))
                return m_buf.size();
        }
    }
    size_t FindText(const char* text, size_t from)
    {
        const size_t len = std::strlen(text);
        for (;;)
        {
            const size_t at = m_buf.find(text, from);
            if (at != std::string::npos)
                return at + len;
            from = m_buf.size() >= len ? m_buf.size() - len + 1 : 0;
            if (!Fill(m_buf.size() + 1))
                return m_buf.size();
        }
    }
    size_t TagEnd()
    {
        Fill(m_pos + 9);
        if (m_buf.compare(m_pos, 4, "<!--") == 0)
            return FindText("-->", m_pos + 4);
        if (m_buf.compare(m_pos, 9, "<![CDATA[") == 0)
            return FindText("]]>", m_pos + 9);
        if (m_buf.compare(m_pos, 2, "<?") == 0)
            return FindText("?>", m_pos + 2);
        const bool decl = m_buf.compare(m_pos, 2, "<!") == 0;
        char quote = 0;
        int bracket = 0;
        for (size_t i = m_pos + 1;; ++i)
        {
            if (i >= m_buf.size() && !Fill(i + 1))
                return m_buf.size();
            const char c = m_buf[i];
            if (quote)
            {
                if (c == quote)
                    quote = 0;
            }
            else if (c == '"' || c == '\'')
                quote = c;
            else if (decl && c == '[')
                ++bracket;
            else if (decl && c == ']')
                bracket = std::max(0, bracket - 1);
            else if (c == '>' && bracket == 0)
                return i + 1;
            else if (c == '<' && !decl)
                return i; // an unclosed tag ends where the next one begins
        }
    }

    CFile* m_pFile;
    ULONGLONG m_start;
    size_t m_consumed = 0;
    std::string m_buf;
    size_t m_pos = 0;
    bool m_eof = false;
};

namespace
{
CString FromUtf8(const std::string& s)
{
    return CString::FromUtf8(s);
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The tag name of a start-tag unit: after "<" up to white space, "/" or ">".
std::string TagName(const std::string& unit)
{
    size_t end = 1;
    while (end < unit.size() && !IsSpace(unit[end]) && unit[end] != '>' && !(unit[end] == '/' && end > 1))
        ++end;
    return unit.substr(1, end - 1);
}

void Warn(bool& warned, const CString& text)
{
    if (warned)
        return;
    warned = true;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

CString FormatNumber(double value, int width)
{
    CMabString s;
    s.SetDouble(value, width, L'E');
    s.Trim();
    return s;
}
} // namespace

namespace
{
enum class Walk
{
    First,
    Next,
    Prev,
    Last
};

// Moves a list cursor and gives the element it then stands on.
template <class T> T* WalkList(CList<T*, T*>& list, POSITION& pos, Walk walk)
{
    switch (walk)
    {
    case Walk::First:
        pos = list.GetHeadPosition();
        break;
    case Walk::Last:
        pos = list.GetTailPosition();
        break;
    case Walk::Next:
    case Walk::Prev:
        if (!pos)
            return nullptr;
        if (walk == Walk::Next)
            list.GetNext(pos);
        else
            list.GetPrev(pos);
        break;
    }
    return pos ? list.GetAt(pos) : nullptr;
}

bool IdGreater(const CNewConvertXML* a, const CNewConvertXML* b)
{
    return a->GetAttrLong(L"ID") > b->GetAttrLong(L"ID");
}

bool NameGreater(const CNewConvertXML* a, const CNewConvertXML* b)
{
    return a->GetAttr(L"NAME").CompareNoCase(b->GetAttr(L"NAME")) > 0;
}
} // namespace

CNewConvertXML::CNewConvertXML() = default;

CNewConvertXML::~CNewConvertXML()
{
    if (m_pParent)
        m_pParent->RemoveChild(this);
    ResetContents();
}

CNewConvertXML* CNewConvertXML::Copy() const
{
    auto* copy = new CNewConvertXML;
    copy->m_strName = m_strName;
    copy->m_strText = m_strText;
    copy->m_strPath = m_strPath;
    for (POSITION pos = m_attributes.GetHeadPosition(); pos;)
    {
        const CAttribute* a = m_attributes.GetNext(pos);
        copy->m_attributes.AddTail(new CAttribute(a->m_strName, a->m_strValue));
    }
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
        copy->AddChild(m_children.GetNext(pos)->Copy());
    return copy;
}

void CNewConvertXML::ResetContents()
{
    while (!m_children.IsEmpty())
    {
        CNewConvertXML* child = m_children.RemoveHead();
        child->m_pParent = nullptr;
        delete child;
    }
    while (!m_attributes.IsEmpty())
        delete m_attributes.RemoveHead();
    m_posChild = m_posAttr = nullptr;
    m_strText.Empty();
}

void CNewConvertXML::AddToText(const CString& text)
{
    const int len = text.GetLength();
    if (len == 0)
        return;
    if (len <= 2 && (text[0] == L'\r' || text[0] == L'\n'))
        return;
    if (len > 2 && (text[0] == L'\r' || text[1] == L'\n'))
        m_strText += text.Left(len - 2);
    else
        m_strText += text;
}

void CNewConvertXML::AddToTextTrim(const CString& text)
{
    CString t = text;
    t.Trim();
    m_strText += t;
}

// Children

void CNewConvertXML::AddChild(CNewConvertXML* pChild)
{
    if (!pChild)
        return;
    if (pChild->m_strName.IsEmpty())
        pChild->m_strName = L"Unknown";
    m_children.AddTail(pChild);
    pChild->m_pParent = this;
}

void CNewConvertXML::InsertChild(CNewConvertXML* pChild)
{
    if (!pChild)
        return;
    if (m_posChild)
        m_children.InsertBefore(m_posChild, pChild);
    else
        m_children.AddTail(pChild);
    pChild->m_pParent = this;
}

void CNewConvertXML::InsertChildBefore(int index, CNewConvertXML* pChild)
{
    if (!pChild)
        return;
    POSITION pos = index >= 0 ? m_children.FindIndex(index) : nullptr;
    if (pos)
        m_children.InsertBefore(pos, pChild);
    else
        m_children.AddTail(pChild);
    pChild->m_pParent = this;
}

void CNewConvertXML::InsertOrdered(CNewConvertXML* pChild,
                                   bool (*greater)(const CNewConvertXML*, const CNewConvertXML*))
{
    if (!pChild)
        return;
    // Before the first child that is greater than the new one.
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
    {
        POSITION here = pos;
        if (greater(m_children.GetNext(pos), pChild))
        {
            m_children.InsertBefore(here, pChild);
            pChild->m_pParent = this;
            return;
        }
    }
    m_children.AddTail(pChild);
    pChild->m_pParent = this;
}

void CNewConvertXML::AddChildById(CNewConvertXML* pChild)
{
    InsertOrdered(pChild, IdGreater);
}

void CNewConvertXML::AddChildByName(CNewConvertXML* pChild)
{
    InsertOrdered(pChild, NameGreater);
}

CNewConvertXML* CNewConvertXML::GetChildAt(int index) const
{
    POSITION pos = index >= 0 ? m_children.FindIndex(index) : nullptr;
    return pos ? m_children.GetAt(pos) : nullptr;
}

CNewConvertXML* CNewConvertXML::GetTopWindow()
{
    return WalkList(m_children, m_posChild, Walk::First);
}

CNewConvertXML* CNewConvertXML::GetNextChild()
{
    return WalkList(m_children, m_posChild, Walk::Next);
}

CNewConvertXML* CNewConvertXML::GetPrevChild()
{
    return WalkList(m_children, m_posChild, Walk::Prev);
}

CNewConvertXML* CNewConvertXML::GetLastChild()
{
    return WalkList(m_children, m_posChild, Walk::Last);
}

CNewConvertXML* CNewConvertXML::GetCurrentChild() const
{
    return m_posChild ? m_children.GetAt(m_posChild) : nullptr;
}

void CNewConvertXML::SetCurrentChild(CNewConvertXML* pChild)
{
    if (!m_posChild || !pChild)
        return;
    CNewConvertXML* old = m_children.GetAt(m_posChild);
    m_children.SetAt(m_posChild, pChild);
    pChild->m_pParent = this;
    if (old && old != pChild)
    {
        old->m_pParent = nullptr;
        delete old;
    }
}

void CNewConvertXML::RemoveChild(CNewConvertXML* pChild)
{
    POSITION pos = pChild ? m_children.Find(pChild) : nullptr;
    if (!pos)
        return;
    if (pos == m_posChild)
        m_posChild = nullptr;
    m_children.RemoveAt(pos);
    pChild->m_pParent = nullptr;
}

void CNewConvertXML::RemoveCurrentChild()
{
    if (!m_posChild)
        return;
    POSITION here = m_posChild;
    CNewConvertXML* child = m_children.GetNext(m_posChild);
    m_children.RemoveAt(here);
    child->m_pParent = nullptr;
}

void CNewConvertXML::RemoveAt(int index)
{
    POSITION pos = index >= 0 ? m_children.FindIndex(index) : nullptr;
    if (!pos)
        return;
    if (pos == m_posChild)
        m_children.GetNext(m_posChild);
    CNewConvertXML* child = m_children.GetAt(pos);
    m_children.RemoveAt(pos);
    child->m_pParent = nullptr;
}

void CNewConvertXML::SortBy(bool (*greater)(const CNewConvertXML*, const CNewConvertXML*))
{
    // One step at a time: the first child smaller than the one before it moves into place.
    for (bool moved = true; moved;)
    {
        moved = false;
        CNewConvertXML* prev = nullptr;
        for (POSITION pos = m_children.GetHeadPosition(); pos;)
        {
            POSITION here = pos;
            CNewConvertXML* c = m_children.GetNext(pos);
            if (prev && greater(prev, c))
            {
                m_children.RemoveAt(here);
                InsertOrdered(c, greater);
                moved = true;
                break;
            }
            prev = c;
        }
    }
}

void CNewConvertXML::SortById()
{
    SortBy(IdGreater);
}

void CNewConvertXML::SortByName()
{
    SortBy(NameGreater);
}

CNewConvertXML* CNewConvertXML::FindByID(long id)
{
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
    {
        CNewConvertXML* c = m_children.GetNext(pos);
        if (c->GetAttributePointer(L"ID") && c->GetAttrLong(L"ID") == id)
            return c;
        if (CNewConvertXML* found = c->FindByID(id))
            return found;
    }
    return nullptr;
}

CNewConvertXML* CNewConvertXML::FindByName(const CString& name)
{
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
    {
        CNewConvertXML* c = m_children.GetNext(pos);
        if (c->GetAttributePointer(L"NAME") && c->GetAttr(L"NAME").CompareNoCase(name) == 0)
            return c;
        if (CNewConvertXML* found = c->FindByName(name))
            return found;
    }
    return nullptr;
}

// Attributes

void CNewConvertXML::SetAttr(const CString& name, const CString& value)
{
    if (CAttribute* a = GetAttributePointer(name))
        a->m_strValue = value;
    else
        m_attributes.AddTail(new CAttribute(name, value));
}

void CNewConvertXML::SetAttr(const CString& name, int value)
{
    CMabString s;
    s.SetLong(value, 12);
    s.Trim();
    SetAttr(name, CString(s));
}

void CNewConvertXML::SetAttr(const CString& name, long value)
{
    CMabString s;
    s.SetLong(value, 12);
    s.Trim();
    SetAttr(name, CString(s));
}

void CNewConvertXML::SetAttr(const CString& name, float value)
{
    SetAttr(name, FormatNumber(value, 10));
}

void CNewConvertXML::SetAttr(const CString& name, double value)
{
    SetAttr(name, FormatNumber(value, 12));
}

void CNewConvertXML::SetAttrUS(const CString& name, double value)
{
    CString s;
    s.Format(L"%.2f", value);
    SetAttr(name, s);
}

CString CNewConvertXML::GetAttr(const CString& name) const
{
    const CAttribute* a = GetAttributePointer(name);
    return a ? a->m_strValue : CString();
}

int CNewConvertXML::GetAttrInt(const CString& name) const
{
    return int(GetAttrLong(name));
}

long CNewConvertXML::GetAttrLong(const CString& name) const
{
    const CString v = GetAttr(name);
    if (v.GetLength() >= 32)
        return 0;
    return std::wcstol(v.GetString(), nullptr, 10);
}

float CNewConvertXML::GetAttrFloat(const CString& name) const
{
    return float(GetAttrDouble(name));
}

double CNewConvertXML::GetAttrDouble(const CString& name) const
{
    return CMabString(GetAttr(name)).GetDouble();
}

CAttribute* CNewConvertXML::GetAttributePointer(const CString& name) const
{
    for (POSITION pos = m_attributes.GetHeadPosition(); pos;)
    {
        CAttribute* a = m_attributes.GetNext(pos);
        if (a->m_strName == name)
            return a;
    }
    return nullptr;
}

CAttribute* CNewConvertXML::GetFirstAttribute()
{
    return WalkList(m_attributes, m_posAttr, Walk::First);
}

CAttribute* CNewConvertXML::GetNextAttribute()
{
    return WalkList(m_attributes, m_posAttr, Walk::Next);
}

CAttribute* CNewConvertXML::GetPrevAttribute()
{
    return WalkList(m_attributes, m_posAttr, Walk::Prev);
}

CAttribute* CNewConvertXML::GetLastAttribute()
{
    return WalkList(m_attributes, m_posAttr, Walk::Last);
}

CAttribute* CNewConvertXML::GetCurrentAttribute() const
{
    return m_posAttr ? m_attributes.GetAt(m_posAttr) : nullptr;
}

void CNewConvertXML::SetCurrentAttr(CAttribute* pAttr)
{
    m_posAttr = pAttr ? m_attributes.Find(pAttr) : nullptr;
}

void CNewConvertXML::AddAttr(const CString& name, const CString& value)
{
    m_attributes.AddTail(new CAttribute(name, value));
}

void CNewConvertXML::RemoveAttr(const CString& name)
{
    for (POSITION pos = m_attributes.GetHeadPosition(); pos;)
    {
        POSITION here = pos;
        CAttribute* a = m_attributes.GetNext(pos);
        if (a->m_strName == name)
        {
            if (here == m_posAttr)
                m_posAttr = nullptr;
            m_attributes.RemoveAt(here);
            delete a;
            return;
        }
    }
}

void CNewConvertXML::RemoveCurrentAttr()
{
    if (!m_posAttr)
        return;
    POSITION here = m_posAttr;
    CAttribute* a = m_attributes.GetNext(m_posAttr);
    m_attributes.RemoveAt(here);
    delete a;
}

// Fields

CString CNewConvertXML::GetField(wchar_t delim, int index) const
{
    return CMabString(m_strText).GetField(delim, index);
}

int CNewConvertXML::GetFieldCount(wchar_t delim) const
{
    return CMabString(m_strText).GetFieldCount(delim);
}

CString CNewConvertXML::FirstField(wchar_t delim)
{
    m_nFieldPos = 0;
    return NextField(delim);
}

CString CNewConvertXML::NextField(wchar_t delim)
{
    return GetField(delim, m_nFieldPos++);
}

BOOL CNewConvertXML::IsAlpha(wchar_t ch)
{
    return std::iswalpha(wint_t(ch)) ? TRUE : FALSE;
}

// Text conversion

CString CNewConvertXML::XmlizeString(const CString& text)
{
    std::wstring out;
    out.reserve(size_t(text.GetLength()) + 16);
    for (wchar_t c : text.str())
    {
        switch (c)
        {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'\'':
            out += L"&apos;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        default:
            out += c;
        }
    }
    return CString(std::move(out));
}

CString CNewConvertXML::UnXmlizeString(const CString& text)
{
    const std::wstring& s = text.str();
    if (s.find(L'&') == std::wstring::npos)
        return text;
    static const struct
    {
        const wchar_t* name;
        wchar_t ch;
    } named[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&apos;", L'\''}, {L"&quot;", L'"'}};
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();)
    {
        if (s[i] != L'&')
        {
            out += s[i++];
            continue;
        }
        bool done = false;
        for (const auto& n : named)
        {
            const size_t len = std::wcslen(n.name);
            if (s.compare(i, len, n.name) == 0)
            {
                out += n.ch;
                i += len;
                done = true;
                break;
            }
        }
        if (!done && i + 3 < s.size() && s[i + 1] == L'#')
        {
            const size_t semi = s.find(L';', i + 2);
            if (semi != std::wstring::npos && semi - i <= 10)
            {
                const bool hex = s[i + 2] == L'x' || s[i + 2] == L'X';
                const std::wstring digits = s.substr(i + (hex ? 3 : 2), semi - i - (hex ? 3 : 2));
                wchar_t* end = nullptr;
                const unsigned long v =
                    digits.empty() ? 0 : std::wcstoul(digits.c_str(), &end, hex ? 16 : 10);
                if (!digits.empty() && end && *end == 0 && v > 0 && v <= 0x10FFFF &&
                    (v < 0xD800 || v > 0xDFFF))
                {
                    out += wchar_t(v);
                    i = semi + 1;
                    done = true;
                }
            }
        }
        if (!done)
            out += s[i++];
    }
    return CString(std::move(out));
}

int CNewConvertXML::FindQuote(const CString& text, int start) const
{
    const int len = text.GetLength();
    for (int i = std::max(0, start); i < len; ++i)
        if (text[i] == m_chQuote || text[i] == m_chApos)
            return i;
    return -1;
}

// Reading

BOOL CNewConvertXML::XMLRead(CFile* pFile, const CString& wanted)
{
    if (!pFile)
        return FALSE;
    m_strName = wanted;
    m_bEndOfInput = FALSE;
    const std::string want = wanted.ToUtf8();
    CUnitReader reader(pFile);
    std::string unit;
    bool have = reader.Next(unit);
    while (have && unit.size() > 1 && (unit[1] == '?' || unit[1] == '!'))
        have = reader.Next(unit);
    for (;; have = reader.Next(unit))
    {
        if (!have)
        {
            m_bEndOfInput = TRUE;
            pFile->Seek(LONGLONG(reader.Position()), CFile::begin);
            return FALSE;
        }
        if (unit.size() < 2 || unit[0] != '<' || unit[1] == '/' || unit[1] == '!' || unit[1] == '?')
            continue;
        if (want.empty() || TagName(unit) == want)
            break;
    }
    ParseBlock(unit, reader, 0);
    m_bEndOfInput = reader.AtEnd();
    pFile->Seek(LONGLONG(reader.Position()), CFile::begin);
    return !m_strName.IsEmpty();
}

void CNewConvertXML::ParseBlock(const std::string& lineIn, CUnitReader& reader, int depth)
{
    ResetContents();
    m_strName.Empty();
    const std::string line = lineIn.empty() ? std::string(" ") : lineIn;
    if (line[0] != '<')
        return;
    std::string name = TagName(line);
    if (!name.empty() && name[0] == '/')
    {
        Warn(reader.warnedTerminator, TerminatorWarning() + FromUtf8(name.substr(1)));
        return;
    }
    m_strName = FromUtf8(name);
    if (line.back() != '>')
        Warn(reader.warnedIncomplete, IncompleteWarning());
    size_t end = line.size();
    if (line.back() == '>')
        --end;
    bool empty = false;
    if (end > 1 && line[end - 1] == '/')
    {
        empty = true;
        --end;
    }
    // Attributes: name = "value" or name = 'value'.
    size_t p = 1 + name.size();
    while (p < end)
    {
        while (p < end && IsSpace(line[p]))
            ++p;
        const size_t nameStart = p;
        while (p < end && line[p] != '=' && !IsSpace(line[p]))
            ++p;
        const std::string attrName = line.substr(nameStart, p - nameStart);
        while (p < end && IsSpace(line[p]))
            ++p;
        if (p >= end || line[p] != '=')
        {
            if (p == nameStart)
                ++p; // a stray character is passed over
            continue;
        }
        ++p;
        while (p < end && IsSpace(line[p]))
            ++p;
        std::string value;
        if (p < end && (line[p] == '"' || line[p] == '\''))
        {
            const char q = line[p];
            const size_t close = line.find(q, p + 1);
            const size_t stop = close == std::string::npos || close > end ? end : close;
            value = line.substr(p + 1, stop - p - 1);
            p = stop + 1;
        }
        else
        {
            const size_t start = p;
            while (p < end && !IsSpace(line[p]))
                ++p;
            value = line.substr(start, p - start);
        }
        if (!attrName.empty())
            SetAttr(FromUtf8(attrName), UnXmlizeString(FromUtf8(value)));
    }
    if (empty || line.back() != '>')
        return;
    // Content, up to the matching end tag or the end of the input.
    const std::string endTag = "</" + name;
    std::string text;
    std::string unit;
    while (reader.Next(unit))
    {
        if (unit.empty())
            continue;
        if (unit[0] != '<')
        {
            text += unit;
            continue;
        }
        if (unit.compare(0, endTag.size(), endTag) == 0)
        {
            size_t k = endTag.size();
            while (k < unit.size() && IsSpace(unit[k]))
                ++k;
            if (k < unit.size() && unit[k] == '>')
                break;
        }
        if (unit.size() > 1 && (unit[1] == '!' || unit[1] == '?'))
        {
            if (unit.compare(0, 9, "<![CDATA[") == 0 && unit.size() >= 12)
                text += XmlizeString(FromUtf8(unit.substr(9, unit.size() - 12))).ToUtf8();
            continue;
        }
        if (unit.size() > 1 && unit[1] == '/')
        {
            Warn(reader.warnedTerminator, TerminatorWarning() + FromUtf8(TagName(unit).substr(1)));
            continue;
        }
        if (depth + 1 >= kMaxDepth)
        {
            // Too deep: the element is passed over with its content.
            if (unit.size() >= 2 && unit[unit.size() - 2] == '/')
                continue;
            const std::string skipName = TagName(unit);
            int open = 1;
            while (open > 0 && reader.Next(unit))
            {
                if (unit.size() < 2 || unit[0] != '<' || unit[1] == '!' || unit[1] == '?')
                    continue;
                if (unit[1] == '/')
                    --open;
                else if (unit[unit.size() - 2] != '/')
                    ++open;
            }
            continue;
        }
        auto* child = new CNewConvertXML;
        child->ParseBlock(unit, reader, depth + 1);
        if (child->m_strName.IsEmpty())
            delete child;
        else
            AddChild(child);
    }
    CString t = FromUtf8(text);
    t.Trim();
    m_strText = UnXmlizeString(t);
}

// Writing

void CNewConvertXML::WriteTo(std::string& out, int indent, int level) const
{
    const std::string pad = indent >= 0 ? std::string(size_t(2 * (indent + level)), ' ') : std::string();
    out += pad;
    out += '<';
    out += m_strName.ToUtf8();
    for (POSITION pos = m_attributes.GetHeadPosition(); pos;)
    {
        const CAttribute* a = m_attributes.GetNext(pos);
        CString v = a->m_strValue;
        v.Trim();
        out += ' ';
        out += a->m_strName.ToUtf8();
        out += "=\"";
        out += XmlizeString(v).ToUtf8();
        out += '"';
    }
    if (m_children.IsEmpty() && m_strText.IsEmpty())
    {
        out += "/>\n";
        return;
    }
    if (m_strText.IsEmpty())
        out += ">\n";
    else
    {
        out += '>';
        out += XmlizeString(m_strText).ToUtf8();
        if (m_strText[m_strText.GetLength() - 1] != L'\n')
            out += '\n';
    }
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
        m_children.GetNext(pos)->WriteTo(out, indent, indent >= 0 ? level + 1 : 0);
    out += pad;
    out += "</";
    out += m_strName.ToUtf8();
    out += ">\n";
}

std::string CNewConvertXML::ToXmlText(int indent) const
{
    std::string out;
    WriteTo(out, indent < 0 ? -1 : indent, 0);
    return out;
}

void CNewConvertXML::XMLWrite(CFile* pFile, int indent)
{
    if (!pFile)
        return;
    const std::string text = ToXmlText(indent);
    pFile->Write(text.data(), UINT(text.size()));
}

// Files

namespace
{
BOOL AskPath(BOOL bOpen, CString& path)
{
    AfxModalRequest r;
    r.kind = AfxModalKind::FileDialog;
    r.bOpenFileDialog = bOpen;
    r.strDefExt = L"xml";
    r.strFilter = L"XML Files (*.xml)|*.xml|All Files (*.*)|*.*||";
    int result = IDCANCEL;
    if (!AfxCallModalHook(r, result) || result != IDOK || r.paths.empty())
        return FALSE;
    path = r.paths.front();
    return TRUE;
}
} // namespace

BOOL CNewConvertXML::Open()
{
    CString path;
    if (!AskPath(TRUE, path) || !XMLReadDOM(path))
        return FALSE;
    m_strPath = path;
    return TRUE;
}

BOOL CNewConvertXML::WriteFile(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    try
    {
        XMLWrite(&file, -1);
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    m_strPath = path;
    return TRUE;
}

BOOL CNewConvertXML::SaveAs()
{
    CString path;
    return AskPath(FALSE, path) && WriteFile(path);
}

BOOL CNewConvertXML::Save()
{
    return m_strPath.IsEmpty() ? SaveAs() : WriteFile(m_strPath);
}

BOOL CNewConvertXML::Load(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return FALSE;
    try
    {
        const BOOL ok = XMLRead(&file);
        if (ok)
            m_strPath = path;
        return ok;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
}

BOOL CNewConvertXML::XMLReadDOM(const CString& path)
{
    // The DOM first; a file it cannot parse is read by the element reader, which mends what it can.
    CXmlDocument doc;
    if (doc.Load(path))
    {
        ResetContents();
        if (LoadNode(doc.GetRoot(), 0))
        {
            m_strPath = path;
            return TRUE;
        }
    }
    return Load(path);
}

BOOL CNewConvertXML::LoadXML(const CString& text, const CString& name)
{
    CXmlDocument doc;
    if (!doc.LoadXml(text))
        return FALSE;
    CXmlNode node = doc.GetRoot();
    if (!name.IsEmpty())
    {
        node = CXmlNode();
        for (const CXmlNode& n : doc.SelectNodes(L"//*"))
            if (n.GetLocalName() == name)
            {
                node = n;
                break;
            }
        if (node.IsNull())
            return FALSE;
    }
    ResetContents();
    return LoadNode(node, 0);
}

BOOL CNewConvertXML::LoadXML(const CXmlNode& node)
{
    ResetContents();
    return LoadNode(node, 0);
}

BOOL CNewConvertXML::LoadNode(const CXmlNode& node, int depth)
{
    if (node.IsNull() || node.GetType() != CXmlNode::XML_ELEMENT)
        return FALSE;
    m_strName = node.GetLocalName();
    for (const CXmlNode& a : node.GetAttributes())
        SetAttr(a.GetLocalName(), a.GetText());
    CString text;
    for (CXmlNode c = node.GetFirstChild(); !c.IsNull(); c = c.GetNextSibling())
    {
        const CXmlNode::Type type = c.GetType();
        if (type == CXmlNode::XML_TEXT || type == CXmlNode::XML_CDATA)
            text += c.GetText();
        else if (type == CXmlNode::XML_ELEMENT && depth + 1 < kMaxDepth)
        {
            auto* child = new CNewConvertXML;
            child->LoadNode(c, depth + 1);
            AddChild(child);
        }
    }
    text.Trim();
    m_strText = text;
    return TRUE;
}

void CNewConvertXML::LoadQuickBooks(const CString& text)
{
    CMabString s(text);
    const int n = s.GetFieldCount(wchar_t(30));
    for (int i = 1; i < n; ++i)
    {
        CMabString record(s.GetField(wchar_t(30), i));
        SetAttr(record.GetField(wchar_t(28), 0), record.GetField(wchar_t(28), 1));
    }
}

void CNewConvertXML::Serialize(CArchive& ar)
{
    SerializeDepth(ar, 0);
}

void CNewConvertXML::SerializeDepth(CArchive& ar, int depth)
{
    if (ar.IsStoring())
    {
        ar << m_strName << m_strText;
        ar.WriteCount(m_attributes.GetCount());
        for (POSITION pos = m_attributes.GetHeadPosition(); pos;)
        {
            const CAttribute* a = m_attributes.GetNext(pos);
            ar << a->m_strName << a->m_strValue;
        }
        ar.WriteCount(m_children.GetCount());
        for (POSITION pos = m_children.GetHeadPosition(); pos;)
            m_children.GetNext(pos)->SerializeDepth(ar, depth + 1);
        return;
    }
    if (depth >= kMaxDepth)
        AfxThrowArchiveException(CArchiveException::badIndex);
    ResetContents();
    ar >> m_strName >> m_strText;
    const DWORD_PTR nAttrs = ar.ReadCount(2);
    for (DWORD_PTR i = 0; i < nAttrs; ++i)
    {
        CString name, value;
        ar >> name >> value;
        m_attributes.AddTail(new CAttribute(name, value));
    }
    const DWORD_PTR nChildren = ar.ReadCount(6);
    for (DWORD_PTR i = 0; i < nChildren; ++i)
    {
        auto* child = new CNewConvertXML;
        AddChild(child);
        child->SerializeDepth(ar, depth + 1);
    }
}
