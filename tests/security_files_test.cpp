// Patient data on disk: every file a run makes is its owner's alone (or its
// group's too, on request) whatever the umask; links at output paths are
// refused; no login is built in.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "form/fmt_file.h"
#include "print/printing.h"
#include "host/format_class.h"
#include "tests/cli_support.h"
#include "tests/pdf_support.h"
#include "test_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(lstat(p.c_str(), &st), 0) << p;
  return st.st_mode & 07777;
}

using test::AnyHas;
// The widest umask a site could have (or another): files are set, not
// left to it.
class OpenUmask {
 public:
  explicit OpenUmask(mode_t mask = 0) : old_(umask(mask)) {}
  ~OpenUmask() { umask(old_); }

 private:
  mode_t old_;
};

// A formatting run: the example batch and one record of no known type. The
// run log is opened at level 2 and kept (nothing is printed).
void FormatSmallBatch(test::Harness& h, std::vector<std::string>* messages = nullptr) {
  auto keep = [&] {
    if (messages)
      for (std::string& m : test::Messages(h.fc)) messages->push_back(std::move(m));
  };
  h.fc.HereIsAMessage("5", "2");
  keep();
  for (const test::BatchLine& l : test::ExampleRecords()) {
    h.fc.FormatRecord(l.key, l.rec);
    keep();
  }
  h.fc.FormatRecord(test::Key("7777"), "X");
  keep();
  h.fc.ProcessEndOfFile();
  keep();
}

// Prints a one-page formatted-record file in h's folder, as a reprint: a
// run of its own that formats nothing, with h's file mode. Its messages go
// to messages.
int16_t PrintOnePage(test::Harness& h, const fs::path& previews, const char* mode = "0600",
                     std::vector<std::string>* messages = nullptr) {
  Format_Class reprint;
  reprint.HereIsAMessage("1", h.dir.str());
  reprint.HereIsAMessage("2", "claims.fmt");
  reprint.HereIsAMessage("FILEMODE", mode);
  std::ofstream(h.fmt_path(), std::ios::binary) << test::FmtPages({{test::F("PATIENT", 1, 1)}});
  reprint.SetPreviewFolder(previews.string());
  int16_t r = reprint.ProcessFormattedRecords();
  if (messages) *messages = test::Messages(reprint);
  return r;
}

TEST(SecurityFiles, EveryOutputIsOwnerOnlyByDefaultAndGroupReadableOnRequest) {
  OpenUmask open_umask;
  {
    test::Harness h;
    // An earlier run's file, left readable by all, is narrowed too.
    std::ofstream(h.fmt_path()) << "old";
    chmod(h.fmt_path().c_str(), 0644);
    FormatSmallBatch(h);
    EXPECT_EQ(ModeOf(h.fmt_path()), 0600u);
    EXPECT_EQ(ModeOf(h.log_path()), 0600u);
    const fs::path previews = h.dir.path() / "previews";
    std::vector<std::string> m;
    EXPECT_EQ(PrintOnePage(h, previews, "0600", &m), 0) << ::testing::PrintToString(m);
    EXPECT_EQ(ModeOf(h.dir.path() / "claims.pdf"), 0600u);
    EXPECT_EQ(ModeOf(previews / "page-0001.png"), 0600u);
    EXPECT_EQ(ModeOf(previews), 0700u);
    // Nothing is left under a temporary name.
    for (const auto& e : fs::directory_iterator(h.dir.path()))
      EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  }
  {
    test::Harness h;
    EXPECT_EQ(h.fc.HereIsAMessage("FILEMODE", "0640"), 0);
    FormatSmallBatch(h);
    EXPECT_EQ(ModeOf(h.fmt_path()), 0640u);
    EXPECT_EQ(ModeOf(h.log_path()), 0640u);
    EXPECT_EQ(PrintOnePage(h, h.dir.path() / "previews", "0640"), 0);
    EXPECT_EQ(ModeOf(h.dir.path() / "claims.pdf"), 0640u);
    EXPECT_EQ(ModeOf(h.dir.path() / "previews/page-0001.png"), 0640u);
    EXPECT_EQ(ModeOf(h.dir.path() / "previews"), 0750u);
  }
  {
    // Anything more open is refused and the mode stays as it was.
    test::Harness h;
    for (const char* bad : {"0644", "0666", "640", "", "0700"}) {
      EXPECT_EQ(h.fc.HereIsAMessage("FILEMODE", bad), 3) << bad;
      std::vector<std::string> m = test::Messages(h.fc);
      ASSERT_EQ(m.size(), 1u);
      EXPECT_EQ(m[0].rfind(" 3//", 0), 0u) << m[0];
      EXPECT_NE(m[0].find("FILEMODE \"" + std::string(bad) + "\""), std::string::npos) << m[0];
    }
    FormatSmallBatch(h);
    EXPECT_EQ(ModeOf(h.fmt_path()), 0600u);
  }
}

