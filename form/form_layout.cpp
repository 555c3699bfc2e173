// The UB-04 form locators on the form's 10 x 6 grid.
//
// Columns are counted in tenths of an inch and lines in sixths from the
// paper's top-left corner. The form's first line of boxes starts one line
// down (line 1 is y 1/6 to 2/6), which is where the writers' first rows sit:
// box 1 prints its four lines with lower edges at 0.33, 0.48, 0.63 and 0.78
// in, inside lines 1 to 4. The service lines are lines 18 to 39, line 23 is
// line 40, the payer rows A to C lines 42 to 44.
#include "form/form_layout.h"

#include <cmath>
#include <cstdio>

namespace ub04 {

namespace {

// The form's frame: columns 2 to 84, lines 1 to 65.
constexpr int kFirstCol = 2, kLastCol = 84;
constexpr int kFirstLine = 1, kLastLine = 65;

// Columns of the service lines (boxes 42 to 49).
constexpr int kServiceCols[] = {2, 6, 32, 46, 54, 62, 72, 81, 84};
constexpr const char* kServiceCaptions[] = {
    "42 REV. CD.", "43 DESCRIPTION", "44 HCPCS / RATE / HIPPS CODE", "45 SERV. DATE",
    "46 SERV. UNITS", "47 TOTAL CHARGES", "48 NON-COVERED CHARGES", "49"};
constexpr int kFirstServiceLine = 18;  // grid line of service line 1

class Builder {
 public:
  std::vector<FormLocator> out;

  void Add(std::string id, std::string number, std::string caption, int c0, int c1, int l0,
           int l1, bool fill = true) {
    FormLocator f;
    f.id = std::move(id);
    f.number = std::move(number);
    f.caption = std::move(caption);
    f.rect = {c0 * kFormColumn, l0 * kFormLine, c1 * kFormColumn, l1 * kFormLine};
    f.fill = fill;
    out.push_back(std::move(f));
  }
  // A field whose id is its number.
  void Field(const std::string& n, std::string caption, int c0, int c1, int l0, int l1) {
    Add(n, n, std::move(caption), c0, c1, l0, l1);
  }
  void Heading(const std::string& n, std::string caption, int c0, int c1, int l0, int l1) {
    Add(n + " heading", n, std::move(caption), c0, c1, l0, l1, false);
  }
};

std::vector<FormLocator> Build() {
  Builder b;

  // ---- lines 1 to 6: providers, control numbers, bill type, patient ----
  b.Field("1", "1", 2, 27, 1, 5);
  b.Field("2", "2", 27, 51, 1, 5);
  b.Add("3a", "3", "3a PAT. CNTL #", 51, 77, 1, 2);
  b.Add("3b", "3", "b. MED. REC. #", 51, 77, 2, 3);
  b.Field("4", "4 TYPE OF BILL", 77, 84, 1, 3);
  b.Field("5", "5 FED. TAX NO.", 51, 61, 3, 5);
  b.Heading("6", "6 STATEMENT COVERS PERIOD", 61, 75, 3, 4);
  b.Add("6 from", "6", "FROM", 61, 68, 4, 5);
  b.Add("6 through", "6", "THROUGH", 68, 75, 4, 5);
  b.Field("7", "7", 75, 84, 3, 5);
  b.Add("8a", "8", "8 PATIENT NAME a", 2, 32, 5, 6);
  b.Add("8b", "8", "b", 2, 32, 6, 7);
  b.Add("9a", "9", "9 PATIENT ADDRESS a", 32, 84, 5, 6);
  b.Add("9b", "9", "b", 32, 65, 6, 7);
  b.Add("9c", "9", "c", 65, 69, 6, 7);
  b.Add("9d", "9", "d", 69, 79, 6, 7);
  b.Add("9e", "9", "e", 79, 84, 6, 7);

  // ---- lines 7 and 8: boxes 10 to 30, caption above, value below ----
  struct Col { const char* n; const char* caption; int c0, c1; };
  const Col row10[] = {
      {"10", "10 BIRTHDATE", 2, 11}, {"11", "11 SEX", 11, 13},  {"12", "12 ADM. DATE", 13, 20},
      {"13", "13 HR", 20, 23},       {"14", "14 TYPE", 23, 26}, {"15", "15 SRC", 26, 29},
      {"16", "16 DHR", 29, 32},      {"17", "17 STAT", 32, 35},
  };
  for (const Col& c : row10) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 7, 8);
    b.Field(c.n, "", c.c0, c.c1, 8, 9);
  }
  for (int k = 0; k <= 10; ++k) {  // condition codes 18 to 28, three columns each
    std::string n = std::to_string(18 + k);
    b.Heading(n, k == 0 ? "18 COND. CODES" : n, 35 + 3 * k, 38 + 3 * k, 7, 8);
    b.Field(n, "", 35 + 3 * k, 38 + 3 * k, 8, 9);
  }
  b.Heading("29", "29 ACDT STATE", 68, 72, 7, 8);
  b.Field("29", "", 68, 72, 8, 9);
  b.Field("30", "30", 72, 84, 7, 9);

