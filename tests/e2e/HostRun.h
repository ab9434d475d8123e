// Runs the host shell kvhost as a user would (a separate process, the real plug-in, the host
// services and the application server on a company database of its own) and reads back its
// transcript.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace kv::test {

struct THostRun {
    int exitCode = -1;
    std::vector<nlohmann::ordered_json> lines;
    std::string output;  // the summary

    // The lines of one event, in order.
    std::vector<nlohmann::ordered_json> Events(const std::string& event) const {
        std::vector<nlohmann::ordered_json> found;
        for (const auto& line : lines)
            if (line.value("event", "") == event) found.push_back(line);
        return found;
    }
    std::vector<int> Notifications() const {
        std::vector<int> codes;
        for (const auto& line : Events("notify"))
            codes.push_back(line["code"].get<int>());
        return codes;
    }
};

class HostRunTest : public ::testing::Test {
protected:
    // One company database for the whole suite, made with the demo data by the first run.
    static void SetUpTestSuite() {
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("kvhost-e2e-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Runs kvhost with the script (JSON text; empty for none) and the further options.
    static THostRun Run(const std::string& script, const std::string& options = "") {
        static int number = 0;
        const std::string stem = (dir_ / ("run" + std::to_string(++number))).string();
        std::string command = "'" KV_BIN_DIR "/kvhost' --config '" + (dir_ / "config").string() +
                              "' --transcript '" + stem + ".jsonl' " + options;
        if (!script.empty()) {
            std::ofstream(stem + ".json") << script;
            command += " --script '" + stem + ".json'";
        }
        command += " > '" + stem + ".out' 2>&1";
        THostRun run;
        const int status = std::system(command.c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream transcript(stem + ".jsonl");
        for (std::string line; std::getline(transcript, line);)
            run.lines.push_back(nlohmann::ordered_json::parse(line));
        std::ifstream output(stem + ".out");
        run.output.assign(std::istreambuf_iterator<char>(output), {});
        return run;
    }

    static inline std::filesystem::path dir_;
};

}  // namespace kv::test
