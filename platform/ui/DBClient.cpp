#include "platform/ui/DBClient.h"

#include <algorithm>
#include <optional>

#include "platform/core/SysUtils.h"
#include "platform/net/ProviderRows.h"

namespace kv {

KV_PUBLISHED(TCustomRemoteServer) {}
KV_PUBLISHED(TFieldDef) {
    b.Property("Name", &T::Name);
    b.Property("DataType", &T::DataType).Default(ftUnknown);
    b.Property("Size", &T::Size).Default(0);
    b.Property("Required", &T::Required).Default(0);
}
KV_PUBLISHED(TFieldDefs) {}
KV_PUBLISHED(TIndexDef) {
    b.Property("Name", &T::Name);
    b.Property("Fields", &T::Fields);
    b.Property("Options", &T::Options);
}
KV_PUBLISHED(TIndexDefs) {}
KV_PUBLISHED(TClientDataSet) {
    b.Property("FieldDefs", &T::FieldDefs, &T::SetFieldDefs);
    b.Property("IndexDefs", &T::IndexDefs, &T::SetIndexDefs);
    b.Property("IndexFieldNames", &T::IndexFieldNames, &T::SetIndexFieldNames);
    b.Property("IndexName", &T::IndexName, &T::SetIndexName);
    b.Property("ProviderName", &T::ProviderName, &T::SetProviderName);
    b.Property("RemoteServer", &T::RemoteServer, &T::SetRemoteServer);
}
KV_REGISTER_CLASS(TCustomRemoteServer);
KV_REGISTER_CLASS(TClientDataSet);

namespace {

std::vector<std::string> SplitNames(std::string_view names) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(';', start);
        if (end == std::string_view::npos) end = names.size();
        const std::string name = Trim(names.substr(start, end - start));
        if (!name.empty()) result.push_back(name);
        start = end + 1;
    }
    return result;
}

bool IsClear(const Variant& v) {
    return v.IsNull() || v.IsEmpty();
}

bool IsNumberLike(const Variant& v) {
    return VarIsNumeric(v) || VarIsType(v, {varDate, varBoolean});
}

// Orders values as an index does: nulls first, texts by bytes (or ignoring letter case),
// numbers, dates and Booleans by value, anything else by its text.
int CompareValues(const Variant& a, const Variant& b, bool caseInsensitive) {
    if (IsClear(a) || IsClear(b)) return IsClear(a) == IsClear(b) ? 0 : IsClear(a) ? -1 : 1;
    if (IsNumberLike(a) && IsNumberLike(b)) {
        const double x = a.AsDouble();
        const double y = b.AsDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const std::string x = VarToStr(a);
    const std::string y = VarToStr(b);
    if (caseInsensitive) return AnsiCompareText(x, y);
    return x.compare(y) < 0 ? -1 : x == y ? 0 : 1;
}

// One part of an index key: CompareValues turned round for a descending part.
int ComparePart(const Variant& a, const Variant& b, bool descending, bool caseInsensitive) {
    const int result = CompareValues(a, b, caseInsensitive);
    return descending ? -result : result;
}

TFieldType TypeOfValue(const Variant& v) {
    switch (VarType(v) & varTypeMask) {
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varWord:
            return ftInteger;
        case varLongWord:
        case varInt64:
        case varUInt64:
            return ftLargeint;
        case varSingle:
        case varDouble:
        case varCurrency:
            return ftFloat;
        case varDate:
            return ftDateTime;
        case varBoolean:
            return ftBoolean;
        default:
            return ftString;
    }
}

}  // namespace

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
    auto* def = dynamic_cast<TFieldDef*>(TCollection::Add());
    def->Name = name;
    def->DataType = type;
    def->Size = size;
    def->Required = required;
    return def;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (auto* def = ItemAs<TFieldDef>(i); SameText(def->Name, name)) return def;
    return nullptr;
}

TIndexDef* TIndexDefs::Add(const std::string& name, const std::string& fields,
                           TIndexOptions options) {
    auto* def = dynamic_cast<TIndexDef*>(TCollection::Add());
    def->Name = name;
    def->Fields = fields;
    def->Options = options;
    return def;
}

