// Hand-over of database ownership between two processes: each takes ownership, gives it
// up as soon as the other asks for it, and asks again. Prints the distribution of the
// time from one process's release to the other's acquisition. With "random" the owner
// holds on for a random 0-60 ms after it sees the request, so releases do not fall in step
// with the waiter's 50 ms wait steps.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "database/ipc_controller.h"
#include "engine/file.h"
#include "engine/process.h"

namespace {

int64_t NowNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);  // one clock for every process on the machine
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int Child(const std::string& root, int rounds, const std::string& out_path, bool random_hold) {
  std::srand(static_cast<unsigned>(getpid()));
  Orb::Process::RecordMainThread();
  if (!QETLib::OpenIPCController(root + "/assets.tdx", false)) return 2;
  std::ofstream out(out_path);
  for (int i = 0; i < rounds; ++i) {
    QETLib::AcquireOwnership();
    out << "acq " << NowNs() << "\n";
    int64_t give_up = NowNs() + 500000000;  // the other one may have finished
    while (!QETLib::HasPendingRequest() && NowNs() < give_up) usleep(200);
    if (random_hold) usleep(static_cast<useconds_t>(std::rand() % 60000));
    out << "rel " << NowNs() << "\n";
    QETLib::ReleaseOwnership();
  }
  QETLib::CloseIPCController();
  return 0;
}

struct Event {
  int64_t t;
  int who;
  bool acquire;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "child")
    return Child(argv[2], std::atoi(argv[3]), argv[4], std::string(argv[5]) == "random");
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 51;
  const std::string mode = argc > 2 ? argv[2] : "prompt";
  char templ[] = "/tmp/quorix-handover-XXXXXX";
  std::string root = mkdtemp(templ);
  std::vector<pid_t> pids;
  for (int who = 0; who < 2; ++who) {
    std::string out = root + "/events" + std::to_string(who);
    pid_t pid = fork();
    if (pid == 0) {
      execl("/proc/self/exe", argv[0], "child", root.c_str(), std::to_string(rounds).c_str(), out.c_str(),
            mode.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    pids.push_back(pid);
  }
  for (pid_t pid : pids) waitpid(pid, nullptr, 0);
  std::vector<Event> events;
  for (int who = 0; who < 2; ++who) {
    std::ifstream in(root + "/events" + std::to_string(who));
    std::string kind;
    int64_t t;
    while (in >> kind >> t) events.push_back({t, who, kind == "acq"});
  }
  Orb::File::Prune(root);
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.t < b.t; });
  std::vector<double> ms;
  for (size_t i = 1; i < events.size(); ++i)
    if (events[i].acquire && !events[i - 1].acquire && events[i - 1].who != events[i].who)
      ms.push_back(double(events[i].t - events[i - 1].t) / 1e6);
  if (ms.empty()) {
    std::printf("no hand-overs measured\n");
    return 1;
  }
  std::sort(ms.begin(), ms.end());
  auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size() - 1) + 0.5))]; };
  std::printf("mode %s, hand-overs: %zu\n", mode.c_str(), ms.size());
  std::printf("min %.2f ms  p10 %.2f  median %.2f  p90 %.2f  p99 %.2f  max %.2f ms\n", ms.front(), at(0.10), at(0.5),
              at(0.9), at(0.99), ms.back());
  return 0;
}
