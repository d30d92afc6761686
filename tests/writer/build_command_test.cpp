// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/writer/mdb_tools.h"

// tessaro-catalogue build from the outside, as course authors run it.
namespace tessaro::testing {
namespace {

std::string tool() {
    return TESSARO_CATALOGUE_TOOL;
}

const char* const EveryType = R"({"tables":[
    {"name":"Asanas","columns":[{"name":"name","type":"text","size":50},
        {"name":"Notes","type":"memo"},{"name":"StartPos","type":"integer"},
        {"name":"AsanaID","type":"long"},{"name":"Filelen","type":"double"},
        {"name":"Done","type":"boolean"}],
     "rows":[["Tadasana","m",-3,1,4.78,true],[null,null,null,null,null,false],
             ["Crème brûlée","",32767,-2147483648,0.1,true]]},
    {"name":"Photo_Asana3","columns":[{"name":"Mp2name","type":"text","size":50}],"rows":[]}]})";

TEST(BuildCommandTest, WithAPasswordWritesAFileMdbtoolsReads) {
    TempFolder folder;
    std::ofstream(folder / "good.json")
        << R"({"tables":[{"name":"Asanas","columns":[{"name":"name","type":"text","size":50},
              {"name":"AsanaID","type":"long"},{"name":"Done","type":"boolean"}],
              "rows":[["Tadasana",1,true],[null,2,false]]}]})";
    const auto output = (folder / "VUDuzu.mdb").string();

    const auto result =
        runProcess({tool(), "build", folder / "good.json", output, "--password", "Lark7meadOW"});

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(mdbVersion(output), "JET3");
    EXPECT_EQ(mdbExport(output, "Asanas"),
              (std::vector<ExportedRow>{{"Tadasana", "1", "1"}, {std::nullopt, "2", "0"}}));
}

TEST(BuildCommandTest, DumpOfABuildGivesTheDescriptionBack) {
    TempFolder folder;
    std::ofstream(folder / "every.json") << EveryType;
    const auto output = (folder / "every.mdb").string();
    ASSERT_EQ(runProcess({tool(), "build", folder / "every.json", output}).exitCode, 0);

    const auto dumped = runProcess({tool(), "dump", output});

    ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
    EXPECT_EQ(nlohmann::json::parse(dumped.out), nlohmann::json::parse(EveryType));
}

TEST(BuildCommandTest, WrongArgumentsPrintUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"only-one.json"},
                                                 {"a.json", "b.mdb", "c"},
                                                 {"a.json", "b.mdb", "--password"},
                                                 {"a.json", "b.mdb", "--force"}}) {
        std::vector<std::string> argv{tool(), "build"};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto result = runProcess(argv);
        EXPECT_EQ(result.exitCode, 2) << args.back();
        EXPECT_NE(result.err.find("usage"), std::string::npos) << args.back();
    }
}

}  // namespace
}  // namespace tessaro::testing
