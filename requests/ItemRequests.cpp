#include "requests/RequestHandlers.h"

void OnGetItemRect(MSG&) {}
void OnLocateItem(MSG&) {}
