// Start-up of the program: time from process start to the main dialog shown (offscreen), and the
// peak memory, against a minimal Qt program that shows one empty dialog. Each program runs as a
// fresh process, several times; medians are compared. The ratio of start-up times comes last.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "pages/ModulinkPages.h"

extern char** environ;

namespace {

int64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

long PeakRssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

void Report() {
  std::printf("shown %lld %ld\n", static_cast<long long>(NowNs()), PeakRssKb());
  std::fflush(stdout);
}

int RunProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ModulinkStartup startup;
  return startup.Run(AttachPages, [](ModulinkDlg& dialog) {
    Report();
    dialog.done(0);
  });
}

int RunMinimal(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.resize(760, 560);
  QTimer::singleShot(0, &dialog, [&dialog] {
    Report();
    dialog.done(0);
  });
  return dialog.exec();
}

struct Sample {
  double ms;
  long rssKb;
};

bool Spawn(const char* self, const char* mode, Sample& out) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  char* args[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
  pid_t pid = 0;
  const int64_t start = NowNs();
  const int rc = posix_spawn(&pid, self, &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return false;
  }
  std::string text;
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  long long shown = 0;
  long rss = 0;
  const size_t at = text.find("shown ");
  if (at == std::string::npos || std::sscanf(text.c_str() + at, "shown %lld %ld", &shown, &rss) != 2) return false;
  out = {static_cast<double>(shown - start) / 1e6, rss};
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--program") == 0) return RunProgram(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--minimal") == 0) return RunMinimal(argc, argv);

  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::filesystem::path home = std::filesystem::temp_directory_path() / ("bench_startup." + std::to_string(getpid()));
  std::filesystem::create_directories(home);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

  constexpr int kRuns = 9;
  std::vector<double> program, minimal;
  long programRss = 0, minimalRss = 0;
  for (int i = 0; i < kRuns; ++i) {
    Sample s{};
    if (!Spawn(self.c_str(), "--minimal", s)) return std::fprintf(stderr, "minimal run failed\n"), 1;
    minimal.push_back(s.ms);
    minimalRss = std::max(minimalRss, s.rssKb);
    if (!Spawn(self.c_str(), "--program", s)) return std::fprintf(stderr, "program run failed\n"), 1;
    program.push_back(s.ms);
    programRss = std::max(programRss, s.rssKb);
  }
  std::filesystem::remove_all(home);
  const double p = Median(program), m = Median(minimal);
  std::printf("runs each                 %d\n", kRuns);
  std::printf("minimal dialog shown      %.1f ms (median), peak RSS %ld KiB\n", m, minimalRss);
  std::printf("Modulink dialog shown     %.1f ms (median), peak RSS %ld KiB\n", p, programRss);
  std::printf("peak RSS ratio            %.2f\n", static_cast<double>(programRss) / static_cast<double>(minimalRss));
  std::printf("start-up ratio            %.2f\n", p / m);
  return 0;
}
