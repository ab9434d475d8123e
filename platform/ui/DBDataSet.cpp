// TDataSet: state, cursor, edit buffer, fields and the notifications of data sources.
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/ui/DB.h"

namespace kv {

KV_PUBLISHED(TDataSet) {
    b.Property("Active", &T::Active, &T::SetActive).Default(0);
    b.Event("BeforeOpen", &T::BeforeOpen);
    b.Event("AfterOpen", &T::AfterOpen);
    b.Event("BeforeClose", &T::BeforeClose);
    b.Event("AfterClose", &T::AfterClose);
    b.Event("BeforeInsert", &T::BeforeInsert);
    b.Event("AfterInsert", &T::AfterInsert);
    b.Event("BeforeEdit", &T::BeforeEdit);
    b.Event("AfterEdit", &T::AfterEdit);
    b.Event("BeforePost", &T::BeforePost);
    b.Event("AfterPost", &T::AfterPost);
    b.Event("BeforeCancel", &T::BeforeCancel);
    b.Event("AfterCancel", &T::AfterCancel);
    b.Event("BeforeDelete", &T::BeforeDelete);
    b.Event("AfterDelete", &T::AfterDelete);
    b.Event("BeforeScroll", &T::BeforeScroll);
    b.Event("AfterScroll", &T::AfterScroll);
    b.Event("OnNewRecord", &T::OnNewRecord);
}

namespace {

// The owner (the form) is being destroyed: its handlers must not be called any more.
bool OwnerGoing(const TComponent& component) {
    return component.Owner() != nullptr &&
           component.Owner()->ComponentState().Contains(csDestroying);
}

}  // namespace

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

// The storage of the derived class is gone already: no Close. The data sources hear that the
// data set went, unless the whole form goes.
TDataSet::~TDataSet() {
    state_ = dsInactive;
    const bool quiet = OwnerGoing(*this);
    const std::vector<TDataSource*> copy = dataSources_;
    for (TDataSource* source : copy) {
        source->dataSet_ = nullptr;
        if (!quiet) source->DataEvent(deUpdateState, nullptr);
    }
    dataSources_.clear();
    FreeDynamicFields();
    for (TField* field : fields_) {
        field->dataSet_ = nullptr;
        field->column_ = -1;
    }
    fields_.clear();
}

void TDataSet::DatabaseError(const std::string& message) const {
    throw EDatabaseError(Name().empty() ? message : Name() + ": " + message);
}

void TDataSet::CheckActive() const {
    if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset");
}

// ---- opening

void TDataSet::SetActive(bool value) {
    if (ComponentState().Contains(csLoading)) {
        streamedActive_ = value;
        return;
    }
    if (value == Active()) return;
    if (value) {
        DoOpen();
    } else {
        DoClose();
    }
}

void TDataSet::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

void TDataSet::DoOpen() {
    BeforeOpen(this);
    const std::vector<TColumn> columns = InternalOpen();
    try {
        BindFields(columns);
    } catch (...) {
        InternalClose();
        FreeDynamicFields();
        throw;
    }
    columnCount_ = static_cast<int>(columns.size());
    current_ = RowCount() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = RowCount() == 0;
    modified_ = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    AfterOpen(this);
    AfterScroll(this);
}

void TDataSet::DoClose() {
    BeforeClose(this);
    buffer_.clear();
    InternalClose();
    current_ = -1;
    bof_ = eof_ = true;
    SetState(dsInactive);
    FreeDynamicFields();
    for (TField* field : fields_)
        field->column_ = -1;
    DataEvent(deDataSetChange);
    AfterClose(this);
}

// Persistent fields take their columns by name; without persistent fields every column gets a
// field of its type, owned by the data set.
void TDataSet::BindFields(const std::vector<TColumn>& columns) {
    const auto columnOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (SameText(columns[i].name, name)) return static_cast<int>(i);
        return -1;
    };
    if (fields_.empty()) {
        for (const TColumn& column : columns) {
            TField* field = dynamic_cast<TField*>(FieldClassOf(column.type)->CreateComponent(this));
            field->dynamic_ = true;
            field->fieldName_ = column.name;
            if (column.size > 0) field->size_ = column.size;
            field->required_ = column.required;
            AddField(field);
        }
    }
    for (TField* field : fields_) {
        const int column = columnOf(field->FieldName());
        if (column < 0) DatabaseError("Field '" + field->FieldName() + "' not found");
        field->column_ = column;
    }
}

