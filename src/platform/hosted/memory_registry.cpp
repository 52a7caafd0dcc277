#include "platform/hosted/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace hosted {

namespace {

// Windows compares key and value names after bringing them to upper case.
// Besides ASCII, the Latin-1 letters of the ANSI code page fold too.
unsigned char UpperCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<unsigned char>(c - 'a' + 'A');
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<unsigned char>(c - 0x20);
    }
    return c;
}

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char x = UpperCase(static_cast<unsigned char>(a[i]));
            const unsigned char y = UpperCase(static_cast<unsigned char>(b[i]));
            if (x != y) {
                return x < y;
            }
        }
        return a.size() < b.size();
    }
};

struct Value {
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
};

// "A\B\C" as {"A", "B", "C"}; empty parts (a trailing backslash) are dropped.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) {
                parts.push_back(std::move(part));
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(std::move(part));
    }
    return parts;
}

}  // namespace

struct MemoryRegistry::Key {
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    // A tree as deep as an input makes it is taken apart level by level, so
    // that the depth never reaches the stack.
    ~Key() {
        std::vector<std::unique_ptr<Key>> pending;
        TakeSubkeys(pending);
        while (!pending.empty()) {
            std::unique_ptr<Key> key = std::move(pending.back());
            pending.pop_back();
            key->TakeSubkeys(pending);
        }
    }

    std::string name;  // with the letter case it was created with
    std::map<std::string, std::unique_ptr<Key>, CaseLess> subkeys;
    std::map<std::string, Value, CaseLess> values;
    // The subkeys by index, for enumeration; rebuilt after a change.
    mutable std::vector<const Key*> byIndex;
    mutable bool byIndexStale = false;

    const Key* Subkey(std::uint32_t index) const {
        if (byIndexStale) {
            byIndex.clear();
            for (const auto& [name, child] : subkeys) {
                byIndex.push_back(child.get());
            }
            byIndexStale = false;
        }
        return index < byIndex.size() ? byIndex[index] : nullptr;
    }

    Key* Find(const std::vector<std::string>& parts) {
        Key* key = this;
        for (const std::string& part : parts) {
            auto it = key->subkeys.find(part);
            if (it == key->subkeys.end()) {
                return nullptr;
            }
            key = it->second.get();
        }
        return key;
    }

    Key* Make(const std::vector<std::string>& parts) {
        Key* key = this;
        for (const std::string& part : parts) {
            std::unique_ptr<Key>& child = key->subkeys[part];
            if (!child) {
                child = std::make_unique<Key>();
                child->name = part;
                key->byIndexStale = true;
            }
            key = child.get();
        }
        return key;
    }

    void CollectTree(std::set<const Key*>& tree) const {
        std::vector<const Key*> pending{this};
        while (!pending.empty()) {
            const Key* key = pending.back();
            pending.pop_back();
            tree.insert(key);
            for (const auto& [name, child] : key->subkeys) {
                pending.push_back(child.get());
            }
        }
    }

    void TakeSubkeys(std::vector<std::unique_ptr<Key>>& into) {
        for (auto& [name, child] : subkeys) {
            into.push_back(std::move(child));
        }
        subkeys.clear();
    }
};

MemoryRegistry::MemoryRegistry()
    : localMachine_(std::make_unique<Key>()), dynData_(std::make_unique<Key>()) {}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::Root(win::HKEY root) const {
    if (root == win::kHkeyLocalMachine) {
        return localMachine_.get();
    }
    if (root == win::kHkeyDynData) {
        return dynData_.get();
    }
    return nullptr;
}

// A root, or a key opened and not closed; null for anything else, and for a
// handle whose key was deleted while it was open.
MemoryRegistry::Key* MemoryRegistry::Resolve(win::HKEY key) const {
    if (Key* root = Root(key)) {
        return root;
    }
    auto it = open_.find(key);
    return it == open_.end() ? nullptr : it->second;
}

void MemoryRegistry::CreateKey(win::HKEY root, const std::string& keyPath) {
    Root(root)->Make(SplitPath(keyPath));
}

