// The form-description reader: components, nesting, names and the loading state. Property
// values are set in FormReaderProps.cpp.
#include "platform/ui/FormReader.h"

#include <algorithm>
#include <unordered_set>

#include "platform/core/SysUtils.h"
#include "platform/ui/Controls.h"
#include "platform/ui/FormResources.h"
#include "platform/ui/Forms.h"

namespace kv {

// Hears when a component the reader made goes, so that nothing touches it afterwards (a
// setter or a Loaded override may free components).
class TDescriptionReader::TWatcher : public TComponent {
public:
    TWatcher() : TComponent(nullptr) {}
    std::unordered_set<const TComponent*> alive;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove) alive.erase(component);
        TComponent::Notification(component, operation);
    }
};

namespace {

std::string Quoted(const std::string& name) {
    return "'" + name + "'";
}

}  // namespace

TDescriptionReader::TDescriptionReader(TComponent& root) : root_(root), watcher_(new TWatcher) {}

TDescriptionReader::~TDescriptionReader() {
    if (!finished_) Abandon();
    watcher_->Free();
}

void TDescriptionReader::Fail(int line, const std::string& message) const {
    throw EFormDescError(file_, line, message);
}

void TDescriptionReader::Guard(int line, const std::string& what,
                               const std::function<void()>& action) {
    try {
        action();
    } catch (const EFormDescError&) {
        throw;
    } catch (const Exception& error) {
        Fail(line, what.empty() ? error.Message() : what + ": " + error.Message());
    } catch (const std::exception& error) {
        Fail(line, what.empty() ? std::string(error.what()) : what + ": " + error.what());
    }
}

bool TDescriptionReader::Alive(const TComponent* component) const {
    return component == &root_ || watcher_->alive.contains(component);
}

void TDescriptionReader::Watch(TComponent& component) {
    if (&component == &root_) return;
    watcher_->alive.insert(&component);
    component.FreeNotification(watcher_);
}

TComponent* TDescriptionReader::Lookup(std::string_view name) const {
    if (!root_.Name().empty() && SameText(root_.Name(), name)) return &root_;
    return root_.FindComponent(name);
}

void TDescriptionReader::Read(const TDescObject& description, const std::string& fileName) {
    file_ = fileName;
    ReadRoot(description);
    ResolveFixups();
}

void TDescriptionReader::ReadRoot(const TDescObject& description) {
    if (!root_.InheritsFrom(description.className))
        Fail(description.line, "The description is of class " + description.className +
                                   ", not of " + root_.ClassName() + " or one of its ancestors");
    if (loaded_.empty()) {
        loaded_.push_back(&root_);
        places_[&root_] = {file_, description.line};
    }
    root_.IncludeState(csLoading);
    root_.IncludeState(csReading);
    SetRootName(description.name, description.line);
    for (const TDescProperty& property : description.properties)
        SetProperty(root_, root_, property);
    for (const TDescObject& child : description.children)
        ReadObject(child, root_, 1);
    root_.ExcludeState(csReading);
}

// A second form of the same class owned by the same owner gets a name of its own (name_1, ...),
// as the platform does.
void TDescriptionReader::SetRootName(const std::string& name, int line) {
    if (SameText(root_.Name(), name)) return;
    std::string unique = name;
    const TComponent* owner = root_.Owner();
    for (int n = 1; owner != nullptr && owner->FindComponent(unique) != nullptr; ++n)
        unique = name + "_" + IntToStr(n);
    Guard(line, "", [&] { root_.SetName(unique); });
}

void TDescriptionReader::ReadObject(const TDescObject& description, TComponent& enclosing,
                                    int depth) {
    TComponent& component =
        description.inherited ? FindInherited(description) : CreateComponent(description);
    component.IncludeState(csReading);
    if (!description.inherited) Adopt(component, enclosing, description.line);
    for (const TDescProperty& property : description.properties) {
        if (!Alive(&component)) Fail(property.line, Quoted(description.name) + " was freed");
        SetProperty(component, component, property);
    }
    for (const TDescObject& child : description.children) {
        if (!Alive(&component)) Fail(child.line, Quoted(description.name) + " was freed");
        ReadObject(child, component, depth + 1);
    }
    if (Alive(&component)) component.ExcludeState(csReading);
}

TComponent& TDescriptionReader::CreateComponent(const TDescObject& description) {
    const int line = description.line;
    const TClass cls = GetClass(description.className);
    if (cls == nullptr) Fail(line, "Class " + description.className + " not found");
    if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CanCreateComponent())
        Fail(line, "Class " + cls->Name() + " is no component that can be created by name");
    if (cls->InheritsFrom(TCustomForm::StaticClass()))
        Fail(line, "A form (" + cls->Name() + ") cannot be nested in a description");
    TComponent* component = nullptr;
    Guard(line, "Creating " + Quoted(description.name),
          [&] { component = cls->CreateComponent(&root_); });
    created_.push_back(component);
    loaded_.push_back(component);
    places_[component] = {file_, line};
    Watch(*component);
    component->IncludeState(csLoading);
    Guard(line, "", [&] { component->SetName(description.name); });
    return *component;
}

