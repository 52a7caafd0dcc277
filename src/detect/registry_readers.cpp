#include "detect/registry_readers.h"

#include <algorithm>

namespace detect {

std::uint32_t QueryValue(const RegistryKey& key, const char* name, std::uint32_t room,
                         std::vector<std::uint8_t>& data) {
    data.assign(room, 0);
    std::uint32_t type = 0;
    std::uint32_t size = room;
    const std::uint32_t result =
        key.Registry().RegQueryValueExA(key.Handle(), name, &type, data.data(), &size);
    data.resize(result == win::kErrorSuccess ? std::min(size, room) : 0);
    return result;
}

std::uint32_t QueryString(const RegistryKey& key, const char* name, std::uint32_t room,
                          std::string& text) {
    std::vector<std::uint8_t> data;
    const std::uint32_t result = QueryValue(key, name, room, data);
    if (result == win::kErrorSuccess) {
        text.assign(data.begin(), std::find(data.begin(), data.end(), 0));
    }
    return result;
}

std::string ReadRegString(const RegistryKey& key, const char* name) {
    constexpr std::uint32_t kRoom = 1024;
    std::string text;
    QueryString(key, name, kRoom, text);
    return text;
}

std::uint32_t ReadRegDword(const RegistryKey& key, const char* name) {
    std::vector<std::uint8_t> bytes;
    if (QueryValue(key, name, 4, bytes) != win::kErrorSuccess) {
        return 0;
    }
    bytes.resize(4);  // a shorter value reads as if padded with zeros
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

int ReadEntryCount(const RegistryKey& key) {
    return static_cast<std::int8_t>(ReadRegDword(key, "Count") & 0xFF);
}

}  // namespace detect
