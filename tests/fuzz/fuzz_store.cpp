// The module store on arbitrary installer bytes, held on each Windows family
// to the properties of every store run (tests/store/store_run.h).
#include "fuzz_check.h"
#include "store/store_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    storetest::RunOnBothFamilies(std::string(reinterpret_cast<const char*>(data), size),
                                 fuzz::Require);
    return 0;
}
