// TField and the typed fields.
#include <algorithm>
#include <cmath>

#include "platform/core/SysUtils.h"
#include "platform/ui/DB.h"

namespace kv {

KV_PUBLISHED(TField) {
    b.Property("DisplayLabel", &T::DisplayLabel, &T::SetDisplayLabel);
    b.Property("DisplayWidth", &T::DisplayWidth, &T::SetDisplayWidth);
    b.Property("FieldName", &T::FieldName, &T::SetFieldName);
    b.Property("Index", &T::Index, &T::SetIndex).Stored(false);
    b.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(0);
    b.Property("Required", &T::Required, &T::SetRequired).Default(0);
    b.Property("Visible", &T::Visible, &T::SetVisible).Default(1);
    b.Event("OnChange", &T::OnChange);
    b.Event("OnGetText", &T::OnGetText);
    b.Event("OnSetText", &T::OnSetText);
    b.Event("OnValidate", &T::OnValidate);
}
KV_PUBLISHED(TStringField) {
    b.Property("Size", &T::Size, &T::SetSize).Default(20);
}
KV_PUBLISHED(TWideStringField) {}
KV_PUBLISHED(TIntegerField) {}
KV_PUBLISHED(TLargeintField) {}
KV_PUBLISHED(TFloatField) {}
KV_PUBLISHED(TBooleanField) {}
KV_PUBLISHED(TDateTimeField) {}
KV_PUBLISHED(TBlobField) {
    b.Property("Size", &T::Size, &T::SetSize).Default(0);
}
KV_PUBLISHED(TMemoField) {}

KV_REGISTER_CLASS(TStringField);
KV_REGISTER_CLASS(TWideStringField);
KV_REGISTER_CLASS(TIntegerField);
KV_REGISTER_CLASS(TLargeintField);
KV_REGISTER_CLASS(TFloatField);
KV_REGISTER_CLASS(TBooleanField);
KV_REGISTER_CLASS(TDateTimeField);
KV_REGISTER_CLASS(TBlobField);
KV_REGISTER_CLASS(TMemoField);

TField::TField(TComponent* owner, TFieldType type) : TComponent(owner), dataType_(type) {}

TField::~TField() {
    if (dataSet_ != nullptr) dataSet_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if ((dataSet_ != nullptr && dataSet_->Active()) || (dataSet != nullptr && dataSet->Active()))
        throw EDatabaseError("Cannot perform this operation on an open dataset");
    if (dataSet_ != nullptr) dataSet_->RemoveField(this);
    if (dataSet != nullptr) dataSet->AddField(this);
}

void TField::SetParentComponent(TComponent* parent) {
    auto* dataSet = dynamic_cast<TDataSet*>(parent);
    if (dataSet == nullptr)
        throw EDatabaseError("Field '" + Name() + "' belongs in a data set, not in a " +
                             (parent == nullptr ? std::string("nil") : parent->ClassName()));
    SetDataSet(dataSet);
}

TComponent* TField::GetParentComponent() const {
    return dataSet_;
}

void TField::SetFieldName(const std::string& name) {
    if (dataSet_ != nullptr && dataSet_->Active())
        throw EDatabaseError("Cannot perform this operation on an open dataset");
    fieldName_ = name;
}

void TField::SetSize(int size) {
    if (dataSet_ != nullptr && dataSet_->Active())
        throw EDatabaseError("Cannot perform this operation on an open dataset");
    if (size < 0) throw EDatabaseError("Invalid field size " + IntToStr(size));
    size_ = size;
}

int TField::Index() const {
    if (dataSet_ == nullptr) return -1;
    const auto& fields = dataSet_->fields_;
    return static_cast<int>(std::find(fields.begin(), fields.end(), this) - fields.begin());
}

void TField::SetIndex(int index) {
    if (dataSet_ == nullptr) return;
    auto& fields = dataSet_->fields_;
    const int count = static_cast<int>(fields.size());
    index = std::clamp(index, 0, count - 1);
    std::erase(fields, this);
    fields.insert(fields.begin() + index, this);
    dataSet_->DataEvent(deLayoutChange);
}

Variant TField::Value() const {
    if (dataSet_ == nullptr) throw EDatabaseError("Field '" + DisplayName() + "' has no dataset");
    return dataSet_->GetFieldValue(*this);
}

void TField::SetValue(const Variant& value) {
    if (dataSet_ == nullptr) throw EDatabaseError("Field '" + DisplayName() + "' has no dataset");
    if (readOnly_) throw EDatabaseError("Field '" + DisplayName() + "' cannot be modified");
    const Variant converted = value.IsNull() || value.IsEmpty() ? Variant::Null() : Convert(value);
    OnValidate(this);
    dataSet_->SetFieldValue(*this, converted);
    OnChange(this);
}

bool TField::IsNull() const {
    const Variant value = Value();
    return value.IsNull() || value.IsEmpty();
}

std::string TField::AsString() const {
    return VarToStr(Value());
}

int TField::AsInteger() const {
    const Variant value = Value();
    return value.IsNull() ? 0 : value.AsInteger();
}

double TField::AsFloat() const {
    const Variant value = Value();
    return value.IsNull() ? 0.0 : value.AsDouble();
}

bool TField::AsBoolean() const {
    const Variant value = Value();
    return value.IsNull() ? false : value.AsBoolean();
}

double TField::AsDateTime() const {
    const Variant value = Value();
    return value.IsNull() ? 0.0 : value.AsDate();
}

std::string TField::GetText(bool displayText) const {
    std::string text;
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), text, displayText);
        return text;
    }
    return AsString();
}

