// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/catalogue/engine_test_support.h"
#include "tests/sanitizers.h"
#include "tests/support/process.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;
using nlohmann::json;

using tessaro::testing::ProcessResult;

// With shellPrefix, the tool runs after that shell text ("ulimit -v 1000000; ").
ProcessResult runTool(const std::vector<std::string>& args, const std::string& shellPrefix = "") {
    std::vector<std::string> argv{"sh", "-c", shellPrefix + "exec \"$0\" \"$@\"",
                                  TESSARO_CATALOGUE_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    return tessaro::testing::runProcess(argv);
}

std::vector<json> jsonLines(const std::string& text) {
    std::vector<json> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(json::parse(line));
    return lines;
}

class CatalogueToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeCatalogue({{{"Asanas",
                          {{"name", ColumnType::Text, 50},
                           {"AsanaID", ColumnType::Long},
                           {"Disp_Type", ColumnType::Text, 10},
                           {"Big", ColumnType::Boolean}},
                          {{"Tadasana", 1, "Video", 1}, {"Sírsásana", 2, "PHOTO", 0}}}}},
                       file_.string(), "Lark7meadOW");
    }

    TempFolder folder_;
    fs::path file_ = folder_.path() / "VUDuzu.mdb";
};

TEST_F(CatalogueToolTest, DumpPrintsTheDescriptionTheWriterTakes) {
    const ProcessResult run = runTool({"dump", file_.string(), "--password", "Lark7meadOW"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(json::parse(run.out), json::parse(R"({"tables":[{"name":"Asanas","columns":[
                  {"name":"name","type":"text","size":50},{"name":"AsanaID","type":"long"},
                  {"name":"Disp_Type","type":"text","size":10},{"name":"Big","type":"boolean"}],
                  "rows":[["Tadasana",1,"Video",true],["Sírsásana",2,"PHOTO",false]]}]})"));
}

TEST_F(CatalogueToolTest, QueryPrintsOneObjectPerRowWithColumnsInOrder) {
    const ProcessResult run =
        runTool({"query", file_.string(), "select * from asanas where NAME = \"sÍrsÁsana\"",
                 "--password", "Lark7meadOW"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"name\":\"Sírsásana\",\"AsanaID\":2,\"Disp_Type\":\"PHOTO\",\"Big\":0}\n");
    const ProcessResult all =
        runTool({"query", file_.string(), "select * from Asanas", "--password", "Lark7meadOW"});
    EXPECT_EQ(jsonLines(all.out).size(), 2u);
}

TEST_F(CatalogueToolTest, EngineErrorsGoToStderrWithExitCode2) {
    struct Case {
        std::vector<std::string> args;
        std::string errorStart;
    };
    const Case cases[] = {
        {{"query", file_.string(), "select * from Asanas"}, "error 3031: "},
        {{"query", file_.string(), "select * from Nothing", "--password", "Lark7meadOW"},
         "error 3078: "},
        {{"query", file_.string(), "select name from Asanas", "--password", "Lark7meadOW"},
         "error 3141: "},
        {{"query", (folder_.path() / "missing.mdb").string(), "select * from Asanas"},
         "error 3024: "},
        {{"dump", file_.string(), "--password", "wrong"}, "error 3031: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errorStart);
        const ProcessResult run = runTool(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_EQ(run.err.rfind(c.errorStart, 0), 0u) << run.err;
    }
}

TEST_F(CatalogueToolTest, QueryOpensExclusivelyAsTheControlDoes) {
    auto held = openShared(file_);
    const ProcessResult run =
        runTool({"query", file_.string(), "select * from Asanas", "--password", "Lark7meadOW"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind("error 3045: ", 0), 0u) << run.err;
    // The dump only reads alongside others.
    EXPECT_EQ(runTool({"dump", file_.string(), "--password", "Lark7meadOW"}).exitCode, 0);
}

// Damaged files that once made the reader allocate gigabytes or read past a buffer: one
// error line and nothing else, also within an address space of about 1 GB.
TEST(CatalogueToolRegressionTest, DamagedFilesGiveOneErrorLineAndExitCode2) {
    TempFolder folder;
    const std::string limit = UnderAddressSanitizer ? "" : "ulimit -v 1000000; ";
    if (UnderAddressSanitizer)
        std::cout << "the address space stays unlimited under AddressSanitizer\n";
    for (const auto& input : fs::directory_iterator(RegressionInputs)) {
        // A copy: the query opens its file exclusively, which would shut out the tests that
        // read the same input in parallel.
        const std::string file = (folder.path() / input.path().filename()).string();
        fs::copy_file(input.path(), file);
        for (const auto& args : {std::vector<std::string>{"dump", file},
                                 std::vector<std::string>{"query", file, "select * from Big"}}) {
            SCOPED_TRACE(args[0] + " " + file);
            const ProcessResult run = runTool(args, limit);
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_TRUE(run.out.empty()) << run.out;
            EXPECT_EQ(run.err.rfind("error 3343: catalogue file '" + file + "' is damaged: ", 0),
                      0u)
                << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

}  // namespace
}  // namespace tessaro::catalogue
