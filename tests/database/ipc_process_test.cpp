// The ownership protocol between real processes on real installations.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

#include "database/ipc_worker_process.h"
#include "engine/file.h"
#include "engine/named_mutex.h"
#include "engine/path.h"
#include "engine/text.h"
#include "support/installation.h"
#include "support/run.h"

namespace {

using qtest::WorkerProcess;

struct Block {
  int controller, owner, requester, change_counter, counting, attached, exclusive, admission;
};

Block Parse(const std::string& view) {
  Block b{};
  std::istringstream in(view);
  in >> b.controller >> b.owner >> b.requester >> b.change_counter >> b.counting >> b.attached >> b.exclusive >> b.admission;
  return b;
}

int Pid(WorkerProcess& w) { return std::stoi(w.Ask("pid")); }

class IpcProcessTest : public ::testing::Test {
 protected:
  qtest::TempFolder temp;
  std::string root = temp.Path();
  std::string log = temp.Path() + "/engine.log";
  std::vector<std::pair<std::string, std::string>> env = {{"QUORIX_ENGINE_LOG", log}};
  std::string Open(WorkerProcess& w, bool repair = false) {
    return w.Ask("open " + root + (repair ? " 1" : " 0"));
  }
};

TEST_F(IpcProcessTest, SecondProcessAttachesAndCountsItselfOtherRootGetsItsOwnBlock) {
  WorkerProcess a(env), b(env), c(env);
  ASSERT_EQ(Open(a), "ok");
  Block first = Parse(a.Ask("view"));
  EXPECT_EQ(first.controller, Pid(a));
  EXPECT_EQ(first.owner, -1);
  EXPECT_EQ(first.requester, -1);
  EXPECT_EQ(first.counting, 2);
  EXPECT_EQ(first.attached, 1);
  EXPECT_EQ(a.Ask("controller"), "1");

  ASSERT_EQ(Open(b), "ok");
  Block second = Parse(b.Ask("view"));
  EXPECT_EQ(second.controller, Pid(a));
  EXPECT_EQ(second.attached, 2);
  EXPECT_EQ(b.Ask("controller"), "0");

  qtest::TempFolder other;
  ASSERT_EQ(c.Ask("open " + other.Path() + " 0"), "ok");
  Block elsewhere = Parse(c.Ask("view"));
  EXPECT_EQ(elsewhere.controller, Pid(c));
  EXPECT_EQ(elsewhere.attached, 1);

  EXPECT_EQ(b.Ask("close"), "ok");
  EXPECT_EQ(Parse(a.Ask("view")).attached, 1);
}

TEST_F(IpcProcessTest, OpenFailsWithoutTheRootFolderOrIndexName) {
  WorkerProcess a(env);
  EXPECT_EQ(a.Ask("open " + root + "/missing 0"), "fail");
  EXPECT_EQ(Open(a), "ok");
  EXPECT_EQ(Open(a), "ok");  // already open: nothing to do
}

TEST_F(IpcProcessTest, ExclusiveBlockAdmitsOnlyRepairToolsWhenAllowed) {
  WorkerProcess a(env), b(env), c(env);
  ASSERT_EQ(Open(a), "ok");
  ASSERT_EQ(a.Ask("exclusive 1 0"), "ok");
  EXPECT_EQ(Open(b), "fail");
  EXPECT_EQ(Open(b, true), "fail");
  ASSERT_EQ(a.Ask("exclusive 1 1"), "ok");
  EXPECT_EQ(Open(b), "fail");
  EXPECT_EQ(Open(c, true), "ok");
  EXPECT_EQ(Parse(a.Ask("view")).attached, 2);  // the turned-away ones were not counted
}

TEST_F(IpcProcessTest, OwnershipPassesToTheRequester) {
  WorkerProcess a(env), b(env);
  ASSERT_EQ(Open(a), "ok");
  ASSERT_EQ(Open(b), "ok");
  EXPECT_EQ(a.Ask("try 1"), "1");
  EXPECT_EQ(a.Ask("pending"), "0");
  EXPECT_EQ(b.Ask("try 0"), "0");
  EXPECT_EQ(Parse(a.Ask("view")).requester, -1);  // not registered
  EXPECT_EQ(b.Ask("try 1"), "0");
  Block waiting = Parse(a.Ask("view"));
  EXPECT_EQ(waiting.owner, Pid(a));
  EXPECT_EQ(waiting.requester, Pid(b));
  EXPECT_EQ(a.Ask("pending"), "1");

  b.Send("acquire");
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  EXPECT_EQ(a.Ask("release"), "ok");
  EXPECT_EQ(b.ReadAnswer(), "ok");
  Block after = Parse(a.Ask("view"));
  EXPECT_EQ(after.owner, Pid(b));
  EXPECT_EQ(after.requester, -1);
  EXPECT_EQ(a.Ask("owner"), "0");
  // A third party may not jump the queue while someone is waiting.
  WorkerProcess c(env);
  ASSERT_EQ(Open(c), "ok");
  EXPECT_EQ(a.Ask("try 1"), "0");
  EXPECT_EQ(c.Ask("try 1"), "0");
  EXPECT_EQ(Parse(c.Ask("view")).requester, Pid(a));
  EXPECT_EQ(b.Ask("close"), "ok");  // closing gives ownership up
  EXPECT_EQ(Parse(c.Ask("view")).owner, -1);
  EXPECT_EQ(c.Ask("try 1"), "0");  // still a's turn
  EXPECT_EQ(a.Ask("try 1"), "1");
}

TEST_F(IpcProcessTest, KilledOwnerIsClearedAndTheWaitingControllerGetsIn) {
  WorkerProcess a(env);
  auto b = std::make_unique<WorkerProcess>(env);
  ASSERT_EQ(Open(a), "ok");
  ASSERT_EQ(Open(*b), "ok");
  ASSERT_EQ(b->Ask("acquire"), "ok");
  int dead = b->Pid();
  b->Kill();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(a.Ask("acquire"), "ok");
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::seconds(1));
  EXPECT_EQ(Parse(a.Ask("view")).owner, Pid(a));
  std::string text;
  ASSERT_TRUE(Orb::ReadWholeFile(log, text));
  EXPECT_NE(text.find("IPCIdle> clearing dead database owner (owner processID was " + std::to_string(dead) + ")\n"),
            std::string::npos);
}