// Every missing level of a preview folder is made as closed as the files,
// and a narrow umask does not close them to a group that asked to read.
TEST(SecurityFiles, EveryPreviewFolderLevelUb04fmtMakesIsClosedToo) {
  for (const auto& [mask, group] : {std::pair{0000, false}, {0000, true}, {0077, true}}) {
    SCOPED_TRACE(std::string(mask ? "umask 077" : "umask 000") + (group ? ", --group-readable" : ""));
    OpenUmask umask_of_the_site(static_cast<mode_t>(mask));
    test::ScratchDir dir;
    const fs::path deep = dir.path() / "prev" / "deep";
    test::CliRun r = test::RunCli(std::string(group ? "--group-readable " : "") +
                                  "-q --test-claims 1-1 -o " + dir.str() + " --preview " +
                                  deep.string() + " " + test::ExampleBatch());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ModeOf(dir.path() / "prev"), group ? 0750u : 0700u);
    EXPECT_EQ(ModeOf(deep), group ? 0750u : 0700u);
    EXPECT_EQ(ModeOf(deep / "page-0001.png"), group ? 0640u : 0600u);
  }
}

TEST(SecurityFiles, LinksAtOutputPathsAreRefusedAndTheirTargetsKept) {
  test::ScratchDir elsewhere;
  const std::string kept = "someone else's file\n";
  auto plant = [&](const fs::path& link, const std::string& name) {
    fs::path target = elsewhere.path() / name;
    std::ofstream(target, std::ios::binary) << kept;
    fs::create_symlink(target, link);
    return target;
  };

  test::Harness h;
  fs::path fmt_target = plant(h.fmt_path(), "fmt-target");
  fs::path log_target = plant(h.log_path(), "log-target");
  std::vector<std::string> m;
  FormatSmallBatch(h, &m);
  EXPECT_EQ(test::ReadFile(fmt_target), kept);
  EXPECT_EQ(test::ReadFile(log_target), kept);
  for (const fs::path& p : {h.fmt_path(), h.log_path()})
    EXPECT_TRUE(AnyHas(m, p.string() + " is a symbolic link")) << p << "\n"
                                                                << ::testing::PrintToString(m);
  EXPECT_EQ(m.front().rfind(" 3//", 0), 0u);

  // The PDF: the formatted records are fine, a link sits at the PDF's name.
  // (A run of its own that formats nothing: it prints the file that is there.)
  test::Harness p;
  fs::path pdf_target = plant(p.dir.path() / "claims.pdf", "pdf-target");
  fs::path png_target = plant(p.dir.path() / "page-0001.png", "png-target");
  EXPECT_EQ(PrintOnePage(p, p.dir.path(), "0600", &m), 1);
  EXPECT_TRUE(AnyHas(m, (p.dir.path() / "claims.pdf").string() + ": is a symbolic link"))
      << ::testing::PrintToString(m);
  EXPECT_EQ(test::ReadFile(pdf_target), kept);
  EXPECT_TRUE(fs::is_symlink(p.dir.path() / "claims.pdf"));

  // A preview page at a link is refused the same way.
  fs::remove(p.dir.path() / "claims.pdf");
  EXPECT_EQ(PrintOnePage(p, p.dir.path(), "0600", &m), 1);
  EXPECT_TRUE(AnyHas(m, (p.dir.path() / "page-0001.png").string() + ": is a symbolic link"))
      << ::testing::PrintToString(m);
  EXPECT_EQ(test::ReadFile(png_target), kept);
}

TEST(SecurityFiles, AnEmptyOutputPathIsTheCurrentFolder) {
  test::ScratchDir dir;
  const fs::path cwd = fs::current_path();
  fs::current_path(dir.path());
  {
    Format_Class fc;
    fc.HereIsAMessage("1", "");
    fc.HereIsAMessage("2", "claims.fmt");
    fc.HereIsAMessage("5", "1");
    fc.FormatRecord(test::Key("1000"), test::PracticeRecord());
    fc.ProcessEndOfFile();
  }
  fs::current_path(cwd);
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "claims.fmt"));
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "QVR_UB04PPA_Format.Log"));
}

// No built binary carries a login: every "UID=", "PWD=" or "PASSWORD=" in
// it ends its text there.
TEST(SecurityFiles, NoLoginInTheBuiltBinaries) {
  for (const char* path : {UB04_SHARED_LIB_PATH, UB04_STATIC_LIB_PATH, UB04FMT_PATH}) {
    std::ifstream f(path, std::ios::binary);
    ASSERT_TRUE(f) << path;
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 10000u) << path;
    std::string upper = bytes;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (const std::string key : {"UID=", "PWD=", "PASSWORD="}) {
      for (size_t at = upper.find(key); at != std::string::npos; at = upper.find(key, at + 1)) {
        const size_t end = at + key.size();
        const unsigned char next = end < bytes.size() ? bytes[end] : 0;
        EXPECT_FALSE(std::isalnum(next)) << path << " holds " << bytes.substr(at, 24);
      }
    }
  }
}

}  // namespace
}  // namespace ub04
