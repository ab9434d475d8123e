// The form-description reader: property values, through the published-property tables.
#include <string_view>

#include "platform/core/SysUtils.h"
#include "platform/ui/FormReader.h"

namespace kv {

namespace {

using TKind = TDescValue::TKind;

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == std::string::npos ? dot : dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

std::string ValueText(const TDescValue& value) {
    return value.Describe();
}

bool IsOrdinalKind(TTypeKind kind) {
    return kind == tkInteger || kind == tkInt64 || kind == tkChar || kind == tkWChar;
}

}  // namespace

// Path = value: the path walks through object properties (Font.Name) to the property set.
void TDescriptionReader::SetProperty(TObject& target, TComponent& holder,
                                     const TDescProperty& property, const std::string& prefix) {
    const std::vector<std::string> parts = SplitPath(property.path);
    const std::string owner = holder.Name().empty() ? holder.ClassName() : holder.Name();
    const std::string what = (prefix.empty() ? owner : prefix) + "." + property.path;
    TObject* object = &target;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo* prop = GetPropInfo(object, parts[i]);
        if (prop == nullptr)
            Fail(property.line, what + ": " + object->ClassName() + " has no property " + parts[i]);
        if (prop->PropType()->Kind() != tkClass)
            Fail(property.line, what + ": " + parts[i] + " holds no object");
        TObject* sub = GetObjectProp(object, prop);
        if (sub == nullptr) Fail(property.line, what + ": " + parts[i] + " holds no object");
        if (dynamic_cast<TComponent*>(sub) != nullptr)
            Fail(property.line, what + ": " + parts[i] +
                                    " refers to another component; set its properties in its own "
                                    "block");
        object = sub;
    }
    // Lines.Strings = (...) as well as Lines = (...).
    if (parts.size() > 1 && SameText(parts.back(), "Strings") &&
        dynamic_cast<TStrings*>(object) != nullptr) {
        SetStrings(*object, property.value, what);
        return;
    }
    const TPropInfo* prop = GetPropInfo(object, parts.back());
    if (prop == nullptr)
        Fail(property.line, what + ": " + object->ClassName() + " has no property " + parts.back());
    SetValue(*object, *prop, holder, property, what);
}

void TDescriptionReader::SetValue(TObject& object, const TPropInfo& prop, TComponent& holder,
                                  const TDescProperty& property, const std::string& what) {
    const TDescValue& value = property.value;
    const TTypeInfo* type = prop.PropType();
    const TTypeKind kind = type->Kind();
    const int line = value.line;
    const auto invalid = [&] {
        Fail(line, what + ": " + ValueText(value) + " is no value of type " + type->Name());
    };
    if (kind == tkClass) {
        if (value.kind == TKind::Ident) return SetReference(object, prop, holder, value, what);
        if (value.kind == TKind::List || value.kind == TKind::Collection) {
            TObject* held = GetObjectProp(&object, &prop);
            if (held == nullptr) Fail(line, what + " holds no object");
            if (value.kind == TKind::List) return SetStrings(*held, value, what);
            return SetCollection(*held, holder, value, what);
        }
        invalid();
    }
    if (kind == tkMethod) {
        if (value.kind != TKind::Ident) invalid();
        return SetEvent(object, prop, value, what);
    }
    if (!prop.IsWritable()) Fail(line, what + " is read-only");
    Guard(line, what, [&] {
        if (IsOrdinalKind(kind) && value.kind == TKind::Integer) {
            SetInt64Prop(&object, &prop, value.integer);
        } else if ((kind == tkChar || kind == tkWChar) && value.kind == TKind::String) {
            SetPropText(&object, &prop, value.text);
        } else if ((kind == tkInteger || kind == tkInt64) && value.kind == TKind::Ident) {
            // Named integer types take their identifiers (clRed, crHourGlass).
            if (FindIdentToInt(type) == nullptr) invalid();
            SetPropText(&object, &prop, value.text);
        } else if (kind == tkEnumeration && value.kind == TKind::Ident) {
            SetEnumProp(&object, &prop, value.text);
        } else if (kind == tkSet && value.kind == TKind::Set) {
            std::string elements;
            for (const std::string& name : value.names)
                elements += (elements.empty() ? "" : ",") + name;
            SetSetProp(&object, &prop, "[" + elements + "]");
        } else if (kind == tkFloat && value.kind == TKind::Integer) {
            SetFloatProp(&object, &prop, static_cast<double>(value.integer));
        } else if (kind == tkFloat && value.kind == TKind::Float) {
            SetFloatProp(&object, &prop, value.number);
        } else if ((kind == tkString || kind == tkLString || kind == tkWString) &&
                   value.kind == TKind::String) {
            SetStrProp(&object, &prop, value.text);
        } else {
            invalid();
        }
    });
}

