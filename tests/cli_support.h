// Running ub04fmt as a process for the CLI tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/test_support.h"

namespace ub04::test {

struct CliRun {
  int status = -1;
  std::string err;
};

// Runs ub04fmt with args (shell words) and captures its standard error.
inline CliRun RunCli(const std::string& args) {
  ScratchDir tmp;
  std::string err_path = tmp.str() + "/stderr";
  std::string cmd = std::string(UB04FMT_PATH) + " " + args + " 2>" + err_path + " >/dev/null";
  int rc = std::system(cmd.c_str());
  CliRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.err = ReadFile(err_path);
  return r;
}

inline std::string WriteBatch(const ScratchDir& dir, const std::string& text,
                              const std::string& name = "batch.txt") {
  std::string path = dir.str() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace ub04::test
