// Batches for the robustness tests: a deterministic generator of realistic
// billing batches (practice block, then patients with their insurance,
// preferences and charges with companion records), and a driver that runs
// one through a component the way the host does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/format_class.h"
#include "base/runtime.h"

namespace ub04::test {

struct BatchLine {
  std::string key;
  std::string rec;
};

namespace batch_detail {

inline constexpr const char* kPractice =
    "1//PR001//RIVER VALLEY HOSPITAL, INC//9117 PARK LN////YORK//PA//17119//7175551234//////////"
    "231234567////.//F1//131//1//7//////////1234567893//USA//RIVER VALLEY BILLING//PO BOX 44////"
    "HARRISBURG//PA//17105//USA////G06//////////////////G15";
inline constexpr const char* kSubmitter =
    "1//SUB01//CLEARING HOUSE 7////////////////////////////////////////////////////////////////X";
inline constexpr const char* kBProvider =
    "1//BP01//SUSAN//MILLER//Q//////251234567//M//MALE//6410 MAIN ST////HARRISBURG//PA//"
    "171076566//7175550000////////////////////MD12345//.//1987654321//G2ID / 2//////////0////US"
    "////////////////////////////////////X";
inline constexpr const char* kInsurance =
    "1//INS016//SKPA0//AETNA//7279 MARKET ST////YORK//PA//171047267////////////1//////PRAID77//"
    "PRV9 / 01//COM////1//0//1//////1//7//////////////////ALT55//USA//y////////////////////////"
    "//////////////////////////////////X";
inline constexpr const char* kCalcPref = "1//////1//0////0//2////////1////0//X";
inline constexpr const char* kBreakPref =
    "1//0//0//1//1//1//1//0//1//0//1//0//0//0//0//0//0//1//1//0//0//0//0//1//0";
inline constexpr const char* kPatient =
    "1//A0000001////PATRICIA//ANDERSON//J//////08041976////M//MALE//M//////////////////////////"
    "////////////8922 2ND ST////HERSHEY//PA//17158////////////////////////////////USA//USA";
inline constexpr const char* kSubscriber =
    "1//S0000001//////ID1//GRP9//STATE EMPLOYEES////////1//1////////18//////PATRICIA//PATEL//K//"
    "////////M//MALE////////////////////////ABC~XYZ////////////////4213 MAIN ST////ALTOONA//PA//"
    "171042115//////////////////////////////US//US";
inline constexpr const char* kCharge =
    "1,0,E01////////////96372//THER/PROPH/DIAG INJ////CASE1//////////////////////////1//////22//"
    "////////////////////////////////2//521.10//0.00//E1////////////////12262024////12262024////"
    "//N//N////NONE////0771/260.55//416.88//333.50//104.22//0.00//0.00//1//1//A1~B2////////////"
    "////////////////////////////////////////////////X////////////////////////////////////0////"
    "//0////0////////0//G538//Y//I545//Y//G538//Y//////////////////////////////X";
inline constexpr const char* kSProvider =
    "1//SP01//SPID22//JOHN//DAVIS//R////////F//FEMALE//////////////////////////////////.////////"
    "//////1558899776//US////////////////////X";
inline constexpr const char* kReferral =
    "1//RF01//RFID//ALAN//REED//////////M//MALE////////////////////////////////////////MD991//."
    "//////////0//1////1770011223////////US////////////////////X";
inline constexpr const char* kFacility =
    "1//FAC01////VALLEY SURGERY CENTER//2841 LINCOLN BLVD////////////////////////////1881122334"
    "//US//////////////////////X";
inline constexpr const char* kOtherIns =
    "1//OI010//SMNY1//HIGHMARK BCBS//8926 RIDGE RD//READING//PA////////2//4//////1//////////////"
    "116.44//135.66//2.23//////M////////////////////////////////////////////////////////////////"
    "////////////////////////////////ALT55////CO|45|12.25|1|PR|1|20|0//USA";

inline constexpr const char* kProcedures[] = {"99213", "99214", "36415", "85025", "80053",
                                              "71046", "93000", "97110", "J1885", "96372"};
inline constexpr const char* kLastNames[] = {"SMITH", "GARCIA", "NGUYEN", "O'BRIEN",
                                             "KOWALSKI", "PATEL", "MOORE"};
inline constexpr const char* kDiagnoses[] = {"G538", "I545", "E119", "J069", "M545",
                                             "R051", "Z0000", "I10", "K219"};

inline std::vector<std::string> SplitFields(const std::string& rec) {
  std::vector<std::string> t;
  size_t start = 0;
  for (;;) {
    size_t p = rec.find("//", start);
    t.push_back(rec.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) return t;
    start = p + 2;
  }
}

inline std::string JoinFields(const std::vector<std::string>& t) {
  std::string s;
  for (size_t i = 0; i < t.size(); ++i) {
    if (i) s += "//";
    s += t[i];
  }
  return s;
}

inline uint64_t Next(uint64_t& s) {  // splitmix64
  uint64_t z = (s += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

inline std::string Digits(uint64_t v, int width) {
  std::string s = std::to_string(v);
  return s.size() < static_cast<size_t>(width) ? std::string(width - s.size(), '0') + s : s;
}

}  // namespace batch_detail

// A batch of `charges` charges, the same for the same arguments. Claims end
// on a new patient or insurance, on a new month of service and on more
// service lines than a page holds.
inline std::vector<BatchLine> MakeBatch(int charges, uint64_t seed) {
  using namespace batch_detail;
  uint64_t rng = seed;
  auto pick = [&](uint64_t n) { return Next(rng) % n; };
  std::vector<BatchLine> out;
  int patient = 0, charge = 0;
  auto add = [&](const char* type, std::string rec) {
    out.push_back({"B01//" + std::to_string(patient) + "//" + std::to_string(charge % 100000) +
                       "//0//0//0//0//0//0//0//" + type,
                   std::move(rec)});
  };
  add("1000", kPractice);
  add("1050", kSubmitter);
  add("2000", kBProvider);

  const std::vector<std::string> charge_tpl = SplitFields(kCharge);
  std::vector<std::string> t;
  while (charge < charges) {
    ++patient;
    t = SplitFields(kInsurance);
    t[1] = "INS" + Digits(pick(40), 3);
    add("3000", JoinFields(t));
    add("3100", kCalcPref);
    add("3101", kBreakPref);
    t = SplitFields(kPatient);
    t[1] = "A" + Digits(static_cast<uint64_t>(patient), 7);
    t[4] = kLastNames[pick(7)];
    add("4000", JoinFields(t));
    t = SplitFields(kSubscriber);
    t[1] = "S" + Digits(static_cast<uint64_t>(patient), 7);
    t[4] = "ID" + std::to_string(patient);
    add("5000", JoinFields(t));
    if (pick(4) == 0) add("5010", "1//30005//B//30011//Y");

    // Service lines of this patient: mostly a few, now and then more than
    // one page.
    int lines = pick(10) == 0 ? 20 + static_cast<int>(pick(30)) : 1 + static_cast<int>(pick(8));
    int month = 1 + static_cast<int>(pick(12));
    int day = 1 + static_cast<int>(pick(20));
    for (int i = 0; i < lines && charge < charges; ++i) {
      ++charge;
      if (pick(20) == 0) month = month % 12 + 1;  // a claim per month of service
      t = charge_tpl;
      t[6] = kProcedures[pick(10)];
      uint64_t units = 1 + pick(3), cents = 2500 + pick(50000);
      t[42] = std::to_string(units);
      t[43] = std::to_string(units * cents / 100) + "." + Digits(units * cents % 100, 2);
      std::string date = Digits(static_cast<uint64_t>(month), 2) +
                         Digits(static_cast<uint64_t>(day + static_cast<int>(pick(8))), 2) +
                         "2024";
      t[53] = t[55] = date;
      t[129] = kDiagnoses[pick(9)];
      t[131] = kDiagnoses[pick(9)];
      add("6000", JoinFields(t));
      if (pick(3) == 0) add("6010", "1//30005//C");
      if (pick(2) == 0) add("6100", kSProvider);
      if (pick(8) == 0) add("6120", kReferral);
      if (pick(8) == 0) add("6200", kFacility);
      if (pick(5) == 0) add("6310", kOtherIns);
      add("6990", "1");
    }
  }
  return out;
}

// Runs a batch through fc into dir/file the way the host does: output folder
// and file name, every record, end of file. The run log is turned down to
// level 0 after the first record (which forces it to 2) unless keep_log.
// Returns the first non-zero result, with the message that came with it in
// *why.
inline int16_t RunBatch(Format_Class& fc, const std::vector<BatchLine>& batch,
                        const std::filesystem::path& dir, const std::string& file,
                        std::string* why = nullptr, bool keep_log = false) {
  auto fail = [&](int16_t r, const char* call) {
    if (why) {
      *why = call;
      for (int32_t i = 1;; ++i) {
        std::string m = fc.GetAMessage(i);
        if (m == "END") break;
        *why += "\n" + m;
      }
    }
    return r;
  };
  if (int16_t r = fc.HereIsAMessage("1", dir.string())) return fail(r, "message 1");
  if (int16_t r = fc.HereIsAMessage("2", file)) return fail(r, "message 2");
  bool first = true;
  for (const BatchLine& l : batch) {
    if (int16_t r = fc.FormatRecord(l.key, l.rec)) return fail(r, "FormatRecord");
    if (first && !keep_log) fc.HereIsAMessage("5", "0");
    first = false;
  }
  if (int16_t r = fc.ProcessEndOfFile()) return fail(r, "ProcessEndOfFile");
  return 0;
}

}  // namespace ub04::test
