// SplitTokens and SplitTokenViews on arbitrary bytes and separators, checked
// against a plain splitter written from the tokenizer's contract: the text is
// cut at each occurrence of the separator (searched from the end of the last
// one), each token loses its trailing spaces, a token that is "." or begins
// and ends with "." becomes "", a trailing separator adds no empty token, an
// empty text is one empty token. An empty separator leaves the tokens as they
// were; a text over 32767 bytes raises error 6 and nothing else.
//
// Input: first byte = separator length (mod 4), then the separator, then the
// text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime.h"

namespace {

std::vector<std::string> Reference(std::string_view text, std::string_view sep) {
  std::vector<std::string> out;
  auto take = [&](std::string_view tok) {
    while (!tok.empty() && tok.back() == ' ') tok.remove_suffix(1);
    if (!tok.empty() && tok.front() == '.' && tok.back() == '.') tok = {};
    out.emplace_back(tok);
  };
  if (text.empty()) {
    take(text);
    return out;
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t at = text.find(sep, start);
    if (at == std::string_view::npos) {
      take(text.substr(start));
      break;
    }
    take(text.substr(start, at - start));
    start = at + sep.size();
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t sep_len = data[0] % 4;
  if (size < 1 + sep_len) return 0;
  const std::string sep(reinterpret_cast<const char*>(data + 1), sep_len);
  std::string text(reinterpret_cast<const char*>(data + 1 + sep_len), size - 1 - sep_len);
  // Inputs are short; a long text is made from them to reach the limit.
  if (!text.empty() && text[0] == '+') {
    const std::string piece = text;
    while (text.size() <= 32767) text += piece;
  }

  // The copying tokenizer is given a vector that already holds tokens: its
  // reuse of old strings must not leak into the result.
  ub04::Tokens t{"unchanged", "old token", ""};
  ub04::TokenViews v{"unchanged"};
  bool raised = false, raised_views = false;
  try {
    ub04::SplitTokens(text, sep, t);
  } catch (const ub04::RtError& e) {
    if (e.number() != ub04::kErrOverflow) __builtin_trap();
    raised = true;
  }
  try {
    ub04::SplitTokenViews(text, sep, v);
  } catch (const ub04::RtError& e) {
    if (e.number() != ub04::kErrOverflow) __builtin_trap();
    raised_views = true;
  }
  if (raised != raised_views) __builtin_trap();
  if (sep.empty()) {
    if (raised || t.size() != 3 || t[0] != "unchanged" || v.size() != 1) __builtin_trap();
    return 0;
  }
  if (raised != (text.size() > 32767)) __builtin_trap();
  if (raised) return 0;

  const std::vector<std::string> want = Reference(text, sep);
  if (t.size() != want.size() || v.size() != want.size()) __builtin_trap();
  for (size_t i = 0; i < want.size(); ++i) {
    if (t[i] != want[i] || v[i] != want[i]) __builtin_trap();
    // A view points into the text it was split from.
    if (!v[i].empty() && (v[i].data() < text.data() || v[i].data() + v[i].size() >
                                                            text.data() + text.size()))
      __builtin_trap();
  }
  return 0;
}
