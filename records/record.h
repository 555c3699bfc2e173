// An input record: a fixed array of text members addressed by named indexes.
//
// Each record type is described once by a layout (records/layouts.h): its
// member count and names, which token fills which member, the mandatory
// tokens, the optional groups and their thresholds, the clean-up fields and
// the grid labels. The insurance record also carries its payer-rule flags.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ub04 {

struct RecordLayout;

struct Record {
  Record() = default;
  explicit Record(const RecordLayout* l);

  const RecordLayout* layout = nullptr;
  std::vector<std::string> m;   // members, index = member number
  std::vector<bool> flags;      // payer-rule flags (insurance only)

  // Member i; a member the layout does not have raises error 9.
  std::string& operator[](size_t i) { return i < m.size() ? m[i] : Missing(); }
  const std::string& operator[](size_t i) const { return i < m.size() ? m[i] : Missing(); }

  // Every member "" and every flag False (the record's clear routine).
  void Clear();
  // Token 0: non-empty when a record of this type has arrived.
  bool Present() const { return !m.empty() && !m[0].empty(); }

 private:
  [[noreturn]] static std::string& Missing();
};

}  // namespace ub04
