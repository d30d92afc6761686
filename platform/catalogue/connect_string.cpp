// SPDX-License-Identifier: MIT
#include "platform/catalogue/connect_string.h"

#include "platform/paths/paths.h"

namespace tessaro::catalogue {

std::string connectPassword(std::string_view connect) {
    std::size_t start = 0;
    while (start <= connect.size()) {
        std::size_t end = connect.find(';', start);
        if (end == std::string_view::npos)
            end = connect.size();
        const std::string_view entry = connect.substr(start, end - start);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos && paths::foldCase(entry.substr(0, equals)) == "pwd")
            return std::string(entry.substr(equals + 1));
        start = end + 1;
    }
    return "";
}

}  // namespace tessaro::catalogue
