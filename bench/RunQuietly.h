#pragma once

// The benchmarks run programs the way the tests do.
#include "tests/common/RunProcess.h"

namespace zentaro::bench {
using test::RunQuietly;
} // namespace zentaro::bench
