#include "xml/XmlDom.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

TEST(XmlDom, ParseErrorsGiveLineAndReason)
{
    struct Case
    {
        const wchar_t* text;
        int line;
        const wchar_t* reasonPart;
    };
    const Case cases[] = {
        {L"<a>\n<b>\n</a>", 3, L"mismatch"},
        {L"<a>\n x & y\n</a>", 2, L"EntityRef"},
        {L"<a>\n<img xlink:href=\"p.png\"/>\n</a>", 2, L"xlink"},
        {L"", 0, L"empty"},
    };
    for (const Case& c : cases)
    {
        CXmlDocument doc;
        EXPECT_FALSE(doc.LoadXml(c.text)) << CString(c.text).ToUtf8();
        EXPECT_EQ(doc.GetErrorLine(), c.line) << CString(c.text).ToUtf8();
        EXPECT_GE(doc.GetErrorReason().Find(c.reasonPart), 0) << doc.GetErrorReason().ToUtf8();
        EXPECT_TRUE(doc.GetRoot().IsNull());
    }
    // The object stays usable.
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadXml(L"<a>"));
    EXPECT_TRUE(doc.LoadXml(L"<a/>"));
    EXPECT_EQ(doc.GetRoot().GetName(), CString(L"a"));
}

TEST(XmlDom, UnprefixedNamesAlsoMatchTheDefaultNamespace)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(
        L"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\">"
        L"<defs><linearGradient id=\"g\"><stop offset=\"0\"/><stop offset=\"1\"/></linearGradient>"
        L"</defs><image xlink:href=\"a.png\" href=\"b.png\"/></svg>"));
    ASSERT_EQ(doc.SelectNodes(L"svg").size(), 1u);
    EXPECT_EQ(doc.SelectNodes(L"//stop").size(), 2u);
    CXmlNode gradient = doc.SelectSingleNode(L"svg/defs/linearGradient");
    ASSERT_FALSE(gradient.IsNull());
    EXPECT_EQ(gradient.SelectNodes(L"stop").size(), 2u);
    EXPECT_EQ(gradient.SelectNodes(L"stop[@offset='1']").size(), 1u);
    CXmlNode image = doc.SelectSingleNode(L"//image");
    CString value;
    ASSERT_TRUE(image.GetAttribute(L"xlink:href", value));
    EXPECT_EQ(value, CString(L"a.png"));
    ASSERT_TRUE(image.GetAttribute(L"href", value));
    EXPECT_EQ(value, CString(L"b.png"));
    EXPECT_FALSE(image.GetAttribute(L"src", value));
    // Without a default namespace names match as they stand.
    ASSERT_TRUE(doc.LoadXml(L"<svg><g><rect/></g></svg>"));
    EXPECT_EQ(doc.SelectNodes(L"svg/g/rect").size(), 1u);
    EXPECT_TRUE(doc.SelectNodes(L"svg/rect").empty());
    EXPECT_TRUE(doc.SelectNodes(L"((").empty()); // a bad expression selects nothing
}

TEST(XmlDom, CreateEditAndSaveKeepTextLiteral)
{
    CTestDir dir;
    const CString path = CString(dir.W("out.xml"));
    {
        CXmlDocument doc;
        doc.Clear();
        doc.AddProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\"");
        CXmlNode root = doc.SetRootElement(L"root");
        ASSERT_TRUE(root.SetAttribute(L"q", L"a\"b'c&d<e"));
        CXmlNode child = root.AppendElement(L"child");
        ASSERT_FALSE(child.IsNull());
        child.AppendText(L"x & <y> \u00e9");
        EXPECT_TRUE(root.AppendElement(L"bad name").IsNull());
        EXPECT_FALSE(root.SetAttribute(L"", L"v"));
        ASSERT_TRUE(doc.Save(path));
    }
    CXmlDocument back;
    ASSERT_TRUE(back.Load(path));
    CString q;
    ASSERT_TRUE(back.GetRoot().GetAttribute(L"q", q));
    EXPECT_EQ(q, CString(L"a\"b'c&d<e"));
    EXPECT_EQ(back.SelectSingleNode(L"root/child").GetText(), CString(L"x & <y> \u00e9"));
    // Editing an attribute in place.
    CXmlNode attr = back.GetRoot().GetAttributeNode(L"q");
    ASSERT_TRUE(attr.SetText(L"new"));
    EXPECT_GE(back.GetXml().Find(L"q=\"new\""), 0);
}

TEST(XmlDom, HostileDocumentsReadNothingOutsideAndEndQuickly)
{
    CTestDir dir;
    const CString secret = CString(dir.W("secret.txt"));
    {
        std::ofstream f(secret.ToUtf8());
        f << "TOPSECRET";
    }
    const CString external = CString(L"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x SYSTEM \"file://") +
                             secret + L"\">]><a>&x;</a>";
    CXmlDocument doc;
    if (doc.LoadXml(external))
    {
        EXPECT_EQ(doc.GetRoot().GetText().Find(L"TOPSECRET"), -1);
    }

    CString laughs = L"<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
    {
        CString e;
        e.Format(L"<!ENTITY l%d \"", i);
        for (int k = 0; k < 10; ++k)
            e.AppendFormat(L"&l%d;", i - 1);
        laughs += e + L"\">";
    }
    laughs += L"]><l>&l9;</l>";
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = doc.LoadXml(laughs);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    if (loaded)
    {
        EXPECT_LT(doc.GetRoot().GetText().GetLength(), 10000000);
    }

    // Nesting beyond the limit is refused.
    CString deep;
    for (int i = 0; i < 400; ++i)
        deep += L"<g>";
    for (int i = 0; i < 400; ++i)
        deep += L"</g>";
    EXPECT_FALSE(doc.LoadXml(deep));
    EXPECT_FALSE(doc.Load(CString(dir.W("missing.xml"))));
}