TIndexDef* TIndexDefs::Find(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (auto* def = ItemAs<TIndexDef>(i); SameText(def->Name, name)) return def;
    return nullptr;
}

TClientDataSet::TClientDataSet(TComponent* owner)
    : TDataSet(owner), fieldDefs_(new TFieldDefs(this)), indexDefs_(new TIndexDefs(this)) {}

TClientDataSet::~TClientDataSet() {
    delete fieldDefs_;
    delete indexDefs_;
}

void TClientDataSet::SetProviderName(const std::string& name) {
    if (Active()) DatabaseError("Cannot perform this operation on an open dataset");
    providerName_ = name;
}

void TClientDataSet::SetRemoteServer(TCustomRemoteServer* server) {
    if (server == remoteServer_) return;
    if (remoteServer_ != nullptr) remoteServer_->RemoveFreeNotification(this);
    remoteServer_ = server;
    if (remoteServer_ != nullptr) remoteServer_->FreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
    TDataSet::Notification(component, operation);
    if (operation == opRemove && component == remoteServer_) remoteServer_ = nullptr;
}

// ---- the rows

std::vector<TDataSet::TColumn> TClientDataSet::InternalOpen() {
    if (!hasRows_) {
        if (providerName_.empty()) DatabaseError("Missing data provider or data packet");
        if (remoteServer_ == nullptr) DatabaseError("Missing remote server");
        const Variant server = remoteServer_->AppServer();
        if (IsClear(server)) DatabaseError("The remote server is not connected");
        LoadRows(FetchProviderRows(server, providerName_));
    }
    try {
        SortView();
    } catch (...) {
        InternalClose();
        throw;
    }
    return columns_;
}

void TClientDataSet::InternalClose() {
    rows_.clear();
    view_.clear();
    viewKey_.clear();
    kinds_.clear();
    columns_.clear();
    hasRows_ = false;
}

// Column types follow the first value that is not null; persistent fields and field
// definitions of the same name win.
void TClientDataSet::LoadRows(const TProviderRows& rows) {
    std::vector<TColumn> columns;
    for (std::size_t c = 0; c < rows.fields.size(); ++c) {
        TColumn column{rows.fields[c], ftString, 0, false};
        const auto value = std::find_if(rows.rows.begin(), rows.rows.end(),
                                        [&](const auto& row) { return !IsClear(row[c]); });
        if (value != rows.rows.end()) column.type = TypeOfValue((*value)[c]);
        if (const TFieldDef* def = fieldDefs_->Find(column.name)) {
            column.type = def->DataType;
            column.required = def->Required;
        }
        if (const TField* field = FindField(column.name)) column.type = field->DataType();
        columns.push_back(column);
    }
    columns_ = std::move(columns);
    rows_ = rows.rows;
    hasRows_ = true;
}

std::vector<TDataSet::TColumn> TClientDataSet::ColumnsFromDefinitions() const {
    std::vector<TColumn> columns;
    for (int i = 0; i < fieldDefs_->Count(); ++i) {
        const TFieldDef* def = fieldDefs_->ItemAs<TFieldDef>(i);
        columns.push_back({def->Name, def->DataType, def->Size, def->Required});
    }
    if (columns.empty()) {
        for (int i = 0; i < FieldCount(); ++i)
            columns.push_back({Fields(i)->FieldName(), Fields(i)->DataType(), Fields(i)->Size(),
                               Fields(i)->Required()});
    }
    return columns;
}

void TClientDataSet::CreateDataSet() {
    if (Active()) Close();
    std::vector<TColumn> columns = ColumnsFromDefinitions();
    if (columns.empty()) DatabaseError("Field definitions or fields are needed");
    columns_ = std::move(columns);
    rows_.clear();
    hasRows_ = true;
    Open();
}

Variant TClientDataSet::Data() const {
    if (!Active()) return Variant::Null();
    TProviderRows rows;
    for (const TColumn& column : columns_)
        rows.fields.push_back(column.name);
    rows.rows = rows_;
    return MakeProviderPacket(rows);
}

