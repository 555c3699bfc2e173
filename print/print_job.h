// Print queues of the machine's CUPS server: finding a queue by name and
// handing it a finished PDF. The server is the one libcups finds (the
// CUPS_SERVER environment variable, client.conf, or the local default).
#pragma once

#include <string>
#include <vector>

namespace ub04 {

// Names of the print queues the server knows ("queue" or "queue/instance"),
// in its order; empty when there are none or no server answers.
std::vector<std::string> PrintQueueNames();

// The first destination, in the server's enumeration order, whose name
// ("queue", or "queue/instance") equals name exactly; "" when there is none
// or no server answers.
std::string FindPrintQueue(const std::string& name);

// Sends the PDF at path to the destination as one job titled title, printed
// at 100% (no fit to page) on Letter paper. Returns "" when the server took
// the job, otherwise the reason it did not.
std::string SubmitPdfJob(const std::string& destination, const std::string& path,
                         const std::string& title);

}  // namespace ub04
