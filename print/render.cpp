#include "print/render.h"

#include <exception>

namespace ub04 {

void TeeRenderer::SetFont(const std::string& name, float points, bool bold) {
  for (PageRenderer* r : to_) r->SetFont(name, points, bold);
}

void TeeRenderer::SetForm(FormInk ink, float dx, float dy) {
  for (PageRenderer* r : to_) r->SetForm(ink, dx, dy);
}

void TeeRenderer::BeginPage(int32_t page_number) {
  for (PageRenderer* r : to_) r->BeginPage(page_number);
}

void TeeRenderer::DrawText(float x, float y, std::string_view text) {
  // A text one device rejects still goes to the others; the first rejection
  // is reported once they all had it.
  std::exception_ptr rejected;
  for (PageRenderer* r : to_) {
    try {
      r->DrawText(x, y, text);
    } catch (const DeviceFailure&) {
      throw;
    } catch (const RtError&) {
      if (!rejected) rejected = std::current_exception();
    }
  }
  if (rejected) std::rethrow_exception(rejected);
}

void TeeRenderer::EndPage() {
  for (PageRenderer* r : to_) r->EndPage();
}

void TeeRenderer::EndDocument() {
  for (PageRenderer* r : to_) r->EndDocument();
}

namespace {

// Code points of 0x80-0x9F; the five bytes Windows-1252 leaves undefined
// keep their C1 code point, as the platform's own conversion does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (unsigned char b : text) {
    if (b == 0)
      out += ' ';
    else if (b >= 0x80 && b < 0xA0)
      AppendUtf8(out, kHigh[b - 0x80]);
    else
      AppendUtf8(out, b);
  }
  return out;
}

}  // namespace ub04
