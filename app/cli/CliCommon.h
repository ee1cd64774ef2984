#pragma once
// What every subcommand of quillon-cli shares: option parsing, exit codes, the
// connections to the work and configuration databases, and progress output.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Replicator.h"

namespace cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Bad command-line input; the program prints it with the usage and exits with kUsage.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string Name;    // without the leading "--"
    std::string Value;   // name of the value in the help ("PATH"); empty for a flag
    std::string Help;
};

// The options of one subcommand: "--name value", "--name=value" or "--flag".
class Options {
public:
    Options(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs);
    bool Has(const std::string& name) const { return FValues.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = {}) const;
    // An integer option; raises UsageError when the value is not a whole number.
    int GetInt(const std::string& name, int fallback) const;
    const std::vector<std::string>& Positional() const { return FPositional; }

private:
    std::map<std::string, std::string> FValues;
    std::vector<std::string> FPositional;
};

struct Command {
    const char* Name;
    const char* Summary;
    const char* Usage;  // the line after "quillon-cli NAME"
    std::vector<OptionSpec> Specs;
    int (*Run)(const Options& options);
    // How many arguments without "--" the command takes; more are a usage error.
    std::size_t Positionals = 0;
};

// Every subcommand, in the order the help lists them.
const std::vector<Command>& Commands();
std::string CommandHelp(const Command& command);

// The options that name the databases and the login, then more, then --help.
std::vector<OptionSpec> ConnectionSpecs(bool withConfig = true, const std::vector<OptionSpec>& more = {});

// The environment variable's value, or fallback when it is unset or empty.
std::string EnvOr(const char* name, const char* fallback);

// Folder of the running program; Db/replcfg.gdb under it is the default configuration.
std::string ProgramFolder();
std::string DefaultConfigPath();

// The work and configuration connections with one transaction each, wired to a
// replicator whose progress goes to standard error.
class Session {
public:
    // Connects the work database (--db, required) and, when withConfig, the
    // configuration database (--config or the default), user and password from the
    // options or ISC_USER / ISC_PASSWORD.
    Session(const Options& options, bool withConfig);
    ~Session();
    TFIBDatabase WorkDB;
    TFIBTransaction WorkTran;
    TFIBDatabase ConfigDB;
    TFIBTransaction ConfigTran;
    TReplicator Replicator;
};

// Connects db with the program's parameter lines and starts tr on it.
void Connect(TFIBDatabase& db, TFIBTransaction& tr, const std::string& path, const std::string& user,
             const std::string& password);

// Writes a WIN1251 message to standard error as UTF-8, one line.
void PrintMessage(const std::string& win1251Text);
void PrintWarning(const std::string& win1251Text);
void PrintError(const std::string& utf8Text);

}  // namespace cli
