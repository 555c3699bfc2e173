// ub04fmt as a real process beside the test: held mid-batch, killed, run
// side by side with another, or on a disk that fills.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace ub04::test {

// ub04fmt with args, its standard error in err; with "-" the test feeds its
// batch and can hold it mid-batch; with file_size its writes fail past that
// size as on a full disk.
class PipedRun {
 public:
  PipedRun(const std::vector<std::string>& args, const std::filesystem::path& err,
           rlim_t file_size = RLIM_INFINITY) {
    std::vector<char*> argv = {const_cast<char*>("ub04fmt")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int in[2];
    if (::pipe(in) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::close(in[1]);
      int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(fd, 2);
      if (file_size != RLIM_INFINITY) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit l{};
        ::getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = file_size;
        ::setrlimit(RLIMIT_FSIZE, &l);
      }
      ::execv(UB04FMT_PATH, argv.data());
      ::_exit(127);
    }
    ::close(in[0]);
    to_child_ = ::fdopen(in[1], "w");
  }
  // The usual run: formats only, quietly, into out.
  PipedRun(const std::filesystem::path& out, const std::filesystem::path& err)
      : PipedRun({"--no-print", "-q", "-o", out.string(), "-"}, err) {}
  ~PipedRun() {
    if (to_child_) std::fclose(to_child_);
    if (pid_ > 0) Wait();
  }
  PipedRun(const PipedRun&) = delete;
  PipedRun& operator=(const PipedRun&) = delete;

  void Send(const std::vector<BatchLine>& recs, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      std::fprintf(to_child_, "%s\t%s\n", recs[i].key.c_str(), recs[i].rec.c_str());
    std::fflush(to_child_);
  }
  void Kill() { ::kill(pid_, SIGKILL); }
  // Ends the batch it reads, waits and gives its exit status.
  int Finish() {
    std::fclose(to_child_);
    to_child_ = nullptr;
    return Wait();
  }
  pid_t pid() const { return pid_; }

 private:
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  pid_t pid_ = -1;
  std::FILE* to_child_ = nullptr;
};

// The first file of dir named prefix..., waited for up to 10 s; "" if none.
inline std::filesystem::path AwaitFile(const std::filesystem::path& dir, const std::string& prefix) {
  for (int i = 0; i < 10000; ++i) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
      if (e.path().filename().string().rfind(prefix, 0) == 0) return e.path();
    ::usleep(1000);
  }
  return {};
}

// Waits until a run writes file in dir: its temporary and its lock's pid.
inline void AwaitWriting(const std::filesystem::path& dir, const std::string& file = "claims.fmt") {
  AwaitFile(dir, file + ".tmp");
  for (int i = 0; i < 500 && ReadFile(dir / (file + ".lock")).empty(); ++i) ::usleep(10000);
}

// The names in dir that start with prefix.
inline std::vector<std::string> NamesStarting(const std::filesystem::path& dir,
                                              const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().filename().string().rfind(prefix, 0) == 0)
      names.push_back(e.path().filename().string());
  return names;
}

}  // namespace ub04::test
