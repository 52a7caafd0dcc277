// A run of the store on an installer, on either Windows family: walks by tag
// and by name, from the end and from each module found, each module found
// extracted onto E:, held to what every store keeps: a walk steps back over
// modules that match its key, their trailers read as laid out, and fills its
// outputs only for them; a module is found again by its name; an extraction
// writes the unscrambled payload into a new file or nothing; nothing outside
// E: changes or stays open; both families agree. The fuzz target shares it.
#pragma once

#include <cstring>
#include <functional>

#include "store/module_store.h"
#include "testbed/installer.h"
#include "testbed/test_machine.h"

namespace storetest {

inline const std::string kPayload = testbed::Pattern(2500);
inline const testbed::Installer kOne =
    testbed::BuildInstaller({{store::kOrcaTag, "Stash.exe", "", kPayload, 2}});
inline const auto kAt = static_cast<std::int32_t>(kOne.placements[0].payloadOffset);
inline constexpr char kTarget[] = "E:\\Stash.exe";

struct StoreMachine {
    explicit StoreMachine(const std::string& installer = kOne.bytes, bool nt = true) {
        machine.facts().platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
        machine.AddFile(testbed::kInstallerPath, installer);
        machine.AddDrive('E');
    }
    testbed::TestMachine machine;
    store::ModuleStore store{machine.os, testbed::kInstallerPath};
};

using Require = std::function<void(bool holds, const std::string& property)>;
using Found = std::pair<std::int32_t, store::ModuleHeader>;

inline std::string Text(const char* field, std::size_t width = store::kPathFieldWidth) {
    return {field, strnlen(field, width)};
}

// Each 1024-byte chunk XORed with the key, 0x01A48F79, in the words that start
// below a quarter of its length: written apart from ScrambleBuffer on purpose.
inline std::string Unscrambled(const std::string& bytes, std::int32_t at, std::uint32_t size) {
    std::string payload = bytes.substr(static_cast<std::uint32_t>(at), size);
    for (std::size_t i = 0; i < payload.size(); ++i) {
        const std::size_t chunk = std::min<std::size_t>(1024, payload.size() - i / 1024 * 1024);
        const auto key = static_cast<char>(0x01A48F79u >> (24 - 8 * (i % 4)));
        payload[i] = static_cast<char>(payload[i] ^ (i % 1024 / 4 * 4 < chunk / 4 ? key : 0));
    }
    return payload;
}

struct StoreRun : StoreMachine {
    StoreRun(const std::string& installer, bool nt, Require check)
        : StoreMachine(installer, nt), bytes(installer), require(std::move(check)) {
        machine.AddDrive('D');
        const std::vector<std::string> outside = machine.Tree('C');
        for (const char* tag : {store::kOrcaTag, store::kKestrelTag, store::kStorePrefix}) {
            Walk(tag, true);
        }
        const std::vector<Found> all = Walk("", false);
        for (std::size_t i = 0; i < all.size() && i < 16; ++i) {  // a bound that keeps it quick
            const std::vector<Found> named = Walk(Text(all[i].second.fileName), false);
            require(!named.empty() && named[0].first >= all[i].first, "a module is found by name");
            Extract(all[i].first, all[i].second);
        }
        require(machine.Tree('C') == outside && machine.Tree('D').empty() &&
                    machine.Contents(testbed::kInstallerPath) == bytes,
                "nothing outside drive E: changes");
        require(machine.files.OpenHandleCount() == 0 && machine.files.OpenSearchCount() == 0 &&
                    machine.ui.waitCursorDepth == 0,
                "every file and search is closed, the wait cursor taken away");
    }

    std::uint32_t Dword(std::size_t at) const {
        return store::DwordFromBytes(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]);
    }

    std::vector<Found> Walk(const std::string& key, bool byTag, std::uint32_t start = 0) {
        char field[store::kTagFieldWidth] = {};
        key.copy(field, sizeof field);
        std::vector<Found> found;
        for (std::uint64_t end = start ? start : bytes.size();; end = start) {
            Found next{-2, {}};
            std::memset(&next.second, 0x5A, sizeof next.second);
            const Found untouched = next;
            results.push_back(store.FindModule(key, &next.first, byTag, &next.second, start));
            const store::ModuleHeader& h = next.second;
            const std::uint64_t at = static_cast<std::uint32_t>(next.first),
                                trailer = at + h.payloadSize;
            if (results.back() <= 0) {
                require(results.back() >= -1 && std::memcmp(&next, &untouched, sizeof next) == 0,
                        "a walk that finds no module gives 0 or -1 and no output");
                return found;
            }
            require(next.first == results.back() && trailer + 660 <= end &&
                        std::strncmp(h.tag, store::kStorePrefix, 18) == 0 &&
                        ((byTag && std::strncmp(field, h.tag, 35) == 0) ||
                         Text(h.fileName).starts_with(key)),
                    "a walk steps back to a module of the store that matches the key");
            require(trailer + 660 > bytes.size() ||
                        (h.payloadSize == Dword(trailer) && h.attributes == Dword(trailer + 652) &&
                         h.trailerLength == Dword(trailer + 656) &&
                         Text(h.tag, 64) == Text(&bytes[trailer + 4], 64) &&
                         Text(h.fileName) == Text(&bytes[trailer + 132]) &&
                         Text(h.extractPath) == Text(&bytes[trailer + 392]) &&
                         std::memcmp(h.tag + 64, untouched.second.tag + 64, 64) == 0),
                    "the module's header is its trailer as laid out");
            found.push_back(next);
            start = static_cast<std::uint32_t>(at);
        }
    }

    // Extracts a module to where the install page puts it.
    void Extract(std::int32_t at, const store::ModuleHeader& h) {
        const std::string folder = "E:\\" + Text(h.extractPath);
        store.CreateDirectoryPath(folder);  // passes over a folder that is there
        const std::string target = folder + (folder.size() > 3 ? "\\" : "") + Text(h.fileName);
        const bool existed = machine.Exists(target);
        const std::string before = machine.Contents(target);
        const bool done = store.ExtractModule(target, at, h.payloadSize, h.attributes);
        const std::string after = machine.Contents(target);
        require(existed                  ? !done && after == before
                : machine.Exists(target) ? after == Unscrambled(bytes, at, h.payloadSize)
                                         : !done,
                "an extraction writes the unscrambled payload into a new file, or nothing");
    }

    const std::string bytes;
    const Require require;
    std::vector<std::int32_t> results;
};

inline void RunOnBothFamilies(const std::string& bytes, const Require& require) {
    const StoreRun nt(bytes, true, require), windows95(bytes, false, require);
    require(nt.results == windows95.results && nt.machine.Tree('E') == windows95.machine.Tree('E'),
            "both families see the same store");
}

}  // namespace storetest
