// The service object that the library's worker builds.
#include <new>

#include "logservice/CLogService.h"
#include "logservice/ModuleState.h"

CLogService* CreateServiceObject() {
    return new (std::nothrow) CLogService();
}
