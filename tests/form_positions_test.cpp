// Where the payer-area boxes land: the employers of box 65 on a secondary
// claim, and a payer sequence that names no payer row.
//
// Drives the component with the first two claims of the example batch:
// claim 1 to the first payer, claim 2 a secondary claim (payer sequence 2)
// whose other insurance 1 has the employer "TRI COUNTY FREIGHT".
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "form/fmt_file.h"
#include "host/format_class.h"
#include "tests/test_support.h"

namespace ub04 {
namespace {

struct BatchRecord {
  std::string key, rec;
};

std::vector<BatchRecord> FirstTwoExampleClaims() {
  std::ifstream in(std::string(UB04_SOURCE_DIR) + "/examples/batch.txt");
  std::vector<BatchRecord> records;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("# Claims 3", 0) == 0) break;
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    records.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return records;
}

bool IsCharge(const BatchRecord& r) {
  return r.key.size() >= 4 && r.key.compare(r.key.size() - 4, 4, "6000") == 0;
}

// Replaces token n of a "//"-separated record.
void SetToken(std::string& rec, size_t n, const std::string& value) {
  size_t begin = 0;
  for (size_t k = 0; k < n; ++k) begin = rec.find("//", begin) + 2;
  size_t end = rec.find("//", begin);
  rec.replace(begin, end == std::string::npos ? std::string::npos : end - begin, value);
}

struct Formatted {
  std::vector<FormattedLine> lines;
  std::vector<std::string> messages;  // of every call, in order
  int claims = 0;                     // "N" lines
};

Formatted Format(const std::vector<BatchRecord>& records) {
  test::ScratchDir dir;
  Formatted out;
  {
    Format_Class fc;
    fc.HereIsAMessage("1", dir.str());
    fc.HereIsAMessage("2", "claims.fmt");
    auto take = [&] {
      for (const std::string& m : test::Messages(fc)) out.messages.push_back(m);
    };
    for (const BatchRecord& r : records) {
      fc.FormatRecord(r.key, r.rec);
      take();
    }
    fc.ProcessEndOfFile();
    take();
  }
  FormattedFileReader reader;
  reader.Open((dir.path() / "claims.fmt").string());
  FormattedLine l;
  while (reader.Next(l)) {
    if (l.kind == "N") ++out.claims;
    if (l.kind == "F") out.lines.push_back(l);
  }
  return out;
}

TEST(FormPositions, OtherInsuranceEmployerSharesTheBilledPayersRows) {
  Formatted f = Format(FirstTwoExampleClaims());
  ASSERT_EQ(f.claims, 2);
  int other_employers = 0;
  for (const FormattedLine& l : f.lines) {
    if (l.x != 5.95f) continue;  // box 65, other insurances
    ++other_employers;
    EXPECT_EQ(l.text, "TRI COUNTY FREIGHT");
    EXPECT_EQ(l.y, 8.5f) << "other insurance 1 prints on row A of boxes 63 to 65";
  }
  EXPECT_EQ(other_employers, 1);
  // The billed payer of claim 2 (sequence 2) keeps row B.
  bool billed_row_b = false;
  for (const FormattedLine& l : f.lines) billed_row_b |= l.x == 6.0f && l.y == 8.68f;
  EXPECT_TRUE(billed_row_b);
}

TEST(FormPositions, PayerSequenceNamingNoRowLeavesTheBilledRowsBlankAndWarns) {
  std::vector<BatchRecord> records = FirstTwoExampleClaims();
  const std::string kBad = "X";
  const std::string kLong(300, '9');
  bool second_claim = false;
  for (BatchRecord& r : records) {
    if (r.rec.rfind("3000//LMU", 0) == 0) second_claim = true;
    if (IsCharge(r)) SetToken(r.rec, 70, second_claim ? kLong : kBad);
  }
  Formatted f = Format(records);

  EXPECT_EQ(f.claims, 2) << "the claims are still written";
  int at_top_edge = 0;
  for (const FormattedLine& l : f.lines) at_top_edge += l.y == 0.0f;
  EXPECT_EQ(at_top_edge, 0) << "fields printed at Y 0, the paper's top edge";
  // Box 50 on the payer rows: only claim 2's other insurance, on row A.
  std::vector<float> box50_rows;
  for (const FormattedLine& l : f.lines)
    if (l.x == 0.25f && l.y > 7.0f && l.y < 7.5f) box50_rows.push_back(l.y);
  EXPECT_EQ(box50_rows, std::vector<float>{7.12f});

  int warned_x = 0, warned_long = 0;
  for (const std::string& m : f.messages) {
    if (m.find("is not 1, 2 or 3: the billed payer's rows of boxes 50 to 65 were left blank") == std::string::npos)
      continue;
    EXPECT_EQ(m.rfind(" 2//", 0), 0u) << m;
    if (m.find("Payer sequence \"X\"") != std::string::npos) ++warned_x;
    if (m.find("\u2026 (300 characters)") != std::string::npos) ++warned_long;
    EXPECT_EQ(m.find(kLong), std::string::npos) << "a long token is quoted in part";
  }
  EXPECT_EQ(warned_x, 1);
  EXPECT_EQ(warned_long, 1);
}

}  // namespace
}  // namespace ub04
