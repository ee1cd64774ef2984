// create-config: a new configuration database with the installed schema.
#include <iostream>

#include "app/cli/Commands.h"
#include "schema/ConfigSchema.h"

namespace cli {

namespace {

int Run(const Options& options) {
    if (options.Positional().size() != 1) throw UsageError("create-config needs exactly one PATH");
    const std::string path = options.Positional()[0];
    const char* user = std::getenv("ISC_USER");
    const char* password = std::getenv("ISC_PASSWORD");
    CreateConfigDatabase(path, options.Get("user", user && *user ? user : "SYSDBA"),
                         options.Get("password", password && *password ? password : "masterkey"));
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
