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

}  // namespace

QueryResult StoreQuery(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name,
                       std::size_t maxBytes, std::vector<unsigned char>& data) {
    FileStore store(StorePath(target));
    if (!store.Load()) return QueryResult::NoKey;
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
    FileStore store(StorePath(target));
    if (!store.Load()) return false;  // an unreadable store is not overwritten
    if (!store.SetValue(target.hive, WideToUtf16(keyPath.c_str(), keyPath.size()), Units(name), type, data, size))
        return false;
    return store.Save();
}

}  // namespace TWIG4
