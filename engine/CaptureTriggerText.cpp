#include "engine/CaptureTriggerText.h"

#include <vector>

namespace {

const char kLF = '\n';

// Lines joined by single line feeds, none after the last.
std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    bool first = true;
    for (const auto& line : lines) {
        if (!first) text += kLF;
        text += line;
        first = false;
    }
    return text;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The look-up of a continuation trigger: the DD_LOG row that the main trigger of the
// same statement has just inserted (the highest ID for this row and operation).
std::string FindLogIdLine(const std::string& table, const char* oper) {
    return "   for select id from dd_log where table_name=" + Quoted(table) +
           " and oper=" + Quoted(oper) +
           " and    dd_repl_db=new.dd_repl_db and dd_repl_key=new.dd_repl_key    "
           "order by dd_repl_key, table_name, oper, dd_repl_db, id into :LogId do LogId = :LogId; ";
}

std::string Header(const char* prefix, const std::string& nameSuffix, const std::string& table,
                   const char* event, int position) {
    return std::string("create trigger ") + prefix + nameSuffix + " for " + table + " after " +
           event + " position " + std::to_string(position) + " ";
}

// An after-insert ('I') or after-update ('U') log trigger. The main trigger inserts the
// DD_LOG row, a continuation trigger finds the row the main one inserted; update
// triggers first test the change condition.
std::string LogTriggerText(char oper, bool main, const std::string& nameSuffix, const std::string& table,
                           int position, const std::string& condition, const std::string& chunk) {
    const bool update = oper == 'U';
    const std::string operText(1, oper);
    std::vector<std::string> lines = {
        Header(update ? "DD_LOG_AU_" : "DD_LOG_AI_", nameSuffix, table, update ? "update" : "insert", position),
        "as ",
        "declare variable LogId integer; ",
        "declare variable Semaphore integer; ",
        "begin ",
    };
    if (update) lines.push_back("if ((1=1) " + condition + ") then begin ");
    lines.push_back("Semaphore = gen_id(DD_SEMAPHORE,0); ");
    lines.push_back("if (:Semaphore=0) then begin ");
    if (main) {
        lines.push_back("   LogId = gen_id(DD_LOG_ID_GEN,1); ");
        lines.push_back("   insert into DD_LOG ");
        lines.push_back("   (ID,TABLE_NAME,OPER,DD_REPL_DB, DD_REPL_KEY) ");
        lines.push_back("   values (:LogId," + Quoted(table) + "," + Quoted(operText) +
                        ", new.DD_REPL_DB, new.DD_REPL_KEY ); ");
    } else {
        lines.push_back(FindLogIdLine(table, operText.c_str()));
    }
    lines.push_back("   " + chunk + " ");
    lines.push_back("end ");
    if (update) lines.push_back("end ");
    lines.push_back("end; ");
    return JoinLines(lines);
}

const char* const kValuesInsert =
    "   insert into DD_LOG_VALUES(DD_LOG_ID,FIELD_NAME, OLD_VALUE, NEW_VALUE) ";

std::string CastToText(const std::string& column) {
    return "cast(" + column + " as varchar(255))";
}

}  // namespace

std::string KeyTriggerText(const std::string& table) {
    return "create trigger DD_LOG_BI_" + table + " for " + table +
           " before insert position 99\n"
           "as \ndeclare variable Semaphore Integer; \nbegin \n"
           "Semaphore = gen_id(DD_SEMAPHORE,0);\n"
           "if ((Semaphore=0) or (new.DD_REPL_KEY is null)) then \n"
           "begin \n"
           "   new.DD_REPL_KEY = gen_id(DD_REPL_GEN_" + table + ",1); \n"
           "   new.DD_REPL_DB = gen_id(DD_ID_VALUE,0); \n"
           "end \n"
           "end ";
}

std::string ReferenceForm(const std::string& refTable, const std::string& refField,
                          const std::string& column) {
    return "(select \"(\" || cast(DD_REPL_DB as varchar(9)) || \",\" || "
           "cast(DD_REPL_KEY as varchar(9)) || \")\" from " +
           refTable + " where " + refField + "=" + column + ")";
}

