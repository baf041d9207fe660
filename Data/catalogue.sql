-- KVR 1.04 device catalogue.
--
-- The build runs this script through QtSql into Data/KVR104.sqlite beside the programs
-- (kvr-catalogue-build, which also refuses a catalogue that fails the catalogue check).
-- The program reads the tables with "select *", so extra columns are harmless.
--
-- MCUType_0 .. MCUType_7: the eight device type bytes that signature verification sends
-- to the programmer ("S" command, in this order, before the code size and the signature).
-- The firmware, and kvr-sim in its place, picks the chip's algorithms from them.
-- Each is stored as two upper-case hex digits.
--
--   MCUType_0  family index, 01..15h, the order of the 21 family codes (and of the shipped
--              MCURangeNumber): 01 ATMEL89C, 02 ATMEL89L, 03 ATMEL89S, 04 ATMELT89C51xx,
--              05 PHILIPS87C, 06 PHILIPS89C, 07 PHILIPS66X, 08 PHILIPSRX+, 09 PHILIPSRX2,
--              0A PHILIPS5xX2, 0B PHILIPS6xX2, 0C PHILIPSRx2XX, 0D PHILIPSVRx2XX,
--              0E PHILIPSLPC, 0F SSTFXX, 10 SSTCXX, 11 SST89x5xxRx, 12 WINBOND78E,
--              13 WINBOND78LE, 14 DALLASDS89C, 15 EEPROM24Cxx.
--   MCUType_1  model number within the family, 01, 02, ... in the order of the rows below;
--              family and model together name one chip.
--   MCUType_2  where the chip sits: 01 the 40-pin DIP socket, 02 the 44-pin PLCC adapter
--              (devices made only as PLCC), 03 20-pin DIP (AT89Cx051), 04 14/16-pin DIP
--              (P87LPC76x; the user is shown how to seat it), 05 8-pin DIP (24Cxx).
--   MCUType_3  number of lock bits, the same value as MCULockBits (00 for 24Cxx).
--   MCUType_4  size in KB of the secondary flash block (block 1): 00 none, 04, 08.
--   MCUType_5  kind of the special memory area: 00 none, 01 data EEPROM, 02 data flash
--              block, 03 LDROM, 04 encryption array, 05 user parameters (32 bytes + UCFG1).
--   MCUType_6  size of that area as a power of two: the area holds 2^n bytes
--              (05 = 32 B, 06 = 64 B, 0B = 2 KB, 0C = 4 KB, 0D = 8 KB); 00 when MCUType_5 is 00.
--   MCUType_7  write page size in bytes of a 24Cxx EEPROM (08, 10, 20, 40, 80); 00 for MCUs.
--
-- Sig_Byte_Count: how many of Sig_1, Sig_2, Sig_3 the programmer compares with the bytes
-- it reads from the chip ("0" for 24Cxx, which have no signature). Signature bytes are high
-- byte first, as a parallel programmer reads them; unused ones are 00.
--
-- Unconfirmed: the fields of the row whose value no datasheet or part database confirmed.
-- They hold our best value: lock bits 3 for the classic LB1..LB3 80C51 parts, 2 for SST
-- (hard and soft lock) and Winbond (lock and MOVC inhibit); for a signature, the maker byte
-- (Philips 15, Winbond DA) with Sig_Byte_Count 1, so that only the maker is compared.
-- A user whose chip reports other bytes sees them in the failed-verification message and
-- can correct the row. Source names where the facts come from: M an open programmer's
-- part database, AV avrdude, G geepro, ED an open 8051 downloader, DS Dallas datasheets,
-- TD the T89C51RD2 datasheet, NXP NXP datasheets.

CREATE TABLE BrandMaster (
  BrandNumber INTEGER PRIMARY KEY,
  BrandName TEXT NOT NULL
);

CREATE TABLE RangeMaster (
  MCURangeNumber INTEGER PRIMARY KEY CHECK (MCURangeNumber <> 0),
  MCURangeName TEXT NOT NULL,
  BrandNumber INTEGER NOT NULL REFERENCES BrandMaster (BrandNumber)
);