  // ---- lines 9 to 11: occurrence codes and spans, rows a and b ----
  const Col occ[] = {
      {"31", "31 OCCURRENCE CODE DATE", 2, 12}, {"32", "32 OCCURRENCE CODE DATE", 12, 22},
      {"33", "33 OCCURRENCE CODE DATE", 22, 32}, {"34", "34 OCCURRENCE CODE DATE", 32, 42},
      {"35", "35 OCCURRENCE SPAN CODE FROM THROUGH", 42, 60},
      {"36", "36 OCCURRENCE SPAN CODE FROM THROUGH", 60, 78},
  };
  for (const Col& c : occ) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 9, 10);
    b.Add(std::string(c.n) + "a", c.n, "a", c.c0, c.c1, 10, 11);
    b.Add(std::string(c.n) + "b", c.n, "b", c.c0, c.c1, 11, 12);
  }
  b.Field("37", "37", 78, 84, 9, 12);

  // ---- lines 12 to 16: responsible party, value codes ----
  b.Field("38", "38", 2, 44, 12, 17);
  const Col values[] = {{"39", "39 VALUE CODES CODE AMOUNT", 44, 58},
                        {"40", "40 VALUE CODES CODE AMOUNT", 58, 71},
                        {"41", "41 VALUE CODES CODE AMOUNT", 71, 84}};
  for (const Col& c : values) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 12, 13);
    b.Field(c.n, "a b c d", c.c0, c.c1, 13, 17);
  }

  // ---- lines 17 to 40: the service lines and line 23 ----
  for (int col = 0; col < 8; ++col) {
    std::string n = std::to_string(42 + col);
    b.Heading(n, kServiceCaptions[col], kServiceCols[col], kServiceCols[col + 1], 17, 18);
    for (int line = 1; line <= 23; ++line) {
      int l0 = kFirstServiceLine + line - 1;
      std::string caption;
      if (line == 1 && col == 0) caption = "1";
      if (line == 23 && col == 0) caption = "23";
      if (line == 23 && col == 1) caption = "PAGE       OF";
      if (line == 23 && col == 2) caption = "CREATION DATE";
      if (line == 23 && col == 4) caption = "TOTALS";
      b.Add(n + "." + std::to_string(line), n, caption, kServiceCols[col],
            kServiceCols[col + 1], l0, l0 + 1);
    }
  }

  // ---- lines 41 to 44: payers, rows A to C ----
  const Col payers[] = {
      {"50", "50 PAYER NAME", 2, 25},          {"51", "51 HEALTH PLAN ID", 25, 39},
      {"52", "52 REL INFO", 39, 42},           {"53", "53 ASG BEN.", 42, 45},
      {"54", "54 PRIOR PAYMENTS", 45, 55},     {"55", "55 EST. AMOUNT DUE", 55, 66},
  };
  const char rows[] = {'A', 'B', 'C'};
  for (const Col& c : payers) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 41, 42);
    for (int r = 0; r < 3; ++r)
      b.Add(std::string(c.n) + rows[r], c.n, c.n == std::string("50") ? std::string(1, rows[r]) : "",
            c.c0, c.c1, 42 + r, 43 + r);
  }
  b.Field("56", "56 NPI", 66, 84, 41, 42);
  const char* other_prv[] = {"57", "OTHER", "PRV ID"};
  for (int r = 0; r < 3; ++r)
    b.Add(std::string("57") + rows[r], "57", other_prv[r], 66, 84, 42 + r, 43 + r);

  // ---- lines 45 to 48: insureds, rows A to C ----
  const Col insureds[] = {
      {"58", "58 INSURED'S NAME", 2, 27},      {"59", "59 P. REL", 27, 31},
      {"60", "60 INSURED'S UNIQUE ID", 31, 51}, {"61", "61 GROUP NAME", 51, 66},
      {"62", "62 INSURANCE GROUP NO.", 66, 84},
  };
  for (const Col& c : insureds) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 45, 46);
    for (int r = 0; r < 3; ++r)
      b.Add(std::string(c.n) + rows[r], c.n, c.n == std::string("58") ? std::string(1, rows[r]) : "",
            c.c0, c.c1, 46 + r, 47 + r);
  }

  // ---- lines 49 to 52: authorizations, document control, employer ----
  const Col auth[] = {{"63", "63 TREATMENT AUTHORIZATION CODES", 2, 33},
                      {"64", "64 DOCUMENT CONTROL NUMBER", 33, 59},
                      {"65", "65 EMPLOYER NAME", 59, 84}};
  for (const Col& c : auth) {
    b.Heading(c.n, c.caption, c.c0, c.c1, 49, 50);
    b.Field(c.n, "", c.c0, c.c1, 50, 53);
  }

  // ---- lines 53 to 55: diagnoses ----
  b.Field("66", "66", 2, 3, 53, 55);
  const std::string dx = "ABCDEFGHIJKLMNOPQ";
  for (int k = 0; k < 18; ++k) {
    int row = k / 9, slot = k % 9;
    std::string id = k == 0 ? "67" : "67" + dx.substr(static_cast<size_t>(k - 1), 1);
    std::string caption = k == 0 ? "67" : dx.substr(static_cast<size_t>(k - 1), 1);
    b.Add(id, "67", caption, 3 + 8 * slot, 11 + 8 * slot, 53 + row, 54 + row);
  }
  b.Field("68", "68", 75, 84, 53, 55);
  b.Field("69", "69 ADMIT DX", 2, 18, 55, 56);
  b.Field("70", "70 PATIENT REASON DX", 18, 42, 55, 56);
  b.Field("71", "71 PPS CODE", 42, 50, 55, 56);
  b.Field("72", "72 ECI", 50, 75, 55, 56);
  b.Field("73", "73", 75, 84, 55, 56);

  // ---- lines 56 to 63: procedures, providers, remarks ----
  b.Add("74", "74", "74 PRINCIPAL PROCEDURE CODE DATE", 2, 18, 56, 58);
  b.Add("74a", "74", "a. OTHER PROCEDURE CODE DATE", 18, 34, 56, 58);
  b.Add("74b", "74", "b. OTHER PROCEDURE CODE DATE", 34, 50, 56, 58);
  b.Add("74c", "74", "c. OTHER PROCEDURE CODE DATE", 2, 18, 58, 60);
  b.Add("74d", "74", "d. OTHER PROCEDURE CODE DATE", 18, 34, 58, 60);
  b.Add("74e", "74", "e. OTHER PROCEDURE CODE DATE", 34, 50, 58, 60);
  b.Field("75", "75", 50, 53, 56, 60);
  b.Field("76", "76 ATTENDING", 53, 84, 56, 58);
  b.Field("77", "77 OPERATING", 53, 84, 58, 60);
  b.Field("78", "78 OTHER", 53, 84, 60, 62);
  b.Field("79", "79 OTHER", 53, 84, 62, 64);
  b.Field("80", "80 REMARKS", 2, 26, 60, 64);
  for (int r = 0; r < 4; ++r) {
    std::string sub(1, static_cast<char>('a' + r));
    b.Add("81" + sub, "81", r == 0 ? "81 a" : sub, 26, 53, 60 + r, 61 + r);
  }
  b.Add("form", "", "UB-04 CMS-1450", kFirstCol, 30, 64, kLastLine, false);
  return std::move(b.out);
}

