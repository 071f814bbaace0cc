#pragma once

// Resource numbers of Lullvane.scr, shared by the resource script and the code.
#define IDB_PREVIEW_STILL 101
