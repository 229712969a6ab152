// The framework tests' application object and helpers (pumping, finding windows, helper
// threads), compiled into this suite as well.
#include "framework/test_app.cpp"
