// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/xml_elements.h"

#include <cstdint>

#include "files/line_message.h"

namespace dispfit {

namespace {

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Reads the text one character at a time, counting lines and columns.
class XmlCursor {
 public:
  XmlCursor(std::string_view text, const std::string& source) : text_(text), source_(source) {}

  bool done() const { return pos_ >= text_.size(); }
  char peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool startsWith(std::string_view prefix) const { return text_.substr(pos_).starts_with(prefix); }
  void advance(std::size_t count = 1) {
    for (std::size_t i = 0; i < count && pos_ < text_.size(); ++i, ++pos_) {
      if (text_[pos_] == '\n') {
        ++line_;
        column_ = 1;
      } else {
        ++column_;
      }
    }
  }
  void skipBlanks() {
    while (!done() && isBlank(peek())) advance();
  }
  // Moves past `end`; false when the text ends first.
  bool skipPast(std::string_view end) {
    while (!done() && !startsWith(end)) advance();
    if (done()) return false;
    advance(end.size());
    return true;
  }
  std::string name() {
    std::string result;
    while (!done() && isNameCharacter(peek())) {
      result += peek();
      advance();
    }
    return result;
  }
  std::size_t line() const { return line_; }
  std::size_t column() const { return column_; }
  std::string fault(std::string_view what) const {
    return swcore::lineColumnMessage(source_, line_, column_, what);
  }

