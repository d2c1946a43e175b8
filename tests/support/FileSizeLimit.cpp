#include "support/FileSizeLimit.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace sigil::test {

bool underFileSizeLimit(uint64_t bytes, const std::function<bool()>& write)
{
    rlimit saved{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return ok;
}

}  // namespace sigil::test
