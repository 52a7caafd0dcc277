#include "store/module_store.h"

#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "detect/platform_test.h"

namespace store {

namespace {

constexpr std::int32_t kWalkFailed = -1;
constexpr std::int32_t kNoModule = 0;
// Every offset in a store is a signed 32-bit file offset.
constexpr std::uint64_t kLargestOffset = std::numeric_limits<std::int32_t>::max();

// The installer file, closed on every way out of a walk.
class InstallerFile {
  public:
    InstallerFile(platform::FileSystem& files, int handle) : files_(files), handle_(handle) {}
    InstallerFile(const InstallerFile&) = delete;
    InstallerFile& operator=(const InstallerFile&) = delete;
    ~InstallerFile() { files_.Close(handle_); }

    // Reads exactly count bytes at offset; false when the seek fails or the
    // file does not hold them.
    bool ReadAt(std::uint32_t offset, std::uint8_t* buffer, unsigned count) {
        return files_.Seek(handle_, static_cast<long>(offset)) >= 0 &&
               files_.Read(handle_, buffer, count) == static_cast<int>(count);
    }

    // The length found by reading the whole file from its start in chunks,
    // then back to its start: how the 95 family measures it. False when a
    // read or the seek back fails.
    bool MeasureByReading(std::uint64_t& length) {
        std::uint8_t chunk[kChunkSize];
        length = 0;
        for (int n; (n = files_.Read(handle_, chunk, kChunkSize)) != 0; length += n) {
            if (n < 0) {
                return false;
            }
        }
        return files_.Seek(handle_, 0) >= 0;
    }

  private:
    platform::FileSystem& files_;
    int handle_;
};

// The key copied into a zeroed tag field, compared with the module's tag as a
// bounded string comparison over the predefined prefix and variant character.
bool TagMatches(const ModuleHeader& record, std::string_view key) {
    char field[kTagFieldWidth] = {};
    key.copy(field, kTagFieldWidth);
    return std::strncmp(field, record.tag, kTagMatchLength) == 0;
}

bool FileNameBeginsWith(const ModuleHeader& record, std::string_view key) {
    return std::string_view(record.fileName, strnlen(record.fileName, kPathFieldWidth))
        .starts_with(key);
}

}  // namespace

ModuleStore::ModuleStore(platform::Platform& os, std::string installerPath,
                         std::uint32_t headerLength)
    : os_(os), installerPath_(std::move(installerPath)), headerLength_(headerLength) {}

std::int32_t ModuleStore::FindModule(const std::string& key, std::int32_t* payloadOffsetOut,
                                     bool byTag, ModuleHeader* headerOut,
                                     std::uint32_t startOffset) {
    const std::string_view text(key.c_str());
    const bool nt = detect::IsNtPlatform(os_.system);
    std::uint64_t length = 0;
    if (nt && !os_.files.GetFileLength(installerPath_, length)) {
        return kWalkFailed;
    }
    const int handle = os_.files.OpenRead(installerPath_);
    if (handle < 0) {
        return kWalkFailed;
    }
    InstallerFile file(os_.files, handle);
    if (!nt && !file.MeasureByReading(length)) {
        return kWalkFailed;
    }
    // The walk stays within the file, so this bounds every offset it meets.
    if (length > kLargestOffset) {
        return kWalkFailed;
    }

    std::uint32_t position = startOffset != 0 ? startOffset : static_cast<std::uint32_t>(length);
    for (;;) {
        std::uint8_t lengthBytes[4];
        if (position < sizeof lengthBytes ||
            !file.ReadAt(position - sizeof lengthBytes, lengthBytes, sizeof lengthBytes)) {
            return kWalkFailed;
        }
        const std::uint32_t trailerLength =
            DwordFromBytes(lengthBytes[0], lengthBytes[1], lengthBytes[2], lengthBytes[3]);
        if (trailerLength >= position || trailerLength < headerLength_) {
            return kNoModule;
        }

        // Only the record is read, whatever the trailer's length says.
        std::uint8_t trailer[kTrailerLength];
        if (!file.ReadAt(position - trailerLength, trailer, kTrailerLength)) {
            return kWalkFailed;
        }
        ModuleHeader record{};
        BytesToHeader(trailer, record);
        const std::uint32_t trailerOffset = position - trailerLength;
        // A payload must begin after the first byte of the file.
        if (record.payloadSize >= trailerOffset) {
            return kWalkFailed;
        }
        const std::uint32_t payloadOffset = trailerOffset - record.payloadSize;

        if (std::strncmp(record.tag, kStorePrefix, kStorePrefixLength) != 0) {
            return kWalkFailed;
        }
        const bool match = (byTag && TagMatches(record, text)) || FileNameBeginsWith(record, text);
        if (match) {
            if (payloadOffsetOut != nullptr) {
                *payloadOffsetOut = static_cast<std::int32_t>(payloadOffset);
            }
            if (headerOut != nullptr) {
                BytesToHeader(trailer, *headerOut);
            }
            return static_cast<std::int32_t>(payloadOffset);
        }
        position = payloadOffset;
    }
}

}  // namespace store
