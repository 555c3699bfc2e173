// What a run leaves in its output folder when something stands in its way
// (locks, another run, a killed run, a full disk, a file changed while it
// prints), run for real as processes on real folders.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "form/fmt_file.h"
#include "host/format_class.h"
#include "tests/cli_support.h"
#include "tests/pdf_support.h"
#include "tests/process_support.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

// What a run may have written in dir: every name but the lock files (which
// stay, naming their last holder), with the content of each plain file.
std::map<std::string, std::string> Outputs(const fs::path& dir) {
  std::map<std::string, std::string> seen;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ".lock") == 0) continue;
    seen[name] = e.is_regular_file() && !e.is_symlink() ? ReadFile(e.path()) : "<not a file>";
  }
  return seen;
}

// The example batch with its lines changed by edit (a line at a time; the
// lines it returns false for are dropped).
std::string EditedExample(const ScratchDir& dir, const std::function<bool(std::string&)>& edit) {
  std::ifstream in(ExampleBatch(), std::ios::binary);
  std::string text, line;
  while (std::getline(in, line))
    if (edit(line)) text += line + "\n";
  return WriteBatch(dir, text, "edited.txt");
}

// How many pages a PDF has, and whether one of them shows word.
std::pair<int, bool> PagesAndWord(const fs::path& pdf, const std::string& word) {
  int pages = 0;
  std::vector<Word> words = PdfWords(pdf, &pages);
  return {pages, Find(words, word) != nullptr};
}

// ---- a killed run ----------------------------------------------------------------------

TEST(Processes, AKilledRunLeavesTheLastGoodFileAndTheNextRunTidiesUp) {
  ScratchDir dir;
  const std::string batch = ExampleBatch();
  const fs::path fmt = dir.path() / "claims.fmt";
  ASSERT_EQ(RunCli("--no-print -q -o " + dir.str() + " " + batch).status, 0);
  const std::string good = ReadFile(fmt);
  fs::remove(dir.path() / "claims.fmt.lock");

  const auto& recs = ExampleRecords();
  {
    PipedRun run(dir.path(), dir.path() / "killed.err");
    run.Send(recs, 0, recs.size() / 2);
    AwaitWriting(dir.path());
    run.Kill();
  }
  EXPECT_EQ(ReadFile(fmt), good);
  EXPECT_EQ(NamesStarting(dir.path(), "claims.fmt.tmp").size(), 1u);
  ASSERT_EQ(RunCli("--no-print -q -o " + dir.str() + " " + batch).status, 0);
  EXPECT_EQ(ReadFile(fmt), good);
  EXPECT_TRUE(NamesStarting(dir.path(), "claims.fmt.tmp").empty());
  EXPECT_NE(ReadFile(dir.path() / "QVR_UB04PPA_Format.Log")
                .find("Removed a temporary file an earlier run left unfinished"),
            std::string::npos);
}

// ---- locks ------------------------------------------------------------------------------

