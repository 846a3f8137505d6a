// What the chapter module answers the item store: it keeps its own items (996-1009) under
// their names in the printer's section of the settings ini and no other item.
#pragma once

struct DriverContext;

// The chapter module's event callback, as the module bus calls it: for the item offers of a
// save or load (events 4 and 5, block StoreItemOffer) it leaves the reply at 0 for its items
// and answers 0; for every other item it sets the reply to 1 and answers 1, which ends the
// dispatch. Other events and a null block answer 0.
int ChapterHandleEvent(DriverContext* ctx, int event, void* argument, void* data);
