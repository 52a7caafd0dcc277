#include "platform/hosted/reg_value_data.h"

#include "platform/hosted/codepage_1252.h"
#include "platform/hosted/memory_registry.h"

namespace hosted {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// A number of 1 to maxDigits hexadecimal digits and nothing else.
bool ParseHexNumber(std::u16string_view digits, std::size_t maxDigits, std::uint32_t& value) {
    if (digits.empty() || digits.size() > maxDigits) {
        return false;
    }
    value = 0;
    for (char16_t c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return false;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return true;
}

// "01,02,ff": bytes of one or two hex digits separated by commas; blanks
// around them and a comma at the end are allowed.
bool ParseHexBytes(std::u16string_view list, std::vector<std::uint8_t>& bytes, std::string& error) {
    list = Trimmed(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(u',');
        std::uint32_t value = 0;
        if (!ParseHexNumber(Trimmed(list.substr(0, comma)), 2, value)) {
            error = "hex data must be bytes of two hex digits separated by commas";
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
        list = comma == std::u16string_view::npos ? u"" : Trimmed(list.substr(comma + 1));
    }
    return true;
}

bool IsTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// UTF-16LE bytes of a Unicode file's text value, in ANSI.
bool Utf16BytesToAnsi(std::vector<std::uint8_t>& bytes, std::string& error) {
    if (bytes.size() % 2 != 0) {
        error = "UTF-16 text data has an odd number of bytes";
        return false;
    }
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    }
    const std::string ansi = ToAnsi(units, true);
    bytes.assign(ansi.begin(), ansi.end());
    return true;
}

}  // namespace

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string ToAnsi(std::u16string_view text, bool unicode) {
    std::string ansi;
    for (char16_t unit : text) {
        ansi += unicode ? ToWindows1252(unit).value_or('?') : static_cast<char>(unit);
    }
    return ansi;
}

bool ReadQuoted(std::u16string_view& rest, std::u16string& text, std::string& error) {
    if (rest.empty() || rest.front() != u'"') {
        error = "expected a text in double quotes";
        return false;
    }
    text.clear();
    for (std::size_t at = 1; at < rest.size(); ++at) {
        char16_t c = rest[at];
        if (c == u'"') {
            rest.remove_prefix(at + 1);
            return true;
        }
        if (c == u'\\') {
            if (++at == rest.size()) {
                break;
            }
            switch (rest[at]) {
                case u'\\':
                case u'"':
                    c = rest[at];
                    break;
                case u'n':
                    c = u'\n';
                    break;
                case u'r':
                    c = u'\r';
                    break;
                default:
                    error = "unknown escape \"\\" + ToAnsi(rest.substr(at, 1), true) +
                            "\" in a quoted text (use \\\\ for a backslash)";
                    return false;
            }
        }
        text += c;
    }
    error = "quoted text is not closed";
    return false;
}

bool ParseValueData(std::u16string_view text, bool unicode, ValueData& data, std::string& error) {
    text = Trimmed(text);
    data = ValueData{};
    if (text == u"-") {
        data.deletion = true;
        return true;
    }
    if (StartsWith(text, u"\"")) {
        std::u16string quoted;
        if (!ReadQuoted(text, quoted, error)) {
            return false;
        }
        if (!Trimmed(text).empty()) {
            error = "unexpected text after the closing quote";
            return false;
        }
        const std::string ansi = ToAnsi(quoted, unicode);
        data.type = kRegSz;
        data.bytes.assign(ansi.begin(), ansi.end());
        data.bytes.push_back(0);
        return true;
    }
    if (StartsWith(text, u"dword:")) {
        data.type = kRegDword;
        std::uint32_t value = 0;
        if (!ParseHexNumber(Trimmed(text.substr(6)), 8, value)) {
            error = "dword: must be followed by up to 8 hex digits";
            return false;
        }
        data.bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value >> 16),
                      static_cast<std::uint8_t>(value >> 24)};
        return true;
    }
    if (StartsWith(text, u"hex:")) {
        data.type = kRegBinary;
        return ParseHexBytes(text.substr(4), data.bytes, error);
    }
    if (StartsWith(text, u"hex(")) {
        const std::size_t close = text.find(u"):");
        if (close == std::u16string_view::npos ||
            !ParseHexNumber(text.substr(4, close - 4), 8, data.type)) {
            error = "hex( must be followed by a hex type number and \"):\"";
            return false;
        }
        return ParseHexBytes(text.substr(close + 2), data.bytes, error) &&
               (!unicode || !IsTextType(data.type) || Utf16BytesToAnsi(data.bytes, error));
    }
    error = "value data must be \"text\", dword:, hex:, hex(N): or -";
    return false;
}

}  // namespace hosted
