// SPDX-License-Identifier: GPL-3.0-or-later
// A small reader of the XML that other programs write their data in: the
// tree of elements with their attributes and text, and the line and column
// where each element begins. It takes what such files hold - a declaration,
// comments, elements, attributes in single or double quotes, text with the
// five predefined entities and numeric character references - and refuses
// the rest (a document type, CDATA sections), a tag left open or closed out
// of turn, and trees deeper than kMostXmlDepth.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dispfit {

// Far deeper than any data file nests; a deeper text is not one.
inline constexpr std::size_t kMostXmlDepth = 64;

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // the element's own text, its children's left out
  std::size_t line = 0;
  std::size_t column = 0;
  std::vector<XmlElement> children;

  // The first child named `childName`, or nullptr.
  const XmlElement* child(std::string_view childName) const;
  // The attribute's value, or an empty text.
  std::string attribute(std::string_view attributeName) const;
};

// The document's root element, from UTF-8 text. False, with "<source>, line
// <n>, column <c>: <what>" in `error`, for text that is not such XML.
bool parseXml(std::string_view text, const std::string& source, XmlElement& root,
              std::string& error);

// UTF-8 text from the bytes of an XML file: UTF-16 (little or big endian,
// told by its byte-order mark or by the '<' it begins with) is converted, a
// UTF-8 byte-order mark dropped. False for UTF-16 that breaks off inside a
// character.
bool xmlTextOf(std::string_view bytes, std::string& text);

}  // namespace dispfit
