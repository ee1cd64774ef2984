#pragma once
// Objects that copy themselves from one another (Assign), and owned lists of them.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const char* ClassName() const = 0;
    // Copies source into this object. The base knows no way to copy and raises
    // EFIBError "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent* source);
};

class TCollection;

class TCollectionItem : public TPersistent {
public:
    TCollection* Collection() const { return FCollection; }
    int Index() const;
    virtual std::string GetDisplayName() const { return ClassName(); }

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

// An ordered list that owns its items. Changes are announced through OnChange, held
// back between BeginUpdate and EndUpdate.
class TCollection : public TPersistent {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem& Item(int index) const;
    TCollectionItem& AddItem();
    void Delete(int index);
    void Clear();

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    std::function<void()> OnChange;

    // From another collection: clears this one and adds a copy of each source item.
    void Assign(const TPersistent* source) override;

protected:
    virtual std::unique_ptr<TCollectionItem> CreateItem() const = 0;
    void Changed();
    // Assign of a typed list: when source is a TList, clears this list and adds a copy
    // of each source item, in order; anything else goes to the collection's Assign.
    template <class TList>
    void AssignSameList(const TPersistent* source) {
        const auto* src = dynamic_cast<const TList*>(source);
        if (!src) {
            TCollection::Assign(source);
            return;
        }
        if (src == this) return;
        Clear();
        for (int i = 0; i < src->Count(); ++i) AddItem().Assign(&src->Item(i));
    }

private:
    friend class TCollectionItem;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int FUpdateCount = 0;
};

// Holds a collection's change notifications for one scope.
class TCollectionUpdate {
public:
    explicit TCollectionUpdate(TCollection* c) : FCollection(c) {
        if (FCollection) FCollection->BeginUpdate();
    }
    ~TCollectionUpdate() {
        if (FCollection) FCollection->EndUpdate();
    }
    TCollectionUpdate(const TCollectionUpdate&) = delete;
    TCollectionUpdate& operator=(const TCollectionUpdate&) = delete;

private:
    TCollection* FCollection;
};

// Trimmed emptiness as display names see it.
inline bool IsBlankName(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
