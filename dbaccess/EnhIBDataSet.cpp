#include "dbaccess/EnhIBDataSet.h"

#include "fib/CodePage1251.h"

TEnhIBDataSet::TEnhIBDataSet() {
    for (int kind : {skDelete, skInsert, skRefresh, skSelect, skUpdate})
        ReplaceStatement(kind, std::make_unique<TEnhIBQuery>());
}

TFieldClass TEnhIBDataSet::GetFieldClass(TFieldType type) const {
    switch (type) {
        case ftString: return &TEnhStringField::ClassInfo;
        case ftInteger: return &TEnhIntegerField::ClassInfo;
        case ftFloat: return &TEnhFloatField::ClassInfo;
        case ftDate: return &TEnhDateField::ClassInfo;
        case ftDateTime: return &TEnhDateTimeField::ClassInfo;
        default: return TFIBDataSet::GetFieldClass(type);
    }
}

void TEnhIBDataSet::InternalOpen() {
    try {
        TFIBDataSet::InternalOpen();
    } catch (const EFIBInterBaseError& e) {
        // Shown once here; the dataset stays closed and the caller goes on.
        if (UseNativeMsg)
            MessageDlg(e.what(), mtError, Buttons(mbCancel));
        else
            ShowDatabaseError(e, Buttons(mbCancel));
    }
}

void TEnhIBDataSet::Assign(TFIBDataSet& source) {
    auto* src = dynamic_cast<TEnhIBDataSet*>(&source);
    if (!src || src == this) return;
    SetDatabase(src->Database());
    SetTransaction(src->Transaction());
    for (int kind : {skSelect, skInsert, skUpdate, skDelete, skRefresh}) {
        SetStatementSQL(kind, src->Statement(kind).SQL());
        EnhStatement(kind).Macros().Assign(&src->EnhStatement(kind).Macros());
    }
    KeyField = src->KeyField;
    KeyGenerator = src->KeyGenerator;
    AutoCommit = src->AutoCommit;

    src->UpdateFieldDefs();
    MutableFieldDefs() = src->FieldDefs();
    DestroyFields();
    CreateFields();
    SetDefaultFields(false);

    // Fields are matched in order: a target field without a partner at the current
    // source position is skipped, and the walk ends with the source's fields.
    int pos = 0;
    for (int i = 0; i < FieldCount() && pos < src->FieldCount(); ++i) {
        if (Fields(i).FieldName() == src->Fields(pos).FieldName()) {
            CopyEnhAttributes(Fields(i), src->Fields(pos));
            ++pos;
        }
    }
}

namespace {

// The program's texts are written here in UTF-8 and shown in WIN1251.
std::string Text1251(const char* utf8) { return Utf8ToWin1251(utf8); }

}  // namespace

std::string DatabaseErrorText(const EFIBInterBaseError& error) {
    const std::string message = error.what();
    switch (error.SQLCode) {
        case -913: return Text1251("Данные заняты другим пользователем.");
        case -902: return Text1251("Неверный пароль или имя пользователя.");
        case -836: {
            // A database exception's own text stands between vertical bars.
            const std::size_t bar = message.find('|');
            if (bar == std::string::npos) return message;
            const std::size_t start = bar + 1;
            const std::size_t end = message.size() - 1;  // the last character is left out
            return start < end ? message.substr(start, end - start) : std::string();
        }
        case -803: return Text1251("Вносимые изменения дублируют уже имеющуюся информацию.");
        case -551: return Text1251(" Вы не имеете прав на доступ к этой таблице. ");
        case -530:
            if (message.find("CHECK constraint") != std::string::npos)
                return Text1251("Вы попытались ввести в одну из колонок недопустимое значение.");
            return Text1251(
                "Операция удаления или корректировки невозможна, т.к. нарушаются связи с другими таблицами. ");
        default:
            return Text1251("Запишите, пожалуста, приведенное ниже сообщение и обратитесь к разработчикам:") +
                   message;
    }
}

int ShowDatabaseError(const EFIBInterBaseError& error, TMsgDlgButtons buttons) {
    const std::string text = DatabaseErrorText(error);
    if (text.empty()) return 0;
    return MessageDlg(text, mtInformation, buttons);
}
