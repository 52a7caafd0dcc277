// stashwell-pack run in a fresh folder under /tmp, removed when the test ends, that holds a copy
// of the sample payload (orca/, kestrel/), a stub of 3000 bytes whose last is not zero, the
// manifest and out/: the entries and command lines that build refuses, among them outputs that
// would overwrite an input, and what it accepts at the limits; list, verify and extract on the
// sample installer, on copies of it damaged byte by byte and against changed manifests. Then the
// store writer alone: the four zero bytes that end the image, where a module lands, and the
// payloads it refuses before writing or as they end.
#include <gmock/gmock.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ansi_text.h"
#include "pack_error.h"
#include "platform/hosted/dos_attributes.h"
#include "store/module_header.h"
#include "store_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using nlohmann::json;
using Strings = std::vector<std::string>;
using testing::HasSubstr;
using testing::ThrowsMessage;

const std::string kTag = "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_";

std::string ReadFile(const fs::path& path) {
    std::ostringstream contents;
    contents << std::ifstream(path, std::ios::binary).rdbuf();
    return contents.str();
}

void WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

// A file of the source tree, as text or as JSON (such as a table in tests/pack/cases).
std::string SourceText(const std::string& path) {
    return ReadFile(STASHWELL_SOURCE_DIR "/" + path);
}
json SourceJson(const std::string& path) {
    return json::parse(SourceText(path));
}

// The files below a folder as sorted relative paths, each followed by its contents when
// asked; none when the folder is missing.
Strings FilesBelow(const fs::path& folder, bool contents = false) {
    Strings files;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(folder, missing)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string() +
                            (contents ? '\n' + ReadFile(entry.path()) : ""));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A manifest entry: orca/Stash.hlp of variant K unless the fields say otherwise.
json Module(const json& fields = json::object()) {
    json module = {{"source", "orca/Stash.hlp"}, {"variant", "K"}};
    if (fields.contains("tag") && !fields.contains("variant")) {
        module.erase("variant");
    }
    module.update(fields);
    return module;
}

struct Outcome {
    int status;
    std::string out, err;
};

// The bytes with text written over them at the offset; a big-endian double word.
std::string Put(std::string bytes, std::size_t offset, const std::string& text) {
    return bytes.replace(offset, text.size(), text);
}
std::string Dword(std::uint64_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

class PackTest : public ::testing::Test {
  protected:
    PackTest() {
        fs::copy(STASHWELL_SOURCE_DIR "/examples/payload", dir, fs::copy_options::recursive);
        fs::create_directories(out.parent_path());
        WriteFile(stub, std::string(3000, 'M'));
    }
    ~PackTest() override { fs::remove_all(dir); }

    // A row of a case table with each {dir} in its texts replaced by the test's folder.
    json Filled(const json& row) const {
        std::string text = row.dump();
        for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) {
            text.replace(at, 5, dir.string());
        }
        return json::parse(text);
    }
    Outcome Shell(const std::string& command) const {
        const std::string output = dir / ".stdout", errors = dir / ".stderr";
        const int status = std::system(
            (command + " >" + Quoted(output) + " 2>" + Quoted(errors) + " </dev/null").c_str());
        const Outcome run{WEXITSTATUS(status), ReadFile(output), ReadFile(errors)};
        fs::remove(output);
        fs::remove(errors);
        return run;
    }
    Outcome Pack(const Strings& arguments) const {
        std::string command = Quoted(STASHWELL_PACK_PATH);
        for (const std::string& argument : arguments) {
            command += " " + Quoted(argument);
        }
        return Shell(command);
    }
    // Writes the modules as the manifest and builds them into output.
    Outcome Build(const json& modules, const fs::path& output) const {
        WriteFile(manifest, json{{"modules", modules}}.dump());
        return Pack({"build", "--stub", stub, "--manifest", manifest, "--out", output});
    }
    // The digest as sha256sum gives it, independent of the tool.
    std::string Sha256Sum(const fs::path& file) const {
        return Shell("sha256sum " + Quoted(file)).out.substr(0, 64);
    }
    // A refusal: a failure status, nothing on standard output and, on
    // standard error, one printable line that holds what.
    static void ExpectRefusal(const Outcome& run, const std::string& what) {
        EXPECT_TRUE(run.status != 0 && run.out.empty()) << run.out;
        const auto unprintable = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
        EXPECT_EQ(std::count_if(run.err.begin(), run.err.end(), unprintable), 1) << run.err;
        EXPECT_TRUE(run.err.ends_with('\n') && run.err.find(what) != std::string::npos)
            << "wanted " << what << ", got " << run.err;
    }

    const fs::path dir = [] {
        std::string pattern = fs::temp_directory_path() / "stashwell-pack-XXXXXX";
        return fs::path(mkdtemp(pattern.data()));
    }();
    const fs::path stub = dir / "stub.exe", manifest = dir / "manifest.json";
    const fs::path out = dir / "out" / "StashwellSetup.exe";
    const json sample = SourceJson("examples/payload/manifest.json")["modules"];

  private:
    static std::string Quoted(std::string text) {
        for (std::size_t at = 0; (at = text.find('\'', at)) != std::string::npos; at += 4) {
            text.replace(at, 1, "'\\''");
        }
        return "'" + text + "'";
    }
};

