// stashwell-pack against inputs crafted to hurt: names that Windows cannot
// hold, texts that would drive a terminal, outputs that are inputs, inputs
// that are no readable file.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "pack_run.h"
#include "store/module_tags.h"
#include "store_writer.h"

namespace {

using namespace packtest;
using nlohmann::json;

class HostileInput : public PackTest {
  protected:
    fs::path manifest = Dir() / "manifest.json";
    fs::path stub = WriteStub();
    fs::path out = Dir() / "out" / "Setup.exe";

    HostileInput() {
        fs::create_directories(Dir() / "files");
        fs::create_directories(out.parent_path());
        WriteFile(Dir() / "files" / "Stash.hlp", "help");
    }

    // Builds from a manifest of the one module.
    Outcome Build(const json& module, const fs::path& output) {
        WriteFile(manifest, json{{"modules", {module}}}.dump());
        return Pack({"build", "--stub", stub.string(), "--manifest", manifest.string(), "--out",
                     output.string()});
    }
    static json Module(const std::string& fileName, const std::string& extractPath = "") {
        return {{"source", "files/Stash.hlp"},
                {"variant", "O"},
                {"fileName", fileName},
                {"extractPath", extractPath}};
    }
    // An installer holding one module with the names as they are, made
    // without the build's checks.
    fs::path Crafted(const std::string& fileName, const std::string& extractPath = "") {
        const fs::path path = Dir() / "Crafted.exe";
        std::ofstream file(path, std::ios::binary);
        std::istringstream image("MZ"), payload("x");
        pack::StoreWriter(file, image)
            .Append(payload, 1, {store::kOrcaTag, fileName, extractPath, 0x80});
        return path;
    }
    static void ExpectOneLine(const Outcome& run, const std::string& what) {
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find(what), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    }
};

TEST_F(HostileInput, NamesWindowsCannotHoldAreRefusedByBuildVerifyAndExtract) {
    const char* const hostile[] = {"CON",  "con.txt", "Lpt9.log", "cOm1", "NUL ",       "aux .x",
                                   "PRN.", "name.",   "name ",    "   ",  "COM\xC2\xB9"};
    for (const std::string name : hostile) {
        const std::string ansi = name == "COM\xC2\xB9" ? "COM\xB9" : name;
        for (const bool inPath : {false, true}) {
            const auto place = [inPath](const std::string& text) {
                return inPath ? std::pair<std::string, std::string>{"Stash.hlp",
                                                                    "Help\\" + text + "\\Deep"}
                              : std::pair<std::string, std::string>{text, ""};
            };
            const auto [fileName, extractPath] = place(name);
            ExpectOneLine(Build(Module(fileName, extractPath), out),
                          "manifest entry 0 (files/Stash.hlp)");
            EXPECT_TRUE(FilesBelow(out.parent_path()).empty()) << name;
            const auto [ansiName, ansiPath] = place(ansi);
            const fs::path installer = Crafted(ansiName, ansiPath);
            ExpectOneLine(Pack({"verify", installer.string()}), "module 1 from the end");
            const fs::path drive = Dir() / "drive";
            ExpectOneLine(Pack({"extract", installer.string(), "--to", drive.string()}),
                          "module 1 from the end");
            EXPECT_FALSE(fs::exists(drive) && !FilesBelow(drive).empty()) << name;
        }
    }
    for (const std::string name : {"CONSOLE", "COM0", "LPT10", "xNUL", "CON_x", ".hidden", "a.b"}) {
        EXPECT_EQ(Build(Module(name), out).status, 0) << name;
    }
}

TEST_F(HostileInput, TextsFromInputsAreEscapedInMessagesAndTheListing) {
    ExpectOneLine(Build(Module("evil\x1b[2J\nname"), out), "\"evil\\x1b[2J\\nname\" holds");
    ExpectOneLine(
        Build({{"source", "files/no\nsuch\x1b"}, {"variant", "O"}, {"fileName", "x"}}, out),
        "files/no\\nsuch\\x1b: no such file");
    const fs::path installer = Crafted(
        "del\x7f"
        "c1\x81.txt");
    const Outcome table = Pack({"list", installer.string()});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("del\\x7fc1\\xc2\\x81.txt"), std::string::npos) << table.out;
    const Outcome listing = Pack({"list", "--json", installer.string()});
    EXPECT_EQ(json::parse(listing.out)[0]["fileName"],
              "del\x7f"
              "c1\xc2\x81.txt");
}

