// ub04fmt's options: a bad value, or an option the run has no use for, stops
// the run before any work, naming the option; --help, the man page and the
// README list exactly the option table.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "cli/option_table.h"
#include "cli/options.h"
#include "tests/cli_support.h"

namespace ub04::test {
namespace {

using ub04fmt::OptionRow;
using ub04fmt::OptionTable;
using ub04fmt::OptionValue;

TEST(CliOptions, BadValuesAreUsageErrorsNamingTheOptionAndNothingIsWritten) {
  ScratchDir dir;
  std::string batch = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  struct Case {
    std::string args, names;
  } cases[] = {
      {"--offsets abc", "--offsets takes X,Y"},
      {"--offsets 0.1", "--offsets takes X,Y"},
      {"--offsets=1.01,0", "within +-1.00"},
      {"--offsets '-0.1 0.1'", "--offsets takes X,Y"},
      {"--offsets 0.125,0", "two decimals"},
      {"--test-claims 9-1", "1 <= FROM <= TO <= 32767"},
      {"--test-claims abc-def", "--test-claims takes FROM-TO"},
      {"--test-claims 0-3", "--test-claims takes FROM-TO"},
      {"--test-claims 1-40000", "not '1-40000'"},
      {"--log-level 7", "--log-level takes 0, 1 or 2"},
      {"--log-level=-1", "--log-level takes 0, 1 or 2"},
      {"--printer no-such-queue", "--printer 'no-such-queue' is not a print queue"},
      {"--file ../claims.fmt", "--file takes a plain file name"},
      {"-f /tmp/claims.fmt", "--file takes a plain file name"},
      {"--file=a/b", "--file takes a plain file name"},
      {"--bogus", "unknown option --bogus"},
      {"-x", "unknown option -x"},
      {"--quiet=1", "unknown option --quiet=1"},  // not "-q": the option as typed
      // Options that do not belong together (the run each option belongs to
      // is walked by AnOptionOutsideItsRunsIsRefusedBeforeAnyWork).
      {"--grid", "--grid draws on the previews"},
      {"--form=blue", "--form takes red or grey"},
      {"--reprint a.fmt --claims 3-1", "not '3-1'"},
      {"--reprint a.fmt", "--reprint formats no batch"},
      {"--calibration c.pdf", "--calibration formats no batch"},
  };
  for (const Case& c : cases) {
    CliRun r = RunCli("-o " + dir.str() + " " + c.args + " " + batch);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find("(ub04fmt --help shows the usage)"), std::string::npos) << c.args;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "claims.fmt")) << c.args;
  }
  for (const Case& c : std::vector<Case>{
           {"--out '' " + batch, "--out needs a folder"},
           {"--calibration c.pdf --reprint a.fmt", "separate runs"},
           {"-o " + dir.str() + " " + batch + " --manifest", "--manifest needs a value"},
           {"-o " + dir.str(), "no batch file given"},
           {"-o " + dir.str() + " " + batch + " " + batch, "only one batch file"}}) {
    CliRun r = RunCli(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << c.args << ": " << r.err;
  }
}

TEST(CliOptions, GnuFormsAndEveryOffsetsFormAreAccepted) {
  ScratchDir dir;
  std::string batch = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  for (std::string args : {"--offsets 0.1,0.05", "--offsets=+0.10,-0.05", "--offsets '0.10-0.05 '",
                           "--offsets -1,1", "--log-level=1", "--test-claims 1-32767",
                           "-q --group-readable --strict", "--raw-messages"}) {
    CliRun r = RunCli("--no-print --out=" + dir.str() + " -f x.fmt " + args + " -- " + batch);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
  }
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "x.fmt"));
  // Options after the batch are options too; after "--" they are names.
  EXPECT_EQ(RunCli(batch + " --no-print -o " + dir.str()).status, 0);
  EXPECT_EQ(RunCli("--no-print -o " + dir.str() + " -- --no-such-batch").status, 2);
  EXPECT_EQ(RunCli("-V").status, 0);
  EXPECT_EQ(RunCli("-h").status, 0);
}

// What a list of options says of one: its short letter and its value.
struct Entry {
  char letter = 0;
  OptionValue value = OptionValue::kNone;
};

