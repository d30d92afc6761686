// SPDX-License-Identifier: MIT
#include <tessaro/catalogue.h>
#include "platform/catalogue/connect_string.h"
#include "platform/catalogue/jet_database.h"

namespace tessaro::catalogue {
namespace {

class JetEngine : public Engine {
  public:
    // The engine only ever reads, so a writable open is served read-only as well.
    std::shared_ptr<Database> openDatabase(std::string_view path, bool exclusive, bool,
                                           std::string_view connect) override {
        return std::make_shared<JetDatabase>(
            std::make_unique<CatalogueFile>(path, exclusive, connectPassword(connect)));
    }
};

}  // namespace

Engine& processEngine() {
    static JetEngine engine;
    return engine;
}

}  // namespace tessaro::catalogue
