// The UB-04 form locators, row by row down the form.
//
// Across, rules lie on the 1/10 in columns except where two writers' texts
// leave less than a column between them (box 2's vendor id and box 5, value
// codes 40 and 41, the slots of box 67). Down, each row is placed around the lower edges (Y) of the
// texts printed in it: a 10 point text reaches about 0.135 in above its
// lower edge with capitals and digits, and down to 0.013 in above it with
// descenders, 0.04 in without. The comments give the rows each rule sits
// between.
#include "form/form_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "form/form_positions.h"

namespace ub04 {

namespace {

// The frame: from column 1 (box 66 prints at 0.2) to column 84, from just
// above 3a's text (0.30) to form line 65.
constexpr float kLeft = 0.1f, kRight = 8.4f, kTop = 0.15f;
constexpr float kBottom = 65 * kFormLine;

constexpr float L(int line) { return line * kFormLine; }

// "42.7" -> "42": the form locator number an id starts with.
std::string NumberOf(const std::string& id) {
  size_t n = 0;
  while (n < id.size() && id[n] >= '0' && id[n] <= '9') ++n;
  return id.substr(0, n);
}

class Builder {
 public:
  std::vector<FormLocator> out;

  void Box(const std::string& id, std::string caption, float l, float t, float r, float b) {
    Add(id, std::move(caption), {l, t, r, b}, true, true);
  }
  void Heading(const std::string& id, std::string caption, float l, float t, float r, float b) {
    Add(id, std::move(caption), {l, t, r, b}, false, true);
  }
  void SubField(const std::string& id, std::string caption, float l, float t, float r, float b) {
    Add(id, std::move(caption), {l, t, r, b}, true, false);
  }
  // A caption of parent's, drawn from the top-left corner of (l, t, r, b).
  void Label(const std::string& parent, const std::string& caption, float l, float t, float r,
             float b) {
    Add(parent + ":" + caption, caption, {l, t, r, b}, false, false);
    out.back().number = NumberOf(parent);
  }