// Only a plain file of this user's with no other name is a lock file. A
// link, a folder, a hard link to another file or another user's file at a
// lock's name stops the run before it writes anything, and what is there
// is left as it was.
TEST(PlantedLocks, AnythingButARunsOwnLockFileStopsTheRunAndIsLeftAlone) {
  const bool root = ::geteuid() == 0;
  const passwd* nobody = ::getpwnam("nobody");
  struct Plant {
    const char* what;
    const char* said;
    std::function<void(const fs::path& lock, const fs::path& victim)> make;
  } plants[] = {
      {"a symbolic link", "is a symbolic link",
       [](const fs::path& lock, const fs::path&) { fs::create_symlink("../victim", lock); }},
      {"a folder", "Is a directory", [](const fs::path& lock, const fs::path&) { fs::create_directory(lock); }},
      {"a hard link", "has other names (hard links)",
       [](const fs::path& lock, const fs::path& victim) { fs::create_hard_link(victim, lock); }},
      {"another user's file", "belongs to another user",
       [&](const fs::path& lock, const fs::path&) {
         std::ofstream(lock) << "4242\n";
         ASSERT_EQ(::chown(lock.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
       }},
  };
  const std::string kept = "someone else's file\n";
  for (const char* lock_name : {"claims.fmt.lock", "claims.pdf.lock", "claims.fmt.held.lock"}) {
    for (const Plant& p : plants) {
      SCOPED_TRACE(std::string(p.what) + " at " + lock_name);
      if (std::string(p.what) == "another user's file" && !(root && nobody)) continue;
      ScratchDir dir;
      const fs::path out = dir.path() / "out", victim = dir.path() / "victim";
      fs::create_directory(out);
      std::ofstream(victim, std::ios::binary) << kept;
      std::ofstream(out / "claims.fmt", std::ios::binary) << "an earlier run's claims\n";
      p.make(out / lock_name, victim);
      const auto before = Outputs(out);
      const auto planted = fs::symlink_status(out / lock_name).type();

      CliRun r = RunCli("-o " + out.string() + " " + ExampleBatch());
      EXPECT_EQ(r.status, 1) << r.err;
      EXPECT_NE(r.err.find("the lock " + (out / lock_name).string() + " cannot be taken ("),
                std::string::npos) << r.err;
      EXPECT_NE(r.err.find(p.said), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("formatted records: none written ("), std::string::npos) << r.err;
      EXPECT_EQ(Outputs(out), before);  // no file, no PDF, no log, no temporary
      EXPECT_EQ(fs::symlink_status(out / lock_name).type(), planted);
      EXPECT_EQ(ReadFile(victim), kept);
    }
  }
}

// Two file names share a PDF ("a.fmt" and "a.txt" both print to a.pdf):
// the second run is refused before it writes anything, and its start
// removes nothing of the first's.
TEST(SharedPdf, TwoFilesPrintingToOnePdfRunOneAtATime) {
  ScratchDir dir;
  const auto& recs = ExampleRecords();
  PipedRun first({"-q", "-o", dir.str(), "-f", "a.fmt", "-"}, dir.path() / "first.err");
  first.Send(recs, 0, recs.size() / 2);
  AwaitWriting(dir.path(), "a.fmt");
  // What a printing run of a.pdf has on its way beside it.
  std::ofstream(dir.path() / "a.pdf.tmpABCDEF") << "pages on their way";

  CliRun second = RunCli("-o " + dir.str() + " -f a.txt " + ExampleBatch());
  EXPECT_EQ(second.status, 1) << second.err;
  EXPECT_NE(second.err.find((dir.path() / "a.pdf").string() + " is being written by process " +
                            std::to_string(first.pid()) + "; this run writes nothing"),
            std::string::npos) << second.err;
  // Its lock only: no file, no temporary.
  EXPECT_EQ(NamesStarting(dir.path(), "a.txt"), std::vector<std::string>{"a.txt.lock"});
  EXPECT_FALSE(fs::exists(dir.path() / "a.pdf"));
  EXPECT_EQ(ReadFile(dir.path() / "a.pdf.tmpABCDEF"), "pages on their way");

  first.Send(recs, recs.size() / 2, recs.size());
  EXPECT_EQ(first.Finish(), 0) << ReadFile(dir.path() / "first.err");
  EXPECT_EQ(PagesAndWord(dir.path() / "a.pdf", "ELLSWORTH,"), std::make_pair(6, true));
}

// ---- printing reads what was checked ------------------------------------------------------

// A page added to the formatted-record file while it prints (after the
// PDF's temporary appeared) is never printed, nor is anything else of it:
// by a run printing its batch, or by a reprint.
TEST(Printing, AFileChangedWhileItPrintsIsNotPrinted) {
  ScratchDir dir;
  const fs::path batch = GenerateBatch(dir, 4000, 7);  // about 650 pages
  const fs::path out = dir.path() / "out", fmt = out / "claims.fmt", err = dir.path() / "err";
  fs::create_directory(out);
  const std::string added = FormatRecordLine("C", "ADDED", 0, 0, 9999) + F("ADDED", 1, 1) +
                            FormatRecordLine("N", "", 0, 0, 0);
  for (const bool reprint : {false, true}) {
    SCOPED_TRACE(reprint ? "reprint" : "batch run");
    const std::string pdf = reprint ? "claims-reprint.pdf" : "claims.pdf";
    PipedRun run(reprint ? std::vector<std::string>{"--reprint", fmt.string()}
                         : std::vector<std::string>{"-o", out.string(), batch.string()},
                 err);
    ASSERT_FALSE(AwaitFile(out, pdf + ".tmp").empty());
    std::ofstream(fmt, std::ios::binary | std::ios::app) << added;
    EXPECT_EQ(run.Finish(), 1);
    const std::string said = ReadFile(err);
    EXPECT_NE(said.find("incomplete formatted-record file: " + fmt.string() +
                        ": it changed while it was printed; nothing was printed"),
              std::string::npos) << said;
    EXPECT_FALSE(fs::exists(out / pdf));
    EXPECT_TRUE(NamesStarting(out, pdf + ".tmp").empty());
    fs::resize_file(fmt, fs::file_size(fmt) - added.size());  // as the run left it
  }
}

// ---- the summary tells of this run only -------------------------------------------------------

TEST(RunSummary, ARunThatWroteNothingCountsNothingOfAnotherRun) {
  ScratchDir dir;
  const auto& recs = ExampleRecords();
  const std::string manifest = (dir.path() / "m.csv").string();
  const std::string header = "claim,first_pdf_page,last_pdf_page,pages";
  auto check_wrote_nothing = [&](const CliRun& r, const std::string& files) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("ub04fmt: 0 claims, 0 pages, "), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("6 claims"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ub04fmt: formatted records: " + files + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ub04fmt: printed: nothing\n"), std::string::npos) << r.err;
    const std::string rows = ReadFile(manifest);
    EXPECT_EQ(rows.rfind(header, 0), 0u) << rows;
    EXPECT_EQ(CountOf(rows, "\n"), 1) << rows;  // the header alone
  };
  // Another run holds the file mid-batch; there is no earlier file.
  {
    PipedRun other(dir.path(), dir.path() / "other.err");
    other.Send(recs, 0, recs.size() / 2);
    AwaitWriting(dir.path());
    CliRun r = RunCli("-o " + dir.str() + " --manifest " + manifest + " " + ExampleBatch());
    EXPECT_NE(r.err.find("is being written by process " + std::to_string(other.pid()) + ";"),
              std::string::npos) << r.err;
    check_wrote_nothing(r, "none written");
    EXPECT_FALSE(fs::exists(dir.path() / "claims.fmt"));
    other.Send(recs, recs.size() / 2, recs.size());
    EXPECT_EQ(other.Finish(), 0);
  }
  // The disk fills under this run: the other run's file stays and is named
  // as an earlier run's.
  const fs::path fmt = dir.path() / "claims.fmt";
  const std::string good = ReadFile(fmt);
  const fs::path err = dir.path() / "full.err";
  PipedRun full({"-o", dir.str(), "--manifest", manifest, ExampleBatch()}, err, 4096);
  CliRun r{full.Finish(), ReadFile(err)};
  EXPECT_NE(r.err.find("Disk full"), std::string::npos) << r.err;
  check_wrote_nothing(r, "none written (" + fmt.string() + " keeps an earlier run's)");
  EXPECT_EQ(ReadFile(fmt), good);
  EXPECT_TRUE(NamesStarting(dir.path(), "claims.fmt.tmp").empty());
}

