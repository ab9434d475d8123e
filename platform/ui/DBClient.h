// The DBClient unit: TClientDataSet, a data set held in memory, filled from a provider of the
// application server (ProviderName through RemoteServer), from a data packet (Data), or created
// empty from its field definitions (CreateDataSet). Edits and posts change the rows in memory;
// nothing is written back to the server.
//
// Indexes: IndexDefs name indexes over fields ("NCONDITION;CREATOR;PROGRAMME"); IndexName (or
// IndexFieldNames for an unnamed one) orders the records by them, and FindKey finds the
// record whose first index fields equal the values given, exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/DB.h"

namespace kv {

struct TProviderRows;

// The component a client data set asks for the application server: RemoteServer = MainMidas.
// Holds the server as a variant (an automation object, local or remote); a connection
// component derives from it and answers AppServer from its connection.
class TCustomRemoteServer : public TComponent {
    KV_CLASS(TCustomRemoteServer, TComponent)
public:
    explicit TCustomRemoteServer(TComponent* owner) : TComponent(owner) {}
    // The server; unassigned when there is none.
    virtual Variant AppServer() { return appServer_; }
    void SetAppServer(const Variant& server) { appServer_ = server; }

private:
    Variant appServer_;
};

class TFieldDef : public TCollectionItem {
    KV_CLASS(TFieldDef, TCollectionItem)
public:
    explicit TFieldDef(TCollection* collection) : TCollectionItem(collection) {}
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
    std::string DisplayName() const override { return Name; }
};

class TFieldDefs : public TOwnedCollection {
    KV_CLASS(TFieldDefs, TOwnedCollection)
public:
    explicit TFieldDefs(TPersistent* owner) : TOwnedCollection(owner, TFieldDef::StaticClass()) {}
    TFieldDef* Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
    TFieldDef* Find(std::string_view name) const;
};

KV_ENUM(TIndexOption, ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression,
        ixNonMaintained);
KV_SET(TIndexOptions, TIndexOption);

class TIndexDef : public TCollectionItem {
    KV_CLASS(TIndexDef, TCollectionItem)
public:
    explicit TIndexDef(TCollection* collection) : TCollectionItem(collection) {}
    std::string Name;
    std::string Fields;  // field names separated by ";"
    TIndexOptions Options;
    std::string DisplayName() const override { return Name; }
};

class TIndexDefs : public TOwnedCollection {
    KV_CLASS(TIndexDefs, TOwnedCollection)
public:
    explicit TIndexDefs(TPersistent* owner) : TOwnedCollection(owner, TIndexDef::StaticClass()) {}
    TIndexDef* Add(const std::string& name, const std::string& fields, TIndexOptions options = {});
    TIndexDef* Find(std::string_view name) const;
};

KV_ENUM(TLocateOption, loCaseInsensitive, loPartialKey);
KV_SET(TLocateOptions, TLocateOption);

class TClientDataSet : public TDataSet {
    KV_CLASS(TClientDataSet, TDataSet)
public:
    explicit TClientDataSet(TComponent* owner);
    ~TClientDataSet() override;

    // ---- where the rows come from
    const std::string& ProviderName() const { return providerName_; }
    void SetProviderName(const std::string& name);
    TCustomRemoteServer* RemoteServer() const { return remoteServer_; }
    void SetRemoteServer(TCustomRemoteServer* server);
    TFieldDefs* FieldDefs() const { return fieldDefs_; }
    void SetFieldDefs(TFieldDefs* defs) { fieldDefs_->Assign(defs); }
    // Makes an empty data set with the columns of FieldDefs (or of the persistent fields when
    // there are none) and opens it.
    void CreateDataSet();
    // The rows as a data packet (platform/net/ProviderRows.h); setting one opens the data set
    // on those rows. A malformed packet raises EDatabaseError and changes nothing.
    Variant Data() const;
    void SetData(const Variant& packet);
    void EmptyDataSet();

    // ---- indexes
    TIndexDefs* IndexDefs() const { return indexDefs_; }
    void SetIndexDefs(TIndexDefs* defs) { indexDefs_->Assign(defs); }
    const std::string& IndexName() const { return indexName_; }
    // Orders the records by the named index of IndexDefs ("" for the natural order); raises
    // EDatabaseError for an unknown name while open.
    void SetIndexName(const std::string& name);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string& names);
    // Moves to the first record whose leading index fields equal the values (compared as the
    // index compares: exactly, or ignoring letter case with ixCaseInsensitive); false when
    // there is none, the cursor staying where it was. Raises EDatabaseError without an index.
    bool FindKey(const std::vector<Variant>& values);
    // Moves to the first record whose fields (names separated by ";") match the values.
    bool Locate(const std::string& fieldNames, const std::vector<Variant>& values,
                TLocateOptions options = {});

protected:
    std::vector<TColumn> InternalOpen() override;
    void InternalClose() override;
    int RowCount() const override { return static_cast<int>(view_.size()); }
    Variant RowValue(int row, int column) const override;
    int InternalPost(int row, int insertAt, const std::vector<Variant>& values) override;
    void InternalDelete(int row) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TKeyPart {
        int column;
        bool descending;
        bool caseInsensitive;
        bool operator==(const TKeyPart&) const = default;
    };
    // How many values of a column, nulls aside, compare as numbers and how many as texts.
    struct TColumnKinds {
        std::size_t numbers = 0;
        std::size_t texts = 0;
    };

    void LoadRows(const TProviderRows& rows);
    std::vector<TColumn> ColumnsFromDefinitions() const;
    std::vector<TKeyPart> ActiveKey() const;
    void SortView();
    void CountKinds(const std::vector<Variant>& row, int sign);
    std::size_t StoreRow(int row, int insertAt, const std::vector<Variant>& values, bool keyed);
    int PlaceInView(std::size_t storage, const std::vector<TKeyPart>& key);
    int CompareRows(std::size_t a, std::size_t b, const std::vector<TKeyPart>& key) const;
    int ViewRowOf(std::size_t storageRow) const;
    int ColumnOf(std::string_view name) const;
    bool CanSeek(const std::vector<TKeyPart>& key, const std::vector<Variant>& values) const;
    int SeekKey(const std::vector<TKeyPart>& key, const std::vector<Variant>& values) const;
    int ScanKey(const std::vector<TKeyPart>& key, const std::vector<Variant>& values) const;
    std::optional<int> SeekLocate(const std::vector<int>& columns,
                                  const std::vector<Variant>& values, TLocateOptions options) const;

    std::string providerName_;
    TCustomRemoteServer* remoteServer_ = nullptr;
    TFieldDefs* fieldDefs_;
    TIndexDefs* indexDefs_;
    std::string indexName_;
    std::string indexFieldNames_;
    std::vector<TColumn> columns_;
    std::vector<std::vector<Variant>> rows_;  // in storage order
    // Storage rows in index order, equal keys in storage order; kept in order by posts and
    // deletes, sorted anew only when the index changes.
    std::vector<std::size_t> view_;
    std::vector<TKeyPart> viewKey_;    // the index view_ is sorted by
    std::vector<TColumnKinds> kinds_;  // per column: the kinds of its values, for key searches
    bool hasRows_ = false;             // rows were handed in (Data, CreateDataSet)
};

}  // namespace kv
