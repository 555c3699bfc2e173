#include "cli/findings_report.h"

#include "checks/claim_checks.h"

namespace ub04fmt {

std::string FindingsReport::Open(const std::string& path) {
  jsonl_ = IsJsonLines(path);
  if (std::string why = file_.Open(path); !why.empty()) return why;
  if (!jsonl_) file_.Append("claim,account,locator,rule,level,value,message\n");
  return "";
}

void FindingsReport::Add(const ub04::ClaimRecord& claim) {
  const int32_t sequence = claim.first_sequence();
  const std::string number = sequence > 0 ? std::to_string(sequence) : "";
  for (const ub04::ClaimFinding& f : claim.findings) {
    const std::string level(ub04::LevelName(f.level));
    const std::string message(ub04::FindingMessage(f));
    if (jsonl_)
      file_.Append("{\"claim\":" + (number.empty() ? std::string("null") : number) +
                   ",\"account\":" + JsonString(claim.account) + ",\"locator\":" +
                   JsonString(f.locator) + ",\"rule\":" + JsonString(f.rule) +
                   ",\"level\":" + JsonString(level) + ",\"value\":" + JsonString(f.value) +
                   ",\"message\":" + JsonString(message) + "}\n");
    else
      file_.Append(number + "," + CsvField(claim.account) + "," + CsvField(f.locator) + "," +
                   CsvField(f.rule) + "," + level + "," + CsvField(f.value) + "," +
                   CsvField(message) + "\n");
  }
}

}  // namespace ub04fmt
