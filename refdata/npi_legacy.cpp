// NPI legacy dates: the payers' cut-over dates after which the form prints
// NPIs only. The table comes from Folio_NpiLegacy or, when the database has
// none (or there is no database), from FOLIO_CFG_NPICMS.DAT beside the
// component; each new insurance of a claim recomputes NpiOnly from it.
#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/msgbox.h"
#include "base/text_file.h"
#include "refdata/ref_dates.h"
#include "refdata/refdata.h"

namespace ub04 {

namespace {

constexpr const char* kNpiLegacyFileName = "FOLIO_CFG_NPICMS.DAT";

// The comma-separated fields of a text file, read the way the runtime's
// sequential input reads them: a field ends at a comma or a line end;
// leading blanks are skipped and an unquoted field loses its trailing
// blanks; a field in double quotes is taken as written. Asking for a field
// at the end of the file raises 62.
class InputFields {
 public:
  explicit InputFields(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) Raise(errno == ENOENT ? kErrFileNotFound : ErrnoToRtError(errno));
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data_.append(buf, n);
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) Raise(ErrnoToRtError(err));
  }

  bool Eof() const { return pos_ >= data_.size(); }

  std::string Next() {
    if (Eof()) Raise(kErrInputPastEnd);
    while (!Eof() && IsBlank(data_[pos_])) ++pos_;
    std::string field;
    if (!Eof() && data_[pos_] == '"') {
      size_t close = data_.find('"', pos_ + 1);
      if (close == std::string::npos) close = data_.size();
      field = data_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      // Whatever follows the closing quote up to the delimiter is dropped.
      while (!Eof() && data_[pos_] != ',' && !IsLineEnd(data_[pos_])) ++pos_;
    } else {
      size_t end = data_.find_first_of(",\r\n", pos_);
      if (end == std::string::npos) end = data_.size();
      field = data_.substr(pos_, end - pos_);
      while (!field.empty() && IsBlank(field.back())) field.pop_back();
      pos_ = end;
    }
    SkipDelimiter();
    return field;
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
  static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

  void SkipDelimiter() {
    if (Eof()) return;
    if (data_[pos_] == ',') {
      ++pos_;
    } else if (data_[pos_] == '\r') {
      ++pos_;
      if (!Eof() && data_[pos_] == '\n') ++pos_;
    } else if (data_[pos_] == '\n') {
      ++pos_;
    }
  }

  std::string data_;
  size_t pos_ = 0;
};

std::string RecordCount(const RefState& ref) {
  return "  RecordCount = " + SignNum(static_cast<long long>(ref.npi_legacy.size()));
}

}  // namespace

// Step 2 of the load: the database table. True when it gave at least one
// entry.
bool RefData::LoadNpiLegacyFromDb() {
  RefState& ref = st_;
  ref.npi_legacy_note += "\r\n** Opening NPILegacy From DB\r\n";
  ref.npi_legacy.clear();
  try {
    Guard([&] {
      auto rows = SharedDb().Query("SELECT NPILEG_Type, NPILEG_Value, NPILEG_Date FROM " +
                                       OwnedTable("Folio_NpiLegacy") +
                                       " Order by NPILEG_Type, NPILEG_Value ",
                                   {});
      for (; !rows->Eof(); rows->MoveNext()) {
        NpiLegacyEntry e;
        e.kind = UpperAscii(rows->Field("NPILEG_Type"));
        e.value = UpperAscii(rows->Field("NPILEG_Value"));
        e.date = RefDateFromText(rows->Field("NPILEG_Date"));
        ref.npi_legacy.push_back(std::move(e));
      }
    });
  } catch (const RtError& e) {
    QueueRefError(kNote, " LoadNPILegacyDateArray  Error:", e);
    return false;
  }
  ref.npi_legacy_note += RecordCount(ref);
  return !ref.npi_legacy.empty();
}

