#include "print/print_job.h"

#include <cups/cups.h>

namespace ub04 {

namespace {

std::string DestinationName(const cups_dest_t& d) {
  std::string name = d.name ? d.name : "";
  if (d.instance) name += std::string("/") + d.instance;
  return name;
}

// Every destination of the server, freed on scope exit.
class Destinations {
 public:
  Destinations() : n_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
  ~Destinations() { cupsFreeDests(n_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;
  const cups_dest_t* begin() const { return dests_; }
  const cups_dest_t* end() const { return dests_ + (n_ > 0 ? n_ : 0); }

 private:
  cups_dest_t* dests_ = nullptr;
  int n_ = 0;
};

}  // namespace

std::vector<std::string> PrintQueueNames() {
  std::vector<std::string> names;
  Destinations dests;
  for (const cups_dest_t& d : dests) names.push_back(DestinationName(d));
  return names;
}

std::string FindPrintQueue(const std::string& name) {
  Destinations dests;
  for (const cups_dest_t& d : dests)
    if (DestinationName(d) == name) return name;
  return {};
}

std::string SubmitPdfJob(const std::string& destination, const std::string& path,
                         const std::string& title) {
  // An instance ("queue/instance") prints on its queue.
  std::string queue = destination.substr(0, destination.find('/'));
  int n = 0;
  cups_option_t* options = nullptr;
  n = cupsAddOption("print-scaling", "none", n, &options);
  n = cupsAddOption("media", "Letter", n, &options);
  n = cupsAddOption("document-format", "application/pdf", n, &options);
  int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), path.c_str(), title.c_str(), n,
                           options);
  cupsFreeOptions(n, options);
  if (job > 0) return {};
  const char* why = cupsLastErrorString();
  return why && *why ? why : "no job created";
}

}  // namespace ub04