CREATE TABLE MCUMaster (
  MCUIDNumber TEXT PRIMARY KEY,
  MCUModel TEXT NOT NULL,
  MCUCodeROMSize INTEGER NOT NULL,
  MCULockBits INTEGER NOT NULL,
  MCURangeNumber INTEGER NOT NULL REFERENCES RangeMaster (MCURangeNumber),
  "DIP(Pins+Package)" TEXT NOT NULL,
  "PLCC(Pins+Package)" TEXT NOT NULL,
  MCUType_0 TEXT NOT NULL,
  MCUType_1 TEXT NOT NULL,
  MCUType_2 TEXT NOT NULL,
  MCUType_3 TEXT NOT NULL,
  MCUType_4 TEXT NOT NULL,
  MCUType_5 TEXT NOT NULL,
  MCUType_6 TEXT NOT NULL,
  MCUType_7 TEXT NOT NULL,
  Sig_Byte_Count TEXT NOT NULL,
  Sig_1 TEXT NOT NULL,
  Sig_2 TEXT NOT NULL,
  Sig_3 TEXT NOT NULL,
  Unconfirmed TEXT NOT NULL DEFAULT '',
  Source TEXT NOT NULL DEFAULT ''
);

-- The warning switches: 1 start-up tip, 2 erase warning, 3 lock warning, 4 Auto warning.
CREATE TABLE StartTip (
  ID INTEGER PRIMARY KEY,
  Tip BOOLEAN NOT NULL
);

INSERT INTO StartTip (ID, Tip) VALUES (1, 1), (2, 1), (3, 1), (4, 1);

INSERT INTO BrandMaster (BrandNumber, BrandName) VALUES
  (1, 'ATMEL'),
  (2, 'PHILIPS'),
  (3, 'SST'),
  (4, 'WINBOND'),
  (5, 'DALLAS'),
  (6, 'EEPROM');

-- Brand name followed by range name is the family code.
INSERT INTO RangeMaster (MCURangeNumber, MCURangeName, BrandNumber) VALUES
  (1, '89C', 1),
  (2, '89L', 1),
  (3, '89S', 1),
  (4, 'T89C51xx', 1),
  (5, '87C', 2),
  (6, '89C', 2),
  (7, '66X', 2),
  (8, 'RX+', 2),
  (9, 'RX2', 2),
  (10, '5xX2', 2),
  (11, '6xX2', 2),
  (12, 'Rx2XX', 2),
  (13, 'VRx2XX', 2),
  (14, 'LPC', 2),
  (15, 'FXX', 3),
  (16, 'CXX', 3),
  (17, '89x5xxRx', 3),
  (18, '78E', 4),
  (19, '78LE', 4),
  (20, 'DS89C', 5),
  (21, '24Cxx', 6);

-- Columns of every device row, in order:
-- MCUIDNumber, MCUModel, MCUCodeROMSize, MCULockBits, MCURangeNumber,
-- DIP(Pins+Package), PLCC(Pins+Package), MCUType_0 .. MCUType_7,
-- Sig_Byte_Count, Sig_1, Sig_2, Sig_3, Unconfirmed, Source.

-- ATMEL89C. Shipped as the 12 V programming parts (signature 3rd byte FF); the 5 V parts
-- report 05 there. AT89Cx051: the third signature byte is unconfirmed, so only two compared.
INSERT INTO MCUMaster VALUES
  ('001', 'AT89C51',   4096,  3, 1, '40 PDIP', '44 PLCC', '01','01','01','03','00','00','00','00', '3', '1E','51','FF', '', 'M, G, ED'),
  ('002', 'AT89C52',   8192,  3, 1, '40 PDIP', '44 PLCC', '01','02','01','03','00','00','00','00', '3', '1E','52','FF', '', 'M, G, ED'),
  ('003', 'AT89C55',   20480, 3, 1, '40 PDIP', '44 PLCC', '01','03','01','03','00','00','00','00', '3', '1E','55','FF', '', 'M'),
  ('004', 'AT89C55WD', 20480, 3, 1, '40 PDIP', '44 PLCC', '01','04','01','03','00','00','00','00', '3', '1E','55','06', '', 'M'),
  ('005', 'AT89C1051', 1024,  2, 1, '20 PDIP', '-',       '01','05','03','02','00','00','00','00', '2', '1E','11','00', 'Sig_3', 'M, G'),
  ('006', 'AT89C2051', 2048,  2, 1, '20 PDIP', '-',       '01','06','03','02','00','00','00','00', '2', '1E','21','00', 'Sig_3', 'M, G'),
  ('007', 'AT89C4051', 4096,  2, 1, '20 PDIP', '-',       '01','07','03','02','00','00','00','00', '2', '1E','41','00', 'Sig_3', 'M, G');

