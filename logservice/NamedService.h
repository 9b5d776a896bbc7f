// Starting and stopping the board's services by name through the services API. Both print
// what happened on standard output, as the board's console shows it, and return 1 or 0.
#pragma once
#include <string>

namespace script {

// Activates the service registered under name: "Service %s started." or "Failed to start
// service %s error %d.".
int StartNamedService(const std::string& name);

// Finds the service by its device prefix (the first three characters of name in upper case and
// "1:") and unloads it: "Service %s stopped.", "Failed to find service %s error %d." or
// "Failed to stop service %s error %d.".
int StopNamedService(const std::string& name);

} // namespace script