// Step 3 of the load: the file beside the component.
void RefData::LoadNpiLegacyFromFile() {
  RefState& ref = st_;
  std::string path = ComponentFolder() + "/" + kNpiLegacyFileName;
  std::string& report = ref.npi_legacy_note;
  report += "\r\n** Opening NPIlegacy_File: " + path + "\r\n";
  ref.npi_legacy.clear();
  std::string kind, value, date;
  try {
    Guard([&] {
      InputFields in(path);
      while (!in.Eof()) {
        kind = in.Next();
        value = in.Next();
        date = in.Next();
        ref.npi_legacy.push_back(NpiLegacyEntry{kind, UpperAscii(value), RefDateFromText(date)});
      }
    });
    report += "\r\n" + RecordCount(ref) + "\r\n";
  } catch (const RtError& e) {
    switch (e.number()) {
      case kErrFileNotFound:
        report += "  File Not Found";
        break;
      case kErrInputPastEnd:  // an empty last line
        report += " (extra blank line found at end)";
        break;
      case kErrTypeMismatch:  // a date that does not convert
        ShowMessageBox("Error 13: Type Mismatch\n" + kind + value + date);
        break;
      default: {
        cx_.ReportError(" LoadNPILegacyDateArray  Error:", e, kShowBox | kQueueIt);
        return;
      }
    }
    report += "\r\n" + RecordCount(ref);
  }
}

std::string RefData::ComponentFolder() const {
  const RefState& ref = st_;
  if (!ref.component_folder.empty()) return ref.component_folder;
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path self;
  Dl_info info{};
  // The library's own file; a program linked statically names itself
  // through the process instead (its dladdr name may be a bare argv[0]).
  if (dladdr(reinterpret_cast<void*>(&RecordCount), &info) != 0 &&
      info.dli_fname != nullptr && info.dli_fname[0] == '/')
    self = info.dli_fname;
  else
    self = fs::read_symlink("/proc/self/exe", ec);
  return self.parent_path().string();
}

void RefData::LoadNPILegacyDateArray() {
  RefState& ref = st_;
  ref.npi_legacy_note.clear();
  ref.npi_legacy_loaded = true;
  bool from_db = ref.db_connection_good && ref.db && LoadNpiLegacyFromDb();
  if (!from_db) LoadNpiLegacyFromFile();
}

void RefData::FetchNPILegacyDates(const std::string& payer_org, const std::string& insurance_ih_code,
                         Date bill_form_date) {
  RefState& ref = st_;
  try {
    Guard([&] {
      if (!ref.npi_legacy_loaded) LoadNPILegacyDateArray();
      ref.npi_standard_date = DateFromYmd(2008, 5, 23);
      ref.npi_bill_form_date = bill_form_date;
      ref.npi_payor_org_date = kDateNotSet;
      ref.npi_insurance_date = kDateNotSet;
      for (const NpiLegacyEntry& e : ref.npi_legacy) {
        if (e.kind.empty()) break;
        if (e.kind == "00") {
          ref.npi_standard_date = e.date;
        } else if (e.kind == "01") {
          if (e.value == form_code_) ref.npi_bill_form_date = e.date;
        } else if (e.kind == "02") {
          // A prefix of the payer organization; the table's order puts the
          // longer of two matching prefixes last, so it decides.
          if (Left(payer_org, static_cast<long long>(e.value.size())) == e.value)
            ref.npi_payor_org_date = e.date;
        } else if (e.kind == "03" && e.value == insurance_ih_code) {
          ref.npi_insurance_date = e.date;
          break;
        }
      }
      ref.npi_only = false;
      // Asked at every end of charge: the trace lines are composed only when
      // they are written.
      const bool tracing = cx_.log.Tracing();
      if (tracing)
        cx_.log.Line("PayorOrg,InsIHCode,StopDt: " + payer_org + "," + insurance_ih_code + "," +
                     DateText(bill_form_date));
      // In the order they decide: the first one set, else the standard date.
      static constexpr struct {
        Date RefState::*date;
        const char* name;
      } kDates[] = {
          {&RefState::npi_insurance_date, "InsuranceIHCodeDate"},
          {&RefState::npi_payor_org_date, "PayorOrgDate"},
          {&RefState::npi_bill_form_date, "BillFormDate"},
          {&RefState::npi_standard_date, "StandardDate"},
      };
      if (tracing)
        for (const auto& d : kDates)
          cx_.log.Line(std::string(" >> NPI DATES   g_NPILegacy_") + d.name + ": " +
                       DateText(ref.*d.date));
      const auto* deciding = &kDates[3];
      for (const auto& d : kDates) {
        if (ref.*d.date != kDateNotSet) {
          deciding = &d;
          break;
        }
      }
      ref.npi_only = ref.*deciding->date <= Today();
      if (tracing)
        cx_.log.Line(std::string(">> NPILegacyDate Bailing on ") + deciding->name +
                     "  datepassed = " + BoolText(ref.npi_only));
    });
  } catch (const RtError& e) {
    cx_.ReportError(" FetchNPILegacyDates  Error:", e, kShowBox | kQueueIt);
  }
}


}  // namespace ub04
