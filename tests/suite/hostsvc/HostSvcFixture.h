// A host over a fresh demo company database in a folder of its own, removed after the test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/core/Dispatch.h"
#include "suite/hostsvc/HostServices.h"

namespace kv {

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = std::filesystem::temp_directory_path() / "kvhostsvc-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

class HostSvcTest : public ::testing::Test {
protected:
    THostOptions Options() const {
        THostOptions options;
        options.databasePath = folder_.File("company.db");
        return options;
    }
    void SetUp() override {
        services_ = THostServices::Create(Options());
        host_ = services_->CreateHostObject();
    }
    Variant Counter() { return OleCall(host_, "Com_Counter"); }
    Variant Validator() { return OleCall(host_, "Com_Validator"); }
    Variant Window() { return OleCall(host_, "Com_F2Window"); }

    TTempFolder folder_;
    std::shared_ptr<THostServices> services_;
    Variant host_;
};

}  // namespace kv
