#include "support/xml_reader.h"

#include <stdexcept>

namespace kavi::e2e {

namespace {
class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  XmlElement Document() {
    CheckCharacters();
    if (text_.compare(0, 5, "<?xml") == 0) Skip("?>");
    Misc();
    if (!Peek('<')) Fail("expected the root element");
    XmlElement root = Element();
    Misc();
    if (at_ != text_.size()) Fail("content after the root element");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("XML fault at byte " + std::to_string(at_) + ": " + what);
  }

  // Every byte sequence must be UTF-8 of a character XML allows.
  void CheckCharacters() {
    for (at_ = 0; at_ < text_.size();) {
      const unsigned char lead = static_cast<unsigned char>(text_[at_]);
      std::size_t length = 1;
      char32_t code = lead;
      if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07;
      } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F;
      } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F;
      } else if (lead >= 0x80) {
        Fail("a byte that does not start a UTF-8 character");
      }
      if (at_ + length > text_.size()) Fail("a UTF-8 character cut off");
      for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text_[at_ + i]);
        if ((next & 0xC0) != 0x80) Fail("a broken UTF-8 character");
        code = (code << 6) | (next & 0x3F);
      }
      const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
      if (code < smallest[length]) Fail("an overlong UTF-8 character");
      if (!Allowed(code)) Fail("a character XML does not allow");
      at_ += length;
    }
    at_ = 0;
  }

  static bool Allowed(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
  }

  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  bool PeekText(const char* s) const {
    return text_.compare(at_, std::char_traits<char>::length(s), s) == 0;
  }
  void Expect(char c) {
    if (!Peek(c)) Fail(std::string("expected '") + c + "'");
    ++at_;
  }
  void Skip(const char* end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string::npos) Fail(std::string("missing '") + end + "'");
    at_ = found + std::char_traits<char>::length(end);
  }
  bool Blank() const {
    return at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r');
  }
  bool SkipBlanks() {
    const std::size_t start = at_;
    while (Blank()) ++at_;
    return at_ != start;
  }
  void Comment() {
    at_ += 4;
    const std::size_t end = text_.find("--", at_);
    if (end == std::string::npos || text_.compare(end, 3, "-->") != 0)
      Fail("a comment not closed by '-->' or holding '--'");
    at_ = end + 3;
  }
  // White space and comments outside the root element.
  void Misc() {
    for (;;) {
      SkipBlanks();
      if (!PeekText("<!--")) return;
      Comment();
    }
  }

  static bool NameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
  }
  std::string Name() {
    if (at_ >= text_.size() || !NameStart(text_[at_])) Fail("expected a name");
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           (NameStart(text_[at_]) || (text_[at_] >= '0' && text_[at_] <= '9') ||
            text_[at_] == '-' || text_[at_] == '.'))
      ++at_;
    return text_.substr(start, at_ - start);
  }

  static void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  // A reference after '&', appended to out.
  void Reference(std::string& out) {
    ++at_;
    const std::size_t end = text_.find(';', at_);
    if (end == std::string::npos || end - at_ > 10) Fail("a bare '&'");
    const std::string name = text_.substr(at_, end - at_);
    static const std::map<std::string, char> predefined = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    if (const auto found = predefined.find(name); found != predefined.end()) {
      out += found->second;
    } else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x';
      const std::string digits = name.substr(hex ? 2 : 1);
      if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                         : "0123456789") != std::string::npos)
        Fail("a malformed character reference");
      const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
      if (code > 0x10FFFF || !Allowed(static_cast<char32_t>(code)))
        Fail("a reference to a character XML does not allow");
      AppendUtf8(out, static_cast<char32_t>(code));
    } else {
      Fail("an unknown entity '&" + name + ";'");
    }
    at_ = end + 1;
  }

  std::string AttributeValue() {
    if (!Peek('"') && !Peek('\'')) Fail("an attribute value without quotes");
    const char quote = text_[at_++];
    std::string value;
    while (!Peek(quote)) {
      if (at_ >= text_.size()) Fail("an attribute value not closed");
      if (Peek('<')) Fail("'<' in an attribute value");
      if (Peek('&')) {
        Reference(value);
      } else {
        value += text_[at_++];
      }
    }
    ++at_;
    return value;
  }

  XmlElement Element() {
    Expect('<');
    XmlElement element;
    element.name = Name();
    for (;;) {
      const bool blank = SkipBlanks();
      if (PeekText("/>")) {
        at_ += 2;
        return element;
      }
      if (Peek('>')) break;
      if (!blank) Fail("attributes must be separated by white space");
      const std::string key = Name();
      SkipBlanks();
      Expect('=');
      SkipBlanks();
      if (!element.attributes.emplace(key, AttributeValue()).second)
        Fail("attribute '" + key + "' given twice");
    }
    ++at_;
    Content(element);
    return element;
  }

  void Content(XmlElement& element) {
    for (;;) {
      if (at_ >= text_.size()) Fail("element '" + element.name + "' not closed");
      if (PeekText("</")) {
        at_ += 2;
        if (Name() != element.name) Fail("end tag does not match '" + element.name + "'");
        SkipBlanks();
        Expect('>');
        return;
      }
      if (PeekText("<!--")) {
        Comment();
      } else if (PeekText("<!") || PeekText("<?")) {
        Fail("markup this reader does not accept");
      } else if (Peek('<')) {
        element.children.push_back(Element());
      } else if (Peek('&')) {
        Reference(element.text);
      } else {
        if (PeekText("]]>")) Fail("']]>' in character data");
        element.text += text_[at_++];
      }
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

void Collect(const XmlElement& element, const std::string& name, const std::string& className,
             std::vector<const XmlElement*>& found) {
  for (const XmlElement& child : element.children) {
    if (child.name == name && (className.empty() || child.Attribute("class") == className))
      found.push_back(&child);
    Collect(child, name, className, found);
  }
}
}  // namespace

std::string XmlElement::Attribute(const std::string& key) const {
  const auto found = attributes.find(key);
  return found == attributes.end() ? std::string() : found->second;
}

std::vector<const XmlElement*> XmlElement::FindAll(const std::string& elementName,
                                                   const std::string& className) const {
  std::vector<const XmlElement*> found;
  Collect(*this, elementName, className, found);
  return found;
}

XmlElement ParseXml(const std::string& document) { return Parser(document).Document(); }

}  // namespace kavi::e2e
