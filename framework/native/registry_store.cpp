// The settings store of the native build: the file store, opened for each operation.
#include "framework/registry_store.h"

#include "framework/native/file_store.h"
#include "framework/unicode.h"

namespace TWIG4 {

namespace {

std::u16string Units(const wchar_t* text) {
    std::wstring wide = text ? text : L"";
    return WideToUtf16(wide.c_str(), wide.size());
}

std::string StorePath(const StoreTarget& target) {
    return target.storeFile.empty() ? FileStore::DefaultPath() : target.storeFile;
}

// The store a batch keeps in memory between its first and its last operation.
struct Batch {
    explicit Batch(std::string path) : store(std::move(path)) {}
    FileStore store;
    bool loaded = false;    // Load was tried
    bool readable = false;  // and succeeded
    bool changed = false;
    bool failed = false;    // a change could not be made
};
thread_local Batch* g_batch = nullptr;

// The batch's store when the batch is on this file (loaded on first use), else nullptr.
FileStore* BatchStore(const std::string& path, bool& readable) {
    if (!g_batch || g_batch->store.Path() != path) return nullptr;
    if (!g_batch->loaded) {
        g_batch->loaded = true;
        g_batch->readable = g_batch->store.Load();
    }
    readable = g_batch->readable;
    return &g_batch->store;
}

}  // namespace

QueryResult StoreQuery(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name,
                       std::size_t maxBytes, std::vector<unsigned char>& data) {
    FileStore own(StorePath(target));
    bool readable = false;
    FileStore* batched = BatchStore(own.Path(), readable);
    if (!batched) readable = own.Load();
    const FileStore& store = batched ? *batched : own;
    if (!readable) return QueryResult::NoKey;
    const std::u16string path = WideToUtf16(keyPath.c_str(), keyPath.size());
    if (!store.FindKey(target.hive, path)) return QueryResult::NoKey;
    const StoredValue* value = store.FindValue(target.hive, path, Units(name));
    if (!value) return QueryResult::NoValue;
    if (value->data.size() > maxBytes) return QueryResult::TooLarge;
    data = value->data;
    return QueryResult::Ok;
}

bool StoreSet(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name, std::uint32_t type,
              const unsigned char* data, std::size_t size) {
    FileStore own(StorePath(target));
    bool readable = false;
    FileStore* batched = BatchStore(own.Path(), readable);
    if (!batched) readable = own.Load();
    FileStore& store = batched ? *batched : own;
    if (!readable) return false;  // an unreadable store is not overwritten
    if (!store.SetValue(target.hive, WideToUtf16(keyPath.c_str(), keyPath.size()), Units(name), type, data, size)) {
        if (batched) g_batch->failed = true;
        return false;
    }
    if (batched) {
        g_batch->changed = true;
        return true;
    }
    return store.Save();
}

bool StoreBeginBatch(const StoreTarget& target) {
    if (g_batch) return false;
    g_batch = new Batch(StorePath(target));
    return true;
}

bool StoreCommitBatch() {
    if (!g_batch) return true;
    bool ok = !g_batch->failed && (!g_batch->loaded || g_batch->readable);
    if (g_batch->changed) ok = g_batch->store.Save() && ok;
    g_batch->changed = false;
    g_batch->failed = false;
    return ok;
}

void StoreEndBatch() {
    delete g_batch;
    g_batch = nullptr;
}

}  // namespace TWIG4
