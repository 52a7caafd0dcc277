// The module store on arbitrary installer bytes: every walk that the
// installer makes (by tag and by name, from the end and from each offset a
// walk returns), and every module found extracted onto drive E: of an
// in-memory machine, once on each Windows family.
//
// Properties: a walk gives offsets that step back through the file and
// modules that match their key; it writes its outputs only when it finds a
// module; nothing is written outside drive E:; no file or search stays open;
// an extraction that reports success wrote exactly payloadSize bytes equal to
// the unscrambled payload, and one that fails leaves no part of a module
// behind; both families see the same store.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "doubles/fake_machine.h"
#include "fuzz_check.h"
#include "store/module_store.h"

namespace {

using fuzz::Require;

constexpr char kInstaller[] = "C:\\Setup\\StashwellSetup.exe";
// Modules extracted, and modules looked up again by name, per input: enough
// for every store the corpus grows, bounded so that one input stays quick.
constexpr std::size_t kMostExtracted = 24;
constexpr std::size_t kMostNameWalks = 8;

struct Found {
    std::int32_t payloadOffset;
    store::ModuleHeader header;
};

std::string FieldText(const char* field, std::size_t width) {
    return std::string(field, strnlen(field, width));
}

// The payload as the producer meant it: each 1024-byte chunk, counted from the
// payload's first byte, with the words that start below a quarter of its
// length XORed with the key. Written apart from ScrambleBuffer on purpose.
std::string Unscrambled(const std::string& bytes, std::uint32_t offset, std::uint32_t size) {
    std::string payload = bytes.substr(offset, size);
    for (std::size_t chunk = 0; chunk < payload.size(); chunk += 1024) {
        const std::size_t length = std::min<std::size_t>(1024, payload.size() - chunk);
        for (std::size_t i = 0; i < length / 4; i += 4) {
            for (int k = 0; k < 4; ++k) {
                const auto keyByte = static_cast<char>(store::kScramblingKey >> (24 - 8 * k));
                payload[chunk + i + k] = static_cast<char>(payload[chunk + i + k] ^ keyByte);
            }
        }
    }
    return payload;
}

bool Matches(const store::ModuleHeader& header, const std::string& key, bool byTag) {
    char field[store::kTagFieldWidth] = {};
    std::strncpy(field, key.c_str(), sizeof field);
    const bool tagMatch = byTag && std::strncmp(field, header.tag, store::kTagMatchLength) == 0;
    return tagMatch || FieldText(header.fileName, store::kPathFieldWidth).starts_with(key);
}

class StoreRun {
  public:
    StoreRun(const std::string& bytes, bool nt) : bytes_(bytes) {
        machine_.system.platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
        machine_.files.AddFile(kInstaller, bytes);
        machine_.files.AddDrive('D');
        machine_.files.AddDrive('E');
        outsideBefore_ = machine_.files.Tree('C');
    }

    // Calls FindModule from the end, then from each offset it returns, until
    // it gives 0 or -1; every result is noted.
    std::vector<Found> Walk(const std::string& key, bool byTag) {
        std::vector<Found> found;
        std::uint32_t position = static_cast<std::uint32_t>(bytes_.size());
        std::uint32_t start = 0;
        for (;;) {
            Found module{-2, {}};
            std::memset(&module.header, 0x5A, sizeof module.header);
            const store::ModuleHeader untouched = module.header;
            const std::int32_t result =
                store_.FindModule(key, &module.payloadOffset, byTag, &module.header, start);
            results_.push_back(result);
            RequireNothingOpen("FindModule");
            if (result <= 0) {
                Require(result == 0 || result == -1, "FindModule gives 0 or -1 when it finds none");
                Require(module.payloadOffset == -2 &&
                            std::memcmp(&module.header, &untouched, sizeof untouched) == 0,
                        "FindModule writes its outputs only for a module found");
                return found;
            }
            Require(module.payloadOffset == result, "the offset output is the result");
            const auto offset = static_cast<std::uint32_t>(result);
            Require(std::uint64_t{offset} + module.header.payloadSize + store::kTrailerLength <=
                        position,
                    "a module lies before the walk position");
            Require(std::strncmp(module.header.tag, store::kStorePrefix,
                                 store::kStorePrefixLength) == 0,
                    "a module found carries the store prefix");
            Require(Matches(module.header, key, byTag), "a module found matches the key");
            found.push_back(module);
            position = start = offset;
        }
    }

