// The DB unit: data sets (TDataSet), their fields (TField and the typed fields), data sources
// (TDataSource) and data links (TDataLink, TFieldDataLink), the way data-aware controls and
// forms see a table of records.
//
// A data set has a current record and a state: inactive, browsing, editing or inserting. Edit,
// Insert and Append put the record into an edit buffer that the fields write; Post stores it,
// Cancel drops it; moving to another record posts pending edits first. Every change is told to
// the data sources bound to the data set, and through them to the data links of controls,
// unless the controls are disabled (DisableControls): then the data sources hear one
// data-set change when EnableControls ends the last disabling.
//
// Fields are components: persistent fields (created by a form description inside the data set
// or in code with SetDataSet) belong to the form; when a data set without persistent fields
// opens it creates one field per column of its storage and frees them on Close. Errors raise
// EDatabaseError with the platform's messages ("ClientDataSet1: Field 'X' not found").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Classes.h"
#include "platform/core/Variant.h"
#include "platform/ui/ChildComponent.h"

namespace kv {

class TDataSet;
class TDataSource;
class TDataLink;
class TField;

KV_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat,
        ftCurrency, ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob,
        ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor,
        ftFixedChar, ftWideString, ftLargeint);
KV_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey);
KV_ENUM(TDataEvent, deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
        deUpdateRecord, deUpdateState, deCheckBrowseMode);

KV_EVENT(TFieldNotifyEvent, void(TField* Sender));
KV_EVENT(TFieldGetTextEvent, void(TField* Sender, std::string& Text, bool DisplayText));
KV_EVENT(TFieldSetTextEvent, void(TField* Sender, const std::string& Text));
KV_EVENT(TDataSetNotifyEvent, void(TDataSet* DataSet));
KV_EVENT(TDataChangeEvent, void(TObject* Sender, TField* Field));

// One column of a data set's current record.
class TField : public TComponent, public IChildComponent {
    KV_CLASS(TField, TComponent)
public:
    explicit TField(TComponent* owner) : TField(owner, ftUnknown) {}
    // Leaves its data set.
    ~TField() override;

    TDataSet* DataSet() const { return dataSet_; }
    // Moves the field to another data set (null: none). Raises EDatabaseError while either
    // data set is open.
    void SetDataSet(TDataSet* dataSet);
    // A form description nests fields inside their data set.
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;
    bool HasParent() const override { return true; }

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The caption users see; the field name while none is set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
    std::string DisplayName() const { return DisplayLabel(); }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    void SetSize(int size);
    int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool Required() const { return required_; }
    void SetRequired(bool value) { required_ = value; }
    // The position among the data set's fields (-1 without data set).
    int Index() const;
    void SetIndex(int index);
    // The 1-based column of the storage while the data set is open, else 0.
    int FieldNo() const { return column_ + 1; }

    // The value in the current record (the edit buffer while editing); null on an empty data
    // set. Reading raises EDatabaseError on a closed data set; writing also outside the edit
    // and insert states, for a read-only field, and for a value the field's type refuses.
    Variant Value() const;
    void SetValue(const Variant& value);
    bool IsNull() const;
    void Clear() { SetValue(Variant::Null()); }
    virtual std::string AsString() const;
    void SetAsString(const std::string& value) { SetValue(Variant(value)); }
    int AsInteger() const;
    void SetAsInteger(int value) { SetValue(Variant(value)); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(Variant(value)); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value) { SetValue(Variant(value)); }
    double AsDateTime() const;
    void SetAsDateTime(double value) { SetValue(Variant::Date(value)); }

    // The text an edit shows (OnGetText with DisplayText false, else AsString) and the text a
    // grid or label shows (OnGetText with DisplayText true); setting the text goes through
    // OnSetText when assigned, else into AsString.
    std::string Text() const { return GetText(false); }
    void SetText(const std::string& text);
    std::string DisplayText() const { return GetText(true); }

    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;
    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;

protected:
    TField(TComponent* owner, TFieldType type);
    void SetDataType(TFieldType type) { dataType_ = type; }
    // The value as this field's type stores it; raises EDatabaseError for one it refuses.
    virtual Variant Convert(const Variant& value) const;
    virtual int DefaultWidth() const { return 10; }
    [[noreturn]] void InvalidValue(const Variant& value, const char* kind) const;

private:
    friend class TDataSet;

    std::string GetText(bool displayText) const;

