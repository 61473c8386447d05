// Load/unload entry and module init/deinit: all succeed and do nothing; the
// module keeps no state beyond its statically initialised records.
#include "module/exports.h"

void GAUGE_CALL ModuleInit(void) {}
void GAUGE_CALL ModuleDeinit(void) {}

#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
#endif
