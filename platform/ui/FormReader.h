// The form-description reader: builds a form's components from its descriptions (FormDesc.h),
// in the platform's order.
//
// For every object block the reader creates the component by class name (the class registry:
// classes must be registered, KV_REGISTER_CLASS), owned by the root (the form) and placed in
// the enclosing object: a control's parent is the enclosing windowed control; another nested
// component is handed to the enclosing component through IChildComponent. Each component is in
// the loading state (csLoading, csReading while its block is read) from its creation on; its
// properties are set through the published-property table in file order; an event is bound to
// the root's published method of the name given (the method's parameters must fit the event);
// a component reference (PopupMenu = mnPopup) may name a component further down the text.
// When every description of the root is read, Loaded runs on the root and then on every
// component in creation order, so a property whose effect depends on others, or on the loading
// state, is settled once.
//
// Faults raise EFormDescError with the file and the line; a read that fails frees the
// components it created.
//
// A form reads the descriptions of its class chain on construction (the reader installs
// LoadFormDescriptions with SetFormDescriptionLoader): the description of the first class
// that has one starts with "object", those of derived classes with "inherited".
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/ui/ChildComponent.h"
#include "platform/ui/FormDesc.h"

namespace kv {

class TCustomForm;

// Reads one description into root, then runs Loaded.
void ReadComponentDescription(TComponent& root, std::string_view text, std::string_view fileName);

// Reads the registered descriptions (FormResources.h) of the form's class chain, ancestors
// first; false when no class of the chain has one.
bool LoadFormDescriptions(TCustomForm& form);

// Reads several descriptions into one root (an ancestor's first), then Finish runs Loaded.
class TDescriptionReader {
public:
    explicit TDescriptionReader(TComponent& root);
    // Without Finish (a read failed): frees the components created and ends the loading state
    // of the rest.
    ~TDescriptionReader();
    TDescriptionReader(const TDescriptionReader&) = delete;
    TDescriptionReader& operator=(const TDescriptionReader&) = delete;

    // Reads one description; references to components not made yet are resolved at its end.
    void Read(const TDescObject& description, const std::string& fileName);
    void Finish();

private:
    class TWatcher;
    struct TFixup {
        TObject* target;
        const TPropInfo* prop;
        TComponent* holder;  // the component whose block set it
        std::string name;
        std::string what;  // "btnOk.PopupMenu", for messages
        int line;
    };
    struct TPlace {
        std::string file;
        int line;
    };

    void ReadRoot(const TDescObject& description);
    void ReadObject(const TDescObject& description, TComponent& enclosing, int depth);
    TComponent& CreateComponent(const TDescObject& description);
    TComponent& FindInherited(const TDescObject& description);
    void Adopt(TComponent& child, TComponent& enclosing, int line);
    void SetRootName(const std::string& name, int line);
    void SetProperty(TObject& target, TComponent& holder, const TDescProperty& property,
                     const std::string& prefix = {});
    void SetValue(TObject& object, const TPropInfo& prop, TComponent& holder,
                  const TDescProperty& property, const std::string& what);
    void SetReference(TObject& object, const TPropInfo& prop, TComponent& holder,
                      const TDescValue& value, const std::string& what);
    void SetEvent(TObject& object, const TPropInfo& prop, const TDescValue& value,
                  const std::string& what);
    void SetStrings(TObject& object, const TDescValue& value, const std::string& what);
    void SetCollection(TObject& object, TComponent& holder, const TDescValue& value,
                       const std::string& what);
    void ResolveFixups();
    TComponent* Lookup(std::string_view name) const;
    bool Alive(const TComponent* component) const;
    void Watch(TComponent& component);
    void Abandon() noexcept;
    [[noreturn]] void Fail(int line, const std::string& message) const;
    // Runs action; an error other than a description error is reported at the line.
    void Guard(int line, const std::string& what, const std::function<void()>& action);

    TComponent& root_;
    TWatcher* watcher_ = nullptr;
    std::string file_;
    std::vector<TComponent*> loaded_;   // root first, then in creation order
    std::vector<TComponent*> created_;  // made by this reader
    std::map<const TComponent*, TPlace> places_;
    std::vector<TFixup> fixups_;
    bool finished_ = false;
};

}  // namespace kv
