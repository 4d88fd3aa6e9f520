// Start-up and shut-down of the real program: folders, the controller failure path, and
// several programs at once on one installation.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "database/layout.h"
#include "engine/file.h"
#include "support/installation.h"

extern char** environ;

namespace {

// Runs the program from an open descriptor after its installation folder was removed, the
// way a program whose root vanished starts; returns standard error and the exit code.
std::pair<std::string, int> RunWithRootRemoved(qtest::TempInstallation& inst, const std::vector<std::string>& args) {
  int fd = open(inst.Program().c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  EXPECT_TRUE(Orb::File::Prune(inst.Root()));
  int err[2];
  EXPECT_EQ(pipe(err), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(err[1], 2);
    close(err[0]);
    close(err[1]);
    std::vector<char*> argv = {const_cast<char*>("QuorixUtil")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    fexecve(fd, argv.data(), environ);
    _exit(127);
  }
  close(err[1]);
  close(fd);
  std::string text;
  char buf[4096];
  for (ssize_t n; (n = read(err[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  Orb::File::Md(inst.Root());  // for the installation's own clean-up
  return {text, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(StartupE2E, CommandRunMakesTheFoldersAndLeavesBuiltInsAlone) {
  qtest::TempInstallation inst;
  auto r = inst.Run({"version"});
  EXPECT_EQ(r.out, "Build 40088\nOK (0 Errors, 0 Warnings)\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.exit_code, 0);
  for (const std::string& folder : QETLib::StartupFolders()) EXPECT_TRUE(inst.Exists(folder)) << folder;
  EXPECT_FALSE(inst.Exists("base"));
  EXPECT_FALSE(inst.Exists("builtin"));
}

TEST(StartupE2E, HelpStartsNothing) {
  qtest::TempInstallation inst;
  auto r = inst.Run({"help"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_FALSE(inst.Exists("local"));
}

TEST(StartupE2E, MissingRootFailsToOpenTheController) {
  for (auto [args, digit] : {std::pair<std::vector<std::string>, const char*>{{"version"}, "0"},
                             {{"repairdatabase", "patcher"}, "1"},
                             {{"repairdatabase", "PATCHER"}, "0"}}) {
    qtest::TempInstallation inst;
    auto [err, code] = RunWithRootRemoved(inst, args);
    EXPECT_EQ(err, std::string("- Unable to open IPC controller ") + digit + "\n");
    EXPECT_EQ(code, 255);
  }
}

TEST(StartupE2E, MissingDataFolderFailsTheContentLibrary) {
  qtest::TempInstallation inst;
  ASSERT_TRUE(Orb::File::Prune(inst.PathOf("bin/QETData")));
  auto r = inst.Run({"version"});
  EXPECT_EQ(r.err, "- QETLib initialisation failed.\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.exit_code, 255);
}

TEST(StartupE2E, ManyProgramsAtOnceOnOneInstallationAllFinish) {
  qtest::TempInstallation inst;
  std::vector<int> pids;
  for (int i = 0; i < 8; ++i) pids.push_back(qtest::StartProgram(inst.Program(), {"version"}));
  for (int pid : pids) EXPECT_EQ(qtest::WaitProgram(pid), 0);
  EXPECT_EQ(inst.Run({"installedversion"}).exit_code, 310 % 256);
}

}  // namespace
