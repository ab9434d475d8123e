#include "platform/ui/Automation.h"

#include <algorithm>
#include <memory>

#include "platform/core/SysUtils.h"
#include "platform/ui/InputGuard.h"
#include "platform/ui/Menus.h"

namespace kv {

namespace {

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('.', start);
        if (end == std::string_view::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool NameIs(const TComponent& component, std::string_view name) {
    return !component.Name().empty() && SameText(component.Name(), name);
}

TControl* FindDescendant(const TWinControl& parent, std::string_view name) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (NameIs(*child, name)) return child;
    }
    for (int i = 0; i < parent.ControlCount(); ++i) {
        if (const auto* win = dynamic_cast<const TWinControl*>(parent.Controls(i))) {
            if (TControl* found = FindDescendant(*win, name)) return found;
        }
    }
    return nullptr;
}

// One step of a name path: a child control, else an owned component, else a control anywhere
// inside.
TComponent* Step(const TComponent& current, std::string_view name) {
    const auto* win = dynamic_cast<const TWinControl*>(&current);
    if (win != nullptr) {
        if (TControl* child = win->FindChildControl(name)) return child;
    }
    if (TComponent* owned = current.FindComponent(name)) return owned;
    if (win != nullptr) return FindDescendant(*win, name);
    return nullptr;
}

// One step of a menu item's path below a menu or an item: a child item by name, else by caption.
TMenuItem* MenuStep(const TComponent& current, std::string_view name) {
    const TMenuItem* parent = dynamic_cast<const TMenuItem*>(&current);
    if (const auto* menu = dynamic_cast<const TMenu*>(&current)) parent = menu->Items();
    if (parent == nullptr) return nullptr;
    for (int i = 0; i < parent->Count(); ++i)
        if (NameIs(*parent->Items(i), name)) return parent->Items(i);
    return parent->Find(name);
}

// The form a menu belongs to: the first form among its owners.
const TCustomForm* OwnerForm(const TComponent& component) {
    for (const TComponent* c = &component; c != nullptr; c = c->Owner())
        if (const auto* form = dynamic_cast<const TCustomForm*>(c)) return form;
    return nullptr;
}

std::string Describe(const TMenuItem& item) {
    return "menu item '" + (item.Name().empty() ? item.Caption() : item.Name()) + "'";
}

// Hears which of the watched components are freed (a parent item's OnClick may rebuild the items
// below it).
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    void Watch(TComponent& component) {
        alive_.push_back(&component);
        component.FreeNotification(this);
    }
    bool Alive(const TComponent* component) const {
        return std::find(alive_.begin(), alive_.end(), component) != alive_.end();
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove) std::erase(alive_, component);
        TComponent::Notification(component, operation);
    }

private:
    std::vector<const TComponent*> alive_;
};

std::string Describe(const TControl& control) {
    std::string name = control.Name().empty() ? control.ClassName() : control.Name();
    if (const TCustomForm* form = GetParentForm(&control); form != nullptr && form != &control)
        name = form->Name() + "." + name;
    return name;
}

}  // namespace

TAutomation& Automation() {
    static auto* automation = new TAutomation();  // never destroyed: see Forms.h
    return *automation;
}

// ---- finding

TCustomForm& TAutomation::FindForm(std::string_view name) const {
    TCustomForm* form = Screen().FindForm(name);
    if (form == nullptr) throw EAutomationError("No form named '" + std::string(name) + "'");
    return *form;
}

TControl* TAutomation::TryFind(const TComponent& base, std::string_view path) const {
    const TComponent* current = &base;
    for (std::string_view part : SplitPath(path)) {
        if (part.empty()) return nullptr;
        current = Step(*current, part);
        if (current == nullptr) return nullptr;
    }
    return dynamic_cast<TControl*>(const_cast<TComponent*>(current));
}

// The first name is a form; a path that starts with no form's name is taken inside the active
// form.
TControl* TAutomation::TryFind(std::string_view path) const {
    const std::size_t dot = path.find('.');
    const std::string_view first = path.substr(0, dot);
    if (TCustomForm* form = Screen().FindForm(first)) {
        if (dot == std::string_view::npos) return form;
        return TryFind(*form, path.substr(dot + 1));
    }
    if (TCustomForm* active = Screen().ActiveForm()) return TryFind(*active, path);
    return nullptr;
}

