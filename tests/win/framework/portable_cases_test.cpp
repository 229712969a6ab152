// The String and List cases of the native suite, run in the Windows build: both builds must
// give the same texts (wchar_t is 16 bits here, 32 bits natively) and the same list behaviour.
#include "../../native/framework/string_test.cpp"
#include "../../native/framework/list_test.cpp"
