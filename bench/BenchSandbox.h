#pragma once

// The sandbox the paying benchmarks run against.

#include "BenchOrder.h"
#include "SandboxProcess.h"

#include <cstdio>

namespace bench {

/// Points the library at @p sandbox and configures the checkout for it. When the sandbox did
/// not start, says so on standard error, naming @p program, and returns false.
inline bool useSandbox(const SandboxProcess &sandbox, const char *program)
{
    if (!sandbox.isRunning()) {
        std::fprintf(stderr, "%s: the sandbox did not start\n", program);
        return false;
    }
    sandbox.useAsEndpoints();
    pelbrook::PGTabBarViewController configuring;
    configureCheckout(configuring);
    return true;
}

} // namespace bench