TControl& TAutomation::Find(std::string_view path) const {
    if (TControl* control = TryFind(path)) return *control;
    throw EAutomationError("No control at '" + std::string(path) + "'");
}

TControl& TAutomation::Find(const TComponent& base, std::string_view path) const {
    if (TControl* control = TryFind(base, path)) return *control;
    throw EAutomationError("No control at '" + std::string(path) + "' in '" + base.Name() + "'");
}

void TAutomation::WrongClass(std::string_view path, TClass expected) {
    throw EAutomationError("The control at '" + std::string(path) + "' is no " + expected->Name());
}

// ---- acting

void TAutomation::CheckInput(const TControl& control, const char* action) const {
    const std::string what = std::string("Cannot ") + action + " " + Describe(control);
    if (!control.Showing()) throw EAutomationError(what + ": it is not showing");
    if (!control.EffectiveEnabled()) throw EAutomationError(what + ": it is disabled");
    const TCustomForm* form = GetParentForm(&control);
    if (form == nullptr) throw EAutomationError(what + ": it is on no form");
    if (!form->AcceptsInput())
        throw EAutomationError(what + ": its form takes no input while a modal form is up");
}

void TAutomation::Click(TControl& control) {
    CheckInput(control, "click");
    TInput::Click(control);
}

void TAutomation::DblClick(TControl& control) {
    CheckInput(control, "double-click");
    TInput::DblClick(control);
}

void TAutomation::Focus(TControl& control) {
    CheckInput(control, "focus");
    auto* win = dynamic_cast<TWinControl*>(&control);
    if (win == nullptr || !win->CanFocus())
        throw EAutomationError("Cannot focus " + Describe(control) + ": it takes no focus");
    if (win->Focused()) return;
    if (!TInput::Focus(*win)) {
        const TWinControl* focused = Screen().FocusedWindow();
        throw EAutomationError("The focus did not arrive at " + Describe(control) +
                               (focused != nullptr ? "; it stayed at " + Describe(*focused) : ""));
    }
}

void TAutomation::TypeText(TControl& control, std::string_view text) {
    Focus(control);
    TInput::TypeText(text);
}

void TAutomation::TypeText(std::string_view text) {
    TInput::TypeText(text);
}

void TAutomation::PressKey(Word key, TShiftState shift) {
    TInput::Key(key, shift);
}

void TAutomation::PressKey(TControl& control, Word key, TShiftState shift) {
    Focus(control);
    TInput::Key(key, shift);
}

// A user picking an item clicks into the control first.
void TAutomation::Select(TControl& control, const std::string& item) {
    CheckInput(control, "select in");
    if (auto* win = dynamic_cast<TWinControl*>(&control);
        win != nullptr && win->TakesFocusOnClick())
        Focus(control);
    if (!control.SelectItemByUser(item))
        throw EAutomationError(Describe(control) + " has no item '" + item + "'");
}

void TAutomation::SelectIndex(TControl& control, int index) {
    CheckInput(control, "select in");
    if (auto* win = dynamic_cast<TWinControl*>(&control);
        win != nullptr && win->TakesFocusOnClick())
        Focus(control);
    if (!control.SelectIndexByUser(index))
        throw EAutomationError(Describe(control) + " has no item " + IntToStr(index));
}

void TAutomation::Check(TControl& control, bool checked) {
    CheckInput(control, "check");
    if (GetPropInfo(&control, "Checked") == nullptr)
        throw EAutomationError(Describe(control) + " has no Checked state");
    if ((GetOrdProp(&control, "Checked") != 0) == checked) return;
    const auto life = control.LifeToken();
    Click(control);
    if (life.expired()) return;
    if ((GetOrdProp(&control, "Checked") != 0) != checked)
        throw EAutomationError("Clicking " + Describe(control) + " did not make it " +
                               (checked ? "checked" : "unchecked"));
}

