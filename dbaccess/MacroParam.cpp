#include "dbaccess/MacroParam.h"

#include <algorithm>
#include <vector>

#include "dbaccess/EnhIBQuery.h"
#include "fib/FIBFields.h"

namespace {

bool IsLetterOrUnderscore(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parameter values carried over a new prepare by position.
constexpr int kMaxCarriedParams = 256;

}  // namespace

std::string FoldMacroName(const std::string& name) { return UpperCase1251(name); }

TEnhIBQuery* TMacroParam::Query() const {
    const auto* list = static_cast<const TMacroParamList*>(Collection());
    return list ? list->Query() : nullptr;
}

void TMacroParam::SetValue(const std::string& value) {
    FValue = value;
    TEnhIBQuery* q = Query();
    if (!q || !q->Prepared()) return;
    std::vector<TFIBVariant> saved;
    const int count = std::min(q->ParamCount(), kMaxCarriedParams);
    saved.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) saved.push_back(q->Param(i).Value());
    q->Prepare();
    for (int k = 0; k < q->ParamCount(); ++k) {
        if (k < static_cast<int>(saved.size()))
            q->Param(k).SetValue(saved[static_cast<std::size_t>(k)]);
        else
            q->Param(k).Clear();
    }
}

void TMacroParam::Assign(const TPersistent* source) {
    const auto* src = dynamic_cast<const TMacroParam*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    TCollectionUpdate update(Collection());
    Name = src->Name;
    SetValue(src->Value());
    ParamType = src->ParamType;
}

std::string TMacroParam::GetDisplayName() const { return IsBlankName(Name) ? "New Parameter" : Name; }

std::unique_ptr<TCollectionItem> TMacroParamList::CreateItem() const { return std::make_unique<TMacroParam>(); }

TMacroParam* TMacroParamList::Find(const std::string& name) const {
    const std::string wanted = FoldMacroName(name);
    for (int i = 0; i < Count(); ++i)
        if (FoldMacroName(Items(i).Name) == wanted) return &Items(i);
    return nullptr;
}

void TMacroParamList::Assign(const TPersistent* source) { AssignSameList<TMacroParamList>(source); }

std::string ExpandMacroReferences(const std::string& s, const TMacroParamList& macros) {
    std::size_t percent = s.find('%');
    if (percent == std::string::npos) return s;
    std::string result = s.substr(0, percent);
    for (;;) {
        const std::size_t start = percent + 1;
        std::size_t end = start;
        while (end < s.size() && IsLetterOrUnderscore(s[end])) ++end;
        if (end == start) {
            result += '%';  // no name: not a reference
        } else if (const TMacroParam* m = macros.Find(s.substr(start, end - start))) {
            if (m->ParamType == 0)
                result += "'" + m->Value() + "'";
            else
                result += m->Value();
        }
        percent = s.find('%', end);
        result.append(s, end, (percent == std::string::npos ? s.size() : percent) - end);
        if (percent == std::string::npos) return result;
    }
}

std::string RewriteDateLiterals(std::string s) {
    std::size_t i = 0;
    while (i + 6 <= s.size()) {
        const char* c = s.data() + i;
        if (IsDigit(c[0]) && c[1] == '/' && IsDigit(c[2]) && IsDigit(c[3]) && c[4] == '/' && IsDigit(c[5])) {
            s[i + 1] = s[i + 4] = '.';
            i += 6;
        } else if (IsDigit(c[0]) && c[1] == '/' && IsDigit(c[2]) && c[3] == '/' && IsDigit(c[4]) &&
                   IsDigit(c[5])) {
            s[i + 1] = s[i + 3] = '.';
            i += 6;
        } else {
            ++i;
        }
    }
    return s;
}

std::string ExpandMacros(const std::string& text, const TMacroParamList& macros) {
    return RewriteDateLiterals(ExpandMacroReferences(text, macros));
}

void RegisterMacros(const std::string& s, TMacroParamList& macros) {
    for (std::size_t percent = s.find('%'); percent != std::string::npos;) {
        std::size_t end = percent + 1;
        while (end < s.size() && (IsLetterOrUnderscore(s[end]) || IsDigit(s[end]))) ++end;
        const std::string name = s.substr(percent + 1, end - percent - 1);
        if (!name.empty() && !macros.Find(name)) {
            TMacroParam& m = macros.Add();
            m.Name = name;
            m.ParamType = 1;
        }
        percent = s.find('%', end);
    }
}