void TField::SetText(const std::string& text) {
    if (OnSetText) {
        OnSetText(this, text);
        return;
    }
    SetAsString(text);
}

Variant TField::Convert(const Variant& value) const {
    return value;
}

void TField::InvalidValue(const Variant& value, const char* kind) const {
    throw EDatabaseError("'" + VarToStr(value) + "' is not a valid " + kind + " value for field '" +
                         DisplayName() + "'");
}

TStringField::TStringField(TComponent* owner) : TField(owner, ftString) {
    SetSize(20);
}

Variant TStringField::Convert(const Variant& value) const {
    return Variant(VarToStr(value));
}

TWideStringField::TWideStringField(TComponent* owner) : TStringField(owner) {
    SetDataType(ftWideString);
}

TIntegerField::TIntegerField(TComponent* owner) : TField(owner, ftInteger) {}

Variant TIntegerField::Convert(const Variant& value) const {
    int result = 0;
    if (VarIsStr(value)) {
        if (!TryStrToInt(Trim(value.AsString()), result)) InvalidValue(value, "integer");
        return Variant(result);
    }
    try {
        const double number = value.AsDouble();
        if (!std::isfinite(number) || number != std::trunc(number) || number < -2147483648.0 ||
            number > 2147483647.0)
            InvalidValue(value, "integer");
        return Variant(static_cast<int>(number));
    } catch (const EVariantError&) {
        InvalidValue(value, "integer");
    }
}

TLargeintField::TLargeintField(TComponent* owner) : TField(owner, ftLargeint) {}

Variant TLargeintField::Convert(const Variant& value) const {
    std::int64_t result = 0;
    if (VarIsStr(value)) {
        if (!TryStrToInt64(Trim(value.AsString()), result)) InvalidValue(value, "integer");
        return Variant(static_cast<long long>(result));
    }
    try {
        return Variant(static_cast<long long>(value.AsInt64()));
    } catch (const EVariantError&) {
        InvalidValue(value, "integer");
    }
}

TFloatField::TFloatField(TComponent* owner) : TField(owner, ftFloat) {}

Variant TFloatField::Convert(const Variant& value) const {
    double result = 0;
    if (VarIsStr(value)) {
        if (!TryStrToFloat(Trim(value.AsString()), result)) InvalidValue(value, "floating point");
        return Variant(result);
    }
    try {
        return Variant(value.AsDouble());
    } catch (const EVariantError&) {
        InvalidValue(value, "floating point");
    }
}

TBooleanField::TBooleanField(TComponent* owner) : TField(owner, ftBoolean) {}

std::string TBooleanField::AsString() const {
    if (IsNull()) return {};
    return AsBoolean() ? "True" : "False";
}

Variant TBooleanField::Convert(const Variant& value) const {
    try {
        return Variant(value.AsBoolean());
    } catch (const EConvertError&) {
        InvalidValue(value, "Boolean");
    } catch (const EVariantError&) {
        InvalidValue(value, "Boolean");
    }
}

TDateTimeField::TDateTimeField(TComponent* owner) : TField(owner, ftDateTime) {}

Variant TDateTimeField::Convert(const Variant& value) const {
    if (VarIsStr(value)) {
        TDateTime result = 0;
        if (!TryStrToDateTime(Trim(value.AsString()), result)) InvalidValue(value, "date and time");
        return Variant::Date(result);
    }
    try {
        return Variant::Date(value.AsDate());
    } catch (const EVariantError&) {
        InvalidValue(value, "date and time");
    }
}

TBlobField::TBlobField(TComponent* owner) : TField(owner, ftBlob) {}

Variant TBlobField::Convert(const Variant& value) const {
    return Variant(VarToStr(value));
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner) {
    SetDataType(ftMemo);
}

TClass FieldClassOf(TFieldType type) {
    switch (type) {
        case ftString:
        case ftFixedChar:
            return TStringField::StaticClass();
        case ftWideString:
            return TWideStringField::StaticClass();
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
            return TIntegerField::StaticClass();
        case ftLargeint:
            return TLargeintField::StaticClass();
        case ftFloat:
        case ftCurrency:
        case ftBCD:
            return TFloatField::StaticClass();
        case ftBoolean:
            return TBooleanField::StaticClass();
        case ftDate:
        case ftTime:
        case ftDateTime:
            return TDateTimeField::StaticClass();
        case ftMemo:
        case ftFmtMemo:
            return TMemoField::StaticClass();
        case ftBlob:
        case ftBytes:
        case ftVarBytes:
        case ftGraphic:
        case ftTypedBinary:
            return TBlobField::StaticClass();
        default:
            return TStringField::StaticClass();
    }
}

}  // namespace kv