std::string InsertValueBlock(const TCaptureField& field) {
    const std::string& n = field.Name;
    std::string values = "   values (:LogId, " + Quoted(n);
    if (field.IsReference())
        values += ", null," + ReferenceForm(field.RefTableName, field.RefFieldName, "new." + n) + "); ";
    else
        values += ", null, " + CastToText("new." + n) + "); ";
    return kValuesInsert + std::string(1, kLF) + values + kLF + kLF;
}

std::string UpdateValueBlock(const TCaptureField& field) {
    const std::string& n = field.Name;
    std::string values = "   values (:LogId, " + Quoted(n);
    if (field.IsReference())
        values += "," + ReferenceForm(field.RefTableName, field.RefFieldName, "old." + n) + "," +
                  ReferenceForm(field.RefTableName, field.RefFieldName, "new." + n) + "); ";
    else
        values += "," + CastToText("old." + n) + " , " + CastToText("new." + n) + "); ";
    return kValuesInsert + std::string(1, kLF) + values + kLF + kLF;
}

std::string ChangeCondition(const std::vector<TCaptureField>& fields) {
    std::string condition;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& n = fields[i].Name;
        condition += (i == 0 ? "and (" : " or ");
        condition += "(New." + n + "<>Old." + n + ")";
    }
    if (!fields.empty()) condition += ")";
    return condition;
}

std::vector<TTriggerStatement> InsertLogTriggers(const std::string& table,
                                                 const std::vector<TCaptureField>& fields) {
    std::vector<TTriggerStatement> result;
    if (fields.empty()) return result;
    std::string chunk;
    int position = kTopTriggerPosition;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        chunk += InsertValueBlock(fields[i]);
        const bool moreRows = i + 1 < fields.size();
        if (chunk.size() > kTriggerChunkLimit && moreRows) {
            const std::string suffix = table + std::to_string(position);
            result.push_back({"DD_LOG_AI_" + suffix, position,
                              LogTriggerText('I', false, suffix, table, position, {}, chunk)});
            chunk = "\n\n";
            --position;
        }
    }
    result.push_back({"DD_LOG_AI_" + table, position, LogTriggerText('I', true, table, table, position, {}, chunk)});
    return result;
}

std::vector<TTriggerStatement> UpdateLogTriggers(const std::string& table,
                                                 const std::vector<TCaptureField>& fields) {
    std::vector<TTriggerStatement> result;
    if (fields.empty()) return result;
    const std::string condition = ChangeCondition(fields);
    std::string chunk = "\n\n";
    int position = kTopTriggerPosition;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        chunk += UpdateValueBlock(fields[i]);
        const bool moreRows = i + 1 < fields.size();
        if (chunk.size() + condition.size() > kTriggerChunkLimit && moreRows) {
            const std::string suffix = table + std::to_string(position);
            result.push_back({"DD_LOG_AU_" + suffix, position,
                              LogTriggerText('U', false, suffix, table, position, condition, chunk)});
            chunk = "\n\n";
            --position;
        }
    }
    result.push_back({"DD_LOG_AU_" + table, position,
                      LogTriggerText('U', true, table, table, position, condition, chunk)});
    return result;
}

std::string DeleteLogTriggerText(const std::string& table) {
    return JoinLines({
        Header("DD_LOG_AD_", table, table, "delete", kTopTriggerPosition),
        "as ",
        "declare variable LogId integer; ",
        "declare variable Semaphore integer; ",
        "begin ",
        "Semaphore = gen_id(DD_SEMAPHORE,0); ",
        "if (:Semaphore=0) then begin ",
        "   LogId = gen_id(DD_LOG_ID_GEN,1); ",
        "   insert into DD_LOG ",
        "   (ID,TABLE_NAME,OPER,DD_REPL_DB, DD_REPL_KEY) ",
        "   values (:LogId," + Quoted(table) + ",\"D\", old.DD_REPL_DB, old.DD_REPL_KEY ); ",
        "   \n\n ",
        "end ",
        "end; ",
    });
}