void TClientDataSet::SetData(const Variant& packet) {
    const TProviderRows rows = ReadProviderPacket(packet);
    if (Active()) Close();
    LoadRows(rows);
    Open();
}

void TClientDataSet::EmptyDataSet() {
    CheckActive();
    Cancel();
    rows_.clear();
    view_.clear();
    kinds_.assign(columns_.size(), {});
    Resync(0);
}

Variant TClientDataSet::RowValue(int row, int column) const {
    const auto& values = rows_[view_[static_cast<std::size_t>(row)]];
    if (column < 0 || static_cast<std::size_t>(column) >= values.size()) return Variant::Null();
    return values[static_cast<std::size_t>(column)];
}

// A post moves one record: it leaves its place in the view and takes the place the index
// gives it, so that long lists grow without sorting everything again.
int TClientDataSet::InternalPost(int row, int insertAt, const std::vector<Variant>& values) {
    // Raises before anything changes when the index is gone.
    const std::vector<TKeyPart> key = ActiveKey();
    if (key != viewKey_) {
        // The index definition changed while open.
        const std::size_t storage = StoreRow(row, insertAt, values, !key.empty());
        SortView();
        return ViewRowOf(storage);
    }
    if (key.empty()) {
        // The view is the natural order: a new record adds one more storage row.
        const std::size_t storage = StoreRow(row, insertAt, values, false);
        if (row < 0) view_.push_back(view_.size());
        return static_cast<int>(storage);
    }
    const std::size_t storage = StoreRow(row, insertAt, values, true);
    if (row >= 0) view_.erase(view_.begin() + row);
    return PlaceInView(storage, key);
}

// Stores a record; answers its storage row. Without an index a new record goes where it was
// asked (before the view row insertAt), with one at the end.
std::size_t TClientDataSet::StoreRow(int row, int insertAt, const std::vector<Variant>& values,
                                     bool keyed) {
    if (row >= 0) {
        const std::size_t storage = view_[static_cast<std::size_t>(row)];
        CountKinds(rows_[storage], -1);
        rows_[storage] = values;
        CountKinds(values, 1);
        return storage;
    }
    CountKinds(values, 1);
    if (!keyed && insertAt >= 0 && static_cast<std::size_t>(insertAt) < view_.size()) {
        const std::size_t storage = view_[static_cast<std::size_t>(insertAt)];
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(storage), values);
        return storage;
    }
    rows_.push_back(values);
    return rows_.size() - 1;
}

// Puts a storage row that is not in the view where the index wants it: after the records of
// a lower key and, among equal keys, in storage order (as the stable sort has them).
int TClientDataSet::PlaceInView(std::size_t storage, const std::vector<TKeyPart>& key) {
    const auto place =
        std::lower_bound(view_.begin(), view_.end(), storage, [&](std::size_t a, std::size_t b) {
            const int result = CompareRows(a, b, key);
            return result != 0 ? result < 0 : a < b;
        });
    const auto placed = view_.insert(place, storage);
    return static_cast<int>(placed - view_.begin());
}

// The storage rows after the deleted one move up by one; the order of the view stays.
void TClientDataSet::InternalDelete(int row) {
    const std::size_t storage = view_[static_cast<std::size_t>(row)];
    CountKinds(rows_[storage], -1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(storage));
    view_.erase(view_.begin() + row);
    for (std::size_t& other : view_)
        other -= other > storage ? 1 : 0;
}

void TClientDataSet::CountKinds(const std::vector<Variant>& row, int sign) {
    const std::size_t count = std::min(row.size(), kinds_.size());
    for (std::size_t column = 0; column < count; ++column) {
        const Variant& value = row[column];
        if (IsClear(value)) continue;
        std::size_t& kind = IsNumberLike(value) ? kinds_[column].numbers : kinds_[column].texts;
        kind = sign > 0 ? kind + 1 : kind - 1;
    }
}

int TClientDataSet::ViewRowOf(std::size_t storageRow) const {
    const auto found = std::find(view_.begin(), view_.end(), storageRow);
    return found == view_.end() ? -1 : static_cast<int>(found - view_.begin());
}

int TClientDataSet::ColumnOf(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (SameText(columns_[i].name, name)) return static_cast<int>(i);
    return -1;
}

