// create-config: a new configuration database with the installed schema.
#include <iostream>

#include "app/cli/Commands.h"
#include "schema/ConfigSchema.h"

namespace cli {

namespace {

int Run(const Options& options) {
    if (options.Positional().size() != 1) throw UsageError("create-config needs exactly one PATH");
    const std::string path = options.Positional()[0];
    CreateConfigDatabase(path, options.Get("user", EnvOr("ISC_USER", "SYSDBA")),
                         options.Get("password", EnvOr("ISC_PASSWORD", "masterkey")));
    std::cerr << "Configuration database created: " << path << std::endl;
    return kSuccess;
}

}  // namespace

Command CreateConfigCommand() {
    return {"create-config",
            "create a configuration database file and install its tables and generators",
            "PATH [OPTIONS]",
            {{"user", "NAME", "owner of the new database (default: $ISC_USER, else SYSDBA)"},
             {"password", "TEXT", "password (default: $ISC_PASSWORD, else masterkey)"},
             {"help", "", "show this help"}},
            &Run,
            1};
}

}  // namespace cli
