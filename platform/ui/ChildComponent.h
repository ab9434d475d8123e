// IChildComponent: a component that a form description nests inside another component that is
// no windowed control (a field inside its data set, a menu item inside its menu).
#pragma once

namespace kv {

class TComponent;

class IChildComponent {
public:
    virtual ~IChildComponent() = default;
    // The form-description reader hands over the enclosing component; raise for a parent that
    // does not fit.
    virtual void SetParentComponent(TComponent* parent) = 0;
};

}  // namespace kv
