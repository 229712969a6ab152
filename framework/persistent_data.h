#pragma once
// TWIG4::PersistentData: the base of records that load and save themselves through one key
// of the current user's settings store. The derived record chooses when Load and Save run;
// the Registry is deleted after the derived destructor (which may still Save) has run.

#include "framework/registry.h"

namespace TWIG4 {

class PersistentData {
public:
    // storeFile: see Registry (the native build's store file; null for the default).
    explicit PersistentData(const wchar_t* keyPath, const char* storeFile = nullptr);
    virtual ~PersistentData();
    PersistentData(const PersistentData&) = delete;
    PersistentData& operator=(const PersistentData&) = delete;

    // Reads / writes every field of the derived record; the base does nothing and fails.
    virtual bool Load();
    virtual bool Save();

protected:
    Registry* registry;
};

}  // namespace TWIG4