bool Inside(const FormRect& r, float x, float y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

// A character of 10 point Courier is 6 points wide.
constexpr float kCharWidth = 6.0f / 72;
// How far a probe sits inside a text's start or end and lower edge, and how
// much a text may touch a rule (rounding of the written positions).
constexpr float kProbe = 0.01f;
constexpr float kTouch = 0.005f;

std::string Inches(float v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

}  // namespace

const std::vector<FormLocator>& FormLayout() {
  static const std::vector<FormLocator> layout = Build();
  return layout;
}

FormRect FormFrame() {
  return {kFirstCol * kFormColumn, kFirstLine * kFormLine, kLastCol * kFormColumn,
          kLastLine * kFormLine};
}

const FormLocator* LocatorAt(float x, float y) {
  for (const FormLocator& f : FormLayout())
    if (f.fill && Inside(f.rect, x, y)) return &f;
  return nullptr;
}

const FormLocator* LocatorOfText(float x, float y, int align) {
  if (align == 0) return LocatorAt(x + kProbe, y - kProbe);
  if (align == 1) return LocatorAt(x - kProbe, y - kProbe);
  return nullptr;
}

std::string WhyOutsideField(std::string_view text, float x, float y, int align) {
  const std::string at = "\"" + std::string(text) + "\" at " + Inches(x) + ", " + Inches(y);
  if (align != 0 && align != 1) return {};  // centred on the page: on no field
  const FormLocator* f = LocatorOfText(x, y, align);
  if (!f) return at + " is on no field of the form";
  const float w = static_cast<float>(text.size()) * kCharWidth;
  const float x0 = align == 0 ? x : x - w;
  const float x1 = align == 0 ? x + w : x;
  const FormRect& r = f->rect;
  std::string crossed;
  if (x0 < r.left - kTouch) crossed = "left rule at " + Inches(r.left);
  else if (x1 > r.right + kTouch) crossed = "right rule at " + Inches(r.right);
  else if (y > r.bottom + kTouch) crossed = "lower rule at " + Inches(r.bottom);
  if (crossed.empty()) return {};
  return at + " (to " + Inches(x1) + ") in FL " + f->id + " crosses its " + crossed;
}

}  // namespace ub04
