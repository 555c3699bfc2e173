#!/usr/bin/env python3
"""Writes examples/batch.txt: a synthetic hospital billing batch for ub04fmt.

Every person, payer, provider and number in it is invented. Each line is
KEY<TAB>RECORD; a key has 11 "//"-separated tokens, token 10 the record
type. Fields are numbered by the token position of the record text (token
0 first); an empty field is sent as ".", the host's empty value.

    python3 examples/make_batch.py > examples/batch.txt
"""

import sys

# Tokens per record type: long enough that every optional group is present.
TOKENS = {
    "1000": 44, "2000": 54, "3000": 68, "3100": 15, "3101": 25, "4000": 53,
    "5000": 67, "6000": 150, "6110": 56, "6120": 54, "6310": 89, "6320": 89,
}


def key(rtype):
    return "//".join(["UB04PPA", "HOSP01"] + ["0"] * 8 + [rtype])


def record(rtype, fields, tokens=None):
    """A KEY<TAB>RECORD line; fields maps token number to text."""
    count = tokens or TOKENS[rtype]
    values = ["."] * count
    values[0] = rtype
    for token, value in fields.items():
        values[token] = value if value != "" else "."
    return key(rtype) + "\t" + "//".join(values)


def ext_data(rtype, pairs):
    """Extended data: code, value, code, value ..."""
    items = [rtype] + [item for pair in pairs for item in pair]
    return key(rtype) + "\t" + "//".join(items)


# Claim-level extended data stays until replaced: a claim without admission
# details sends the records empty.
NO_CLAIM_EXT_DATA = [key(t) + "\t" + t for t in ("5012", "5014")]


def end_of_charge():
    return key("6990") + "\t" + "END"


# ---- who bills ------------------------------------------------------------------
# The codes PR1, BP1 and INS1 are those of examples/reference.sql, the
# reference database make run passes.

PRACTICE = record("1000", {
    1: "PR1", 2: "RIVERBEND COMMUNITY HOSPITAL", 3: "1200 CONFLUENCE AVE", 5: "MILLBROOK",
    6: "PA", 7: "17555", 8: "7175550142", 9: "EXT 200", 13: "231234567", 16: "RVB-GROUP",
    17: "131", 18: "3", 19: "1", 20: "0", 22: "282N00000X", 24: "1234567893",
    26: "RIVERBEND PATIENT ACCOUNTS", 27: "PO BOX 4410", 29: "MILLBROOK", 30: "PA", 31: "175554410",
})

BILLING_PROVIDER = record("2000", {
    1: "BP1", 2: "EVELYN", 3: "HOLLOWAY", 4: "GRACE", 5: "MD", 7: "251112222", 8: "F",
    9: "FEMALE", 10: "44 SYCAMORE LN", 12: "MILLBROOK", 13: "PA", 14: "17555",
    15: "7175550187", 24: "", 25: "MD448812", 27: "1000000004", 28: "HOLL-7781", 33: "0",
    36: "HOLLOWAY ORTHOPAEDICS", 37: "44 SYCAMORE LN", 38: "SUITE 210", 39: "MILLBROOK",
    40: "PA", 41: "17555",
})

# CalcPref: token 4 amount due = charges less prior payments; token 6 the
# billing party (even: the hospital, odd: the billing provider).
def calc_prefs(billing_party):
    return record("3100", {3: "1", 4: "1", 6: billing_party, 7: "1", 11: "0"})


# Break preferences: a change in the other insurances starts a new claim.
BREAK_PREFS = record("3101", {3: "1", **{t: "0" for t in range(4, 25)}})


# ---- payers ---------------------------------------------------------------------

def insurance(ih, payer_id, name, street, city, state, zipcode, plan):
    return record("3000", {
        1: ih, 2: payer_id, 3: name, 4: street, 6: city, 7: state, 8: zipcode,
        17: "RVB-" + ih, 18: "HOLL-" + ih, 19: plan, 21: "Y", 22: "Y", 24: "N", 26: "", 27: "",
        33: "0", 38: "N",
    })


