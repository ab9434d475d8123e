// Scripts are checked whole before anything runs; keys, shift states and answers by name.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/ui/Messages.h"
#include "suite/kvhost/ScriptKeys.h"
#include "suite/kvhost/ShellScript.h"

namespace kv {
namespace {

TEST(ShellScript, TakesAListOrAnObjectWithSteps) {
    const TJson steps = TJson::parse(R"([{"do": "click", "control": "btnOk"}])");
    EXPECT_EQ(ShellScriptSteps(steps), steps);
    EXPECT_EQ(ShellScriptSteps(TJson{{"user", "796"}, {"steps", steps}}), steps);
}

TEST(ShellScript, RefusesABadScriptNamingTheStep) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {R"({"user": "796"})", "an object with \"steps\""},
        {R"({"steps": {"do": "click"}})", "no list"},
        {R"([{"do": "click", "control": "btnOk"}, {"control": "btnOk"}])", "step 2: a step"},
        {R"([{"do": "jump"}])", "unknown action \"jump\""},
        {R"([{"do": "type", "control": "edPrintDate"}])", "\"text\" missing"},
        {R"([{"do": "answer_lookup", "table": "CMSME"}])", "\"codes|positions|value|cancel\""},
        {R"([{"do": "modal", "form": "frmX", "steps": [{"do": "click"}]}])",
         "step 1 (modal) step 1 (click): \"control\" missing"},
    };
    for (const Case& c : cases) {
        try {
            ShellScriptSteps(TJson::parse(c.script));
            ADD_FAILURE() << c.script << " accepted";
        } catch (const EConvertError& error) {
            EXPECT_NE(error.Message().find(c.message), std::string::npos)
                << c.script << ": " << error.Message();
        }
    }
}

TEST(ShellScript, AFileThatIsNoJsonIsRefusedWithItsName) {
    const std::string name = ::testing::TempDir() + "bad-script.json";
    std::ofstream(name) << "{\"steps\": [";
    try {
        LoadShellScript(name);
        ADD_FAILURE() << "accepted";
    } catch (const EConvertError& error) {
        EXPECT_NE(error.Message().find("bad-script.json"), std::string::npos);
    }
    std::remove(name.c_str());
    EXPECT_THROW(LoadShellScript(name), EInOutError);
}

TEST(ScriptKeys, NamesOfKeys) {
    const std::pair<const char*, Word> keys[] = {
        {"Enter", VK_RETURN},  {"esc", VK_ESCAPE}, {"F2", VK_F2}, {"f12", VK_F12},
        {"PageDown", VK_NEXT}, {"v", 'V'},         {"7", '7'},    {"13", 13},
    };
    for (const auto& [name, key] : keys)
        EXPECT_EQ(ScriptKey(name), key) << name;
    for (const char* bad : {"F13", "F0", "Hyper", "", "300"})
        EXPECT_THROW(ScriptKey(bad), EConvertError) << bad;
}

TEST(ScriptKeys, ShiftStatesAndModalResults) {
    EXPECT_EQ(ScriptShift("ctrl+Alt"), TShiftState({ssCtrl, ssAlt}));
    EXPECT_EQ(ScriptShift("shift, ctrl"), TShiftState({ssShift, ssCtrl}));
    EXPECT_EQ(ScriptShift(""), TShiftState());
    EXPECT_THROW(ScriptShift("ctrl+meta"), EConvertError);
    EXPECT_EQ(ScriptModalResult("yestoall"), mrYesToAll);
    EXPECT_EQ(ModalResultName(mrOk), "OK");
    EXPECT_EQ(ModalResultName(42), "42");
    EXPECT_THROW(ScriptModalResult("Maybe"), EConvertError);
}

}  // namespace
}  // namespace kv