// ---- the last good file ---------------------------------------------------------------------

// A batch whose first record is not a practice record writes nothing and
// keeps yesterday's file.
TEST(EarlierFile, KeptWhenTheBatchWroteNothing) {
  ScratchDir dir;
  const fs::path out = dir.path() / "out", fmt = out / "claims.fmt";
  fs::create_directory(out);
  ASSERT_EQ(RunCli("-q --no-print -o " + out.string() + " " + ExampleBatch()).status, 0);
  const std::string good = ReadFile(fmt);

  const std::string no_practice =
      EditedExample(dir, [](std::string& l) { return l.find("//1000\t") == std::string::npos; });
  CliRun refused = RunCli("-o " + out.string() + " " + no_practice);
  EXPECT_EQ(refused.status, 1) << refused.err;
  EXPECT_NE(refused.err.find("1st Record was not Practice Info"), std::string::npos);
  EXPECT_NE(refused.err.find("nothing of the batch was written; " + fmt.string() +
                             " keeps what it held"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("formatted records: none written (" + fmt.string() +
                             " keeps an earlier run's)"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFile(fmt), good);
  EXPECT_FALSE(fs::exists(out / "claims.pdf"));
  EXPECT_TRUE(NamesStarting(out, "claims.fmt.tmp").empty());
}

// A claim of a charge whose amount overflows is refused and named; the
// batch's other claims are written and print, and the status says "not
// everything".
TEST(RefusedClaims, AnOverflowingChargeRefusesItsClaimAndTheRestPrint) {
  ScratchDir dir;
  bool changed = false;
  const std::string batch = EditedExample(dir, [&](std::string& l) {
    if (changed || l.find("//6000\t") == std::string::npos) return true;
    // Token 43 of the first charge record: its amount.
    size_t at = l.find('\t');
    for (int token = 0; token < 43; ++token) at = l.find("//", at + 1) + 1;
    l.replace(at + 1, l.find("//", at + 1) - at - 1, "99999999999999999999");
    return changed = true;
  });
  const fs::path plain = dir.path() / "plain", edited = dir.path() / "edited";
  fs::create_directory(plain);
  fs::create_directory(edited);
  ASSERT_EQ(RunCli("-q -o " + plain.string() + " " + ExampleBatch()).status, 0);
  const auto [pages, shown] = PagesAndWord(plain / "claims.pdf", "RV100231");
  ASSERT_TRUE(shown);

  CliRun r = RunCli("-o " + edited.string() + " " + batch);
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("ub04fmt: refused: account RV100231: the charge of record 10 (key UB04PPA "
                       "/HOSP01 /0 /0 /0 /0 /0 /0 /0 /0 /6000) could not be added ("),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Overflow)\n"), std::string::npos) << r.err;
  // The overflow the component also shows in a message box is said once,
  // as one of the run's own lines.
  for (const std::string& line : SplitLines(r.err))
    EXPECT_EQ(line.rfind("ub04fmt: ", 0), 0u) << line;
  // Its one page is missing, and nothing else.
  EXPECT_NE(r.err.find("printed: " + (edited / "claims.pdf").string() + " (" +
                       std::to_string(pages - 1) + " pages)"), std::string::npos) << r.err;
  EXPECT_EQ(CountOf(ReadFile(edited / "claims.fmt"), "\"C\","), pages - 1);
  EXPECT_EQ(PagesAndWord(edited / "claims.pdf", "RV100231"), std::make_pair(pages - 1, false));
}

// An earlier batch's held claims must not pass for this batch's: a batch
// that held none and put its file in place removes them; a batch that put
// nothing in place leaves them with the file they belong to; a link at
// that name is not the run's to remove.
TEST(EarlierFile, AnEarlierBatchsHeldClaimsGoWithItsFile) {
  ScratchDir dir;
  const fs::path held = dir.path() / "claims.fmt.held";
  const std::string earlier = "an earlier batch's held claims\n";
  std::ofstream(held, std::ios::binary) << earlier;
  ASSERT_EQ(RunCli("-q --no-print -o " + dir.str() + " " + ExampleBatch()).status, 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(held)));
  EXPECT_NE(ReadFile(dir.path() / "QVR_UB04PPA_Format.Log")
                .find("Removed the held-claims file of an earlier batch: " + held.string()),
            std::string::npos);

  std::ofstream(held, std::ios::binary) << earlier;
  const std::string claimless = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  ASSERT_EQ(RunCli("-q --no-print -o " + dir.str() + " " + claimless).status, 0);
  EXPECT_EQ(ReadFile(held), earlier);

  fs::remove(held);
  const fs::path target = dir.path() / "elsewhere";
  std::ofstream(target, std::ios::binary) << earlier;
  fs::create_symlink(target, held);
  ASSERT_EQ(RunCli("-q --no-print -o " + dir.str() + " " + ExampleBatch()).status, 0);
  EXPECT_TRUE(fs::is_symlink(held));
  EXPECT_EQ(ReadFile(target), earlier);
}

