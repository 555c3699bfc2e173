// gen: writes a synthetic billing batch in the ub04fmt batch format.
//
//   gen --charges 100000 --seed 1 [--practices 1] > batch.txt
//
// The same arguments always give the same bytes. The batch looks like a
// billing house's day: a practice block (1000, 1050, 2000), then patients,
// each with insurance, preferences, patient, subscriber and sometimes
// patient-level extended data, then their charges (6000, companions, 6990).
// Every record has a token count the parsers accept: the mandatory tokens
// and whole optional groups, never a record that ends inside a group.
//
// Claims end for every reason the formatter knows: a new practice, patient
// or insurance record, more than 22 service lines, a diagnosis table that
// would overflow, a service date in another month, a code-set change
// (ICD-9 to ICD-10), a type-of-bill change through extended data, and the
// per-charge keys that the break preferences switch on (case, referral,
// facility, other insurances, approval number, place of service, admission
// date).
//
// Records are built into one output buffer; nothing is allocated per token,
// so a million charges take seconds.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// ---- deterministic randomness ----------------------------------------------

class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
  uint64_t Next() {  // splitmix64
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [lo, hi].
  int Range(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool Chance(int percent) { return Range(1, 100) <= percent; }
  template <size_t N>
  std::string_view Pick(const std::string_view (&a)[N]) {
    return a[Next() % N];
  }

 private:
  uint64_t s_;
};

// ---- reference vocabulary ----------------------------------------------------

constexpr std::string_view kFirst[] = {"MARY",  "JOHN",   "LINDA", "JAMES", "ANA",
                                       "DAVID", "SUSAN",  "WEI",   "OMAR",  "KAREN",
                                       "LUIS",  "PATRICIA", "ERIC", "NGOC", "ROSE"};
constexpr std::string_view kLast[] = {"SMITH",  "JOHNSON", "GARCIA",   "MILLER", "NGUYEN",
                                      "BROWN",  "DAVIS",   "O'BRIEN",  "LOPEZ",  "WILSON",
                                      "KOWALSKI", "PATEL", "ANDERSON", "TAYLOR", "MOORE"};
constexpr std::string_view kStreet[] = {"MAIN ST", "OAK AVE", "MARKET ST", "RIDGE RD",
                                        "LINCOLN BLVD", "2ND ST", "PARK LN"};
constexpr std::string_view kCity[] = {"HARRISBURG", "LANCASTER", "YORK", "CARLISLE",
                                      "HERSHEY", "READING", "ALTOONA"};
constexpr std::string_view kProcedure[] = {"99213", "99214", "36415", "85025", "80053",
                                           "71046", "93000", "97110", "J1885", "96372",
                                           "81001", "99283", "G0008", "90686"};
constexpr std::string_view kDescription[] = {  // one per procedure
    "OFFICE VISIT EST PT", "OFFICE VISIT EST PT 4", "VENIPUNCTURE", "CBC W/AUTO DIFF",
    "COMP METABOLIC PANEL",
    "CHEST X-RAY 2 VIEWS", "ECG ROUTINE", "THERAPEUTIC EXERCISE", "KETOROLAC INJ",
    "THER/PROPH/DIAG INJ", "URINALYSIS", "ED VISIT", "ADMIN FLU VACCINE", "FLU VACCINE"};
static_assert(sizeof kDescription == sizeof kProcedure);
constexpr std::string_view kRevenue[] = {"0300", "0301", "0320", "0450", "0510",
                                         "0636", "0730", "0420", "0250", "0771"};
constexpr std::string_view kPos[] = {"11", "21", "22", "23"};
constexpr std::string_view kPayer[] = {"12B76", "SKPA0", "00123", "SMNY1", "CB865",
                                       "80142", "60054", "SKNJ0", "12M35"};
constexpr std::string_view kPayerName[] = {"MEDICARE PART A", "HIGHMARK BCBS", "AETNA",
                                           "UNITED HEALTHCARE", "CIGNA", "GEISINGER",
                                           "CAPITAL BLUE"};
constexpr std::string_view kAdjust[] = {"CO|45|10|1",       "PR|2|5.5|0",
                                        "CO|45|12.25|1|PR|1|20|0", "OA|23|3|0",
                                        "PR|3|25|0|CO|45|7.5|1|CO|45|2.5|1"};

// ---- output --------------------------------------------------------------------

class Out {
 public:
  ~Out() { Flush(); }
  void Put(std::string_view s) {
    buf_.append(s);
    if (buf_.size() >= (1u << 20)) Flush();
  }
  void Put(char c) { buf_.push_back(c); }
  void Flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), stdout) != buf_.size()) {
      std::perror("gen: write");
      std::exit(1);
    }
    buf_.clear();
  }

 private:
  std::string buf_;
};