void TDataSet::FreeDynamicFields() {
    std::vector<TField*> doomed;
    for (TField* field : fields_)
        if (field->dynamic_) doomed.push_back(field);
    for (TField* field : doomed)
        field->Free();
}

void TDataSet::AddField(TField* field) {
    fields_.push_back(field);
    field->dataSet_ = this;
    if (Active()) DataEvent(deLayoutChange);
}

void TDataSet::RemoveField(TField* field) {
    std::erase(fields_, field);
    field->dataSet_ = nullptr;
    field->column_ = -1;
    if (Active()) DataEvent(deLayoutChange);
}

void TDataSet::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (auto* source = dynamic_cast<TDataSource*>(component)) std::erase(dataSources_, source);
}

// ---- fields

TField* TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        DatabaseError("Field index out of range (" + IntToStr(index) + ")");
    return fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) const {
    for (TField* field : fields_)
        if (SameText(field->FieldName(), name)) return field;
    return nullptr;
}

TField* TDataSet::FieldByName(std::string_view name) const {
    TField* field = FindField(name);
    if (field == nullptr) DatabaseError("Field '" + std::string(name) + "' not found");
    return field;
}

Variant TDataSet::GetFieldValue(const TField& field) const {
    CheckActive();
    if (field.column_ < 0) return Variant::Null();
    const auto column = static_cast<std::size_t>(field.column_);
    if (state_ == dsEdit || state_ == dsInsert) return buffer_[column];
    if (current_ < 0) return Variant::Null();
    return RowValue(current_, field.column_);
}

void TDataSet::SetFieldValue(TField& field, const Variant& value) {
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert) DatabaseError("Dataset not in edit or insert mode");
    if (field.column_ < 0) DatabaseError("Field '" + field.FieldName() + "' has no column");
    buffer_[static_cast<std::size_t>(field.column_)] = value;
    modified_ = true;
    DataEvent(deFieldChange, &field);
}

// ---- cursor

int TDataSet::RecordCount() const {
    return Active() ? RowCount() : 0;
}

int TDataSet::RecNo() const {
    if (state_ == dsInsert) return -1;
    return current_ + 1;
}

void TDataSet::SetRecNo(int value) {
    CheckActive();
    if (value < 1 || value > RowCount()) return;
    MoveBy(value - 1 - current_);
}

void TDataSet::First() {
    CheckActive();
    CheckBrowseMode();
    BeforeScroll(this);
    current_ = RowCount() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = RowCount() == 0;
    DataEvent(deDataSetScroll);
    AfterScroll(this);
}

void TDataSet::Last() {
    CheckActive();
    CheckBrowseMode();
    BeforeScroll(this);
    current_ = RowCount() - 1;
    eof_ = true;
    bof_ = RowCount() == 0;
    DataEvent(deDataSetScroll);
    AfterScroll(this);
}

int TDataSet::MoveBy(int distance) {
    CheckActive();
    CheckBrowseMode();
    const int count = RowCount();
    if (count == 0 || distance == 0) {
        bof_ = distance < 0 || count == 0;
        eof_ = distance > 0 || count == 0;
        return 0;
    }
    BeforeScroll(this);
    const int target = std::clamp(current_ + distance, 0, count - 1);
    const int moved = target - current_;
    bof_ = distance < 0 && moved != distance;
    eof_ = distance > 0 && moved != distance;
    current_ = target;
    if (moved != 0) DataEvent(deDataSetScroll);
    AfterScroll(this);
    return moved;
}

void TDataSet::MoveTo(int row) {
    CheckActive();
    CheckBrowseMode();
    if (row < 0 || row >= RowCount()) return;
    BeforeScroll(this);
    current_ = row;
    bof_ = eof_ = false;
    DataEvent(deDataSetScroll);
    AfterScroll(this);
}