 private:
  void Add(const std::string& id, std::string caption, FormRect rect, bool fill, bool ruled) {
    FormLocator f;
    f.id = id;
    f.number = NumberOf(id);
    f.caption = std::move(caption);
    f.rect = rect;
    f.fill = fill;
    f.ruled = ruled;
    out.push_back(std::move(f));
  }
};

// A column of boxes sharing a caption row and rows of fields below it.
struct Column {
  const char* n;
  const char* caption;
  float l, r;
};

// Headings for cols over rows[0]..rows[1], and below them one box per row
// gap, named n + row name. The first column's boxes carry the row names as
// captions, in its left margin.
template <size_t N, size_t R>
void Rows(Builder& b, const Column (&cols)[N], const float (&rows)[R], const char* names) {
  for (const Column& c : cols) {
    b.Heading(std::string(c.n) + " heading", c.caption, c.l, rows[0], c.r, rows[1]);
    for (size_t i = 0; i + 2 < R; ++i) {
      const std::string row(1, names[i]);
      b.Box(c.n + row, &c == &cols[0] ? row : "", c.l, rows[i + 1], c.r, rows[i + 2]);
    }
  }
}

void TopOfTheForm(Builder& b) {
  // Box 1's fourth line (0.78) and 8a (0.95) leave 0.79 for box 1's bottom;
  // to its right boxes 2 to 7 reach down to line 5, below boxes 5 and 6
  // (0.81), above 9a (0.98). Box 2's vendor id ends at 5.10, box 5 starts
  // printing at 5.18: the rule between them lies halfway.
  constexpr float kBox3 = 5.15f;
  b.Box("1", "1", kLeft, kTop, 2.7f, 0.79f);
  b.Box("2", "2", 2.7f, kTop, kBox3, L(5));
  b.Box("3a", "3a PAT. CNTL #", kBox3, kTop, 7.7f, L(2));
  b.Box("3b", "b. MED. REC. #", kBox3, L(2), 7.7f, L(3));
  b.Box("4", "4 TYPE OF BILL", 7.7f, kTop, kRight, L(3));
  b.Box("5", "5 FED. TAX NO.", kBox3, L(3), 6.1f, L(5));
  const float period = L(3) + CaptionBand(1);
  b.Heading("6", "6 STATEMENT COVERS PERIOD", 6.1f, L(3), 7.5f, period);
  b.Box("6 from", "FROM", 6.1f, period, 6.8f, L(5));
  b.Box("6 through", "THROUGH", 6.8f, period, 7.5f, L(5));
  b.Box("7", "7", 7.5f, L(3), kRight, L(5));

  // Rows a (8a 0.95, 9a 0.98) and b (1.13) of the patient's name and
  // address; the letters stand left of where each part prints.
  constexpr float kRowB = 0.98f;
  b.Box("8a", "8 PATIENT NAME", kLeft, 0.79f, 2.7f, kRowB);
  b.Label("8a", "a", 1.19f, 0.79f, pos::kBox08aX, kRowB);
  b.Box("8b", "b", kLeft, kRowB, 2.7f, L(7));
  b.Box("9a", "9 PATIENT ADDRESS", 2.7f, L(5), kRight, kRowB);
  b.Label("9a", "a", 4.19f, L(5), pos::kBox09aX, kRowB);
  b.Box("9b", "b", 2.7f, kRowB, 6.4f, L(7));
  b.Box("9c", "c", 6.4f, kRowB, 6.9f, L(7));
  b.Box("9d", "d", 6.9f, kRowB, 7.9f, L(7));
  b.Box("9e", "e", 7.9f, kRowB, kRight, L(7));
}

void Boxes10To37(Builder& b) {
  // A caption row, then the row printed at 1.45.
  const float data = L(7) + CaptionBand(1);
  const Column row10[] = {
      {"10", "10 BIRTHDATE", kLeft, 1.0f}, {"11", "11 SEX", 1.0f, 1.3f},
      {"12", "12 ADM. DATE", 1.3f, 1.9f},  {"13", "13 HR", 1.9f, 2.2f},
      {"14", "14 TYPE", 2.2f, 2.5f},       {"15", "15 SRC", 2.5f, 2.8f},
      {"16", "16 DHR", 2.8f, 3.1f},        {"17", "17 STAT", 3.1f, 3.4f},
      {"29", "29 ACDT STATE", 6.7f, 7.3f},
  };
  for (const Column& c : row10) {
    b.Heading(std::string(c.n) + " heading", c.caption, c.l, L(7), c.r, data);
    b.Box(c.n, "", c.l, data, c.r, L(9));
  }
  // Condition codes 18 to 28, three columns each, numbered left of where
  // their code prints.
  b.Heading("18 heading", "CONDITION CODES", 3.4f, L(7), 6.7f, data);
  for (int k = 0; k <= 10; ++k) {
    const float l = 3.4f + 0.3f * static_cast<float>(k);
    const std::string n = std::to_string(18 + k);
    b.Box(n, n, l, data, l + 0.3f, L(9));
  }
  b.Box("30", "30", 7.3f, L(7), kRight, L(9));

  // Occurrence codes and spans: two caption lines, row a (1.82), row b,
  // then box 38's first line (2.11; an apostrophe reaches 1.968).
  const float kOccurrence[] = {L(9), L(9) + CaptionBand(2), 1.815f, 1.958f};
  const Column occ[] = {
      {"31", "31 OCCURRENCE", kLeft, 1.2f}, {"32", "32 OCCURRENCE", 1.2f, 2.2f},
      {"33", "33 OCCURRENCE", 2.2f, 3.2f},  {"34", "34 OCCURRENCE", 3.2f, 4.2f},
      {"35", "35 OCCURRENCE SPAN", 4.2f, 6.0f}, {"36", "36 OCCURRENCE SPAN", 6.0f, 7.8f},
  };
  Rows(b, occ, kOccurrence, "ab");
  const float sub = L(9) + kCaptionLine;
  for (int k = 0; k < 4; ++k) {  // code and date, where the writers print them
    const float code = pos::kBoxes31To34X[static_cast<size_t>(k)];
    const float date = code + pos::kBoxes31To34DateOffset;
    b.Label(occ[k].n, "CODE", code - kCaptionPad, sub, date, kOccurrence[1]);
    b.Label(occ[k].n, "DATE", date - kCaptionPad, sub, occ[k].r, kOccurrence[1]);
  }
  for (int k = 4; k < 6; ++k) {
    // A span's code, from and through dates, spaced as boxes 31 to 34's.
    const float code = occ[k].l + 0.05f;
    b.Label(occ[k].n, "CODE", code - kCaptionPad, sub, code + 0.3f, kOccurrence[1]);
    b.Label(occ[k].n, "FROM", code + 0.3f, sub, code + 1.0f, kOccurrence[1]);
    b.Label(occ[k].n, "THROUGH", code + 1.0f, sub, occ[k].r, kOccurrence[1]);
  }
  b.Box("37", "37", 7.8f, L(9), kRight, kOccurrence[3]);
}

void Boxes38To41(Builder& b) {
  // Box 38 prints up to five lines, the last at 2.81; the value codes rows
  // a to d at 2.31, 2.50, 2.69 and 2.81 (codes and amounts: no descenders
  // between rows c and d).
  constexpr float kTopRule = 1.958f, kBottomRule = 2.81f;
  b.Box("38", "38", kLeft, kTopRule, 4.4f, kBottomRule);
  const float rows[] = {kTopRule, 2.14f, 2.33f, 2.52f, 2.6625f, kBottomRule};
  // 40 and 41 start where their codes print, less half a column: each
  // column's amount ends 0.08 in before the next one's code.
  const Column values[] = {{"39", "39 VALUE CODES", 4.4f, 5.75f},
                           {"40", "40 VALUE CODES", 5.75f, 7.05f},
                           {"41", "41 VALUE CODES", 7.05f, kRight}};
  Rows(b, values, rows, "abcd");
  for (int k = 0; k < 3; ++k) {
    const float code = pos::kBoxes39To41X[static_cast<size_t>(k)];
    const float sub = kTopRule + kCaptionLine;
    b.Label(values[k].n, "CODE", code - kCaptionPad, sub, code + 0.4f, rows[1]);
    b.Label(values[k].n, "AMOUNT", code + 0.7f, sub, values[k].r, rows[1]);
  }
}

void ServiceLines(Builder& b) {
  // Service line n prints with its lower edge at 3.12 + (n - 1)/6: its row
  // is the form line that ends 0.005 in below that edge. Line 23 (6.80, its
  // page numbers at 6.77) follows line 22.
  constexpr float kHeading = 2.81f, kLine23Bottom = 6.8f;
  const float first = pos::kBoxes42To47RowY[0] + 0.005f;
  // The lower rule of line n (0: the caption row's).
  auto bottom = [&](int line) {
    return line <= pos::kDetailRowsPerPage ? first + static_cast<float>(line - 1) * kFormLine
                                           : kLine23Bottom;
  };
  const Column cols[] = {
      {"42", "42 REV. CD.", kLeft, 0.6f},
      {"43", "43 DESCRIPTION", 0.6f, 3.2f},
      {"44", "44 HCPCS / RATE / HIPPS CODE", 3.2f, 4.6f},
      {"45", "45 SERV. DATE", 4.6f, 5.4f},
      {"46", "46 SERV. UNITS", 5.4f, 6.2f},
      {"47", "47 TOTAL CHARGES", 6.2f, 7.2f},
      {"48", "48 NON-COVERED CHARGES", 7.2f, 8.1f},
      {"49", "49", 8.1f, kRight},
  };
  for (const Column& c : cols) {
    const std::string n = c.n;
    b.Heading(n + " heading", c.caption, c.l, kHeading, c.r, bottom(0));
    for (int line = 1; line <= 23; ++line) {
      const std::string id = n + "." + std::to_string(line);
      const float top = bottom(line - 1), bt = bottom(line);
      std::string caption;
      if (n == "42") caption = std::to_string(line);
      if (line == 23 && n == "44") caption = "CREATION DATE";
      if (line == 23 && n == "46") caption = "TOTALS";
      if (line == 23 && n == "43") {
        // "PAGE n OF m": the page number and the page count each fill a
        // part of the row, the words stand around them on their baseline.
        const float words = pos::kLine23PageNumberY - kTextBaseline - kCaptionBaseline;
        b.Heading(id, "", c.l, top, c.r, bt);
        b.SubField(id + " page", "", c.l, top, 1.45f, bt);
        b.Label(id, "PAGE", 0.95f, words, pos::kLine23PageX, bt);
        b.SubField(id + " of", "", 1.45f, top, c.r, bt);
        b.Label(id, "OF", 1.45f, words, pos::kLine23PageOfX, bt);
        continue;
      }
      b.Box(id, caption, c.l, top, c.r, bt);
    }
  }
}

void Boxes50To65(Builder& b) {
  // Payers: a caption row of two lines, rows A (7.12), B (7.27; 54 and 55
  // at 7.30) and C (7.42; 7.45). Box 56 prints its NPI (6.95) in the
  // caption row, right of its caption.
  const float payer_rows[] = {6.8f, 6.96f, 7.12f, 7.27f, 7.45f};
  const Column payers[] = {
      {"50", "50 PAYER NAME", kLeft, 2.5f},   {"51", "51 HEALTH PLAN ID", 2.5f, 3.9f},
      {"52", "52 REL.\nINFO", 3.9f, 4.2f},    {"53", "53 ASG.\nBEN.", 4.2f, 4.5f},
      {"54", "54 PRIOR PAYMENTS", 4.5f, 5.5f}, {"55", "55 EST. AMOUNT DUE", 5.5f, 6.6f},
  };
  Rows(b, payers, payer_rows, "ABC");
  b.Box("56", "56 NPI", 6.6f, payer_rows[0], kRight, payer_rows[1]);
  const char* other_provider[] = {"57", "OTHER", "PRV ID"};
  for (int r = 0; r < 3; ++r)
    b.Box("57" + std::string(1, static_cast<char>('A' + r)), other_provider[r], 6.6f,
          payer_rows[r + 1], kRight, payer_rows[r + 2]);

  // Insureds: rows A (7.80), B (7.95) and C (8.11).
  const float insured_rows[] = {7.45f, 7.64f, 7.8f, 7.955f, 8.12f};
  const Column insureds[] = {
      {"58", "58 INSURED'S NAME", kLeft, 2.7f},   {"59", "59 P. REL", 2.7f, 3.1f},
      {"60", "60 INSURED'S UNIQUE ID", 3.1f, 5.1f}, {"61", "61 GROUP NAME", 5.1f, 6.6f},
      {"62", "62 INSURANCE GROUP NO.", 6.6f, kRight},
  };
  Rows(b, insureds, insured_rows, "ABC");

  // Authorizations, document control numbers, employers: rows A (8.50), B
  // (8.68) and C (8.82), which leaves box 67's first row (8.95) 0.035 in.
  const float auth_rows[] = {8.12f, 8.33f, 8.515f, 8.676f, 8.8f};
  const Column auth[] = {{"63", "63 TREATMENT AUTHORIZATION CODES", kLeft, 3.3f},
                         {"64", "64 DOCUMENT CONTROL NUMBER", 3.3f, 5.9f},
                         {"65", "65 EMPLOYER NAME", 5.9f, kRight}};
  Rows(b, auth, auth_rows, "ABC");
}

void Boxes66To73(Builder& b) {
  // Diagnoses, rows at 8.95 and 9.14, no room above them for captions: each
  // slot's letter stands left of its code, in the 0.07 in the previous
  // slot's present-on-admission value leaves. A slot is the code's field
  // (seven characters) and the present-on-admission field (one).
  constexpr float kRow1 = 8.8f, kRow2 = 8.97f, kBottom67 = 9.145f;
  const float step = pos::kBox67Step;
  constexpr float kSlotToCode = 0.055f;
  const std::string letters = "ABCDEFGHIJKLMNOPQ";
  for (size_t k = 0; k < 2 * pos::kBox67PerRow; ++k) {
    const size_t row = k / pos::kBox67PerRow, slot = k % pos::kBox67PerRow;
    const float code = pos::kBox67FirstX + step * static_cast<float>(slot);
    const float poa = code + pos::kBox67PoaOffset - 0.02f;
    float l = code - kSlotToCode;
    if (k == 0) l = kLeft;        // the principal diagnosis, "67" in the margin
    if (k == pos::kBox67PerRow) l = 0.29f;  // slot I, right of box 66
    const float t = row == 0 ? kRow1 : kRow2, bt = row == 0 ? kRow2 : kBottom67;
    const std::string id = k == 0 ? "67" : "67" + letters.substr(k - 1, 1);
    b.Box(id, k == 0 ? "67" : letters.substr(k - 1, 1), l, t, poa, bt);
    b.Box(id + " poa", "", poa, t, code + step - kSlotToCode, bt);
  }
  b.Box("66", "66", kLeft, kRow2, 0.29f, kBottom67);
  const float box68 = pos::kBox67FirstX + step * 9 - kSlotToCode;
  b.Box("68", "68", box68, kRow1, kRight, kBottom67);

  // Admitting and visit diagnoses (9.30).
  constexpr float kBottom69 = 9.32f;
  b.Box("69", "69 ADMIT DX", kLeft, kBottom67, 1.3f, kBottom69);
  b.Box("70", "70 PATIENT\nREASON DX", 1.3f, kBottom67, 4.2f, kBottom69);
  b.Box("71", "71 PPS\nCODE", 4.2f, kBottom67, 5.0f, kBottom69);
  b.Box("72", "72 ECI", 5.0f, kBottom67, box68, kBottom69);
  b.Box("73", "73", box68, kBottom67, kRight, kBottom69);
}

void Boxes74To81(Builder& b) {
  // Procedures: the principal one prints at 9.62 under two caption lines.
  constexpr float kTop74 = 9.32f, kRow74c = 9.64f, kTop80 = L(59);
  const char* procedures[] = {"74 PRINCIPAL PROCEDURE", "a. OTHER PROCEDURE",
                              "b. OTHER PROCEDURE",     "c. OTHER PROCEDURE",
                              "d. OTHER PROCEDURE",     "e. OTHER PROCEDURE"};
  const char* ids[] = {"74", "74a", "74b", "74c", "74d", "74e"};
  for (int k = 0; k < 6; ++k) {
    const float l = kLeft + 1.6f * static_cast<float>(k % 3);
    const float t = k < 3 ? kTop74 : kRow74c, bt = k < 3 ? kRow74c : kTop80;
    b.Box(ids[k], procedures[k], l, t, l + 1.6f, bt);
    // Code and date captions over the columns box 74 prints in.
    const float code = l + (pos::kBox74CodeX - kLeft), date = l + (pos::kBox74DateX - kLeft);
    b.Label(ids[k], "CODE", code - kCaptionPad, t + kCaptionLine, date, t + CaptionBand(2));
    b.Label(ids[k], "DATE", date - kCaptionPad, t + kCaptionLine, l + 1.6f, t + CaptionBand(2));
  }
  b.Box("75", "75", 4.9f, kTop74, 5.2f, kTop80);

  // Providers 76 to 79: an NPI row (NPI, qualifier, secondary id) and a
  // name row (last, first). 76 prints them at 9.50 and 9.62, 77 at 9.80
  // and 9.98, closer than a form line: the rows are parts of one frame.
  struct Provider {
    const char* n;
    const char* caption;
    float top, names, bottom;  // the name row from names
  };
  const Provider providers[] = {{"76", "76 ATTENDING", kTop74, 9.47f, kRow74c},
                                {"77", "77 OPERATING", kRow74c, 9.815f, L(60)},
                                {"78", "78 OTHER", L(60), 10.16f, L(62)},
                                {"79", "79 OTHER", L(62), 10.5f, L(64)}};
  constexpr float kQual = 7.05f, kSecondaryId = 7.45f, kFirst = 7.0f;
  for (const Provider& p : providers) {
    const std::string n = p.n;
    b.Heading(n, p.caption, 5.2f, p.top, kRight, p.bottom);
    b.SubField(n + " npi", "", 5.2f, p.top, kQual, p.names);
    b.Label(n, "NPI", 5.85f, p.top, pos::kBoxes76And77NpiX, p.names);
    b.SubField(n + " qual", "QUAL", kQual, p.top, kSecondaryId, p.names);
    b.SubField(n + " id", "", kSecondaryId, p.top, kRight, p.names);
    b.SubField(n + " last", "LAST", 5.2f, p.names, kFirst, p.bottom);
    b.SubField(n + " first", "FIRST", kFirst, p.names, kRight, p.bottom);
  }

  // Remarks: the first line (10.15) under the caption. Box 81's rows lie on
  // form lines 60 to 64.
  b.Box("80", "80 REMARKS", kLeft, kTop80, 2.6f, L(64));
  b.Heading("81 heading", "81 CC", 2.6f, kTop80, 5.2f, L(60));
  for (int r = 0; r < 4; ++r) {
    const std::string sub(1, static_cast<char>('a' + r));
    b.Box("81" + sub, sub, 2.6f, L(60 + r), 5.2f, L(61 + r));
  }
  b.Heading("form", "UB-04 CMS-1450", kLeft, L(64), kRight, kBottom);
  b.Label("form",
          "THE CERTIFICATIONS ON THE REVERSE APPLY TO THIS BILL AND ARE MADE A PART HEREOF.",
          3.0f, L(64), kRight, kBottom);
}

std::vector<FormLocator> Build() {
  Builder b;
  TopOfTheForm(b);
  Boxes10To37(b);
  Boxes38To41(b);
  ServiceLines(b);
  Boxes50To65(b);
  Boxes66To73(b);
  Boxes74To81(b);
  return std::move(b.out);
}

// Joins the collinear segments that overlap or meet, so that each rule is
// drawn once; drops those on the frame.
std::vector<FormRule> BuildRules() {
  const FormRect frame = FormFrame();
  // Keyed by the line a segment lies on (in ten-thousandths of an inch).
  std::map<long, std::vector<std::pair<float, float>>> across, down;
  auto key = [](float v) { return std::lround(v * 10000); };
  for (const FormLocator& f : FormLayout()) {
    if (!f.ruled) continue;
    const FormRect& r = f.rect;
    for (float y : {r.top, r.bottom}) across[key(y)].push_back({r.left, r.right});
    for (float x : {r.left, r.right}) down[key(x)].push_back({r.top, r.bottom});
  }
  std::vector<FormRule> rules;
  auto join = [&](auto& lines, bool horizontal, float lo, float hi) {
    for (auto& [k, spans] : lines) {
      const float at = static_cast<float>(k) / 10000;
      if (std::fabs(at - lo) < 1e-3f || std::fabs(at - hi) < 1e-3f) continue;  // the frame
      std::sort(spans.begin(), spans.end());
      std::pair<float, float> run = spans.front();
      auto emit = [&] {
        rules.push_back(horizontal ? FormRule{run.first, at, run.second, at, false}
                                   : FormRule{at, run.first, at, run.second, false});
      };
      for (const auto& s : spans) {
        if (s.first > run.second + 1e-4f) {
          emit();
          run = s;
        } else {
          run.second = std::max(run.second, s.second);
        }
      }
      emit();
    }
  };
  join(across, true, frame.top, frame.bottom);
  join(down, false, frame.left, frame.right);
  rules.push_back({frame.left, frame.top, frame.right, frame.top, true});
  rules.push_back({frame.left, frame.bottom, frame.right, frame.bottom, true});
  rules.push_back({frame.left, frame.top, frame.left, frame.bottom, true});
  rules.push_back({frame.right, frame.top, frame.right, frame.bottom, true});
  return rules;
}

bool Inside(const FormRect& r, float x, float y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

// How far a probe sits inside a text's start or end, how far above its
// lower edge the middle of its capitals lies, and how much a character
// cell may pass a rule (the rounding of the written positions).
constexpr float kProbe = 0.01f;
constexpr float kCapitalsMiddle = 0.09f;
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

FormRect FormFrame() { return {kLeft, kTop, kRight, kBottom}; }

const std::vector<FormRule>& FormRules() {
  static const std::vector<FormRule> rules = BuildRules();
  return rules;
}

const FormLocator* FindLocator(std::string_view id) {
  for (const FormLocator& f : FormLayout())
    if (f.id == id) return &f;
  return nullptr;
}

const FormLocator* LocatorAt(float x, float y) {
  for (const FormLocator& f : FormLayout())
    if (f.fill && Inside(f.rect, x, y)) return &f;
  return nullptr;
}

const FormLocator* LocatorOfText(float x, float y, int align) {
  if (align == 0) return LocatorAt(x + kProbe, y - kCapitalsMiddle);
  if (align == 1) return LocatorAt(x - kProbe, y - kCapitalsMiddle);
  return nullptr;
}

int FieldChars(float x, float y, int align) {
  const FormLocator* f = LocatorOfText(x, y, align);
  if (!f) return -1;
  const float room = align == 0 ? f->rect.right - x : x - f->rect.left;
  return static_cast<int>(std::floor((room + kTouch) / kCharWidth));
}

std::string WhyOutsideField(std::string_view text, float x, float y, int align) {
  if (align != 0 && align != 1) return {};  // centred on the page: on no field
  const std::string at = "\"" + std::string(text) + "\" at " + Inches(x) + ", " + Inches(y);
  const int room = FieldChars(x, y, align);
  if (room < 0) return at + " is on no field of the form";
  if (text.size() <= static_cast<size_t>(room)) return {};
  const FormLocator* f = LocatorOfText(x, y, align);
  const float w = static_cast<float>(text.size()) * kCharWidth;
  const std::string crossed = align == 0 ? "right rule at " + Inches(f->rect.right)
                                         : "left rule at " + Inches(f->rect.left);
  return at + " (" + std::to_string(text.size()) + " characters, " +
         std::to_string(room) + " fit; to " + Inches(align == 0 ? x + w : x - w) + ") in FL " +
         f->id + " crosses its " + crossed;
}

}  // namespace ub04
