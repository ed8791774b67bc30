// What the DOM's sources share.
#pragma once

#include <libxml/tree.h>

#include <string>

namespace qyrxml
{
struct DocHolder
{
    explicit DocHolder(xmlDocPtr d) : doc(d) {}
    ~DocHolder()
    {
        if (doc)
            xmlFreeDoc(doc);
    }
    DocHolder(const DocHolder&) = delete;
    DocHolder& operator=(const DocHolder&) = delete;
    xmlDocPtr doc;
};

// The XPath text with every unprefixed element name test widened to also match the default
// namespace `uri` (unchanged when uri is empty).
std::string WidenNameTests(const std::string& xpath, const std::string& uri);
} // namespace qyrxml
