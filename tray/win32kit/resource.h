// Resource IDs of mu_quiren11e.exe, shared by app.rc and the code.
#pragma once

#define QUIREN_IDI_PROGRAM 1  // the program icon, 32 x 32 and 16 x 16
#define QUIREN_IDB_SPLASH 2   // the splash picture, 368 x 261
