// io_floor: the least work a formatter of this batch could do.
//
//   io_floor [--flush-per-line] BATCH OUT_DIR FMT_BYTES LOG_BYTES
//
// Reads BATCH line by line and, as it goes, writes FMT_BYTES bytes to
// OUT_DIR/floor.fmt and LOG_BYTES bytes to OUT_DIR/floor.log, each through
// one buffered stream, in proportion to the input read so far. The bytes
// written are copies of the input lines, so the pattern of small writes into
// a buffer is the formatter's; only the formatting itself is missing.
//
// --flush-per-line flushes both streams after every input line: the least
// a formatter must do when every record is one call of the host and what a
// call wrote has to be in the file when the call returns.
//
// Prints "read=N fmt=N log=N seconds=S".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

// Writes `want` bytes cut from `line` (repeated as needed) to f.
void WriteFrom(std::FILE* f, const char* line, size_t len, long long want) {
  while (want > 0) {
    size_t n = want < static_cast<long long>(len) ? static_cast<size_t>(want) : len;
    if (std::fwrite(line, 1, n, f) != n) {
      std::perror("io_floor: write");
      std::exit(1);
    }
    want -= static_cast<long long>(n);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool flush_per_line = argc > 1 && std::string(argv[1]) == "--flush-per-line";
  if (flush_per_line) {
    --argc;
    ++argv;
  }
  if (argc != 5) {
    std::fputs("usage: io_floor [--flush-per-line] BATCH OUT_DIR FMT_BYTES LOG_BYTES\n", stderr);
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  std::FILE* in = std::fopen(argv[1], "rb");
  if (!in) {
    std::perror(argv[1]);
    return 2;
  }
  struct stat st {};
  fstat(fileno(in), &st);
  const long long in_bytes = st.st_size > 0 ? st.st_size : 1;
  const long long fmt_bytes = std::atoll(argv[3]);
  const long long log_bytes = std::atoll(argv[4]);
  std::string dir = argv[2];
  std::FILE* fmt = std::fopen((dir + "/floor.fmt").c_str(), "wb");
  std::FILE* log = std::fopen((dir + "/floor.log").c_str(), "wb");
  if (!fmt || !log) {
    std::perror("io_floor: open output");
    return 2;
  }

  char* line = nullptr;
  size_t cap = 0;
  ssize_t len;
  long long read = 0, fmt_done = 0, log_done = 0;
  while ((len = getline(&line, &cap, in)) > 0) {
    read += len;
    // Output due after `read` input bytes, as a formatter streaming records.
    long long fmt_due = static_cast<long long>(static_cast<double>(fmt_bytes) * read / in_bytes);
    long long log_due = static_cast<long long>(static_cast<double>(log_bytes) * read / in_bytes);
    WriteFrom(fmt, line, static_cast<size_t>(len), fmt_due - fmt_done);
    WriteFrom(log, line, static_cast<size_t>(len), log_due - log_done);
    fmt_done = fmt_due;
    log_done = log_due;
    if (flush_per_line && (std::fflush(fmt) != 0 || std::fflush(log) != 0)) {
      std::perror("io_floor: flush");
      return 1;
    }
  }
  const char pad[] = "0123456789abcdef";
  WriteFrom(fmt, pad, sizeof pad - 1, fmt_bytes - fmt_done);
  WriteFrom(log, pad, sizeof pad - 1, log_bytes - log_done);
  std::free(line);
  std::fclose(in);
  if (std::fclose(fmt) != 0 || std::fclose(log) != 0) {
    std::perror("io_floor: close");
    return 1;
  }
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("read=%lld fmt=%lld log=%lld seconds=%.6f\n", read, fmt_bytes, log_bytes, secs);
  return 0;
}
