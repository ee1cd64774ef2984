#pragma once
// The subcommands of quillon-cli, one unit each.
#include "app/cli/CliCommon.h"

namespace cli {

Command CreateConfigCommand();
Command ExportCommand();
Command ImportCommand();
Command StatusCommand();
Command PrepareCommand();
Command UnprepareCommand();

}  // namespace cli
