#include "framework/persistent_data.h"

namespace TWIG4 {

PersistentData::PersistentData(const wchar_t* keyPath, const char* storeFile)
    : registry(new Registry(keyPath, Hive::CurrentUser, storeFile)) {}

PersistentData::~PersistentData() { delete registry; }

bool PersistentData::Load() { return false; }
bool PersistentData::Save() { return false; }

}  // namespace TWIG4
