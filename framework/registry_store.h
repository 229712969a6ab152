#pragma once
// The raw value operations under TWIG4::Registry, one implementation per build:
// win/registry_store.cpp (the Win32 registry) and native/registry_store.cpp (the file store).

#include <cstdint>
#include <string>
#include <vector>

#include "framework/registry.h"

namespace TWIG4 {

enum class QueryResult { Ok, NoKey, NoValue, TooLarge };

// Value types as the registry numbers them.
constexpr std::uint32_t kTypeString = 1;
constexpr std::uint32_t kTypeDword = 4;

struct StoreTarget {
    Hive hive;
    const std::string& storeFile;  // native build only
};

// Opens keyPath for full access and reads the value's data (at most maxBytes, its type
// ignored); closes the key again.
QueryResult StoreQuery(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name,
                       std::size_t maxBytes, std::vector<unsigned char>& data);

// Opens or creates keyPath and sets the value; closes the key again.
bool StoreSet(const StoreTarget& target, const std::wstring& keyPath, const wchar_t* name, std::uint32_t type,
              const unsigned char* data, std::size_t size);

// Batches (see StoreBatch): Begin returns false when one is already open on this thread.
bool StoreBeginBatch(const StoreTarget& target);
bool StoreCommitBatch();
void StoreEndBatch();

}  // namespace TWIG4
