// The fixture of the UI tests: every test starts with no form, no script and no records, and
// fails when it leaves a form alive (the forms are freed so the next test starts clean) or
// leaves script answers unused.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Automation.h"
#include "platform/ui/Forms.h"

namespace kv::test {

// Frees every form still on the screen; a failure naming them when there were any.
inline ::testing::AssertionResult NoFormsAlive() {
    Application().ProcessMessages();  // forms released by their handlers go now
    std::string alive;
    while (Screen().FormCount() > 0) {
        TCustomForm* form = Screen().Forms(0);
        alive +=
            (alive.empty() ? "" : ", ") + (form->Name().empty() ? form->ClassName() : form->Name());
        form->Free();
    }
    Application().ProcessMessages();
    if (alive.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "forms left alive: " << alive;
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        Automation().Reset();
        Application().ResetTerminated();
        Application().SetMainForm(nullptr);
    }
    void TearDown() override {
        for (auto& [form, life] : fixtureForms_)
            if (!life.expired()) form->Free();
        fixtureForms_.clear();
        EXPECT_TRUE(NoFormsAlive());
        EXPECT_EQ(Automation().PendingAnswers(), 0) << "script answers left unused";
        Automation().Reset();
        Application().ResetTerminated();
        Application().OnException = TExceptionEvent();
    }

    // A form the fixture itself made (in SetUp): freed before the check, if still alive.
    template <class F>
    F* FixtureForm(F* form) {
        fixtureForms_.emplace_back(form, form->LifeToken());
        return form;
    }

private:
    std::vector<std::pair<TCustomForm*, std::weak_ptr<const bool>>> fixtureForms_;
};

}  // namespace kv::test
