// Reference-data state kept in the run state: the database connection and
// the tables loaded from it.
//
// Everything here belongs to one run on one thread and is dropped with the
// run state, which closes the connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/runtime.h"
#include "refdata/database.h"

namespace ub04 {

// One row of the ICD-10 readiness table: level type "1" standard, "2" payer
// organization (level code is a prefix), "3" insurance (level code is an IH
// code). An entry with an empty level type ends the table.
struct ReadinessEntry {
  std::string level_type;
  std::string level_code;
  Date ready_date = kDateNotSet;
};

// One row of the NPI legacy table: kind "00" standard, "01" billing form,
// "02" payer-organization prefix, "03" insurance IH code. An entry with an
// empty kind ends the table.
struct NpiLegacyEntry {
  std::string kind;
  std::string value;  // upper case
  Date date = kDateNotSet;
};

// One slot of the other-insurance billing-ID cache; an empty key is free.
struct OtherInsSlot {
  std::string key;  // insurance IH code, or "*"
  std::string value;
};

struct RefState {
  // ---- connection -----------------------------------------------------------
  bool db_connection_good = false;  // gbDBConnectionIsGood
  std::unique_ptr<DbConnection> db;  // the shared connection; null when none
  // Whether table names carry the "[KRV_TABLES]." owner. Only this fixed
  // owner (or none) is ever written into a query's text.
  bool owner_prefix = true;

  std::string npi_legacy_note;       // StartupLoadReport, logged by the practice parser
  std::string icd10_readiness_note;  // load report, logged when the log opens

  // ---- ICD-10 readiness ------------------------------------------------------
  // The loaded rows (in table order) and the date that applies to the
  // insurance it was last computed for.
  std::vector<ReadinessEntry> readiness;
  Date icd10_ready_date = kDateNotSet;      // g_ICD10Ready_InsIHCodeDate
  std::string icd10_ready_ins_code = "?";   // the insurance it belongs to

  // ---- NPI legacy dates --------------------------------------------------------
  std::vector<NpiLegacyEntry> npi_legacy;  // NPILegacyDates
  bool npi_legacy_loaded = false;          // loaded from the database or the file
  // The default bill-form date the claim state passes on, and the NpiOnly
  // flag of the form.
  Date npi_legacy_date2 = kDateNotSet;
  bool npi_only = false;  // NpiOnly
  // The dates of the last computation (g_NPILegacy_*).
  Date npi_standard_date = kDateNotSet;
  Date npi_bill_form_date = kDateNotSet;
  Date npi_payor_org_date = kDateNotSet;
  Date npi_insurance_date = kDateNotSet;
  // Folder holding FOLIO_CFG_NPICMS.DAT; empty means the component's own
  // folder. Tests point it elsewhere.
  std::string component_folder;

  // ---- other-insurance billing IDs ---------------------------------------------
  std::vector<OtherInsSlot> other_ins;     // slot k is other_ins[k - 1]; empty: not created
  std::string other_ins_practice;          // current practice IH code
  std::string other_ins_billing_form;      // current billing form
};

}  // namespace ub04
