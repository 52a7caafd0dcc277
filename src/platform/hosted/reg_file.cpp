#include "platform/hosted/reg_file.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/hosted/input_file.h"
#include "platform/hosted/reg_text.h"
#include "platform/hosted/reg_value_data.h"

namespace hosted {

namespace {

// One change that a line of the file makes, kept until the whole file has
// been read.
struct Edit {
    enum Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue } kind;
    win::HKEY root;
    std::string key;
    std::string name;
    ValueData data;
};

// The root a key line names: loaded, or known and left out.
struct Root {
    const char16_t* name;
    win::HKEY handle;  // 0: left out
};
constexpr Root kRoots[] = {
    {u"HKEY_LOCAL_MACHINE", win::kHkeyLocalMachine},
    {u"HKLM", win::kHkeyLocalMachine},
    {u"HKEY_DYN_DATA", win::kHkeyDynData},
    {u"HKDD", win::kHkeyDynData},
    {u"HKEY_CLASSES_ROOT", 0},
    {u"HKCR", 0},
    {u"HKEY_CURRENT_USER", 0},
    {u"HKCU", 0},
    {u"HKEY_USERS", 0},
    {u"HKU", 0},
    {u"HKEY_CURRENT_CONFIG", 0},
    {u"HKCC", 0},
    {u"HKEY_PERFORMANCE_DATA", 0},
};

// What a Windows registry can hold.
constexpr std::size_t kLongestKeyName = 255;
constexpr std::size_t kDeepestKeyPath = 512;
constexpr std::size_t kLongestValueName = 16383;

// Empty when every name of the backslash-separated path fits a registry key
// and the path is not deeper than a registry goes.
std::string KeyPathDefect(std::u16string_view path) {
    std::size_t levels = 0;
    for (std::size_t begin = 0; begin < path.size();) {
        const std::size_t end = std::min(path.find(u'\\', begin), path.size());
        if (end - begin > kLongestKeyName) {
            return "key name over " + std::to_string(kLongestKeyName) + " characters";
        }
        if (++levels > kDeepestKeyPath) {
            return "key path deeper than " + std::to_string(kDeepestKeyPath) + " levels";
        }
        begin = end + 1;
    }
    return "";
}

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

class Parser {
  public:
    explicit Parser(const RegText& text) : text_(text) {}

    // Reads every line into edits; false with the line and what is wrong.
    bool Parse(std::vector<Edit>& edits, int& errorLine, std::string& error) {
        const std::vector<std::u16string>& lines = text_.lines;
        for (std::size_t at = 1; at < lines.size(); ++at) {
            errorLine = static_cast<int>(at) + 1;
            std::u16string statement(Trimmed(lines[at]));
            // A value's data may go on over lines that end with a backslash.
            while (!statement.empty() && statement.back() == u'\\' && statement.front() != u'[' &&
                   statement.front() != u';' && at + 1 < lines.size()) {
                statement.pop_back();
                statement += Trimmed(lines[++at]);
            }
            if (!ParseStatement(statement, edits, error)) {
                return false;
            }
        }
        return true;
    }

  private:
    const RegText& text_;
    bool inKey_ = false;
    bool keyDeleted_ = false;
    win::HKEY root_ = 0;
    std::string key_;

    bool ParseStatement(std::u16string_view line, std::vector<Edit>& edits, std::string& error) {
        if (line.empty() || line.front() == u';') {
            return true;
        }
        if (line.front() == u'[') {
            return ParseKey(line, edits, error);
        }
        if (line.front() == u'"' || line.front() == u'@') {
            return ParseValue(line, edits, error);
        }
        error = "expected [key], \"name\"=data, @=data or a ; comment";
        return false;
    }

