// PublishEditMembers: the published members shared by the edit controls (edit, mask edit, spin
// edit, memo), by name and in the order given, as PublishControlMembers does for controls; any
// other name is passed on to PublishControlMembers.
#pragma once

#include <string_view>

#include "platform/ui/ControlsPublish.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

namespace detail {

template <class T>
bool PublishEditProperty(TClassBuilder<T>& b, std::string_view name) {
    if (name == "AutoSelect") {
        b.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(1);
    } else if (name == "AutoSize") {
        b.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(1);
    } else if (name == "BorderStyle") {
        b.Property("BorderStyle", &T::BorderStyle, &T::SetBorderStyle)
            .Type(BorderStyleTypeInfo())
            .Default(bsSingle);
    } else if (name == "CharCase") {
        b.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
    } else if (name == "HideSelection") {
        b.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(1);
    } else if (name == "ImeMode") {
        b.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
    } else if (name == "ImeName") {
        b.Property("ImeName", &T::ImeName, &T::SetImeName);
    } else if (name == "MaxLength") {
        b.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Default(0);
    } else if (name == "PasswordChar") {
        b.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
    } else if (name == "ReadOnly") {
        b.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(0);
    } else if (name == "OnChange") {
        b.Event("OnChange", &T::OnChange);
    } else {
        return false;
    }
    return true;
}

}  // namespace detail

template <class T>
void PublishEditMembers(TClassBuilder<T>& b, std::string_view names) {
    static_assert(std::is_base_of_v<TCustomEdit, T>, "only edits publish edit members");
    detail::ForEachMemberName(names, [&](std::string_view name) {
        if (!detail::PublishEditProperty(b, name)) PublishControlMembers(b, name);
    });
}

}  // namespace kv
