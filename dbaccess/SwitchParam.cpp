#include "dbaccess/SwitchParam.h"

void TSwitchParam::Assign(const TPersistent* source) {
    const auto* src = dynamic_cast<const TSwitchParam*>(source);
    if (!src) {
        TCollectionItem::Assign(source);
        return;
    }
    TCollectionUpdate update(Collection());
    LinkName = src->LinkName;
    TableName = src->TableName;
    KeyField = src->KeyField;
    ResultField = src->ResultField;
    GridId = src->GridId;
}

std::string TSwitchParam::GetDisplayName() const { return IsBlankName(LinkName) ? "New Parameter" : LinkName; }

void TSwitchParamList::Assign(const TPersistent* source) { AssignSameList<TSwitchParamList>(source); }