 private:
  std::string_view text_;
  const std::string& source_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t column_ = 1;
};

// Text up to `end` (a '<' or a quote), its references resolved.
bool readCharacters(XmlCursor& in, char end, std::string& out, std::string& error) {
  while (!in.done() && in.peek() != end) {
    if (in.peek() != '&') {
      out += in.peek();
      in.advance();
      continue;
    }
    in.advance();
    std::string reference;
    while (!in.done() && in.peek() != ';' && reference.size() < 12) {
      reference += in.peek();
      in.advance();
    }
    if (in.peek() != ';') {
      error = in.fault("a reference '&" + reference + "' without its ';'");
      return false;
    }
    in.advance();
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    bool known = false;
    for (const auto& [entity, character] : kEntities) {
      if (reference == entity) {
        out += character;
        known = true;
      }
    }
    if (!known && reference.size() > 1 && reference[0] == '#') {
      const bool hexadecimal = reference[1] == 'x';
      std::uint32_t code = 0;
      bool digits = reference.size() > (hexadecimal ? 2u : 1u);
      for (std::size_t i = hexadecimal ? 2 : 1; i < reference.size() && digits; ++i) {
        const char c = reference[i];
        const int digit = c >= '0' && c <= '9'                  ? c - '0'
                          : hexadecimal && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hexadecimal && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                : -1;
        digits = digit >= 0;
        code = code * (hexadecimal ? 16u : 10u) + static_cast<std::uint32_t>(digit < 0 ? 0 : digit);
        if (code > 0x10FFFF) digits = false;
      }
      if (digits && code > 0) {
        appendUtf8(out, code);
        known = true;
      }
    }
    if (!known) {
      error = in.fault("an unknown reference '&" + reference + ";'");
      return false;
    }
  }
  return true;
}

// Past a declaration, processing instruction or comment where one begins.
bool skipMarkup(XmlCursor& in, std::string& error, bool& skipped) {
  skipped = true;
  if (in.startsWith("<?")) {
    if (!in.skipPast("?>")) {
      error = in.fault("a processing instruction without its '?>'");
      return false;
    }
    return true;
  }
  if (in.startsWith("<!--")) {
    if (!in.skipPast("-->")) {
      error = in.fault("a comment without its '-->'");
      return false;
    }
    return true;
  }
  if (in.startsWith("<!")) {
    error = in.fault("a document type or CDATA section, which a data file does not need");
    return false;
  }
  skipped = false;
  return true;
}

// A start tag, the cursor on its '<'; `closed` when it ends in "/>".
bool readStartTag(XmlCursor& in, XmlElement& element, bool& closed, std::string& error) {
  element.line = in.line();
  element.column = in.column();
  in.advance();
  element.name = in.name();
  if (element.name.empty()) {
    error = in.fault("a '<' that begins no tag");
    return false;
  }
  while (true) {
    in.skipBlanks();
    if (in.startsWith("/>")) {
      in.advance(2);
      closed = true;
      return true;
    }
    if (in.peek() == '>') {
      in.advance();
      closed = false;
      return true;
    }
    std::string name = in.name();
    if (name.empty()) {
      error = in.fault("the tag <" + element.name + "> is not closed by '>'");
      return false;
    }
    in.skipBlanks();
    if (in.peek() != '=') {
      error = in.fault("the attribute " + name + " has no '=' and value");
      return false;
    }
    in.advance();
    in.skipBlanks();
    const char quote = in.peek();
    if (quote != '"' && quote != '\'') {
      error = in.fault("the value of the attribute " + name + " is not in quotes");
      return false;
    }
    in.advance();
    std::string value;
    if (!readCharacters(in, quote, value, error)) return false;
    if (in.done()) {
      error = in.fault("the value of the attribute " + name + " is not closed");
      return false;
    }
    in.advance();
    element.attributes.emplace_back(std::move(name), std::move(value));
  }
}

}  // namespace

const XmlElement* XmlElement::child(std::string_view childName) const {
  for (const XmlElement& element : children) {
    if (element.name == childName) return &element;
  }
  return nullptr;
}

std::string XmlElement::attribute(std::string_view attributeName) const {
  for (const auto& [key, value] : attributes) {
    if (key == attributeName) return value;
  }
  return {};
}

bool parseXml(std::string_view text, const std::string& source, XmlElement& root,
              std::string& error) {
  XmlCursor in(text, source);
  // The chain of open elements; the tree is built by moving each finished
  // element into its parent, so no element is referred to while its parent
  // grows.
  std::vector<XmlElement> open;
  bool haveRoot = false;
  while (true) {
    if (open.empty()) {
      in.skipBlanks();
    } else if (!readCharacters(in, '<', open.back().text, error)) {
      return false;
    }
    if (in.done()) break;
    if (in.peek() != '<') {
      error = in.fault("text outside the document's element");
      return false;
    }
    bool skipped = false;
    if (!skipMarkup(in, error, skipped)) return false;
    if (skipped) continue;
    if (in.startsWith("</")) {
      const std::string at = in.fault("");  // the place of the closing tag, for its message
      in.advance(2);
      const std::string name = in.name();
      in.skipBlanks();
      if (open.empty() || name != open.back().name || in.peek() != '>') {
        error = at + (open.empty()
                          ? "a closing tag </" + name + "> with no tag open"
                          : "</" + name + "> where <" + open.back().name + "> is to be closed");
        return false;
      }
      in.advance();
      XmlElement finished = std::move(open.back());
      open.pop_back();
      if (open.empty()) {
        root = std::move(finished);
        haveRoot = true;
      } else {
        open.back().children.push_back(std::move(finished));
      }
      continue;
    }
    if (haveRoot && open.empty()) {
      error = in.fault("a second element after the document's root");
      return false;
    }
    XmlElement element;
    bool closed = false;
    if (!readStartTag(in, element, closed, error)) return false;
    if (closed) {
      if (open.empty()) {
        root = std::move(element);
        haveRoot = true;
      } else {
        open.back().children.push_back(std::move(element));
      }
      continue;
    }
    if (open.size() >= kMostXmlDepth) {
      error = in.fault("elements nested deeper than " + std::to_string(kMostXmlDepth));
      return false;
    }
    open.push_back(std::move(element));
  }
  if (!open.empty()) {
    error = in.fault("the text ends with <" + open.back().name + "> still open");
    return false;
  }
  if (!haveRoot) {
    error = source + ": no XML element";
    return false;
  }
  return true;
}

bool xmlTextOf(std::string_view bytes, std::string& text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  bool littleEndian = false;
  bool utf16 = false;
  std::size_t start = 0;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    utf16 = littleEndian = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    utf16 = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) == '<' && byte(1) == 0) {
    utf16 = littleEndian = true;
  } else if (bytes.size() >= 2 && byte(0) == 0 && byte(1) == '<') {
    utf16 = true;
  }
  if (!utf16) {
    text = std::string(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
    return true;
  }
  if ((bytes.size() - start) % 2 != 0) return false;
  std::string out;
  out.reserve((bytes.size() - start) / 2);
  const auto unit = [&](std::size_t i) -> std::uint32_t {
    return littleEndian ? byte(i) | (byte(i + 1) << 8) : (byte(i) << 8) | byte(i + 1);
  };
  for (std::size_t i = start; i < bytes.size(); i += 2) {
    std::uint32_t code = unit(i);
    if (code >= 0xD800 && code < 0xDC00) {
      if (i + 3 >= bytes.size()) return false;
      const std::uint32_t low = unit(i + 2);
      if (low < 0xDC00 || low >= 0xE000) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (code >= 0xDC00 && code < 0xE000) {
      return false;
    }
    appendUtf8(out, code);
  }
  text = std::move(out);
  return true;
}

}  // namespace dispfit
