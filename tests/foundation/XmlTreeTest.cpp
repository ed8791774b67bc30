// The element tree, the DOM wrapper and the numeric string.
#include "foundation/MabString.h"
#include "foundation/NewConvertXML.h"
#include "foundation/XDXml.h"
#include "mfc/File.h"
#include "support/ModalHook.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Reads a tree from text through a file.
bool ReadTree(CNewConvertXML& tree, const std::string& text, const CString& wanted = CString())
{
    CMemFile file;
    file.Write(text.data(), UINT(text.size()));
    file.SeekToBegin();
    return tree.XMLRead(&file, wanted) != FALSE;
}
} // namespace

TEST(XmlTree, ReadsBothQuotesAndUnescapesOnceEverywhere)
{
    CNewConvertXML tree;
    ASSERT_TRUE(ReadTree(tree,
                         "<?xml version=\"1.0\"?>\n<!-- note -->\n<a x=\"1\" y='2' t='it&apos;s &amp;lt;'>"
                         "&amp;lt; &lt; &amp;<b q=\"&quot;&#65;&#x42;\">&gt;x</b><c/></a>"));
    EXPECT_EQ(tree.GetName(), CString(L"a"));
    EXPECT_EQ(tree.GetAttr(L"x"), CString(L"1"));
    EXPECT_EQ(tree.GetAttr(L"y"), CString(L"2"));
    EXPECT_EQ(tree.GetAttr(L"t"), CString(L"it's &lt;"));
    EXPECT_EQ(tree.GetText(), CString(L"&lt; < &"));
    ASSERT_EQ(tree.GetChildCount(), 2);
    EXPECT_EQ(tree.GetChildAt(0)->GetAttr(L"q"), CString(L"\"AB"));
    EXPECT_EQ(tree.GetChildAt(0)->GetText(), CString(L">x"));
    EXPECT_EQ(tree.GetChildAt(1)->GetName(), CString(L"c"));
    EXPECT_EQ(tree.GetChildAt(1)->GetChildCount(), 0);
}

TEST(XmlTree, TextsAndAttributesSurviveFiveRewrites)
{
    const std::string original = "<r a=\"&amp;\" b=\"&lt;\" c=\"&amp;lt;\" d=\"&quot;\" e='&apos;'>"
                                 "&amp; &lt; &amp;lt; \" '<k v=\"x &amp; y\">t &amp;amp;</k></r>";
    CNewConvertXML first;
    ASSERT_TRUE(ReadTree(first, original));
    std::string text = first.ToXmlText(-1);
    for (int i = 0; i < 5; ++i)
    {
        CNewConvertXML again;
        ASSERT_TRUE(ReadTree(again, text));
        const std::string next = again.ToXmlText(-1);
        EXPECT_EQ(next, text) << "rewrite " << i;
        text = next;
    }
    CNewConvertXML last;
    ASSERT_TRUE(ReadTree(last, text));
    EXPECT_EQ(last.GetAttr(L"a"), CString(L"&"));
    EXPECT_EQ(last.GetAttr(L"c"), CString(L"&lt;"));
    EXPECT_EQ(last.GetAttr(L"d"), CString(L"\""));
    EXPECT_EQ(last.GetAttr(L"e"), CString(L"'"));
    EXPECT_EQ(last.GetText(), CString(L"& < &lt; \" '"));
    EXPECT_EQ(last.GetChildAt(0)->GetText(), CString(L"t &amp;"));
    // The rewrite is XML the DOM reads to the same values.
    CXDXml dom;
    ASSERT_TRUE(dom.LoadXml(CString::FromUtf8(text)));
    EXPECT_EQ(dom.GetNode(L"r/k").GetNamedNode().GetNodeText(L"v", CString()), CString(L"x & y"));
}

