// TSkinStore: skins carried inside the program. Each item of its Store collection is a name
// and the raw bytes of a skin container, kept exactly as stored; the store never expands them
// (open an item's Data() with TSkinReader).
//
// Stored form, the framework's binary component stream (little-endian):
//   "TPF0", ShortString "TSkinStore", ShortString component name,
//   ShortString "Store", 0x0E (collection),
//     per item: 0x01 (list), ShortString "Name", 0x06 + 8-bit length + text
//               (0x0C + 32-bit length when longer than 255),
//               ShortString "DataStream", 0x0A + 32-bit length + the bytes, 0x00;
//   0x00 (end of collection), 0x00 (end of properties), 0x00 (end of children).
// ShortString: an 8-bit length, then the characters. KTRAVO.exe embeds this as a resource.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Errors.h"

namespace kt {

class TSkinCollection;
class TSkinStore;

class TSkinCollectionItem {
public:
    const std::string& Name() const { return name_; }
    // Raises kt::Exception "The name X is already used." when another item of the collection
    // has exactly that name (case-sensitive); the item keeps its old name then.
    void SetName(const std::string& value);

    std::vector<uint8_t>& Data() { return data_; }
    const std::vector<uint8_t>& Data() const { return data_; }
    int32_t DataSize() const { return static_cast<int32_t>(data_.size()); }
    // A design-time hook: reads "Load Skin"; writing is ignored; never stored.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}

    std::string GetDisplayName() const { return name_; }
    int ID() const { return id_; }
    int Index() const;
    TSkinCollection& Collection() const { return *collection_; }

    // Name (without the uniqueness check) and a copy of source's data.
    void Assign(const TSkinCollectionItem& source);

private:
    friend class TSkinCollection;
    friend class TSkinStore;
    // Made by TSkinCollection::Add: takes the collection's next ID, named "SkinItem" + ID.
    explicit TSkinCollectionItem(TSkinCollection& collection);

    TSkinCollection* collection_;
    int id_;
    std::string name_;
    std::vector<uint8_t> data_;
};

class TSkinCollection {
public:
    explicit TSkinCollection(TSkinStore* owner = nullptr) : owner_(owner) {}
    TSkinCollection(const TSkinCollection&) = delete;
    TSkinCollection& operator=(const TSkinCollection&) = delete;

    TSkinCollectionItem& Add();
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
    TSkinCollectionItem& Items(int index);
    const TSkinCollectionItem& Items(int index) const;
    TSkinCollectionItem& operator[](int index) { return Items(index); }
    const TSkinCollectionItem& operator[](int index) const { return Items(index); }
    // Clears this collection and adds a copy of each of source's items, in order.
    void Assign(const TSkinCollection& source);
    TSkinStore* Owner() const { return owner_; }
    int NextID() const { return nextId_; }

private:
    friend class TSkinCollectionItem;
    friend class TSkinStore;
    TSkinStore* owner_;
    int nextId_ = 0;  // IDs are never reused within one collection
    std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
};

class TSkinStore {
public:
    TSkinStore() : store_(this) {}
    std::string Name = "SkinStore1";

    TSkinCollection& Store() { return store_; }
    const TSkinCollection& Store() const { return store_; }
    // Copies value's items into Store; a null value changes nothing.
    void SetStore(const TSkinCollection* value);

    // Writes the stored form (header comment) to out, replacing its content.
    void SaveToStream(std::vector<uint8_t>& out) const;
    // Reads a stored form. On malformed data (or a duplicate item name) returns false with a
    // reason in error and leaves the store as it was. Items get new IDs from this collection.
    bool LoadFromStream(const uint8_t* data, size_t size, std::string* error = nullptr);
    bool LoadFromStream(const std::vector<uint8_t>& data, std::string* error = nullptr) {
        return LoadFromStream(data.data(), data.size(), error);
    }

private:
    TSkinCollection store_;
};

}  // namespace kt