using PackBuild = PackTest;

// A refused entry leaves the installer built before as it was: the installer is
// written beside the output, and renamed over it when complete.
TEST_F(PackBuild, RefusesABadEntryNamingItAndKeepsTheOutputAndAcceptsFieldsAtTheirLimits) {
    for (const auto& [name, size] : {std::pair{"Huge.dat", 4ull << 30}, {"Big.dat", 3ull << 30}}) {
        WriteFile(dir / "orca" / name, "");  // sparse: refused before a byte is read
        fs::resize_file(dir / "orca" / name, size);
    }
    ASSERT_EQ(Build(json::array({Module()}), out).status, 0);
    const Strings before = FilesBelow(out.parent_path(), true);
    for (const json& row : Filled(SourceJson("tests/pack/cases/refused_entries.json"))) {
        SCOPED_TRACE(row.dump());
        const Outcome run = Build({Module(), Module(row["fields"])}, out);
        ExpectRefusal(run, "manifest entry 1 (");
        ExpectRefusal(run, row["says"]);
        EXPECT_EQ(FilesBelow(out.parent_path(), true), before);
    }
    for (const json& fields : SourceJson("tests/pack/cases/accepted_entries.json")) {
        SCOPED_TRACE(fields.dump());
        EXPECT_EQ(Build(json::array({Module(fields)}), out).status, 0);
        EXPECT_EQ(Pack({"verify", out}).status, 0);
    }
}

TEST_F(PackBuild, RefusesWhatItCannotReadOrWouldOverwriteAndChangesNothing) {
    ASSERT_EQ(Build(json::array({Module()}), out).status, 0);
    WriteFile(dir / "broken.json", "{\"modules\": [");
    WriteFile(dir / "flat.json", "{\"modules\": 5}");
    fs::create_hard_link(dir / "orca" / "Stash.hlp", dir / "source-link");
    fs::create_symlink(manifest, dir / "manifest-link");
    fs::create_hard_link(stub, dir / "stub-link");
    fs::create_hard_link(manifest, dir / "twin.sha256");
    fs::create_symlink(stub, dir / "stub-twin.sha256");
    const Strings before = FilesBelow(dir, true);
    for (const json& row : Filled(SourceJson("tests/pack/cases/refused_commands.json"))) {
        SCOPED_TRACE(row.dump());
        ExpectRefusal(Pack(row["args"]), row["says"]);
        EXPECT_EQ(FilesBelow(dir, true), before);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "manifest-link"));
}

TEST_F(PackBuild, VersionIsTheProjects) {
    const std::string shown = Pack({"--version"}).out, cmake = SourceText("CMakeLists.txt");
    EXPECT_TRUE(shown.starts_with("stashwell-pack ") &&
                cmake.find("project(stashwell VERSION " + shown.substr(15, shown.size() - 16) +
                           " ") != std::string::npos)
        << shown;
}

class Installer : public PackTest {
  protected:
    const std::string sound = [this] {  // the sample installer
        EXPECT_EQ(Build(sample, out).status, 0);
        return ReadFile(out);
    }();
};

