#include "installer_image.h"

#include <sstream>

#include "store_writer.h"

namespace wizard_test {

void WriteInstaller(doubles::MemoryFileSystem& files, const std::string& path,
                    const std::vector<Module>& modules) {
    std::ostringstream image;
    std::istringstream stub(std::string("MZ stub of the installer's executable image"));
    pack::StoreWriter writer(image, stub);
    for (const Module& module : modules) {
        std::istringstream payload(module.contents);
        writer.Append(payload, module.contents.size(),
                      {module.tag, module.fileName, module.extractPath, module.attributes});
    }
    files.AddFile(path, image.str());
}

}  // namespace wizard_test
