#include "platform/net/ProviderRows.h"

#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

bool IsVector(const Variant& v) {
    return v.IsArray() && v.DimCount() == 1 && v.LowBound(1) == 0;
}

Variant ArrayOf(const std::vector<Variant>& values) {
    return values.empty() ? VarArrayCreate({0, -1}) : VarArrayOf(values);
}

}  // namespace

int TProviderRows::FieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (SameText(fields[i], name)) return static_cast<int>(i);
    return -1;
}

const Variant& TProviderRows::Value(std::size_t row, const std::string& field) const {
    const int column = FieldIndex(field);
    if (column < 0) throw EDatabaseError("Field '" + field + "' not found");
    if (row >= rows.size()) throw EDatabaseError("Row " + std::to_string(row) + " not found");
    return rows[row][static_cast<std::size_t>(column)];
}

Variant MakeProviderPacket(const TProviderRows& rows) {
    std::vector<Variant> names(rows.fields.begin(), rows.fields.end());
    std::vector<Variant> packedRows;
    packedRows.reserve(rows.rows.size());
    for (const auto& row : rows.rows)
        packedRows.push_back(ArrayOf(row));
    return VarArrayOf({ArrayOf(names), ArrayOf(packedRows)});
}

TProviderRows ReadProviderPacket(const Variant& packet) {
    if (!IsVector(packet) || packet.HighBound(1) != 1 || !IsVector(packet[0]) ||
        !IsVector(packet[1]))
        throw EDatabaseError("Malformed data packet from the provider");
    TProviderRows result;
    const Variant& names = packet[0];
    for (int i = 0; i <= names.HighBound(1); ++i)
        result.fields.push_back(VarToStr(names[i]));
    const Variant& rows = packet[1];
    for (int r = 0; r <= rows.HighBound(1); ++r) {
        const Variant& row = rows[r];
        if (!IsVector(row) || row.HighBound(1) + 1 != static_cast<int>(result.fields.size()))
            throw EDatabaseError("Row " + std::to_string(r) +
                                 " of the data packet does not "
                                 "match its fields");
        std::vector<Variant> values;
        for (int c = 0; c <= row.HighBound(1); ++c)
            values.push_back(row[c]);
        result.rows.push_back(std::move(values));
    }
    return result;
}

TProviderRows FetchProviderRows(const Variant& appServer, const std::string& provider) {
    return ReadProviderPacket(OleCall(appServer, "AS_GetRecords", {Variant(provider)}));
}

}  // namespace kv
