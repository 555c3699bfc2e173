// Claim records: what each claim's pages show, handed to the host as the
// claim is written. The record must say what the page says, and every name
// a host can ask for must be documented.
#include <gtest/gtest.h>

#include <vector>

#include "claim/claim_fields.h"
#include "form/form_positions.h"
#include "tests/test_support.h"
#include "ub04/format_class.hpp"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

// The records of the example batch, and the file they were written to.
struct ExampleRun {
  ScratchDir dir;
  std::vector<ClaimRecord> claims;
  std::vector<FormattedLine> lines;

  ExampleRun() {
    Format_Class fc;
    fc.AddClaimObserver([&](const ClaimRecord& c) { claims.push_back(c); });
    EXPECT_EQ(RunBatch(fc, ExampleRecords(), dir.path(), "claims.fmt"), 0);
    lines = ReadFormatted(dir.path() / "claims.fmt");
  }
};

TEST(ClaimRecords, SayWhatThePagesShow) {
  ExampleRun run;
  ASSERT_EQ(run.claims.size(), 6u);
  int page = 0;
  for (const ClaimRecord& c : run.claims) {
    ASSERT_EQ(c.page_count(), 1);
    ++page;
    EXPECT_EQ(c.first_sequence(), page);
    EXPECT_EQ(c.fate, ClaimRecord::Fate::kWritten);
    auto at = [&](float x, float y) { return FieldAt(run.lines, x, y, page); };
    EXPECT_EQ(c.account, at(pos::kBox03X, pos::kBox03aY));
    EXPECT_EQ(c.type_of_bill, at(pos::kBox04X, pos::kBox04Y));
    EXPECT_EQ(c.federal_tax_number, at(pos::kBox05X, pos::kBox05Y));
    EXPECT_EQ(c.patient_name, at(pos::kBox08bX, pos::kBox08bY));
    EXPECT_EQ(c.billing_npi, at(pos::kBox56NpiX, pos::kBox56Y));
    EXPECT_EQ(AmountItem(c.total_charges), at(pos::kBox47ChargesX, pos::kLine23Y));
    EXPECT_EQ(c.attending.npi, at(pos::kBoxes76And77NpiX, pos::kBox76Rows.id_y));
    ASSERT_FALSE(c.lines.empty());
    for (const ClaimServiceLine& l : c.lines) {
      const float y = pos::kBoxes42To47RowY[static_cast<size_t>(l.row - 1)];
      EXPECT_EQ(l.page, 1);
      EXPECT_EQ(l.revenue_code, at(pos::kBox42RevenueCodeX, y));
      EXPECT_EQ(l.hcpcs, at(pos::kBox44HcpcsX, y));
      EXPECT_EQ(AmountItem(l.charges), at(pos::kBox47ChargesX, y));
    }
    for (size_t i = 0; i < c.diagnoses.size(); ++i)
      EXPECT_EQ(c.diagnoses[i].code,
                at(pos::kBox67FirstX + pos::kBox67Step * static_cast<float>(i % pos::kBox67PerRow),
                   pos::kBox67RowY[i / pos::kBox67PerRow]));
    int billed = 0;
    for (size_t row = 0; row < c.payers.size(); ++row) {
      const ClaimPayer& p = c.payers[row];
      if (!p.used) continue;
      EXPECT_EQ(p.name, at(pos::kBox50PayerNameX, pos::kBoxes50To57RowY[row]));
      if (p.has_amount_due) {
        EXPECT_EQ(AmountItem(p.amount_due), at(pos::kBox55AmountDueX, pos::kBoxes54And55RowY[row]));
      }
      billed += p.billed;
    }
    EXPECT_EQ(billed, 1);
  }
}

// A host of the public C++ interface gets the same records by name; one
// that throws from its callback does not stop the batch.
TEST(ClaimRecords, ReachTheHostsOfThePublicInterface) {
  ExampleRun run;
  ScratchDir dir;
  std::vector<std::string> accounts, json;
  int32_t lines = 0;
  {
    api::Format_Class fc;
    fc.SetClaimCallback([&](const api::ClaimRecord& c) {
      accounts.push_back(c.Item("account").value_or("?") + " " +
                         c.ListItem("lines", 0, "revenue_code").value_or("?"));
      lines += c.Count("lines");
      json.push_back(c.Json());
      EXPECT_FALSE(c.Item("not an item"));
      throw std::runtime_error("a host's own failure");
    });
    ASSERT_EQ(fc.HereIsAMessage("1", dir.str()), 0);
    ASSERT_EQ(fc.HereIsAMessage("2", "claims.fmt"), 0);
    for (const BatchLine& l : ExampleRecords()) ASSERT_EQ(fc.FormatRecord(l.key, l.rec), 0);
    ASSERT_EQ(fc.ProcessEndOfFile(), 0);
  }
  ASSERT_EQ(accounts.size(), run.claims.size());
  for (size_t i = 0; i < accounts.size(); ++i) {
    EXPECT_EQ(accounts[i], run.claims[i].account + " " + run.claims[i].lines[0].revenue_code);
    EXPECT_EQ(json[i], ClaimJson(run.claims[i]));
  }
  EXPECT_EQ(lines, 32);
  EXPECT_EQ(ReadFile(dir.path() / "claims.fmt"), ReadFile(run.dir.path() / "claims.fmt"));
}

TEST(ClaimRecords, EveryNameIsDocumented) {
  const std::string doc = ReadFile(fs::path(UB04_SOURCE_DIR) / "docs" / "host-protocol.md");
  auto documented = [&](std::string_view name) {
    return doc.find("`" + std::string(name) + "`") != std::string::npos;
  };
  for (std::string_view name : ClaimItemNames()) EXPECT_TRUE(documented(name)) << name;
  for (std::string_view list : ClaimListNames()) {
    EXPECT_TRUE(documented(list)) << list;
    for (std::string_view name : ClaimListItemNames(list))
      EXPECT_TRUE(documented(name)) << list << "." << name;
  }
}

}  // namespace
}  // namespace ub04::test