TEST_F(IpcProcessTest, KilledControllerAndOwnerIsReplacedByAWaitingProcess) {
  auto a = std::make_unique<WorkerProcess>(env);
  WorkerProcess b(env);
  ASSERT_EQ(Open(*a), "ok");
  ASSERT_EQ(Open(b), "ok");
  ASSERT_EQ(a->Ask("acquire"), "ok");
  a->Kill();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(b.Ask("acquire"), "ok");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(b.Ask("controller"), "1");
  Block now = Parse(b.Ask("view"));
  EXPECT_EQ(now.controller, Pid(b));
  EXPECT_EQ(now.owner, Pid(b));
}

TEST_F(IpcProcessTest, KilledRequesterIsClearedByTheControllerIdlePass) {
  WorkerProcess a(env);
  auto b = std::make_unique<WorkerProcess>(env);
  ASSERT_EQ(Open(a), "ok");
  ASSERT_EQ(Open(*b), "ok");
  ASSERT_EQ(a.Ask("try 1"), "1");
  ASSERT_EQ(b->Ask("try 1"), "0");
  int dead = b->Pid();
  b->Kill();
  EXPECT_EQ(Parse(a.Ask("view")).requester, dead);
  EXPECT_EQ(a.Ask("idle"), "ok");
  EXPECT_EQ(Parse(a.Ask("view")).requester, -1);
  std::string text;
  ASSERT_TRUE(Orb::ReadWholeFile(log, text));
  EXPECT_NE(text.find("IPCIdle> clearing dead database requester (requester processID was " + std::to_string(dead) +
                      ")\n"),
            std::string::npos);
}

TEST_F(IpcProcessTest, ProcessKilledHoldingTheMutexBlocksNobody) {
  WorkerProcess a(env);
  auto b = std::make_unique<WorkerProcess>(env);
  ASSERT_EQ(Open(a), "ok");
  ASSERT_EQ(Open(*b), "ok");
  ASSERT_EQ(b->Ask("hold-mutex"), "holding");
  b->Kill();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(a.Ask("try 1"), "1");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(IpcProcessTest, LastProcessKilledLeavesNothingStale) {
  auto a = std::make_unique<WorkerProcess>(env);
  ASSERT_EQ(Open(*a), "ok");
  ASSERT_EQ(a->Ask("acquire"), "ok");
  ASSERT_EQ(a->Ask("exclusive 1 0"), "ok");
  a->Kill();
  WorkerProcess b(env);
  ASSERT_EQ(Open(b), "ok");  // the exclusive word died with its process
  Block fresh = Parse(b.Ask("view"));
  EXPECT_EQ(fresh.controller, Pid(b));
  EXPECT_EQ(fresh.owner, -1);
  EXPECT_EQ(fresh.attached, 1);
  EXPECT_EQ(b.Ask("try 1"), "1");
}

TEST_F(IpcProcessTest, FilesOfAKilledLoneProcessAreSweptByTheNextFirstOpener) {
  std::string name = Orb::Path::AddPath("09731AC6-B611-4e2a-B181-578073F64F24", Orb::ToLower(root));
  std::string live = Orb::SharedObjectPath(name, "live");
  auto a = std::make_unique<WorkerProcess>(env);
  ASSERT_EQ(Open(*a), "ok");
  ASSERT_TRUE(Orb::File::Exists(live));
  a->Kill();  // nobody closes it (another test's first opener may sweep it already)
  qtest::TempFolder other;
  WorkerProcess b(env);
  ASSERT_EQ(b.Ask("open " + other.Path() + " 0"), "ok");
  EXPECT_FALSE(Orb::File::Exists(live));
  EXPECT_FALSE(Orb::File::Exists(Orb::SharedObjectPath(name, "mutex")));
  EXPECT_FALSE(Orb::File::Exists(Orb::SharedObjectPath(name, "ipc2.shm")));
  WorkerProcess c(env);
  ASSERT_EQ(Open(c), "ok");  // the installation opens afresh
  EXPECT_EQ(Parse(c.Ask("view")).controller, Pid(c));
}

TEST_F(IpcProcessTest, SixteenProcessesShareTheWriteLockWithoutLosingAnUpdate) {
  std::string counter = root + "/counter.txt";
  WorkerProcess watcher(env);
  ASSERT_EQ(Open(watcher), "ok");
  std::vector<int> pids;
  for (int i = 0; i < 16; ++i)
    pids.push_back(qtest::StartProgram(QUORIX_IPC_WORKER, {"hammer", root, "50", counter}, {"", env, ""}));
  for (int pid : pids) EXPECT_EQ(qtest::WaitProgram(pid), 0);
  std::string text;
  ASSERT_TRUE(Orb::ReadWholeFile(counter, text));
  EXPECT_EQ(text, "800");
  Block block = Parse(watcher.Ask("view"));
  EXPECT_EQ(block.change_counter, 800);
  EXPECT_EQ(block.owner, -1);
  EXPECT_EQ(block.requester, -1);
  EXPECT_EQ(block.attached, 1);  // every hammer took itself off again
}

}  // namespace
