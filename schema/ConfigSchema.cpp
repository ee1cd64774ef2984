#include "schema/ConfigSchema.h"

#include "fib/FIBCreateDatabase.h"
#include "fib/FIBDatabase.h"
#include "fib/FIBQuery.h"
#include "fib/FIBTransaction.h"
#include "schema/ConfigSchemaScript.h"

std::vector<std::string> ConfigSchemaStatements() {
    // Drop /* */ comments, then cut at ';'. The script holds no literal with ';' or "/*".
    std::string text;
    const std::string script = kConfigSchemaScript;
    for (std::size_t i = 0; i < script.size();) {
        if (script.compare(i, 2, "/*") == 0) {
            const auto end = script.find("*/", i + 2);
            i = end == std::string::npos ? script.size() : end + 2;
        } else {
            text += script[i++];
        }
    }
    std::vector<std::string> statements;
    std::size_t start = 0;
    for (std::size_t semi; (semi = text.find(';', start)) != std::string::npos; start = semi + 1) {
        std::string s = text.substr(start, semi - start);
        const auto first = s.find_first_not_of(" \r\n\t");
        if (first == std::string::npos) continue;
        statements.push_back(s.substr(first, s.find_last_not_of(" \r\n\t") - first + 1));
    }
    return statements;
}

void InstallConfigSchema(TFIBDatabase& db, TFIBTransaction& tr) {
    TFIBQuery q(&db, &tr);
    q.SetParamCheck(false);
    for (const auto& statement : ConfigSchemaStatements()) {
        q.SetSQL(statement);
        q.ExecQuery();
        // Tables must be committed before later statements refer to them.
        tr.CommitRetaining();
    }
}

void CreateConfigDatabase(const std::string& path, const std::string& user,
                          const std::string& password, bool forcedWrites) {
    TFIBCreateOptions options;
    options.User = user;
    options.Password = password;
    options.ForcedWrites = forcedWrites;
    CreateDialect1Database(path, options);
    TFIBDatabase db;
    db.SetDatabaseName(path);
    db.DBParams() = {"user_name=" + user, "password=" + password, "lc_ctype=Win1251"};
    db.Open();
    TFIBTransaction tr(&db);
    tr.TRParams() = {"read_committed", "rec_version", "nowait"};
    tr.StartTransaction();
    InstallConfigSchema(db, tr);
    tr.Commit();
}
