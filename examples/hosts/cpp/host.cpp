// A C++17 host: formats a batch file into OUTDIR and prints it.
//   host BATCH OUTDIR
#include <fstream>
#include <iostream>
#include <string>

#include <ub04/format_class.hpp>

namespace {

// Prints the queued messages; true when one of them is an error.
bool Report(ub04::api::Format_Class& fc, const std::string& what) {
  bool error = false;
  for (int32_t i = 1;; ++i) {
    std::string msg = fc.GetAMessage(i);
    if (msg == "END") return error;
    std::cerr << what << ": " << msg << "\n";
    error |= msg.rfind(" 3//", 0) == 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " BATCH OUTDIR\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 2;
  }
  ub04::api::Format_Class fc;
  // One line per claim as the formatter decides it.
  fc.SetClaimCallback([](const ub04::api::ClaimRecord& c) {
    std::cout << "claim " << c.Item("first_sequence").value_or("") << ": account "
              << c.Item("account").value_or("") << ", " << c.Count("lines") << " line(s), total "
              << c.Item("total_charges").value_or("") << ", " << c.Item("fate").value_or("")
              << "\n";
  });
  bool failed = fc.HereIsAMessage("1", argv[2]) != 0;
  failed |= fc.HereIsAMessage("2", "claims.fmt") != 0;
  failed |= fc.HereIsAMessage("VER", "") != 1;
  Report(fc, "version");

  std::string line;
  while (!failed && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
    std::string head = line.substr(0, tab), text = line.substr(tab + 1);
    int16_t r = head[0] == '@' ? fc.HereIsAMessage(head.substr(1), text)
                               : fc.FormatRecord(head, text);
    failed |= Report(fc, head) || r != 0;
  }
  if (in.bad()) failed = true;
  failed |= fc.ProcessEndOfFile() != 0;
  Report(fc, "end of batch");
  if (!failed) {
    failed |= fc.ProcessFormattedRecords() != 0;
    Report(fc, "printing");
  }

  // The helper classes: adjustments merged by group and reason.
  ub04::api::PayAdjHelper adj;
  std::string total;
  failed |= adj.AddThePaymentAdjCodes(total, "PR|1|5|0|CO|45|10|1") != 0;
  std::cout << "adjustments: " << total << "\n";
  std::cout << (failed ? "failed" : "formatted and printed") << "\n";
  return failed ? 1 : 0;
}