// The sample listed as JSON and as the table, and each variant extracted onto a drive of its own.
TEST_F(Installer, ListsAndExtractsTheModulesLastAppendedFirstAndWritesADigestForSha256sum) {
    const fs::path drive = dir / "drive";
    fs::create_directories(drive / "O" / "HelpFiles");
    WriteFile(drive / "O" / "HelpFiles" / "Stash.cnt", "mine");
    ExpectRefusal(Pack({"extract", out, "--to", drive / "O", "--tag", kTag + "O"}),
                  "Stash.cnt exists already");
    EXPECT_EQ(FilesBelow(drive), Strings{"O/HelpFiles/Stash.cnt"});
    fs::remove(drive / "O" / "HelpFiles" / "Stash.cnt");
    for (const char* variant : {"O", "K"}) {
        ASSERT_EQ(Pack({"extract", out, "--to", drive / variant, "--tag", kTag + variant}).status,
                  0);
    }
    const json listed = json::parse(Pack({"list", "--json", out}).out);
    const std::string table = Pack({"list", out}).out;
    ASSERT_EQ(listed.size(), sample.size());
    std::size_t end = sound.size(), row = 0;
    Strings extracted;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const json &module = listed[i], &entry = sample[sample.size() - 1 - i];
        const fs::path source = dir / entry.value("source", "");
        const std::uintmax_t size = fs::file_size(source);
        EXPECT_EQ(module, (json{{"tag", kTag + entry.value("variant", "")},
                                {"fileName", entry["fileName"]},
                                {"extractPath", entry["extractPath"]},
                                {"attributes", std::stoul(entry.value("attributes", ""), 0, 16)},
                                {"payloadSize", size},
                                {"payloadOffset", end - 660 - size},
                                {"trailerLength", 660},
                                {"sha256", Sha256Sum(source)}}));
        EXPECT_EQ(sound.substr(end - 660 + store::kReservedOffset, 64), std::string(64, '\xCD'));
        end -= 660 + size;
        row = table.find(module.value("sha256", ""), row + 1);  // its row, below the last
        EXPECT_NE(row, std::string::npos) << table;
        extracted.push_back(fs::path(entry.value("variant", "")) / entry.value("extractPath", "") /
                            entry.value("fileName", ""));
        EXPECT_EQ(ReadFile(drive / extracted.back()), ReadFile(source));
        EXPECT_EQ(hosted::ReadAttributes(drive / extracted.back()) & 2,
                  module.value("attributes", 0u) & 2);
    }
    EXPECT_EQ(sound.substr(0, end), ReadFile(stub) + std::string(4, '\0'));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 13);
    std::sort(extracted.begin(), extracted.end());
    EXPECT_EQ(FilesBelow(drive), extracted);
    ExpectRefusal(Pack({"extract", out, "--to", drive / "all"}), "two modules extract to");
    EXPECT_EQ(FilesBelow(drive), extracted);
    EXPECT_EQ(ReadFile(out.string() + ".sha256"), Sha256Sum(out) + "  StashwellSetup.exe\n");
    EXPECT_EQ(Shell("cd " + out.parent_path().string() + " && sha256sum -c *.sha256").status, 0);
}

// Among the damages, each refused entry that a trailer can hold, written over the last one.
TEST_F(Installer, DamagedInstallersAreRefusedWholeByListVerifyAndExtract) {
    const std::size_t last = sound.size() - store::kTrailerLength;
    const std::string size = std::to_string(sound.size());
    const std::string first =
        out.string() + ": module 1 from the end (trailer ending at offset " + size + "): ";
    std::vector<std::pair<std::string, std::string>> rows = {
        {Put(sound, last, Dword(last)),
         first + "payload of " + std::to_string(last) + " bytes leaves no room"},
        {Put(sound, sound.size() - 4, Dword(sound.size())),
         first + "trailer length " + size + " reaches past"},
        {Put(sound, 3000, Dword(0xFFFFFFFF)),
         "module 13 from the end (trailer ending at offset 3004)"}};
    const std::map<std::string, std::size_t> at = {{"tag", store::kTagOffset},
                                                   {"fileName", store::kFileNameOffset},
                                                   {"extractPath", store::kExtractPathOffset}};
    for (const json& row : Filled(SourceJson("tests/pack/cases/refused_entries.json"))) {
        std::string bytes = sound;
        for (const auto& [field, text] : row["fields"].items()) {
            bytes = row.contains("stored")
                        ? Put(bytes, last + at.at(field), pack::AnsiFromUtf8(text) + '\0')
                        : "";
        }
        if (!bytes.empty()) {
            rows.push_back({bytes, first + row["says"].get<std::string>()});
        }
    }
    for (const auto& [bytes, what] : rows) {
        SCOPED_TRACE(what);
        WriteFile(out, bytes);
        for (Strings command : {Strings{"list"},
                                {"list", "--json"},
                                {"verify"},
                                {"extract", "--to", dir / "drive"}}) {
            command.push_back(out);
            ExpectRefusal(Pack(command), what);
        }
        EXPECT_EQ(FilesBelow(dir / "drive"), Strings{});
    }
}

