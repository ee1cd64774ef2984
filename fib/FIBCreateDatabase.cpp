#include "fib/FIBCreateDatabase.h"

#include <ibase.h>

#include <filesystem>

#include "fib/FIBError.h"
#include "fib/FIBStatus.h"

namespace {

std::string QuoteLiteral(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

}  // namespace

void CreateDialect1Database(const std::string& path, const TFIBCreateOptions& options) {
    // Only a local path can be checked here; a server refuses an existing file itself.
    if (path.find(':') == std::string::npos && std::filesystem::exists(path))
        throw EFIBError("File already exists: " + path);
    const std::string sql = "CREATE DATABASE " + QuoteLiteral(path) + " USER " + QuoteLiteral(options.User) +
                            " PASSWORD " + QuoteLiteral(options.Password) + " PAGE_SIZE " +
                            std::to_string(options.PageSize) + " DEFAULT CHARACTER SET WIN1251";
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(status, &db, &tr, 0, sql.c_str(), 1, nullptr);
    CheckStatus(status);
    isc_detach_database(status, &db);
    CheckStatus(status);

    if (!options.ForcedWrites) {
        // Forced writes are a database setting, changed by attaching with isc_dpb_force_write.
        std::string dpb(1, static_cast<char>(isc_dpb_version1));
        auto add = [&dpb](char code, const std::string& value) {
            dpb += code;
            dpb += static_cast<char>(value.size());
            dpb += value;
        };
        add(isc_dpb_user_name, options.User);
        add(isc_dpb_password, options.Password);
        dpb += static_cast<char>(isc_dpb_force_write);
        dpb += static_cast<char>(1);
        dpb += static_cast<char>(0);
        isc_attach_database(status, 0, path.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
        CheckStatus(status);
        isc_detach_database(status, &db);
        CheckStatus(status);
    }
}
