#include "dbaccess/Persistent.h"

#include <algorithm>

#include "fib/FIBError.h"

void TPersistent::Assign(const TPersistent* source) {
    throw EFIBError(std::string("Cannot assign a ") + (source ? source->ClassName() : "nil") + " to a " +
                    ClassName());
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i);
    return -1;
}

TCollectionItem& TCollection::Item(int index) const {
    if (index < 0 || index >= Count()) throw EFIBError("List index out of bounds (" + std::to_string(index) + ")");
    return *FItems[static_cast<std::size_t>(index)];
}

TCollectionItem& TCollection::AddItem() {
    std::unique_ptr<TCollectionItem> item = CreateItem();
    item->FCollection = this;
    FItems.push_back(std::move(item));
    Changed();
    return *FItems.back();
}

void TCollection::Delete(int index) {
    Item(index);  // range check
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0 && OnChange) OnChange();
}

void TCollection::Assign(const TPersistent* source) {
    const auto* src = dynamic_cast<const TCollection*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    if (src == this) return;
    TCollectionUpdate update(this);
    Clear();
    for (int i = 0; i < src->Count(); ++i) AddItem().Assign(&src->Item(i));
}
