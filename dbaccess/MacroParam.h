#pragma once
// Macros of a statement text: "%Name" references replaced by the macro's value before
// the statement is prepared.
#include <string>

#include "dbaccess/Persistent.h"

class TEnhIBQuery;
class TMacroParamList;

class TMacroParam : public TCollectionItem {
public:
    const char* ClassName() const override { return "TMacroParam"; }

    std::string Name;  // compared without regard to letter case
    // 0: the value goes between single quotes; any other: the value goes in as written.
    int ParamType = 0;

    const std::string& Value() const { return FValue; }
    // Stores the value; a prepared owning query is prepared again at once, keeping its
    // parameter values by position.
    void SetValue(const std::string& value);

    // The query whose list holds this entry; nullptr for an entry outside a list.
    TEnhIBQuery* Query() const;

    void Assign(const TPersistent* source) override;
    std::string GetDisplayName() const override;

private:
    std::string FValue;
};

class TMacroParamList : public TCollection {
public:
    explicit TMacroParamList(TEnhIBQuery* query = nullptr) : FQuery(query) {}
    const char* ClassName() const override { return "TMacroParamList"; }

    TEnhIBQuery* Query() const { return FQuery; }
    TMacroParam& Add() { return static_cast<TMacroParam&>(AddItem()); }
    TMacroParam& Items(int index) const { return static_cast<TMacroParam&>(Item(index)); }
    // The first entry whose name matches (letter case ignored); nullptr when none.
    TMacroParam* Find(const std::string& name) const;

    void Assign(const TPersistent* source) override;

protected:
    std::unique_ptr<TCollectionItem> CreateItem() const override;

private:
    TEnhIBQuery* FQuery;
};

// A macro name folded for comparison: Latin and Russian (WIN1251) letters in upper case.
std::string FoldMacroName(const std::string& name);
// First pass: every "%name" (letters and underscores) replaced by its macro's value; a
// reference without an entry disappears; a '%' not followed by a letter or underscore
// stays with the text after it.
std::string ExpandMacroReferences(const std::string& text, const TMacroParamList& macros);
// Second pass: d/dd/d and d/d/dd digit groups get full stops instead of slashes.
std::string RewriteDateLiterals(std::string text);
// Both passes.
std::string ExpandMacros(const std::string& text, const TMacroParamList& macros);
// Adds an entry (empty value, ParamType 1) for every "%name" (letters, digits,
// underscores) of the text that has none yet.
void RegisterMacros(const std::string& text, TMacroParamList& macros);
