// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

constexpr int ChildOpened = 0;
constexpr int ChildFileInUse = 45;
constexpr int ChildOtherError = 99;

int childStatus(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int exitCodeFor(const Error& error) {
    return error.number() == errors::FileInUse ? ChildFileInUse : ChildOtherError;
}

// What another process sees when it opens the file now.
int openInOtherProcess(const fs::path& file, bool exclusive) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            processEngine().openDatabase(file.string(), exclusive, true, ControlPassword);
            ::_exit(ChildOpened);
        } catch (const Error& error) {
            ::_exit(exitCodeFor(error));
        }
    }
    return childStatus(child);
}

class EngineLockTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    fs::path file_ = copyOf("access97/testV1997.mdb", folder_ / "VUDuzu.mdb");
};

TEST_F(EngineLockTest, ExclusiveOpenShutsOutOtherProcesses) {
    auto database = openExclusive(file_);
    EXPECT_EQ(openInOtherProcess(file_, true), ChildFileInUse);
    EXPECT_EQ(openInOtherProcess(file_, false), ChildFileInUse);
    database->close();
    EXPECT_EQ(openInOtherProcess(file_, true), ChildOpened);
}

TEST_F(EngineLockTest, SharedOpenShutsOutOnlyExclusiveOpens) {
    auto database = openShared(file_);
    EXPECT_EQ(openInOtherProcess(file_, false), ChildOpened);
    EXPECT_EQ(openInOtherProcess(file_, true), ChildFileInUse);
}

TEST_F(EngineLockTest, SameProcessReopensWhileTheFirstHandleHoldsTheFile) {
    auto first = openExclusive(file_);
    auto second = openExclusive(file_);
    auto third = openShared(file_);
    EXPECT_EQ(second->openRecordset("select * from Table1")->recordCount(), 2);
    first->close();
    EXPECT_EQ(openInOtherProcess(file_, false), ChildFileInUse);
    second->close();
    // Only a shared hold is left: others may share, not take it exclusively.
    EXPECT_EQ(openInOtherProcess(file_, false), ChildOpened);
    EXPECT_EQ(openInOtherProcess(file_, true), ChildFileInUse);
    third->close();
    EXPECT_EQ(openInOtherProcess(file_, true), ChildOpened);
}

TEST_F(EngineLockTest, ExclusiveOpenFailsWhileThisProcessSharesWithAnother) {
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    auto shared = openShared(file_);
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            auto database = openShared(file_);
            char byte = 1;
            (void)!::write(ready[1], &byte, 1);
            (void)!::read(release[0], &byte, 1);
            ::_exit(ChildOpened);
        } catch (const Error& error) {
            ::_exit(exitCodeFor(error));
        }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(errorNumberOf([&] { openExclusive(file_); }), errors::FileInUse);
    // The failed upgrade keeps this process's shared hold working.
    EXPECT_EQ(shared->openRecordset("select * from Table1")->recordCount(), 2);
    (void)!::write(release[1], &byte, 1);
    EXPECT_EQ(childStatus(child), ChildOpened);
    EXPECT_EQ(openInOtherProcess(file_, false), ChildOpened);
    EXPECT_NO_THROW(openExclusive(file_));
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);
}

TEST_F(EngineLockTest, RecordsetKeepsItsReleasedDatabaseHoldingTheFile) {
    auto database = openExclusive(file_);
    auto recordset = database->openRecordset("select * from Table1");
    database.reset();
    EXPECT_EQ(openInOtherProcess(file_, true), ChildFileInUse);
    EXPECT_EQ(recordset->field("A"), Variant("a"));
    recordset.reset();
    EXPECT_EQ(openInOtherProcess(file_, true), ChildOpened);
}

TEST_F(EngineLockTest, ClosingTheDatabaseReleasesTheFileThoughRecordsetsLive) {
    auto database = openExclusive(file_);
    auto recordset = database->openRecordset("select * from Table1");
    database->close();
    EXPECT_EQ(openInOtherProcess(file_, true), ChildOpened);
}

TEST_F(EngineLockTest, ForkedChildDoesNotInheritTheHold) {
    auto database = openExclusive(file_);
    const pid_t child = ::fork();
    if (child == 0) {
        database.reset();
        try {
            openExclusive(file_);
            ::_exit(ChildOpened);
        } catch (const Error& error) {
            ::_exit(exitCodeFor(error));
        }
    }
    EXPECT_EQ(childStatus(child), ChildFileInUse);
}

}  // namespace
}  // namespace tessaro::catalogue
