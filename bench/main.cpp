// Runs the benchmarks, then prints the figures that have targets: the block's cost against
// a plain allocation and memset, and one tick's CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Keeps the median of every benchmark while the console shows the usual table.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter() : ConsoleReporter(OO_Tabular) {}   // plain text: the figures end up in logs
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                realTime[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> realTime;   // in each benchmark's own unit
    std::map<std::string, double> cpuTime;
};

// Real time is what the user waits for; CPU time (user and system, page faults included)
// is steadier on a busy machine. Both are printed.
void printRatio(const MedianReporter& r, const char* label, const char* ours, const char* plain,
                const char* target) {
    if (!r.realTime.count(ours) || !r.realTime.count(plain)) return;
    const double realOurs = r.realTime.at(ours), realPlain = r.realTime.at(plain);
    const double cpuOurs = r.cpuTime.at(ours), cpuPlain = r.cpuTime.at(plain);
    if (realPlain <= 0 || cpuPlain <= 0) return;
    std::printf("%s\n    real %.1f ms vs %.1f ms: ratio %.3f;  CPU %.1f ms vs %.1f ms: ratio %.3f%s\n", label,
                realOurs, realPlain, realOurs / realPlain, cpuOurs, cpuPlain, cpuOurs / cpuPlain, target);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nFigures (medians):\n");
    printRatio(reporter, "512 MB block obtained, written, released vs new[] + memset + delete[]", "BlockObtainWriteRelease",
               "PlainAllocateMemsetRelease", "   (target <= 1.15)");
    printRatio(reporter, "512 MB written only (pages already present) vs memset", "WriteOnlySpaces", "WriteOnlyMemset",
               "   (no target)");
    auto tick = reporter.cpuTime.find("TickInTrayMode");
    if (tick != reporter.cpuTime.end()) {
        std::printf("one tick in tray mode\n    %.0f ns CPU   (target < 20000 ns)\n", tick->second);
    }
    return 0;
}
