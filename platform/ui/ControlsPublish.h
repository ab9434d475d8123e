// PublishControlMembers (declared in Controls.h): the shared published members of controls.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Controls.h"

namespace kv {

namespace detail {

template <class T>
bool PublishControlProperty(TClassBuilder<T>& b, std::string_view name) {
    if (name == "Align") {
        b.Property("Align", &T::Align, &T::SetAlign).Default(alNone);
    } else if (name == "Anchors") {
        b.Property("Anchors", &T::Anchors, &T::SetAnchors);
    } else if (name == "Caption") {
        b.Property("Caption", &T::Caption, &T::SetCaption);
    } else if (name == "Text") {
        b.Property("Text", &T::Text, &T::SetText);
    } else if (name == "Color") {
        b.Property("Color", &T::Color, &T::SetColor).Type(ColorTypeInfo());
    } else if (name == "ParentColor") {
        b.Property("ParentColor", &T::ParentColor, &T::SetParentColor);
    } else if (name == "Font") {
        b.Property("Font", &T::Font, &T::SetFont);
    } else if (name == "ParentFont") {
        b.Property("ParentFont", &T::ParentFont, &T::SetParentFont);
    } else if (name == "Enabled") {
        b.Property("Enabled", &T::Enabled, &T::SetEnabled).Default(1);
    } else if (name == "Visible") {
        b.Property("Visible", &T::Visible, &T::SetVisible).Default(1);
    } else if (name == "ShowHint") {
        b.Property("ShowHint", &T::ShowHint, &T::SetShowHint);
    } else if (name == "ParentShowHint") {
        b.Property("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint).Default(1);
    } else if (name == "PopupMenu") {
        b.Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
    } else {
        return false;
    }
    return true;
}

template <class T>
bool PublishWinControlProperty(TClassBuilder<T>& b, std::string_view name) {
    if constexpr (std::is_base_of_v<TWinControl, T>) {
        if (name == "TabOrder") {
            b.Property("TabOrder", &T::TabOrder, &T::SetTabOrder).Default(-1);
        } else if (name == "TabStop") {
            b.Property("TabStop", &T::TabStop, &T::SetTabStop);
        } else if (name == "OnEnter") {
            b.Event("OnEnter", &T::OnEnter);
        } else if (name == "OnExit") {
            b.Event("OnExit", &T::OnExit);
        } else if (name == "OnKeyDown") {
            b.Event("OnKeyDown", &T::OnKeyDown);
        } else if (name == "OnKeyPress") {
            b.Event("OnKeyPress", &T::OnKeyPress);
        } else if (name == "OnKeyUp") {
            b.Event("OnKeyUp", &T::OnKeyUp);
        } else {
            return false;
        }
        return true;
    } else {
        return false;
    }
}

template <class T>
bool PublishControlEvent(TClassBuilder<T>& b, std::string_view name) {
    if (name == "OnClick") {
        b.Event("OnClick", &T::OnClick);
    } else if (name == "OnDblClick") {
        b.Event("OnDblClick", &T::OnDblClick);
    } else if (name == "OnResize") {
        b.Event("OnResize", &T::OnResize);
    } else if (name == "OnMouseDown") {
        b.Event("OnMouseDown", &T::OnMouseDown);
    } else if (name == "OnMouseUp") {
        b.Event("OnMouseUp", &T::OnMouseUp);
    } else if (name == "OnMouseMove") {
        b.Event("OnMouseMove", &T::OnMouseMove);
    } else {
        return false;
    }
    return true;
}

// Calls each(name) for every name of a list separated by spaces or commas, in order.
template <class F>
void ForEachMemberName(std::string_view names, F&& each) {
    std::size_t pos = 0;
    while (pos < names.size()) {
        const std::size_t start = names.find_first_not_of(" ,", pos);
        if (start == std::string_view::npos) break;
        std::size_t end = names.find_first_of(" ,", start);
        if (end == std::string_view::npos) end = names.size();
        each(names.substr(start, end - start));
        pos = end;
    }
}

}  // namespace detail

template <class T>
void PublishControlMembers(TClassBuilder<T>& b, std::string_view names) {
    static_assert(std::is_base_of_v<TControl, T>, "only controls publish control members");
    detail::ForEachMemberName(names, [&](std::string_view name) {
        if (!detail::PublishControlProperty(b, name) &&
            !detail::PublishWinControlProperty(b, name) && !detail::PublishControlEvent(b, name)) {
            throw EPropertyError("No control member named " + std::string(name) + " to publish");
        }
    });
}

}  // namespace kv
