#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "pack_run.h"

namespace {

using namespace packtest;
using nlohmann::json;

class BuildRefusal : public PackTest {
  protected:
    fs::path out = Dir() / "out" / "Setup.exe";

    BuildRefusal() {
        fs::create_directories(Dir() / "files");
        fs::create_directories(out.parent_path());
        WriteFile(Dir() / "files" / "Stash.exe", "program");
        WriteFile(Dir() / "files" / "Stash.hlp", "help");
    }

    // Builds with a manifest whose second module is the given one; the
    // build must fail with a message that names that entry and holds what,
    // and leave nothing in the output's folder.
    void ExpectRefused(const json& module, const std::string& what) {
        const json manifest = {
            {"modules", {{{"source", "files/Stash.exe"}, {"variant", "O"}}, module}}};
        WriteFile(Dir() / "manifest.json", manifest.dump());
        const Outcome run = Pack({"build", "--stub", WriteStub().string(), "--manifest",
                                  (Dir() / "manifest.json").string(), "--out", out.string()});
        EXPECT_NE(run.status, 0) << module;
        const std::string source = module.value("source", "no source");
        EXPECT_NE(run.err.find("manifest entry 1 (" + source + "): "), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(what), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(FilesBelow(out.parent_path()).empty()) << module;
    }

    static json Help(json fields) {
        json module = {{"source", "files/Stash.hlp"}, {"variant", "K"}};
        module.update(fields);
        return module;
    }
};

TEST_F(BuildRefusal, MissingSource) {
    ExpectRefused({{"source", "files/Missing.dll"}, {"variant", "O"}}, "Missing.dll: no such file");
}

TEST_F(BuildRefusal, TagsOutsideTheStore) {
    json module = Help({{"tag", "OEM_INSTALLER"}});
    module.erase("variant");
    ExpectRefused(module, "does not begin with NRVK_OEM_INSTALLER");
    module["tag"] = std::string("NRVK_OEM_INSTALLER_") + std::string(46, 'X');
    ExpectRefused(module, "is over 64 characters");
    ExpectRefused(Help({{"tag", "NRVK_OEM_INSTALLER"}}), "either \"variant\" or \"tag\"");
    ExpectRefused(Help({{"variant", "OK"}}), "is not one character");
}

TEST_F(BuildRefusal, NamesAndPathsThatCannotStandOnTheDrive) {
    ExpectRefused(Help({{"fileName", std::string(260, 'n')}}), "is over 259 characters");
    ExpectRefused(Help({{"fileName", "HelpFiles\\Stash.hlp"}}), "holds a backslash");
    ExpectRefused(Help({{"fileName", ""}}), "is empty");
    ExpectRefused(Help({{"extractPath", "\\HelpFiles"}}), "begins or ends with a backslash");
    ExpectRefused(Help({{"extractPath", "HelpFiles\\"}}), "begins or ends with a backslash");
    ExpectRefused(Help({{"extractPath", std::string(260, 'p')}}), "is over 259 characters");
    ExpectRefused(Help({{"extractPath", "Help\\..\\..\\Windows"}}), "is \"..\"");
    ExpectRefused(
        Help({{"extractPath", std::string(200, 'p')}, {"fileName", std::string(60, 'n')}}),
        "target path on the drive would be over 259 characters");
}

TEST_F(BuildRefusal, CharactersOutsideTheAnsiCodePage) {
    ExpectRefused(Help({{"fileName", "Stash\u2713.hlp"}}), "holds U+2713, which Windows-1252");
}

TEST_F(BuildRefusal, AttributesThatAreNoFileBits) {
    ExpectRefused(Help({{"attributes", "0x10"}}), "cannot be set on a file");
    ExpectRefused(Help({{"attributes", "hidden"}}), "are not a 32-bit number");
    ExpectRefused(Help({{"attributes", -1}}), "are not a 32-bit number");
}

TEST_F(BuildRefusal, PayloadsBeyondTheStoresNumbers) {
    // Sparse files: the sizes are refused before any byte is read.
    const fs::path huge = Dir() / "files" / "Huge.dat";
    std::ofstream(huge).close();
    fs::resize_file(huge, 0x100000000ull);
    ExpectRefused(Help({{"source", "files/Huge.dat"}}), "is over 4 GiB - 1");
    fs::resize_file(huge, 0x7FFFF000ull);
    ExpectRefused(Help({{"source", "files/Huge.dat"}}), "store offsets must stay below 2 GiB");
}

// Manifest texts are UTF-8; the trailer holds them in Windows-1252.
TEST_F(BuildRefusal, NamesGoIntoTheTrailerInTheAnsiCodePage) {
    const json manifest = {{"modules",
                            {{{"source", "files/Stash.hlp"},
                              {"variant", "O"},
                              {"fileName", "Caf\u00e9 \u20ac.txt"}}}}};
    WriteFile(Dir() / "manifest.json", manifest.dump());
    ASSERT_EQ(Pack({"build", "--stub", WriteStub().string(), "--manifest",
                    (Dir() / "manifest.json").string(), "--out", out.string()})
                  .status,
              0);
    EXPECT_NE(ReadFile(out).find("Caf\xE9 \x80.txt"), std::string::npos);
    const Outcome run = Pack({"list", "--json", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)[0]["fileName"], "Caf\u00e9 \u20ac.txt");
}

TEST_F(BuildRefusal, DefaultsFillTheTrailer) {
    const json manifest = {
        {"modules", {{{"source", "files/Stash.hlp"}, {"tag", "NRVK_OEM_INSTALLER"}}}}};
    WriteFile(Dir() / "manifest.json", manifest.dump());
    ASSERT_EQ(Pack({"build", "--stub", WriteStub().string(), "--manifest",
                    (Dir() / "manifest.json").string(), "--out", out.string()})
                  .status,
              0);
    const Outcome run = Pack({"list", "--json", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out),
              json::parse(R"([{"tag": "NRVK_OEM_INSTALLER", "fileName": "Stash.hlp",
                              "extractPath": "", "attributes": 128, "payloadSize": 4,
                              "payloadOffset": 3004, "trailerLength": 660, "sha256":
                              "106a5842fc5fce6f663176285ed1516dbb1e3d15c05abab12fdca46d60b539b7"}])"));
    EXPECT_EQ(FilesBelow(out.parent_path()),
              (std::vector<std::string>{"Setup.exe", "Setup.exe.sha256"}));
}

}  // namespace
