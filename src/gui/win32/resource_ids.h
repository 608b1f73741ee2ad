#pragma once

// Resource identifiers shared by quorvel.rc and the code (plain macros: the resource compiler
// reads this file too).
#define IDI_QUORVEL 1
#define IDB_LOGO 101
#define IDI_ABOUT 102