TEST(XmlTree, WriterLayoutAndEdgeCases)
{
    CNewConvertXML root;
    root.SetTagName(L"a");
    EXPECT_EQ(root.ToXmlText(0), "<a/>\n");
    root.SetText(L"abc");
    EXPECT_EQ(root.ToXmlText(-1), "<a>abc\n</a>\n");
    root.SetText(CString());
    auto* child = new CNewConvertXML;
    child->SetTagName(L"b");
    auto* grand = new CNewConvertXML;
    grand->SetTagName(L"c");
    child->AddChild(grand);
    root.AddChild(child);
    EXPECT_EQ(root.ToXmlText(0), "<a>\n  <b>\n    <c/>\n  </b>\n</a>\n");
    EXPECT_EQ(root.ToXmlText(-1), "<a>\n<b>\n<c/>\n</b>\n</a>\n");
    auto* unnamed = new CNewConvertXML;
    root.AddChild(unnamed);
    EXPECT_EQ(unnamed->GetName(), CString(L"Unknown"));
    delete unnamed; // unlinks itself
    EXPECT_EQ(root.GetChildCount(), 1);

    // A wanted name skips end tags and other elements; none found is FALSE.
    CNewConvertXML named;
    EXPECT_TRUE(ReadTree(named, "</x><y/><z k='1'/>", L"z"));
    EXPECT_EQ(named.GetAttr(L"k"), CString(L"1"));
    EXPECT_FALSE(ReadTree(named, "<y/>", L"z"));
    EXPECT_FALSE(ReadTree(named, ""));

    // A stray end tag warns once per read; a missing end tag ends at the end of the input.
    CModalRecorder boxes;
    CNewConvertXML broken;
    ASSERT_TRUE(ReadTree(broken, "<a><b></c></d><e/>"));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].Find(CNewConvertXML::TerminatorWarning()), 0);
    ASSERT_EQ(broken.GetChildCount(), 1);
    EXPECT_EQ(broken.GetChildAt(0)->GetChildCount(), 1);
}

TEST(XmlTree, DeepNestingIsBoundedAndUnclosedInputEnds)
{
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "<g>";
    CNewConvertXML tree;
    ASSERT_TRUE(ReadTree(tree, deep + "<!-- unclosed"));
    int depth = 0;
    for (CNewConvertXML* e = &tree; e->GetChildCount() > 0; e = e->GetChildAt(0))
        ++depth;
    EXPECT_EQ(depth, CNewConvertXML::kMaxDepth - 1);
    CNewConvertXML quoted;
    EXPECT_TRUE(ReadTree(quoted, "<a b='never closed>"));
}

TEST(XmlTree, ChildrenByIdAndName)
{
    CNewConvertXML root;
    for (const wchar_t* id : {L"30", L"10", L"20"})
    {
        auto* c = new CNewConvertXML;
        c->SetTagName(L"e");
        c->SetAttr(L"ID", CString(id));
        c->SetAttr(L"NAME", CString(L"n") + id);
        root.AddChild(c);
    }
    root.SortById();
    EXPECT_EQ(root.GetChildAt(0)->GetAttrLong(L"ID"), 10);
    EXPECT_EQ(root.GetChildAt(2)->GetAttrLong(L"ID"), 30);
    EXPECT_EQ(root.FindByID(20), root.GetChildAt(1));
    EXPECT_EQ(root.FindByName(L"N30"), root.GetChildAt(2));
    EXPECT_EQ(root.FindByID(99), nullptr);
    root.SetAttr(L"f", 3.5);
    root.SetAttr(L"nan", std::nan(""));
    EXPECT_DOUBLE_EQ(root.GetAttrDouble(L"f"), 3.5);
    EXPECT_EQ(root.GetAttr(L"nan"), CString(L"ERR"));
    root.LoadQuickBooks(CString(L"skip") + wchar_t(30) + L"k" + wchar_t(28) + L"v" + wchar_t(30) + L"tail");
    EXPECT_EQ(root.GetAttr(L"k"), CString(L"v"));
}

TEST(MabString, FieldsAndFixedWidthNumbers)
{
    CMabString s(L"a,b,,d");
    EXPECT_EQ(s.GetFieldCount(L','), 3);
    EXPECT_EQ(s.GetField(L',', 1), CString(L"b"));
    EXPECT_EQ(s.GetField(L',', 3), CString(L"d"));
    EXPECT_EQ(s.GetField(L',', 4), CString());
    EXPECT_EQ(s.Count(L","), 3);
    CMabString n;
    EXPECT_EQ(n.SetLong(42, 6), CString(L"    42"));
    EXPECT_EQ(n.SetLong(1234567, 4), CString(L"Error"));
    EXPECT_EQ(n.SetDouble(INFINITY, 6), CString(L"   ERR"));
    EXPECT_EQ(n.SetDouble(1.5e20, 8).GetLength(), 8);
    EXPECT_NE(n.Find(L'E'), -1);
    EXPECT_DOUBLE_EQ(CMabString(L"$12.5").GetDouble(), 12.5);
    CModalRecorder boxes;
    n.SetLong(1, 3);
    EXPECT_TRUE(n.IsEmpty());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString(L"Minimum String Length is 4 for error handling!"));
}

