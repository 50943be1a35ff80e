// The one table of the server's endpoints.
#pragma once

class CRouter;

// Adds every endpoint the server answers to the router.
void AddWebDriverRoutes(CRouter& router);
