// TDataSource and the data links of data-aware controls.
#include <algorithm>

#include "platform/ui/DB.h"

namespace kv {

KV_PUBLISHED(TDataSource) {
    b.Property("AutoEdit", &T::AutoEdit, &T::SetAutoEdit).Default(1);
    b.Property("DataSet", &T::DataSet, &T::SetDataSet);
    b.Property("Enabled", &T::Enabled, &T::SetEnabled).Default(1);
    b.Event("OnStateChange", &T::OnStateChange);
    b.Event("OnDataChange", &T::OnDataChange);
    b.Event("OnUpdateData", &T::OnUpdateData);
}
KV_REGISTER_CLASS(TDataSource);
KV_PUBLISHED(TDataLink) {}
KV_PUBLISHED(TFieldDataLink) {}

namespace {

// The owner (the form) is being destroyed: its handlers must not be called any more.
bool OwnerGoing(const TComponent& component) {
    return component.Owner() != nullptr &&
           component.Owner()->ComponentState().Contains(csDestroying);
}

}  // namespace

// The linked controls hear that the data source went, unless the whole form goes.
TDataSource::~TDataSource() {
    if (dataSet_ != nullptr) dataSet_->RemoveDataSource(this);
    dataSet_ = nullptr;
    const bool quiet = OwnerGoing(*this);
    const std::vector<TDataLink*> copy = links_;
    for (TDataLink* link : copy) {
        link->dataSource_ = nullptr;
        if (quiet) {
            link->active_ = link->editing_ = false;
        } else {
            link->UpdateState();
        }
    }
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if (dataSet_ != nullptr) {
        dataSet_->RemoveDataSource(this);
        dataSet_->RemoveFreeNotification(this);
    }
    dataSet_ = dataSet;
    if (dataSet_ != nullptr) {
        dataSet_->AddDataSource(this);
        dataSet_->FreeNotification(this);
    }
    DataEvent(deUpdateState, nullptr);
    DataEvent(deDataSetChange, nullptr);
}

void TDataSource::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    NotifyLinks(deUpdateState, nullptr);
    if (enabled_) NotifyLinks(deDataSetChange, nullptr);
}

TDataSetState TDataSource::State() const {
    return dataSet_ != nullptr && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::Edit() {
    if (autoEdit_ && State() == dsBrowse) dataSet_->Edit();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == dataSet_) {
        dataSet_ = nullptr;
        DataEvent(deUpdateState, nullptr);
    }
}

void TDataSource::DataEvent(TDataEvent event, TField* field) {
    if (!enabled_ || OwnerGoing(*this)) return;
    switch (event) {
        case deUpdateState:
            if (State() != lastState_) {
                lastState_ = State();
                OnStateChange(this);
            }
            break;
        case deFieldChange:
        case deRecordChange:
            OnDataChange(this, field);
            break;
        case deDataSetChange:
        case deDataSetScroll:
        case deLayoutChange:
            OnDataChange(this, nullptr);
            break;
        case deUpdateRecord:
            OnUpdateData(this);
            break;
        default:
            break;
    }
    NotifyLinks(event, field);
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field) {
    // A handler may unlink controls; only links still present hear the event.
    const std::vector<TDataLink*> copy = links_;
    for (TDataLink* link : copy)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->DataEvent(event, field);
}

// ---- TDataLink

TDataLink::~TDataLink() {
    if (dataSource_ != nullptr) std::erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == dataSource_) return;
    if (dataSource_ != nullptr) std::erase(dataSource_->links_, this);
    dataSource_ = source;
    if (dataSource_ != nullptr) dataSource_->links_.push_back(this);
    UpdateState();
    if (active_) DataSetChanged();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

bool TDataLink::Edit() {
    if (!readOnly_ && dataSource_ != nullptr) dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateState() {
    const TDataSetState state = dataSource_ != nullptr ? dataSource_->State() : dsInactive;
    const bool active = state != dsInactive;
    const bool editing = !readOnly_ && (state == dsEdit || state == dsInsert);
    if (active != active_) {
        active_ = active;
        ActiveChanged();
    }
    if (editing != editing_) {
        editing_ = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent event, TField* field) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_) return;
    switch (event) {
        case deFieldChange:
        case deRecordChange:
            RecordChanged(field);
            break;
        case deDataSetChange:
            DataSetChanged();
            break;
        case deDataSetScroll:
            DataSetScrolled();
            break;
        case deLayoutChange:
            LayoutChanged();
            break;
        case deUpdateRecord:
            UpdateData();
            break;
        default:
            break;
    }
}

// ---- TFieldDataLink

void TFieldDataLink::SetFieldName(const std::string& name) {
    if (name == fieldName_) return;
    fieldName_ = name;
    UpdateField();
}

void TFieldDataLink::UpdateField() {
    TDataSet* dataSet = DataSet();
    field_ = Active() && dataSet != nullptr && !fieldName_.empty() ? dataSet->FindField(fieldName_)
                                                                   : nullptr;
    modified_ = false;
    OnDataChange(this);
}

void TFieldDataLink::Reset() {
    modified_ = false;
    OnDataChange(this);
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && field_ != nullptr && !field_->ReadOnly();
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() {
    OnEditingChange(this);
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (field != nullptr && field != field_) return;
    modified_ = false;
    OnDataChange(this);
}

void TFieldDataLink::UpdateData() {
    if (!modified_) return;
    if (field_ != nullptr) OnUpdateData(this);
    modified_ = false;
}

}  // namespace kv
