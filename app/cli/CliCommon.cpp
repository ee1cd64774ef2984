#include "app/cli/CliCommon.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "fib/CodePage1251.h"

namespace cli {

Options::Options(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            FPositional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const OptionSpec* spec = nullptr;
        for (const auto& s : specs)
            if (s.Name == name) spec = &s;
        if (!spec) throw UsageError("unknown option --" + name);
        if (spec->Value.empty()) {
            if (inlineValue) throw UsageError("option --" + name + " takes no value");
        } else if (!inlineValue) {
            if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
            value = args[++i];
        }
        FValues[name] = value;
    }
}

std::string Options::Get(const std::string& name, const std::string& fallback) const {
    const auto it = FValues.find(name);
    return it == FValues.end() ? fallback : it->second;
}

int Options::GetInt(const std::string& name, int fallback) const {
    if (!Has(name)) return fallback;
    const std::string text = Get(name);
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used);
        if (used != text.size() || value < INT32_MIN || value > INT32_MAX) throw std::invalid_argument(text);
        return static_cast<int>(value);
    } catch (const std::exception&) {
        throw UsageError("option --" + name + " needs a whole number, not \"" + text + "\"");
    }
}

std::string CommandHelp(const Command& command) {
    std::string text = std::string("Usage: quillon-cli ") + command.Name + " " + command.Usage + "\n" +
                       command.Summary + "\n";
    if (!command.Specs.empty()) text += "\nOptions:\n";
    for (const auto& s : command.Specs) {
        std::string left = "  --" + s.Name + (s.Value.empty() ? "" : " " + s.Value);
        if (left.size() < 26) left.resize(26, ' ');
        else left += "  ";
        text += left + s.Help + "\n";
    }
    return text;
}

std::vector<OptionSpec> ConnectionSpecs(bool withConfig, const std::vector<OptionSpec>& more) {
    std::vector<OptionSpec> specs = {{"db", "PATH", "work database ([host:]path)"}};
    if (withConfig)
        specs.push_back({"config", "PATH", "configuration database (default: Db/replcfg.gdb beside the program)"});
    specs.push_back({"user", "NAME", "user name (default: $ISC_USER, else SYSDBA)"});
    specs.push_back({"password", "TEXT", "password (default: $ISC_PASSWORD, else masterkey)"});
    specs.insert(specs.end(), more.begin(), more.end());
    specs.push_back({"help", "", "show this help"});
    return specs;
}

std::string ProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

std::string DefaultConfigPath() {
    return (std::filesystem::path(ProgramFolder()) / "Db" / "replcfg.gdb").string();
}

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

void Connect(TFIBDatabase& db, TFIBTransaction& tr, const std::string& path, const std::string& user,
             const std::string& password) {
    db.SetDatabaseName(path);
    db.DBParams().clear();
    db.DBParams().push_back("user_name=" + user);
    db.DBParams().push_back("password=" + password);
    db.DBParams().push_back("lc_ctype=Win1251");
    db.Open();
    tr.SetDefaultDatabase(&db);
    tr.TRParams() = {"read_committed", "rec_version", "nowait"};
    db.SetDefaultTransaction(&tr);
    tr.StartTransaction();
}

Session::Session(const Options& options, bool withConfig) {
    if (!options.Has("db")) throw UsageError("option --db is required");
    const std::string user = options.Get("user", EnvOr("ISC_USER", "SYSDBA"));
    const std::string password = options.Get("password", EnvOr("ISC_PASSWORD", "masterkey"));
    Connect(WorkDB, WorkTran, options.Get("db"), user, password);
    if (withConfig) Connect(ConfigDB, ConfigTran, options.Get("config", DefaultConfigPath()), user, password);
    Replicator.SetWorkDB(&WorkDB);
    Replicator.SetTran(&WorkTran);
    if (withConfig) {
        Replicator.SetConfigDB(&ConfigDB);
        Replicator.SetCfgTran(&ConfigTran);
    }
    Replicator.OnJobProgress = [](TReplicator&, const std::string& text) { PrintMessage(text); };
    Replicator.OnInformation = [](TReplicator&, const std::string& text) { PrintWarning(text); };
}

Session::~Session() {
    // Disconnecting rolls back what the operation did not commit.
    try {
        WorkDB.Close();
    } catch (...) {
    }
    try {
        ConfigDB.Close();
    } catch (...) {
    }
}

void PrintMessage(const std::string& win1251Text) { std::cerr << Win1251ToUtf8(win1251Text) << std::endl; }
void PrintWarning(const std::string& win1251Text) {
    std::cerr << "warning: " << Win1251ToUtf8(win1251Text) << std::endl;
}
void PrintError(const std::string& utf8Text) { std::cerr << "error: " << utf8Text << std::endl; }

}  // namespace cli
