// The rows of a server provider as they travel to a client data set. A data packet is a
// variant array 0..1: [0] the field names 0..f-1, [1] the rows 0..n-1, each an array 0..f-1 of
// field values. The server's AS_GetRecords(provider) answers one; a client data set reads
// it through FetchProviderRows.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

struct TProviderRows {
    std::vector<std::string> fields;
    std::vector<std::vector<Variant>> rows;

    // The column of a field (names compare without regard to case), -1 when there is none.
    int FieldIndex(const std::string& name) const;
    // The value of the field in the row; raises EDatabaseError for an unknown field or row.
    const Variant& Value(std::size_t row, const std::string& field) const;
};

Variant MakeProviderPacket(const TProviderRows& rows);
// Raises EDatabaseError for a packet that does not have the shape above.
TProviderRows ReadProviderPacket(const Variant& packet);
// Asks the application server (a variant holding it) for the rows of the provider.
TProviderRows FetchProviderRows(const Variant& appServer, const std::string& provider);

}  // namespace kv
