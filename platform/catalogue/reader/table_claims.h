// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tessaro::catalogue {

// The tables of the system catalogue, system tables among them, as they are read: Jet
// holds no two of the same name, letter case aside, and defines each on a page of its
// own, MSysObjects on page 2. Each rule broken is Damage naming the tables.
class TableClaims {
  public:
    void claim(const std::string& name, std::uint32_t definitionPage);
    // Once every table is claimed: no other table is defined on MSysObjects' page.
    void checkSystemDefinition() const;

  private:
    std::map<std::string, std::string> byFoldedName_;
    std::map<std::uint32_t, std::string> byPage_;
};

}  // namespace tessaro::catalogue
