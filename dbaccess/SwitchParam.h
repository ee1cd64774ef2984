#pragma once
// Switch parameters of a string field: settings kept and copied with the field.
#include <string>

#include "dbaccess/Persistent.h"

class TField;

class TSwitchParam : public TCollectionItem {
public:
    const char* ClassName() const override { return "TSwitchParam"; }
    std::string LinkName;
    std::string TableName;
    std::string KeyField;
    std::string ResultField;
    int GridId = 0;

    void Assign(const TPersistent* source) override;
    std::string GetDisplayName() const override;
};

class TSwitchParamList : public TCollection {
public:
    explicit TSwitchParamList(TField* field = nullptr) : FField(field) {}
    const char* ClassName() const override { return "TSwitchParamList"; }
    TField* Field() const { return FField; }
    TSwitchParam& Add() { return static_cast<TSwitchParam&>(AddItem()); }
    TSwitchParam& Items(int index) const { return static_cast<TSwitchParam&>(Item(index)); }
    void Assign(const TPersistent* source) override;

protected:
    std::unique_ptr<TCollectionItem> CreateItem() const override { return std::make_unique<TSwitchParam>(); }

private:
    TField* FField;
};
