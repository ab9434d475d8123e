#include "platform/ui/wwDBComb.h"

#include "platform/ui/Widgetset.h"

namespace kv {

KV_PUBLISHED(TwwDBCustomComboBox) {}
KV_PUBLISHED(TwwDBComboBox) {
    b.Property("Style", &T::Style, &T::SetStyle).Default(csDropDown);
    PublishControlMembers(b, "Align Anchors Color");
    b.Property("DataField", &T::DataField, &T::SetDataField);
    b.Property("DataSource", &T::DataSource, &T::SetDataSource);
    b.Property("DropDownCount", &T::DropDownCount, &T::SetDropDownCount).Default(8);
    PublishControlMembers(b, "Enabled Font");
    b.Property("ItemHeight", &T::ItemHeight, &T::SetItemHeight);
    b.Property("Items", &T::Items, &T::SetItems);
    b.Property("MapList", &T::MapList, &T::SetMapList).Default(0);
    b.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Default(0);
    PublishControlMembers(b, "ParentColor ParentFont ParentShowHint PopupMenu");
    b.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(0);
    PublishControlMembers(b, "ShowHint");
    b.Property("Sorted", &T::Sorted, &T::SetSorted).Default(0);
    PublishControlMembers(b, "TabOrder TabStop Visible");
    b.Event("OnChange", &T::OnChange);
    PublishControlMembers(b, "OnClick");
    b.Event("OnCloseUp", &T::OnCloseUp);
    PublishControlMembers(b, "OnDblClick");
    b.Event("OnDropDown", &T::OnDropDown);
    PublishControlMembers(b, "OnEnter OnExit OnKeyDown OnKeyPress OnKeyUp");
}
KV_REGISTER_CLASS(TwwDBComboBox);

TwwDBCustomComboBox::TwwDBCustomComboBox(TComponent* owner) : TCustomComboBox(owner) {
    link_.OnDataChange = TNotifyEvent(this, &TwwDBCustomComboBox::DataChange);
    link_.OnUpdateData = TNotifyEvent(this, &TwwDBCustomComboBox::UpdateData);
}

TwwDBCustomComboBox::~TwwDBCustomComboBox() {
    link_.OnDataChange = TNotifyEvent();
    link_.OnUpdateData = TNotifyEvent();
}

void TwwDBCustomComboBox::SetDataSource(TDataSource* source) {
    if (link_.DataSource() != nullptr) link_.DataSource()->RemoveFreeNotification(this);
    link_.SetDataSource(source);
    if (source != nullptr) source->FreeNotification(this);
}

void TwwDBCustomComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == opRemove && component == link_.DataSource()) link_.SetDataSource(nullptr);
}

void TwwDBCustomComboBox::SetMapList(bool value) {
    mapList_ = value;
    UpdatePeer(TPeerChange::Text);
}

std::string TwwDBCustomComboBox::DisplayPart(const std::string& item) {
    return item.substr(0, item.find('\t'));
}

std::string TwwDBCustomComboBox::ValuePart(const std::string& item) {
    const std::size_t tab = item.find('\t');
    return tab == std::string::npos ? std::string() : item.substr(tab + 1);
}

std::string TwwDBCustomComboBox::GetTextValue() const {
    if (mapList_ && ItemIndex() >= 0) return DisplayPart(Items()->Strings(ItemIndex()));
    return TCustomComboBox::GetTextValue();
}

std::string TwwDBCustomComboBox::FieldText() const {
    if (mapList_ && ItemIndex() >= 0) return ValuePart(Items()->Strings(ItemIndex()));
    return TCustomComboBox::GetTextValue();
}

// Shows the field of the current record: the item whose value (or text) it holds, else the
// text itself.
void TwwDBCustomComboBox::DataChange(TObject*) {
    showing_ = true;
    try {
        const TField* field = link_.Field();
        const std::string text = field != nullptr ? field->Text() : std::string();
        int index = -1;
        for (int i = 0; i < Items()->Count() && index < 0 && field != nullptr; ++i) {
            const std::string& item = Items()->Strings(i);
            if ((mapList_ ? ValuePart(item) : item) == text) index = i;
        }
        if (index >= 0 || IsListStyle()) {
            SetItemIndex(index);
        } else {
            SetItemIndex(-1);
            SetText(text);
        }
    } catch (...) {
        showing_ = false;
        throw;
    }
    showing_ = false;
}

void TwwDBCustomComboBox::UpdateData(TObject*) {
    if (TField* field = link_.Field()) field->SetText(FieldText());
}

// The user changed the choice: the data set must edit, else the field is shown again. Going
// into the edit state shows the field again, so the user's choice is put back afterwards.
bool TwwDBCustomComboBox::StartEdit() {
    if (showing_ || link_.DataSource() == nullptr) return true;
    const int index = ItemIndex();
    const std::string text = TCustomComboBox::GetTextValue();
    if (!link_.CanModify() || !link_.Edit()) {
        link_.Reset();
        return false;
    }
    showing_ = true;
    if (index >= 0) {
        SetItemIndex(index);
    } else {
        SetText(text);
    }
    showing_ = false;
    link_.Modified();
    return true;
}

void TwwDBCustomComboBox::Change() {
    if (StartEdit()) TCustomComboBox::Change();
}

void TwwDBCustomComboBox::Select() {
    if (!StartEdit()) return;
    // A pick is written at once, as the pack's combo boxes do.
    if (!showing_) link_.UpdateRecord();
    TCustomComboBox::Select();
}

bool TwwDBCustomComboBox::SelectItemByUser(const std::string& item) {
    if (mapList_) {
        for (int i = 0; i < Items()->Count(); ++i)
            if (DisplayPart(Items()->Strings(i)) == item) return SelectIndexByUser(i);
    }
    return TCustomComboBox::SelectItemByUser(item);
}

void TwwDBCustomComboBox::DoExit() {
    link_.UpdateRecord();
    TCustomComboBox::DoExit();
}

}  // namespace kv
