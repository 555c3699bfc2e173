// The extended-data items the record reference lists (records/ext_data_items.h)
// are the ones the component looks up, in the set it looks them up in: an
// item sent in its set prints, the same item in another set does not.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "records/ext_data_items.h"
#include "tests/form_support.h"

namespace ub04::test {
namespace {

namespace fs = std::filesystem;

// Item codes written as literals in the layers that look items up.
std::set<std::string> CodesInSources() {
  static const std::regex code(R"re("([123]00\d\d)")re");
  std::set<std::string> codes;
  for (const char* layer : {"claim", "compose", "host"})
    for (const auto& f : fs::directory_iterator(fs::path(UB04_SOURCE_DIR) / layer)) {
      const std::string text = ReadFile(f.path());
      for (auto m = std::sregex_iterator(text.begin(), text.end(), code);
           m != std::sregex_iterator(); ++m)
        codes.insert((*m)[1]);
    }
  return codes;
}

TEST(ExtDataItems, TheTableListsEveryItemTheSourcesLookUp) {
  std::set<std::string> listed;
  for (const ExtDataItem& item : ExtDataItems()) listed.emplace(item.code);
  EXPECT_EQ(listed, CodesInSources());
}

// What a value sent for the item prints as.
struct Case {
  const char* code;
  const char* value;
  const char* printed;
};
constexpr Case kCases[] = {
    {"10000", "20230105", "010523"}, {"10001", "20230206", "020623"},
    {"10002", "20230307", "030723"}, {"20003", "NJ", "NJ"},
    {"20007", "0322", "0322"},       {"20011", "K", "K"},
    {"20012", "Q", "Q"},           {"20014", "C1-C2", "C2"},
    {"20015", "W", "W"},             {"20016", "D4", "D4"},
    {"30005", "16", "16"},           {"30006", "17", "17"},
};

bool Prints(const std::vector<Claim>& claims, const std::string& text) {
  for (const FormattedLine& l : Formatted(claims).lines)
    if (l.kind == "F" && l.text == text) return true;
  return false;
}

TEST(ExtDataItems, EachItemPrintsFromItsSetOnly) {
  Claim c;
  c.charge.Set(charge::OnsetType, "MTR").Set(charge::RevenueCode, "0450/12.50");
  for (const ExtDataItem& item : ExtDataItems()) {
    SCOPED_TRACE(item.code);
    const Case* k = nullptr;
    for (const Case& x : kCases)
      if (item.code == x.code) k = &x;
    ASSERT_NE(k, nullptr) << "no case for this item";
    ASSERT_FALSE(Prints({c}, k->printed));
    for (int set = 1; set <= 5; ++set) {
      Claim with = c;
      with.ext = {{std::to_string(5010 + 2 * (set - 1)), std::string("X//") + k->code + "//" +
                                                          k->value}};
      EXPECT_EQ(Prints({with}, k->printed), set == item.set) << "set " << set;
    }
  }
}

}  // namespace
}  // namespace ub04::test
