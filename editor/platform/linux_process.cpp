#include "editor/platform/linux_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

constexpr int kPollMs = 100;

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

bool ProgramOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path || !program || !*program) return false;
  std::string folders(path);
  size_t start = 0;
  while (start <= folders.size()) {
    const size_t end = std::min(folders.find(':', start), folders.size());
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    struct stat info;
    if (end > start && stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

int RunProgram(const std::vector<std::string>& argv, std::string& output, const std::function<bool()>& keepWaiting) {
  output.clear();
  if (argv.empty()) return -1;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<char*> pointers = ArgvPointers(argv);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (started != 0) {
    close(pipeFds[0]);
    return -1;
  }
  bool stopped = false;
  for (;;) {
    pollfd fd{pipeFds[0], POLLIN, 0};
    const int ready = poll(&fd, 1, kPollMs);
    if (ready > 0) {
      char buffer[512];
      const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
      if (got <= 0) break;
      output.append(buffer, static_cast<size_t>(got));
    } else if (keepWaiting && !keepWaiting()) {
      kill(pid, SIGTERM);
      stopped = true;
      break;
    }
  }
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (stopped || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty() || !ProgramOnPath(argv[0].c_str())) return false;
  // A shell in between starts the program in the background and ends at
  // once, so the program is never our child to reap.
  std::vector<std::string> wrapped = {"/bin/sh", "-c", "\"$0\" \"$@\" >/dev/null 2>&1 &"};
  wrapped.insert(wrapped.end(), argv.begin(), argv.end());
  std::vector<char*> pointers = ArgvPointers(wrapped);
  pid_t pid = 0;
  if (posix_spawn(&pid, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
