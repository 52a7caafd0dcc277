// An in-memory registry with the semantics of the Windows registry's read
// calls, filled by the .reg loader or by tests. It counts the keys that are
// open, so that a caller that forgets to close one is caught.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace hosted {

// Value types as the registry stores them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

class MemoryRegistry : public platform::Registry {
  public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    // Editing. keyPath holds backslash-separated names below root
    // (win::kHkeyLocalMachine or win::kHkeyDynData); missing keys are made.
    void CreateKey(win::HKEY root, const std::string& keyPath);
    void DeleteKey(win::HKEY root, const std::string& keyPath);  // with its subkeys
    void SetValue(win::HKEY root, const std::string& keyPath, const std::string& name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    // A REG_SZ value: the text and its terminating zero.
    void SetString(win::HKEY root, const std::string& keyPath, const std::string& name,
                   const std::string& text);
    // A REG_DWORD value: four bytes, little-endian.
    void SetDword(win::HKEY root, const std::string& keyPath, const std::string& name,
                  std::uint32_t value);
    void DeleteValue(win::HKEY root, const std::string& keyPath, const std::string& name);

    // Keys opened and not yet closed.
    int OpenKeyCount() const;

    std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                win::HKEY* result) override;
    std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                std::uint32_t* size) override;
    std::uint32_t RegCloseKey(win::HKEY key) override;

  private:
    struct Key;
    std::unique_ptr<Key> localMachine_;
    std::unique_ptr<Key> dynData_;
    std::map<win::HKEY, Key*> open_;
    win::HKEY nextHandle_ = 0x1000;

    Key* Root(win::HKEY root) const;
    Key* Resolve(win::HKEY key) const;
};

}  // namespace hosted
