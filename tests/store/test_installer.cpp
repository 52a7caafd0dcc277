#include "test_installer.h"

#include <sstream>

#include "store/module_header.h"

namespace storetest {

std::string Image(std::size_t imageSize) {
    std::string image = Pattern(imageSize, 7);
    image.replace(imageSize - 4, 4, 4, '\0');
    return image;
}

std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    return bytes;
}

TestModule Module(const std::string& tag, const std::string& fileName, std::string payload,
                  const std::string& extractPath) {
    return TestModule{std::move(payload), pack::ModuleSpec{tag, fileName, extractPath, 0x80}};
}

TestInstaller Build(const std::string& image, const std::vector<TestModule>& modules) {
    std::istringstream stub(image);
    std::ostringstream out;
    pack::StoreWriter writer(out, stub);
    TestInstaller installer;
    for (const TestModule& module : modules) {
        std::istringstream payload(module.payload);
        installer.placements.push_back(writer.Append(payload, module.payload.size(), module.spec));
    }
    installer.bytes = out.str();
    return installer;
}

void PutDword(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<char>(store::ByteOfDword(value, 3 - k));
    }
}

}  // namespace storetest