TEST(XDXml, WriteCursorRemembersEveryParent)
{
    CXDXml xml;
    EXPECT_FALSE(xml.AddChildElement(L"x"));
    ASSERT_TRUE(xml.CreateRoot(L"root"));
    for (int i = 1; i <= 11; ++i)
    {
        CString name;
        name.Format(L"e%d", i);
        ASSERT_TRUE(xml.AddChildElement(name));
    }
    ASSERT_TRUE(xml.AddAttribute(L"deep", L"yes"));
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(xml.BackToParent()) << i;
    EXPECT_FALSE(xml.BackToParent());
    EXPECT_TRUE(xml.AddChildTextNode(L"NAME", L"n"));
    EXPECT_EQ(xml.GetNodeText(L"//e11/@deep", L"none"), CString(L"yes"));
    EXPECT_EQ(xml.GetNodeText(L"//missing", L"none"), CString(L"none"));
    EXPECT_EQ(xml.GetNodeText(L"root/NAME", L""), CString(L"n"));
    EXPECT_TRUE(xml.AddXmlFragment(L"<frag a='1'><x/></frag>"));
    EXPECT_FALSE(xml.AddXmlFragment(L"<frag>"));
    EXPECT_EQ(xml.GetNodeList(L"root/frag").GetNodeListSize(), 1);
    const CString text = CString(static_cast<const wchar_t*>(xml.GetXml()));
    EXPECT_GE(text.Find(L"xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""), 0);
}

TEST(XDXml, ReadersAndParameterRecords)
{
    CXDXml xml;
    ASSERT_TRUE(xml.LoadXml(L"<r a='0.4' b='-0.4' c='0' d='2.5' e='x' f='true'>"
                            L"<PARAM><NAME>p1</NAME><VALUE>1</VALUE></PARAM>"
                            L"<PARAM><NAME>p2</NAME><VALUE>2</VALUE></PARAM><other><VALUE/></other></r>"));
    CXDNamedNode attrs = xml.GetNode(L"r").GetNamedNode();
    const struct
    {
        const wchar_t* name;
        int value;
    } ints[] = {{L"a", 1}, {L"b", -1}, {L"c", 0}, {L"d", 3}, {L"e", 0}, {L"missing", 7}};
    for (const auto& c : ints)
        EXPECT_EQ(attrs.GetNodeInt(c.name, 7), c.value) << CString(c.name).ToUtf8();
    EXPECT_EQ(attrs.GetSize(), 6);
    EXPECT_EQ(attrs.SetNodeText(L"missing", L"1"), 0);
    EXPECT_EQ(attrs.GetSize(), 6);
    EXPECT_EQ(attrs.SetNodeText(L"a", L"9"), 1);
    EXPECT_EQ(attrs.GetNodeInt(L"a", 0), 9);
    EXPECT_TRUE(xml.GetNode(L"r").GetNodeBool(L"@f", false));

    CXDXmlNode empty;
    EXPECT_EQ(empty.GetNodeListSize(), 0);
    EXPECT_EQ(xml.GetNode(L"r").GetNodeListSize(), 1);
    CXDXmlNode found = xml.FindParamNode(L"r/PARAM", L"p2");
    ASSERT_FALSE(found.IsEmpty());
    EXPECT_TRUE(found.SetParamVal(_variant_t(L"changed")));
    EXPECT_EQ(xml.GetNodeText(L"r/PARAM[2]/VALUE", L""), CString(L"changed"));
    EXPECT_FALSE(xml.GetNode(L"r/other").SetParamVal(_variant_t(L"x")));
    EXPECT_TRUE(xml.FindParamNode(L"r/PARAM", L"P2").IsEmpty());
    CXDXmlNode list = xml.GetNodeList(L"r/PARAM");
    CString name, value;
    ASSERT_TRUE(list.GetNextNode(name, value));
    EXPECT_EQ(name, CString(L"p1"));
    ASSERT_TRUE(list.GetNextNode(name, value));
    EXPECT_EQ(value, CString(L"changed"));
    EXPECT_FALSE(list.GetNextNode(name, value));
    // A failed load leaves the object usable.
    EXPECT_FALSE(xml.LoadXml(L"<broken>"));
    EXPECT_TRUE(xml.LoadXml(L"<ok/>"));
}
