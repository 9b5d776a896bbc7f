// Moved to the test-support library; this path stays for the code that includes it.
#include "testing/QvServerProcess.h"
