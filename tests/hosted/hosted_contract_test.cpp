// The platform contract on the hosted machine, its registry loaded from the
// file that tests/wine/probe.sh imports under Wine.
#include "contract.h"
#include "hosted_machine.h"
#include "platform/hosted/reg_file.h"

namespace hosted_test {
namespace {

class HostedContract : public HostedMachine, public contract::Checks {
  protected:
    HostedContract() {
        std::string error;
        EXPECT_TRUE(hosted::LoadRegFile(CONTRACT_MACHINE_REG, registry_, error)) << error;
        drives_.MapFile(system_.facts().modulePath, system_.facts().modulePath);
        system_.facts().currentDirectory = fixture_.currentDirectory;
    }
    ~HostedContract() override { EXPECT_EQ(registry_.OpenKeyCount(), 0); }
    void Report(bool passed, const char* file, int line, const std::string& what) override {
        EXPECT_TRUE(passed) << file << ":" << line << ": " << what;
    }

    hosted::MemoryRegistry registry_;
    contract::Seam seam_{files_, registry_, system_};
    const contract::Fixture fixture_{'E', win::kVerPlatformWin32Nt, "C:\\Setup", true};
};

// One part after another on one machine, each leaving it as it found it.
TEST_F(HostedContract, FilesFolderSearchRegistryAndSystem) {
    for (const auto check : {contract::CheckFiles, contract::CheckFolderSearch,
                             contract::CheckRegistry, contract::CheckSystem}) {
        check(*this, seam_, fixture_);
    }
}

}  // namespace
}  // namespace hosted_test
