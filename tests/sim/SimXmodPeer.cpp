#include "sim/SimXmodPeer.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace sim {

SimXmodPeer::~SimXmodPeer() {
  if (pid_ > 0) Wait(0);
  if (fd_ >= 0) ::close(fd_);
}

bool SimXmodPeer::Start(const std::vector<std::string>& argv, const std::string& workDir) {
  if (pid_ > 0 || argv.empty()) return false;
  int sv[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) return false;
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, sv[1], 0);
  posix_spawn_file_actions_adddup2(&fa, sv[1], 1);
  posix_spawn_file_actions_addopen(&fa, 2, getenv("SIMXMOD_STDERR") ? getenv("SIMXMOD_STDERR") : "/dev/null", O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&fa, workDir.c_str());
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, argv[0].c_str(), &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  ::close(sv[1]);
  if (rc != 0) {
    ::close(sv[0]);
    return false;
  }
  ::fcntl(sv[0], F_SETFL, ::fcntl(sv[0], F_GETFL) | O_NONBLOCK);
  pid_ = pid;
  fd_ = sv[0];
  return true;
}

bool SimXmodPeer::TryWait(int* status) {
  if (pid_ <= 0) return true;
  int st = 0;
  if (::waitpid(pid_, &st, WNOHANG) != pid_) return false;
  pid_ = -1;
  if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  return true;
}

void SimXmodPeer::Signal(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

int SimXmodPeer::Wait(int ms) {
  if (pid_ <= 0) return -1;
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  int status = 0;
  for (;;) {
    pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return -1;
}

}  // namespace sim
