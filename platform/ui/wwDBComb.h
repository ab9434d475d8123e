// The data-aware combo box of the suite's grid pack (TwwDBCustomComboBox, TwwDBComboBox): a
// combo box bound to a field (DataSource, DataField). It shows the field of the current record
// and writes what the user picks or types into it (the data set goes into the edit state by
// itself when the data source's AutoEdit allows, else the combo box shows the field again).
// With MapList the items are "display<TAB>value": the combo box shows the display part and the
// field holds the value part.
#pragma once

#include <string>

#include "platform/ui/DB.h"
#include "platform/ui/StdCtrls.h"

namespace kv {

class TwwDBCustomComboBox : public TCustomComboBox {
    KV_CLASS(TwwDBCustomComboBox, TCustomComboBox)
public:
    explicit TwwDBCustomComboBox(TComponent* owner);
    ~TwwDBCustomComboBox() override;

    TDataSource* DataSource() const { return link_.DataSource(); }
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const { return link_.FieldName(); }
    void SetDataField(const std::string& name) { link_.SetFieldName(name); }
    // The field the combo box shows, or null (no data set open, no such field).
    TField* Field() const { return link_.Field(); }
    bool MapList() const { return mapList_; }
    void SetMapList(bool value);
    bool ReadOnly() const { return link_.ReadOnly(); }
    void SetReadOnly(bool value) { link_.SetReadOnly(value); }
    // The part of an item before its first tab character, and the part after it ("" without).
    static std::string DisplayPart(const std::string& item);
    static std::string ValuePart(const std::string& item);
    // What the field gets for the current choice or text.
    std::string FieldText() const;

    void Change() override;
    void Select() override;
    // With MapList a user picks an item by its display part.
    bool SelectItemByUser(const std::string& item) override;

protected:
    std::string GetTextValue() const override;
    void DoExit() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DataChange(TObject* sender);
    void UpdateData(TObject* sender);
    bool StartEdit();

    TFieldDataLink link_;
    bool mapList_ = false;
    bool showing_ = false;  // the field's value is being shown: no edit follows
};

class TwwDBComboBox : public TwwDBCustomComboBox {
    KV_CLASS(TwwDBComboBox, TwwDBCustomComboBox)
public:
    explicit TwwDBComboBox(TComponent* owner) : TwwDBCustomComboBox(owner) {}
};

}  // namespace kv