void TDataSet::Resync(int row) {
    current_ = RowCount() == 0 ? -1 : std::clamp(row, 0, RowCount() - 1);
    bof_ = eof_ = false;
    DataEvent(deDataSetChange);
}

// ---- editing

void TDataSet::CheckHasRecord() const {
    if (current_ < 0) DatabaseError("Cannot perform this operation on an empty dataset");
}

void TDataSet::StartEdit(TDataSetState state, int insertAt) {
    buffer_.assign(static_cast<std::size_t>(columnCount_), Variant::Null());
    if (state == dsEdit) {
        for (int column = 0; column < columnCount_; ++column)
            buffer_[static_cast<std::size_t>(column)] = RowValue(current_, column);
    }
    insertAt_ = insertAt;
    modified_ = false;
    SetState(state);
}

void TDataSet::Edit() {
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert) return;
    CheckHasRecord();
    BeforeEdit(this);
    StartEdit(dsEdit, -1);
    DataEvent(deRecordChange);
    AfterEdit(this);
}

void TDataSet::Insert() {
    CheckActive();
    CheckBrowseMode();
    BeforeInsert(this);
    StartEdit(dsInsert, current_);
    OnNewRecord(this);
    modified_ = false;
    DataEvent(deDataSetChange);
    AfterInsert(this);
}

void TDataSet::Append() {
    CheckActive();
    CheckBrowseMode();
    BeforeInsert(this);
    StartEdit(dsInsert, -1);
    OnNewRecord(this);
    modified_ = false;
    DataEvent(deDataSetChange);
    AfterInsert(this);
}

void TDataSet::Post() {
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert) DatabaseError("Dataset not in edit or insert mode");
    // Controls write what they hold first.
    DataEvent(deUpdateRecord);
    BeforePost(this);
    for (const TField* field : fields_) {
        if (!field->Required() || field->column_ < 0) continue;
        const Variant& value = buffer_[static_cast<std::size_t>(field->column_)];
        if (value.IsNull() || value.IsEmpty())
            DatabaseError("Field '" + field->DisplayName() + "' must have a value");
    }
    const int row = InternalPost(state_ == dsEdit ? current_ : -1, insertAt_, buffer_);
    buffer_.clear();
    current_ = row;
    bof_ = eof_ = false;
    modified_ = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    AfterPost(this);
}

void TDataSet::Cancel() {
    if (state_ != dsEdit && state_ != dsInsert) return;
    BeforeCancel(this);
    buffer_.clear();
    modified_ = false;
    if (current_ >= RowCount()) current_ = RowCount() - 1;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    AfterCancel(this);
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    CheckHasRecord();
    BeforeDelete(this);
    if (state_ == dsEdit) {
        buffer_.clear();
        SetState(dsBrowse);
    }
    InternalDelete(current_);
    current_ = std::min(current_, RowCount() - 1);
    bof_ = false;
    eof_ = RowCount() == 0;
    DataEvent(deDataSetChange);
    AfterDelete(this);
    AfterScroll(this);
}

void TDataSet::AppendRecord(const std::vector<Variant>& values) {
    Append();
    try {
        for (std::size_t i = 0; i < values.size() && i < fields_.size(); ++i)
            fields_[i]->SetValue(values[i]);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (state_ == dsEdit || state_ == dsInsert) {
        if (modified_) {
            Post();
        } else {
            Cancel();
        }
    }
}

// ---- notifications

void TDataSet::SetState(TDataSetState state) {
    if (state == state_) return;
    state_ = state;
    DataEvent(deUpdateState);
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0 && pendingChange_) {
        pendingChange_ = false;
        DataEvent(deUpdateState);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::DataEvent(TDataEvent event, TField* field) {
    if (OwnerGoing(*this)) return;
    if (ControlsDisabled()) {
        pendingChange_ = true;
        return;
    }
    const std::vector<TDataSource*> copy = dataSources_;
    for (TDataSource* source : copy)
        if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
            source->DataEvent(event, field);
}

void TDataSet::AddDataSource(TDataSource* source) {
    dataSources_.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
    std::erase(dataSources_, source);
}

}  // namespace kv
