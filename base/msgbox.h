// Modal message boxes of the original design go to a sink. By default a box
// is one line on standard error; a host installs its own (C++ or C ABI) and
// tests capture it. The sink belongs to the thread, like the run state, but
// survives its reset: it is the host's setting, not the batch's.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ub04 {

using MessageBoxSink = std::function<void(std::string_view text)>;

// Installs the sink of this thread; an empty function restores the default.
void SetMessageBoxSink(MessageBoxSink sink);
void ShowMessageBox(std::string_view text);

}  // namespace ub04
