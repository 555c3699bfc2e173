#include "cli/manifest.h"

#include "claim/claim_fields.h"

namespace ub04fmt {

ClaimRow ClaimRow::Of(const ub04::ClaimRecord& claim, int first_page) {
  ClaimRow row;
  row.sequences = claim.page_sequences;
  row.first_page = first_page;
  row.last_page = first_page + claim.page_count() - 1;
  row.patient = claim.index_patient;
  row.bprovider = claim.index_billing_provider;
  row.insurance = claim.index_insurance;
  row.payer_sequence = claim.payer_sequence;
  row.total_charges = claim.total_charges;
  row.service_lines = static_cast<int>(claim.lines.size());
  row.fate = ub04::FateName(claim.fate);
  for (const ub04::ClaimFinding& f : claim.findings) row.findings += f.rule != "REFUSED";
  if (claim.fate == ub04::ClaimRecord::Fate::kHeld) row.held = HeldReasons(claim);
  return row;
}

std::string HeldReasons(const ub04::ClaimRecord& claim) {
  std::string reasons;
  for (const ub04::ClaimFinding& f : claim.findings) {
    if (f.level != ub04::ClaimFinding::Level::kError) continue;
    const std::string reason = (f.locator.empty() ? "" : f.locator + " ") + f.rule;
    if (reasons.find(reason) == std::string::npos) reasons += (reasons.empty() ? "" : ", ") + reason;
  }
  // Held for its warnings alone (the checks hold warnings too).
  if (reasons.empty())
    for (const ub04::ClaimFinding& f : claim.findings)
      if (reasons.find(f.rule) == std::string::npos) reasons += (reasons.empty() ? "" : ", ") + f.rule;
  return reasons;
}

ManifestWriter::~ManifestWriter() = default;

std::string ManifestWriter::Open(const std::string& path, int pdf_from, int pdf_to) {
  jsonl_ = IsJsonLines(path);
  pdf_from_ = pdf_from;
  pdf_to_ = pdf_to;
  if (std::string why = file_.Open(path); !why.empty()) return why;
  Clear();
  return "";
}

void ManifestWriter::Clear() {
  if (!file_.is_open()) return;
  file_.Clear();
  if (!jsonl_)
    file_.Append("claim,first_pdf_page,last_pdf_page,pages,patient,billing_provider,insurance,"
              "payer_sequence,total_charges,service_lines,warnings,errors,messages,"
              "page_sequences,fate,findings,held\n");
}

void ManifestWriter::Add(const ClaimRow& c) {
  if (!file_.is_open()) return;
  const bool in_pdf = c.first_page >= pdf_from_ && c.last_page <= pdf_to_ && c.first_page > 0;
  const std::string first = in_pdf ? std::to_string(c.first_page - pdf_from_ + 1) : "";
  const std::string last = in_pdf ? std::to_string(c.last_page - pdf_from_ + 1) : "";
  const std::string claim = c.sequences.empty() ? "" : std::to_string(c.sequences.front());
  int warnings = 0, errors = 0;
  std::string joined, list;
  for (const ClaimMessage& m : c.messages) {
    (m.severity >= 3 ? errors : warnings) += 1;
    std::string t = (m.severity >= 3 ? "error: " : "warning: ") + m.text;
    joined += (joined.empty() ? "" : " | ") + t;
    list += (list.empty() ? "" : ",") + JsonString(t);
  }
  std::string sequences_csv, sequences_json;
  for (int32_t s : c.sequences) {
    sequences_csv += (sequences_csv.empty() ? "" : " ") + std::to_string(s);
    sequences_json += (sequences_json.empty() ? "" : ",") + std::to_string(s);
  }
  const std::string pages = std::to_string(c.sequences.size());
  const std::string total = ub04::AmountItem(c.total_charges);
  if (jsonl_) {
    file_.Append("{\"claim\":" + claim + ",\"first_pdf_page\":" + (in_pdf ? first : "null") +
               ",\"last_pdf_page\":" + (in_pdf ? last : "null") + ",\"pages\":" + pages +
               ",\"patient\":" + JsonString(c.patient) +
               ",\"billing_provider\":" + JsonString(c.bprovider) +
               ",\"insurance\":" + JsonString(c.insurance) +
               ",\"payer_sequence\":" + JsonString(c.payer_sequence) + ",\"total_charges\":\"" +
               total + "\",\"service_lines\":" + std::to_string(c.service_lines) +
               ",\"warnings\":" + std::to_string(warnings) + ",\"errors\":" +
               std::to_string(errors) + ",\"messages\":[" + list + "],\"page_sequences\":[" +
               sequences_json + "],\"fate\":" + JsonString(c.fate) +
               ",\"findings\":" + std::to_string(c.findings) + ",\"held\":" + JsonString(c.held) +
               "}\n");
  } else {
    file_.Append(claim + "," + first + "," + last + "," + pages + "," + CsvField(c.patient) + "," +
               CsvField(c.bprovider) + "," + CsvField(c.insurance) + "," +
               CsvField(c.payer_sequence) + "," + total + "," +
               std::to_string(c.service_lines) + "," + std::to_string(warnings) + "," +
               std::to_string(errors) + "," + CsvField(joined) + "," + sequences_csv + "," +
               c.fate + "," + std::to_string(c.findings) + "," + CsvField(c.held) + "\n");
  }
}

std::string ManifestWriter::Commit() { return file_.Commit(); }

}  // namespace ub04fmt