void TAutomation::CloseForm(TCustomForm& form) {
    if (!form.Visible())
        throw EAutomationError("Cannot close " + form.Name() + ": it is not showing");
    if (!form.AcceptsInput())
        throw EAutomationError("Cannot close " + form.Name() +
                               ": it takes no input while a modal form is up");
    TInput::CloseBox(form);
}

void TAutomation::RightClick(TControl& control, int x, int y) {
    CheckInput(control, "right-click");
    TInput::Click(control, mbRight, {}, x, y);
}

// ---- menus

TMenuItem* TAutomation::TryFindMenuItem(std::string_view path) const {
    std::vector<std::string_view> parts = SplitPath(path);
    const TComponent* current = Screen().FindForm(parts.front());
    if (current != nullptr) {
        parts.erase(parts.begin());
    } else {
        current = Screen().ActiveForm();
    }
    for (std::string_view part : parts) {
        if (current == nullptr || part.empty()) return nullptr;
        const bool inMenu = dynamic_cast<const TMenu*>(current) != nullptr ||
                            dynamic_cast<const TMenuItem*>(current) != nullptr;
        current = inMenu ? MenuStep(*current, part) : Step(*current, part);
    }
    return dynamic_cast<TMenuItem*>(const_cast<TComponent*>(current));
}

TMenuItem& TAutomation::FindMenuItem(std::string_view path) const {
    if (TMenuItem* item = TryFindMenuItem(path)) return *item;
    throw EAutomationError("No menu item at '" + std::string(path) + "'");
}

// Each item is checked when the user reaches it: the click of the item above (its submenu
// opening) may enable, hide or rebuild the items below. A rebuilt item is found again by name,
// else by caption.
void TAutomation::ClickMenuItem(TMenuItem& item) {
    const std::string what = "Cannot choose " + Describe(item);
    const TMenu* menu = item.GetParentMenu();
    if (menu == nullptr || item.Parent() == nullptr)
        throw EAutomationError(what + ": it is in no menu");
    if (item.IsLine()) throw EAutomationError(what + ": it is a separator");
    const TCustomForm* form = OwnerForm(*menu);
    if (form == nullptr || !form->Visible())
        throw EAutomationError(what + ": its menu is on no form that is showing");
    if (!form->AcceptsInput())
        throw EAutomationError(what + ": its form takes no input while a modal form is up");
    std::vector<TMenuItem*> chain;  // the items from the menu's first level down to this one
    for (TMenuItem* p = &item; p->Parent() != nullptr; p = p->Parent())
        chain.insert(chain.begin(), p);
    std::vector<std::pair<std::string, std::string>> ids;  // name and caption of each
    std::unique_ptr<TFreeWatch, void (*)(TFreeWatch*)> watch(new TFreeWatch,
                                                             [](TFreeWatch* w) { w->Free(); });
    for (TMenuItem* p : chain) {
        ids.emplace_back(p->Name(), p->Caption());
        watch->Watch(*p);
    }
    TMenuItem* parent = nullptr;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const bool last = i + 1 == chain.size();
        TMenuItem* p = chain[i];
        if (parent != nullptr && !watch->Alive(parent))
            throw EAutomationError(what + ": the menu above it was freed as it opened");
        if (parent != nullptr && (!watch->Alive(p) || p->Parent() != parent)) {
            p = ids[i].first.empty() ? parent->Find(ids[i].second)
                                     : MenuStep(*parent, ids[i].first);
            if (p == nullptr)
                throw EAutomationError(what + ": " + (last ? "it" : "an item above it") +
                                       " was gone once the menu above it opened");
            watch->Watch(*p);
        }
        const std::string who = last ? "it" : Describe(*p) + " above it";
        if (!p->Visible()) throw EAutomationError(what + ": " + who + " is hidden");
        if (!p->Enabled()) throw EAutomationError(what + ": " + who + " is disabled");
        GuardedInput([&] { p->Click(); });
        parent = p;
    }
}

// ---- script

void TAutomation::AnswerBox(TModalResult answer, std::string textContains) {
    TAnswer a;
    a.kind = TAnswerKind::Box;
    a.result = answer;
    a.textContains = std::move(textContains);
    answers_.push_back(std::move(a));
}

