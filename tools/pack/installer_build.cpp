#include "installer_build.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <system_error>
#include <vector>

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

// Refuses an output (the installer or its digest file) that is a folder, or
// one of the inputs under any name (a hard or a symbolic link included): the
// build would replace what it reads.
void RefuseOutputOverInputs(const fs::path& out, const std::string& role, const fs::path& stub,
                            const fs::path& manifest, const std::vector<ManifestEntry>& entries) {
    struct stat output {};
    if (stat(out.c_str(), &output) != 0) {
        return;
    }
    if (S_ISDIR(output.st_mode)) {
        throw PackError(role + " " + out.string() + " is a folder");
    }
    const auto refuseIfSame = [&](const fs::path& input, const std::string& what) {
        struct stat status {};
        if (stat(input.c_str(), &status) == 0 && status.st_dev == output.st_dev &&
            status.st_ino == output.st_ino) {
            throw PackError(role + " " + out.string() + " is the same file as " + what + " " +
                            input.string() + ": it would overwrite an input of the build");
        }
    };
    refuseIfSame(manifest, "the manifest");
    refuseIfSame(stub, "the stub");
    for (const ManifestEntry& entry : entries) {
        refuseIfSame(entry.source, "the source of " + entry.label);
    }
}

void AppendEntry(StoreWriter& writer, const ManifestEntry& entry) {
    try {
        std::ifstream payload(entry.source, std::ios::binary);
        if (!payload) {
            RequireReadable(entry.source, "source");
            throw PackError("cannot read the source " + entry.source.string());
        }
        writer.Append(payload, fs::file_size(entry.source), entry.spec);
    } catch (const std::exception& e) {
        throw PackError(entry.label + ": " + e.what());
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
    RequireReadable(stub, "stub");
    fs::path digestFile = out;
    digestFile += ".sha256";
    RefuseOutputOverInputs(out, "the output", stub, manifest, entries);
    RefuseOutputOverInputs(digestFile, "the digest file", stub, manifest, entries);
    std::ifstream stubIn(stub, std::ios::binary);

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
