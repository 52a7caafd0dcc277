#include "store_reader.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

#include "module_spec.h"
#include "pack_error.h"
#include "sha256.h"
#include "store/scramble.h"

namespace pack {

namespace {

constexpr std::uint64_t kLargestOffset = std::numeric_limits<std::int32_t>::max();

class InstallerBytes {
  public:
    explicit InstallerBytes(const std::filesystem::path& path)
        : path_(Readable(path)), in_(path, std::ios::binary) {
        std::error_code error;
        length_ = std::filesystem::file_size(path, error);
        if (!in_ || error) {
            throw PackError("cannot read the installer " + path.string());
        }
    }

    std::uint64_t Length() const { return length_; }

    void ReadAt(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
        in_.seekg(static_cast<std::streamoff>(offset));
        if (!in_.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count))) {
            throw PackError("cannot read the installer " + path_.string());
        }
    }

    // The digest of a payload as it is installed: each 1024-byte chunk
    // unscrambled.
    std::string ContentSha256(std::uint64_t offset, std::uint32_t size) {
        Sha256 sha;
        std::uint8_t chunk[store::kChunkSize];
        for (std::uint32_t done = 0; done < size;) {
            const std::uint32_t length = std::min(size - done, store::kChunkSize);
            ReadAt(offset + done, chunk, length);
            store::ScrambleBuffer(chunk, length, store::kScramblingKey);
            sha.Update(chunk, length);
            done += length;
        }
        return sha.HexDigest();
    }

  private:
    // Checked before the stream opens it, which would wait on a pipe.
    static const std::filesystem::path& Readable(const std::filesystem::path& path) {
        RequireReadable(path, "installer");
        return path;
    }

    std::filesystem::path path_;
    std::ifstream in_;
    std::uint64_t length_ = 0;
};

std::string Where(const std::filesystem::path& installer, std::size_t index,
                  std::uint64_t trailerEnd) {
    return installer.string() + ": module " + std::to_string(index) +
           " from the end (trailer ending at offset " + std::to_string(trailerEnd) + "): ";
}

}  // namespace

StoreContents ReadStore(const std::filesystem::path& installer) {
    InstallerBytes file(installer);
    StoreContents contents{{}, file.Length(), 0};
    if (file.Length() > kLargestOffset) {
        throw PackError(installer.string() + ": installer of " + std::to_string(file.Length()) +
                        " bytes is beyond the signed 32-bit offsets of a store");
    }

    auto position = static_cast<std::uint32_t>(file.Length());
    for (std::size_t index = 1;; ++index) {
        if (position < 4) {
            throw PackError(Where(installer, index, position) + "no room for a trailer length");
        }
        std::uint8_t lengthBytes[4];
        file.ReadAt(position - 4, lengthBytes, sizeof lengthBytes);
        const std::uint32_t trailerLength =
            store::DwordFromBytes(lengthBytes[0], lengthBytes[1], lengthBytes[2], lengthBytes[3]);
        if (trailerLength < store::kTrailerLength) {
            contents.imageLength = position;
            return contents;
        }
        if (trailerLength >= position) {
            throw PackError(Where(installer, index, position) + "trailer length " +
                            std::to_string(trailerLength) + " reaches past the start of the file");
        }

        StoredModule module{{}, 0, position - trailerLength, trailerLength, ""};
        std::uint8_t trailer[store::kTrailerLength];
        file.ReadAt(module.trailerOffset, trailer, sizeof trailer);
        store::BytesToHeader(trailer, module.header);
        if (module.header.payloadSize + std::uint64_t{4} > module.trailerOffset) {
            throw PackError(Where(installer, index, position) + "payload of " +
                            std::to_string(module.header.payloadSize) +
                            " bytes leaves no room for the executable image before it");
        }
        if (const std::string defect = ModuleDefect(SpecOfHeader(module.header)); !defect.empty()) {
            throw PackError(Where(installer, index, position) + defect);
        }
        module.payloadOffset = module.trailerOffset - module.header.payloadSize;
        module.sha256 = file.ContentSha256(module.payloadOffset, module.header.payloadSize);
        contents.modules.push_back(module);
        position = module.payloadOffset;
    }
}

}  // namespace pack
