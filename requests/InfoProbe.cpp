#include "requests/RequestHandlers.h"

void OnInfoProbe(MSG&) {}
