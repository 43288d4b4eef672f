#pragma once
// The one assertion of the fuzz targets: a failed check is a finding, whatever the build.

#include <cstdio>
#include <cstdlib>

#define FZL_FUZZ_CHECK(Condition)                                                                    \
    do {                                                                                             \
        if (!(Condition)) {                                                                          \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #Condition, __FILE__, __LINE__); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)
