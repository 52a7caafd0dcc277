// stashwell-pack list, verify and extract on the sample installer, on copies
// of it damaged byte by byte, and verify against changed manifests.
#include "ansi_text.h"
#include "pack_run.h"
#include "platform/hosted/dos_attributes.h"
#include "store/module_header.h"

namespace {

using namespace packtest;

const std::string kTag = "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_";

// The bytes with text written over them at the offset; a big-endian double word.
std::string Put(std::string bytes, std::size_t offset, const std::string& text) {
    return bytes.replace(offset, text.size(), text);
}
std::string Dword(std::uint64_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

class Installer : public PackTest {
  protected:
    const std::string sound = [this] {  // the sample installer
        EXPECT_EQ(Build(sample, out).status, 0);
        return ReadFile(out);
    }();
};

TEST_F(Installer, ListsTheModulesLastAppendedFirstAndWritesADigestFileForSha256sum) {
    const json listed = json::parse(Pack({"list", "--json", out}).out);
    const std::string table = Pack({"list", out}).out;
    ASSERT_EQ(listed.size(), sample.size());
    std::size_t end = sound.size(), row = 0;
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
    }
    EXPECT_EQ(sound.substr(0, end), ReadFile(stub) + std::string(4, '\0'));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 13);
    EXPECT_EQ(ReadFile(out.string() + ".sha256"), Sha256Sum(out) + "  StashwellSetup.exe\n");
    EXPECT_EQ(Shell("cd " + out.parent_path().string() + " && sha256sum -c *.sha256").status, 0);
}

TEST_F(Installer, ExtractsEachVariantByteForByteAndRefusesToOverwriteOrToCollide) {
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
    Strings expected;
    for (const json& entry : sample) {
        const fs::path target = fs::path(entry.value("variant", "")) /
                                entry.value("extractPath", "") / entry.value("fileName", "");
        expected.push_back(target);
        EXPECT_EQ(ReadFile(drive / target), ReadFile(dir / entry.value("source", "")));
        EXPECT_EQ(hosted::ReadAttributes(drive / target) & 2,
                  entry["attributes"] == "0x2" ? 2u : 0u);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelow(drive), expected);
    ExpectRefusal(Pack({"extract", out, "--to", drive / "all"}), "two modules extract to");
    EXPECT_EQ(FilesBelow(drive), expected);
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
    ASSERT_EQ(Build({Module({{"fileName", name}}),
                     {{"source", "orca/Stash.ini"}, {"tag", "NRVK_OEM_INSTALLER"}}},
                    out)
                  .status,
              0);
    EXPECT_NE(ReadFile(out).find("\xE4\x80-del\x7f-c1\x81.txt"), std::string::npos);
    const json listed = json::parse(Pack({"list", "--json", out}).out);
    EXPECT_EQ(listed[1]["fileName"], name);
    EXPECT_EQ(listed[0].value("fileName", "") + listed[0].value("extractPath", ""), "Stash.ini");
    EXPECT_EQ(listed[0]["attributes"], 0x80);
    EXPECT_NE(Pack({"list", out}).out.find("\u00e4\u20ac-del\\x7f-c1\\xc2\\x81.txt"),
              std::string::npos);
}

}  // namespace
