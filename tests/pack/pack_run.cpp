#include "pack_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace packtest {

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

PackTest::PackTest() {
    std::string pattern = (fs::temp_directory_path() / "stashwell-pack-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a folder like " << pattern;
    }
    dir_ = pattern;
}

PackTest::~PackTest() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

Outcome PackTest::Pack(const std::vector<std::string>& arguments) const {
    std::string command = Quoted(STASHWELL_PACK_PATH);
    for (const std::string& argument : arguments) {
        command.append(" ").append(Quoted(argument));
    }
    const fs::path out = dir_ / ".stdout";
    const fs::path err = dir_ / ".stderr";
    command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
    const int status = std::system(command.c_str());
    Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

fs::path PackTest::SamplePayload() {
    return fs::path(STASHWELL_SOURCE_DIR) / "examples" / "payload";
}

std::string PackTest::ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void PackTest::WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

fs::path PackTest::WriteStub() const {
    std::string stub(3000, 'M');
    for (std::size_t i = 0; i < stub.size(); ++i) {
        stub[i] = static_cast<char>('A' + i % 26);
    }
    const fs::path path = dir_ / "stub.exe";
    WriteFile(path, stub);
    return path;
}

fs::path PackTest::BuildSample() const {
    const fs::path installer = dir_ / "StashwellSetup.exe";
    const Outcome run =
        Pack({"build", "--stub", WriteStub().string(), "--manifest",
              (SamplePayload() / "manifest.json").string(), "--out", installer.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    return installer;
}

std::vector<std::string> PackTest::FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace packtest
