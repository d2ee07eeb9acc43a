// A console reporter that, once every benchmark has run, prints each figure
// divided by its floor, both measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvando::bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Pairs of (benchmark, its floor).
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
        : ConsoleReporter(OO_Tabular), pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            // With repetitions, the median stands for the benchmark.
            const std::string name = r.run_name.str();
            if (r.aggregate_name.empty() || r.aggregate_name == "median") {
                times_[name] = r.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, floor] : pairs_) {
            if (times_.count(name) != 0 && times_.count(floor) != 0) {
                std::printf("%s / %s: %.2f\n", name.c_str(), floor.c_str(),
                            times_[name] / times_[floor]);
            }
        }
    }

  private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::map<std::string, double> times_;
};

}  // namespace orvando::bench