    TDataSet* dataSet_ = nullptr;
    std::string fieldName_;
    std::string displayLabel_;
    TFieldType dataType_;
    int size_ = 0;
    int displayWidth_ = 0;
    bool visible_ = true;
    bool readOnly_ = false;
    bool required_ = false;
    int column_ = -1;       // the storage column while open
    bool dynamic_ = false;  // made by the data set on Open
};

class TStringField : public TField {
    KV_CLASS(TStringField, TField)
public:
    explicit TStringField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
    int DefaultWidth() const override { return Size(); }
};

class TWideStringField : public TStringField {
    KV_CLASS(TWideStringField, TStringField)
public:
    explicit TWideStringField(TComponent* owner);
};

class TIntegerField : public TField {
    KV_CLASS(TIntegerField, TField)
public:
    explicit TIntegerField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
    int DefaultWidth() const override { return 11; }
};

class TLargeintField : public TField {
    KV_CLASS(TLargeintField, TField)
public:
    explicit TLargeintField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
    int DefaultWidth() const override { return 15; }
};

class TFloatField : public TField {
    KV_CLASS(TFloatField, TField)
public:
    explicit TFloatField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
};

class TBooleanField : public TField {
    KV_CLASS(TBooleanField, TField)
public:
    explicit TBooleanField(TComponent* owner);
    std::string AsString() const override;

protected:
    Variant Convert(const Variant& value) const override;
    int DefaultWidth() const override { return 5; }
};

class TDateTimeField : public TField {
    KV_CLASS(TDateTimeField, TField)
public:
    explicit TDateTimeField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
    int DefaultWidth() const override { return 18; }
};

class TBlobField : public TField {
    KV_CLASS(TBlobField, TField)
public:
    explicit TBlobField(TComponent* owner);

protected:
    Variant Convert(const Variant& value) const override;
};

class TMemoField : public TBlobField {
    KV_CLASS(TMemoField, TBlobField)
public:
    explicit TMemoField(TComponent* owner);
};

// The field class for a column type (TStringField for ftString, ...).
TClass FieldClassOf(TFieldType type);

// A table of records with a current record. The storage (rows and columns) comes from the
// derived class (TClientDataSet); this class keeps the state, the cursor, the edit buffer,
// the fields and the notifications.
class TDataSet : public TComponent {
    KV_CLASS(TDataSet, TComponent)
public:
    explicit TDataSet(TComponent* owner);
    // Detaches fields and data sources; frees the fields made on Open.
    ~TDataSet() override;

    // ---- opening. Active set while loading from a form description opens in Loaded.
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return state_; }
    void Loaded() override;

    // ---- fields, in their order
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* Fields(int index) const;  // EDatabaseError when out of range
    TField* FindField(std::string_view name) const;
    TField* FieldByName(std::string_view name) const;  // EDatabaseError when absent
    Variant FieldValues(std::string_view name) const { return FieldByName(name)->Value(); }
    void SetFieldValues(std::string_view name, const Variant& value) {
        FieldByName(name)->SetValue(value);
    }

    // ---- the cursor. Moving posts pending edits first.
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves by distance records (clamped); answers how far it moved.
    int MoveBy(int distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    // The current record's number from 1; -1 while inserting, 0 on an empty data set.
    int RecNo() const;
    void SetRecNo(int value);
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }

    // ---- editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Appends a record with the values in field order (fewer values leave the rest null).
    void AppendRecord(const std::vector<Variant>& values);
    // Posts pending edits (the data set leaves the edit and insert states).
    void CheckBrowseMode();
    bool Modified() const { return modified_; }

    // ---- data-aware controls
    void DisableControls() { ++disableCount_; }
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    TDataSetNotifyEvent BeforeOpen;
    TDataSetNotifyEvent AfterOpen;
    TDataSetNotifyEvent BeforeClose;
    TDataSetNotifyEvent AfterClose;
    TDataSetNotifyEvent BeforeInsert;
    TDataSetNotifyEvent AfterInsert;
    TDataSetNotifyEvent BeforeEdit;
    TDataSetNotifyEvent AfterEdit;
    TDataSetNotifyEvent BeforePost;
    TDataSetNotifyEvent AfterPost;
    TDataSetNotifyEvent BeforeCancel;
    TDataSetNotifyEvent AfterCancel;
    TDataSetNotifyEvent BeforeDelete;
    TDataSetNotifyEvent AfterDelete;
    TDataSetNotifyEvent BeforeScroll;
    TDataSetNotifyEvent AfterScroll;
    TDataSetNotifyEvent OnNewRecord;