// ---- names and paths ---------------------------------------------------------------------------

// A formatted-record file named outside the output folder is refused when
// named, and nothing of the batch is written anywhere.
TEST(OutputNames, AFileNameOutsideTheOutputFolderWritesNothingAnywhere) {
  ScratchDir dir;
  const fs::path out = dir.path() / "out";
  fs::create_directories(out / "a");
  const fs::path elsewhere = fs::temp_directory_path() / ("ub04-" + std::to_string(::getpid()) + ".fmt");
  const fs::path cwd = fs::current_path();
  struct Case {
    std::string folder, name;
  } cases[] = {{out.string(), "../x.fmt"},
               {out.string(), "a/b.fmt"},
               {out.string(), elsewhere.string()},
               {"", elsewhere.string()}};  // "" is the current folder
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.folder + "\", \"" + c.name + "\"");
    fs::current_path(out);
    {
      Format_Class fc;
      fc.HereIsAMessage("1", c.folder);
      EXPECT_EQ(fc.HereIsAMessage("2", c.name), 3);
      std::vector<std::string> m = Messages(fc);
      ASSERT_EQ(m.size(), 1u);
      EXPECT_NE(m[0].find("2 \"" + c.name + "\" is not a plain file name"), std::string::npos) << m[0];
      for (const BatchLine& l : ExampleRecords()) fc.FormatRecord(l.key, l.rec);
      EXPECT_EQ(fc.ProcessEndOfFile(), 1);
      EXPECT_EQ(fc.ProcessFormattedRecords(), 1);
    }
    fs::current_path(cwd);
    EXPECT_EQ(Outputs(dir.path()), (std::map<std::string, std::string>{{"out", "<not a file>"}}));
    EXPECT_EQ(Outputs(out), (std::map<std::string, std::string>{{"a", "<not a file>"}}));
    EXPECT_TRUE(fs::is_empty(out / "a"));
    EXPECT_FALSE(fs::exists(elsewhere));
  }
}

