#include <gtest/gtest.h>

#include "pack_run.h"
#include "store/module_header.h"

namespace {

using namespace packtest;

class Verify : public PackTest {
  protected:
    fs::path installer = BuildSample();
    std::string bytes = ReadFile(installer);

    // Writes the damaged bytes as the installer and verifies it.
    Outcome VerifyDamaged(const std::string& damaged) {
        WriteFile(installer, damaged);
        return Pack({"verify", installer.string()});
    }

    void PutDword(std::size_t offset, std::uint32_t value) {
        for (int k = 0; k < 4; ++k) {
            bytes[offset + k] = static_cast<char>(store::ByteOfDword(value, 3 - k));
        }
    }

    std::size_t LastTrailer() const { return bytes.size() - store::kTrailerLength; }
};

TEST_F(Verify, SoundInstallerPasses) {
    const Outcome run = Pack({"verify", installer.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("12 modules behind an executable image of 3004 bytes"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("6 tagged NRVK_OEM_INSTALLER_PREDEFFILE_IDX_K"), std::string::npos);
}

TEST_F(Verify, InstallerWithoutModulesPasses) {
    const Outcome run = VerifyDamaged(bytes.substr(0, 3004));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("0 modules"), std::string::npos);
}

TEST_F(Verify, TruncatedInstallerFails) {
    const Outcome run = VerifyDamaged(bytes.substr(0, bytes.size() - 1));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("module 1 from the end"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("reaches past the start of the file"), std::string::npos) << run.err;
}

TEST_F(Verify, ForeignTagIsNamed) {
    bytes[LastTrailer() + store::kTagOffset] = 'X';
    const Outcome run = VerifyDamaged(bytes);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("module 1 from the end (trailer ending at offset " +
                           std::to_string(bytes.size()) + ")"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("does not begin with NRVK_OEM_INSTALLER"), std::string::npos);
}

TEST_F(Verify, PayloadReachingIntoTheImageIsNamed) {
    PutDword(LastTrailer(), static_cast<std::uint32_t>(LastTrailer()));
    const Outcome run = VerifyDamaged(bytes);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("leaves no room for the executable image"), std::string::npos)
        << run.err;
}

TEST_F(Verify, UnterminatedOrUnsafeFieldsAreNamed) {
    std::string unterminated = bytes;
    unterminated.replace(LastTrailer() + store::kFileNameOffset, store::kPathFieldWidth,
                         store::kPathFieldWidth, 'n');
    Outcome run = VerifyDamaged(unterminated);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("is over 259 characters"), std::string::npos) << run.err;

    std::string climbing = bytes;
    climbing.replace(LastTrailer() + store::kExtractPathOffset, 6, std::string("..\\..\0", 6));
    run = VerifyDamaged(climbing);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("has a folder name that is \"..\""), std::string::npos) << run.err;
}

TEST_F(Verify, ImageThatDoesNotEndTheWalkIsNamed) {
    // The four bytes before the first payload no longer read below 660.
    PutDword(3000, 0xFFFFFFFF);
    const Outcome run = VerifyDamaged(bytes);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("module 13 from the end"), std::string::npos) << run.err;
}

}  // namespace
