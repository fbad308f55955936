// The shared library the application loads. Everything it exports comes from the core
// (advicepathrenderex.cpp); loading and unloading need no work of their own, so there is no
// load-time constructor here. The process-wide handle is destroyed with the library's
// static objects.
#include "advicepathrenderex.h"