// One record under construction: `count` tokens, all "" until set. Values
// made by Num/Date/Cat live in a small arena that outlives the record.
class Rec {
 public:
  static constexpr int kMaxTokens = 160;

  explicit Rec(int count) : count_(count) {}
  std::string_view Get(int i) const { return tok_[i]; }
  Rec& Set(int i, std::string_view v) {
    if (i < 0 || i >= count_) {
      std::fprintf(stderr, "gen: token %d outside a record of %d tokens\n", i, count_);
      std::abort();
    }
    tok_[i] = v;
    return *this;
  }
  std::string_view Keep(std::string_view v) {
    if (used_ + v.size() > sizeof(arena_)) std::abort();
    char* p = arena_ + used_;
    std::memcpy(p, v.data(), v.size());
    used_ += v.size();
    return {p, v.size()};
  }
  std::string_view Num(long long v, int width = 0) {
    char tmp[24];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    std::string_view digits(tmp, static_cast<size_t>(r.ptr - tmp));
    if (width > 20 || static_cast<int>(digits.size()) >= width) return Keep(digits);
    char pad[24];
    size_t z = static_cast<size_t>(width) - digits.size(), i = 0;
    for (; i < z; ++i) pad[i] = '0';
    for (char c : digits) pad[i++] = c;
    return Keep({pad, i});
  }
  std::string_view Cat(std::string_view a, std::string_view b) {
    char tmp[128];
    std::memcpy(tmp, a.data(), a.size());
    std::memcpy(tmp + a.size(), b.data(), b.size());
    return Keep({tmp, a.size() + b.size()});
  }
  // Cents as "125.00".
  std::string_view Amount(long long cents) {
    std::string_view whole = Num(cents / 100);
    char tmp[32];
    std::memcpy(tmp, whole.data(), whole.size());
    tmp[whole.size()] = '.';
    tmp[whole.size() + 1] = static_cast<char>('0' + (cents % 100) / 10);
    tmp[whole.size() + 2] = static_cast<char>('0' + cents % 10);
    return Keep({tmp, whole.size() + 3});
  }

  // KEY <TAB> tokens joined by "//". A record whose last token is empty
  // would lose it (a trailing separator adds no token), so that is a bug in
  // the generator.
  void Emit(Out& out, std::string_view key) {
    if (tok_[count_ - 1].empty()) {
      std::fprintf(stderr, "gen: %.*s record ends with an empty token\n",
                   static_cast<int>(key.size()), key.data());
      std::abort();
    }
    out.Put(key);
    out.Put('\t');
    for (int i = 0; i < count_; ++i) {
      if (i) out.Put("//");
      out.Put(tok_[i]);
    }
    out.Put('\n');
  }

 private:
  int count_;
  std::string_view tok_[kMaxTokens];
  char arena_[4096];
  size_t used_ = 0;
};

// ---- the batch -----------------------------------------------------------------

