// A whole batch through the C++ API, one call per line of the input:
//
//   #...            nothing (comment lines of a batch file)
//   !NR<TAB>TEXT    HereIsAMessage(NR, TEXT), but for these, whose texts
//                   would reach outside the run's own folders:
//     !1<TAB>NAME     the output folder: "out", "sub", "full" or "gone" (one
//                     that does not exist); any other NAME picks one of them
//     !2<TAB>NAME     the file name: letters, digits, "_" and "-" of NAME
//                     and ".fmt" ("" stays ""); in "full", "claims.pdf"
//                     the run log and "claims.fmt" are /dev/full nodes
//     !7<TAB>NAME     a printer queue that does not exist ("" stays "")
//     !CONNECTIONSTRING<TAB>TEXT   "" as it is, "missing" a database file
//                     that does not exist, "folder" a folder, anything else
//                     the reference database built from the example script
//   !EOF, !PRINT    ProcessEndOfFile, ProcessFormattedRecords in mid-batch
//   !RM             removes the output folder (and what is being written)
//   !SWAP           moves the output folder away and makes an empty one
//   !RO, !RW        makes the output folder read-only, writable again
//   !FSIZE<TAB>N    from here on, during each call of the component the
//                   process may write files only up to 1 KB + N quarter-
//                   kilobytes: writes fail as on a full disk. (The limit is
//                   lifted between calls, so the target's checks and
//                   libFuzzer's files are not affected; a crash inside a
//                   call may save a shortened input, rerun the corpus then.)
//   KEY<TAB>REC     FormatRecord(KEY, REC) as given: a batch file's line
//   +KEY<TAB>REC    the same with REC repeated past 32,767 bytes
//   anything else   FormatRecord of the rest of the line under a standard
//                   key whose record type the first byte chooses (the first
//                   such record is a practice record)
//
// Batch files are therefore seeds as they are. Each input runs twice, in two
// fresh folders. Nothing may crash and every call returns one of its
// documented results; both runs leave the same formatted-record files, byte
// for byte; a formatted-record file under its final name is complete (it
// starts with "H", ends with "T", every "C" page closed by its "N") after an
// end of batch that returned 0, and any file the reader calls complete has
// "C" and "N" lines that pair; the first batch whose records were accepted
// and whose end returned 0 leaves its file in place; no temporary file stays
// behind once the sequence is over.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "base/msgbox.h"
#include "base/runtime.h"
#include "form/fmt_file.h"
#include "host/format_class.h"

// Printing loads the machine's fontconfig, which loses a few bytes once
// while parsing its own configuration.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

namespace fs = std::filesystem;

const char* const kTypes[] = {
    "1000", "1050", "2000", "3000", "3100", "3101", "4000", "5000", "5010", "5012", "5014",
    "5016", "5018", "6000", "6010", "6012", "6014", "6016", "6018", "6020", "6022", "6024",
    "6026", "6028", "6050", "6060", "6100", "6110", "6120", "6130", "6200", "6310", "6320",
    "6330", "6340", "6990", "6990", "6990", "5011", "7777", ""};
constexpr size_t kTypeCount = sizeof kTypes / sizeof *kTypes;
const char* const kFolders[] = {"out", "sub", "full", "gone"};

const fs::path& ScratchDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("ub04fuzz-" + std::to_string(getpid()));
    fs::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(ScratchDir(), ec);
    });
    return d;
  }();
  return dir;
}

