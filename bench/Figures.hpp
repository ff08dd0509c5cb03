#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace zorlo::bench {

// Keeps what each benchmark measured (the median when it was repeated), by
// the name it was registered under, and prints none of Google Benchmark's
// tables: the figures are printed one line each, with their targets.
class Collector : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.error_occurred) {
                errors_[name] = run.error_message;
            } else if (run.run_type == Run::RT_Iteration ? seconds_.count(name) == 0
                                                         : run.aggregate_name == "median") {
                // Repeated runs report each repetition first, then the median.
                seconds_[name] = run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }
    bool has(const std::string& name) const { return seconds_.count(name) != 0; }
    double seconds(const std::string& name) const { return seconds_.at(name); }
    std::string error(const std::string& name) const {
        const auto it = errors_.find(name);
        return it == errors_.end() ? "not run" : it->second;
    }

  private:
    std::map<std::string, double> seconds_;
    std::map<std::string, std::string> errors_;
};

// One line per figure: PASS or MISS, what was measured, the figure, the target.
class Verdicts {
  public:
    explicit Verdicts(const Collector& collector) : collector_(collector) {}

    void under(const std::string& name, const std::string& what, double targetMs,
               double scale = 1.0) {
        if (!collector_.has(name)) {
            line(false, what + ": " + collector_.error(name));
            return;
        }
        const double ms = collector_.seconds(name) * 1000.0 * scale;
        line(ms < targetMs,
             what + ": " + number(ms) + " ms (target < " + number(targetMs) + " ms)");
    }

    void fasterThan(const std::string& name, const std::string& reference, const std::string& what,
                    double targetRatio) {
        if (!collector_.has(name) || !collector_.has(reference)) {
            line(false, what + ": " + collector_.error(name) + " / " + collector_.error(reference));
            return;
        }
        const double fast = collector_.seconds(name) * 1000.0;
        const double slow = collector_.seconds(reference) * 1000.0;
        const double ratio = slow / fast;
        line(ratio >= targetRatio, what + ": " + number(fast) + " ms vs " + number(slow) + " ms, " +
                                       number(ratio) +
                                       "x faster (target >= " + number(targetRatio) + "x)");
    }

    // A figure that is no time (a size, say), in its own unit.
    void below(const std::string& what, double value, double target, const std::string& unit) {
        line(value < target, what + ": " + number(value) + " " + unit + " (target < " +
                                 number(target) + " " + unit + ")");
    }

    // A figure against a reference measured in the same run: at most maxRatio
    // times its time. Without a target (maxRatio 0) the line is for information.
    void atMostTimes(const std::string& name, const std::string& reference, const std::string& what,
                     double maxRatio) {
        if (!collector_.has(name) || !collector_.has(reference)) {
            line(false, what + ": " + collector_.error(name) + " / " + collector_.error(reference));
            return;
        }
        const double ms = collector_.seconds(name) * 1000.0;
        const double base = collector_.seconds(reference) * 1000.0;
        const std::string text =
            what + ": " + number(ms) + " ms vs " + number(base) + " ms, " + number(ms / base) + "x";
        if (maxRatio <= 0) {
            std::printf("INFO  %s\n", text.c_str());
            std::fflush(stdout);
            return;
        }
        line(ms <= maxRatio * base, text + " (target <= " + number(maxRatio) + "x)");
    }

    int exitCode() const { return missed_ == 0 ? 0 : 1; }

    static std::string number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, value < 10 ? "%.3g" : "%.0f", value);
        return text;
    }

  private:
    void line(bool pass, const std::string& text) {
        std::printf("%s  %s\n", pass ? "PASS" : "MISS", text.c_str());
        std::fflush(stdout);
        missed_ += pass ? 0 : 1;
    }

    const Collector& collector_;
    int missed_ = 0;
};

// A folder of the benchmark's own, removed when it ends.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name) {
        path_ = std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace zorlo::bench