// Reads "-o, --out DIR  help", "--grid  help" or "--form[=red|grey]" (one
// space before a value, two before the help). Returns the long name, or ""
// when the line is no entry.
std::string ReadEntry(std::string line, Entry& e) {
  static const std::regex kEntry(R"(^\s*(?:-([A-Za-z]), )?--([a-z][a-z0-9-]*)(.*)$)");
  std::smatch m;
  if (!std::regex_match(line, m, kEntry)) return "";
  e.letter = m[1].matched ? m[1].str()[0] : 0;
  const std::string rest = m[3];
  e.value = rest.starts_with("[=")                                     ? OptionValue::kOptional
            : rest.size() > 1 && rest[0] == ' ' && rest[1] != ' '      ? OptionValue::kRequired
                                                                       : OptionValue::kNone;
  return m[2];
}

// Holds the entries of a list to the table, both ways, and every "--name"
// anywhere in its text to the names of the table ("--opt" is the generic
// form: "--opt=VALUE").
void ExpectListsTheTable(const std::string& where, const std::vector<std::string>& entry_lines,
                         const std::string& text) {
  std::map<std::string, Entry> listed;
  for (const std::string& line : entry_lines) {
    Entry e;
    std::string name = ReadEntry(line, e);
    if (name.empty()) continue;
    EXPECT_TRUE(listed.emplace(name, e).second) << where << " lists --" << name << " twice";
  }
  std::map<std::string, const OptionRow*> table;
  for (const OptionRow& row : OptionTable()) {
    table[row.name] = &row;
    auto it = listed.find(row.name);
    if (it == listed.end()) {
      ADD_FAILURE() << where << " does not list --" << row.name;
      continue;
    }
    EXPECT_EQ(it->second.letter, row.letter) << where << ": the short letter of --" << row.name;
    EXPECT_EQ(it->second.value, row.value) << where << ": whether --" << row.name << " takes a value";
  }
  for (const auto& [name, e] : listed)
    EXPECT_TRUE(table.count(name)) << where << " lists --" << name << ", which ub04fmt lacks";
  static const std::regex kMention(R"(--([a-z][a-z0-9-]*))");
  for (std::sregex_iterator m(text.begin(), text.end(), kMention), end; m != end; ++m)
    EXPECT_TRUE(table.count((*m)[1]) || (*m)[1] == "opt")
        << where << " mentions " << m->str() << ", which ub04fmt lacks";
}

// The man page's text without its escapes: "\fB\-\-out\fR" reads "--out".
std::string Unescaped(std::string text) {
  text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
  return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

TEST(CliOptionTable, HelpManPageAndReadmeListExactlyItsOptions) {
  ScratchDir dir;
  const std::string out = dir.str() + "/help";
  ASSERT_EQ(std::system((std::string(UB04FMT_PATH) + " --help >" + out).c_str()), 0);
  const std::string help = ReadFile(out);
  {
    // Entries start in column 2 or 6; wrapped help and examples further in.
    std::vector<std::string> entries;
    for (const std::string& line : SplitLines(help)) {
      if (line.starts_with("  -") || line.starts_with("      --")) entries.push_back(line);
      EXPECT_LE(line.size(), 80u) << "--help: " << line;
    }
    ExpectListsTheTable("--help", entries, help);
    EXPECT_TRUE(help.starts_with("usage: ub04fmt [options] BATCH\n")) << help;
    EXPECT_NE(help.find("\nexample: ub04fmt "), std::string::npos);
    // The exit statuses close it, each as the table says; the man page and
    // the README give each of them too.
    const std::string man = Unescaped(ReadFile(std::string(UB04_SOURCE_DIR) + "/docs/ub04fmt.1"));
    const std::string readme = ReadFile(std::string(UB04_SOURCE_DIR) + "/README.md");
    const size_t statuses = help.find("\nexit status:\n");
    ASSERT_NE(statuses, std::string::npos) << help;
    std::string listed;  // the statuses' text, one line
    for (const std::string& line : SplitLines(help.substr(statuses + 14))) listed += " " + line;
    for (const ub04fmt::ExitStatusRow& e : ub04fmt::ExitStatuses()) {
      std::string meaning = e.meaning;
      EXPECT_NE(std::regex_replace(listed, std::regex(" +"), " ")
                    .find(std::to_string(e.status) + " " + meaning),
                std::string::npos) << meaning;
      EXPECT_NE(man.find(".TP\n" + std::to_string(e.status) + "\n"), std::string::npos) << e.status;
      EXPECT_NE(readme.find("| " + std::to_string(e.status) + " | " + meaning), std::string::npos)
          << "README.md's exit status table: " << e.status;
    }
  }
  {
    // Every entry of OPTIONS is the line after a .TP.
    const std::string man = Unescaped(ReadFile(std::string(UB04_SOURCE_DIR) + "/docs/ub04fmt.1"));
    size_t from = man.find(".SH OPTIONS\n"), to = man.find("\n.SH ", from + 1);
    ASSERT_NE(from, std::string::npos);
    std::vector<std::string> lines = SplitLines(man.substr(from, to - from)), entries;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == ".TP") entries.push_back(lines[i + 1]);
    ExpectListsTheTable("docs/ub04fmt.1", entries, man);
  }
  {
    // The option block: the indented lines that open the ub04fmt section.
    const std::string readme = ReadFile(std::string(UB04_SOURCE_DIR) + "/README.md");
    size_t at = readme.find("\n## `ub04fmt`\n");
    ASSERT_NE(at, std::string::npos);
    std::vector<std::string> block;
    for (const std::string& line : SplitLines(readme.substr(at + 1))) {
      if (line.starts_with("    ")) block.push_back(line);
      else if (!block.empty() && !line.empty()) break;
    }
    std::string text;
    for (const std::string& line : block) text += line + "\n";
    ExpectListsTheTable("README.md's option block", block, text);
  }
}

