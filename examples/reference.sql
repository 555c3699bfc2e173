-- The reference tables the formatter reads, as an SQLite script. The build
-- turns it into build/examples/reference.db; pass that file with --dsn.
--
-- Names and columns are those of the host's database. Dates are text,
-- "YYYY-MM-DD" (a time after the date is allowed and ignored).

-- The practice's own name and address, for forms that print it in box 1.
CREATE TABLE COMPANY (
  Company_ID_Number INTEGER PRIMARY KEY,
  Name TEXT,
  Address_Line_1 TEXT,
  Address_Line_2 TEXT,
  City TEXT,
  State TEXT,
  Zip_Code TEXT
);
CREATE TABLE PRACTICE (
  IH_Code TEXT PRIMARY KEY,
  Company_ID_Number INTEGER REFERENCES COMPANY (Company_ID_Number)
);

-- Alternate billing NPI (box 56) of a practice and billing provider; an
-- empty Billing_Form or Insurance_IH_Code applies to every form or payer.
CREATE TABLE Folio_MultiNPI (
  Practice_IH_Code TEXT NOT NULL,
  Provider_IH_Code TEXT NOT NULL,
  Billing_Form TEXT NOT NULL DEFAULT '',
  Insurance_IH_Code TEXT NOT NULL DEFAULT '',
  Alternate_NPI TEXT
);

-- Payer-specific billing identifiers; SysType 1609, "*" matches any key.
-- Override_Value holds "~"-separated pieces; the first is the identifier.
CREATE TABLE Insurance_Override (
  SysType INTEGER NOT NULL,
  SysKey TEXT NOT NULL,
  Practice_IH_Code TEXT NOT NULL,
  Insurance_IH_Code TEXT NOT NULL,
  Billing_Form TEXT NOT NULL,
  Override_Value TEXT,
  Activation_Date TEXT
);

-- NPI-only cut-over dates: type "00" standard, "01" billing form, "02"
-- payer-organization prefix, "03" insurance IH code.
CREATE TABLE Folio_NpiLegacy (
  NPILEG_Type TEXT NOT NULL,
  NPILEG_Value TEXT NOT NULL DEFAULT '',
  NPILEG_Date TEXT NOT NULL
);

-- ICD-10 readiness: level 1 standard, 2 payer-organization prefix, 3
-- insurance IH code.
CREATE TABLE InsuranceReadiness (
  InsuranceLevelTypeID INTEGER NOT NULL,
  LevelCode TEXT NOT NULL,
  ICD10ReadinessDate TEXT NOT NULL
);

-- ---- example rows (invented) --------------------------------------------------

INSERT INTO COMPANY VALUES (1, 'River Clinic Holdings', '12 Mill Road', 'Suite 4', 'Riverton', 'PA', '17001');
INSERT INTO PRACTICE VALUES ('PR1', 1);

-- Practice PR1 bills through provider BP1 under another NPI on this form.
INSERT INTO Folio_MultiNPI VALUES ('PR1', 'BP1', 'UB04PPA', '', '1234567893');
INSERT INTO Folio_MultiNPI VALUES ('PR1', 'BP1', '', '', '1999999984');

INSERT INTO Insurance_Override VALUES (1609, '*', '*', '*', '*', 'GRP-0042~ALL', '2015-01-01');

-- Insurance INS1 still takes legacy identifiers until 2099.
INSERT INTO Folio_NpiLegacy VALUES ('00', '', '2008-05-23');
INSERT INTO Folio_NpiLegacy VALUES ('03', 'INS1', '2099-01-01');

-- Standard ICD-10 date, and a payer that took ICD-10 only from 2016.
INSERT INTO InsuranceReadiness VALUES (1, 'SYSTEM', '2015-10-01');
INSERT INTO InsuranceReadiness VALUES (3, 'INS1', '2016-01-01');
