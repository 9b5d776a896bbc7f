// The tool's process-wide objects: its one log writer and its one client-library binding.
// Each is built on its first use, the log before the binding, so at process exit the binding
// (which unloads the library) goes first and the log's STOP record is its last line.
#pragma once
#include "common/CLog.h"
#include "extract/ClientLibrary.h"

// The log "Dovetrix.L00" under the flavour's fixed base path, START written, file kept open.
CLog& ToolLog();
// The client-library binding on ToolLog(); nothing loaded until ToolLibrary().Load().
ClientLibrary& ToolLibrary();
