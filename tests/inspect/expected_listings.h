#pragma once

// The inspector's listings of the two test jobs, written out by hand from the printer command
// tables: the offsets are the pages' line offsets, the sequence rows mark what the printed sheet
// names differently from the bytes sent (SYN for DLE in every block, DC2 and CAN for the length
// bytes of blocks 2 and 4, the two SOH block 6 leaves unnamed, "(" for ")" in three PCL
// captions), and the PCL font column is the state a PCL printer holds after each line.

namespace quorvel::testing {

inline constexpr const char* kDotMatrixListing = R"LISTING(1154 bytes, read as dot-matrix commands

LINE  OFFSET  CONTENT
   1       0  "Quorvelprint" CR LF
   2      14  CR LF
   3      16  CR LF
   4      18  "ESC-Sequence: ESC SYN A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC SYN B BS 1234567@:" CR LF
              named  ESC SYN A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC SYN B BS 1234567@
              sent   ESC DLE A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC DLE B BS 1234567@
                         ^^^                                          ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
   5     101  "Barcode EAN8, 0.5 Zoll high, smallest width, plaintext LQ" CR LF
   6     160  [ESC DLE "A" barcode parameters: count 8, bytes 0 1 0 6 1 1 1 1] [ESC DLE "B" barcode data: length 8, "1234567@"] CR LF
   7     186  [ESC "k" select typeface: n 126] CR LF
   8     191  CR LF
   9     193  CR LF
  10     195  CR LF
  11     197  CR LF
  12     199  CR LF
  13     201  "ESC-Sequence: ESC SYN A BS SOH NUL STX EOT BEL SOH SOH NUL ESC SYN B DC2" CR LF
  14     275  "12345678901@:" CR LF
              named  ESC SYN A BS SOH NUL STX EOT BEL SOH SOH NUL ESC SYN B DC2 12345678901@
              sent   ESC DLE A BS SOH NUL STX EOT BEL SOH SOH NUL ESC DLE B FF  12345678901@
                         ^^^                                          ^^^   ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 16: named DC2 (18, 0x12), sent FF (12, 0x0C)
  15     290  "Barcode EAN13, 1 Zoll high, middle width, small plaintext" CR LF
  16     349  [ESC DLE "A" barcode parameters: count 8, bytes 1 0 2 4 7 1 1 0] [ESC DLE "B" barcode data: length 12, "12345678901@"] CR LF
  17     379  [ESC "k" select typeface: n 1] CR LF
  18     384  CR LF
  19     386  CR LF
  20     388  CR LF
  21     390  CR LF
  22     392  CR LF
  23     394  CR LF
  24     396  CR LF
  25     398  CR LF
  26     400  CR LF
  27     402  CR LF
  28     404  CR LF
  29     406  CR LF
  30     408  "ESC-Sequence: ESC SYN A BS SOH EOT NUL STX STX SOH SOH SOH ESC SYN B ACK 123456:" CR LF
              named  ESC SYN A BS SOH EOT NUL STX STX SOH SOH SOH ESC SYN B ACK 123456
              sent   ESC DLE A BS SOH EOT NUL STX STX SOH SOH SOH ESC DLE B ACK 123456
                         ^^^                                          ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
  31     490  "Barcode UPC-E, 1/6 Zoll high, small width, plaintext LQ" CR LF
  32     547  [ESC DLE "A" barcode parameters: count 8, bytes 1 4 0 2 2 1 1 1] [ESC DLE "B" barcode data: length 6, "123456"] CR LF
  33     571  [ESC "k" select typeface: n 126] CR LF
  34     576  CR LF
  35     578  CR LF
  36     580  CR LF
  37     582  "ESC-Sequence: ESC SYN A BS STX NUL NUL ACK STX STX STX SOH ESC SYN B CAN PLJ" CR LF
  38     660  "BARCODE DRUCK@:" CR LF
              named  ESC SYN A BS STX NUL NUL ACK STX STX STX SOH ESC SYN B CAN PLJ BARCODE DRUCK@
              sent   ESC DLE A BS STX NUL NUL ACK STX STX STX SOH ESC DLE B DC2 PLJ BARCODE DRUCK@
                         ^^^                                          ^^^   ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 16: named CAN (24, 0x18), sent DC2 (18, 0x12)
  39     677  "Barcode Code 39, 0.5 Zoll high, middle width, plaintext LQ" CR LF
  40     737  [ESC DLE "A" barcode parameters: count 8, bytes 2 0 0 6 2 2 2 1] [ESC DLE "B" barcode data: length 18, "PLJ BARCODE DRUCK@"] CR LF
  41     773  [ESC "k" select typeface: n 126] CR LF
  42     778  CR LF
  43     780  CR LF
  44     782  CR LF
  45     784  CR LF
  46     786  "ESC-Sequence: ESC SYN A BS ETX NUL SOH STX EOT EOT EOT NUL ESC SYN B EOT 123@:" CR LF
              named  ESC SYN A BS ETX NUL SOH STX EOT EOT EOT NUL ESC SYN B EOT 123@
              sent   ESC DLE A BS ETX NUL SOH STX EOT EOT EOT NUL ESC DLE B EOT 123@
                         ^^^                                          ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
  47     866  "Barcode Interleaved 2/5, 1 Zoll high, large width, small plaintext" CR LF
  48     934  [ESC DLE "A" barcode parameters: count 8, bytes 3 0 1 2 4 4 4 0] [ESC DLE "B" barcode data: length 4, "123@"] CR LF
  49     956  [ESC "k" select typeface: n 126] CR LF
  50     961  CR LF
  51     963  CR LF
  52     965  CR LF
  53     967  CR LF
  54     969  CR LF
  55     971  CR LF
  56     973  CR LF
  57     975  "ESC-Sequence: ESC SYN A BS EOT NUL NUL ACK SOH SOH ESC SYN B FF A0123456789g:" CR LF
              named  ESC SYN A BS EOT NUL NUL ACK SOH SOH         ESC SYN B FF A0123456789g
              sent   ESC DLE A BS EOT NUL NUL ACK SOH SOH SOH SOH ESC DLE B FF A0123456789g
                         ^^^                              +++ +++     ^^^
              ! byte 2: named SYN (22, 0x16), sent DLE (16, 0x10)
              ! byte 11: sent SOH (1, 0x01), not named
              ! byte 12: sent SOH (1, 0x01), not named
              ! byte 14: named SYN (22, 0x16), sent DLE (16, 0x10)
  58    1054  "Barcode 128 Set A, 0.5 Zoll high, smallest width, plaintext LQ" CR LF
  59    1118  [ESC DLE "A" barcode parameters: count 8, bytes 4 0 0 6 1 1 1 1] [ESC DLE "B" barcode data: length 12, "A0123456789g"] CR LF
  60    1148  [ESC "k" select typeface: n 126] CR LF
  61    1153  FF

summary
  bytes        1154
  lines        61
  commands     barcode parameters 6, barcode data 6, select typeface 6
  controls     CR 60, LF 60, FF 1
  unknown ESC  0
  warnings     0
  NUL bytes    11
  ends in FF   yes
  sequences    6 spelled out, 16 bytes differ
)LISTING";

