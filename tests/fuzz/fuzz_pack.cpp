// stashwell-pack list and verify on arbitrary installer files: the store read
// and printed as the table, the JSON array and the summary. Properties: a file is either read or
// refused with a PackError that says why (no other exception, no crash); a store that is read is
// laid out end to end, from the executable image to the last byte of the file, with modules that
// pass every check; and the installer's own walk over the same bytes finds exactly the modules that
// the tool lists, in the same order.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "module_spec.h"
#include "pack_error.h"
#include "store/module_store.h"
#include "store_reader.h"
#include "store_report.h"
#include "testbed/test_machine.h"

namespace {

using fuzz::Require;

void RequireLaidOutEndToEnd(const pack::StoreContents& contents) {
    std::uint64_t end = contents.fileLength;
    for (const pack::StoredModule& module : contents.modules) {
        Require(std::uint64_t{module.trailerOffset} + module.trailerLength == end,
                "each trailer ends where the module after it begins");
        Require(
            std::uint64_t{module.payloadOffset} + module.header.payloadSize == module.trailerOffset,
            "each payload ends where its trailer begins");
        Require(pack::ModuleDefect(pack::SpecOfHeader(module.header)).empty(),
                "a module listed passes every check");
        end = module.payloadOffset;
    }
    Require(contents.imageLength == end, "the executable image ends where the store begins");
}

// The installer's walk over every module (an empty file name matches all).
void RequireInstallerWalkAgrees(const std::string& bytes, const pack::StoreContents& contents) {
    testbed::TestMachine machine;
    machine.AddFile(testbed::kInstallerPath, bytes);
    store::ModuleStore modules(machine.os, testbed::kInstallerPath);
    std::uint32_t start = 0;
    for (const pack::StoredModule& listed : contents.modules) {
        store::ModuleHeader header{};
        const std::int32_t found = modules.FindModule("", nullptr, false, &header, start);
        Require(found > 0 && static_cast<std::uint32_t>(found) == listed.payloadOffset &&
                    std::memcmp(&header, &listed.header, sizeof header) == 0,
                "the installer finds each module that the tool lists");
        start = static_cast<std::uint32_t>(found);
    }
    Require(modules.FindModule("", nullptr, false, nullptr, start) == 0,
            "the installer finds no module beyond those the tool lists");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // One file per fuzzing process, so that parallel jobs do not share it.
    static const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                              ("stashwell-fuzz-pack-" + std::to_string(getpid()));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    pack::StoreContents contents;
    try {
        contents = pack::ReadStore(file);
    } catch (const pack::PackError& refusal) {
        Require(std::strlen(refusal.what()) > 0, "a refusal says why");
        return 0;
    }
    std::ostringstream out;
    pack::PrintModuleTable(contents, out);                 // list
    out << pack::ModulesAsJson(contents).dump(2) << '\n';  // list --json
    pack::PrintSummary(contents, out);                     // verify
    Require(out.str().ends_with("store is sound\n"), "verify ends with its verdict");
    RequireLaidOutEndToEnd(contents);
    RequireInstallerWalkAgrees(bytes, contents);
    return 0;
}
