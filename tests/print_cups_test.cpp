// Printing through a real print queue: a private CUPS daemon whose queues
// write each job to a file must receive exactly the PDF printing wrote. Every
// wait is bounded and the daemon dies with the test process.
#include <cups/cups.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include "print/printing.h"
#include "tests/cli_support.h"
#include "tests/pdf_support.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bool WaitFor(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  for (auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(50ms))
    if (done()) return true;
  return done();
}

void WriteText(const fs::path& p, const std::string& text, mode_t mode = 0644) {
  std::ofstream(p, std::ios::binary) << text;
  chmod(p.c_str(), mode);
}

// A queue driver that hands the document to the device unchanged.
constexpr const char* kPassThroughPpd =
    "*PPD-Adobe: \"4.3\"\n*cupsFilter: \"application/pdf 0 @FILTER@\"\n"
    "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Letter\n*PageSize Letter: \"\"\n"
    "*CloseUI: *PageSize\n";

// A CUPS daemon of the test's own, stopped at destruction.
class PrivateCups {
 public:
  // Queues: name -> accepting jobs.
  explicit PrivateCups(const std::vector<std::pair<std::string, bool>>& queues) {
    char tmpl[] = "/tmp/ub04cups-XXXXXX";  // short: a socket path has ~100 bytes
    if (!mkdtemp(tmpl)) {
      why_not_ = "no temporary folder";
      return;
    }
    root_ = tmpl;
    chmod(root_.c_str(), 0755);  // the daemon's job user runs the filter from here
    for (const char* d : {"spool", "tmp", "cache", "state", "log", "ppd"})
      fs::create_directories(root_ / d);
    socket_ = (root_ / "cups.sock").string();

    const std::string filter = (root_ / "passthru").string();
    WriteText(filter, "#!/bin/sh\nif [ -n \"$6\" ]; then exec cat \"$6\"; else exec cat; fi\n",
              0755);
    std::string ppd = kPassThroughPpd;
    ppd.replace(ppd.find("@FILTER@"), 8, filter);
    std::string printers;
    for (const auto& [name, accepting] : queues) {
      WriteText(root_ / "ppd" / (name + ".ppd"), ppd);
      printers += "<Printer " + name + ">\nInfo " + name + "\nDeviceURI file://" +
                  Output(name).string() + "\nState Idle\nType 4\nAccepting " +
                  (accepting ? "Yes" : "No") +
                  "\nErrorPolicy abort-job\n</Printer>\n";
    }
    WriteText(root_ / "printers.conf", printers, 0600);
    WriteText(root_ / "cupsd.conf",
              "Listen " + socket_ +
                  "\nBrowsing No\n<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
    const std::string r = root_.string();
    WriteText(root_ / "cups-files.conf",
              "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r +
                  "/tmp\nCacheDir " + r + "/cache\nStateDir " + r + "/state\nErrorLog " + r +
                  "/log/error_log\nAccessLog " + r + "/log/access_log\nPageLog " + r +
                  "/log/page_log\nFileDevice Yes\n");
    Start();
  }

  ~PrivateCups() {
    Stop();
    std::error_code ec;
    if (!root_.empty()) fs::remove_all(root_, ec);
  }

  bool running() const { return pid_ > 0; }
  const std::string& why_not() const { return why_not_; }
  const std::string& socket() const { return socket_; }
  fs::path Output(const std::string& queue) const { return root_ / ("out-" + queue + ".pdf"); }
  std::string ErrorLog() const { return test::ReadFile(root_ / "log" / "error_log"); }

  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status;
    if (!WaitFor(5s, [&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    pid_ = 0;
  }

 private:
  void Start() {
    const char* cupsd = access("/usr/sbin/cupsd", X_OK) == 0 ? "/usr/sbin/cupsd" : "cupsd";
    const std::string conf = (root_ / "cupsd.conf").string();
    const std::string files = (root_ / "cups-files.conf").string();
    const std::string out = (root_ / "log" / "cupsd.out").string();
    char* argv[] = {const_cast<char*>(cupsd), const_cast<char*>("-f"),
                    const_cast<char*>("-c"),  const_cast<char*>(conf.c_str()),
                    const_cast<char*>("-s"),  const_cast<char*>(files.c_str()), nullptr};
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
      why_not_ = "cannot fork";
      return;
    }
    if (pid == 0) {
      // The daemon ends with the test process, however that ends.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(127);
      int in = open("/dev/null", O_RDONLY);
      int log = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(in, 0);
      dup2(log, 1);
      dup2(log, 2);
      execvp(cupsd, argv);
      _exit(127);
    }
    pid_ = pid;
    int status;
    bool exited = false;
    bool up = WaitFor(10s, [&] {
      if (waitpid(pid_, &status, WNOHANG) == pid_) return exited = true;
      return Accepts();
    });
    if (!up || exited) {
      if (exited) pid_ = 0;
      Stop();
      why_not_ = "cupsd did not start: " + test::ReadFile(out) + ErrorLog();
    }
  }

  bool Accepts() const {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", socket_.c_str());
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    return ok;
  }

  fs::path root_;
  std::string socket_, why_not_;
  pid_t pid_ = 0;
};

// The client talks to server (a socket path) until destruction.
struct ClientServer {
  explicit ClientServer(const std::string& server) {
    setenv("CUPS_SERVER", server.c_str(), 1);
    cupsSetServer(nullptr);  // forget any server this thread already used
  }
  ~ClientServer() {
    unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
  }
};

// Every job the queue has had: its id and title.
std::vector<std::pair<int, std::string>> Jobs(const char* queue) {
  cups_job_t* jobs = nullptr;
  int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
  std::vector<std::pair<int, std::string>> seen;
  for (int i = 0; i < n; ++i) seen.emplace_back(jobs[i].id, jobs[i].title ? jobs[i].title : "");
  cupsFreeJobs(n, jobs);
  return seen;
}

// A text attribute of a job, "" when absent.
std::string JobAttribute(int job_id, const char* name) {
  ipp_t* req = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[64];
  std::snprintf(uri, sizeof uri, "ipp://localhost/jobs/%d", job_id);
  ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ipp_t* resp = cupsDoRequest(CUPS_HTTP_DEFAULT, req, "/");
  std::string value;
  if (ipp_attribute_t* a = resp ? ippFindAttribute(resp, name, IPP_TAG_ZERO) : nullptr) {
    char buf[256];
    ippAttributeString(a, buf, sizeof buf);
    value = buf;
  }
  ippDelete(resp);
  return value;
}

// A hang ends the test process (SIGALRM), and the daemon with it.
struct Deadline {
  explicit Deadline(unsigned seconds) { alarm(seconds); }
  ~Deadline() { alarm(0); }
};

TEST(PrintCups, SelectedQueueReceivesThePdfAsOneJob) {
  Deadline deadline(50);
  PrivateCups cups({{"ub04test", true}, {"ub04test2", true}, {"ub04closed", false}});
  if (!cups.running()) GTEST_SKIP() << cups.why_not();
  ClientServer client(cups.socket());
  test::Harness h;
  auto print = [&](const std::string& text) {
    std::ofstream(h.fmt_path(), std::ios::binary) << text;
    return h.fc.ProcessFormattedRecords();
  };
  const std::string two_pages = test::FmtPages({{test::F("PAGEONE", 1, 1)}, {test::F("PAGETWO", 1, 1)}});

  // Only an exact name selects; otherwise the printer stays.
  EXPECT_EQ(h.fc.HereIsAMessage("7", "ub04test2"), 0);
  h.fc.HereIsAMessage("7", "UB04TEST");
  h.fc.HereIsAMessage("7", "ub04");

  ASSERT_EQ(print(two_pages), 0) << ::testing::PrintToString(test::Messages(h.fc));
  const std::string pdf = test::ReadFile(h.dir.path() / "claims.pdf");
  ASSERT_FALSE(pdf.empty());
  fs::path out = cups.Output("ub04test2");
  EXPECT_TRUE(WaitFor(20s, [&] { return test::ReadFile(out) == pdf; })) << cups.ErrorLog();
  EXPECT_FALSE(fs::exists(cups.Output("ub04test")));

  auto jobs = Jobs("ub04test2");
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].second, "claims.fmt");
  EXPECT_EQ(JobAttribute(jobs[0].first, "print-scaling"), "none");
  EXPECT_EQ(JobAttribute(jobs[0].first, "media"), "Letter");

