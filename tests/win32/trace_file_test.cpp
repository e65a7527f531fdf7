// The window program's --trace file, opened by a UTF-8 path like every file in Orvanta.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8_path.h"
#include "session/trace_target.h"
#include "tests/support.h"

namespace orvanta {
namespace {

using TraceFileTest = test::SystemTest;

TEST_F(TraceFileTest, TakesAPathBeyondTheCodePage) {
    writeFile("J\xC3\xBCrgen/keep.txt", "");
    const std::string path = utf8String(folder) + "/J\xC3\xBCrgen/Spur \xE2\x9C\x88.txt";
    {
        TraceTarget target;
        std::string error;
        ASSERT_TRUE(target.open(path, &error)) << error;
        traceLine(target.trace(Trace()), "R");
    }
    EXPECT_EQ(test::readWholeFile(utf8Path(path)), "R\n");
}

} // namespace
} // namespace orvanta
