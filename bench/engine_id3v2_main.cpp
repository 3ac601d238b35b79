// The engine benchmark's main: runs every case and, for each pair of cases
// named X_ours and X_taglib, prints how many times faster ours is.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nTagLib time / our time:\n");
        for (const auto& [name, ours] : seconds_) {
            const size_t at = name.find("_ours");
            if (at == std::string::npos)
                continue;
            std::string other = name;
            other.replace(at, 5, "_taglib");
            const auto it = seconds_.find(other);
            if (it != seconds_.end() && ours > 0)
                std::printf("  %-32s %6.2fx\n", name.substr(0, at).c_str(), it->second / ours);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