TEST(CliOptionTable, EveryExampleIsAUseOfItsOwnOptionThatItAccepts) {
  for (const OptionRow& row : OptionTable()) {
    const std::string example = row.example;
    if (example.empty()) {
      EXPECT_EQ(row.value, OptionValue::kNone) << "--" << row.name << " takes a value: show one";
      continue;
    }
    // "-o DIR", "--log-level 1" or "--offsets=X,Y".
    std::smatch m;
    ASSERT_TRUE(std::regex_match(example, m, std::regex(R"(^(-[A-Za-z]|--[a-z0-9-]+)(?:[ =](.*))?$)")))
        << example;
    const OptionRow* named = nullptr;
    for (const OptionRow& r : OptionTable())
      if (m[1] == ub04fmt::LongName(r) || m[1] == std::string("-") + r.letter) named = &r;
    EXPECT_EQ(named, &row) << example << " is not an example of --" << row.name;
    ub04fmt::Options o;
    const std::string value = m[2];
    auto why = ub04fmt::ApplyOption(row, m[2].matched ? value.c_str() : nullptr, o);
    EXPECT_FALSE(why) << example << ": " << why.value_or("");
  }
}

TEST(CliOptionTable, AnOptionOutsideItsRunsIsRefusedBeforeAnyWork) {
  ScratchDir dir;
  const std::string batch = WriteBatch(dir, Key("1000") + "\t" + PracticeRecord() + "\n");
  const std::string fmt = dir.str() + "/a.fmt", pdf = dir.str() + "/c.pdf";
  struct Run {
    unsigned kind;
    std::string args, named;  // the run, as a refusal may name it
  } runs[] = {{ub04fmt::kFormatRun, "-o " + dir.str() + " " + batch, ""},
              {ub04fmt::kReprintRun, "--reprint " + fmt, "--reprint"},
              {ub04fmt::kCalibrationRun, "--calibration " + pdf, "--calibration"},
              {ub04fmt::kCheckRun, "--check " + batch, "--check"}};
  for (const OptionRow& row : OptionTable()) {
    // These choose the run rather than join one.
    if (row.id == ub04fmt::OptionId::kReprint || row.id == ub04fmt::OptionId::kCalibration ||
        row.id == ub04fmt::OptionId::kCheck)
      continue;
    const std::string use = *row.example ? row.example : ub04fmt::LongName(row);
    for (const Run& run : runs) {
      if (row.runs & run.kind) continue;
      CliRun r = RunCli(run.args + " " + use);
      EXPECT_EQ(r.status, 2) << run.args << " " << use;
      EXPECT_TRUE(r.err.find(ub04fmt::LongName(row)) != std::string::npos ||
                  (!run.named.empty() && r.err.find(run.named) != std::string::npos))
          << run.args << " " << use << ": " << r.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "claims.fmt"));
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace ub04::test
