// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::testing {

inline catalogue::ColumnDescription column(std::string name, catalogue::ColumnType type,
                                           int size = 50) {
    return {std::move(name), type, size};
}

inline catalogue::TableDescription table(std::string name,
                                         std::vector<catalogue::ColumnDescription> columns,
                                         std::vector<std::vector<Variant>> rows = {}) {
    return {std::move(name), std::move(columns), std::move(rows)};
}

}  // namespace tessaro::testing
