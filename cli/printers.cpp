#include "cli/printers.h"

#include <cups/cups.h>

namespace ub04fmt {

namespace {

// Owns the destination list for the time of the lookup.
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
  int n_;
};

}  // namespace

std::vector<std::string> PrintQueues() {
  std::vector<std::string> names;
  Destinations dests;
  for (const cups_dest_t& d : dests) {
    std::string name = d.name ? d.name : "";
    if (d.instance) name += std::string("/") + d.instance;
    names.push_back(name);
  }
  return names;
}

}  // namespace ub04fmt
