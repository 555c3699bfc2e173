#include "claim/claim_fields.h"

#include <cmath>
#include <cstdio>

namespace ub04 {

namespace {

std::string Flag(bool b) { return b ? "1" : "0"; }

std::string UnitsItem(float units) {
  if (std::floor(units) == units) return FormatMask(static_cast<double>(units), "#0");
  return FormatMask(static_cast<double>(units), "#0.0#");
}

// ---- the tables -----------------------------------------------------------------

template <class T>
struct Item {
  std::string_view name;
  std::string (*get)(const T&);
};

using R = ClaimRecord;
constexpr Item<R> kItems[] = {
    {"fate", [](const R& c) { return std::string(FateName(c.fate)); }},
    {"first_sequence", [](const R& c) { return PlainNum(c.first_sequence()); }},
    {"page_count", [](const R& c) { return PlainNum(c.page_count()); }},
    {"index_patient", [](const R& c) { return c.index_patient; }},
    {"index_billing_provider", [](const R& c) { return c.index_billing_provider; }},
    {"index_insurance", [](const R& c) { return c.index_insurance; }},
    {"payer_sequence", [](const R& c) { return c.payer_sequence; }},
    {"account", [](const R& c) { return c.account; }},
    {"medical_record", [](const R& c) { return c.medical_record; }},
    {"type_of_bill", [](const R& c) { return c.type_of_bill; }},
    {"federal_tax_number", [](const R& c) { return c.federal_tax_number; }},
    {"statement_from", [](const R& c) { return c.statement_from; }},
    {"statement_through", [](const R& c) { return c.statement_through; }},
    {"patient_name", [](const R& c) { return c.patient_name; }},
    {"birth_date", [](const R& c) { return c.birth_date; }},
    {"sex", [](const R& c) { return c.sex; }},
    {"admission_date", [](const R& c) { return c.admission_date; }},
    {"admission_hour", [](const R& c) { return c.admission_hour; }},
    {"admission_type", [](const R& c) { return c.admission_type; }},
    {"point_of_origin", [](const R& c) { return c.point_of_origin; }},
    {"discharge_hour", [](const R& c) { return c.discharge_hour; }},
    {"patient_status", [](const R& c) { return c.patient_status; }},
    {"total_charges", [](const R& c) { return AmountItem(c.total_charges); }},
    {"amount_due_rule", [](const R& c) { return c.amount_due_rule; }},
    {"creation_date", [](const R& c) { return c.creation_date; }},
    {"billing_npi", [](const R& c) { return c.billing_npi; }},
    {"diagnosis_qualifier", [](const R& c) { return c.diagnosis_qualifier; }},
    {"icd10_received", [](const R& c) { return Flag(c.icd10_received); }},
    {"admitting_diagnosis", [](const R& c) { return c.admitting_diagnosis; }},
    {"reason_for_visit", [](const R& c) { return c.reason_for_visit; }},
    {"principal_procedure", [](const R& c) { return c.principal_procedure; }},
    {"principal_procedure_date", [](const R& c) { return c.principal_procedure_date; }},
};

constexpr Item<int32_t> kPageItems[] = {
    {"sequence", [](const int32_t& s) { return PlainNum(s); }},
};
constexpr Item<std::string> kConditionItems[] = {
    {"code", [](const std::string& s) { return s; }},
};
constexpr Item<std::string> kRemarkItems[] = {
    {"text", [](const std::string& s) { return s; }},
};
constexpr Item<ClaimCode> kOccurrenceItems[] = {
    {"code", [](const ClaimCode& c) { return c.code; }},
    {"date", [](const ClaimCode& c) { return c.value; }},
};
constexpr Item<ClaimCode> kValueCodeItems[] = {
    {"code", [](const ClaimCode& c) { return c.code; }},
    {"amount", [](const ClaimCode& c) { return c.value; }},
};
using L = ClaimServiceLine;
constexpr Item<L> kLineItems[] = {
    {"page", [](const L& l) { return PlainNum(l.page); }},
    {"row", [](const L& l) { return PlainNum(l.row); }},
    {"revenue_code", [](const L& l) { return l.revenue_code; }},
    {"description", [](const L& l) { return l.description; }},
    {"hcpcs", [](const L& l) { return l.hcpcs; }},
    {"modifiers", [](const L& l) { return l.modifiers; }},
    {"service_date", [](const L& l) { return l.service_date; }},
    {"units", [](const L& l) { return UnitsItem(l.units); }},
    {"charges", [](const L& l) { return AmountItem(l.charges); }},
};
// A payer row with its letter; the list holds the rows a payer fills.
struct PayerRow {
  char letter;
  const ClaimPayer* payer;
};
using P = PayerRow;
constexpr Item<P> kPayerItems[] = {
    {"row", [](const P& p) { return std::string(1, p.letter); }},
    {"billed", [](const P& p) { return Flag(p.payer->billed); }},
    {"name", [](const P& p) { return p.payer->name; }},
    {"health_plan_id", [](const P& p) { return p.payer->health_plan_id; }},
    {"release_of_info", [](const P& p) { return p.payer->release_of_info; }},
    {"assignment", [](const P& p) { return p.payer->assignment; }},
    {"prior_payments",
     [](const P& p) { return p.payer->has_prior_payments ? AmountItem(p.payer->prior_payments) : ""; }},
    {"amount_due",
     [](const P& p) { return p.payer->has_amount_due ? AmountItem(p.payer->amount_due) : ""; }},
    {"other_provider_id", [](const P& p) { return p.payer->other_provider_id; }},
    {"insured_name", [](const P& p) { return p.payer->insured_name; }},
    {"relationship", [](const P& p) { return p.payer->relationship; }},
    {"insured_id", [](const P& p) { return p.payer->insured_id; }},
    {"group_name", [](const P& p) { return p.payer->group_name; }},
    {"group_number", [](const P& p) { return p.payer->group_number; }},
    {"authorization", [](const P& p) { return p.payer->authorization; }},
    {"document_control", [](const P& p) { return p.payer->document_control; }},
    {"employer", [](const P& p) { return p.payer->employer; }},
};
constexpr Item<RecordSpan> kChargeRecordItems[] = {
    {"first", [](const RecordSpan& r) { return PlainNum(r.first); }},
    {"last", [](const RecordSpan& r) { return PlainNum(r.last); }},
};
constexpr Item<ClaimDiagnosis> kDiagnosisItems[] = {
    {"code", [](const ClaimDiagnosis& d) { return d.code; }},
    {"poa", [](const ClaimDiagnosis& d) { return d.poa; }},
};
// Boxes 76 to 79 with their locator.
struct ProviderBox {
  const char* locator;
  const ClaimProvider* provider;
};
using V = ProviderBox;
constexpr Item<V> kProviderItems[] = {
    {"locator", [](const V& v) { return std::string(v.locator); }},
    {"npi", [](const V& v) { return v.provider->npi; }},
    {"qualifier", [](const V& v) { return v.provider->qualifier; }},
    {"secondary_id", [](const V& v) { return v.provider->secondary_id; }},
    {"last_name", [](const V& v) { return v.provider->last_name; }},
    {"first_name", [](const V& v) { return v.provider->first_name; }},
};
using F = ClaimFinding;
constexpr Item<F> kFindingItems[] = {
    {"level", [](const F& f) { return std::string(LevelName(f.level)); }},
    {"locator", [](const F& f) { return f.locator; }},
    {"rule", [](const F& f) { return f.rule; }},
    {"value", [](const F& f) { return f.value; }},
    {"message", [](const F& f) { return f.message; }},
};

// "name":"value" for every item of the table, comma-separated.
template <class T, size_t N>
void AppendJsonItems(std::string& out, const Item<T> (&items)[N], const T& entry) {
  for (size_t i = 0; i < N; ++i) {
    if (i > 0) out += ',';
    AppendJsonString(out, items[i].name);
    out += ':';
    AppendJsonString(out, items[i].get(entry));
  }
}

std::vector<PayerRow> PayerRows(const ClaimRecord& c) {
  std::vector<PayerRow> rows;
  for (size_t i = 0; i < c.payers.size(); ++i)
    if (c.payers[i].used) rows.push_back({static_cast<char>('A' + i), &c.payers[i]});
  return rows;
}

std::vector<ProviderBox> ProviderBoxes(const ClaimRecord& c) {
  return {{"FL76", &c.attending},
          {"FL77", &c.operating},
          {"FL78", &c.other_providers[0]},
          {"FL79", &c.other_providers[1]}};
}

// What every list does, whatever its entries are: its size, an item of an
// entry, its entry's item names, its JSON.
struct ListOps {
  virtual ~ListOps() = default;
  virtual size_t Size(const ClaimRecord& c) const = 0;
  virtual bool Get(const ClaimRecord& c, size_t i, std::string_view name, std::string& v) const = 0;
  virtual std::vector<std::string_view> Names() const = 0;
  virtual void Json(const ClaimRecord& c, std::string& out) const = 0;
};

template <class T, size_t N, class Entries>
class List final : public ListOps {
 public:
  constexpr List(const Item<T> (&items)[N], Entries entries) : items_(items), entries_(entries) {}

