#include "platform/ui/Widgetset.h"

#include "platform/widgetset/nogui/NoGuiWidgetset.h"

namespace kv {

namespace {

std::unique_ptr<TWidgetset>& Slot() {
    // Never destroyed: controls may give their peers back late at exit.
    static auto* slot = new std::unique_ptr<TWidgetset>(std::make_unique<TNoGuiWidgetset>());
    return *slot;
}

}  // namespace

TWidgetset& Widgetset() {
    return *Slot();
}

std::unique_ptr<TWidgetset> SetWidgetset(std::unique_ptr<TWidgetset> widgetset) {
    if (!widgetset) widgetset = std::make_unique<TNoGuiWidgetset>();
    std::swap(Slot(), widgetset);
    return widgetset;
}

}  // namespace kv
