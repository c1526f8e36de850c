#include "skin/data/WinSkinStore.h"

#include <cstring>
#include <optional>

namespace kt {

namespace {

constexpr uint8_t vaNull = 0x00, vaList = 0x01, vaString = 0x06, vaBinary = 0x0A,
                  vaLString = 0x0C, vaCollection = 0x0E;
constexpr char kSignature[] = "TPF0";
constexpr char kClassName[] = "TSkinStore";

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void Byte(uint8_t b) { out_.push_back(b); }
    void Int32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void ShortString(const std::string& s) {
        if (s.size() > 255) throw Exception("Name " + s.substr(0, 32) + "... is too long to store");
        Byte(static_cast<uint8_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    void StringValue(const std::string& s) {
        if (s.size() <= 255) {
            Byte(vaString);
            Byte(static_cast<uint8_t>(s.size()));
        } else {
            Byte(vaLString);
            Int32(static_cast<uint32_t>(s.size()));
        }
        Bytes(s.data(), s.size());
    }

private:
    std::vector<uint8_t>& out_;
};

// Every read checks what is left first; a failed read sets the reason and stays failed.
class Reader {
public:
    Reader(const uint8_t* p, size_t n) : p_(p), left_(n) {}
    std::string error;

    bool Fail(std::string why) {
        if (error.empty()) error = std::move(why);
        return false;
    }
    bool Byte(uint8_t& b) {
        if (left_ < 1) return Fail("unexpected end of data");
        b = *p_++;
        --left_;
        return true;
    }
    bool Int32(int32_t& v) {
        if (left_ < 4) return Fail("unexpected end of data");
        v = static_cast<int32_t>(static_cast<uint32_t>(p_[0]) | static_cast<uint32_t>(p_[1]) << 8 |
                                 static_cast<uint32_t>(p_[2]) << 16 |
                                 static_cast<uint32_t>(p_[3]) << 24);
        p_ += 4;
        left_ -= 4;
        return true;
    }
    // Takes n bytes only when they are there, so a huge declared length allocates nothing.
    bool Take(size_t n, const uint8_t*& at) {
        if (n > left_) return Fail("a length of " + std::to_string(n) + " runs past the end");
        at = p_;
        p_ += n;
        left_ -= n;
        return true;
    }
    bool ShortString(std::string& s) {
        uint8_t n;
        const uint8_t* at;
        if (!Byte(n) || !Take(n, at)) return false;
        s.assign(reinterpret_cast<const char*>(at), n);
        return true;
    }
    bool StringValue(std::string& s) {
        uint8_t type;
        if (!Byte(type)) return false;
        size_t n;
        if (type == vaString) {
            uint8_t n8;
            if (!Byte(n8)) return false;
            n = n8;
        } else if (type == vaLString) {
            int32_t n32;
            if (!Int32(n32)) return false;
            if (n32 < 0) return Fail("negative string length");
            n = static_cast<size_t>(n32);
        } else {
            return Fail("value type " + std::to_string(type) + " where a string was expected");
        }
        const uint8_t* at;
        if (!Take(n, at)) return false;
        s.assign(reinterpret_cast<const char*>(at), n);
        return true;
    }
    bool BinaryValue(std::vector<uint8_t>& data) {
        uint8_t type;
        int32_t n;
        const uint8_t* at;
        if (!Byte(type)) return false;
        if (type != vaBinary)
            return Fail("value type " + std::to_string(type) + " where binary data was expected");
        if (!Int32(n)) return false;
        if (n < 0) return Fail("negative binary length");
        if (!Take(static_cast<size_t>(n), at)) return false;
        data.assign(at, at + n);
        return true;
    }
    bool Expect(uint8_t wanted, const char* what) {
        uint8_t b;
        if (!Byte(b)) return false;
        return b == wanted || Fail(std::string("expected ") + what);
    }
    bool AtEnd() const { return left_ == 0; }

private:
    const uint8_t* p_;
    size_t left_;
};

struct StoredItem {
    std::optional<std::string> name;
    std::vector<uint8_t> data;
};

bool ReadItems(Reader& in, std::vector<StoredItem>& items) {
    for (;;) {
        uint8_t marker;
        if (!in.Byte(marker)) return false;
        if (marker == vaNull) return true;
        if (marker != vaList) return in.Fail("expected an item");
        StoredItem item;
        for (;;) {
            std::string prop;
            if (!in.ShortString(prop)) return false;
            if (prop.empty()) break;  // the 0 that ends the item's properties
            if (prop == "Name") {
                std::string name;
                if (!in.StringValue(name)) return false;
                item.name = std::move(name);
            } else if (prop == "DataStream") {
                if (!in.BinaryValue(item.data)) return false;
            } else {
                return in.Fail("unknown item property " + prop);
            }
        }
        items.push_back(std::move(item));
    }
}

}  // namespace

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection)
    : collection_(&collection),
      id_(collection.nextId_++),
      name_("SkinItem" + std::to_string(id_)) {}

int TSkinCollectionItem::Index() const {
    for (int i = 0; i < collection_->Count(); ++i)
        if (&collection_->Items(i) == this) return i;
    return -1;
}

void TSkinCollectionItem::SetName(const std::string& value) {
    if (value == name_) return;
    for (const auto& other : collection_->items_)
        if (other.get() != this && other->name_ == value)
            throw Exception("The name " + value + " is already used.");
    name_ = value;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& source) {
    if (&source == this) return;
    name_ = source.name_;
    data_ = source.data_;
}

TSkinCollectionItem& TSkinCollection::Add() {
    items_.push_back(std::unique_ptr<TSkinCollectionItem>(new TSkinCollectionItem(*this)));
    return *items_.back();
}

TSkinCollectionItem& TSkinCollection::Items(int index) {
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return *items_[static_cast<size_t>(index)];
}

const TSkinCollectionItem& TSkinCollection::Items(int index) const {
    return const_cast<TSkinCollection*>(this)->Items(index);
}

void TSkinCollection::Delete(int index) {
    Items(index);  // the bounds check
    items_.erase(items_.begin() + index);
}

void TSkinCollection::Clear() { items_.clear(); }

void TSkinCollection::Assign(const TSkinCollection& source) {
    if (&source == this) return;
    Clear();
    for (const auto& item : source.items_) Add().Assign(*item);
}

void TSkinStore::SetStore(const TSkinCollection* value) {
    if (value) store_.Assign(*value);
}

void TSkinStore::SaveToStream(std::vector<uint8_t>& out) const {
    size_t size = 64;
    for (const auto& item : store_.items_) size += 32 + item->Name().size() + item->Data().size();
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    Writer w(bytes);
    for (int i = 0; i < 4; ++i) w.Byte(static_cast<uint8_t>(kSignature[i]));
    w.ShortString(kClassName);
    w.ShortString(Name);
    w.ShortString("Store");
    w.Byte(vaCollection);
    for (const auto& item : store_.items_) {
        w.Byte(vaList);
        w.ShortString("Name");
        w.StringValue(item->Name());
        w.ShortString("DataStream");
        w.Byte(vaBinary);
        w.Int32(static_cast<uint32_t>(item->DataSize()));
        w.Bytes(item->Data().data(), item->Data().size());
        w.Byte(vaNull);
    }
    w.Byte(vaNull);  // end of the collection
    w.Byte(vaNull);  // end of the store's properties
    w.Byte(vaNull);  // no children
    out = std::move(bytes);
}

bool TSkinStore::LoadFromStream(const uint8_t* data, size_t size, std::string* error) {
    Reader in(data, size);
    std::string name;
    std::vector<StoredItem> items;
    bool ok = [&] {
        const uint8_t* sig;
        std::string className;
        if (!in.Take(4, sig)) return false;
        if (std::memcmp(sig, kSignature, 4) != 0) return in.Fail("not a stored component");
        if (!in.ShortString(className)) return false;
        if (className != kClassName) return in.Fail("class " + className + ", not TSkinStore");
        if (!in.ShortString(name)) return false;
        for (;;) {
            std::string prop;
            if (!in.ShortString(prop)) return false;
            if (prop.empty()) break;
            if (prop != "Store") return in.Fail("unknown property " + prop);
            items.clear();
            if (!in.Expect(vaCollection, "a collection") || !ReadItems(in, items)) return false;
        }
        if (!in.Expect(vaNull, "the end of the component")) return false;
        return in.AtEnd() || in.Fail("bytes after the end of the component");
    }();

    // The names go through SetName as they would when read one by one into a cleared
    // collection, so a duplicate is refused; IDs continue from this collection's counter.
    TSkinCollection loaded(this);
    loaded.nextId_ = store_.nextId_;
    if (ok) {
        try {
            for (auto& stored : items) {
                TSkinCollectionItem& item = loaded.Add();
                if (stored.name) item.SetName(*stored.name);
                item.Data() = std::move(stored.data);
            }
        } catch (const Exception& e) {
            ok = in.Fail(e.Message());
        }
    }
    if (!ok) {
        if (error) *error = in.error;
        return false;
    }
    Name = std::move(name);
    store_.items_ = std::move(loaded.items_);
    for (auto& item : store_.items_) item->collection_ = &store_;
    store_.nextId_ = loaded.nextId_;
    return true;
}

}  // namespace kt