  size_t Size(const ClaimRecord& c) const override { return Entries_(c).size(); }
  bool Get(const ClaimRecord& c, size_t i, std::string_view name, std::string& v) const override {
    const auto& entries = Entries_(c);
    if (i >= entries.size()) return false;
    for (const Item<T>& item : items_)
      if (item.name == name) {
        v = item.get(entries[i]);
        return true;
      }
    return false;
  }
  std::vector<std::string_view> Names() const override {
    std::vector<std::string_view> names;
    for (const Item<T>& item : items_) names.push_back(item.name);
    return names;
  }
  void Json(const ClaimRecord& c, std::string& out) const override {
    out += '[';
    bool first_entry = true;
    for (const T& e : Entries_(c)) {
      out += first_entry ? "{" : ",{";
      first_entry = false;
      AppendJsonItems(out, items_, e);
      out += '}';
    }
    out += ']';
  }

 private:
  decltype(auto) Entries_(const ClaimRecord& c) const { return entries_(c); }
  const Item<T> (&items_)[N];
  Entries entries_;
};

template <class T, size_t N, class Entries>
List<T, N, Entries> MakeList(const Item<T> (&items)[N], Entries entries) {
  return List<T, N, Entries>(items, entries);
}

// Entries as a vector by reference, or by value for the made-up rows.
const auto kPages = MakeList(kPageItems, [](const R& c) -> const std::vector<int32_t>& { return c.page_sequences; });
const auto kConditions = MakeList(kConditionItems, [](const R& c) -> const std::vector<std::string>& { return c.condition_codes; });
const auto kOccurrences = MakeList(kOccurrenceItems, [](const R& c) -> const std::vector<ClaimCode>& { return c.occurrence_codes; });
const auto kValueCodes = MakeList(kValueCodeItems, [](const R& c) -> const std::vector<ClaimCode>& { return c.value_codes; });
const auto kLines = MakeList(kLineItems, [](const R& c) -> const std::vector<L>& { return c.lines; });
const auto kPayers = MakeList(kPayerItems, [](const R& c) { return PayerRows(c); });
const auto kDiagnoses = MakeList(kDiagnosisItems, [](const R& c) -> const std::vector<ClaimDiagnosis>& { return c.diagnoses; });
const auto kProviders = MakeList(kProviderItems, [](const R& c) { return ProviderBoxes(c); });
const auto kRemarks = MakeList(kRemarkItems, [](const R& c) -> const std::vector<std::string>& { return c.remarks; });
const auto kFindings = MakeList(kFindingItems, [](const R& c) -> const std::vector<F>& { return c.findings; });
const auto kChargeRecords = MakeList(kChargeRecordItems, [](const R& c) -> const std::vector<RecordSpan>& { return c.charge_records; });

struct NamedList {
  std::string_view name;
  const ListOps* ops;
};
const NamedList kLists[] = {
    {"pages", &kPages},         {"condition_codes", &kConditions},
    {"occurrence_codes", &kOccurrences}, {"value_codes", &kValueCodes},
    {"lines", &kLines},         {"payers", &kPayers},
    {"diagnoses", &kDiagnoses}, {"providers", &kProviders},
    {"remarks", &kRemarks},     {"findings", &kFindings},
    {"charge_records", &kChargeRecords},
};

const ListOps* FindList(std::string_view name) {
  for (const NamedList& l : kLists)
    if (l.name == name) return l.ops;
  return nullptr;
}

}  // namespace

std::string_view FateName(ClaimRecord::Fate fate) {
  switch (fate) {
    case ClaimRecord::Fate::kWritten: return "written";
    case ClaimRecord::Fate::kHeld: return "held";
    case ClaimRecord::Fate::kRefused: return "refused";
  }
  return "";
}

std::string_view LevelName(ClaimFinding::Level level) {
  return level == ClaimFinding::Level::kError ? "error" : "warning";
}

bool ClaimRecord::HasError() const {
  for (const ClaimFinding& f : findings)
    if (f.level == ClaimFinding::Level::kError) return true;
  return false;
}

std::string AmountItem(Currency amount) { return FormatMask(amount, "#####0.00"); }

bool ClaimItem(const ClaimRecord& claim, std::string_view name, std::string& value) {
  for (const Item<R>& item : kItems)
    if (item.name == name) {
      value = item.get(claim);
      return true;
    }
  return false;
}

int32_t ClaimListSize(const ClaimRecord& claim, std::string_view list) {
  const ListOps* ops = FindList(list);
  return ops ? static_cast<int32_t>(ops->Size(claim)) : -1;
}

bool ClaimListItem(const ClaimRecord& claim, std::string_view list, int32_t index,
                   std::string_view name, std::string& value) {
  const ListOps* ops = FindList(list);
  if (!ops || index < 0) return false;
  return ops->Get(claim, static_cast<size_t>(index), name, value);
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

std::string ClaimJson(const ClaimRecord& claim) {
  std::string out = "{";
  AppendJsonItems(out, kItems, claim);
  for (const NamedList& l : kLists) {
    out += ',';
    AppendJsonString(out, l.name);
    out += ':';
    l.ops->Json(claim, out);
  }
  out += '}';
  return out;
}

std::vector<std::string_view> ClaimItemNames() {
  std::vector<std::string_view> names;
  for (const Item<R>& item : kItems) names.push_back(item.name);
  return names;
}

std::vector<std::string_view> ClaimListNames() {
  std::vector<std::string_view> names;
  for (const NamedList& l : kLists) names.push_back(l.name);
  return names;
}

std::vector<std::string_view> ClaimListItemNames(std::string_view list) {
  const ListOps* ops = FindList(list);
  return ops ? ops->Names() : std::vector<std::string_view>{};
}

}  // namespace ub04
