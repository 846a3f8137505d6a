// The printer-interface front's busy flag. DEVMODE conversion, the printer-event handlers for
// initialisation and added connections, and the housekeeping run set it to 1 while they work;
// every driver context opened meanwhile is marked (open kind bit 0x40000) so that it files its
// settings per machine.
#pragma once

extern int UiBusyFlag;