KEYSTONE = insurance("INS1", "K5432", "KEYSTONE VALLEY HEALTH PLAN", "PO BOX 9100",
                     "HARRISBURG", "PA", "171059100", "COM")
LAUREL = insurance("LMU", "L7781", "LAUREL MUTUAL ASSURANCE", "800 LAUREL PKWY",
                   "ALTOONA", "PA", "16601", "COM")
BLUE_RIDGE = insurance("BRC", "B2290", "BLUE RIDGE CARE PARTNERS", "17 COMMERCE DR",
                       "HAGERSTOWN", "MD", "217400017", "COM")


# ---- people -----------------------------------------------------------------------

def patient(account, first, last, middle, birth, sex, street, city, state, zipcode):
    return record("4000", {
        1: account, 3: first, 4: last, 5: middle, 8: birth, 10: sex,
        11: "FEMALE" if sex == "F" else "MALE", 12: "M", 31: street, 33: city, 34: state,
        35: zipcode,
    })


def subscriber(prefix, member, group, first, last, middle, relationship, employer, street,
               city, state, zipcode):
    return record("5000", {
        1: member, 4: prefix, 5: member, 6: group, 10: "1", 11: "1", 15: relationship,
        18: first, 19: last, 20: middle, 25: "F", 26: "FEMALE", 34: employer, 46: street,
        48: city, 49: state, 50: zipcode,
    })


# ---- charges ---------------------------------------------------------------------

def charge(procedure, description, revenue, date, amount, units="1", icd10=(), icd9=(),
           payer_sequence="1", paid="0.00", narrative="", codes="", modifier="",
           onset=("", ""), action="", admission="", dcn=""):
    fields = {
        0: "CHG,1,OP", 6: procedure, 7: description, 9: "CASE1", 13: modifier, 22: "1",
        25: "22", 42: units, 43: amount, 44: "0.00", 45: "ENC" + date, 48: onset[0],
        50: onset[1], 51: admission, 53: date, 55: date, 61: "", 62: "",
        63: revenue, 64: amount, 65: paid, 66: "0.00", 67: "0.00", 68: "0.00",
        69: "", 70: payer_sequence, 71: codes, 72: narrative, 98: action, 99: dcn, 119: "0",
    }
    for k, (code, poa) in enumerate(icd9):  # slots of three tokens from token 28
        fields[28 + 3 * k], fields[29 + 3 * k] = code, poa
    for k, code in enumerate(icd10):  # code and companion pairs from token 129
        fields[129 + 2 * k], fields[130 + 2 * k] = code, "Y"
    return record("6000", fields)


def other_insurance(rtype, ih, payer_id, name, paid, deductible, adjustments):
    """A payer billed before this one, with what it paid on the line."""
    return record(rtype, {
        1: ih, 2: payer_id, 3: name, 4: "KVH", 5: "889012345", 6: "GRP2210", 10: "3",
        11: "1", 14: "SLF", 17: "DANIEL", 18: "OKAFOR", 21: paid, 22: paid, 23: "0.00",
        25: "TRI COUNTY FREIGHT", 26: "M", 52: "", 73: deductible, 76: adjustments,
    })


ATTENDING = record("6120", {
    1: "NOLAN", 2: "NOLAN-3321", 3: "PRIYA", 4: "NOLAN", 5: "R", 9: "F", 10: "FEMALE",
    30: "MD552190", 36: "0", 37: "1", 39: "1000000012",
})

SURGEON = record("6110", {
    1: "VOSS", 2: "VOSS-1180", 3: "MARTIN", 4: "VOSS", 9: "M", 10: "MALE", 23: "OP",
    32: "MD661044", 38: "False", 39: "1", 41: "1000000020",
})


