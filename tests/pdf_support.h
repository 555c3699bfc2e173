// Reading printed pages back with poppler (pdftotext -bbox): every word of a
// PDF with its page and box.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace ub04::test {

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
