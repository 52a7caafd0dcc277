#include "installer_build.h"

#include <unistd.h>

#include <fstream>
#include <string>
#include <system_error>

#include "manifest.h"
#include "pack_error.h"
#include "sha256.h"
#include "store_writer.h"

namespace pack {

namespace {

namespace fs = std::filesystem;

// A new file beside the output, removed unless it is renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const fs::path& beside) {
        fs::path name = ".";
        name += beside.filename();
        name += ".XXXXXX";
        std::string pattern = (beside.parent_path() / name).string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0) {
            throw PackError("cannot create a file beside " + beside.string());
        }
        close(fd);
        path_ = pattern;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }

    const fs::path& Path() const { return path_; }

    void RenameTo(const fs::path& target) {
        std::error_code error;
        fs::rename(path_, target, error);
        if (error) {
            throw PackError("cannot rename the installer to " + target.string() + ": " +
                            error.message());
        }
        path_.clear();
    }

  private:
    fs::path path_;
};

void AppendEntry(StoreWriter& writer, const ManifestEntry& entry) {
    try {
        std::ifstream payload(entry.source, std::ios::binary);
        if (!payload) {
            throw PackError("cannot open " + entry.source.string());
        }
        writer.Append(payload, fs::file_size(entry.source), entry.spec);
    } catch (const std::exception& e) {
        throw PackError(entry.label + ": " + e.what());
    }
}

// The digest file must not take the place of anything the build reads.
void RefuseToOverwriteInput(const fs::path& digestFile, const fs::path& stub,
                            const fs::path& manifest, const std::vector<ManifestEntry>& entries) {
    std::vector<fs::path> inputs = {stub, manifest};
    for (const ManifestEntry& entry : entries) {
        inputs.push_back(entry.source);
    }
    for (const fs::path& input : inputs) {
        std::error_code error;
        if (fs::equivalent(digestFile, input, error)) {
            throw PackError("the digest file " + digestFile.string() + " would overwrite " +
                            input.string() + ", an input of the build");
        }
    }
}

void WriteDigestFile(const fs::path& installer, const fs::path& out, const fs::path& digestFile) {
    TemporaryFile temporary(digestFile);
    {
        std::ofstream digest(temporary.Path(), std::ios::trunc);
        digest << FileSha256(installer) << "  " << out.filename().string() << '\n';
        digest.close();
        if (!digest) {
            throw PackError("cannot write " + temporary.Path().string());
        }
    }
    temporary.RenameTo(digestFile);
}

}  // namespace

void BuildInstaller(const fs::path& stub, const fs::path& manifest, const fs::path& out) {
    const std::vector<ManifestEntry> entries = LoadManifest(manifest);
    fs::path digestFile = out;
    digestFile += ".sha256";
    RefuseToOverwriteInput(digestFile, stub, manifest, entries);
    std::ifstream stubIn(stub, std::ios::binary);
    if (!fs::is_regular_file(stub) || !stubIn) {
        throw PackError("cannot read the stub " + stub.string());
    }

    TemporaryFile temporary(out);
    {
        std::ofstream installer(temporary.Path(), std::ios::binary | std::ios::trunc);
        StoreWriter writer(installer, stubIn);
        for (const ManifestEntry& entry : entries) {
            AppendEntry(writer, entry);
        }
        installer.close();
        if (!installer) {
            throw PackError("cannot write " + temporary.Path().string());
        }
    }
    fs::permissions(temporary.Path(), fs::status(stub).permissions());
    WriteDigestFile(temporary.Path(), out, digestFile);
    temporary.RenameTo(out);
}

}  // namespace pack
