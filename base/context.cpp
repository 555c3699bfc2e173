#include "base/context.h"

#include <exception>

#include "base/msgbox.h"

namespace ub04 {

std::string ErrorMessage(std::string_view name, std::string_view procedure, const RtError& e) {
  std::string text(name);
  text += procedure;
  text += ErrorText(e);
  return text;
}

std::string Context::Say(int16_t severity, std::string_view procedure, std::string_view text) {
  std::string message = component_name;
  message += procedure;
  message += text;
  Queue(severity, message);
  return message;
}

std::string Context::ReportError(std::string_view procedure, const RtError& e, unsigned how) {
  std::string text = ErrorMessage(component_name, procedure, e);
  if (how & kKeepAsErrorMsg) SetErrorMsg(text);
  if (how & kQueueIt) Queue(kError, text);
  if (how & kShowBox) ShowMessageBox(text);
  return text;
}

void Context::Queue(int16_t nr, std::string msg) {
  try {
    queue.Add(nr, std::move(msg));
  } catch (const std::exception& e) {
    ShowMessageBox(module_name + " AddToMessageArray()\r" + e.what());
  }
}

}  // namespace ub04
