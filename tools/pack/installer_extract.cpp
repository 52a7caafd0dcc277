#include "installer_extract.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "drive_machine.h"
#include "fileops/error_text.h"
#include "module_spec.h"
#include "pack_error.h"
#include "platform/hosted/printable_text.h"
#include "store/module_store.h"
#include "store_reader.h"

namespace pack {

namespace {

namespace fs = std::filesystem;

// The letter under which the target folder stands as a drive.
constexpr char kDrive = 'X';

struct FoundModule {
    std::int32_t payloadOffset;
    store::ModuleHeader header;
};

// The modules that the installer itself finds for the key, in walk order;
// an empty key in file name mode finds every module.
std::vector<FoundModule> FindAll(store::ModuleStore& modules, const std::string& key, bool byTag) {
    std::vector<FoundModule> found;
    for (std::uint32_t start = 0;;) {
        FoundModule module{0, {}};
        const std::int32_t result =
            modules.FindModule(key, &module.payloadOffset, byTag, &module.header, start);
        if (result == 0) {
            return found;
        }
        if (result < 0) {
            throw PackError("the store cannot be walked");
        }
        found.push_back(module);
        start = static_cast<std::uint32_t>(result);
    }
}

// The system's text for the last error, on one line.
std::string LastErrorText(platform::System& system) {
    std::string text = fileops::GetLastErrorText(system);
    text.erase(text.find_last_not_of(" \r\n") + 1);
    return text;
}

std::string RelativePath(const ModuleSpec& spec, char separator) {
    std::string path = spec.extractPath;
    for (char& c : path) {
        if (c == '\\') {
            c = separator;
        }
    }
    return path.empty() ? spec.fileName : path + separator + spec.fileName;
}

// One module's place on drive X: and in the host's target folder, formed as
// the install page forms it.
struct Extraction {
    FoundModule module;
    std::string targetFolder;  // "X:\path" or "X:\"
    std::string target;        // "X:\path\name" or "X:\name"
    fs::path hostTarget;
};

Extraction Plan(const FoundModule& module, const fs::path& folder) {
    const ModuleSpec spec = SpecOfHeader(module.header);
    const std::string drive = std::string{kDrive} + ":\\";
    return Extraction{module, drive + spec.extractPath, drive + RelativePath(spec, '\\'),
                      folder / RelativePath(spec, '/')};
}

// Names on a Windows volume are the same whatever their letter case.
std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

void ExtractInstaller(const fs::path& installer, const fs::path& folder,
                      const std::optional<std::string>& tag, std::ostream& report) {
    // A defective store is refused whole, before anything is written.
    ReadStore(installer);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw PackError("cannot create " + folder.string() + ": " + error.message());
    }

    const fs::path installerPath = fs::absolute(installer);
    DriveMachine machine(kDrive, fs::absolute(folder));
    machine.MapInstaller(installerPath);
    platform::Platform& os = machine.Os();
    store::ModuleStore modules(os, installerPath.string());
    const std::vector<FoundModule> found = FindAll(modules, tag.value_or(""), tag.has_value());

    // Every target is checked before the first is written.
    std::vector<Extraction> extractions;
    std::set<std::string> targets;
    for (const FoundModule& module : found) {
        const Extraction extraction = Plan(module, folder);
        if (!targets.insert(Lowered(extraction.hostTarget.string())).second) {
            throw PackError("two modules extract to " + extraction.hostTarget.string());
        }
        if (os.files.PathFileExistsA(extraction.target)) {
            throw PackError(extraction.hostTarget.string() + " exists already");
        }
        extractions.push_back(extraction);
    }

    for (const Extraction& extraction : extractions) {
        const FoundModule& module = extraction.module;
        if (!os.files.PathIsDirectoryA(extraction.targetFolder) &&
            !modules.CreateDirectoryPath(extraction.targetFolder)) {
            throw PackError("cannot create the folder of " + extraction.hostTarget.string() + ": " +
                            LastErrorText(os.system));
        }
        if (!modules.ExtractModule(extraction.target, module.payloadOffset,
                                   module.header.payloadSize, module.header.attributes)) {
            throw PackError("cannot extract " + extraction.hostTarget.string() + ": " +
                            LastErrorText(os.system));
        }
        report << hosted::PrintableText(extraction.hostTarget.string()) << '\n';
    }
}

}  // namespace pack