// ---- indexes

std::vector<TClientDataSet::TKeyPart> TClientDataSet::ActiveKey() const {
    std::vector<std::string> names;
    TIndexOptions options;
    if (!indexName_.empty()) {
        const TIndexDef* def = indexDefs_->Find(indexName_);
        if (def == nullptr) DatabaseError("Index '" + indexName_ + "' not found");
        names = SplitNames(def->Fields);
        options = def->Options;
    } else {
        names = SplitNames(indexFieldNames_);
    }
    std::vector<TKeyPart> key;
    for (const std::string& name : names) {
        const int column = ColumnOf(name);
        if (column < 0) DatabaseError("Field '" + name + "' not found");
        key.push_back(
            {column, options.Contains(ixDescending), options.Contains(ixCaseInsensitive)});
    }
    return key;
}

// Orders the view by the active index from scratch and counts the kinds of the values anew.
void TClientDataSet::SortView() {
    view_.resize(rows_.size());
    for (std::size_t i = 0; i < view_.size(); ++i)
        view_[i] = i;
    kinds_.assign(columns_.size(), {});
    for (const auto& row : rows_)
        CountKinds(row, 1);
    viewKey_.clear();
    const std::vector<TKeyPart> key = ActiveKey();
    std::stable_sort(view_.begin(), view_.end(),
                     [&](std::size_t a, std::size_t b) { return CompareRows(a, b, key) < 0; });
    viewKey_ = key;
}

int TClientDataSet::CompareRows(std::size_t a, std::size_t b,
                                const std::vector<TKeyPart>& key) const {
    for (const TKeyPart& part : key) {
        const auto column = static_cast<std::size_t>(part.column);
        const int result =
            ComparePart(rows_[a][column], rows_[b][column], part.descending, part.caseInsensitive);
        if (result != 0) return result;
    }
    return 0;
}

void TClientDataSet::SetIndexName(const std::string& name) {
    if (!Active()) {
        indexName_ = name;
        indexFieldNames_.clear();
        return;
    }
    if (!name.empty() && indexDefs_->Find(name) == nullptr)
        DatabaseError("Index '" + name + "' not found");
    CheckBrowseMode();
    const std::size_t storage =
        CurrentRow() >= 0 ? view_[static_cast<std::size_t>(CurrentRow())] : 0;
    indexName_ = name;
    indexFieldNames_.clear();
    SortView();
    Resync(ViewRowOf(storage));
}

void TClientDataSet::SetIndexFieldNames(const std::string& names) {
    if (!Active()) {
        indexFieldNames_ = names;
        indexName_.clear();
        return;
    }
    CheckBrowseMode();
    const std::string previous = indexFieldNames_;
    const std::string previousName = indexName_;
    const std::size_t storage =
        CurrentRow() >= 0 ? view_[static_cast<std::size_t>(CurrentRow())] : 0;
    indexFieldNames_ = names;
    indexName_.clear();
    try {
        SortView();
    } catch (...) {
        indexFieldNames_ = previous;
        indexName_ = previousName;
        SortView();
        throw;
    }
    Resync(ViewRowOf(storage));
}

bool TClientDataSet::FindKey(const std::vector<Variant>& values) {
    CheckActive();
    CheckBrowseMode();
    const std::vector<TKeyPart> key = ActiveKey();
    if (key.empty()) DatabaseError("No index currently active");
    if (values.size() > key.size()) DatabaseError("More key values than index fields");
    const int row =
        key == viewKey_ && CanSeek(key, values) ? SeekKey(key, values) : ScanKey(key, values);
    if (row < 0) return false;
    MoveTo(row);
    return true;
}

// A binary search answers as the exact comparison of a scan when the values and the
// column's values compare alike: a text among texts, a number among numbers, a null always.
// A text key among numbers matches by text, which the numeric order does not follow.
bool TClientDataSet::CanSeek(const std::vector<TKeyPart>& key,
                             const std::vector<Variant>& values) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const TColumnKinds& kinds = kinds_[static_cast<std::size_t>(key[i].column)];
        const Variant& value = values[i];
        if (IsClear(value)) continue;
        if (IsNumberLike(value) ? kinds.texts > 0 : !VarIsStr(value) || kinds.numbers > 0)
            return false;
    }
    return true;
}

