// The hostile-input corpus end to end: the built orvanta-cli renders and checks every case
// as a user would run it. A case passes when both commands exit with their documented
// status, each within a second, without a sanitizer report, and nothing appears or changes
// outside the outputs that were asked for.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "tests/hostile/corpus.h"
#include "tests/support.h"

namespace orvanta::test {
namespace hostile {
// Names the case in test output instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
} // namespace hostile

namespace {

namespace fs = std::filesystem;

// What a folder holds: every entry with its kind, size and modification time.
using Snapshot = std::map<std::string, std::tuple<int, uintmax_t, fs::file_time_type>>;

Snapshot snapshot(const fs::path& root) {
    Snapshot result;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto status = entry.symlink_status();
        const bool regular = fs::is_regular_file(status);
        result[fs::relative(entry.path(), root).string()] = {static_cast<int>(status.type()),
                                                             regular ? entry.file_size() : 0,
                                                             entry.last_write_time()};
    }
    return result;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

double childCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct CliRun {
    int status = -1;
    double cpu = 0;  // user and system seconds of the command
    double wall = 0; // seconds until it returned
    std::string err;
};

class Hostile : public ::testing::TestWithParam<hostile::Case> {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("orvanta-hostile-" + std::to_string(::getpid()) + "-" + GetParam().name);
        fs::remove_all(root);
        for (const char* sub : {"cfg", "out", "cwd"}) fs::create_directories(root / sub);
        GetParam().write(root / "cfg");
        if (const char* keep = std::getenv("ORVANTA_HOSTILE_KEEP"))
            fs::copy(root / "cfg", fs::path(keep) / GetParam().name,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs orvanta-cli from an empty folder of its own. The sanitizers exit with statuses
    // of their own, so that a report cannot pass for a documented status.
    CliRun cli(const std::string& arguments) {
        const fs::path err = root / "stderr.txt";
        const std::string command = "cd " + (root / "cwd").string() +
                                    " && ASAN_OPTIONS=exitcode=86:detect_leaks=1"
                                    " UBSAN_OPTIONS=halt_on_error=1:exitcode=87 " +
                                    ORVANTA_CLI_PATH + " " + arguments + " >/dev/null 2>" +
                                    err.string();
        CliRun run;
        const double cpuBefore = childCpuSeconds();
        const auto begun = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        run.cpu = childCpuSeconds() - cpuBefore;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.err = readWholeFile(err);
        fs::remove(err);
        return run;
    }

    fs::path root;
};

// The time bound is on the CPU time the command used, which other work on the machine does
// not inflate. Wall time is held to a looser bound that catches waiting without working,
// for example on a pipe, which CPU time would not show.
void expectClean(const CliRun& run, int status, double budget, const char* what) {
    EXPECT_EQ(run.status, status) << what << "\n" << run.err.substr(0, 4000);
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << what << "\n" << run.err;
    EXPECT_LT(run.cpu, budget) << what << " used " << run.cpu << " s of CPU time";
    EXPECT_LT(run.wall, 10 * budget) << what << " took " << run.wall << " s";
}

TEST_P(Hostile, RenderAndCheckFinishCleanlyAndWriteOnlyTheirOutputs) {
    const hostile::Case& c = GetParam();
    const double budget = kSanitized ? c.sanitizedBudget : c.budget;
    const Snapshot inputs = snapshot(root / "cfg");
    const std::string cfg = (root / "cfg").string(), out = (root / "out").string();

    // A configuration problem is never an error of the renderer: it renders what loads.
    // Three virtual seconds let a chain with delay 0 switch files twice.
    const CliRun render = cli("render " + cfg + " --seconds 3 --png " + out + "/last.png --trace " +
                              out + "/trace.txt");
    expectClean(render, 0, budget, "render");
    const CliRun check = cli("check " + cfg);
    expectClean(check, c.checkStatus, budget, "check");
    RecordProperty("render_cpu_ms", static_cast<int>(render.cpu * 1000));
    RecordProperty("check_cpu_ms", static_cast<int>(check.cpu * 1000));
    std::printf(
        "[ timing   ] %s: render %.3f s CPU (%.3f s wall), check %.3f s CPU (%.3f s wall)\n",
        c.name.c_str(), render.cpu, render.wall, check.cpu, check.wall);

    EXPECT_EQ(snapshot(root / "cfg"), inputs) << "the configuration folder changed";
    EXPECT_TRUE(fs::is_empty(root / "cwd")) << "something was written to the current folder";
    std::set<std::string> outputs;
    for (const auto& entry : fs::directory_iterator(root / "out"))
        outputs.insert(entry.path().filename().string());
    EXPECT_EQ(outputs, (std::set<std::string>{"last.png", "trace.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Corpus, Hostile, ::testing::ValuesIn(hostile::cases()),
                         [](const ::testing::TestParamInfo<hostile::Case>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace orvanta::test