TEST_F(HostileInput, BuildOntoAnyOfItsInputsIsRefusedAndChangesNothing) {
    WriteFile(manifest, json{{"modules", {Module("Stash.hlp")}}}.dump());
    const fs::path source = Dir() / "files" / "Stash.hlp";
    fs::create_hard_link(source, Dir() / "hard-link");
    fs::create_symlink(manifest, Dir() / "symbolic-link");
    fs::create_hard_link(stub, Dir() / "stub-link");
    const std::vector<std::string> before = FilesBelow(Dir());
    const std::string manifestText = ReadFile(manifest);
    for (const fs::path& output : {manifest, stub, source, Dir() / "hard-link",
                                   Dir() / "symbolic-link", Dir() / "stub-link"}) {
        const std::string contents = ReadFile(output);
        const Outcome run = Pack({"build", "--stub", stub.string(), "--manifest", manifest.string(),
                                  "--out", output.string()});
        ExpectOneLine(run, "is the same file as");
        EXPECT_EQ(ReadFile(output), contents) << output;
        EXPECT_EQ(FilesBelow(Dir()), before) << output;
        EXPECT_TRUE(fs::is_symlink(Dir() / "symbolic-link"));
    }
    EXPECT_EQ(ReadFile(manifest), manifestText);
    // A build that fails leaves the installer that was there.
    ASSERT_EQ(Build(Module("Stash.hlp"), out).status, 0);
    const std::string installer = ReadFile(out);
    const std::string digest = ReadFile(out.string() + ".sha256");
    ExpectOneLine(Build(Module("CON"), out), "device");
    EXPECT_EQ(ReadFile(out), installer);
    EXPECT_EQ(ReadFile(out.string() + ".sha256"), digest);
    EXPECT_EQ(FilesBelow(out.parent_path()),
              (std::vector<std::string>{"Setup.exe", "Setup.exe.sha256"}));
}

TEST_F(HostileInput, InputsThatCannotBeReadAreNamedWithTheReason) {
    WriteFile(manifest, json{{"modules", {Module("Stash.hlp")}}}.dump());
    const std::string folder = (Dir() / "files").string();
    const std::string missing = (Dir() / "missing").string();
    const std::string build = "build", stubOption = "--stub", manifestOption = "--manifest";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{build, stubOption, stub.string(), manifestOption, folder, "--out", out.string()},
         "cannot read the manifest " + folder + ": is a folder"},
        {{build, stubOption, stub.string(), manifestOption, missing, "--out", out.string()},
         "cannot read the manifest " + missing + ": no such file"},
        {{build, stubOption, stub.string(), manifestOption, "/dev/null", "--out", out.string()},
         "cannot read the manifest /dev/null: not a regular file"},
        {{build, stubOption, folder, manifestOption, manifest.string(), "--out", out.string()},
         "cannot read the stub " + folder + ": is a folder"},
        {{"list", folder}, "cannot read the installer " + folder + ": is a folder"},
        {{"verify", "/dev/null"}, "cannot read the installer /dev/null: not a regular file"},
        {{"extract", missing, "--to", folder},
         "cannot read the installer " + missing + ": no such"},
    };
    for (const auto& [arguments, message] : cases) {
        ExpectOneLine(Pack(arguments), message);
    }
    ExpectOneLine(Build({{"source", "files"}, {"variant", "O"}}, out),
                  "cannot read the source " + folder + ": is a folder");
}

}  // namespace
