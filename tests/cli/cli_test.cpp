#include <gtest/gtest.h>

#include <sstream>

#include "cli_commands.h"

namespace tarn::cli {
namespace {

TEST(Cli, UnknownCommandAndEmptyLineFailWithUsage) {
    std::ostringstream out, err;
    EXPECT_EQ(run({}, out, err), 2);
    EXPECT_NE(err.str().find("usage: tarn-cli"), std::string::npos);
    err.str("");
    EXPECT_EQ(run({"no-such-command"}, out, err), 2);
    EXPECT_NE(err.str().find("unknown command 'no-such-command'"), std::string::npos);
    EXPECT_EQ(run({"--help"}, out, err), 0);
}

}  // namespace
}  // namespace tarn::cli