TComponent& TDescriptionReader::FindInherited(const TDescObject& description) {
    TComponent* component = root_.FindComponent(description.name);
    if (component == nullptr)
        Fail(description.line,
             "Inherited component " + Quoted(description.name) + " not found in the ancestor");
    if (!component->ClassNameIs(description.className))
        Fail(description.line, "Inherited component " + Quoted(description.name) + " is a " +
                                   component->ClassName() + ", not a " + description.className);
    // A component the form made in code joins the loading like the others.
    if (!Alive(component)) {
        loaded_.push_back(component);
        places_[component] = {file_, description.line};
        Watch(*component);
        component->IncludeState(csLoading);
    }
    return *component;
}

void TDescriptionReader::Adopt(TComponent& child, TComponent& enclosing, int line) {
    if (auto* control = dynamic_cast<TControl*>(&child)) {
        auto* parent = dynamic_cast<TWinControl*>(&enclosing);
        if (parent == nullptr)
            Fail(line, "Control " + Quoted(child.Name()) + " cannot be placed in " +
                           Quoted(enclosing.Name()) + ": a " + enclosing.ClassName() +
                           " holds no controls");
        Guard(line, "", [&] { control->SetParent(parent); });
        return;
    }
    if (&enclosing == &root_) return;
    auto* nested = dynamic_cast<IChildComponent*>(&child);
    if (nested == nullptr)
        Fail(line, "A " + child.ClassName() + " cannot be nested in " + Quoted(enclosing.Name()));
    Guard(line, "", [&] { nested->SetParentComponent(&enclosing); });
}

void TDescriptionReader::ResolveFixups() {
    std::vector<TFixup> pending;
    pending.swap(fixups_);
    for (const TFixup& fixup : pending) {
        if (!Alive(fixup.holder)) continue;
        TComponent* component = Lookup(fixup.name);
        if (component == nullptr)
            Fail(fixup.line, fixup.what + ": component " + Quoted(fixup.name) + " not found");
        Guard(fixup.line, fixup.what, [&] { SetObjectProp(fixup.target, fixup.prop, component); });
    }
}

void TDescriptionReader::Finish() {
    finished_ = true;
    std::string firstError;
    TPlace errorPlace{file_, 0};
    // Loaded may free components; walk a copy and skip the gone ones.
    const std::vector<TComponent*> order = loaded_;
    for (TComponent* component : order) {
        if (!Alive(component)) continue;
        component->ExcludeState(csReading);
        try {
            component->Loaded();
        } catch (const std::exception& error) {
            if (firstError.empty()) {
                firstError = component->Name() + ": " + error.what();
                errorPlace = places_[component];
            }
        }
        if (Alive(component)) component->ExcludeState(csLoading);
    }
    if (!firstError.empty()) throw EFormDescError(errorPlace.file, errorPlace.line, firstError);
}

// The components this reader made go again (children before parents: a windowed control frees
// its children itself, the watcher then forgets them); the others leave the loading state.
void TDescriptionReader::Abandon() noexcept {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        if (!Alive(*it)) continue;
        try {
            (*it)->Free();
        } catch (...) {
            // Freeing does not raise in this layer; a component that does stays with its owner.
        }
    }
    for (TComponent* component : loaded_) {
        if (!Alive(component)) continue;
        component->ExcludeState(csReading);
        component->ExcludeState(csLoading);
    }
}

void ReadComponentDescription(TComponent& root, std::string_view text, std::string_view fileName) {
    const std::string file(fileName);
    const TDescObject description = ParseFormDescription(text, file);
    TDescriptionReader reader(root);
    reader.Read(description, file);
    reader.Finish();
}

bool LoadFormDescriptions(TCustomForm& form) {
    std::vector<TClass> chain;
    for (TClass cls = form.ClassType();
         cls != nullptr && cls != TForm::StaticClass() && cls != TCustomForm::StaticClass();
         cls = cls->Parent())
        chain.push_back(cls);
    std::reverse(chain.begin(), chain.end());
    std::vector<TFormDescriptionText> texts;
    for (TClass cls : chain)
        if (auto text = FindFormDescription(cls->Name())) texts.push_back(std::move(*text));
    if (texts.empty()) return false;
    TDescriptionReader reader(form);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TDescObject description = ParseFormDescription(texts[i].Text, texts[i].FileName);
        const auto fail = [&](const std::string& message) {
            throw EFormDescError(texts[i].FileName, description.line, message);
        };
        if (!SameText(description.className, texts[i].ClassName))
            fail("The description is of class " + description.className + ", registered as " +
                 texts[i].ClassName);
        if (i == 0 && description.inherited)
            fail("'inherited " + description.name + "': no ancestor of " + description.className +
                 " has a description");
        if (i > 0 && !description.inherited)
            fail("The description of " + description.className +
                 " must start with 'inherited': its ancestor " + texts[i - 1].ClassName +
                 " has a description");
        reader.Read(description, texts[i].FileName);
    }
    reader.Finish();
    return true;
}

namespace {

[[maybe_unused]] const bool kLoaderInstalled = [] {
    SetFormDescriptionLoader(&LoadFormDescriptions);
    return true;
}();

}  // namespace

}  // namespace kv