inline constexpr const char* kPclListing = R"LISTING(441 bytes, read as PCL

LINE  OFFSET  FONT       PRI      SEC      CONTENT
   1       0  held       held     held     "Quorvelprint" CR LF
   2      14  held       held     held     "(Just for test, not scannable!)" CR LF
   3      47  held       held     held     CR LF
   4      49  held       held     held     CR LF
   5      51  held       held     held     CR LF
   6      53  primary    held     held     SI "Barcode 3 of 9: ESC(0Y" CR LF
              named  ESC (0Y
              sent   ESC )0Y
                         ^
              ! byte 2: named "(" (40, 0x28), sent ")" (41, 0x29)
   7      78  secondary  held     0Y       SO [ESC ")0Y" secondary symbol set: 0Y, 3 of 9 barcode] "ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
   8     111  primary    held     0Y       SI "ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
   9     140  primary    held     0Y       CR LF
  10     142  primary    held     0Y       CR LF
  11     144  primary    held     0Y       CR LF
  12     146  primary    held     0Y       CR LF
  13     148  primary    held     0Y       "Barcode 2 of 5: ESC(10U" CR LF
              named  ESC (10U
              sent   ESC (10U
  14     173  secondary  10U      0Y       SO [ESC "(10U" primary symbol set: 10U, PC-8] "1234567890" CR LF
  15     191  primary    10U      0Y       SI "1234567890" CR LF
  16     204  primary    10U      0Y       CR LF
  17     206  primary    10U      0Y       CR LF
  18     208  primary    10U      0Y       CR LF
  19     210  primary    10U      0Y       CR LF
  20     212  primary    10U      0Y       "Barcode EAN/UPC: ESC(8Y" CR LF
              named  ESC (8Y
              sent   ESC )8Y
                         ^
              ! byte 2: named "(" (40, 0x28), sent ")" (41, 0x29)
  21     237  secondary  10U      8Y       SO [ESC ")8Y" secondary symbol set: 8Y, EAN/UPC barcode] "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
  22     280  primary    10U      8Y       SI "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
  23     319  primary    10U      8Y       CR LF
  24     321  primary    10U      8Y       CR LF
  25     323  primary    10U      8Y       CR LF
  26     325  primary    10U      8Y       CR LF
  27     327  primary    10U      8Y       "Barcode ZIP: ESC(15Y" CR LF
              named  ESC (15Y
              sent   ESC )15Y
                         ^
              ! byte 2: named "(" (40, 0x28), sent ")" (41, 0x29)
  28     349  primary    10U      8Y       CR LF
  29     351  primary    10U      8Y       CR LF
  30     353  primary    10U      8Y       CR LF
  31     355  primary    10U      8Y       CR LF
  32     357  secondary  10U      15Y      SO [ESC ")15Y" secondary symbol set: 15Y, ZIP barcode] "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
  33     401  primary    10U      15Y      SI "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ" CR LF
  34     440  primary    10U      15Y      FF

summary
  bytes        441
  lines        34
  commands     secondary symbol set 3, primary symbol set 1
  controls     CR 33, LF 33, SI 5, SO 4, FF 1
  unknown ESC  0
  warnings     0
  NUL bytes    0
  ends in FF   yes
  sequences    4 spelled out, 3 bytes differ
)LISTING";

}  // namespace quorvel::testing
