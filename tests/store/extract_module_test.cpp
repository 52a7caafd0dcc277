#include <gtest/gtest.h>

#include <optional>

#include "store_bench.h"
#include "testbed/sweep.h"

namespace {

using namespace testbed;
using namespace storetest;

// The module (hidden, 0x2) goes into a new file (normal, 0x80) and its
// attributes are added unless the two share a bit. A copy that ends early
// leaves no file, unless the deletion fails and says so.
struct Extraction {
    void (*arrange)(TestMachine&);
    std::optional<std::string> left;  // the target afterwards, if any
    std::uint32_t attributesLeft = 0x2, attributes = 0x2, size = 2500;
    std::size_t boxes = 0;
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
     kPayload.substr(0, 10), 0x80, 0x2, 2500, 1},
};

TEST(ExtractModule, CopiesThePayloadIntoANewFileOrLeavesNoPartOfIt) {
    for (const Extraction& e : kExtractions) {
        StoreBench bench;
        e.arrange(bench.machine);
        const bool done = e.left && e.left->size() == e.size;
        const std::size_t row = &e - kExtractions;
        EXPECT_EQ(bench.store.ExtractModule(kTarget, kAt, e.size, e.attributes), done) << row;
        EXPECT_EQ(bench.machine.Contents(kTarget), e.left.value_or("")) << row;
        EXPECT_EQ(bench.machine.Attributes(kTarget), e.left ? e.attributesLeft : ~0u) << row;
        EXPECT_EQ(bench.machine.ui.shown.size(), e.boxes) << row;
        EXPECT_EQ(bench.machine.ui.waitCursorShowings, 1) << row;
        ExpectNothingLeftOpen(bench.machine);
    }
}

// Whole chunks are asked for; each is written at its true length.
TEST(ExtractModule, CopiesChunkByChunk) {
    StoreBench bench;
    EXPECT_EQ(bench.store.ExtractModule(kTarget, kAt, 2500, 0x2), 1);
    EXPECT_EQ(bench.machine.files.reads, (std::vector<unsigned>{1024, 1024, 1024}));
    EXPECT_EQ(bench.machine.files.writes, (std::vector<unsigned>{1024, 1024, 452}));
}

// Only paths that begin with a drive letter, a colon and a backslash, and no
// folder through a file.
TEST(CreateDirectoryPath, RefusesOtherPaths) {
    for (const char* path :
         {"E:\\", "E:", "\\\\server\\share\\Stash", "E:A\\B", "EE\\A\\B", "E:\\File\\B"}) {
        StoreBench bench;
        bench.machine.AddFile("E:\\File", "");
        EXPECT_EQ(bench.store.CreateDirectoryPath(path), 0) << path;
        EXPECT_EQ(bench.machine.Tree('E'), std::vector<std::string>{"E:\\File"}) << path;
    }
}

}  // namespace
