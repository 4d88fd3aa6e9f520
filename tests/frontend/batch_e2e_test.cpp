// Batch files run as a real process: line cutting, passed-over lines, exit codes.
#include <gtest/gtest.h>

#include "support/installation.h"

namespace {

const std::string kOk = "OK (0 Errors, 0 Warnings)\n";
const std::string kInvalid =
    "- <NULL> : Invalid argument, please check the help for the list of valid argument\n\nOK (1 Errors, 0 Warnings)\n";

class Batch : public ::testing::Test {
 protected:
  qtest::TempInstallation inst;
  qtest::RunResult RunFile(const std::string& contents) {
    inst.WriteFile("cmds.txt", contents);
    return inst.Run({"@" + inst.PathOf("cmds.txt")});
  }
};

TEST_F(Batch, OneLogPerLineAndFailureRecorded) {
  auto r = RunFile("version\nfrobnicate\n");
  EXPECT_EQ(r.out, "Build 40088\n" + kOk + "\n" + kInvalid + "\n");
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Batch, AllLinesSucceed) {
  auto r = RunFile("version\r\n\r\necho \"a  b\" c\r\n\n");
  EXPECT_EQ(r.out, "Build 40088\n" + kOk + "\n" + "a  b c \n" + kOk + "\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(Batch, KeywordCaseAndEmptyKeyword) {
  auto r = RunFile("VeRsIoN\n  version\n");
  EXPECT_EQ(r.out, "Build 40088\n" + kOk + "\n" + kInvalid + "\n");
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Batch, LastLineWithoutTerminatorRuns) {
  auto r = RunFile("echo x\necho y");
  EXPECT_EQ(r.out, "x \n" + kOk + "\n" + "y \n" + kOk + "\n");
}

TEST_F(Batch, UnclosedQuoteRunsWithNoKeyword) {
  auto r = RunFile("\"version\n");
  EXPECT_EQ(r.out, kInvalid + "\n");
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Batch, LongLineIsOneCommand) {
  // Longer than the 512-byte line buffer: still one command, never split in two.
  std::string word(700, 'w');
  auto r = RunFile("echo " + word + " end\n");
  EXPECT_EQ(r.out, word + " end \n" + kOk + "\n");
}

TEST_F(Batch, NulAndNonUtf8Bytes) {
  auto r = RunFile(std::string("echo a\0b\n", 9) + "echo \xff\xfe\n");
  EXPECT_EQ(r.out, "a \n" + kOk + "\n" + "\xff\xfe \n" + kOk + "\n");
}

TEST_F(Batch, MissingFile) {
  auto r = inst.Run({"@/no/such/cmds.txt"});
  EXPECT_EQ(r.err, "-The file \"/no/such/cmds.txt\" does not exist, please specify a valid filename\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.exit_code, 255);
}

TEST_F(Batch, ProcessOptionsApplyToWholeRun) {
  inst.WriteFile("cmds.txt", "version norender\n");
  auto r = inst.Run({"@" + inst.PathOf("cmds.txt"), "norender"});
  EXPECT_EQ(r.out, "Build 40088\n" + kOk + "\n");
}

}  // namespace

namespace {

TEST(FatalFailure, EndsTheProcessWithMinus100) {
  qtest::TempInstallation inst;
  for (const char* kind : {"raise", "segv"}) {
    qtest::RunOptions options;
    options.env = {{"QUORIX_TEST_FAULT", std::string("echo:") + kind}};
    auto single = inst.Run({"echo", "x"}, options);
    EXPECT_EQ(single.exit_code, 156) << kind;  // -100 modulo 256
    EXPECT_EQ(single.out, "") << kind;         // the log is not printed

    // In a batch the remaining lines do not run.
    inst.WriteFile("cmds.txt", "version\necho x\nversion\n");
    auto batch = inst.Run({"@" + inst.PathOf("cmds.txt")}, options);
    EXPECT_EQ(batch.exit_code, 156) << kind;
    EXPECT_EQ(batch.out, "Build 40088\nOK (0 Errors, 0 Warnings)\n\n") << kind;
  }
}

}  // namespace