protected:
    // ---- the storage, in the order of the current index
    struct TColumn {
        std::string name;
        TFieldType type = ftUnknown;
        int size = 0;
        bool required = false;
    };
    // Prepares the rows and answers the columns (raise to refuse opening).
    virtual std::vector<TColumn> InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual int RowCount() const = 0;
    virtual Variant RowValue(int row, int column) const = 0;
    // Stores values (one per column) into row (-1: a new record, placed before row insertAt,
    // or at the end for -1); answers the row where the record now stands.
    virtual int InternalPost(int row, int insertAt, const std::vector<Variant>& values) = 0;
    virtual void InternalDelete(int row) = 0;

    // Raises EDatabaseError "Name: message".
    [[noreturn]] void DatabaseError(const std::string& message) const;
    void CheckActive() const;
    // Moves the cursor to row (browsing), telling the data sources.
    void MoveTo(int row);
    int CurrentRow() const { return current_; }
    // The order of the rows changed (another index): the cursor stays on its record.
    void Resync(int row);
    void DataEvent(TDataEvent event, TField* field = nullptr);
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TField;
    friend class TDataSource;

    void DoOpen();
    void DoClose();
    void BindFields(const std::vector<TColumn>& columns);
    void FreeDynamicFields();
    void AddField(TField* field);
    void RemoveField(TField* field);
    void AddDataSource(TDataSource* source);
    void RemoveDataSource(TDataSource* source);
    Variant GetFieldValue(const TField& field) const;
    void SetFieldValue(TField& field, const Variant& value);
    void SetState(TDataSetState state);
    void StartEdit(TDataSetState state, int insertAt);
    void CheckHasRecord() const;
    void ScrollTo(int row);

    std::vector<TField*> fields_;
    std::vector<TDataSource*> dataSources_;
    TDataSetState state_ = dsInactive;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<Variant> buffer_;
    int insertAt_ = -1;
    int columnCount_ = 0;
    bool modified_ = false;
    int disableCount_ = 0;
    bool pendingChange_ = false;
    bool streamedActive_ = false;
};

// Binds data-aware controls to a data set and tells them of its changes.
class TDataSource : public TComponent {
    KV_CLASS(TDataSource, TComponent)
public:
    explicit TDataSource(TComponent* owner) : TComponent(owner) {}
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Whether a control's edit puts the data set into the edit state by itself.
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool value) { autoEdit_ = value; }
    // The data set's state; inactive without data set or while disabled.
    TDataSetState State() const;
    // Puts a browsing data set into the edit state when AutoEdit is set.
    void Edit();

    TNotifyEvent OnStateChange;
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnUpdateData;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent event, TField* field);
    void NotifyLinks(TDataEvent event, TField* field);

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState lastState_ = dsInactive;
    std::vector<TDataLink*> links_;
};

// What a data-aware control holds to follow a data source. Override the hooks.
class TDataLink : public TPersistent {
    KV_CLASS(TDataLink, TPersistent)
public:
    TDataLink() = default;
    ~TDataLink() override;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    // The data source's data set is open.
    bool Active() const { return active_; }
    // The data set is in the edit or insert state.
    bool Editing() const { return editing_; }
    // Asks the data source to edit (AutoEdit); true when the data set now edits.
    bool Edit();
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // Writes what the control holds now (a control does it when the user leaves it).
    void UpdateRecord() {
        if (active_) UpdateData();
    }

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void RecordChanged(TField* field) { (void)field; }
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled() { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    // The data set is about to post: write what the control holds.
    virtual void UpdateData() {}

private:
    friend class TDataSource;

    void DataEvent(TDataEvent event, TField* field);
    void UpdateState();

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
};

// A link to one field, by name: what an edit or combo box bound to a field holds.
class TFieldDataLink : public TDataLink {
    KV_CLASS(TFieldDataLink, TDataLink)
public:
    TFieldDataLink() = default;

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name);
    // The field of that name in the open data set, or null.
    TField* Field() const { return field_; }
    // The control changed its value: it will be written before the next post.
    void Modified() { modified_ = true; }
    // Drops the control's change and shows the field again.
    void Reset();
    bool CanModify() const;

    // Called with the link as Sender: show the field again, the editing state changed, write
    // the control's value into the field, the data set opened or closed.
    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void LayoutChanged() override;
    void UpdateData() override;

private:
    void UpdateField();

    std::string fieldName_;
    TField* field_ = nullptr;
    bool modified_ = false;
};

}  // namespace kv
