// The XML loader: any bytes load or fail with a reason, never crash, read nothing outside or grow
// without bound; a loaded document is walked, selected from and written again.
#include "foundation/XDXml.h"
#include "xml/XmlDom.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CXmlDocument doc;
    if (!doc.LoadBytes(reinterpret_cast<const char*>(data), size))
    {
        if (doc.GetErrorReason().IsEmpty() || !doc.GetRoot().IsNull())
            __builtin_trap();
        return 0;
    }
    CXmlNode root = doc.GetRoot();
    for (const CXmlNode& n : doc.SelectNodes(L"//*"))
    {
        n.GetText();
        for (const CXmlNode& a : n.GetAttributes())
            a.GetText();
    }
    doc.SelectNodes(L"svg");
    doc.GetXml();
    // The wrapper over it.
    CXDXml xml;
    if (xml.LoadXml(doc.GetXml()))
    {
        CXDXmlNode list = xml.GetNodeList(L"//*");
        for (int i = 0; i < list.GetNodeListSize() && i < 64; ++i)
        {
            CXDXmlNode item = list.GetItemNode(i);
            CXDNamedNode attrs = item.GetNamedNode();
            for (int k = 0; k < attrs.GetSize(); ++k)
                attrs.GetNodeInt(attrs.GetItemNode(k).GetNodeName(), 0);
        }
    }
    return 0;
}