-- ATMEL89L
INSERT INTO MCUMaster VALUES
  ('00A', 'AT89LV51', 4096,  3, 2, '40 PDIP', '44 PLCC', '02','01','01','03','00','00','00','00', '3', '1E','61','FF', '', 'M, ED'),
  ('00B', 'AT89LV52', 8192,  3, 2, '40 PDIP', '44 PLCC', '02','02','01','03','00','00','00','00', '3', '1E','62','FF', '', 'M, ED'),
  ('00C', 'AT89LV55', 20480, 3, 2, '40 PDIP', '44 PLCC', '02','03','01','03','00','00','00','00', '3', '1E','65','FF', '', 'M, ED');

-- ATMEL89S. "017" is the AT89S8252 with its 2 KB data EEPROM. AT89S53, AT89S8252 and
-- AT89S8253: the third signature byte is unconfirmed, so only two compared.
INSERT INTO MCUMaster VALUES
  ('013', 'AT89S51',   4096,  3, 3, '40 PDIP', '44 PLCC', '03','01','01','03','00','00','00','00', '3', '1E','51','06', '', 'M, AV'),
  ('014', 'AT89S52',   8192,  3, 3, '40 PDIP', '44 PLCC', '03','02','01','03','00','00','00','00', '3', '1E','52','06', '', 'M, AV, ED'),
  ('015', 'AT89S53',   12288, 3, 3, '40 PDIP', '44 PLCC', '03','03','01','03','00','00','00','00', '2', '1E','53','00', 'Sig_3', 'M'),
  ('017', 'AT89S8252', 8192,  3, 3, '40 PDIP', '44 PLCC', '03','04','01','03','00','01','0B','00', '2', '1E','72','00', 'Sig_3', 'M'),
  ('018', 'AT89S8253', 12288, 3, 3, '40 PDIP', '44 PLCC', '03','05','01','03','00','01','0B','00', '2', '1E','73','00', 'Sig_3', 'M');

-- ATMELT89C51xx. Their signatures have four bytes (58 D7 FC FF and 58 D7 EC EF); the
-- programmer compares the first three. Lock bits unconfirmed. The T89C51RD2 bytes are its
-- boot loader's identification; that a parallel read gives the same is unconfirmed.
INSERT INTO MCUMaster VALUES
  ('01A', 'T89C51RD2',  65536, 3, 4, '40 PDIP', '44 PLCC', '04','01','01','03','00','00','00','00', '3', '58','D7','FC', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'TD'),
  ('01B', 'AT89C51RD2', 65536, 3, 4, '40 PDIP', '44 PLCC', '04','02','01','03','00','00','00','00', '3', '58','D7','EC', 'MCULockBits', 'M');

-- PHILIPS87C, one-time programmable, each with a 64-byte encryption array. Identifiers are
-- whole numbers: the 6-clock commands are offered to the ones numbered 71 to 74, the X2 parts.
-- FA..RD: lock bits unconfirmed. RA2..RD2: signature unconfirmed (maker byte only).
INSERT INTO MCUMaster VALUES
  ('80', 'P87C51FA',  8192,  3, 5, '40 PDIP', '44 PLCC', '05','01','01','03','00','04','06','00', '2', '15','B1','00', 'MCULockBits', 'M'),
  ('81', 'P87C51FB',  16384, 3, 5, '40 PDIP', '44 PLCC', '05','02','01','03','00','04','06','00', '2', '15','B2','00', 'MCULockBits', 'M'),
  ('82', 'P87C51FC',  32768, 3, 5, '40 PDIP', '44 PLCC', '05','03','01','03','00','04','06','00', '2', '15','B3','00', 'MCULockBits', 'M'),
  ('83', 'P87C51RA',  8192,  3, 5, '40 PDIP', '44 PLCC', '05','04','01','03','00','04','06','00', '2', '15','CA','00', 'MCULockBits', 'M'),
  ('84', 'P87C51RB',  16384, 3, 5, '40 PDIP', '44 PLCC', '05','05','01','03','00','04','06','00', '2', '15','CB','00', 'MCULockBits', 'M'),
  ('85', 'P87C51RC',  32768, 3, 5, '40 PDIP', '44 PLCC', '05','06','01','03','00','04','06','00', '2', '15','CC','00', 'MCULockBits', 'M'),
  ('86', 'P87C51RD',  65536, 3, 5, '40 PDIP', '44 PLCC', '05','07','01','03','00','04','06','00', '2', '15','CD','00', 'MCULockBits', 'M'),
  ('71', 'P87C51RA2', 8192,  3, 5, '40 PDIP', '44 PLCC', '05','08','01','03','00','04','06','00', '1', '15','00','00', 'Sig_1, Sig_2, Sig_3', 'NXP'),
  ('72', 'P87C51RB2', 16384, 3, 5, '40 PDIP', '44 PLCC', '05','09','01','03','00','04','06','00', '1', '15','00','00', 'Sig_1, Sig_2, Sig_3', 'NXP'),
  ('73', 'P87C51RC2', 32768, 3, 5, '40 PDIP', '44 PLCC', '05','0A','01','03','00','04','06','00', '1', '15','00','00', 'Sig_1, Sig_2, Sig_3', 'NXP'),
  ('74', 'P87C51RD2', 65536, 3, 5, '40 PDIP', '44 PLCC', '05','0B','01','03','00','04','06','00', '1', '15','00','00', 'Sig_1, Sig_2, Sig_3', 'NXP');

