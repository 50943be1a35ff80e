#include "requests/MessageWatch.h"

// No watches can be registered in this build, so there is nobody to tell.
void WatchRetrievedMessage(const CWPRETSTRUCT&, int) {}