TEST_F(Installer, VerifySumsTheStoreUpOrPrintsEachDifferenceFromAManifest) {
    const auto verify = [this](const json& patch) {
        WriteFile(dir / "release.json", json{{"modules", sample.patch(patch)}}.dump());
        return Pack({"verify", out, "--manifest", dir / "release.json"});
    };
    for (const json& row : SourceJson("tests/pack/cases/verify_differences.json")) {
        const Outcome run = verify(row["patch"]);
        EXPECT_EQ(run.out, row["prints"]);
        EXPECT_EQ(run.status, row["patch"].empty() ? 0 : 1) << run.err;
    }
    const std::string cnt = dir / "orca/Stash.cnt";  // the entry's names, another file's content
    EXPECT_EQ(verify(json::parse(
                         R"([{"op": "replace", "path": "/2/source", "value": "orca/Stash.cnt"}])"))
                  .out,
              "manifest entry 2 (orca/Stash.cnt): changed content: sha256 " +
                  Sha256Sum(dir / "orca/Stash.hlp") + " in the installer, " + Sha256Sum(cnt) +
                  " in " + cnt + "\n");
    const std::string image = " modules behind an executable image of 3004 bytes; ";
    EXPECT_EQ(Pack({"verify", out}).out, "12" + image + std::to_string(sound.size()) +
                                             " bytes in all\n  6 tagged " + kTag +
                                             "K\n  6 tagged " + kTag + "O\nstore is sound\n");
    WriteFile(out, sound.substr(0, 3004));
    EXPECT_EQ(Pack({"verify", out}).out, "0" + image + "3004 bytes in all\nstore is sound\n");
}

TEST_F(Installer, TextsAreStoredInWindows1252AndShownEscapedOrAsJson) {
    const std::string name = "\u00e4\u20ac-del\x7f-c1\u0081.txt";
    const json modules = {Module({{"fileName", name}}),
                          {{"source", "orca/Stash.ini"}, {"tag", "NRVK_OEM_INSTALLER"}}};
    ASSERT_EQ(Build(modules, out).status, 0);
    EXPECT_NE(ReadFile(out).find("\xE4\x80-del\x7f-c1\x81.txt"), std::string::npos);
    const json listed = json::parse(Pack({"list", "--json", out}).out);
    EXPECT_EQ(listed[1]["fileName"], name);
    EXPECT_EQ(listed[0].value("fileName", "") + listed[0].value("extractPath", ""), "Stash.ini");
    EXPECT_EQ(listed[0]["attributes"], 0x80);
    EXPECT_NE(Pack({"list", out}).out.find("\u00e4\u20ac-del\\x7f-c1\\xc2\\x81.txt"),
              std::string::npos);
}

TEST(StoreWriter, EndsTheImageWithFourZeroBytesAndRefusesPayloadsBeyondItsNumbersOrEndingEarly) {
    for (const std::string& stub :
         {"MZ\0\0\0\0"s, "MZ\1\0\0\0"s, "\0\0\0\1"s, "\0\0"s, ""s, std::string(2051, 'x')}) {
        const std::string image = stub + (stub.ends_with("\0\0\0\0"s) ? "" : "\0\0\0\0"s);
        std::istringstream in(stub), payload("abc");
        std::ostringstream out;
        pack::StoreWriter writer(out, in);
        const pack::ModulePlacement placement = writer.Append(payload, 3, {});
        EXPECT_EQ(out.str().substr(0, placement.payloadOffset + 3), image + "abc");
        EXPECT_EQ(placement.trailerOffset, image.size() + 3);
        EXPECT_EQ(writer.Size(), image.size() + 3 + 660);
    }
    std::istringstream stub("stub"), payload(std::string(1500, 'p'));
    std::ostringstream out;
    pack::StoreWriter writer(out, stub);
    for (const auto& [size, says] : {std::pair{4ull << 30, "over 4 GiB - 1"s},
                                     {0x7FFFFFFFu - 667, "below 2 GiB"},
                                     {2000, "ends before its 2000"}}) {
        EXPECT_THAT([&] { writer.Append(payload, size, {}); },
                    ThrowsMessage<pack::PackError>(HasSubstr(says)));
    }
    EXPECT_EQ(out.str().size(), 8u + 1024);  // the first chunk of the short payload alone
}

}  // namespace