-- PHILIPS89C. Sizes by model number; lock bits and signature unconfirmed.
INSERT INTO MCUMaster VALUES
  ('020', 'P89C51', 4096,  3, 6, '40 PDIP', '44 PLCC', '06','01','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('021', 'P89C52', 8192,  3, 6, '40 PDIP', '44 PLCC', '06','02','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('022', 'P89C54', 16384, 3, 6, '40 PDIP', '44 PLCC', '06','03','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('023', 'P89C58', 32768, 3, 6, '40 PDIP', '44 PLCC', '06','04','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- PHILIPS66X, PLCC only. "039" is the P89C669 with its 8 KB data block; its 96 KB of code
-- is more than the programmer's 64 KB, so 64 KB is shipped. Lock bits and signatures
-- unconfirmed.
INSERT INTO MCUMaster VALUES
  ('035', 'P89C660', 16384, 3, 7, '-', '44 PLCC', '07','01','02','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('036', 'P89C662', 32768, 3, 7, '-', '44 PLCC', '07','02','02','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('037', 'P89C664', 65536, 3, 7, '-', '44 PLCC', '07','03','02','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('038', 'P89C668', 65536, 3, 7, '-', '44 PLCC', '07','04','02','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('039', 'P89C669', 65536, 3, 7, '-', '44 PLCC', '07','05','02','03','00','02','0D','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP');

-- PHILIPSRX+. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('028', 'P89C51RA+', 8192,  3, 8, '40 PDIP', '44 PLCC', '08','01','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('029', 'P89C51RB+', 16384, 3, 8, '40 PDIP', '44 PLCC', '08','02','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('02A', 'P89C51RC+', 32768, 3, 8, '40 PDIP', '44 PLCC', '08','03','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('02B', 'P89C51RD+', 65536, 3, 8, '40 PDIP', '44 PLCC', '08','04','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- PHILIPSRX2. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('02C', 'P89C51RA2', 8192,  3, 9, '40 PDIP', '44 PLCC', '09','01','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('02D', 'P89C51RB2', 16384, 3, 9, '40 PDIP', '44 PLCC', '09','02','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('02E', 'P89C51RC2', 32768, 3, 9, '40 PDIP', '44 PLCC', '09','03','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('02F', 'P89C51RD2', 65536, 3, 9, '40 PDIP', '44 PLCC', '09','04','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP');

-- PHILIPS5xX2, the 87C X2 parts; sizes by model number. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('040', 'P87C51X2', 4096,  3, 10, '40 PDIP', '44 PLCC', '0A','01','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('041', 'P87C52X2', 8192,  3, 10, '40 PDIP', '44 PLCC', '0A','02','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('042', 'P87C54X2', 16384, 3, 10, '40 PDIP', '44 PLCC', '0A','03','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('043', 'P87C58X2', 32768, 3, 10, '40 PDIP', '44 PLCC', '0A','04','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- PHILIPS6xX2. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('048', 'P89C60X2', 65536, 3, 11, '40 PDIP', '44 PLCC', '0B','01','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('049', 'P89C61X2', 65536, 3, 11, '40 PDIP', '44 PLCC', '0B','02','01','03','00','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- PHILIPSRx2XX, with a 4 KB data block. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('04C', 'P89C51RA2xx', 8192,  3, 12, '40 PDIP', '44 PLCC', '0C','01','01','03','00','02','0C','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('04D', 'P89C51RB2xx', 16384, 3, 12, '40 PDIP', '44 PLCC', '0C','02','01','03','00','02','0C','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('04E', 'P89C51RC2xx', 32768, 3, 12, '40 PDIP', '44 PLCC', '0C','03','01','03','00','02','0C','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('04F', 'P89C51RD2xx', 65536, 3, 12, '40 PDIP', '44 PLCC', '0C','04','01','03','00','02','0C','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP');

-- PHILIPSVRx2XX, with an 8 KB block 1. "75" is the P89V51RD2, whose two blocks the user
-- chooses between. Lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('05A', 'P89V51RB2', 16384, 3, 13, '40 PDIP', '44 PLCC', '0D','01','01','03','08','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('05B', 'P89V51RC2', 32768, 3, 13, '40 PDIP', '44 PLCC', '0D','02','01','03','08','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP'),
  ('75',  'P89V51RD2', 65536, 3, 13, '40 PDIP', '44 PLCC', '0D','03','01','03','08','00','00','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', 'NXP');

-- PHILIPSLPC: "08B" and "08C", the small parts the user is shown how to seat. Sizes by
-- model number; lock bits and signatures unconfirmed.
INSERT INTO MCUMaster VALUES
  ('08B', 'P87LPC760', 1024, 3, 14, '14 PDIP', '-', '0E','01','04','03','00','05','05','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('08C', 'P87LPC761', 2048, 3, 14, '16 PDIP', '-', '0E','02','04','03','00','05','05','00', '1', '15','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- SSTFXX and SSTCXX, with a 4 KB block 1 at F000h. Lock bits unconfirmed.
INSERT INTO MCUMaster VALUES
  ('0A1', 'SST89F54', 16384, 2, 15, '40 PDIP', '44 PLCC', '0F','01','01','02','04','00','00','00', '2', 'BF','E3','00', 'MCULockBits', 'M'),
  ('0A2', 'SST89F58', 32768, 2, 15, '40 PDIP', '44 PLCC', '0F','02','01','02','04','00','00','00', '2', 'BF','E1','00', 'MCULockBits', 'M'),
  ('0A3', 'SST89C54', 16384, 2, 16, '40 PDIP', '44 PLCC', '10','01','01','02','04','00','00','00', '2', 'BF','E4','00', 'MCULockBits', 'M'),
  ('0A4', 'SST89C58', 32768, 2, 16, '40 PDIP', '44 PLCC', '10','02','01','02','04','00','00','00', '2', 'BF','E2','00', 'MCULockBits', 'M');

-- SST89x5xxRx, with an 8 KB block 1. RD kind: "071" SST89E564RD and "76" SST89E516RD2,
-- whose two blocks the user chooses between; RC kind: "072" SST89E554RC. The 3 V parts
-- (SST89V...) report other signatures and are not shipped. Lock bits unconfirmed.
INSERT INTO MCUMaster VALUES
  ('071', 'SST89E564RD',  65536, 2, 17, '40 PDIP', '44 PLCC', '11','01','01','02','08','00','00','00', '2', 'BF','91','00', 'MCULockBits', 'M'),
  ('072', 'SST89E554RC',  32768, 2, 17, '40 PDIP', '44 PLCC', '11','02','01','02','08','00','00','00', '2', 'BF','99','00', 'MCULockBits', 'M'),
  ('76',  'SST89E516RD2', 65536, 2, 17, '40 PDIP', '44 PLCC', '11','03','01','02','08','00','00','00', '2', 'BF','93','00', 'MCULockBits', 'M, ED'),
  ('07A', 'SST89E52RD2',  8192,  2, 17, '40 PDIP', '44 PLCC', '11','04','01','02','08','00','00','00', '2', 'BF','9C','00', 'MCULockBits', 'M'),
  ('07B', 'SST89E54RD2',  16384, 2, 17, '40 PDIP', '44 PLCC', '11','05','01','02','08','00','00','00', '2', 'BF','9F','00', 'MCULockBits', 'M'),
  ('07C', 'SST89E58RD2',  32768, 2, 17, '40 PDIP', '44 PLCC', '11','06','01','02','08','00','00','00', '2', 'BF','9B','00', 'MCULockBits', 'M');

-- WINBOND78E. "064" W78E58B and "065" W78E516B have a 4 KB LDROM. DA E0 and DA 61 are family
-- identifiers each shared by two parts. Lock bits unconfirmed; the W78E516B signature
-- unconfirmed and its size by model number.
INSERT INTO MCUMaster VALUES
  ('060', 'W78E51B',  4096,  2, 18, '40 PDIP', '44 PLCC', '12','01','01','02','00','00','00','00', '2', 'DA','E0','00', 'MCULockBits', 'M'),
  ('061', 'W78E52B',  8192,  2, 18, '40 PDIP', '44 PLCC', '12','02','01','02','00','00','00','00', '2', 'DA','E0','00', 'MCULockBits', 'M'),
  ('062', 'W78E54B',  16384, 2, 18, '40 PDIP', '44 PLCC', '12','03','01','02','00','00','00','00', '2', 'DA','61','00', 'MCULockBits', 'M'),
  ('064', 'W78E58B',  32768, 2, 18, '40 PDIP', '44 PLCC', '12','04','01','02','00','03','0C','00', '2', 'DA','61','00', 'MCULockBits', 'M'),
  ('065', 'W78E516B', 65536, 2, 18, '40 PDIP', '44 PLCC', '12','05','01','02','00','03','0C','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- WINBOND78LE, the low-voltage parts. Sizes by model number; lock bits and signatures
-- unconfirmed.
INSERT INTO MCUMaster VALUES
  ('068', 'W78LE51',  4096,  2, 19, '40 PDIP', '44 PLCC', '13','01','01','02','00','00','00','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('069', 'W78LE52',  8192,  2, 19, '40 PDIP', '44 PLCC', '13','02','01','02','00','00','00','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('06A', 'W78LE54',  16384, 2, 19, '40 PDIP', '44 PLCC', '13','03','01','02','00','00','00','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('06B', 'W78LE58',  32768, 2, 19, '40 PDIP', '44 PLCC', '13','04','01','02','00','00','00','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', ''),
  ('06C', 'W78LE516', 65536, 2, 19, '40 PDIP', '44 PLCC', '13','05','01','02','00','00','00','00', '1', 'DA','00','00', 'MCULockBits, Sig_1, Sig_2, Sig_3', '');

-- DALLASDS89C. Sizes by model number.
INSERT INTO MCUMaster VALUES
  ('0D0', 'DS89C430', 16384, 3, 20, '40 PDIP', '44 PLCC', '14','01','01','03','00','00','00','00', '3', 'DA','43','01', '', 'DS'),
  ('0D1', 'DS89C440', 32768, 3, 20, '40 PDIP', '44 PLCC', '14','02','01','03','00','00','00','00', '3', 'DA','44','01', '', 'DS'),
  ('0D2', 'DS89C450', 65536, 3, 20, '40 PDIP', '44 PLCC', '14','03','01','03','00','00','00','00', '3', 'DA','45','01', '', 'DS');

-- EEPROM24Cxx: no signature and no lock bits; MCUType_7 is the write page size.
INSERT INTO MCUMaster VALUES
  ('0E0', '24C01',  128,   0, 21, '8 PDIP', '-', '15','01','05','00','00','00','00','08', '0', '00','00','00', '', 'M'),
  ('0E1', '24C02',  256,   0, 21, '8 PDIP', '-', '15','02','05','00','00','00','00','08', '0', '00','00','00', '', 'M'),
  ('0E2', '24C04',  512,   0, 21, '8 PDIP', '-', '15','03','05','00','00','00','00','10', '0', '00','00','00', '', 'M'),
  ('0E3', '24C08',  1024,  0, 21, '8 PDIP', '-', '15','04','05','00','00','00','00','10', '0', '00','00','00', '', 'M'),
  ('0E4', '24C16',  2048,  0, 21, '8 PDIP', '-', '15','05','05','00','00','00','00','10', '0', '00','00','00', '', 'M'),
  ('0E5', '24C32',  4096,  0, 21, '8 PDIP', '-', '15','06','05','00','00','00','00','20', '0', '00','00','00', '', 'M'),
  ('0E6', '24C64',  8192,  0, 21, '8 PDIP', '-', '15','07','05','00','00','00','00','20', '0', '00','00','00', '', 'M'),
  ('0E7', '24C128', 16384, 0, 21, '8 PDIP', '-', '15','08','05','00','00','00','00','40', '0', '00','00','00', '', 'M'),
  ('0E8', '24C256', 32768, 0, 21, '8 PDIP', '-', '15','09','05','00','00','00','00','40', '0', '00','00','00', '', 'M'),
  ('0E9', '24C512', 65536, 0, 21, '8 PDIP', '-', '15','0A','05','00','00','00','00','80', '0', '00','00','00', '', 'M');
