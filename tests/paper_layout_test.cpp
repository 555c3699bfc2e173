// The form as data: its fields tile without overlap on the 10 x 6 grid, the
// writers' named positions land in the boxes they fill, and every "F" line
// of the example batch and of a generated batch stays inside its field.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>

#include "form/fmt_file.h"
#include "form/form_layout.h"
#include "form/form_positions.h"
#include "tests/cli_support.h"

namespace ub04 {
namespace {

using test::ScratchDir;

bool OnGrid(float v, float step) {
  float n = v / step;
  return std::fabs(n - std::round(n)) < 1e-3f;
}

TEST(PaperLayout, FieldsTileTheGridAndEveryLocatorIsThere) {
  const auto& layout = FormLayout();
  std::set<std::string> ids, numbers;
  const FormRect frame = FormFrame();
  for (const FormLocator& f : layout) {
    EXPECT_TRUE(ids.insert(f.id).second) << "two locators named " << f.id;
    numbers.insert(f.number);
    for (float x : {f.rect.left, f.rect.right}) EXPECT_TRUE(OnGrid(x, kFormColumn)) << f.id;
    for (float y : {f.rect.top, f.rect.bottom}) EXPECT_TRUE(OnGrid(y, kFormLine)) << f.id;
    EXPECT_GT(f.rect.width(), 0) << f.id;
    EXPECT_GE(f.rect.left, frame.left - 1e-4f) << f.id;
    EXPECT_LE(f.rect.right, frame.right + 1e-4f) << f.id;
    EXPECT_LE(f.rect.bottom, frame.bottom + 1e-4f) << f.id;
  }
  for (int n = 1; n <= 81; ++n) EXPECT_TRUE(numbers.count(std::to_string(n))) << "FL " << n;
  for (const char* sub : {"3a", "3b", "8a", "8b", "9e", "42.22", "47.23", "50C", "65", "67",
                          "67Q", "74e", "81d"})
    EXPECT_TRUE(ids.count(sub)) << sub;
  // Fields may not overlap: a position must name one field.
  for (size_t i = 0; i < layout.size(); ++i)
    for (size_t j = i + 1; j < layout.size(); ++j) {
      const FormRect &a = layout[i].rect, &b = layout[j].rect;
      if (!layout[i].fill || !layout[j].fill) continue;
      float w = std::min(a.right, b.right) - std::max(a.left, b.left);
      float h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
      EXPECT_FALSE(w > 1e-4f && h > 1e-4f) << layout[i].id << " overlaps " << layout[j].id;
    }
}

// The positions the writers use, each with the field it belongs in.
TEST(PaperLayout, NamedPositionsLandInTheirBoxes) {
  struct Case { float x, y; int align; const char* id; };
  using namespace pos;
  std::vector<Case> cases = {
      {kBox01X, kBox01LineY[0], 0, "1"}, {kBox01X, kBox01LineY[3], 0, "1"},
      {kBox02X, kBox02NameY, 0, "2"}, {kBox02X, kBox02NextY + kBox02LineStep, 0, "2"},
      {kBox02VendorIdX, kBox02VendorIdY, 1, "2"},
      {kBox03X, kBox03aY, 0, "3a"}, {kBox03X, kBox03bY, 0, "3b"}, {kBox04X, kBox04Y, 0, "4"},
      {kBox05X, kBox05Y, 0, "5"}, {kBox06FromX, kBox06Y, 0, "6 from"},
      {kBox06ThroughX, kBox06Y, 0, "6 through"}, {kBox08aX, kBox08aY, 0, "8a"},
      {kBox08bX, kBox08bY, 0, "8b"}, {kBox09aX, kBox09aY, 0, "9a"},
      {kBox09bX, kBox09bToDY, 0, "9b"}, {kBox09cX, kBox09bToDY, 0, "9c"},
      {kBox09dX, kBox09bToDY, 0, "9d"},
      {kBox10BirthDateX, kBoxes10To29Y, 0, "10"}, {kBox11SexX, kBoxes10To29Y, 0, "11"},
      {kBox12AdmissionDateX, kBoxes10To29Y, 0, "12"}, {kBox13AdmissionHourX, kBoxes10To29Y, 0, "13"},
      {kBox14AdmissionTypeX, kBoxes10To29Y, 0, "14"}, {kBox15PointOfOriginX, kBoxes10To29Y, 0, "15"},
      {kBox16DischargeHourX, kBoxes10To29Y, 0, "16"}, {kBox17PatientStatusX, kBoxes10To29Y, 0, "17"},
      {kBoxes18To28FirstX, kBoxes10To29Y, 0, "18"},
      {kBoxes18To28FirstX + 10 * kBoxes18To28Step, kBoxes10To29Y, 0, "28"},
      {kBox29AccidentStateX, kBoxes10To29Y, 0, "29"},
      {kBox38X, kBox38NameY, 0, "38"}, {kBox38X, kBox38NextY + kBox38LineStep, 0, "38"},
      {kBox42RevenueCodeX, kBoxes42To47RowY[0], 0, "42.1"},
      {kBox47ChargesX, kBoxes42To47RowY[21], 1, "47.22"},
      {kBox43DescriptionX, kBoxes42To47RowY[11], 0, "43.12"},
      {kBox44HcpcsX, kBoxes42To47RowY[5], 0, "44.6"}, {kBox44ModifiersX, kBoxes42To47RowY[5], 0, "44.6"},
      {kBox45ServiceDateX, kBoxes42To47RowY[16], 0, "45.17"},
      {kBox46UnitsX, kBoxes42To47RowY[19], 0, "46.20"},
      {kBox42RevenueCodeX, kLine23Y, 0, "42.23"}, {kLine23PageX, kLine23PageNumberY, 0, "43.23"},
      {kLine23PageOfX, kLine23PageNumberY, 0, "43.23"}, {kBox47ChargesX, kLine23Y, 1, "47.23"},
      {kBox56NpiX, kBox56Y, 0, "56"},
      {kBox58InsuredNameX, kBoxes58To62RowY[2], 0, "58C"}, {kBox59RelationshipX, kBoxes58To62RowY[0], 0, "59A"},
      {kBox60InsuredIdX, kBoxes58To62RowY[1], 0, "60B"}, {kBox61GroupNameX, kBoxes58To62RowY[0], 0, "61A"},
      {kBox62GroupNumberX, kBoxes58To62RowY[2], 0, "62C"},
      {kBox63AuthorizationX, kBoxes63To65RowY[2], 0, "63"}, {kBox64DocumentControlX, kBoxes63To65RowY[1], 0, "64"},
      {kBox65EmployerX, kBoxes63To65RowY[0], 0, "65"}, {kBox65OtherEmployerX, kBoxes63To65RowY[2], 0, "65"},
      {kBox66X, kBox66Y, 0, "66"}, {kBox67FirstX, kBox67RowY[0], 0, "67"},
      {kBox67FirstX + kBox67PoaOffset, kBox67RowY[0], 0, "67"},
      {kBox67FirstX + 8 * kBox67Step + kBox67PoaOffset, kBox67RowY[0], 0, "67H"},
      {kBox67FirstX, kBox67RowY[1], 0, "67I"}, {kBox67FirstX + 8 * kBox67Step, kBox67RowY[1], 0, "67Q"},
      {kBox69X, kBoxes69And70Y, 0, "69"}, {kBox70X, kBoxes69And70Y, 0, "70"},
      {kBox74CodeX, kBox74Y, 0, "74"}, {kBox74DateX, kBox74Y, 0, "74"},
      {kBoxes76And77NpiX, kBox76Rows.id_y, 0, "76"}, {kBoxes76And77SecondaryIdX, kBox76Rows.id_y, 0, "76"},
      {kBoxes76And77LastNameX, kBox76Rows.name_y, 0, "76"}, {kBoxes76And77FirstNameX, kBox77Rows.name_y, 0, "77"},
      {kBoxes76And77QualifierX, kBox77Rows.id_y, 0, "77"},
      {kBox80FirstX, kBox80FirstY, 0, "80"}, {kBox80X, kBox80NextY + 2 * kBox80LineStep, 0, "80"},
      {kBox81QualifierX, kBox81Y, 0, "81a"}, {kBox81CodeX, kBox81Y, 0, "81a"},
  };
  for (size_t r = 0; r < 3; ++r) {
    const std::string row(1, static_cast<char>('A' + r));
    const char* ids[] = {"50", "51", "52", "53", "57"};
    const float xs[] = {kBox50PayerNameX, kBox51HealthPlanIdX, kBox52ReleaseInfoX,
                        kBox53AssignBenefitsX, kBox57OtherProviderIdX};
    for (int k = 0; k < 5; ++k) {
      const FormLocator* f = LocatorOfText(xs[k], kBoxes50To57RowY[r], 0);
      ASSERT_TRUE(f) << ids[k] << row;
      EXPECT_EQ(f->id, std::string(ids[k]) + row);
    }
    const FormLocator* prior = LocatorOfText(kBox54PriorPaymentX, kBoxes54And55RowY[r], 1);
    const FormLocator* due = LocatorOfText(kBox55AmountDueX, kBoxes54And55RowY[r], 1);
    ASSERT_TRUE(prior && due);
    EXPECT_EQ(prior->id, "54" + row);
    EXPECT_EQ(due->id, "55" + row);
  }
  for (const Case& c : cases) {
    const FormLocator* f = LocatorOfText(c.x, c.y, c.align);
    ASSERT_TRUE(f) << c.id << " at " << c.x << ", " << c.y << " is on no field";
    EXPECT_EQ(f->id, c.id) << "at " << c.x << ", " << c.y;
  }
}

// Every "F" line of the file against the field its position names; the
// crossings, one each.
struct Crossing {
  FormattedLine line;
  std::string why;
};

std::vector<Crossing> Crossings(const std::string& fmt, int& fields) {
  std::vector<Crossing> out;
  FormattedFileReader reader;
  reader.Open(fmt);
  FormattedLine line;
  int page = 1;
  fields = 0;
  while (reader.Next(line)) {
    if (line.kind == "N") ++page;
    if (line.kind != "F" || line.text.empty()) continue;
    ++fields;
    std::string why = WhyOutsideField(line.text, line.x, line.y, line.number);
    if (!why.empty()) out.push_back({line, "page " + std::to_string(page) + ": " + why});
  }
  return out;
}

std::string Format(const ScratchDir& dir, const std::string& batch) {
  auto r = test::RunCli("-q --no-print -o " + dir.str() + " " + batch);
  EXPECT_EQ(r.status, 0) << r.err;
  return dir.str() + "/claims.fmt";
}

TEST(PaperLayout, EveryFieldOfTheExampleBatchStaysInsideItsBox) {
  ScratchDir dir;
  int fields = 0;
  auto crossed = Crossings(Format(dir, test::ExampleBatch()), fields);
  EXPECT_GT(fields, 300);
  for (const Crossing& c : crossed) ADD_FAILURE() << c.why;
}

// The benchmark generator's batch: every kind of claim break, full pages,
// other payers. Built beside the test when the benchmarks are not.
TEST(PaperLayout, EveryFieldOfAGeneratedBatchStaysInsideItsBox) {
  ScratchDir dir;
  std::filesystem::path gen = std::filesystem::path(UB04FMT_PATH).parent_path() / "bench" / "gen";
  if (!std::filesystem::exists(gen)) {
    gen = dir.path() / "gen";
    std::string cc = "c++ -std=c++20 -O1 -o " + gen.string() + " " + UB04_SOURCE_DIR +
                     "/bench/gen.cpp";
    ASSERT_EQ(std::system(cc.c_str()), 0) << cc;
  }
  const std::string batch = dir.str() + "/gen.txt";
  ASSERT_EQ(std::system((gen.string() + " --charges 3000 --seed 7 > " + batch).c_str()), 0);
  int fields = 0;
  auto crossed = Crossings(Format(dir, batch), fields);
  EXPECT_GT(fields, 10000);
  // Two boxes print what they are given uncut, and the generator gives them
  // more than their slots hold: box 60's two ID tokens (address texts of up
  // to 28 characters) and box 67's present-on-admission value (three digits
  // instead of one letter, running into the next code). Those are listed;
  // any other crossing fails.
  int known = 0;
  for (const Crossing& c : crossed) {
    const FormLocator* f = LocatorOfText(c.line.x, c.line.y, c.line.number);
    float slot = std::fmod(c.line.x - pos::kBox67FirstX, pos::kBox67Step);
    bool listed = f && (f->number == "60" ||
                        (f->number == "67" && std::fabs(slot - pos::kBox67PoaOffset) < 0.01f));
    if (listed)
      ++known;
    else
      ADD_FAILURE() << c.why;
  }
  std::cout << "generated batch: " << fields << " fields, " << crossed.size()
            << " cross a rule (" << known << " in boxes 60 and 67, see above)\n";
}

}  // namespace
}  // namespace ub04
