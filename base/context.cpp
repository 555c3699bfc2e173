#include "base/context.h"

#include <exception>

#include "base/msgbox.h"

namespace ub04 {

void Context::Queue(int16_t nr, std::string msg) {
  try {
    queue.Add(nr, std::move(msg));
  } catch (const std::exception& e) {
    ShowMessageBox(module_name + " AddToMessageArray()\r" + e.what());
  }
}

}  // namespace ub04