// The first view row whose leading index fields equal the values, or -1.
int TClientDataSet::SeekKey(const std::vector<TKeyPart>& key,
                            const std::vector<Variant>& values) const {
    const auto compare = [&](std::size_t storage) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto column = static_cast<std::size_t>(key[i].column);
            const int result = ComparePart(rows_[storage][column], values[i], key[i].descending,
                                           key[i].caseInsensitive);
            if (result != 0) return result;
        }
        return 0;
    };
    const auto found = std::partition_point(
        view_.begin(), view_.end(), [&](std::size_t storage) { return compare(storage) < 0; });
    if (found == view_.end() || compare(*found) != 0) return -1;
    return static_cast<int>(found - view_.begin());
}

int TClientDataSet::ScanKey(const std::vector<TKeyPart>& key,
                            const std::vector<Variant>& values) const {
    for (std::size_t row = 0; row < view_.size(); ++row) {
        const auto& record = rows_[view_[row]];
        bool match = true;
        for (std::size_t i = 0; i < values.size() && match; ++i) {
            const Variant& value = record[static_cast<std::size_t>(key[i].column)];
            // Exact: a text key matches a text of the same bytes (or the same letters).
            if (IsClear(value) != IsClear(values[i])) {
                match = false;
            } else if (VarIsStr(values[i]) || VarIsStr(value)) {
                const std::string a = VarToStr(value);
                const std::string b = VarToStr(values[i]);
                match = key[i].caseInsensitive ? AnsiSameText(a, b) : a == b;
            } else {
                match = CompareValues(value, values[i], false) == 0;
            }
        }
        if (match) return static_cast<int>(row);
    }
    return -1;
}

// Locate on the leading fields of the index the view is in, compared as that index compares
// (whole values, the same letter case rule), is a key search. Answers the view row (-1:
// none), or nothing when the search has to scan.
std::optional<int> TClientDataSet::SeekLocate(const std::vector<int>& columns,
                                              const std::vector<Variant>& values,
                                              TLocateOptions options) const {
    if (options.Contains(loPartialKey) || columns.size() > viewKey_.size()) return std::nullopt;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i] != viewKey_[i].column ||
            viewKey_[i].caseInsensitive != options.Contains(loCaseInsensitive))
            return std::nullopt;
    if (!CanSeek(viewKey_, values)) return std::nullopt;
    return SeekKey(viewKey_, values);
}

bool TClientDataSet::Locate(const std::string& fieldNames, const std::vector<Variant>& values,
                            TLocateOptions options) {
    CheckActive();
    CheckBrowseMode();
    std::vector<int> columns;
    for (const std::string& name : SplitNames(fieldNames)) {
        const int column = ColumnOf(name);
        if (column < 0) DatabaseError("Field '" + name + "' not found");
        columns.push_back(column);
    }
    if (columns.size() != values.size()) DatabaseError("Locate needs one value per field");
    if (const std::optional<int> row = SeekLocate(columns, values, options)) {
        if (*row < 0) return false;
        MoveTo(*row);
        return true;
    }
    const bool caseInsensitive = options.Contains(loCaseInsensitive);
    for (std::size_t row = 0; row < view_.size(); ++row) {
        const auto& record = rows_[view_[row]];
        bool match = true;
        for (std::size_t i = 0; i < columns.size() && match; ++i) {
            const Variant& value = record[static_cast<std::size_t>(columns[i])];
            if (VarIsStr(values[i]) && !IsClear(value)) {
                std::string text = VarToStr(value);
                const std::string wanted = VarToStr(values[i]);
                if (options.Contains(loPartialKey)) text = text.substr(0, wanted.size());
                match = caseInsensitive ? AnsiSameText(text, wanted) : text == wanted;
            } else {
                match = IsClear(value) == IsClear(values[i]) &&
                        CompareValues(value, values[i], caseInsensitive) == 0;
            }
        }
        if (match) {
            MoveTo(static_cast<int>(row));
            return true;
        }
    }
    return false;
}

}  // namespace kv