void MemoryRegistry::DeleteKey(win::HKEY root, const std::string& keyPath) {
    // Handles into a deleted tree stay open but lead nowhere.
    auto forgetHandlesInto = [this](const Key& gone) {
        std::set<const Key*> tree;
        gone.CollectTree(tree);
        for (auto& [handle, key] : open_) {
            if (tree.count(key) != 0) {
                key = nullptr;
            }
        }
    };
    std::vector<std::string> parts = SplitPath(keyPath);
    Key* top = Root(root);
    if (parts.empty()) {
        for (const auto& [name, child] : top->subkeys) {
            forgetHandlesInto(*child);
        }
        top->subkeys.clear();
        top->values.clear();
        top->byIndexStale = true;
        return;
    }
    const std::string leaf = parts.back();
    parts.pop_back();
    Key* parent = top->Find(parts);
    if (parent == nullptr) {
        return;
    }
    auto it = parent->subkeys.find(leaf);
    if (it == parent->subkeys.end()) {
        return;
    }
    forgetHandlesInto(*it->second);
    parent->subkeys.erase(it);
    parent->byIndexStale = true;
}

void MemoryRegistry::SetValue(win::HKEY root, const std::string& keyPath, const std::string& name,
                              std::uint32_t type, std::vector<std::uint8_t> data) {
    Value& value = Root(root)->Make(SplitPath(keyPath))->values[name];
    value.type = type;
    value.data = std::move(data);
}

void MemoryRegistry::SetString(win::HKEY root, const std::string& keyPath, const std::string& name,
                               const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(root, keyPath, name, kRegSz, std::move(data));
}

void MemoryRegistry::SetDword(win::HKEY root, const std::string& keyPath, const std::string& name,
                              std::uint32_t value) {
    SetValue(root, keyPath, name, kRegDword,
             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void MemoryRegistry::DeleteValue(win::HKEY root, const std::string& keyPath,
                                 const std::string& name) {
    if (Key* key = Root(root)->Find(SplitPath(keyPath))) {
        key->values.erase(name);
    }
}

int MemoryRegistry::OpenKeyCount() const {
    return static_cast<int>(open_.size());
}

std::uint32_t MemoryRegistry::RegOpenKeyExA(win::HKEY parent, const char* subKey,
                                            std::uint32_t /*access*/, win::HKEY* result) {
    if (result == nullptr) {
        return win::kErrorInvalidParameter;
    }
    Key* from = Resolve(parent);
    if (from == nullptr) {
        return win::kErrorInvalidHandle;
    }
    const std::string path = subKey == nullptr ? "" : subKey;
    if (!path.empty() && path.front() == '\\') {
        return win::kErrorBadPathname;
    }
    Key* key = from->Find(SplitPath(path));
    if (key == nullptr) {
        return win::kErrorFileNotFound;
    }
    *result = nextHandle_++;
    open_[*result] = key;
    return win::kErrorSuccess;
}

std::uint32_t MemoryRegistry::RegQueryValueExA(win::HKEY key, const char* valueName,
                                               std::uint32_t* type, std::uint8_t* data,
                                               std::uint32_t* size) {
    const Key* from = Resolve(key);
    if (from == nullptr) {
        return win::kErrorInvalidHandle;
    }
    if (data != nullptr && size == nullptr) {
        return win::kErrorInvalidParameter;
    }
    auto it = from->values.find(valueName == nullptr ? "" : valueName);
    if (it == from->values.end()) {
        return win::kErrorFileNotFound;
    }
    const Value& value = it->second;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    if (type != nullptr) {
        *type = value.type;
    }
    if (data != nullptr && *size < needed) {
        *size = needed;
        return win::kErrorMoreData;
    }
    if (data != nullptr && needed != 0) {
        std::memcpy(data, value.data.data(), needed);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return win::kErrorSuccess;
}

std::uint32_t MemoryRegistry::RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                            std::uint32_t* size) {
    const Key* from = Resolve(key);
    if (from == nullptr) {
        return win::kErrorInvalidHandle;
    }
    if (name == nullptr || size == nullptr) {
        return win::kErrorInvalidParameter;
    }
    const Key* subkey = from->Subkey(index);
    if (subkey == nullptr) {
        return win::kErrorNoMoreItems;
    }
    const std::string& found = subkey->name;
    if (found.size() + 1 > *size) {
        return win::kErrorMoreData;
    }
    std::memcpy(name, found.c_str(), found.size() + 1);
    *size = static_cast<std::uint32_t>(found.size());
    return win::kErrorSuccess;
}

std::uint32_t MemoryRegistry::RegCloseKey(win::HKEY key) {
    if (Root(key) != nullptr) {
        return win::kErrorSuccess;  // the roots are never really opened
    }
    if (open_.erase(key) == 0) {
        return win::kErrorInvalidHandle;
    }
    return win::kErrorSuccess;
}

}  // namespace hosted
