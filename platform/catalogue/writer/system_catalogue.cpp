// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/system_catalogue.h"

#include "platform/catalogue/writer/stored_values.h"

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::int32_t RootContainerId = 0x0F000000;
constexpr std::int32_t TablesContainerId = 0x0F000001;
constexpr std::int32_t DatabasesContainerId = 0x0F000002;
constexpr std::int32_t RelationshipsContainerId = 0x0F000003;
constexpr std::int16_t TableObject = 1;
constexpr std::int16_t ContainerObject = 3;
constexpr std::int32_t ContainerFlags = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t SystemTableFlags = static_cast<std::int32_t>(0x80000002u);
// 1 January 2000 as a Jet date: files written from the same description are identical.
constexpr double CreationDate = 36526.0;
constexpr std::size_t CatalogueColumnCount = 17;

std::vector<StoredValue> catalogueRow(std::int32_t id, std::int32_t parentId, std::string_view name,
                                      std::int16_t type, std::int32_t flags) {
    std::vector<StoredValue> row(CatalogueColumnCount);
    row[0] = storedLong(id);
    row[1] = storedLong(parentId);
    row[2] = storedText(name);
    row[3] = storedInteger(type);
    row[4] = storedDouble(CreationDate);
    row[5] = storedDouble(CreationDate);
    row[7] = storedLong(flags);
    return row;
}

}  // namespace

ColumnLayout systemCatalogueLayout() {
    const auto column = [](std::string name, std::uint8_t type, std::uint16_t size = 0) {
        StoredColumn stored;
        stored.name = std::move(name);
        stored.type = type;
        stored.size = size;
        stored.extraFlags = SystemColumnFlag;
        return stored;
    };
    return layOutColumns({
        column("Id", LongType),
        column("ParentId", LongType),
        column("Name", TextType, 255),
        column("Type", IntegerType),
        column("DateCreate", DateTimeType),
        column("DateUpdate", DateTimeType),
        column("Owner", BinaryType, 255),
        column("Flags", LongType),
        column("Database", MemoType),
        column("Connect", MemoType),
        column("ForeignName", TextType, 255),
        column("RmtInfoShort", BinaryType, 255),
        column("RmtInfoLong", OleType),
        column("Lv", OleType),
        column("LvProp", OleType),
        column("LvModule", OleType),
        column("LvExtra", OleType),
    });
}

std::vector<std::vector<StoredValue>> systemCatalogueRows(
    const std::vector<CatalogueTable>& userTables) {
    std::vector<std::vector<StoredValue>> rows{
        catalogueRow(TablesContainerId, RootContainerId, "Tables", ContainerObject, ContainerFlags),
        catalogueRow(DatabasesContainerId, RootContainerId, "Databases", ContainerObject,
                     ContainerFlags),
        catalogueRow(RelationshipsContainerId, RootContainerId, "Relationships", ContainerObject,
                     ContainerFlags),
        catalogueRow(SystemCatalogueDefinitionPage, TablesContainerId, "MSysObjects", TableObject,
                     SystemTableFlags),
    };
    for (const auto& table : userTables) {
        rows.push_back(catalogueRow(static_cast<std::int32_t>(table.definitionPage),
                                    TablesContainerId, table.name, TableObject, 0));
    }
    return rows;
}

}  // namespace tessaro::catalogue::jet3