  // Nothing printed, or an error on the way: no job.
  EXPECT_EQ(print(test::FmtPages({})), 0);
  EXPECT_EQ(print(test::FmtPages({{test::F("X", 1, 1)}, {"\"F\",\"X\",bad,1,0\r\n"}})), 1);
  EXPECT_EQ(Jobs("ub04test2").size(), 1u);

  // A queue that refuses the job: a clear error, result 1.
  h.fc.HereIsAMessage("7", "ub04closed");
  EXPECT_EQ(print(two_pages), 1);
  std::vector<std::string> m = test::Messages(h.fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].rfind(" 3//ProcessFormattedRecords()  Printer \"ub04closed\" did not take the "
                       "job for " + (h.dir.path() / "claims.pdf").string() + ": ", 0),
            0u)
      << m[0];

  // Without a server the printer stays: the next job still goes to the
  // closed queue, and fails as such.
  cups.Stop();
  h.fc.HereIsAMessage("7", "ub04test");
  EXPECT_EQ(print(two_pages), 1);
  m = test::Messages(h.fc);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_NE(m[0].find("Printer \"ub04closed\""), std::string::npos) << m[0];
}

// A queue refusing a written PDF gives 3 (printed, not everything), never 1,
// which would invite a retry that prints the claims twice.
TEST(PrintCups, AQueueRefusingAWrittenPdfMakesUb04fmtExitThree) {
  Deadline deadline(50);
  PrivateCups cups({{"ub04closed", false}});
  if (!cups.running()) GTEST_SKIP() << cups.why_not();
  ClientServer client(cups.socket());  // ub04fmt inherits the server
  test::ScratchDir dir;
  const fs::path pdf = dir.path() / "claims.pdf";
  test::CliRun r = test::RunCli("-o " + dir.str() + " -p ub04closed " + test::ExampleBatch());
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("Printer \"ub04closed\" did not take the job for " + pdf.string()),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("ub04fmt: printed: " + pdf.string() + " (6 pages)"), std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("sent to print queue"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace ub04
