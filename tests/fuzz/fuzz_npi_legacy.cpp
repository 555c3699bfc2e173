// FOLIO_CFG_NPICMS.DAT with arbitrary contents: the loader reads it from a
// scratch folder (the run state's component-folder override), then the
// dates are computed for a payer organization and insurance taken from the
// first entry. Nothing may crash; every entry loaded has an upper-case
// value, and the load report always ends with its record count.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/msgbox.h"
#include "host/run_state.h"
#include "refdata/refdata.h"

namespace {

const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string d = std::filesystem::temp_directory_path().string() + "/ub04fuzz-npi-" +
                    std::to_string(getpid());
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ub04::SetMessageBoxSink([](std::string_view) {});
  const std::string path = ScratchDir() + "/FOLIO_CFG_NPICMS.DAT";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  bool written = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !written) return 0;

  ub04::Shared_Initialize();
  ub04::RunState& rs = ub04::Rs();
  rs.ref.component_folder = ScratchDir();
  ub04::LoadNPILegacyDateArray();

  const std::string& note = rs.ref.npi_legacy_note;
  if (note.find("** Opening NPIlegacy_File: ") == std::string::npos) __builtin_trap();
  if (rs.queue.MaxNr() == 0 && note.find("  RecordCount = ") == std::string::npos)
    __builtin_trap();
  for (const ub04::NpiLegacyEntry& e : rs.ref.npi_legacy)
    for (char c : e.value)
      if (c >= 'a' && c <= 'z') __builtin_trap();

  std::string org, ins;
  if (!rs.ref.npi_legacy.empty()) {
    org = rs.ref.npi_legacy.front().value + "X";
    ins = rs.ref.npi_legacy.back().value;
  }
  ub04::FetchNPILegacyDates(org, ins, ub04::kDateNotSet);
  return 0;
}
