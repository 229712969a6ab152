// The settings store's text parser: any text parses, and what it gave is written and read
// back unchanged.
#include <cstdlib>
#include <string>

#include "framework/native/file_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TWIG4::FileStore first("unused");
    first.Parse(std::string(reinterpret_cast<const char*>(data), size));
    const std::string text = first.Serialize();
    TWIG4::FileStore second("unused");
    second.Parse(text);
    if (second.Corrupt() || second.Serialize() != text) std::abort();
    return 0;
}
