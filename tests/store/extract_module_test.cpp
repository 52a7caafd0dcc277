#include <gtest/gtest.h>

#include <optional>

#include "store_bench.h"
#include "testbed/sweep.h"

namespace {

using namespace testbed;
using namespace storetest;

// The module (hidden, 0x2) goes into a new file (normal, 0x80), whose
// attributes it adds to unless the two share a bit. A copy that ends early
// leaves no file, unless the deletion fails and says so.
struct Extraction {
    void (*arrange)(TestMachine&);
    std::optional<std::string> left;  // the target afterwards, if any
    std::uint32_t attributesLeft = 0x2, attributes = 0x2, size = 2500;
};
const Extraction kExtractions[] = {
    {[](TestMachine&) {}, kPayload},
    {[](TestMachine&) {}, kPayload, 0x80, 0x82},
    {[](TestMachine&) {}, "", 0x2, 0x2, 0},
    {[](TestMachine& m) { m.faults.ShortRead(1, 100), m.faults.ShortRead(4, 1); }, kPayload},
    {[](TestMachine& m) { m.AddFile(kTarget, "old", 0x1); }, "old", 0x1},
    {[](TestMachine& m) { m.faults.ShortRead(3, 0); }, std::nullopt},
    {[](TestMachine& m) { m.faults.ShortWrite(2, 1000); }, std::nullopt},
    {[](TestMachine& m) { m.faults.ShortWrite(1, 10), m.faults.FailNth(Call::DeleteFile, 1, 5); },
     kPayload.substr(0, 10), 0x80},
};

TEST(ExtractModule, CopiesThePayloadIntoANewFileOrLeavesNoPartOfIt) {
    for (const Extraction& e : kExtractions) {
        StoreBench bench;
        e.arrange(bench.machine);
        const bool done = e.left && e.left->size() == e.size;
        EXPECT_EQ(bench.store.ExtractModule(kTarget, kAt, e.size, e.attributes), done);
        EXPECT_EQ(std::tuple(bench.machine.Contents(kTarget), bench.machine.Attributes(kTarget),
                             bench.machine.ui.shown.size(), bench.machine.ui.waitCursorShowings),
                  std::tuple(e.left.value_or(""), e.left ? e.attributesLeft : ~0u,
                             e.left && !done && e.left != "old" ? 1u : 0u, 1))
            << "row " << &e - kExtractions;
        ExpectNothingLeftOpen(bench.machine);
    }
}

// Only paths that begin with a drive letter, a colon and a backslash, and no
// folder through a file.
TEST(CreateDirectoryPath, RefusesOtherPaths) {
    for (const char* path : {"E:\\", "E:", "\\\\server\\share\\A", "E:A\\B", "EE\\A", "E:\\F\\B"}) {
        StoreBench bench;
        bench.machine.AddFile("E:\\F", "");
        EXPECT_EQ(bench.store.CreateDirectoryPath(path), 0) << path;
        EXPECT_EQ(bench.machine.Tree('E'), std::vector<std::string>{"E:\\F"}) << path;
    }
}

}  // namespace