    bool ParseKey(std::u16string_view line, std::vector<Edit>& edits, std::string& error) {
        if (line.back() != u']') {
            error = "key line does not end with ']'";
            return false;
        }
        std::u16string_view path = line.substr(1, line.size() - 2);
        keyDeleted_ = !path.empty() && path.front() == u'-';
        if (keyDeleted_) {
            path.remove_prefix(1);
        }
        const std::size_t slash = path.find(u'\\');
        const std::u16string_view rootName = path.substr(0, slash);
        const Root* root = nullptr;
        for (const Root& each : kRoots) {
            if (SameIgnoringAsciiCase(rootName, each.name)) {
                root = &each;
            }
        }
        if (root == nullptr) {
            error = "unknown root key \"" + ToAnsi(rootName, true) + "\"";
            return false;
        }
        const std::u16string_view below =
            slash == std::u16string_view::npos ? u"" : path.substr(slash + 1);
        if (below.find(u"\\\\") != std::u16string_view::npos ||
            (!below.empty() && (below.front() == u'\\' || below.back() == u'\\')) ||
            (slash != std::u16string_view::npos && below.empty())) {
            error = "empty key name in \"" + ToAnsi(path, text_.unicode) + "\"";
            return false;
        }
        if (std::string defect = KeyPathDefect(below); !defect.empty()) {
            error = std::move(defect);
            return false;
        }
        inKey_ = true;
        root_ = root->handle;
        key_ = ToAnsi(below, text_.unicode);
        if (root_ != 0) {
            edits.push_back(
                {keyDeleted_ ? Edit::kDeleteKey : Edit::kCreateKey, root_, key_, {}, {}});
        }
        return true;
    }

    bool ParseValue(std::u16string_view line, std::vector<Edit>& edits, std::string& error) {
        if (!inKey_) {
            error = "value before any [key] line";
            return false;
        }
        if (keyDeleted_) {
            error = "value under a deleted key";
            return false;
        }
        std::u16string name;
        if (line.front() == u'@') {
            line.remove_prefix(1);
        } else if (!ReadQuoted(line, name, error)) {
            return false;
        }
        if (name.size() > kLongestValueName) {
            error = "value name over " + std::to_string(kLongestValueName) + " characters";
            return false;
        }
        line = Trimmed(line);
        if (line.empty() || line.front() != u'=') {
            error = "expected '=' after the value name";
            return false;
        }
        ValueData data;
        if (!ParseValueData(line.substr(1), text_.unicode, data, error)) {
            return false;
        }
        if (root_ != 0) {
            const Edit::Kind kind = data.deletion ? Edit::kDeleteValue : Edit::kSetValue;
            edits.push_back({kind, root_, key_, ToAnsi(name, text_.unicode), std::move(data)});
        }
        return true;
    }
};

void Apply(const std::vector<Edit>& edits, MemoryRegistry& reg) {
    for (const Edit& edit : edits) {
        switch (edit.kind) {
            case Edit::kCreateKey:
                reg.CreateKey(edit.root, edit.key);
                break;
            case Edit::kDeleteKey:
                reg.DeleteKey(edit.root, edit.key);
                break;
            case Edit::kSetValue:
                reg.SetValue(edit.root, edit.key, edit.name, edit.data.type, edit.data.bytes);
                break;
            case Edit::kDeleteValue:
                reg.DeleteValue(edit.root, edit.key, edit.name);
                break;
        }
    }
}

}  // namespace

bool LoadRegBytes(const std::string& name, const std::string& bytes, MemoryRegistry& reg,
                  std::string& error) {
    RegText text;
    std::vector<Edit> edits;
    int line = 0;
    std::string what;
    if (!DecodeRegText(bytes, text, line, what) || !Parser(text).Parse(edits, line, what)) {
        error = name + ":" + std::to_string(line) + ": " + what;
        return false;
    }
    Apply(edits, reg);
    return true;
}

bool LoadRegFile(const std::string& path, MemoryRegistry& reg, std::string& error) {
    std::string bytes;
    return ReadInputFile(path, bytes, error) && LoadRegBytes(path, bytes, reg, error);
}

}  // namespace hosted