// Days since 1 Jan 1900 <-> calendar dates.
struct Ymd {
  int y, m, d;
};
bool Leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int MonthLen(int y, int m) {
  static const int kLen[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kLen[m - 1] + (m == 2 && Leap(y) ? 1 : 0);
}
Ymd FromDays(int days) {
  int y = 1900;
  while (days >= (Leap(y) ? 366 : 365)) days -= Leap(y++) ? 366 : 365;
  int m = 1;
  while (days >= MonthLen(y, m)) days -= MonthLen(y, m++);
  return {y, m, days + 1};
}
int ToDays(int y, int m, int d) {
  int days = 0;
  for (int yy = 1900; yy < y; ++yy) days += Leap(yy) ? 366 : 365;
  for (int mm = 1; mm < m; ++mm) days += MonthLen(y, mm);
  return days + d - 1;
}

enum class CodeSet { kIcd9, kIcd10, kBoth };

// What stays the same over the charges of one claim; changing any of it
// between two charges starts a new claim.
struct Episode {
  int day = 0;                 // service date, days since 1900
  CodeSet codes = CodeSet::kIcd10;
  int dx_pool = 0;             // first code of the patient's diagnosis pool
  int dx_pool_size = 3;
  bool overflow = false;       // every charge brings new diagnoses
  int case_id = 1;
  int pos = 0;
  int admission_day = -1;
  int approval = 0;
  bool referral = false, facility = false;
  int referral_id = 1, facility_id = 1;
  int oins = 0;                // other insurances per charge, 0 to 4
  int oins_id = 1;
  bool inpatient = false;
};

class Generator {
 public:
  Generator(uint64_t seed, long long charges, int practices)
      : rng_(seed), target_(charges), practices_(practices < 1 ? 1 : practices) {}

  void Run() {
    char head[160];
    std::snprintf(head, sizeof head, "# synthetic batch: %lld charges, %d practice(s)\n", target_,
                  practices_);
    out_.Put(head);
    while (charges_ < target_) {
      int want_practice = static_cast<int>(charges_ * practices_ / (target_ ? target_ : 1)) + 1;
      if (want_practice != practice_) {
        practice_ = want_practice;
        Practice();
        if (practice_ == 1) Submitter();
        BProvider();
        patient_ = 0;  // a practice block starts with its own patient
      }
      Claim();
    }
    out_.Flush();
  }

 private:
  // ---- keys --------------------------------------------------------------
  void Key(std::string_view type) {
    int n = std::snprintf(key_, sizeof key_, "B%02d//%d//%d//0//0//0//0//0//0//0//%.*s",
                          practice_, patient_, static_cast<int>(charges_ % 100000),
                          static_cast<int>(type.size()), type.data());
    key_len_ = static_cast<size_t>(n);
  }
  void Emit(Rec& r, std::string_view type) {
    Key(type);
    r.Emit(out_, {key_, key_len_});
  }
  template <size_t N>
  std::string_view Name(Rec& r, const std::string_view (&a)[N]) { return r.Keep(rng_.Pick(a)); }
  std::string_view Address(Rec& r) {
    return r.Cat(r.Num(rng_.Range(10, 9999)), r.Cat(" ", rng_.Pick(kStreet)));
  }
  std::string_view Zip(Rec& r, bool plus4) {
    return plus4 ? r.Num(171000000 + rng_.Range(0, 99999)) : r.Num(17100 + rng_.Range(0, 99));
  }
  std::string_view Mmddyyyy(Rec& r, int days) {
    Ymd d = FromDays(days);
    return r.Num(static_cast<long long>(d.m) * 1000000 + d.d * 10000 + d.y, 8);
  }

  // ---- top records --------------------------------------------------------
  void Practice() {
    Rec r(44);  // tokens 0-20, singles 21-25, pay-to 26-33, grid 34-43
    r.Set(0, "1").Set(1, r.Cat("PR", r.Num(practice_, 3)));
    r.Set(2, "RIVER VALLEY HOSPITAL, INC").Set(3, Address(r)).Set(5, rng_.Pick(kCity));
    r.Set(6, "PA").Set(7, Zip(r, false)).Set(8, "7175551234").Set(13, "231234567");
    r.Set(15, ".").Set(16, "F1").Set(17, "131").Set(18, "1").Set(19, "7");
    r.Set(24, "1234567893").Set(25, "USA");
    r.Set(26, "RIVER VALLEY BILLING").Set(27, "PO BOX 44").Set(29, "HARRISBURG");
    r.Set(30, "PA").Set(31, "17105").Set(32, "USA").Set(34, "G06").Set(43, "G15");
    Emit(r, "1000");
  }
  void Submitter() {
    Rec r(35);  // tokens 0-29, 30-31, 32-34
    r.Set(0, "1").Set(1, "SUB01").Set(2, "CLEARING HOUSE 7").Set(34, "X");
    Emit(r, "1050");
  }
  void BProvider() {
    Rec r(54);  // tokens 0-32, singles 33-35, pay-to 36-43, grid 44-53
    r.Set(0, "1").Set(1, r.Cat("BP", r.Num(practice_, 2))).Set(2, Name(r, kFirst));
    r.Set(3, Name(r, kLast)).Set(4, "Q").Set(7, "251234567").Set(8, "M").Set(9, "MALE");
    r.Set(10, Address(r)).Set(12, rng_.Pick(kCity)).Set(13, "PA").Set(14, Zip(r, true));
    r.Set(15, "7175550000").Set(25, "MD12345").Set(26, ".").Set(27, "1987654328");
    r.Set(28, "G2ID / 2").Set(33, "0").Set(35, "US").Set(53, "X");
    Emit(r, "2000");
  }
  void Insurance() {
    bool full = rng_.Chance(70);
    Rec r(full ? 68 : 33);  // tokens 0-32; full: 33-34, 35, 36, 37, 38-67
    insurance_ = rng_.Range(1, 40);
    payer_ = static_cast<int>(rng_.Next() % (sizeof kPayer / sizeof kPayer[0]));
    r.Set(0, "1").Set(1, r.Cat("INS", r.Num(insurance_, 3))).Set(2, kPayer[payer_]);
    r.Set(3, rng_.Pick(kPayerName)).Set(4, Address(r)).Set(6, rng_.Pick(kCity));
    r.Set(7, "PA").Set(8, Zip(r, true)).Set(14, "1").Set(17, "PRAID77").Set(18, "PRV9 / 01");
    r.Set(19, payer_ == 0 ? "MCR" : "COM").Set(21, "1").Set(22, "0").Set(23, "1");
    r.Set(26, "1").Set(27, "7");
    if (full) {
      r.Set(36, rng_.Chance(20) ? "VID443" : "ALT55").Set(37, "USA").Set(38, "y").Set(67, "X");
    } else {
      r.Set(32, "X");
    }
    Emit(r, "3000");
  }
  void CalcPref() {
    Rec r(15);
    // Amount due (box 55): the charges less what was paid.
    r.Set(0, "1").Set(3, "1").Set(4, "1").Set(6, "0").Set(7, "2").Set(11, "1");
    r.Set(13, rng_.Chance(20) ? "2" : "0").Set(14, "X");
    Emit(r, "3100");
  }
  void BreakPref() {
    Rec r(25);  // switches 3 to 24; "1" is on
    static const char kOn[] = "0001111010100000011000010";
    r.Set(0, "1");
    for (int i = 1; i < 25; ++i) r.Set(i, kOn[i] == '1' ? "1" : "0");
    Emit(r, "3101");
  }
  void Patient() {
    Rec r(53);  // tokens 0-49, 50, 51-52
    r.Set(0, "1").Set(1, r.Cat("A", r.Num(patient_, 7))).Set(3, Name(r, kFirst));
    r.Set(4, Name(r, kLast)).Set(5, "J").Set(6, rng_.Chance(10) ? "JR" : "");
    r.Set(8, Mmddyyyy(r, ToDays(1930, 1, 1) + rng_.Range(0, 30000)));
    bool f = rng_.Chance(50);
    r.Set(10, f ? "F" : "M").Set(11, f ? "FEMALE" : "MALE").Set(12, "M");
    r.Set(31, Address(r)).Set(32, rng_.Chance(20) ? "APT 2" : "").Set(33, rng_.Pick(kCity));
    r.Set(34, "PA").Set(35, Zip(r, rng_.Chance(50))).Set(51, "USA").Set(52, "USA");
    Emit(r, "4000");
  }
  void Subscriber() {
    Rec r(67);  // tokens 0-64, 65-66
    r.Set(0, "1").Set(1, r.Cat("S", r.Num(patient_, 7))).Set(4, r.Cat("ID", r.Num(patient_)));
    r.Set(5, "GRP9").Set(6, "STATE EMPLOYEES").Set(10, "1").Set(11, rng_.Chance(50) ? "3" : "1");
    r.Set(13, rng_.Chance(30) ? "X4" : "").Set(15, "18").Set(18, Name(r, kFirst));
    r.Set(19, Name(r, kLast)).Set(20, "K").Set(25, "M").Set(26, "MALE");
    r.Set(38, "ABC~XYZ").Set(46, Address(r)).Set(48, rng_.Pick(kCity)).Set(49, "PA");
    r.Set(50, Zip(r, true)).Set(65, "US").Set(66, "US");
    Emit(r, "5000");
  }
  // Extended data: token 0, then code and value pairs.
  void ExtData(std::string_view type, std::string_view code1, std::string_view value1,
               std::string_view code2 = {}, std::string_view value2 = {}) {
    Rec r(code2.empty() ? 3 : 5);
    r.Set(0, "1").Set(1, code1).Set(2, value1);
    if (!code2.empty()) r.Set(3, code2).Set(4, value2);
    Emit(r, type);
  }

  // ---- one claim -------------------------------------------------------------
  void Claim() {
    // Why the previous claim ends here.
    int why = rng_.Range(1, 100);
    if (patient_ == 0 || why <= 60) {
      NewPatient();
    } else if (why <= 72) {
      Insurance();  // same patient, another payer
      ep_.oins = rng_.Chance(40) ? rng_.Range(1, 2) : 0;
    } else {
      ChargeLevelBreak();
    }
    // Service lines of this claim: mostly a few, sometimes more than a page.
    int lines;
    int shape = rng_.Range(1, 100);
    if (shape <= 70) lines = rng_.Range(1, 8);
    else if (shape <= 92) lines = rng_.Range(9, 22);
    else lines = rng_.Range(23, 48);
    for (int i = 0; i < lines && charges_ < target_; ++i) Charge(i);
  }

  void NewPatient() {
    ++patient_;
    Insurance();
    CalcPref();
    BreakPref();
    Patient();
    Subscriber();
    int kind = rng_.Range(1, 100);
    ep_ = Episode{};
    ep_.codes = kind <= 15 ? CodeSet::kIcd9 : kind <= 20 ? CodeSet::kBoth : CodeSet::kIcd10;
    if (ep_.codes == CodeSet::kIcd9) {
      ep_.day = ToDays(2013, 1, 1) + rng_.Range(0, 600);
    } else if (ep_.codes == CodeSet::kBoth) {
      ep_.day = ToDays(2014, 9, 20) + rng_.Range(0, 20);  // crosses the 1 Oct 2014 cut-over
    } else {
      ep_.day = ToDays(2024, 1, 1) + rng_.Range(0, 700);
    }
    ep_.dx_pool = rng_.Range(0, 400);
    ep_.dx_pool_size = rng_.Range(1, 6);
    ep_.overflow = rng_.Chance(4);
    ep_.pos = rng_.Range(0, 3);
    ep_.inpatient = ep_.pos == 1;
    ep_.admission_day = ep_.inpatient ? ep_.day : -1;
    ep_.referral = rng_.Chance(25);
    ep_.facility = rng_.Chance(30);
    ep_.oins = rng_.Chance(45) ? (rng_.Chance(85) ? 1 : rng_.Range(2, 4)) : 0;
    // Patient-level extended data: sometimes a type of bill of its own.
    if (rng_.Chance(25)) ExtData("5010", "30005", "B", "30011", "Y");
    // An inpatient type of bill comes with its admission date (box 12).
    if (rng_.Chance(10)) {
      ExtData("5012", "20007", rng_.Chance(50) ? "111" : "0121");
      ep_.admission_day = ep_.day;
    }
  }

  // The next claim of the same patient and payer, started by a change in a
  // charge-level key.
  void ChargeLevelBreak() {
    switch (rng_.Range(0, 8)) {
      case 0: ++ep_.case_id; break;
      case 1: ep_.referral = true; ++ep_.referral_id; break;
      case 2: ep_.facility = true; ++ep_.facility_id; break;
      case 3: ep_.oins = ep_.oins ? ep_.oins : 1; ++ep_.oins_id; break;
      case 4: ++ep_.approval; break;
      case 5: ep_.pos = (ep_.pos + 1) % 4; break;
      case 6: ep_.admission_day = ep_.day; break;
      case 7: ep_.day += 31; break;  // next month
      default: ep_.dx_pool = rng_.Range(0, 400); ep_.overflow = true; break;
    }
  }

  // Diagnosis code i of the synthetic pools.
  std::string_view Icd9(Rec& r, int i) {
    i %= 300;
    if (i % 17 == 0) return r.Cat("V", r.Num(700 + i, 3));
    return r.Num(2500 + i * 13, 4);
  }
  std::string_view Icd10(Rec& r, int i) {
    static const char kLetters[] = "ABCDEFGIJKLMNRSZ";
    i %= 900;
    char c[1] = {kLetters[i % 16]};
    return r.Cat({c, 1}, r.Num(10 + i * 7 % 989, 3));
  }

  void Charge(int line) {
    ++charges_;
    ep_.day += rng_.Range(0, 2);

    // The two diagnosis sets this charge carries.
    int dx_count = ep_.overflow ? rng_.Range(4, 5) : rng_.Range(1, ep_.dx_pool_size < 5 ? ep_.dx_pool_size : 5);
    int dx_base = ep_.overflow ? ep_.dx_pool + line * 5 : ep_.dx_pool;
    bool has9 = ep_.codes != CodeSet::kIcd10;
    bool has10 = ep_.codes != CodeSet::kIcd9;

    // ICD-9 only: the short record (n = 101) or the one that stops before
    // the ICD-10 group (n = 128); with ICD-10 codes the full record.
    int count = has10 ? 150 : (rng_.Chance(50) ? 102 : 129);
    Rec r(count);
    bool drug = rng_.Chance(8);
    int proc = static_cast<int>(rng_.Next() % (sizeof kProcedure / sizeof kProcedure[0]));
    r.Set(0, rng_.Chance(30) ? "1,0,E01" : "1");
    r.Set(6, kProcedure[proc]);
    r.Set(7, rng_.Chance(2) && count > 126 ? "BP:X1" : kDescription[proc]);
    if (drug) r.Set(8, "00002143380");
    r.Set(9, r.Cat("CASE", r.Num(ep_.case_id)));
    r.Set(13, rng_.Chance(15) ? "25" : "");
    r.Set(22, "1").Set(25, kPos[ep_.pos]);
    for (int k = 0; has9 && k < dx_count; ++k) {
      r.Set(28 + 3 * k, Icd9(r, dx_base + (ep_.overflow ? k : rng_.Range(0, ep_.dx_pool_size - 1))));
      r.Set(29 + 3 * k, "Y");
    }
    int units = rng_.Range(1, 3);
    long long cents = 2500 + rng_.Range(0, 50000);
    r.Set(42, r.Num(units)).Set(43, r.Amount(cents * units)).Set(44, "0.00");
    r.Set(45, r.Cat("E", r.Num(patient_)));
    if (rng_.Chance(5)) r.Set(48, "ACC").Set(50, Mmddyyyy(r, ep_.day - 3));
    if (ep_.admission_day >= 0) r.Set(51, Mmddyyyy(r, ep_.admission_day));
    r.Set(53, Mmddyyyy(r, ep_.day)).Set(55, Mmddyyyy(r, ep_.day)).Set(58, "N").Set(59, "N");
    r.Set(61, ep_.approval ? r.Cat("AUTH", r.Num(ep_.approval)) : "NONE");
    r.Set(63, r.Cat(kRevenue[proc % 10], r.Cat("/", r.Amount(cents))));
    long long allowed = cents * units * 8 / 10;
    r.Set(64, r.Amount(allowed)).Set(65, r.Amount(allowed * 8 / 10));
    r.Set(66, r.Amount(cents * units - allowed)).Set(67, "0.00").Set(68, "0.00");
    // A discharge status on every charge (box 17: a payer returns an
    // outpatient hospital claim without one).
    r.Set(69, "1").Set(70, "1").Set(71, rng_.Chance(20) ? "A1~B2~PS-01" : "PS-01");
    r.Set(72, rng_.Chance(10) ? "19-FOLLOW UP;2 WEEKS" : "");
    r.Set(84, rng_.Chance(5) ? " 59 76 GT " : "");
    r.Set(101, "X");
    if (count > 102) {
      if (drug) r.Set(122, "12.000").Set(123, "UN");
      else r.Set(122, "0");
      r.Set(119, "0").Set(124, "0").Set(128, "0");
      if (r.Get(7) == "BP:X1") r.Set(126, "SEAT LIFT MECHANISM");
    }
    if (count == 150) {
      for (int k = 0; has10 && k < dx_count; ++k) {
        r.Set(129 + 2 * k, Icd10(r, dx_base + (ep_.overflow ? k : rng_.Range(0, ep_.dx_pool_size - 1))));
        r.Set(130 + 2 * k, "Y");
      }
      r.Set(149, "X");
    }
    Emit(r, "6000");

    // Companions, each at most once per charge.
    if (rng_.Chance(30)) ExtData("6010", "30005", "C");
    static constexpr std::string_view kPresentOnAdmission[] = {"Y", "N", "U", "W"};
    if (rng_.Chance(8)) ExtData("6012", "20015", kPresentOnAdmission[rng_.Range(0, 3)]);
    if (rng_.Chance(2)) Ambulance();
    if (rng_.Chance(3)) Chiropractor();
    if (rng_.Chance(60)) SProvider();
    if (rng_.Chance(10)) OProvider("6110");
    if (ep_.referral) Referral();
    if (rng_.Chance(3)) OProvider("6130");
    if (ep_.facility) Facility();
    static constexpr std::string_view kOinsType[] = {"6310", "6320", "6330", "6340"};
    for (int k = 0; k < ep_.oins; ++k) OInsurance(kOinsType[k], k);

    Rec end(1);
    end.Set(0, "1");
    Emit(end, "6990");
  }

  // ---- charge companions -----------------------------------------------------
  void Ambulance() {
    Rec r(36);  // tokens 0-21, 22, 23, 24-35
    r.Set(0, "1").Set(1, "A0428").Set(5, "12").Set(29, "US").Set(35, "US");
    Emit(r, "6050");
  }
  void Chiropractor() {
    Rec r(18);
    r.Set(0, "1").Set(3, "Y").Set(17, "X");
    Emit(r, "6060");
  }
  void SProvider() {
    Rec r(46);  // tokens 0-31, 32, 33, 34 NPI, 35, 36-45
    r.Set(0, "1").Set(1, "SP01").Set(2, "SPID22").Set(3, Name(r, kFirst)).Set(4, Name(r, kLast));
    r.Set(5, "R").Set(9, "F").Set(10, "FEMALE").Set(27, ".").Set(34, "1558899773");
    r.Set(35, "US").Set(45, "X");
    Emit(r, "6100");
  }
  void OProvider(std::string_view type) {
    Rec r(56);  // tokens 0-39 (gate 39), 40, 41 NPI, 42-44, 45, 46-55
    r.Set(0, "1").Set(1, "OP01").Set(2, "OPID4").Set(3, Name(r, kFirst)).Set(4, Name(r, kLast));
    r.Set(9, "M").Set(10, "MALE").Set(23, "OP").Set(32, "MD778").Set(33, ".").Set(38, "0");
    r.Set(39, "1").Set(41, "1669988770").Set(45, "US").Set(55, "X");
    Emit(r, type);
  }
  void Referral() {
    Rec r(54);  // tokens 0-37 (gate 37), 38, 39 NPI, 40-42, 43, 44-53
    r.Set(0, "1").Set(1, r.Cat("RF", r.Num(ep_.referral_id, 2))).Set(2, "RFID").Set(3, "ALAN");
    r.Set(4, "REED").Set(9, "M").Set(10, "MALE").Set(30, "MD991").Set(31, ".").Set(36, "0");
    r.Set(37, "1").Set(39, "1770011223").Set(43, "US").Set(53, "X");
    Emit(r, "6120");
  }
  void Facility() {
    Rec r(31);  // tokens 0-17, 18, 19-20, 21-30
    r.Set(0, "1").Set(1, r.Cat("FAC", r.Num(ep_.facility_id, 2))).Set(3, "VALLEY SURGERY CENTER");
    r.Set(4, Address(r)).Set(18, "1881122331").Set(19, "US").Set(30, "X");
    Emit(r, "6200");
  }
  void OInsurance(std::string_view type, int slot) {
    bool full = rng_.Chance(60);
    Rec r(full ? 89 : 78);  // tokens 0-77; full: 78, 79-88
    r.Set(0, "1").Set(1, r.Cat("OI", r.Num(ep_.oins_id * 10 + slot, 3)));
    r.Set(2, rng_.Chance(20) ? "" : kPayer[(slot + 3) % 9]).Set(3, rng_.Pick(kPayerName));
    r.Set(4, Address(r)).Set(5, rng_.Pick(kCity)).Set(6, "PA").Set(10, rng_.Chance(50) ? "3" : "2");
    r.Set(11, rng_.Chance(50) ? "5" : "4").Set(14, "1").Set(21, r.Amount(rng_.Range(1000, 20000)));
    // What it paid stays under any line's charge, so box 55 is never negative.
    r.Set(22, r.Amount(rng_.Range(0, 600))).Set(23, r.Amount(rng_.Range(0, 3000)));
    r.Set(26, rng_.Chance(50) ? "F" : "M").Set(52, rng_.Chance(5) ? "MCA" : "");
    r.Set(74, "ALT55").Set(76, rng_.Pick(kAdjust)).Set(77, "USA");
    if (full) r.Set(78, "US").Set(88, "X");
    Emit(r, type);
  }

  Rng rng_;
  Out out_;
  long long target_;
  long long charges_ = 0;
  int practices_;
  int practice_ = 0;
  int patient_ = 0;
  int insurance_ = 0;
  int payer_ = 0;
  Episode ep_;
  char key_[128];
  size_t key_len_ = 0;
};

int Usage() {
  std::fputs(
      "usage: gen --charges N [--seed S] [--practices P]\n"
      "Writes a synthetic batch of N charges to standard output; the same\n"
      "arguments always give the same batch.\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long long charges = -1;
  uint64_t seed = 1;
  int practices = 1;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (i + 1 >= argc) return Usage();
    char* end = nullptr;
    long long v = std::strtoll(argv[++i], &end, 10);
    if (*end != '\0' || v < 0) return Usage();
    if (a == "--charges") charges = v;
    else if (a == "--seed") seed = static_cast<uint64_t>(v);
    else if (a == "--practices") practices = static_cast<int>(v);
    else return Usage();
  }
  if (charges < 0) return Usage();
  Generator(seed, charges, practices).Run();
  return 0;
}