// A component by name (found now, or at the end of the description when it comes later), or
// nil.
void TDescriptionReader::SetReference(TObject& object, const TPropInfo& prop, TComponent& holder,
                                      const TDescValue& value, const std::string& what) {
    const TClass cls = prop.PropType()->ClassType();
    if (cls == nullptr || !cls->InheritsFrom(TComponent::StaticClass()))
        Fail(value.line,
             what + ": " + value.text + " is no value of type " + prop.PropType()->Name());
    if (!prop.IsWritable()) Fail(value.line, what + " is read-only");
    if (SameText(value.text, "nil")) {
        Guard(value.line, what, [&] { SetObjectProp(&object, &prop, nullptr); });
        return;
    }
    if (value.text.find('.') != std::string::npos)
        Fail(value.line,
             what + ": components of other forms (" + value.text + ") cannot be referred to");
    if (TComponent* component = Lookup(value.text)) {
        Guard(value.line, what, [&] { SetObjectProp(&object, &prop, component); });
        return;
    }
    fixups_.push_back(TFixup{&object, &prop, &holder, value.text, what, value.line});
}

// Event = method: a published method of the root (the form), whose parameters fit the event.
void TDescriptionReader::SetEvent(TObject& object, const TPropInfo& prop, const TDescValue& value,
                                  const std::string& what) {
    if (!prop.IsWritable()) Fail(value.line, what + " is read-only");
    if (SameText(value.text, "nil")) {
        Guard(value.line, what, [&] { SetMethodProp(&object, &prop, TMethod{}); });
        return;
    }
    const TMethod method = MethodOf(&root_, value.text);
    if (method.Code == nullptr)
        Fail(value.line,
             what + ": " + root_.ClassName() + " has no published method " + value.text);
    Guard(value.line, what, [&] { SetMethodProp(&object, &prop, method); });
}

void TDescriptionReader::SetStrings(TObject& object, const TDescValue& value,
                                    const std::string& what) {
    auto* strings = dynamic_cast<TStrings*>(&object);
    if (strings == nullptr) Fail(value.line, what + " is no string list");
    if (value.kind != TKind::List) Fail(value.line, what + ": a string list ( ... ) is expected");
    for (const TDescValue& item : value.items)
        if (item.kind != TKind::String)
            Fail(item.line, what + ": a string list holds strings only, not " + ValueText(item));
    Guard(value.line, what, [&] {
        strings->BeginUpdate();
        try {
            strings->Clear();
            for (const TDescValue& item : value.items)
                strings->Add(item.text);
        } catch (...) {
            strings->EndUpdate();
            throw;
        }
        strings->EndUpdate();
    });
}

// < item ... end >: the collection gets exactly these items.
void TDescriptionReader::SetCollection(TObject& object, TComponent& holder, const TDescValue& value,
                                       const std::string& what) {
    auto* collection = dynamic_cast<TCollection*>(&object);
    if (collection == nullptr) Fail(value.line, what + " is no collection");
    // References waiting for items about to go are dropped with them.
    std::erase_if(fixups_, [&](const TFixup& fixup) {
        const auto* item = dynamic_cast<const TCollectionItem*>(fixup.target);
        return item != nullptr && item->Collection() == collection;
    });
    Guard(value.line, what, [&] { collection->Clear(); });
    for (std::size_t i = 0; i < value.elements.size(); ++i) {
        const TDescItem& element = value.elements[i];
        TCollectionItem* item = nullptr;
        Guard(element.line, what, [&] { item = collection->Add(); });
        const std::string prefix = what + "[" + std::to_string(i) + "]";
        for (const TDescProperty& property : element.properties)
            SetProperty(*item, holder, property, prefix);
    }
}

}  // namespace kv
