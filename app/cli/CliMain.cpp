// quillon-cli: the headless command line of Quillon.
#include <iostream>

#include "app/cli/CliCommon.h"
#include "app/cli/Commands.h"
#include "fib/CodePage1251.h"
#include "fib/FIBError.h"

namespace cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        CreateConfigCommand(),
        ExportCommand(),
        ImportCommand(),
        StatusCommand(),
        PrepareCommand(),
        UnprepareCommand(),
    };
    return commands;
}

}  // namespace cli

namespace {

void PrintOverview(std::ostream& out) {
    out << "Usage: quillon-cli COMMAND [OPTIONS]\n"
           "Replicates data between Firebird databases from the command line.\n\nCommands:\n";
    for (const auto& c : cli::Commands()) {
        std::string name = std::string("  ") + c.Name;
        name.resize(18, ' ');
        out << name << c.Summary << "\n";
    }
    out << "\nRun \"quillon-cli COMMAND --help\" for the options of a command.\n"
           "Exit status: 0 success, 1 the operation failed, 2 a usage error.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintOverview(std::cerr);
        return cli::kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintOverview(std::cout);
        return cli::kSuccess;
    }
    const cli::Command* command = nullptr;
    for (const auto& c : cli::Commands())
        if (args[0] == c.Name) command = &c;
    if (!command) {
        cli::PrintError("unknown command \"" + args[0] + "\"");
        PrintOverview(std::cerr);
        return cli::kUsage;
    }
    args.erase(args.begin());
    try {
        const cli::Options options(args, command->Specs);
        if (options.Has("help")) {
            std::cout << cli::CommandHelp(*command);
            return cli::kSuccess;
        }
        if (options.Positional().size() > command->Positionals)
            throw cli::UsageError("unexpected argument \"" + options.Positional()[command->Positionals] + "\"");
        return command->Run(options);
    } catch (const cli::UsageError& e) {
        cli::PrintError(e.what());
        std::cerr << cli::CommandHelp(*command);
        return cli::kUsage;
    } catch (const EFIBInterBaseError& e) {
        cli::PrintError(Win1251ToUtf8(e.what()) + " (SQL code " + std::to_string(e.SQLCode) + ")");
        return cli::kFailure;
    } catch (const std::exception& e) {
        cli::PrintError(Win1251ToUtf8(e.what()));
        return cli::kFailure;
    }
}