void TAutomation::AnswerBoxWithButton(std::string buttonName, std::string textContains) {
    TAnswer a;
    a.kind = TAnswerKind::Box;
    a.name = std::move(buttonName);
    a.textContains = std::move(textContains);
    answers_.push_back(std::move(a));
}

void TAutomation::AnswerModal(std::string formName, TModalScript actions) {
    TAnswer a;
    a.kind = TAnswerKind::Form;
    a.name = std::move(formName);
    a.actions = std::move(actions);
    answers_.push_back(std::move(a));
}

void TAutomation::AnswerModal(std::string formName, TModalResult result) {
    TAnswer a;
    a.kind = TAnswerKind::Form;
    a.name = std::move(formName);
    a.result = result;
    answers_.push_back(std::move(a));
}

bool TAutomation::Fits(const TAnswer& answer, const TCustomForm& form) const {
    const auto* box = dynamic_cast<const TMessageForm*>(&form);
    if (answer.kind == TAnswerKind::Box) {
        return box != nullptr &&
               (answer.textContains.empty() ||
                box->MessageText().find(answer.textContains) != std::string::npos);
    }
    return box == nullptr &&
           (answer.name.empty() || NameIs(form, answer.name) || form.ClassNameIs(answer.name));
}

bool TAutomation::ApplyModalAnswer(TCustomForm& form) {
    const auto found = std::find_if(answers_.begin(), answers_.end(),
                                    [&](const TAnswer& a) { return Fits(a, form); });
    if (found == answers_.end()) return false;
    const TAnswer answer = *found;
    answers_.erase(found);
    scripted_.emplace_back(&form, form.LifeToken());
    if (auto* box = dynamic_cast<TMessageForm*>(&form)) {
        ApplyBoxAnswer(answer, *box);
        return true;
    }
    const auto life = form.LifeToken();
    if (answer.actions) answer.actions(form);
    if (!life.expired() && answer.result != mrNone) form.SetModalResult(answer.result);
    return true;
}

void TAutomation::ApplyBoxAnswer(const TAnswer& answer, TMessageForm& box) {
    TButton* button = nullptr;
    if (!answer.name.empty()) {
        button = dynamic_cast<TButton*>(box.FindComponent(answer.name));
    } else {
        for (int i = mbYes; i <= mbHelp && button == nullptr; ++i) {
            const auto b = static_cast<TMsgDlgBtn>(i);
            if (box.Buttons().Contains(b) && MsgDlgButtonResult(b) == answer.result)
                button = box.Button(b);
        }
    }
    if (button == nullptr) {
        const std::string wanted =
            answer.name.empty() ? "answering " + IntToStr(answer.result) : "named " + answer.name;
        throw EAutomationError("The box \"" + box.MessageText() + "\" offers no button " + wanted +
                               " (buttons " + MsgDlgButtonsText(box.Buttons()) + ")");
    }
    Click(*button);
}

// ---- records

void TAutomation::ModalEnded(TCustomForm& form, TModalResult result) {
    std::erase_if(scripted_, [](const auto& entry) { return entry.second.expired(); });
    const auto found = std::find_if(scripted_.begin(), scripted_.end(),
                                    [&](const auto& entry) { return entry.first == &form; });
    const bool scripted = found != scripted_.end();
    if (scripted) scripted_.erase(found);
    if (const auto* box = dynamic_cast<const TMessageForm*>(&form)) {
        TBoxRecord record{
            box->Caption(), box->MessageText(), box->DialogType(), box->Buttons(), result,
            scripted};
        boxes_.push_back(record);
        if (OnBoxRecorded) OnBoxRecorded(boxes_.back());
        return;
    }
    modals_.push_back(TModalRecord{form.Name(), form.ClassName(), result, scripted});
}

const TBoxRecord& TAutomation::LastBox() const {
    if (boxes_.empty()) throw EAutomationError("No message box was shown");
    return boxes_.back();
}

void TAutomation::ClearRecords() {
    boxes_.clear();
    modals_.clear();
}

void TAutomation::Reset() {
    answers_.clear();
    scripted_.clear();
    ClearRecords();
}

}  // namespace kv
