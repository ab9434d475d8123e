// Runs one piece of user input (a key, a click, a focus move, a menu command) the way the
// platform's window procedure does: errors of the handlers go to the application's exception
// handler, while errors of the script driving the input go on to the script.
#pragma once

#include <exception>

#include "platform/ui/Automation.h"
#include "platform/ui/Forms.h"

namespace kv {

template <class F>
void GuardedInput(F&& action) {
    try {
        action();
    } catch (const EAutomationError&) {
        throw;
    } catch (const std::exception& error) {
        Application().HandleException(error);
    }
}

}  // namespace kv
