// The properties that the fuzz targets hold their code to. A property that
// does not hold aborts, so that libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline void Require(bool holds, const std::string& property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property.c_str());
        std::abort();
    }
}

}  // namespace fuzz
