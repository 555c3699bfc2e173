// Custom-form (medical necessity) answers: CCFormInfo, one question and its
// answer, and CCFormInfoArray, a fixed list of up to 100 of them per charge
// group.
#pragma once

namespace ub04 {

class CCFormInfoArray {
 public:
  CCFormInfoArray() = default;
};

}  // namespace ub04