    // Extracts a module to where the install page puts it and checks what the
    // drive holds afterwards.
    void Extract(const Found& module) {
        const store::ModuleHeader& header = module.header;
        const std::string extractPath = FieldText(header.extractPath, store::kPathFieldWidth);
        const std::string fileName = FieldText(header.fileName, store::kPathFieldWidth);
        const std::string folder = "E:\\" + extractPath;
        if (!machine_.files.PathIsDirectoryA(folder)) {
            store_.CreateDirectoryPath(folder);
            RequireNothingOpen("CreateDirectoryPath");
        }
        const std::string target =
            extractPath.empty() ? folder + fileName : folder + "\\" + fileName;
        const bool existed = machine_.files.Exists(target);
        const std::string before = machine_.files.Contents(target);
        const std::string expected = Unscrambled(
            bytes_, static_cast<std::uint32_t>(module.payloadOffset), header.payloadSize);

        const int result = store_.ExtractModule(target, module.payloadOffset, header.payloadSize,
                                                header.attributes);
        RequireNothingOpen("ExtractModule");
        Require(machine_.ui.waitCursorDepth == 0, "the wait cursor is taken away");
        if (result != 0) {
            Require(!existed, "an existing target is never replaced");
            Require(machine_.files.Contents(target) == expected,
                    "a successful extraction wrote exactly the unscrambled payload");
        } else if (existed) {
            Require(machine_.files.Exists(target) && machine_.files.Contents(target) == before,
                    "a failed extraction leaves an existing target as it was");
        } else {
            Require(!machine_.files.Exists(target) || machine_.files.Contents(target) == expected,
                    "a failed extraction leaves no part of a module behind");
        }
    }

    void RequireNothingWrittenOutside() const {
        Require(machine_.files.Tree('C') == outsideBefore_ &&
                    machine_.files.Contents(kInstaller) == bytes_,
                "drive C: and the installer are unchanged");
        Require(machine_.files.Tree('D').empty(), "nothing was written on drive D:");
    }

    const std::vector<std::int32_t>& Results() const { return results_; }
    std::vector<std::string> Drive() const { return machine_.files.Tree('E'); }

  private:
    void RequireNothingOpen(const std::string& call) const {
        Require(machine_.files.OpenHandleCount() == 0, call + " closes every file");
        Require(machine_.files.OpenSearchCount() == 0, call + " closes every search");
    }

    const std::string& bytes_;
    doubles::FakeMachine machine_;
    store::ModuleStore store_{machine_.os, kInstaller};
    std::vector<std::string> outsideBefore_;
    std::vector<std::int32_t> results_;
};

void RunOnFamily(StoreRun& run) {
    for (const char* tag : {store::kOrcaTag, store::kKestrelTag, store::kStorePrefix}) {
        run.Walk(tag, true);
    }
    const std::vector<Found> all = run.Walk("", false);
    // A name walk from the end meets a module of that name no later than the
    // module itself.
    for (std::size_t i = 0; i < all.size() && i < kMostNameWalks; ++i) {
        const std::string name = FieldText(all[i].header.fileName, store::kPathFieldWidth);
        const std::vector<Found> named = run.Walk(name, false);
        Require(!named.empty() && named.front().payloadOffset >= all[i].payloadOffset,
                "a module found in a walk is found again by its name");
    }
    for (std::size_t i = 0; i < all.size() && i < kMostExtracted; ++i) {
        run.Extract(all[i]);
    }
    run.RequireNothingWrittenOutside();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    StoreRun nt(bytes, true);
    RunOnFamily(nt);
    StoreRun windows95(bytes, false);
    RunOnFamily(windows95);
    Require(nt.Results() == windows95.Results() && nt.Drive() == windows95.Drive(),
            "both families see the same store");
    return 0;
}
