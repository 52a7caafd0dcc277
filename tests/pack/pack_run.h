// Runs the built stashwell-pack in a fresh folder under /tmp, removed when the
// test ends, that holds a copy of the sample payload (orca/, kestrel/), a stub
// of 3000 bytes whose last is not zero, the manifest and out/.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace packtest {

namespace fs = std::filesystem;
using nlohmann::json;
using Strings = std::vector<std::string>;

inline std::string ReadFile(const fs::path& path) {
    std::ostringstream contents;
    contents << std::ifstream(path, std::ios::binary).rdbuf();
    return contents.str();
}

inline void WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

// A file of the source tree as JSON, such as a table in tests/pack/cases.
inline json SourceJson(const std::string& path) {
    return json::parse(ReadFile(STASHWELL_SOURCE_DIR "/" + path));
}

// The files below a folder as sorted relative paths; none when it is missing.
inline Strings FilesBelow(const fs::path& folder) {
    Strings files;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(folder, missing)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A manifest entry: orca/Stash.hlp of variant K unless the fields say otherwise.
inline json Module(const json& fields = json::object()) {
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
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(run.out, "");
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

}  // namespace packtest