// Before the component hears a host message, ub04fmt checks the paths the
// run needs: a missing one stops it with status 2 and nothing written, its
// log included.
TEST(CliPaths, AMissingPathStopsTheRunBeforeAnythingIsWritten) {
  ScratchDir dir;
  const fs::path out = dir.path() / "out";
  fs::create_directory(out);
  const std::string missing = (dir.path() / "missing").string();
  const std::pair<std::string, std::string> cases[] = {
      {"-o " + missing, "--out " + missing + " does not exist"},
      {"-o " + out.string() + " --dsn " + missing + "/ref.db", "--dsn " + missing + "/ref.db does not exist"},
      {"-o " + out.string() + " --dsn " + missing + ".db", "--dsn " + missing + ".db does not exist"},
      {"-o " + out.string() + " --manifest " + missing + "/m.csv",
       "--manifest " + missing + "/m.csv: the folder " + missing + " does not exist"},
      {"-o " + out.string() + " --manifest /nonexistent-ub04/m.csv",
       "the folder /nonexistent-ub04 does not exist"},
  };
  for (const auto& [args, said] : cases) {
    CliRun r = RunCli("--log-level 2 " + args + " " + ExampleBatch());
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(out)) << args;
    EXPECT_EQ(Outputs(dir.path()), (std::map<std::string, std::string>{{"out", "<not a file>"}}));
  }
}

}  // namespace
}  // namespace ub04::test
