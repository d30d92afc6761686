// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/table_claims.h"

#include "platform/catalogue/reader/jet_damage.h"
#include "platform/catalogue/reader/jet_format.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

[[noreturn]] void misplaced(const std::string& table, std::uint32_t page,
                            const std::string& owner) {
    throw Damage("table '" + table + "': its definition page " + std::to_string(page) +
                 " is that of table '" + owner + "'");
}

}  // namespace

void TableClaims::claim(const std::string& name, std::uint32_t definitionPage) {
    if (const auto [other, added] = byFoldedName_.emplace(paths::foldCase(name), name); !added)
        throw Damage("table '" + name + "': table '" + other->second +
                     "' has the same name, letter case aside");
    if (const auto [other, added] = byPage_.emplace(definitionPage, name); !added) {
        // The system table keeps its page; the other table is the one misplaced.
        const bool systemLast = name == jet::SystemObjectsName;
        misplaced(systemLast ? other->second : name, definitionPage,
                  systemLast ? name : other->second);
    }
}

void TableClaims::checkSystemDefinition() const {
    const auto system = byPage_.find(jet::SystemObjectsPage);
    if (system != byPage_.end() && system->second != jet::SystemObjectsName)
        misplaced(system->second, jet::SystemObjectsPage, jet::SystemObjectsName);
}

}  // namespace tessaro::catalogue