def claim_lines(*charges_with_companions):
    out = []
    for chg, companions in charges_with_companions:
        out.append(chg)
        out.extend(companions)
        out.append(end_of_charge())
    return out


def main():
    lines = [
        "# Synthetic UB-04 batch: invented hospital, people and payers.",
        "# Made by examples/make_batch.py; ub04fmt formats it (make run).",
        PRACTICE, BILLING_PROVIDER, calc_prefs("0"), BREAK_PREFS,
    ]

    lines.append("# Claim 1: an emergency visit for a wrist fracture, ICD-10, first payer;")
    lines.append("# remarks long enough to wrap in box 80.")
    lines += [
        KEYSTONE,
        patient("RV100231", "MARGARET", "ELLSWORTH", "ANNE", "04021958", "F",
                "18 HOLLY CT", "MILLBROOK", "PA", "175551234"),
        subscriber("KVH", "771204455", "GRP5531", "MARGARET", "ELLSWORTH", "A", "SLF",
                   "MILLBROOK SCHOOL DISTRICT", "18 HOLLY CT", "MILLBROOK", "PA", "175551234"),
        ext_data("5012", [("20011", "1"), ("20012", "7"), ("20015", "Y")]),
        ext_data("5014", [("30005", "14"), ("30006", "19")]),
    ]
    fall = ("ACC", "03092024")
    remarks = ("PATIENT FELL ON ICE AT HOME; ACCIDENT REPORT ON FILE. "
               "NO THIRD PARTY LIABILITY.")
    lines += claim_lines(
        (charge("99284", "ER VISIT MOD HIGH SEVERITY", "0450", "03092024", "685.00",
                icd10=("S52501A", "W0009XA", "Y92009"), narrative=remarks, codes="PS-01",
                onset=fall, admission="03092024"), [ATTENDING, SURGEON]),
        (charge("73110", "XRAY WRIST 3 VIEWS", "0320", "03092024", "240.00",
                icd10=("S52501A",), onset=fall, admission="03092024", modifier="RT"),
         [ATTENDING, SURGEON]),
        (charge("25600", "CLOSED TX DISTAL RADIUS FX", "0450", "03092024", "910.00",
                icd10=("S52501A",), onset=fall, admission="03092024", modifier="RT"),
         [ATTENDING, SURGEON]),
        (charge("J1885", "KETOROLAC INJ 15 MG", "0636", "03092024", "38.50", units="2",
                icd10=("S52501A",), onset=fall, admission="03092024"), [ATTENDING, SURGEON]),
    )

    lines.append("# Claim 2: the secondary claim of an MRI already paid in part by the")
    lines.append("# first payer (other insurance 1, with its adjustment codes); the billing")
    lines.append("# provider is the billing party.")
    lines += [
        calc_prefs("1"),
        LAUREL,
        patient("RV100377", "DANIEL", "OKAFOR", "", "11231979", "M", "902 RIDGE RD",
                "ALTOONA", "PA", "16602"),
        subscriber("LMA", "440918827", "GRP0071", "AMARA", "OKAFOR", "N", "WIF",
                   "TRI COUNTY FREIGHT", "902 RIDGE RD", "ALTOONA", "PA", "16602"),
    ] + NO_CLAIM_EXT_DATA
    primary = lambda paid, adjustments: other_insurance(
        "6310", "INS1", "K5432", "KEYSTONE VALLEY HEALTH PLAN", paid, "150.00", adjustments)
    lines += claim_lines(
        (charge("72148", "MRI LUMBAR SPINE W/O DYE", "0610", "04112024", "1850.00",
                icd10=("M5416", "M5126"), payer_sequence="2", codes="PS-01"),
         [primary("1120.00", "CO|45|430.00|1|PR|1|150.00|0|PR|2|150.00|0")]),
        (charge("99203", "NEW PATIENT VISIT", "0510", "04112024", "210.00",
                icd10=("M5416",), payer_sequence="2"),
         [primary("145.00", "CO|45|45.00|1|PR|3|20.00|0")]),
    )

    lines.append("# Claim 3: physical therapy, 23 visits in one series: one claim over two")
    lines.append("# pages (or, with --split-long-claims, 22 lines and a claim of its own).")
    lines += [
        calc_prefs("0"),
        BLUE_RIDGE,
        patient("RV100512", "TOMASZ", "WIERZBICKI", "J", "07191966", "M", "3 MILL RACE RD",
                "HAGERSTOWN", "MD", "21740"),
        subscriber("BRC", "600113578", "GRP8800", "TOMASZ", "WIERZBICKI", "J", "SLF",
                   "ANTIETAM STONEWORKS", "3 MILL RACE RD", "HAGERSTOWN", "MD", "21740"),
    ] + NO_CLAIM_EXT_DATA
    therapy_remarks = ("PLAN OF CARE CERTIFIED 05/01/2024 BY DR HOLLOWAY; "
                       "PROGRESS NOTES ON REQUEST.")
    visits = []
    for visit in range(23):
        day = 6 + visit + visit // 5 * 2  # weekdays of May and June 2024
        month, day = (5, day) if day <= 31 else (6, day - 31)
        date = f"{month:02d}{day:02d}2024"
        procedure, description = [("97110", "THERAPEUTIC EXERCISE 15 MIN"),
                                  ("97140", "MANUAL THERAPY 15 MIN"),
                                  ("97530", "THERAPEUTIC ACTIVITIES 15 MIN")][visit % 3]
        visits.append((charge(procedure, description, "0420", date, "96.00", units="2",
                              icd10=("M25561", "M1711"), codes="PS-01",
                              narrative=therapy_remarks if visit == 0 else "", modifier="GP"),
                       []))
    lines += claim_lines(*visits)

    lines.append("# Claim 4: a replacement (claim action A) for a 2015 visit billed with")
    lines.append("# ICD-9 diagnoses; type of bill 0137, box 64 the original claim's number.")
    lines += [
        KEYSTONE,
        patient("RV088410", "LORRAINE", "PECK", "M", "09301949", "F", "77 ORCHARD ST",
                "MILLBROOK", "PA", "17555"),
        subscriber("KVH", "115500921", "GRP5531", "LORRAINE", "PECK", "M", "SLF", "RETIRED",
                   "77 ORCHARD ST", "MILLBROOK", "PA", "17555"),
    ] + NO_CLAIM_EXT_DATA
    lines += claim_lines(
        (charge("93000", "ELECTROCARDIOGRAM COMPLETE", "0730", "08142015", "145.00",
                icd9=(("78650", "Y"), ("4019", "Y")), action="A", codes="PS-01",
                dcn="21522800451207"), []),
        (charge("80053", "COMPREHENSIVE METABOLIC PANEL", "0301", "08142015", "112.00",
                icd9=(("78650", "Y"), ("25000", "Y")), action="A", dcn="21522800451207"), []),
    )

    lines.append("# Claim 5: a November 2015 visit whose charge carries both code sets.")
    lines.append("# The reference database says this payer takes ICD-10 only from")
    lines.append("# 2016-01-01, so the claim is billed with the ICD-9 codes.")
    lines += [
        KEYSTONE,
        patient("RV090112", "HAROLD", "BIXBY", "", "02141952", "M", "5 CANAL ST",
                "MILLBROOK", "PA", "17555"),
        subscriber("KVH", "115500988", "GRP5531", "HAROLD", "BIXBY", "", "SLF", "RETIRED",
                   "5 CANAL ST", "MILLBROOK", "PA", "17555"),
    ] + NO_CLAIM_EXT_DATA
    lines += claim_lines(
        (charge("99213", "OFFICE VISIT ESTABLISHED", "0510", "11122015", "132.00",
                icd9=(("4019", "Y"),), icd10=("I10",), codes="PS-01"), []),
    )

    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
