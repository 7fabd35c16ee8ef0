// A strict reader of small XML documents such as the tool's SVG images: it
// refuses anything that is not well-formed (mismatched or unclosed tags,
// bare '&' or '<', unknown entities, duplicate attributes, characters XML
// cannot hold, text that is not UTF-8) and gives the element tree.
// Document type declarations and CDATA sections are refused as well; element
// and attribute names are limited to ASCII.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kavi::e2e {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;  // values with references resolved
  std::vector<XmlElement> children;
  std::string text;  // the character data directly inside, references resolved

  // The attribute's value, or an empty text when absent.
  std::string Attribute(const std::string& key) const;
  // Every element below this one (not this one) with the name and, when
  // className is not empty, that class attribute; in document order.
  std::vector<const XmlElement*> FindAll(const std::string& elementName,
                                         const std::string& className = "") const;
};

// Parses one document; throws std::runtime_error naming the byte offset of
// the first fault.
XmlElement ParseXml(const std::string& document);

}  // namespace kavi::e2e
