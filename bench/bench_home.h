// A handheld home of its own for one benchmark program, made in a new temporary folder and removed at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "handheld/home.h"

class BenchHome {
public:
    // Check Opened(): reason says why not.
    BenchHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            reason_ = "no temporary folder";
            return;
        }
        directory_ = pattern;
        std::filesystem::remove(directory_);  // a missing home is created with its defaults
        opened_ = handheld::OpenHome(directory_, &reason_);
    }
    ~BenchHome() {
        std::error_code ignored;
        if (!directory_.empty()) std::filesystem::remove_all(directory_, ignored);
    }
    BenchHome(const BenchHome&) = delete;
    BenchHome& operator=(const BenchHome&) = delete;

    bool Opened() const { return opened_; }
    const std::string& Reason() const { return reason_; }
    const std::filesystem::path& Directory() const { return directory_; }

private:
    std::filesystem::path directory_;
    std::string reason_;
    bool opened_ = false;
};

// The whole main of a benchmark program that needs nothing but a fresh handheld home.
inline int RunBenchmarksInTemporaryHome(int argc, char** argv) {
    const BenchHome home;
    if (!home.Opened()) {
        std::fprintf(stderr, "cannot open a handheld home: %s\n", home.Reason().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