// The reference database, built once from the example script.
const std::string& ReferenceDb() {
  static const std::string path = [] {
    const fs::path db = ScratchDir() / "reference.db";
    std::ifstream in(UB04_REFERENCE_SQL);
    std::stringstream script;
    script << in.rdbuf();
    sqlite3* h = nullptr;
    if (script.str().empty() || sqlite3_open(db.c_str(), &h) != SQLITE_OK ||
        sqlite3_exec(h, script.str().c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      __builtin_trap();  // the example script moved or no longer loads
    if (sqlite3_close(h) != SQLITE_OK) __builtin_trap();
    return db.string();
  }();
  return path;
}

// A write failure as on a full disk: /dev/full itself, as a device node; a
// link to it where nodes cannot be made (the component refuses links).
void FullNode(const fs::path& p) {
  if (::mknod(p.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
    std::error_code ec;
    fs::create_symlink("/dev/full", p, ec);
  }
}

// Files may grow only to a limit while it is set; a write past it fails
// with EFBIG (SIGXFSZ is ignored). The limit goes when the sequence ends, so
// that libFuzzer writes its own files freely.
class FileSizeLimit {
 public:
  FileSizeLimit() { ::getrlimit(RLIMIT_FSIZE, &saved_); }
  ~FileSizeLimit() { Lift(); }
  void Set(rlim_t bytes) {
    // libFuzzer takes SIGXFSZ as a crash; while the limit is ours, a write
    // past it is meant to fail, not to end the process.
    if (!set_) old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = saved_;
    l.rlim_cur = std::min<rlim_t>(bytes, saved_.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &l);
    set_ = true;
  }
  void Lift() {
    if (!set_) return;
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
    set_ = false;
  }

 private:
  rlimit saved_{};
  bool set_ = false;
  void (*old_handler_)(int) = SIG_DFL;
};

bool Allowed(int16_t r) { return r == 0 || r == 1 || r == 3; }

std::string FileName(const std::string& text) {
  std::string name;
  for (char c : text)
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') name += c;
  if (name.size() > 24) name.resize(24);
  return text.empty() ? std::string() : name + ".fmt";
}

// Independent of WhyIncomplete: the "C" lines open pages that "N" lines
// close, one for one, none left open.
bool PagesPair(const fs::path& p) {
  ub04::FormattedFileReader reader;
  reader.Open(p.string());
  ub04::FormattedLine line;
  long c = 0, n = 0;
  bool open = false;
  while (reader.Next(line)) {
    if (line.kind == "C") {
      if (open) return false;
      open = true;
      ++c;
    } else if (line.kind == "N") {
      if (!open) return false;
      open = false;
      ++n;
    }
  }
  return !open && c == n;
}

bool Complete(const fs::path& p) {
  try {
    return ub04::WhyIncomplete(p.string()).empty();
  } catch (const ub04::RtError&) {
    return false;
  }
}

bool IsTemporary(const std::string& name) {
  size_t at = name.rfind(".tmp");
  return at != std::string::npos && name.size() == at + 4 + 6;
}

using Outputs = std::map<std::string, std::string>;

// One run of the sequence in root; returns the formatted-record files it
// left, by name relative to root.
Outputs RunSequence(const std::string& input, const fs::path& root) {
  std::error_code ec;
  fs::remove_all(root, ec);
  for (const char* f : {"out", "sub", "full"}) fs::create_directories(root / f);
  for (const char* f : {"claims.pdf", "QVR_UB04PPA_Format.Log"}) FullNode(root / "full" / f);
  // A device node as the formatted-record file itself makes printing read
  // it without end (tests/fuzz/findings/host_sequence/README): only on
  // request until the reader refuses files that are not regular.
  FullNode(root / "full" / "claims.fmt");

  ub04::Format_Class fc;  // closes what the previous run left open
  FileSizeLimit limit;
  rlim_t fsize = 0;  // 0: no limit
  fs::path folder = root / "out";
  fs::path fmt = folder / "fuzz.fmt";
  bool fatal = false;
  bool first_record = true, accepted = false, first_eof = true;
  fs::path batch_path;

  // Runs a call of the component under the file-size limit, if one is set.
  auto call = [&](auto&& f) {
    if (fsize != 0) limit.Set(fsize);
    auto r = f();
    limit.Lift();
    return r;
  };
  auto drain = [&] {
    for (int32_t i = 1; fc.GetAMessage(i) != "END"; ++i) {
    }
  };
  auto end_of_batch = [&] {
    int16_t r = call([&] { return fc.ProcessEndOfFile(); });
    if (r != 0 && r != 1) __builtin_trap();
    if (r == 0 && !fatal) {
      if (fs::exists(fmt, ec) && fs::is_regular_file(fmt, ec) && !Complete(fmt)) __builtin_trap();
      if (first_eof && accepted && !Complete(batch_path)) __builtin_trap();
    }
    first_eof = false;
    drain();
  };

  fc.HereIsAMessage("1", folder.string());
  fc.HereIsAMessage("2", "fuzz.fmt");
  size_t pos = 0;
  bool first = true;
  while (pos < input.size()) {
    size_t nl = input.find('\n', pos);
    std::string line = input.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? input.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;

    int16_t r = 0;
    const size_t tab = line.find('\t');
    if (line[0] == '!') {
      std::string nr = line.substr(1, tab == std::string::npos ? std::string::npos : tab - 1);
      std::string text = tab == std::string::npos ? "" : line.substr(tab + 1);
      if (nr == "EOF") {
        end_of_batch();
        continue;
      } else if (nr == "PRINT") {
        r = call([&] { return fc.ProcessFormattedRecords(); });
        if (r != 0 && r != 1) __builtin_trap();
      } else if (nr == "1") {
        const char* name = kFolders[text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 4];
        for (const char* f : kFolders)
          if (text == f) name = f;
        folder = root / name;
        r = call([&] { return fc.HereIsAMessage("1", folder.string()); });
      } else if (nr == "2") {
        const std::string name = FileName(text);
        r = call([&] { return fc.HereIsAMessage("2", name); });
        if (r == 0) fmt = folder / name;
      } else if (nr == "7") {
        const std::string queue = text.empty() ? "" : "ub04fuzz-no-such-queue-" + FileName(text);
        r = call([&] { return fc.HereIsAMessage("7", queue); });
      } else if (nr == "CONNECTIONSTRING") {
        std::string cs = text.empty()         ? ""
                         : text == "missing" ? (root / "missing.db").string()
                         : text == "folder"  ? (root / "out").string()
                                             : ReferenceDb();
        r = call([&] { return fc.HereIsAMessage("CONNECTIONSTRING", cs); });
      } else if (nr == "RM") {
        fs::remove_all(folder, ec);
        continue;
      } else if (nr == "SWAP") {
        fs::path old = folder;
        old += ".old";
        fs::remove_all(old, ec);
        fs::rename(folder, old, ec);
        fs::create_directories(folder, ec);
        continue;
      } else if (nr == "RO" || nr == "RW") {
        fs::permissions(folder, nr == "RO" ? fs::perms(0500) : fs::perms(0700), ec);
        continue;
      } else if (nr == "FSIZE") {
        fsize = 1024 + 256 * static_cast<rlim_t>(std::atol(text.c_str()) & 0xffff);
        continue;
      } else {
        if (nr == "3") fatal = text == "Y";
        r = call([&] { return fc.HereIsAMessage(nr, text); });
      }
    } else {
      std::string key, rec;
      if (tab != std::string::npos) {
        bool grow = line[0] == '+';
        key = line.substr(grow ? 1 : 0, tab - (grow ? 1 : 0));
        rec = line.substr(tab + 1);
        if (grow) {
          std::string piece = rec.empty() ? std::string("//") : rec;
          while (rec.size() <= 32767) rec += piece;
        }
      } else {
        const char* type = first ? "1000" : kTypes[static_cast<unsigned char>(line[0]) % kTypeCount];
        key = "K//k//k//k//k//k//k//k//k//k//" + std::string(type);
        rec = line.substr(1);
      }
      first = false;
      if (first_record) batch_path = fmt;
      first_record = false;
      r = call([&] { return fc.FormatRecord(key, rec); });
      if (r == 0 && first_eof && fmt == batch_path) accepted = true;
    }
    if (!Allowed(r)) __builtin_trap();
    drain();
  }
  end_of_batch();

  Outputs outputs;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    const fs::path& p = it->path();
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    const std::string name = p.filename().string();
    const std::string rel = fs::relative(p, root, ec).string();
    // Whatever the run did, it leaves no temporary file in a folder it
    // still knows (one moved away keeps what was open in it).
    if (IsTemporary(name) && rel.find(".old/") == std::string::npos) __builtin_trap();
    if (p.extension() != ".fmt") continue;
    if (Complete(p) && !PagesPair(p)) __builtin_trap();
    std::ifstream in(p, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    outputs[rel] = bytes.str();
  }
  return outputs;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Printing never reaches a real print server: the one named does not exist.
  ::setenv("CUPS_SERVER", (ScratchDir() / "no-cups.sock").c_str(), 1);
  ReferenceDb();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ub04::SetMessageBoxSink([](std::string_view) {});
  const std::string input(reinterpret_cast<const char*>(data), size);
  const Outputs a = RunSequence(input, ScratchDir() / "a");
  const Outputs b = RunSequence(input, ScratchDir() / "b");
  // UB04_FUZZ_VERBOSE: which files a run left, to see that a seed reaches
  // what it is meant to.
  if (std::getenv("UB04_FUZZ_VERBOSE"))
    for (const auto& [name, bytes] : a) std::fprintf(stderr, "%s %zu bytes\n", name.c_str(), bytes.size());
  if (a != b) __builtin_trap();  // the same input gives the same bytes
  return 0;
}
