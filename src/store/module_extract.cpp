#include <algorithm>

#include "fileops/guarded_delete.h"
#include "store/module_store.h"

namespace store {

namespace {

// The application's wait cursor, shown for as long as an extraction runs.
class WaitCursor {
  public:
    explicit WaitCursor(platform::UserInterface& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ui_.EndWaitCursor(); }

  private:
    platform::UserInterface& ui_;
};

// Fills the first length bytes of a chunk buffer from the file: reads of up
// to a whole chunk until they are there. False when the file ends first or a
// read fails.
bool FillChunk(platform::FileSystem& files, int handle, std::uint8_t* chunk, std::uint32_t length) {
    for (std::uint32_t got = 0; got < length;) {
        const int n = files.Read(handle, chunk + got, kChunkSize - got);
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::uint32_t>(n);
    }
    return true;
}

// Copies a payload chunk by chunk, undoing the scrambling of each chunk over
// its true length. False when the installer file ends before the payload
// does, a read fails or a write comes up short.
bool CopyPayload(platform::FileSystem& files, int from, int to, std::uint32_t payloadSize) {
    std::uint8_t chunk[kChunkSize];
    for (std::uint32_t written = 0; written < payloadSize;) {
        const std::uint32_t length = std::min(kChunkSize, payloadSize - written);
        if (!FillChunk(files, from, chunk, length)) {
            return false;
        }
        ScrambleBuffer(chunk, length, kScramblingKey);
        if (files.Write(to, chunk, length) != static_cast<int>(length)) {
            return false;
        }
        written += length;
    }
    return true;
}

// Adds the module's attributes to the new file's, unless the two share a bit.
int GiveAttributes(platform::FileSystem& files, const std::string& path, std::uint32_t attributes) {
    const std::uint32_t current = files.GetFileAttributesA(path);
    if (current == win::kInvalidFileAttributes) {
        return 0;
    }
    if ((current & attributes) == 0 && !files.SetFileAttributesA(path, current | attributes)) {
        return 0;
    }
    return 1;
}

}  // namespace

int ModuleStore::ExtractModule(const std::string& targetPath, std::int32_t payloadOffset,
                               std::uint32_t payloadSize, std::uint32_t attributes) {
    WaitCursor waitCursor(os_.ui);
    const int installer = os_.files.OpenRead(installerPath_);
    if (installer < 0) {
        return 0;
    }
    const int target = os_.files.CreateExclusive(targetPath);
    if (target < 0) {
        os_.files.Close(installer);
        return 0;
    }
    bool copied = os_.files.Seek(installer, payloadOffset) >= 0 &&
                  CopyPayload(os_.files, installer, target, payloadSize);
    // A target that does not close cleanly may not hold what was written.
    copied = os_.files.Close(target) == 0 && copied;
    os_.files.Close(installer);
    if (!copied) {
        // No part of a module is left behind; the deletion reports its own
        // failures.
        fileops::DeleteFileOrDirectory(os_, targetPath, 1);
        return 0;
    }
    return GiveAttributes(os_.files, targetPath, attributes);
}

}  // namespace store
