// stashwell-pack list and verify on arbitrary installer files. Properties: a file is either read
// or refused with a PackError that says why (no other exception, no crash); a store that is read
// prints as the table, the JSON array and the summary, is laid out end to end, from the executable
// image to the last byte of the file, with modules that pass every check; and the installer's own
// walk over the same bytes finds exactly the modules that the tool lists, in the same order.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz_check.h"
#include "module_spec.h"
#include "pack_error.h"
#include "store/module_store.h"
#include "store_reader.h"
#include "store_report.h"
#include "testbed/test_machine.h"

using fuzz::Require;

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

    testbed::TestMachine machine;  // the installer walks over every module: "" matches all
    machine.AddFile(testbed::kInstallerPath, bytes);
    store::ModuleStore modules(machine.os, testbed::kInstallerPath);
    std::uint64_t end = contents.fileLength;
    std::uint32_t found = 0;  // where the installer's walk starts: 0 from the end of the file
    for (const pack::StoredModule& module : contents.modules) {
        Require(std::uint64_t{module.trailerOffset} + module.trailerLength == end &&
                    std::uint64_t{module.payloadOffset} + module.header.payloadSize ==
                        module.trailerOffset,
                "each trailer ends where the module after it begins, each payload at its trailer");
        Require(pack::ModuleDefect(pack::SpecOfHeader(module.header)).empty(),
                "a module listed passes every check");
        store::ModuleHeader header{};
        const std::int32_t at = modules.FindModule("", nullptr, false, &header, found);
        Require(at > 0 && static_cast<std::uint32_t>(at) == module.payloadOffset &&
                    std::memcmp(&header, &module.header, sizeof header) == 0,
                "the installer finds each module that the tool lists");
        end = found = module.payloadOffset;
    }
    Require(contents.imageLength == end, "the executable image ends where the store begins");
    Require(modules.FindModule("", nullptr, false, nullptr, found) == 0,
            "the installer finds no module beyond those the tool lists");
    return 0;
}
