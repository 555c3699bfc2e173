// Formatted-record files to print, and reading printed pages back with
// poppler (pdftotext -bbox): every word of a PDF with its page and box.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "form/fmt_file.h"

namespace ub04::test {

// An "F" line of a formatted-record file.
inline std::string F(const std::string& text, float x, float y, int align = 0) {
  return FormatRecordLine("F", text, x, y, align);
}

// A formatted-record file of whole pages: "H"; for each page a "C" line,
// its lines and an "N"; "T".
inline std::string FmtPages(const std::vector<std::vector<std::string>>& pages) {
  std::string out = FormatRecordLine("H", "", 0, 0, 0);
  int seq = 0;
  for (const auto& lines : pages) {
    out += FormatRecordLine("C", "INDEX", 0, 0, ++seq);
    for (const std::string& l : lines) out += l;
    out += FormatRecordLine("N", "", 0, 0, 0);
  }
  return out + FormatRecordLine("T", "", 0, 0, 0);
}

struct Word {
  int page;  // from 1
  std::string text;
  double x0, y0, x1, y1;  // inches from the top-left corner
};

// What a shell command writes to its standard output.
inline std::string Capture(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// Every word of the PDF, in page order; pages counts the pages.
inline std::vector<Word> PdfWords(const std::filesystem::path& pdf, int* pages = nullptr) {
  std::string xml = Capture("pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null");
  std::vector<Word> words;
  int page = 0;
  size_t pos = 0;
  while (pos < xml.size()) {
    size_t end = xml.find('\n', pos);
    if (end == std::string::npos) end = xml.size();
    std::string line = xml.substr(pos, end - pos);
    pos = end + 1;
    if (line.find("<page ") != std::string::npos) ++page;
    double a, b, c, d;
    int text_at = 0;
    if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%n",
                    &a, &b, &c, &d, &text_at) == 4 && text_at > 0) {
      std::string text = line.substr(static_cast<size_t>(text_at));
      text = text.substr(0, text.find("</word>"));
      words.push_back({page, text, a / 72, b / 72, c / 72, d / 72});
    }
  }
  if (pages) *pages = page;
  return words;
}

inline const Word* Find(const std::vector<Word>& words, const std::string& text) {
  for (const Word& w : words)
    if (w.text == text) return &w;
  return nullptr;
}

}  // namespace ub04::test
